// The real-time graph window through its controls: what it draws (read back from the
// rendered window), the limit panel, the minimum size, printing, and closing.

#include "realtime/RealTimeSLM.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

// 660 x 532: W = 600, H = 432, Y0 = 505, so that 94.5 dB (53/144 of the height) falls on
// the whole pixel row 505 - 159 = 346.
const QSize kClient(660, 532);
constexpr int kX0 = 60;
constexpr int kRowOf94_5 = 346;
constexpr int kTopRow = 505 - 432; // the plot's top edge

// The graph on a meter in dBA mode, its level text set by the test.
struct Rig : MeterRig {
    QString level = QStringLiteral("94.5");
    RealTimeSLM graph{meter, dialogs, [this] { return level; }};

    Rig()
    {
        state.display.DbaMode = true;
        graph.resize(kClient);
        graph.show();
    }
    void ticks(int count, const QString &text)
    {
        level = text;
        for (int i = 0; i < count; ++i)
            graph.Timer1_Timer();
    }
    QImage image() { return graph.grab().toImage(); }
    template <typename T> T *control(const char *name)
    {
        return graph.findChild<T *>(QLatin1String(name));
    }
};

bool black(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// The rows of one column that are black.
QList<int> blackRows(const QImage &image, int x, int fromRow, int toRow)
{
    QList<int> rows;
    for (int y = fromRow; y <= toRow; ++y) {
        if (black(image, x, y))
            rows << y;
    }
    return rows;
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestRealTimeSLM : public QObject {
    Q_OBJECT

private slots:
    // The pen's row for a level, read from the rendered window in a column the trace has
    // passed (x = 10).
    void traceRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("94.5") << "94.5" << QList<int>{kRowOf94_5};
        QTest::newRow("overload, 5 above the top") << " OL " << QList<int>{kTopRow - 5};
        QTest::newRow("under range, 3 below the baseline") << "----" << QList<int>{505 + 3};
    }
    void traceRow()
    {
        QFETCH(QString, text);
        Rig rig;
        QVERIFY(rig.graph.Timer1->isActive());
        rig.ticks(20, text);
        QTEST(blackRows(rig.image(), kX0 + 10, kTopRow - 8, 505 + 4), "rows");
    }

    // The strip ahead of the pen is white: an old sweep's trace is gone there and still
    // stands a little further on.
    void wipeStripIsWhite()
    {
        Rig rig;
        rig.ticks(602, QStringLiteral("94.5")); // one whole sweep at 94.5
        rig.ticks(11, QStringLiteral("140.0")); // the next one to x = 10
        QCOMPARE(rig.graph.trace().x(), 10.0);
        const QImage image = rig.image();
        const QRgb grid = qRgb(0xC0, 0xC0, 0xC0);
        for (int y = kTopRow - 5; y <= 505 + 3; ++y) {
            const QRgb pixel = image.pixel(kX0 + 12, y);
            QVERIFY2(pixel == qRgb(255, 255, 255) || pixel == grid, qPrintable(QString::number(y)));
        }
        QVERIFY(!black(image, kX0 + 12, kRowOf94_5));
        QVERIFY(black(image, kX0 + 20, kRowOf94_5));
        QVERIFY(black(image, kX0 + 5, kTopRow));
    }

    // Covering and uncovering the window does not lose what has been drawn.
    void traceSurvivesHideAndShow()
    {
        Rig rig;
        rig.ticks(50, QStringLiteral("94.5"));
        rig.graph.hide();
        rig.graph.show();
        QCOMPARE(rig.graph.trace().x(), 49.0);
        QVERIFY(black(rig.image(), kX0 + 30, kRowOf94_5));
    }

    void minimumSizeSnap()
    {
        Rig rig;
        rig.ticks(50, QStringLiteral("94.5"));
        rig.graph.resize(200, 200);
        QCOMPARE(rig.graph.size(), QSize(357, 391));
        QCOMPARE(rig.graph.trace().W(), 270.0);
        QCOMPARE(rig.graph.trace().H(), 291.0);
        // The plot is cleared: no trace in it.
        QVERIFY(!rig.graph.trace().previousPoint());
        const QImage image = rig.image();
        for (int x = kX0; x < kX0 + 270; ++x)
            QVERIFY(blackRows(image, x, 73, 364).isEmpty());
    }

    // "Limit" stops the sweep and shows the records across the plot and the scale.
    void limitShowsEntries_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("shown");
        QTest::newRow("default") << ""
                                 << "600";
        QTest::newRow("fewest") << "10"
                                << "10";
        QTest::newRow("most") << "864000"
                              << "864000";
        QTest::newRow("uneven") << "7001"
                                << "7001";
    }
    void limitShowsEntries()
    {
        QFETCH(QString, counts);
        Rig rig;
        if (!counts.isEmpty()) {
            rig.graph.Limit_Click();
            rig.graph.TxtCounts->setText(counts);
            rig.graph.CmdOK->click();
        }
        rig.control<QAction>("Limit")->trigger();
        QVERIFY(!rig.graph.Timer1->isActive());
        QVERIFY(rig.graph.PMessage->isVisible());
        QTEST(rig.graph.TxtCounts->text(), "shown");
        QCOMPARE(rig.graph.TxtMax->text(), QStringLiteral("140"));
        QCOMPARE(rig.graph.TxtMin->text(), QStringLiteral("68"));
    }

    void limitMessages_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("messages");
        const QString scale = QStringLiteral("68 <= dBA <= 140, try again!");
        const QString records = QStringLiteral("10 <= Counts <= 864000, try again!");
        QTest::newRow("accepted") << "140"
                                  << "68"
                                  << "10" << QStringList{};
        QTest::newRow("max 140.1") << "140.1"
                                   << "68"
                                   << "10" << QStringList{scale};
        QTest::newRow("min 67.9") << "140"
                                  << "67.9"
                                  << "10" << QStringList{scale};
        QTest::newRow("max = min") << "90"
                                   << "90"
                                   << "10" << QStringList{scale};
        QTest::newRow("counts 9") << "140"
                                  << "68"
                                  << "9" << QStringList{records};
        QTest::newRow("counts 864001") << "140"
                                       << "68"
                                       << "864001" << QStringList{records};
    }
    void limitMessages()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        QFETCH(QString, counts);
        QFETCH(QStringList, messages);
        Rig rig;
        rig.graph.Limit_Click();
        for (QLineEdit *box : {rig.graph.TxtMax, rig.graph.TxtMin, rig.graph.TxtCounts})
            box->clear();
        QTest::keyClicks(rig.graph.TxtMax, maxText);
        QTest::keyClicks(rig.graph.TxtMin, minText);
        QTest::keyClicks(rig.graph.TxtCounts, counts);
        rig.graph.CmdOK->click();
        QCOMPARE(rig.dialogs.texts(), messages);
        for (const ScriptedDialogs::Shown &shown : rig.dialogs.shown)
            QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        // A refused entry leaves the panel up and the sweep stopped.
        QCOMPARE(rig.graph.PMessage->isVisible(), !messages.isEmpty());
        QCOMPARE(rig.graph.Timer1->isActive(), messages.isEmpty());
    }

    // New limits lay the plot out again: the scale's labels and the records across.
    void limitsApplied()
    {
        Rig rig;
        rig.ticks(30, QStringLiteral("94.5"));
        rig.graph.Limit_Click();
        rig.graph.TxtMax->setText(QStringLiteral("100"));
        rig.graph.TxtMin->setText(QStringLiteral("80"));
        rig.graph.TxtCounts->setText(QStringLiteral("300"));
        rig.graph.CmdOK->click();
        QCOMPARE(rig.graph.trace().step(), 2.0);
        QCOMPARE(rig.graph.trace().texts().at(4).text, QStringLiteral(" 90.0"));
        rig.ticks(3, QStringLiteral("90.0"));
        // Half way up a 432 high plot: row 505 - 216.
        QCOMPARE(blackRows(rig.image(), kX0 + 3, kTopRow, 505), QList<int>{289});
    }

    // The boxes take only the characters of their numbers.
    void keyFilters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("max") << "TxtMax"
                             << "1a2-3.4 e5+"
                             << "12-3.45";
        QTest::newRow("min") << "TxtMin"
                             << "x68,5."
                             << "685.";
        QTest::newRow("counts") << "TxtCounts"
                                << "-1.2e3 4"
                                << "1234";
    }
    void keyFilters()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        Rig rig;
        rig.graph.Limit_Click();
        auto *edit = rig.control<QLineEdit>(qPrintable(box));
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "kept");
    }

    // Enter moves from the maximum to the minimum to the counts, and there applies.
    void enterMovesOn()
    {
        Rig rig;
        rig.graph.Limit_Click();
        QCOMPARE(rig.graph.focusWidget(), rig.graph.TxtMax);
        QTest::keyClick(rig.graph.TxtMax, Qt::Key_Return);
        QCOMPARE(rig.graph.focusWidget(), rig.graph.TxtMin);
        QTest::keyClick(rig.graph.TxtMin, Qt::Key_Enter);
        QCOMPARE(rig.graph.focusWidget(), rig.graph.TxtCounts);
        rig.graph.TxtCounts->setText(QStringLiteral("60"));
        QTest::keyClick(rig.graph.TxtCounts, Qt::Key_Return);
        QVERIFY(!rig.graph.PMessage->isVisible());
        QCOMPARE(rig.graph.trace().step(), 10.0);
    }

    // Printed and exported without the toolbar; the texts stay text.
    void printAndPdf_data()
    {
        QTest::addColumn<bool>("print");
        QTest::newRow("print") << true;
        QTest::newRow("pdf") << false;
    }
    void printAndPdf()
    {
        QFETCH(bool, print);
        Rig rig;
        rig.ticks(5, QStringLiteral("94.5"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("graph.pdf"));
        if (print) {
            rig.dialogs.preparePrinter = [&](QPrinter &printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(path);
            };
            rig.control<QAction>("Print")->trigger();
        } else {
            rig.dialogs.fileNames.enqueue(path);
            rig.control<QAction>("Pdf")->trigger();
        }
        QVERIFY(rig.graph.Toolbar1->isVisible());
        const QString text = pdfText(path);
        QVERIFY2(text.contains(QStringLiteral("140.0")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("dBA")));
        QVERIFY(text.contains(QStringLiteral("10:00:00")));
        QVERIFY(!text.contains(QStringLiteral("Limit")));
    }

    void cancelledPrintPrintsNothing()
    {
        Rig rig;
        rig.dialogs.printAnswers.enqueue(false);
        bool prepared = false;
        rig.dialogs.preparePrinter = [&](QPrinter &) { prepared = true; };
        rig.graph.Print_Click();
        QVERIFY(!prepared);
        QVERIFY(rig.graph.Toolbar1->isVisible());
        QVERIFY(rig.graph.Timer1->isActive());
    }

    // The graph closes at the first tick outside dBA mode, and only then.
    void closesOutsideDbaMode()
    {
        Rig rig;
        QSignalSpy closed(&rig.graph, &MeterWindow::closed);
        rig.ticks(3, QStringLiteral("94.5"));
        QCOMPARE(closed.count(), 0);
        rig.state.display.DbaMode = false;
        rig.graph.Timer1_Timer();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!rig.graph.isVisible());
        QVERIFY(!rig.graph.Timer1->isActive());
    }
};

DOSEMETER_TEST(TestRealTimeSLM)
#include "tst_RealTimeSLM.moc"
