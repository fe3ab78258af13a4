#pragma once

// Number texts of the analysis windows and their command-line twins.

#include <QString>
#include <QtGlobal>

// A number of tenths as a one-decimal text: 853 -> "85.3", 5 -> "0.5", -5 -> "-0.5".
QString tenthsText(qint64 tenths);
// A span of time as "HH:MM:SS" (hours as many digits as they need): 3725 -> "01:02:05".
QString clockText(qint64 seconds);
// A value with one decimal, rounded to nearest (halves away from zero).
QString oneDecimalText(double value);
// A value with at most `maxDecimals` decimals, trailing zeros and a bare point dropped:
// (68, 3) -> "68", (85.3, 3) -> "85.3". Never "-0".
QString trimmedNumberText(double value, int maxDecimals);
// A value as plain number text, up to 15 significant digits. Never "-0".
QString plainNumberText(double value);
