#include "SimProcess.h"
#include "averaging/AvgFile.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QRegularExpression
    kRecordLine(QStringLiteral("^\\d+\\t\\d{4}/\\d\\d/\\d\\d\\t\\d\\d:\\d\\d:\\d\\d\\t 85$"));

} // namespace

class TestAverageE2e : public QObject {
    Q_OBJECT

private slots:
    void averagesTheSimulatorsLevel()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "85.0"}));
        QTemporaryDir dir;
        const QString path = dir.filePath("run.avg");
        QString out;
        QString err;
        QCOMPARE(runCli({"--port", sim.port(), "average", "--interval", "0:0:1", "--count", "2",
                         "--out", path, "--job", "Press 4"},
                        &out, &err),
                 0);
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QVERIFY2(kRecordLine.match(lines.at(0)).hasMatch(), qPrintable(lines.at(0)));
        QVERIFY(lines.at(0).startsWith("1\t"));
        QVERIFY(lines.at(1).startsWith("2\t"));
        QCOMPARE(lines.mid(2),
                 (QStringList{"run-time: 00:00:02", "spl-max: 85", "140-peak: No", "laeq: 85.0"}));
        QCOMPARE(sim.stop(), 0);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\"JOB: Press 4\"\r\n\"Name: \"\r\n\"ID: \"\r\n"));
        QVERIFY(bytes.contains("\"Time Int.: 00:00:01\"\r\n\"Criterion level: 84\"\r\n"
                               "\"Exchange Rate: 4\"\r\n\"Run Time: 00:00:02\"\r\n"
                               "\"SPL Max: 85\"\r\n\"140 PEAK: No\"\r\n************\r\n"
                               "\"No.s\tDate\tTime\tdBA\t\"\r\n"));
        // The records as printed, each cell followed by a TAB, quoted.
        const QByteArray records =
            '"' + lines.at(0).toLatin1() + "\t\"\r\n\"" + lines.at(1).toLatin1() + "\t\"\r\n";
        QVERIFY(bytes.endsWith(records));
    }

    void interruptEndsTheRunAsStop()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "85.0"}));
        QProcess cli;
        cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                  {"--port", sim.port(), "average", "--interval", "0:0:1", "--count", "1000"});
        QVERIFY(cli.waitForStarted(5000));
        QElapsedTimer timer;
        timer.start();
        while (!cli.canReadLine() && timer.elapsed() < 15000)
            cli.waitForReadyRead(100);
        QVERIFY(cli.canReadLine());
        QVERIFY(kRecordLine.match(QString::fromLatin1(cli.readLine()).trimmed()).hasMatch());
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 0);
        const QStringList rest =
            QString::fromLatin1(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(rest.size() >= 4);
        QVERIFY(rest.at(rest.size() - 4).startsWith("run-time: 00:00:0"));
        QCOMPARE(rest.mid(rest.size() - 3),
                 (QStringList{"spl-max: 85", "140-peak: No", "laeq: 85.0"}));
        QVERIFY(QString::fromLatin1(cli.readAllStandardError()).contains("SIGINT"));
        QCOMPARE(sim.stop(), 0);
    }

    // The reader of standard output gone (`| head -1`) or the login gone (SIGHUP) ends the
    // run as Stop does: the intervals completed by then are saved, and the file is whole.
    void pipeOrHangUpKeepsTheRun_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<int>("code"); // what the shell sees of dosemeter-cli
        // The figures after the first line cannot be written: said, and exit 1.
        QTest::newRow("head-closes-the-pipe") << true << 1;
        QTest::newRow("hang-up") << false << 0;
    }
    void pipeOrHangUpKeepsTheRun()
    {
        QFETCH(bool, pipe);
        SimProcess sim;
        QVERIFY(sim.start({"--level", "85.0"}));
        QTemporaryDir dir;
        const QString path = dir.filePath("a.avg");
        const QStringList command{testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                                  "--port",
                                  sim.port(),
                                  "average",
                                  "--interval",
                                  "00:00:01",
                                  "--count",
                                  "4",
                                  "--out",
                                  path,
                                  "--no-library"};
        QProcess cli;
        if (pipe) {
            cli.start("/bin/bash",
                      QStringList{"-c", "\"$@\" | head -1; exit ${PIPESTATUS[0]}", "bash"} +
                          command);
        } else {
            cli.start(command.first(), command.mid(1));
        }
        QVERIFY(cli.waitForStarted(5000));
        QElapsedTimer timer;
        timer.start();
        while (!cli.canReadLine() && timer.elapsed() < 15000)
            cli.waitForReadyRead(100);
        QVERIFY(cli.canReadLine());
        QVERIFY(kRecordLine.match(QString::fromLatin1(cli.readLine()).trimmed()).hasMatch());
        if (!pipe)
            ::kill(pid_t(cli.processId()), SIGHUP);
        QVERIFY(cli.waitForFinished(15000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        const QByteArray err = cli.readAllStandardError();
        QTEST(cli.exitCode(), "code");
        QVERIFY2(err.contains("the run was stopped (SIG"), err.constData());

        const AvgFile::Content content = AvgFile::read(path);
        QVERIFY2(content.read && content.ok(), qPrintable(content.error));
        QVERIFY2(content.records.recordCount() >= 1 && content.records.recordCount() < 4,
                 err.constData());
        QCOMPARE(content.records.cell(0, 0), "1");
        QCOMPARE(content.records.cell(0, 3), " 85");
        QCOMPARE(sim.stop(), 0);
    }

    void silentMeterExits3()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "silent"}));
        QString err;
        double seconds = 0;
        QCOMPARE(runCli({"--port", sim.port(), "--timeout", "1", "average", "--interval", "0:0:1",
                         "--count", "1"},
                        nullptr, &err, &seconds),
                 3);
        QVERIFY(err.contains("does not answer"));
        QVERIFY(seconds < 10.0);
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestAverageE2e)
#include "tst_AverageCli.moc"
