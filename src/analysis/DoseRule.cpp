#include "analysis/DoseRule.h"

#include <cmath>

namespace DoseRule {

namespace {

constexpr double kEightHoursSeconds = 28800.0;

} // namespace

double weight(double levelDb, double criterionDb, int exchangeRateDb)
{
    return std::exp2((levelDb - criterionDb) / exchangeRateDb);
}

double percent(double weightedSeconds)
{
    const double dose = 100.0 * weightedSeconds / kEightHoursSeconds;
    return std::round(dose * 100.0) / 100.0;
}

} // namespace DoseRule
