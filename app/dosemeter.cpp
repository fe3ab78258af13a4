#include "library/LibraryLocation.h"
#include "main/Application.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

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
    const QCommandLineOption open(
        QStringLiteral("open"),
        QStringLiteral("With --port: opens these Display menu entries once the meter has "
                       "answered, comma-separated (Graph,Analog,Digital)."),
        QStringLiteral("ENTRIES"));
    parser.addOption(open);
    const QCommandLineOption library(
        QStringLiteral("library"),
        QStringLiteral("The measurement library of this run: a file, or "
                       "postgresql://[user@]host[:port]/dbname (the password in ~/.pgpass)."),
        QStringLiteral("URL|PATH"));
    parser.addOption(library);
    parser.process(app);

    Application program;
    if (parser.isSet(library)) {
        QString error;
        LibraryLocation::parse(parser.value(library), error);
        if (!error.isEmpty()) {
            fprintf(stderr, "dosemeter: %s\n", qPrintable(error));
            return 2;
        }
        program.setLibraryLocation(parser.value(library));
    }
    if (parser.isSet(port))
        program.startWithPort(parser.value(port),
                              parser.value(open).split(QLatin1Char(','), Qt::SkipEmptyParts));
    else
        program.showPortSelect();
    return QApplication::exec();
}
