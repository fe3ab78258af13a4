#pragma once

// The printed report of a record grid, as lines of text for a fixed-pitch font.

#include "data/RecordTable.h"

#include <QString>
#include <QStringList>

namespace ReportLayout {

// Pads with spaces on the left to `width`; a longer text is kept whole (its line then
// shifts to the right rather than losing characters).
QString rightAligned(const QString &text, int width);

// The report: four lines holding a blank, the three notes, an empty line, the column
// heading and its rule, then the records, `recordsPerLine` (1..5) to a line: number,
// date and time of the line's first record followed by the levels of its records.
// Every line but the first five starts with "-" and 20 spaces.
QStringList gridReport(const RecordTable &table, const QStringList &notes, int recordsPerLine);

} // namespace ReportLayout
