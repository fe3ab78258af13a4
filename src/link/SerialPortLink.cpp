#include "link/SerialPortLink.h"

#include "link/Clock.h"
#include "link/MeterProtocol.h"

SerialPortLink::SerialPortLink(const QString &systemPath, const QString &label, QObject *parent)
    : SerialLink(parent), label_(label)
{
    port_.setPortName(systemPath);
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::readyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialPortLink::portError);
}

bool SerialPortLink::open()
{
    if (wanted_ && port_.isOpen())
        return true;
    if (!openPort())
        return false;
    wanted_ = true;
    return true;
}

bool SerialPortLink::openPort()
{
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString();
        return false;
    }
    const bool set =
        port_.setBaudRate(QSerialPort::Baud9600) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        error_ = port_.errorString();
        port_.close();
        return false;
    }
    port_.clear();
    return true;
}

void SerialPortLink::close()
{
    wanted_ = false;
    port_.close();
}

void SerialPortLink::portError(QSerialPort::SerialPortError error)
{
    // The device is gone (unplugged, or the far end of a pty closed): drop the handle,
    // which would never work again, and let a later write find the device anew. A hung-up
    // terminal reads as end of file, which comes as a read error, and comes again at
    // every turn of the event loop for as long as the handle stays open.
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) &&
        port_.isOpen()) {
        error_ = port_.errorString();
        port_.close();
        sinceReopen_.start();
    }
}

bool SerialPortLink::write(const QByteArray &bytes)
{
    if (!wanted_)
        return false;
    if (!port_.isOpen()) {
        if (sinceReopen_.isValid() && sinceReopen_.elapsed() < 1000)
            return false;
        sinceReopen_.start();
        if (!openPort())
            return false;
    }
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
            wait(clock, 0.02);
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
