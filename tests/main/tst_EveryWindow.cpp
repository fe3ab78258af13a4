// Every window the main window opens, through the command that opens it: the window builds,
// its controls carry their names (controls without visible text also an accessible name),
// and it closes cleanly in the middle of a wait on the meter. A new window joins with one
// row in windows().

#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

void windows()
{
    // The button or menu entry of the main window; "Window.Control" steps go on in a window
    // the steps before opened.
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("controls");
    // clang-format off
    QTest::newRow("LoggerWindow") << "memoryButton" << "LoggerWindow" << QStringList{
        "idCodeEdit", "intervalEdit", "memoryValue", "remainingValue", "setsPanel", "setsGrid",
        "detailsPanel", "detailsGrid", "note1", "note2", "note3", "saveButton", "printButton",
        "previewButton"};
    QTest::newRow("BankWindow") << "eventButton" << "BankWindow" << QStringList{
        "saveAction", "openAction", "bankMenu", "allBanksAction", "bankAction1", "bankAction5",
        "printMenu", "toolbar", "bankChoicePanel", "bankButton0", "bankButton5", "okButton",
        "cancelButton", "grid", "nameEdit", "addressEdit", "companyEdit", "progress"};
    QTest::newRow("ControlPanel") << "controlPanelAction" << "ControlPanel" << QStringList{
        "modeKey", "eventKey", "resetKey", "clockKey", "runKey", "pauseKey", "lockAction",
        "redrawTimer", "lcd"};
    QTest::newRow("AverageWindow") << "averageButton" << "AverageWindow" << QStringList{
        "toolbar", "Save", "Open", "Start", "Pause", "Stop", "Interval", "Print", "jobEdit",
        "nameEdit", "idEdit", "figureCaption1", "figureCaption12", "startDateValue",
        "startTimeValue", "intervalValue", "criterionValue", "exchangeRateValue", "runTimeValue",
        "splMaxValue", "peakValue", "laeqValue", "chart", "grid", "laeqColumnBox",
        "averagingTimer"};
    QTest::newRow("RealTimeGraph") << "graphButton" << "RealTimeGraph" << QStringList{
        "toolbar", "limitAction", "printAction", "pdfAction", "limitsPanel", "countsEdit",
        "minimumEdit", "maximumEdit", "okButton", "redrawTimer"};
    QTest::newRow("AnalogWindow") << "analogAction" << "AnalogWindow" << QStringList{
        "gauge", "redrawTimer"};
    QTest::newRow("DigitalWindow") << "digitalAction" << "DigitalWindow" << QStringList{
        "levelValue", "unitLabel", "redrawTimer"};
    QTest::newRow("SetupWindow") << "setModeAction" << "SetupWindow" << QStringList{
        "responseButton0", "responseButton1", "criterionButton0", "criterionButton1",
        "criterionButton2", "criterionButton3", "exchangeRateButton0", "exchangeRateButton1",
        "exchangeRateButton2", "exchangeRateButton3", "thresholdChoice", "clockField1",
        "clockField2", "clockField3", "clockField4", "clockField5", "okButton", "progressPanel",
        "progressBar", "stepLabel", "progressTimer"};
    QTest::newRow("StandardsWindow") << "standardsAction" << "StandardsWindow" << QStringList{
        "table", "stepLabel"};
    QTest::newRow("LibraryWindow") << "measurementsAction" << "LibraryWindow" << QStringList{
        "workerFilter", "siteFilter", "jobFilter", "kindFilter", "fromCheck", "fromDate", "toCheck",
        "toDate", "table", "summaryLabel", "importButton", "openButton", "assessButton",
        "deleteButton"};
    QTest::newRow("RecordListWindow") << "listButton" << "RecordListWindow" << QStringList{
        "toolbar", "Save", "Print", "Preview", "grid", "note1", "note2", "note3"};
    QTest::newRow("SavedFileWindow") << "viewFileAction" << "SavedFileWindow" << QStringList{
        "toolbar", "Plot", "Ln", "Statistics", "Assessment", "Print", "Preview", "resolutionPanel",
        "resolutionFrame", "tenthDbButton", "wholeDbButton", "grid", "note1", "note2", "note3"};
    QTest::newRow("PlotWindow") << "viewFileAction SavedFileWindow.Plot" << "PlotWindow"
        << QStringList{"graphFrame", "rangeFrame", "minimumField1", "maximumField1",
        "minimumField2", "maximumField2", "trackFrame", "trackModeChoice",
        "trackModeDescription", "buttonFrame", "cursorX", "cursorY", "resetScaleButton",
        "printButton", "previewButton", "pdfButton", "graph"};
    QTest::newRow("TenthDbHistogram")
        << "viewFileAction SavedFileWindow.Ln SavedFileWindow.tenthDbButton" << "TenthDbHistogram"
        << QStringList{"toolbar", "Limit", "Print", "Preview", "PDF", "limitsPanel", "rangeFrame",
        "minimumField1", "maximumField1", "minimumField2", "maximumField2", "okButton", "graph"};
    QTest::newRow("WholeDbHistogram")
        << "viewFileAction SavedFileWindow.Ln SavedFileWindow.wholeDbButton" << "WholeDbHistogram"
        << QStringList{"toolbar", "limitsPanel", "rangeFrame", "minimumField1", "maximumField2",
        "okButton", "graph"};
    QTest::newRow("StatisticsWindow") << "viewFileAction SavedFileWindow.Statistics"
        << "StatisticsWindow" << QStringList{"criterionChoice", "exchangeRateChoice",
        "thresholdField", "recordsValue", "laeqValue", "l90Value", "doseValue", "twaValue",
        "copyButton", "printButton", "previewButton", "pdfButton"};
    QTest::newRow("AssessmentWindow") << "viewFileAction SavedFileWindow.Assessment"
        << "AssessmentWindow" << QStringList{"tabs", "shiftField", "criteriaTable",
        "euStatusLabel", "lex8hValue", "levelPlot", "firstRecordField", "lastRecordField",
        "reasonEdit", "excludeButton", "spansTable", "strategyCombo", "instrumentCombo",
        "samplesTable", "tasksTable", "copyButton"};
    // clang-format on
}

