#include "SimProcess.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/SerialPortLink.h"
#include "main/AppState.h"
#include "main/MainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// The program's own link (QSerialPort) against dosemeter-sim on a real pseudo-terminal.
class TestPtyLink : public QObject {
    Q_OBJECT

private slots:
    void protocolOverThePty()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--status", "0x0A", "--threshold", "85"}));
        SerialPortLink link(sim.port(), "pts");
        QVERIFY2(link.open(), qPrintable(link.errorString()));
        SystemClock clock;
        MeterState state;
        Meter meter(link, clock, state);
        meter.setRefreshTimeout(5.0);
        QVERIFY(meter.refreshSettings());
        QCOMPARE(state.status.CriterionLevel, 85);
        QCOMPARE(state.status.ExchangeRate, 5);
        QCOMPARE(state.ThresholdLevel, 85);
        QVERIFY(meter.writeByte(0x0300, 0x5A));
        QVERIFY(meter.readByte(0x0300));
        QCOMPARE(state.link.LastByte, 0x5A);
        link.close();
        QCOMPARE(sim.stop(), 0);
    }

    void meterComesBackAfterThePortWentAway()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("meter");
        SimProcess first;
        QVERIFY(first.start({"--link", path, "--threshold", "81"}));
        SerialPortLink link(path, "meter");
        QVERIFY(link.open());
        SystemClock clock;
        MeterState state;
        Meter meter(link, clock, state);
        meter.setRefreshTimeout(5.0);
        QVERIFY(meter.refreshSettings());
        QCOMPARE(state.ThresholdLevel, 81);

        // The adapter is pulled out, and a meter is plugged in again under the same name.
        QCOMPARE(first.stop(), 0);
        // Known without a write: the hung-up terminal's handle is dropped, not read from
        // at every turn of the event loop.
        wait(clock, 0.2);
        QVERIFY(link.gone());
        link.write("X");
        wait(clock, 0.1);
        QVERIFY(link.readAll().isEmpty());
        SimProcess second;
        QVERIFY(second.start({"--link", path, "--threshold", "83"}));
        QVERIFY(meter.refreshSettings());
        QCOMPARE(state.ThresholdLevel, 83);
        QVERIFY(!link.gone());
        QCOMPARE(second.stop(), 0);
    }

    void autoFindsTheAnsweringPort()
    {
        SimProcess silent;
        QVERIFY(silent.start({"--fault", "silent"}));
        SimProcess meter;
        QVERIFY(meter.start());
        QCOMPARE(probeForMeter({"/dev/nonexistent", silent.port(), meter.port()}), meter.port());
        QCOMPARE(probeForMeter({silent.port()}), QString());
        QCOMPARE(silent.stop(), 0);
        QCOMPARE(meter.stop(), 0);
    }

    void mainWindowPollsThePty()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "88.8"}));
        SerialPortLink link(sim.port(), "pts");
        SystemClock clock;
        MeterState state;
        AppState app;
        Meter meter(link, clock, state);
        ScriptedDialogs dialogs;
        MainWindow panel(meter, app, dialogs);
        QVERIFY(panel.openPort());
        // The real timer drives the poll here.
        QTRY_COMPARE_WITH_TIMEOUT(panel.levelValue_->text(), QStringLiteral("88.8"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(panel.maximumValue_->text(), QStringLiteral("88.8"), 5000);
        QCOMPARE(panel.levelUnit_->text(), QStringLiteral("dBA"));
        QCOMPARE(panel.criterionValue_->text(), QStringLiteral("84"));
        QCOMPARE(panel.portStatus_->text(), QStringLiteral("pts"));
        panel.pollTimer_.stop();
        QVERIFY(dialogs.shown.isEmpty());
        link.close();
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestPtyLink)
#include "tst_PtyLink.moc"
