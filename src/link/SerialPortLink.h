#pragma once

// The link over a real serial port (or a pseudo-terminal) through QSerialPort.

#include "link/SerialLink.h"

#include <QSerialPort>

class SerialPortLink final : public SerialLink {
    Q_OBJECT
public:
    // systemPath: /dev/ttyS0, /dev/ttyUSB0, /dev/pts/3, COM3. label: the port label caption.
    SerialPortLink(const QString &systemPath, const QString &label, QObject *parent = nullptr);

    bool open() override;
    bool isOpen() const override { return port_.isOpen(); }
    void close() override { port_.close(); }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    QString portLabel() const override { return label_; }

private:
    QSerialPort port_;
    QString label_;
    QString error_;
};

// Sends the status request to each port in turn and returns the first that answers
// with a framed reply within `seconds`; empty when none does.
QString probeForMeter(const QStringList &systemPaths, double seconds = 0.3);