// Windows that show a file ("View File") are given one by the file dialog.
void queueFile(ScriptedDialogs &dialogs)
{
    dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("recording-form.dat")));
}

void trigger(MainWindow &panel, const QString &path)
{
    for (const QString &step : path.split(QLatin1Char(' '))) {
        QObject *scope = &panel;
        QString name = step;
        if (step.contains(QLatin1Char('.'))) {
            scope = panel.windows().window(step.section(QLatin1Char('.'), 0, 0));
            name = step.section(QLatin1Char('.'), 1);
            QVERIFY2(scope, qPrintable(step));
        }
        QObject *control = scope->findChild<QObject *>(name);
        QVERIFY2(control, qPrintable(step));
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QVERIFY(button->isEnabled());
            button->click();
        } else if (auto *action = qobject_cast<QAction *>(control)) {
            QVERIFY(action->isEnabled());
            action->trigger();
        }
    }
}

// Runs what the event loop has queued, deferred deletes included.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

} // namespace

class TestEveryWindow : public QObject {
    Q_OBJECT

private slots:
    void builds_data() { windows(); }
    void builds()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        QFETCH(QStringList, controls);
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        queueFile(rig.dialogs);
        ::trigger(rig.panel, trigger);
        QWidget *opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QVERIFY(opened->isVisible());
        QVERIFY(!opened->windowTitle().isEmpty());
        // Screen readers announce a window by its accessible name: the caption, or none (then
        // the caption is read).
        if (!opened->accessibleName().isEmpty())
            QCOMPARE(opened->accessibleName(), opened->windowTitle());
        // DOSEMETER_SCREENSHOTS=DIR saves every window as it opens, to look at.
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
            opened->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") + QLatin1Char('/') +
                                window + QStringLiteral(".png"));
        for (const QString &name : controls)
            QVERIFY2(opened->findChild<QObject *>(name), qPrintable(name));
        const QList<QWidget *> unlabelled = opened->findChildren<QWidget *>();
        for (QWidget *control : unlabelled) {
            const bool view =
                qobject_cast<QAbstractItemView *>(control) && !qobject_cast<QHeaderView *>(control);
            const bool field = qobject_cast<QLineEdit *>(control) ||
                               qobject_cast<QAbstractSpinBox *>(control) ||
                               qobject_cast<QComboBox *>(control);
            if (field || view)
                QVERIFY2(
                    !control->accessibleName().isEmpty(),
                    qPrintable(QStringLiteral("%1 %2").arg(
                        QLatin1String(control->metaObject()->className()), control->objectName())));
        }
    }

    void closesInTheMiddleOfAWait_data() { windows(); }
    void closesInTheMiddleOfAWait()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        MainWindowRig rig(VirtualMeter::demoMemory(QDateTime(QDate(2009, 11, 30), QTime(10, 0))));
        rig.load();
        rig.tick(90.0);
        // The window is closed in the first wait once it exists.
        QPointer<QWidget> opened;
        rig.clock.duringSleep = [&] {
            if (opened)
                return;
            opened = rig.panel.windows().window(window);
            if (opened)
                opened->close();
        };
        queueFile(rig.dialogs);
        ::trigger(rig.panel, trigger);
        rig.meter.wait(1.0); // a wait of the poll, for windows whose opening does not wait
        rig.clock.duringSleep = nullptr;
        settle();
        QVERIFY(opened.isNull());
        QVERIFY(!rig.panel.windows().window(window));
        const WindowFlags &flags = rig.app.windows;
        QVERIFY(!flags.ListWindowOpen && !flags.GraphWindowOpen && !flags.AnalogWindowOpen &&
                !flags.DigitalWindowOpen && !flags.AverageWindowOpen);
        QVERIFY(!rig.app.logger.DownloadBusy);
        for (const ScriptedDialogs::Shown &shown : std::as_const(rig.dialogs.shown))
            QCOMPARE(shown.kind, QStringLiteral("open"));
        // The command opens its window again afterwards.
        queueFile(rig.dialogs);
        ::trigger(rig.panel, trigger);
        QVERIFY(rig.panel.windows().window(window));
    }

    // Esc closes a window, as it closes a dialog, wherever the focus is in it.
    void escapeCloses_data() { windows(); }
    void escapeCloses()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        queueFile(rig.dialogs);
        ::trigger(rig.panel, trigger);
        QPointer<QWidget> opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QVERIFY(activate(opened));
        QTest::keyClick(focusIn(opened), Qt::Key_Escape);
        settle();
        QVERIFY(opened.isNull() || !opened->isVisible());
        QVERIFY(!rig.panel.windows().window(window));
    }

    // The commands the windows' menus, toolbars and buttons offer answer the desktop's keys.
    void commandKeys_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QKeySequence>("key");
        // What the key shows: a dialog of the Dialogs seam ("print", "save", "open"), or a
        // window of the window by its name.
        QTest::addColumn<QString>("shows");
        QTest::newRow("assessment-print-opens-the-report")
            << "viewFileAction SavedFileWindow.Assessment"
            << "AssessmentWindow" << QKeySequence(QKeySequence::Print) << "ShiftReportPreview";
        QTest::newRow("saved-file-print")
            << "viewFileAction"
            << "SavedFileWindow" << QKeySequence(QKeySequence::Print) << "print";
        QTest::newRow("statistics-print")
            << "viewFileAction SavedFileWindow.Statistics"
            << "StatisticsWindow" << QKeySequence(QKeySequence::Print) << "print";
        QTest::newRow("plot-print") << "viewFileAction SavedFileWindow.Plot"
                                    << "PlotWindow" << QKeySequence(QKeySequence::Print) << "print";
        QTest::newRow("event-save") << "eventButton"
                                    << "BankWindow" << QKeySequence(QKeySequence::Save) << "save";
        QTest::newRow("event-open") << "eventButton"
                                    << "BankWindow" << QKeySequence(QKeySequence::Open) << "open";
        QTest::newRow("average-open")
            << "averageButton"
            << "AverageWindow" << QKeySequence(QKeySequence::Open) << "open";
    }
    void commandKeys()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        QFETCH(QKeySequence, key);
        QFETCH(QString, shows);
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        queueFile(rig.dialogs);
        ::trigger(rig.panel, trigger);
        QWidget *opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QVERIFY(activate(opened));
        // Every dialog the key brings is cancelled: nothing is written anywhere.
        rig.dialogs.shown.clear();
        rig.dialogs.fileNames.clear();
        rig.dialogs.printAnswers.enqueue(false);
        QTest::keySequence(focusIn(opened), key);
        settle();
        if (shows.front().isUpper()) {
            auto *shown = opened->findChild<QWidget *>(shows);
            QVERIFY2(shown && shown->isVisible(), qPrintable(shows));
            shown->close();
        } else {
            QCOMPARE(rig.dialogs.shown.size(), 1);
            QCOMPARE(rig.dialogs.shown.first().kind, shows);
        }
    }

private:
    // The window active, as a click on it makes it: keys of a window act only then.
    static bool activate(QWidget *window)
    {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    // Where a key typed in the window goes.
    static QWidget *focusIn(QWidget *window)
    {
        QWidget *focus = window->focusWidget();
        return focus ? focus : window;
    }
};

DOSEMETER_TEST(TestEveryWindow)
#include "tst_EveryWindow.moc"
