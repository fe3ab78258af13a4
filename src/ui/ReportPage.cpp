#include "ui/ReportPage.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr double kTitlePoints = 14.0;
constexpr double kFieldPoints = 8.0;
constexpr double kFooterMm = 8.0;

} // namespace

ReportPage::ReportPage(QPagedPaintDevice &device, const Header &header, QPainter *painter,
                       int pageCount)
    : device_(device), header_(header), painter_(painter), pageCount_(pageCount)
{
    const QRect paintRect = device.pageLayout().paintRectPixels(device.logicalDpiX());
    unitsPerMm_ = device.logicalDpiX() / 25.4;
    width_ = paintRect.width();
    pageHeight_ = paintRect.height();
    bottom_ = pageHeight_ - kFooterMm * unitsPerMm_;
}

ReportPage::Header ReportPage::measurementHeader(const QString &title, const QString &file,
                                                 const QString &meterId, const QString &settings)
{
    return {title,
            {{QStringLiteral("File"), file},
             {QStringLiteral("Meter ID"),
              meterId.isEmpty() ? QStringLiteral("not recorded in the file") : meterId},
             {QStringLiteral("Settings"), settings},
             printDateField()}};
}

std::pair<QString, QString> ReportPage::printDateField()
{
    return {QStringLiteral("Date printed"),
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))};
}

int ReportPage::paint(QPagedPaintDevice &device, const Header &header, const Body &body)
{
    device.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);
    int pages = 0;
    {
        ReportPage layout(device, header, nullptr, 0);
        layout.startPage();
        body(layout);
        pages = layout.page_;
    }
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    ReportPage page(device, header, &painter, pages);
    page.startPage();
    body(page);
    page.drawFooter();
    painter.end();
    return pages;
}

QString ReportPage::writePdf(const QString &path, const Header &header, const Body &body, int dpi)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setResolution(dpi);
        writer.setPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                               ? QPageSize(QPageSize::Letter)
                               : QPageSize(QPageSize::A4));
        writer.setTitle(header.title);
        writer.setCreator(QStringLiteral("Dose Meter"));
        if (paint(writer, header, body) == 0)
            return QStringLiteral("the report could not be drawn");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

QRectF ReportPage::paintSinglePage(QPainter &painter, QPagedPaintDevice &device,
                                   const Header &header)
{
    const QPageLayout layout = device.pageLayout();
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    const double unitsPerMm = device.logicalDpiX() / 25.4;
    auto inset = [&](double mm) { return std::max(0.0, kMarginMm - mm) * unitsPerMm; };
    const QMarginsF extra(inset(margins.left()), inset(margins.top()), inset(margins.right()),
                          inset(margins.bottom()));
    ReportPage page(device, header, &painter, 1);
    page.width_ -= extra.left() + extra.right();
    page.pageHeight_ -= extra.top() + extra.bottom();
    page.bottom_ = page.pageHeight_ - kFooterMm * page.unitsPerMm_;
    painter.save();
    painter.translate(extra.left(), extra.top());
    page.startPage();
    page.drawFooter();
    painter.restore();
    return QRectF(extra.left(), extra.top() + page.top_, page.width_, page.bottom_ - page.top_);
}

QFont ReportPage::font(double points, bool bold) const
{
    // Point sizes are given against the device, so the same text is as large on a
    // printer as in a PDF whatever their resolutions.
    // What DejaVu cannot draw (a symbol or an emoji in a worker's name) the system draws
    // from its fallback font, Symbola, which the package depends on.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without ligatures: "fi" stays two letters, so the text is found as it is typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

double ReportPage::textHeight(const QFont &font, const QString &text, double width) const
{
    const QFontMetricsF metrics(font, &device_);
    return metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text)
        .height();
}

void ReportPage::startPage()
{
    ++page_;
    y_ = 0.0;
    drawHeader();
}

void ReportPage::newPage()
{
    drawFooter();
    if (painter_)
        device_.newPage();
    startPage();
}

