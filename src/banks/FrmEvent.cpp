#include "banks/FrmEvent.h"

#include "banks/BankState.h"
#include "ui/Dialogs.h"
#include "ui/KeepInLibraryBox.h"
#include "ui/ProgressPanel.h"
#include "ui/Theme.h"
#include "ui/WindowImage.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
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
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int kTwipsPerInch = 1440;

// Column 0 and row 0 hold captions, not values: they look like the grid's headings.
const char *const kStyle = R"(
#PicBank { background: white; border: 1px solid #d5dbe1; border-radius: 6px; }
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

FrmEvent::FrmEvent(Meter &meter, BankState &banks, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "FrmEvent", QStringLiteral("Event"), parent),
      download_(meter, banks, grid_)
{
    setStyleSheet(Theme::windowStyleSheet(QString::fromLatin1(kStyle)));
    buildControls();
    buildMenus();
    buildToolbar();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(Toolbar1);
    layout->addWidget(report_, 1);

    download_.progressShown = [this](bool visible) {
        SSPercent->setFillVisible(visible);
        SSPercent->setVisible(visible);
    };
    download_.progress = [this](int percent) {
        // A read first gives the grid its 16 rows back (after a short file).
        if (Grid->rowCount() != grid_.rowCount() - 1)
            showGrid();
        SSPercent->setPercent(percent);
    };
    download_.columnChanged = [this](int) { showGrid(); };
    download_.cancelled = [this] { return closing(); };

    showGrid();
    updateState();
    adjustSize();
}

FrmEvent::~FrmEvent() = default;

void FrmEvent::buildControls()
{
    report_ = new QWidget(this);
    report_->setObjectName(QStringLiteral("Report"));

    PicBank = named(new QFrame(report_), "PicBank");
    PicBank->setToolTip(QStringLiteral("Choose the banks to read from the meter"));
    bankChoice_ = new QButtonGroup(this);
    auto *choice = new QHBoxLayout(PicBank);
    choice->setContentsMargins(10, 6, 10, 6);
    for (int i = 0; i < int(Bk.size()); ++i) {
        const QString caption = i == 0 ? QStringLiteral("E1 - E5") : QStringLiteral("E%1").arg(i);
        Bk[i] = new QRadioButton(caption, PicBank);
        Bk[i]->setObjectName(QStringLiteral("Bk%1").arg(i));
        bankChoice_->addButton(Bk[i], i);
        choice->addWidget(Bk[i]);
    }
    // Reading every bank is what a user wants most often.
    Bk[0]->setChecked(true);
    choice->addStretch(1);
    CmdOK = named(new QPushButton(QStringLiteral("OK"), PicBank), "CmdOK");
    CmdCancel = named(new QPushButton(QStringLiteral("Cancel"), PicBank), "CmdCancel");
    CmdOK->setDefault(true);
    choice->addWidget(CmdOK);
    choice->addWidget(CmdCancel);

    Grid = named(new QTableWidget(BankGrid::kRows - 1, BankGrid::kColumns, report_), "Grid",
                 QStringLiteral("Banks"),
                 QStringLiteral("The dose event banks E1 to E5; click a bank's column to read "
                                "that bank from the meter"));
    Grid->verticalHeader()->hide();
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A click reads its bank; nothing is selected.
    Grid->setSelectionMode(QAbstractItemView::NoSelection);
    Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Grid->setWordWrap(false);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Grid->horizontalHeader()->setHighlightSections(false);
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 8);
    const auto pixels = [this](int twips) { return twips * logicalDpiX() / kTwipsPerInch; };
    Grid->setColumnWidth(0, pixels(BankGrid::kCaptionWidthTwips));
    for (int n = 1; n < BankGrid::kColumns; ++n)
        Grid->setColumnWidth(n, pixels(BankGrid::kBankWidthTwips));
    // The whole grid in view: every column and the fifteen rows.
    const int frame = 2 * Grid->frameWidth();
    Grid->setFixedWidth(Grid->horizontalHeader()->length() + frame);
    Grid->setFixedHeight(Grid->horizontalHeader()->sizeHint().height() +
                         (BankGrid::kRows - 1) * Grid->verticalHeader()->defaultSectionSize() +
                         frame);

    TxtName = named(new QLineEdit(report_), "TxtName", QStringLiteral("Name"),
                    QStringLiteral("The name saved and printed with the banks"));
    TxtAddress = named(new QLineEdit(report_), "TxtAddress", QStringLiteral("Address"),
                       QStringLiteral("The address saved and printed with the banks"));
    TxtCompany = named(new QLineEdit(report_), "TxtCompany", QStringLiteral("Company"),
                       QStringLiteral("The company saved and printed with the banks"));
    auto *texts = new QFormLayout;
    texts->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    texts->addRow(Theme::caption(QStringLiteral("Name:"), report_), TxtName);
    texts->addRow(Theme::caption(QStringLiteral("Address:"), report_), TxtAddress);
    texts->addRow(Theme::caption(QStringLiteral("Company:"), report_), TxtCompany);
    for (QLineEdit *box : {TxtName, TxtAddress, TxtCompany}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, box] { filterText(box); });
    }

    SSPercent = named(new ProgressPanel(QString(), report_), "SSPercent");
    // Its place stays while it is hidden, so the window does not jump when a read starts.
    QSizePolicy policy = SSPercent->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    SSPercent->setSizePolicy(policy);
    SSPercent->hide();

    auto *layout = new QVBoxLayout(report_);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(PicBank);
    layout->addWidget(Grid);
    layout->addLayout(texts);
    layout->addWidget(SSPercent);
    layout->addStretch(1);

    connect(CmdOK, &QPushButton::clicked, this, &FrmEvent::CmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmEvent::CmdCancel_Click);
    connect(Grid, &QTableWidget::cellClicked, this,
            [this](int, int column) { Grid_Click(column); });
    // The heading row belongs to the grid as well: a click there reads its column.
    connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &FrmEvent::Grid_Click);
}

