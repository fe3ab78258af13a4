#pragma once

// The real-time graph's sweeping trace, drawn as a chart recorder that wraps around: the
// plot's geometry from the window's client size, the scale and record-count limits, and
// what each 500 ms tick draws (the wipe strip ahead of the pen, the grid, the segment to
// the new level, the time labels and the quarter marks). The trace itself is never kept:
// a tick says what to draw, the window draws it into its image and forgets it.
//
// Units are the window's logical pixels with y growing downwards. Heights of the plot are
// measured up from the baseline Y0, so a point at plot height y is drawn at Y0 - y.

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>

class RealTimeTrace {
public:
    // The three inks of the drawing: black, the grid's light grey, and white.
    enum class Ink { Black, Grid, White };

    // One drawing operation: a line (solid or dotted, 1 or 2 wide) or a filled box.
    struct Op {
        enum class Kind { Line, Fill };
        Kind kind = Kind::Line;
        QLineF line;
        QRectF box;
        Ink ink = Ink::Black;
        int width = 1;
        bool dotted = false;
    };

    // What one layout or one tick draws, in order. `clear`: the whole client area is
    // cleared to white first.
    struct Drawing {
        bool clear = false;
        QList<Op> ops;
    };

    // A text on the window: the scale labels, "dBA" and the time labels. `rect` is where
    // the text stands (its top left is where it starts).
    struct Text {
        enum class Kind { Scale, Unit, Time };
        Kind kind = Kind::Scale;
        QRectF rect;
        QString text;
        bool operator==(const Text &) const = default;
    };

    // The outcome of applying the limit panel's entries.
    enum class Limits {
        Applied,        // scale and count stored; the caller lays the plot out again
        ScaleRejected,  // the caller says kScaleRejected; nothing stored
        CountsRejected, // the caller says kCountsRejected; the scale is stored, the count not
    };

    static constexpr double kX0 = 60.0;        // left edge of the plot
    static constexpr int kMinimumWidth = 357;  // the window's client area is never narrower
    static constexpr int kMinimumHeight = 391; // nor lower
    static constexpr double kScaleTop = 140.0; // dB; the scale's bounds
    static constexpr double kScaleBottom = 68.0;
    static constexpr int kFewestCounts = 10; // records across the plot
    static constexpr int kMostCounts = 864000;
    inline static const QString kScaleRejected = QStringLiteral("68 <= dBA <= 140, try again!");
    inline static const QString kCountsRejected =
        QStringLiteral("10 <= Counts <= 864000, try again!");

    // measure: the width and height of a text in the window's font.
    using Measure = std::function<QSizeF(const QString &)>;
    explicit RealTimeTrace(Measure measure);

    // The window's client size, enlarged to the minimum where it is smaller.
    static QSize snapped(QSize client);

    // Lays the plot out for a client area of `client`: axes, ticks, scale labels, the white
    // plot, "dBA"; the sweep starts again at the left edge. Clears the plot.
    Drawing layout(QSize client);

    // One tick with the main window's level text and the time of day. Returns what to draw.
    Drawing tick(const QString &levelText, const QTime &time);

    // The height above the baseline at which a level text is plotted on a scale of
    // [minLevel, maxLevel] and a plot `height` high: 5 above the top for an overload ("OL"
    // in the text) or a level above the scale, 3 below the baseline for under range
    // ("----") or a level below it; a text with no number reads as 0.
    static double plotHeight(const QString &levelText, double minLevel, double maxLevel,
                             double height);

    // A scale label: the number with a leading blank when not negative and ".0" when it
    // has no decimal point (68 -> " 68.0", 86.5 -> " 86.5").
    static QString scaleLabel(double value);

    // The limit panel's entries for the present state: records (W / step rounded to the
    // nearest whole number, a half to the even neighbour), maximum and minimum level.
    QString countsText() const;
    QString maxText() const;
    QString minText() const;

    // Applies the limit panel's entries (each read as its leading number).
    Limits applyLimits(const QString &maxText, const QString &minText, const QString &countsText);

    // The texts on the window now: the scale labels and "dBA" of the last layout and the
    // time labels drawn since, a newer label taking the place of those it covers.
    const QList<Text> &texts() const { return texts_; }

    double maxLevel() const { return maxLevel_; }
    double minLevel() const { return minLevel_; }
    double step() const { return step_; }
    double x() const { return x_; }
    double X0() const { return kX0; }
    double Y0() const { return y0_; }
    double W() const { return w_; }
    double H() const { return h_; }
    // The last point plotted, in window coordinates; none after a layout.
    std::optional<QPointF> previousPoint() const { return previous_; }

private:
    static Op line(QPointF from, QPointF to, Ink ink, int width = 1, bool dotted = false);
    static Op fill(QPointF corner, QPointF opposite, Ink ink);
    void setSize(QSize client);
    void timeLabel(Drawing &drawing, double at, const QTime &time);

    Measure measure_;
    double maxLevel_ = kScaleTop;
    double minLevel_ = kScaleBottom;
    double step_ = 1.0;
    double y0_ = 0.0;
    double w_ = 0.0;
    double h_ = 0.0;
    double x_ = -1.0;
    std::optional<QPointF> previous_;
    QList<Text> texts_;
};
