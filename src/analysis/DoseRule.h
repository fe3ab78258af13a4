#pragma once

// The noise dose of timed levels, shared by the exposure statistics and the exposure
// assessment: at the criterion level Lc 8 hours make 100 %, and every exchange rate Q
// above it halves the time allowed, T(L) = 8 h / 2^((L - Lc) / Q). Levels below the
// threshold add nothing; the caller leaves them out.

namespace DoseRule {

// 8 h / T(L): what one second at `levelDb` adds, in seconds at the criterion level.
double weight(double levelDb, double criterionDb, int exchangeRateDb);

// The dose in percent of `weightedSeconds` (the sum of seconds × weight), rounded to two
// decimals.
double percent(double weightedSeconds);

} // namespace DoseRule
