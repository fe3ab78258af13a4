#pragma once

// The averaging interval as the user types it: "hh:mm:ss", with lenient parsing (one
// colon is enough, fields are cut to their last two digits and wrapped at 24 h, 60 min
// and 60 s) and "Invalid, try again!" for a reply without a colon.

#include <QString>

#include <optional>

namespace IntervalPrompt {

inline const QString kTitle = QStringLiteral("Input Interval");
inline const QString kPrompt = QStringLiteral("Enter interval\r\n (hh:nn:ss) ");
inline const QString kInvalid = QStringLiteral("Invalid, try again!\r\n");

struct Interval {
    QString text; // "hh:mm:ss"
    int seconds = 0;
};

// The interval a reply stands for, or nullopt when the prompt refuses it: no colon, or a
// field whose number is negative or not whole. Examples: "1:2:3" -> 01:02:03 (3723 s),
// "25:61:61" -> 01:01:01, "100:00:00" -> 00:00:00, "05:30" -> 05:00:30.
std::optional<Interval> parse(const QString &reply);

// An interval given as an argument, taken only as written: "hh:mm:ss", or "hh:ss" as the
// prompt reads one colon, each field whole decimal digits within its clock range (hours
// 0..23, minutes and seconds 0..59), and not 00:00:00, which measures nothing. nullopt
// with the reason in `problem` otherwise ("1:2:3:4", "0:0:1.5", "0:0:0", "0:75").
std::optional<Interval> parseExact(const QString &text, QString &problem);

} // namespace IntervalPrompt
