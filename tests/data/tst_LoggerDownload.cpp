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
        // At the wire's pace: the stream's bytes, the first look after 0.2 s, the settle
        // after it and at most fourteen register reads at 0.05 s, little more.
        QVERIFY2(seconds < result.expected / 960.0 + 1.1, qPrintable(QString::number(seconds)));
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

    // What the meter's own memory holds, the registers read one by one confirm: the
    // download says so and lists nothing.
    void damagedMemory_data()
    {
        QTest::addColumn<int>("address"); // register to damage
        QTest::addColumn<int>("value");   // its new value
        QTest::addColumn<QString>("message");
        const QString end = LoggerDownload::kMemoryDamagedEnd;
        // threeRuns(): runs at 0x0300, 0x0318 (header 09 11 29 23 59 30 58 02) and 0x0399;
        // the run table at 0x0200, 0x0202, 0x0204, ending at 0x03C6 (entry 3, 0x0206).
        QTest::newRow("end-before-data-area")
            << 0x0207 << 0x01
            << "The logger's run table is damaged in the meter: 3 runs ending at 0x01C6, which "
               "no logger holds." +
                   end;
        QTest::newRow("end-beyond-logger-memory")
            << 0x0207 << 0x7B
            << "The logger's run table is damaged in the meter: 3 runs ending at 0x7BC6, which "
               "no logger holds." +
                   end;
        QTest::newRow("too-many-runs")
            << 0x0016 << 128
            << "The logger's run table is damaged in the meter: 128 runs ending at 0x0000, "
               "which no logger holds." +
                   end;
        QTest::newRow("run-ends-before-it-starts")
            << 0x0205 << 0x02
            << "Set 2 of 3 is damaged in the meter: its place in the run table (0x0318 to "
               "0x0299) is impossible." +
                   end;
        QTest::newRow("first-run-in-the-run-table")
            << 0x0201 << 0x02
            << "Set 1 of 3 is damaged in the meter: its place in the run table (0x0200 to "
               "0x0318) is impossible." +
                   end;
        QTest::newRow("month-14") << 0x0319 << 0x14
                                  << "Set 2 of 3 is damaged in the meter: its start reads "
                                     "2009/14/29 23:59:30." +
                                         end;
        QTest::newRow("hex-day") << 0x031A << 0x2A
                                 << "Set 2 of 3 is damaged in the meter: its start reads "
                                    "2009/11/2A 23:59:30." +
                                        end;
        QTest::newRow("hour-24") << 0x031B << 0x24
                                 << "Set 2 of 3 is damaged in the meter: its start reads "
                                    "2009/11/29 24:59:30." +
                                        end;
        QTest::newRow("second-60") << 0x031D << 0x60
                                   << "Set 2 of 3 is damaged in the meter: its start reads "
                                      "2009/11/29 23:59:60." +
                                          end;
        QTest::newRow("november-31") << 0x031A << 0x31
                                     << "Set 2 of 3 is damaged in the meter: its start reads "
                                        "2009/11/31 23:59:30." +
                                            end;
        QTest::newRow("day-0") << 0x031A << 0x00
                               << "Set 2 of 3 is damaged in the meter: its start reads "
                                  "2009/11/00 23:59:30." +
                                      end;
        QTest::newRow("interval-0") << 0x039F << 0x00
                                    << "Set 3 of 3 is damaged in the meter: its interval reads "
                                       "0.0 s." +
                                           end;
        // Sample 2 of set 1 (80.1 dB: 01 08 00 at 0x030B).
        QTest::newRow("level-280")
            << 0x030C << 0x28
            << "Set 1 of 3 is damaged in the meter: sample 2 reads 280.1 dB." + end;
        QTest::newRow("hex-level")
            << 0x030C << 0x0C
            << "Set 1 of 3 is damaged in the meter: sample 2 reads C0.1 dB." + end;
    }
    void damagedMemory()
    {
        QFETCH(int, address);
        QFETCH(int, value);
        QByteArray image = rig::threeRuns();
        image[address] = char(value);
        LoggerRig rig(image);
        rig.app.logger.RunCount = 2; // an earlier download's results do not stay
        LoggerDownload download(rig.meter, rig.app.logger);
        const LoggerDownload::Result result = download.run();
        QCOMPARE(result.outcome, Outcome::MemoryDamaged);
        QTEST(result.message, "message");
        QVERIFY(!result.listed());
        QVERIFY(result.sets.isEmpty());
        QVERIFY(result.idCodeText.isEmpty());
        QCOMPARE(rig.app.logger.RunCount, 0);
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.pollEnabled());
    }

    // Bytes the line lost or changed on the way: the checks find them and nothing is
    // listed; a verified download outvotes a changed byte.
    void damagedLine_data()
    {
        QTest::addColumn<QList<LineEdit>>("edits");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("passes");
        const QString end = LoggerDownload::kLineDamagedEnd;
        const int line = int(Outcome::LineDamaged);
        // Stream positions count from the leading byte: register r is at r + 1.
        QTest::newRow("byte-lost-before-the-run-count")
            << QList<LineEdit>{{1, 0x11, -1}} << false << line
            << "The logger's run table arrived damaged: its run count reads 0, the register 3." +
                   end
            << 1;
        QTest::newRow("byte-lost-in-a-run-header")
            << QList<LineEdit>{{1, 0x031A, -1}} << false << line
            << "Set 2 of 3 arrived damaged: its start reads 2009/29/23 59:30:58." + end << 1;
        // The high byte of run 3's sample 10 lost: the samples after it read as 00.9, 00.8
        // and 00.8 dB, all possible; only the end differs from the meter's.
        QTest::newRow("byte-lost-in-the-last-samples")
            << QList<LineEdit>{{1, 0x03BE, -1}} << false << line
            << "Set 3 of 3 arrived damaged: bytes were lost or added on the way, so its bytes "
               "differ from the meter's memory." +
                   end
            << 1;
        QTest::newRow("byte-lost-in-the-first-set")
            << QList<LineEdit>{{1, 0x0310, -1}} << false << line
            << "Set 1 of 3 arrived damaged: bytes were lost or added on the way, so its bytes "
               "differ from the meter's memory." +
                   end
            << 1;
        QTest::newRow("id-code-changed")
            << QList<LineEdit>{{1, 0x0004, 0x01}} << false << line
            << "The logger's ID code arrived damaged: register 0x0003 reads 211 in the stream, "
               "210 on its own." +
                   end
            << 1;
        QTest::newRow("header-changed")
            << QList<LineEdit>{{1, 0x0319 + 1, 0x80}} << false << line
            << "Set 2 of 3 arrived damaged: its start reads 2009/91/29 23:59:30." + end << 1;
        // A register read the line damaged: the memory read again agrees with the stream.
        QTest::newRow("run-table-end-reply-changed")
            << QList<LineEdit>{{-1, 0x0206, 0x04}} << false << line
            << "The logger's run table arrived damaged: its run table ends at 0x03C6, the "
               "registers at 0x03C2." +
                   end
            << 1;
        QTest::newRow("impossible-end-read-alike-twice-then-whole")
            << QList<LineEdit>{{-1, 0x0207, 0x7F}, {-2, 0x0207, 0x7F}} << false << line
            << "The logger's run table arrived damaged: 3 runs ending at 0x7CC6, which no "
               "logger holds." +
                   end
            << 0;
        QTest::newRow("verified-header-change-outvoted")
            << QList<LineEdit>{{1, 0x0319 + 1, 0x80}} << true << int(Outcome::Done) << "" << 3;
        QTest::newRow("verified-sample-change-outvoted")
            << QList<LineEdit>{{2, 0x0330, 0x01}} << true << int(Outcome::Done) << "" << 3;
        QTest::newRow("verified-three-different")
            << QList<LineEdit>{{1, 0x0330, 0x01}, {2, 0x0330, 0x02}, {3, 0x0330, 0x03}} << true
            << line << "Set 2 of 3 arrived different in each of three streams." + end << 3;
        // 0xEE added before sample 6 of set 2 (80.5 dB: 05 08 00) becomes its low byte.
        QTest::newRow("byte-added-in-a-sample")
            << QList<LineEdit>{{1, 0x0330, -2}} << false << line
            << "Set 2 of 3 arrived damaged: sample 6 reads 5E.E dB." + end << 1;
        QTest::newRow("verified-lost-bytes-in-two-streams")
            << QList<LineEdit>{{1, 0x03B5, -1}, {2, 0x03A0, -1}} << true << int(Outcome::Done) << ""
            << 3;
        QTest::newRow("verified-added-and-changed")
            << QList<LineEdit>{{1, 0x0330, -2}, {3, 0x0340, 0x10}} << true << int(Outcome::Done)
            << "" << 3;
    }
    void damagedLine()
    {
        QFETCH(QList<LineEdit>, edits);
        QFETCH(bool, verify);
        QFETCH(int, outcome);
        LoggerRig rig(rig::threeRuns());
        DamagingLink damaging(rig.link, edits);
        Meter meter(damaging, rig.clock, rig.state);
        meter.setPollControl(&rig.poll);
        LoggerDownload download(meter, rig.app.logger);
        download.verify = verify;
        const LoggerDownload::Result result = download.run();
        QCOMPARE(int(result.outcome), outcome);
        QTEST(result.message, "message");
        QTEST(result.passes, "passes");
        if (result.listed()) {
            QCOMPARE(result.sets.size(), 3);
            QCOMPARE(rig.app.logger.RunData[2].left(runBytes(rig::threeRuns(), 2).size()),
                     runBytes(rig::threeRuns(), 2));
        } else {
            QVERIFY(result.sets.isEmpty());
            QVERIFY(result.idCodeText.isEmpty());
            QCOMPARE(rig.app.logger.RunCount, 0);
        }
        QVERIFY(!rig.app.logger.DownloadBusy);
    }
};

DOSEMETER_TEST(TestLoggerDownload)
#include "tst_LoggerDownload.moc"
