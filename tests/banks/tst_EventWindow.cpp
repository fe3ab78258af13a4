#include "BankRig.h"

#include "banks/FrmEvent.h"
#include "main/SLmPanel.h"
#include "ui/ProgressPanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using bankrig::bytes;

namespace {

// The banks of the command line's end-to-end test (tests/golden/cli-banks.bnk): E1 whose
// time copy holds a later stop time, E2 with a peak whose copy belongs to an older run,
// E4 unused with a stale copy, E3 and E5 unused.
void prepare(BankRig &rig)
{
    rig.setBank(1, bankrig::usedBank());
    rig.setCopy(1, bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
    rig.setBank(2, bytes({0xE3, 0x12, 0x07, 0x22, 0x00, 0x06, 0x10, 8, 10, 0x00,
                          0xC8, 1,    0,    0,    0,    3,    20,   1, 5,  85}));
    rig.setCopy(2, bytes({0x11, 0x30, 0x22, 0x00, 0x06, 0x00}));
    rig.setBank(4, bankrig::unusedBank());
    rig.setCopy(4, bytes({0x11, 0x05, 0x09, 0x00, 0x10, 0x00}));
}

const QStringList kBank1{" Used",  " 85dB",  " 80dB",  " 5dB",  " Slow", " No", " No", " 12-06",
                         " 07:30", " 16:45", " 08:00", "  100", " 85.0", "",    ""};
const QStringList kBank2{" Used",  " 90dB",  " 85dB",  " 3dB", " Slow", " Yes",   " Yes",  " 12-07",
                         " 22:00", " 06:10", " 08:10", " 200", " 93.0", " 03:20", " 01:05"};
const QStringList kNothing(15, QString());
const QStringList kUnused = QStringList{" Unused"} + QStringList(14, QString());

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text pdftotext finds in a PDF.
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct EventRig : BankRig {
    QPointer<FrmEvent> window;

    EventRig()
    {
        prepare(*this);
        reopen(meter);
    }
    ~EventRig() { delete window.data(); }

    // A new window on `on` in place of the old one.
    void reopen(Meter &on)
    {
        delete window.data();
        window = new FrmEvent(on, banks, dialogs);
        window->show();
    }
    template <class T> T *find(const char *name) const
    {
        return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    QTableWidget *grid() const { return find<QTableWidget>("Grid"); }
    // Cell (row, column) as the grid on screen shows it; row 0 is the heading row.
    QString cell(int row, int column) const
    {
        if (row == 0)
            return grid()->horizontalHeaderItem(column)->text();
        const QTableWidgetItem *item = grid()->item(row - 1, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QStringList column(int n) const
    {
        QStringList texts;
        for (int r = 1; r <= 15; ++r)
            texts << cell(r, n);
        return texts;
    }
    QStringList rowOne() const
    {
        QStringList texts;
        for (int n = 1; n <= 5; ++n)
            texts << cell(1, n);
        return texts;
    }
    // A button of the toolbar, clicked.
    void toolbar(const QString &key) const
    {
        auto *bar = find<QToolBar>("Toolbar1");
        auto *action = window->findChild<QAction *>(key);
        QVERIFY(action);
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
        QVERIFY(button);
        button->click();
    }
    void readAll() const
    {
        find<QRadioButton>("Bk0")->click();
        find<QPushButton>("CmdOK")->click();
    }
    void clickCell(int row, int column) const
    {
        QTableWidget *g = grid();
        const QRect rect = g->visualItemRect(g->item(row - 1, column));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickHeading(int column) const
    {
        QHeaderView *header = grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
};

// Runs a download command of the window: "ok-all", "ok-bank-N", "menu-all", "menu-bank-N",
// "cell-bank-N" (a click in row 5 of column N), "heading-bank-N", "cell-captions".
void run(const EventRig &rig, const QString &command)
{
    const int bank = command.section('-', -1).toInt();
    if (command == "ok-all") {
        rig.readAll();
    } else if (command.startsWith("ok-bank-")) {
        rig.find<QRadioButton>(qPrintable(QStringLiteral("Bk%1").arg(bank)))->click();
        rig.find<QPushButton>("CmdOK")->click();
    } else if (command == "menu-all") {
        rig.find<QAction>("MnuAll")->trigger();
    } else if (command.startsWith("menu-bank-")) {
        rig.find<QAction>(qPrintable(QStringLiteral("MnuEn%1").arg(bank)))->trigger();
    } else if (command.startsWith("cell-bank-")) {
        rig.clickCell(5, bank);
    } else if (command.startsWith("heading-bank-")) {
        rig.clickHeading(bank);
    } else if (command == "cell-captions") {
        rig.clickCell(5, 0);
    } else {
        QFAIL(qPrintable(command));
    }
}

} // namespace

class TestEventWindow : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsLayout()
    {
        EventRig rig;
        QCOMPARE(rig.window->windowTitle(), "Event");
        QCOMPARE(rig.cell(0, 1), " E1");
        QCOMPARE(rig.cell(0, 5), " E5");
        QCOMPARE(rig.cell(1, 0), "Used or not");
        QCOMPARE(rig.cell(15, 0), "PEAK DURATION(mm:ss)");
        QCOMPARE(rig.grid()->rowCount(), 15);
        QVERIFY(rig.find<QFrame>("PicBank")->isVisible());
        QVERIFY(!rig.find<ProgressPanel>("SSPercent")->isVisible());
        QVERIFY(rig.vm.received().isEmpty());
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS")) {
            rig.readAll();
            rig.find<QLineEdit>("TxtName")->setText("Ana Souza");
            rig.find<QLineEdit>("TxtAddress")->setText("Rua das Flores 12");
            rig.find<QLineEdit>("TxtCompany")->setText("Metalurgica Uniao");
            rig.window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") + "/event.png");
            rig.toolbar(FrmEvent::kBankKey);
            rig.window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") +
                                    "/event-bank.png");
        }
    }

    void readsShowTheBanks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("rowOne");
        QTest::addColumn<QStringList>("bank1");
        QTest::addColumn<QStringList>("bank2");
        QTest::addColumn<bool>("choiceShown"); // PicBank after the command
        const QStringList all{" Used", " Used", " Unused", " Unused", " Unused"};
        const QStringList second{"", " Used", "", "", ""};
        QTest::newRow("ok-all") << "ok-all" << all << kBank1 << kBank2 << false;
        QTest::newRow("menu-all") << "menu-all" << all << kBank1 << kBank2 << true;
        QTest::newRow("ok-bank-2") << "ok-bank-2" << second << kNothing << kBank2 << false;
        QTest::newRow("menu-bank-2") << "menu-bank-2" << second << kNothing << kBank2 << true;
        QTest::newRow("cell-bank-2") << "cell-bank-2" << second << kNothing << kBank2 << false;
        QTest::newRow("heading-bank-2")
            << "heading-bank-2" << second << kNothing << kBank2 << false;
        QTest::newRow("cell-captions")
            << "cell-captions" << QStringList(5, QString()) << kNothing << kNothing << false;
    }
    void readsShowTheBanks()
    {
        QFETCH(QString, command);
        EventRig rig;
        run(rig, command);
        QTEST(rig.rowOne(), "rowOne");
        QTEST(rig.column(1), "bank1");
        QTEST(rig.column(2), "bank2");
        QTEST(rig.find<QFrame>("PicBank")->isVisible(), "choiceShown");
        QVERIFY(!rig.find<ProgressPanel>("SSPercent")->isVisible());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.poll.pollEnabled());
        QVERIFY(rig.find<QAction>("MnuAll")->isEnabled());
        QVERIFY(rig.find<QPushButton>("CmdOK")->isEnabled());
        if (command == "cell-captions")
            QVERIFY(rig.vm.received().isEmpty());
    }

    // The bank the meter records into is not read: its column names the run state.
    void recordingBank_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<QString>("word");
        QTest::newRow("ok-all-running") << "ok-all" << true << false << "Running";
        QTest::newRow("ok-all-paused") << "ok-all" << true << true << "Pause";
        QTest::newRow("menu-all-running") << "menu-all" << true << false << "RUN";
        QTest::newRow("menu-all-paused") << "menu-all" << true << true << "PAUSE";
        QTest::newRow("ok-all-paused-not-running") << "ok-all" << false << true << " Unused";
        QTest::newRow("ok-bank-3-paused-only") << "ok-bank-3" << false << true << "Pause";
        QTest::newRow("menu-bank-3-running") << "menu-bank-3" << true << false << "Running";
        QTest::newRow("cell-bank-3-running") << "cell-bank-3" << true << false << " Unused";
    }
    void recordingBank()
    {
        QFETCH(QString, command);
        EventRig rig;
        rig.state.display.EventBank = 3;
        QFETCH(bool, running);
        QFETCH(bool, paused);
        rig.state.display.Running = running;
        rig.state.display.Paused = paused;
        run(rig, command);
        QTEST(rig.cell(1, 3), "word");
        QCOMPARE(rig.column(3).mid(1), QStringList(14, QString()));
    }

