#pragma once

// The plot window's rules for its ranges, fields, cursor and read-outs. X is the record
// number ("No.s"), Y the level in dB. Every range handed to the graph goes through
// AxisRange::shown(), so the graph never gets an empty range (a one-record file gives
// X 1..1, shown as 0..2).

#include "analysis/AxisRange.h"
#include "analysis/GraphRange.h"

#include <QPointF>
#include <QString>
#include <QVector>

#include <optional>

class PlotAxes {
public:
    static constexpr double kYMin = 68.0;
    static constexpr double kYMax = 140.0;

    // The fields as the window opens on `records` records: X 1..records, Y 68..140.
    static GraphRange openingFields(int records);
    // The graph's axes for the fields, at opening and after any field changes.
    static AxisRange xAxis(const GraphRange &fields);
    static AxisRange yAxis(const GraphRange &fields);

    // "Reset Scale": X fitted to the plotted records (1..records); with no records the
    // fit has nothing to fit, so X keeps its maximum and starts at 1. Y 68..140. The
    // fields are not changed.
    static AxisRange resetX(int records, const AxisRange &currentX);
    static AxisRange resetY();

    // Where "Cursor Coordinates" puts cursor 1: the middle of both axes as they stand.
    static QPointF cursorStart(const AxisRange &x, const AxisRange &y);

    // Where a drag puts cursor 1: on the trace, at the record nearest to `x` (records
    // numbered from 1, `levels` element k being record k + 1), X its number and Y its level.
    // Records without a level (NaN, a gap in the trace) are passed over for the nearest
    // one that has one; nothing when no record has a level.
    static std::optional<QPointF> cursorOnTrace(const QVector<double> &levels, double x);

    // The read-outs while cursor 1 moves: `XPosition` the nearest record's number, `YPosition`
    // one decimal ("0.0").
    static QString xPositionText(double x);
    static QString yPositionText(double y);

    // Decimals the fields show: item 1 (records) whole numbers, item 2 (dB) one decimal.
    static int fieldDecimals(int item);
    static QString fieldText(int item, double value);
};
