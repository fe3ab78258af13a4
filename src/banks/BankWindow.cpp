#include "banks/BankWindow.h"

#include "banks/BankState.h"
#include "ui/Dialogs.h"
#include "ui/KeepInLibraryBox.h"
#include "ui/ProgressPanel.h"
#include "ui/Theme.h"
#include "ui/WindowImage.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kTwipsPerInch = 1440;

// Column 0 and row 0 hold captions, not values: they look like the grid's headings.
const char *const kStyle = R"(
#bankChoicePanel { background: white; border: 1px solid #d5dbe1; border-radius: 6px; }
QToolBar { background: #e4e8ec; border: none; border-bottom: 1px solid #d5dbe1; spacing: 4px;
           padding: 2px 6px; }
QToolButton { padding: 3px 8px; }
)";

const QColor kCaptionBackground(0xf4, 0xf6, 0xf8);
const QColor kCaptionText(0x3c, 0x48, 0x54);

// A busy cursor for the length of a read.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

BankWindow::BankWindow(Meter &meter, BankState &banks, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "BankWindow", tr("Event"), parent),
      download_(meter, banks, bankGrid_)
{
    setStyleSheet(Theme::windowStyleSheet(QString::fromLatin1(kStyle)));
    buildControls();
    buildMenus();
    buildToolbar();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(toolbar_);
    layout->addWidget(report_, 1);

    download_.progressShown = [this](bool visible) {
        progress_->setFillVisible(visible);
        progress_->setVisible(visible);
    };
    download_.progress = [this](int percent) {
        // A read first gives the grid its 16 rows back (after a short file).
        if (grid_->rowCount() != bankGrid_.rowCount() - 1)
            showGrid();
        progress_->setPercent(percent);
    };
    download_.columnChanged = [this](int) { showGrid(); };
    download_.cancelled = [this] { return closing(); };

    showGrid();
    updateState();
    adjustSize();
}

BankWindow::~BankWindow() = default;

void BankWindow::buildControls()
{
    report_ = new QWidget(this);
    report_->setObjectName(QStringLiteral("report"));

    bankChoicePanel_ = named(new QFrame(report_), "bankChoicePanel");
    bankChoicePanel_->setToolTip(tr("Choose the banks to read from the meter"));
    bankChoice_ = new QButtonGroup(this);
    auto *choice = new QHBoxLayout(bankChoicePanel_);
    choice->setContentsMargins(10, 6, 10, 6);
    for (int i = 0; i < int(bankButtons_.size()); ++i) {
        const QString caption = i == 0 ? QStringLiteral("E1 - E5") : QStringLiteral("E%1").arg(i);
        bankButtons_[i] = new QRadioButton(caption, bankChoicePanel_);
        bankButtons_[i]->setObjectName(QStringLiteral("bankButton%1").arg(i));
        bankChoice_->addButton(bankButtons_[i], i);
        choice->addWidget(bankButtons_[i]);
    }
    // Reading every bank is what a user wants most often.
    bankButtons_[0]->setChecked(true);
    choice->addStretch(1);
    okButton_ = named(new QPushButton(tr("OK"), bankChoicePanel_), "okButton");
    cancelButton_ = named(new QPushButton(tr("Cancel"), bankChoicePanel_), "cancelButton");
    okButton_->setDefault(true);
    choice->addWidget(okButton_);
    choice->addWidget(cancelButton_);

    grid_ = named(new QTableWidget(BankGrid::kRows - 1, BankGrid::kColumns, report_), "grid",
                  tr("Banks"),
                  tr("The dose event banks E1 to E5; click a bank's column to read "
                     "that bank from the meter"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A click reads its bank; nothing is selected.
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    const auto pixels = [this](int twips) { return twips * logicalDpiX() / kTwipsPerInch; };
    grid_->setColumnWidth(0, pixels(BankGrid::kCaptionWidthTwips));
    for (int n = 1; n < BankGrid::kColumns; ++n)
        grid_->setColumnWidth(n, pixels(BankGrid::kBankWidthTwips));
    // The whole grid in view: every column and the fifteen rows.
    const int frame = 2 * grid_->frameWidth();
    grid_->setFixedWidth(grid_->horizontalHeader()->length() + frame);
    grid_->setFixedHeight(grid_->horizontalHeader()->sizeHint().height() +
                          (BankGrid::kRows - 1) * grid_->verticalHeader()->defaultSectionSize() +
                          frame);

    nameEdit_ = named(new QLineEdit(report_), "nameEdit", tr("Name"),
                      tr("The name saved and printed with the banks"));
    addressEdit_ = named(new QLineEdit(report_), "addressEdit", tr("Address"),
                         tr("The address saved and printed with the banks"));
    companyEdit_ = named(new QLineEdit(report_), "companyEdit", tr("Company"),
                         tr("The company saved and printed with the banks"));
    auto *texts = new QFormLayout;
    texts->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    texts->addRow(Theme::caption(tr("Name:"), report_), nameEdit_);
    texts->addRow(Theme::caption(tr("Address:"), report_), addressEdit_);
    texts->addRow(Theme::caption(tr("Company:"), report_), companyEdit_);
    for (QLineEdit *box : {nameEdit_, addressEdit_, companyEdit_}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, box] { filterText(box); });
    }

    progress_ = named(new ProgressPanel(QString(), report_), "progress");
    // Its place stays while it is hidden, so the window does not jump when a read starts.
    QSizePolicy policy = progress_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(policy);
    progress_->hide();

    auto *layout = new QVBoxLayout(report_);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(bankChoicePanel_);
    layout->addWidget(grid_);
    layout->addLayout(texts);
    layout->addWidget(progress_);
    layout->addStretch(1);

    connect(okButton_, &QPushButton::clicked, this, &BankWindow::readChosenBanks);
    connect(cancelButton_, &QPushButton::clicked, this, &BankWindow::hideBankChoice);
    connect(grid_, &QTableWidget::cellClicked, this,
            [this](int, int column) { readBankOfColumn(column); });
    // The heading row belongs to the grid as well: a click there reads its column.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &BankWindow::readBankOfColumn);
}

