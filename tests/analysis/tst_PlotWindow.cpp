// The plot window driven through its controls: the series and axes it opens with, the
// Graph Range fields, every track mode's mouse interaction on the graph, the cursor and
// its read-outs, Reset Scale, and the graph printed and exported as vector PDF.

#include "AnalysisRig.h"

#include "analysis/PlotWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

#include <cmath>
#include <memory>

namespace {

// Records 1..100 at 70.1, 70.2, ... 80.0 dB.
RecordTable hundredRecords()
{
    QStringList levels;
    for (int i = 1; i <= 100; ++i)
        levels << QString::number(70.0 + i / 10.0, 'f', 1).rightJustified(5, QLatin1Char('0'));
    return rig::records(levels);
}

struct PlotRig : MeterRig {
    std::unique_ptr<PlotWindow> plot;

    explicit PlotRig(const RecordTable &records)
        : plot(std::make_unique<PlotWindow>(meter, dialogs, records))
    {
        plot->show();
        QVERIFY(QTest::qWaitForWindowExposed(plot.get()));
    }
    QCustomPlot *graph() const { return plot->findChild<QCustomPlot *>("graph"); }
    QDoubleSpinBox *field(const char *name) const
    {
        return plot->findChild<QDoubleSpinBox *>(name);
    }
    QString text(const char *name) const { return plot->findChild<QLabel *>(name)->text(); }
    QCPRange x() const { return graph()->xAxis->range(); }
    QCPRange y() const { return graph()->yAxis->range(); }
    void select(int mode) const
    {
        plot->findChild<QComboBox *>("trackModeChoice")->setCurrentIndex(mode);
    }
    void click(const char *name) const { plot->findChild<QPushButton *>(name)->click(); }
    // The pixel of a point of the graph.
    QPoint pixel(double x, double y) const
    {
        return QPoint(int(std::lround(graph()->xAxis->coordToPixel(x))),
                      int(std::lround(graph()->yAxis->coordToPixel(y))));
    }
    // The pixel at a fraction of the plot area's width and height from its top left.
    QPoint inside(double fx, double fy) const
    {
        const QRect area = graph()->axisRect()->rect();
        return area.topLeft() + QPoint(int(area.width() * fx), int(area.height() * fy));
    }
    void drag(QPoint from, QPoint to) const
    {
        QTest::mousePress(graph(), Qt::LeftButton, {}, from);
        QTest::mouseMove(graph(), (from + to) / 2);
        QTest::mouseMove(graph(), to);
        QTest::mouseRelease(graph(), Qt::LeftButton, {}, to);
    }
    void type(const char *name, const QString &text) const
    {
        QDoubleSpinBox *box = field(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Enter);
    }
};

} // namespace

namespace {

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestPlotWindow : public QObject {
    Q_OBJECT

private slots:
    void seriesAndAxes()
    {
        PlotRig rig(rig::records({"085.0", "----", "090.5"}));
        QCPGraph *trace = rig.graph()->graph(0);
        QCOMPARE(trace->dataCount(), 3);
        const QList<QPointF> expected{{1, 85.0}, {2, double(67.9f)}, {3, 90.5}};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(trace->data()->at(i)->key, expected.at(i).x());
            QCOMPARE(trace->data()->at(i)->value, expected.at(i).y());
        }
        QCOMPARE(rig.x(), QCPRange(1, 3));
        QCOMPARE(rig.y(), QCPRange(68, 140));
        QCOMPARE(rig.field("minimumField1")->text(), QStringLiteral("1"));
        QCOMPARE(rig.field("maximumField1")->text(), QStringLiteral("3"));
        QCOMPARE(rig.field("minimumField2")->text(), QStringLiteral("68.0"));
        QCOMPARE(rig.field("maximumField2")->text(), QStringLiteral("140.0"));
        QCOMPARE(rig.graph()->yAxis->label(), QStringLiteral("dB"));
        QCOMPARE(rig.plot->windowTitle(), QStringLiteral("Plot"));
        QCOMPARE(rig.plot->findChild<QComboBox *>("trackModeChoice")->currentText(),
                 QStringLiteral("Normal"));
        QCOMPARE(rig.text("trackModeDescription"), QStringLiteral("Normal mode"));
    }

