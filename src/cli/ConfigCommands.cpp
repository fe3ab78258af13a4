// dosemeter-cli setup and standard: the meter's settings set through its own setup menu,
// as the Setup and Standard windows set them.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "cli/StopSignals.h"
#include "config/ExposureStandards.h"
#include "config/SetupChoice.h"
#include "config/SetupSequence.h"
#include "link/Clock.h"
#include "link/Messages.h"
#include "link/Meter.h"

#include <QTextStream>

#include <csignal>
#include <functional>

namespace cli {

namespace {

using Step = SetupSequence::Step;

int silent(Context &c)
{
    c.err << "dosemeter-cli: the meter does not answer (no reply within " << c.timeoutSeconds
          << " s)\n";
    return Exit::kNoAnswer;
}

QString valueText(Step step, int value)
{
    switch (step) {
    case Step::TimeWeighting:
        return value ? QStringLiteral("Fast") : QStringLiteral("Slow");
    case Step::Century:
    case Step::Year:
    case Step::Month:
    case Step::Day:
    case Step::Hour:
    case Step::Minute:
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    default:
        return QString::number(value);
    }
}

QString fieldText(Step step)
{
    return step == Step::Century ? QStringLiteral("Year (century)")
                                 : SetupSequence::settingName(step);
}

// Runs a sequence with its progress on stderr, one line per setting, and ends it on
// SIGINT or SIGTERM with the meter's menu closed.
int runSequence(Context &c, const std::function<SetupSequence::Result(SetupSequence &)> &run)
{
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    // The settings as they are first: a meter that does not answer is told at once,
    // before any key is pressed.
    if (!c.meter.refreshSettings() || c.meter.aborted())
        return silent(c);

    SetupSequence sequence(c.meter);
    sequence.setSilenceTimeout(c.timeoutSeconds);
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, &c.meter, &Meter::abort);
    sequence.cancelled = [&stop] { return stop.requested(); };
    sequence.adjusting = [&c](Step step, int current, std::optional<int> target) {
        c.err << fieldText(step) << ": ";
        if (!target || *target == current)
            c.err << valueText(step, current) << " (as it is)";
        else
            c.err << valueText(step, current) << " -> " << valueText(step, *target);
        c.err << "\n";
        c.err.flush();
    };
    sequence.thresholdLowered = [&c](int db) {
        c.err << "Threshold level: lowered to the criterion level, " << db << "\n";
        c.err.flush();
    };

    const SetupSequence::Result result = run(sequence);
    switch (result.outcome) {
    case SetupSequence::Outcome::Done:
        c.out << SetupSequence::kSuccess << "\n";
        return Exit::kOk;
    case SetupSequence::Outcome::Failed:
        c.err << Messages::kInvalid << "\n"
              << "dosemeter-cli: " << result.detail << "\n";
        return Exit::kNoAnswer;
    case SetupSequence::Outcome::Silent:
        silent(c);
        c.err << "dosemeter-cli: the setup did not finish at " << fieldText(result.step).toLower()
              << "; the meter's settings may be partly "
              << "changed\n";
        return Exit::kNoAnswer;
    case SetupSequence::Outcome::Cancelled:
        c.err << "dosemeter-cli: stopped"
              << (stop.signalNumber() == SIGINT    ? " (SIGINT)"
                  : stop.signalNumber() == SIGTERM ? " (SIGTERM)"
                                                   : "")
              << " at " << fieldText(result.step).toLower()
              << "; the meter's setup menu was closed, its settings may be partly changed\n";
        return Exit::kNoAnswer;
    case SetupSequence::Outcome::Refused:
        c.err << "dosemeter-cli: " << result.detail << "\n";
        return Exit::kNoAnswer;
    }
    return Exit::kNoAnswer;
}

} // namespace

int setup(Context &c, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("setup"));
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(c.err, parsed.error());
    SetupChoice choice;
    // In the order given, as the menu would be walked by hand.
    for (const Arguments::Given &given : parsed->given()) {
        const QString &option = given.name;
        const QString &value = given.words.first();
        const std::optional<int> number = SetupChoice::number(value);
        if (option == QLatin1String("--criterion")) {
            if (!number || !SetupChoice::validCriterion(*number))
                return wrongArguments(c.err, QStringLiteral("--criterion takes 80, 84, 85 or 90"));
            choice.criterionDb = *number;
        } else if (option == QLatin1String("--threshold")) {
            if (!number || !SetupChoice::validThreshold(*number))
                return wrongArguments(c.err, QStringLiteral("--threshold takes 70 to 90 (dB)"));
            choice.thresholdDb = *number;
        } else if (option == QLatin1String("--exchange-rate")) {
            if (!number || !SetupChoice::validExchangeRate(*number))
                return wrongArguments(c.err, QStringLiteral("--exchange-rate takes 3, 4, 5 or 6"));
            choice.exchangeRateDb = *number;
        } else if (option == QLatin1String("--response")) {
            if (value != QLatin1String("fast") && value != QLatin1String("slow"))
                return wrongArguments(c.err, QStringLiteral("--response takes fast or slow"));
            choice.fast = value == QLatin1String("fast");
        } else if (option == QLatin1String("--clock")) {
            if (value == QLatin1String("now")) {
                // The computer's clock when each part of the meter's clock is set.
                Clock &clock = c.meter.clock();
                choice.clock = [&clock] { return clock.now(); };
            } else if (const std::optional<QDateTime> when = SetupChoice::parseClock(value)) {
                choice.clock = [when = *when] { return when; };
            } else {
                return wrongArguments(
                    c.err,
                    QStringLiteral("--clock takes now or \"YYYY-MM-DD hh:mm\" (years %1 to %2)")
                        .arg(SetupChoice::kFirstYear)
                        .arg(SetupChoice::kLastYear));
            }
        }
    }
    return runSequence(c, [&choice](SetupSequence &sequence) { return sequence.run(choice); });
}

int standard(Context &c, const QStringList &args)
{
    const std::optional<int> row =
        args.size() == 1 ? ExposureStandards::rowOf(args.at(0)) : std::nullopt;
    if (!row)
        return wrongArguments(c.err,
                              QStringLiteral("%1; the countries are: %2")
                                  .arg(args.size() == 1
                                           ? QStringLiteral("unknown country '%1'").arg(args.at(0))
                                           : QStringLiteral("standard needs one country"),
                                       ExposureStandards::countries().join(QStringLiteral(", "))));
    const ExposureStandards::Preset preset = ExposureStandards::preset(*row);
    return runSequence(c, [preset](SetupSequence &sequence) {
        return sequence.preset(preset.criterionDb, preset.exchangeRateDb);
    });
}

} // namespace cli
