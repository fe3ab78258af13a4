#include "cli/Cli.h"

#include "cli/Grammars.h"

#include "link/Clock.h"
#include "link/Messages.h"
#include "link/Meter.h"
#include "link/PortNames.h"
#include "main/OpenLink.h"

#include <ProgramVersion.h>

#include <QIODevice>
#include <QTextStream>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace cli {

namespace {

// --help: this, each command's lines, then kUsageTail.
const char *const kUsageHead =
    "usage: dosemeter-cli [--library URL|PATH] --port PORT [--timeout SECONDS] COMMAND [ARGS]\n"
    "       dosemeter-cli convert FILE.dat --csv\n"
    "       dosemeter-cli histogram FILE.dat --resolution 0.1|1 [--records FIRST-LAST]\n"
    "       dosemeter-cli stats FILE.dat [--criterion 80|84|85|90] [--exchange-rate 3|4|5|6]\n"
    "                           [--threshold DB]\n"
    "       dosemeter-cli twa --dose PERCENT --criterion DB --exchange-rate DB\n"
    "       dosemeter-cli assess FILE... [--criteria LIST] [--shift HOURS]\n"
    "                            [--exclude FILE:A-B:REASON]...\n"
    "       dosemeter-cli iso9612 job|full-day --samples L1,L2,... [--files FILE...]\n"
    "                             --te HOURS [--instrument class1|class2|meter]\n"
    "       dosemeter-cli iso9612 task --task NAME:HOURS:L1,L2,...[:TMIN-TMAX] ...\n"
    "                             [--instrument class1|class2|meter]\n"
    "       dosemeter-cli weekly --lex8h L1,L2,...\n"
    "       dosemeter-cli group --lex8h L1,L2,... [--oel DB]\n"
    "       dosemeter-cli protect --la DB [--lc DB] METHOD... [--real-world DB] [--dual]\n"
    "                             [--wear PERCENT] [--action DB]\n"
    "       dosemeter-cli [--library URL|PATH] library COMMAND [ARGS]\n"
    "       dosemeter-cli --help | --version\n"
    "\n"
    "PORT is a device path (/dev/ttyUSB0, /dev/pts/3), COM1..COM8, or sim (the built-in\n"
    "virtual meter). --timeout bounds how long the meter may stay silent, 0.1 to 86400\n"
    "seconds (default 10): a command ends at most a second after that.\n"
    "--library is a SQLite file or postgresql://[user@]host[:port]/dbname (the password in\n"
    "~/.pgpass); without it, the library the desktop program was connected to, else\n"
    "~/.local/share/dosemeter/library.sqlite. download, record, banks and average with\n"
    "--out also store their files there unless --no-library is given.\n"
    "\n"
    "Commands:\n";

const char *const kUsageTail =
    "\n"
    "download, record, banks and average --out also keep their files in the library\n"
    "(--library, or the one chosen last, or the default file) unless --no-library is given.\n"
    "A command that writes a new file refuses an existing one unless --overwrite is given,\n"
    "and never writes over a FIFO or a device.\n"
    "\n"
    "Exit status: 0 done, 1 a file cannot be read or written (or is no regular file, or\n"
    "standard output cannot be written), or the library cannot be opened, reached or\n"
    "written, 2 usage error (an existing file without --overwrite, a path that cannot be\n"
    "created, an unknown measurement ID; nothing is sent), 3 the meter does not answer or\n"
    "what it sent arrived damaged (histogram, stats, assess, iso9612, report: the files\n"
    "hold no levels to count; setup, standard: the meter could not be set), 4 the port\n"
    "cannot be opened; iso9612 also exits 2 for too few samples or a sample outside\n"
    "0..140 dB, weekly and group for a level outside 0..140 dB (weekly also for more\n"
    "than 7 days), protect for a level, rating or share out of range or when no method\n"
    "has its inputs.\n";

QString usageText()
{
    return QLatin1String(kUsageHead) + commandsHelp() + QLatin1String(kUsageTail);
}

using Command = int (*)(Context &, const QStringList &);

// --timeout: from a tenth of a second to a day.
constexpr double kMinTimeoutSeconds = 0.1;
constexpr double kMaxTimeoutSeconds = 86400.0;

const std::map<QString, Command> &meterCommands()
{
    static const std::map<QString, Command> commands{
        {QStringLiteral("status"), &status},     {QStringLiteral("display"), &display},
        {QStringLiteral("read"), &read},         {QStringLiteral("write"), &write},
        {QStringLiteral("download"), &download}, {QStringLiteral("erase"), &erase},
        {QStringLiteral("set-id"), &setId},      {QStringLiteral("set-interval"), &setInterval},
        {QStringLiteral("average"), &average},   {QStringLiteral("banks"), &banks},
        {QStringLiteral("setup"), &setup},       {QStringLiteral("standard"), &standard},
        {QStringLiteral("record"), &record},
    };
    return commands;
}

using FileCommand = int (*)(QTextStream &, QTextStream &, const QStringList &);

// Commands on files only: no port is opened for them.
const std::map<QString, FileCommand> &fileCommands()
{
    static const std::map<QString, FileCommand> commands{
        {QStringLiteral("convert"), &convert}, {QStringLiteral("histogram"), &histogram},
        {QStringLiteral("stats"), &stats},     {QStringLiteral("twa"), &twa},
        {QStringLiteral("assess"), &assess},   {QStringLiteral("iso9612"), &iso9612},
        {QStringLiteral("report"), &report},   {QStringLiteral("weekly"), &weekly},
        {QStringLiteral("group"), &group},     {QStringLiteral("protect"), &protect},
    };
    return commands;
}

int usage(QTextStream &err, const QString &problem)
{
    if (!problem.isEmpty())
        err << "dosemeter-cli: " << problem << "\n";
    err << usageText();
    return Exit::kUsage;
}

} // namespace

