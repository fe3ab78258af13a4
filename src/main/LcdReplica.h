#pragma once

// A painted copy of the meter's liquid-crystal display: four seven-segment digits with
// their points, colon and dash, the annunciators, the event bank, the battery gauge and
// the bar graph. It shows a PanelDisplay and holds no logic of its own.

#include "main/ControlKeys.h"

#include <QPixmap>
#include <QWidget>

class QPainter;

// The two layers of the replica: the glass with every segment and symbol unlit, which
// never changes, and what is lit now, drawn over it.
enum class LcdLayer { Glass, Lit };

class LcdReplica : public QWidget {
    Q_OBJECT
public:
    explicit LcdReplica(QWidget *parent = nullptr);

    void setDisplay(const PanelDisplay &display);
    const PanelDisplay &display() const { return display_; }

    // The four characters the digits show for a value text, right-aligned: points and
    // the colon are symbols of their own, and so is a dash between two digits (a date).
    // " 94.5" -> " 945", "8:30" -> " 830", "11-30" -> "1130", "----" stays.
    static QString glyphs(const QString &valueText);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintLayer(QPainter &p, LcdLayer layer);
    void paintPanel(QPainter &p, double scale) const;
    void paintBarGraph(QPainter &p) const;
    void paintDigits(QPainter &p) const;
    void paintAnnunciators(QPainter &p) const;
    void paintBattery(QPainter &p) const;

    PanelDisplay display_;
    LcdLayer layer_ = LcdLayer::Lit;
    QPixmap glass_;
};
