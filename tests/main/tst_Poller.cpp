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
        QTest::newRow("whole") << QList<QByteArray>{level} << decoded << 1 << "094.5";
        QTest::newRow("hex-digits-then-whole")
            << QList<QByteArray>{frame(0x40, 0x1E, 0x9E, 0xA5), level} << decoded << 2 << "094.5";
        QTest::newRow("under-range")
            << QList<QByteArray>{frame(0x40, 0xBB, 0xBB)} << decoded << 1 << "----";
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
};

DOSEMETER_TEST(TestPoller)
#include "tst_Poller.moc"