void BankWindow::buildMenus()
{
    menuBar_ = new QMenuBar(this);
    fileMenu_ = named(menuBar_->addMenu(tr("&File")), "fileMenu");
    saveAction_ = named(fileMenu_->addAction(tr("&Save")), "saveAction");
    openAction_ = named(fileMenu_->addAction(tr("&Open")), "openAction");
    connect(saveAction_, &QAction::triggered, this, &BankWindow::saveBanks);
    connect(openAction_, &QAction::triggered, this, &BankWindow::openBanks);

    bankMenu_ = named(menuBar_->addMenu(tr("&Bank")), "bankMenu");
    allBanksAction_ = named(bankMenu_->addAction(QStringLiteral("E1-E5")), "allBanksAction");
    connect(allBanksAction_, &QAction::triggered, this, &BankWindow::readAllBanks);
    for (int n = 1; n < int(bankActions_.size()); ++n) {
        bankActions_[n] = bankMenu_->addAction(QStringLiteral("E%1").arg(n));
        bankActions_[n]->setObjectName(QStringLiteral("bankAction%1").arg(n));
        connect(bankActions_[n], &QAction::triggered, this, [this, n] { readBank(n); });
    }

    // The window's image on paper, on screen before printing, or in a PDF file.
    printMenu_ = named(menuBar_->addMenu(tr("&Print")), "printMenu");
    printAction_ = named(printMenu_->addAction(tr("&Print...")), "printAction");
    previewAction_ = named(printMenu_->addAction(tr("Print Pre&view...")), "previewAction");
    pdfAction_ = named(printMenu_->addAction(tr("Export &PDF...")), "pdfAction");
    connect(printAction_, &QAction::triggered, this, &BankWindow::printBanks);
    connect(previewAction_, &QAction::triggered, this, &BankWindow::previewBanks);
    connect(pdfAction_, &QAction::triggered, this, &BankWindow::exportPdf);
}

