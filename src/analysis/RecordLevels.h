#pragma once

// How the analysis reads a record list, shared by the exposure statistics and the exposure
// assessment: the level a record stands for and the period each record of a list lasts.
//
// Level of a record (its dBA cell): a text containing "OL" is 140.0 (overload), one
// containing "-" is 67.9 (under range), any other its number. A record without a number,
// or with one the meter cannot show (LevelCell::isUnreadableLevel: outside 67.9..140.0 dB
// or no plain decimal), has no level.

#include "data/RecordTable.h"

#include <QByteArrayView>

#include <optional>
#include <vector>

namespace RecordLevels {

constexpr int kLevelColumn = 3;
// Levels at and above this are no sound level.
constexpr double kNoLevelFrom = 1000.0;

struct Level {
    double value;
    qint64 tenths; // the value rounded to the nearest tenth of a dB, as its text has it
};

std::optional<Level> recordLevel(QByteArrayView cell);

// Levels as whole tenths, 0 .. kTenthsCount - 1: a day of records holds a few hundred
// distinct levels, so work per level is done once per tenth.
constexpr int kTenthsCount = int(kNoLevelFrom * 10.0);
// The level's tenths when the level is exactly that many tenths of a dB (its text has no
// further decimals) and not negative; nothing otherwise.
inline std::optional<int> exactTenths(const Level &level)
{
    if (level.tenths < 0 || level.tenths >= kTenthsCount ||
        double(level.tenths) / 10.0 != level.value)
        return std::nullopt;
    return int(level.tenths);
}

// The median of the steps between consecutive records' date-and-time stamps, in tenths of
// a second; the median of an even count is the mean of the two middle steps, halves of a
// tenth rounded up. Nothing when fewer than two stamps can be read or the median is not
// positive.
std::optional<qint64> medianStepTenths(const RecordTable &table);

// The date-and-time stamp of each record, in tenths of a second from the start of Julian
// day 0; kNoStamp for a record whose date or time cannot be read.
constexpr qint64 kNoStamp = -1;
std::vector<qint64> stampsTenths(const RecordTable &table);

} // namespace RecordLevels
