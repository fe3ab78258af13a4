// dosemeter-cli record: the main window's recording of the live level, without a window.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "cli/LivePoll.h"
#include "cli/OutputFiles.h"
#include "cli/StopSignals.h"
#include "data/FileState.h"
#include "data/RecordingFile.h"
#include "link/Clock.h"
#include "link/Decoders.h"
#include "link/Meter.h"
#include "main/Sampler.h"

#include <QTextStream>

#include <cmath>
#include <optional>

namespace cli {

namespace {

struct Options {
    std::optional<QString> out;
    bool overwrite = false;
    double periodSeconds = Sampler::kDefaultTicks / 10.0;
    int count = 0;            // 0: no limit
    qint64 durationTicks = 0; // 0: no limit; in ticks of the sampler
};

// The options, or why they are wrong; `c.err` only hears of a period brought into range.
Result<Options> parseOptions(Context &c, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("record"));
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed) {
        return parsed.error();
    }
    Options options;
    options.overwrite = parsed->has("--overwrite");
    options.out = parsed->optional("--out");
    const std::optional<QString> period = parsed->optional("--period");
    const std::optional<QString> count = parsed->optional("--count");
    const std::optional<QString> duration = parsed->optional("--duration");
    if (!options.out) {
        return usageError(grammar.usage);
    }
    if (count && duration) {
        return usageError(QStringLiteral("give --count or --duration, not both"));
    }
    if (period) {
        // As the sample-period dialog takes it: out-of-range and unreadable values are
        // brought into 0.2 .. 60 s.
        const std::optional<double> seconds = Sampler::periodFromAnswer(*period);
        if (!seconds) {
            return usageError(QStringLiteral("--period needs a number of seconds"));
        }
        if (leadingNumber(*period) != *seconds)
            c.err << "dosemeter-cli: a period of '" << *period << "' s is not between 0.2 and "
                  << "60 s; recording every " << *seconds << " s\n";
        options.periodSeconds = *seconds;
    }
    if (count) {
        qint64 n = 0;
        if (!parseInteger(*count, n) || n < 1 || n > Sampler::kMaxRecords) {
            return usageError(QStringLiteral("--count needs a whole number of records, "
                                             "1 to %1")
                                  .arg(Sampler::kMaxRecords));
        }
        options.count = int(n);
    }
    if (duration) {
        bool ok = false;
        const double seconds = duration->toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 1e7) {
            return usageError(QStringLiteral("--duration needs a positive number of "
                                             "seconds"));
        }
        options.durationTicks =
            std::max<qint64>(1, std::llround(seconds * 1000.0 / Sampler::kTimerMilliseconds));
    }
    // Before anything is sent to the meter: the file must be writable, and new unless
    // --overwrite says otherwise.
    if (const Result<void> checked = checkNewFile(*options.out, options.overwrite); !checked)
        return checked.error();
    return options;
}

} // namespace

int record(Context &c, const QStringList &args)
{
    const Result<Options> options = parseOptions(c, args);
    if (!options)
        return failed(c.err, options.error());
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    const QString &path = *options->out;

    StopSignals stop;
    // A signal also ends any wait on the meter at once.
    QObject::connect(&stop, &StopSignals::stopRequested, &c.meter, &Meter::abort);
    LivePoll live(c, stop);
    if (const std::optional<int> exit = live.beginOrExit(
            QStringLiteral("stopped before the recording started; no file was written"),
            QStringLiteral("; no file was written")))
        return *exit;

    FileState files;
    Sampler sampler(files, c.meter.clock());
    sampler.setPeriod(options->periodSeconds);
    sampler.chooseFile(path);
    if (const QString error = sampler.startRecording(); !error.isEmpty()) {
        c.err << "dosemeter-cli: cannot write " << path << ": " << error << "\n";
        return Exit::kFailed;
    }

    Sampler::Tick ended;
    int records = 0;
    qint64 ticks = 0;
    const auto tick = [&] {
        if (options->durationTicks > 0 && ticks >= options->durationTicks)
            return false;
        ++ticks;
        const Sampler::Tick t = sampler.tick(live.valueText(), live.display().DbaMode,
                                             live.frameAge() <= Sampler::kStaleSeconds, false);
        if (t.recordNumber > 0) {
            records = t.recordNumber;
            if (c.progressToTerminal)
                c.err << "\rrecords: " << records << Qt::flush;
        }
        if (t.recordingEnded != Sampler::End::None) {
            ended = t;
            records = t.recordsInFile;
            return false;
        }
        return !(options->count > 0 && records >= options->count);
    };
    // The first sample at once, then every period.
    LivePoll::Outcome outcome = LivePoll::Outcome::Done;
    if (tick())
        outcome = live.run(Sampler::kTimerMilliseconds / 1000.0, tick);
    if (sampler.recording())
        sampler.stopRecording();
    // Whatever ended it, the records in the file are whole and worth keeping.
    if (records > 0)
        keepFile(c, *options->out, {});

    if (c.progressToTerminal)
        c.err << "\r";
    c.out << "records: " << records << "\n";
    c.out.flush();
    switch (ended.recordingEnded) {
    case Sampler::End::LeftDba:
        c.err << "dosemeter-cli: the meter's display left dBA mode; the recording ended\n";
        break;
    case Sampler::End::RecordLimit:
        c.err << "dosemeter-cli: " << Sampler::kMaxRecords
              << " records, the most one recording holds; the recording ended\n";
        break;
    case Sampler::End::WriteFailed:
        c.err << "dosemeter-cli: cannot write " << path << ": " << ended.error
              << "; the recording ended after " << records << " records\n";
        return Exit::kFailed;
    case Sampler::End::None:
    case Sampler::End::ByUser:
        break;
    }
    switch (outcome) {
    case LivePoll::Outcome::Stopped:
        c.err << "dosemeter-cli: the recording was stopped" << stop.signalSuffix() << "\n";
        break;
    case LivePoll::Outcome::Silent:
        c.err << "dosemeter-cli: the meter does not answer (no reply within " << c.timeoutSeconds
              << " s); the recording ended\n";
        return Exit::kNoAnswer;
    case LivePoll::Outcome::Done:
    case LivePoll::Outcome::NotDba:
        break;
    }
    return Exit::kOk;
}

} // namespace cli
