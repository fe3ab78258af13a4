#pragma once

// The rig of the setup tests: the virtual meter on the fake clock, behind a link that can
// spoil the display replies that follow chosen key presses, so that a test decides which
// reply of a run comes with the wrong length.

#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/MeterRig.h"
#include "support/ScriptedDialogs.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QStringList>

#include <utility>

// Passes everything through to the virtual meter. The display reply that follows the
// n-th press of EVENT or MODE+EVENT (counted from 1) gets a stray byte in front of it when
// n is in `spoiled`, or when n >= spoiledFrom (spoiledFrom > 0).
class SpoilingLink final : public SerialLink {
    Q_OBJECT
public:
    explicit SpoilingLink(VirtualMeterLink &inner) : inner_(inner) {}
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(const QByteArray &bytes) override
    {
        for (int i = 0; i < bytes.size(); ++i) {
            const char b = bytes.at(i);
            if (b == Protocol::kKeyCommand && i + 1 < bytes.size()) {
                const int code = quint8(bytes.at(i + 1));
                if (code == Protocol::kKeyEvent || code == Protocol::kKeyModeEvent) {
                    ++adjustPresses;
                    armed_ = spoiled.contains(adjustPresses) ||
                             (spoiledFrom > 0 && adjustPresses >= spoiledFrom);
                }
                ++i;
            } else if (b == Protocol::kDisplayRequest && armed_) {
                armed_ = false;
                stray_ += char(0x55);
            }
        }
        return inner_.write(bytes);
    }
    QByteArray readAll() override { return std::exchange(stray_, QByteArray()) + inner_.readAll(); }
    QString errorString() const override { return inner_.errorString(); }
    QString portLabel() const override { return inner_.portLabel(); }

    QSet<int> spoiled;
    int spoiledFrom = 0;
    int adjustPresses = 0;

private:
    VirtualMeterLink &inner_;
    QByteArray stray_;
    bool armed_ = false;
};

struct ConfigRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    VirtualMeter vm;
    VirtualMeterLink vmLink{vm, clock};
    SpoilingLink link{vmLink};
    MeterState state;
    Meter meter{link, clock, state};
    ScriptedDialogs dialogs;
    RecordingPoll poll{vmLink};

    // Status 0x15 (84 dB, 4 dB, Fast), threshold 80 dB, the meter's clock on the fake
    // clock; the settings refreshed once, as the program does when it connects.
    ConfigRig()
    {
        vm.setClock(clock.now(), clock.monotonicSeconds());
        vm.setFixedLevel(90.0);
        link.open();
        meter.setPollControl(&poll);
        meter.setRefreshTimeout(2.0);
        meter.refreshSettings();
        vm.clearReceived();
    }

    // The key codes the meter has received, in order.
    QList<int> keys() const
    {
        QList<int> codes;
        const QByteArray &bytes = vm.received();
        for (int i = 0; i < bytes.size(); ++i) {
            switch (bytes.at(i)) {
            case Protocol::kKeyCommand:
                if (i + 1 < bytes.size())
                    codes << quint8(bytes.at(++i));
                break;
            case Protocol::kReadRequest:
                i += 2;
                break;
            case Protocol::kWriteRequest:
                i += 3;
                break;
            default:
                break;
            }
        }
        return codes;
    }
    // The meter's clock now, to the minute.
    QString meterClock() const
    {
        return vm.clockAt(clock.monotonicSeconds()).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    }
};

// Expected key lists.
namespace keys {
// "128 8x9 4": code 128, nine times code 8, code 4.
inline QList<int> list(const char *text)
{
    QList<int> codes;
    const QStringList items = QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &item : items) {
        const QStringList parts = item.split(QLatin1Char('x'));
        codes += QList<int>(parts.size() > 1 ? parts.at(1).toInt() : 1, parts.at(0).toInt());
    }
    return codes;
}
} // namespace keys
