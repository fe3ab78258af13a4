#pragma once

// One executable runs several test classes, one class per file. Each file ends with
// DOSEMETER_TEST(ClassName); the executable's main comes from TestMain.cpp.

#include <QObject>

#include <functional>
#include <memory>

namespace testsupport {

using Factory = std::function<std::unique_ptr<QObject>()>;
int registerTest(const char *name, Factory factory);
int runAll(int argc, char **argv);
// Directory of the golden files (tests/golden): expected files, each beside its input.
QString dataDir();
// Path of one golden file.
QString golden(const QString &name);
// Directory of the built programs (build/bin).
QString binDir();

} // namespace testsupport

#define DOSEMETER_TEST(Class)                                                                      \
    static const int Class##_registered =                                                          \
        testsupport::registerTest(#Class, [] { return std::make_unique<Class>(); });
