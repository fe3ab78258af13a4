#include "BankRig.h"

#include "cli/Cli.h"
#include "support/TestMain.h"

#include <QTest>
#include <QTextStream>

namespace {

struct CliRig : BankRig {
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

// Bank 1 used (criterion 85, 5 dB, 100 %), bank 3 used with a peak, the rest unused.
void prepare(BankRig &rig)
{
    rig.setBank(1, bankrig::usedBank());
    rig.setBank(3, bankrig::bytes({0xE0, 0x07, 0x14, 0x13, 0x45, 0x21, 0x50, 8, 5,  0x00,
                                   0xC8, 1,    0,    0,    0,    2,    7,    0, 45, 75}));
}

} // namespace

// dosemeter-cli's banks and twa commands, in process on the virtual meter.
class TestBankCli : public QObject {
    Q_OBJECT

private slots:
    void oneBank()
    {
        CliRig rig;
        prepare(rig);
        QCOMPARE(cli::banks(rig.context, {"--bank", "3"}), int(cli::kOk));
        const QStringList lines = rig.output().split('\n');
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines.at(0), "Used or not\t\t\t Used\t\t");
        QCOMPARE(lines.at(14), "PEAK DURATION(mm:ss)\t\t\t 00:45\t\t");
    }

    // The run state comes from the meter's display: the bank it records into is not read.
    void runningBankFromTheDisplay()
    {
        CliRig rig;
        prepare(rig);
        rig.vm.receive(QByteArray("F") + char(Protocol::kKeyRunPause),
                       rig.clock.monotonicSeconds());
        QVERIFY(rig.vm.running());
        // The meter records into the first unused bank: E2.
        QCOMPARE(rig.vm.eventBank(), 2);
        QCOMPARE(cli::banks(rig.context, {}), int(cli::kOk));
        QCOMPARE(rig.output().section('\n', 0, 1),
                 "Used or not\t Used\tRunning\t Used\t Unused\t Unused\nCriterion level\t "
                 "85dB\t\t 80dB\t\t");
    }

    void wrongArgumentsSendNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("bank-0") << QStringList{"--bank", "0"};
        QTest::newRow("bank-6") << QStringList{"--bank", "6"};
        QTest::newRow("bank-word") << QStringList{"--bank", "E2"};
        QTest::newRow("bank-without-number") << QStringList{"--bank"};
        QTest::newRow("out-without-file") << QStringList{"--out"};
        QTest::newRow("out-in-missing-folder") << QStringList{"--out", "/no/such/folder/x.bnk"};
        QTest::newRow("unknown-option") << QStringList{"--all"};
    }
    void wrongArgumentsSendNothing()
    {
        QFETCH(QStringList, args);
        CliRig rig;
        QCOMPARE(cli::banks(rig.context, args), int(cli::kUsage));
        QVERIFY(rig.vm.received().isEmpty());
        QVERIFY(rig.errors().startsWith("dosemeter-cli: "));
    }

    void twa_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::newRow("osha-50") << QStringList{"--dose",          "50", "--criterion", "90",
                                                "--exchange-rate", "5"}
                                 << 0 << "85.0\n";
        QTest::newRow("niosh-200")
            << QStringList{"--exchange-rate", "3", "--dose", "200", "--criterion", "85"} << 0
            << "88.0\n";
        QTest::newRow("fraction") << QStringList{"--dose", "12.34",           "--criterion",
                                                 "84",     "--exchange-rate", "5"}
                                  << 0 << "68.9\n";
        QTest::newRow("dose-0") << QStringList{"--dose",          "0", "--criterion", "90",
                                               "--exchange-rate", "5"}
                                << 2 << "";
        QTest::newRow("dose-negative")
            << QStringList{"--dose", "-50", "--criterion", "90", "--exchange-rate", "5"} << 2 << "";
        QTest::newRow("dose-word")
            << QStringList{"--dose", "half", "--criterion", "90", "--exchange-rate", "5"} << 2
            << "";
        QTest::newRow("dose-infinite")
            << QStringList{"--dose", "inf", "--criterion", "90", "--exchange-rate", "5"} << 2 << "";
        // What a meter's dose bank can hold: 0.01 % to 65535 %.
        const auto dose = [](const char *percent) {
            return QStringList{"--dose", percent, "--criterion", "90", "--exchange-rate", "5"};
        };
        QTest::newRow("dose-smallest-a-bank-holds") << dose("0.01") << 0 << "23.6\n";
        QTest::newRow("dose-largest-a-bank-holds") << dose("65535") << 0 << "136.8\n";
        QTest::newRow("dose-1e308") << dose("1e308") << 2 << "";
        QTest::newRow("dose-1e-300") << dose("1e-300") << 2 << "";
        QTest::newRow("criterion-86")
            << QStringList{"--dose", "50", "--criterion", "86", "--exchange-rate", "5"} << 2 << "";
        QTest::newRow("exchange-7")
            << QStringList{"--dose", "50", "--criterion", "90", "--exchange-rate", "7"} << 2 << "";
        QTest::newRow("exchange-missing")
            << QStringList{"--dose", "50", "--criterion", "90"} << 2 << "";
        QTest::newRow("dose-twice") << QStringList{"--dose",      "50", "--dose",          "60",
                                                   "--criterion", "90", "--exchange-rate", "5"}
                                    << 2 << "";
    }
    void twa()
    {
        QFETCH(QStringList, args);
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QTEST(cli::twa(out, err, args), "code");
        out.flush();
        err.flush();
        QTEST(outText, "out");
        QCOMPARE(errText.isEmpty(), outText != "");
    }
};

DOSEMETER_TEST(TestBankCli)
#include "tst_BankCli.moc"
