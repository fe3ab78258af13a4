#include "link/Clock.h"
#include "link/Meter.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/TestMain.h"

#include <QTest>

// The register protocol against the virtual meter, on the fake clock, with the meter
// misbehaving in the ways a serial line does.
class TestProtocolOnMeter : public QObject {
    Q_OBJECT

private slots:
    void readThroughFaults_data()
    {
        QTest::addColumn<double>("drop");
        QTest::addColumn<double>("shortReply");
        QTest::addColumn<bool>("stale"); // an unread display frame waits in the buffer
        QTest::newRow("clean") << 0.0 << 0.0 << false;
        QTest::newRow("stale-frame") << 0.0 << 0.0 << true;
        QTest::newRow("short-half-the-time") << 0.0 << 0.5 << false;
        QTest::newRow("drop-a-third") << 0.33 << 0.0 << false;
        QTest::newRow("stale-and-short") << 0.0 << 0.5 << true;
    }
    void readThroughFaults()
    {
        QFETCH(double, drop);
        QFETCH(double, shortReply);
        QFETCH(bool, stale);
        FakeClock clock;
        VirtualMeter vm(11);
        VirtualMeterLink link(vm, clock);
        QVERIFY(link.open());
        MeterState state;
        Meter meter(link, clock, state);
        for (int address : {0x0002, 0x003B, 0x0300, 0x7A00, 0xFFFF})
            vm.setReg(address, quint8(address * 7 + 1));
        VirtualMeter::Faults faults;
        faults.drop = drop;
        faults.shortReply = shortReply;
        vm.setFaults(faults);
        for (int address : {0x0002, 0x003B, 0x0300, 0x7A00, 0xFFFF}) {
            if (stale) {
                link.write(QByteArray(" "));
                wait(clock, 0.05);
            }
            QVERIFY(meter.readByte(address));
            QCOMPARE(state.link.LastByte, int(quint8(address * 7 + 1)));
        }
    }

    void silentMeterEndsTheRead()
    {
        FakeClock clock;
        VirtualMeter vm;
        VirtualMeterLink link(vm, clock);
        QVERIFY(link.open());
        MeterState state;
        state.link.LastByte = 33;
        Meter meter(link, clock, state);
        meter.setRefreshTimeout(0.5);
        VirtualMeter::Faults faults;
        faults.silent = true;
        vm.setFaults(faults);
        const double start = clock.monotonicSeconds();
        QVERIFY(!meter.readByte(0x3B));
        QCOMPARE(state.link.LastByte, 33);
        QCOMPARE(vm.received().count('R'), 100); // the refresh after it asks with "X" only
        QVERIFY(clock.monotonicSeconds() - start >= 5.0);
    }

    void writeThenRead()
    {
        FakeClock clock;
        VirtualMeter vm;
        VirtualMeterLink link(vm, clock);
        QVERIFY(link.open());
        MeterState state;
        Meter meter(link, clock, state);
        QVERIFY(meter.writeByte(1000.4, 0xA5));
        QCOMPARE(vm.reg(1000), quint8(0xA5));
        QVERIFY(meter.readRawByte(1000));
        QCOMPARE(quint8(state.link.LastRawByte), quint8(0xA5));
    }
};

DOSEMETER_TEST(TestProtocolOnMeter)
#include "tst_ProtocolOnMeter.moc"
