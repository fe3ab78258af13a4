#include "analysis/LevelHistogram.h"

#include "analysis/NumberText.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

std::span<const qint64> countsOf(const LevelCounts &counts, LevelHistogram::Resolution resolution)
{
    if (resolution == LevelHistogram::Resolution::TenthDb)
        return counts.TenthDbCounts;
    return counts.WholeDbCounts;
}

// Half a dB either side of the occupied levels, in 0.1 dB index units.
constexpr double kTenthDbMargin = 5.0;

} // namespace

const char *const LevelHistogram::kNoLevels =
    "There are no levels to count: the list holds no records, or only overloads and "
    "records without a level.";

LevelHistogram::Opening LevelHistogram::open(const RecordTable &table, Resolution resolution,
                                             HistogramState &state)
{
    const int records = table.recordCount();
    state.HistFirstRecord = 1;
    state.HistLastRecord = records;

    Opening opening;
    opening.counts.addRecords(table, kLevelColumn, 1, records);
    const std::span<const qint64> counts = countsOf(opening.counts, resolution);
    const int top = int(counts.size()) - 1;
    int low = 1;
    while (low < top && counts[low] == 0)
        ++low;
    int high = top - 1;
    while (high > 0 && counts[high] == 0)
        --high;
    if (low >= top || high <= 0) {
        opening.message = QString::fromLatin1(kNoLevels);
        return opening;
    }
    opening.lowIndex = low;
    opening.highIndex = high;
    opening.fields.minimum[1] = 1.0;
    opening.fields.maximum[1] = records;
    if (resolution == Resolution::TenthDb) {
        opening.fields.minimum[2] = low / 10.0;
        opening.fields.maximum[2] = high / 10.0;
        opening.xAxis = {low - kTenthDbMargin, high + kTenthDbMargin};
    } else {
        opening.fields.minimum[2] = low;
        opening.fields.maximum[2] = high + 1;
        opening.xAxis = {double(low), double(high + 1)};
    }
    return opening;
}

LevelHistogram::LimitChange LevelHistogram::changeLimits(const RecordTable *table,
                                                         const GraphRange &fields,
                                                         Resolution resolution,
                                                         HistogramState &state, LevelCounts &counts)
{
    LimitChange change;
    if (state.HistLoading) {
        change.outcome = LimitOutcome::Loading;
        return change;
    }
    if (!(fields.minimum[1] < fields.maximum[1]) || !(fields.minimum[2] < fields.maximum[2])) {
        change.outcome = LimitOutcome::NotBelow;
        return change;
    }
    if (table == nullptr) {
        change.outcome = LimitOutcome::NoRecords;
        return change;
    }
    const double first = std::round(fields.minimum[1]);
    const double last = std::round(fields.maximum[1]);
    if (first < 1.0 || last > table->recordCount() ||
        !recount(*table, int(first), int(last), state, counts)) {
        change.outcome = LimitOutcome::OutsideRecords;
        return change;
    }
    change.xAxis = limitXAxis(fields, resolution);
    change.outcome = LimitOutcome::Recounted;
    return change;
}

bool LevelHistogram::recount(const RecordTable &table, int first, int last, HistogramState &state,
                             LevelCounts &counts)
{
    // Checked before anything is cleared, so a range past the last record leaves the
    // counts and the graph as they were instead of half a recount.
    if (first < 1 || last > table.recordCount())
        return false;
    counts = LevelCounts();
    state.HistFirstRecord = first;
    state.HistLastRecord = last;
    counts.addRecords(table, kLevelColumn, first, last);
    return true;
}

AxisRange LevelHistogram::limitXAxis(const GraphRange &fields, Resolution resolution)
{
    if (resolution == Resolution::TenthDb)
        return {fields.minimum[2] * 10.0 - kTenthDbMargin,
                fields.maximum[2] * 10.0 + kTenthDbMargin};
    return {fields.minimum[2], fields.maximum[2]};
}

LevelHistogram::Points LevelHistogram::points(const LevelCounts &counts, Resolution resolution)
{
    const std::span<const qint64> bins = countsOf(counts, resolution);
    Points points;
    points.x.resize(qsizetype(bins.size()));
    points.y.resize(qsizetype(bins.size()));
    for (size_t i = 0; i < bins.size(); ++i) {
        points.x[qsizetype(i)] = double(i + 1);
        points.y[qsizetype(i)] = double(bins[i]);
    }
    return points;
}

AxisRange LevelHistogram::countAxis(const LevelCounts &counts, Resolution resolution,
                                    const AxisRange &xAxis)
{
    const std::span<const qint64> bins = countsOf(counts, resolution);
    qint64 highest = 0;
    for (size_t i = 0; i < bins.size(); ++i) {
        // The count of index i is drawn from X = i to X = i + 1.
        if (double(i + 1) > xAxis.min && double(i) < xAxis.max)
            highest = std::max(highest, bins[i]);
    }
    if (highest == 0)
        return {0.0, 1.0};
    return {0.0, double(highest) * 1.05};
}

int LevelHistogram::dbFieldDecimals(Resolution resolution)
{
    return resolution == Resolution::TenthDb ? 3 : 0;
}

QString LevelHistogram::dbFieldText(double value, Resolution resolution)
{
    return trimmedNumberText(value, dbFieldDecimals(resolution));
}

QString LevelHistogram::axisText(double value)
{
    return trimmedNumberText(value, 3);
}

QStringList LevelHistogram::binLines(const LevelCounts &counts, Resolution resolution)
{
    const std::span<const qint64> bins = countsOf(counts, resolution);
    QStringList lines;
    for (size_t i = 0; i < bins.size(); ++i) {
        if (bins[i] == 0)
            continue;
        const QString level =
            resolution == Resolution::TenthDb ? tenthsText(qint64(i)) : QString::number(i);
        lines << level + QLatin1Char('\t') + QString::number(bins[i]);
    }
    return lines;
}
