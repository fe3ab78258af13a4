// The exposure assessment window driven through its controls: the figures it opens with,
// the figures again after each input changes, a span excluded by dragging over the plot,
// and the ISO 9612 tab fed with typed samples and the open file.

#include "AnalysisRig.h"

#include "analysis/AssessmentWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/VectorPlot.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

// Columns and rows of the criteria table.
constexpr int kOshaPel = 0;
constexpr int kCustom = 4;
constexpr int kUseRow = 0;
constexpr int kThresholdRow = 3;
constexpr int kDoseRow = 4;
constexpr int kProjectedTwaRow = 7;

struct WindowRig : MeterRig {
    std::unique_ptr<AssessmentWindow> window;

    // 4 h at 95 dB in one-minute records, 20 minutes of them knocked to 120 dB.
    WindowRig()
    {
        QStringList levels = rig::repeated("095.0", 240);
        for (int i = 100; i < 120; ++i)
            levels[i] = "120.0";
        ExposureAssessment assessment;
        assessment.addRecords(
            "shift.dat", rig::records(levels, QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 60));
        window = std::make_unique<AssessmentWindow>(meter, dialogs, std::move(assessment));
        window->show();
    }
    template <typename T> T *find(const char *name) const { return window->findChild<T *>(name); }
    QString figure(const char *name) const { return find<QLabel>(name)->text(); }
    QString cell(int row, int column) const
    {
        return find<QTableWidget>("criteriaTable")->item(row, column)->text();
    }
};

} // namespace

