#include "sim/Simulator.h"

#include "sim/PtyServer.h"

#include <ProgramVersion.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <cmath>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Longest time option: a day.
constexpr double kMaxSeconds = 86400.0;

// Whole number, decimal or 0x.. hexadecimal, within [low, high].
bool parseInteger(const QString &text, qint64 low, qint64 high, qint64 &value)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    return ok && value >= low && value <= high;
}

bool parseNumber(const QString &text, double low, double high, double &value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && value >= low && value <= high;
}

#if defined(Q_OS_UNIX)
// SIGINT and SIGTERM end the event loop through this pipe: a signal handler may only
// write to a file descriptor, the loop reads the other end. Set once, before the
// handlers are installed.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool quitOnSignals(QObject *context)
{
    if (::pipe(signalPipe) != 0)
        return false;
    for (int fd : signalPipe)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}
#endif

} // namespace

bool Simulator::parseFaults(const QString &text, VirtualMeter::Faults &faults, QString &message)
{
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = item.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = item.section(QLatin1Char('='), 1);
        const bool hasValue = item.contains(QLatin1Char('='));
        double fraction = 0.0;
        qint64 count = 0;
        if (name == QLatin1String("silent") && !hasValue) {
            faults.silent = true;
        } else if (name == QLatin1String("stuck-menu") && !hasValue) {
            faults.stuckMenu = true;
        } else if (name == QLatin1String("vanish-after") && hasValue &&
                   parseNumber(value, 0.0, kMaxSeconds, fraction)) {
            faults.vanishAfter = fraction;
        } else if (name == QLatin1String("stall-after") && hasValue &&
                   parseInteger(value, 0, std::numeric_limits<qint64>::max(), count)) {
            faults.stallAfter = count;
        } else if ((name == QLatin1String("drop") || name == QLatin1String("corrupt") ||
                    name == QLatin1String("short")) &&
                   hasValue && parseNumber(value, 0.0, 1.0, fraction)) {
            (name == QLatin1String("drop")      ? faults.drop
             : name == QLatin1String("corrupt") ? faults.corrupt
                                                : faults.shortReply) = fraction;
        } else {
            message = QStringLiteral("bad fault \"%1\" (expected drop=P, corrupt=P, short=P with P "
                                     "in 0..1, stall-after=N, silent, stuck-menu or "
                                     "vanish-after=SECONDS)")
                          .arg(item);
            return false;
        }
    }
    return true;
}

