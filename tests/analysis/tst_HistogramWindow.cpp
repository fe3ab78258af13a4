// The histogram windows driven through their controls: what they show after the opening
// step, the limit panel's recount and when it does nothing, and the graph printed and
// exported as vector PDF. The opening itself (one window at a time, nothing to count) is
// tested with the window manager in tst_AnalysisWindows.

#include "AnalysisRig.h"

#include "analysis/HistogramWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

#include <memory>

using Resolution = LevelHistogram::Resolution;

namespace {

// Records 1..30 at 60.1, 60.2, ... 63.0 dB.
QStringList thirtyLevels()
{
    QStringList levels;
    for (int i = 1; i <= 30; ++i)
        levels << QString::number(60.0 + i / 10.0, 'f', 1);
    return levels;
}

struct HistogramRig : MeterRig {
    RecordTable table;
    bool tableGone = false;
    std::unique_ptr<HistogramWindow> window;

    HistogramRig(const QStringList &levels, Resolution resolution) : table(rig::records(levels))
    {
        window = std::make_unique<HistogramWindow>(meter, dialogs, app.histogram, resolution,
                                                   [this] { return tableGone ? nullptr : &table; });
        const LevelHistogram::Opening opening =
            LevelHistogram::open(table, resolution, app.histogram);
        window->showOpening(opening);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QCustomPlot *graph() const { return window->findChild<QCustomPlot *>("graph"); }
    QCPRange x() const { return graph()->xAxis->range(); }
    QDoubleSpinBox *field(const char *name) const
    {
        return window->findChild<QDoubleSpinBox *>(name);
    }
    QString text(const char *name) const { return field(name)->text(); }
    bool panelShown() const { return window->findChild<QFrame *>("limitsPanel")->isVisible(); }
    void toolbar(const char *key) const { window->findChild<QAction *>(key)->trigger(); }
    void ok() const { window->findChild<QPushButton *>("okButton")->click(); }
    void type(const char *name, const QString &text) const
    {
        QDoubleSpinBox *box = field(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Enter);
    }
    // The count drawn at X.
    double drawn(double x) const
    {
        const auto data = graph()->graph(0)->data();
        const auto it = data->findBegin(x, false);
        return it != data->constEnd() && it->key == x ? it->value : -1.0;
    }
};

} // namespace

class TestHistogramWindow : public QObject {
    Q_OBJECT

private slots:
    void opening_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dbMin");
        QTest::addColumn<QString>("dbMax");
        QTest::addColumn<QCPRange>("x");
        QTest::addColumn<QCPRange>("y");
        QTest::addColumn<int>("points");
        // X = index + 1: 68.0 at index 680 (X 681), 85.0 at 850 (X 851), 85.3 at 853.
        QTest::addColumn<QList<QPointF>>("counts");
        QTest::newRow("0.1-dB") << int(Resolution::TenthDb) << "TenthDbHistogram"
                                << "68"
                                << "85.3" << QCPRange(675, 858) << QCPRange(0, 2.1) << 1401
                                << QList<QPointF>{{681, 1}, {851, 2}, {854, 1}, {852, 0}};
        QTest::newRow("1-dB") << int(Resolution::WholeDb) << "WholeDbHistogram"
                              << "68"
                              << "86" << QCPRange(68, 86) << QCPRange(0, 3.15) << 141
                              << QList<QPointF>{{69, 1}, {86, 3}, {85, 0}};
    }
    void opening()
    {
        QFETCH(int, resolution);
        QFETCH(QList<QPointF>, counts);
        HistogramRig rig({"085.0", "085.0", "085.3", "----"}, Resolution(resolution));
        QTEST(rig.window->objectName(), "name");
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Histogram"));
        QCOMPARE(rig.text("minimumField1"), QStringLiteral("1"));
        QCOMPARE(rig.text("maximumField1"), QStringLiteral("4"));
        QTEST(rig.text("minimumField2"), "dbMin");
        QTEST(rig.text("maximumField2"), "dbMax");
        QTEST(rig.x(), "x");
        QFETCH(QCPRange, y);
        QCOMPARE(rig.graph()->yAxis->range().lower, y.lower);
        QCOMPARE(rig.graph()->yAxis->range().upper, y.upper);
        QTEST(rig.graph()->graph(0)->dataCount(), "points");
        for (const QPointF &count : counts)
            QCOMPARE(rig.drawn(count.x()), count.y());
        QCOMPARE(rig.graph()->xAxis->label(), QStringLiteral("dBA"));
        QCOMPARE(rig.graph()->yAxis->label(), QStringLiteral("Frequency (Times)"));
        // Setting the fields recounted nothing.
        QCOMPARE(rig.app.histogram.HistFirstRecord, 1);
        QCOMPARE(rig.app.histogram.HistLastRecord, 4);
        QVERIFY(!rig.app.histogram.HistLoading);
        QVERIFY(!rig.panelShown());
    }

