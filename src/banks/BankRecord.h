#pragma once

// A dose event bank's 20 register bytes and the fifteen texts of its column in the
// event window's grid (rows 1..15). Pure functions of the bytes.
//
// Byte n of the record (1..20) is record[n - 1]: 1 configuration (bits 0-1 criterion,
// 2-3 exchange rate, 4 Fast, 5 "dBRMS 115", 6 "Exceed 140dB", 7 used), 2-5 start month,
// day, hour, minute (BCD), 6-7 stop hour and minute (BCD), 8-9 exposure hours and
// minutes, 10-11 raw dose (high byte first), 12 dose divisor code (1, 10, 100),
// 16-17 peak flag time (hours 0xFF: none), 18-19 peak duration (minutes, seconds),
// 20 threshold in dB.

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace BankRecord {

inline constexpr int kLength = 20;
inline constexpr int kTextRows = 15;

// Texts of grid rows 1..15 of one bank's column: texts[r - 1] is row r.
using Texts = std::array<QString, kTextRows>;

// Row 1 of a bank that was read, that is empty and that could not be read.
inline const QString kUsed = QStringLiteral(" Used");
inline const QString kUnused = QStringLiteral(" Unused");
inline const QString kReadFailed = QStringLiteral(" Read failed");
// The dose cell when the divisor code is not one the meter writes: the dose is unknown.
inline const QString kUnknownDose = QStringLiteral(" ?");

// The doses a bank can hold, in percent: the raw dose (16 bits) over the divisor code
// (1, 10 or 100), so from 0.01 % to 65535 %.
inline constexpr double kMinDosePercent = 0.01;
inline constexpr double kMaxDosePercent = 65535.0;

// Indices of the bytes a caller needs by name (byte n is at index n - 1).
inline constexpr int kConfiguration = 0;
inline constexpr int kStartMonth = 1; // start month, day, hour, minute: 1..4
inline constexpr int kStopHour = 5;
inline constexpr int kStopMinute = 6;
inline constexpr quint8 kUsedBit = 0x80;
inline constexpr quint8 kExceedBit = 0x40;

bool used(const QByteArray &record);

// The fifteen texts, each beginning with a space where it is not empty. A used bank
// with a divisor code other than 1, 10 or 100 shows kUnknownDose and no TWA. A record
// that is not 20 bytes long gives failedTexts().
Texts texts(const QByteArray &record);
// Row 1 says the bank could not be read; nothing else is shown.
Texts failedTexts();
// Row 1 holds `word` (the meter's run state), the other rows are empty.
Texts stateTexts(const QString &word);

// The dose in percent: raw dose / divisor code; nullopt for an unknown divisor code or
// a record that is not 20 bytes long.
std::optional<double> dosePercent(const QByteArray &record);
// Row 12: " " + raw dose for code 1; for 10 and 100 a space and the quotient as a
// signed number text (a second space, then its shortest decimal form without a
// leading zero: "  12.34", "  .05"); kUnknownDose for any other code.
QString doseText(const QByteArray &record);

// "0" + the byte in decimal, of which the last two characters (130 -> "30", 5 -> "05").
QString twoDecimalDigits(quint8 byte);

} // namespace BankRecord
