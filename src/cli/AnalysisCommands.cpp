// dosemeter-cli commands on saved data files: the level histogram and the exposure
// statistics, counted as the histogram and statistics windows count them.

#include "cli/Cli.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/LevelHistogram.h"
#include "data/DatFile.h"

#include <QRegularExpression>
#include <QTextStream>

#include <optional>

namespace cli {

namespace {

int wrongArguments(QTextStream &err, const QString &problem)
{
    err << "dosemeter-cli: " << problem << "\n";
    return Exit::kUsage;
}

// Splits the arguments into the one file name and option/value pairs; false (with the
// message in `problem`) when they have another shape.
bool splitArguments(const QStringList &args, const QStringList &options, QString &path,
                    QHash<QString, QString> &values, QString &problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (options.contains(a)) {
            if (i + 1 >= args.size()) {
                problem = a + QStringLiteral(" needs a value");
                return false;
            }
            if (values.contains(a)) {
                problem = a + QStringLiteral(" is given twice");
                return false;
            }
            values.insert(a, args.at(++i));
        } else if (a.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("unknown option '%1'").arg(a);
            return false;
        } else if (path.isEmpty()) {
            path = a;
        } else {
            problem = QStringLiteral("only one file, please ('%1' is a second)").arg(a);
            return false;
        }
    }
    if (path.isEmpty()) {
        problem = QStringLiteral("no data file given");
        return false;
    }
    return true;
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
    const QString usage =
        QStringLiteral("histogram takes FILE.dat --resolution 0.1|1 [--records FIRST-LAST]");
    QString path;
    QHash<QString, QString> values;
    QString problem;
    if (!splitArguments(args, {QStringLiteral("--resolution"), QStringLiteral("--records")}, path,
                        values, problem))
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);

    const QString resolutionText = values.value(QStringLiteral("--resolution"));
    LevelHistogram::Resolution resolution;
    if (resolutionText == QLatin1String("0.1"))
        resolution = LevelHistogram::Resolution::TenthDb;
    else if (resolutionText == QLatin1String("1"))
        resolution = LevelHistogram::Resolution::WholeDb;
    else
        return wrongArguments(err, usage);

    std::optional<std::pair<int, int>> range;
    if (values.contains(QStringLiteral("--records"))) {
        static const QRegularExpression form(QStringLiteral("^(\\d{1,9})-(\\d{1,9})$"));
        const QRegularExpressionMatch m = form.match(values.value(QStringLiteral("--records")));
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
    const QString usage = QStringLiteral("stats takes FILE.dat [--criterion 80|84|85|90] "
                                         "[--exchange-rate 3|4|5|6] [--threshold DB]");
    const QString criterionOption = QStringLiteral("--criterion");
    const QString exchangeOption = QStringLiteral("--exchange-rate");
    const QString thresholdOption = QStringLiteral("--threshold");
    QString path;
    QHash<QString, QString> values;
    QString problem;
    if (!splitArguments(args, {criterionOption, exchangeOption, thresholdOption}, path, values,
                        problem))
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);

    // Any of the three asks for the dose; the others then take the meter's defaults.
    std::optional<ExposureStatistics::Settings> settings;
    if (!values.isEmpty()) {
        settings = ExposureStatistics::Settings();
        bool ok = true;
        if (values.contains(criterionOption)) {
            settings->criterionDb = values.value(criterionOption).toInt(&ok);
            if (!ok || !ExposureStatistics::isCriterion(settings->criterionDb))
                return wrongArguments(err, QStringLiteral("--criterion is 80, 84, 85 or 90"));
        }
        if (values.contains(exchangeOption)) {
            settings->exchangeRateDb = values.value(exchangeOption).toInt(&ok);
            if (!ok || !ExposureStatistics::isExchangeRate(settings->exchangeRateDb))
                return wrongArguments(err, QStringLiteral("--exchange-rate is 3, 4, 5 or 6"));
        }
        if (values.contains(thresholdOption)) {
            settings->thresholdDb = values.value(thresholdOption).toDouble(&ok);
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
