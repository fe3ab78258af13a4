#pragma once

// The remote control panel: a replica of the meter's display, redrawn every 500 ms
// from the fields the main window's poll keeps current, and the meter's keys, which
// press the real keys remotely. It never reads the meter itself.

#include "main/ControlKeys.h"

#include "ui/MeterWindow.h"
#include <QString>

#include <functional>

class Dialogs;
class LcdReplica;
class Meter;
class QAction;
class QPushButton;
class QTimer;

class ControlPanel : public MeterWindow {
    Q_OBJECT
public:
    // mainValueText: the main window's value caption, which the digits mirror.
    ControlPanel(Meter &meter, Dialogs &dialogs, std::function<QString()> mainValueText,
                 QWidget *parent = nullptr);

    // The redraw, every 500 ms while the panel exists.
    void redraw();

    void pressMode();
    void pressEvent();
    void pressReset();
    void pressClock();
    void pressPause();
    void pressRun();
    void toggleKeypadLock();

    const PanelDisplay &display() const { return keys_.display(); }

    QPushButton *modeKey_ = nullptr;
    QPushButton *eventKey_ = nullptr;
    QPushButton *resetKey_ = nullptr;
    QPushButton *clockKey_ = nullptr;
    QPushButton *runKey_ = nullptr;
    QPushButton *pauseKey_ = nullptr;
    QAction *lockAction_ = nullptr;
    QTimer *redrawTimer_ = nullptr;
    LcdReplica *lcd_ = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *makeKey(const QString &name, const QString &caption);
    void pressKey(PanelKey key);

    std::function<QString()> mainValueText_;
    ControlKeys keys_;
};
