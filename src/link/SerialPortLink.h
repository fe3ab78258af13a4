#pragma once

// The link over a real serial port (or a pseudo-terminal) through QSerialPort. A port
// that goes away (a USB adapter pulled out) is closed, and reopened on a later write
// once it is back, so the program picks the meter up again by itself.

#include "link/SerialLink.h"

#include <QElapsedTimer>
#include <QSerialPort>

class SerialPortLink final : public SerialLink {
    Q_OBJECT
public:
    // systemPath: /dev/ttyS0, /dev/ttyUSB0, /dev/pts/3, COM3. label: the port label caption.
    SerialPortLink(const QString &systemPath, const QString &label, QObject *parent = nullptr);

    bool open() override;
    // True while the port is wanted open, even when it is gone for the moment.
    bool isOpen() const override { return wanted_; }
    bool gone() const override { return wanted_ && !port_.isOpen(); }
    void close() override;
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    QString deniedDevice() const override { return deniedDevice_; }
    QString portLabel() const override { return label_; }

    // Whether a failed open is the user's lack of permission. QSerialPort reports a
    // device this user may not open and one another program holds (busy, or locked) alike
    // as PermissionError; accessErrno, the errno of access(2) on the device for reading
    // and writing (0 when allowed), tells them apart.
    static bool lacksPermission(QSerialPort::SerialPortError error, int accessErrno);

private:
    bool openPort();
    void portError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString path_;
    QString label_;
    QString error_;
    QString deniedDevice_;
    bool wanted_ = false;       // open() succeeded once and close() was not called
    QElapsedTimer sinceReopen_; // reopen attempts are at least a second apart
};

// Sends the status request to each port in turn and returns the first that answers
// with a framed reply within `seconds`; empty when none does.
QString probeForMeter(const QStringList &systemPaths, double seconds = 0.3);
