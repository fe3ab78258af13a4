#include "cli/Cli.h"

#include "link/Clock.h"
#include "link/Meter.h"
#include "link/PortNames.h"
#include "link/SerialPortLink.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"

#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace cli {

namespace {

const char *const kUsageText =
    "usage: dosemeter-cli --port PORT [--timeout SECONDS] COMMAND [ARGS]\n"
    "       dosemeter-cli convert FILE.dat --csv\n"
    "       dosemeter-cli twa --dose PERCENT --criterion DB --exchange-rate DB\n"
    "\n"
    "PORT is a device path (/dev/ttyUSB0, /dev/pts/3), COM1..COM8, or sim (the built-in\n"
    "virtual meter). --timeout bounds how long the meter may stay silent (default 10 s).\n"
    "\n"
    "Commands:\n"
    "  status                   criterion, exchange rate, response and threshold\n"
    "  display                  one display frame, decoded\n"
    "  read ADDR                one register, printed in decimal\n"
    "  write ADDR VALUE         one register (ADDR 0..65535, VALUE 0..255)\n"
    "  download --out DIR       the logger memory, one set-K.dat per run\n"
    "  erase --yes              erase the logger memory\n"
    "  set-id CODE              the logger's ID code (0..65535)\n"
    "  set-interval SECONDS     the logging interval (0.1..6553.5)\n"
    "  banks [--bank N] [--out FILE.bnk]\n"
    "                           the dose event banks E1..E5 (or bank N), one line per\n"
    "                           row; --out also writes them as a bank file\n"
    "  convert FILE.dat --csv   a data file as CSV on standard output\n"
    "  twa --dose PERCENT --criterion 80|84|85|90 --exchange-rate 3|4|5|6\n"
    "                           the eight-hour time-weighted average of a dose\n"
    "\n"
    "Exit status: 0 done, 2 usage error, 3 the meter does not answer, 4 the port cannot be opened.\n";

using Command = int (*)(Context &, const QStringList &);

// Time the register traffic of an all-banks read may take beyond the time-out.
constexpr double kBanksSeconds = 15.0;

const std::map<QString, Command> &meterCommands()
{
    static const std::map<QString, Command> commands{
        {QStringLiteral("status"), &status},       {QStringLiteral("display"), &display},
        {QStringLiteral("read"), &read},           {QStringLiteral("write"), &write},
        {QStringLiteral("download"), &download},   {QStringLiteral("erase"), &erase},
        {QStringLiteral("set-id"), &setId},        {QStringLiteral("set-interval"), &setInterval},
        {QStringLiteral("banks"), &banks},
    };
    return commands;
}

int usage(QTextStream &err, const QString &problem)
{
    if (!problem.isEmpty())
        err << "dosemeter-cli: " << problem << "\n";
    err << kUsageText;
    return Exit::kUsage;
}

}  // namespace

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

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString port;
    double timeout = 10.0;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << kUsageText;
            return Exit::kOk;
        }
        if (a == QLatin1String("--port") || a == QLatin1String("--timeout")) {
            if (i + 1 >= arguments.size())
                return usage(err, a + QStringLiteral(" needs a value"));
            const QString value = arguments.at(++i);
            if (a == QLatin1String("--port")) {
                port = value;
            } else {
                bool ok = false;
                timeout = value.toDouble(&ok);
                if (!ok || timeout <= 0)
                    return usage(err, QStringLiteral("--timeout needs a positive number of seconds"));
            }
            continue;
        }
        rest << a;
    }
    if (rest.isEmpty())
        return usage(err, QStringLiteral("no command given"));
    const QString command = rest.takeFirst();
    if (command == QLatin1String("convert") || command == QLatin1String("twa")) {
        const int code =
            command == QLatin1String("twa") ? twa(out, err, rest) : convert(out, err, rest);
        out.flush();
        return code;
    }
    const auto found = meterCommands().find(command);
    if (found == meterCommands().end())
        return usage(err, QStringLiteral("unknown command '%1'").arg(command));
    if (port.isEmpty())
        return usage(err, QStringLiteral("--port is required for '%1'").arg(command));

    const PortChoice choice = choosePort(port);
    SystemClock clock;
    std::unique_ptr<VirtualMeter> virtualMeter;
    std::unique_ptr<SerialLink> link;
    switch (choice.kind) {
    case PortChoice::Kind::Simulator:
        virtualMeter = std::make_unique<VirtualMeter>();
        virtualMeter->setClock(clock.now(), clock.monotonicSeconds());
        virtualMeter->loadMemory(VirtualMeter::demoMemory(clock.now()));
        link = std::make_unique<VirtualMeterLink>(*virtualMeter, clock);
        break;
    case PortChoice::Kind::Com:
    case PortChoice::Kind::Auto:
    case PortChoice::Kind::Device:
        link = std::make_unique<SerialPortLink>(choice.systemPath, portLabelFor(choice));
        break;
    case PortChoice::Kind::Invalid:
        return usage(err, QStringLiteral("'%1' is no port: give a device path, COM1..COM8 or sim")
                              .arg(port));
    }
    if (!link->open()) {
        err << "dosemeter-cli: cannot open the port " << port << ": " << link->errorString() << "\n";
        return Exit::kPortFailed;
    }

    MeterState state;
    Meter meter(*link, clock, state);
    meter.setRefreshTimeout(timeout);
    // However an exchange loops, the whole command ends when the time-out passes
    // without the command finishing (long transfers set their own limits instead).
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &meter, &Meter::abort);
    // Reading the five banks takes up to about 9 s of register traffic on its own.
    const double extraSeconds = command == QLatin1String("banks") ? kBanksSeconds : 0.0;
    if (command != QLatin1String("download"))
        deadline.start(int((timeout + extraSeconds) * 1000.0) + 5000);

    bool terminal = false;
#ifdef Q_OS_UNIX
    terminal = isatty(STDERR_FILENO);
#endif
    Context context{meter, out, err, timeout, terminal};
    const int code = found->second(context, rest);
    out.flush();
    err.flush();
    link->close();
    return code;
}

}  // namespace cli
