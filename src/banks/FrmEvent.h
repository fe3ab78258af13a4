#pragma once

// The event window ("Event"): the meter's five dose event banks side by side in a grid,
// with a name, an address and a company under it. Reads all banks or one (bank-choice
// panel PicBank, the "&Bank" menu, a click in the grid), saves and opens ".bnk" files
// (the "&File" menu in the menu layout, the toolbar in the toolbar layout; either Open
// reads both), and prints the window without its menu bar and toolbar, previews that
// page or writes it as a PDF.
//
// A read holds the window's Command: a close asked for meanwhile hides the window and
// ends the read quietly. While a read runs, the commands that read, save, open or print
// are disabled; the name, address and company can still be typed.
//
// Control arrays are named with their index: Bk0 ("E1 - E5") .. Bk5, MnuEn1 .. MnuEn5.

#include "banks/BankDownload.h"
#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "ui/MeterWindow.h"

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

class FrmEvent : public MeterWindow {
    Q_OBJECT
public:
    // The keys of Toolbar1's buttons.
    static inline const QString kSaveKey = QStringLiteral("Save");
    static inline const QString kOpenKey = QStringLiteral("Open");
    static inline const QString kBankKey = QStringLiteral("Bank");
    static inline const QString kPrintKey = QStringLiteral("Print");

    FrmEvent(Meter &meter, BankState &banks, Dialogs &dialogs, QWidget *parent = nullptr);
    ~FrmEvent() override;

    const BankGrid &grid() const { return grid_; }
    BankFile::Texts texts() const;

    // Control events. Grid columns count as the grid does: 0 is the caption column.
    void CmdOK_Click();
    void CmdCancel_Click();
    void MnuAll_Click();
    void MnuEn_Click(int index);
    void Grid_Click(int column);
    void Toolbar1_ButtonClick(const QString &key);
    void MnuSave_Click();
    void MnuOpen_Click();
    // Opens a bank file of either layout as Open does, without asking for it. False when
    // nothing could be read, or while a read runs.
    bool openFile(const QString &path);
    // "&Print" and the toolbar's Print: the print dialog, then the window's image.
    void MnuPrint_Click();
    void MnuPreview_Click();
    void MnuPdf_Click();

    QMenu *MnuFile = nullptr;
    QAction *MnuSave = nullptr;
    QAction *MnuOpen = nullptr;
    QMenu *MnuBank = nullptr;
    QAction *MnuAll = nullptr;
    std::array<QAction *, 6> MnuEn{}; // 1..5
    QMenu *MnuPrint = nullptr;
    QAction *MnuPrintImage = nullptr;
    QAction *MnuPreview = nullptr;
    QAction *MnuPdf = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QFrame *PicBank = nullptr;
    std::array<QRadioButton *, 6> Bk{}; // 0: all banks, 1..5: that bank
    QPushButton *CmdOK = nullptr;
    QPushButton *CmdCancel = nullptr;
    QTableWidget *Grid = nullptr;
    QLineEdit *TxtName = nullptr;
    QLineEdit *TxtAddress = nullptr;
    QLineEdit *TxtCompany = nullptr;
    ProgressPanel *SSPercent = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    // Runs one read of the banks; the poll and the grid are the download's business.
    void runDownload(const std::function<BankDownload::Result()> &read);
    // Enables the commands by whether a read runs.
    void updateState();
    // The grid on screen from grid_: rows, headings, captions and cells.
    void showGrid();
    void setTexts(const BankFile::Texts &texts);
    void filterText(QLineEdit *box);
    void save(bool menuLayout);
    void open();

    BankGrid grid_;
    BankDownload download_;
    QMenuBar *menuBar_ = nullptr;
    // What is printed: the window below its menu bar and toolbar.
    QWidget *report_ = nullptr;
    QButtonGroup *bankChoice_ = nullptr;
    bool downloading_ = false;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
