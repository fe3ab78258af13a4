#include "data/Memory.h"

#include "data/DatFile.h"
#include "data/FileState.h"
#include "data/FileTransfer.h"
#include "data/LoggerBusy.h"
#include "data/LoggerResults.h"
#include "data/LoggerRun.h"
#include "data/LoggerSettings.h"
#include "data/RecordGrid.h"
#include "link/Decoders.h"
#include "link/Messages.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/GridView.h"
#include "ui/KeepInLibraryBox.h"
#include "ui/ProgressPanel.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace

Memory::Memory(Meter &meter, LoggerResults &logger, FileState &files, Dialogs &dialogs,
               QWidget *parent)
    : MeterWindow(meter, dialogs, "Memory", QStringLiteral("Memory"), parent), logger_(logger),
      files_(files)
{
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
    ChkVerify = new QCheckBox(QStringLiteral("Verify"), this);
    ChkVerify->setToolTip(QStringLiteral("Stream the memory twice and compare: the only guard "
                                         "against sample bytes the line changed, at twice "
                                         "the time"));

    G1 = new ProgressPanel(QStringLiteral("Recorded Set(s)"), this);
    Grid1 = new GridView(sets_, this);
    G2 = new ProgressPanel(QStringLiteral("Details"), this);
    Grid2 = new GridView(details_, this);
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
                                                        {ChkVerify, "ChkVerify"},
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
    describe(TxtIDCode, QStringLiteral("ID Code"),
             QStringLiteral("The logger's ID code, 0 to 65535; Enter writes it to the meter"));
    describe(TxtInterval, QStringLiteral("Interval"),
             QStringLiteral("The logging interval in seconds, 0.1 to 6553.5; Enter writes it "
                            "to the meter"));
    describe(Grid1, QStringLiteral("Recorded sets"),
             QStringLiteral("One line per recorded set; click a set to list its samples"));
    describe(Grid2, QStringLiteral("Details"), QStringLiteral("The samples of the set clicked"));
    for (QLineEdit *note : {T1, T2, T3})
        describe(note, note->placeholderText(),
                 QStringLiteral("A note saved and printed with the samples"));

    Grid1->setColumnWidths({QStringLiteral("AAAAAAA"), QStringLiteral("AA:AA:AAAAA"),
                            QStringLiteral("AA:AA:AA"), QStringLiteral("AAAAAAA"),
                            QStringLiteral("AAAAAAAA")});
    Grid2->setColumnWidths({QStringLiteral("AAAAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
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
    figures->addWidget(ChkVerify, 2, 1, 1, 3);

    auto *left = new QVBoxLayout;
    left->addLayout(figures);
    left->addWidget(G1);
    left->addWidget(Grid1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdPrint);
    buttons->addWidget(CmdPreview);
    keepInLibrary_ = KeepInLibraryBox::addBeside(buttons, CmdSave, QStringLiteral("run"));

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

    Grid1->setMinimumWidth(Grid1->columnsWidth());
    Grid2->setMinimumWidth(Grid2->columnsWidth());
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
    // A failed download lists nothing: no figure or set of it could be trusted.
    if (!result.listed())
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
    LoggerResults &logger = logger_;
    if (logger.DownloadBusy)
        return;
    LoggerBusy busy(logger, meter());
    details_->clearRecords();
    const int set = row > 0 ? leadingInt(sets_->text(row, 0), 0, int(logger.RunData.size())) : 0;
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
    if (logger_.DownloadBusy)
        return true;
    if (meter().state().display.KeysLocked) {
        dialogs().inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
        return true;
    }
    if (!accepted(keyAscii))
        return false;
    if (keyAscii != LoggerSettings::kEnter)
        return true;
    const std::optional<int> value = parse(text);
    if (!value) {
        dialogs().message(this, QString(), invalid, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return false;
    }
    Command command(*this);
    write(meter(), logger_, *value);
    return false;
}

void Memory::TxtIDCode_MouseDown()
{
    dialogs().message(this, QString(), LoggerSettings::kIdCodeHelp, Dialogs::Icon::None,
                      Dialogs::Buttons::Ok);
}

void Memory::TxtInterval_MouseDown()
{
    dialogs().message(this, QString(), LoggerSettings::kIntervalHelp, Dialogs::Icon::None,
                      Dialogs::Buttons::Ok);
}

void Memory::LblRemaining_Click()
{
    if (meter().state().display.KeysLocked) {
        dialogs().inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
        return;
    }
    if (logger_.DownloadBusy)
        return;
    if (dialogs().message(this, QString(), LoggerSettings::kEraseWarning, Dialogs::Icon::Warning,
                          Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return;
    Command command(*this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoggerSettings::erase(meter(), logger_);
    QApplication::restoreOverrideCursor();
}

void Memory::CmdSave_Click()
{
    if (files_.RecordingActive)
        return;
    if (!FileTransfer::chooseDataFile(dialogs(), files_, this))
        return;
    if (FileTransfer::saveGrid(dialogs(), this, files_.CurrentFileName, details_->table(), notes()))
        keepInLibrary_->fileSaved(files_.CurrentFileName, QString::number(logger_.LoggerIdCode));
}

void Memory::CmdPrint_Click()
{
    FileTransfer::printGrid(dialogs(), this, details_->table(), notes());
}

void Memory::CmdPreview_Click()
{
    FileTransfer::previewGrid(dialogs(), this, details_->table(), notes());
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

// ---- the download ---------------------------------------------------------------------

void Memory::download()
{
    raise();
    activateWindow();
    if (logger_.DownloadBusy || closing() || !mayRunCommand(false))
        return;
    Command command(*this);
    for (;;) {
        beginDownload();
        LoggerDownload download(meter(), logger_);
        download.verify = ChkVerify->isChecked();
        download.streamProgress = [this](double percent) {
            if (!closing())
                setDownloadProgress(percent);
        };
        download.listProgress = download.streamProgress;
        download.cancelled = [this] { return closing(); };
        const LoggerDownload::Result result = download.run();
        if (closing())
            return;
        endDownload(result);
        if (result.message.isEmpty())
            return;
        if (result.outcome != LoggerDownload::Outcome::LineDamaged) {
            dialogs().inform(this, result.message, Dialogs::Icon::Warning);
            return;
        }
        // Another stream may well arrive whole.
        if (dialogs().message(
                this, QString(), result.message + QStringLiteral("\n\n") + kDownloadAgain,
                Dialogs::Icon::Warning, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes ||
            closing() || !mayRunCommand(false))
            return;
    }
}
