// dosemeter-cli commands on the logger: download, erase, ID code and interval, and the
// conversion of data files.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"
#include "cli/OutputFiles.h"
#include "link/Messages.h"

#include "data/DatFile.h"
#include "data/LoggerDownload.h"
#include "data/LoggerResults.h"
#include "data/LoggerRun.h"
#include "data/LoggerSettings.h"
#include "link/Meter.h"
#include "main/Poller.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <optional>

namespace cli {

namespace {

int silent(Context &c)
{
    c.err << "dosemeter-cli: the meter does not answer";
    if (!c.meter.errorString().isEmpty())
        c.err << " (" << c.meter.errorString() << ")";
    c.err << "\n";
    return Exit::kNoAnswer;
}

// The keypad lock as the meter's display shows it; nullopt when no frame comes before
// the command's time-out.
std::optional<bool> keysLocked(Context &c)
{
    Poller poller(c.meter);
    while (!c.meter.aborted()) {
        const Poller::Result result = poller.tick();
        if (result.outcome == Poller::Outcome::Decoded)
            return c.meter.state().display.KeysLocked;
        if (result.outcome == Poller::Outcome::Stopped)
            break;
    }
    return std::nullopt;
}

// The refusal of the logger window when the meter's keys are locked; kOk when not.
int refuseWhenLocked(Context &c)
{
    const std::optional<bool> locked = keysLocked(c);
    if (!locked)
        return silent(c);
    if (*locked) {
        c.err << Messages::kKeyLocked << "\n";
        return Exit::kUsage;
    }
    return Exit::kOk;
}

// A CSV cell, appended: quoted when it holds a comma, a quote or a line end. Bytes of
// Latin-1, as the table holds them, not a QString a cell: a day's recording is 345,600
// cells.
void appendCsvCell(QByteArray &out, QByteArrayView latin1)
{
    const bool quoted = std::any_of(latin1.begin(), latin1.end(), [](char c) {
        return c == ',' || c == '"' || c == '\n' || c == '\r';
    });
    if (!quoted) {
        out.append(latin1);
        return;
    }
    out += '"';
    for (const char c : latin1) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

int download(Context &c, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("download"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(c.err, parsed.error());
    const std::optional<QString> dir = parsed->optional("--out");
    const bool verify = parsed->has("--verify");
    const bool overwrite = parsed->has("--overwrite");
    qint64 retries = 1;
    // Each one given is checked, as it was typed.
    for (const QString &value : parsed->values("--retries")) {
        if (!parseInteger(value, retries) || retries < 0 || retries > 100)
            return wrongArguments(c.err, usage);
    }
    if (!dir)
        return wrongArguments(c.err, usage);
    if (const int exit = checkDownloadFolder(c.err, *dir, overwrite); exit != Exit::kOk)
        return exit;
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    if (!QDir().mkpath(*dir)) {
        c.err << "dosemeter-cli: cannot create the folder " << *dir << "\n";
        return Exit::kUsage;
    }

    LoggerResults results;
    LoggerDownload::Result result;
    for (qint64 attempt = 0;; ++attempt) {
        LoggerDownload logger(c.meter, results);
        logger.verify = verify;
        logger.stallSeconds = c.timeoutSeconds;
        int shown = -1;
        if (c.progressToTerminal) {
            logger.streamProgress = [&c, &shown](double percent) {
                if (int(percent) == shown)
                    return;
                shown = int(percent);
                c.err << "\rdownloading the logger memory: " << shown << "%";
                c.err.flush();
            };
        }
        result = logger.run();
        if (c.progressToTerminal) {
            c.err << "\n";
            c.err.flush();
        }
        // Only a download the line damaged may come whole another time; a silent meter
        // or a damaged memory would only double the wait.
        if (result.outcome != LoggerDownload::Outcome::LineDamaged || attempt >= retries)
            break;
        c.err << "dosemeter-cli: " << result.message << " Trying again.\n";
    }
    switch (result.outcome) {
    case LoggerDownload::Outcome::Done:
        break;
    case LoggerDownload::Outcome::Cancelled:
    case LoggerDownload::Outcome::NoAnswer:
        return silent(c);
    case LoggerDownload::Outcome::Busy: // cannot happen: nothing else runs here
    case LoggerDownload::Outcome::Stalled:
    case LoggerDownload::Outcome::LineDamaged:
    case LoggerDownload::Outcome::MemoryDamaged:
        c.err << "dosemeter-cli: " << result.message << "\n";
        return Exit::kNoAnswer;
    }

    // Every file is written before any figure is printed, so a failure prints none; and
    // the set files go in all together, so a failure leaves the folder as it was.
    QList<std::pair<QString, QByteArray>> files;
    QStringList lines;
    for (const LoggerRun::SetLine &set : result.sets) {
        // The file the logger window's Save writes for this set, with empty notes.
        const RecordTable records = LoggerRun::records(set.cells(), results.RunData[set.set]);
        files.append({QStringLiteral("set-%1.dat").arg(set.set), DatFile::gridBytes(records, {})});
        lines << QStringLiteral("set %1\t%2\t%3\t%4\t%5")
                     .arg(set.set)
                     .arg(set.date, set.time, set.interval)
                     .arg(set.wholeSamples());
    }
    // The earlier download's sets that this one does not replace would pass for its own.
    QStringList removed;
    if (const QString error = replaceSetFiles(*dir, files, removed); !error.isEmpty()) {
        c.err << "dosemeter-cli: " << error << "\n";
        return Exit::kFailed;
    }
    for (const auto &file : files) {
        MeasurementReader::Known known;
        known.kind = Measurement::Kind::Run;
        known.meter = result.idCodeText;
        keepFile(c, QDir(*dir).filePath(file.first), known);
    }
    if (!removed.isEmpty())
        c.err << "dosemeter-cli: removed " << removed.join(QStringLiteral(", "))
              << " of an earlier download\n";
    c.out << "id-code: " << result.idCodeText << "\n"
          << "interval: " << result.intervalText << "\n"
          << "memory: " << result.memoryText << "\n"
          << "remaining: " << result.remainingText << "\n";
    for (const QString &line : lines)
        c.out << line << "\n";
    return Exit::kOk;
}

int erase(Context &c, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("erase"));
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(c.err, parsed.error());
    if (!parsed->has("--yes"))
        return wrongArguments(c.err, grammar.usage);
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    if (const int refused = refuseWhenLocked(c); refused != Exit::kOk)
        return refused;
    LoggerResults results;
    LoggerSettings::erase(c.meter, results);
    if (c.meter.aborted())
        return silent(c);
    c.out << "erased\n";
    return Exit::kOk;
}

namespace {

// set-id and set-interval: the window's rules and messages, then the register writes;
// `done` hears the value written. kOk, or the exit status after saying why.
int setSetting(Context &c, const QStringList &args, const QString &usage,
               bool (*accepted)(const QString &), std::optional<int> (*parse)(const QString &),
               const QString &invalid, bool (*write)(Meter &, LoggerResults &, int),
               const std::function<void(int)> &done)
{
    if (args.size() != 1)
        return wrongArguments(c.err, usage);
    const QString text = args.at(0);
    const std::optional<int> value = accepted(text) && !text.isEmpty() ? parse(text) : std::nullopt;
    if (!value) {
        c.err << invalid << "\n";
        return Exit::kUsage;
    }
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;
    if (const int exit = refuseWhenLocked(c); exit != Exit::kOk)
        return exit;
    LoggerResults results;
    if (!write(c.meter, results, *value) || c.meter.aborted())
        return silent(c);
    done(*value);
    return Exit::kOk;
}

} // namespace

int setId(Context &c, const QStringList &args)
{
    return setSetting(c, args, QStringLiteral("set-id needs one ID code (0..65535)"),
                      &LoggerSettings::idCodeTextAccepted, &LoggerSettings::idCode,
                      LoggerSettings::kIdCodeInvalid, &LoggerSettings::writeIdCode,
                      [&c](int code) { c.out << "id-code: " << code << "\n"; });
}

int setInterval(Context &c, const QStringList &args)
{
    return setSetting(
        c, args, QStringLiteral("set-interval needs one interval in seconds (0.1..6553.5)"),
        &LoggerSettings::intervalTextAccepted, &LoggerSettings::intervalTenths,
        LoggerSettings::kIntervalInvalid, &LoggerSettings::writeInterval, [&c](int tenths) {
            c.out << "interval: " << LoggerRun::numberText(tenths / 10.0) << "\n";
        });
}

int convert(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("convert"));
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    if (parsed->operands().isEmpty() || !parsed->has("--csv"))
        return wrongArguments(err, grammar.usage);
    const QString path = parsed->operands().first();

    // Nothing is printed unless the whole file was read: a partial table on standard
    // output would pass for the file's content.
    const DatFile::Content content = DatFile::read(path);
    if (!content.ok()) {
        err << "dosemeter-cli: " << content.error << "\n";
        return Exit::kFailed;
    }
    // A heading alone is a table of no records; nothing at all is no table.
    if (content.empty) {
        err << "dosemeter-cli: " << DatFile::emptyText(QFileInfo(path).fileName()) << "\n";
        return Exit::kFailed;
    }
    if (content.incomplete)
        err << "dosemeter-cli: " << path << ": "
            << DatFile::incompleteText(content.table.recordCount(), QStringLiteral("converted"))
            << "\n";
    const RecordTable &table = content.table;
    const int columns = table.columnCount();
    QByteArray csv;
    const auto endLine = [&csv] {
        if (csv.endsWith(','))
            csv.back() = '\n'; // in place of the last cell's comma
        else
            csv += '\n';
    };
    for (const QString &heading : table.headings()) {
        appendCsvCell(csv, heading.toLatin1());
        csv += ',';
    }
    endLine();
    // Handed to the stream in blocks of some 64 KB. A failed write (a full disk) ends the
    // output; the caller says so and exits 1.
    constexpr qsizetype kBlockBytes = 64 * 1024;
    csv.reserve(kBlockBytes + 4096);
    for (int r = 0; r < table.recordCount() && out.status() == QTextStream::Ok; ++r) {
        for (int col = 0; col < columns; ++col) {
            appendCsvCell(csv, table.cellBytes(r, col));
            csv += ',';
        }
        endLine();
        if (csv.size() >= kBlockBytes) {
            out << QLatin1StringView(csv);
            csv.clear();
        }
    }
    if (out.status() == QTextStream::Ok)
        out << QLatin1StringView(csv);
    return Exit::kOk;
}

} // namespace cli
