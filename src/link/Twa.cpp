#include "link/Twa.h"

#include <cmath>

namespace Twa {

std::optional<double> exchangeFactor(int exchangeRateDb)
{
    // 10 / log10(2) would give 9.97, 13.29, 16.61, 19.93: the meter's figures are the
    // rounded ones, with 10 and 20 for 3 dB and 6 dB.
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
        return std::nullopt;
    }
}

std::optional<int> tenthsDb(double dosePercent, int criterionDb, int exchangeRateDb)
{
    const std::optional<double> q = exchangeFactor(exchangeRateDb);
    if (!q || !std::isfinite(dosePercent) || dosePercent <= 0.0)
        return std::nullopt;
    const double twa = criterionDb + *q * (std::log(dosePercent / 100.0) / std::log(10.0));
    return int(std::lround(10.0 * twa));
}

QString text(int tenthsDb)
{
    const QString digits = QString::number(tenthsDb);
    return QLatin1Char(' ') + digits.chopped(1) + QLatin1Char('.') + digits.right(1);
}

} // namespace Twa
