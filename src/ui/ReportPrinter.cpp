#include "ui/ReportPrinter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

QFont ReportPrinter::reportFont()
{
    const QString preferred = QStringLiteral("Lucida Console");
    QFont font;
    if (QFontDatabase::families().contains(preferred)) {
        font = QFont(preferred);
    } else {
        // The platform's fixed font, else what the font configuration calls monospace,
        // else any installed fixed-pitch family.
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (!QFontInfo(font).fixedPitch()) {
            font = QFont(QStringLiteral("monospace"));
            font.setStyleHint(QFont::TypeWriter);
        }
        if (!QFontInfo(font).fixedPitch()) {
            for (const QString &family : QFontDatabase::families()) {
                if (QFontDatabase::isFixedPitch(family)) {
                    font = QFont(family);
                    break;
                }
            }
        }
    }
    font.setPointSizeF(8.0);
    return font;
}

void ReportPrinter::paint(QPainter &painter, QPrinter &printer, const QStringList &lines)
{
    painter.setFont(reportFont());
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    int baseline = metrics.ascent();
    for (const QString &line : lines) {
        if (baseline + metrics.descent() > pageHeight) {
            printer.newPage();
            baseline = metrics.ascent();
        }
        painter.drawText(0, baseline, line);
        baseline += metrics.lineSpacing();
    }
}

bool ReportPrinter::print(QPrinter &printer, const QStringList &lines, int copies, QString *error)
{
    copies = std::max(1, copies);
    // Each copy is a document of its own; the printer must not multiply them again.
    printer.setCopyCount(1);
    QPainter painter;
    const auto failed = [error] {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    };
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        if (!painter.begin(&printer))
            return failed();
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0)
                printer.newPage();
            paint(painter, printer, lines);
        }
        return painter.end();
    }
    for (int copy = 0; copy < copies; ++copy) {
        if (!painter.begin(&printer))
            return failed();
        paint(painter, printer, lines);
        painter.end();
    }
    return true;
}
