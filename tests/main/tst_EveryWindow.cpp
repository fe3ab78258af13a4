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
    QTest::newRow("Memory") << "CmdMemory" << "Memory" << QStringList{
        "TxtIDCode", "TxtInterval", "LblMemory", "LblRemaining", "G1", "Grid1", "G2", "Grid2",
        "T1", "T2", "T3", "CmdSave", "CmdPrint", "CmdPreview"};
    QTest::newRow("BankWindow") << "CmdEvent" << "BankWindow" << QStringList{
        "MnuSave", "MnuOpen", "MnuBank", "MnuAll", "MnuEn1", "MnuEn5", "MnuPrint", "Toolbar1",
        "PicBank", "Bk0", "Bk5", "CmdOK", "CmdCancel", "Grid", "TxtName", "TxtAddress",
        "TxtCompany", "SSPercent"};
    QTest::newRow("ControlPanel") << "MnuPanel" << "ControlPanel" << QStringList{
        "CmdMode", "CmdEvent", "CmdReset", "CmdTime", "CmdRun", "CmdPause", "CmdLock", "Timer1",
        "Lcd"};
    QTest::newRow("Average") << "CmdAvg" << "Average" << QStringList{
        "Toolbar1", "Save", "Open", "Start", "Pause", "Stop", "Interval", "Print", "TxtJob",
        "TxtName", "TxtID", "SLbl1", "SLbl12", "LblStartDate", "LblStartTime", "LblIntv",
        "LblCriterion", "LblExchange", "LblRunTime", "LblMax", "LblPeak", "LblLaeq", "CWG", "Grid",
        "ChkLaeq", "Timer1"};
    QTest::newRow("RealTimeGraph") << "CmdGraph" << "RealTimeGraph" << QStringList{
        "Toolbar1", "Limit", "Print", "Pdf", "PMessage", "TxtCounts", "TxtMin", "TxtMax", "CmdOK",
        "Timer1"};
    QTest::newRow("Analog") << "MnuAnalog" << "Analog" << QStringList{"TopMeter", "Timer1"};
    QTest::newRow("Digital") << "MnuDigital" << "Digital" << QStringList{
        "LblValue", "Label1", "Timer1"};
    QTest::newRow("Setup") << "MnuSetmode" << "Setup" << QStringList{
        "responseButton0", "responseButton1", "criterionButton0", "criterionButton1", "criterionButton2", "criterionButton3", "exchangeRateButton0", "exchangeRateButton1", "exchangeRateButton2",
        "exchangeRateButton3", "Combo", "clockField1", "clockField2", "clockField3", "clockField4", "clockField5",
        "CmdOK", "PicSet", "Bar", "LblStep", "Timer1"};
    QTest::newRow("Standard") << "MnuOnes" << "Standard" << QStringList{"Grid1", "LblStep"};
    QTest::newRow("LibraryWindow") << "measurementsAction" << "LibraryWindow" << QStringList{
        "workerFilter", "siteFilter", "jobFilter", "kindFilter", "fromCheck", "fromDate", "toCheck",
        "toDate", "table", "summaryLabel", "importButton", "openButton", "assessButton",
        "deleteButton"};
    QTest::newRow("List") << "cmdList" << "List" << QStringList{
        "Toolbar1", "Save", "Print", "Preview", "Grid", "T1", "T2", "T3"};
    QTest::newRow("SavedFileWindow") << "MnuView" << "SavedFileWindow" << QStringList{
        "Toolbar1", "Plot", "Ln", "Statistics", "Print", "Preview", "PicResolution", "SSFrame1",
        "Cmd01dB", "Cmd1dB", "Grid", "T1", "T2", "T3"};
    QTest::newRow("Plot") << "MnuView FileList.Plot" << "Plot" << QStringList{
        "FrmGraphic", "SSFrame4", "AxisMin1", "AxisMax1", "AxisMin2", "AxisMax2", "SSFrame3",
        "Combo1", "txtDescription", "SSFrame2", "XPosition", "YPosition", "CmdReset",
        "CmdPrint", "CmdPreview", "CmdPdf", "CWGraph1"};
    QTest::newRow("Histogram") << "MnuView FileList.Ln FileList.Cmd01dB" << "Histogram"
        << QStringList{"Toolbar1", "Limit", "Print", "Preview", "PDF", "Picture1", "SSFrame4",
        "AxisMin1", "AxisMax1", "AxisMin2", "AxisMax2", "OKOK", "CWG"};
    QTest::newRow("Histogram1") << "MnuView FileList.Ln FileList.Cmd1dB" << "Histogram1"
        << QStringList{"Toolbar1", "Picture1", "SSFrame4", "AxisMin1", "AxisMax2", "OKOK", "CWG"};
    QTest::newRow("Statistics") << "MnuView FileList.Statistics" << "Statistics" << QStringList{
        "CboCriterion", "CboExchangeRate", "TxtThreshold", "LblRecords", "LblLaeq", "LblL90",
        "LblDose", "LblTwa", "CmdCopy", "CmdPrint", "CmdPreview", "CmdPdf"};
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
};

DOSEMETER_TEST(TestEveryWindow)
#include "tst_EveryWindow.moc"
