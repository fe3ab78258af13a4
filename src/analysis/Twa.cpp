#include "analysis/Twa.h"

#include <cmath>

double twaFactor(int exchangeRateDb)
{
    switch (exchangeRateDb) {
    case 3:
        return 10.0;
    case 4:
        return 13.29;
    case 5:
        return 16.61;
    case 6:
        return 20.0;
    default:
        return 0.0;
    }
}

std::optional<qint64> twaTenths(double dosePercent, int criterionDb, int exchangeRateDb)
{
    const double q = twaFactor(exchangeRateDb);
    const bool criterionKnown =
        criterionDb == 80 || criterionDb == 84 || criterionDb == 85 || criterionDb == 90;
    if (!(dosePercent > 0.0) || !std::isfinite(dosePercent) || q == 0.0 || !criterionKnown)
        return std::nullopt;
    return std::llround(10.0 * (criterionDb + q * std::log10(dosePercent / 100.0)));
}
