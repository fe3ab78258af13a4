#pragma once

// A number field of the analysis windows ("Graph Range"): a spin box that shows its value
// as the window's rule writes it (one decimal, whole numbers, up to three decimals with
// trailing zeros dropped) and reports a change once it is committed (Enter, an arrow, or
// leaving the field), not at every key typed.

#include "analysis/GraphRange.h"

#include <QDoubleSpinBox>

#include <array>
#include <functional>

class NumberField : public QDoubleSpinBox {
    Q_OBJECT
public:
    using Text = std::function<QString(double)>;

    // `decimals` the value keeps; `text` writes it (the spin box's own form when empty).
    NumberField(double minimum, double maximum, int decimals, Text text = {},
                QWidget *parent = nullptr);

    // Accessible name and description of the field and of the edit box inside it.
    void describe(const QString &accessibleName, const QString &description);

    // Sets the value without reporting a change.
    void setQuietly(double value);

    QString textFromValue(double value) const override;

private:
    Text text_;
};

// The values of the "Graph Range" frame's fields, numbered as GraphRange numbers them.
GraphRange graphRange(const std::array<NumberField *, 3> &axisMin,
                      const std::array<NumberField *, 3> &axisMax);

// The records and levels of a range, as the prints of the graphs name them:
// "records 1 to 500, 68 to 140 dB".
QString graphRangeText(const GraphRange &range);
