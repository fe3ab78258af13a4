#include "data/PlotColumn.h"

#include "data/LevelCell.h"
#include "link/Decoders.h"

#include <cmath>
#include <limits>

double PlotColumn::cellValue(QByteArrayView cell)
{
    // An overload is the top of the meter's range: read as a number, " OL " would be 0
    // and plot a 140 dB moment as silence.
    if (LevelCell::isOverload(cell))
        return double(kOverloadValue);
    if (cell.indexOf("--") >= 0)
        return double(kUnderRangeValue);
    const double value = LevelCell::leadingNumber(cell).value;
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        return std::numeric_limits<double>::quiet_NaN();
    return double(float(value));
}

PlotColumn PlotColumn::fromTable(const RecordTable &table, int column)
{
    PlotColumn plot;
    const int records = table.recordCount();
    plot.xMax = records;
    plot.x.resize(records);
    plot.y.resize(records);
    for (int r = 0; r < records; ++r) {
        plot.x[r] = r + 1;
        plot.y[r] = cellValue(table.cellBytes(r, column));
    }
    return plot;
}
