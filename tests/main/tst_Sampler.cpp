// The sampler on the fake clock: when it samples, what the recording file holds, and
// how a recording ends.

#include "data/FileState.h"
#include "link/Clock.h"
#include "main/Sampler.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// The sampler with a level it takes as fresh, in dBA mode, the clock moving 100 ms per tick.
struct SamplerRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    FileState files;
    Sampler sampler{files, clock};
    // Files on a memory file system where there is one: the limit test writes 86,400
    // records, each synced to the disk.
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/dosemeter-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/dosemeter-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("shift.dat"));

    Sampler::Tick tick(const QString &level = QStringLiteral("94.5"), bool dba = true,
                       bool fresh = true, bool listOpen = false)
    {
        Sampler::Tick t = sampler.tick(level, dba, fresh, listOpen);
        clock.advance(0.1);
        return t;
    }
    void start()
    {
        sampler.chooseFile(path);
        QCOMPARE(sampler.startRecording(), QString());
    }
    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QByteArray kHeading = "No.s\tDate\tTime\tdBA\r\n";

} // namespace

class TestSampler : public QObject {
    Q_OBJECT

private slots:
    void samplesOnTheFirstTickThenEveryPeriod_data()
    {
        QTest::addColumn<double>("period");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QList<int>>("sampled"); // tick numbers, from 1
        QTest::newRow("2 s at start") << 0.0 << 45 << QList<int>{1, 21, 41};
        QTest::newRow("0.2 s every second tick") << 0.2 << 7 << QList<int>{1, 3, 5, 7};
        QTest::newRow("60 s every 600 ticks") << 60.0 << 1201 << QList<int>{1, 601, 1201};
    }
    void samplesOnTheFirstTickThenEveryPeriod()
    {
        QFETCH(double, period);
        QFETCH(int, ticks);
        SamplerRig rig;
        if (period > 0)
            rig.sampler.setPeriod(period);
        QList<int> sampled;
        for (int i = 1; i <= ticks; ++i) {
            if (rig.tick().sampled)
                sampled << i;
        }
        QTEST(sampled, "sampled");
    }

