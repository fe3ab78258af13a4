#include "SimProcess.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void statusFromTheSimulator()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--status", "0x15", "--threshold", "77"}));
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "status"}, &out), 0);
        QCOMPARE(out, QStringLiteral(
                          "criterion: 84\nexchange-rate: 4\nresponse: Fast\nthreshold: 77\n"));
        QCOMPARE(sim.stop(), 0);
    }

    void displayFromTheSimulator()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "94.5", "--mode", "dba", "--battery", "3", "--locked"}));
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "display"}, &out), 0);
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.mid(0, 4), (QStringList{"value: 94.5", "unit: dBA", "level-text: 094.5",
                                               "level-value: 94.5"}));
        QVERIFY(lines.contains("DbaMode: 1"));
        QVERIFY(lines.contains("KeysLocked: 1"));
        QVERIFY(lines.contains("BatteryLevel: 3"));
        QCOMPARE(sim.stop(), 0);
    }

    void registerWriteLandsInTheMeter()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("memory.bin");
        SimProcess sim;
        QVERIFY(sim.start({"--save-memory", image}));
        QCOMPARE(runCli({"--port", sim.port(), "write", "1000", "200"}), 0);
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "read", "1000"}, &out), 0);
        QCOMPARE(out, QStringLiteral("200\n"));
        QCOMPARE(sim.stop(), 0);
        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray memory = file.readAll();
        QVERIFY(memory.size() > 1000);
        QCOMPARE(quint8(memory.at(1000)), quint8(200));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::newRow("no-command") << QStringList{"--port", "sim"} << 2;
        QTest::newRow("unknown-command") << QStringList{"--port", "sim", "dance"} << 2;
        QTest::newRow("no-port") << QStringList{"status"} << 2;
        QTest::newRow("address-too-big") << QStringList{"--port", "sim", "read", "65536"} << 2;
        QTest::newRow("address-not-a-number") << QStringList{"--port", "sim", "read", "abc"} << 2;
        QTest::newRow("value-too-big") << QStringList{"--port", "sim", "write", "10", "256"} << 2;
        QTest::newRow("missing-port") << QStringList{"--port", "/dev/nonexistent", "status"} << 4;
        QTest::newRow("not-a-port") << QStringList{"--port", "nowhere", "status"} << 2;
        QTest::newRow("in-process-sim") << QStringList{"--port", "sim", "read", "59"} << 0;
        // --timeout: finite, from a tenth of a second to a day.
        const auto timeout = [](const char *seconds) {
            return QStringList{"--port", "sim", "--timeout", seconds, "read", "59"};
        };
        QTest::newRow("timeout-shortest") << timeout("0.1") << 0;
        QTest::newRow("timeout-a-day") << timeout("86400") << 0;
        QTest::newRow("timeout-not-a-number") << timeout("nan") << 2;
        QTest::newRow("timeout-infinite") << timeout("inf") << 2;
        QTest::newRow("timeout-too-short") << timeout("0.09") << 2;
        QTest::newRow("timeout-zero") << timeout("0") << 2;
        QTest::newRow("timeout-negative") << timeout("-5") << 2;
        QTest::newRow("timeout-over-a-day") << timeout("86400.5") << 2;
        QTest::newRow("timeout-beyond-int") << timeout("2147483648") << 2;
        QTest::newRow("timeout-words") << timeout("ten") << 2;
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QString err;
        const int code = runCli(arguments, nullptr, &err);
        QTEST(code, "code");
        if (code != 0)
            QVERIFY2(!err.trimmed().isEmpty(), "a failure says why on stderr");
    }

    void silentMeterTimesOut()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "silent"}));
        QString err;
        double seconds = 0;
        QCOMPARE(
            runCli({"--port", sim.port(), "--timeout", "1", "status"}, nullptr, &err, &seconds), 3);
        QVERIFY(err.contains("does not answer"));
        QVERIFY(seconds >= 1.0);
        QVERIFY(seconds < 10.0);
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestCli)
#include "tst_Cli.moc"
