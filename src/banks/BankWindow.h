#pragma once

// The event window ("Event"): the meter's five dose event banks side by side in a grid,
// with a name, an address and a company under it. Reads all banks or one (bank-choice
// panel bankChoicePanel_, the "&Bank" menu, a click in the grid), saves and opens ".bnk" files
// (the "&File" menu in the menu layout, the toolbar in the toolbar layout; either Open
// reads both), and prints the window without its menu bar and toolbar, previews that
// page or writes it as a PDF.
//
// A read holds the window's Command: a close asked for meanwhile hides the window and
// ends the read quietly. While a read runs, the commands that read, save, open or print
// are disabled; the name, address and company can still be typed.
//
// Control arrays carry their index in their objectNames: bankButton0 ("E1 - E5") ..
// bankButton5, bankAction1 .. bankAction5.

#include "banks/BankDownload.h"
#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "ui/MeterWindow.h"
#include "ui/ReportPage.h"

#include <array>
#include <functional>

class KeepInLibraryBox;
class ProgressPanel;
class QAction;
class QButtonGroup;
class QFrame;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolBar;
struct BankState;

class BankWindow : public MeterWindow {
    Q_OBJECT
public:
    // The keys of toolbar_'s buttons.
    static inline const QString kSaveKey = QStringLiteral("Save");
    static inline const QString kOpenKey = QStringLiteral("Open");
    static inline const QString kBankKey = QStringLiteral("Bank");
    static inline const QString kPrintKey = QStringLiteral("Print");

    BankWindow(Meter &meter, BankState &banks, Dialogs &dialogs, QWidget *parent = nullptr);
    ~BankWindow() override;

    const BankGrid &grid() const { return bankGrid_; }
    BankFile::Texts texts() const;

    // Control events. grid_ columns count as the grid does: 0 is the caption column.
    void readChosenBanks();
    void hideBankChoice();
    void readAllBanks();
    void readBank(int index);
    void readBankOfColumn(int column);
    void runToolbarCommand(const QString &key);
    void saveBanks();
    void openBanks();
    // Opens a bank file of either layout as Open does, without asking for it. False when
    // nothing could be read, or while a read runs.
    bool openFile(const QString &path);
    // "&Print" and the toolbar's Print: the print dialog, then the window's image.
    void printBanks();
    void previewBanks();
    void exportPdf();

    QMenu *fileMenu_ = nullptr;
    QAction *saveAction_ = nullptr;
    QAction *openAction_ = nullptr;
    QMenu *bankMenu_ = nullptr;
    QAction *allBanksAction_ = nullptr;
    std::array<QAction *, 6> bankActions_{}; // 1..5
    QMenu *printMenu_ = nullptr;
    QAction *printAction_ = nullptr;
    QAction *previewAction_ = nullptr;
    QAction *pdfAction_ = nullptr;
    QToolBar *toolbar_ = nullptr;
    QFrame *bankChoicePanel_ = nullptr;
    std::array<QRadioButton *, 6> bankButtons_{}; // 0: all banks, 1..5: that bank
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QTableWidget *grid_ = nullptr;
    QLineEdit *nameEdit_ = nullptr;
    QLineEdit *addressEdit_ = nullptr;
    QLineEdit *companyEdit_ = nullptr;
    ProgressPanel *progress_ = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    ReportPage::Header printedHeader() const;
    // Runs one read of the banks; the poll and the grid are the download's business.
    void runDownload(const std::function<BankDownload::Result()> &read);
    // Enables the commands by whether a read runs.
    void updateState();
    // The grid on screen from bankGrid_: rows, headings, captions and cells.
    void showGrid();
    void setTexts(const BankFile::Texts &texts);
    void filterText(QLineEdit *box);
    void save(bool menuLayout);
    void open();

    BankGrid bankGrid_;
    BankDownload download_;
    QMenuBar *menuBar_ = nullptr;
    // What is printed: the window below its menu bar and toolbar.
    QWidget *report_ = nullptr;
    QButtonGroup *bankChoice_ = nullptr;
    bool downloading_ = false;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
