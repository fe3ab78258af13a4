#pragma once

// Decoding of the logger's runs: a run's line in the list of recorded sets, and its
// samples as time-stamped records.
//
// A run's bytes (RunData) start with an 8-byte header: year within the century, month,
// day, hour, minute, second (BCD each), the logging interval in tenths of a second (low
// byte, high byte). Samples of 3 bytes follow: level low BCD byte (units and tenths),
// level high BCD byte (hundreds and tens), flags (bit 6 = overload).

#include "data/RecordTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace LoggerRun {

// Headings of the recorded-sets list.
QStringList setHeadings(); // "Set", "Date", "Time", "Interval", "Rec.s"

// One line of the recorded-sets list.
struct SetLine {
    int set = 0;
    QString date;         // "2009/12/31": the run's start date
    QString time;         // "23:59:59": its start time
    QString interval;     // seconds, see intervalText()
    double samples = 0.0; // (last - start - 8) / 3, as the meter's layout gives it

    QStringList cells() const; // the five texts of the list
    // Whole samples, for counts that must be integers.
    int wholeSamples() const;
};

// The line of run `set` whose bytes are `runData` and that occupies registers
// `start` .. `last` of the meter.
SetLine setLine(int set, const QByteArray &runData, int start, int last);

// What makes a run's 8-byte header impossible for a real run, for the user ("its start
// reads 2007/14/05 10:05:00", "its interval reads 0.0 s"); empty when it can be real:
// every date and time byte BCD, month 1..12, a day the month has (29 February only in
// a leap year), hour below 24, minute and second below 60, an interval above 0.
QString headerProblem(const QByteArray &runData);
// What makes sample i (1..) of a run impossible ("sample 37 reads 1E9.E dB"); empty
// when it can be real: a level of decimal BCD digits below 200 dB, or the overload flag
// (whose level bytes mean nothing). Samples beyond `runData` have no problem.
QString sampleProblem(const QByteArray &runData, int i);

// Interval in tenths of a second as seconds with one decimal: 5 -> "0.5", 600 -> "60.0".
QString intervalText(int tenths);
// A sample's level: "OL" for overload, else the BCD digits as "094.5" with one leading
// zero dropped ("94.5"; "00.0" stays).
QString levelText(quint8 low, quint8 high, quint8 flags);
// A number as the lists show it: no trailing zeros, up to 15 significant digits.
QString numberText(double value);

// The records of a set, as the details list shows them: "No.s" from 1, the date and
// the time of each sample (the first one interval after the start), the level.
// `setCells` are the set's five texts from the recorded-sets list; the start, the
// interval and the count are read from them. Samples beyond `runData` are not listed.
// `progress` (optional) gets the percentage done now and then.
RecordTable records(const QStringList &setCells, const QByteArray &runData,
                    const std::function<void(double percent)> &progress = {});

} // namespace LoggerRun
