#pragma once

// The "Graph Range" frame's four number fields, as the control arrays `minimum` and
// `maximum` number them: item 1 the records ("No.s", X), item 2 the level ("dB", Y in the
// plot, the X axis in the histograms). Item 0 is not used.

#include <array>

struct GraphRange {
    std::array<double, 3> minimum{};
    std::array<double, 3> maximum{};

    bool operator==(const GraphRange &) const = default;
};
