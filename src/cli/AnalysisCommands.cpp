// dosemeter-cli commands on saved data files: the level histogram and the exposure
// statistics, counted as the histogram and statistics windows count them.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/LevelHistogram.h"
#include "data/DatFile.h"

#include <QRegularExpression>
#include <QTextStream>

#include <optional>

namespace cli {

namespace {

// The arguments of `grammar`, with the one file there; the problem (said with the usage)
// otherwise.
Result<Arguments> fileArguments(const Grammar &grammar, const QStringList &args)
{
    Result<Arguments> parsed = parseArguments(grammar, args);
    if (parsed && parsed->operands().isEmpty())
        return Error(ErrorKind::Usage, QStringLiteral("no data file given; ") + grammar.usage);
    return parsed;
}

} // namespace

namespace {

// A file read only in part gives no figures: counts of part of a recording would pass for
// the whole. An incomplete last record is left out, and said so; so are, where
// `sayUnreadable`, records whose level the meter cannot have shown, which the exposure
// figures skip (the histogram counts what its bins can hold, as its window does).
std::optional<DatFile::Content> readContent(QTextStream &err, const QString &path,
                                            bool sayUnreadable)
{
    DatFile::Content content = DatFile::read(path);
    if (!content.ok()) {
        err << "dosemeter-cli: " << content.error << "\n";
        return std::nullopt;
    }
    if (content.incomplete)
        err << "dosemeter-cli: " << path << ": "
            << DatFile::incompleteText(content.table.recordCount(), QStringLiteral("counted"))
            << "\n";
    if (sayUnreadable && content.unreadableLevels > 0)
        err << "dosemeter-cli: " << path << ": " << DatFile::unreadableText(content) << "\n";
    return content;
}

} // namespace

std::optional<DatFile::Content> readDataFile(QTextStream &err, const QString &path)
{
    return readContent(err, path, true);
}

std::optional<RecordTable> readRecords(QTextStream &err, const QString &path)
{
    std::optional<DatFile::Content> content = readDataFile(err, path);
    if (!content)
        return std::nullopt;
    return std::move(content->table);
}

int histogram(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("histogram"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = fileArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    const QString path = parsed->operands().first();

    const QString resolutionText = parsed->value("--resolution");
    LevelHistogram::Resolution resolution;
    if (resolutionText == QLatin1String("0.1"))
        resolution = LevelHistogram::Resolution::TenthDb;
    else if (resolutionText == QLatin1String("1"))
        resolution = LevelHistogram::Resolution::WholeDb;
    else
        return wrongArguments(err, usage);

    std::optional<std::pair<int, int>> range;
    if (parsed->has("--records")) {
        static const QRegularExpression form(QStringLiteral("^(\\d{1,9})-(\\d{1,9})$"));
        const QRegularExpressionMatch m = form.match(parsed->value("--records"));
        if (!m.hasMatch())
            return wrongArguments(err, QStringLiteral("--records takes FIRST-LAST, two record "
                                                      "numbers such as 10-20"));
        range = std::make_pair(m.captured(1).toInt(), m.captured(2).toInt());
        if (range->first >= range->second)
            return wrongArguments(err, QStringLiteral("--records needs FIRST below LAST"));
    }

    std::optional<DatFile::Content> content = readContent(err, path, false);
    if (!content)
        return Exit::kFailed;
    const std::optional<RecordTable> table = std::move(content->table);

    HistogramState state;
    const LevelHistogram::Opening opening = LevelHistogram::open(*table, resolution, state);
    if (!opening.ok()) {
        err << "dosemeter-cli: " << opening.message << "\n";
        return Exit::kNoAnswer;
    }
    LevelCounts counts = opening.counts;
    AxisRange xAxis = opening.xAxis;
    if (range) {
        // The window ignores a new record range while its dB fields are equal (every level
        // in one 0.1 dB bin); the command was asked for the range and counts it.
        if (!LevelHistogram::recount(*table, range->first, range->second, state, counts)) {
            const QString where =
                range->first < 1
                    ? QStringLiteral("records are numbered from 1")
                    : QStringLiteral("the file has %1 records").arg(table->recordCount());
            return wrongArguments(err, QStringLiteral("--records %1-%2 is outside the file: %3")
                                           .arg(range->first)
                                           .arg(range->second)
                                           .arg(where));
        }
        xAxis = LevelHistogram::limitXAxis(opening.fields, resolution);
    }

    out << "low: " << LevelHistogram::dbFieldText(opening.fields.minimum[2], resolution) << "\n"
        << "high: " << LevelHistogram::dbFieldText(opening.fields.maximum[2], resolution) << "\n"
        << "x-axis: " << LevelHistogram::axisText(xAxis.min) << " "
        << LevelHistogram::axisText(xAxis.max) << "\n";
    for (const QString &line : LevelHistogram::binLines(counts, resolution))
        out << line << "\n";
    return Exit::kOk;
}

int stats(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Result<Arguments> parsed = fileArguments(grammarOf(QStringLiteral("stats")), args);
    if (!parsed)
        return failed(err, parsed.error());
    const QString path = parsed->operands().first();

    // Any of the three asks for the dose; the others then take the meter's defaults.
    std::optional<ExposureStatistics::Settings> settings;
    if (!parsed->given().isEmpty()) {
        settings = ExposureStatistics::Settings();
        bool ok = true;
        if (parsed->has("--criterion")) {
            settings->criterionDb = parsed->value("--criterion").toInt(&ok);
            if (!ok || !ExposureStatistics::isCriterion(settings->criterionDb))
                return wrongArguments(err, QStringLiteral("--criterion is 80, 84, 85 or 90"));
        }
        if (parsed->has("--exchange-rate")) {
            settings->exchangeRateDb = parsed->value("--exchange-rate").toInt(&ok);
            if (!ok || !ExposureStatistics::isExchangeRate(settings->exchangeRateDb))
                return wrongArguments(err, QStringLiteral("--exchange-rate is 3, 4, 5 or 6"));
        }
        if (parsed->has("--threshold")) {
            settings->thresholdDb = parsed->value("--threshold").toDouble(&ok);
            if (!ok || !(settings->thresholdDb >= 0.0 && settings->thresholdDb <= 140.0))
                return wrongArguments(
                    err, QStringLiteral("--threshold is a level in dB between 0 and 140"));
        }
    }

    const std::optional<RecordTable> table = readRecords(err, path);
    if (!table)
        return Exit::kFailed;
    const ExposureStatistics statistics = ExposureStatistics::compute(*table, settings);
    if (!statistics.ok()) {
        err << "dosemeter-cli: " << statistics.message << "\n";
        return Exit::kNoAnswer;
    }
    // Blank dose figures would pass for a file without dose; the assessment refuses such a
    // file too.
    if (statistics.withDose && !statistics.periodTenths) {
        err << "dosemeter-cli: " << path
            << ": its time stamps give no period (fewer than two can be read), so its records "
               "have no duration and give no dose\n";
        return Exit::kNoAnswer;
    }
    out << statistics.text();
    return Exit::kOk;
}

} // namespace cli