    void menusWaitForTheSettingsRefresh_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("read");
        QTest::newRow("menu-all") << "menu-all" << false;
        QTest::newRow("menu-bank-1") << "menu-bank-1" << false;
        QTest::newRow("ok-all") << "ok-all" << true;
        QTest::newRow("cell-bank-1") << "cell-bank-1" << true;
    }
    void menusWaitForTheSettingsRefresh()
    {
        QFETCH(QString, command);
        QFETCH(bool, read);
        EventRig rig;
        rig.state.link.RefreshBusy = true;
        run(rig, command);
        QCOMPARE(!rig.vm.received().isEmpty(), read);
        QCOMPARE(rig.cell(1, 1), read ? " Used" : "");
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void failedReadMarksItsBank()
    {
        EventRig rig;
        DeafRegisterLink deaf(rig.link);
        Meter meter(deaf, rig.clock, rig.state);
        meter.setPollControl(&rig.poll);
        meter.setRefreshTimeout(2.0);
        rig.reopen(meter);
        deaf.deaf.insert(0x50 + 10, 1000); // bank 2's dose low byte, for good
        rig.readAll();
        QCOMPARE(rig.column(2), QStringList{" Read failed"} + QStringList(14, QString()));
        QCOMPARE(rig.column(1), kBank1);
        QCOMPARE(rig.rowOne().mid(2), (QStringList{" Unused", " Unused", " Unused"}));
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{"Bank E2 could not be read: the meter did not answer."});
        QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Warning);
        QVERIFY(rig.poll.pollEnabled());
    }

    // Each save writes its layout and marks the empty cells as the file holds them; either
    // Open reads a file of either layout.
    void saveAndOpen_data()
    {
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("emptyCell"); // empty cells after the save and the open
        QTest::addColumn<QString>("firstCell"); // row 2 of E1 after the open
        QTest::newRow("menu-menu") << "menu"
                                   << "menu"
                                   << "----"
                                   << "85dB";
        QTest::newRow("toolbar-toolbar") << "toolbar"
                                         << "toolbar"
                                         << " "
                                         << " 85dB";
        QTest::newRow("menu-toolbar") << "menu"
                                      << "toolbar"
                                      << "----"
                                      << "85dB";
        QTest::newRow("toolbar-menu") << "toolbar"
                                      << "menu"
                                      << " "
                                      << " 85dB";
    }
    void saveAndOpen()
    {
        QFETCH(QString, save);
        QFETCH(QString, open);
        QFETCH(QString, emptyCell);
        const bool menuSave = save == "menu";
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.bnk");
        EventRig rig;
        rig.readAll();
        QTest::keyClicks(rig.find<QLineEdit>("TxtName"), "Ana Souza");
        QTest::keyClicks(rig.find<QLineEdit>("TxtAddress"), "Rua das Flores 12");
        QTest::keyClicks(rig.find<QLineEdit>("TxtCompany"), "Metalurgica Uniao");
        rig.dialogs.fileNames << path;
        if (menuSave)
            rig.find<QAction>("MnuSave")->trigger();
        else
            rig.toolbar(FrmEvent::kSaveKey);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().kind, "save");
        QCOMPARE(rig.dialogs.shown.first().text, "Bank type[*.bnk] (*.bnk)");
        QCOMPARE(rig.cell(2, 3), emptyCell);
        QCOMPARE(rig.cell(1, 1), " Used");

        const QList<QByteArray> lines = fileBytes(path).split('\n');
        QCOMPARE(lines.size(), menuSave ? 19 : 20);
        if (menuSave) {
            QCOMPARE(lines.at(0), "\t Used\t Used\t Unused\t Unused\t Unused\r");
            QCOMPARE(lines.at(11), "\t  100\t 200\t----\t----\t----\r");
            QCOMPARE(lines.at(15), "NAME: Ana Souza\r");
            QCOMPARE(lines.at(16), "ADDRESS: Rua das Flores 12\r");
            QCOMPARE(lines.at(17), "COMPANY: Metalurgica Uniao\r");
        } else {
            QCOMPARE(lines.at(0), "\t \t E1\t E2\t E3\t E4\t E5\r");
            QCOMPARE(lines.at(12), "\tDose Value(%)\t  100\t 200\t \t \t \r");
            QCOMPARE(lines.at(16), "Name: Ana Souza\r");
            QCOMPARE(lines.at(17), "Address: Rua das Flores 12\r");
            QCOMPARE(lines.at(18), "Company: Metalurgica Uniao\r");
        }

        rig.reopen(rig.meter);
        rig.dialogs.shown.clear();
        rig.dialogs.fileNames << path;
        if (open == "menu")
            rig.find<QAction>("MnuOpen")->trigger();
        else
            rig.toolbar(FrmEvent::kOpenKey);
        QCOMPARE(rig.dialogs.texts(), QStringList{"Bank type[*.bnk] (*.bnk)"});
        QCOMPARE(rig.grid()->rowCount(), 15);
        QTEST(rig.cell(2, 1), "firstCell");
        QCOMPARE(rig.cell(2, 2), " 90dB");
        QCOMPARE(rig.cell(2, 3), emptyCell);
        QCOMPARE(rig.cell(14, 2), " 03:20");
        QCOMPARE(rig.cell(14, 0), "PEAK FLAG TIME(hh:mm)");
        QCOMPARE(rig.cell(0, 4), " E4");
        QCOMPARE(rig.find<QLineEdit>("TxtName")->text(), "Ana Souza");
        QCOMPARE(rig.find<QLineEdit>("TxtAddress")->text(), "Rua das Flores 12");
        QCOMPARE(rig.find<QLineEdit>("TxtCompany")->text(), "Metalurgica Uniao");
    }

    // The window and the command line write the same toolbar-layout file.
    void toolbarSaveMatchesTheCommandLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("banks.bnk");
        EventRig rig;
        rig.readAll();
        rig.dialogs.fileNames << path;
        rig.toolbar(FrmEvent::kSaveKey);
        QCOMPARE(fileBytes(path), fileBytes(testsupport::golden("cli-banks.bnk")));
    }

    void failedSaveIsReported_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::newRow("menu") << true;
        QTest::newRow("toolbar") << false;
    }
    void failedSaveIsReported()
    {
        QFETCH(bool, menu);
        QTemporaryDir dir;
        EventRig rig;
        rig.dialogs.fileNames << dir.filePath("no-such-folder/shift.bnk");
        if (menu)
            rig.find<QAction>("MnuSave")->trigger();
        else
            rig.toolbar(FrmEvent::kSaveKey);
        QCOMPARE(rig.dialogs.shown.size(), 2);
        const ScriptedDialogs::Shown &report = rig.dialogs.shown.last();
        QCOMPARE(report.kind, "message");
        QVERIFY2(report.text.startsWith("The file shift.bnk could not be saved: "),
                 qPrintable(report.text));
        QCOMPARE(report.icon, Dialogs::Icon::Critical);
    }

    void cancelledDialogsChangeNothing()
    {
        EventRig rig;
        rig.readAll();
        rig.find<QLineEdit>("TxtName")->setText("Ana");
        rig.find<QAction>("MnuSave")->trigger();
        rig.find<QAction>("MnuOpen")->trigger();
        rig.toolbar(FrmEvent::kOpenKey);
        QCOMPARE(rig.dialogs.shown.size(), 3);
        QCOMPARE(rig.cell(2, 3), "");
        QCOMPARE(rig.column(1), kBank1);
        QCOMPARE(rig.find<QLineEdit>("TxtName")->text(), "Ana");
    }

    // A short file leaves fewer rows; the next read brings the 16 back.
    void shortFileThenRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("short.bnk");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\t Used\t----\t----\t----\t----\r\n\t 85dB\t----\t----\t----\t----\r\n");
        file.close();
        EventRig rig;
        rig.dialogs.fileNames << path;
        rig.find<QAction>("MnuOpen")->trigger();
        QCOMPARE(rig.grid()->rowCount(), 2);
        QCOMPARE(rig.cell(2, 1), "85dB");
        QCOMPARE(rig.dialogs.texts().last(),
                 "The file short.bnk holds 2 of the 18 lines of a bank file; only those were "
                 "read.");
        rig.find<QAction>("MnuAll")->trigger();
        QCOMPARE(rig.grid()->rowCount(), 15);
        QCOMPARE(rig.cell(15, 0), "PEAK DURATION(mm:ss)");
        QCOMPARE(rig.column(1), kBank1);
        QCOMPARE(rig.column(2), kBank2);
        QCOMPARE(rig.column(4), kUnused);
    }

    // Commas and TABs would split the file's lines: the boxes never take them.
    void textBoxesDropCommasAndTabs_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text");
        QTest::newRow("name-typed-comma") << "TxtName"
                                          << "Souza, Ana"
                                          << ""
                                          << "Souza Ana";
        QTest::newRow("address-typed-tab") << "TxtAddress"
                                           << "Rua\tA"
                                           << ""
                                           << "RuaA";
        QTest::newRow("company-pasted") << "TxtCompany"
                                        << "X"
                                        << ",ACME,\tLtda\t"
                                        << "XACMELtda";
        QTest::newRow("name-pasted-lines") << "TxtName"
                                           << ""
                                           << "Ana\nSouza"
                                           << "AnaSouza";
    }
    void textBoxesDropCommasAndTabs()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        EventRig rig;
        auto *edit = rig.find<QLineEdit>(qPrintable(box));
        QTest::keyClicks(edit, typed);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(edit->text(), "text");
    }

    // The report is the window below its menu bar and toolbar, with its text searchable.
    void printsTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar-print") << "toolbar";
        QTest::newRow("menu-print") << "menu";
        QTest::newRow("pdf-export") << "pdf";
    }
    void printsTheWindow()
    {
        QFETCH(QString, command);
        QTemporaryDir dir;
        const QString path = dir.filePath("event.pdf");
        EventRig rig;
        rig.readAll();
        rig.find<QLineEdit>("TxtName")->setText("Ana Souza");
        rig.find<QLineEdit>("TxtCompany")->setText("Metalurgica Uniao");
        rig.dialogs.preparePrinter = [&path](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        if (command == "toolbar") {
            rig.toolbar(FrmEvent::kPrintKey);
        } else if (command == "menu") {
            rig.find<QAction>("MnuPrintImage")->trigger();
        } else {
            rig.dialogs.fileNames << path;
            rig.find<QAction>("MnuPdf")->trigger();
        }
        QCOMPARE(rig.dialogs.shown.size(), 1);
        const QString text = pdfText(path);
        for (const char *expected : {"Used or not", "PEAK DURATION(mm:ss)", "16:45", "93.0", "E5",
                                     "Ana Souza", "Company:", "Metalurgica Uniao"})
            QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(text));
        // Neither the toolbar nor the menu bar is on the page.
        for (const char *absent : {"Save", "Open", "Bank", "Print", "File"})
            QVERIFY2(!text.contains(QLatin1String(absent)), absent);
        QVERIFY(rig.find<QToolBar>("Toolbar1")->isVisible());
    }

    void previewShowsOnePage()
    {
        EventRig rig;
        rig.readAll();
        rig.find<QAction>("MnuPreview")->trigger();
        auto *preview = rig.window->findChild<QPrintPreviewDialog *>("PrintPreview");
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        QVERIFY(pages);
        pages->updatePreview();
        QCOMPARE(pages->pageCount(), 1);
        preview->close();
    }

    // A run started with the control panel's RUN and ended with its stop key fills the
    // next bank, and the event window opened from the main window shows it.
    void runFromTheControlPanelIsANewBank()
    {
        PanelRig rig;
        rig.load();
        rig.tick(90.0);
        rig.panel.showControlPanel();
        SLmPanel *keys = rig.panel.controlPanel();
        QVERIFY(keys);
        keys->CmdRun->click();
        rig.tick(90.0);
        QVERIFY(rig.state.display.Running);
        QCOMPARE(rig.state.display.EventBank, 1);
        rig.meter.Wait(3600.0); // one hour at 90 dB
        rig.tick(90.0);
        keys->CmdRun->click(); // its caption now stops the run
        rig.tick(90.0);
        QVERIFY(!rig.state.display.Running);

        rig.panel.CmdEvent->click();
        auto *window = rig.panel.windows().window<FrmEvent>("FrmEvent");
        QVERIFY(window);
        window->findChild<QPushButton *>("CmdOK")->click();
        const BankGrid &grid = window->grid();
        QStringList bank;
        for (int r = 1; r <= 15; ++r)
            bank << grid.cell(r, 1);
        // The meter's settings (84 dB, 4 dB, Fast, threshold 80 dB); a dose of 90 dB for an
        // hour against 84 dB over 8 hours at 4 dB: 100 x 2^1.5 / 8 = 35.36 %, TWA 78.0.
        QCOMPARE(bank,
                 (QStringList{" Used", " 84dB", " 80dB", " 4dB", " Fast", " No", " No", " 11-30",
                              " 10:00", " 11:00", " 01:00", "  35.36", " 78.0", "", ""}));
        QCOMPARE(grid.cell(1, 2), " Unused");
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    // A close asked for in the middle of a read hides the window at once; the read ends
    // quietly and the window closes.
    void closingMidReadEndsQuietly()
    {
        EventRig rig;
        bool closed = false;
        connect(rig.window, &MeterWindow::closed, this, [&closed] { closed = true; });
        rig.clock.duringSleep = [&rig] {
            // Once bank 2 is being read.
            if (rig.window && rig.window->isVisible() && rig.reads().contains(0x50))
                rig.window->close();
        };
        rig.readAll();
        rig.clock.duringSleep = nullptr;
        QVERIFY(!rig.window->isVisible());
        QCoreApplication::sendPostedEvents();
        QVERIFY(closed);
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.poll.pollEnabled());
        // Nothing of banks 3 to 5 was asked for (0x65, read before every bank, lies in 3).
        for (int address : rig.reads())
            QVERIFY2(address == 0x65 || address < 0x64 || address > 0x9F,
                     qPrintable(QString::number(address)));
        // Bank 1 was shown before the close; nothing after it.
        QCOMPARE(rig.banks.BankData[2], QByteArray());
    }
};

DOSEMETER_TEST(TestEventWindow)
#include "tst_EventWindow.moc"
