#include "main/StartOptions.h"

#include <ProgramVersion.h>

#include <QCommandLineParser>

#include <cstdio>

const QString StartOptions::kHelpText = QStringLiteral(
    "usage: dosemeter [--lang en|pt_BR] [--library URL|PATH] [--port PORT [--open ENTRIES]]\n"
    "                 [FILE...]\n"
    "       dosemeter --help | --version\n"
    "\n"
    "The desktop program of a personal noise dosimeter.\n"
    "\n"
    "  --port PORT      skip the \"COM Port\" window: a device path (/dev/ttyUSB0),\n"
    "                   COM1..COM8, or sim (the built-in virtual meter)\n"
    "  --open ENTRIES   with --port: run these Display menu entries once the meter has\n"
    "                   answered, comma-separated (Graph,Analog,Digital)\n"
    "  --library URL|PATH\n"
    "                   the measurement library of this run: a file, or\n"
    "                   postgresql://[user@]host[:port]/dbname (the password in ~/.pgpass)\n"
    "  --lang en|pt_BR  the language of the windows (by default the system's); files,\n"
    "                   the command line's output and exit statuses never change with it\n"
    "  FILE             a file to open once the main window is up: a .dat file in the\n"
    "                   saved-file view, a .bnk file in the Event window, an .avg file in\n"
    "                   the Average window\n"
    "  -h, --help       show this help and exit\n"
    "  -v, --version    show the version and exit\n"
    "\n"
    "The options of every Qt program (-platform, -style, ...) are taken as well.\n"
    "\n"
    "Exit status: 0 done, 1 the port cannot be opened, 2 usage error.\n");

const QStringList StartOptions::kLanguages{QStringLiteral("en"), QStringLiteral("pt_BR")};

StartOptions StartOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows the help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The meter's port."),
                                  QStringLiteral("PORT"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Display menu entries to open."),
                                  QStringLiteral("ENTRIES"));
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("The measurement library."),
                                     QStringLiteral("URL|PATH"));
    const QCommandLineOption language(QStringLiteral("lang"),
                                      QStringLiteral("The language of the windows."),
                                      QStringLiteral("en|pt_BR"));
    parser.addOptions({help, version, port, open, library, language});

    // The parser reads the whole line even past an error, so --help and --version are seen
    // beside an option meant for Qt that the first reading does not know.
    const bool parsed = parser.parse(arguments);
    StartOptions options;
    if (parser.isSet(help)) {
        options.action = Action::Help;
    } else if (parser.isSet(version)) {
        options.action = Action::Version;
    } else if (!parsed) {
        options.action = Action::Error;
        options.errorText = parser.errorText();
    } else {
        if (parser.isSet(port))
            options.port = parser.value(port);
        options.open = parser.value(open).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (parser.isSet(library))
            options.library = parser.value(library);
        options.files = parser.positionalArguments();
        if (parser.isSet(language)) {
            const QString value = parser.value(language);
            if (!kLanguages.contains(value)) {
                options.action = Action::Error;
                options.errorText = QStringLiteral("Unknown language \"%1\": give %2.")
                                        .arg(value, kLanguages.join(QLatin1Char('|')));
            } else {
                options.language = value;
            }
        }
    }
    return options;
}

StartOptions StartOptions::parse(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

int StartOptions::answer() const
{
    switch (action) {
    case Action::Help:
        std::fputs(kHelpText.toLocal8Bit().constData(), stdout);
        return kOk;
    case Action::Version:
        std::printf("dosemeter %s\n", kProgramVersion);
        return kOk;
    case Action::Error:
        std::fprintf(stderr, "dosemeter: %s\nTry 'dosemeter --help'.\n",
                     errorText.toLocal8Bit().constData());
        return kUsage;
    case Action::Run:
        break;
    }
    return kOk;
}
