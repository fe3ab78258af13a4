#pragma once

// The eight-hour time-weighted average sound level (TWA) from a noise dose:
//   TWA = L + q log10(D / 100)
// with L the criterion level and q the factor of the exchange rate (3 dB: 10, 4 dB:
// 13.29, 5 dB: 16.61, 6 dB: 20). At 90 dB and 5 dB this is the relation of OSHA
// 29 CFR 1910.95 Appendix A; at 85 dB and 3 dB the NIOSH form.

#include <QString>

#include <optional>

namespace Twa {

// q of an exchange rate in dB (3..6); nullopt for any other.
std::optional<double> exchangeFactor(int exchangeRateDb);

// Ten times the TWA in dB, rounded to the nearest tenth (half away from zero), so that
// 50 % at 90 dB / 5 dB gives 850 (85.0) as the regulation's table has it.
// dosePercent: the dose in percent, a positive finite number; criterionDb: the
// criterion level in dB. nullopt when the dose is not positive and finite or the
// exchange rate is not 3..6.
std::optional<int> tenthsDb(double dosePercent, int criterionDb, int exchangeRateDb);

// The grid's text of a TWA given in tenths of a dB: a space, every digit but the last,
// a point and the last digit (853 -> " 85.3", 1005 -> " 100.5", 5 -> " .5").
QString text(int tenthsDb);

} // namespace Twa
