#pragma once

// The one look of the reports we design ourselves: margins of 18 mm, on every page a
// header with the title and the particulars of the measurement (file, meter ID,
// settings, print date), at the foot "Page N of M", and a body that flows from page to
// page. A report is drawn in two passes of the same body: the first only lays it out and
// counts the pages, so that the second can number them.
//
// The body is drawn with vector calls only (text stays text, lines stay lines), so a PDF
// of it can be searched and holds no image.

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QPagedPaintDevice;
class QPainter;

class ReportPage {
public:
    struct Header {
        QString title;
        // Label and value pairs, shown two to a line under the title.
        QList<std::pair<QString, QString>> fields;
    };
    using Body = std::function<void(ReportPage &page)>;

    // The header of a report on one file's records: the file, the meter ID, the settings
    // the figures were worked out with, and the print date. A file that does not carry
    // the meter ID says so rather than leave it blank.
    static Header measurementHeader(const QString &title, const QString &file,
                                    const QString &meterId, const QString &settings);
    // "Date printed" and the date and time now, the last field of every header.
    static std::pair<QString, QString> printDateField();

    static constexpr double kMarginMm = 18.0;

    // Lays out and draws header and body on `device` (a printer, a PDF writer), which
    // keeps its page size; its margins are set here. The number of pages.
    static int paint(QPagedPaintDevice &device, const Header &header, const Body &body);

    // One page ("Page 1 of 1") with a painter already begun on `device` (as a print
    // preview hands it over): the header and the foot inside margins of kMarginMm, or the
    // device's own where they are wider. The area left for the body, in the painter's
    // coordinates.
    // Writes header and body as a PDF at `path` on the locale's paper (A4, or Letter where
    // it measures in inches) at `dpi`, in one step: a failure leaves no partial file and an
    // earlier file as it was. A new file takes the umask's permissions. Empty on success,
    // else why not.
    static QString writePdf(const QString &path, const Header &header, const Body &body,
                            int dpi = 300);

    static QRectF paintSinglePage(QPainter &painter, QPagedPaintDevice &device,
                                  const Header &header);

    // The body's calls. The painter is null in the layout pass: draw only when it is set.
    QPainter *painter() const { return painter_; }
    // The width of the body and the height left on the page, in device units.
    double width() const { return width_; }
    double heightLeft() const { return bottom_ - y_; }
    // Device units per millimetre.
    double unitsPerMm() const { return unitsPerMm_; }
    QFont font(double points, bool bold = false) const;

    // Space of `height` at the current position, on a new page when it does not fit on
    // this one (unless this one holds nothing yet); the position moves below it.
    QRectF reserve(double height);
    void skip(double mm);
    void newPage();

    // A section heading, kept on the page of what follows it (`keepWith` device units).
    void heading(const QString &text, double keepWith = 0.0);
    // Text wrapped to the body's width.
    void paragraph(const QString &text, bool bold = false);
    // A table: a heading row and rows of cells; `shares` are the columns' parts of the
    // width (any scale). The first column is left aligned, the others right aligned.
    void table(const QStringList &headings, const QList<QStringList> &rows,
               const QList<double> &shares);

    // The body text size in points.
    static constexpr double kBodyPoints = 9.0;

private:
    ReportPage(QPagedPaintDevice &device, const Header &header, QPainter *painter, int pageCount);
    void startPage();
    double textHeight(const QFont &font, const QString &text, double width) const;
    void drawHeader();
    void drawFooter();

    QPagedPaintDevice &device_;
    const Header &header_;
    QPainter *painter_;
    int pageCount_;
    int page_ = 0;
    double unitsPerMm_ = 1.0;
    double width_ = 0.0;
    double top_ = 0.0;
    double y_ = 0.0;
    double bottom_ = 0.0;
    double pageHeight_ = 0.0;
};
