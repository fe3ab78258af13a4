#pragma once

// The digital display: the main window's level text in large type with "dBA", copied
// from the main window's level label every 150 ms. The type grows and shrinks with the
// window. It runs whatever the meter's display shows and never talks to the meter.

#include "ui/MeterWindow.h"

#include <QString>

#include <functional>

class Dialogs;
class Meter;
class QFrame;
class QLabel;
class QTimer;

class DigitalWindow : public MeterWindow {
    Q_OBJECT
public:
    // levelText: the main window's level label (levelValue_) as it reads now.
    DigitalWindow(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                  QWidget *parent = nullptr);

    // One tick (redrawTimer_, every 150 ms from the start).
    void redraw();

    QLabel *levelValue_ = nullptr;
    QLabel *unitLabel_ = nullptr;
    QTimer *redrawTimer_ = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void windowClosing() override;

private:
    // Sizes the type so that the widest reading fits the window.
    void fitText();

    std::function<QString()> levelText_;
    QFrame *readout_ = nullptr;
};
