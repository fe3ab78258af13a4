#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

// The virtual meter's setup menu, driven by key commands as the setup sequences drive it.

namespace {

using namespace Protocol;

constexpr int kEvent = kKeyEvent;
constexpr int kDown = kKeyModeEvent;
constexpr int kClock = kKeyClock;

// Status 0x15 (84 dB, 4 dB, Fast), threshold 80 dB, clock 2009/11/30 10:07:00 at t = 0: the
// minute does not change by itself while a test presses its keys.
struct Meter {
    VirtualMeter meter;
    double t = 1.0;

    explicit Meter(const QDateTime &clock = QDateTime(QDate(2009, 11, 30), QTime(10, 7)))
    {
        meter.setClock(clock, 0.0);
        meter.setFixedLevel(94.5);
    }
    // Each key 2.1 s after the one before, as with the program's key pacing.
    void keys(const QList<int> &codes)
    {
        for (int code : codes)
            meter.receive(QByteArray("F") + char(code), t += 2.1);
    }
    QByteArray ask(const QByteArray &command)
    {
        meter.receive(command, t += 0.01);
        const QByteArray reply = meter.takeReady(t += 0.05);
        return reply;
    }
    // Display bytes 2, 4 and 5, as hex.
    QByteArray shown()
    {
        const QByteArray frame = ask(" ");
        QByteArray shown;
        for (int i : {1, 3, 4})
            shown += frame.at(i);
        return shown.toHex(' ');
    }
    int status() { return quint8(ask("X").at(1)); }
    int threshold() { return quint8(ask(QByteArray::fromHex("523b00")).at(1)); }
};

QList<int> repeat(int code, int times)
{
    return QList<int>(times, code);
}

} // namespace

class TestSetupMenu : public QObject {
    Q_OBJECT

private slots:
    // Code 128 and CLOCK presses lead through the screens; bytes 2, 4 and 5 of each.
    void screens_data()
    {
        QTest::addColumn<int>("clocks");
        QTest::addColumn<QByteArray>("shown");
        QTest::addColumn<int>("screen");
        using S = SetupMenu::Screen;
        QTest::newRow("criterion") << 0 << QByteArray("80 cc 84") << int(S::Criterion);
        QTest::newRow("threshold") << 1 << QByteArray("80 cc 80") << int(S::Threshold);
        QTest::newRow("exchange-rate") << 2 << QByteArray("80 cc 04") << int(S::ExchangeRate);
        QTest::newRow("century") << 3 << QByteArray("80 20 09") << int(S::Century);
        QTest::newRow("year") << 4 << QByteArray("80 20 09") << int(S::Year);
        QTest::newRow("month") << 5 << QByteArray("82 11 30") << int(S::Month);
        QTest::newRow("day") << 6 << QByteArray("82 11 30") << int(S::Day);
        QTest::newRow("hour") << 7 << QByteArray("81 10 07") << int(S::Hour);
        QTest::newRow("minute") << 8 << QByteArray("81 10 07") << int(S::Minute);
        QTest::newRow("time-weighting") << 9 << QByteArray("80 cc cc") << int(S::TimeWeighting);
        QTest::newRow("round-again") << 10 << QByteArray("80 cc 84") << int(S::Criterion);
    }
    void screens()
    {
        QFETCH(int, clocks);
        Meter m;
        m.keys({kKeySetupMenu});
        m.keys(repeat(kClock, clocks));
        QTEST(m.shown(), "shown");
        QTEST(int(m.meter.setupScreen()), "screen");
    }

