#pragma once

// The logger's settings in the meter: ID code and logging interval (register writes)
// and the erase of its memory, with the rules and messages of their entry boxes.
// Shared by the logger window and dosemeter-cli.

#include <QString>

#include <optional>

class Meter;
struct LoggerResults;

namespace LoggerSettings {

// The windows show these through translated(); the command line prints them in English.
inline const QString kIdCodeHelp = QStringLiteral(QT_TRANSLATE_NOOP(
    "LoggerSettings", "Input ID Code from 1 to 65535 and press ENTER to confirm."));
inline const QString kIntervalHelp = QStringLiteral(QT_TRANSLATE_NOOP(
    "LoggerSettings",
    "Input a sample interval time from 0.1 to 6553 seconds and press Enter to confirm."));
inline const QString kIdCodeInvalid = QStringLiteral(
    QT_TRANSLATE_NOOP("LoggerSettings", "Invalid, try again! 0 <= ID Code <= 65535."));
inline const QString kIntervalInvalid = QStringLiteral(
    QT_TRANSLATE_NOOP("LoggerSettings", "Invalid, try again! 0.1 <= Interval <= 6553.5."));
inline const QString kEraseWarning =
    QStringLiteral(QT_TRANSLATE_NOOP("LoggerSettings", "All the data in memory will be deleted!"));
// One of the texts above in the user's language.
QString translated(const QString &text);

inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
// The meter needs this long to clear its memory after "EEE".
inline constexpr double kEraseSeconds = 5.0;

// Keys the entry boxes take (character codes; 8 Backspace, 13 Enter): digits for the ID
// code, digits and "." for the interval.
bool idCodeKeyAccepted(int code);
bool intervalKeyAccepted(int code);
// A whole text as if typed key by key.
bool idCodeTextAccepted(const QString &text);
bool intervalTextAccepted(const QString &text);

// The value of an entry's text (its leading number), or nullopt when out of range:
// ID code 0..65535; interval 0.1..6553.5 s, returned in tenths of a second.
std::optional<int> idCode(const QString &text);
std::optional<int> intervalTenths(const QString &text);

// Register writes, high byte first: ID code to 0x0002/0x0003, interval to 0x0013/0x0012.
// The poll is stopped and DownloadBusy held meanwhile. False (nothing written) while
// another logger command runs or when a value is out of range.
bool writeIdCode(Meter &meter, LoggerResults &results, int code);
bool writeInterval(Meter &meter, LoggerResults &results, int tenths);
// Sends "EEE" and gives the meter kEraseSeconds to clear its memory. False (nothing
// sent) while another logger command runs.
bool erase(Meter &meter, LoggerResults &results);

} // namespace LoggerSettings
