#include "LoggerRig.h"

#include "data/DatFile.h"
#include "support/TestMain.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Bytes this process has read through the system so far.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    return io.open(QIODevice::ReadOnly) ? io.readLine().mid(7).trimmed().toLongLong() : -1;
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
        const QByteArray recording = "No.s\tDate\tTime\tdBA\r\n1\t2026/03/09\t10:07:03.0\t85.0\r\n";
        const QByteArray grid = "\"h\"\r\n\"1\t2\t3\t4\t\"\r\n";
        QTest::newRow("recording-cut-in-the-level") << recording + "2\t2026/03/09\t10:07:04.0\t13" << 1 << true;
        QTest::newRow("grid-cut-mid-record") << grid + "\"2\t2026/03/09\t10:0" << 1 << true;
        QTest::newRow("cut-between-cr-and-lf") << recording + "2\t2\t3\t13.5\r" << 2 << false;
        QTest::newRow("lf-file-last-line-without-end") << QByteArray("h\n1\t2\t3\t4\n5\t6\t7\t8") << 2 << false;
        // clang-format on
    }
    void incompleteLastRecord()
    {
        QFETCH(QByteArray, bytes);
        const DatFile::Content content = DatFile::parse(bytes, QStringLiteral("x.dat"));
        QTEST(content.table.recordCount(), "records");
        QTEST(content.incomplete, "incomplete");
        QVERIFY(content.ok());
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

    // A save that fails part way (a full disk; here the file size limit, which fails the
    // same way) gives the system's reason and keeps the old file.
    void failedSaveGivesTheSystemsReason()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set-3.dat"));
        QVERIFY(DatFile::save(path, "old").isEmpty());
        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit small = saved;
        small.rlim_cur = 4096;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const QString reason = DatFile::save(path, QByteArray(100000, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(reason, QStringLiteral("File too large"));
        QCOMPARE(fileBytes(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"set-3.dat"}));
    }

    // A file too large to be a data file is refused by its size, none of it read.
    void tooLargeFileRefusedUnread()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("huge.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(600LL * 1024 * 1024)); // sparse
        const qint64 before = bytesRead();
        QCOMPARE(DatFile::read(file.fileName()).error,
                 QStringLiteral("The file huge.dat is larger than 512 MB and is not a data file."));
        QVERIFY(bytesRead() - before < 1024 * 1024);
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