void FrmEvent::buildMenus()
{
    menuBar_ = new QMenuBar(this);
    MnuFile = named(menuBar_->addMenu(QStringLiteral("&File")), "MnuFile");
    MnuSave = named(MnuFile->addAction(QStringLiteral("&Save")), "MnuSave");
    MnuOpen = named(MnuFile->addAction(QStringLiteral("&Open")), "MnuOpen");
    connect(MnuSave, &QAction::triggered, this, &FrmEvent::MnuSave_Click);
    connect(MnuOpen, &QAction::triggered, this, &FrmEvent::MnuOpen_Click);

    MnuBank = named(menuBar_->addMenu(QStringLiteral("&Bank")), "MnuBank");
    MnuAll = named(MnuBank->addAction(QStringLiteral("E1-E5")), "MnuAll");
    connect(MnuAll, &QAction::triggered, this, &FrmEvent::MnuAll_Click);
    for (int n = 1; n < int(MnuEn.size()); ++n) {
        MnuEn[n] = MnuBank->addAction(QStringLiteral("E%1").arg(n));
        MnuEn[n]->setObjectName(QStringLiteral("MnuEn%1").arg(n));
        connect(MnuEn[n], &QAction::triggered, this, [this, n] { MnuEn_Click(n); });
    }

    // The window's image on paper, on screen before printing, or in a PDF file.
    MnuPrint = named(menuBar_->addMenu(QStringLiteral("&Print")), "MnuPrint");
    MnuPrintImage = named(MnuPrint->addAction(QStringLiteral("&Print...")), "MnuPrintImage");
    MnuPreview = named(MnuPrint->addAction(QStringLiteral("Print Pre&view...")), "MnuPreview");
    MnuPdf = named(MnuPrint->addAction(QStringLiteral("Export &PDF...")), "MnuPdf");
    connect(MnuPrintImage, &QAction::triggered, this, &FrmEvent::MnuPrint_Click);
    connect(MnuPreview, &QAction::triggered, this, &FrmEvent::MnuPreview_Click);
    connect(MnuPdf, &QAction::triggered, this, &FrmEvent::MnuPdf_Click);
}

