#include "link/Clock.h"
#include "link/Meter.h"
#include "main/ControlPanel.h"
#include "main/LcdReplica.h"
#include "main/Poller.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/MeterRig.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// The panel on a virtual meter, with the main window's poll as the source of the
// shared fields and of the value text.
struct Rig : MeterRig {
    Poller poller{meter};
    QString valueText;
    ControlPanel panel{meter, dialogs, [this] { return valueText; }};

    Rig()
    {
        vm.setClock(QDateTime(QDate(2009, 11, 30), QTime(8, 30)), clock.monotonicSeconds());
        vm.setFixedLevel(94.5);
        meter.setRefreshTimeout(0.0);
        poll.logBytes = true;
    }
    // One poll of the main window, then one redraw of the panel; forgets what was sent.
    void refresh()
    {
        const Poller::Result result = poller.tick();
        QCOMPARE(result.outcome, Poller::Outcome::Decoded);
        valueText = result.valueText;
        panel.redraw();
        link.takeWritten();
        poll.log.clear();
    }
    // Brings the meter into a run state by its own keys: "stopped", "running", "paused".
    void setRunState(const QString &runState)
    {
        if (runState != QLatin1String("stopped"))
            meter.sendKey(16);
        if (runState == QLatin1String("paused"))
            meter.sendKey(16);
        refresh();
    }
    QPushButton *key(const QString &name) { return panel.findChild<QPushButton *>(name); }
    QAction *lock() { return panel.findChild<QAction *>(QStringLiteral("lockAction")); }
};

// Names of the display items that are lit.
QStringList litItems(const PanelDisplay &d)
{
    QStringList lit;
    const std::pair<const char *, bool> items[] = {
        {"point1", d.point1},       {"point2", d.point2},     {"colon", d.colon},
        {"dash", d.dash},           {"timeMark", d.timeMark}, {"doseMark", d.doseMark},
        {"dbaMark", d.dbaMark},     {"memMark", d.memMark},   {"peakMark", d.peakMark},
        {"pauseMark", d.pauseMark}, {"runMark", d.runMark},   {"loudMark", d.loudMark},
        {"fastMark", d.fastMark},   {"slowMark", d.slowMark}, {"barShown", d.barShown},
    };
    for (const auto &[name, on] : items) {
        if (on)
            lit << QString::fromLatin1(name);
    }
    return lit;
}

QList<int> shownBatteryImages(const PanelDisplay &d)
{
    QList<int> shown;
    for (int i = 0; i < int(d.battery.size()); ++i) {
        if (d.battery[size_t(i)])
            shown << i;
    }
    return shown;
}

} // namespace

class TestControlPanel : public QObject {
    Q_OBJECT

private slots:
    // What each key sends in each run state, and whether the poll is off around it.
    void keys_data()
    {
        QTest::addColumn<QString>("runState");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("pollLog");
        QTest::addColumn<bool>("runningAfter");
        QTest::addColumn<bool>("pausedAfter");

        const QStringList none;
        QTest::newRow("mode") << "stopped"
                              << "modeKey" << QStringList{"off:", "on:46 01"} << false << false;
        QTest::newRow("event") << "stopped"
                               << "eventKey" << QStringList{"off:", "on:46 02"} << false << false;
        QTest::newRow("reset") << "stopped"
                               << "resetKey" << QStringList{"off:", "on:46 04"} << false << false;
        QTest::newRow("clock") << "stopped"
                               << "clockKey" << QStringList{"off:", "on:46 08"} << false << false;
        QTest::newRow("pause-while-running")
            << "running"
            << "pauseKey" << QStringList{"off:", "on:46 10"} << true << true;
        QTest::newRow("continue-while-paused")
            << "paused"
            << "pauseKey" << QStringList{"off:", "on:46 40"} << true << false;
        QTest::newRow("pause-while-stopped-sends-nothing") << "stopped"
                                                           << "pauseKey" << none << false << false;
        // Run and stop go out between polls, with the poll left alone: the bytes are
        // checked in the test body.
        QTest::newRow("run-when-stopped") << "stopped"
                                          << "runKey" << none << true << false;
        QTest::newRow("stop-when-running") << "running"
                                           << "runKey" << none << false << false;
        QTest::newRow("stop-when-paused") << "paused"
                                          << "runKey" << none << false << false;
    }
    void keys()
    {
        QFETCH(QString, runState);
        QFETCH(QString, key);
        QFETCH(QStringList, pollLog);
        QFETCH(bool, runningAfter);
        QFETCH(bool, pausedAfter);

        Rig rig;
        rig.setRunState(runState);
        QPushButton *button = rig.key(key);
        QCOMPARE(button->isEnabled(), key != QLatin1String("pauseKey") || runState != "stopped");
        if (button->isEnabled())
            button->click();
        else
            rig.panel.pressPause(); // a click that came before the redraw disabled it

        QCOMPARE(rig.poll.log, pollLog);
        const QByteArray sent = rig.link.takeWritten();
        if (key == QLatin1String("runKey"))
            QCOMPARE(sent.toHex(' '),
                     runState == "stopped" ? QByteArray("46 10") : QByteArray("46 20"));
        else
            QCOMPARE(sent, QByteArray());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QCOMPARE(rig.vm.running(), runningAfter);
        QCOMPARE(rig.vm.paused(), pausedAfter);
    }