    // EVENT and code 3 on each screen: what the display shows, and the setting changed
    // at once (status byte, threshold register, meter clock).
    void steps_data()
    {
        QTest::addColumn<QDateTime>("clock");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("clocks");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QByteArray>("digits"); // display bytes 4 and 5
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("thresholdAfter");
        QTest::addColumn<QString>("clockAfter"); // "" when the clock is left as it runs

        const QDateTime nov30(QDate(2009, 11, 30), QTime(10, 7));
        const auto row = [&](const char *name, int clocks, const QList<int> &keys,
                             const char *digits, int status, int threshold,
                             const char *clockAfter) {
            QTest::newRow(name) << nov30 << 80 << clocks << keys << QByteArray(digits) << status
                                << threshold << QString(clockAfter);
        };
        row("criterion-up", 0, {kEvent}, "cc 85", 0x16, 80, "");
        row("criterion-up-twice", 0, {kEvent, kEvent}, "cc 90", 0x17, 80, "");
        row("criterion-up-wraps-to-80", 0, {kEvent, kEvent, kEvent}, "cc 80", 0x14, 80, "");
        row("criterion-down", 0, {kDown}, "cc 80", 0x14, 80, "");
        row("criterion-down-wraps-to-90", 0, {kDown, kDown}, "cc 90", 0x17, 80, "");
        row("threshold-up", 1, {kEvent}, "cc 81", 0x15, 81, "");
        row("threshold-down-to-70", 1, repeat(kDown, 10), "cc 70", 0x15, 70, "");
        row("threshold-below-70-wraps-to-90", 1, repeat(kDown, 11), "cc 90", 0x15, 90, "");
        row("exchange-up", 2, {kEvent}, "cc 05", 0x19, 80, "");
        row("exchange-up-wraps-to-3", 2, {kEvent, kEvent, kEvent}, "cc 03", 0x11, 80, "");
        row("exchange-down", 2, {kDown}, "cc 03", 0x11, 80, "");
        row("century-up", 3, {kEvent}, "21 09", 0x15, 80, "2109-11-30 10:07:00");
        row("century-toggles-back", 3, {kEvent, kDown}, "20 09", 0x15, 80, "2009-11-30 10:07:00");
        row("century-down-wraps-to-21", 3, {kDown}, "21 09", 0x15, 80, "2109-11-30 10:07:00");
        row("year-up", 4, {kEvent}, "20 10", 0x15, 80, "2010-11-30 10:07:00");
        row("year-down-wraps-to-99", 4, repeat(kDown, 10), "20 99", 0x15, 80,
            "2099-11-30 10:07:00");
        row("month-up-wraps-to-1", 5, {kEvent, kEvent}, "01 30", 0x15, 80, "2009-01-30 10:07:00");
        row("month-down", 5, {kDown}, "10 30", 0x15, 80, "2009-10-30 10:07:00");
        row("day-up-wraps-at-30-in-november", 6, {kEvent}, "11 01", 0x15, 80,
            "2009-11-01 10:07:00");
        row("day-down", 6, {kDown}, "11 29", 0x15, 80, "2009-11-29 10:07:00");
        row("hour-down-wraps-to-23", 7, repeat(kDown, 11), "23 07", 0x15, 80,
            "2009-11-30 23:07:00");
        row("minute-up", 8, {kEvent}, "10 08", 0x15, 80, "2009-11-30 10:08:00");
        row("minute-up-wraps-to-0", 8, repeat(kEvent, 53), "10 00", 0x15, 80,
            "2009-11-30 10:00:00");
        row("clock-on-other-screen-untouched", 0, {kEvent}, "cc 85", 0x16, 80, "");

        // Dates stay valid: the day is kept inside the month.
        const auto date = [](const char *name, QDate start, int clocks, const QList<int> &keys,
                             const char *digits, const char *after) {
            QTest::newRow(name) << QDateTime(start, QTime(10, 7)) << 80 << clocks << keys
                                << QByteArray(digits) << 0x15 << 80 << QString(after);
        };
        date("jan-31-month-up-is-feb-28", QDate(2009, 1, 31), 5, {kEvent}, "02 28",
             "2009-02-28 10:07:00");
        date("jan-31-month-up-twice-is-mar-31", QDate(2009, 1, 31), 5, {kEvent, kEvent}, "03 31",
             "2009-03-31 10:07:00");
        date("cut-day-comes-back-after-year-step", QDate(2008, 2, 29), 4, {kEvent, kDown}, "20 08",
             "2008-02-29 10:07:00");
        // Feb 28 stepped down to 27, round the screens to the month again, one month up.
        date("day-stepped-in-short-month-is-kept", QDate(2009, 1, 31), 5,
             QList<int>{kEvent, kClock, kDown} + repeat(kClock, 9) + QList<int>{kEvent}, "03 27",
             "2009-03-27 10:07:00");
        date("leap-jan-31-month-up-is-feb-29", QDate(2008, 1, 31), 5, {kEvent}, "02 29",
             "2008-02-29 10:07:00");
        date("feb-29-year-up-is-feb-28", QDate(2008, 2, 29), 4, {kEvent}, "20 09",
             "2009-02-28 10:07:00");
        date("feb-29-century-up-is-feb-28", QDate(2000, 2, 29), 3, {kEvent}, "21 00",
             "2100-02-28 10:07:00");
        date("day-31-then-30-day-month", QDate(2009, 5, 31), 5, {kDown}, "04 30",
             "2009-04-30 10:07:00");
        date("december-31-day-up-stays-in-year", QDate(2009, 12, 31), 6, {kEvent}, "12 01",
             "2009-12-01 10:07:00");
        date("year-1999-comes-into-range", QDate(1999, 6, 1), 3, {kDown}, "20 99",
             "2099-06-01 10:07:00");

        // A threshold the menu cannot hold comes to the nearer end of its range.
        QTest::newRow("threshold-60-up-is-70") << nov30 << 60 << 1 << QList<int>{kEvent}
                                               << QByteArray("cc 70") << 0x15 << 70 << QString();
        QTest::newRow("threshold-95-up-is-90") << nov30 << 95 << 1 << QList<int>{kEvent}
                                               << QByteArray("cc 90") << 0x15 << 90 << QString();
    }
    void steps()
    {
        QFETCH(QDateTime, clock);
        QFETCH(int, threshold);
        QFETCH(int, clocks);
        QFETCH(QList<int>, keys);
        QFETCH(QString, clockAfter);
        Meter m(clock);
        m.meter.setThreshold(threshold);
        m.keys({kKeySetupMenu});
        m.keys(repeat(kClock, clocks));
        m.keys(keys);
        QTEST(m.shown().mid(3), "digits");
        QTEST(m.status(), "status");
        QTEST(m.threshold(), "thresholdAfter");
        const QDateTime now = m.meter.clockAt(m.t);
        if (clockAfter.isEmpty()) // the clock ran on from where it was
            QCOMPARE(now, clock.addMSecs(qint64(std::llround(m.t * 1000.0))));
        else // set to the minute, then a few seconds of the test went by
            QCOMPARE(now.addSecs(-now.time().second()).toString("yyyy-MM-dd hh:mm:ss"), clockAfter);
    }

