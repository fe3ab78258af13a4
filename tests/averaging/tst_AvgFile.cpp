#include "AverageRig.h"

#include "averaging/AverageDialogs.h"
#include "averaging/AvgFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// tests/golden/average.avg is written by hand from the file format (it is not produced
// by the writer): the file of a 30 s run at 10 s intervals on 85.0, 90.3 and 140.0 dB.
QString goldenPath()
{
    return QDir(testsupport::dataDir()).filePath(QStringLiteral("../golden/average.avg"));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The run the golden file holds.
void runGoldenRun(AverageRig &rig)
{
    QVERIFY(rig.start());
    rig.ticks(10, 85.0f);
    rig.ticks(10, 90.3f);
    rig.ticks(10, kOverloadValue);
    rig.run.Stop();
}

// Header items ahead of a record section, each on its own quoted line.
QByteArray headerLines(const QStringList &items)
{
    QByteArray out;
    for (const QString &item : items)
        out += '"' + item.toLatin1() + "\"\r\n";
    return out;
}

} // namespace

class TestAvgFile : public QObject {
    Q_OBJECT

private slots:
    void runSavesAsTheGoldenFile()
    {
        AverageRig rig;
        runGoldenRun(rig);
        QTemporaryDir dir;
        const QString path = dir.filePath("run.avg");
        ScriptedDialogs dialogs;
        dialogs.fileNames.enqueue(path);
        QString currentFileName;
        QVERIFY(AverageDialogs::save(dialogs, nullptr, rig.run, "Press line 4", "A. Worker", "0042",
                                     false, currentFileName));
        QCOMPARE(currentFileName, path);
        QCOMPARE(dialogs.shown.at(0).text, QStringLiteral("Avg type[*.avg] (*.avg)"));
        QCOMPARE(fileBytes(path), fileBytes(goldenPath()));
    }

    void openAndSaveAgainIsStable()
    {
        const QByteArray golden = fileBytes(goldenPath());
        QVERIFY(!golden.isEmpty());
        AverageRig rig;
        QVERIFY(rig.start());
        QByteArray bytes = golden;
        for (int cycle = 0; cycle < 3; ++cycle) {
            const AvgFile::Content content = AvgFile::parse(bytes);
            QVERIFY2(content.ok(), qPrintable(content.error));
            rig.run.open(content);
            bytes = AvgFile::bytes(rig.run.document(*content.header[AvgFile::Job],
                                                    *content.header[AvgFile::Name],
                                                    *content.header[AvgFile::Id]));
            QCOMPARE(bytes, golden);
        }
        QCOMPARE(rig.run.labels().interval, QStringLiteral("00:00:10"));
        QCOMPARE(rig.run.labels().splMax, QStringLiteral("140"));
        // Open shows the file's interval but keeps the interval of the next run.
        rig.run.Stop();
        QCOMPARE(rig.state.IntervalSeconds, 10);
    }

