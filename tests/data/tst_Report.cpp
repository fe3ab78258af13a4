#include "data/FileTransfer.h"
#include "data/ReportLayout.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "ui/ReportPrinter.h"

#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

const QString kMargin = QStringLiteral("-") + QString(20, QLatin1Char(' '));

RecordTable records(int count)
{
    RecordTable table;
    for (int i = 1; i <= count; ++i)
        table.appendRecord({QString::number(i), QStringLiteral("2009/12/31"),
                            QStringLiteral("23:59:%1.5").arg(i, 2, 10, QLatin1Char('0')),
                            QStringLiteral("%1.%2").arg(80 + i).arg(i % 10)});
    return table;
}

// The PDF's text, lines with their runs of blanks made single and empty lines dropped.
QStringList pdfLines(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
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

QStringList simplified(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines) {
        if (!line.simplified().isEmpty())
            out << line.simplified();
    }
    return out;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void layout()
    {
        const QStringList lines =
            ReportLayout::gridReport(records(2), {"Shift A", "", "Press 4"}, 1);
        const QStringList expected{
            " ",
            " ",
            " ",
            " ",
            kMargin + "Shift A",
            kMargin,
            kMargin + "Press 4",
            "",
            kMargin + "            Date     Time        (dBA)",
            kMargin + "        ---------- ----------",
            kMargin + "       1 2009/12/31   23:59:01.5 81.1   ",
            kMargin + "       2 2009/12/31   23:59:02.5 82.2   ",
        };
        QCOMPARE(lines, expected);
    }

    void recordsPerLine_data()
    {
        // clang-format off
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<QStringList>("firsts");  // record number opening each line
        QTest::addColumn<QList<int>>("levels");   // levels on each line
        QTest::newRow("seven-by-three") << 7 << 3 << QStringList({"1", "4", "7"}) << QList<int>({3, 3, 1});
        QTest::newRow("five-by-five") << 5 << 5 << QStringList({"1"}) << QList<int>({5});
        QTest::newRow("three-by-one") << 3 << 1 << QStringList({"1", "2", "3"}) << QList<int>({1, 1, 1});
        QTest::newRow("no-records") << 0 << 2 << QStringList() << QList<int>();
        // clang-format on
    }
    void recordsPerLine()
    {
        QFETCH(int, records);
        QFETCH(int, perLine);
        QFETCH(QStringList, firsts);
        QFETCH(QList<int>, levels);
        const QStringList lines = ReportLayout::gridReport(::records(records), {}, perLine).mid(10);
        QCOMPARE(lines.size(), firsts.size());
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList words =
                lines.at(i).mid(kMargin.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(words.first(), firsts.at(i));
            QCOMPARE(words.size() - 3, levels.at(i));
            // Every level takes 5 characters and 3 blanks.
            QCOMPARE(lines.at(i).size(), kMargin.size() + 32 + 8 * levels.at(i));
        }
    }

    void wideCellPrintedWhole()
    {
        RecordTable table;
        table.appendRecord({"123456789", "2009/12/31", "23:59:59.5", "1234.56"});
        const QString line = ReportLayout::gridReport(table, {}, 1).last();
        QCOMPARE(line, kMargin + "123456789 2009/12/31   23:59:59.51234.56   ");
    }

    void reportFontIsFixedPitch()
    {
        const QFont font = ReportPrinter::reportFont();
        QCOMPARE(font.pointSizeF(), 8.0);
        QVERIFY(QFontInfo(font).fixedPitch());
    }

    void printsToPdf()
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
        // Out-of-range answers are asked again.
        dialogs.inputs << QString("0") << QString("6") << QString("2");
        QWidget window;
        window.setWindowTitle(QStringLiteral("Memory"));
        const RecordTable table = records(3);
        const QStringList notes{"Shift A", "Operator 7", "Press 4"};
        QVERIFY(FileTransfer::printGrid(dialogs, &window, table, notes));

        QCOMPARE(dialogs.shown.size(), 5);
        QCOMPARE(dialogs.shown.at(0).kind, QStringLiteral("print"));
        QCOMPARE(dialogs.shown.at(1).text, FileTransfer::printerNoteLines().join(QChar(13)));
        QCOMPARE(dialogs.shown.at(1).buttons, Dialogs::Buttons::Ok);
        for (int i = 2; i < 5; ++i)
            QCOMPARE(dialogs.shown.at(i).text,
                     QStringLiteral("Input record(s) to print in one row (1-5)"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Memory"));

        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
            QFile::copy(pdf, qEnvironmentVariable("DOSEMETER_SCREENSHOTS") + "/report.pdf");
        // Two copies, each the whole report under its title and over its page number.
        const QStringList report = QStringList{"Record list: Memory"} +
                                   simplified(ReportLayout::gridReport(table, notes, 2)) +
                                   QStringList{"Page 1 of 1"};
        QCOMPARE(pdfLines(pdf), report + report);
    }

    // A long report runs over pages, each with its title and number; no line is lost,
    // cut or repeated at a page break.
    void titledReportNumbersItsPages()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("line %1").arg(i);
        QCOMPARE(ReportPrinter::writePdf(pdf, "Record list: long.dat", lines,
                                         ReportPrinter::reportFont()),
                 QString());
        QStringList printed;
        int page = 0;
        for (const QString &line : pdfLines(pdf)) {
            if (line == QLatin1String("Record list: long.dat"))
                ++page;
            else if (!line.startsWith(QLatin1String("Page ")))
                printed << line;
        }
        QCOMPARE(printed, lines);
        QVERIFY(page > 1);
        QVERIFY(pdfLines(pdf).contains(QStringLiteral("Page %1 of %1").arg(page)));
    }

    void cancelledPrintPrintsNothing_data()
    {
        // clang-format off
        QTest::addColumn<bool>("printAccepted");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("print-dialog-cancelled") << false << QStringList() << 1;
        QTest::newRow("empty-answer") << true << QStringList({""}) << 3;
        // clang-format on
    }
    void cancelledPrintPrintsNothing()
    {
        QFETCH(bool, printAccepted);
        QFETCH(QStringList, answers);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        ScriptedDialogs dialogs;
        dialogs.printAnswers << printAccepted;
        dialogs.preparePrinter = [&pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        for (const QString &answer : answers)
            dialogs.inputs << answer;
        QVERIFY(!FileTransfer::printGrid(dialogs, nullptr, records(3), {}));
        QTEST(int(dialogs.shown.size()), "dialogs");
        QVERIFY(!QFile::exists(pdf));
    }
};

DOSEMETER_TEST(TestReport)
#include "tst_Report.moc"
