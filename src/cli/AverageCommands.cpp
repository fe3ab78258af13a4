// dosemeter-cli average: the averaging window's run against the meter, without a window.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "averaging/AverageRun.h"
#include "averaging/AverageState.h"
#include "averaging/AvgFile.h"
#include "averaging/IntervalPrompt.h"
#include "cli/LivePoll.h"
#include "cli/OutputFiles.h"
#include "cli/StopSignals.h"
#include "link/Clock.h"
#include "link/Meter.h"

#include <QTextStream>

#include <algorithm>
#include <limits>
#include <optional>

namespace cli {

namespace {

// The run samples once a second.
constexpr double kSampleSeconds = AverageRun::kTimerMilliseconds / 1000.0;

int silent(Context &c)
{
    c.err << "dosemeter-cli: the meter does not answer (no reply within " << c.timeoutSeconds
          << " s)\n";
    return Exit::kNoAnswer;
}

struct Options {
    IntervalPrompt::Interval interval;
    int count = 0;
    std::optional<QString> out;
    bool overwrite = false;
    QString job, name, id;
};

// The options, or why they are wrong.
Result<Options> parseOptions(const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("average"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed) {
        return parsed.error();
    }
    Options options;
    options.overwrite = parsed->has("--overwrite");
    options.out = parsed->optional("--out");
    options.job = parsed->value("--job");
    options.name = parsed->value("--name");
    options.id = parsed->value("--id");
    const std::optional<QString> interval = parsed->optional("--interval");
    const std::optional<QString> count = parsed->optional("--count");
    if (!interval || !count) {
        return usageError(usage);
    }
    // Stricter than the window's prompt, which wraps and cuts what it is given: a script's
    // interval is taken as written or refused.
    QString problem;
    const std::optional<IntervalPrompt::Interval> typed =
        IntervalPrompt::parseExact(*interval, problem);
    if (!typed) {
        return usageError(QStringLiteral("invalid interval '%1': %2; give hours, minutes and "
                                         "seconds as HH:MM:SS")
                              .arg(*interval, problem));
    }
    options.interval = *typed;
    qint64 n = 0;
    if (!parseInteger(*count, n) || n < 1 || n > std::numeric_limits<int>::max()) {
        return usageError(QStringLiteral("--count needs a whole number of intervals, 1 "
                                         "or more"));
    }
    options.count = int(n);
    // Found now, not after a run of hours: the file must be writable, new unless
    // --overwrite says otherwise, and its disk must have room for it.
    if (options.out) {
        if (const Result<void> checked = checkNewFile(*options.out, options.overwrite); !checked)
            return checked.error();
        // The header, then one line of about 30 bytes per interval.
        const qint64 bytes = 512 + options.job.size() + options.name.size() + options.id.size() +
                             qint64(options.count) * 40;
        if (const Result<void> room = checkFreeSpace(*options.out, bytes); !room)
            return room.error();
    }
    return options;
}

} // namespace

int average(Context &c, const QStringList &args)
{
    const Result<Options> options = parseOptions(args);
    if (!options)
        return failed(c.err, options.error());
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    int exit = Exit::kOk;

    StopSignals stop;
    // A signal also ends any wait on the meter at once.
    QObject::connect(&stop, &StopSignals::stopRequested, &c.meter, &Meter::abort);
    Clock &clock = c.meter.clock();
    const DisplayFields &display = c.meter.state().display;
    AverageState state;
    AverageRun run(state, clock);
    run.reset();
    run.setInterval(options->interval);

    LivePoll live(c, stop);
    if (const std::optional<int> exit = live.beginOrExit(
            QStringLiteral("stopped before the run started; nothing was recorded")))
        return *exit;
    const StatusFields &status = c.meter.state().status;
    run.Start(display, QString::number(status.CriterionLevel),
              QString::number(status.ExchangeRate));

    enum class End { Count, LeftDba, Stopped, Silent };
    End end = End::Count;
    const LivePoll::Outcome outcome = live.run(kSampleSeconds, [&] {
        const AverageRun::Tick tick = run.tick(display);
        if (tick == AverageRun::Tick::LeftDba) {
            end = End::LeftDba;
            return false;
        }
        if (tick == AverageRun::Tick::Recorded) {
            const RecordGrid &grid = run.grid();
            const int row = grid.rows() - 1;
            c.out << grid.text(row, 0) << '\t' << grid.text(row, 1) << '\t' << grid.text(row, 2)
                  << '\t' << grid.text(row, 3) << '\n';
            c.out.flush();
            if (state.AverageCount >= options->count) {
                run.Stop();
                return false;
            }
        }
        return true;
    });
    if (outcome == LivePoll::Outcome::Stopped || outcome == LivePoll::Outcome::Silent) {
        run.Stop();
        end = outcome == LivePoll::Outcome::Stopped ? End::Stopped : End::Silent;
    }

    const AverageRun::Labels &labels = run.labels();
    c.out << "run-time: " << labels.runTime << "\n"
          << "spl-max: " << labels.splMax << "\n"
          << "140-peak: " << labels.peak << "\n"
          << "laeq: " << labels.laeq << "\n";
    c.out.flush();

    if (options->out) {
        const QString error =
            AvgFile::save(*options->out, run.document(options->job, options->name, options->id));
        if (!error.isEmpty()) {
            c.err << "dosemeter-cli: cannot write " << *options->out << ": " << error << "\n";
            exit = Exit::kFailed;
        } else {
            keepFile(c, *options->out, {});
        }
    }
    switch (end) {
    case End::Count:
        break;
    case End::LeftDba:
        c.err << "dosemeter-cli: the meter's display left dBA mode; the run ended\n";
        break;
    case End::Stopped:
        c.err << "dosemeter-cli: the run was stopped" << stop.signalSuffix() << "\n";
        break;
    case End::Silent:
        return silent(c);
    }
    return exit;
}

} // namespace cli
