#include "analysis/AxisRange.h"

AxisRange AxisRange::shown(double min, double max)
{
    if (min < max)
        return {min, max};
    if (min > max)
        return {max, min};
    return {min - 1.0, min + 1.0};
}
