#include "main/Application.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dosemeter"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dose Meter"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Companion program for a personal noise dosimeter."));
    parser.addHelpOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Skip the port window: a device path, COM1..COM8 or sim."),
        QStringLiteral("PORT"));
    parser.addOption(port);
    parser.process(app);

    Application program;
    if (parser.isSet(port))
        program.startWithPort(parser.value(port));
    else
        program.showPortSelect();
    return QApplication::exec();
}
