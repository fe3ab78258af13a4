#pragma once

// The one way a port choice becomes a link, for the desktop program and dosemeter-cli
// alike: a text of the port list (or --port) gives the serial port, or the built-in
// virtual meter with a demo logger for "Simulator". "Auto" probes the detected ports with
// the status request and takes the first that answers; COM1 when none does.

#include "link/PortNames.h"
#include "link/SerialLink.h"

#include <QString>

#include <memory>

class Clock;
class VirtualMeter;

struct MeterLink {
    PortChoice choice;                          // after the Auto probe
    std::unique_ptr<VirtualMeter> virtualMeter; // the in-process meter of "Simulator"
    std::unique_ptr<SerialLink> link;           // never null; not opened yet

    MeterLink();
    MeterLink(MeterLink &&) noexcept;
    MeterLink &operator=(MeterLink &&) noexcept;
    ~MeterLink();
};

// An Invalid choice gives a link whose open() fails. The link is not opened: opening,
// and saying why it failed, is the caller's.
MeterLink openLink(const QString &portText, Clock &clock);
