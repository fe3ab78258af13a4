#include "ConfigRig.h"

#include "config/SetupSequence.h"
#include "support/TestMain.h"

#include <QTest>

// The setup sequence on the virtual meter (status 0x15: 84 dB, 4 dB, Fast; threshold 80;
// clock 2009-11-30 10:00), with the fake clock: which keys the meter gets, what it is set
// to, and how each kind of end leaves the program.

Q_DECLARE_METATYPE(SetupChoice)

namespace {

using Outcome = SetupSequence::Outcome;
using Step = SetupSequence::Step;

SetupChoice choiceOf(int criterion, int threshold, int exchange, int fast, const QString &clock)
{
    SetupChoice choice;
    choice.criterionDb = criterion;
    if (threshold >= 0)
        choice.thresholdDb = threshold;
    choice.exchangeRateDb = exchange;
    if (fast >= 0)
        choice.fast = fast == 1;
    if (!clock.isEmpty()) {
        const QDateTime when = QDateTime::fromString(clock, QStringLiteral("yyyy-MM-dd hh:mm"));
        choice.clock = [when] { return when; };
    }
    return choice;
}

void setMeterClock(ConfigRig &rig, const QString &clock)
{
    rig.vm.setClock(QDateTime::fromString(clock, QStringLiteral("yyyy-MM-dd hh:mm")),
                    rig.clock.monotonicSeconds());
}

} // namespace

