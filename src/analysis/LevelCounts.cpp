#include "analysis/LevelCounts.h"

#include "data/LevelCell.h"

#include <cmath>

namespace {

constexpr int kUnderRangeTenths = 680; // "----" counts at 68.0 dB
// Beyond this a number is no level, and its tenths would not fit in 64 bits.
constexpr double kLargestNumber = 1e15;

} // namespace

bool LevelCounts::add(QByteArrayView cell)
{
    qint64 tenths;
    qint64 whole;
    if (LevelCell::isOverload(cell)) {
        tenths = kTenthDbTop;
        whole = kWholeDbTop;
    } else if (cell.indexOf('-') >= 0) {
        tenths = kUnderRangeTenths;
        whole = kUnderRangeTenths / 10;
    } else {
        const LevelCell::Number n = LevelCell::leadingNumber(cell);
        if (!n.found || !(std::fabs(n.value) < kLargestNumber))
            return false;
        tenths = n.nearestTenths(true);
        whole = n.floorWhole();
    }
    if (tenths < 0 || tenths > kTenthDbTop || whole < 0 || whole > kWholeDbTop)
        return false;
    ++TenthDbCounts[tenths];
    ++WholeDbCounts[whole];
    return true;
}

void LevelCounts::addRecords(const RecordTable &table, int column, int first, int last)
{
    for (int r = first; r <= last; ++r)
        add(table.cellBytes(r - 1, column));
}
