#pragma once

// The counts of one histogram pass, at both resolutions: every pass fills both arrays,
// each window plots one. Counts are 64-bit, so no number of records overflows a bin.

#include "data/RecordTable.h"

#include <QByteArrayView>

#include <array>

struct LevelCounts {
    static constexpr int kTenthDbTop = 1400; // 140.0 dB, the overload level
    static constexpr int kWholeDbTop = 140;

    // Index = level × 10 (0.1 dB bins) and level in whole dB.
    std::array<qint64, kTenthDbTop + 1> TenthDbCounts{};
    std::array<qint64, kWholeDbTop + 1> WholeDbCounts{};

    // Bins one dBA cell into both arrays:
    //  - under range (text containing "-", "----"): 68.0 dB, indexes 680 and 68;
    //  - overload (text containing "OL"): 140.0 dB, indexes 1400 and 140;
    //  - a number v: index nearest to v × 10 (ties to the even index: 85.25 -> 852,
    //    85.75 -> 858) and index floor(v) (85.7 -> 85).
    // A cell without a number, or a level outside 0 .. 140.05 dB, is not counted: it has
    // no bin, and counting it at 0 dB would invent a level.
    // Returns whether the cell was counted.
    bool add(QByteArrayView cell);
    // Bins the records `first` .. `last` (numbered from 1) of `column`; the caller keeps
    // the range inside the table.
    void addRecords(const RecordTable &table, int column, int first, int last);

    bool operator==(const LevelCounts &) const = default;
};