    void headerValue_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("value");
        QTest::newRow("our-blank-dropped") << "JOB: Press 4" << true << "Press 4";
        QTest::newRow("no-blank") << "JOB:Press 4" << true << "Press 4";
        QTest::newRow("only-one-blank-dropped") << "JOB:  Press 4" << true << " Press 4";
        QTest::newRow("empty-value") << "JOB: " << true << "";
        QTest::newRow("time-after-first-colon") << "JOB: 10:15:20" << true << "10:15:20";
        QTest::newRow("no-colon-whole") << "Press 4" << true << "Press 4";
        QTest::newRow("ends-with-colon-unchanged") << "JOB:" << false << "";
    }
    void headerValue()
    {
        QFETCH(QString, item);
        QFETCH(bool, changes);
        const AvgFile::Content content = AvgFile::parse(headerLines({item}));
        QCOMPARE(content.header[AvgFile::Job].has_value(), changes);
        if (changes)
            QTEST(*content.header[AvgFile::Job], "value");
    }

    void brokenFiles_data()
    {
        const QByteArray golden = fileBytes(goldenPath());
        const QByteArray tenHeaders = golden.left(golden.indexOf("\"140 PEAK"));
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("error"); // a part of the message; empty: none
        QTest::newRow("whole") << golden << true << 3 << "";
        QTest::newRow("no-records") << golden.left(golden.indexOf("\"1\t")) << true << 0 << "";
        QTest::newRow("empty") << QByteArray() << false << 0 << "empty";
        QTest::newRow("binary") << (golden + QByteArray(4, '\0')) << false << 0 << "binary";
        QTest::newRow("cut-in-header") << tenHeaders << true << 0 << "after 10 of its 11";
        QTest::newRow("cut-in-last-record")
            << golden.left(golden.size() - 4) << true << 3 << "Line 16 of the file has no closing";
        QTest::newRow("far-too-long-item")
            << (golden + '"' + QByteArray(70000, 'x') + ":\"\r\n") << true << 3 << "far too long";
        QTest::newRow("unquoted-garbage")
            << QByteArray("hello, world\r\n12:00\r\n") << true << 0 << "after 3 of its 11";
    }
    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const AvgFile::Content content = AvgFile::parse(bytes);
        QTEST(content.read, "read");
        QTEST(content.records.recordCount(), "records");
        if (error.isEmpty())
            QVERIFY2(content.ok(), qPrintable(content.error));
        else
            QVERIFY2(content.error.contains(error), qPrintable(content.error));
    }

    void tooLargeFileIsRefusedUnread()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("huge.avg");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(AvgFile::kMaxFileBytes + 1)); // sparse: nothing is written
        file.close();
        const AvgFile::Content content = AvgFile::read(path);
        QVERIFY(!content.read);
        QVERIFY2(content.error.contains("larger than"), qPrintable(content.error));
    }

    void quoteInATextDoesNotShiftTheHeader()
    {
        AvgFile::Document document;
        document.header.fill(QStringLiteral("x"));
        document.header[AvgFile::Job] = QStringLiteral("say \"hi\"\r\nnow");
        const QByteArray bytes = AvgFile::bytes(document);
        QVERIFY(bytes.startsWith("\"JOB: say hinow\"\r\n\"Name: x\"\r\n"));
        const AvgFile::Content content = AvgFile::parse(bytes);
        QCOMPARE(*content.header[AvgFile::Job], QStringLiteral("say hinow"));
        QCOMPARE(*content.header[AvgFile::Peak], QStringLiteral("x"));
    }

    void chartOfAnOpenedFile()
    {
        AverageRig rig;
        rig.run.open(AvgFile::parse(fileBytes(goldenPath())));
        const AverageRun::Chart &chart = rig.run.chart();
        QCOMPARE(chart.xMin, 1.0);
        QCOMPARE(chart.xMax, 3.0);
        QCOMPARE(chart.yMin, 68.0);
        QCOMPARE(chart.yMax, 140.0);
        QCOMPARE(chart.firstX, 1.0);
        QCOMPARE(chart.values.size(), 3);
        QCOMPARE(chart.values.at(1), double(90.3f));
        QCOMPARE(rig.row(3), (QStringList{"3", "2009/11/30", "10:00:30", " 140", ""}));

        // A file without records empties the chart and leaves the axes.
        const QByteArray golden = fileBytes(goldenPath());
        rig.run.reset();
        rig.run.open(AvgFile::parse(golden.left(golden.indexOf("\"1\t"))));
        QVERIFY(rig.run.chart().values.isEmpty());
        QCOMPARE(rig.run.chart().xMax, 20.0);
        QCOMPARE(rig.run.grid().rows(), 1);
    }

    void saveCommand_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("name"); // "dir:" names a file in the temporary folder
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("saved") << false << "dir:a.avg" << true << QStringList{"save"};
        QTest::newRow("while-recording") << true << "dir:a.avg" << false << QStringList();
        QTest::newRow("cancelled") << false << "" << false << QStringList{"save"};
        QTest::newRow("no-such-folder")
            << false << "dir:missing/a.avg" << false << QStringList{"save", "message"};
    }
    void saveCommand()
    {
        QFETCH(bool, recording);
        QFETCH(QString, name);
        QFETCH(bool, saved);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        if (name.startsWith("dir:"))
            name = dir.filePath(name.mid(4));
        AverageRig rig;
        QVERIFY(rig.start());
        ScriptedDialogs dialogs;
        dialogs.fileNames.enqueue(name);
        QString current = QStringLiteral("before");
        QCOMPARE(AverageDialogs::save(dialogs, nullptr, rig.run, "j", "n", "i", recording, current),
                 saved);
        QStringList kinds;
        for (const ScriptedDialogs::Shown &s : dialogs.shown)
            kinds << s.kind;
        QCOMPARE(kinds, shown);
        QCOMPARE(QFile::exists(name), saved);
        if (saved)
            QCOMPARE(current, name);
        if (kinds.contains("message")) {
            QVERIFY(dialogs.shown.last().text.contains("could not be saved"));
            QCOMPARE(dialogs.shown.last().icon, Dialogs::Icon::Critical);
        }
    }

    void openCommandReportsACutFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("cut.avg");
        const QByteArray golden = fileBytes(goldenPath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(golden.left(golden.size() - 4));
        file.close();
        AverageRig rig;
        ScriptedDialogs dialogs;
        dialogs.fileNames.enqueue(path);
        const std::optional<AvgFile::Content> content =
            AverageDialogs::open(dialogs, nullptr, rig.run);
        QVERIFY(content);
        QCOMPARE(*content->header[AvgFile::Name], QStringLiteral("A. Worker"));
        QCOMPARE(rig.run.grid().rows(), 4);
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown.at(1).icon, Dialogs::Icon::Warning);
        QVERIFY(dialogs.shown.at(1).text.contains("cut.avg"));

        // A file that cannot be read changes nothing.
        dialogs.fileNames.enqueue(dir.filePath("absent.avg"));
        QVERIFY(!AverageDialogs::open(dialogs, nullptr, rig.run));
        QCOMPARE(rig.run.grid().rows(), 4);
        QCOMPARE(dialogs.shown.last().icon, Dialogs::Icon::Critical);
    }
};

DOSEMETER_TEST(TestAvgFile)
#include "tst_AvgFile.moc"
