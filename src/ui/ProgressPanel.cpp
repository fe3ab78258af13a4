#include "ui/ProgressPanel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

ProgressPanel::ProgressPanel(const QString &caption, QWidget *parent)
    : QFrame(parent), caption_(caption)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ProgressPanel::setCaption(const QString &caption)
{
    caption_ = caption;
    update();
}

void ProgressPanel::setFillVisible(bool visible)
{
    fillVisible_ = visible;
    if (!visible)
        percent_ = 0.0;
    update();
}

void ProgressPanel::setPercent(double percent)
{
    const double clamped = std::clamp(percent, 0.0, 100.0);
    const bool step = std::floor(clamped) != std::floor(percent_);
    percent_ = clamped;
    if (fillVisible_ && step && isVisible())
        repaint();
    else
        update();
}

QSize ProgressPanel::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(caption_) + 24, fm.height() + 10};
}

QSize ProgressPanel::minimumSizeHint() const
{
    return {40, fontMetrics().height() + 10};
}

void ProgressPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect().adjusted(2, 2, -2, -2);
    if (!fillVisible_) {
        painter.drawText(inner, Qt::AlignCenter, caption_);
        return;
    }
    QRect filled = inner;
    filled.setWidth(int(std::lround(inner.width() * percent_ / 100.0)));
    painter.fillRect(filled, palette().color(QPalette::Highlight));
    const QString text = QString::number(int(std::floor(percent_))) + QLatin1Char('%');
    // The text reads in the highlight colour over the fill and normally beside it.
    painter.setClipRect(filled);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setClipRect(inner.adjusted(filled.width(), 0, 0, 0));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inner, Qt::AlignCenter, text);
}
