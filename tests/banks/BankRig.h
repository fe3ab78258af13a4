#pragma once

// The bank tests' meter: the one rig of the tests (virtual meter on the fake clock, link,
// shared state, scripted dialogs, recording poll switch), with the grid a download
// fills and helpers that prepare banks and read back what the meter received.

#include "banks/BankGrid.h"
#include "banks/BankState.h"
#include "link/MeterProtocol.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QHash>
#include <QList>
#include <QPair>

#include <initializer_list>

// A link in front of the virtual meter that loses the read requests of chosen
// registers (the meter never sees them), a given number of times each.
class DeafRegisterLink final : public SerialLink {
public:
    explicit DeafRegisterLink(VirtualMeterLink &inner) : inner_(inner) {}
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(const QByteArray &bytes) override
    {
        if (bytes.size() == 3 && bytes.at(0) == Protocol::kReadRequest) {
            const int address = quint8(bytes.at(1)) | quint8(bytes.at(2)) << 8;
            if (deaf.value(address) > 0) {
                --deaf[address];
                return true;
            }
        }
        return inner_.write(bytes);
    }
    QByteArray readAll() override { return inner_.readAll(); }
    QString errorString() const override { return inner_.errorString(); }
    QString portLabel() const override { return inner_.portLabel(); }

    QHash<int, int> deaf; // address -> requests still lost

private:
    VirtualMeterLink &inner_;
};

// The logger erased, every bank unused with its time copy erased.
struct BankRig : MeterRig {
    BankState &banks = app.banks;
    BankGrid grid;

    void setBank(int bank, const QByteArray &record)
    {
        for (int i = 0; i < record.size(); ++i)
            vm.setReg(MemoryMap::bankAddress(bank) + i, quint8(record.at(i)));
    }
    void setCopy(int bank, const QByteArray &copy)
    {
        for (int i = 0; i < copy.size(); ++i)
            vm.setReg(MemoryMap::bankTimeCopyAddress(bank) + i, quint8(copy.at(i)));
    }
    QByteArray registers(int address, int count) const { return vm.memory().mid(address, count); }
    // The register requests the meter received, in order: (address, value) of each
    // write, or (address, -1) of each read.
    QList<QPair<int, int>> requests() const { return registerRequests(vm); }
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

    static QList<QPair<int, int>> registerRequests(const VirtualMeter &meter)
    {
        QList<QPair<int, int>> found;
        const QByteArray &in = meter.received();
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
    return testsupport::golden(name);
}

} // namespace bankrig
