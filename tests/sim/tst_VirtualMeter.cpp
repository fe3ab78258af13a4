#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kByte = VirtualMeter::kSecondsPerByte;
constexpr double kLatency = VirtualMeter::kLatency;
const QDateTime kMeterClock(QDate(2009, 11, 30), QTime(10, 7));

// A meter with a known display: fixed 94.5 dB, its clock at 2009/11/30 10:07 at t = 0.
struct Fixture {
    VirtualMeter meter;
    explicit Fixture(quint32 seed = 1) : meter(seed)
    {
        meter.setClock(kMeterClock, 0.0);
        meter.setFixedLevel(94.5);
    }
    // Sends `command` at `t` and returns everything the meter sends within a second.
    QByteArray ask(const QByteArray &command, double t)
    {
        meter.receive(command, t);
        return meter.takeReady(t + 1.0);
    }
    QByteArray frame(double t) { return ask(" ", t); }
    void key(int code, double t) { meter.receive(QByteArray("F") + char(code), t); }
};

} // namespace

class TestVirtualMeter : public QObject {
    Q_OBJECT

private slots:
    void replies_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("reply");

        const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
        QTest::newRow("status") << QByteArray("X") << hex("021503");
        QTest::newRow("display-dba") << QByteArray(" ") << hex("02401009 45a003");
        QTest::newRow("read-threshold") << hex("523b00") << hex("025003");
        QTest::newRow("read-run-table-low-first") << hex("5200025201 02") << hex("020003 020303");
        QTest::newRow("read-bank-copy-erased") << hex("52017a") << hex("02ff03");
        QTest::newRow("read-address-bytes-look-like-commands") << hex("525800") << hex("020003");
        QTest::newRow("key-no-reply") << hex("4601") << QByteArray();
        QTest::newRow("lock-no-reply") << QByteArray("K") << QByteArray();
        QTest::newRow("write-no-reply") << hex("57341277") << QByteArray();
        QTest::newRow("erase-no-reply") << QByteArray("EEE") << QByteArray();
        QTest::newRow("write-then-read") << hex("57341277 523412") << hex("027703");
        QTest::newRow("write-high-address") << hex("57ffff01 52ffff") << hex("020103");
        QTest::newRow("unknown-bytes-ignored") << hex("00 51 ff 0d") + "X" << hex("021503");
        QTest::newRow("two-commands-one-call") << hex("58 523b00") << hex("021503 025003");
        QTest::newRow("broken-erase-then-status") << QByteArray("EEX") << hex("021503");
    }
    // Whole, and byte by byte over several receive() calls: the same reply.
    void replies()
    {
        QFETCH(QByteArray, input);
        Fixture whole;
        QTEST(whole.ask(input, 10.0), "reply");

        Fixture split;
        double t = 10.0;
        for (char byte : input)
            split.meter.receive(QByteArray(1, byte), t += 0.001);
        QTEST(split.meter.takeReady(t + 1.0), "reply");
    }

    void brokenEraseErasesNothing()
    {
        Fixture f;
        f.meter.loadMemory(
            VirtualMeter::memoryWithRuns({{kMeterClock, 10, {{80.0, false}}}}, 1, 10));
        f.meter.receive("EEXEE", 1.0);
        QCOMPARE(f.meter.reg(MemoryMap::kRunCount), 1);
        f.meter.receive("E", 1.1); // completes the second sequence
        QCOMPARE(f.meter.reg(MemoryMap::kRunCount), 0);
    }

    void displayFrames_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("level");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("battery");
        QTest::addColumn<QByteArray>("frame");

        using M = VirtualMeter::DisplayMode;
        QTest::newRow("dba-094.5")
            << int(M::Dba) << 94.5 << false << 5 << QByteArray("02 40 10 09 45 a0 03");
        QTest::newRow("dba-135.2")
            << int(M::Dba) << 135.2 << false << 5 << QByteArray("02 40 14 13 52 a0 03");
        QTest::newRow("dba-under-range")
            << int(M::Dba) << -1.0 << false << 5 << QByteArray("02 40 10 bb bb a0 03");
        QTest::newRow("dba-overload")
            << int(M::Dba) << 200.0 << false << 5 << QByteArray("02 40 14 aa aa a0 03");
        // The measuring range, as the main window's Range shows it: 70 to 140 dB.
        QTest::newRow("dba-150-overload")
            << int(M::Dba) << 150.0 << false << 5 << QByteArray("02 40 14 aa aa a0 03");
        QTest::newRow("dba-140.0-top-of-range")
            << int(M::Dba) << 140.0 << false << 5 << QByteArray("02 40 14 14 00 a0 03");
        QTest::newRow("dba-50-under-range")
            << int(M::Dba) << 50.0 << false << 5 << QByteArray("02 40 10 bb bb a0 03");
        QTest::newRow("dose-stopped")
            << int(M::Dose) << 94.5 << false << 5 << QByteArray("02 20 20 00 00 a0 03");
        QTest::newRow("clock-10:07")
            << int(M::Clock) << 94.5 << false << 5 << QByteArray("02 81 00 10 07 a0 03");
        QTest::newRow("date-11-30")
            << int(M::Date) << 94.5 << false << 5 << QByteArray("02 82 00 11 30 a0 03");
        QTest::newRow("keys-locked")
            << int(M::Dba) << 94.5 << true << 5 << QByteArray("02 40 90 09 45 a0 03");
        QTest::newRow("battery-7")
            << int(M::Dba) << 94.5 << false << 7 << QByteArray("02 40 10 09 45 e0 03");
        QTest::newRow("battery-0")
            << int(M::Dba) << 94.5 << false << 0 << QByteArray("02 40 10 09 45 00 03");
    }
    void displayFrames()
    {
        QFETCH(int, mode);
        QFETCH(double, level);
        QFETCH(bool, locked);
        QFETCH(int, battery);
        Fixture f;
        f.meter.setDisplayMode(VirtualMeter::DisplayMode(mode));
        f.meter.setFixedLevel(level);
        f.meter.setLocked(locked);
        f.meter.setBattery(battery);
        QTEST(f.frame(5.0).toHex(' '), "frame");
    }

    void varyingLevelStaysPlausible()
    {
        Fixture f(42);
        f.meter.setFixedLevel(std::nullopt);
        QList<double> levels;
        int notLevels = 0;
        for (int i = 0; i < 4000; ++i) {
            const QByteArray digits = f.frame(i * 0.25).mid(3, 2).toHex();
            if (digits.contains('a') || digits.contains('b'))
                ++notLevels; // overload, under range
            else
                levels << digits.toInt() / 10.0;
        }
        const auto [low, high] = std::minmax_element(levels.cbegin(), levels.cend());
        QVERIFY2(*low >= 60.0 && *high <= 125.0 && *high - *low > 5.0,
                 qPrintable(QString("%1..%2").arg(*low).arg(*high)));
        QVERIFY(notLevels > 0 && notLevels < 400);
    }

    void pacing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("length");
        QTest::newRow("status") << QByteArray("X") << 3;
        QTest::newRow("display") << QByteArray(" ") << 7;
        QTest::newRow("read") << QByteArray::fromHex("523b00") << 3;
    }
    // Byte i of a reply is readable at (i + 1) byte times plus the latency, not before.
    void pacing()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, length);
        Fixture f;
        const double t = 20.0;
        f.meter.receive(command, t);
        QCOMPARE(f.meter.nextReadyTime(), t + kByte + kLatency);
        QByteArray got;
        for (int i = 0; i < length; ++i) {
            const double ready = t + (i + 1) * kByte + kLatency;
            got += f.meter.takeReady(ready - 1e-6);
            QCOMPARE(got.size(), i);
            got += f.meter.takeReady(ready);
            QCOMPARE(got.size(), i + 1);
        }
        QVERIFY(std::isinf(f.meter.nextReadyTime()));
    }

    // Replies queue behind each other on the line; a later command starts afresh.
    void repliesNeverOvertake()
    {
        Fixture f;
        f.meter.receive("X ", 1.0);
        f.meter.receive("X", 1.001); // arrives while the first two replies are still going out
        QCOMPARE(f.meter.takeReady(1.0 + 3 * kByte + kLatency), QByteArray::fromHex("021503"));
        QCOMPARE(f.meter.takeReady(1.0 + 10 * kByte + kLatency).size(), 7);
        QCOMPARE(f.meter.nextReadyTime(), 1.0 + 11 * kByte + kLatency);
        QCOMPARE(f.meter.takeReady(2.0).size(), 3);
        f.meter.receive("X", 5.0);
        QCOMPARE(f.meter.nextReadyTime(), 5.0 + kByte + kLatency);
    }

    void dumpStreamsLoggerMemory()
    {
        Fixture f;
        const QByteArray image = VirtualMeter::demoMemory(kMeterClock);
        f.meter.loadMemory(image);
        f.meter.receive("U", 0.0);
        QVERIFY(f.meter.dumping(1.0));
        f.meter.receive("X", 1.0); // ignored while the stream runs
        const double end = VirtualMeter::kDumpLength * kByte + kLatency;
        QByteArray stream = f.meter.takeReady(end - 0.5);
        QVERIFY(stream.size() < VirtualMeter::kDumpLength);
        stream += f.meter.takeReady(end);
        QCOMPARE(stream.size(), 31233);
        QCOMPARE(stream.mid(1), image.left(MemoryMap::kLoggerEnd));
        QVERIFY(!f.meter.dumping(end));
        QVERIFY(std::isinf(f.meter.nextReadyTime()));

        // The reader's closing "U" after a complete stream does not start another one.
        f.meter.receive("U", end + 0.2);
        QVERIFY(std::isinf(f.meter.nextReadyTime()));
        QCOMPARE(f.ask("X", end + 0.3), QByteArray::fromHex("021503"));
        // Later, "U" is a new request.
        f.meter.receive("U", end + 10.0);
        QVERIFY(f.meter.dumping(end + 11.0));
    }

    void secondUStopsDump()
    {
        Fixture f;
        f.meter.receive("U", 0.0);
        f.meter.receive("U", 1.0);
        QVERIFY(!f.meter.dumping(1.0));
        // What was on the line by then arrives; nothing after it.
        const QByteArray stream = f.meter.takeReady(100.0);
        QVERIFY2(std::abs(stream.size() - 960) <= 2, qPrintable(QString::number(stream.size())));
        QCOMPARE(f.ask("X", 2.0), QByteArray::fromHex("021503"));
    }

    void eraseEmptiesLogger()
    {
        Fixture f;
        QList<VirtualMeter::Run> runs{{kMeterClock, 10, {{90.0, false}, {91.0, false}}},
                                      {kMeterClock.addSecs(60), 5, {{70.0, true}}}};
        f.meter.loadMemory(VirtualMeter::memoryWithRuns(runs, 7, 10, true));
        f.meter.setReg(MemoryMap::kMemoryFlags, 0x03);
        f.meter.receive("EEE", 1.0);
        QCOMPARE(f.meter.reg(MemoryMap::kRunCount), 0);
        QCOMPARE(f.meter.reg(0x0200), 0x00);
        QCOMPARE(f.meter.reg(0x0201), 0x03);
        QCOMPARE(f.meter.reg(MemoryMap::kMemoryFlags), 0x02); // only the full bit goes
        QCOMPARE(f.meter.reg(MemoryMap::kIdCodeLow), 7);
    }

    void modeCycles()
    {
        Fixture f;
        QList<int> flags;
        for (int i = 0; i < 5; ++i) {
            flags << quint8(f.frame(1.0 + i).at(1));
            f.key(Protocol::kKeyMode, 1.5 + i);
        }
        QCOMPARE(flags, (QList<int>{0x40, 0x20, 0x81, 0x82, 0x40}));
    }

    void lockBlocksFrontPanelKeys()
    {
        Fixture f;
        f.meter.receive("K", 1.0);
        QVERIFY(f.meter.locked());
        QCOMPARE(quint8(f.frame(1.1).at(2)) & 0x80, 0x80);
        f.key(Protocol::kKeyMode, 2.0);
        f.key(Protocol::kKeyRunPause, 2.1);
        QCOMPARE(f.meter.displayMode(), VirtualMeter::DisplayMode::Dba);
        QVERIFY(!f.meter.running());
        f.meter.receive("K", 3.0);
        f.key(Protocol::kKeyMode, 3.1);
        f.key(Protocol::kKeyRunPause, 3.2);
        QCOMPARE(f.meter.displayMode(), VirtualMeter::DisplayMode::Dose);
        QVERIFY(f.meter.running());
    }

    void runPauseContinueStopFillsBank()
    {
        Fixture f;
        f.meter.setFixedLevel(90.0); // status 0x15: criterion 84, exchange 4 -> 35.36 %/h
        f.meter.setClock(QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 0.0);
        f.key(Protocol::kKeyRunPause, 0.0);
        QVERIFY(f.meter.running());
        QCOMPARE(f.meter.eventBank(), 1);
        QCOMPARE(f.frame(1.0).toHex(' ').mid(3, 2), "48");     // Running, DbaMode
        QCOMPARE(quint8(f.frame(1.0).at(2)) & 0x02, 0x02);     // MEM
        QCOMPARE(quint8(f.frame(1.0).at(5)), 0xA0 | 0x08 | 1); // battery, blink, E1

        f.key(Protocol::kKeyRunPause, 1800.0);
        QVERIFY(f.meter.paused());
        QCOMPARE(quint8(f.frame(1801.0).at(1)), 0x40 | 0x08 | 0x04);
        f.key(Protocol::kKeyContinue, 2400.0);
        QVERIFY(!f.meter.paused());
        f.key(Protocol::kKeyStop, 5400.0); // 90 min, 10 of them paused
        QVERIFY(!f.meter.running());

        const int base = MemoryMap::bankAddress(1);
        QByteArray bank;
        for (int i = 0; i < MemoryMap::kBankSize; ++i)
            bank += char(f.meter.reg(base + i));
        QCOMPARE(bank.left(9).toHex(' '), "95 11 30 08 00 09 30 01 14"); // used 84/4/fast; 1:20
        const int raw = quint8(bank.at(9)) << 8 | quint8(bank.at(10));
        const double expected = 100.0 / 8.0 * std::exp2(6.0 / 4.0) * 80.0 / 60.0;
        QVERIFY2(std::abs(raw / 100.0 - expected) < 0.1, qPrintable(QString::number(raw)));
        QCOMPARE(quint8(bank.at(11)), 100);
        QCOMPARE(quint8(bank.at(15)), 0xFF); // no peak
        QCOMPARE(quint8(bank.at(19)), 80);   // threshold

        // Each run records into the next bank, E5 wrapping to E1.
        for (int expectedBank : {2, 3, 4, 5, 1}) {
            f.key(Protocol::kKeyRunPause, 6000.0);
            QCOMPARE(f.meter.eventBank(), expectedBank);
            f.key(Protocol::kKeyStop, 6060.0);
        }
        QCOMPARE(f.meter.reg(MemoryMap::bankAddress(1) + 7), 0); // E1 rewritten: 0:01
        QCOMPARE(f.meter.reg(MemoryMap::bankAddress(1) + 8), 1);
    }

    void doseDisplayGrows_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<QByteArray>("digits");
        QTest::addColumn<int>("point"); // byte 3 decimal point bit
        QTest::newRow("one-hour-12.50") << 1.0 << QByteArray("1250") << 0x20;
        QTest::newRow("nine-hours-112.5") << 9.0 << QByteArray("1125") << 0x10;
    }
    // At the criterion level the dose grows by 100 % in eight hours.
    void doseDisplayGrows()
    {
        QFETCH(double, hours);
        Fixture f;
        f.meter.setFixedLevel(84.0);
        f.meter.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        f.key(Protocol::kKeyRunPause, 0.0);
        const QByteArray frame = f.frame(hours * 3600.0);
        QTEST(frame.mid(3, 2).toHex(), "digits");
        QTEST(quint8(frame.at(2)) & 0x30, "point");
        QCOMPARE(quint8(frame.at(1)) & 0x20, 0x20); // DoseMode
    }

    void faults_data()
    {
        QTest::addColumn<double>("shortReply");
        QTest::addColumn<qint64>("stallAfter");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QByteArray>("reply"); // to "X", "X"
        QTest::newRow("none") << 0.0 << qint64(-1) << false << QByteArray::fromHex("021503021503");
        QTest::newRow("short") << 1.0 << qint64(-1) << false << QByteArray::fromHex("02150215");
        QTest::newRow("stall-after-4")
            << 0.0 << qint64(4) << false << QByteArray::fromHex("02150302");
        QTest::newRow("stall-after-0") << 0.0 << qint64(0) << false << QByteArray();
        QTest::newRow("silent") << 0.0 << qint64(-1) << true << QByteArray();
    }
    void faults()
    {
        QFETCH(double, shortReply);
        QFETCH(qint64, stallAfter);
        QFETCH(bool, silent);
        Fixture f;
        f.meter.setFaults({0.0, 0.0, shortReply, stallAfter, silent});
        QByteArray got = f.ask("X", 1.0);
        got += f.ask("X", 2.0);
        QTEST(got, "reply");
        f.key(Protocol::kKeyMode, 3.0); // a meter that does not answer still works its keys
        QCOMPARE(f.meter.displayMode(), VirtualMeter::DisplayMode::Dose);
    }

    void dropAndCorruptRepeatWithSeed()
    {
        const auto run = [](quint32 seed, double drop, double corrupt) {
            Fixture f(seed);
            f.meter.setFaults({drop, corrupt, 0.0, -1, false});
            QByteArray got;
            for (int i = 0; i < 300; ++i)
                got += f.ask("X", i);
            return got;
        };
        const QByteArray dropped = run(3, 0.3, 0.0);
        QCOMPARE(run(3, 0.3, 0.0), dropped);
        QVERIFY(run(4, 0.3, 0.0) != dropped);
        QVERIFY2(dropped.size() > 500 && dropped.size() < 760,
                 qPrintable(QString::number(dropped.size())));

        const QByteArray corrupted = run(3, 0.0, 1.0);
        QCOMPARE(corrupted.size(), 900);
        for (int i = 0; i < corrupted.size(); ++i)
            QVERIFY(corrupted.at(i) != QByteArray::fromHex("021503").at(i % 3));
    }

    void vanishedMeterHearsAndSaysNothing()
    {
        Fixture f;
        f.meter.receive("X", 1.0);
        f.meter.setVanished(true);
        QVERIFY(f.ask("X", 1.5).isEmpty());
        f.key(Protocol::kKeyMode, 1.6);
        QCOMPARE(f.meter.displayMode(), VirtualMeter::DisplayMode::Dba);
        QCOMPARE(f.meter.received(), QByteArray("X"));
        f.meter.setVanished(false);
        QCOMPARE(f.ask("X", 2.0), QByteArray::fromHex("021503")); // nothing stale
    }
};

DOSEMETER_TEST(TestVirtualMeter)
#include "tst_VirtualMeter.moc"
