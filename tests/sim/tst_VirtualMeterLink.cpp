#include "link/Clock.h"
#include "link/Meter.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/TestMain.h"

#include <QTest>

class TestVirtualMeterLink : public QObject {
    Q_OBJECT

private slots:
    void openFailsWhenTold()
    {
        VirtualMeter meter;
        FakeClock clock;
        VirtualMeterLink link(meter, clock);
        link.setOpenFails(true);
        QVERIFY(!link.open());
        QVERIFY(!link.isOpen());
        QVERIFY(!link.errorString().isEmpty());
        QVERIFY(!link.write("X"));
        QVERIFY(meter.received().isEmpty());
        link.setOpenFails(false);
        QVERIFY(link.open());
        QVERIFY(link.errorString().isEmpty());
    }

    // Replies are readable once the clock has passed their wire time.
    void repliesFollowTheClock()
    {
        VirtualMeter meter;
        FakeClock clock;
        VirtualMeterLink link(meter, clock);
        QVERIFY(link.open());
        QVERIFY(link.write("X"));
        QVERIFY(link.write(QByteArray::fromHex("523b00")));
        QCOMPARE(link.takeWritten(), QByteArray::fromHex("58523b00"));
        QVERIFY(link.takeWritten().isEmpty());
        QVERIFY(link.readAll().isEmpty());
        clock.advance(3 * VirtualMeter::kSecondsPerByte + VirtualMeter::kLatency);
        QCOMPARE(link.readAll(), QByteArray::fromHex("021503"));
        clock.advance(0.01);
        QCOMPARE(link.readAll(), QByteArray::fromHex("025003"));
    }

    void closedLinkLosesReplies()
    {
        VirtualMeter meter;
        FakeClock clock;
        VirtualMeterLink link(meter, clock);
        QVERIFY(link.open());
        link.write("X");
        link.close();
        clock.advance(0.1);
        QVERIFY(link.readAll().isEmpty());
        QVERIFY(link.open());
        QVERIFY(link.readAll().isEmpty());
    }

    // The meter commands run unchanged against the virtual meter.
    void meterCommandsWork()
    {
        VirtualMeter meter;
        meter.setThreshold(85);
        FakeClock clock;
        VirtualMeterLink link(meter, clock);
        QVERIFY(link.open());
        MeterState state;
        Meter commands(link, clock, state);
        QVERIFY(commands.writeByte(1000.4, 0x42));
        QCOMPARE(meter.reg(1000), 0x42);
        QVERIFY(commands.readByte(1000));
        QCOMPARE(state.link.LastByte, 0x42);
        QVERIFY(commands.refreshSettings());
        QCOMPARE(state.status.CriterionLevel, 84);
        QCOMPARE(state.ThresholdLevel, 85);
    }
};

DOSEMETER_TEST(TestVirtualMeterLink)
#include "tst_VirtualMeterLink.moc"