void FrmEvent::buildToolbar()
{
    Toolbar1 = named(new QToolBar(this), "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Toolbar1->setIconSize(QSize(16, 16));
    // The desktop's icons where its theme has them.
    const struct {
        const QString &key;
        const char *tip;
        const char *themeIcon;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {kSaveKey, "Save As", "document-save-as", QStyle::SP_DialogSaveButton},
        {kOpenKey, "Open File", "document-open", QStyle::SP_DialogOpenButton},
        {kBankKey, "Bank", "view-refresh", QStyle::SP_BrowserReload},
        {kPrintKey, "Print", "document-print", QStyle::SP_FileIcon},
    };
    for (const auto &button : buttons) {
        const QIcon icon =
            QIcon::fromTheme(QLatin1String(button.themeIcon), style()->standardIcon(button.icon));
        QAction *action = Toolbar1->addAction(icon, button.key);
        action->setObjectName(button.key);
        action->setData(button.key);
        action->setToolTip(QString::fromLatin1(button.tip));
        const QString key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        if (button.key == kPrintKey) {
            // The button prints; its arrow offers the preview and the PDF as well.
            action->setMenu(MnuPrint);
            if (auto *tool = qobject_cast<QToolButton *>(Toolbar1->widgetForAction(action)))
                tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    keepInLibrary_ = KeepInLibraryBox::addBeside(Toolbar1, Toolbar1->findChild<QAction *>(kSaveKey),
                                                 QStringLiteral("banks"));
}

BankFile::Texts FrmEvent::texts() const
{
    return {TxtName->text(), TxtAddress->text(), TxtCompany->text()};
}

void FrmEvent::setTexts(const BankFile::Texts &texts)
{
    TxtName->setText(BankFile::cleanText(texts.name));
    TxtAddress->setText(BankFile::cleanText(texts.address));
    TxtCompany->setText(BankFile::cleanText(texts.company));
}

void FrmEvent::filterText(QLineEdit *box)
{
    const QString text = box->text();
    const QString clean = BankFile::cleanText(text);
    if (clean == text)
        return;
    const int cursor = int(BankFile::cleanText(text.left(box->cursorPosition())).size());
    box->setText(clean);
    box->setCursorPosition(cursor);
}

bool FrmEvent::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == TxtName || watched == TxtAddress || watched == TxtCompany)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Tab moves the focus as everywhere else; it never reaches the text.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        const QString text = key->text();
        return text.size() == 1 && !BankFile::textKeyAccepted(text.at(0).unicode());
    }
    return MeterWindow::eventFilter(watched, event);
}

void FrmEvent::showGrid()
{
    const int rows = grid_.rowCount() - 1;
    Grid->setRowCount(rows);
    for (int c = 0; c < BankGrid::kColumns; ++c) {
        QTableWidgetItem *heading = Grid->horizontalHeaderItem(c);
        if (!heading) {
            heading = new QTableWidgetItem;
            Grid->setHorizontalHeaderItem(c, heading);
        }
        heading->setText(grid_.cell(0, c));
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < BankGrid::kColumns; ++c) {
            QTableWidgetItem *item = Grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                if (c == 0) {
                    item->setBackground(kCaptionBackground);
                    item->setForeground(kCaptionText);
                }
                Grid->setItem(r, c, item);
            }
            item->setText(grid_.cell(r + 1, c));
        }
    }
    // No cell stays marked as current: it would be printed with the report.
    Grid->setCurrentIndex(QModelIndex());
}

void FrmEvent::updateState()
{
    const bool idle = !downloading_;
    for (QAction *action : Toolbar1->actions())
        action->setEnabled(idle);
    for (QAction *action : {MnuSave, MnuOpen, MnuAll, MnuPrintImage, MnuPreview, MnuPdf})
        action->setEnabled(idle);
    for (int n = 1; n < int(MnuEn.size()); ++n)
        MnuEn[n]->setEnabled(idle);
    CmdOK->setEnabled(idle);
}

// ---- reads -----------------------------------------------------------------------------