bool needsGuiApplication(const QStringList &arguments)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--port") || a == QLatin1String("--timeout") ||
            a == QLatin1String("--library")) {
            ++i;
            continue;
        }
        return a == QLatin1String("report");
    }
    return false;
}

int exitStatus(const Error &error)
{
    switch (error.kind) {
    case ErrorKind::Usage:
    case ErrorKind::Exists:
    case ErrorKind::NotFound:
        return Exit::kUsage;
    case ErrorKind::NoAnswer:
        return Exit::kNoAnswer;
    case ErrorKind::NotRegular:
    case ErrorKind::Unreadable:
    case ErrorKind::Malformed:
    case ErrorKind::TooLarge:
    case ErrorKind::WriteFailed:
    case ErrorKind::Busy:
    case ErrorKind::Unavailable:
    case ErrorKind::Newer:
    case ErrorKind::Cancelled:
    case ErrorKind::Failed:
        break;
    }
    return Exit::kFailed;
}

int failed(QTextStream &err, const Error &error)
{
    err << "dosemeter-cli: " << error.text << "\n";
    return exitStatus(error);
}

bool parseInteger(const QString &text, qint64 &value)
{
    bool ok = false;
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    return ok;
}

void keepFile(Context &context, const QString &path, const MeasurementReader::Known &known)
{
    if (context.keptFiles)
        context.keptFiles->append({path, known});
}

