#pragma once

// The setup window ("Setup"): the meter's criterion level, threshold level, exchange
// rate, clock and time weighting, preset from the meter's state as last read and the
// computer's clock. OK runs the setup sequence (SetupSequence), which presses the meter's
// keys and reads its display back, setting by setting; it can take minutes. Meanwhile
// progressPanel_ shows "Setting up", a moving bar and the setting being adjusted, and OK and the
// choices are disabled. On success the window closes; on failure it stays open with the
// user's choices and says what failed. Closing the window ends the run.
//
// The clock fields follow the computer's clock (clockTimer_) until the user edits one; at
// OK every field the user has not edited takes the computer's time, so a window left open
// for minutes never sets the meter's clock to the time it was opened.

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

class SetupWindow : public MeterWindow {
    Q_OBJECT
public:
    // thresholdCaption: the main window's threshold label, which presets thresholdChoice_.
    SetupWindow(Meter &meter, Dialogs &dialogs, std::function<QString()> thresholdCaption,
                QWidget *parent = nullptr);
    ~SetupWindow() override;

    void applySetup();
    // Moves the bar: back to 0 from 100, then one step on.
    void advanceProgress();

    bool running() const { return state_ == State::Running; }

    // Controls; an array's objectNames carry the index ("responseButton0",
    // "criterionButton2", "clockField1", ...). clockFields_[0] is not used.
    std::array<QRadioButton *, 2> responseButtons_{};     // 0 "Fast", 1 "Slow"
    std::array<QRadioButton *, 4> criterionButtons_{};    // "80", "84", "85", "90"
    std::array<QRadioButton *, 4> exchangeRateButtons_{}; // "3", "4", "5", "6"
    QComboBox *thresholdChoice_ = nullptr;
    std::array<QComboBox *, 6> clockFields_{}; // 1 year, 2 month, 3 day, 4 hour, 5 minute
    QPushButton *okButton_ = nullptr;
    QFrame *progressPanel_ = nullptr;
    QLabel *settingUpLabel_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    QLabel *stepLabel_ = nullptr;   // the setting being adjusted
    QLabel *resultLabel_ = nullptr; // what failed, after a failed run
    QTimer *progressTimer_ = nullptr;
    QTimer *clockTimer_ = nullptr; // every second: the unedited clock fields follow the clock

    // One tick of clockTimer_: the clock fields show the computer's time unless the user
    // has edited one of them.
    void followComputerClock();
    // The user has changed this clock field (1..5) from what the window put in it.
    bool clockFieldEdited(size_t field) const;

protected:
    void windowClosing() override;

private:
    enum class State { Idle, Running };
    void setState(State state);
    // Stops the bar, hides progressPanel_ and gives the mouse pointer back.
    void endProgress();
    void buildControls();
    void preset();
    // The choice of the controls; nullopt (with the offending box focused) when a box
    // holds what the meter cannot be set to.
    std::optional<SetupChoice> choice();

    // The computer's time in the five clock fields' order (year, month, day, hour, minute).
    std::array<int, 6> computerClock() const;
    void showClock(const std::array<int, 6> &values, bool onlyUnedited);

    std::function<QString()> thresholdCaption_;
    std::array<QString, 6> clockShown_; // what the window last put in each clock field
    SetupSequence sequence_;
    State state_ = State::Idle;
    bool waitCursor_ = false;
};
