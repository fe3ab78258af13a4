// The exposure statistics window driven through its controls: the figures shown for the
// settings it opens with, the figures computed again when a setting changes, the copy
// as text, and the report printed and exported as PDF.

#include "AnalysisRig.h"

#include "analysis/StatisticsWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Settings = ExposureStatistics::Settings;

namespace {

// Eight hours of one-minute records at 90 dB.
RecordTable eightHoursAt90()
{
    return rig::records(rig::repeated(QStringLiteral("090.0"), 480),
                        QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 60);
}

struct StatisticsRig : MeterRig {
    std::unique_ptr<StatisticsWindow> window;

    explicit StatisticsRig(const RecordTable &records, const Settings &settings = {})
        : window(std::make_unique<StatisticsWindow>(meter, dialogs, records, settings))
    {
        window->show();
    }
    QString figure(const char *name) const { return window->findChild<QLabel *>(name)->text(); }
    QComboBox *combo(const char *name) const { return window->findChild<QComboBox *>(name); }
    QDoubleSpinBox *threshold() const
    {
        return window->findChild<QDoubleSpinBox *>("thresholdField");
    }
    void click(const char *name) const { window->findChild<QPushButton *>(name)->click(); }
};

} // namespace

class TestStatisticsWindow : public QObject {
    Q_OBJECT

private slots:
    void figuresAndCopy()
    {
        StatisticsRig rig(eightHoursAt90());
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Exposure Statistics"));
        QCOMPARE(rig.combo("criterionChoice")->currentText(), QStringLiteral("90"));
        QCOMPARE(rig.combo("exchangeRateChoice")->currentText(), QStringLiteral("5"));
        QCOMPARE(rig.threshold()->text(), QStringLiteral("80"));
        QCOMPARE(rig.figure("recordsValue"), QStringLiteral("480"));
        QCOMPARE(rig.figure("laeqValue"), QStringLiteral("90.0"));
        QCOMPARE(rig.figure("periodValue"), QStringLiteral("60.0"));
        QCOMPARE(rig.figure("durationValue"), QStringLiteral("08:00:00"));
        QCOMPARE(rig.figure("doseValue"), QStringLiteral("100.00"));
        QCOMPARE(rig.figure("twaValue"), QStringLiteral("90.0"));
        rig.click("copyButton");
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("criterion: 90\nexchange-rate: 5\nthreshold: 80\nrecords: 480\n"
                                "skipped: 0\nmin: 90.0\nmax: 90.0\nmean: 90.0\nlaeq: 90.0\n"
                                "l10: 90.0\nl50: 90.0\nl90: 90.0\nperiod: 60.0\n"
                                "duration: 08:00:00\ndose: 100.00\ntwa: 90.0\n"));
    }

    void presetSettings()
    {
        StatisticsRig rig(eightHoursAt90(), Settings{85, 3, 75.5});
        QCOMPARE(rig.combo("criterionChoice")->currentText(), QStringLiteral("85"));
        QCOMPARE(rig.combo("exchangeRateChoice")->currentText(), QStringLiteral("3"));
        QCOMPARE(rig.threshold()->text(), QStringLiteral("75.5"));
        // 90 dB is 5 dB above an 85 dB criterion at 3 dB: 2^(5/3) × 100 %.
        QCOMPARE(rig.figure("doseValue"), QStringLiteral("317.48"));
        QCOMPARE(rig.figure("twaValue"), QStringLiteral("90.0"));
    }

    void recomputedWhenASettingChanges_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("exchangeRate");
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<QString>("dose");
        QTest::addColumn<QString>("twa");
        QTest::newRow("criterion-85") << "85"
                                      << "5"
                                      << "80"
                                      << "200.00"
                                      << "90.0";
        QTest::newRow("criterion-80-exchange-3") << "80"
                                                 << "3"
                                                 << "80"
                                                 << "1007.94"
                                                 << "90.0";
        // No record reaches the threshold: no dose, and no TWA of it.
        QTest::newRow("threshold-above-the-levels") << "90"
                                                    << "5"
                                                    << "90.5"
                                                    << "0.00"
                                                    << "–";
    }
    void recomputedWhenASettingChanges()
    {
        QFETCH(QString, criterion);
        QFETCH(QString, exchangeRate);
        QFETCH(QString, threshold);
        StatisticsRig rig(eightHoursAt90());
        rig.combo("criterionChoice")->setCurrentText(criterion);
        rig.combo("exchangeRateChoice")->setCurrentText(exchangeRate);
        rig.threshold()->setFocus();
        rig.threshold()->selectAll();
        QTest::keyClicks(rig.threshold(), threshold);
        QTest::keyClick(rig.threshold(), Qt::Key_Enter);
        QTEST(rig.figure("doseValue"), "dose");
        QTEST(rig.figure("twaValue"), "twa");
        QCOMPARE(rig.figure("laeqValue"), QStringLiteral("90.0"));
    }

    // A list whose time stamps cannot be read has levels but no period: no dose either.
    void noPeriodWithoutStamps()
    {
        RecordTable table;
        table.appendRecord({"1", "", "", "085.0"});
        table.appendRecord({"2", "", "", "095.0"});
        StatisticsRig rig(table);
        QCOMPARE(rig.figure("laeqValue"), QStringLiteral("92.4"));
        QCOMPARE(rig.figure("periodValue"), QStringLiteral("–"));
        QCOMPARE(rig.figure("doseValue"), QStringLiteral("–"));
    }

    void printAndExport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Print") << "printButton";
        QTest::newRow("Export PDF") << "pdfButton";
    }
    void printAndExport()
    {
        QFETCH(QString, button);
        StatisticsRig rig(eightHoursAt90());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("statistics.pdf"));
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        rig.dialogs.fileNames.enqueue(path);
        rig.click(qPrintable(button));
        const QString text = rig::pdfText(path);
        for (const char *expected :
             {"Exposure Statistics", "criterion: 90", "threshold: 80", "laeq: 90.0",
              "duration: 08:00:00", "dose: 100.00", "twa: 90.0"})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
    }

    void exportToAMissingFolderSaysWhy()
    {
        StatisticsRig rig(eightHoursAt90());
        rig.dialogs.fileNames.enqueue(QStringLiteral("/nonexistent/folder/statistics.pdf"));
        rig.click("pdfButton");
        QCOMPARE(rig.dialogs.shown.size(), 2);
        QVERIFY(rig.dialogs.shown.at(1).text.startsWith(
            QStringLiteral("statistics.pdf could not be written: ")));
    }
};

DOSEMETER_TEST(TestStatisticsWindow)
#include "tst_StatisticsWindow.moc"
