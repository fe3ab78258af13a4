#pragma once

// The main window: owns the meter link for the life of the program, polls the meter's
// display four times a second, shows the level, the settings, the maximum and the
// minimum, and opens every other window.

#include "data/Memory.h"
#include "link/Meter.h"
#include "main/LiveDisplay.h"
#include "main/Poller.h"
#include "main/RegisterConsole.h"
#include "main/SLmPanel.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>

class Dialogs;
struct AppState;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class Panel : public QMainWindow, public PollControl {
    Q_OBJECT
public:
    Panel(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~Panel() override;

    // The load step: opens the port. On failure shows "No device available !" and
    // returns false; the caller ends the program.
    bool Form_Load();
    // One poll (Timer1, every 250 ms). A tick while the previous one waits is skipped.
    void Timer1_Timer();

    // The poll timer, for command sequences of other windows.
    void setPollEnabled(bool enabled) override;
    bool pollEnabled() const override { return Timer1.isActive(); }

    // The remote control panel: created on first use, shown beside this window.
    void showControlPanel();
    SLmPanel *controlPanel() const { return controlPanel_; }

    // The dBA prompt of the commands that need the level: asks "Not dBA mode,
    // continue? " outside dBA mode, runs the switch on OK, waits 0.2 s after either
    // answer; then opens the window whatever the answer.
    void openWithDbaPrompt(const std::function<void()> &open);
    // Shows a window once: while `flag` is set nothing happens; the window clears it
    // when it is destroyed.
    void openOnce(bool &flag, const std::function<QWidget *()> &create);

    Meter &meter() { return meter_; }

    // Controls, named as the program's documentation names them.
    QLabel *LblValue, *LblUnit, *LblMin, *LblMax;
    QLabel *LblTimeWeighting, *LblExchangeRate, *LblCriterion, *LblThreshold, *LblRange;
    QLabel *LblTime, *SSPanel22, *SSPanel3, *LblRecording, *LblCount, *LblSample, *LblPC;
    QLabel *LblCOM, *ResetLbl, *LblReset;
    QPushButton *CmdMemory, *CmdAvg, *CmdGraph, *CmdEvent, *cmdList, *CmdReset, *CmdSample;
    QPushButton *CmdRead, *CmdWrite;
    QLineEdit *TxtRAdd, *TxtRData, *TxtWAdd, *TxtWData;
    QMenu *MnuFile, *MnuDisplay, *MnuOption;
    QAction *MnuOpen, *MnuStartRec, *MnuStopRec, *MnuView, *MnuExit;
    QAction *MnuList, *MnuGraph, *MnuAnalog, *MnuDigital, *MnuPanel, *MnuEvents, *MnuJob;
    QAction *MnuTwa, *MnuOnes, *MnuSetmode, *MnuVersion;
    QTimer Timer1;

    // The explanation shown by Option > TWA.
    static QString twaExplanation();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void CmdReset_Click();
    void CmdEvent_Click();
    void CmdMemory_Click();
    void CmdRead_Click();
    void CmdWrite_Click();
    void MnuTwa_Click();
    void MnuExit_Click();
    void showSettings();

    Meter &meter_;
    AppState &state_;
    Dialogs &dialogs_;
    Poller poller_;
    RegisterConsole console_;
    MaxMin maxMin_;
    QPointer<SLmPanel> controlPanel_;
    QPointer<Memory> memory_;
    bool closing_ = false;
};
