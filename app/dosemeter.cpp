#include "library/LibraryLocation.h"
#include "library/QtSqlWarnings.h"
#include "main/Application.h"
#include "main/StartOptions.h"
#include "main/Translation.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // --help and --version answer before the GUI application exists: no display needed.
    if (const StartOptions early = StartOptions::parse(argc, argv);
        early.action == StartOptions::Action::Help || early.action == StartOptions::Action::Version)
        return early.answer();

    QtSqlWarnings::quieten();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dosemeter"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dose Meter"));
    // Wayland desktops find the program's menu entry and icon by this name.
    QApplication::setDesktopFileName(QStringLiteral("io.github.dosemeter.DoseMeter"));

    const StartOptions options = StartOptions::parse(QApplication::arguments());
    if (options.endsAtOnce())
        return options.answer();

    const QString language = Translation::chooseLanguage(options.language, QLocale::system());
    if (!Translation::install(app, language))
        std::fprintf(stderr, "dosemeter: no %s translation; the windows stay in English\n",
                     qPrintable(language));

    Application program;
    if (options.library) {
        QString error;
        LibraryLocation::parse(*options.library, error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "dosemeter: %s\n", qPrintable(error));
            return StartOptions::kUsage;
        }
        program.setLibraryLocation(*options.library);
    }
    program.openAtStart(options.files);
    if (options.port)
        program.startWithPort(*options.port, options.open);
    else
        program.showPortSelect();
    return QApplication::exec();
}
