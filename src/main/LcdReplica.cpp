#include "main/LcdReplica.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

// Everything is drawn in these design units and scaled to the widget, so the replica
// keeps its proportions at any size and screen scaling.
constexpr double kWidth = 480.0;
constexpr double kHeight = 200.0;

const QColor kGlassTop(0xcb, 0xd5, 0xc3);
const QColor kGlassBottom(0xb4, 0xc0, 0xab);
const QColor kInk(0x18, 0x23, 0x1d);
// Unlit segments and symbols stay faintly visible, as on a real liquid-crystal glass.
const QColor kGhost(0x18, 0x23, 0x1d, 10);

// Digits: four cells of a seven-segment font, slanted like the meter's.
constexpr double kDigitW = 50.0;
constexpr double kDigitH = 96.0;
constexpr double kSegment = 10.0; // stroke thickness
constexpr double kSegmentGap = 1.3;
constexpr double kSlant = 0.07; // horizontal shift per unit of height
constexpr double kDigitTop = 50.0;
constexpr std::array<double, 4> kDigitX{104.0, 170.0, 252.0, 318.0};

// Bar graph: 35 segments of 2 dB from 70 to 140 dB.
constexpr double kBarX = 22.0;
constexpr double kBarW = 13.0;
constexpr double kBarTop = 24.0;
constexpr double kBarBottom = 180.0;
constexpr double kBarFromDb = 70.0;
constexpr double kBarToDb = 140.0;
constexpr double kBarStepDb = 2.0;

// The colour of an item on a layer, or nothing to draw there: the glass layer holds
// every segment and symbol unlit, the lit layer only what is lit now.
std::optional<QColor> ink(LcdLayer layer, bool on)
{
    if (layer == LcdLayer::Glass)
        return kGhost;
    if (on)
        return kInk;
    return std::nullopt;
}

// Printing that is always there (the bar graph's scale) belongs to the glass.
std::optional<QColor> printed(LcdLayer layer)
{
    if (layer == LcdLayer::Glass)
        return kInk;
    return std::nullopt;
}

QFont lcdFont(double pixelSize, int weight = QFont::Bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setWeight(QFont::Weight(weight));
    return font;
}

// Segments a..g as bits 0..6.
quint8 segmentsFor(QChar c)
{
    static const QHash<QChar, quint8> map{
        {'0', 0x3F}, {'1', 0x06}, {'2', 0x5B}, {'3', 0x4F}, {'4', 0x66}, {'5', 0x6D},
        {'6', 0x7D}, {'7', 0x07}, {'8', 0x7F}, {'9', 0x6F}, {'-', 0x40}, {'O', 0x3F},
        {'o', 0x5C}, {'L', 0x38}, {'E', 0x79}, {'A', 0x77}, {'b', 0x7C}, {'C', 0x39},
        {'c', 0x58}, {'d', 0x5E}, {'F', 0x71}, {'H', 0x76}, {'P', 0x73}, {'r', 0x50},
        {'n', 0x54}, {'U', 0x3E}, {'u', 0x1C}, {'t', 0x78}, {'_', 0x08},
    };
    return map.value(c, 0);
}

// One segment with pointed ends, in a digit cell of kDigitW x kDigitH.
QPolygonF segmentPolygon(int segment)
{
    constexpr double w = kDigitW, h = kDigitH, t = kSegment, g = kSegmentGap, ht = t / 2;
    auto horizontal = [&](double y) {
        const double x0 = ht + g, x1 = w - ht - g;
        return QPolygonF{{x0, y}, {x0 + ht, y - ht}, {x1 - ht, y - ht},
                         {x1, y}, {x1 - ht, y + ht}, {x0 + ht, y + ht}};
    };
    auto vertical = [&](double x, double y0, double y1) {
        return QPolygonF{{x, y0}, {x + ht, y0 + ht}, {x + ht, y1 - ht},
                         {x, y1}, {x - ht, y1 - ht}, {x - ht, y0 + ht}};
    };
    switch (segment) {
    case 0:
        return horizontal(ht);
    case 1:
        return vertical(w - ht, ht + g, h / 2 - g);
    case 2:
        return vertical(w - ht, h / 2 + g, h - ht - g);
    case 3:
        return horizontal(h - ht);
    case 4:
        return vertical(ht, h / 2 + g, h - ht - g);
    case 5:
        return vertical(ht, ht + g, h / 2 - g);
    default:
        return horizontal(h / 2);
    }
}

