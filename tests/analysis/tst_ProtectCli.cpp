// dosemeter-cli protect, run as the built program: the whole output for each way of giving
// the protector and the noise, the exit status 2 when no method has its inputs, and the
// message of each refusal. Every expected figure was worked out by hand.

#include "AnalysisRig.h"
#include "support/TestMain.h"

#include <QTest>

class TestProtectCli : public QObject {
    Q_OBJECT

private slots:
    void output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        // clang-format off
        // LC - LA = -1 dB: PNR = 18 - 6 (-3) / 4 = 22.5.
        QTest::newRow("snr-hml-nrr") << QStringList{"protect", "--la", "104", "--lc", "103",
                                                    "--snr", "21", "--hml", "24,18,13",
                                                    "--nrr", "29"}
            << "snr.protected: 82.0\nsnr.rounded: 82\nsnr.adequacy: insufficient\n"
               "hml.pnr: 22.5\nhml.protected: 81.5\nhml.rounded: 82\nhml.adequacy: insufficient\n"
               "osha.protected: 74.0\nosha.adequacy: good\n"
               "osha-field.protected: 88.5\nosha-field.adequacy: insufficient\n";
        // Options in any order; NIOSH with the type; Lact 85 moves the bands.
        QTest::newRow("niosh-earmuff-action-85") << QStringList{"protect", "--type", "earmuff",
                                                                "--nrr", "25", "--action", "85",
                                                                "--la", "98", "--lc", "100"}
            << "osha.protected: 75.0\nosha.adequacy: acceptable\n"
               "osha-field.protected: 87.5\nosha-field.adequacy: insufficient\n"
               "niosh.protected: 81.3\nniosh.adequacy: acceptable\n";
        QTest::newRow("octave") << QStringList{"protect", "--la", "106", "--octave",
                                               "69.6,74.0,75.9,77.3,100.1,105.8,77.9,57.1",
                                               "--apv", "8.6, 12.2, 13.9, 15.8, 16.4, 22.9, 24.6, 22.7"}
            << "octave.protected: 86.9\noctave.rounded: 87\noctave.adequacy: insufficient\n";
        // The allowance only in the ISO 4869-2 figure, the 5 dB in both, then half the
        // shift unprotected: snr 70 + 4 - 5 = 69 dB and osha 75 - 5 = 70 dB, each worn half
        // of 100 dB(A).
        QTest::newRow("allowance-dual-wear") << QStringList{"protect", "--la", "100", "--lc",
                                                            "100", "--snr", "30", "--nrr", "25",
                                                            "--real-world", "4", "--dual",
                                                            "--wear", "50"}
            << "real-world: 4.0\ndual: 5.0\n"
               "snr.protected: 97.0\nsnr.rounded: 97\nsnr.adequacy: insufficient\n"
               "osha.protected: 97.0\nosha.adequacy: insufficient\n"
               "osha-field.protected: 97.1\nosha-field.adequacy: insufficient\n";
        // Without LC the NRR methods take 7 dB off; SNR and HML say what they lack.
        QTest::newRow("without-lc") << QStringList{"protect", "--la", "104", "--snr", "21",
                                                   "--hml", "24,18,13", "--nrr", "29"}
            << "snr.protected: \nhml.protected: \nosha.protected: 82.0\n"
               "osha.adequacy: insufficient\nosha-field.protected: 93.0\n"
               "osha-field.adequacy: insufficient\n"
               "advisory: snr needs LC\nadvisory: hml needs LC\n";
        // clang-format on
    }
    void output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const rig::Run run = rig::runCli(arguments);
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(QString::fromUtf8(run.out), expected);
    }

    // Nothing to compute is a failure, with the advisory on standard output.
    void nothingComputed()
    {
        const rig::Run run = rig::runCli({"protect", "--la", "104", "--hml", "24,18,13"});
        QCOMPARE(run.code, 2);
        QCOMPARE(QString::fromUtf8(run.out), "hml.protected: \nadvisory: hml needs LC\n");
        QVERIFY2(run.err.contains("no method could be computed"), run.err.constData());
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("snr-negative") << QStringList{"protect", "--la", "100", "--lc", "100", "--snr", "-3"}
            << "An SNR of -3 dB is outside 0 to 60 dB.";
        QTest::newRow("wear-140") << QStringList{"protect", "--la", "100", "--lc", "100", "--snr", "20", "--wear", "140"}
            << "A wear time of 140 % is outside 0 to 100 %.";
        QTest::newRow("seven-bands") << QStringList{"protect", "--la", "100", "--octave", "80,80,80,80,80,80,80",
                                                    "--apv", "10,10,10,10,10,10,10,10"}
            << "The octave band levels are 8, 63 to 8000 Hz; 7 given.";
        QTest::newRow("la-above-140") << QStringList{"protect", "--la", "141", "--nrr", "20"}
            << "An LA of 141 dB is outside 0 to 140 dB.";
        QTest::newRow("lc-not-a-number") << QStringList{"protect", "--la", "100", "--lc", "loud", "--nrr", "20"}
            << "--lc takes the C-weighted level in dB";
        QTest::newRow("hml-of-two") << QStringList{"protect", "--la", "100", "--lc", "100", "--hml", "24,18"}
            << "--hml takes the protector's H, M and L in dB";
        QTest::newRow("band-not-a-number") << QStringList{"protect", "--la", "100", "--octave", "80,x,80,80,80,80,80,80",
                                                          "--apv", "10,10,10,10,10,10,10,10"}
            << "--octave takes the 8 octave band levels";
        QTest::newRow("octave-without-apv") << QStringList{"protect", "--la", "100", "--octave", "80,80,80,80,80,80,80,80"}
            << "--octave and --apv go together";
        QTest::newRow("type-unknown") << QStringList{"protect", "--la", "100", "--nrr", "20", "--type", "helmet"}
            << "--type is earmuff, formable or other";
        QTest::newRow("type-without-nrr") << QStringList{"protect", "--la", "100", "--lc", "100", "--snr", "20", "--type", "earmuff"}
            << "--type goes with --nrr";
        QTest::newRow("no-la") << QStringList{"protect", "--lc", "100", "--snr", "20"}
            << "--la is needed";
        QTest::newRow("no-rating") << QStringList{"protect", "--la", "100", "--lc", "100"}
            << "no protector rating given";
        QTest::newRow("snr-twice") << QStringList{"protect", "--la", "100", "--lc", "100", "--snr", "20", "--snr", "25"}
            << "--snr is given twice";
        QTest::newRow("value-missing") << QStringList{"protect", "--la", "100", "--nrr"}
            << "--nrr needs a value";
        QTest::newRow("unknown-option") << QStringList{"protect", "--la", "100", "--nrr", "20", "--muff"}
            << "unknown argument '--muff'";
        // clang-format on
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const rig::Run run = rig::runCli(arguments);
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }
};

DOSEMETER_TEST(TestProtectCli)
#include "tst_ProtectCli.moc"
