#pragma once

// The desktop program's command line:
//   dosemeter [--lang en|pt_BR] [--library URL|PATH] [--port PORT [--open ENTRIES]] [FILE...]
//   dosemeter --help | --version
// Read twice: once from argv before the GUI application exists, so that --help and
// --version answer without a display, and again from the application's arguments, which
// no longer hold the options Qt takes for itself (-platform, -style, ...).

#include <QString>
#include <QStringList>

#include <optional>

struct StartOptions {
    enum class Action { Run, Help, Version, Error };
    enum Exit { kOk = 0, kUsage = 2 };

    Action action = Action::Run;
    std::optional<QString> port;     // none: the "COM Port" window asks
    QStringList open;                // with a port: Display menu entries to open ("Graph")
    std::optional<QString> library;  // none: the library chosen last, or the default file
    std::optional<QString> language; // "en" or "pt_BR"; none: the system's language
    QStringList files;               // .dat, .bnk or .avg files to open, each in its window
    QString errorText;               // Error: what is wrong with the command line

    // arguments[0] is the program. --help and --version win over anything else on the line.
    static StartOptions parse(const QStringList &arguments);
    static StartOptions parse(int argc, char **argv);

    // Help, Version and Error end the program before any window: true for them.
    bool endsAtOnce() const { return action != Action::Run; }
    // Prints the help (stdout), the version line (stdout) or the error (stderr) and gives
    // the exit status: 0, or 2 for an error.
    int answer() const;

    static const QString kHelpText;
    // The languages --lang takes.
    static const QStringList kLanguages;
};
