// dosemeter-cli record in process: the virtual meter on the fake clock.

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
#include <functional>

namespace {

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
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("shift.dat"));

    CliRig()
    {
        virtualMeter.setClock(clock.now(), clock.monotonicSeconds());
        virtualMeter.setFixedLevel(85.0);
        link.open();
        meter.setRefreshTimeout(context.timeoutSeconds);
    }
    int run(const QStringList &args)
    {
        const int code = cli::record(context, QStringList{"--out", path} + args);
        out.flush();
        err.flush();
        return code;
    }
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
    // The file's records: each line without its number's column, or the whole line.
    QStringList lines() const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    }
};

} // namespace

class TestRecordCli : public QObject {
    Q_OBJECT

private slots:
    void recordsUntilTheEnd_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("count") << QStringList{"--period", "0.2", "--count", "3"}
                               << QStringList{"1\t2009/11/30\t10:00:00.1\t85.0",
                                              "2\t2009/11/30\t10:00:00.3\t85.0",
                                              "3\t2009/11/30\t10:00:00.5\t85.0"};
        QTest::newRow("duration") << QStringList{"--period", "1", "--duration", "2.5"}
                                  << QStringList{"1\t2009/11/30\t10:00:00.1\t85.0",
                                                 "2\t2009/11/30\t10:00:01.1\t85.0",
                                                 "3\t2009/11/30\t10:00:02.1\t85.0"};
        QTest::newRow("period above 60")
            << QStringList{"--period", "75", "--count", "2"}
            << QStringList{"1\t2009/11/30\t10:00:00.1\t85.0", "2\t2009/11/30\t10:01:00.1\t85.0"};
        QTest::newRow("default period 2 s")
            << QStringList{"--count", "2"}
            << QStringList{"1\t2009/11/30\t10:00:00.1\t85.0", "2\t2009/11/30\t10:00:02.1\t85.0"};
    }
    void recordsUntilTheEnd()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, records);
        CliRig rig;
        QCOMPARE(rig.run(args), int(cli::kOk));
        QCOMPARE(rig.outText, QStringLiteral("records: %1\n").arg(records.size()));
        QCOMPARE(rig.lines(), QStringList{"No.s\tDate\tTime\tdBA"} + records + QStringList{""});
    }

    void leavingDbaEndsTheRecording()
    {
        CliRig rig;
        rig.at(1.5, [&rig] { rig.virtualMeter.setDisplayMode(VirtualMeter::DisplayMode::Dose); });
        QCOMPARE(rig.run({"--period", "1"}), int(cli::kOk));
        QCOMPARE(rig.outText, QStringLiteral("records: 2\n"));
        QCOMPARE(rig.lines().size(), 4);
        QCOMPARE(rig.errText,
                 QStringLiteral("dosemeter-cli: the meter's display left dBA mode; the "
                                "recording ended\n"));
    }

    void signalEndsTheRecording()
    {
        CliRig rig;
        rig.at(2.5, [] { std::raise(SIGTERM); });
        QCOMPARE(rig.run({"--period", "1"}), int(cli::kOk));
        QCOMPARE(rig.outText, QStringLiteral("records: 3\n"));
        QCOMPARE(rig.lines().size(), 5);
        QVERIFY2(rig.errText.contains("stopped (SIGTERM)"), qPrintable(rig.errText));
    }

    void silentMeterEndsWithTheFileWhole()
    {
        CliRig rig;
        rig.at(1.5, [&rig] { rig.virtualMeter.setVanished(true); });
        QCOMPARE(rig.run({"--period", "0.2"}), int(cli::kNoAnswer));
        // The records up to the last display frame; then the meter is asked for its settings
        // until the time-out.
        QCOMPARE(rig.outText, QStringLiteral("records: 8\n"));
        QCOMPARE(rig.lines().size(), 10);
        QVERIFY2(rig.errText.contains("does not answer"), qPrintable(rig.errText));
    }

    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no folder") << QStringList{"--out", "/nonexistent/shift.dat"};
        QTest::newRow("count and duration") << QStringList{"--count", "2", "--duration", "9"};
        QTest::newRow("count above the limit") << QStringList{"--count", "86401"};
        QTest::newRow("unknown option") << QStringList{"--fast"};
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QStringList, args);
        CliRig rig;
        QCOMPARE(rig.run(args), int(cli::kUsage));
        QVERIFY(rig.errText.startsWith("dosemeter-cli: "));
        QVERIFY(rig.virtualMeter.received().isEmpty());
    }
};

DOSEMETER_TEST(TestRecordCli)
#include "tst_RecordCli.moc"
