#include "analysis/PlotAxes.h"

#include "analysis/NumberText.h"

#include <algorithm>
#include <cmath>

GraphRange PlotAxes::openingFields(int records)
{
    GraphRange fields;
    fields.minimum[1] = 1.0;
    fields.maximum[1] = records;
    fields.minimum[2] = kYMin;
    fields.maximum[2] = kYMax;
    return fields;
}

AxisRange PlotAxes::xAxis(const GraphRange &fields)
{
    return AxisRange::shown(fields.minimum[1], fields.maximum[1]);
}

AxisRange PlotAxes::yAxis(const GraphRange &fields)
{
    return AxisRange::shown(fields.minimum[2], fields.maximum[2]);
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

std::optional<QPointF> PlotAxes::cursorOnTrace(const QVector<double> &levels, double x)
{
    const qsizetype n = levels.size();
    if (n == 0 || std::isnan(x))
        return std::nullopt;
    const qsizetype nearest = qsizetype(std::clamp(std::round(x), 1.0, double(n))) - 1;
    // Outward from the nearest record, the lower one first at equal distance.
    for (qsizetype d = 0; d < n; ++d) {
        for (const qsizetype k : {nearest - d, nearest + d}) {
            if (k >= 0 && k < n && !std::isnan(levels[k]))
                return QPointF(double(k + 1), levels[k]);
        }
        if (nearest - d < 0 && nearest + d >= n)
            break;
    }
    return std::nullopt;
}

QString PlotAxes::xPositionText(double x)
{
    // Records are whole numbers; a cursor between two is read as the nearer one.
    return plainNumberText(std::round(x));
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