// Maps a point of a digit cell at height y to the slanted display.
QTransform slanted(double x, double y)
{
    // Shear about the bottom line of the digits, so the slant leans to the right.
    QTransform t;
    t.translate(x + kSlant * kDigitH, y);
    t.shear(-kSlant, 0.0);
    return t;
}

void fillPolygon(QPainter &p, const QPolygonF &polygon, const QColor &color)
{
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    p.fillPath(path, color);
}

void drawText(QPainter &p, const QRectF &box, const QString &text, double size,
              std::optional<QColor> color, Qt::Alignment align = Qt::AlignCenter)
{
    if (!color)
        return;
    p.setFont(lcdFont(size));
    p.setPen(*color);
    p.drawText(box, align, text);
}

void fillPolygon(QPainter &p, const QPolygonF &polygon, std::optional<QColor> color)
{
    if (color)
        fillPolygon(p, polygon, *color);
}

void fillRect(QPainter &p, const QRectF &rect, std::optional<QColor> color)
{
    if (color)
        p.fillRect(rect, *color);
}

} // namespace

LcdReplica::LcdReplica(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void LcdReplica::setDisplay(const PanelDisplay &display)
{
    // Most redraws show what is already there; painting costs more than comparing.
    if (display == display_)
        return;
    display_ = display;
    update();
}

QString LcdReplica::glyphs(const QString &valueText)
{
    QString shown;
    for (qsizetype i = 0; i < valueText.size(); ++i) {
        const QChar c = valueText.at(i);
        if (c == '.' || c == ':')
            continue;
        // A dash between two digits separates the fields of a date; under range is
        // a row of dashes and stays in the digits.
        if (c == '-' && i > 0 && i + 1 < valueText.size() && valueText.at(i - 1).isDigit() &&
            valueText.at(i + 1).isDigit())
            continue;
        shown += c;
    }
    if (shown.size() > 4)
        shown = shown.right(4);
    return shown.rightJustified(4, ' ');
}

QSize LcdReplica::sizeHint() const
{
    return QSize(int(kWidth), int(kHeight));
}

QSize LcdReplica::minimumSizeHint() const
{
    return QSize(int(kWidth * 0.6), int(kHeight * 0.6));
}

int LcdReplica::heightForWidth(int width) const
{
    return int(std::lround(width * kHeight / kWidth));
}

void LcdReplica::paintEvent(QPaintEvent *)
{
    // The glass with every segment unlit is painted once per size; each redraw only
    // adds what is lit. The display changes twice a second for hours on end.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (glass_.size() != pixels || glass_.devicePixelRatio() != ratio) {
        glass_ = QPixmap(pixels);
        glass_.setDevicePixelRatio(ratio);
        glass_.fill(Qt::transparent);
        QPainter g(&glass_);
        paintLayer(g, LcdLayer::Glass);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, glass_);
    paintLayer(p, LcdLayer::Lit);
}

void LcdReplica::paintLayer(QPainter &p, LcdLayer layer)
{
    layer_ = layer;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = std::min(width() / kWidth, height() / kHeight);

    // The glass fills the widget; what is printed on it keeps its proportions, centred.
    if (layer == LcdLayer::Glass)
        paintPanel(p, scale);
    p.translate((width() - kWidth * scale) / 2, (height() - kHeight * scale) / 2);
    p.scale(scale, scale);
    paintBarGraph(p);
    paintDigits(p);
    paintAnnunciators(p);
    paintBattery(p);
}

