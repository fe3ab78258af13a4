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

class SLmPanel : public MeterWindow {
    Q_OBJECT
public:
    // mainValueText: the main window's LblValue caption, which the digits mirror.
    SLmPanel(Meter &meter, Dialogs &dialogs, std::function<QString()> mainValueText,
             QWidget *parent = nullptr);

    // The redraw, every 500 ms while the panel exists.
    void Timer1_Timer();

    void CmdMode_Click();
    void CmdEvent_Click();
    void CmdReset_Click();
    void CmdTime_Click();
    void CmdPause_Click();
    void CmdRun_Click();
    void CmdLock_Click();

    const PanelDisplay &display() const { return keys_.display(); }

    QPushButton *CmdMode = nullptr;
    QPushButton *CmdEvent = nullptr;
    QPushButton *CmdReset = nullptr;
    QPushButton *CmdTime = nullptr;
    QPushButton *CmdRun = nullptr;
    QPushButton *CmdPause = nullptr;
    QAction *CmdLock = nullptr;
    QTimer *Timer1 = nullptr;
    LcdReplica *Lcd = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *makeKey(const QString &name, const QString &caption);
    void pressKey(PanelKey key);

    std::function<QString()> mainValueText_;
    ControlKeys keys_;
};