namespace {

// The program without the check of its standard output.
int runCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QString port;
    QString library;
    double timeout = 10.0;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << usageText();
            return Exit::kOk;
        }
        if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            out << "dosemeter-cli " << kProgramVersion << "\n";
            return Exit::kOk;
        }
        if (a == QLatin1String("--port") || a == QLatin1String("--timeout") ||
            (a == QLatin1String("--library") && rest.isEmpty())) {
            if (i + 1 >= arguments.size())
                return usage(err, a + QStringLiteral(" needs a value"));
            const QString value = arguments.at(++i);
            if (a == QLatin1String("--port")) {
                port = value;
            } else if (a == QLatin1String("--library")) {
                library = value;
            } else {
                bool ok = false;
                timeout = value.toDouble(&ok);
                if (!ok || !std::isfinite(timeout) || timeout < kMinTimeoutSeconds ||
                    timeout > kMaxTimeoutSeconds)
                    return usage(err, QStringLiteral("--timeout needs a number of seconds from "
                                                     "0.1 to 86400"));
            }
            continue;
        }
        rest << a;
    }
    if (rest.isEmpty())
        return usage(err, QStringLiteral("no command given"));
    const QString command = rest.takeFirst();
    if (command == QLatin1String("library")) {
        const int code = cli::library(out, err, library, rest);
        out.flush();
        return code;
    }
    if (const auto file = fileCommands().find(command); file != fileCommands().end()) {
        const int code = file->second(out, err, rest);
        out.flush();
        return code;
    }
    const auto found = meterCommands().find(command);
    if (found == meterCommands().end())
        return usage(err, QStringLiteral("unknown command '%1'").arg(command));
    if (port.isEmpty())
        return usage(err, QStringLiteral("--port is required for '%1'").arg(command));

    // The commands that write measurement files also keep them in the library.
    const bool keeps = command == QLatin1String("download") || command == QLatin1String("record") ||
                       command == QLatin1String("banks") || command == QLatin1String("average");
    const bool keepInLibrary = keeps && rest.removeAll(QStringLiteral("--no-library")) == 0 &&
                               rest.contains(QStringLiteral("--out"));
    if (choosePort(port).kind == PortChoice::Kind::Invalid)
        return usage(
            err,
            QStringLiteral("'%1' is no port: give a device path, COM1..COM8 or sim").arg(port));
    SystemClock clock;
    MeterLink meterLink = openLink(port, clock);
    SerialLink *link = meterLink.link.get();
    // Opened by the command once its arguments are checked.
    const auto openPort = [&]() -> int {
        if (link->isOpen() || link->open())
            return Exit::kOk;
        // A user outside the port's group is told how to join it, as the desktop program
        // tells it.
        if (const QString denied = link->deniedDevice(); !denied.isEmpty())
            err << Messages::noPortPermission(denied) << "\n";
        else
            err << "dosemeter-cli: cannot open the port " << port << ": " << link->errorString()
                << "\n";
        return Exit::kPortFailed;
    };

    MeterState state;
    Meter meter(*link, clock, state);
    // The time-out bounds the meter's silence, not the command: a long download or an
    // averaging run goes on while the meter answers. Once it has given no usable reply
    // for that long, every exchange ends and so does the command.
    meter.setSilenceLimit(timeout);
    QObject::connect(&meter, &Meter::meterSilent, &meter, &Meter::abort);

    bool terminal = false;
#ifdef Q_OS_UNIX
    terminal = isatty(STDERR_FILENO);
#endif
    QList<KeptFile> kept;
    // A library that cannot be reached is said before the meter is asked anything.
    if (keepInLibrary) {
        if (const int code = checkLibrary(err, library); code != Exit::kOk)
            return code;
    }
    Context context{meter, out, err, timeout, terminal, openPort, keepInLibrary ? &kept : nullptr};
    int code = found->second(context, rest);
    out.flush();
    if (link->isOpen())
        link->close();
    if (!kept.isEmpty()) {
        const int stored = storeKeptFiles(err, library, kept);
        if (code == Exit::kOk)
            code = stored;
    }
    err.flush();
    return code;
}

// Standard output is checked to its last byte: a script that converts a file and then
// deletes it must not take a write that failed (a full disk) for success. A failure is
// said on stderr and makes a successful command's status 1.
int checkOutput(QTextStream &out, QTextStream &err, int code)
{
    out.flush();
    QString reason;
    if (out.status() != QTextStream::Ok)
        reason = out.device() ? out.device()->errorString() : QString();
    errno = 0;
    if (std::fflush(stdout) != 0 && reason.isEmpty())
        reason = QString::fromLocal8Bit(std::strerror(errno));
    if (out.status() == QTextStream::Ok && reason.isEmpty())
        return code;
    err << "dosemeter-cli: cannot write to standard output: "
        << (reason.isEmpty() ? QStringLiteral("unknown error") : reason) << "\n";
    err.flush();
    return code == Exit::kOk ? int(Exit::kFailed) : code;
}

} // namespace

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return checkOutput(out, err, runCommand(arguments, out, err));
}

} // namespace cli
