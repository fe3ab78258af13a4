#include "ConfigRig.h"

#include "cli/Cli.h"
#include "support/TestMain.h"

#include <QTest>
#include <QTextStream>

// dosemeter-cli setup and standard, in process on the virtual meter with the fake clock
// (status 0x15: 84 dB, 4 dB, Fast; threshold 80; 2009-11-30 10:00).

namespace {

struct CliRig : ConfigRig {
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    cli::Context context{meter, out, err, 10.0, false};

    QString output()
    {
        out.flush();
        return outText;
    }
    QString errors()
    {
        err.flush();
        return errText;
    }
};

} // namespace

class TestConfigCli : public QObject {
    Q_OBJECT

private slots:
    // Values out of range stop the command before anything is sent.
    void wrongArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const QStringList &args, const char *error) {
            QTest::newRow(name) << args << QString(error);
        };
        row("criterion-81", {"setup", "--criterion", "81"}, "--criterion takes 80, 84, 85 or 90");
        row("threshold-69", {"setup", "--threshold", "69"}, "--threshold takes 70 to 90 (dB)");
        row("exchange-rate-7", {"setup", "--exchange-rate", "7"},
            "--exchange-rate takes 3, 4, 5 or 6");
        row("response-medium", {"setup", "--response", "medium"}, "--response takes fast or slow");
        row("clock-february-30", {"setup", "--clock", "2026-02-30 10:00"},
            "--clock takes now or \"YYYY-MM-DD hh:mm\" (years 2000 to 2100)");
        row("clock-without-value", {"setup", "--clock"}, "--clock needs a value");
        row("unknown-option", {"setup", "--speed", "1"}, "unknown option '--speed'");
        row("standard-unknown-country", {"standard", "UK"},
            "unknown country 'UK'; the countries are: Germany, France, Belgium, U.K, Ireland, "
            "Italy, Denmark, Sweden, U.S.A, Canada, Australia, Japan, Taiwan, Brazil");
    }
    void wrongArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        CliRig rig;
        const QString command = args.takeFirst();
        const int code =
            command == "setup" ? cli::setup(rig.context, args) : cli::standard(rig.context, args);
        QCOMPARE(code, int(cli::kUsage));
        QCOMPARE(rig.errors(), "dosemeter-cli: " + error + "\n");
        QVERIFY(rig.vm.received().isEmpty());
    }

    // Progress on stderr, one line per setting; the threshold follows the window's rule;
    // the last line on stdout says it is done.
    void setupSucceeds()
    {
        CliRig rig;
        QCOMPARE(cli::setup(rig.context,
                            {"--criterion", "85", "--threshold", "88", "--response", "slow"}),
                 int(cli::kOk));
        QCOMPARE(rig.output(), "Set up successfully.\n");
        QCOMPARE(rig.errors(), "Criterion level: 84 -> 85\n"
                               "Threshold level: lowered to the criterion level, 85\n"
                               "Threshold level: 80 -> 85\n"
                               "Exchange rate: 4 (as it is)\n"
                               "Year (century): 20 (as it is)\n"
                               "Year: 09 (as it is)\n"
                               "Month: 11 (as it is)\n"
                               "Day: 30 (as it is)\n"
                               "Hour: 10 (as it is)\n"
                               "Minute: 00 (as it is)\n"
                               "Time weighting: Fast -> Slow\n");
        QCOMPARE(int(rig.vm.statusByte()), 0x06);
        QCOMPARE(rig.vm.threshold(), 85);
        QCOMPARE(rig.keys(), keys::list("128 2 8 2x5 8x8 2 4"));
    }

    // --clock now sets the meter's clock from the computer's.
    void clockNow()
    {
        CliRig rig;
        rig.clock.setNow(QDateTime(QDate(2009, 11, 30), QTime(10, 3)));
        rig.vm.setClock(QDateTime(QDate(2009, 11, 29), QTime(9, 1)), rig.clock.monotonicSeconds());
        QCOMPARE(cli::setup(rig.context, {"--clock", "now"}), int(cli::kOk));
        QCOMPARE(rig.meterClock(), "2009-11-30 10:03");
        QCOMPARE(rig.keys(), keys::list("128 8x6 2 8 2 8 2x2 8 4"));
    }

    void standardSucceeds()
    {
        CliRig rig;
        QCOMPARE(cli::standard(rig.context, {"U.K"}), int(cli::kOk));
        QCOMPARE(rig.output(), "Set up successfully.\n");
        QCOMPARE(rig.errors(), "Criterion level: 84 -> 90\nExchange rate: 4 -> 3\n");
        QCOMPARE(int(rig.vm.statusByte()), 0x13);
    }

    // A step at its limit: "Invalid, try again!" and the setting, the menu closed.
    void setupFails()
    {
        CliRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        QCOMPARE(cli::setup(rig.context, {"--criterion", "85"}), int(cli::kNoAnswer));
        QCOMPARE(rig.output(), "");
        QVERIFY(rig.errors().endsWith(
            "Invalid, try again!\ndosemeter-cli: Criterion level did not reach 85 in 10 "
            "presses.\n"));
        QCOMPARE(rig.keys(), keys::list("128 2x10 5"));
    }

    // A silent meter: at once, nothing pressed; or in the middle of a run, within the
    // time-out.
    void silentMeter_data()
    {
        QTest::addColumn<double>("goneAfter");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("errors");
        QTest::newRow("from-the-start")
            << 0.0 << ""
            << "dosemeter-cli: the meter does not answer (no reply within 10 s)\n";
        QTest::newRow("mid-run") << 12.0 << "128 8 2x2"
                                 << "Criterion level: 84 (as it is)\n"
                                    "Threshold level: 80 -> 84\n"
                                    "dosemeter-cli: the meter does not answer (no reply within "
                                    "10 s)\n"
                                    "dosemeter-cli: the setup did not finish at threshold level; "
                                    "the meter's settings may be partly changed\n";
    }
    void silentMeter()
    {
        QFETCH(double, goneAfter);
        QFETCH(QString, keys);
        CliRig rig;
        rig.meter.setRefreshTimeout(rig.context.timeoutSeconds);
        VirtualMeter::Faults faults;
        faults.vanishAfter = rig.clock.monotonicSeconds() + goneAfter;
        rig.vm.setFaults(faults);
        const double start = rig.clock.monotonicSeconds();
        QCOMPARE(cli::setup(rig.context, {"--threshold", "84"}), int(cli::kNoAnswer));
        QTEST(rig.errors(), "errors");
        QCOMPARE(rig.keys(), keys::list(qPrintable(keys)));
        QVERIFY(rig.clock.monotonicSeconds() - start < goneAfter + 20.0);
    }
};

DOSEMETER_TEST(TestConfigCli)
#include "tst_ConfigCli.moc"
