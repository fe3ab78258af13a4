// dosemeter-cli commands on the meter's settings, display and registers.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "link/Meter.h"
#include "main/LiveDisplay.h"
#include "main/Poller.h"

#include <QTextStream>

#include <optional>

namespace cli {

namespace {

int silent(Context &c)
{
    c.err << "dosemeter-cli: the meter does not answer (no reply within " << c.timeoutSeconds
          << " s)\n";
    return Exit::kNoAnswer;
}

int disagreeing(Context &c, const QString &what)
{
    c.err << "dosemeter-cli: the meter gave three different replies for " << what
          << ": the serial line damages them\n";
    return Exit::kNoAnswer;
}

// A reply the line has no checksum for is taken once a second exchange gives the same;
// on a mismatch a third decides by majority. nullopt when the meter does not answer or
// all three differ (`disagreed`).
template <typename Value, typename Ask> std::optional<Value> confirmed(Ask ask, bool &disagreed)
{
    disagreed = false;
    std::optional<Value> first = ask();
    if (!first)
        return std::nullopt;
    const std::optional<Value> second = ask();
    if (!second)
        return std::nullopt;
    if (*first == *second)
        return first;
    const std::optional<Value> third = ask();
    if (!third)
        return std::nullopt;
    if (*third == *first || *third == *second)
        return third;
    disagreed = true;
    return std::nullopt;
}

struct Settings {
    StatusFields status;
    int thresholdDb = 0;
    bool operator==(const Settings &other) const
    {
        return status.CriterionLevel == other.status.CriterionLevel &&
               status.ExchangeRate == other.status.ExchangeRate &&
               status.FastResponse == other.status.FastResponse &&
               status.StatusFlag5 == other.status.StatusFlag5 &&
               status.StatusFlag6 == other.status.StatusFlag6 &&
               status.StatusFlag7 == other.status.StatusFlag7 && thresholdDb == other.thresholdDb;
    }
};

} // namespace

int status(Context &c, const QStringList &args)
{
    if (const Result<Arguments> parsed = parseArguments(grammarOf(QStringLiteral("status")), args);
        !parsed)
        return failed(c.err, parsed.error());
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    bool disagreed = false;
    const std::optional<Settings> settings = confirmed<Settings>(
        [&c]() -> std::optional<Settings> {
            if (!c.meter.refreshSettings() || !c.meter.thresholdRead() || c.meter.aborted())
                return std::nullopt;
            return Settings{c.meter.state().status, c.meter.state().ThresholdLevel};
        },
        disagreed);
    if (!settings)
        return disagreed ? disagreeing(c, QStringLiteral("its settings")) : silent(c);
    c.out << "criterion: " << settings->status.CriterionLevel << "\n"
          << "exchange-rate: " << settings->status.ExchangeRate << "\n"
          << "response: " << settings->status.TimeWeightingText << "\n"
          << "threshold: " << settings->thresholdDb << "\n";
    return Exit::kOk;
}

namespace {

// Frames asked for, at most, until two in a row decode alike.
constexpr int kDisplayFrames = 10;

// What display prints of the frame decoded last.
QString displayText(const MeterState &state, const QString &valueText)
{
    const DisplayFields &f = state.display;
    QString text;
    QTextStream out(&text);
    const auto flag = [&out](const char *name, bool on) {
        out << name << ": " << (on ? 1 : 0) << "\n";
    };
    out << "value: " << valueText << "\n"
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
    out << "EventBank: " << f.EventBank << "\n"
        << "BatteryLevel: " << f.BatteryLevel << "\n";
    out.flush();
    return text;
}

} // namespace

int display(Context &c, const QStringList &args)
{
    if (const Result<Arguments> parsed = parseArguments(grammarOf(QStringLiteral("display")), args);
        !parsed)
        return failed(c.err, parsed.error());
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    Poller poller(c.meter);
    // A damaged byte can leave a frame possible: the poll decodes a frame only once a
    // second one decodes alike. A refresh inside a tick means the meter missed frames;
    // ask again until it answers or its silence ends the command.
    for (int unconfirmed = 0; !c.meter.aborted();) {
        const Poller::Result result = poller.tick();
        if (result.outcome == Poller::Outcome::Decoded) {
            c.out << displayText(c.meter.state(), result.valueText);
            return Exit::kOk;
        }
        if (result.outcome == Poller::Outcome::Unconfirmed && ++unconfirmed * 2 >= kDisplayFrames) {
            c.err << "dosemeter-cli: no two display frames in a row decoded alike in "
                  << kDisplayFrames << " frames: the serial line damages them\n";
            return Exit::kNoAnswer;
        }
    }
    return silent(c);
}

int read(Context &c, const QStringList &args)
{
    qint64 address = -1;
    if (args.size() != 1 || !parseInteger(args.at(0), address))
        return wrongArguments(c.err, QStringLiteral("read needs one address, 0..65535"));
    if (!Meter::validAddress(address))
        return wrongArguments(c.err,
                              QStringLiteral("address %1 is outside 0..65535").arg(args.at(0)));
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    bool disagreed = false;
    const std::optional<int> value = confirmed<int>(
        [&c, address]() -> std::optional<int> {
            if (!c.meter.readByte(address) || c.meter.aborted())
                return std::nullopt;
            return c.meter.state().link.LastByte;
        },
        disagreed);
    if (!value)
        return disagreed ? disagreeing(c, QStringLiteral("register %1").arg(address)) : silent(c);
    c.out << *value << "\n";
    return Exit::kOk;
}

int write(Context &c, const QStringList &args)
{
    qint64 address = -1;
    qint64 value = -1;
    if (args.size() != 2 || !parseInteger(args.at(0), address) || !parseInteger(args.at(1), value))
        return wrongArguments(c.err,
                              QStringLiteral("write needs an address 0..65535 and a value 0..255"));
    if (!Meter::validAddress(address))
        return wrongArguments(c.err,
                              QStringLiteral("address %1 is outside 0..65535").arg(args.at(0)));
    if (!Meter::validValue(value))
        return wrongArguments(c.err, QStringLiteral("value %1 is outside 0..255").arg(args.at(1)));
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    if (!c.meter.writeByte(double(address), value)) {
        c.err << "dosemeter-cli: " << c.meter.errorString() << "\n";
        return Exit::kNoAnswer;
    }
    return Exit::kOk;
}

} // namespace cli
