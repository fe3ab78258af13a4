#include "analysis/ExposureStatistics.h"

#include "analysis/NumberText.h"
#include "data/LevelCell.h"
#include "link/MeterState.h"
#include "link/Twa.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kDateColumn = 1;
constexpr int kTimeColumn = 2;
constexpr int kLevelColumn = 3;

constexpr qint64 kOverloadTenths = 1400;
constexpr qint64 kUnderRangeTenths = 679;
constexpr double kNoLevelFrom = 1000.0;
constexpr double kEightHoursSeconds = 28800.0;
constexpr qint64 kTenthsPerDay = 864000;

struct Level {
    double value;
    qint64 tenths;
};

std::optional<Level> recordLevel(QByteArrayView cell)
{
    if (LevelCell::isOverload(cell))
        return Level{140.0, kOverloadTenths};
    if (cell.indexOf('-') >= 0)
        return Level{67.9, kUnderRangeTenths};
    const LevelCell::Number n = LevelCell::leadingNumber(cell);
    // No '-' is left, so the number is not negative.
    if (!n.found || !(n.value < kNoLevelFrom))
        return std::nullopt;
    return Level{n.value, n.nearestTenths(false)};
}

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

// The median step between consecutive stamped records, in tenths of a second.
std::optional<qint64> medianStepTenths(const RecordTable &table)
{
    DateReader dates;
    std::vector<qint64> steps;
    steps.reserve(size_t(std::max(0, table.recordCount() - 1)));
    std::optional<qint64> previous;
    for (int r = 0; r < table.recordCount(); ++r) {
        std::optional<qint64> stamp;
        if (const auto day = dates.day(table.cellBytes(r, kDateColumn))) {
            if (const auto time = timeOfDay(table.cellBytes(r, kTimeColumn)))
                stamp = *day * kTenthsPerDay + *time;
        }
        if (stamp && previous)
            steps.push_back(*stamp - *previous);
        previous = stamp;
    }
    if (steps.empty())
        return std::nullopt;
    // The median of an even count is the mean of the two middle steps.
    const size_t upper = steps.size() / 2;
    std::nth_element(steps.begin(), steps.begin() + qsizetype(upper), steps.end());
    qint64 twice = 2 * steps[upper];
    if (steps.size() % 2 == 0)
        twice = steps[upper] + *std::max_element(steps.begin(), steps.begin() + qsizetype(upper));
    if (twice <= 0)
        return std::nullopt;
    return (twice + 1) / 2; // halves of a tenth round up
}

// f(level) for every level, worked out once per tenth of a dB: a day of records holds
// a few hundred distinct levels, and the power functions are most of the work.
template <typename F> class PerTenth {
public:
    explicit PerTenth(F f) : f_(f), values_(size_t(kNoLevelFrom * 10.0), std::nan("")) {}
    double operator()(const Level &level)
    {
        // Only a level that is exactly its tenths (no further decimals) shares the value.
        if (double(level.tenths) / 10.0 != level.value || level.tenths < 0 ||
            size_t(level.tenths) >= values_.size())
            return f_(level.value);
        double &value = values_[size_t(level.tenths)];
        if (std::isnan(value))
            value = f_(level.value);
        return value;
    }

private:
    F f_;
    std::vector<double> values_;
};

QString durationText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

const char *const ExposureStatistics::kNoLevels =
    "There are no levels to count: no record of the list holds a level.";

ExposureStatistics::Settings ExposureStatistics::Settings::fromMeter(const MeterState &meter)
{
    Settings settings;
    if (isCriterion(meter.status.CriterionLevel))
        settings.criterionDb = meter.status.CriterionLevel;
    if (isExchangeRate(meter.status.ExchangeRate))
        settings.exchangeRateDb = meter.status.ExchangeRate;
    if (meter.ThresholdLevel >= 0)
        settings.thresholdDb = meter.ThresholdLevel;
    return settings;
}

QStringList ExposureStatistics::Settings::lines() const
{
    return {QStringLiteral("criterion: ") + QString::number(criterionDb),
            QStringLiteral("exchange-rate: ") + QString::number(exchangeRateDb),
            QStringLiteral("threshold: ") + trimmedNumberText(thresholdDb, 1)};
}

bool ExposureStatistics::isCriterion(int db)
{
    return db == 80 || db == 84 || db == 85 || db == 90;
}