    // A whole run from the panel: the captions follow the meter after each redraw.
    void runPauseContinueStop()
    {
        Rig rig;
        rig.refresh();
        QPushButton *run = rig.key(QStringLiteral("runKey"));
        QPushButton *pause = rig.key(QStringLiteral("pauseKey"));
        QCOMPARE(run->text(), QStringLiteral("RUN"));
        QVERIFY(!pause->isEnabled());

        run->click();
        rig.refresh();
        QCOMPARE(run->text(), QStringLiteral("Encerrar"));
        QCOMPARE(pause->text(), QStringLiteral("PAUSE"));
        QVERIFY(pause->isEnabled());
        QVERIFY(rig.panel.display().runMark);
        QVERIFY(!rig.panel.display().pauseMark);

        pause->click();
        rig.refresh();
        QCOMPARE(pause->text(), QStringLiteral("Continuar"));
        QVERIFY(rig.panel.display().pauseMark);

        pause->click();
        rig.refresh();
        QCOMPARE(pause->text(), QStringLiteral("PAUSE"));
        QVERIFY(!rig.panel.display().pauseMark);

        run->click();
        rig.refresh();
        QCOMPARE(run->text(), QStringLiteral("RUN"));
        QVERIFY(!pause->isEnabled());
        QVERIFY(!rig.panel.display().runMark);
    }

