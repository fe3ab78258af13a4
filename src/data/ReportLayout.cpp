#include "data/ReportLayout.h"

#include <algorithm>

namespace ReportLayout {

QString rightAligned(const QString &text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '), false);
}

QStringList gridReport(const RecordTable &table, const QStringList &notes, int recordsPerLine)
{
    const QString margin = QStringLiteral("-") + QString(20, QLatin1Char(' '));
    const int n = std::clamp(recordsPerLine, 1, 5);
    QStringList lines(4, QStringLiteral(" "));
    for (int i = 0; i < 3; ++i)
        lines << margin + notes.value(i);
    lines << QString();
    lines << margin + QStringLiteral("            Date     Time        (dBA)");
    lines << margin + QStringLiteral("        ---------- ----------");
    const int records = table.recordCount();
    for (int r = 0; r < records; r += n) {
        QString s = rightAligned(table.cell(r, 0), 8) + rightAligned(table.cell(r, 1), 11) +
                    rightAligned(table.cell(r, 2), 13);
        for (int k = r; k < std::min(r + n, records); ++k)
            s += rightAligned(table.cell(k, 3), 5) + QStringLiteral("   ");
        lines << margin + s;
    }
    return lines;
}

} // namespace ReportLayout
