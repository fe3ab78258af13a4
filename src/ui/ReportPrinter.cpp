#include "ui/ReportPrinter.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

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
    paint(painter, printer, lines, reportFont());
}

void ReportPrinter::paint(QPainter &painter, QPagedPaintDevice &device, const QStringList &lines,
                          const QFont &font, const LinePainted &linePainted)
{
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = device.pageLayout().paintRectPixels(device.logicalDpiY()).height();
    int baseline = metrics.ascent();
    for (int i = 0; i < lines.size(); ++i) {
        if (baseline + metrics.descent() > pageHeight) {
            device.newPage();
            baseline = metrics.ascent();
        }
        painter.drawText(0, baseline, lines.at(i));
        baseline += metrics.lineSpacing();
        if (linePainted)
            linePainted(i);
    }
}

bool ReportPrinter::print(QPrinter &printer, const QStringList &lines, int copies, QString *error)
{
    return print(printer, lines, copies, reportFont(), error);
}

bool ReportPrinter::print(QPrinter &printer, const QStringList &lines, int copies,
                          const QFont &font, QString *error, const LinePainted &linePainted)
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
            paint(painter, printer, lines, font, linePainted);
        }
        return painter.end();
    }
    for (int copy = 0; copy < copies; ++copy) {
        if (!painter.begin(&printer))
            return failed();
        paint(painter, printer, lines, font, linePainted);
        painter.end();
    }
    return true;
}

QString ReportPrinter::writePdf(const QString &path, const QString &title, const QStringList &lines,
                                const QFont &font)
{
    QSaveFile file(path);
    const auto failure = [&file] {
        const QString reason = file.errorString();
        return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure();
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return QStringLiteral("the PDF could not be started");
        }
        paint(painter, writer, lines, font);
        painter.end();
    }
    if (!file.commit())
        return failure();
    return {};
}
