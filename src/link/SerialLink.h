#pragma once

// The byte link to the meter: raw writes and a non-blocking read of everything
// received so far. Protocol code takes an open link and never knows what is behind it.

#include <QByteArray>
#include <QObject>
#include <QString>

class SerialLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialLink() override = default;

    // Opens at 9600 baud, 8 data bits, no parity, 1 stop bit. False with errorString().
    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Queues the bytes for sending; false when the link is not open.
    virtual bool write(const QByteArray &bytes) = 0;
    // Everything received since the last read; never blocks, may be empty.
    virtual QByteArray readAll() = 0;
    virtual QString errorString() const = 0;
    // The device the last open() failed on for lack of permission (the user may not use
    // the port, as opposed to a port that is missing or held by another program); empty
    // after any other outcome.
    virtual QString deniedDevice() const { return {}; }
    // The device went away while open (a pulled adapter, a closed terminal) and has not
    // been found again: nothing written now reaches a meter.
    virtual bool gone() const { return false; }
    // Text of the main window's port label: "COM3", "SIM", "ttyUSB0".
    virtual QString portLabel() const = 0;

signals:
    // Bytes have arrived (a hint for waits that may end early; reads never depend on it).
    void readyRead();
};
