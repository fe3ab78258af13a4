#pragma once

// The meter's command set over an open link: register reads and writes, key commands,
// the settings refresh and the switch to the dBA display. Every exchange is a write,
// a wait and a read of everything buffered; a reply is the last bytes received,
// checked for STX first and ETX last.

#include "link/MeterState.h"

#include <QObject>
#include <QString>

class Clock;
class SerialLink;

// Switches the main window's poll on and off around command sequences.
class PollControl {
public:
    virtual ~PollControl() = default;
    virtual void setPollEnabled(bool enabled) = 0;
    virtual bool pollEnabled() const = 0;
};

class Meter : public QObject {
    Q_OBJECT
public:
    Meter(SerialLink &link, Clock &clock, MeterState &state, QObject *parent = nullptr);

    SerialLink &link() { return link_; }
    Clock &clock() { return clock_; }
    MeterState &state() { return state_; }

    void setPollControl(PollControl *poll) { poll_ = poll; }
    PollControl *pollControl() const { return poll_; }
    void setPollEnabled(bool enabled);

    // Waits on the monotonic clock with the user interface alive.
    void wait(double seconds);

    // Reads one register into LastByte. Up to 100 attempts, short replies and badly
    // framed replies alike; after the last one the settings refresh runs and LastByte
    // keeps its value. False when refused (address outside 0..65535), given up or aborted.
    bool readByte(qint64 address);
    // One attempt into LastRawByte; on failure the settings refresh runs.
    bool readRawByte(qint64 address);
    // address is rounded to the nearest integer. No acknowledgement is read.
    // False when the address or value is out of range (nothing sent) or the port took
    // nothing (it is gone).
    bool writeByte(double address, qint64 value);

    // Presses keys (code 0..255), then waits 0.1 s, 2.1 s with KeyPacing.
    bool sendKey(int code);
    // Toggles the keypad lock, with the poll stopped around it.
    void sendKeypadLock();
    // Sends "EEE", which erases the logger memory.
    void sendErase();

    // Reads the status byte and the threshold into the shared fields. Asks until the
    // meter answers (the user interface stays alive meanwhile), until the refresh
    // time-out or the silence limit passes, or until abort(). A refresh already running
    // is not started again from inside itself. True when the status fields were
    // refreshed; ThresholdLevel is new only when thresholdRead() says so.
    bool refreshSettings();
    // Whether the last refresh that answered also read the threshold. A threshold the
    // meter's menu cannot set (outside kMinThresholdDb..kMaxThresholdDb) is read again,
    // and taken only once two reads agree: a damaged reply is not taken for it, the
    // register's real content is.
    bool thresholdRead() const { return thresholdRead_; }

    // Presses MODE until the display shows dBA; after 11 complete frames without it,
    // gives up through the settings refresh.
    void selectDbaDisplay();

    // Bounds refreshSettings (seconds; <= 0: no bound, the default of the desktop).
    void setRefreshTimeout(double seconds) { refreshTimeout_ = seconds; }
    // Bounds every exchange by the meter's silence (seconds; <= 0: no bound, the
    // desktop's default). Silence runs from the first request left without a usable
    // reply until one comes, across exchanges: once it reaches the limit, readByte stops
    // asking, the settings refresh gives up (meterSilent) and selectDbaDisplay ends, so
    // a command on a silent meter ends about `seconds` after it fell silent.
    void setSilenceLimit(double seconds) { silenceLimit_ = seconds; }
    double silenceLimit() const { return silenceLimit_; }
    // A request that wants a reply has gone out: starts the silence unless it runs.
    void expectReply();
    // A usable reply came (a framed register or status reply, a plausible display
    // frame, bytes of the memory dump): the meter is not silent.
    void heard() { silentSince_ = -1.0; }
    // Seconds since the first request that is still without a usable reply; 0 when none.
    double silentSeconds() const;
    bool silenceExceeded() const { return silenceLimit_ > 0.0 && silentSeconds() >= silenceLimit_; }
    // Ends every running and later exchange at once (the program is closing).
    void abort() { aborted_ = true; }
    bool aborted() const { return aborted_; }
    // Why the last call returned false.
    QString errorString() const { return error_; }

    static bool validAddress(qint64 address) { return address >= 0 && address <= 0xFFFF; }
    static bool validValue(qint64 value) { return value >= 0 && value <= 0xFF; }

signals:
    // The port label's caption: "No COM" while refreshing, the port's name after.
    void portLabelChanged(const QString &caption);
    // Status fields and ThresholdLevel are new.
    void settingsRefreshed();
    // refreshSettings gave up after its time-out.
    void meterSilent();

private:
    // Sends a request, waits, and returns the last `length` bytes received when framed.
    enum class Reply { Framed, Short, BadFraming };
    Reply exchange(const QByteArray &request, double waitSeconds, int length, QByteArray &reply);
    void discardInput();

    SerialLink &link_;
    Clock &clock_;
    MeterState &state_;
    PollControl *poll_ = nullptr;
    bool readThreshold();

    double refreshTimeout_ = 0.0;
    double silenceLimit_ = 0.0;
    double silentSince_ = -1.0; // monotonic seconds; < 0: no request waits for a reply
    bool thresholdRead_ = false;
    bool aborted_ = false;
    QString error_;
};