    void periodFromTheDialog_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("ticks"); // 0: the period stays
        QTest::addColumn<QString>("label");
        QTest::newRow("0.1 is too short") << "0.1" << 2 << "0.2 Sec";
        QTest::newRow("75 is too long") << "75" << 600 << "60 Sec";
        QTest::newRow("text") << "fast" << 2 << "0.2 Sec";
        QTest::newRow("negative") << "-5" << 2 << "0.2 Sec";
        QTest::newRow("empty keeps") << "" << 0 << "2 Sec";
        QTest::newRow("blank keeps") << "  " << 0 << "2 Sec";
        QTest::newRow("leading number") << "5 s" << 50 << "5 Sec";
        QTest::newRow("point two") << ".2" << 2 << "0.2 Sec";
        QTest::newRow("tenths") << "1.5" << 15 << "1.5 Sec";
        // The label shows the period taken, not a finer one the ticks cannot keep.
        QTest::newRow("rounded to a tick") << "1.25" << 13 << "1.3 Sec";
    }
    void periodFromTheDialog()
    {
        QFETCH(QString, answer);
        QFETCH(int, ticks);
        SamplerRig rig;
        const std::optional<double> seconds = Sampler::periodFromAnswer(answer);
        QCOMPARE(seconds.has_value(), ticks != 0);
        if (seconds)
            rig.sampler.setPeriod(*seconds);
        QCOMPARE(rig.sampler.SampleTicks(), ticks != 0 ? ticks : 20);
        QTEST(rig.sampler.periodLabel(), "label");
    }

    void recordingFileHasTheHeadingThenNumberedRecords()
    {
        SamplerRig rig;
        rig.sampler.setPeriod(0.2);
        rig.start();
        QCOMPARE(rig.file(), kHeading);
        const QStringList levels{"94.5", " OL ", "----"};
        QList<int> numbers;
        for (int i = 0; i < 6; ++i)
            numbers << rig.tick(levels.value(i / 2)).recordNumber;
        QCOMPARE(numbers, (QList<int>{1, 0, 2, 0, 3, 0}));
        QCOMPARE(rig.file(), kHeading + "1\t2009/11/30\t10:00:00.0\t94.5\r\n"
                                        "2\t2009/11/30\t10:00:00.2\t OL \r\n"
                                        "3\t2009/11/30\t10:00:00.4\t----\r\n");
        QCOMPARE(rig.sampler.RecordCount(), 3);
        QCOMPARE(rig.sampler.stopRecording(), 3);
        QVERIFY(!rig.files.RecordingActive);
        // The file is used up: another recording needs another file.
        QVERIFY(!rig.sampler.startAvailable());
    }

    void recordingAcrossMidnight()
    {
        SamplerRig rig;
        rig.clock.setNow(QDateTime(QDate(2009, 12, 31), QTime(23, 59, 58, 950)));
        rig.sampler.setPeriod(1.0);
        rig.start();
        for (int i = 0; i < 31; ++i)
            rig.tick();
        QCOMPARE(rig.file(), kHeading + "1\t2009/12/31\t23:59:58.9\t94.5\r\n"
                                        "2\t2009/12/31\t23:59:59.9\t94.5\r\n"
                                        "3\t2010/01/01\t00:00:00.9\t94.5\r\n"
                                        "4\t2010/01/01\t00:00:01.9\t94.5\r\n");
    }

    void recordingEnds_data()
    {
        QTest::addColumn<bool>("dba");
        QTest::addColumn<int>("records"); // records before the tick that ends it
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("inFile");
        // The sample that finds the display outside dBA mode is not a level: not written.
        QTest::newRow("left dBA") << false << 5 << int(Sampler::End::LeftDba) << 5;
        QTest::newRow("record limit") << true << 86399 << int(Sampler::End::RecordLimit) << 86400;
    }
    void recordingEnds()
    {
        QFETCH(bool, dba);
        QFETCH(int, records);
        QFETCH(int, end);
        QFETCH(int, inFile);
        SamplerRig rig;
        rig.sampler.setPeriod(0.2);
        rig.start();
        for (int i = 0; i < 2 * records; ++i)
            QCOMPARE(rig.tick().recordingEnded, Sampler::End::None);
        const Sampler::Tick last = rig.tick(QStringLiteral("12.05"), dba);
        QCOMPARE(int(last.recordingEnded), end);
        QCOMPARE(last.recordsInFile, inFile);
        QVERIFY(!rig.files.RecordingActive);
        QVERIFY(!rig.sampler.recording());
        QCOMPARE(rig.sampler.RecordCount(), 0);
        const QByteArray file = rig.file();
        QCOMPARE(file.count('\n'), inFile + 1);
        QCOMPARE(file.contains("12.05"), dba);
        // Nothing more is written.
        rig.tick();
        rig.tick();
        QCOMPARE(rig.file(), file);
    }

    void listRowsAndTheirEnd_data()
    {
        QTest::addColumn<bool>("dba");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("end");
        QTest::newRow("left dBA") << false << 3 << 0 << int(Sampler::End::LeftDba);
        QTest::newRow("86,400th row") << true << 86399 << 86400 << int(Sampler::End::RecordLimit);
    }
    void listRowsAndTheirEnd()
    {
        QFETCH(bool, dba);
        QFETCH(int, rows);
        SamplerRig rig;
        rig.sampler.setPeriod(0.2);
        for (int i = 1; i <= rows; ++i) {
            QCOMPARE(rig.tick(QStringLiteral("94.5"), true, true, true).listRow, i);
            rig.tick(QStringLiteral("94.5"), true, true, true);
        }
        const Sampler::Tick last = rig.tick(QStringLiteral("12.05"), dba, true, true);
        QTEST(last.listRow, "lastRow");
        QTEST(int(last.listEnded), "end");
        QCOMPARE(rig.sampler.ListRowCount(), 0);
    }

    void fullDiskKeepsTheWholeRecords()
    {
#if defined(Q_OS_UNIX)
        SamplerRig rig;
        rig.sampler.setPeriod(0.2);
        rig.start();
        for (int i = 0; i < 4; ++i)
            rig.tick();
        const QByteArray before = rig.file();
        QCOMPARE(before.size(), 20 + 2 * 30);
        // The file may grow by 10 bytes more: the next record is cut in the middle, as on
        // a disk that fills up.
        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = old;
        limit.rlim_cur = rlim_t(before.size() + 10);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const Sampler::Tick t = rig.tick();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(t.recordingEnded, Sampler::End::WriteFailed);
        QCOMPARE(t.error, QStringLiteral("File too large"));
        QCOMPARE(t.recordsInFile, 2);
        QCOMPARE(rig.file(), before);
#else
        QSKIP("needs a file size limit");
#endif
    }
};

DOSEMETER_TEST(TestSampler)
#include "tst_Sampler.moc"
