#pragma once

// The time stamp of a logger sample, kept exactly in tenths of a second and carried
// through seconds, minutes, hours, days, month lengths, leap years and the year.

#include <QString>

class RunStamp {
public:
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int tenths = 0; // tenths of a second within the minute, 0..599

    // From a set's "yyyy/mm/dd" date and "hh:mm:ss" time texts; each field is the
    // leading number of its characters (0 when there is none), held within 0..9999 for
    // the year and 0..99 for the others.
    static RunStamp fromTexts(const QString &date, const QString &time);

    static bool isLeapYear(int year);
    // 28..31; 31 for a month outside 1..12, so that a damaged date still moves on.
    static int daysInMonth(int year, int month);

    // Moves on by `tenthsOfSecond`; a negative step does not move it.
    void advance(qint64 tenthsOfSecond);

    QString dateText() const; // "2009/12/31"
    QString timeText() const; // "23:59:59.5"

    bool operator==(const RunStamp &) const = default;
};
