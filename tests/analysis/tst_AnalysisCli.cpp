// dosemeter-cli histogram and stats, run as the built program on the files in
// tests/golden. Each expected output there was worked out by hand from the file's
// records; after a deliberate change of a format, write the new output with
//   build/bin/dosemeter-cli histogram tests/golden/levels.dat --resolution 0.1 > ...
// and check every figure again before committing it.

#include "AnalysisRig.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString golden(const QString &name)
{
    return QDir(testsupport::dataDir()).filePath(QStringLiteral("../golden/") + name);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll()
                                          : QByteArray("(missing " + path.toUtf8() + ")");
}

} // namespace

using rig::Run;
using rig::runCli;

class TestAnalysisCli : public QObject {
    Q_OBJECT

private slots:
    void goldenOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString levels = golden("levels.dat");
        // clang-format off
        QTest::newRow("histogram-0.1") << QStringList{"histogram", levels, "--resolution", "0.1"}
                                       << "levels-histogram-0.1.txt";
        QTest::newRow("histogram-1") << QStringList{"histogram", levels, "--resolution", "1"}
                                     << "levels-histogram-1.txt";
        QTest::newRow("histogram-0.1-records") << QStringList{"histogram", "--records", "3-8", levels, "--resolution", "0.1"}
                                               << "levels-histogram-0.1-records-3-8.txt";
        QTest::newRow("histogram-1-records") << QStringList{"histogram", levels, "--resolution", "1", "--records", "3-8"}
                                             << "levels-histogram-1-records-3-8.txt";
        QTest::newRow("stats") << QStringList{"stats", levels} << "levels-stats.txt";
        QTest::newRow("stats-dose") << QStringList{"stats", levels, "--criterion", "90", "--exchange-rate", "5", "--threshold", "80"}
                                    << "levels-stats-90-5-80.txt";
        QTest::newRow("stats-defaults") << QStringList{"stats", levels, "--threshold", "80"}
                                        << "levels-stats-90-5-80.txt";
        // clang-format on
    }
    void goldenOutput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const Run run = runCli(arguments);
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out, fileBytes(golden(expected)));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString levels = golden("levels.dat");
        const QString overloads = golden("overloads.dat");
        const QString missing = QDir::temp().filePath("no-such-dir-for-dosemeter/none.dat");
        const QString noLevels = "There are no levels to count";
        // clang-format off
        QTest::newRow("histogram-only-overloads") << QStringList{"histogram", overloads, "--resolution", "0.1"} << 3
            << noLevels + ": the list holds no records, or only overloads and records without a level.";
        QTest::newRow("histogram-missing-file") << QStringList{"histogram", missing, "--resolution", "1"} << 1
            << "The file none.dat could not be opened";
        QTest::newRow("stats-missing-file") << QStringList{"stats", missing} << 1
            << "The file none.dat could not be opened";
        QTest::newRow("histogram-no-resolution") << QStringList{"histogram", levels} << 2
            << "histogram takes FILE.dat --resolution 0.1|1";
        QTest::newRow("histogram-records-past-the-end") << QStringList{"histogram", levels, "--resolution", "1", "--records", "5-11"} << 2
            << "--records 5-11 is outside the file: the file has 10 records";
        QTest::newRow("histogram-records-from-0") << QStringList{"histogram", levels, "--resolution", "1", "--records", "0-5"} << 2
            << "--records 0-5 is outside the file: records are numbered from 1";
        QTest::newRow("histogram-records-reversed") << QStringList{"histogram", levels, "--resolution", "1", "--records", "5-5"} << 2
            << "--records needs FIRST below LAST";
        QTest::newRow("stats-criterion") << QStringList{"stats", levels, "--criterion", "88"} << 2
            << "--criterion is 80, 84, 85 or 90";
        QTest::newRow("stats-threshold") << QStringList{"stats", levels, "--threshold", "loud"} << 2
            << "--threshold is a level in dB between 0 and 140";
        // clang-format on
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = runCli(arguments);
        QTEST(run.code, "code");
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }

    void statsOfOverloadsOnly()
    {
        const Run run = runCli({"stats", golden("overloads.dat")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QByteArray("records: 2\nskipped: 1\nmin: 140.0\nmax: 140.0\n"
                                     "mean: 140.0\nlaeq: 140.0\nl10: 140.0\nl50: 140.0\n"
                                     "l90: 140.0\n"));
    }

    // A file that breaks off inside its last record (cut with head -c) is read without
    // it: the figures of the whole records, the cut said on stderr, exit status 0.
    void cutFileCountsItsWholeRecords()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("cut.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("No.s\tDate\tTime\tdBA\r\n1\t2026/03/09\t10:07:02.0\t85.0\r\n"
                   "2\t2026/03/09\t10:07:03.0\t90.0\r\n3\t2026/03/09\t10:07:04.0\t13");
        file.close();
        const Run run = runCli({"stats", path});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith("records: 2\nskipped: 0\nmin: 85.0\n"), run.out.constData());
        QCOMPARE(run.err, "dosemeter-cli: " + path.toUtf8() +
                              ": the last record is incomplete; the 2 records before it are "
                              "counted\n");
    }

    void damagedFileGivesNoFigures()
    {
        // An unclosed quote: the reader keeps what it could read and says so.
        QTemporaryDir dir;
        const QString path = dir.filePath("damaged.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"No.s\tDate\tTime\tdBA\t\"\r\n\"1\t2009/11/30\t10:00:00.0\t085.0\t\"\r\n"
                   "\"2\t2009/11/30\t10:00:01.0\t090.0\t\r\n");
        file.close();
        for (const QStringList &arguments :
             {QStringList{"stats", path}, QStringList{"histogram", path, "--resolution", "1"}}) {
            const Run run = runCli(arguments);
            QCOMPARE(run.code, 1);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains("has no closing quote"), run.err.constData());
        }
    }
};

DOSEMETER_TEST(TestAnalysisCli)
#include "tst_AnalysisCli.moc"
