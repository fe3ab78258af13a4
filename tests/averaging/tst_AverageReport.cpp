#include "averaging/AverageReport.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

const QString kMargin = QStringLiteral("-") + QString(20, QLatin1Char(' '));

AvgFile::Document document(const QList<QStringList> &records)
{
    AvgFile::Document doc;
    doc.header = {"Press line 4", "A. Worker", "0042",     "2009/11/30", "10:00:00", "00:00:10",
                  "85",           "5",         "00:00:20", "94.5",       "No"};
    for (const QStringList &record : records)
        doc.records.appendRecord(record);
    return doc;
}

// The PDF's text, runs of blanks made single and empty lines dropped.
QStringList pdfLines(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    if (!pdftotext.waitForFinished(30000))
        return {};
    QStringList lines;
    for (const QString &line :
         QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    }
    return lines;
}

const QStringList kExpectedPdfLines{
    "Averaging report",
    "- JOB: Press line 4",
    "- Name: A. Worker",
    "- ID: 0042",
    "- Start date: 2009/11/30",
    "- Start time: 10:00:00",
    "- Time Int.: 00:00:10",
    "- Criterion level: 85",
    "- Exchange Rate: 5",
    "- Run Time: 00:00:20",
    "- SPL Max: 94.5",
    "- 140 PEAK: No",
    "- Date Time dBA",
    "- ---------- -------- -----",
    "- 1 2009/11/30 10:00:10 85",
    "- 2 2009/11/30 10:00:20 90.3",
    "Page 1 of 1",
};

} // namespace

class TestAverageReport : public QObject {
    Q_OBJECT

private slots:
    void lines()
    {
        const QStringList expected{
            " ",
            " ",
            " ",
            " ",
            kMargin + "JOB: Press line 4",
            kMargin + "Name: A. Worker",
            kMargin + "ID: 0042",
            "",
            kMargin + "Start date: 2009/11/30",
            kMargin + "Start time: 10:00:00",
            kMargin + "Time Int.: 00:00:10",
            "",
            kMargin + "Criterion level: 85",
            kMargin + "Exchange Rate: 5",
            "",
            kMargin + "Run Time: 00:00:20",
            kMargin + "SPL Max: 94.5",
            kMargin + "140 PEAK: No",
            kMargin + "            Date      Time         dBA",
            kMargin + "        ----------  --------      -----",
            kMargin + "1       2009/11/30  10:00:10       85         ",
        };
        QCOMPARE(AverageReport::lines(document({{"1", "2009/11/30", "10:00:10", " 85"}})),
                 expected);
        QCOMPARE(AverageReport::kFirstRecordLine, 20);
    }

    void recordLine_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("line");
        QTest::newRow("fits") << QStringList{"12", "2009/11/30", "10:00:10", " 90.3"}
                              << "12      2009/11/30  10:00:10       90.3       ";
        // Cells that fill or pass their width print whole, one blank before the next.
        QTest::newRow("wide-number") << QStringList{"123456789", "2009/11/30", "10:00:10", " 85"}
                                     << "123456789 2009/11/30  10:00:10       85         ";
        QTest::newRow("number-fills-width") << QStringList{"12345678", "d", "t", " 85"}
                                            << "12345678 d           t              85         ";
        QTest::newRow("long-opened-cells")
            << QStringList{"1", "a date far too long", "a long time cell", " 85"}
            << "1       a date far too long a long time cell  85         ";
    }
    void recordLine()
    {
        QFETCH(QStringList, cells);
        const QString last = AverageReport::lines(document({cells})).last();
        QVERIFY(last.startsWith(kMargin));
        QTEST(last.mid(kMargin.size()), "line");
    }

    void serifFont()
    {
        const QFont font = AverageReport::reportFont();
        QCOMPARE(font.pointSize(), 12);
        QVERIFY(!QFontInfo(font).fixedPitch());
    }

    void printsOneDocumentPerCopyWithCaptions()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        ScriptedDialogs dialogs;
        dialogs.preparePrinter = [&pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setCopyCount(2);
        };
        QWidget window;
        window.setWindowTitle(QStringLiteral("Average"));
        QStringList captions;
        connect(&window, &QWidget::windowTitleChanged, this,
                [&captions](const QString &title) { captions << title; });
        QVERIFY(AverageReport::print(dialogs, &window,
                                     document({{"1", "2009/11/30", "10:00:10", " 85"},
                                               {"2", "2009/11/30", "10:00:20", " 90.3"}})));

        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown.at(0).kind, QStringLiteral("print"));
        QCOMPARE(dialogs.shown.at(1).icon, Dialogs::Icon::None);
        QCOMPARE(dialogs.shown.at(1).text,
                 QStringLiteral(
                     "Note\rThe effect of the properties of the Printer settings\rdepends on the "
                     "driver supplied by the printer manufacturer.\rSome property settings may "
                     "have no effect, or several different property settings\rmay all have the "
                     "same effect. Settings outside the accepted range may or may not produce an "
                     "error.\rFor more information, see the manufacturer's documentation for the "
                     "specific driver."));
        QCOMPARE(captions,
                 (QStringList{"1 printed", "2 printed", "1 printed", "2 printed", "Average"}));
        QCOMPARE(pdfLines(pdf), kExpectedPdfLines + kExpectedPdfLines);
    }

    void writesPdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        ScriptedDialogs dialogs;
        dialogs.fileNames.enqueue(pdf);
        QVERIFY(AverageReport::exportPdf(dialogs, nullptr,
                                         document({{"1", "2009/11/30", "10:00:10", " 85"},
                                                   {"2", "2009/11/30", "10:00:20", " 90.3"}})));
        QCOMPARE(pdfLines(pdf), kExpectedPdfLines);

        const QString error =
            AverageReport::writePdf(dir.filePath("missing/report.pdf"), document({}));
        QVERIFY(!error.isEmpty());
    }
};

DOSEMETER_TEST(TestAverageReport)
#include "tst_AverageReport.moc"
