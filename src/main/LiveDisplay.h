#pragma once

// What the main window shows of a display frame: the value text, the unit, and the
// maximum and minimum of the level in dBA mode.

#include "link/Decoders.h"

#include <QString>

// The text the meter's display shows, from the digits and the display flags.
QString displayValueText(const DisplayFields &fields);
// "dBA", "%DOSE" or empty.
QString displayUnitText(const DisplayFields &fields);

// Maximum and minimum as the main window shows them: texts, with "OL" and "----"
// sticking until reset.
struct MaxMin {
    QString max; // empty until the first value
    QString min;

    // value: the text just shown. Only called in dBA mode.
    void update(const QString &value);
    // Both to the value shown now (the reset button).
    void reset(const QString &value);
};
