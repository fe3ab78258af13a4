#include "analysis/PlotAxes.h"

#include "analysis/NumberText.h"

GraphRange PlotAxes::openingFields(int records)
{
    GraphRange fields;
    fields.AxisMin[1] = 1.0;
    fields.AxisMax[1] = records;
    fields.AxisMin[2] = kYMin;
    fields.AxisMax[2] = kYMax;
    return fields;
}

AxisRange PlotAxes::xAxis(const GraphRange &fields)
{
    return AxisRange::shown(fields.AxisMin[1], fields.AxisMax[1]);
}

AxisRange PlotAxes::yAxis(const GraphRange &fields)
{
    return AxisRange::shown(fields.AxisMin[2], fields.AxisMax[2]);
}

AxisRange PlotAxes::resetX(int records, const AxisRange &currentX)
{
    return AxisRange::shown(1.0, records > 0 ? double(records) : currentX.max);
}

AxisRange PlotAxes::resetY()
{
    return {kYMin, kYMax};
}

QPointF PlotAxes::cursorStart(const AxisRange &x, const AxisRange &y)
{
    return {(x.min + x.max) / 2.0, (y.min + y.max) / 2.0};
}

QString PlotAxes::xPositionText(double x)
{
    return plainNumberText(x);
}

QString PlotAxes::yPositionText(double y)
{
    return oneDecimalText(y);
}

int PlotAxes::fieldDecimals(int item)
{
    return item == 2 ? 1 : 0;
}

QString PlotAxes::fieldText(int item, double value)
{
    return item == 2 ? oneDecimalText(value) : plainNumberText(value);
}