class TestAssessmentWindow : public QObject {
    Q_OBJECT

private slots:
    void changesComputeAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("expected"); // osha-pel dose, its projected TWA, lex8h
        QTest::newRow("as-opened") << "" << QStringList{"358.33", "104.2", "109.4"};
        QTest::newRow("10-h-shift") << "shift" << QStringList{"358.33", "105.8", "110.3"};
        QTest::newRow("knocks-excluded") << "exclude" << QStringList{"91.67", "95.0", "95.0"};
        QTest::newRow("osha-pel-unchecked") << "uncheck" << QStringList{"", "", "109.4"};
    }
    void changesComputeAgain()
    {
        QFETCH(QString, change);
        WindowRig rig;
        if (change == "shift") {
            rig.find<QDoubleSpinBox>("shiftField")->setValue(10.0);
        } else if (change == "exclude") {
            rig.find<QDoubleSpinBox>("firstRecordField")->setValue(101);
            rig.find<QDoubleSpinBox>("lastRecordField")->setValue(120);
            QTest::keyClicks(rig.find<QLineEdit>("reasonEdit"), "microphone knocked");
            rig.find<QPushButton>("excludeButton")->click();
            QCOMPARE(rig.figure("excludedValue"), "20");
            QCOMPARE(rig.find<QTableWidget>("spansTable")->item(0, 2)->text(),
                     "microphone knocked");
        } else if (change == "uncheck") {
            rig.find<QTableWidget>("criteriaTable")
                ->item(kUseRow, kOshaPel)
                ->setCheckState(Qt::Unchecked);
        }
        QTEST((QStringList{rig.cell(kDoseRow, kOshaPel), rig.cell(kProjectedTwaRow, kOshaPel),
                           rig.figure("lex8hValue")}),
              "expected");
        QCOMPARE(rig.figure("euStatusLabel"), "limit value exceeded");
        rig.find<QPushButton>("copyButton")->click();
        QCOMPARE(QApplication::clipboard()->text(), rig.window->result().text());
    }

    void customSetTypedInItsColumn()
    {
        WindowRig rig;
        auto *criteria = rig.find<QTableWidget>("criteriaTable");
        criteria->item(kUseRow, kCustom)->setCheckState(Qt::Checked);
        QCOMPARE(rig.cell(kDoseRow, kCustom), "2053.18"); // 85:4:80
        criteria->item(kThresholdRow, kCustom)->setText("141");
        QCOMPARE(rig.cell(kDoseRow, kCustom), "");
        QVERIFY(rig.figure("messageLabel").startsWith("Custom: '85:4:141' is no criterion set"));
        QCOMPARE(rig.cell(kDoseRow, kOshaPel), "358.33");
    }

    // The custom set's column starts from the meter's settings once it has told them.
    void customSetStartsFromTheMeter()
    {
        MeterRig meterRig;
        meterRig.state.status.CriterionLevel = 90;
        meterRig.state.status.ExchangeRate = 5;
        meterRig.state.ThresholdLevel = 75;
        ExposureAssessment assessment;
        assessment.addRecords("shift.dat", rig::records(rig::repeated("085.0", 10)));
        AssessmentWindow window(meterRig.meter, meterRig.dialogs, std::move(assessment));
        auto *criteria = window.findChild<QTableWidget *>("criteriaTable");
        QCOMPARE(
            (QStringList{criteria->item(1, kCustom)->text(), criteria->item(2, kCustom)->text(),
                         criteria->item(kThresholdRow, kCustom)->text()}),
            (QStringList{"90", "5", "75"}));
    }

    // The overloads and under-range records used, and the coverage, as cards; excluding
    // the overloads takes them off.
    void overloadsAndCoverageShown()
    {
        QStringList levels = rig::repeated("085.0", 120);
        levels[10] = levels[11] = levels[50] = " OL ";
        levels[70] = "----";
        ExposureAssessment assessment;
        assessment.addRecords(
            "shift.dat", rig::records(levels, QDateTime(QDate(2009, 11, 30), QTime(8, 0)), 60));
        MeterRig meterRig;
        AssessmentWindow window(meterRig.meter, meterRig.dialogs, std::move(assessment));
        window.show();
        const auto figure = [&window](const char *name) {
            return window.findChild<QLabel *>(name)->text();
        };
        QCOMPARE((QStringList{figure("overloadsValue"), figure("underRangeValue"),
                              figure("coverageValue")}),
                 (QStringList{"3", "1", "25 %"}));
        // 10 lg((116 × 10^8.5 + 10^6.79 + 3 × 10^14) / 120) = 124.0 dB, 85.0 without them.
        QCOMPARE(figure("laeqValue"), "\u2265 124.0");
        QCOMPARE(window.findChild<QTableWidget *>("criteriaTable")
                     ->item(kDoseRow, kOshaPel)
                     ->text()
                     .left(2),
                 "\u2265 ");
        QCOMPARE(figure("advisoryLabel"),
                 "3 overload records used: the level was above the meter's 140 dB range, so LAeq, "
                 "LEX,8h, the doses and the TWAs are lower bounds. The overloads add 39.0 dB to "
                 "LAeq.\nThe measurement covers 25 % of the shift: the projection assumes the "
                 "unmeasured part of the shift is like the measured part.");
        window.findChild<QDoubleSpinBox *>("firstRecordField")->setValue(11);
        window.findChild<QDoubleSpinBox *>("lastRecordField")->setValue(12);
        QTest::keyClicks(window.findChild<QLineEdit *>("reasonEdit"), "microphone knocked");
        window.findChild<QPushButton *>("excludeButton")->click();
        QCOMPARE(figure("overloadsValue"), "1");
        // (116 × 10^8.5 + 10^6.79 + 10^14) / 118: 119.3 dB.
        QCOMPARE(figure("laeqValue"), "\u2265 119.3");
        QVERIFY(figure("advisoryLabel").startsWith("1 overload record used: "));
        QVERIFY(figure("advisoryLabel").contains("The overloads add 34.3 dB to LAeq."));
        window.findChild<QDoubleSpinBox *>("firstRecordField")->setValue(51);
        window.findChild<QDoubleSpinBox *>("lastRecordField")->setValue(51);
        QTest::keyClicks(window.findChild<QLineEdit *>("reasonEdit"), "microphone knocked");
        window.findChild<QPushButton *>("excludeButton")->click();
        QCOMPARE(figure("laeqValue"), "85.0");
        QVERIFY(!figure("advisoryLabel").contains("overload"));
    }

    void dragOverThePlotChoosesRecords()
    {
        WindowRig rig;
        auto *plot = rig.find<VectorPlot>("levelPlot");
        const auto at = [plot](double record) {
            return QPoint(qRound(plot->xAxis->coordToPixel(record)), plot->height() / 2);
        };
        QTest::mousePress(plot, Qt::LeftButton, {}, at(150.4));
        QMouseEvent move(QEvent::MouseMove, at(60.6), plot->mapToGlobal(at(60.6)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(plot, &move);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, at(60.6));
        QCOMPARE(rig.find<QDoubleSpinBox>("firstRecordField")->value(), 61.0);
        QCOMPARE(rig.find<QDoubleSpinBox>("lastRecordField")->value(), 150.0);
        QVERIFY(!rig.find<QPushButton>("excludeButton")->isEnabled()); // no reason yet
    }

    void iso9612Tab()
    {
        WindowRig rig;
        rig.find<QTabWidget>("tabs")->setCurrentIndex(1);
        rig.find<QComboBox>("strategyCombo")->setCurrentText("Full-day");
        for (const char *level : {"85", "86"}) {
            rig.find<QPushButton>("addSampleButton")->click();
            rig.find<QTableWidget>("samplesTable")->currentItem()->setText(level);
        }
        QCOMPARE(rig.figure("isoMessageLabel"), "Full-day needs at least 3 samples; 2 given.");
        QVERIFY(!rig.find<QPushButton>("copyButton")->isEnabled());
        // The open file's LAeq,T, 109.36 dB with the knocks, shown rounded and used whole.
        rig.find<QPushButton>("addOpenFileButton")->click();
        QCOMPARE(rig.find<QTableWidget>("samplesTable")->item(2, 0)->text(), "109.4");
        QCOMPARE(rig.figure("isoLaeqValue"), "104.6");
        rig.find<QTableWidget>("samplesTable")->item(1, 0)->setText("loud");
        QCOMPARE(rig.figure("isoMessageLabel"), "Sample 2: 'loud' is no level in dB.");
        QCOMPARE(rig.figure("isoLex8hValue"), "–");
        rig.find<QTableWidget>("samplesTable")->item(1, 0)->setText("86");
        rig.find<QPushButton>("copyButton")->click();
        QCOMPARE(QApplication::clipboard()->text(), rig.window->isoResult().text());
        QVERIFY(QApplication::clipboard()->text().startsWith("strategy: full-day\nsamples: 3\n"));
    }
};

DOSEMETER_TEST(TestAssessmentWindow)
#include "tst_AssessmentWindow.moc"
