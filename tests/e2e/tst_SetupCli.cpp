#include "SimProcess.h"

#include "support/TestMain.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

// dosemeter-cli setup and standard against dosemeter-sim on a pseudo-terminal, with the
// real key pacing: each run takes half a minute or more.

namespace {

// Runs dosemeter-cli to the end, however long its key presses take.
int runSetupCli(const QStringList &arguments, QString *out, QString *err, double *seconds = nullptr)
{
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"), arguments);
    if (!cli.waitForFinished(240000)) {
        cli.kill();
        cli.waitForFinished(3000);
        return -1;
    }
    if (seconds)
        *seconds = double(timer.elapsed()) / 1000.0;
    *out = QString::fromLocal8Bit(cli.readAllStandardOutput());
    *err = QString::fromLocal8Bit(cli.readAllStandardError());
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

} // namespace

class TestSetupEndToEnd : public QObject {
    Q_OBJECT

private slots:
    // All five settings changed on a meter that ignores keys sooner than 2 s after the
    // last one; status and the clock display show the new settings.
    void setupThenStatus()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--key-delay", "2", "--mode", "clock"}));
        QDateTime target = QDateTime::currentDateTime().addSecs(3600 + 120);
        target.setTime(QTime(target.time().hour(), target.time().minute()));
        QString out, err;
        double seconds = 0.0;
        QCOMPARE(runSetupCli({"--port", sim.port(), "setup", "--criterion", "85", "--threshold",
                              "78", "--exchange-rate", "5", "--response", "slow", "--clock",
                              target.toString("yyyy-MM-dd hh:mm")},
                             &out, &err, &seconds),
                 0);
        QVERIFY2(out.endsWith("Set up successfully.\n"), qPrintable(err));
        qInfo("setup of all five settings: %.1f s", seconds);

        QCOMPARE(runCli({"--port", sim.port(), "status"}, &out), 0);
        QCOMPARE(out, "criterion: 85\nexchange-rate: 5\nresponse: Slow\nthreshold: 78\n");
        QCOMPARE(runCli({"--port", sim.port(), "display"}, &out), 0);
        const QString shown = QStringLiteral("value: %1:%2\n")
                                  .arg(target.time().hour())
                                  .arg(target.time().minute(), 2, 10, QLatin1Char('0'));
        QVERIFY2(out.startsWith(shown), qPrintable(out));
        QCOMPARE(sim.stop(), 0);
    }

    void standardUK()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        QString out, err;
        QCOMPARE(runSetupCli({"--port", sim.port(), "standard", "U.K"}, &out, &err), 0);
        QCOMPARE(out, "Set up successfully.\n");
        QCOMPARE(err, "Criterion level: 84 -> 90\nExchange rate: 4 -> 3\n");
        QCOMPARE(runCli({"--port", sim.port(), "status"}, &out), 0);
        QCOMPARE(out, "criterion: 90\nexchange-rate: 3\nresponse: Fast\nthreshold: 80\n");
        QCOMPARE(sim.stop(), 0);
    }

    // A menu that does not step: the run fails, and the meter is out of its menu.
    void stuckMenuFails()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "stuck-menu"}));
        QString out, err;
        QCOMPARE(runSetupCli({"--port", sim.port(), "setup", "--criterion", "85"}, &out, &err), 3);
        QCOMPARE(out, "");
        QVERIFY2(err.endsWith("Invalid, try again!\ndosemeter-cli: Criterion level did not "
                              "reach 85 in 10 presses.\n"),
                 qPrintable(err));
        QCOMPARE(runCli({"--port", sim.port(), "display"}, &out), 0);
        QVERIFY(out.contains("FieldMode: 0\n"));
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestSetupEndToEnd)
#include "tst_SetupCli.moc"
