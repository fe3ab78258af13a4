#pragma once

// The analog display: the main window's level on a round gauge from 68 to 140 dB, its
// needle set from the shared level value every 150 ms. It runs whatever the meter's
// display shows (outside dBA mode the needle follows whatever the level value holds) and
// never talks to the meter.

#include "ui/MeterWindow.h"

class Dialogs;
class Meter;
class QTimer;
class RoundGauge;

class AnalogWindow : public MeterWindow {
    Q_OBJECT
public:
    static constexpr double kScaleBottom = 68.0; // dB; also where the needle starts
    static constexpr double kScaleTop = 140.0;

    AnalogWindow(Meter &meter, Dialogs &dialogs, QWidget *parent = nullptr);

    // One tick (redrawTimer_, every 150 ms from the start).
    void redraw();

    RoundGauge *gauge_ = nullptr;
    QTimer *redrawTimer_ = nullptr;

protected:
    void windowClosing() override;
};