void BankWindow::buildToolbar()
{
    toolbar_ = named(new QToolBar(this), "toolbar");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setIconSize(QSize(16, 16));
    // The desktop's icons where its theme has them.
    const struct {
        const QString &key;
        const char *text;
        const char *tip;
        const char *themeIcon;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {kSaveKey, QT_TR_NOOP("Save"), QT_TR_NOOP("Save As"), "document-save-as",
         QStyle::SP_DialogSaveButton},
        {kOpenKey, QT_TR_NOOP("Open"), QT_TR_NOOP("Open File"), "document-open",
         QStyle::SP_DialogOpenButton},
        {kBankKey, QT_TR_NOOP("Bank"), QT_TR_NOOP("Bank"), "view-refresh",
         QStyle::SP_BrowserReload},
        {kPrintKey, QT_TR_NOOP("Print"), QT_TR_NOOP("Print"), "document-print",
         QStyle::SP_FileIcon},
    };
    for (const auto &button : buttons) {
        const QIcon icon =
            QIcon::fromTheme(QLatin1String(button.themeIcon), style()->standardIcon(button.icon));
        // The key names the command; the button shows its text in the user's language.
        QAction *action = toolbar_->addAction(icon, tr(button.text));
        action->setObjectName(button.key);
        action->setData(button.key);
        action->setToolTip(tr(button.tip));
        const QString key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { runToolbarCommand(key); });
        if (button.key == kPrintKey) {
            // The button prints; its arrow offers the preview and the PDF as well.
            action->setMenu(printMenu_);
            if (auto *tool = qobject_cast<QToolButton *>(toolbar_->widgetForAction(action)))
                tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    keepInLibrary_ = KeepInLibraryBox::addBeside(toolbar_, toolbar_->findChild<QAction *>(kSaveKey),
                                                 QStringLiteral("banks"));
    // The box is shared by every window that saves; its texts in this window's language.
    keepInLibrary_->setText(tr("Keep in library"));
    keepInLibrary_->setToolTip(tr("Also store what Save writes in the measurement library"));
}

BankFile::Texts BankWindow::texts() const
{
    return {nameEdit_->text(), addressEdit_->text(), companyEdit_->text()};
}

void BankWindow::setTexts(const BankFile::Texts &texts)
{
    nameEdit_->setText(BankFile::cleanText(texts.name));
    addressEdit_->setText(BankFile::cleanText(texts.address));
    companyEdit_->setText(BankFile::cleanText(texts.company));
}

void BankWindow::filterText(QLineEdit *box)
{
    const QString text = box->text();
    const QString clean = BankFile::cleanText(text);
    if (clean == text)
        return;
    const int cursor = int(BankFile::cleanText(text.left(box->cursorPosition())).size());
    box->setText(clean);
    box->setCursorPosition(cursor);
}

bool BankWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == nameEdit_ || watched == addressEdit_ || watched == companyEdit_)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Tab moves the focus as everywhere else; it never reaches the text.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        const QString text = key->text();
        return text.size() == 1 && !BankFile::textKeyAccepted(text.at(0).unicode());
    }
    return MeterWindow::eventFilter(watched, event);
}

void BankWindow::showGrid()
{
    const int rows = bankGrid_.rowCount() - 1;
    grid_->setRowCount(rows);
    for (int c = 0; c < BankGrid::kColumns; ++c) {
        QTableWidgetItem *heading = grid_->horizontalHeaderItem(c);
        if (!heading) {
            heading = new QTableWidgetItem;
            grid_->setHorizontalHeaderItem(c, heading);
        }
        heading->setText(bankGrid_.cell(0, c));
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < BankGrid::kColumns; ++c) {
            QTableWidgetItem *item = grid_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                if (c == 0) {
                    item->setBackground(kCaptionBackground);
                    item->setForeground(kCaptionText);
                }
                grid_->setItem(r, c, item);
            }
            item->setText(bankGrid_.cell(r + 1, c));
        }
    }
    // No cell stays marked as current: it would be printed with the report.
    grid_->setCurrentIndex(QModelIndex());
}

void BankWindow::updateState()
{
    const bool idle = !downloading_;
    for (QAction *action : toolbar_->actions())
        action->setEnabled(idle);
    for (QAction *action :
         {saveAction_, openAction_, allBanksAction_, printAction_, previewAction_, pdfAction_})
        action->setEnabled(idle);
    for (int n = 1; n < int(bankActions_.size()); ++n)
        bankActions_[n]->setEnabled(idle);
    okButton_->setEnabled(idle);
}

// ---- reads -----------------------------------------------------------------------------

void BankWindow::runDownload(const std::function<BankDownload::Result()> &read)
{
    if (downloading_ || closing() || !mayRunCommand(false))
        return;
    Command command(*this);
    setSourceName(QString());
    BankDownload::Result result;
    {
        BusyCursor cursor;
        downloading_ = true;
        updateState();
        result = read();
        downloading_ = false;
    }
    if (closing())
        return;
    updateState();
    showGrid();
    if (!result.message.isEmpty())
        dialogs().inform(this, result.message, Dialogs::Icon::Warning);
}

