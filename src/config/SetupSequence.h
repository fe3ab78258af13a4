#pragma once

// Sets the meter up by driving its own setup menu with key presses and reading its
// display back after each press: the Setup window's run (criterion level, threshold,
// exchange rate, clock, time weighting) and the Standard window's preset (criterion
// level and exchange rate of one country).
//
// A run stops the main window's poll and sets KeyPacing (every key 2.1 s, which real
// meters need), opens the menu with code 128 and waits 5 s. Each setting is then one
// step on its own menu screen: a fresh display frame gives the meter's current value,
// and the step's key is pressed, with a display request after each press, until the
// display shows the target; CLOCK moves on to the next screen. The criterion level and
// the exchange rate step up only (EVENT, their choices cycle); the threshold and the
// clock fields take EVENT below the target and MODE+EVENT above it, decided before each
// press. A step fails when its press counter reaches the step's limit, even when that
// last press reached the target. A display reply of other than 7 bytes (or not framed)
// starts the step's count again; the kWrongReplyLimit-th such reply fails the step. A
// step whose setting already matched presses nothing and cannot fail.
//
// The meter's current values come from its display, not from the status fields of the
// last settings refresh, which the meter's own keys may have outdated since; the time
// weighting is read back from the status byte and checked after its presses. A frame
// without FieldMode means the menu is not open (a meter that is measuring does not open
// it) and fails the step at once. A clock target whose date has moved on by the time
// steps (a run over midnight with the computer's clock as target) fails the run rather
// than set the time on the wrong day.
//
// How a run ends:
// - Done: RESET, a 4 s wait, the settings refresh.
// - Failed: `failing` (the window says "Invalid, try again!"), then "F" 5 (MODE+RESET)
//   straight to the port without the key's waits, which closes the menu, then the
//   settings refresh.
// - Silent: no byte from the meter for the silence time-out (and a few requests in a
//   row unanswered). "F" 5 is sent all the same;
//   the settings refresh is left to the main window's poll (RefreshPending), which
//   waits for the meter with the program usable.
// - Cancelled: `cancelled` said so (the window is closing) or the program is closing.
//   "F" 5, RefreshPending.
// - Refused: another run, or a settings refresh, is in progress; nothing is sent.
// Whatever the end, KeyPacing is cleared and the poll is started again.

#include "config/SetupChoice.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class Meter;

class SetupSequence {
public:
    enum class Step {
        Open,
        Criterion,
        Threshold,
        ExchangeRate,
        Century, // the first two digits of the year
        Year,    // the last two
        Month,
        Day,
        Hour,
        Minute,
        TimeWeighting,
        Close,
    };

    enum class Outcome { Done, Failed, Silent, Cancelled, Refused };

    struct Result {
        Outcome outcome = Outcome::Done;
        Step step = Step::Open; // where the run ended
        QString detail;         // what went wrong, for the user; empty when Done
    };

    // Shown when a run (or a preset) has set the meter.
    // The windows show them, and settingName(), through translated().
    static inline const QString kSuccess =
        QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Set up successfully."));
    static inline const QString kMeterSilent = QStringLiteral(QT_TRANSLATE_NOOP(
        "SetupSequence", "The meter stopped answering, so the setup did not finish. Its settings "
                         "may be partly changed: check the meter and its cable, then try again."));
    static inline const QString kRefused = QStringLiteral(QT_TRANSLATE_NOOP(
        "SetupSequence", "The meter is busy with another setup or with reading its settings. "
                         "Try again when it has finished."));
    // One of the texts above, or a settingName(), in the user's language; the command line
    // prints them in English.
    static QString translated(const QString &text);

