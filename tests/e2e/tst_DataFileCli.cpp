// dosemeter-cli on data files that are not what they seem: levels the meter cannot have
// shown, an empty file, a recording without a period.

#include "SimProcess.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A recording of four records one second apart, the third with `level` as its dBA cell.
QString writeRecording(const QTemporaryDir &dir, const QByteArray &level)
{
    const QString path = dir.filePath("shift.dat");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("No.s\tDate\tTime\tdBA\r\n"
               "1\t2026/03/02\t08:00:00.0\t85.0\r\n"
               "2\t2026/03/02\t08:00:01.0\t85.0\r\n"
               "3\t2026/03/02\t08:00:02.0\t" +
               level +
               "\r\n"
               "4\t2026/03/02\t08:00:03.0\t85.0\r\n");
    return path;
}

} // namespace

class TestDataFileE2e : public QObject {
    Q_OBJECT

private slots:
    // A number the meter cannot have written makes its record unreadable: left out of
    // the figures and said on stderr, as a cut record is; the meter's own texts count.
    void levelsTheMeterCannotShow_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<QString>("counts"); // the records and skipped lines
        QTest::addColumn<bool>("said");
        const QString skipped = "records: 3\nskipped: 1\n";
        QTest::newRow("above-the-range") << QByteArray("141.0") << skipped << true;
        QTest::newRow("far-above-the-range") << QByteArray("999.9") << skipped << true;
        QTest::newRow("hexadecimal") << QByteArray("0x50") << skipped << true;
        QTest::newRow("space-inside") << QByteArray("8 5") << skipped << true;
        QTest::newRow("top-of-the-range") << QByteArray("140.0") << "records: 4\nskipped: 0\n"
                                          << false;
        QTest::newRow("overload") << QByteArray(" OL ") << "records: 4\nskipped: 0\n" << false;
        QTest::newRow("no-number-at-all") << QByteArray("n/a") << skipped << false;
    }
    void levelsTheMeterCannotShow()
    {
        QFETCH(QByteArray, level);
        QFETCH(QString, counts);
        QFETCH(bool, said);
        QTemporaryDir dir;
        const QString path = writeRecording(dir, level);
        QString out;
        QString err;
        QCOMPARE(runCli({"stats", path, "--criterion", "90"}, &out, &err), 0);
        QVERIFY2(out.startsWith(counts), qPrintable(out));
        QCOMPARE(err, said ? "dosemeter-cli: " + path +
                                 ": 1 record holds no level the meter can show (the first on "
                                 "line 4); it is not counted\n"
                           : QString());
        if (said) {
            // Three seconds at 85 dB of the 16 hours allowed: no trace of the bad number.
            QVERIFY2(out.contains("\nmax: 85.0\n"), qPrintable(out));
            QVERIFY2(out.contains("\ndose: 0.01\n"), qPrintable(out));
        }
    }

    // A file with nothing in it, not even the heading line, is no data file.
    void convertOfNoDataFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("blank-lines") << QByteArray("\r\n  \r\n\r\n");
    }
    void convertOfNoDataFile()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QFile file(dir.filePath("shift.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QString out;
        QString err;
        QCOMPARE(runCli({"convert", file.fileName(), "--csv"}, &out, &err), 1);
        QCOMPARE(out, QString());
        QCOMPARE(err, "dosemeter-cli: The file shift.dat is empty: it is not a data file.\n");
    }

    // Asked for the dose, a recording whose time stamps give no period has none to give:
    // exit 3, as the assessment does, and no figures.
    void statsDoseWithoutPeriod_data()
    {
        QTest::addColumn<QByteArray>("records");
        QTest::newRow("one-record") << QByteArray("1\t2026/03/02\t08:00:00.0\t85.0\r\n");
        QTest::newRow("no-readable-stamps")
            << QByteArray("1\tsoon\tlater\t85.0\r\n2\tsoon\tlater\t86.0\r\n");
    }
    void statsDoseWithoutPeriod()
    {
        QFETCH(QByteArray, records);
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("No.s\tDate\tTime\tdBA\r\n" + records);
        file.close();
        QString out;
        QString err;
        QCOMPARE(runCli({"stats", path, "--criterion", "85"}, &out, &err), 3);
        QCOMPARE(out, QString());
        QVERIFY2(err.startsWith("dosemeter-cli: " + path + ": its time stamps give no period"),
                 qPrintable(err));
        // Without the dose the levels are figures enough.
        QCOMPARE(runCli({"stats", path}, &out, &err), 0);
        QVERIFY2(out.startsWith("records: "), qPrintable(out));
    }
};

DOSEMETER_TEST(TestDataFileE2e)
#include "tst_DataFileCli.moc"
