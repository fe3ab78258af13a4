#include "realtime/RealTimeTrace.h"

#include "link/Decoders.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The area below the baseline: the horizontal axis 6 below it, the time labels from 10.
constexpr double kBelowBaseline = 27.0;
// The area above the plot: toolbar, "dBA" and the top ticks.
constexpr double kAbovePlot = 100.0 - kBelowBaseline;
// The plot's width is kept to a multiple of this, so that its quarters and eighths fall
// on whole pixels.
constexpr int kWidthGrain = 30;
constexpr double kOverTop = 5.0;    // an overload is drawn this far above the top edge
constexpr double kUnderBase = -3.0; // and under range this far below the baseline
constexpr double kLabelTop = 10.0;  // time labels stand this far below the baseline
constexpr double kLabelShift = 5.0; // and start this far left of their centring

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v)
{
    const double down = std::floor(v);
    const double diff = v - down;
    if (diff < 0.5)
        return down;
    if (diff > 0.5)
        return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

QString plainNumber(double v)
{
    return QString::number(v, 'g', 15);
}

} // namespace

RealTimeTrace::RealTimeTrace(Measure measure) : measure_(std::move(measure))
{
}

QSize RealTimeTrace::snapped(QSize client)
{
    return {std::max(client.width(), kMinimumWidth), std::max(client.height(), kMinimumHeight)};
}

RealTimeTrace::Op RealTimeTrace::line(QPointF from, QPointF to, Ink ink, int width, bool dotted)
{
    Op op;
    op.kind = Op::Kind::Line;
    op.line = QLineF(from, to);
    op.ink = ink;
    op.width = width;
    op.dotted = dotted;
    return op;
}

RealTimeTrace::Op RealTimeTrace::fill(QPointF corner, QPointF opposite, Ink ink)
{
    Op op;
    op.kind = Op::Kind::Fill;
    op.box = QRectF(corner, opposite).normalized();
    op.ink = ink;
    return op;
}

void RealTimeTrace::setSize(QSize client)
{
    const int across = std::max(0, client.width() - int(kX0));
    w_ = across - across % kWidthGrain;
    h_ = std::max(0.0, client.height() - kAbovePlot - kBelowBaseline);
    y0_ = client.height() - kBelowBaseline;
}

RealTimeTrace::Drawing RealTimeTrace::layout(QSize client)
{
    Drawing d;
    d.clear = true;
    setSize(client);
    const double x0 = kX0;

    // Axes, 2 wide.
    d.ops << line({x0 - 2, y0_ + 5}, {x0 - 2, y0_ - h_ - 5}, Ink::Black, 2);
    d.ops << line({x0 - 2, y0_ + 6}, {x0 + w_ + 2, y0_ + 6}, Ink::Black, 2);
    // Ticks at every sixteenth of the height, the even ones longer.
    for (int k = 0; k <= 16; ++k) {
        const double y = y0_ - h_ * k / 16.0;
        d.ops << line({x0 - 2, y}, {x0 - (k % 2 == 0 ? 10 : 7), y}, Ink::Black);
    }
    d.ops << fill({x0, y0_}, {x0 + w_, y0_ - h_}, Ink::White);

    texts_.clear();
    for (int k = 0; k <= 8; ++k) {
        const QString label = scaleLabel(minLevel_ + (maxLevel_ - minLevel_) * k / 8.0);
        const QSizeF size = measure_(label);
        const double centre = y0_ - h_ * k / 8.0;
        texts_ << Text{Text::Kind::Scale,
                       QRectF(x0 - 40 - size.width() / 4, centre - size.height() / 2, size.width(),
                              size.height()),
                       label};
    }
    const QString unit = QStringLiteral("dBA");
    texts_ << Text{Text::Kind::Unit, QRectF(QPointF(x0 - 40, y0_ - h_ - 40), measure_(unit)), unit};

    previous_.reset();
    x_ = -step_;
    return d;
}

double RealTimeTrace::plotHeight(const QString &levelText, double minLevel, double maxLevel,
                                 double height)
{
    if (levelText.contains(QLatin1String("OL")))
        return height + kOverTop;
    if (levelText.contains(QLatin1String("----")))
        return kUnderBase;
    const double v = leadingNumber(levelText);
    if (v > maxLevel)
        return height + kOverTop;
    if (v < minLevel)
        return kUnderBase;
    return (v - minLevel) / (maxLevel - minLevel) * height;
}

