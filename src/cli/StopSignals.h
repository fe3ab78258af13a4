#pragma once

// SIGINT (Ctrl-C) and SIGTERM as a request to stop a long-running command: the command
// checks requested() between its steps and ends the way its own stop would, and
// stopRequested() is emitted from the event loop, so that a wait can end at once.
// The handlers are in place for the object's lifetime, for one object at a time. After
// the first signal the default handling is back, so a second Ctrl-C ends the program.

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
    // The signal that arrived (SIGINT, SIGTERM), 0 before.
    int signalNumber() const;

signals:
    void stopRequested();

private:
    void drainPipe();

    bool installed_ = false;
    QSocketNotifier *notifier_ = nullptr;
};
