#include "SimProcess.h"

#include "support/TestMain.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <memory>

// dosemeter-cli setup and standard against dosemeter-sim on a pseudo-terminal, with the
// real key pacing. Each run takes half a minute or more, so the three runs start together
// and each test waits for its own.

namespace {

// One dosemeter-cli run on its own virtual meter, started at once, waited for on demand.
class SetupRun {
public:
    bool start(const QStringList &simOptions, const QStringList &command)
    {
        if (!sim.start(simOptions))
            return false;
        timer_.start();
        cli_.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                   QStringList{"--port", sim.port()} + command);
        return cli_.waitForStarted(5000);
    }
    // The exit code (-1 when it did not end in time); fills out, err and seconds.
    int finish()
    {
        if (!cli_.waitForFinished(240000)) {
            cli_.kill();
            cli_.waitForFinished(3000);
            return -1;
        }
        seconds = double(timer_.elapsed()) / 1000.0;
        out = QString::fromLocal8Bit(cli_.readAllStandardOutput());
        err = QString::fromLocal8Bit(cli_.readAllStandardError());
        return cli_.exitStatus() == QProcess::NormalExit ? cli_.exitCode() : -1;
    }

    SimProcess sim;
    QString out;
    QString err;
    double seconds = 0.0;

private:
    QProcess cli_;
    QElapsedTimer timer_;
};

} // namespace

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
    SetupRun allFive_;
    SetupRun uk_;
    SetupRun stuck_;
};

DOSEMETER_TEST(TestSetupEndToEnd)
#include "tst_SetupCli.moc"
