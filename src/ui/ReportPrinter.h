#pragma once

// Prints text reports line by line in a fixed-pitch font, page after page. A report with a
// title has the title at the top of every page and "Page N of M" at its foot; its own
// lines stay as they are.

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

class ReportPrinter {
public:
    // "Lucida Console" at 8 points; where that font is missing, the system's fixed-pitch
    // font at 8 points, so the columns still line up.
    static QFont reportFont();

    // Draws the lines from the top of the page on, starting a new page when one is full,
    // titled with the printer's document name.
    static void paint(QPainter &painter, QPrinter &printer, const QStringList &lines);

    // Prints `copies` documents, one print job each, titled with the printer's document
    // name. A PDF file cannot hold several
    // documents: there the copies follow one another, each starting on a new page.
    // False, with `error` set, when the printer cannot start.
    static bool print(QPrinter &printer, const QStringList &lines, int copies,
                      QString *error = nullptr);

    // As above in `font` under `title` (none when empty), on any paged device (a printer,
    // a PDF writer). `linePainted`, when set, runs after each line with the line's index
    // (for progress captions).
    using LinePainted = std::function<void(int line)>;
    static void paint(QPainter &painter, QPagedPaintDevice &device, const QStringList &lines,
                      const QFont &font, const QString &title, const LinePainted &linePainted = {});
    static bool print(QPrinter &printer, const QStringList &lines, int copies, const QFont &font,
                      QString *error = nullptr, const LinePainted &linePainted = {});

    // Writes the lines in `font` under `title` as an A4 PDF file in one step, so that a failure
    // leaves an earlier file as it was. The reason it failed, or an empty string.
    static QString writePdf(const QString &path, const QString &title, const QStringList &lines,
                            const QFont &font);
};
