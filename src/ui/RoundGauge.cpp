#include "ui/RoundGauge.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStartAngle = 225.0; // degrees, counter-clockwise from 3 o'clock
constexpr double kSweep = 270.0;      // clockwise from the start

// The shared look: white card, grey border, dark marks; the needle in a red that stands
// out from all of them.
const QColor kFace(0xFF, 0xFF, 0xFF);
const QColor kRim(0xD5, 0xDB, 0xE1);
const QColor kMarks(0x1D, 0x27, 0x30);
const QColor kLabels(0x3C, 0x48, 0x54);
const QColor kUnit(0x5B, 0x67, 0x73);
const QColor kNeedle(0xD0, 0x31, 0x2D);

QPointF polar(QPointF centre, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

QFont sized(const QString &family, double pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(std::max(6, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

} // namespace

RoundGauge::RoundGauge(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RoundGauge::setScale(double minimum, double maximum, double major, double minor)
{
    minimum_ = minimum;
    maximum_ = std::max(maximum, minimum + 1e-9);
    major_ = std::max(major, 1e-9);
    minor_ = std::max(minor, 1e-9);
    dial_ = QPixmap();
    update();
}

void RoundGauge::setValue(double value)
{
    if (value == value_)
        return;
    value_ = value;
    update();
}

void RoundGauge::setUnit(const QString &unit)
{
    unit_ = unit;
    update();
}

double RoundGauge::needleValue() const
{
    return std::clamp(value_, minimum_, maximum_);
}

QString RoundGauge::valueText() const
{
    if (value_ < minimum_)
        return QStringLiteral("< ") + QString::number(minimum_, 'f', 1);
    if (value_ > maximum_)
        return QStringLiteral("> ") + QString::number(maximum_, 'f', 1);
    return QString::number(value_, 'f', 1);
}

double RoundGauge::needleAngle(double value) const
{
    const double held = std::clamp(value, minimum_, maximum_);
    return kStartAngle - kSweep * (held - minimum_) / (maximum_ - minimum_);
}

QSize RoundGauge::sizeHint() const
{
    return {300, 300};
}

QSize RoundGauge::minimumSizeHint() const
{
    return {160, 160};
}

void RoundGauge::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    dial_ = QPixmap();
}

void RoundGauge::paintDial(QPainter &p, double radius) const
{
    const QPointF c(width() / 2.0, height() / 2.0);
    p.setRenderHint(QPainter::Antialiasing);

    // Face and rim.
    p.setPen(QPen(kRim, std::max(1.0, radius * 0.02)));
    p.setBrush(kFace);
    p.drawEllipse(c, radius, radius);

    // The scale's arc, then the marks from it inwards.
    const double arc = radius * 0.88;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kMarks, std::max(1.0, radius * 0.012)));
    p.drawArc(QRectF(c.x() - arc, c.y() - arc, 2 * arc, 2 * arc), int(kStartAngle * 16),
              int(-kSweep * 16));
    const int steps = int(std::lround((maximum_ - minimum_) / minor_));
    const QPen majorPen(kMarks, std::max(1.5, radius * 0.028), Qt::SolidLine, Qt::FlatCap);
    const QPen minorPen(kMarks, std::max(1.0, radius * 0.012), Qt::SolidLine, Qt::FlatCap);
    const QFont labelFont = sized(QStringLiteral("DejaVu Sans"), radius * 0.12, true);
    p.setFont(labelFont);
    for (int i = 0; i <= steps; ++i) {
        const double v = minimum_ + i * minor_;
        const double angle = needleAngle(v);
        const double nearest = std::round(v / major_) * major_;
        const bool major = std::abs(v - nearest) < minor_ / 100;
        p.setPen(major ? majorPen : minorPen);
        p.drawLine(polar(c, arc, angle), polar(c, arc - radius * (major ? 0.14 : 0.07), angle));
        if (!major)
            continue;
        const QString label = QString::number(nearest, 'f', 0);
        const QPointF at = polar(c, radius * 0.62, angle);
        const double w = radius * 0.4;
        const double h = radius * 0.16;
        p.setPen(kLabels);
        p.drawText(QRectF(at.x() - w / 2, at.y() - h / 2, w, h), Qt::AlignCenter, label);
    }
}

void RoundGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const double radius = std::min(width(), height()) / 2.0 - 4.0;
    if (radius <= 0)
        return;
    const QPointF c(width() / 2.0, height() / 2.0);

    const qreal ratio = devicePixelRatioF();
    if (dial_.isNull() || dial_.devicePixelRatio() != ratio) {
        dial_ = QPixmap(size() * ratio);
        dial_.setDevicePixelRatio(ratio);
        dial_.fill(Qt::transparent);
        QPainter dial(&dial_);
        paintDial(dial, radius);
    }
    p.drawPixmap(0, 0, dial_);
    p.setRenderHint(QPainter::Antialiasing);

    // The number and the unit in the gap under the hub.
    // Between the scale's two end labels: a longer text ("< 68.0") is set smaller rather
    // than run into them.
    p.setPen(kMarks);
    QFont valueFont = sized(QStringLiteral("DejaVu Sans Mono"), radius * 0.17, true);
    const double widest = radius * 0.52;
    const double wide = QFontMetricsF(valueFont).horizontalAdvance(valueText());
    if (wide > widest)
        valueFont = sized(QStringLiteral("DejaVu Sans Mono"), radius * 0.17 * widest / wide, true);
    p.setFont(valueFont);
    p.drawText(QRectF(c.x() - radius * 0.6, c.y() + radius * 0.3, radius * 1.2, radius * 0.24),
               Qt::AlignCenter, valueText());
    if (!unit_.isEmpty()) {
        p.setPen(kUnit);
        p.setFont(sized(QStringLiteral("DejaVu Sans"), radius * 0.1, true));
        p.drawText(QRectF(c.x() - radius * 0.4, c.y() + radius * 0.54, radius * 0.8, radius * 0.16),
                   Qt::AlignCenter, unit_);
    }

    // The needle over everything, from a short tail behind the hub to near the marks.
    const double angle = needleAngle(value_);
    p.setPen(QPen(kNeedle, std::max(2.0, radius * 0.03), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(c, -radius * 0.12, angle), polar(c, radius * 0.8, angle));
    p.setPen(Qt::NoPen);
    p.setBrush(kMarks);
    p.drawEllipse(c, radius * 0.07, radius * 0.07);
}
