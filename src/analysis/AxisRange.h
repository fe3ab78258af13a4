#pragma once

// One axis range of a graph, minimum and maximum in the axis's units.

struct AxisRange {
    double min = 0.0;
    double max = 0.0;

    // The range a graph is given for the wanted one: a graph cannot show an empty range,
    // so equal ends become one unit either side of the value, and reversed ends (a field
    // typed past the other) are swapped.
    static AxisRange shown(double min, double max);

    bool operator==(const AxisRange &) const = default;
};