Simulator::Parse Simulator::parseOptions(const QStringList &arguments, Options &options,
                                         QString &message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a virtual dose meter on a pseudo-terminal. The first line on "
                       "standard output is \"port: PATH\"; SIGINT or SIGTERM ends it."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version."));
    const QCommandLineOption memory(QStringLiteral("memory"),
                                    QStringLiteral("Loads the register image FILE (from address 0, "
                                                   "zero-padded to 64 KiB): logger, banks E1-E5 "
                                                   "and their time copies."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption demo(QStringLiteral("demo-memory"),
                                  QStringLiteral("Fills the logger with a few demonstration runs "
                                                 "and two used banks."));
    const QCommandLineOption save(QStringLiteral("save-memory"),
                                  QStringLiteral("Writes the register image to FILE at exit."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption printSettings(
        QStringLiteral("print-settings"),
        QStringLiteral("At exit, prints the settings the meter ends with as one line: "
                       "\"settings: status 0xSS threshold DB\"."));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("Status byte (default 0x15)."),
                                    QStringLiteral("BYTE"));
    const QCommandLineOption threshold(QStringLiteral("threshold"),
                                       QStringLiteral("Threshold level (default 80)."),
                                       QStringLiteral("DB"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("Display mode: dba, dose, clock or date."),
                                  QStringLiteral("MODE"));
    const QCommandLineOption level(QStringLiteral("level"),
                                   QStringLiteral("A fixed level in dB (default: a varying "
                                                  "level); shown as \" OL \" above 140 and "
                                                  "\"----\" below 70."),
                                   QStringLiteral("DB"));
    const QCommandLineOption locked(QStringLiteral("locked"),
                                    QStringLiteral("Starts with the keypad locked."));
    const QCommandLineOption battery(QStringLiteral("battery"),
                                     QStringLiteral("Battery level 0..7 (default 5)."),
                                     QStringLiteral("N"));
    const QCommandLineOption keyDelay(
        QStringLiteral("key-delay"),
        QStringLiteral("Ignores a key command that comes sooner than SECONDS after the previous "
                       "one taken, as a real meter does (default 0: takes every key)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Makes PATH a symbolic link to the terminal while "
                                                 "serving."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption fault(
        QStringLiteral("fault"),
        QStringLiteral("Misbehaves; LIST is comma-separated. drop=P and corrupt=P lose or damage "
                       "that fraction (0..1) of the reply bytes; short=P cuts the "
                       "last byte off that fraction of the replies; stall-after=N "
                       "sends nothing after N reply bytes; silent answers nothing; "
                       "stuck-menu makes the setup menu ignore EVENT and "
                       "MODE+EVENT; vanish-after=SECONDS closes the terminal (and "
                       "removes the --link) after SECONDS, as a pulled USB adapter "
                       "does, and serves nothing more until the program is ended."),
        QStringLiteral("LIST"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the level walk and the faults."),
                                  QStringLiteral("N"));
    parser.addOptions({help, version, memory, demo, save, printSettings, status, threshold, mode,
                       level, locked, battery, keyDelay, link, fault, seed});

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return Parse::Error;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return Parse::Help;
    }
    if (parser.isSet(version)) {
        message = QStringLiteral("dosemeter-sim %1\n").arg(QLatin1String(kProgramVersion));
        return Parse::Version;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message =
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return Parse::Error;
    }
    const auto bad = [&message](const QString &option, const QString &value,
                                const QString &expected) {
        message =
            QStringLiteral("bad value \"%1\" for --%2 (expected %3)").arg(value, option, expected);
        return Parse::Error;
    };
    options.memoryFile = parser.value(memory);
    options.demoMemory = parser.isSet(demo);
    if (options.demoMemory && parser.isSet(memory)) {
        message = QStringLiteral("--memory and --demo-memory exclude each other");
        return Parse::Error;
    }
    options.saveMemoryFile = parser.value(save);
    options.printSettings = parser.isSet(printSettings);
    options.linkPath = parser.value(link);
    options.locked = parser.isSet(locked);
    qint64 integer = 0;
    double number = 0.0;
    if (parser.isSet(status)) {
        if (!parseInteger(parser.value(status), 0, 255, integer))
            return bad(QStringLiteral("status"), parser.value(status),
                       QStringLiteral("0..255 or 0x00..0xFF"));
        options.status = int(integer);
    }
    if (parser.isSet(threshold)) {
        if (!parseInteger(parser.value(threshold), 0, 255, integer))
            return bad(QStringLiteral("threshold"), parser.value(threshold),
                       QStringLiteral("0..255 dB"));
        options.threshold = int(integer);
    }
    if (parser.isSet(mode)) {
        const QString name = parser.value(mode).toLower();
        const QStringList names{QStringLiteral("dba"), QStringLiteral("dose"),
                                QStringLiteral("clock"), QStringLiteral("date")};
        if (!names.contains(name))
            return bad(QStringLiteral("mode"), parser.value(mode),
                       QStringLiteral("dba, dose, clock or date"));
        options.mode = VirtualMeter::DisplayMode(names.indexOf(name));
    }
    if (parser.isSet(level)) {
        if (!parseNumber(parser.value(level), 0.0, 199.9, number))
            return bad(QStringLiteral("level"), parser.value(level), QStringLiteral("0..199.9 dB"));
        options.level = number;
    }
    if (parser.isSet(battery)) {
        if (!parseInteger(parser.value(battery), 0, 7, integer))
            return bad(QStringLiteral("battery"), parser.value(battery), QStringLiteral("0..7"));
        options.battery = int(integer);
    }
    if (parser.isSet(keyDelay)) {
        if (!parseNumber(parser.value(keyDelay), 0.0, kMaxSeconds, number))
            return bad(QStringLiteral("key-delay"), parser.value(keyDelay),
                       QStringLiteral("0..86400 seconds"));
        options.keyDelaySeconds = number;
    }
    if (parser.isSet(seed)) {
        if (!parseInteger(parser.value(seed), 0, 0xFFFFFFFFLL, integer))
            return bad(QStringLiteral("seed"), parser.value(seed), QStringLiteral("0..4294967295"));
        options.seed = quint32(integer);
    }
    for (const QString &list : parser.values(fault)) {
        if (!parseFaults(list, options.faults, message))
            return Parse::Error;
    }
    return Parse::Run;
}

bool Simulator::configure(const Options &options, VirtualMeter &meter, QString &message)
{
    if (!options.memoryFile.isEmpty()) {
        QFile file(options.memoryFile);
        if (!file.open(QIODevice::ReadOnly)) {
            message =
                QStringLiteral("cannot read %1: %2").arg(options.memoryFile, file.errorString());
            return false;
        }
        if (file.size() > 0x10000) {
            message =
                QStringLiteral("%1 is larger than the meter's 64 KiB").arg(options.memoryFile);
            return false;
        }
        meter.loadMemory(file.readAll());
    } else if (options.demoMemory) {
        meter.loadMemory(VirtualMeter::demoMemory(QDateTime::currentDateTime(), options.seed));
    }
    if (options.status)
        meter.setStatusByte(quint8(*options.status));
    if (options.threshold)
        meter.setThreshold(*options.threshold);
    if (options.mode)
        meter.setDisplayMode(*options.mode);
    meter.setFixedLevel(options.level);
    meter.setLocked(options.locked);
    if (options.battery)
        meter.setBattery(*options.battery);
    meter.setKeyDelay(options.keyDelaySeconds);
    meter.setFaults(options.faults);
    return true;
}

int Simulator::run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString program = QStringLiteral("dosemeter-sim");
    Options options;
    QString message;
    switch (parseOptions(arguments, options, message)) {
    case Parse::Help:
    case Parse::Version:
        out << message;
        return kOk;
    case Parse::Error:
        err << program << ": " << message << Qt::endl;
        return kUsage;
    case Parse::Run:
        break;
    }
    VirtualMeter meter(options.seed);
    if (!configure(options, meter, message)) {
        err << program << ": " << message << Qt::endl;
        return kUsage;
    }
    PtyServer server(meter);
    if (!server.start()) {
        err << program << ": " << server.errorString() << Qt::endl;
        return kFailed;
    }
    meter.setClock(QDateTime::currentDateTime(), server.now());

    if (!options.linkPath.isEmpty()) {
        const QFileInfo existing(options.linkPath);
        // A link left behind by an earlier run is replaced; anything else is kept.
        if (existing.isSymLink())
            QFile::remove(options.linkPath);
        if (!QFile::link(server.portName(), options.linkPath)) {
            err << program << ": cannot make the link " << options.linkPath << Qt::endl;
            return kFailed;
        }
    }
    // A pulled adapter takes its device name with it.
    QObject::connect(&server, &PtyServer::terminalClosed, &server, [&options] {
        if (!options.linkPath.isEmpty())
            QFile::remove(options.linkPath);
    });
#if defined(Q_OS_UNIX)
    if (!quitOnSignals(&server)) {
        err << program << ": cannot watch for SIGINT and SIGTERM" << Qt::endl;
        return kFailed;
    }
#endif
    out << "port: " << server.portName() << Qt::endl;

    QCoreApplication::exec();

    int exit = kOk;
    if (options.printSettings)
        out << "settings: status 0x"
            << QString::number(meter.statusByte(), 16).toUpper().rightJustified(2, QLatin1Char('0'))
            << " threshold " << meter.threshold() << Qt::endl;
    if (!options.saveMemoryFile.isEmpty()) {
        QSaveFile file(options.saveMemoryFile);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(meter.memory()) != meter.memory().size() || !file.commit()) {
            err << program << ": cannot write " << options.saveMemoryFile << ": "
                << file.errorString() << Qt::endl;
            exit = kFailed;
        }
    }
    if (!options.linkPath.isEmpty() && !server.closed())
        QFile::remove(options.linkPath);
    return exit;
}
