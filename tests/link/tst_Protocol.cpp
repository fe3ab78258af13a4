#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "support/ScriptedLink.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

struct Fixture {
    ScriptedLink link;
    FakeClock clock;
    MeterState state;
    Meter meter{link, clock, state};
    Fixture() { link.open(); }
};

struct CountingPoll final : PollControl {
    void setPollEnabled(bool enabled) override
    {
        changes << enabled;
        on = enabled;
    }
    bool pollEnabled() const override { return on; }
    QList<bool> changes;
    bool on = true;
};

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void readByteReplies_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("lastByte");
        QTest::addColumn<int>("requests");

        QTest::newRow("framed") << QList<QByteArray>{bytes({2, 0x41, 3})} << true << 65 << 1;
        QTest::newRow("stale-byte-first")
            << QList<QByteArray>{bytes({0x55, 2, 0x41, 3})} << true << 65 << 1;
        QTest::newRow("short-then-framed")
            << QList<QByteArray>{bytes({2, 0x41}), bytes({2, 0x07, 3})} << true << 7 << 2;
        QTest::newRow("bad-framing-resent")
            << QList<QByteArray>{bytes({1, 0x41, 3}), bytes({2, 0xFF, 3})} << true << 255 << 2;
        QTest::newRow("nothing-then-framed")
            << QList<QByteArray>{QByteArray(), QByteArray(), bytes({2, 0, 3})} << true << 0 << 3;
    }
    void readByteReplies()
    {
        QFETCH(QList<QByteArray>, replies);
        Fixture f;
        f.state.link.LastByte = 99;
        for (const QByteArray &r : replies)
            f.link.replies.enqueue(r);
        QTEST(f.meter.readByte(0x013B), "ok");
        QTEST(f.state.link.LastByte, "lastByte");
        QTEST(int(f.link.writes.size()), "requests");
        QCOMPARE(f.link.writes.first(), bytes({0x52, 0x3B, 0x01}));
    }

    void readByteGivesUpAfter100Attempts_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("short-replies") << bytes({2, 0x41});
        QTest::newRow("bad-framing") << bytes({2, 0x41, 2});
        QTest::newRow("silence") << QByteArray();
    }
    void readByteGivesUpAfter100Attempts()
    {
        QFETCH(QByteArray, reply);
        Fixture f;
        f.state.link.LastByte = 42;
        f.link.whenEmpty = reply;
        f.meter.setRefreshTimeout(1.0); // the refresh after giving up must end too
        const double start = f.clock.monotonicSeconds();
        QVERIFY(!f.meter.readByte(100));
        QCOMPARE(f.state.link.LastByte, 42);
        int reads = 0;
        for (const QByteArray &w : f.link.writes)
            reads += w.startsWith('R');
        QCOMPARE(reads, 100);
        // The settings refresh ran after the last attempt.
        QVERIFY(f.link.writes.contains(QByteArray("X")));
        QVERIFY(f.clock.monotonicSeconds() - start >= 100 * 0.05);
    }

    void outOfRangeSendsNothing()
    {
        Fixture f;
        QVERIFY(!f.meter.readByte(-1));
        QVERIFY(!f.meter.readByte(65536));
        QVERIFY(!f.meter.readRawByte(70000));
        QVERIFY(!f.meter.writeByte(-1, 0));
        QVERIFY(!f.meter.writeByte(65536, 0));
        QVERIFY(!f.meter.writeByte(65535.6, 0)); // rounds past the last register
        QVERIFY(!f.meter.writeByte(10, 256));
        QVERIFY(!f.meter.writeByte(10, -1));
        QVERIFY(!f.meter.errorString().isEmpty());
        QVERIFY(f.link.writes.isEmpty());
    }

    void writeByte_data()
    {
        QTest::addColumn<double>("address");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("rounds-down") << 1000.4 << bytes({0x57, 0xE8, 0x03, 0x2A});
        QTest::newRow("rounds-up") << 1000.6 << bytes({0x57, 0xE9, 0x03, 0x2A});
        QTest::newRow("zero") << 0.0 << bytes({0x57, 0, 0, 0x2A});
        QTest::newRow("top") << 65535.0 << bytes({0x57, 0xFF, 0xFF, 0x2A});
    }
    void writeByte()
    {
        QFETCH(double, address);
        Fixture f;
        const double start = f.clock.monotonicSeconds();
        QVERIFY(f.meter.writeByte(address, 0x2A));
        QCOMPARE(f.link.writes.size(), 1);
        QTEST(f.link.writes.first(), "expected");
        QVERIFY(f.clock.monotonicSeconds() - start >= 0.05);
    }

    void sendKeyPacing_data()
    {
        QTest::addColumn<bool>("pacing");
        QTest::addColumn<double>("seconds");
        QTest::newRow("plain") << false << 0.1;
        QTest::newRow("paced") << true << 2.1;
    }
    void sendKeyPacing()
    {
        QFETCH(bool, pacing);
        QFETCH(double, seconds);
        Fixture f;
        f.state.link.KeyPacing = pacing;
        const double start = f.clock.monotonicSeconds();
        QVERIFY(f.meter.sendKey(16));
        QCOMPARE(f.link.writes.first(), bytes({0x46, 16}));
        QVERIFY(qAbs(f.clock.monotonicSeconds() - start - seconds) < 0.01);
        QVERIFY(!f.meter.sendKey(256));
        QCOMPARE(f.link.writes.size(), 1);
    }

    void keypadLockStopsThePoll()
    {
        Fixture f;
        CountingPoll poll;
        f.meter.setPollControl(&poll);
        f.meter.sendKeypadLock();
        QCOMPARE(f.link.writes, QList<QByteArray>{QByteArray("K")});
        QCOMPARE(poll.changes, (QList<bool>{false, true}));
    }

    void refreshSettings()
    {
        Fixture f;
        QSignalSpy labels(&f.meter, &Meter::portLabelChanged);
        f.state.link.RefreshPending = true;
        f.link.preload(bytes({0x77, 0x77})); // left over; emptied before the request
        f.link.replies << QByteArray() << bytes({2, 0x15}) << bytes({9, 2, 0x15, 3})
                       << bytes({2, 77, 3});
        QVERIFY(f.meter.refreshSettings());
        QCOMPARE(f.state.status.CriterionLevel, 84);
        QCOMPARE(f.state.status.ExchangeRate, 4);
        QCOMPARE(f.state.status.TimeWeightingText, QStringLiteral("Fast"));
        QCOMPARE(f.state.ThresholdLevel, 77);
        QVERIFY(!f.state.link.RefreshPending);
        QVERIFY(!f.state.link.RefreshBusy);
        QCOMPARE(f.link.writes.last(), bytes({0x52, 0x3B, 0x00}));
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels.at(0).at(0).toString(), QStringLiteral("No COM"));
        QCOMPARE(labels.at(1).at(0).toString(), QStringLiteral("COM2"));
    }

    void refreshIsNotReentered()
    {
        Fixture f;
        f.link.replies << QByteArray() << QByteArray() << bytes({2, 0, 3}) << bytes({2, 80, 3});
        int nested = 0;
        int nestedResults = 0;
        f.clock.duringSleep = [&] {
            if (nested++ == 0)
                nestedResults += f.meter.refreshSettings() ? 1 : 0;
        };
        QVERIFY(f.meter.refreshSettings());
        QCOMPARE(nestedResults, 0);
        QCOMPARE(f.state.ThresholdLevel, 80);
    }

    void refreshTimeOut()
    {
        Fixture f;
        QSignalSpy silent(&f.meter, &Meter::meterSilent);
        f.meter.setRefreshTimeout(2.0);
        QVERIFY(!f.meter.refreshSettings());
        QCOMPARE(silent.size(), 1);
        QVERIFY(!f.state.link.RefreshBusy);
        QVERIFY(f.link.writes.size() >= 38 && f.link.writes.size() <= 42);
    }

    // A threshold the meter's menu cannot set is read again and taken once two reads
    // agree; one within 70..90 dB is taken at once.
    void thresholdReadAgain_data()
    {
        QTest::addColumn<QList<int>>("thresholds"); // the replies to the threshold reads
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("reads");
        QTest::newRow("in-range") << QList<int>{75} << true << 75 << 1;
        QTest::newRow("highest") << QList<int>{90} << true << 90 << 1;
        QTest::newRow("damaged-then-right") << QList<int>{208, 80} << true << 80 << 2;
        QTest::newRow("held-by-the-register") << QList<int>{200, 200} << true << 200 << 2;
        QTest::newRow("twice-different-then-agreeing") << QList<int>{0, 91, 91} << true << 91 << 3;
        QTest::newRow("never-agreeing") << QList<int>{0, 1, 2, 3} << false << -1 << 4;
    }
    void thresholdReadAgain()
    {
        QFETCH(QList<int>, thresholds);
        Fixture f;
        f.link.replies << bytes({2, 0x15, 3});
        for (int db : thresholds)
            f.link.replies << bytes({2, db, 3});
        QVERIFY(f.meter.refreshSettings());
        QTEST(f.meter.thresholdRead(), "read");
        QTEST(f.state.ThresholdLevel, "threshold");
        QTEST(int(f.link.writes.count(bytes({0x52, 0x3B, 0x00}))), "reads");
    }

    // With a silence limit, every exchange ends once the meter has given no usable reply
    // for that long, counted from the first request it left unanswered, across the
    // exchanges: a read that gives up does not start the refresh's time afresh.
    void silenceLimit_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QByteArray>("reply"); // to every request
        QTest::newRow("read-silent") << "read" << QByteArray();
        QTest::newRow("read-bad-framing") << "read" << bytes({2, 0x41, 2});
        QTest::newRow("refresh-silent") << "refresh" << QByteArray();
        QTest::newRow("select-dba-damaged-frames")
            << "select-dba" << bytes({2, 0x40, 0, 0x1E, 0x9E, 0, 3});
    }
    void silenceLimit()
    {
        QFETCH(QString, call);
        QFETCH(QByteArray, reply);
        Fixture f;
        f.link.whenEmpty = reply;
        f.meter.setSilenceLimit(1.5);
        QSignalSpy silent(&f.meter, &Meter::meterSilent);
        const double start = f.clock.monotonicSeconds();
        if (call == QLatin1String("read"))
            QVERIFY(!f.meter.readByte(100));
        else if (call == QLatin1String("refresh"))
            QVERIFY(!f.meter.refreshSettings());
        else
            f.meter.selectDbaDisplay();
        const double seconds = f.clock.monotonicSeconds() - start;
        // Past the limit by no more than one exchange: a key press and a frame's wait.
        QVERIFY2(seconds >= 1.5 && seconds < 1.75, qPrintable(QString::number(seconds)));
        QCOMPARE(silent.size(), 1);
    }

    void silenceEndsWithAReply()
    {
        Fixture f;
        f.meter.setSilenceLimit(1.0);
        // 0.8 s without a usable reply, then one: the next exchange has its full second.
        for (int i = 0; i < 16; ++i)
            f.link.replies << QByteArray();
        f.link.replies << bytes({2, 7, 3});
        QVERIFY(f.meter.readByte(1));
        QCOMPARE(f.meter.silentSeconds(), 0.0);
        const double start = f.clock.monotonicSeconds();
        QVERIFY(!f.meter.readByte(2));
        QVERIFY(f.clock.monotonicSeconds() - start >= 1.0);
    }

    void abortEndsEveryLoop()
    {
        Fixture f;
        int sleeps = 0;
        f.clock.duringSleep = [&] {
            if (++sleeps == 30)
                f.meter.abort();
        };
        QVERIFY(!f.meter.refreshSettings()); // no time-out: only the abort ends it
        QVERIFY(!f.meter.readByte(0));
        QVERIFY(f.meter.aborted());
    }

    void selectDbaDisplay_data()
    {
        QTest::addColumn<int>("framesUntilDba"); // 0: never
        QTest::addColumn<int>("modePresses");    // the incomplete second frame costs one more
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("first-frame") << 1 << 1 << false;
        QTest::newRow("third-frame") << 3 << 4 << false;
        QTest::newRow("never") << 0 << 12 << true;
    }
    void selectDbaDisplay()
    {
        QFETCH(int, framesUntilDba);
        QFETCH(int, modePresses);
        QFETCH(bool, refreshed);
        Fixture f;
        CountingPoll poll;
        f.meter.setPollControl(&poll);
        const QByteArray dose = bytes({2, 0x20, 0, 0x12, 0x05, 0, 3});
        const QByteArray dba = bytes({2, 0x40, 0x10, 0x09, 0x45, 0, 3});
        // Each round: the key (no reply), then the display request.
        for (int frame = 1; frame <= 11; ++frame) {
            f.link.replies << QByteArray();
            if (frame == 2) // an incomplete frame is not counted
                f.link.replies << bytes({2, 0x20}) << QByteArray();
            f.link.replies << (frame == framesUntilDba ? dba : dose);
        }
        f.link.whenEmpty = bytes({2, 0x15, 3}); // status and threshold for the refresh
        f.meter.selectDbaDisplay();
        int presses = 0;
        for (const QByteArray &w : f.link.writes)
            presses += (w == bytes({0x46, 1}));
        QCOMPARE(presses, modePresses);
        QCOMPARE(f.link.writes.contains(QByteArray("X")), refreshed);
        QCOMPARE(poll.changes.first(), false);
        QCOMPARE(poll.changes.last(), true);
        QCOMPARE(f.state.display.DbaMode, !refreshed);
    }

    void selectDbaGivesUpOnSilence()
    {
        Fixture f;
        f.meter.setRefreshTimeout(1.0);
        f.meter.selectDbaDisplay(); // returns: the silent meter went to the refresh
        QVERIFY(f.link.writes.contains(QByteArray("X")));
    }

    void waitAcrossMidnight()
    {
        FakeClock clock(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59, 500)));
        const double start = clock.monotonicSeconds();
        wait(clock, 1.0);
        QVERIFY(clock.monotonicSeconds() - start >= 1.0);
        QCOMPARE(clock.now(), QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0, 500)));
    }

    void waitLastsPastItsEnd_data()
    {
        QTest::addColumn<double>("step");
        QTest::newRow("exact-clock") << 0.0;
        QTest::newRow("coarse-clock") << 0.016;
        QTest::newRow("fine-clock") << 0.001;
    }
    void waitLastsPastItsEnd()
    {
        QFETCH(double, step);
        FakeClock clock;
        clock.setStep(step);
        int sleeps = 0;
        clock.duringSleep = [&] { ++sleeps; };
        const double start = clock.monotonicSeconds();
        wait(clock, 0.05);
        const double waited = clock.monotonicSeconds() - start;
        QVERIFY(waited > 0.05);
        QVERIFY(waited <= 0.05 + qMax(step, 0.001));
        QVERIFY(sleeps >= 1);
    }

    void systemWaitKeepsEventsAlive()
    {
        SystemClock clock;
        bool fired = false;
        QTimer::singleShot(10, [&] { fired = true; });
        const double start = clock.monotonicSeconds();
        wait(clock, 0.05);
        QVERIFY(clock.monotonicSeconds() - start > 0.05);
        QVERIFY(fired);
    }
};

DOSEMETER_TEST(TestProtocol)
#include "tst_Protocol.moc"
