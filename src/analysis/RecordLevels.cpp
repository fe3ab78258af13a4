#include "analysis/RecordLevels.h"

#include "data/LevelCell.h"

#include <QDate>

#include <algorithm>
#include <vector>

namespace RecordLevels {

namespace {

constexpr int kDateColumn = 1;
constexpr int kTimeColumn = 2;

constexpr qint64 kOverloadTenths = 1400;
constexpr qint64 kUnderRangeTenths = 679;
constexpr qint64 kTenthsPerDay = 864000;

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// Reads up to `count` whole numbers separated by `separator` from the front of `text`;
// returns the position after the last one, or -1 when the text has another shape.
qsizetype readFields(QByteArrayView text, char separator, int count, int *fields)
{
    qsizetype i = 0;
    for (int f = 0; f < count; ++f) {
        if (f > 0) {
            if (i >= text.size() || text[i] != separator)
                return -1;
            ++i;
        }
        const qsizetype start = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 4)
            value = value * 10 + (text[i++] - '0');
        if (i == start)
            return -1;
        fields[f] = value;
    }
    return i;
}

// Days since the start of the Julian calendar of a "yyyy/mm/dd" text; the last date
// read is remembered, as a recording's dates seldom change.
class DateReader {
public:
    std::optional<qint64> day(QByteArrayView text)
    {
        text = trimmed(text);
        if (lastValid_ && text == QByteArrayView(lastText_))
            return lastDay_;
        int ymd[3];
        if (readFields(text, '/', 3, ymd) != text.size())
            return std::nullopt;
        const QDate date(ymd[0], ymd[1], ymd[2]);
        if (!date.isValid())
            return std::nullopt;
        lastText_ = text.toByteArray();
        lastDay_ = date.toJulianDay();
        lastValid_ = true;
        return lastDay_;
    }

private:
    QByteArray lastText_;
    qint64 lastDay_ = 0;
    bool lastValid_ = false;
};

// Tenths of a second since midnight of a "hh:mm:ss" or "hh:mm:ss.t" text.
std::optional<qint64> timeOfDay(QByteArrayView text)
{
    text = trimmed(text);
    int hms[3];
    const qsizetype end = readFields(text, ':', 3, hms);
    if (end < 0 || hms[0] > 23 || hms[1] > 59 || hms[2] > 59)
        return std::nullopt;
    int tenths = 0;
    if (end < text.size()) {
        if (text[end] != '.')
            return std::nullopt;
        for (qsizetype i = end + 1; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
        }
        if (end + 1 < text.size())
            tenths = text[end + 1] - '0'; // the recording writes one digit
    }
    return (qint64(hms[0]) * 3600 + hms[1] * 60 + hms[2]) * 10 + tenths;
}

} // namespace

namespace {

// The median of the steps between consecutive readable stamps; the median of an even
// count is the mean of the two middle steps, halves of a tenth rounded up. Nothing when
// there is no step or the median is not positive.
std::optional<qint64> medianStep(const std::vector<qint64> &stamps)
{
    std::vector<qint64> steps;
    steps.reserve(stamps.empty() ? 0 : stamps.size() - 1);
    for (size_t r = 1; r < stamps.size(); ++r) {
        if (stamps[r] != kNoStamp && stamps[r - 1] != kNoStamp)
            steps.push_back(stamps[r] - stamps[r - 1]);
    }
    if (steps.empty())
        return std::nullopt;
    const size_t upper = steps.size() / 2;
    std::nth_element(steps.begin(), steps.begin() + qsizetype(upper), steps.end());
    qint64 twice = 2 * steps[upper];
    if (steps.size() % 2 == 0)
        twice = steps[upper] + *std::max_element(steps.begin(), steps.begin() + qsizetype(upper));
    if (twice <= 0)
        return std::nullopt;
    return (twice + 1) / 2; // halves of a tenth round up
}

} // namespace

std::optional<Level> recordLevel(QByteArrayView cell)
{
    if (LevelCell::isOverload(cell))
        return Level{140.0, kOverloadTenths, Reading::Overload};
    if (cell.indexOf('-') >= 0)
        return Level{67.9, kUnderRangeTenths, Reading::UnderRange};
    if (LevelCell::isUnreadableLevel(cell))
        return std::nullopt;
    const LevelCell::Number n = LevelCell::leadingNumber(cell);
    // No '-' is left, so the number is not negative.
    if (!n.found || !(n.value < kNoLevelFrom))
        return std::nullopt;
    return Level{n.value, n.nearestTenths(false)};
}

std::vector<qint64> stampsTenths(const RecordTable &table)
{
    DateReader dates;
    std::vector<qint64> stamps(size_t(table.recordCount()), kNoStamp);
    for (int r = 0; r < table.recordCount(); ++r) {
        if (const auto day = dates.day(table.cellBytes(r, kDateColumn))) {
            if (const auto time = timeOfDay(table.cellBytes(r, kTimeColumn)))
                stamps[size_t(r)] = *day * kTenthsPerDay + *time;
        }
    }
    return stamps;
}

std::optional<qint64> medianStepTenths(const RecordTable &table)
{
    return medianStep(stampsTenths(table));
}

std::optional<std::vector<qint64>> recordDurationsTenths(const RecordTable &table)
{
    return recordDurationsTenths(stampsTenths(table));
}

std::optional<std::vector<qint64>> recordDurationsTenths(const std::vector<qint64> &stamps)
{
    const std::optional<qint64> median = medianStep(stamps);
    if (!median)
        return std::nullopt;
    const size_t count = stamps.size();
    // steps[r]: from record r to record r + 1; kNoStamp where it cannot be worked out.
    std::vector<qint64> steps(count > 0 ? count - 1 : 0, kNoStamp);
    for (size_t r = 0; r + 1 < count; ++r) {
        if (stamps[r] != kNoStamp && stamps[r + 1] != kNoStamp && stamps[r + 1] > stamps[r])
            steps[r] = stamps[r + 1] - stamps[r];
    }
    std::vector<qint64> durations(count, *median);
    for (size_t r = 0; r < steps.size(); ++r) {
        const qint64 step = steps[r];
        if (step == kNoStamp)
            continue;
        const qint64 before = r > 0 ? steps[r - 1] : kNoStamp;
        const qint64 after = r + 1 < steps.size() ? steps[r + 1] : kNoStamp;
        const auto longer = [step](qint64 other) {
            return other == kNoStamp || step > kPauseFactor * other;
        };
        const bool pause =
            (before != kNoStamp || after != kNoStamp) && longer(before) && longer(after);
        durations[r] = !pause ? step : before != kNoStamp ? durations[r - 1] : after;
    }
    if (count >= 2)
        durations.back() = durations[count - 2];
    return durations;
}

} // namespace RecordLevels
