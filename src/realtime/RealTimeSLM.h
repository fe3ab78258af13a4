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

class RealTimeSLM : public MeterWindow {
    Q_OBJECT
public:
    // levelText: the main window's level label (LblValue) as it reads now.
    RealTimeSLM(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                QWidget *parent = nullptr);

    // One tick (Timer1, every 500 ms once laid out).
    void Timer1_Timer();
    // The toolbar's commands.
    void Limit_Click();
    void Print_Click();
    void Pdf_Click();
    // The limit panel's OK (also Enter in TxtCounts).
    void CmdOK_Click();

    const RealTimeTrace &trace() const { return trace_; }
    // What has been drawn so far, without the texts (the window paints those over it).
    const QImage &canvas() const { return canvas_; }

    QToolBar *Toolbar1 = nullptr;
    QAction *Limit = nullptr;
    QAction *Print = nullptr;
    QAction *Pdf = nullptr;
    QFrame *PMessage = nullptr;
    QLineEdit *TxtCounts = nullptr;
    QLineEdit *TxtMin = nullptr;
    QLineEdit *TxtMax = nullptr;
    QPushButton *CmdOK = nullptr;
    QTimer *Timer1 = nullptr;

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
