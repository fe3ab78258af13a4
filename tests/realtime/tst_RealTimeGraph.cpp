// The real-time graph window through its controls: what it draws (read back from the
// rendered window), the limit panel, the minimum size and its print.

#include "realtime/RealTimeGraph.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
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
constexpr int kX0 = 60;
constexpr int kBaseline = 505;
constexpr int kTop = 505 - 432;
constexpr int kRowOf94_5 = 346;

// The graph on a meter in dBA mode, its level text set by the test.
struct Rig : MeterRig {
    QString level;
    RealTimeGraph graph{meter, dialogs, [this] { return level; }};

    Rig()
    {
        state.display.DbaMode = true;
        graph.resize(660, 532);
        graph.show();
    }
    void ticks(int count, const QString &text)
    {
        level = text;
        for (int i = 0; i < count; ++i)
            graph.redraw();
    }
    // The black rows of one column of the rendered window, by default from 8 above the
    // plot to 4 below it.
    QList<int> blackRows(int x, int from = kTop - 8, int to = kBaseline + 4)
    {
        const QImage image = graph.grab().toImage();
        QList<int> rows;
        for (int y = from; y <= to; ++y) {
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                rows << y;
        }
        return rows;
    }
};

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestRealTimeGraph : public QObject {
    Q_OBJECT

private slots:
    // The pen's row for a level, in a column the trace has passed (x = 10).
    void traceRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("94.5") << "94.5" << QList<int>{kRowOf94_5};
        QTest::newRow("overload") << " OL " << QList<int>{kTop - 5};
        QTest::newRow("under range") << "----" << QList<int>{kBaseline + 3};
    }
    void traceRow()
    {
        QFETCH(QString, text);
        Rig rig;
        QVERIFY(rig.graph.redrawTimer_->isActive());
        rig.ticks(20, text);
        QTEST(rig.blackRows(kX0 + 10), "rows");
    }

    // The strip ahead of the pen is white where the last sweep's trace stood; a little
    // further on that trace still stands. Covering the window loses none of it.
    void wipeStripIsWhite()
    {
        Rig rig;
        rig.ticks(602, QStringLiteral("94.5")); // one whole sweep
        rig.ticks(11, QStringLiteral("140.0")); // the next one to x = 10
        rig.graph.hide();
        rig.graph.show();
        QCOMPARE(rig.blackRows(kX0 + 12), QList<int>{});
        QCOMPARE(rig.blackRows(kX0 + 20), QList<int>{kRowOf94_5});
        QCOMPARE(rig.blackRows(kX0 + 5), QList<int>{kTop});
    }

    void minimumSizeSnap()
    {
        Rig rig;
        rig.ticks(50, QStringLiteral("94.5"));
        rig.graph.resize(200, 200);
        QCOMPARE(rig.graph.size(), QSize(357, 391));
        QCOMPARE(rig.graph.trace().W(), 270.0);
        QCOMPARE(rig.graph.trace().H(), 291.0);
        // The plot starts clean.
        QCOMPARE(rig.graph.trace().x(), -1.0);
        QCOMPARE(rig.blackRows(kX0 + 30, kTop - 8, 391 - 27 + 4), QList<int>{});
    }

    // "Limit" stops the sweep and shows the panel; OK applies or says what is wrong.
    void limitPanel_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("accepted") << "120" << "70" << "10" << "";
        QTest::newRow("scale") << "140.1" << "68" << "10" << "68 <= dBA <= 140, try again!";
        QTest::newRow("counts") << "140" << "68" << "864001" << "10 <= Counts <= 864000, try again!";
        // clang-format on
    }
    void limitPanel()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        QFETCH(QString, counts);
        QFETCH(QString, message);
        Rig rig;
        rig.graph.findChild<QAction *>(QStringLiteral("limitAction"))->trigger();
        QVERIFY(!rig.graph.redrawTimer_->isActive());
        QVERIFY(rig.graph.limitsPanel_->isVisible());
        QCOMPARE(rig.graph.maximumEdit_->text(), QStringLiteral("140"));
        QCOMPARE(rig.graph.minimumEdit_->text(), QStringLiteral("68"));
        QCOMPARE(rig.graph.countsEdit_->text(), QStringLiteral("600"));
        const std::pair<QLineEdit *, QString> entries[] = {{rig.graph.maximumEdit_, maxText},
                                                           {rig.graph.minimumEdit_, minText},
                                                           {rig.graph.countsEdit_, counts}};
        for (const auto &[box, text] : entries) {
            box->clear();
            QTest::keyClicks(box, text);
        }
        rig.graph.okButton_->click();
        QCOMPARE(rig.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        // A refused entry leaves the panel up and the sweep stopped.
        QCOMPARE(rig.graph.limitsPanel_->isVisible(), !message.isEmpty());
        QCOMPARE(rig.graph.redrawTimer_->isActive(), message.isEmpty());
        if (message.isEmpty()) {
            rig.graph.showLimits();
            QCOMPARE(rig.graph.countsEdit_->text(), QStringLiteral("10"));
            QCOMPARE(rig.graph.trace().texts().at(4).text, QStringLiteral(" 95.0"));
        }
    }

    // The boxes take only the characters of their numbers.
    void keyFilters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("levels") << "maximumEdit"
                                << "1a2-3.4 e5+"
                                << "12-3.45";
        QTest::newRow("counts") << "countsEdit"
                                << "-1.2e3 4"
                                << "1234";
    }
    void keyFilters()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        Rig rig;
        rig.graph.showLimits();
        auto *edit = rig.graph.findChild<QLineEdit *>(box);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "kept");
    }

    // Enter moves from the maximum to the minimum to the counts, and there applies.
    void enterMovesOn()
    {
        Rig rig;
        rig.graph.showLimits();
        QCOMPARE(rig.graph.focusWidget(), rig.graph.maximumEdit_);
        QTest::keyClick(rig.graph.maximumEdit_, Qt::Key_Return);
        QCOMPARE(rig.graph.focusWidget(), rig.graph.minimumEdit_);
        QTest::keyClick(rig.graph.minimumEdit_, Qt::Key_Enter);
        QCOMPARE(rig.graph.focusWidget(), rig.graph.countsEdit_);
        rig.graph.countsEdit_->setText(QStringLiteral("60"));
        QTest::keyClick(rig.graph.countsEdit_, Qt::Key_Return);
        QVERIFY(!rig.graph.limitsPanel_->isVisible());
        QCOMPARE(rig.graph.trace().step(), 10.0);
    }

    // Printed and exported without the toolbar; the texts stay text.
    void printAndPdf_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("print") << "printAction";
        QTest::newRow("pdf") << "pdfAction";
    }
    void printAndPdf()
    {
        QFETCH(QString, command);
        Rig rig;
        rig.ticks(5, QStringLiteral("94.5"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("graph.pdf"));
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        rig.dialogs.fileNames.enqueue(path);
        rig.graph.findChild<QAction *>(command)->trigger();
        QVERIFY(rig.graph.toolbar_->isVisible());
        const QString text = pdfText(path);
        QVERIFY2(text.contains(QStringLiteral("140.0")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("dBA")));
        QVERIFY(text.contains(QStringLiteral("10:00:00")));
        QVERIFY(!text.contains(QStringLiteral("Limit")));
    }

    // A tick outside dBA mode while the print dialog is open closes the window once the
    // print is done, not under it.
    void leavesDbaModeWhilePrinting()
    {
        Rig rig;
        rig.ticks(5, QStringLiteral("94.5"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("graph.pdf"));
        QSignalSpy closed(&rig.graph, &MeterWindow::closed);
        int closedUnderTheDialog = -1;
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            rig.state.display.DbaMode = false;
            rig.graph.redraw();
            closedUnderTheDialog = int(closed.count());
        };
        rig.graph.findChild<QAction *>(QStringLiteral("printAction"))->trigger();
        QCOMPARE(closedUnderTheDialog, 0);
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(pdfText(path).contains(QStringLiteral("140.0")));
    }
};

DOSEMETER_TEST(TestRealTimeGraph)
#include "tst_RealTimeGraph.moc"
