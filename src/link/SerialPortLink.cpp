#include "link/SerialPortLink.h"

#include "link/Clock.h"
#include "link/MeterProtocol.h"

SerialPortLink::SerialPortLink(const QString &systemPath, const QString &label, QObject *parent)
    : SerialLink(parent), label_(label)
{
    port_.setPortName(systemPath);
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::readyRead);
}

bool SerialPortLink::open()
{
    if (port_.isOpen())
        return true;
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString();
        return false;
    }
    const bool set = port_.setBaudRate(QSerialPort::Baud9600) &&
                     port_.setDataBits(QSerialPort::Data8) &&
                     port_.setParity(QSerialPort::NoParity) &&
                     port_.setStopBits(QSerialPort::OneStop) &&
                     port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        error_ = port_.errorString();
        port_.close();
        return false;
    }
    port_.clear();
    return true;
}

bool SerialPortLink::write(const QByteArray &bytes)
{
    if (!port_.isOpen())
        return false;
    if (port_.write(bytes) != bytes.size())
        return false;
    // Hand the bytes to the driver now; a nested wait would do it later.
    port_.flush();
    return true;
}

QByteArray SerialPortLink::readAll()
{
    if (!port_.isOpen())
        return {};
    // Take in whatever the driver holds even when no event loop ran since it came.
    port_.waitForReadyRead(0);
    return port_.readAll();
}

QString probeForMeter(const QStringList &systemPaths, double seconds)
{
    SystemClock clock;
    for (const QString &path : systemPaths) {
        SerialPortLink link(path, QString());
        if (!link.open())
            continue;
        link.readAll();
        link.write(QByteArray(1, Protocol::kStatusRequest));
        QByteArray received;
        const double end = clock.monotonicSeconds() + seconds;
        while (clock.monotonicSeconds() < end) {
            Wait(clock, 0.02);
            received += link.readAll();
            if (received.size() >= 3) {
                const QByteArray last = received.right(3);
                if (quint8(last.at(0)) == Protocol::kStx && quint8(last.at(2)) == Protocol::kEtx)
                    return path;
            }
        }
    }
    return {};
}
