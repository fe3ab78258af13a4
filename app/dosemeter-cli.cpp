#include "cli/Cli.h"
#include "library/QtSqlWarnings.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char **argv)
{
    QtSqlWarnings::quieten();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Only the report draws, and it needs no display: every other command runs without
    // any platform at all.
    std::unique_ptr<QCoreApplication> app;
    if (cli::needsGuiApplication(arguments)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("dosemeter-cli"));
    return cli::run(QCoreApplication::arguments().mid(1));
}