void BankWindow::readChosenBanks()
{
    const int choice = bankChoice_->checkedId();
    if (choice < 0)
        return;
    bankChoicePanel_->hide();
    shrinkToContents();
    if (choice == 0)
        runDownload([this] { return download_.readAll(BankDownload::Origin::OkButton); });
    else
        runDownload(
            [this, choice] { return download_.readOne(choice, BankDownload::Origin::OkButton); });
}

void BankWindow::hideBankChoice()
{
    bankChoicePanel_->hide();
    shrinkToContents();
}

void BankWindow::readAllBanks()
{
    runDownload([this] { return download_.readAll(BankDownload::Origin::Menu); });
}

void BankWindow::readBank(int index)
{
    runDownload([this, index] { return download_.readOne(index, BankDownload::Origin::Menu); });
}

void BankWindow::readBankOfColumn(int column)
{
    if (downloading_)
        return;
    hideBankChoice();
    if (column < 1 || column >= BankGrid::kColumns)
        return;
    runDownload([this, column] { return download_.readClicked(column); });
}

// ---- toolbar, files and printing -----------------------------------------------------

void BankWindow::runToolbarCommand(const QString &key)
{
    if (key == kSaveKey)
        save(false);
    else if (key == kOpenKey)
        open();
    else if (key == kBankKey)
        bankChoicePanel_->show();
    else if (key == kPrintKey)
        printBanks();
}

void BankWindow::saveBanks()
{
    save(true);
}

void BankWindow::openBanks()
{
    open();
}

void BankWindow::save(bool menuLayout)
{
    if (downloading_)
        return;
    // The toolbar's save lays the grid out anew before it asks for the file.
    if (!menuLayout) {
        bankGrid_.restoreLayout();
        showGrid();
    }
    const QString path =
        dialogs().saveFileName(this, tr("Save As"), tr("Bank type[*.bnk] (*.bnk)"));
    if (path.isEmpty())
        return;
    // Empty cells show what the file holds for them.
    if (menuLayout)
        BankFile::markEmptyCellsForMenu(bankGrid_);
    else
        BankFile::markEmptyCellsForToolbar(bankGrid_);
    showGrid();
    const QByteArray bytes = menuLayout ? BankFile::menuBytes(bankGrid_, texts())
                                        : BankFile::toolbarBytes(bankGrid_, texts());
    const QString error = BankFile::save(path, bytes);
    if (!error.isEmpty()) {
        dialogs().inform(this, error, Dialogs::Icon::Critical);
    } else {
        setSourceName(QFileInfo(path).fileName());
        keepInLibrary_->fileSaved(path);
    }
}

void BankWindow::open()
{
    if (downloading_)
        return;
    const QString path =
        dialogs().openFileName(this, tr("Open File"), tr("Bank type[*.bnk] (*.bnk)"));
    if (!path.isEmpty())
        openFile(path);
}

bool BankWindow::openFile(const QString &path)
{
    if (downloading_)
        return false;
    const BankFile::Content content = BankFile::read(path);
    BankFile::Texts texts = this->texts();
    BankFile::load(content, bankGrid_, texts);
    setTexts(texts);
    showGrid();
    setSourceName(QFileInfo(path).fileName());
    if (!content.error.isEmpty())
        dialogs().inform(this, content.error, Dialogs::Icon::Warning);
    return content.readable;
}

ReportPage::Header BankWindow::printedHeader() const
{
    // Banks read from the meter keep no file name, and neither the meter's banks nor a
    // bank file tell the meter's ID.
    const bool fromFile = !sourceName().isEmpty();
    return ReportPage::measurementHeader(
        windowTitle(), fromFile ? sourceName() : QStringLiteral("banks read from the meter"),
        fromFile ? QString() : QStringLiteral("not read from the meter"),
        QStringLiteral("each bank's, in its column"));
}

void BankWindow::printBanks()
{
    if (downloading_)
        return;
    WindowImage::printWithDialog(dialogs(), this, WindowImage::picture(report_), printedHeader());
}

void BankWindow::previewBanks()
{
    if (downloading_)
        return;
    // The page is the window as it shows now.
    WindowImage::openPreview(this, WindowImage::picture(report_), printedHeader());
}

void BankWindow::exportPdf()
{
    if (downloading_)
        return;
    WindowImage::exportPdfWithDialog(dialogs(), this, WindowImage::picture(report_),
                                     printedHeader());
}
