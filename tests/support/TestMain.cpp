#include "support/TestMain.h"

#include <QApplication>
#include <QStandardPaths>
#include <QString>
#include <QTest>

#include <utility>
#include <vector>

namespace testsupport {

namespace {
std::vector<std::pair<QString, Factory>> &registry()
{
    static std::vector<std::pair<QString, Factory>> tests;
    return tests;
}
} // namespace

int registerTest(const char *name, Factory factory)
{
    registry().emplace_back(QString::fromLatin1(name), std::move(factory));
    return int(registry().size());
}

// Runs every registered class; `-class Name` (repeatable) picks some, other arguments
// go to each class's run (test function names, -v2, ...).
int runAll(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Settings and the default measurement library go to a test area, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QStringList picked;
    std::vector<char *> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "-class" && i + 1 < argc)
            picked << QString::fromLocal8Bit(argv[++i]);
        else
            args.push_back(argv[i]);
    }
    int failed = 0;
    for (auto &[name, factory] : registry()) {
        if (!picked.isEmpty() && !picked.contains(name))
            continue;
        std::unique_ptr<QObject> test = factory();
        failed += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}

// CTest sets both folders; a test run by hand from the build falls back to where the
// build put them, so that `build/bin/tst_faultmatrix` works as it is.
QString dataDir()
{
    return qEnvironmentVariable("DOSEMETER_TEST_DATA", QStringLiteral(DOSEMETER_GOLDEN_DIR));
}
QString golden(const QString &name)
{
    return dataDir() + QLatin1Char('/') + name;
}

QString binDir()
{
    return qEnvironmentVariable("DOSEMETER_BIN", QCoreApplication::applicationDirPath());
}

} // namespace testsupport

int main(int argc, char **argv)
{
    return testsupport::runAll(argc, argv);
}
