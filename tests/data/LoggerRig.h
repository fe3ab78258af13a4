#pragma once

// A meter for logger tests: the virtual meter on a fake clock behind the link seam,
// the shared state, and a poll switch that records what it was told.

#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QDateTime>
#include <QDir>
#include <QList>

// The logger tests' meter: the one rig of the tests.
using LoggerRig = MeterRig;

namespace rig {

// A run of `count` samples from 80.0 dB up in 0.1 dB steps; every 7th an overload.
inline VirtualMeter::Run run(const QDateTime &start, int intervalTenths, int count)
{
    VirtualMeter::Run r{start, intervalTenths, {}};
    for (int i = 0; i < count; ++i)
        r.samples.append({80.0 + 0.1 * (i % 500), i % 7 == 6});
    return r;
}

// Three runs of 5, 40 and 12 samples at 1 s, 60 s and 0.5 s; ID code 1234, interval 1 s.
inline QByteArray threeRuns()
{
    return VirtualMeter::memoryWithRuns(
        {run(QDateTime(QDate(2009, 11, 28), QTime(8, 0, 0)), 10, 5),
         run(QDateTime(QDate(2009, 11, 29), QTime(23, 59, 30)), 600, 40),
         run(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 58)), 5, 12)},
        1234, 10);
}

// Bytes of the meter's write request.
inline QByteArray writeRequest(int address, int value)
{
    return QByteArray("W") + char(address & 0xFF) + char(address >> 8) + char(value);
}

} // namespace rig
