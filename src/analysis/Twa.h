#pragma once

// The eight-hour time-weighted average of a noise dose, as the meter's banks report it:
// TWA = L + q · log10(D / 100), L the criterion level, D the dose in percent and q the
// factor of the exchange rate. The result is rounded to the nearest tenth: the meter's
// approximate factors put doses such as 50 % a hair below the tenth (84.9999 dB at
// 90 / 5), and cutting the decimals off would report 84.9 instead of the 85.0 the
// regulations' tables give.

#include <QtGlobal>

#include <optional>

// q of an exchange rate: 3 dB -> 10, 4 -> 13.29, 5 -> 16.61, 6 -> 20; 0 for any other.
double twaFactor(int exchangeRateDb);
// 10 × TWA, rounded to the nearest whole number (halves away from zero); nothing for a
// dose not above 0, a criterion other than 80, 84, 85, 90 or an exchange rate other than
// 3..6.
std::optional<qint64> twaTenths(double dosePercent, int criterionDb, int exchangeRateDb);
