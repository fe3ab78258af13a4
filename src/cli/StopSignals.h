#pragma once

// SIGINT (Ctrl-C), SIGTERM, SIGHUP (the login that started the command went away) and
// SIGPIPE (the reader of standard output went away, as `| head -1` does) as a request to
// stop a long-running command: the command checks requested() between its steps and ends
// the way its own stop would, keeping what it measured, and stopRequested() is emitted
// from the event loop, so that a wait can end at once.
// The handlers are in place for the object's lifetime, for one object at a time. After
// the first SIGINT, SIGTERM or SIGHUP the default handling is back, so a second Ctrl-C
// ends the program. SIGPIPE stays caught, and ignored after the object is gone: every
// later write to the closed pipe fails with EPIPE instead of killing the program before
// it has saved its file.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // False when the handlers could not be installed (or another object holds them).
    bool installed() const { return installed_; }
    // True once SIGINT or SIGTERM has arrived; safe to call at any time.
    bool requested() const;
    // The signal that arrived (SIGINT, SIGTERM, SIGHUP, SIGPIPE), 0 before.
    int signalNumber() const;
    // " (SIGINT)" and so on for the signal that arrived, for "the run was stopped%1";
    // empty before.
    QString signalSuffix() const;

signals:
    void stopRequested();

private:
    void drainPipe();

    bool installed_ = false;
    QSocketNotifier *notifier_ = nullptr;
};