    // X 1..1 cannot be shown: the graph gets one record either side.
    void oneRecordFile()
    {
        PlotRig rig(rig::records({"085.0"}));
        QCOMPARE(rig.field("minimumField1")->text(), QStringLiteral("1"));
        QCOMPARE(rig.field("maximumField1")->text(), QStringLiteral("1"));
        QCOMPARE(rig.x(), QCPRange(0, 2));
        rig.click("resetScaleButton");
        QCOMPARE(rig.x(), QCPRange(0, 2));
        QCOMPARE(rig.y(), QCPRange(68, 140));
    }

    void axisFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QCPRange>("x");
        QTest::addColumn<QCPRange>("y");
        QTest::newRow("x-max") << "maximumField1"
                               << "50"
                               << "50" << QCPRange(1, 50) << QCPRange(68, 140);
        QTest::newRow("x-min") << "minimumField1"
                               << "20"
                               << "20" << QCPRange(20, 100) << QCPRange(68, 140);
        QTest::newRow("y-one-decimal") << "minimumField2"
                                       << "75.5"
                                       << "75.5" << QCPRange(1, 100) << QCPRange(75.5, 140);
        QTest::newRow("y-whole") << "maximumField2"
                                 << "95"
                                 << "95.0" << QCPRange(1, 100) << QCPRange(68, 95);
        // A minimum not below the maximum is shown, never handed over as an empty range.
        QTest::newRow("x-equal") << "minimumField1"
                                 << "100"
                                 << "100" << QCPRange(99, 101) << QCPRange(68, 140);
        QTest::newRow("y-equal") << "minimumField2"
                                 << "140"
                                 << "140.0" << QCPRange(1, 100) << QCPRange(139, 141);
        QTest::newRow("y-reversed") << "minimumField2"
                                    << "150"
                                    << "150.0" << QCPRange(1, 100) << QCPRange(140, 150);
    }
    void axisFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        PlotRig rig(hundredRecords());
        rig.type(qPrintable(field), typed);
        QTEST(rig.field(qPrintable(field))->text(), "shown");
        QTEST(rig.x(), "x");
        QTEST(rig.y(), "y");
    }

    // Each mode's description and cursor, and what a drag down and to the right across
    // the plot area does to the axes.
    void trackModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("cursor");
        QTest::addColumn<QString>("xChange"); // "same", "pan" or "zoom"
        QTest::addColumn<QString>("yChange");
        // clang-format off
        QTest::newRow("Normal") << 0 << "Normal" << "Normal mode" << false << "same" << "same";
        QTest::newRow("Cursor Coordinates") << 1 << "Cursor Coordinates"
            << "Drag the cursor with your mouse to get X (Count) and Y (dB) position."
            << true << "same" << "same";
        QTest::newRow("PanXY") << 2 << "PanXY"
            << "Click anywhere on the plot area and drag to pan the graph both horizontally and "
               "vertically." << false << "pan" << "pan";
        QTest::newRow("PanX") << 3 << "PanX"
            << "Click anywhere on the plot area and drag to pan the graph horizontally."
            << false << "pan" << "same";
        QTest::newRow("PanY") << 4 << "PanY"
            << "Click anywhere on the plot area and drag to pan the graph vertically."
            << false << "same" << "pan";
        QTest::newRow("ZoomXY") << 5 << "ZoomXY"
            << "Select a region on the graph to zoom both horizontally and vertically."
            << false << "zoom" << "zoom";
        QTest::newRow("ZoomX") << 6 << "ZoomX"
            << "Select a region on the graph to zoom horizontally." << false << "zoom" << "same";
        QTest::newRow("ZoomY") << 7 << "ZoomY"
            << "Select a region on the graph to zoom vertically." << false << "same" << "zoom";
        // clang-format on
    }
    void trackModes()
    {
        QFETCH(int, mode);
        QFETCH(QString, xChange);
        QFETCH(QString, yChange);
        PlotRig rig(hundredRecords());
        rig.select(mode);
        QTEST(rig.plot->findChild<QComboBox *>("trackModeChoice")->currentText(), "entry");
        QTEST(rig.text("trackModeDescription"), "description");
        QTEST(rig.plot->cursorShown(), "cursor");

        const QCPRange x = rig.x();
        const QCPRange y = rig.y();
        const QPoint from = rig.inside(0.3, 0.3);
        const QPoint to = rig.inside(0.6, 0.7);
        // The graph's own mapping of the two pixels, before anything moves.
        const double x1 = rig.graph()->xAxis->pixelToCoord(from.x());
        const double x2 = rig.graph()->xAxis->pixelToCoord(to.x());
        const double y1 = rig.graph()->yAxis->pixelToCoord(from.y());
        const double y2 = rig.graph()->yAxis->pixelToCoord(to.y());
        rig.drag(from, to);

        const auto check = [](const QString &change, const QCPRange &before, const QCPRange &after,
                              double c1, double c2) {
            if (change == QLatin1String("same"))
                return after == before;
            if (change == QLatin1String("pan")) // the content follows the mouse
                return near(after.lower, before.lower - (c2 - c1)) &&
                       near(after.upper, before.upper - (c2 - c1));
            return near(after.lower, std::min(c1, c2)) && near(after.upper, std::max(c1, c2));
        };
        QVERIFY2(check(xChange, x, rig.x(), x1, x2),
                 qPrintable(QStringLiteral("x %1..%2").arg(rig.x().lower).arg(rig.x().upper)));
        QVERIFY2(check(yChange, y, rig.y(), y1, y2),
                 qPrintable(QStringLiteral("y %1..%2").arg(rig.y().lower).arg(rig.y().upper)));
        // The fields follow the graph.
        QCOMPARE(rig.field("maximumField1")->text(), QString::number(std::lround(rig.x().upper)));
        QCOMPARE(rig.field("minimumField2")->text(), QString::number(rig.y().lower, 'f', 1));
    }

    // A click in a zoom mode is no region: nothing zooms, so no range can become empty.
    void zoomClickChangesNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("ZoomXY-click") << 5 << QPoint(0, 0);
        QTest::newRow("ZoomXY-flat") << 5 << QPoint(80, 1);
        QTest::newRow("ZoomX-narrow") << 6 << QPoint(2, 60);
        QTest::newRow("ZoomY-low") << 7 << QPoint(60, 2);
    }
    void zoomClickChangesNothing()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, offset);
        PlotRig rig(hundredRecords());
        rig.select(mode);
        const QPoint from = rig.inside(0.5, 0.5);
        QTest::mousePress(rig.graph(), Qt::LeftButton, {}, from);
        if (!offset.isNull())
            QTest::mouseMove(rig.graph(), from + offset);
        QTest::mouseRelease(rig.graph(), Qt::LeftButton, {}, from + offset);
        QCOMPARE(rig.x(), QCPRange(1, 100));
        QCOMPARE(rig.y(), QCPRange(68, 140));
    }

    void cursorStartsInTheMiddle_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<QString>("xText");
        QTest::newRow("three-records")
            << QStringList{"085.0", "----", "090.5"} << QPointF(2, 104) << "2";
        QTest::newRow("four-records")
            << QStringList{"85", "86", "87", "88"} << QPointF(2.5, 104) << "3";
    }
    void cursorStartsInTheMiddle()
    {
        QFETCH(QStringList, levels);
        PlotRig rig(rig::records(levels));
        rig.select(1);
        QVERIFY(rig.plot->cursorShown());
        QTEST(rig.plot->cursorPosition(), "start");
        QTEST(rig.text("cursorX"), "xText");
        QCOMPARE(rig.text("cursorY"), QStringLiteral("104.0"));
        // Any other mode hides it.
        rig.select(2);
        QVERIFY(!rig.plot->cursorShown());
    }

    // The middle is that of the axes as they stand when the mode is chosen.
    void cursorStartsInTheMiddleOfAZoom()
    {
        PlotRig rig(hundredRecords());
        rig.type("minimumField1", "20");
        rig.type("maximumField2", "90");
        rig.select(1);
        QCOMPARE(rig.plot->cursorPosition(), QPointF(60, 79));
    }

    // The cursor follows the mouse along the trace: X a record's number, Y its level.
    void cursorDrag()
    {
        PlotRig rig(hundredRecords());
        rig.select(1);
        const QPoint start = rig.pixel(50.5, 104);
        QTest::mousePress(rig.graph(), Qt::LeftButton, {}, start);
        QTest::mouseMove(rig.graph(), rig.pixel(20, 100));
        QCOMPARE(rig.text("cursorX"), QStringLiteral("20"));
        QCOMPARE(rig.text("cursorY"), QStringLiteral("72.0"));
        QTest::mouseMove(rig.graph(), rig.pixel(87, 120));
        QTest::mouseRelease(rig.graph(), Qt::LeftButton, {}, rig.pixel(87, 120));
        QCOMPARE(rig.text("cursorX"), QStringLiteral("87"));
        QCOMPARE(rig.text("cursorY"), QStringLiteral("78.7"));
        QCOMPARE(rig.plot->cursorPosition(), QPointF(87, double(78.7f)));
        // Moving the mouse with no button held drags nothing.
        QTest::mouseMove(rig.graph(), rig.pixel(10, 100));
        QCOMPARE(rig.text("cursorX"), QStringLiteral("87"));
        // Nor do the axes move in this mode.
        QCOMPARE(rig.x(), QCPRange(1, 100));
    }

    void resetScaleAfterAZoom()
    {
        PlotRig rig(hundredRecords());
        rig.select(5);
        rig.drag(rig.inside(0.2, 0.2), rig.inside(0.5, 0.6));
        QVERIFY(rig.x().size() < 99);
        rig.select(2);
        rig.drag(rig.inside(0.5, 0.5), rig.inside(0.2, 0.8));
        rig.click("resetScaleButton");
        QCOMPARE(rig.x(), QCPRange(1, 100));
        QCOMPARE(rig.y(), QCPRange(68, 140));
        QCOMPARE(rig.field("minimumField1")->text(), QStringLiteral("1"));
        QCOMPARE(rig.field("maximumField2")->text(), QStringLiteral("140.0"));
    }

    // Printed and exported, the graph keeps its lines and text: the PDF holds the axis
    // captions and tick labels as text and no raster image, under the file's name and the
    // range shown. The cursor shown on screen stays there.
    void printAndExport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Print Graph") << "printButton";
        QTest::newRow("Export PDF") << "pdfButton";
    }
    void printAndExport()
    {
        QFETCH(QString, button);
        PlotRig rig(hundredRecords());
        rig.plot->setSourceName(QStringLiteral("shift.dat"));
        rig.select(1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plot.pdf"));
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        rig.dialogs.fileNames.enqueue(path);
        rig.click(qPrintable(button));
        const QString text = rig::pdfText(path);
        for (const char *expected :
             {"No.s", "dB", "140", "100", "70", "shift.dat", "records 1 to 100, 68 to 140 dB"})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
        QCOMPARE(rig::pdfImageCount(path), 0);
        QVERIFY(rig.plot->cursorShown());
        // The controls are no part of the image.
        QVERIFY(!text.contains(QStringLiteral("Reset Scale")));
        QVERIFY(!text.contains(QStringLiteral("Graph Range")));
    }
};

DOSEMETER_TEST(TestPlotWindow)
#include "tst_PlotWindow.moc"
