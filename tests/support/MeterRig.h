#pragma once

// The one rig of the tests that need a meter: the virtual meter on the fake clock behind
// the link seam, the shared state objects, scripted dialogs and a poll switch that records
// what it was told. MainWindowRig adds the main window on top, its poll driven by the test.

#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "main/AppState.h"
#include "main/MainWindow.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/ScriptedDialogs.h"

#include <QDateTime>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTest>

// The main window's poll switch. Records every change; with `logBytes` also the bytes the
// meter got since the previous change ("off:" then "on:46 01" is one key sent with the
// poll off).
class RecordingPoll final : public PollControl {
public:
    explicit RecordingPoll(VirtualMeterLink &link) : link_(link) {}
    void setPollEnabled(bool enabled) override
    {
        changes << enabled;
        if (logBytes)
            log << QString((enabled ? QStringLiteral("on:") : QStringLiteral("off:")) +
                           QString::fromLatin1(link_.takeWritten().toHex(' ')));
        enabled_ = enabled;
    }
    bool pollEnabled() const override { return enabled_; }

    QList<bool> changes;
    bool logBytes = false;
    QStringList log;
    // The switch's state, set without recording (another window's sequence stopped it).
    bool enabled_ = true;

private:
    VirtualMeterLink &link_;
};

struct MeterRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    VirtualMeter vm;
    VirtualMeterLink link{vm, clock};
    MeterState state;
    Meter meter{link, clock, state};
    AppState app;
    ScriptedDialogs dialogs;
    RecordingPoll poll{link};

    // A meter with `image` as its memory, its clock on the fake clock, the link open and
    // the poll switch attached.
    explicit MeterRig(const QByteArray &image = VirtualMeter::erasedMemory())
    {
        vm.setClock(clock.now(), clock.monotonicSeconds());
        vm.loadMemory(image);
        link.open();
        meter.setPollControl(&poll);
        // A meter that stops answering must not keep a test waiting for ever.
        meter.setRefreshTimeout(2.0);
    }
};

// The main window on the rig, not yet loaded; ticks are called by the test, not by the
// timer. The refresh waits without bound, as in the program.
struct MainWindowRig : MeterRig {
    MainWindow panel{meter, app, dialogs};

    explicit MainWindowRig(const QByteArray &image = VirtualMeter::erasedMemory()) : MeterRig(image)
    {
        link.close(); // the load step opens it
        meter.setRefreshTimeout(0.0);
        vm.setFixedLevel(90.0);
    }
    // The load step, with the poll timer stopped so that the test drives the poll.
    void load()
    {
        QVERIFY(panel.openPort());
        panel.pollTimer_.stop();
    }
    // One poll with the meter showing `level` dB.
    void tick(double level)
    {
        vm.setFixedLevel(level);
        panel.pollMeter();
    }
    QString text(const char *name) const { return panel.findChild<QLabel *>(name)->text(); }
};
