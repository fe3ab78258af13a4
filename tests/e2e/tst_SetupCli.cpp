#include "SimProcess.h"

#include "support/TestMain.h"

#include <QDateTime>
#include <QTest>

// dosemeter-cli setup and standard against dosemeter-sim on a pseudo-terminal, with the
// real key pacing. Each run takes half a minute or more, so the three runs start together
// and each test waits for its own.

class TestSetupEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        target_ = QDateTime::currentDateTime().addSecs(3600 + 120);
        target_.setTime(QTime(target_.time().hour(), target_.time().minute()));
        // All five settings, on a meter that ignores keys sooner than 2 s after the last.
        QVERIFY(allFive_.start({"--key-delay", "2", "--mode", "clock"},
                               {"setup", "--criterion", "85", "--threshold", "78",
                                "--exchange-rate", "5", "--response", "slow", "--clock",
                                target_.toString("yyyy-MM-dd hh:mm")}));
        QVERIFY(uk_.start({}, {"standard", "U.K"}));
        QVERIFY(stuck_.start({"--fault", "stuck-menu"}, {"setup", "--criterion", "85"}));
    }

    // status and the clock display show the new settings.
    void setupThenStatus()
    {
        QCOMPARE(allFive_.finish(), 0);
        QVERIFY2(allFive_.out.endsWith("Set up successfully.\n"), qPrintable(allFive_.err));
        qInfo("setup of all five settings: %.1f s", allFive_.seconds);
        QString out;
        QCOMPARE(runCli({"--port", allFive_.sim.port(), "status"}, &out), 0);
        QCOMPARE(out, "criterion: 85\nexchange-rate: 5\nresponse: Slow\nthreshold: 78\n");
        QCOMPARE(runCli({"--port", allFive_.sim.port(), "display"}, &out), 0);
        const QString shown = QStringLiteral("value: %1:%2\n")
                                  .arg(target_.time().hour())
                                  .arg(target_.time().minute(), 2, 10, QLatin1Char('0'));
        QVERIFY2(out.startsWith(shown), qPrintable(out));
        QCOMPARE(allFive_.sim.stop(), 0);
    }

    void standardUK()
    {
        QCOMPARE(uk_.finish(), 0);
        QCOMPARE(uk_.out, "Set up successfully.\n");
        QCOMPARE(uk_.err, "Criterion level: 84 -> 90\nExchange rate: 4 -> 3\n");
        QString out;
        QCOMPARE(runCli({"--port", uk_.sim.port(), "status"}, &out), 0);
        QCOMPARE(out, "criterion: 90\nexchange-rate: 3\nresponse: Fast\nthreshold: 80\n");
        QCOMPARE(uk_.sim.stop(), 0);
    }

    // A menu that does not step: the run fails, and the meter is out of its menu.
    void stuckMenuFails()
    {
        QCOMPARE(stuck_.finish(), 3);
        QCOMPARE(stuck_.out, "");
        QVERIFY2(stuck_.err.endsWith("Invalid, try again!\ndosemeter-cli: Criterion level did "
                                     "not reach 85 in 10 presses.\n"),
                 qPrintable(stuck_.err));
        QString out;
        QCOMPARE(runCli({"--port", stuck_.sim.port(), "display"}, &out), 0);
        QVERIFY(out.contains("FieldMode: 0\n"));
        QCOMPARE(stuck_.sim.stop(), 0);
    }

private:
    QDateTime target_;
    CliRun allFive_;
    CliRun uk_;
    CliRun stuck_;
};

DOSEMETER_TEST(TestSetupEndToEnd)
#include "tst_SetupCli.moc"
