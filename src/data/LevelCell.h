#pragma once

// A level cell of a record grid read straight from its bytes. The packed record table
// hands cells out as bytes, and counting a day of one-second records must take
// milliseconds, so no QString or regular expression is built per cell.

#include <QByteArrayView>
#include <QtGlobal>

class LevelCell {
public:
    // The leading number of a text by the program's one rule (as leadingNumber() in
    // link/Decoders.h): ASCII blanks skipped, an optional sign, digits with an optional
    // point, an optional exponent. When the number has no exponent and at most 18
    // significant digits it is also kept exactly, as `digits` / 10^`scale`, so that
    // rounding to tenths follows the decimal text and not its binary approximation.
    struct Number {
        bool found = false;
        double value = 0.0; // 0 when not found
        bool exact = false;
        bool negative = false;
        qint64 digits = 0; // magnitude
        int scale = 0;     // decimals, 0..18

        // value × 10 rounded to a whole number, ties to the even number or away from
        // zero. Only meaningful for |value| < 1e15.
        qint64 nearestTenths(bool tiesToEven) const;
        // The whole dB below the value (85.7 -> 85). Only meaningful for |value| < 1e15.
        qint64 floorWhole() const;
    };

    static Number leadingNumber(QByteArrayView text);

    // The overload text: " OL " as the display shows it, "OL" as the logger stores it.
    static bool isOverload(QByteArrayView text) { return text.indexOf("OL") >= 0; }

    // The lowest and highest level the meter shows, in tenths of a dB: under range it
    // shows "----", above its range "OL".
    static constexpr int kLowestTenths = 679;
    static constexpr int kHighestTenths = 1400;

    // A level cell that holds a number the meter cannot have written: one outside
    // 67.9..140.0 dB, or one that is no plain decimal ("0x50", "8 5", "+85", "8.5e1",
    // "85dB"). Such a record is unreadable. Overload ("OL") and under-range ("-") texts,
    // and cells without any digit ("n/a", empty), are not: they keep their own meaning.
    static bool isUnreadableLevel(QByteArrayView text);
};
