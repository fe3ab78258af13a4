#include "LoggerRig.h"

#include "data/LoggerDownload.h"
#include "link/MeterProtocol.h"
#include "support/TestMain.h"

#include <QTest>

using Outcome = LoggerDownload::Outcome;

namespace {

// The image's run table end (first free address) and run k's bytes as the download
// must cut them: the run and the two bytes after it.
int endOf(const QByteArray &image)
{
    const int runs = quint8(image.at(MemoryMap::kRunCount));
    const int entry = MemoryMap::runTableEntry(runs);
    return quint8(image.at(entry)) + 256 * quint8(image.at(entry + 1));
}

QByteArray runBytes(const QByteArray &image, int k)
{
    const auto entry = [&image](int j) {
        const int a = MemoryMap::runTableEntry(j);
        return quint8(image.at(a)) + 256 * quint8(image.at(a + 1));
    };
    return image.mid(entry(k - 1), entry(k) - entry(k - 1));
}

} // namespace

class TestLoggerDownload : public QObject {
    Q_OBJECT

private slots:
    void downloads_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<QString>("idCode");

        // An empty logger whose full flag is set: the download clears the flag.
        QTest::newRow("empty-logger")
            << VirtualMeter::memoryWithRuns({}, 0, 10, true) << "32 K" << QStringList() << "0";
        QTest::newRow("one-run-six-samples")
            << VirtualMeter::memoryWithRuns(
                   {rig::run(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59)), 600, 6)}, 65535, 600)
            << "29.7 K" << QStringList({"1|2009/12/31|23:59:59|60.0|6"}) << "65535";
        QTest::newRow("several-runs")
            << rig::threeRuns() << "29.5 K"
            << QStringList({"1|2009/11/28|08:00:00|1.0|5", "2|2009/11/29|23:59:30|60.0|40",
                            "3|2009/12/31|23:59:58|0.5|12"}) << "1234";
        QTest::newRow("full-flag")
            << VirtualMeter::memoryWithRuns(
                   {rig::run(QDateTime(QDate(2009, 1, 2), QTime(3, 4, 5)), 5, 2)}, 7, 5, true)
            << "0" << QStringList({"1|2009/01/02|03:04:05|0.5|2"}) << "7";
        // clang-format on
    }
    void downloads()
    {
        QFETCH(QByteArray, image);
        QFETCH(QStringList, sets);
        LoggerRig rig(image);
        LoggerDownload download(rig.meter, rig.app.logger);
        QList<double> progress;
        download.streamProgress = [&progress](double percent) { progress << percent; };
        const double start = rig.clock.monotonicSeconds();
        const LoggerDownload::Result result = download.run();
        const double seconds = rig.clock.monotonicSeconds() - start;

        QCOMPARE(result.outcome, Outcome::Done);
        QVERIFY(result.message.isEmpty());
        QCOMPARE(result.endAddress, endOf(image));
        QCOMPARE(result.expected, qint64(endOf(image)) + 1);
        QVERIFY(result.received >= result.expected);
        QTEST(result.idCodeText, "idCode");
        QCOMPARE(result.memoryText, QStringLiteral("32 K"));
        QTEST(result.remainingText, "remaining");
        QStringList lines;
        for (const LoggerRun::SetLine &line : result.sets)
            lines << line.cells().join(QLatin1Char('|'));
        QCOMPARE(lines, sets);

        const LoggerResults &logger = rig.app.logger;
        QCOMPARE(logger.RunCount, int(sets.size()));
        for (int k = 1; k <= logger.RunCount; ++k) {
            // The run and the two bytes after it, as far as the stream reached.
            const QByteArray run = runBytes(image, k);
            QCOMPARE(logger.RunData[k].left(run.size()), run);
            QVERIFY(logger.RunData[k].size() <= run.size() + 2);
            if (k < logger.RunCount)
                QCOMPARE(logger.RunData[k], runBytes(image, k) + runBytes(image, k + 1).left(2));
        }
        QVERIFY(logger.RunData[logger.RunCount + 1].isEmpty());
        QVERIFY(!logger.DownloadBusy);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!rig.vm.dumping(rig.clock.monotonicSeconds()));
        if (sets.isEmpty())
            QCOMPARE(rig.vm.reg(MemoryMap::kMemoryFlags), 0);
        QCOMPARE(progress.last(), 100.0);
        // At the wire's pace: the stream's bytes plus three register reads, little more.
        QVERIFY2(seconds < result.expected / 960.0 + 0.5, qPrintable(QString::number(seconds)));
    }

    void fullLoggerAtWireSpeed()
    {
        // Runs up to the end of logger memory; the last run takes the final byte.
        QList<VirtualMeter::Run> runs;
        for (int i = 0; i < 12; ++i)
            runs << rig::run(QDateTime(QDate(2009, 11, 1 + i), QTime(8, 0)), 10, 900);
        QByteArray image = VirtualMeter::memoryWithRuns(runs, 1, 10, true);
        const int entry = MemoryMap::runTableEntry(quint8(image.at(MemoryMap::kRunCount)));
        image[entry] = char(MemoryMap::kLoggerEnd & 0xFF);
        image[entry + 1] = char(MemoryMap::kLoggerEnd >> 8);
        LoggerRig rig(image);
        LoggerDownload download(rig.meter, rig.app.logger);
        const double start = rig.clock.monotonicSeconds();
        const LoggerDownload::Result result = download.run();
        const double seconds = rig.clock.monotonicSeconds() - start;
        QCOMPARE(result.outcome, Outcome::Done);
        QCOMPARE(result.expected, qint64(31233));
        const double wire = 31233 / 960.0;
        qInfo("full logger on the fake clock: %.2f s, wire time %.2f s, ratio %.4f", seconds, wire,
              seconds / wire);
        QVERIFY(seconds / wire <= 1.03);
    }

    void stalledStreamEnds()
    {
        LoggerRig rig(rig::threeRuns());
        // Three register replies, then 500 bytes of the stream.
        VirtualMeter::Faults faults;
        faults.stallAfter = 9 + 500;
        rig.vm.setFaults(faults);
        // Results of an earlier download must not survive a failed one.
        rig.app.logger.RunCount = 2;
        rig.app.logger.RunData[1] = "old";
        LoggerDownload download(rig.meter, rig.app.logger);
        const LoggerDownload::Result result = download.run();
        QCOMPARE(result.outcome, Outcome::Stalled);
        QCOMPARE(result.received, qint64(500));
        const qint64 expected = endOf(rig::threeRuns()) + 1;
        QVERIFY2(result.message.contains(QStringLiteral("500 of %1 bytes").arg(expected)),
                 qPrintable(result.message));
        QVERIFY(result.sets.isEmpty());
        QVERIFY(result.idCodeText.isEmpty());
        QCOMPARE(rig.app.logger.RunCount, 0);
        QVERIFY(rig.app.logger.RunData[1].isEmpty());
        QVERIFY(!rig.app.logger.DownloadBusy);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        // Ended 5 s after the last byte, not later.
        const double lastByte = 0.15 + 509 / 960.0;
        QVERIFY(rig.clock.monotonicSeconds() - 1000.0 < lastByte + 5.0 + 0.5);
    }

    void silentMeterEnds()
    {
        LoggerRig rig(rig::threeRuns());
        VirtualMeter::Faults faults;
        faults.silent = true;
        rig.vm.setFaults(faults);
        LoggerDownload download(rig.meter, rig.app.logger);
        const LoggerDownload::Result result = download.run();
        QCOMPARE(result.outcome, Outcome::NoAnswer);
        QVERIFY(!result.message.isEmpty());
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.pollEnabled());
    }

    void cancelStopsTheStream()
    {
        LoggerRig rig(rig::threeRuns());
        LoggerDownload download(rig.meter, rig.app.logger);
        bool cancel = false;
        download.streamProgress = [&cancel](double percent) { cancel = percent > 30.0; };
        download.cancelled = [&cancel] { return cancel; };
        const LoggerDownload::Result result = download.run();
        QCOMPARE(result.outcome, Outcome::Cancelled);
        QVERIFY(result.message.isEmpty());
        QCOMPARE(rig.app.logger.RunCount, 0);
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.pollEnabled());
        // The second "U" ended the meter's stream.
        QVERIFY(!rig.vm.dumping(rig.clock.monotonicSeconds()));
        QCOMPARE(rig.link.takeWritten().count(Protocol::kMemoryDump), 2);
    }

    void busyDoesNothing()
    {
        LoggerRig rig(rig::threeRuns());
        rig.app.logger.DownloadBusy = true;
        LoggerDownload download(rig.meter, rig.app.logger);
        QCOMPARE(download.run().outcome, Outcome::Busy);
        QVERIFY(rig.link.takeWritten().isEmpty());
        QVERIFY(rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.changes.isEmpty());
    }

    void damagedRunTable_data()
    {
        // clang-format off
        QTest::addColumn<int>("entry");    // run-table entry to damage
        QTest::addColumn<int>("address");  // its new value
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("listed");
        QTest::newRow("end-before-data-area") << 3 << 0x0100 << int(Outcome::BadRunTable) << 0;
        QTest::newRow("second-run-ends-before-it-starts") << 2 << 0x0300 << int(Outcome::BadRun) << 1;
        QTest::newRow("first-run-in-the-run-table") << 0 << 0x0200 << int(Outcome::BadRun) << 0;
        // clang-format on
    }
    void damagedRunTable()
    {
        QFETCH(int, entry);
        QFETCH(int, address);
        QByteArray image = rig::threeRuns();
        image[MemoryMap::runTableEntry(entry)] = char(address & 0xFF);
        image[MemoryMap::runTableEntry(entry) + 1] = char(address >> 8);
        LoggerRig rig(image);
        LoggerDownload download(rig.meter, rig.app.logger);
        const LoggerDownload::Result result = download.run();
        QTEST(int(result.outcome), "outcome");
        QTEST(int(result.sets.size()), "listed");
        QTEST(rig.app.logger.RunCount, "listed");
        QVERIFY(!result.message.isEmpty());
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.pollEnabled());
    }
};

DOSEMETER_TEST(TestLoggerDownload)
#include "tst_LoggerDownload.moc"