    // Press limits of the Setup window's steps and of the preset's two steps.
    static constexpr int kCriterionLimit = 10;
    static constexpr int kThresholdLimit = 10;
    static constexpr int kExchangeRateLimit = 10;
    static constexpr int kCenturyLimit = 99;
    static constexpr int kYearLimit = 99;
    static constexpr int kMonthLimit = 20;
    static constexpr int kDayLimit = 50;
    static constexpr int kHourLimit = 100;
    static constexpr int kMinuteLimit = 100;
    static constexpr int kPresetLimit = 30;
    // A step fails at its kWrongReplyLimit-th reply of the wrong length (each one restarts
    // its count), and when kFramePollLimit requests for its fresh frame (or for the
    // status byte) bring no whole reply.
    static constexpr int kWrongReplyLimit = 50;
    static constexpr int kFramePollLimit = 50;
    // After the request, a reply is gathered for up to this long (the meter needs about
    // 11 ms for a display frame at 9600 baud).
    static constexpr double kReplySeconds = 0.1;
    static constexpr double kOpenSeconds = 5.0;  // after code 128
    static constexpr double kCloseSeconds = 4.0; // after RESET
    static constexpr double kDefaultSilenceSeconds = 10.0;

    explicit SetupSequence(Meter &meter);

    // The name of the setting a step adjusts ("Criterion level", ..., "Year" for both of
    // its fields, ..., "Time weighting").
    static QString settingName(Step step);

    // A step has read the meter's current value and knows its target (nullopt: the
    // setting is left as it is). Values as the display shows them (the time weighting:
    // 1 Fast, 0 Slow).
    std::function<void(Step step, int current, std::optional<int> target)> adjusting;
    // The threshold was lowered to the criterion level (dB) before its step.
    std::function<void(int thresholdDb)> thresholdLowered;
    // A run fails; called before "F" 5 goes out.
    std::function<void(const Result &result)> failing;
    // Asked after every wait: true ends the run (Cancelled).
    std::function<bool()> cancelled;

    // No byte from the meter for this long ends the run (Silent).
    void setSilenceTimeout(double seconds) { silenceSeconds_ = seconds; }

    // The Setup window's run. The choice must have passed SetupChoice's checks.
    Result run(const SetupChoice &choice);
    // A standards row's preset: criterion level (0: left as it is) and exchange rate (0:
    // its step is skipped).
    Result preset(int criterionDb, int exchangeRateDb);

    bool running() const { return running_; }

private:
    enum class Keys { EventOnly, Direction };
    // One adjust step. target: asked when the step begins and after each restart, given
    // the meter's current value; nullopt leaves the setting as it is.
    struct Adjust {
        Step step;
        int limit;
        Keys keys;
        int frameIndex;        // 3 or 4: display byte 4 or 5
        bool lowDigit = false; // the exchange rate: the low digit of byte 5 only
        int *store = nullptr;  // CriterionLevel, ExchangeRate: each value read back
        std::function<std::optional<int>(int current)> target;
    };

    bool begin();
    Result finish();
    bool openMenu();
    bool adjust(const Adjust &a);
    bool clockSteps();
    bool timeWeighting(bool fast);
    bool closeMenu();
    void closeMenuAtOnce();
    bool refresh();
    bool press(int key);
    bool pause(double seconds);
    bool stopped();
    // A request and its reply, gathered until `length` bytes or kReplySeconds.
    QByteArray ask(char request, int length);
    bool wholeFrame(QByteArray &frame);
    bool freshFrame(Step step, QByteArray &frame);
    bool readFast(Step step, bool &fast);
    bool inMenu(Step step, const QByteArray &frame);
    bool silentNow() const;
    // A bound has run out: Silent when the last replies brought nothing, else Failed.
    bool exhausted(Step step, const QString &detail);
    bool fail(Step step, const QString &detail);
    bool endSilent(Step step);
    double now() const;

    Meter &meter_;
    double silenceSeconds_ = kDefaultSilenceSeconds;
    bool running_ = false;
    Result result_;
    Step step_ = Step::Open;
    // The press counter: one for the whole run, set to 0 when a step's loop starts.
    int presses_ = 0;
    double lastHeard_ = 0.0; // monotonic seconds of the last byte from the meter
    int emptyReplies_ = 0;   // replies in a row without a single byte
    const SetupChoice *choice_ = nullptr;
};
