#include "cli/Cli.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>

namespace {

// dosemeter-cli average in process: the virtual meter on a fake clock at a fixed level.
struct CliRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    VirtualMeter virtualMeter;
    VirtualMeterLink link{virtualMeter, clock};
    MeterState meterState;
    Meter meter{link, clock, meterState};
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    cli::Context context{meter, out, err, 2.0, false};
    double startedAt = clock.monotonicSeconds();

    explicit CliRig(double level)
    {
        virtualMeter.setClock(clock.now(), clock.monotonicSeconds());
        virtualMeter.setFixedLevel(level);
        link.open();
        meter.setRefreshTimeout(context.timeoutSeconds);
    }
    int run(const QStringList &args)
    {
        const int code = cli::average(context, args);
        out.flush();
        err.flush();
        return code;
    }
    QStringList outLines() const { return outText.split('\n', Qt::SkipEmptyParts); }
    // Runs `action` once, inside the first wait after `seconds` of the command.
    void at(double seconds, std::function<void()> action)
    {
        clock.duringSleep = [this, seconds, action, done = false]() mutable {
            if (!done && clock.monotonicSeconds() - startedAt >= seconds) {
                done = true;
                action();
            }
        };
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestAverageCli : public QObject {
    Q_OBJECT

private slots:
    void countOfIntervals()
    {
        CliRig rig(85.0);
        QTemporaryDir dir;
        const QString path = dir.filePath("run.avg");
        QCOMPARE(rig.run({"--interval", "0:0:2", "--count", "3", "--out", path, "--job", "Press 4",
                          "--name", "A. Worker", "--id", "7"}),
                 int(cli::kOk));
        QCOMPARE(rig.outLines(),
                 (QStringList{"1\t2009/11/30\t10:00:02\t 85", "2\t2009/11/30\t10:00:04\t 85",
                              "3\t2009/11/30\t10:00:06\t 85", "run-time: 00:00:06", "spl-max: 85",
                              "140-peak: No", "laeq: 85.0"}));
        QVERIFY2(rig.errText.isEmpty(), qPrintable(rig.errText));
        // The file the window's Save writes for this run.
        QCOMPARE(fileBytes(path), QByteArray("\"JOB: Press 4\"\r\n"
                                             "\"Name: A. Worker\"\r\n"
                                             "\"ID: 7\"\r\n"
                                             "\"Start date: 2009/11/30\"\r\n"
                                             "\"Start time: 10:00:00\"\r\n"
                                             "\"Time Int.: 00:00:02\"\r\n"
                                             "\"Criterion level: 84\"\r\n"
                                             "\"Exchange Rate: 4\"\r\n"
                                             "\"Run Time: 00:00:06\"\r\n"
                                             "\"SPL Max: 85\"\r\n"
                                             "\"140 PEAK: No\"\r\n"
                                             "************\r\n"
                                             "\"No.s\tDate\tTime\tdBA\t\"\r\n"
                                             "\"1\t2009/11/30\t10:00:02\t 85\t\"\r\n"
                                             "\"2\t2009/11/30\t10:00:04\t 85\t\"\r\n"
                                             "\"3\t2009/11/30\t10:00:06\t 85\t\"\r\n"));
    }

    void overload()
    {
        CliRig rig(250.0); // above the display's range
        QCOMPARE(rig.run({"--interval", "0:0:1", "--count", "1"}), int(cli::kOk));
        QCOMPARE(rig.outLines(), (QStringList{"1\t2009/11/30\t10:00:01\t 140", "run-time: 00:00:01",
                                              "spl-max: 140", "140-peak: Yes", "laeq: 140.0"}));
    }

    void leavingDbaEndsTheRun()
    {
        CliRig rig(85.0);
        rig.at(5.5, [&rig] { rig.virtualMeter.setDisplayMode(VirtualMeter::DisplayMode::Dose); });
        QCOMPARE(rig.run({"--interval", "0:0:2", "--count", "100"}), int(cli::kOk));
        QCOMPARE(rig.outLines().mid(2),
                 (QStringList{"run-time: 00:00:04", "spl-max: 85", "140-peak: No", "laeq: 85.0"}));
        QVERIFY2(rig.errText.contains("left dBA mode"), qPrintable(rig.errText));
    }

    void interruptEndsTheRunAsStop()
    {
        CliRig rig(85.0);
        rig.at(3.5, [] { std::raise(SIGINT); });
        QCOMPARE(rig.run({"--interval", "0:0:2", "--count", "100"}), int(cli::kOk));
        QCOMPARE(rig.outLines(), (QStringList{"1\t2009/11/30\t10:00:02\t 85", "run-time: 00:00:02",
                                              "spl-max: 85", "140-peak: No", "laeq: 85.0"}));
        QVERIFY2(rig.errText.contains("stopped (SIGINT)"), qPrintable(rig.errText));
        QVERIFY(rig.clock.monotonicSeconds() - rig.startedAt < 4.0);
    }

    void startsFromAnotherDisplayMode()
    {
        CliRig rig(85.0);
        rig.virtualMeter.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        QCOMPARE(rig.run({"--interval", "0:0:1", "--count", "1"}), int(cli::kOk));
        QCOMPARE(rig.virtualMeter.displayMode(), VirtualMeter::DisplayMode::Dba);
        QCOMPARE(rig.outLines().size(), 5);
    }

    void wrongArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no-count") << QStringList{"--interval", "0:0:2"};
        QTest::newRow("interval-without-colon") << QStringList{"--interval", "10", "--count", "2"};
        QTest::newRow("interval-negative") << QStringList{"--interval", "-1:0:0", "--count", "2"};
        QTest::newRow("count-zero") << QStringList{"--interval", "0:0:2", "--count", "0"};
        QTest::newRow("unknown-option")
            << QStringList{"--interval", "0:0:2", "--count", "2", "--fast", "1"};
        QTest::newRow("interval-zero") << QStringList{"--interval", "0:0:0", "--count", "2"};
        QTest::newRow("interval-fraction") << QStringList{"--interval", "0:0:1.5", "--count", "2"};
        QTest::newRow("interval-four-fields")
            << QStringList{"--interval", "1:2:3:4", "--count", "2"};
        QTest::newRow("out-empty")
            << QStringList{"--interval", "0:0:2", "--count", "2", "--out", ""};
        QTest::newRow("out-in-no-folder")
            << QStringList{"--interval", "0:0:2", "--count", "2", "--out", "/nonexistent/a.avg"};
    }
    void wrongArguments()
    {
        QFETCH(QStringList, args);
        CliRig rig(85.0);
        QCOMPARE(rig.run(args), int(cli::kUsage));
        QVERIFY(!rig.errText.isEmpty());
        QVERIFY(rig.virtualMeter.received().isEmpty());
    }
};

DOSEMETER_TEST(TestAverageCli)
#include "tst_AverageCli.moc"
