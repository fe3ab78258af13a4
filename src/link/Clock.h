#pragma once

// Time for the protocol: a monotonic clock for waits, the wall clock for time stamps.

#include <QDateTime>
#include <QElapsedTimer>

#include <functional>

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a clock that never jumps (not reset at midnight, not set by the user).
    virtual double monotonicSeconds() const = 0;
    // Local date and time.
    virtual QDateTime now() const = 0;
    // Lets up to `seconds` pass while the user interface stays alive. May return early;
    // wait() loops until its end time has passed.
    virtual void sleep(double seconds) = 0;
};

// Waits `seconds` on the monotonic clock while processing user-interface events.
// Returns only once the clock is past the end time, so a wait lasts at least its length,
// including one that spans midnight; or as soon as `stop` says so (the program is closing).
void wait(Clock &clock, double seconds, const std::function<bool()> &stop = {});

// The computer's clocks. sleep() runs a nested event loop ended by a timer, so the
// user interface stays alive without spinning a core.
class SystemClock final : public Clock {
public:
    SystemClock();
    double monotonicSeconds() const override;
    QDateTime now() const override;
    void sleep(double seconds) override;

private:
    QElapsedTimer elapsed_;
};

// A clock for tests: sleep() advances it at once. `duringSleep`, when set, runs inside
// every sleep, as a timer tick or a click would run inside a real wait.
class FakeClock final : public Clock {
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2009, 11, 30), QTime(10, 0)));
    double monotonicSeconds() const override { return monotonic_; }
    QDateTime now() const override;
    void sleep(double seconds) override;

    void advance(double seconds);
    void setNow(const QDateTime &wall); // moves the wall clock only
    // Largest step one sleep takes (to mimic a coarse clock); 0 = the whole request.
    void setStep(double seconds) { step_ = seconds; }
    std::function<void()> duringSleep;

private:
    double monotonic_ = 1000.0;
    QDateTime wallStart_;
    double wallAtMonotonic_ = 1000.0;
    double step_ = 0.0;
};