    void timeWeightingToggles_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<int>>("statuses"); // after each key
        QTest::newRow("event-toggles") << QList<int>{kEvent, kEvent} << QList<int>{0x05, 0x15};
        QTest::newRow("code-3-toggles-too") << QList<int>{kDown, kEvent} << QList<int>{0x05, 0x15};
    }
    void timeWeightingToggles()
    {
        QFETCH(QList<int>, keys);
        Meter m;
        m.keys({kKeySetupMenu});
        m.keys(repeat(kClock, 9));
        QList<int> statuses;
        for (int code : keys) {
            m.keys({code});
            statuses << m.status();
        }
        QTEST(statuses, "statuses");
        QCOMPARE(m.shown(), QByteArray("80 cc cc"));
    }

    // RESET and MODE+RESET close the menu and keep what it changed.
    void closeKeys_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("reset") << int(kKeyReset);
        QTest::newRow("mode-reset") << int(kKeyModeReset);
    }
    void closeKeys()
    {
        QFETCH(int, code);
        Meter m;
        m.keys({kKeySetupMenu, kEvent, kClock, kDown, code});
        QCOMPARE(m.meter.setupScreen(), SetupMenu::Screen::Closed);
        QCOMPARE(m.shown(), QByteArray("40 09 45"));
        QCOMPARE(m.status(), 0x16);
        QCOMPARE(m.threshold(), 79);
        m.keys({kEvent, kKeyMode}); // outside the menu EVENT changes nothing; MODE steps
        QCOMPARE(m.status(), 0x16);
        QCOMPARE(m.meter.displayMode(), VirtualMeter::DisplayMode::Dose);
    }

    // A run of the setup sequence that changes nothing: 128, nine CLOCK, RESET.
    void runThatChangesNothing()
    {
        const QDateTime clock(QDate(2009, 11, 30), QTime(10, 7, 42));
        Meter m(clock);
        m.keys({kKeySetupMenu});
        m.keys(repeat(kClock, 9));
        m.keys({kKeyReset});
        QCOMPARE(m.status(), 0x15);
        QCOMPARE(m.threshold(), 80);
        QCOMPARE(m.meter.clockAt(m.t), clock.addMSecs(qint64(std::llround(m.t * 1000.0))));
        QCOMPARE(m.shown(), QByteArray("40 09 45"));
    }

    // After the menu set the clock, the clock display shows the new time, running on.
    void clockRunsOnFromTheSetting()
    {
        Meter m;
        m.keys({kKeySetupMenu});
        m.keys(repeat(kClock, 7));
        m.keys({kEvent, kEvent, kClock, kEvent}); // 12:08, seconds from 0
        const double set = m.t;
        m.keys({kKeyReset, kKeyMode, kKeyMode});
        QCOMPARE(m.meter.displayMode(), VirtualMeter::DisplayMode::Clock);
        m.t = set + 59.9;
        QCOMPARE(m.shown(), QByteArray("81 12 08"));
        m.t = set + 60.0;
        QCOMPARE(m.shown(), QByteArray("81 12 09"));
        m.t = set + 3600.0;
        QCOMPARE(m.shown(), QByteArray("81 13 08"));
    }

    // Code 128 in the open menu starts it again on its first screen, so a run that failed
    // half-way leaves nothing that misleads the next one.
    void openingAgainStartsOnTheFirstScreen()
    {
        Meter m;
        m.keys({kKeySetupMenu, kClock, kClock, kKeySetupMenu});
        QCOMPARE(m.meter.setupScreen(), SetupMenu::Screen::Criterion);
        QCOMPARE(m.shown(), QByteArray("80 cc 84"));
    }

    // A run measures with the settings it started with: the menu stays shut while it runs.
    void noMenuDuringARun_data()
    {
        QTest::addColumn<QList<int>>("run");
        QTest::addColumn<QByteArray>("flags");
        QTest::newRow("running") << QList<int>{kKeyRunPause} << QByteArray("48");
        QTest::newRow("paused") << QList<int>{kKeyRunPause, kKeyRunPause} << QByteArray("4c");
    }
    void noMenuDuringARun()
    {
        QFETCH(QList<int>, run);
        Meter m;
        m.keys(run);
        m.keys({kKeySetupMenu, kEvent});
        QCOMPARE(m.meter.setupScreen(), SetupMenu::Screen::Closed);
        QTEST(m.shown().left(2), "flags");
        QCOMPARE(m.status(), 0x15);
        m.keys({kKeyStop, kKeySetupMenu});
        QCOMPARE(m.meter.setupScreen(), SetupMenu::Screen::Criterion);
    }

    // With the stuck-menu fault, EVENT and code 3 do nothing; CLOCK and RESET still work.
    void stuckMenu()
    {
        Meter m;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        m.meter.setFaults(faults);
        m.keys({kKeySetupMenu, kEvent, kDown, kEvent});
        QCOMPARE(m.shown(), QByteArray("80 cc 84"));
        QCOMPARE(m.status(), 0x15);
        m.keys({kClock, kEvent});
        QCOMPARE(m.shown(), QByteArray("80 cc 80"));
        QCOMPARE(m.threshold(), 80);
        m.keys({kKeyReset});
        QCOMPARE(m.meter.setupScreen(), SetupMenu::Screen::Closed);
    }

    // A key sooner than the key delay after the last key taken is lost.
    void keyDelay_data()
    {
        QTest::addColumn<double>("delay");
        QTest::addColumn<QList<double>>("times"); // of four MODE presses
        QTest::addColumn<int>("mode");            // the display mode afterwards
        using M = VirtualMeter::DisplayMode;
        QTest::newRow("no-delay-takes-all")
            << 0.0 << QList<double>{1.0, 1.1, 1.2, 1.3} << int(M::Dba);
        QTest::newRow("paced-2.1-s-all-land")
            << 2.0 << QList<double>{1.0, 3.1, 5.2, 7.3} << int(M::Dba);
        QTest::newRow("exactly-the-delay-lands")
            << 2.0 << QList<double>{1.0, 3.0, 5.0, 7.0} << int(M::Dba);
        QTest::newRow("0.1-s-apart-only-the-first")
            << 2.0 << QList<double>{1.0, 1.1, 1.2, 1.3} << int(M::Dose);
        QTest::newRow("lost-key-does-not-restart-the-wait")
            << 2.0 << QList<double>{1.0, 2.5, 3.0, 3.5} << int(M::Clock);
    }
    void keyDelay()
    {
        QFETCH(double, delay);
        QFETCH(QList<double>, times);
        Meter m;
        m.meter.setKeyDelay(delay);
        for (double t : times)
            m.meter.receive(QByteArray("F") + char(kKeyMode), t);
        QTEST(int(m.meter.displayMode()), "mode");
    }

    // The key delay holds for the menu's keys too.
    void keyDelayInTheMenu()
    {
        Meter m;
        m.meter.setKeyDelay(2.0);
        m.meter.receive(QByteArray("F\x80"), 1.0);
        m.meter.receive(QByteArray("F\x02"), 1.1); // too soon: lost
        m.meter.receive(QByteArray("F\x02"), 3.1);
        QCOMPARE(m.meter.statusByte(), 0x16);
    }
};

DOSEMETER_TEST(TestSetupMenu)
#include "tst_SetupMenu.moc"
