#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

int reg(const QByteArray &image, int address)
{
    return quint8(image.at(address));
}
int word(const QByteArray &image, int address)
{
    return reg(image, address) | reg(image, address + 1) << 8;
}
int fromBcd(int byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}
bool isBcd(int byte)
{
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

// Run table entries 0..RunCount, as the download reads them.
QList<int> runTable(const QByteArray &image)
{
    QList<int> table;
    for (int j = 0; j <= reg(image, MemoryMap::kRunCount); ++j)
        table << word(image, MemoryMap::runTableEntry(j));
    return table;
}

QDateTime runStart(const QByteArray &image, int address)
{
    return QDateTime(QDate(2000 + fromBcd(reg(image, address)), fromBcd(reg(image, address + 1)),
                           fromBcd(reg(image, address + 2))),
                     QTime(fromBcd(reg(image, address + 3)), fromBcd(reg(image, address + 4)),
                           fromBcd(reg(image, address + 5))));
}

} // namespace

class TestMemoryImages : public QObject {
    Q_OBJECT

private slots:
    void demoMemoryIsConsistent()
    {
        const QDateTime end(QDate(2010, 3, 1), QTime(16, 45, 30));
        const QByteArray image = VirtualMeter::demoMemory(end);
        QCOMPARE(image.size(), 0x10000);
        QCOMPARE(reg(image, MemoryMap::kIdCodeHigh) << 8 | reg(image, MemoryMap::kIdCodeLow), 1234);
        QCOMPARE(word(image, MemoryMap::kIntervalLow), 10);

        const QList<int> table = runTable(image);
        QCOMPARE(table.size(), 5); // four runs and the first free address
        QCOMPARE(table.first(), int(MemoryMap::kRunDataStart));
        QVERIFY(table.last() < MemoryMap::kLoggerEnd);
        QList<int> counts;
        QDateTime previousEnd;
        int overloads = 0;
        for (int k = 0; k + 1 < table.size(); ++k) {
            const int start = table[k];
            const int last = table[k + 1] - 1;
            // The download counts (last byte - start - 8) / 3 samples.
            QCOMPARE((last - start - MemoryMap::kRunHeaderLength) % MemoryMap::kSampleLength, 0);
            const int samples = (last - start - MemoryMap::kRunHeaderLength) / 3;
            const QDateTime begins = runStart(image, start);
            QVERIFY(begins.isValid() && (!previousEnd.isValid() || begins > previousEnd));
            previousEnd = begins.addMSecs(qint64(samples) * word(image, start + 6) * 100);
            QVERIFY(previousEnd < end);
            for (int a = start + MemoryMap::kRunHeaderLength; a + 3 <= last; a += 3) {
                QVERIFY(isBcd(reg(image, a)) && isBcd(reg(image, a + 1)));
                const double db = fromBcd(reg(image, a + 1)) * 10 + fromBcd(reg(image, a)) / 10.0;
                QVERIFY2(db >= 60 && db <= 130, qPrintable(QString::number(db)));
                QVERIFY((reg(image, a + 2) & ~0x40) == 0);
                overloads += reg(image, a + 2) != 0;
            }
            counts << samples;
        }
        QCOMPARE(counts, (QList<int>{60, 480, 1200, 200}));
        QVERIFY(overloads > 0);

        // Banks E1 and E2 used, their time copies matching; E3..E5 unused and erased.
        for (int n = 1; n <= MemoryMap::kBankCount; ++n) {
            const int bank = MemoryMap::bankAddress(n);
            const bool used = n <= 2;
            QCOMPARE(bool(reg(image, bank) & 0x80), used);
            for (int i = 0; i < 6; ++i)
                QCOMPARE(reg(image, MemoryMap::bankTimeCopyAddress(n) + i),
                         used ? reg(image, bank + 1 + i) : 0xFF);
        }
        QCOMPARE(VirtualMeter::demoMemory(end), image); // the same seed, the same memory
    }