bool ExposureStatistics::isExchangeRate(int db)
{
    return db >= 3 && db <= 6;
}

ExposureStatistics ExposureStatistics::compute(const RecordTable &table,
                                               const std::optional<Settings> &settings)
{
    ExposureStatistics s;
    std::vector<Level> levels;
    levels.reserve(size_t(table.recordCount()));
    for (int r = 0; r < table.recordCount(); ++r) {
        if (const auto level = recordLevel(table.cellBytes(r, kLevelColumn)))
            levels.push_back(*level);
        else
            ++s.skipped;
    }
    s.records = int(levels.size());
    if (levels.empty()) {
        s.message = QString::fromLatin1(kNoLevels);
        return s;
    }

    const qint64 n = qint64(levels.size());
    qint64 tenthsSum = 0;
    double energySum = 0.0;
    PerTenth energy([](double value) { return std::pow(10.0, value / 10.0); });
    for (const Level &level : levels) {
        tenthsSum += level.tenths;
        energySum += energy(level);
    }
    s.meanTenths = (2 * tenthsSum + n) / (2 * n); // levels are not negative
    s.laeqTenths = std::llround(100.0 * std::log10(energySum / double(n)));

    // Ln is the k-th highest level, k = ceil(n · N / 100): in ascending order index N - k.
    const auto byValue = [](const Level &a, const Level &b) { return a.value < b.value; };
    const auto exceeded = [&](int percent) {
        const qint64 k = std::max<qint64>(1, (percent * n + 99) / 100);
        const auto nth = levels.begin() + (n - k);
        std::nth_element(levels.begin(), nth, levels.end(), byValue);
        return nth->tenths;
    };
    s.l10Tenths = exceeded(10);
    s.l50Tenths = exceeded(50);
    s.l90Tenths = exceeded(90);
    const auto [lowest, highest] = std::minmax_element(levels.begin(), levels.end(), byValue);
    s.minTenths = lowest->tenths;
    s.maxTenths = highest->tenths;

    if (!settings)
        return s;
    s.withDose = true;
    s.periodTenths = medianStepTenths(table);
    if (!s.periodTenths)
        return s;
    s.durationSeconds = (n * *s.periodTenths + 5) / 10;
    // Each record stands for one period; at the criterion level 8 hours make 100 %, and
    // every exchange rate above it halves the time allowed.
    double allowanceSum = 0.0;
    PerTenth allowance([&settings](double value) {
        return std::exp2((value - settings->criterionDb) / settings->exchangeRateDb);
    });
    for (const Level &level : levels) {
        if (level.value >= settings->thresholdDb)
            allowanceSum += allowance(level);
    }
    const double periodSeconds = double(*s.periodTenths) / 10.0;
    const double dose = 100.0 * periodSeconds * allowanceSum / kEightHoursSeconds;
    s.dosePercent = std::round(dose * 100.0) / 100.0;
    if (const std::optional<int> twa =
            Twa::tenthsDb(*s.dosePercent, settings->criterionDb, settings->exchangeRateDb))
        s.twaTenths = *twa;
    return s;
}

QStringList ExposureStatistics::lines() const
{
    QStringList lines{
        QStringLiteral("records: ") + QString::number(records),
        QStringLiteral("skipped: ") + QString::number(skipped),
    };
    if (!ok())
        return lines;
    lines << QStringLiteral("min: ") + tenthsText(minTenths)
          << QStringLiteral("max: ") + tenthsText(maxTenths)
          << QStringLiteral("mean: ") + tenthsText(meanTenths)
          << QStringLiteral("laeq: ") + tenthsText(laeqTenths)
          << QStringLiteral("l10: ") + tenthsText(l10Tenths)
          << QStringLiteral("l50: ") + tenthsText(l50Tenths)
          << QStringLiteral("l90: ") + tenthsText(l90Tenths);
    if (!withDose)
        return lines;
    lines << QStringLiteral("period: ") + (periodTenths ? tenthsText(*periodTenths) : QString())
          << QStringLiteral("duration: ") +
                 (durationSeconds ? durationText(*durationSeconds) : QString())
          << QStringLiteral("dose: ") +
                 (dosePercent ? QString::number(*dosePercent, 'f', 2) : QString())
          << QStringLiteral("twa: ") + (twaTenths ? tenthsText(*twaTenths) : QString());
    return lines;
}

QString ExposureStatistics::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}