void ReportPage::drawHeader()
{
    const QFont title = font(kTitlePoints, true);
    const double titleHeight = QFontMetricsF(title, &device_).height();
    if (painter_) {
        painter_->setFont(title);
        painter_->setPen(Qt::black);
        painter_->drawText(QRectF(0, 0, width_, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                           header_.title);
    }
    y_ = titleHeight + 1.0 * unitsPerMm_;
    const QFont label = font(kFieldPoints, true);
    const QFont value = font(kFieldPoints);
    const double half = width_ / 2.0;
    const double labelWidth = 24.0 * unitsPerMm_;
    for (qsizetype i = 0; i < header_.fields.size(); i += 2) {
        double rowHeight = 0.0;
        for (qsizetype j = i; j < std::min(i + 2, header_.fields.size()); ++j) {
            const double x = (j - i) * half;
            const double valueWidth = half - labelWidth - 2.0 * unitsPerMm_;
            const auto &[name, text] = header_.fields.at(j);
            const double h =
                std::max(textHeight(label, name, labelWidth), textHeight(value, text, valueWidth));
            if (painter_) {
                painter_->setFont(label);
                painter_->drawText(QRectF(x, y_, labelWidth, h), Qt::TextWordWrap, name);
                painter_->setFont(value);
                painter_->drawText(QRectF(x + labelWidth, y_, valueWidth, h), Qt::TextWordWrap,
                                   text);
            }
            rowHeight = std::max(rowHeight, h);
        }
        y_ += rowHeight;
    }
    y_ += 1.5 * unitsPerMm_;
    if (painter_) {
        painter_->setPen(QPen(Qt::black, 0.3 * unitsPerMm_));
        painter_->drawLine(QPointF(0, y_), QPointF(width_, y_));
    }
    y_ += 3.0 * unitsPerMm_;
    top_ = y_;
}

void ReportPage::drawFooter()
{
    if (!painter_)
        return;
    const QFont footer = font(kFieldPoints);
    const QRectF area(0, pageHeight_ - 5.0 * unitsPerMm_, width_, 5.0 * unitsPerMm_);
    painter_->setFont(footer);
    painter_->setPen(QPen(Qt::black, 0.2 * unitsPerMm_));
    painter_->drawLine(area.topLeft(), area.topRight());
    painter_->drawText(area, Qt::AlignLeft | Qt::AlignBottom, header_.title);
    painter_->drawText(area, Qt::AlignRight | Qt::AlignBottom,
                       QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount_));
}

QRectF ReportPage::reserve(double height)
{
    if (y_ + height > bottom_ && y_ > top_)
        newPage();
    const QRectF area(0, y_, width_, height);
    y_ += height;
    return area;
}

void ReportPage::skip(double mm)
{
    y_ = std::min(bottom_, y_ + mm * unitsPerMm_);
}

void ReportPage::heading(const QString &text, double keepWith)
{
    const QFont bold = font(11.0, true);
    const double h = QFontMetricsF(bold, &device_).height() + 1.5 * unitsPerMm_;
    if (y_ + h + keepWith > bottom_ && y_ > top_)
        newPage();
    const QRectF area = reserve(h);
    if (painter_) {
        painter_->setFont(bold);
        painter_->setPen(Qt::black);
        painter_->drawText(area, Qt::AlignLeft | Qt::AlignTop, text);
    }
}

void ReportPage::paragraph(const QString &text, bool bold)
{
    const QFont f = font(kBodyPoints, bold);
    const QRectF area = reserve(textHeight(f, text, width_));
    if (painter_) {
        painter_->setFont(f);
        painter_->setPen(Qt::black);
        painter_->drawText(area, Qt::TextWordWrap | Qt::AlignLeft, text);
    }
}

void ReportPage::table(const QStringList &headings, const QList<QStringList> &rows,
                       const QList<double> &shares)
{
    double total = 0.0;
    for (double share : shares)
        total += share;
    QList<double> widths;
    for (double share : shares)
        widths << width_ * share / total;
    const double pad = 1.0 * unitsPerMm_;
    // A figure never wraps ("33028074.37 %" over two lines reads as two figures): a column
    // narrower than its widest cell takes the room from the first, whose texts may wrap.
    const QFontMetricsF metrics(font(kBodyPoints), &device_);
    for (qsizetype c = 1; c < widths.size(); ++c) {
        double widest = 0.0;
        for (const QStringList &row : rows)
            widest = std::max(widest, metrics.horizontalAdvance(row.value(c)) + 2.5 * pad);
        if (widest > widths.at(c) && widths.at(0) - (widest - widths.at(c)) > width_ / 5) {
            widths[0] -= widest - widths.at(c);
            widths[c] = widest;
        }
    }

    auto drawRow = [&](const QStringList &cells, bool bold) {
        const QFont f = font(kBodyPoints, bold);
        double h = 0.0;
        for (qsizetype c = 0; c < widths.size(); ++c)
            h = std::max(h, textHeight(f, cells.value(c), widths.at(c) - 2 * pad));
        const QRectF area = reserve(h + pad);
        if (!painter_)
            return;
        painter_->setFont(f);
        painter_->setPen(Qt::black);
        double x = 0.0;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            const Qt::Alignment align = c == 0 ? Qt::AlignLeft : Qt::AlignRight;
            painter_->drawText(QRectF(x + pad, area.top(), widths.at(c) - 2 * pad, h),
                               Qt::TextWordWrap | align, cells.value(c));
            x += widths.at(c);
        }
        painter_->setPen(QPen(Qt::gray, 0.1 * unitsPerMm_));
        painter_->drawLine(QPointF(0, area.bottom()), QPointF(width_, area.bottom()));
    };
    drawRow(headings, true);
    for (const QStringList &row : rows) {
        // A table that breaks across pages repeats its heading row.
        if (heightLeft() < textHeight(font(kBodyPoints), QStringLiteral("X"), width_) + pad &&
            y_ > top_) {
            newPage();
            drawRow(headings, true);
        }
        drawRow(row, false);
    }
}
