#include "link/Clock.h"
#include "link/Meter.h"
#include "main/Poller.h"
#include "support/ScriptedLink.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

QByteArray frame(int flags, int digitsHigh, int digitsLow, int bank = 0)
{
    QByteArray bytes;
    for (int b : {0x02, flags, 0x10, digitsHigh, digitsLow, bank, 0x03})
        bytes.append(char(b));
    return bytes;
}

} // namespace

// The main window's poll: a frame the meter cannot show is asked for again and never
// read as a level.
class TestPoller : public QObject {
    Q_OBJECT

private slots:
    void damagedFrames_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies"); // to the display requests, in order
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("levelText");
        const QByteArray level = frame(0x40, 0x09, 0x45);
        const int decoded = int(Poller::Outcome::Decoded);
        // A first frame is confirmed by a second request at once.
        QTest::newRow("whole") << QList<QByteArray>{level, level} << decoded << 2 << "094.5";
        QTest::newRow("hex-digits-then-whole")
            << QList<QByteArray>{frame(0x40, 0x1E, 0x9E, 0xA5), level, level} << decoded << 3
            << "094.5";
        QTest::newRow("under-range")
            << QList<QByteArray>{frame(0x40, 0xBB, 0xBB), frame(0x40, 0xBB, 0xBB)} << decoded << 2
            << "----";
        QTest::newRow("damaged-six-times") << QList<QByteArray>(6, frame(0x40, 0x9F, 0x45))
                                           << int(Poller::Outcome::ShortReplies) << 6 << "kept";
        QTest::newRow("bad-framing") << QList<QByteArray>{level.left(6) + char(0x04)}
                                     << int(Poller::Outcome::BadFraming) << 1 << "kept";
    }
    void damagedFrames()
    {
        QFETCH(QList<QByteArray>, replies);
        ScriptedLink link;
        link.open();
        FakeClock clock;
        MeterState state;
        Meter meter(link, clock, state);
        state.display.LevelText = QStringLiteral("kept");
        for (const QByteArray &reply : replies)
            link.replies << reply;
        link.whenEmpty = QByteArray::fromHex("025003"); // the refresh: status, threshold 80
        Poller poller(meter);
        QTEST(int(poller.tick().outcome), "outcome");
        QTEST(int(link.writes.count(QByteArray(" "))), "requests");
        QTEST(state.display.LevelText, "levelText");
    }

    // A frame changes what the program believes only once a second one decodes alike: a
    // steady display costs one request a tick, a change one more in the same tick, and a
    // damaged frame that the meter could show is never taken.
    void confirmation_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies"); // to the display requests, in order
        QTest::addColumn<QList<int>>("outcomes");       // of the ticks, one each
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("levelText");
        const QByteArray level = frame(0x40, 0x09, 0x45);
        const QByteArray louder = frame(0x40, 0x09, 0x60);
        const QByteArray overload = frame(0x40, 0xAA, 0xAA);
        const QByteArray dose = frame(0x20, 0x01, 0x23);
        const int d = int(Poller::Outcome::Decoded);
        const int u = int(Poller::Outcome::Unconfirmed);
        QTest::newRow("steady-one-request-a-tick")
            << QList<QByteArray>{level, level, level, level} << QList<int>{d, d, d} << 4 << "094.5";
        QTest::newRow("change-shows-in-its-tick")
            << QList<QByteArray>{level, level, louder, louder} << QList<int>{d, d} << 4 << "096.0";
        QTest::newRow("false-overload-kept-out")
            << QList<QByteArray>{level, level, overload, level, level} << QList<int>{d, d, d} << 5
            << "094.5";
        QTest::newRow("false-dose-mode-kept-out")
            << QList<QByteArray>{level, level, dose, level} << QList<int>{d, d} << 4 << "094.5";
        QTest::newRow("disagreeing-pair-waits-for-the-next-frame")
            << QList<QByteArray>{level, level, overload, louder, louder} << QList<int>{d, u, d} << 5
            << "096.0";
    }
    void confirmation()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QList<int>, outcomes);
        ScriptedLink link;
        link.open();
        FakeClock clock;
        MeterState state;
        Meter meter(link, clock, state);
        state.display.LevelText = QStringLiteral("kept");
        for (const QByteArray &reply : replies)
            link.replies << reply;
        Poller poller(meter);
        QList<int> seen;
        for (int i = 0; i < outcomes.size(); ++i)
            seen << int(poller.tick().outcome);
        QCOMPARE(seen, outcomes);
        QTEST(int(link.writes.count(QByteArray(" "))), "requests");
        QTEST(state.display.LevelText, "levelText");
        QVERIFY(state.display.DbaMode);
    }
};

DOSEMETER_TEST(TestPoller)
#include "tst_Poller.moc"