    void lockedKeysSendNothing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("mode") << "modeKey";
        QTest::newRow("event") << "eventKey";
        QTest::newRow("reset") << "resetKey";
        QTest::newRow("clock") << "clockKey";
        QTest::newRow("pause") << "pauseKey";
    }
    void lockedKeysSendNothing()
    {
        QFETCH(QString, key);
        Rig rig;
        rig.setRunState(QStringLiteral("running")); // so that PAUSE is enabled
        rig.lock()->trigger();
        rig.refresh();
        QCOMPARE(rig.lock()->text(), QStringLiteral("Unlock"));

        rig.key(key)->click();
        QCOMPARE(rig.dialogs.texts(), QStringList{QStringLiteral("Key locked!")});
        QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::Ok);
        QCOMPARE(rig.link.takeWritten(), QByteArray());
        QVERIFY(rig.poll.log.isEmpty());
        QVERIFY(rig.vm.running() && !rig.vm.paused());
    }

    void lockEntryTogglesAndAlwaysSends()
    {
        Rig rig;
        rig.refresh();
        rig.lock()->trigger();
        QCOMPARE(rig.poll.log, (QStringList{"off:", "on:4b"}));
        QVERIFY(rig.vm.locked());
        rig.refresh();
        QCOMPARE(rig.lock()->text(), QStringLiteral("Unlock"));
        QVERIFY(rig.panel.display().keysLocked);

        rig.lock()->trigger(); // locked: still sent
        QCOMPARE(rig.poll.log, (QStringList{"off:", "on:4b"}));
        QVERIFY(!rig.vm.locked());
        rig.refresh();
        QCOMPARE(rig.lock()->text(), QStringLiteral("Lock"));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void runKeyWaitsForTheLink_data()
    {
        QTest::addColumn<bool>("refreshBusy");
        QTest::addColumn<bool>("keyPacing");
        QTest::newRow("refresh-busy") << true << false;
        QTest::newRow("key-pacing") << false << true;
    }
    void runKeyWaitsForTheLink()
    {
        QFETCH(bool, refreshBusy);
        QFETCH(bool, keyPacing);
        Rig rig;
        rig.refresh();
        rig.state.link.RefreshBusy = refreshBusy;
        rig.state.link.KeyPacing = keyPacing;
        rig.key(QStringLiteral("runKey"))->click();
        QCOMPARE(rig.link.takeWritten(), QByteArray());
        QVERIFY(!rig.vm.running());
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    // A click inside the wait of the previous key must not put a second key and a
    // second poll switch in the middle of the first.
    void clickDuringKeyWaitIsIgnored()
    {
        Rig rig;
        rig.refresh();
        rig.state.link.KeyPacing = true; // 2.1 s of waiting to click into
        int clicks = 0;
        rig.clock.duringSleep = [&] {
            if (clicks++ == 0)
                rig.key(QStringLiteral("eventKey"))->click();
        };
        rig.key(QStringLiteral("modeKey"))->click();
        rig.clock.duringSleep = nullptr;
        QCOMPARE(rig.poll.log, (QStringList{"off:", "on:46 01"}));

        rig.key(QStringLiteral("eventKey"))->click(); // afterwards keys work again
        QCOMPARE(rig.poll.log.last(), QStringLiteral("on:46 02"));
    }

    // A key pressed while another window's sequence has the poll off leaves it off.
    void keyLeavesAStoppedPollStopped()
    {
        Rig rig;
        rig.refresh();
        rig.poll.enabled_ = false;
        rig.key(QStringLiteral("modeKey"))->click();
        QCOMPARE(rig.poll.log, QStringList{"off:"});
        QVERIFY(!rig.poll.pollEnabled());
        QCOMPARE(rig.link.takeWritten().toHex(' '), QByteArray("46 01"));
    }

    // Which items one redraw lights, for the display flags the meter reports.
    void symbols_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QStringList>("lit");

        // Letters: F FieldMode, C ColonOn, D DashOn, 1 Point1On, 2 Point2On, d DoseMode,
        // a DbaMode, M MemOn, L LoudOn, P PeakOn, f FastResponse.
        QTest::newRow("level") << "a1f" << QStringList{"point1", "dbaMark", "fastMark", "barShown"};
        QTest::newRow("level-loud-peak-mem")
            << "a1LPM" << QStringList{"point1",   "dbaMark",  "memMark", "peakMark",
                                      "loudMark", "slowMark", "barShown"};
        QTest::newRow("dose-point2") << "d2" << QStringList{"point2", "doseMark", "slowMark"};
        QTest::newRow("dose-point1") << "d1" << QStringList{"point1", "doseMark", "slowMark"};
        QTest::newRow("point2-outside-dose")
            << "a2" << QStringList{"dbaMark", "slowMark", "barShown"};
        QTest::newRow("clock-hides-point1")
            << "FC1" << QStringList{"colon", "timeMark", "slowMark"};
        QTest::newRow("colon-alone-hides-point1")
            << "C1" << QStringList{"colon", "timeMark", "slowMark"};
        QTest::newRow("field-hides-point1") << "F1" << QStringList{"slowMark"};
        QTest::newRow("date") << "FD" << QStringList{"dash", "slowMark"};
    }
    void symbols()
    {
        QFETCH(QString, flags);
        QFETCH(QStringList, lit);
        MeterState state;
        DisplayFields &d = state.display;
        d.FieldMode = flags.contains('F');
        d.ColonOn = flags.contains('C');
        d.DashOn = flags.contains('D');
        d.Point1On = flags.contains('1');
        d.Point2On = flags.contains('2');
        d.DoseMode = flags.contains('d');
        d.DbaMode = flags.contains('a');
        d.MemOn = flags.contains('M');
        d.LoudOn = flags.contains('L');
        d.PeakOn = flags.contains('P');
        state.status.FastResponse = flags.contains('f');

        ControlKeys keys;
        const PanelDisplay &shown = keys.redraw(state, QStringLiteral("94.5"));
        QStringList got = litItems(shown);
        got.sort();
        lit.sort();
        QCOMPARE(got, lit);
        QCOMPARE(shown.value, QStringLiteral("94.5"));
    }

    void bankBlinks()
    {
        MeterState state;
        ControlKeys keys;
        state.display.EventBank = 2;
        state.display.BankBlink = true;
        QList<bool> visible;
        for (int i = 0; i < 4; ++i)
            visible << keys.redraw(state, {}).bankVisible;
        QCOMPARE(visible, (QList<bool>{false, true, false, true}));
        QCOMPARE(keys.display().bank, QStringLiteral("E2"));

        keys.redraw(state, {}); // hidden now
        state.display.BankBlink = false;
        QVERIFY(keys.redraw(state, {}).bankVisible);
        QVERIFY(keys.redraw(state, {}).bankVisible);

        state.display.EventBank = 6; // no such bank: the caption stays
        QCOMPARE(keys.redraw(state, {}).bank, QStringLiteral("E2"));
        state.display.EventBank = 0;
        QCOMPARE(keys.redraw(state, {}).bank, QString());
    }

    // The gauge after the meter reports each level in turn, through the poll.
    void battery_data()
    {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QList<int>>("images");

        QTest::newRow("five-to-three") << QList<int>{5, 3} << QList<int>{0, 3};
        QTest::newRow("six-shows-full") << QList<int>{6} << QList<int>{0, 5};
        QTest::newRow("seven-shows-full") << QList<int>{7} << QList<int>{0, 5};
        QTest::newRow("seven-then-five") << QList<int>{7, 5} << QList<int>{0, 5};
        QTest::newRow("six-then-two") << QList<int>{6, 2} << QList<int>{0, 2};
        QTest::newRow("two-then-empty") << QList<int>{2, 0} << QList<int>{0};
        QTest::newRow("empty-from-start") << QList<int>{0} << QList<int>{0};
    }
    void battery()
    {
        QFETCH(QList<int>, levels);
        QFETCH(QList<int>, images);
        Rig rig;
        for (const int level : levels) {
            rig.vm.setBattery(level);
            rig.refresh();
        }
        QCOMPARE(rig.state.display.BatteryLevel, levels.last());
        QCOMPARE(shownBatteryImages(rig.panel.display()), images);
    }

    void glyphs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("glyphs");
        QTest::newRow("level") << "94.5"
                               << " 945";
        QTest::newRow("level-text") << "094.5"
                                    << "0945";
        QTest::newRow("dose") << "12.05"
                              << "1205";
        QTest::newRow("clock") << "8:30"
                               << " 830";
        QTest::newRow("date-dash") << "11-30"
                                   << "1130";
        QTest::newRow("under-range") << "----"
                                     << "----";
        QTest::newRow("overload") << " OL "
                                  << " OL ";
        QTest::newRow("too-long-keeps-right") << "12345"
                                              << "2345";
    }
    void glyphs()
    {
        QFETCH(QString, text);
        QTEST(LcdReplica::glyphs(text), "glyphs");
    }

    // The panel mirrors the main window's value and level through the poll.
    void mirrorsTheMeter()
    {
        Rig rig;
        const auto *timer = rig.panel.findChild<QTimer *>(QStringLiteral("redrawTimer"));
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 500);
        rig.refresh();
        const PanelDisplay &d = rig.panel.display();
        QCOMPARE(d.value, QStringLiteral("94.5"));
        QVERIFY(d.dbaMark && d.barShown);
        QCOMPARE(d.barLevelDb, 94.5f);

        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Clock);
        rig.refresh();
        QCOMPARE(d.value, QStringLiteral("8:30"));
        QVERIFY(d.colon && d.timeMark && !d.point1 && !d.barShown);
    }

    // Paints the panel in its typical states; with DOSEMETER_PANEL_SHOTS set to a
    // directory, saves each as a PNG there to look at.
    void paintsEveryState_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("dba-level") << "dba";
        QTest::newRow("running") << "running";
        QTest::newRow("dose") << "dose";
        QTest::newRow("clock") << "clock";
        QTest::newRow("date") << "date";
        QTest::newRow("paused") << "paused";
        QTest::newRow("locked") << "locked";
        QTest::newRow("battery-low") << "battery";
        QTest::newRow("overload") << "overload";
        QTest::newRow("under-range") << "under";
    }
    void paintsEveryState()
    {
        QFETCH(QString, state);
        Rig rig;
        rig.meter.refreshSettings();
        if (QStringList{"running", "dose", "paused", "locked", "battery"}.contains(state))
            rig.setRunState(state == "paused" ? QStringLiteral("paused")
                                              : QStringLiteral("running"));
        rig.clock.advance(1800.0); // half an hour of dose
        if (state == "dose")
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        else if (state == "clock")
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Clock);
        else if (state == "date")
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Date);
        else if (state == "locked")
            rig.vm.setLocked(true);
        else if (state == "battery")
            rig.vm.setBattery(1);
        else if (state == "overload")
            rig.vm.setFixedLevel(250.0);
        else if (state == "under")
            rig.vm.setFixedLevel(-1.0);
        rig.refresh();
        rig.panel.show();
        if (!rig.panel.display().bankVisible) // a running meter's bank blinks
            rig.panel.redraw();
        const QImage image = rig.panel.grab().toImage();
        QVERIFY(!image.isNull());
        const QString dir = qEnvironmentVariable("DOSEMETER_PANEL_SHOTS");
        if (!dir.isEmpty())
            QVERIFY(image.save(QDir(dir).filePath(state + QStringLiteral(".png"))));
    }
};

DOSEMETER_TEST(TestControlPanel)
#include "tst_ControlPanel.moc"