    void memoryWithRuns_data()
    {
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("samples"); // per run
        QTest::addColumn<QList<int>>("table");

        QTest::newRow("empty") << 0 << 0 << QList<int>{0x0300};
        // Six samples: 0x0300..0x031A, first free 0x031B.
        QTest::newRow("one-run-six-samples") << 1 << 6 << QList<int>{0x0300, 0x031B};
        QTest::newRow("three-runs") << 3 << 2 << QList<int>{0x0300, 0x030F, 0x031E, 0x032D};
        // 10151 samples fill the logger to 0x79FE: more are cut, a further run is left out.
        QTest::newRow("cut-at-logger-end") << 1 << 10400 << QList<int>{0x0300, 0x79FE};
        QTest::newRow("no-room-for-header") << 2 << 10151 << QList<int>{0x0300, 0x79FE};
    }
    void memoryWithRuns()
    {
        QFETCH(int, runs);
        QFETCH(int, samples);
        QList<VirtualMeter::Run> list;
        for (int k = 0; k < runs; ++k) {
            VirtualMeter::Run run{
                QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)).addSecs(k), 5 + k, {}};
            for (int i = 0; i < samples; ++i)
                run.samples.append({80.0 + i % 10, i % 7 == 3});
            list << run;
        }
        const QByteArray image = VirtualMeter::memoryWithRuns(list, 0xABCD, 600);
        QTEST(runTable(image), "table");
        QCOMPARE(reg(image, MemoryMap::kIdCodeHigh), 0xAB);
        QCOMPARE(reg(image, MemoryMap::kIdCodeLow), 0xCD);
        QCOMPARE(reg(image, MemoryMap::kIntervalLow), 0x58);
        QCOMPARE(reg(image, MemoryMap::kIntervalHigh), 0x02);
        QCOMPARE(reg(image, MemoryMap::kMemoryFlags), 0);
        if (runs > 0)
            QCOMPARE(image.mid(0x0300, 8).toHex(' '), "09 12 31 23 59 59 05 00");
        if (samples >= 4)
            QCOMPARE(image.mid(0x0308, 12).toHex(' '), "00 08 00 10 08 00 20 08 00 30 08 40");
    }

    void sampleEncoding_data()
    {
        QTest::addColumn<double>("db");
        QTest::addColumn<bool>("overload");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("94.5") << 94.5 << false << QByteArray("45 09 00");
        QTest::newRow("123.4") << 123.4 << false << QByteArray("34 12 00");
        QTest::newRow("rounds-to-tenths") << 70.06 << false << QByteArray("01 07 00");
        QTest::newRow("overload-flag") << 140.0 << true << QByteArray("00 14 40");
        QTest::newRow("clamped-high") << 250.0 << false << QByteArray("99 19 00");
        QTest::newRow("clamped-low") << -3.0 << false << QByteArray("00 00 00");
    }
    void sampleEncoding()
    {
        QFETCH(double, db);
        QFETCH(bool, overload);
        const QByteArray image = VirtualMeter::memoryWithRuns(
            {{QDateTime(QDate(2009, 1, 2), QTime(3, 4, 5)), 10, {{db, overload}}}}, 1, 10);
        QTEST(image.mid(0x0308, 3).toHex(' '), "bytes");
    }

    void fullFlagAndPadding()
    {
        QCOMPARE(reg(VirtualMeter::memoryWithRuns({}, 1, 10, true), MemoryMap::kMemoryFlags),
                 int(MemoryMap::kMemoryFullBit));
        VirtualMeter meter;
        meter.loadMemory(QByteArray(3, char(0x11)));
        QCOMPARE(meter.memory().size(), 0x10000);
        QCOMPARE(meter.reg(3), 0);
        meter.loadMemory(QByteArray(0x10005, char(0x22)));
        QCOMPARE(meter.memory().size(), 0x10000);
    }
};

DOSEMETER_TEST(TestMemoryImages)
#include "tst_MemoryImages.moc"
