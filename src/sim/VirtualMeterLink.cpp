#include "sim/VirtualMeterLink.h"

#include "link/Clock.h"
#include "sim/VirtualMeter.h"

VirtualMeterLink::VirtualMeterLink(VirtualMeter &meter, Clock &clock, QObject *parent)
    : SerialLink(parent), meter_(meter), clock_(clock)
{
}

bool VirtualMeterLink::open()
{
    if (openFails_) {
        error_ = tr("The simulated meter's port cannot be opened.");
        return false;
    }
    // Whatever the meter sent while the port was closed is lost, as on a real port.
    meter_.takeReady(clock_.monotonicSeconds());
    open_ = true;
    error_.clear();
    return true;
}

bool VirtualMeterLink::write(const QByteArray &bytes)
{
    if (!open_) {
        error_ = tr("The port is not open.");
        return false;
    }
    written_ += bytes;
    meter_.receive(bytes, clock_.monotonicSeconds());
    return true;
}

QByteArray VirtualMeterLink::readAll()
{
    if (!open_)
        return {};
    return meter_.takeReady(clock_.monotonicSeconds());
}

QByteArray VirtualMeterLink::takeWritten()
{
    QByteArray written;
    written.swap(written_);
    return written;
}