RealTimeTrace::Drawing RealTimeTrace::tick(const QString &levelText, const QTime &time)
{
    Drawing d;
    const double x0 = kX0;
    x_ += step_;
    if (x_ >= w_ + 2)
        x_ = 0;

    // Wipe the strip ahead of the pen. At the left edge the two columns before the pen
    // are wiped too: no later strip reaches them, and the previous sweeps' trace would
    // pile up there.
    const double wipeFrom = x_ == 0 ? x0 : x0 + x_ + 2;
    d.ops << fill({wipeFrom, y0_ + 3}, {x0 + x_ + 2 + step_, y0_ - h_ - 5}, Ink::White);

    // The grid across the whole width: solid through the middle, dotted at the eighths.
    d.ops << line({x0 - 2, y0_ - h_ / 2}, {x0 + w_ + 2, y0_ - h_ / 2}, Ink::Grid);
    for (const int eighth : {1, 7, 6, 5, 8, 3, 2}) {
        const double y = y0_ - h_ * eighth / 8.0;
        d.ops << line({x0, y}, {x0 + w_, y}, Ink::Grid, 1, true);
    }

    const double y = plotHeight(levelText, minLevel_, maxLevel_, h_);
    // Just after a wrap no line is drawn: the trace does not join the right edge to the left.
    if (previous_ && x_ != 0)
        d.ops << line(*previous_, {previous_->x() + step_, y0_ - y}, Ink::Black);
    previous_ = QPointF(x0 + x_, y0_ - y);

    const auto crosses = [this](double at) { return x_ <= at && at < x_ + step_; };
    if (x_ == 0 || crosses(w_ / 2)) {
        d.ops << line({x0 + x_, y0_}, {x0 + x_, y0_ - h_ - 10}, Ink::Grid, 1, true);
        timeLabel(d, x0 + x_, time);
    } else if (crosses(w_ / 4) || crosses(3 * w_ / 4)) {
        d.ops << line({x0 + x_, y0_ - 3.8 * h_ / 8}, {x0 + x_, y0_ - 4.2 * h_ / 8}, Ink::Grid);
    }
    return d;
}

void RealTimeTrace::timeLabel(Drawing &drawing, double at, const QTime &time)
{
    const QString text = time.toString(QStringLiteral("hh:mm:ss"));
    const QSizeF size = measure_(text);
    const QRectF where(at - kLabelShift - size.width() / 2, y0_ + kLabelTop, size.width(),
                       size.height());
    // The white box under the label covers the whole text, so that no part of an earlier
    // label shows through a later one at the same place.
    const QRectF box =
        where.united(QRectF(at - size.width() / 2, y0_ + kLabelTop, size.width(), 10.0));
    drawing.ops << fill(box.topLeft(), box.bottomRight(), Ink::White);
    texts_.removeIf(
        [&box](const Text &t) { return t.kind == Text::Kind::Time && t.rect.intersects(box); });
    texts_ << Text{Text::Kind::Time, where, text};
}

QString RealTimeTrace::scaleLabel(double value)
{
    QString text = plainNumber(value);
    if (!text.contains(QLatin1Char('.')))
        text += QLatin1String(".0");
    if (value >= 0)
        text.prepend(QLatin1Char(' '));
    return text;
}

QString RealTimeTrace::countsText() const
{
    if (step_ <= 0)
        return QString();
    return plainNumber(roundHalfEven(w_ / step_));
}

QString RealTimeTrace::maxText() const
{
    return plainNumber(maxLevel_);
}

QString RealTimeTrace::minText() const
{
    return plainNumber(minLevel_);
}

RealTimeTrace::Limits RealTimeTrace::applyLimits(const QString &maxText, const QString &minText,
                                                 const QString &countsText)
{
    const double top = leadingNumber(maxText);
    const double bottom = leadingNumber(minText);
    if (top > kScaleTop || bottom < kScaleBottom || top <= bottom)
        return Limits::ScaleRejected;
    maxLevel_ = top;
    minLevel_ = bottom;
    const double counts = leadingNumber(countsText);
    if (counts > kMostCounts || counts < kFewestCounts)
        return Limits::CountsRejected;
    step_ = w_ / counts;
    return Limits::Applied;
}
