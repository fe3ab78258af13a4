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
#include <QHash>
#include <QList>

#include <algorithm>

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

// One change the line makes to a stream of the memory dump: in stream `pass` (1..),
// the byte at `position` (0 = the leading byte) is lost (value -1), follows an added
// byte 0xEE (value -2) or is XORed with `value`. A `pass` of -n changes the reply to the
// n-th read of register `position` instead: its value is XORed with `value`.
struct LineEdit {
    int pass = 1;
    int position = 0;
    int value = -1;
};

// The rig's link with a line that loses or changes bytes of the memory dump streams.
// A "U" written while no stream runs starts one; the next ends it.
class DamagingLink final : public SerialLink {
public:
    DamagingLink(SerialLink &link, const QList<LineEdit> &edits) : link_(link), edits_(edits) {}
    bool open() override { return link_.open(); }
    bool isOpen() const override { return link_.isOpen(); }
    void close() override { link_.close(); }
    bool write(const QByteArray &bytes) override
    {
        if (bytes.size() == 3 && bytes.at(0) == Protocol::kReadRequest) {
            const int address = quint8(bytes.at(1)) + 256 * quint8(bytes.at(2));
            const int read = ++reads_[address];
            for (const LineEdit &edit : edits_)
                replyMask_ |= edit.pass == -read && edit.position == address ? edit.value : 0;
        }
        if (bytes == QByteArray(1, Protocol::kMemoryDump)) {
            streaming_ = !streaming_;
            if (streaming_) {
                ++pass_;
                position_ = 0;
            }
        }
        return link_.write(bytes);
    }
    QByteArray readAll() override
    {
        QByteArray bytes = link_.readAll();
        if (replyMask_ != 0 && bytes.size() >= Protocol::kReadReplyLength) {
            bytes[bytes.size() - 2] = char(quint8(bytes.at(bytes.size() - 2)) ^ replyMask_);
            replyMask_ = 0;
        }
        if (!streaming_)
            return bytes;
        QByteArray out;
        for (char byte : bytes) {
            const int position = position_++;
            bool lost = false;
            for (const LineEdit &edit : edits_) {
                if (edit.pass == pass_ && edit.position == position) {
                    lost = edit.value == -1;
                    if (edit.value == -2)
                        out += char(0xEE);
                    byte = char(quint8(byte) ^ quint8(std::max(0, edit.value)));
                }
            }
            if (!lost)
                out += byte;
        }
        return out;
    }
    QString errorString() const override { return link_.errorString(); }
    QString portLabel() const override { return link_.portLabel(); }

private:
    SerialLink &link_;
    QList<LineEdit> edits_;
    bool streaming_ = false;
    int pass_ = 0;
    int position_ = 0;
    QHash<int, int> reads_; // of each register
    int replyMask_ = 0;     // for the reply to the read just sent
};

Q_DECLARE_METATYPE(LineEdit)
