#pragma once

// Serves a VirtualMeter on a pseudo-terminal, so that any program that opens a serial
// port can talk to it: bytes the client writes go to the meter with the time they
// arrived, and the meter's reply bytes are written to the terminal as they become
// ready, at the pace of a 9600 baud line. When the meter vanishes (Faults::vanishAfter)
// the server closes the terminal, so that clients see the port go away as when a USB
// adapter is pulled. POSIX systems only.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;
class VirtualMeter;

class PtyServer : public QObject {
    Q_OBJECT
public:
    explicit PtyServer(VirtualMeter &meter, QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens the terminal and starts serving from the event loop. False with
    // errorString() when no terminal can be had.
    bool start();
    // Path of the terminal that clients open, such as "/dev/pts/3"; empty before start().
    QString portName() const { return portName_; }
    QString errorString() const { return error_; }
    // Seconds on the monotonic clock the server hands to the meter.
    double now() const;
    // The terminal has been closed because the meter vanished.
    bool closed() const { return closed_; }

signals:
    // The meter vanished and the terminal is gone.
    void terminalClosed();

private:
    void readCommands();
    void writeReady();
    void schedule();
    void closeTerminal();

    VirtualMeter &meter_;
    int master_ = -1;
    // The server keeps the client's side open too, so that the terminal does not hang
    // up when a client closes it and the next client finds it as it was.
    int slave_ = -1;
    QString portName_;
    QString error_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer writeTimer_;
    QTimer vanishTimer_;
    bool closed_ = false;
    QByteArray outgoing_; // ready bytes the terminal has not taken yet
    QElapsedTimer elapsed_;
};
