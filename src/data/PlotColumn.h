#pragma once

// A record grid's column as a plot trace: x from 1 by 1, y the cells' values.

#include "data/RecordTable.h"

#include <QVector>

struct PlotColumn {
    QVector<double> x;
    QVector<double> y;
    double xMin = 1.0;
    double xMax = 1.0; // the grid's Rows - 1
    double yMin = 68.0;
    double yMax = 140.0;

    // Single-precision value of each record's cell in `column` (its leading number, 0
    // when none); a cell containing "--" (under range) counts as 67.9 and one containing
    // "OL" (overload) as 140.0. A number beyond single precision is no point (NaN, a gap
    // in the trace).
    static PlotColumn fromTable(const RecordTable &table, int column);
    // The value plotted for one cell, by the rule above.
    static double cellValue(QByteArrayView cell);
};
