#pragma once

// A round gauge: a needle over a 270-degree scale with labelled major marks and minor marks
// between them, and the value as a number under the needle's hub. The needle stops at the
// ends of the scale; the number says when the value lies beyond them ("< 68.0"). It scales
// with the widget, so it reads at any size.

#include <QPixmap>
#include <QString>
#include <QWidget>

class RoundGauge : public QWidget {
    Q_OBJECT
public:
    explicit RoundGauge(QWidget *parent = nullptr);

    // The scale from `minimum` to `maximum`, major marks every `major` (at its multiples)
    // with labels, minor marks every `minor`.
    void setScale(double minimum, double maximum, double major, double minor);
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }

    // The value as given; the needle stands at needleValue().
    void setValue(double value);
    double value() const { return value_; }
    // The value held to the scale: below it the needle rests at the lower stop, above it
    // at the upper one.
    double needleValue() const;
    // The number under the hub: one decimal, "<" or ">" before the scale's end when the
    // value lies beyond it.
    QString valueText() const;
    // The unit under the number ("dBA").
    void setUnit(const QString &unit);

    // The needle's direction for a value, in degrees counter-clockwise from the 3 o'clock
    // position: the lower stop at 225 (bottom left), the middle of the scale at 90
    // (straight up), the upper stop at -45 (bottom right).
    double needleAngle(double value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintDial(QPainter &painter, double radius) const;

    double minimum_ = 0.0;
    double maximum_ = 100.0;
    double major_ = 10.0;
    double minor_ = 2.0;
    double value_ = 0.0;
    QString unit_;
    QPixmap dial_; // the face, marks and labels, drawn again only when the size changes
};
