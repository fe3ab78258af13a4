// dosemeter-cli record against dosemeter-sim: what a recording leaves in its file when the
// process ends, however it ends.

#include "SimProcess.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QRegularExpression kRecord(
    QStringLiteral("^(\\d+)\\t\\d{4}/\\d\\d/\\d\\d\\t\\d\\d:\\d\\d:\\d\\d\\.\\d\\t85\\.0$"));

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file holds the heading and whole records numbered from 1, every line ended by CR LF.
// Returns the number of records, -1 when the file is not so.
int wholeRecords(const QByteArray &bytes)
{
    if (!bytes.startsWith("No.s\tDate\tTime\tdBA\r\n") || !bytes.endsWith("\r\n"))
        return -1;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (!line.endsWith('\r'))
            return -1;
        const QRegularExpressionMatch m = kRecord.match(QString::fromLatin1(line.chopped(1)));
        if (!m.hasMatch() || m.captured(1).toInt() != i)
            return -1;
    }
    return int(lines.size()) - 1;
}

// Starts a recording every 0.2 s and waits until `records` are in the file.
bool startRecording(QProcess &cli, const SimProcess &sim, const QString &path, int records)
{
    cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
              {"--port", sim.port(), "record", "--out", path, "--period", "0.2"});
    if (!cli.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    // A minute at most: under the sanitizers, beside the fault matrix's runs, the first
    // records can take many times their period.
    while (fileBytes(path).count('\n') <= records && timer.elapsed() < 60000)
        QTest::qWait(50);
    return fileBytes(path).count('\n') > records;
}

} // namespace

class TestRecordE2e : public QObject {
    Q_OBJECT

private slots:
    void killedRecordingKeepsEveryWholeRecord()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "85.0"}));
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.dat");
        QProcess cli;
        QVERIFY(startRecording(cli, sim, path, 10));
        ::kill(pid_t(cli.processId()), SIGKILL);
        QVERIFY(cli.waitForFinished(5000));
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
        const QByteArray bytes = fileBytes(path);
        const int records = wholeRecords(bytes);
        QVERIFY2(records >= 10, bytes.right(200).constData());
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestRecordE2e)
#include "tst_RecordCli.moc"
