#pragma once

// The real-time graph: the main window's level as a sweeping trace, one step to the right
// every 500 ms, on a scale and with a number of records across the plot that the limit
// panel sets. The trace is drawn into an image the window keeps, so it survives the window
// being covered and uncovered; nothing of it is stored beyond that, and every layout (a
// resize, new limits) clears it. The window closes itself when the meter's display leaves
// dBA mode. It never talks to the meter.

#include "realtime/RealTimeTrace.h"
#include "ui/MeterWindow.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>

class Dialogs;
class Meter;
class QAction;
class QFrame;
class QLineEdit;
class QPushButton;
class QRegion;
class QTimer;
class QToolBar;

class RealTimeGraph : public MeterWindow {
    Q_OBJECT
public:
    // levelText: the main window's level label (levelValue_) as it reads now.
    RealTimeGraph(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                  QWidget *parent = nullptr);

    // One tick (redrawTimer_, every 500 ms once laid out).
    void redraw();
    // The toolbar's commands.
    void showLimits();
    void printGraph();
    void exportPdf();
    // The limit panel's OK (also Enter in countsEdit_).
    void applyLimits();

    const RealTimeTrace &trace() const { return trace_; }
    // What has been drawn so far, without the texts (the window paints those over it).
    const QImage &canvas() const { return canvas_; }

    QToolBar *toolbar_ = nullptr;
    QAction *limitAction_ = nullptr;
    QAction *printAction_ = nullptr;
    QAction *pdfAction_ = nullptr;
    QFrame *limitsPanel_ = nullptr;
    QLineEdit *countsEdit_ = nullptr;
    QLineEdit *minimumEdit_ = nullptr;
    QLineEdit *maximumEdit_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QTimer *redrawTimer_ = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void windowClosing() override;

private:
    // Clears the plot and lays it out for the present size; hides the limit panel and
    // (re)starts the tick.
    void layoutPlot();
    // Draws into the image; returns the part of the window that changed.
    QRegion draw(const RealTimeTrace::Drawing &drawing);
    void placeOverlays();
    QSizeF measure(const QString &text) const;

    std::function<QString()> levelText_;
    QFont font_;
    RealTimeTrace trace_;
    QImage canvas_;
    QList<RealTimeTrace::Text> shownTexts_;
};
