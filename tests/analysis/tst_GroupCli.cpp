// dosemeter-cli weekly and group, run as the built program: the whole output of each, the
// lines of a group too small for statistics, and the exit status and message of each
// refusal. The figures are those the group statistics test works out by hand.

#include "AnalysisRig.h"
#include "support/TestMain.h"

#include <QTest>

class TestGroupCli : public QObject {
    Q_OBJECT

private slots:
    void output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("weekly-two-loud-days") << QStringList{"weekly", "--lex8h", "95,95"}
            << "days: 2\nlexw: 91.0\n";
        QTest::newRow("weekly-blanks-around-commas") << QStringList{"weekly", "--lex8h", "88, 82 ,82,82"}
            << "days: 4\nlexw: 83.4\n";
        QTest::newRow("weekly-seven-days") << QStringList{"weekly", "--lex8h", "85,85,85,85,85,85,85"}
            << "days: 7\nlexw: 86.5\n";
        QTest::newRow("group-with-limit") << QStringList{"group", "--lex8h", "84,86,88,87,85", "--oel", "90"}
            << "n: 5\nlp: 86.2\nmean: 86.0\nsd: 1.6\nx95: 88.6\nutl95: 92.6\nef80: 100.0\n"
               "ef85: 73.6\nef87: 26.4\nef-oel: 0.6\ndecision: uncertain: measure more\n";
        QTest::newRow("group-limit-first") << QStringList{"group", "--oel", "90", "--lex8h", "84,86,88,87,85"}
            << "n: 5\nlp: 86.2\nmean: 86.0\nsd: 1.6\nx95: 88.6\nutl95: 92.6\nef80: 100.0\n"
               "ef85: 73.6\nef87: 26.4\nef-oel: 0.6\ndecision: uncertain: measure more\n";
        QTest::newRow("group-default-limit") << QStringList{"group", "--lex8h", "86.4,88.1,90.2,87.3,89.0"}
            << "n: 5\nlp: 88.4\nmean: 88.2\nsd: 1.5\nx95: 90.6\nutl95: 94.4\nef80: 100.0\n"
               "ef85: 98.5\nef87: 79.2\ndecision: unacceptable\n";
        QTest::newRow("group-of-two") << QStringList{"group", "--lex8h", "84,86", "--oel", "90"}
            << "n: 2\nlp: 85.1\nmean: 85.0\nsd: \nx95: \nutl95: \nef80: \nef85: \nef87: \n"
               "ef-oel: \ndecision: no statistics: they need at least 3 values\n";
        // clang-format on
    }
    void output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const rig::Run run = rig::runCli(arguments);
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(QString::fromUtf8(run.out), expected);
        QVERIFY(run.err.isEmpty());
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("weekly-eight-days") << QStringList{"weekly", "--lex8h", "80,80,80,80,80,80,80,80"}
            << "A week has at most 7 working days; 8 given.";
        QTest::newRow("weekly-above-140") << QStringList{"weekly", "--lex8h", "85,141"}
            << "A level of 141 dB is outside 0 to 140 dB.";
        QTest::newRow("weekly-not-a-number") << QStringList{"weekly", "--lex8h", "85,loud"}
            << "--lex8h takes levels in dB separated by commas";
        QTest::newRow("weekly-empty-item") << QStringList{"weekly", "--lex8h", "85,,86"}
            << "--lex8h takes levels in dB separated by commas";
        QTest::newRow("weekly-no-levels") << QStringList{"weekly", "--lex8h", ""}
            << "--lex8h takes levels in dB separated by commas";
        QTest::newRow("weekly-without-lex8h") << QStringList{"weekly"}
            << "--lex8h is needed; weekly takes --lex8h L1,L2,...";
        QTest::newRow("weekly-with-oel") << QStringList{"weekly", "--lex8h", "85", "--oel", "85"}
            << "unknown argument '--oel'";
        QTest::newRow("group-below-0") << QStringList{"group", "--lex8h", "85,86,-2"}
            << "A level of -2 dB is outside 0 to 140 dB.";
        QTest::newRow("group-nan") << QStringList{"group", "--lex8h", "85,86,nan"}
            << "--lex8h takes levels in dB separated by commas";
        QTest::newRow("group-limit-150") << QStringList{"group", "--lex8h", "85,86,87", "--oel", "150"}
            << "--oel is the exposure limit in dB, between 0 and 140";
        QTest::newRow("group-limit-word") << QStringList{"group", "--lex8h", "85,86,87", "--oel", "high"}
            << "--oel is the exposure limit in dB, between 0 and 140";
        QTest::newRow("group-limit-without-value") << QStringList{"group", "--lex8h", "85,86,87", "--oel"}
            << "--oel needs a value";
        QTest::newRow("group-lex8h-twice") << QStringList{"group", "--lex8h", "85", "--lex8h", "86"}
            << "--lex8h is given twice";
        QTest::newRow("group-stray-word") << QStringList{"group", "--lex8h", "85,86,87", "press"}
            << "unknown argument 'press'; group takes --lex8h L1,L2,... [--oel DB]";
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

    // The calculators open no port and no library: they run without either.
    void needsNoPort()
    {
        const rig::Run run =
            rig::runCli({"--port", "/dev/null/none", "weekly", "--lex8h", "85,85,85,85,85"});
        QCOMPARE(run.code, 0);
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("days: 5\nlexw: 85.0\n"));
    }
};

DOSEMETER_TEST(TestGroupCli)
#include "tst_GroupCli.moc"
