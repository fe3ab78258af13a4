// dosemeter-cli commands on the meter's settings, display and registers.

#include "cli/Cli.h"

#include "link/Meter.h"
#include "main/LiveDisplay.h"
#include "main/Poller.h"

#include <QTextStream>

namespace cli {

namespace {

int silent(Context &c)
{
    c.err << "dosemeter-cli: the meter does not answer (no reply within " << c.timeoutSeconds
          << " s)\n";
    return Exit::kNoAnswer;
}

int wrongArguments(Context &c, const QString &problem)
{
    c.err << "dosemeter-cli: " << problem << "\n";
    return Exit::kUsage;
}

} // namespace

int status(Context &c, const QStringList &args)
{
    if (!args.isEmpty())
        return wrongArguments(c, QStringLiteral("status takes no arguments"));
    if (!c.meter.RefreshSettings() || c.meter.aborted())
        return silent(c);
    const MeterState &s = c.meter.state();
    c.out << "criterion: " << s.status.CriterionLevel << "\n"
          << "exchange-rate: " << s.status.ExchangeRate << "\n"
          << "response: " << s.status.TimeWeightingText << "\n"
          << "threshold: " << s.ThresholdLevel << "\n";
    return Exit::kOk;
}

int display(Context &c, const QStringList &args)
{
    if (!args.isEmpty())
        return wrongArguments(c, QStringLiteral("display takes no arguments"));
    Poller poller(c.meter);
    Poller::Result result;
    // A refresh inside a tick means the meter missed frames; ask again until it answers
    // or the time-out aborts the exchange.
    while (!c.meter.aborted()) {
        result = poller.tick();
        if (result.outcome == Poller::Outcome::Decoded)
            break;
    }
    if (result.outcome != Poller::Outcome::Decoded)
        return silent(c);
    const DisplayFields &f = c.meter.state().display;
    const auto flag = [&c](const char *name, bool on) {
        c.out << name << ": " << (on ? 1 : 0) << "\n";
    };
    c.out << "value: " << result.valueText << "\n"
          << "unit: " << displayUnitText(f) << "\n"
          << "level-text: " << f.LevelText << "\n"
          << "level-value: " << QString::number(double(f.LevelValue), 'f', 1) << "\n";
    flag("ColonOn", f.ColonOn);
    flag("DashOn", f.DashOn);
    flag("Paused", f.Paused);
    flag("Running", f.Running);
    flag("DoseMode", f.DoseMode);
    flag("DbaMode", f.DbaMode);
    flag("FieldMode", f.FieldMode);
    flag("MemOn", f.MemOn);
    flag("LoudOn", f.LoudOn);
    flag("PeakOn", f.PeakOn);
    flag("Point1On", f.Point1On);
    flag("Point2On", f.Point2On);
    flag("KeysLocked", f.KeysLocked);
    flag("BankBlink", f.BankBlink);
    c.out << "EventBank: " << f.EventBank << "\n"
          << "BatteryLevel: " << f.BatteryLevel << "\n";
    return Exit::kOk;
}

int read(Context &c, const QStringList &args)
{
    qint64 address = -1;
    if (args.size() != 1 || !parseInteger(args.at(0), address))
        return wrongArguments(c, QStringLiteral("read needs one address, 0..65535"));
    if (!Meter::validAddress(address))
        return wrongArguments(c, QStringLiteral("address %1 is outside 0..65535").arg(args.at(0)));
    if (!c.meter.ReadByte(address))
        return silent(c);
    c.out << c.meter.state().link.LastByte << "\n";
    return Exit::kOk;
}

int write(Context &c, const QStringList &args)
{
    qint64 address = -1;
    qint64 value = -1;
    if (args.size() != 2 || !parseInteger(args.at(0), address) || !parseInteger(args.at(1), value))
        return wrongArguments(c,
                              QStringLiteral("write needs an address 0..65535 and a value 0..255"));
    if (!Meter::validAddress(address))
        return wrongArguments(c, QStringLiteral("address %1 is outside 0..65535").arg(args.at(0)));
    if (!Meter::validValue(value))
        return wrongArguments(c, QStringLiteral("value %1 is outside 0..255").arg(args.at(1)));
    c.meter.WriteByte(double(address), value);
    return Exit::kOk;
}

} // namespace cli