class TestSetupSequence : public QObject {
    Q_OBJECT

private slots:
    // A run that reaches every target: the keys the meter got and what it was set to.
    void setsTheMeter_data()
    {
        QTest::addColumn<QString>("meterClock");
        QTest::addColumn<SetupChoice>("choice");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QString>("clockAfter");
        const QString nov30 = QStringLiteral("2009-11-30 10:00");
        const auto row = [&](const char *name, const char *meterClock, SetupChoice choice,
                             const char *keys, int status, int threshold, const char *after) {
            QTest::newRow(name) << QString(meterClock) << choice << QString(keys) << status
                                << threshold << QString(after);
        };
        row("already-set", "2009-11-30 10:00", choiceOf(84, 80, 4, 1, nov30), "128 8x9 4", 0x15, 80,
            "2009-11-30 10:00");
        row("nothing-chosen-keeps-everything", "2009-11-30 10:00", choiceOf(0, -1, 0, -1, {}),
            "128 8x9 4", 0x15, 80, "2009-11-30 10:00");
        row("criterion-cycles-up-to-80", "2009-11-30 10:00", choiceOf(80, 80, 4, 1, nov30),
            "128 2x3 8x9 4", 0x14, 80, "2009-11-30 10:00");
        row("threshold-above-criterion-lowered", "2009-11-30 10:00", choiceOf(84, 88, 4, 1, nov30),
            "128 8 2x4 8x8 4", 0x15, 84, "2009-11-30 10:00");
        row("threshold-equal-to-criterion-stays", "2009-11-30 10:00", choiceOf(85, 85, 4, 1, nov30),
            "128 2 8 2x5 8x8 4", 0x16, 85, "2009-11-30 10:00");
        row("threshold-down", "2009-11-30 10:00", choiceOf(84, 75, 4, 1, nov30), "128 8 3x5 8x8 4",
            0x15, 75, "2009-11-30 10:00");
        row("exchange-rate-cycles-up-to-3", "2009-11-30 10:00", choiceOf(84, 80, 3, 1, nov30),
            "128 8 8 2x3 8x7 4", 0x11, 80, "2009-11-30 10:00");
        row("no-criterion-no-exchange-rate", "2009-11-30 10:00", choiceOf(0, 82, 0, 1, nov30),
            "128 8 2x2 8x8 4", 0x15, 82, "2009-11-30 10:00");
        // 2008 is two values: 20 against display byte 4, then 8 against byte 5.
        row("year-as-century-and-year", "2109-11-30 10:00",
            choiceOf(84, 80, 4, 1, QStringLiteral("2008-11-30 10:00")), "128 8x3 3 8 3 8x5 4", 0x15,
            80, "2008-11-30 10:00");
        row("every-clock-field", "2009-11-30 10:00",
            choiceOf(84, 80, 4, 1, QStringLiteral("2010-12-29 11:01")),
            "128 8x3 8 2 8 2 8 3 8 2 8 2 8 4", 0x15, 80, "2010-12-29 11:01");
        row("time-weighting-to-slow", "2009-11-30 10:00", choiceOf(84, 80, 4, 0, nov30),
            "128 8x9 2 4", 0x05, 80, "2009-11-30 10:00");
    }
    void setsTheMeter()
    {
        QFETCH(QString, meterClock);
        QFETCH(SetupChoice, choice);
        ConfigRig rig;
        setMeterClock(rig, meterClock);
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.run(choice);
        QCOMPARE(int(result.outcome), int(Outcome::Done));
        QFETCH(QString, keys);
        QCOMPARE(rig.keys(), keys::list(qPrintable(keys)));
        QTEST(int(rig.vm.statusByte()), "status");
        QTEST(rig.vm.threshold(), "threshold");
        QTEST(rig.meterClock(), "clockAfter");
        // The refresh at the end read the settings back.
        QCOMPARE(rig.state.ThresholdLevel, rig.vm.threshold());
        QCOMPARE(rig.state.status.CriterionLevel,
                 Protocol::StatusBits::criterionDb(rig.vm.statusByte()));
        QCOMPARE(rig.vm.setupScreen(), SetupMenu::Screen::Closed);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    // A step fails when its count reaches its limit, even though that last press reached
    // the target; one press fewer passes. Only a step that pressed can fail.
    void stepFailsAtItsLimit_data()
    {
        QTest::addColumn<QString>("meterClock");
        QTest::addColumn<SetupChoice>("choice");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QString>("clockAfter");
        const auto row = [](const char *name, const char *meterClock, SetupChoice choice,
                            Outcome outcome, Step step, const char *keys, int threshold,
                            const char *clockAfter) {
            QTest::newRow(name) << QString(meterClock) << choice << int(outcome) << int(step)
                                << QString(keys) << threshold << QString(clockAfter);
        };
        row("threshold-ten-presses-fails", "2009-11-30 10:00", choiceOf(90, 90, 4, 1, {}),
            Outcome::Failed, Step::Threshold, "128 2x2 8 2x10 5", 90, "2009-11-30 10:00");
        row("threshold-nine-presses-passes", "2009-11-30 10:00", choiceOf(90, 89, 4, 1, {}),
            Outcome::Done, Step::Close, "128 2x2 8 2x9 8x8 4", 89, "2009-11-30 10:00");
        row("year-99-presses-fails", "2000-06-15 10:00",
            choiceOf(84, 80, 4, 1, QStringLiteral("2099-06-15 10:00")), Outcome::Failed, Step::Year,
            "128 8x3 8 2x99 5", 80, "2099-06-15 10:00");
        row("year-98-presses-passes", "2000-06-15 10:00",
            choiceOf(84, 80, 4, 1, QStringLiteral("2098-06-15 10:00")), Outcome::Done, Step::Close,
            "128 8x3 8 2x98 8x5 4", 80, "2098-06-15 10:00");
        // 51 presses of the year leave the count above the month's limit of 20.
        row("month-as-it-is-after-a-long-year-step", "2009-11-30 10:00",
            choiceOf(84, 80, 4, 1, QStringLiteral("2060-11-30 10:00")), Outcome::Done, Step::Close,
            "128 8x3 8 2x51 8x5 4", 80, "2060-11-30 10:00");
    }
    void stepFailsAtItsLimit()
    {
        QFETCH(QString, meterClock);
        QFETCH(SetupChoice, choice);
        QFETCH(QString, keys);
        ConfigRig rig;
        setMeterClock(rig, meterClock);
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.run(choice);
        QTEST(int(result.outcome), "outcome");
        QTEST(int(result.step), "step");
        QCOMPARE(rig.keys(), keys::list(qPrintable(keys)));
        QTEST(rig.vm.threshold(), "threshold");
        QTEST(rig.meterClock(), "clockAfter");
    }

    // A reply of other than 7 bytes starts the step's count again; the 50th fails it.
    void wrongLengthReplies_data()
    {
        QTest::addColumn<QList<int>>("spoiled"); // EVENT/MODE+EVENT presses, from 1
        QTest::addColumn<int>("spoiledFrom");
        QTest::addColumn<SetupChoice>("choice");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("threshold");
        // Ten threshold presses (3 to 12) would fail; the 7th press's reply restarts
        // the count at 84, and the five presses after it count.
        QTest::newRow("restart-lets-a-long-step-pass")
            << QList<int>{7} << 0 << choiceOf(90, 90, 4, 1, {}) << int(Outcome::Done)
            << "128 2x2 8 2x10 8x8 4" << 0x17 << 90;
        QList<int> first49;
        for (int n = 1; n <= 49; ++n)
            first49 << n;
        // The meter takes every press: 49 presses bring 84 round to 85, the 50th to 90.
        QTest::newRow("49-wrong-replies-pass")
            << first49 << 0 << choiceOf(90, 80, 4, 1, {}) << int(Outcome::Done) << "128 2x50 8x9 4"
            << 0x17 << 80;
        QTest::newRow("50th-wrong-reply-fails")
            << QList<int>{} << 1 << choiceOf(85, 80, 4, 1, {}) << int(Outcome::Failed)
            << "128 2x50 5" << 0x17 << 80;
    }
    void wrongLengthReplies()
    {
        QFETCH(QList<int>, spoiled);
        QFETCH(int, spoiledFrom);
        QFETCH(SetupChoice, choice);
        QFETCH(QString, keys);
        ConfigRig rig;
        rig.link.spoiled = QSet<int>(spoiled.begin(), spoiled.end());
        rig.link.spoiledFrom = spoiledFrom;
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.run(choice);
        QTEST(int(result.outcome), "outcome");
        QCOMPARE(rig.keys(), keys::list(qPrintable(keys)));
        QTEST(int(rig.vm.statusByte()), "status");
        QTEST(rig.vm.threshold(), "threshold");
    }

    // A failed run: the message comes first, then "F" 5 straight to the port and the
    // settings refresh; everything the run changed is restored.
    void failurePath()
    {
        ConfigRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        SetupSequence sequence(rig.meter);
        QList<int> keysAtMessage;
        bool pacingAtMessage = false;
        int messages = 0;
        sequence.failing = [&](const SetupSequence::Result &result) {
            ++messages;
            QCOMPARE(int(result.step), int(Step::Criterion));
            keysAtMessage = rig.keys();
            pacingAtMessage = rig.state.link.KeyPacing;
        };
        const SetupSequence::Result result = sequence.run(choiceOf(85, 80, 4, 1, {}));
        QCOMPARE(int(result.outcome), int(Outcome::Failed));
        QCOMPARE(result.detail, "Criterion level did not reach 85 in 10 presses.");
        QCOMPARE(messages, 1);
        QCOMPARE(keysAtMessage, keys::list("128 2x10"));
        QVERIFY(pacingAtMessage);
        QCOMPARE(rig.keys(), keys::list("128 2x10 5"));
        // The refresh's status request follows MODE+RESET.
        const QByteArray received = rig.vm.received();
        QCOMPARE(received.mid(received.lastIndexOf("F\x05") + 2, 1), QByteArray("X"));
        QCOMPARE(rig.vm.setupScreen(), SetupMenu::Screen::Closed);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.state.link.RefreshPending, false);
        QCOMPARE(rig.state.status.CriterionLevel, 84);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    // A meter that does not open its menu (it measures) fails the run at once.
    void menuNotOpen()
    {
        ConfigRig rig;
        rig.vm.receive(QByteArray("F") + char(Protocol::kKeyRunPause),
                       rig.clock.monotonicSeconds());
        rig.vm.clearReceived();
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.run(choiceOf(85, 80, 4, 1, {}));
        QCOMPARE(int(result.outcome), int(Outcome::Failed));
        QCOMPARE(int(result.step), int(Step::Criterion));
        QVERIFY(result.detail.contains("not in its setup menu"));
        QCOMPARE(rig.keys(), keys::list("128 5"));
        QCOMPARE(int(rig.vm.statusByte()), 0x15);
    }

    // The meter goes away in the middle of the threshold step: the run ends within the
    // silence time-out, leaves the refresh to the poll and gives everything back.
    void meterStopsAnswering()
    {
        ConfigRig rig;
        VirtualMeter::Faults faults;
        const double gone = rig.clock.monotonicSeconds() + 12.0;
        faults.vanishAfter = gone;
        rig.vm.setFaults(faults);
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.run(choiceOf(84, 90, 4, 1, {}));
        QCOMPARE(int(result.outcome), int(Outcome::Silent));
        QCOMPARE(int(result.step), int(Step::Threshold));
        QCOMPARE(result.detail, SetupSequence::kMeterSilent);
        QVERIFY(rig.clock.monotonicSeconds() - gone < SetupSequence::kDefaultSilenceSeconds + 5);
        QVERIFY(rig.vmLink.takeWritten().endsWith(QByteArray("F\x05")));
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.state.link.RefreshPending, true);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    // Another run (KeyPacing is set only during one) or a settings refresh in progress:
    // nothing is sent and nothing changed.
    void refused_data()
    {
        QTest::addColumn<bool>("pacing");
        QTest::addColumn<bool>("refreshing");
        QTest::newRow("another-run") << true << false;
        QTest::newRow("refresh-in-progress") << false << true;
    }
    void refused()
    {
        QFETCH(bool, pacing);
        QFETCH(bool, refreshing);
        ConfigRig rig;
        rig.state.link.KeyPacing = pacing;
        rig.state.link.RefreshBusy = refreshing;
        SetupSequence sequence(rig.meter);
        QCOMPARE(int(sequence.run(choiceOf(85, 80, 4, 1, {})).outcome), int(Outcome::Refused));
        QCOMPARE(int(sequence.preset(90, 3).outcome), int(Outcome::Refused));
        QVERIFY(rig.vm.received().isEmpty());
        QVERIFY(rig.poll.changes.isEmpty());
        QCOMPARE(rig.state.link.KeyPacing, pacing);
    }

    // A meter that ignores keys sooner than 2 s after the last one takes every press.
    void pacedKeysAllLand()
    {
        ConfigRig rig;
        rig.vm.setKeyDelay(2.0);
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result =
            sequence.run(choiceOf(85, 78, 5, 0, QStringLiteral("2010-12-29 11:01")));
        QCOMPARE(int(result.outcome), int(Outcome::Done));
        QCOMPARE(int(rig.vm.statusByte()), 0x0A);
        QCOMPARE(rig.vm.threshold(), 78);
        QCOMPARE(rig.meterClock(), "2010-12-29 11:01");
    }

    // A clock target that runs on past midnight between the date and the time steps
    // would set yesterday's date with today's time: the run fails instead.
    void dateChangesDuringTheRun()
    {
        ConfigRig rig;
        SetupSequence sequence(rig.meter);
        SetupChoice choice = choiceOf(84, 80, 4, 1, {});
        int asked = 0;
        choice.clock = [&asked] {
            return ++asked == 1 ? QDateTime(QDate(2009, 11, 30), QTime(23, 59))
                                : QDateTime(QDate(2009, 12, 1), QTime(0, 0));
        };
        const SetupSequence::Result result = sequence.run(choice);
        QCOMPARE(int(result.outcome), int(Outcome::Failed));
        QCOMPARE(int(result.step), int(Step::Hour));
        QCOMPARE(rig.keys(), keys::list("128 8x7 5"));
    }
};

DOSEMETER_TEST(TestSetupSequence)
#include "tst_SetupSequence.moc"
