#include "BankRig.h"

#include "banks/BankWindow.h"
#include "main/ControlPanel.h"
#include "ui/ProgressPanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
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

const QStringList kBank1{" Used",  " 85dB",  " 80dB",  " 5dB",  " Slow", " No", " No", " 12-06",
                         " 07:30", " 16:45", " 08:00", "  100", " 85.0", "",    ""};
const QStringList kBank2{" Used",  " 90dB",  " 85dB",  " 3dB", " Slow", " Yes",   " Yes",  " 12-07",
                         " 22:00", " 06:10", " 08:10", " 200", " 93.0", " 03:20", " 01:05"};
const QStringList kNothing(15, QString());

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The event window on the meter of the command line's end-to-end test
// (tests/golden/cli-banks.bnk): E1 whose time copy holds a later stop time, E2 with a
// peak whose copy belongs to an older run, E4 unused with a stale copy.
struct EventRig : BankRig {
    QPointer<BankWindow> window;

    EventRig()
    {
        setBank(1, bankrig::usedBank());
        setCopy(1, bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
        setBank(2, bytes({0xE3, 0x12, 0x07, 0x22, 0x00, 0x06, 0x10, 8, 10, 0x00,
                          0xC8, 1,    0,    0,    0,    3,    20,   1, 5,  85}));
        setCopy(2, bytes({0x11, 0x30, 0x22, 0x00, 0x06, 0x00}));
        setBank(4, bankrig::unusedBank());
        setCopy(4, bytes({0x11, 0x05, 0x09, 0x00, 0x10, 0x00}));
        reopen(meter);
    }
    ~EventRig() { delete window.data(); }

    // A new window on `on` in place of the old one.
    void reopen(Meter &on)
    {
        delete window.data();
        window = new BankWindow(on, banks, dialogs);
        window->show();
    }
    template <class T> T *find(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QTableWidget *grid() const { return find<QTableWidget>("grid"); }
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
    void toolbar(const QString &key) const
    {
        auto *bar = find<QToolBar>("toolbar");
        qobject_cast<QToolButton *>(bar->widgetForAction(find<QAction>(qPrintable(key))))->click();
    }
    void menu(const char *name) const { find<QAction>(name)->trigger(); }
    void readAll() const { run("ok-all"); }

    // A read: "ok-all", "ok-bank-N", "menu-all", "menu-bank-N", "cell-bank-N" (a click in
    // row 5 of column N; "cell-bank-0" is the caption column), "heading-bank-N".
    void run(const QString &command) const
    {
        const int n = command.section('-', -1).toInt();
        QTableWidget *g = grid();
        if (command.startsWith("ok-")) {
            find<QRadioButton>(qPrintable(QStringLiteral("bankButton%1").arg(n)))->click();
            find<QPushButton>("okButton")->click();
        } else if (command == "menu-all") {
            menu("allBanksAction");
        } else if (command.startsWith("menu-bank-")) {
            menu(qPrintable(QStringLiteral("bankAction%1").arg(n)));
        } else if (command.startsWith("cell-")) {
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                              g->visualItemRect(g->item(4, n)).center());
        } else {
            QTest::mouseClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(g->horizontalHeader()->sectionViewportPosition(n) + 5, 5));
        }
    }
};

} // namespace