void FrmEvent::runDownload(const std::function<BankDownload::Result()> &read)
{
    if (downloading_ || closing() || !mayRunCommand(false))
        return;
    Command command(*this);
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

void FrmEvent::CmdOK_Click()
{
    const int choice = bankChoice_->checkedId();
    if (choice < 0)
        return;
    PicBank->hide();
    if (choice == 0)
        runDownload([this] { return download_.readAll(BankDownload::Origin::OkButton); });
    else
        runDownload(
            [this, choice] { return download_.readOne(choice, BankDownload::Origin::OkButton); });
}

void FrmEvent::CmdCancel_Click()
{
    PicBank->hide();
}

void FrmEvent::MnuAll_Click()
{
    runDownload([this] { return download_.readAll(BankDownload::Origin::Menu); });
}

void FrmEvent::MnuEn_Click(int index)
{
    runDownload([this, index] { return download_.readOne(index, BankDownload::Origin::Menu); });
}

void FrmEvent::Grid_Click(int column)
{
    if (downloading_)
        return;
    PicBank->hide();
    if (column < 1 || column >= BankGrid::kColumns)
        return;
    runDownload([this, column] { return download_.readClicked(column); });
}

// ---- toolbar, files and printing -----------------------------------------------------

void FrmEvent::Toolbar1_ButtonClick(const QString &key)
{
    if (key == kSaveKey)
        save(false);
    else if (key == kOpenKey)
        open();
    else if (key == kBankKey)
        PicBank->show();
    else if (key == kPrintKey)
        MnuPrint_Click();
}

void FrmEvent::MnuSave_Click()
{
    save(true);
}

void FrmEvent::MnuOpen_Click()
{
    open();
}

void FrmEvent::save(bool menuLayout)
{
    if (downloading_)
        return;
    // The toolbar's save lays the grid out anew before it asks for the file.
    if (!menuLayout) {
        grid_.restoreLayout();
        showGrid();
    }
    const QString path = dialogs().saveFileName(this, QStringLiteral("Save As"), BankFile::kFilter);
    if (path.isEmpty())
        return;
    // Empty cells show what the file holds for them.
    if (menuLayout)
        BankFile::markEmptyCellsForMenu(grid_);
    else
        BankFile::markEmptyCellsForToolbar(grid_);
    showGrid();
    const QByteArray bytes =
        menuLayout ? BankFile::menuBytes(grid_, texts()) : BankFile::toolbarBytes(grid_, texts());
    const QString error = BankFile::save(path, bytes);
    if (!error.isEmpty())
        dialogs().inform(this, error, Dialogs::Icon::Critical);
    else
        keepInLibrary_->fileSaved(path);
}

void FrmEvent::open()
{
    if (downloading_)
        return;
    const QString path =
        dialogs().openFileName(this, QStringLiteral("Open File"), BankFile::kFilter);
    if (!path.isEmpty())
        openFile(path);
}

bool FrmEvent::openFile(const QString &path)
{
    if (downloading_)
        return false;
    const BankFile::Content content = BankFile::read(path);
    BankFile::Texts texts = this->texts();
    BankFile::load(content, grid_, texts);
    setTexts(texts);
    showGrid();
    if (!content.error.isEmpty())
        dialogs().inform(this, content.error, Dialogs::Icon::Warning);
    return content.readable;
}

void FrmEvent::MnuPrint_Click()
{
    if (downloading_)
        return;
    WindowImage::printWithDialog(dialogs(), this, report_);
}

void FrmEvent::MnuPreview_Click()
{
    if (downloading_)
        return;
    // The page is the window as it shows now; the preview draws it as often as it needs.
    const QPicture image = WindowImage::picture(report_);
    // A printer at screen resolution, as for printing: the picture keeps its size.
    auto printer = std::make_shared<QPrinter>(QPrinter::ScreenResolution);
    printer->setDocName(windowTitle());
    auto *preview = new QPrintPreviewDialog(printer.get(), this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    // The connection owns the printer: it goes with the dialog.
    connect(preview, &QPrintPreviewDialog::paintRequested, preview,
            [printer, image](QPrinter *target) {
                QPainter painter(target);
                WindowImage::paint(painter, *target, image);
            });
    preview->open();
}

void FrmEvent::MnuPdf_Click()
{
    if (downloading_)
        return;
    WindowImage::exportPdfWithDialog(dialogs(), this, report_);
}
