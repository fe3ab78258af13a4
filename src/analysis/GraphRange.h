#pragma once

// The "Graph Range" frame's four number fields, as the control arrays `AxisMin` and
// `AxisMax` number them: item 1 the records ("No.s", X), item 2 the level ("dB", Y in the
// plot, the X axis in the histograms). Item 0 is not used.

#include <array>

struct GraphRange {
    std::array<double, 3> AxisMin{};
    std::array<double, 3> AxisMax{};

    bool operator==(const GraphRange &) const = default;
};
