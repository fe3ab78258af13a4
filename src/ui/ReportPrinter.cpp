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
    paint(painter, printer, lines, reportFont(), printer.docName());
}

void ReportPrinter::paint(QPainter &painter, QPagedPaintDevice &device, const QStringList &lines,
                          const QFont &font, const QString &title, const LinePainted &linePainted)
{
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiY());
    const int spacing = metrics.lineSpacing();
    // A titled report keeps two lines at the top of each page for its title and two at
    // the foot for "Page N of M"; the report's own lines run between them unchanged.
    const int top = title.isEmpty() ? 0 : 2 * spacing;
    const int foot = title.isEmpty() ? 0 : 2 * spacing;
    const int room = page.height() - top - foot - metrics.ascent() - metrics.descent();
    const int perPage = std::max(1, room / spacing + 1);
    const int pages = std::max(1, int((lines.size() + perPage - 1) / perPage));
    const auto frame = [&](int number) {
        if (title.isEmpty())
            return;
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(0, metrics.ascent(), title);
        painter.setFont(font);
        painter.drawText(QRect(0, page.height() - spacing, page.width(), spacing),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(number).arg(pages));
    };
    frame(1);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % perPage == 0) {
            device.newPage();
            frame(i / perPage + 1);
        }
        painter.drawText(0, top + metrics.ascent() + (i % perPage) * spacing, lines.at(i));
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
            paint(painter, printer, lines, font, printer.docName(), linePainted);
        }
        return painter.end();
    }
    for (int copy = 0; copy < copies; ++copy) {
        if (!painter.begin(&printer))
            return failed();
        paint(painter, printer, lines, font, printer.docName(), linePainted);
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
        paint(painter, writer, lines, font, title);
        painter.end();
    }
    if (!file.commit())
        return failure();
    return {};
}
