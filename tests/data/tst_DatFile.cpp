#include "LoggerRig.h"

#include "data/DatFile.h"
#include "data/RecordingFile.h"
#include "data/RegularFile.h"
#include "support/TestMain.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The type bits of what stands at `path`, the link itself when it is one.
mode_t typeAt(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDatFile : public QObject {
    Q_OBJECT

private slots:
    void goldenRoundTrip_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("records");
        QTest::newRow("grid-form") << "grid-form.dat" << int(DatFile::Form::Grid) << 4;
        QTest::newRow("recording-form") << "recording-form.dat" << int(DatFile::Form::Recording) << 4;
        QTest::newRow("heading-only") << "heading-only.dat" << int(DatFile::Form::Grid) << 0;
        // clang-format on
    }
    void goldenRoundTrip()
    {
        QFETCH(QString, name);
        const DatFile::Content content = DatFile::read(testsupport::golden(name));
        QVERIFY2(content.ok(), qPrintable(content.error));
        QTEST(int(content.form), "form");
        QTEST(content.table.recordCount(), "records");
        QCOMPARE(DatFile::bytes(content), fileBytes(testsupport::golden(name)));
    }

    void goldenContent()
    {
        const DatFile::Content grid = DatFile::read(testsupport::golden("grid-form.dat"));
        QCOMPARE(grid.table.record(1), QStringList({"2", "2010/01/01", "00:00:00.0", "OL"}));
        QCOMPARE(grid.table.record(3), QStringList({"4", "2010/01/01", "00:00:01.0", "123.4"}));
        // Latin-1 text comes back as the characters it stands for.
        QCOMPARE(grid.notes,
                 QStringList({"Press shop line 2", QString::fromUtf8("Operator José Müller"), ""}));

        const DatFile::Content recording = DatFile::read(testsupport::golden("recording-form.dat"));
        QCOMPARE(recording.table.record(1), QStringList({"2", "2009/11/30", "10:07:04.0", "----"}));
        QCOMPARE(recording.table.record(2), QStringList({"3", "2009/11/30", "10:07:06.0", " OL "}));
        QCOMPARE(recording.notes, QStringList({"", "", ""}));
    }

    void reader_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("records");  // records joined by "|"
        QTest::addColumn<QStringList>("notes");
        QTest::addColumn<bool>("ok");

        const QByteArray head = "\"No.s\tDate\tTime\tdBA\t\"\r\n";
        const QStringList noNotes{"", "", ""};
        QTest::newRow("empty-file") << QByteArray() << QStringList() << noNotes << true;
        QTest::newRow("fourth-note-ignored")
            << head + "\"*****a\"\r\n\"*****b\"\r\n\"*****c\"\r\n\"*****d\"\r\n" << QStringList()
            << QStringList({"a", "b", "c"}) << true;
        QTest::newRow("note-needs-both-stars")
            << head + "\"****x1\"\r\n" << QStringList({"****x1|||"}) << noNotes << true;
        QTest::newRow("comma-splits-an-unquoted-line")
            << QByteArray("No.s\tDate\tTime\tdBA\r\n1\t2009/11/30\t10:00:00.0\t8,5\r\n")
            << QStringList({"1|2009/11/30|10:00:00.0|8", "5|||"}) << noNotes << true;
        QTest::newRow("comma-stays-inside-quotes")
            << head + "\"1\t2\t3\t4,5\t\"\r\n" << QStringList({"1|2|3|4,5"}) << noNotes << true;
        QTest::newRow("lf-line-ends")
            << QByteArray("\"h\"\n\"1\t2\t3\t4\t\"\n\"*****n\"\n") << QStringList({"1|2|3|4"})
            << QStringList({"n", "", ""}) << true;
        QTest::newRow("cr-line-ends")
            << QByteArray("h\r1\t2\t3\t4\r5\t6\t7\t8\r") << QStringList({"1|2|3|4", "5|6|7|8"})
            << noNotes << true;
        QTest::newRow("blank-lines-skipped")
            << head + "\r\n\r\n\"1\t2\t3\t4\t\"\r\n\r\n" << QStringList({"1|2|3|4"}) << noNotes << true;
        QTest::newRow("leading-spaces-skipped")
            << head + "   \"1\t2\t3\t4\t\"\r\n" << QStringList({"1|2|3|4"}) << noNotes << true;
        QTest::newRow("text-after-closing-quote-dropped")
            << head + "\"1\t2\t3\t4\t\"junk\r\n" << QStringList({"1|2|3|4"}) << noNotes << true;
        QTest::newRow("extra-cells-dropped")
            << head + "\"1\t2\t3\t4\t5\t6\t\"\r\n" << QStringList({"1|2|3|4"}) << noNotes << true;
        QTest::newRow("short-record-padded")
            << head + "\"1\t2\"\r\n" << QStringList({"1|2||"}) << noNotes << true;
        QTest::newRow("dos-end-mark") << head + "\"1\t2\t3\t4\t\"\r\n\x1A"
                                      << QStringList({"1|2|3|4"}) << noNotes << true;
        QTest::newRow("missing-closing-quote-ends-with-line")
            << head + "\"1\t2\t3\t4\t\r\n\"5\t6\t7\t8\t\"\r\n"
            << QStringList({"1|2|3|4", "5|6|7|8"}) << noNotes << false;
        QTest::newRow("missing-quote-at-end-of-file")
            << QByteArray("\"h\"\n\"1\t2\t3\t4") << QStringList({"1|2|3|4"}) << noNotes << false;
        QTest::newRow("binary-data-refused")
            << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0,\t\"\r\n", 16) << QStringList() << noNotes
            << false;
        QTest::newRow("huge-line-stops-reading")
            << head + "\"1\t2\t3\t4\t\"\r\n" + QByteArray(200000, 'x') + "\r\n\"5\t6\t7\t8\t\"\r\n"
            << QStringList({"1|2|3|4"}) << noNotes << false;
        // clang-format on
    }
    void reader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        const DatFile::Content content = DatFile::parse(bytes, QStringLiteral("x.dat"));
        QStringList records;
        for (int r = 0; r < content.table.recordCount(); ++r)
            records << content.table.record(r).join(QLatin1Char('|'));
        QTEST(records, "records");
        QTEST(content.notes, "notes");
        QCOMPARE(content.ok(), ok);
        if (!ok)
            QVERIFY2(content.error.contains(QLatin1String("x.dat")), qPrintable(content.error));
    }

    // A last line without the CR LF every other line ends with broke off: a record on it
    // is left out and the content says so; anything else is read as before.
    void incompleteLastRecord_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("incomplete");
        QTest::addColumn<bool>("ok");
        const QByteArray recording = "No.s\tDate\tTime\tdBA\r\n1\t2026/03/09\t10:07:03.0\t85.0\r\n";
        const QByteArray grid = "\"No.s\tDate\tTime\tdBA\t\"\r\n\"1\t2026/03/09\t10:07:03.0\t85.0\t\"\r\n";
        QTest::newRow("recording-cut-in-the-level") << recording + "2\t2026/03/09\t10:07:04.0\t13" << 1 << true << true;
        QTest::newRow("recording-cut-in-the-date") << recording + "43913\t2026/03" << 1 << true << true;
        QTest::newRow("recording-cut-before-dos-mark") << recording + "2\t2026/03\x1A" << 1 << true << true;
        QTest::newRow("grid-cut-mid-record") << grid + "\"2\t2026/03/09\t10:0" << 1 << true << true;
        QTest::newRow("grid-record-whole-but-without-line-end") << grid + "\"2\t2\t3\t4\t\"" << 1 << true << true;
        QTest::newRow("recording-whole") << recording + "2\t2026/03/09\t10:07:04.0\t13.5\r\n" << 2 << false << true;
        QTest::newRow("cut-between-cr-and-lf") << recording + "2\t2026/03/09\t10:07:04.0\t13.5\r" << 2 << false << true;
        QTest::newRow("lf-file-last-line-without-end") << QByteArray("h\n1\t2\t3\t4\n5\t6\t7\t8") << 2 << false << true;
        QTest::newRow("heading-without-line-end") << QByteArray("No.s\tDate\tTime\tdBA") << 0 << false << true;
        QTest::newRow("last-note-without-line-end") << grid + "\"*****a\"\r\n\"*****b\"\r\n\"*****c\"" << 1 << false << true;
        QTest::newRow("last-note-cut") << grid + "\"*****a\"\r\n\"*****b\"\r\n\"*****Shif" << 1 << false << false;
        // clang-format on
    }
    void incompleteLastRecord()
    {
        QFETCH(QByteArray, bytes);
        const DatFile::Content content = DatFile::parse(bytes, QStringLiteral("x.dat"));
        QTEST(content.table.recordCount(), "records");
        QTEST(content.incomplete, "incomplete");
        QTEST(content.ok(), "ok");
    }

    void readerSurvivesRandomBytes()
    {
        // Bytes drawn mostly from the format's own characters, so that every path of
        // the reader is taken; it must return, with or without records.
        QRandomGenerator random(4711);
        const QByteArray alphabet("\"\t\r\n, *0123456789./:-OLab\x1A\xE9\xFF");
        for (int round = 0; round < 500; ++round) {
            QByteArray bytes(int(random.bounded(2000)), Qt::Uninitialized);
            for (char &c : bytes)
                c = alphabet.at(int(random.bounded(alphabet.size())));
            const DatFile::Content content = DatFile::parse(bytes);
            QVERIFY(content.table.recordCount() <= bytes.size());
        }
    }

    void millionRecords()
    {
        RecordTable table;
        for (int i = 1; i <= 1000000; ++i)
            table.appendRecord({QString::number(i), QStringLiteral("2009/11/30"),
                                QStringLiteral("10:07:02.0"), QStringLiteral("94.5")});
        const QByteArray bytes = DatFile::gridBytes(table, {"a", "b", "c"});
        const DatFile::Content content = DatFile::parse(bytes);
        QVERIFY(content.ok());
        QCOMPARE(content.table.recordCount(), 1000000);
        QCOMPARE(content.table.record(999999),
                 QStringList({"1000000", "2009/11/30", "10:07:02.0", "94.5"}));
        QVERIFY(content.table == table);
    }

    void savingReplacesOrKeeps()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.dat"));
        QVERIFY(DatFile::save(path, "first").isEmpty());
        QVERIFY(DatFile::save(path, "second").isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("second"));

        // A save that cannot be written leaves what is there and says why.
        QVERIFY(!DatFile::save(dir.filePath(QStringLiteral("missing/set.dat")), "x").isEmpty());
        QVERIFY(!DatFile::save(dir.path(), "x").isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("second"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"set.dat"}));
    }

    // A save replaces only a regular file: a FIFO, a device or a folder at the path, or a
    // link to one, is refused and stays as it was; a recording is not started on it either
    // (opening a FIFO to write would wait for a reader).
    void writingRefusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("fifo") << "fifo" << false;
        QTest::newRow("link-to-fifo") << "fifo" << true;
        QTest::newRow("device") << "device" << false;
        QTest::newRow("link-to-device") << "device" << true;
        QTest::newRow("folder") << "folder" << false;
    }
    void writingRefusesWhatIsNoRegularFile()
    {
        QFETCH(QString, node);
        QFETCH(bool, throughLink);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target"));
        const QByteArray name = QFile::encodeName(target);
        if (node == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (node == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(target));
        else if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) // as /dev/null
            QSKIP("device nodes can only be made as root");
        QString path = target;
        if (throughLink) {
            path = dir.filePath(QStringLiteral("link"));
            QVERIFY(QFile::link(target, path));
        }
        const mode_t before = typeAt(path);
        QCOMPARE(DatFile::save(path, "records"), RegularFile::kNotRegular);
        RecordingFile recording;
        QVERIFY(!recording.create(path).isEmpty());
        QVERIFY(!recording.isOpen());
        QCOMPARE(typeAt(path), before);
        QCOMPARE(typeAt(target), node == QLatin1String("fifo")     ? mode_t(S_IFIFO)
                                 : node == QLatin1String("folder") ? mode_t(S_IFDIR)
                                                                   : mode_t(S_IFCHR));
    }

    // A save that fails part way (a full disk; here the file size limit, which the
    // system reports the same way) gives the system's reason and keeps the old file.
    void failedSaveGivesTheSystemsReason()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set-3.dat"));
        QVERIFY(DatFile::save(path, "old").isEmpty());
        struct rlimit saved {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString reason = DatFile::save(path, QByteArray(100000, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(reason, QStringLiteral("File too large"));
        QCOMPARE(fileBytes(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"set-3.dat"}));
    }

    // A file too large to be a data file is refused by its size before any of it is read,
    // and a data file takes memory by its size, not by the limit: a reader that may not
    // take 128 MB more refuses a sparse file of 600 MB and reads a small one.
    void memoryFollowsTheFileSize_data()
    {
        QTest::addColumn<qint64>("sparseBytes"); // 0: the grid-form golden file
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("records");
        QTest::newRow("sparse-600-mb")
            << 600LL * 1024 * 1024
            << "The file huge.dat is larger than 512 MB and is not a data file." << 0;
        QTest::newRow("small-file") << 0LL << "" << 4;
    }
    void memoryFollowsTheFileSize()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer needs more address space than the limit leaves");
#endif
        QFETCH(qint64, sparseBytes);
        QFETCH(QString, error);
        QFETCH(int, records);
        QTemporaryDir dir;
        QString path = testsupport::golden(QStringLiteral("grid-form.dat"));
        if (sparseBytes > 0) {
            path = dir.filePath(QStringLiteral("huge.dat"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(sparseBytes)); // no disk space taken
        }
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            QFile statm(QStringLiteral("/proc/self/statm"));
            const qint64 pages = statm.open(QIODevice::ReadOnly)
                                     ? statm.readAll().split(' ').value(0).toLongLong()
                                     : 0;
            const rlim_t limit = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + 128LL * 1024 * 1024);
            struct rlimit space {};
            space.rlim_cur = space.rlim_max = limit;
            ::setrlimit(RLIMIT_AS, &space);
            const DatFile::Content content = DatFile::read(path);
            ::_exit(content.error == error && content.table.recordCount() == records ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                 "the reader ran out of memory or read something else");
    }

    void readingAMissingFileSaysSo()
    {
        const DatFile::Content content = DatFile::read(QStringLiteral("/nonexistent/none.dat"));
        QVERIFY(!content.ok());
        QVERIFY(content.error.contains(QLatin1String("none.dat")));
        QCOMPARE(content.table.recordCount(), 0);
    }

    void cleanNote_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("comma-and-tab") << "Shift A, line\t2" << "Shift A line2";
        QTest::newRow("quote-would-end-the-note") << "the \"big\" press" << "the big press";
        QTest::newRow("plain") << "Operator 7" << "Operator 7";
        // The file is Latin-1: what it cannot hold goes, rather than reaching it as "?".
        QTest::newRow("outside-latin-1") << QString::fromUtf8("Łukasz, Café €5") << "ukasz Café 5";
        // clang-format on
    }
    void cleanNote()
    {
        QFETCH(QString, typed);
        QTEST(DatFile::cleanNote(typed), "kept");
    }
};

DOSEMETER_TEST(TestDatFile)
#include "tst_DatFile.moc"