    // The 0.1 dB window's X runs in tenths of a dB, its labels in dB.
    void tenthDbLabels()
    {
        HistogramRig rig({"085.0", "085.0", "085.3", "----"}, Resolution::TenthDb);
        rig.graph()->replot();
        const QVector<QString> labels = rig.graph()->xAxis->tickVectorLabels();
        QVERIFY(labels.contains(QStringLiteral("70")));
        QVERIFY(labels.contains(QStringLiteral("85")));
        QVERIFY(!labels.contains(QStringLiteral("700")));
    }

    void limitRecount()
    {
        HistogramRig rig(thirtyLevels(), Resolution::TenthDb);
        rig.toolbar("Limit");
        QVERIFY(rig.panelShown());
        rig.type("minimumField1", "10");
        rig.type("maximumField1", "20");
        QCOMPARE(rig.app.histogram.HistFirstRecord, 10);
        QCOMPARE(rig.app.histogram.HistLastRecord, 20);
        // Records 10..20 are 61.0 .. 62.0 dB, one each; the others are no longer counted.
        QCOMPARE(rig.window->counts().TenthDbCounts[610], 1);
        QCOMPARE(rig.window->counts().TenthDbCounts[620], 1);
        QCOMPARE(rig.window->counts().TenthDbCounts[609], 0);
        QCOMPARE(rig.window->counts().TenthDbCounts[621], 0);
        QCOMPARE(rig.drawn(611), 1.0);
        QCOMPARE(rig.drawn(610), 0.0);
        rig.type("minimumField2", "61");
        rig.type("maximumField2", "62.55");
        QCOMPARE(rig.text("maximumField2"), QStringLiteral("62.55"));
        QCOMPARE(rig.x(), QCPRange(605, 630.5));
        rig.ok();
        QVERIFY(!rig.panelShown());
    }

    void limitRecountWholeDb()
    {
        HistogramRig rig(thirtyLevels(), Resolution::WholeDb);
        QCOMPARE(rig.text("minimumField2"), QStringLiteral("60"));
        QCOMPARE(rig.text("maximumField2"), QStringLiteral("64"));
        rig.toolbar("Limit");
        rig.type("maximumField1", "15");
        rig.type("minimumField2", "55");
        rig.ok();
        QCOMPARE(rig.window->counts().WholeDbCounts[60], 9);
        QCOMPARE(rig.window->counts().WholeDbCounts[61], 6);
        QCOMPARE(rig.window->counts().WholeDbCounts[62], 0);
        QCOMPARE(rig.x(), QCPRange(55, 64));
        QCOMPARE(rig.drawn(61), 9.0);
    }

    // A minimum not below its maximum changes nothing, and OK leaves the panel open.
    void limitsIgnored_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::newRow("records-equal") << "minimumField1"
                                       << "30";
        QTest::newRow("records-reversed") << "maximumField1"
                                          << "1";
        QTest::newRow("db-equal") << "minimumField2"
                                  << "63";
        QTest::newRow("db-reversed") << "maximumField2"
                                     << "50";
    }
    void limitsIgnored()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        HistogramRig rig(thirtyLevels(), Resolution::TenthDb);
        const LevelCounts before = rig.window->counts();
        const QCPRange x = rig.x();
        rig.toolbar("Limit");
        rig.type(qPrintable(field), typed);
        rig.ok();
        QVERIFY(rig.window->counts() == before);
        QCOMPARE(rig.x(), x);
        QCOMPARE(rig.app.histogram.HistLastRecord, 30);
        QVERIFY(rig.panelShown());
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    // Once the saved-file window is gone there is nothing to recount: the graph stays.
    void nothingHappensAfterTheRecordsAreGone()
    {
        HistogramRig rig(thirtyLevels(), Resolution::TenthDb);
        const LevelCounts before = rig.window->counts();
        const QCPRange x = rig.x();
        rig.toolbar("Limit");
        rig.tableGone = true;
        rig.type("minimumField1", "10");
        rig.ok();
        QVERIFY(rig.window->counts() == before);
        QCOMPARE(rig.x(), x);
        QCOMPARE(rig.app.histogram.HistFirstRecord, 1);
        QVERIFY(rig.panelShown());
        QCOMPARE(rig.window->findChild<QLabel *>("limitsHint")->text(),
                 QStringLiteral("The saved file is closed: its records cannot be counted again."));
    }

    void printAndExport_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("Print") << "Print";
        QTest::newRow("PDF") << "PDF";
    }
    void printAndExport()
    {
        QFETCH(QString, key);
        HistogramRig rig(thirtyLevels(), Resolution::TenthDb);
        rig.toolbar("Limit");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("histogram.pdf"));
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        rig.dialogs.fileNames.enqueue(path);
        rig.toolbar(qPrintable(key));
        const QString text = rig::pdfText(path);
        for (const char *expected : {"dBA", "Frequency (Times)", "61", "62"})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
        QVERIFY(!text.contains(QStringLiteral("Graph Range")));
        QVERIFY(!text.contains(QStringLiteral("Limit")));
        QCOMPARE(rig::pdfImageCount(path), 0);
        // Print leaves the limit panel hidden.
        QCOMPARE(rig.panelShown(), key != QLatin1String("Print"));
    }
};

DOSEMETER_TEST(TestHistogramWindow)
#include "tst_HistogramWindow.moc"
