#pragma once

// The setup window ("Setup"): the meter's criterion level, threshold level, exchange
// rate, clock and time weighting, preset from the meter's state as last read and the
// computer's clock. OK runs the setup sequence (SetupSequence), which presses the meter's
// keys and reads its display back, setting by setting; it can take minutes. Meanwhile
// PicSet shows "Setting up", a moving bar and the setting being adjusted, and OK and the
// choices are disabled. On success the window closes; on failure it stays open with the
// user's choices and says what failed. Closing the window ends the run.

#include "config/SetupSequence.h"
#include "ui/MeterWindow.h"

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

class Setup : public MeterWindow {
    Q_OBJECT
public:
    // thresholdCaption: the main window's threshold label, which presets Combo.
    Setup(Meter &meter, Dialogs &dialogs, std::function<QString()> thresholdCaption,
          QWidget *parent = nullptr);
    ~Setup() override;

    void CmdOK_Click();
    // Moves the bar: back to 0 from 100, then one step on.
    void Timer1_Timer();

    bool running() const { return state_ == State::Running; }

    // Controls, named as the program's documentation names them; arrays by their index
    // (objectNames "Opttw0", "OptCL2", "TimeText1", ...). TimeText[0] is not used.
    std::array<QRadioButton *, 2> Opttw{}; // 0 "Fast", 1 "Slow"
    std::array<QRadioButton *, 4> OptCL{}; // "80", "84", "85", "90"
    std::array<QRadioButton *, 4> OptER{}; // "3", "4", "5", "6"
    QComboBox *Combo = nullptr;
    std::array<QComboBox *, 6> TimeText{}; // 1 year, 2 month, 3 day, 4 hour, 5 minute
    QPushButton *CmdOK = nullptr;
    QFrame *PicSet = nullptr;
    QLabel *LblSettingUp = nullptr;
    QProgressBar *Bar = nullptr;
    QLabel *LblStep = nullptr;   // the setting being adjusted
    QLabel *LblResult = nullptr; // what failed, after a failed run
    QTimer *Timer1 = nullptr;

protected:
    void windowClosing() override;

private:
    enum class State { Idle, Running };
    void setState(State state);
    // Stops the bar, hides PicSet and gives the mouse pointer back.
    void endProgress();
    void buildControls();
    void preset();
    // The choice of the controls; nullopt (with the offending box focused) when a box
    // holds what the meter cannot be set to.
    std::optional<SetupChoice> choice();

    std::function<QString()> thresholdCaption_;
    SetupSequence sequence_;
    State state_ = State::Idle;
    bool waitCursor_ = false;
};