void LcdReplica::paintPanel(QPainter &p, double scale) const
{
    const QRectF glass = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(glass.topLeft(), glass.bottomLeft());
    fill.setColorAt(0.0, kGlassTop);
    fill.setColorAt(1.0, kGlassBottom);
    QPainterPath outline;
    outline.addRoundedRect(glass, 10 * scale, 10 * scale);
    p.fillPath(outline, fill);

    // The glass sits below the housing's edge: a soft shade along its top and left.
    p.save();
    p.setClipPath(outline);
    const double shade = 10 * scale;
    QLinearGradient top(0, 0, 0, shade);
    top.setColorAt(0.0, QColor(0, 0, 0, 55));
    top.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, width(), shade), top);
    QLinearGradient left(0, 0, shade * 0.7, 0);
    left.setColorAt(0.0, QColor(0, 0, 0, 35));
    left.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, shade * 0.7, height()), left);
    p.restore();

    p.setPen(QPen(QColor(0x6f, 0x7a, 0x69), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}

void LcdReplica::paintBarGraph(QPainter &p) const
{
    const int segments = int((kBarToDb - kBarFromDb) / kBarStepDb);
    const double pitch = (kBarBottom - kBarTop) / segments;
    const double level = display_.barLevelDb;
    for (int i = 0; i < segments; ++i) {
        // Segment i stands for kBarFromDb + 2i .. + 2 dB and lights once the level
        // passes its lower edge; overload (140 dB) lights them all.
        const bool lit = display_.barShown && level > kBarFromDb + i * kBarStepDb;
        const double bottom = kBarBottom - i * pitch;
        const QRectF segment(kBarX, bottom - pitch + 0.7, kBarW, pitch - 1.4);
        fillRect(p, segment, ink(layer_, lit));
    }

    // Scale: a tick and a number every 10 dB, 140 at the top.
    const std::optional<QColor> scale = printed(layer_);
    if (!scale)
        return;
    for (int db = int(kBarToDb); db >= int(kBarFromDb); db -= 10) {
        const double y =
            kBarBottom - (db - kBarFromDb) / (kBarToDb - kBarFromDb) * (kBarBottom - kBarTop);
        p.setPen(QPen(*scale, 1.2));
        p.drawLine(QPointF(kBarX + kBarW + 2, y), QPointF(kBarX + kBarW + 6, y));
        drawText(p, QRectF(kBarX + kBarW + 8, y - 7, 30, 14), QString::number(db), 11.0, scale,
                 Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void LcdReplica::paintDigits(QPainter &p) const
{
    const QString shown = glyphs(display_.value);
    for (int i = 0; i < 4; ++i) {
        const quint8 lit = segmentsFor(shown.at(i));
        p.save();
        p.setTransform(slanted(kDigitX[size_t(i)], kDigitTop), true);
        for (int s = 0; s < 7; ++s)
            fillPolygon(p, segmentPolygon(s), ink(layer_, lit & (1 << s)));
        p.restore();
    }

    // Points, colon and dash live between the digits, on the same slant.
    const double dot = kSegment * 1.05;
    p.save();
    p.setTransform(slanted(0.0, kDigitTop), true);
    const double gap23 = (kDigitX[1] + kDigitW + kDigitX[2]) / 2; // between digits 2 and 3
    const double gap34 = (kDigitX[2] + kDigitW + kDigitX[3]) / 2; // between digits 3 and 4
    fillRect(p, QRectF(gap34 - dot / 2, kDigitH - dot, dot, dot), ink(layer_, display_.point1));
    fillRect(p, QRectF(gap23 - dot / 2 - 6, kDigitH - dot, dot, dot), ink(layer_, display_.point2));
    for (const double y : {kDigitH * 0.30, kDigitH * 0.70})
        fillRect(p, QRectF(gap23 + 4 - dot / 2, y - dot / 2, dot, dot),
                 ink(layer_, display_.colon));
    fillRect(p, QRectF(gap23 + 4 - 9, kDigitH / 2 - kSegment / 2 + 0.5, 18, kSegment - 1),
             ink(layer_, display_.dash));
    p.restore();
}

void LcdReplica::paintAnnunciators(QPainter &p) const
{
    const PanelDisplay &d = display_;
    const double rowY = 14.0, rowH = 22.0;

    // Run symbol: a play triangle.
    const double rx = 104.0;
    fillPolygon(p, QPolygonF{{rx, rowY + 3}, {rx + 15, rowY + rowH / 2}, {rx, rowY + rowH - 3}},
                ink(layer_, d.runMark));

    drawText(p, QRectF(128, rowY, 62, rowH), QStringLiteral("PAUSE"), 15.0,
             ink(layer_, d.pauseMark));
    drawText(p, QRectF(196, rowY, 46, rowH), QStringLiteral("MEM"), 15.0, ink(layer_, d.memMark));
    drawText(p, QRectF(246, rowY, 30, rowH), QStringLiteral("PK"), 15.0, ink(layer_, d.peakMark));

    // Loudness symbol: a loudspeaker with two sound waves.
    {
        if (const std::optional<QColor> c = ink(layer_, d.loudMark)) {
            const double x = 286.0, cy = rowY + rowH / 2;
            fillPolygon(p,
                        QPolygonF{{x, cy - 4},
                                  {x + 5, cy - 4},
                                  {x + 12, cy - 10},
                                  {x + 12, cy + 10},
                                  {x + 5, cy + 4},
                                  {x, cy + 4}},
                        *c);
            p.setPen(QPen(*c, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(x + 8, cy - 7, 14, 14), -50 * 16, 100 * 16);
            p.drawArc(QRectF(x + 8, cy - 12, 24, 24), -50 * 16, 100 * 16);
        }
    }

    // Event bank: its number in a frame; the frame stays as a ghost when there is none.
    {
        const bool on = d.bankVisible && !d.bank.isEmpty();
        const QRectF frame(330, rowY + 1, 40, rowH - 2);
        if (const std::optional<QColor> c = ink(layer_, on)) {
            p.setPen(QPen(*c, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(frame, 3, 3);
        }
        drawText(p, frame, on ? d.bank : QStringLiteral("E8"), 15.0, ink(layer_, on));
    }

    // Keypad lock: a padlock.
    {
        if (const std::optional<QColor> c = ink(layer_, d.keysLocked)) {
            const QRectF body(384, rowY + 9, 15, 11);
            p.setPen(QPen(*c, 2.2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(body.left() + 3, rowY + 2, body.width() - 6, 14), 0, 180 * 16);
            p.drawLine(QPointF(body.left() + 3, rowY + 9), QPointF(body.left() + 3, body.top()));
            p.drawLine(QPointF(body.right() - 3, rowY + 9), QPointF(body.right() - 3, body.top()));
            QPainterPath lock;
            lock.addRoundedRect(body, 2, 2);
            p.fillPath(lock, *c);
        }
    }

    // Units and the time mark, right of the digits.
    const double ux = 388.0;
    drawText(p, QRectF(ux, 50, 80, 20), QStringLiteral("TIME"), 15.0, ink(layer_, d.timeMark),
             Qt::AlignLeft | Qt::AlignVCenter);
    drawText(p, QRectF(ux, 82, 84, 34), QStringLiteral("dBA"), 30.0, ink(layer_, d.dbaMark),
             Qt::AlignLeft | Qt::AlignVCenter);
    drawText(p, QRectF(ux, 122, 84, 24), QStringLiteral("%DOSE"), 18.0, ink(layer_, d.doseMark),
             Qt::AlignLeft | Qt::AlignVCenter);

    // Time weighting, under the digits.
    const double by = 166.0;
    drawText(p, QRectF(104, by, 52, 20), QStringLiteral("FAST"), 14.0, ink(layer_, d.fastMark),
             Qt::AlignLeft | Qt::AlignVCenter);
    drawText(p, QRectF(160, by, 52, 20), QStringLiteral("SLOW"), 14.0, ink(layer_, d.slowMark),
             Qt::AlignLeft | Qt::AlignVCenter);
}

void LcdReplica::paintBattery(QPainter &p) const
{
    const PanelDisplay &d = display_;
    const QRectF body(412, 17, 40, 17);
    if (const std::optional<QColor> outline = ink(layer_, d.battery[0])) {
        p.setPen(QPen(*outline, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body, 2.5, 2.5);
        p.fillRect(QRectF(body.right() + 1, body.center().y() - 3.5, 3.5, 7), *outline);
    }

    // Five bars; image k lights the first k.
    const int lit = d.batteryImage();
    const double inner = body.width() - 6, pitch = inner / 5;
    for (int bar = 0; bar < 5; ++bar) {
        const QRectF r(body.left() + 3 + bar * pitch + 0.6, body.top() + 3, pitch - 1.8,
                       body.height() - 6);
        fillRect(p, r, ink(layer_, bar < lit));
    }
}
