#include "data/Memory.h"

#include "data/DatFile.h"
#include "data/FileTransfer.h"
#include "data/LoggerBusy.h"
#include "data/LoggerRun.h"
#include "data/LoggerSettings.h"
#include "data/RecordGrid.h"
#include "link/Decoders.h"
#include "link/Meter.h"
#include "main/AppState.h"
#include "ui/Dialogs.h"
#include "ui/ProgressPanel.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

// The character code of a key press as the entry boxes see it (8 Backspace, 13 Enter),
// or -1 for keys that type nothing (arrows, Home, ...), which pass unfiltered.
int keyAscii(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return LoggerSettings::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return LoggerSettings::kEnter;
    default:
        break;
    }
    const QString text = event->text();
    return text.size() == 1 ? text.at(0).unicode() : -1;
}

QLabel *captionPanel(const QString &caption, QWidget *parent)
{
    QLabel *label = Theme::caption(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *valuePanel(QWidget *parent)
{
    QLabel *label = Theme::value(QString(), parent);
    label->setProperty("role", QStringLiteral("boxed"));
    return label;
}

QTableView *gridView(RecordGrid *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->verticalHeader()->hide();
    // Fixed row heights: the view then never measures rows, however many there are.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

class Memory::Command {
public:
    explicit Command(Memory &window) : window_(window) { ++window_.commands_; }
    ~Command()
    {
        if (--window_.commands_ == 0 && window_.closePending_) {
            window_.closePending_ = false;
            QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
        }
    }
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

private:
    Memory &window_;
};

Memory::Memory(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), meter_(meter), state_(state), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Memory"));
    setWindowTitle(QStringLiteral("Memory"));
    setProperty("role", QStringLiteral("window"));
    setStyleSheet(Theme::windowStyleSheet());
    sets_ = new RecordGrid(LoggerRun::setHeadings(), this);
    details_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
}

void Memory::buildControls()
{
    SSPanel2 = captionPanel(QStringLiteral("ID Code"), this);
    SSPanel1 = captionPanel(QStringLiteral("Interval"), this);
    SSPanel4 = captionPanel(QStringLiteral("Memory"), this);
    SSPanel3 = captionPanel(QStringLiteral("Remain"), this);
    TxtIDCode = new QLineEdit(this);
    TxtInterval = new QLineEdit(this);
    for (QLineEdit *box : {TxtIDCode, TxtInterval}) {
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
    }
    LblMemory = valuePanel(this);
    LblRemaining = valuePanel(this);
    LblRemaining->setCursor(Qt::PointingHandCursor);
    LblRemaining->setToolTip(QStringLiteral("Click to erase the meter's memory"));
    LblRemaining->installEventFilter(this);

    G1 = new ProgressPanel(QStringLiteral("Recorded Set(s)"), this);
    Grid1 = gridView(sets_, this);
    G2 = new ProgressPanel(QStringLiteral("Details"), this);
    Grid2 = gridView(details_, this);
    T1 = new QLineEdit(this);
    T2 = new QLineEdit(this);
    T3 = new QLineEdit(this);
    T1->setPlaceholderText(QStringLiteral("Note 1"));
    T2->setPlaceholderText(QStringLiteral("Note 2"));
    T3->setPlaceholderText(QStringLiteral("Note 3"));
    CmdSave = new QPushButton(QStringLiteral("Save"), this);
    CmdPrint = new QPushButton(QStringLiteral("Print"), this);
    CmdPreview = new QPushButton(QStringLiteral("Preview"), this);

    const std::pair<QWidget *, const char *> names[] = {{SSPanel1, "SSPanel1"},
                                                        {SSPanel2, "SSPanel2"},
                                                        {SSPanel3, "SSPanel3"},
                                                        {SSPanel4, "SSPanel4"},
                                                        {TxtIDCode, "TxtIDCode"},
                                                        {TxtInterval, "TxtInterval"},
                                                        {LblMemory, "LblMemory"},
                                                        {LblRemaining, "LblRemaining"},
                                                        {G1, "G1"},
                                                        {Grid1, "Grid1"},
                                                        {G2, "G2"},
                                                        {Grid2, "Grid2"},
                                                        {T1, "T1"},
                                                        {T2, "T2"},
                                                        {T3, "T3"},
                                                        {CmdSave, "CmdSave"},
                                                        {CmdPrint, "CmdPrint"},
                                                        {CmdPreview, "CmdPreview"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    setColumnWidths(Grid1, {QStringLiteral("AAAAAAA"), QStringLiteral("AA:AA:AAAAA"),
                            QStringLiteral("AA:AA:AA"), QStringLiteral("AAAAAAA"),
                            QStringLiteral("AAAAAAAA")});
    setColumnWidths(Grid2, {QStringLiteral("AAAAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                            QStringLiteral("AA:AA:AAAAA"), QStringLiteral("AAAAAAAA")});

    auto *figures = new QGridLayout;
    figures->addWidget(SSPanel2, 0, 0);
    figures->addWidget(TxtIDCode, 0, 1);
    figures->addWidget(SSPanel1, 0, 2);
    figures->addWidget(TxtInterval, 0, 3);
    figures->addWidget(SSPanel4, 1, 0);
    figures->addWidget(LblMemory, 1, 1);
    figures->addWidget(SSPanel3, 1, 2);
    figures->addWidget(LblRemaining, 1, 3);

    auto *left = new QVBoxLayout;
    left->addLayout(figures);
    left->addWidget(G1);
    left->addWidget(Grid1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdPrint);
    buttons->addWidget(CmdPreview);

    auto *right = new QVBoxLayout;
    right->addWidget(G2);
    right->addWidget(Grid2, 1);
    right->addWidget(T1);
    right->addWidget(T2);
    right->addWidget(T3);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addLayout(right, 4);

    const int gridWidth = [](QTableView *grid) {
        int width = 0;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            width += grid->horizontalHeader()->sectionSize(c);
        return width + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
               2 * grid->frameWidth();
    }(Grid1);
    Grid1->setMinimumWidth(gridWidth);
    Grid2->setMinimumWidth([this] {
        int width = 0;
        for (int c = 0; c < details_->columnCount(); ++c)
            width += Grid2->horizontalHeader()->sectionSize(c);
        return width + Grid2->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
               2 * Grid2->frameWidth();
    }());
    resize(sizeHint().width(), 460);

    connect(Grid1, &QTableView::clicked, this,
            [this](const QModelIndex &index) { Grid1_Click(index.row() + 1); });
    // A click on the heading row lists nothing, as a click on any row without a set.
    connect(Grid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { Grid1_Click(0); });
    for (QLineEdit *note : {T1, T2, T3})
        connect(note, &QLineEdit::textEdited, this, [this, note] { filterNote(note); });
    connect(CmdSave, &QPushButton::clicked, this, &Memory::CmdSave_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &Memory::CmdPrint_Click);
    connect(CmdPreview, &QPushButton::clicked, this, &Memory::CmdPreview_Click);
}

void Memory::setColumnWidths(QTableView *grid, const QStringList &samples)
{
    const QFontMetrics metrics = grid->fontMetrics();
    const QFontMetrics headerMetrics = grid->horizontalHeader()->fontMetrics();
    for (int c = 0; c < samples.size(); ++c) {
        const QString heading = grid->model()->headerData(c, Qt::Horizontal).toString();
        const int width = std::max(metrics.horizontalAdvance(samples.at(c)),
                                   headerMetrics.horizontalAdvance(heading));
        grid->horizontalHeader()->resizeSection(c, width + 12);
    }
}

QStringList Memory::notes() const
{
    return {T1->text(), T2->text(), T3->text()};
}

void Memory::filterNote(QLineEdit *note)
{
    const QString text = note->text();
    const QString clean = DatFile::cleanNote(text);
    if (clean == text)
        return;
    const int cursor = int(DatFile::cleanNote(text.left(note->cursorPosition())).size());
    note->setText(clean);
    note->setCursorPosition(cursor);
}

// ---- the download's steps ------------------------------------------------------------

void Memory::beginDownload()
{
    sets_->clearRecords();
    TxtIDCode->clear();
    TxtInterval->clear();
    LblMemory->clear();
    LblRemaining->clear();
    g1Caption_ = G1->caption();
    G1->setFillVisible(true);
}

void Memory::setDownloadProgress(double percent)
{
    G1->setPercent(percent);
}

void Memory::endDownload(const LoggerDownload::Result &result)
{
    G1->setFillVisible(false);
    G1->setCaption(g1Caption_);
    // An incomplete stream lists nothing: no figure or set of it could be trusted.
    if (!result.streamComplete())
        return;
    TxtIDCode->setText(result.idCodeText);
    TxtInterval->setText(result.intervalText);
    LblMemory->setText(result.memoryText);
    LblRemaining->setText(result.remainingText);
    RecordTable table(LoggerRun::setHeadings());
    for (const LoggerRun::SetLine &line : result.sets)
        table.appendRecord(line.cells());
    sets_->setTable(std::move(table));
}

// ---- control events --------------------------------------------------------------------

void Memory::Grid1_Click(int row)
{
    LoggerResults &logger = state_.logger;
    if (logger.DownloadBusy)
        return;
    LoggerBusy busy(logger, meter_);
    details_->clearRecords();
    const int set = row > 0 ? int(leadingNumber(sets_->text(row, 0))) : 0;
    if (set < 1 || set >= int(logger.RunData.size()))
        return;
    G2->setFillVisible(true);
    RecordTable records = LoggerRun::records(sets_->table().record(row - 1), logger.RunData[set],
                                             [this](double percent) { G2->setPercent(percent); });
    details_->setTable(std::move(records));
    G2->setFillVisible(false);
}

bool Memory::TxtIDCode_KeyPress(int keyAscii)
{
    return settingKeyPress(keyAscii, TxtIDCode->text(), &LoggerSettings::idCodeKeyAccepted,
                           &LoggerSettings::idCode, LoggerSettings::kIdCodeInvalid,
                           &LoggerSettings::writeIdCode);
}

bool Memory::TxtInterval_KeyPress(int keyAscii)
{
    return settingKeyPress(keyAscii, TxtInterval->text(), &LoggerSettings::intervalKeyAccepted,
                           &LoggerSettings::intervalTenths, LoggerSettings::kIntervalInvalid,
                           &LoggerSettings::writeInterval);
}

bool Memory::settingKeyPress(int keyAscii, const QString &text, bool (*accepted)(int),
                             std::optional<int> (*parse)(const QString &), const QString &invalid,
                             bool (*write)(Meter &, LoggerResults &, int))
{
    // While busy or locked the key goes into the text as typed and nothing is written.
    if (state_.logger.DownloadBusy)
        return true;
    if (meter_.state().display.KeysLocked) {
        dialogs_.message(this, QString(), LoggerSettings::kKeyLocked, Dialogs::Icon::Critical,
                         Dialogs::Buttons::Ok);
        return true;
    }
    if (!accepted(keyAscii))
        return false;
    if (keyAscii != LoggerSettings::kEnter)
        return true;
    const std::optional<int> value = parse(text);
    if (!value) {
        dialogs_.message(this, QString(), invalid, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return false;
    }
    Command command(*this);
    write(meter_, state_.logger, *value);
    return false;
}

void Memory::TxtIDCode_MouseDown()
{
    dialogs_.message(this, QString(), LoggerSettings::kIdCodeHelp, Dialogs::Icon::None,
                     Dialogs::Buttons::Ok);
}

void Memory::TxtInterval_MouseDown()
{
    dialogs_.message(this, QString(), LoggerSettings::kIntervalHelp, Dialogs::Icon::None,
                     Dialogs::Buttons::Ok);
}

void Memory::LblRemaining_Click()
{
    if (meter_.state().display.KeysLocked) {
        dialogs_.message(this, QString(), LoggerSettings::kKeyLocked, Dialogs::Icon::Critical,
                         Dialogs::Buttons::Ok);
        return;
    }
    if (state_.logger.DownloadBusy)
        return;
    if (dialogs_.message(this, QString(), LoggerSettings::kEraseWarning, Dialogs::Icon::Warning,
                         Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return;
    Command command(*this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoggerSettings::erase(meter_, state_.logger);
    QApplication::restoreOverrideCursor();
}

void Memory::CmdSave_Click()
{
    if (state_.files.RecordingActive)
        return;
    if (!FileTransfer::chooseDataFile(dialogs_, state_.files, this))
        return;
    FileTransfer::saveGrid(dialogs_, this, state_.files.CurrentFileName, details_->table(),
                           notes());
}

void Memory::CmdPrint_Click()
{
    FileTransfer::printGrid(dialogs_, this, details_->table(), notes());
}

void Memory::CmdPreview_Click()
{
    FileTransfer::previewGrid(dialogs_, this, details_->table(), notes());
}

bool Memory::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtIDCode || watched == TxtInterval) {
        if (event->type() == QEvent::KeyPress) {
            const int code = keyAscii(static_cast<QKeyEvent *>(event));
            if (code < 0)
                return false;
            const bool keep =
                watched == TxtIDCode ? TxtIDCode_KeyPress(code) : TxtInterval_KeyPress(code);
            return !keep;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            if (watched == TxtIDCode)
                TxtIDCode_MouseDown();
            else
                TxtInterval_MouseDown();
        }
        return false;
    }
    if (watched == LblRemaining && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        LblRemaining_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Memory::closeEvent(QCloseEvent *event)
{
    if (commands_ > 0) {
        // A command is inside a wait on the meter and comes back to this window.
        closePending_ = true;
        hide();
        event->ignore();
        return;
    }
    closed_ = true;
    QWidget::closeEvent(event);
}

// ---- the download ---------------------------------------------------------------------

void runMemoryDownload(QPointer<Memory> &window, Meter &meter, AppState &state, Dialogs &dialogs,
                       QWidget *mainWindow)
{
    if (state.logger.DownloadBusy) {
        if (window)
            window->raise();
        return;
    }
    if (!window) {
        window = new Memory(meter, state, dialogs);
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (mainWindow) {
            const QRect main = mainWindow->frameGeometry();
            window->move(main.right() + 1, main.top());
        }
    }
    // The caller's pointer may go with the main window; the download keeps its own.
    const QPointer<Memory> target = window;
    target->show();
    target->raise();
    target->activateWindow();
    target->beginDownload();

    const auto gone = [target] { return target.isNull() || target->closed(); };
    LoggerDownload download(meter, state.logger);
    download.streamProgress = [target, gone](double percent) {
        if (!gone())
            target->setDownloadProgress(percent);
    };
    download.listProgress = download.streamProgress;
    download.cancelled = gone;
    const LoggerDownload::Result result = download.run();
    if (gone())
        return;
    target->endDownload(result);
    if (!result.message.isEmpty())
        dialogs.message(target, QString(), result.message, Dialogs::Icon::Warning,
                        Dialogs::Buttons::Ok);
}
