#include "analysis/ExposureStatistics.h"

#include "analysis/DoseRule.h"
#include "analysis/NumberText.h"
#include "analysis/RecordLevels.h"
#include "link/Decibels.h"
#include "link/MeterState.h"
#include "link/Twa.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Level = RecordLevels::Level;

// f(level) for every level, worked out once per tenth of a dB: the power functions are
// most of the work.
template <typename F> class PerTenth {
public:
    explicit PerTenth(F f) : f_(f), values_(size_t(RecordLevels::kTenthsCount), std::nan("")) {}
    double operator()(const Level &level)
    {
        // Only a level that is exactly its tenths (no further decimals) shares the value.
        const std::optional<int> tenths = RecordLevels::exactTenths(level);
        if (!tenths)
            return f_(level.value);
        double &value = values_[size_t(*tenths)];
        if (std::isnan(value))
            value = f_(level.value);
        return value;
    }

private:
    F f_;
    std::vector<double> values_;
};

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
    std::vector<int> recordOfLevel; // until the levels are ranked
    levels.reserve(size_t(table.recordCount()));
    recordOfLevel.reserve(size_t(table.recordCount()));
    for (int r = 0; r < table.recordCount(); ++r) {
        if (const auto level =
                RecordLevels::recordLevel(table.cellBytes(r, RecordLevels::kLevelColumn))) {
            levels.push_back(*level);
            recordOfLevel.push_back(r);
        } else {
            ++s.skipped;
        }
    }
    s.records = int(levels.size());
    if (levels.empty()) {
        s.message = QString::fromLatin1(kNoLevels);
        return s;
    }

    const qint64 n = qint64(levels.size());
    qint64 tenthsSum = 0;
    double energySum = 0.0;
    PerTenth energy([](double value) { return Decibels::energy(value); });
    for (const Level &level : levels) {
        tenthsSum += level.tenths;
        energySum += energy(level);
    }
    s.meanTenths = (2 * tenthsSum + n) / (2 * n); // levels are not negative
    s.laeqTenths = std::llround(10.0 * Decibels::level(energySum / double(n)));
    if (settings)
        addDose(s, table, levels, recordOfLevel, *settings);

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
    return s;
}

void ExposureStatistics::addDose(ExposureStatistics &s, const RecordTable &table,
                                 const std::vector<Level> &levels,
                                 const std::vector<int> &recordOfLevel, const Settings &settings)
{
    s.withDose = true;
    s.periodTenths = RecordLevels::medianStepTenths(table);
    const std::optional<std::vector<qint64>> durations = RecordLevels::recordDurationsTenths(table);
    if (!s.periodTenths || !durations)
        return;
    // Each record stands for its own time (RecordLevels::recordDurationsTenths). The
    // allowances are summed per duration and each sum weighed once, so a list of one
    // period sums exactly as a single sum times that period.
    struct ByDuration {
        qint64 tenths;
        double allowanceSum = 0.0;
    };
    std::vector<ByDuration> sums;
    qint64 durationTenths = 0;
    PerTenth allowance([&settings](double value) {
        return DoseRule::weight(value, settings.criterionDb, settings.exchangeRateDb);
    });
    for (size_t i = 0; i < levels.size(); ++i) {
        const Level &level = levels[i];
        const qint64 tenths = (*durations)[size_t(recordOfLevel[i])];
        durationTenths += tenths;
        if (level.value < settings.thresholdDb)
            continue;
        auto sum = std::find_if(sums.begin(), sums.end(),
                                [tenths](const ByDuration &d) { return d.tenths == tenths; });
        if (sum == sums.end())
            sum = sums.insert(sums.end(), ByDuration{tenths});
        sum->allowanceSum += allowance(level);
    }
    s.durationSeconds = (durationTenths + 5) / 10;
    double weightedSeconds = 0.0;
    for (const ByDuration &sum : sums)
        weightedSeconds += double(sum.tenths) / 10.0 * sum.allowanceSum;
    s.dosePercent = DoseRule::percent(weightedSeconds);
    if (const std::optional<int> twa =
            Twa::tenthsDb(*s.dosePercent, settings.criterionDb, settings.exchangeRateDb))
        s.twaTenths = *twa;
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
                 (durationSeconds ? clockText(*durationSeconds) : QString())
          << QStringLiteral("dose: ") +
                 (dosePercent ? QString::number(*dosePercent, 'f', 2) : QString())
          << QStringLiteral("twa: ") + (twaTenths ? tenthsText(*twaTenths) : QString());
    return lines;
}

QString ExposureStatistics::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}