// The event window, driven through its controls on the virtual meter.
class TestBankWindow : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsLayout()
    {
        EventRig rig;
        QCOMPARE(rig.window->windowTitle(), "Event");
        QCOMPARE(rig.cell(0, 5), " E5");
        QCOMPARE(rig.cell(15, 0), "PEAK DURATION(mm:ss)");
        QVERIFY(rig.find<QFrame>("bankChoicePanel")->isVisible());
        QVERIFY(!rig.find<ProgressPanel>("progress")->isVisible());
        QVERIFY(rig.vm.received().isEmpty());
        // DOSEMETER_SCREENSHOTS=DIR saves the window as README's docs/event-window.png has it.
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS")) {
            rig.readAll();
            rig.find<QLineEdit>("nameEdit")->setText("Ana Souza");
            rig.find<QLineEdit>("addressEdit")->setText("Rua das Flores 12");
            rig.find<QLineEdit>("companyEdit")->setText("Metalurgica Uniao");
            rig.toolbar(BankWindow::kBankKey);
            rig.window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") +
                                    "/event-window.png");
        }
    }

    void readsShowTheBanks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("bank1");
        QTest::addColumn<QStringList>("bank2");
        QTest::addColumn<QString>("bank4");    // row 1
        QTest::addColumn<bool>("choiceShown"); // bankChoicePanel_ afterwards
        QTest::newRow("ok-all") << "ok-all" << kBank1 << kBank2 << " Unused" << false;
        QTest::newRow("menu-all") << "menu-all" << kBank1 << kBank2 << " Unused" << true;
        QTest::newRow("ok-bank-2") << "ok-bank-2" << kNothing << kBank2 << "" << false;
        QTest::newRow("menu-bank-2") << "menu-bank-2" << kNothing << kBank2 << "" << true;
        QTest::newRow("cell-bank-2") << "cell-bank-2" << kNothing << kBank2 << "" << false;
        QTest::newRow("heading-bank-2") << "heading-bank-2" << kNothing << kBank2 << "" << false;
        QTest::newRow("captions-read-nothing")
            << "cell-bank-0" << kNothing << kNothing << "" << false;
    }
    void readsShowTheBanks()
    {
        QFETCH(QString, command);
        EventRig rig;
        rig.run(command);
        QTEST(rig.column(1), "bank1");
        QTEST(rig.column(2), "bank2");
        QTEST(rig.cell(1, 4), "bank4");
        QTEST(rig.find<QFrame>("bankChoicePanel")->isVisible(), "choiceShown");
        QVERIFY(!rig.find<ProgressPanel>("progress")->isVisible());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.poll.pollEnabled());
        QVERIFY(rig.find<QAction>("allBanksAction")->isEnabled());
    }

    // The bank the meter records into is not read: its column names the run state, in
    // the words of the command.
    void recordingBank_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<QString>("word");
        QTest::newRow("ok-all") << "ok-all" << false << "Running";
        QTest::newRow("menu-all-paused") << "menu-all" << true << "PAUSE";
        QTest::newRow("menu-bank-3") << "menu-bank-3" << false << "Running";
        QTest::newRow("cell-reads-it") << "cell-bank-3" << true << " Unused";
    }
    void recordingBank()
    {
        QFETCH(QString, command);
        QFETCH(bool, paused);
        EventRig rig;
        rig.state.display.EventBank = 3;
        rig.state.display.Running = true;
        rig.state.display.Paused = paused;
        rig.run(command);
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
    }
    void menusWaitForTheSettingsRefresh()
    {
        QFETCH(QString, command);
        QFETCH(bool, read);
        EventRig rig;
        rig.state.link.RefreshBusy = true;
        rig.run(command);
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
        rig.reopen(meter);
        deaf.deaf.insert(0x50 + 10, 1000); // bank 2's dose low byte, for good
        rig.readAll();
        QCOMPARE(rig.column(2), QStringList{" Read failed"} + QStringList(14, QString()));
        QCOMPARE(rig.column(1), kBank1);
        QCOMPARE(rig.rowOne().mid(2), (QStringList{" Unused", " Unused", " Unused"}));
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{"Bank E2 could not be read: the meter did not answer."});
        QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Warning);
    }

    // Each save writes its layout and shows empty cells as the file holds them; either
    // Open reads a file of either layout.
    void saveAndOpen_data()
    {
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("emptyCell");
        QTest::addColumn<QString>("firstCell"); // row 2 of E1 after the open
        QTest::addColumn<QByteArray>("nameLine");
        const QByteArray menuName("NAME: Ana Souza\r"), toolbarName("Name: Ana Souza\r");
        // clang-format off
        QTest::newRow("menu-menu") << "saveAction" << "openAction" << "----" << "85dB" << menuName;
        QTest::newRow("toolbar-toolbar") << "Save" << "Open" << " " << " 85dB" << toolbarName;
        QTest::newRow("menu-toolbar") << "saveAction" << "Open" << "----" << "85dB" << menuName;
        QTest::newRow("toolbar-menu") << "Save" << "openAction" << " " << " 85dB" << toolbarName;
        // clang-format on
    }
    void saveAndOpen()
    {
        QFETCH(QString, save);
        QFETCH(QString, open);
        QFETCH(QString, emptyCell);
        QFETCH(QByteArray, nameLine);
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.bnk");
        EventRig rig;
        rig.readAll();
        QTest::keyClicks(rig.find<QLineEdit>("nameEdit"), "Ana Souza");
        QTest::keyClicks(rig.find<QLineEdit>("companyEdit"), "Metalurgica Uniao");
        rig.dialogs.fileNames << path;
        save.endsWith("Action") ? rig.menu(qPrintable(save)) : rig.toolbar(save);
        QCOMPARE(rig.dialogs.texts(), QStringList{"Bank type[*.bnk] (*.bnk)"});
        QCOMPARE(rig.cell(2, 3), emptyCell);
        const QList<QByteArray> lines = fileBytes(path).split('\n');
        QVERIFY(lines.contains(nameLine));

        rig.reopen(rig.meter);
        rig.dialogs.fileNames << path;
        open.endsWith("Action") ? rig.menu(qPrintable(open)) : rig.toolbar(open);
        QCOMPARE(rig.dialogs.shown.last().kind, "open");
        QCOMPARE(rig.grid()->rowCount(), 15);
        QTEST(rig.cell(2, 1), "firstCell");
        QCOMPARE(rig.cell(2, 3), emptyCell);
        QCOMPARE(rig.column(2).mid(1), kBank2.mid(1));
        QCOMPARE(rig.cell(14, 0), "PEAK FLAG TIME(hh:mm)");
        QCOMPARE(rig.find<QLineEdit>("nameEdit")->text(), "Ana Souza");
        QCOMPARE(rig.find<QLineEdit>("companyEdit")->text(), "Metalurgica Uniao");
    }

    // The window and the command line write the same toolbar-layout file.
    void toolbarSaveMatchesTheCommandLine()
    {
        QTemporaryDir dir;
        EventRig rig;
        rig.readAll();
        rig.dialogs.fileNames << dir.filePath("banks.bnk");
        rig.toolbar(BankWindow::kSaveKey);
        QCOMPARE(fileBytes(dir.filePath("banks.bnk")),
                 fileBytes(testsupport::golden("cli-banks.bnk")));
    }

    void failedSaveOrCancelledDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file"); // as the dialog answers
        QTest::addColumn<QString>("report");
        const QString failed("The file shift.bnk could not be saved: ");
        // clang-format off
        QTest::newRow("menu-fails") << "saveAction" << "no-such-folder/shift.bnk" << failed;
        QTest::newRow("toolbar-fails") << "Save" << "no-such-folder/shift.bnk" << failed;
        QTest::newRow("save-cancelled") << "saveAction" << "" << "";
        QTest::newRow("open-cancelled") << "Open" << "" << "";
        // clang-format on
    }
    void failedSaveOrCancelledDialog()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, report);
        QTemporaryDir dir;
        EventRig rig;
        rig.readAll();
        rig.dialogs.fileNames << (file.isEmpty() ? QString() : dir.filePath(file));
        command.endsWith("Action") ? rig.menu(qPrintable(command)) : rig.toolbar(command);
        QCOMPARE(rig.dialogs.shown.size(), report.isEmpty() ? 1 : 2);
        if (!report.isEmpty()) {
            QVERIFY2(rig.dialogs.shown.last().text.startsWith(report),
                     qPrintable(rig.dialogs.shown.last().text));
            QCOMPARE(rig.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        } else {
            QCOMPARE(rig.column(1), kBank1);
            QCOMPARE(rig.cell(2, 3), "");
        }
    }

    // A short file leaves fewer rows; the next read brings the 16 back.
    void shortFileThenRead()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("short.bnk"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\t Used\t----\t----\t----\t----\r\n\t 85dB\t----\t----\t----\t----\r\n");
        file.close();
        EventRig rig;
        rig.dialogs.fileNames << file.fileName();
        rig.menu("openAction");
        QCOMPARE(rig.grid()->rowCount(), 2);
        QCOMPARE(rig.cell(2, 1), "85dB");
        QCOMPARE(rig.dialogs.texts().last(), "The file short.bnk holds 2 of the 18 lines of a "
                                             "bank file; only those were read.");
        rig.menu("allBanksAction");
        QCOMPARE(rig.grid()->rowCount(), 15);
        QCOMPARE(rig.cell(15, 0), "PEAK DURATION(mm:ss)");
        QCOMPARE(rig.column(1), kBank1);
        QCOMPARE(rig.column(2), kBank2);
    }

    // Commas and TABs would split the file's lines: the boxes never take them.
    void textBoxesDropCommasAndTabs_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("typed-comma") << "nameEdit" << "Souza, Ana" << "" << "Souza Ana";
        QTest::newRow("typed-tab") << "addressEdit" << "Rua\tA" << "" << "RuaA";
        QTest::newRow("pasted") << "companyEdit" << "X" << ",ACME,\tLtda\nSA" << "XACMELtdaSA";
        // clang-format on
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

    // The report is the window below its menu bar and toolbar, its text searchable.
    void printsTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("toolbar-print") << "Print";
        QTest::newRow("menu-print") << "printAction";
        QTest::newRow("pdf-export") << "pdfAction";
    }
    void printsTheWindow()
    {
        QFETCH(QString, command);
        QTemporaryDir dir;
        const QString path = dir.filePath("event.pdf");
        EventRig rig;
        rig.readAll();
        rig.find<QLineEdit>("companyEdit")->setText("Metalurgica Uniao");
        rig.dialogs.preparePrinter = [&path](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
        };
        rig.dialogs.fileNames << path; // for the PDF export
        command.endsWith("Action") ? rig.menu(qPrintable(command)) : rig.toolbar(command);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {path, "-"});
        QVERIFY(pdftotext.waitForFinished(10000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char *shown :
             {"Used or not", "PEAK DURATION(mm:ss)", "16:45", "93.0", "E5",
              "Company:", "Metalurgica Uniao", "banks read from the meter", "Page 1 of 1"})
            QVERIFY2(text.contains(QLatin1String(shown)), qPrintable(text));
        for (const char *absent : {"Save", "Open", "Bank", "Print"})
            QVERIFY2(!text.contains(QLatin1String(absent)), absent);
        QVERIFY(rig.find<QToolBar>("toolbar")->isVisible());
    }

    void previewShowsOnePage()
    {
        EventRig rig;
        rig.menu("previewAction");
        auto *preview = rig.window->findChild<QPrintPreviewDialog *>("PrintPreview");
        QVERIFY(preview && preview->isVisible());
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        pages->updatePreview();
        QCOMPARE(pages->pageCount(), 1);
        preview->close();
    }

    // A close asked for in the middle of a read hides the window at once; the read ends
    // quietly and the window closes.
    void closingMidReadEndsQuietly()
    {
        EventRig rig;
        bool closed = false;
        connect(rig.window, &MeterWindow::closed, this, [&closed] { closed = true; });
        rig.clock.duringSleep = [&rig] {
            if (rig.window->isVisible() && rig.reads().contains(0x50)) // bank 2 started
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
    }

    // A run started with the control panel's RUN and ended with its stop key fills the
    // next bank, and the event window opened from the main window shows it.
    void runFromTheControlPanelIsANewBank()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        rig.panel.showControlPanel();
        ControlPanel *keys = rig.panel.controlPanel();
        keys->runKey_->click();
        rig.tick(90.0);
        QVERIFY(rig.state.display.Running);
        rig.meter.wait(3600.0); // one hour at 90 dB
        rig.tick(90.0);
        keys->runKey_->click(); // "Encerrar" now
        rig.tick(90.0);
        QVERIFY(!rig.state.display.Running);

        rig.panel.eventButton_->click();
        auto *window = rig.panel.windows().window<BankWindow>("BankWindow");
        QVERIFY(window);
        window->okButton_->click();
        const BankRecord::Texts bank = window->grid().bankTexts(1);
        // The meter's settings (84 dB, 4 dB, Fast, threshold 80 dB); 90 dB for an hour
        // against 84 dB over 8 hours at 4 dB: 100 x 2^1.5 / 8 = 35.36 %, TWA 78.0.
        QCOMPARE(QStringList(bank.begin(), bank.end()),
                 (QStringList{" Used", " 84dB", " 80dB", " 4dB", " Fast", " No", " No", " 11-30",
                              " 10:00", " 11:00", " 01:00", "  35.36", " 78.0", "", ""}));
        QCOMPARE(window->grid().cell(1, 2), " Unused");
        QVERIFY(rig.dialogs.shown.isEmpty());
    }
};

DOSEMETER_TEST(TestBankWindow)
#include "tst_BankWindow.moc"
