// The saved-file view: a data file read into it, its caption while reading, the buttons that
// lead to the analysis windows, and printing.

#include "data/DatFile.h"
#include "data/RecordGrid.h"
#include "data/SavedFileWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestSavedFileWindow : public QObject {
    Q_OBJECT

private slots:
    void readsEitherForm_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("last");
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("recording form")
            << "recording-form.dat" << 4 << QStringList{"4", "2009/11/30", "10:07:08.0", "135.2"}
            << QStringList{"", "", ""};
        QTest::newRow("grid form")
            << "grid-form.dat" << 4 << QStringList{"4", "2010/01/01", "00:00:01.0", "123.4"}
            << QStringList{"Press shop line 2", QString::fromUtf8("Operator José Müller"), ""};
    }
    void readsEitherForm()
    {
        QFETCH(QString, file);
        QFETCH(int, records);
        MeterRig rig;
        SavedFileWindow window(rig.meter, rig.dialogs);
        QVERIFY(window.load(testsupport::golden(file)));
        QCOMPARE(window.windowTitle(), file);
        QCOMPARE(window.records().recordCount(), records);
        QCOMPARE(window.grid().rows(), records + 1);
        QTEST(window.records().record(records - 1), "last");
        QTEST(window.notes(), "notes");
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void captionCountsTheRecordsThenNamesTheFile()
    {
        MeterRig rig;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shift.dat"));
        RecordTable table;
        for (int i = 1; i <= 10000; ++i)
            table.appendRecord({QString::number(i), "2009/11/30", "10:00:00.0", "94.5"});
        QVERIFY(writeFile(path, DatFile::recordingBytes(table)));
        SavedFileWindow window(rig.meter, rig.dialogs);
        QStringList captions;
        connect(&window, &QWidget::windowTitleChanged, this,
                [&captions](const QString &title) { captions << title; });
        QVERIFY(window.load(path));
        QCOMPARE(captions, QStringList({"0", "4096", "8192", "shift.dat"}));
        QCOMPARE(window.records().recordCount(), 10000);
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false << 0
                                 << "The file bad.dat could not be opened: No such file or "
                                    "directory.";
        QTest::newRow("unclosed quote")
            << QByteArray("\"No.s\tDate\tTime\tdBA\t\"\r\n\"1\t2009/11/30\t10:00:00.0\t94.5\t\"\r\n"
                          "\"2\t2009/11/30\t10:00:02.0\t95.0\r\n")
            << true << 2
            << "Line 3 of bad.dat has no closing quote; it was read to the end of the line.\n"
               "The 2 records read before that are shown.";
    }
    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        QFETCH(int, records);
        MeterRig rig;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.dat"));
        if (!bytes.isEmpty())
            QVERIFY(writeFile(path, bytes));
        SavedFileWindow window(rig.meter, rig.dialogs);
        QCOMPARE(window.load(path), shown);
        QCOMPARE(window.records().recordCount(), records);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().icon,
                 shown ? Dialogs::Icon::Warning : Dialogs::Icon::Critical);
        QTEST(rig.dialogs.shown.first().text, "message");
    }

    void analysisButtonsWaitForTheAnalysisWindows()
    {
        MeterRig rig;
        SavedFileWindow window(rig.meter, rig.dialogs);
        window.show();
        QVERIFY(window.load(testsupport::golden(QStringLiteral("recording-form.dat"))));
        auto *pic = window.findChild<QWidget *>("resolutionPanel");
        QSignalSpy plot(&window, &SavedFileWindow::plotRequested);
        QSignalSpy histogram(&window, &SavedFileWindow::histogramRequested);
        QSignalSpy statistics(&window, &SavedFileWindow::statisticsRequested);
        for (const char *key : {"Plot", "Ln", "Statistics"}) {
            auto *action = window.findChild<QAction *>(key);
            QVERIFY2(action->isVisible() && !action->isEnabled(), key);
            action->trigger();
        }
        QVERIFY(window.findChild<QAction *>("Print")->isEnabled());
        QVERIFY(!pic->isVisible());
        QCOMPARE(plot.count() + histogram.count() + statistics.count(), 0);

        window.setAnalysisEnabled(true);
        window.findChild<QAction *>("Plot")->trigger();
        window.findChild<QAction *>("Statistics")->trigger();
        QCOMPARE(plot.count(), 1);
        QCOMPARE(statistics.count(), 1);
        QList<int> resolutions;
        for (const char *button : {"tenthDbButton", "wholeDbButton"}) {
            window.findChild<QAction *>("Ln")->trigger();
            QVERIFY(pic->isVisible());
            bool shownDuring = false;
            connect(
                &window, &SavedFileWindow::histogramRequested, this,
                [&](int) { shownDuring = pic->isVisible(); }, Qt::SingleShotConnection);
            QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);
            QVERIFY(shownDuring);
            QVERIFY(!pic->isVisible());
            resolutions << histogram.takeFirst().at(0).toInt();
        }
        QCOMPARE(resolutions, QList<int>({0, 1}));
    }

    void printsTheRecordsAndNotes()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        MeterRig rig;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("saved.pdf"));
        rig.dialogs.preparePrinter = [&pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        rig.dialogs.inputs.enqueue(QStringLiteral("2"));
        SavedFileWindow window(rig.meter, rig.dialogs);
        QVERIFY(window.load(testsupport::golden(QStringLiteral("grid-form.dat"))));
        window.runToolbarCommand(QStringLiteral("Print"));
        QCOMPARE(window.windowTitle(), QStringLiteral("grid-form.dat"));
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        QVERIFY2(text.contains(QStringLiteral("- Press shop line 2")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("1 2009/12/31 23:59:59.5 94.5 OL")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("3 2010/01/01 00:00:00.5 00.0 123.4")),
                 qPrintable(text));
    }
};

DOSEMETER_TEST(TestSavedFileWindow)
#include "tst_SavedFileWindow.moc"
