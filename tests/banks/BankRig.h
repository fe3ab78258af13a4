#pragma once

// A meter for bank tests: the virtual meter on a fake clock behind the link seam, the
// shared state, a poll switch that records what it was told, and the bank state and
// grid a download fills.

#include "banks/BankGrid.h"
#include "banks/BankState.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/TestMain.h"

#include <QDateTime>
#include <QDir>
#include <QList>

#include <initializer_list>

class BankPoll final : public PollControl {
public:
    void setPollEnabled(bool enabled) override
    {
        enabled_ = enabled;
        changes << enabled;
    }
    bool pollEnabled() const override { return enabled_; }
    QList<bool> changes;

private:
    bool enabled_ = true;
};

struct BankRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    VirtualMeter virtualMeter;
    VirtualMeterLink link{virtualMeter, clock};
    MeterState meterState;
    Meter meter{link, clock, meterState};
    BankPoll poll;
    BankState banks;
    BankGrid grid;

    // The logger erased, every bank unused with its time copy erased.
    BankRig()
    {
        virtualMeter.setClock(clock.now(), clock.monotonicSeconds());
        virtualMeter.loadMemory(VirtualMeter::erasedMemory());
        link.open();
        meter.setPollControl(&poll);
        // A meter that stops answering must not keep a test waiting for ever.
        meter.setRefreshTimeout(2.0);
    }

    void setBank(int bank, const QByteArray &record)
    {
        for (int i = 0; i < record.size(); ++i)
            virtualMeter.setReg(MemoryMap::bankAddress(bank) + i, quint8(record.at(i)));
    }
    void setCopy(int bank, const QByteArray &copy)
    {
        for (int i = 0; i < copy.size(); ++i)
            virtualMeter.setReg(MemoryMap::bankTimeCopyAddress(bank) + i, quint8(copy.at(i)));
    }
    QByteArray registers(int address, int count) const
    {
        return virtualMeter.memory().mid(address, count);
    }
    // The register requests the meter received, in order: (address, value) of each
    // write, or (address, -1) of each read.
    QList<QPair<int, int>> requests() const
    {
        QList<QPair<int, int>> found;
        const QByteArray &in = virtualMeter.received();
        for (qsizetype i = 0; i < in.size();) {
            const char c = in.at(i);
            const bool write = c == Protocol::kWriteRequest && i + 3 < in.size();
            if (write || (c == Protocol::kReadRequest && i + 2 < in.size())) {
                found.append({quint8(in.at(i + 1)) | quint8(in.at(i + 2)) << 8,
                              write ? quint8(in.at(i + 3)) : -1});
                i += write ? 4 : 3;
            } else {
                i += c == Protocol::kKeyCommand ? 2 : 1;
            }
        }
        return found;
    }
    QList<QPair<int, int>> writes() const
    {
        QList<QPair<int, int>> found = requests();
        found.removeIf([](const QPair<int, int> &r) { return r.second < 0; });
        return found;
    }
    QList<int> reads() const
    {
        QList<int> found;
        for (const QPair<int, int> &r : requests()) {
            if (r.second < 0)
                found.append(r.first);
        }
        return found;
    }
};

namespace bankrig {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// A used bank: 85 dB, 5 dB, Slow; 12/06 07:30 to 15:30, 8 h exposure, 100.00 % dose,
// no peak, threshold 80 dB.
inline QByteArray usedBank()
{
    return bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x15, 0x30, 8, 0, 0x27,
                  0x10, 100,  0,    0,    0,    0xFF, 0,    0, 0, 80});
}

// An unused bank with stale contents.
inline QByteArray unusedBank()
{
    return bytes({0x0A, 0x11, 0x05, 0x09, 0x00, 0x10, 0x00, 1, 0, 0x00,
                  0x64, 1,    0,    0,    0,    0xFF, 0,    0, 0, 80});
}

inline QString golden(const QString &name)
{
    return QDir(testsupport::dataDir()).filePath(QStringLiteral("../golden/") + name);
}

} // namespace bankrig
