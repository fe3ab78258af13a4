#include "data/PlotColumn.h"

#include "link/Decoders.h"

PlotColumn PlotColumn::fromTable(const RecordTable &table, int column)
{
    PlotColumn plot;
    const int records = table.recordCount();
    plot.xMax = records;
    plot.x.reserve(records);
    plot.y.reserve(records);
    for (int r = 0; r < records; ++r) {
        const QString cell = table.cell(r, column);
        const float value =
            cell.contains(QLatin1String("--")) ? kUnderRangeValue : float(leadingNumber(cell));
        plot.x.append(r + 1);
        plot.y.append(double(value));
    }
    return plot;
}
