// The shift report drawn in the program (as the assessment window's preview draws it):
// the sections the command line cannot ask for (ISO 9612), several files, and the page
// template's numbering and repeated table headings, read back from the PDF's text.

#include "AnalysisRig.h"
#include "report/ShiftReport.h"
#include "support/TestMain.h"
#include "ui/ReportPage.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kStart(QDate(2009, 11, 30), QTime(6, 0));

Iso9612::Result isoResult(const QString &strategy)
{
    Iso9612::Input input;
    if (strategy == QLatin1String("job")) {
        input.strategy = Iso9612::Strategy::Job;
        input.samplesDb = {84, 84, 86, 88, 88};
        input.effectiveHours = 8;
    } else {
        input.strategy = Iso9612::Strategy::Task;
        input.tasks = {{QStringLiteral("press"), 4, {88, 90, 89}, 3.0, 5.0},
                       {QStringLiteral("assembly"), 3, {82, 83, 81}, {}, {}},
                       {QStringLiteral("break"), 1, {70}, {}, {}}};
    }
    return Iso9612::compute(input);
}

} // namespace

class TestShiftReport : public QObject {
    Q_OBJECT

private slots:
    void sections_data()
    {
        QTest::addColumn<QString>("iso");        // "", "job" or "task"
        QTest::addColumn<int>("secondDayFiles"); // files of the next day added
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("no-iso") << "" << 0 << QStringList{"Files a.dat", "Results"}
                                << QStringList{"ISO 9612", "Bank results"};
        QTest::newRow("iso-job") << "job" << 0
                                 << QStringList{"ISO 9612",
                                                "Strategy job",
                                                "Samples 5",
                                                "LAeq,Te 86.4 dB",
                                                "LEX,8h 86.4 dB",
                                                "c1u1 1.7 dB",
                                                "Combined uncertainty u 2.5 dB",
                                                "Expanded uncertainty U 4.1 dB",
                                                "Upper value LEX,8h + U 90.4 dB"}
                                 << QStringList{"Task "};
        QTest::newRow("iso-task") << "task" << 0
                                  << QStringList{"Strategy task",
                                                 "LEX,8h 86.7 dB",
                                                 "Task press laeq 89.1 contribution 86.1 samples 3",
                                                 "Task break laeq 70.0 contribution 61.0 samples 1",
                                                 "Expanded uncertainty U 3.1 dB",
                                                 "Upper value LEX,8h + U 89.8 dB"}
                                  << QStringList{"LAeq,Te", "c1u1"};
        QTest::newRow("two-days") << "" << 1
                                  << QStringList{"Files a.dat, b.dat", "Start 2009-11-30 06:00:00",
                                                 "End 2009-12-01 06:59:30",
                                                 "Time at or above 80 dB"}
                                  << QStringList{};
    }

    void sections()
    {
        QFETCH(QString, iso);
        QFETCH(int, secondDayFiles);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QList<ShiftReport::Source> sources{
            {QStringLiteral("a.dat"), rig::records(rig::repeated("088.0", 120), kStart, 30), {}}};
        if (secondDayFiles > 0)
            sources << ShiftReport::Source{
                QStringLiteral("b.dat"),
                rig::records(rig::repeated("082.0", 120), kStart.addDays(1), 30),
                {}};
        ExposureAssessment::Inputs inputs;
        inputs.criteria << *CriterionSet::parse(QStringLiteral("osha-pel"));
        ShiftReport report(sources, inputs, {QStringLiteral("W"), {}, {}, {}, QDateTime()});
        QVERIFY(report.result().ok());
        if (!iso.isEmpty())
            report.setIso(isoResult(iso));
        const QString text = writtenText(report);
        for (const QString &item : present)
            QVERIFY2(text.contains(item), qPrintable(item + QStringLiteral(" in: ") + text));
        for (const QString &item : absent)
            QVERIFY2(!text.contains(item), qPrintable(item));
    }

    void pages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("one-page") << 5;
        QTest::newRow("some-pages") << 150;
        QTest::newRow("many-pages") << 400;
    }

    // Every page carries the header and "Page N of M" with the right M, and a table that
    // breaks across pages repeats its heading row on each.
    void pages()
    {
        QFETCH(int, rows);
        QList<QStringList> cells;
        for (int r = 0; r < rows; ++r)
            cells << QStringList{QStringLiteral("row %1").arg(r + 1), QStringLiteral("value")};
        const ReportPage::Header header{QStringLiteral("Paged Report"),
                                        {{QStringLiteral("File"), QStringLiteral("p.dat")}}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paged.pdf"));
        QCOMPARE(ReportPage::writePdf(path, header,
                                      [&](ReportPage &page) {
                                          page.table({QStringLiteral("Heading A"),
                                                      QStringLiteral("Heading B")},
                                                     cells, {1, 1});
                                      }),
                 QString());
        const QString text = rig::pdfText(path);
        static const QRegularExpression pageOf(QStringLiteral("Page (\\d+) of (\\d+)"));
        QList<int> numbers;
        int total = -1;
        for (auto m = pageOf.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch match = m.next();
            numbers << match.captured(1).toInt();
            if (total >= 0)
                QCOMPARE(match.captured(2).toInt(), total);
            total = match.captured(2).toInt();
        }
        QCOMPARE(int(numbers.size()), total);
        for (int page = 1; page <= total; ++page)
            QCOMPARE(numbers.at(page - 1), page);
        QCOMPARE(int(text.count(QStringLiteral("Heading A"))), total);
        QCOMPARE(int(text.count(QStringLiteral("p.dat"))), total);
        QVERIFY(text.contains(QStringLiteral("row %1").arg(rows)));
        QCOMPARE(total > 1, rows > 50);
    }

private:
    static QString writtenText(const ShiftReport &report)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        if (!report.writePdf(path).isEmpty())
            return QString();
        // In layout order, so that a row's label and value come together.
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).simplified();
    }
};

DOSEMETER_TEST(TestShiftReport)

#include "tst_ShiftReport.moc"
