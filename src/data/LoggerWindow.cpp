#include "data/LoggerWindow.h"

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

LoggerWindow::LoggerWindow(Meter &meter, LoggerResults &logger, FileState &files, Dialogs &dialogs,
                           QWidget *parent)
    : MeterWindow(meter, dialogs, "LoggerWindow", tr("Memory"), parent), logger_(logger),
      files_(files)
{
    sets_ = new RecordGrid(LoggerRun::setHeadings(), this);
    details_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
}

void LoggerWindow::buildControls()
{
    idCodeCaption_ = captionPanel(tr("ID Code"), this);
    intervalCaption_ = captionPanel(tr("Interval"), this);
    memoryCaption_ = captionPanel(tr("Memory"), this);
    remainCaption_ = captionPanel(tr("Remain"), this);
    idCodeEdit_ = new QLineEdit(this);
    intervalEdit_ = new QLineEdit(this);
    for (QLineEdit *box : {idCodeEdit_, intervalEdit_}) {
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
    }
    memoryValue_ = valuePanel(this);
    remainingValue_ = valuePanel(this);
    remainingValue_->setCursor(Qt::PointingHandCursor);
    remainingValue_->setToolTip(tr("Click to erase the meter's memory"));
    remainingValue_->installEventFilter(this);
    verifyBox_ = new QCheckBox(tr("Verify"), this);
    verifyBox_->setToolTip(tr("Stream the memory twice and compare: the only guard "
                              "against sample bytes the line changed, at twice "
                              "the time"));

    setsPanel_ = new ProgressPanel(tr("Recorded Set(s)"), this);
    setsGrid_ = new GridView(sets_, this);
    detailsPanel_ = new ProgressPanel(tr("Details"), this);
    detailsGrid_ = new GridView(details_, this);
    note1_ = new QLineEdit(this);
    note2_ = new QLineEdit(this);
    note3_ = new QLineEdit(this);
    note1_->setPlaceholderText(tr("Note 1"));
    note2_->setPlaceholderText(tr("Note 2"));
    note3_->setPlaceholderText(tr("Note 3"));
    saveButton_ = new QPushButton(tr("Save"), this);
    printButton_ = new QPushButton(tr("Print"), this);
    previewButton_ = new QPushButton(tr("Preview"), this);

    const std::pair<QWidget *, const char *> names[] = {{intervalCaption_, "intervalCaption"},
                                                        {idCodeCaption_, "idCodeCaption"},
                                                        {remainCaption_, "remainCaption"},
                                                        {memoryCaption_, "memoryCaption"},
                                                        {idCodeEdit_, "idCodeEdit"},
                                                        {intervalEdit_, "intervalEdit"},
                                                        {memoryValue_, "memoryValue"},
                                                        {remainingValue_, "remainingValue"},
                                                        {verifyBox_, "verifyBox"},
                                                        {setsPanel_, "setsPanel"},
                                                        {setsGrid_, "setsGrid"},
                                                        {detailsPanel_, "detailsPanel"},
                                                        {detailsGrid_, "detailsGrid"},
                                                        {note1_, "note1"},
                                                        {note2_, "note2"},
                                                        {note3_, "note3"},
                                                        {saveButton_, "saveButton"},
                                                        {printButton_, "printButton"},
                                                        {previewButton_, "previewButton"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    describe(idCodeEdit_, tr("ID Code"),
             tr("The logger's ID code, 0 to 65535; Enter writes it to the meter"));
    describe(intervalEdit_, tr("Interval"),
             tr("The logging interval in seconds, 0.1 to 6553.5; Enter writes it "
                "to the meter"));
    describe(setsGrid_, tr("Recorded sets"),
             tr("One line per recorded set; click a set to list its samples"));
    describe(detailsGrid_, tr("Details"), tr("The samples of the set clicked"));
    for (QLineEdit *note : {note1_, note2_, note3_})
        describe(note, note->placeholderText(), tr("A note saved and printed with the samples"));

    setsGrid_->setColumnWidths({QStringLiteral("AAAAAAA"), QStringLiteral("AA:AA:AAAAA"),
                                QStringLiteral("AA:AA:AA"), QStringLiteral("AAAAAAA"),
                                QStringLiteral("AAAAAAAA")});
    detailsGrid_->setColumnWidths({QStringLiteral("AAAAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                                   QStringLiteral("AA:AA:AAAAA"), QStringLiteral("AAAAAAAA")});

    auto *figures = new QGridLayout;
    figures->addWidget(idCodeCaption_, 0, 0);
    figures->addWidget(idCodeEdit_, 0, 1);
    figures->addWidget(intervalCaption_, 0, 2);
    figures->addWidget(intervalEdit_, 0, 3);
    figures->addWidget(memoryCaption_, 1, 0);
    figures->addWidget(memoryValue_, 1, 1);
    figures->addWidget(remainCaption_, 1, 2);
    figures->addWidget(remainingValue_, 1, 3);
    figures->addWidget(verifyBox_, 2, 1, 1, 3);

    auto *left = new QVBoxLayout;
    left->addLayout(figures);
    left->addWidget(setsPanel_);
    left->addWidget(setsGrid_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(printButton_);
    buttons->addWidget(previewButton_);
    keepInLibrary_ = KeepInLibraryBox::addBeside(buttons, saveButton_, QStringLiteral("run"));

    auto *right = new QVBoxLayout;
    right->addWidget(detailsPanel_);
    right->addWidget(detailsGrid_, 1);
    right->addWidget(note1_);
    right->addWidget(note2_);
    right->addWidget(note3_);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addLayout(right, 4);

    setsGrid_->setMinimumWidth(setsGrid_->columnsWidth());
    detailsGrid_->setMinimumWidth(detailsGrid_->columnsWidth());
    resize(sizeHint().width(), 460);

    connect(setsGrid_, &QTableView::clicked, this,
            [this](const QModelIndex &index) { showSet(index.row() + 1); });
    // A click on the heading row lists nothing, as a click on any row without a set.
    connect(setsGrid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { showSet(0); });
    for (QLineEdit *note : {note1_, note2_, note3_})
        connect(note, &QLineEdit::textEdited, this, [this, note] { filterNote(note); });
    connect(saveButton_, &QPushButton::clicked, this, &LoggerWindow::saveSet);
    connect(printButton_, &QPushButton::clicked, this, &LoggerWindow::printSet);
    connect(previewButton_, &QPushButton::clicked, this, &LoggerWindow::previewSet);
}

QStringList LoggerWindow::notes() const
{
    return {note1_->text(), note2_->text(), note3_->text()};
}

void LoggerWindow::filterNote(QLineEdit *note)
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

void LoggerWindow::beginDownload()
{
    sets_->clearRecords();
    idCodeEdit_->clear();
    intervalEdit_->clear();
    memoryValue_->clear();
    remainingValue_->clear();
    setsCaption_ = setsPanel_->caption();
    setsPanel_->setFillVisible(true);
}

void LoggerWindow::setDownloadProgress(double percent)
{
    setsPanel_->setPercent(percent);
}

void LoggerWindow::endDownload(const LoggerDownload::Result &result)
{
    setsPanel_->setFillVisible(false);
    setsPanel_->setCaption(setsCaption_);
    // A failed download lists nothing: no figure or set of it could be trusted.
    if (!result.listed())
        return;
    idCodeEdit_->setText(result.idCodeText);
    intervalEdit_->setText(result.intervalText);
    memoryValue_->setText(result.memoryText);
    remainingValue_->setText(result.remainingText);
    RecordTable table(LoggerRun::setHeadings());
    for (const LoggerRun::SetLine &line : result.sets)
        table.appendRecord(line.cells());
    sets_->setTable(std::move(table));
}

// ---- control events --------------------------------------------------------------------

void LoggerWindow::showSet(int row)
{
    LoggerResults &logger = logger_;
    if (logger.DownloadBusy)
        return;
    LoggerBusy busy(logger, meter());
    details_->clearRecords();
    const int set = row > 0 ? leadingInt(sets_->text(row, 0), 0, int(logger.RunData.size())) : 0;
    if (set < 1 || set >= int(logger.RunData.size()))
        return;
    detailsPanel_->setFillVisible(true);
    RecordTable records =
        LoggerRun::records(sets_->table().record(row - 1), logger.RunData[set],
                           [this](double percent) { detailsPanel_->setPercent(percent); });
    details_->setTable(std::move(records));
    detailsPanel_->setFillVisible(false);
}

bool LoggerWindow::idCodeKeyPress(int keyAscii)
{
    return settingKeyPress(
        keyAscii, idCodeEdit_->text(), &LoggerSettings::idCodeKeyAccepted, &LoggerSettings::idCode,
        LoggerSettings::translated(LoggerSettings::kIdCodeInvalid), &LoggerSettings::writeIdCode);
}

bool LoggerWindow::intervalKeyPress(int keyAscii)
{
    return settingKeyPress(keyAscii, intervalEdit_->text(), &LoggerSettings::intervalKeyAccepted,
                           &LoggerSettings::intervalTenths,
                           LoggerSettings::translated(LoggerSettings::kIntervalInvalid),
                           &LoggerSettings::writeInterval);
}

bool LoggerWindow::settingKeyPress(int keyAscii, const QString &text, bool (*accepted)(int),
                                   std::optional<int> (*parse)(const QString &),
                                   const QString &invalid,
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

void LoggerWindow::idCodeClicked()
{
    dialogs().message(this, QString(), LoggerSettings::translated(LoggerSettings::kIdCodeHelp),
                      Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

void LoggerWindow::intervalClicked()
{
    dialogs().message(this, QString(), LoggerSettings::translated(LoggerSettings::kIntervalHelp),
                      Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

void LoggerWindow::eraseMemory()
{
    if (meter().state().display.KeysLocked) {
        dialogs().inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
        return;
    }
    if (logger_.DownloadBusy)
        return;
    if (dialogs().message(this, QString(),
                          LoggerSettings::translated(LoggerSettings::kEraseWarning),
                          Dialogs::Icon::Warning,
                          Dialogs::Buttons::OkCancelWithCancelDefault) != Dialogs::Answer::Ok)
        return;
    Command command(*this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoggerSettings::erase(meter(), logger_);
    QApplication::restoreOverrideCursor();
}

void LoggerWindow::saveSet()
{
    if (files_.RecordingActive)
        return;
    if (!FileTransfer::chooseDataFile(dialogs(), files_, this))
        return;
    if (FileTransfer::saveGrid(dialogs(), this, files_.CurrentFileName, details_->table(), notes()))
        keepInLibrary_->fileSaved(files_.CurrentFileName, QString::number(logger_.LoggerIdCode));
}

void LoggerWindow::printSet()
{
    FileTransfer::printGrid(dialogs(), this, details_->table(), notes());
}

void LoggerWindow::previewSet()
{
    FileTransfer::previewGrid(dialogs(), this, details_->table(), notes());
}

bool LoggerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == idCodeEdit_ || watched == intervalEdit_) {
        if (event->type() == QEvent::KeyPress) {
            const int code = keyAscii(static_cast<QKeyEvent *>(event));
            if (code < 0)
                return false;
            const bool keep =
                watched == idCodeEdit_ ? idCodeKeyPress(code) : intervalKeyPress(code);
            return !keep;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            if (watched == idCodeEdit_)
                idCodeClicked();
            else
                intervalClicked();
        }
        return false;
    }
    if (watched == remainingValue_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        eraseMemory();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the download ---------------------------------------------------------------------

void LoggerWindow::download()
{
    raise();
    activateWindow();
    if (logger_.DownloadBusy || closing() || !mayRunCommand(false))
        return;
    Command command(*this);
    for (;;) {
        beginDownload();
        LoggerDownload download(meter(), logger_);
        download.verify = verifyBox_->isChecked();
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
                this, QString(),
                result.message + QStringLiteral("\n\n") + tr(kDownloadAgain.toUtf8().constData()),
                Dialogs::Icon::Warning, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes ||
            closing() || !mayRunCommand(false))
            return;
    }
}
