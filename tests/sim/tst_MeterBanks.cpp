#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

// A run started with RUN and ended with the stop key leaves its results in a dose bank.

namespace {

using namespace Protocol;

QByteArray bank(const VirtualMeter &meter, int n)
{
    return meter.memory().mid(MemoryMap::bankAddress(n), MemoryMap::kBankSize);
}

QByteArray withUsedBanks(const QList<int> &used)
{
    QByteArray image = VirtualMeter::erasedMemory();
    for (int n : used)
        image[MemoryMap::bankAddress(n)] = char(MemoryMap::Bank::kUsed | 0x15);
    return image;
}

void key(VirtualMeter &meter, int code, double t)
{
    meter.receive(QByteArray("F") + char(code), t);
}

} // namespace

class TestMeterBanks : public QObject {
    Q_OBJECT

private slots:
    // A run records into the first unused bank after the last one; with all five used,
    // into the next one.
    void nextBank_data()
    {
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("next");
        QTest::newRow("erased-first-run") << QList<int>{} << 0 << 1;
        QTest::newRow("after-e1") << QList<int>{1} << 1 << 2;
        QTest::newRow("e1-e2-used-from-memory") << QList<int>{1, 2} << 0 << 3;
        QTest::newRow("used-bank-after-last-skipped") << QList<int>{1, 2, 4} << 3 << 5;
        QTest::newRow("wraps-round-to-a-free-bank") << QList<int>{1, 3, 4, 5} << 3 << 2;
        QTest::newRow("all-used-takes-the-next") << QList<int>{1, 2, 3, 4, 5} << 2 << 3;
        QTest::newRow("all-used-after-e5-takes-e1") << QList<int>{1, 2, 3, 4, 5} << 5 << 1;
    }
    void nextBank()
    {
        QFETCH(QList<int>, used);
        QFETCH(int, last);
        QTEST(MemoryImage::nextBank(withUsedBanks(used), last), "next");
    }

    // The 20 bank bytes of a run from 2009/11/30 08:00 that lasts `seconds` at a fixed
    // level: settings, start, stop, exposure, dose with its divisor code, peak, threshold.
    void runResults_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<double>("level"); // 250: overload
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QByteArray>("bank");

        // Criterion 85, exchange rate 5, Slow: 12.5 % an hour at 85 dB, doubling per 5 dB.
        QTest::newRow("criterion-level-one-hour")
            << 0x0A << 80 << 85.0 << 3600
            << QByteArray("8a 11 30 08 00 09 00 01 00 04 e2 64 00 00 00 ff 00 00 00 50");
        QTest::newRow("below-threshold-no-dose")
            << 0x0A << 90 << 85.0 << 3600
            << QByteArray("8a 11 30 08 00 09 00 01 00 00 00 64 00 00 00 ff 00 00 00 5a");
        QTest::newRow("loud-sets-dbrms-115") // 26.67 %
            << 0x0A << 80 << 120.0 << 60
            << QByteArray("aa 11 30 08 00 08 01 00 01 0a 6b 64 00 00 00 ff 00 00 00 50");
        QTest::newRow("overload-peak-at-start-for-10-s") // 71.11 %, counted at 140 dB
            << 0x0A << 80 << 250.0 << 10
            << QByteArray("ea 11 30 08 00 08 00 00 00 1b c7 64 00 00 00 00 00 00 0a 50");
        QTest::newRow("700-percent-divisor-10")
            << 0x0A << 80 << 100.0 << 7 * 3600
            << QByteArray("8a 11 30 08 00 15 00 07 00 1b 58 0a 00 00 00 ff 00 00 00 50");
        QTest::newRow("12800-percent-divisor-1")
            << 0x0A << 80 << 130.0 << 2 * 3600
            << QByteArray("aa 11 30 08 00 10 00 02 00 32 00 01 00 00 00 ff 00 00 00 50");
        QTest::newRow("dose-beyond-16-bits-held-at-65535")
            << 0x0A << 80 << 140.0 << 3 * 3600
            << QByteArray("aa 11 30 08 00 11 00 03 00 ff ff 01 00 00 00 ff 00 00 00 50");
        QTest::newRow("fast-criterion-90-exchange-3") // 12.5 % an hour at 90 dB
            << 0x13 << 75 << 90.0 << 5400
            << QByteArray("93 11 30 08 00 09 30 01 1e 07 53 64 00 00 00 ff 00 00 00 4b");
    }
    void runResults()
    {
        QFETCH(int, status);
        QFETCH(int, threshold);
        QFETCH(double, level);
        QFETCH(int, seconds);
        VirtualMeter meter;
        meter.setClock(QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 100.0);
        meter.setStatusByte(quint8(status));
        meter.setThreshold(threshold);
        meter.setFixedLevel(level);
        key(meter, kKeyRunPause, 100.0);
        QCOMPARE(meter.eventBank(), 1);
        key(meter, kKeyStop, 100.0 + seconds);
        QVERIFY(!meter.running());
        QTEST(bank(meter, 1).toHex(' '), "bank");
        // The bank's dose is the dose the %DOSE display showed at the end.
        const double raw = quint8(bank(meter, 1).at(9)) << 8 | quint8(bank(meter, 1).at(10));
        if (raw < 0xFFFF)
            QCOMPARE(std::round(meter.dosePercent(100.0 + seconds) * quint8(bank(meter, 1).at(11))),
                     raw);
    }

    // Settings changed while a run goes on do not reach its bank: it keeps those it
    // started with, and its dose is counted with them.
    void runKeepsTheSettingsItStartedWith()
    {
        VirtualMeter meter;
        meter.setClock(QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 0.0);
        meter.setStatusByte(0x0A);
        meter.setFixedLevel(85.0);
        key(meter, kKeyRunPause, 0.0);
        meter.setStatusByte(0x1F);
        meter.setThreshold(70);
        key(meter, kKeyStop, 3600.0);
        QCOMPARE(bank(meter, 1).toHex(' '),
                 QByteArray("8a 11 30 08 00 09 00 01 00 04 e2 64 00 00 00 ff 00 00 00 50"));
    }

    // With banks from a memory image, a run fills the next free bank and leaves the
    // others and every bank time copy as they were.
    void runFromMemoryImageFillsTheNextFreeBank()
    {
        const QByteArray image =
            VirtualMeter::demoMemory(QDateTime(QDate(2009, 11, 30), QTime(16, 0)));
        VirtualMeter meter;
        meter.loadMemory(image);
        meter.setClock(QDateTime(QDate(2009, 12, 1), QTime(7, 45)), 0.0);
        meter.setFixedLevel(85.0);
        key(meter, kKeyRunPause, 0.0);
        key(meter, kKeyStop, 8 * 3600.0 + 30.0);
        QCOMPARE(meter.eventBank(), 3);
        QCOMPARE(bank(meter, 3).left(9).toHex(' '), QByteArray("95 12 01 07 45 15 45 08 00"));
        QCOMPARE(meter.memory().left(MemoryMap::bankAddress(3)),
                 image.left(MemoryMap::bankAddress(3)));
        QCOMPARE(meter.memory().mid(MemoryMap::bankAddress(4)),
                 image.mid(MemoryMap::bankAddress(4)));
    }
};

DOSEMETER_TEST(TestMeterBanks)
#include "tst_MeterBanks.moc"
