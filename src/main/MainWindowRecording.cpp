// The main window's sampling and recording: the sampler's tick, "Open", "Start Recording",
// "Stop Recording", the sample-period dialogs, and what the list window and "View File"
// need of the main window.

#include "main/MainWindow.h"

#include "data/FileState.h"
#include "data/FileTransfer.h"
#include "data/RecordListWindow.h"
#include "data/RecordTable.h"
#include "data/SavedFileWindow.h"
#include "link/Clock.h"
#include "main/AppState.h"
#include "ui/Dialogs.h"
#include "ui/StoredSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {

const QString kListName = QStringLiteral("RecordListWindow");

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

void MainWindow::buildRecording()
{
    samplingTimer_.setObjectName(QStringLiteral("samplingTimer"));
    samplingTimer_.setInterval(Sampler::kTimerMilliseconds);
    // The period is counted in ticks: a precise timer keeps 20 ticks at 2 s.
    samplingTimer_.setTimerType(Qt::PreciseTimer);
    connect(&samplingTimer_, &QTimer::timeout, this, &MainWindow::takeSample);

    for (QLabel *label : {fileNameLabel_, fileNameCaption_, samplePeriodCaption_}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    fileNameLabel_->setToolTip(tr("Click to choose the recording file"));
    fileNameCaption_->setToolTip(fileNameLabel_->toolTip());
    samplePeriodButton_->setToolTip(tr("Change the sample period"));
    samplePeriodCaption_->setToolTip(samplePeriodButton_->toolTip());

    connect(openAction_, &QAction::triggered, this, &MainWindow::chooseRecordingFile);
    connect(startRecordingAction_, &QAction::triggered, this, &MainWindow::startRecording);
    connect(stopRecordingAction_, &QAction::triggered, this, &MainWindow::stopRecording);
    connect(samplePeriodButton_, &QPushButton::clicked, this, &MainWindow::askSamplePeriod);
    updateRecordingControls();
}

void MainWindow::updateRecordingControls()
{
    const bool recording = sampler_.recording();
    // Another file chosen while recording would not be the one being written.
    openAction_->setEnabled(!recording && !startingRecording_);
    startRecordingAction_->setEnabled(sampler_.startAvailable() && !startingRecording_);
    stopRecordingAction_->setEnabled(recording);
    viewFileAction_->setEnabled(!recording);
    if (!recording) {
        recordingMark_->setVisible(false);
        recordCountValue_->clear();
    }
    if (auto *list = windows_.window<RecordListWindow>(kListName))
        list->setRecordingActive(recording);
}

void MainWindow::takeSample()
{
    RecordListWindow *list =
        state_.windows.ListWindowOpen ? windows_.window<RecordListWindow>(kListName) : nullptr;
    const bool fresh = Sampler::fresh(lastFrameSeconds_, meter_.clock().monotonicSeconds());
    showLevelFreshness(fresh);
    const QString path = sampler_.recordingPath();
    const Sampler::Tick tick =
        sampler_.tick(levelValue_->text(), meter_.state().display.DbaMode, fresh, list != nullptr);
    if (!tick.sampled)
        return;
    lastTimeValue_->setText(tick.lastTime);
    if (tick.recordNumber > 0) {
        // "Recording" blinks once per record.
        recordingMark_->setHidden(!recordingMark_->isHidden());
        recordCountValue_->setText(QString::number(tick.recordNumber));
    }
    if (tick.recordingEnded != Sampler::End::None)
        recordingEnded(tick, path);
    if (list && tick.listRow > 0)
        list->appendRecord(QStringList{QString::number(tick.listRow)} + tick.record);
    if (list && tick.listEnded != Sampler::End::None)
        closeList(list, tick.listEnded);
}

void MainWindow::recordingEnded(const Sampler::Tick &tick, const QString &path)
{
    updateRecordingControls();
    QString text;
    switch (tick.recordingEnded) {
    case Sampler::End::LeftDba:
        text = tr("Recording stopped: the meter's display left dBA mode.\n"
                  "%1 records are in %2.")
                   .arg(tick.recordsInFile)
                   .arg(shownPath(path));
        break;
    case Sampler::End::RecordLimit:
        text = tr("Recording stopped after %1 records, the most one recording "
                  "holds.\nThey are in %2.")
                   .arg(tick.recordsInFile)
                   .arg(shownPath(path));
        break;
    case Sampler::End::WriteFailed:
        text = tr("Recording stopped: %1 could not be written: %2.\n"
                  "%3 records had been written to it.")
                   .arg(shownPath(path), tick.error)
                   .arg(tick.recordsInFile);
        break;
    case Sampler::End::None:
    case Sampler::End::ByUser:
        return;
    }
    if (tick.recordsInFile > 0)
        keepInLibrary(path, QStringLiteral("recording"), QString());
    statusBar()->showMessage(text.section(QLatin1Char('\n'), 0, 0));
    // Shown once this tick is over, so that sampling goes on while the message is open.
    const Dialogs::Icon icon = tick.recordingEnded == Sampler::End::WriteFailed
                                   ? Dialogs::Icon::Critical
                                   : Dialogs::Icon::Warning;
    QMetaObject::invokeMethod(
        this,
        [this, text, icon] {
            if (!closing_)
                dialogs_.message(this, QString(), text, icon, Dialogs::Buttons::Ok);
        },
        Qt::QueuedConnection);
}

void MainWindow::closeList(RecordListWindow *list, Sampler::End why)
{
    QString text =
        why == Sampler::End::LeftDba
            ? tr("The list was closed: the meter's display left dBA mode.")
            : tr("The list was closed after %1 rows, the most it holds.").arg(Sampler::kMaxRecords);
    // The rows go with the window; offer to keep them when they were not saved.
    const bool offerSave = list->hasUnsavedRows() && !list->records().isEmpty();
    const RecordTable rows = offerSave ? list->records() : RecordTable();
    const QStringList notes = list->notes();
    list->closeWithoutAsking();
    QMetaObject::invokeMethod(
        this,
        [this, text, rows, notes, offerSave] {
            if (closing_)
                return;
            if (!offerSave || state_.files.RecordingActive) {
                dialogs_.message(this, QString(), text, Dialogs::Icon::Information,
                                 Dialogs::Buttons::Ok);
                return;
            }
            const QString ask = text + tr("\nSave its %1 rows?").arg(rows.recordCount());
            if (dialogs_.message(this, QString(), ask, Dialogs::Icon::Question,
                                 Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
                return;
            if (FileTransfer::chooseDataFile(dialogs_, state_.files, this))
                FileTransfer::saveGrid(dialogs_, this, state_.files.CurrentFileName, rows, notes);
        },
        Qt::QueuedConnection);
}

void MainWindow::listOpened(RecordListWindow *list)
{
    sampler_.resetListRows();
    list->setRecordingActive(sampler_.recording());
    connect(list, &MeterWindow::closed, this, [this] { sampler_.resetListRows(); });
}

void MainWindow::chooseRecordingFile()
{
    if (sampler_.recording() || startingRecording_)
        return;
    if (!FileTransfer::chooseDataFile(dialogs_, state_.files, this))
        return;
    sampler_.chooseFile(state_.files.CurrentFileName);
    fileNameShown_ = QFileInfo(state_.files.CurrentFileName).fileName();
    fileNameLabel_->setToolTip(shownPath(state_.files.CurrentFileName));
    showFileName();
    updateRecordingControls();
}

void MainWindow::showFileName()
{
    // A long name keeps its start and its end (where a date often stands); the tool tip
    // shows the whole path.
    fileNameLabel_->setText(fileNameLabel_->fontMetrics().elidedText(
        fileNameShown_, Qt::ElideMiddle, fileNameLabel_->contentsRect().width()));
}

void MainWindow::startRecording()
{
    if (!sampler_.startAvailable() || startingRecording_)
        return;
    startingRecording_ = true;
    updateRecordingControls();
    const bool prompted = windows_.dbaPrompt();
    startingRecording_ = false;
    updateRecordingControls();
    if (closing_ || !prompted)
        return;
    const QString path = sampler_.chosenFile();
    const QString error = sampler_.startRecording();
    updateRecordingControls();
    if (!error.isEmpty()) {
        dialogs_.message(this, QString(),
                         tr("The recording could not start: %1 could not be "
                            "created: %2.")
                             .arg(shownPath(path), error),
                         Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    statusBar()->showMessage(tr("Recording to %1").arg(shownPath(path)));
}

void MainWindow::stopRecording()
{
    if (!sampler_.recording())
        return;
    const QString path = sampler_.recordingPath();
    const int records = sampler_.stopRecording();
    updateRecordingControls();
    statusBar()->showMessage(
        tr("Recording stopped: %1 records are in %2.").arg(records).arg(shownPath(path)));
    if (records > 0)
        keepInLibrary(path, QStringLiteral("recording"), QString());
}

void MainWindow::askSamplePeriod()
{
    const Sampler::PeriodDialog &dialog = Sampler::kPeriodDialog;
    const std::optional<QString> answer =
        dialogs_.input(this, tr(dialog.title), tr(dialog.prompt), sampler_.periodText());
    if (!answer)
        return;
    const std::optional<double> seconds = Sampler::periodFromAnswer(*answer);
    if (!seconds)
        return;
    sampler_.setPeriod(*seconds);
    samplePeriodValue_->setText(sampler_.periodLabel());
    if (settings_)
        settings_->setSampleTicks(sampler_.SampleTicks());
}

bool MainWindow::chooseFileToView()
{
    // The recording holds the file state meanwhile.
    if (sampler_.recording())
        return false;
    viewPath_ =
        dialogs_.openFileName(this, QStringLiteral("View File"), FileTransfer::kDataFileFilter);
    return !viewPath_.isEmpty();
}

void MainWindow::viewFile(SavedFileWindow *window)
{
    if (!window->load(viewPath_)) {
        window->close();
        return;
    }
    connectAnalysis(window);
}
