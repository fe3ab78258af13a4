#include "data/RecordListWindow.h"

#include "data/FileState.h"
#include "data/FileTransfer.h"
#include "data/NoteBoxes.h"
#include "data/RecordGrid.h"
#include "ui/Dialogs.h"
#include "ui/GridView.h"
#include "ui/KeepInLibraryBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Rows in view before the list starts to scroll with each new row.
constexpr int kVisibleRows = 18;

} // namespace

RecordListWindow::RecordListWindow(Meter &meter, FileState &files, Dialogs &dialogs,
                                   QWidget *parent)
    : MeterWindow(meter, dialogs, "RecordListWindow", tr(" List"), parent), files_(files)
{
    recordGrid_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
    setRecordingActive(files_.RecordingActive);
}

void RecordListWindow::buildControls()
{
    toolbar_ = named(new QToolBar(this), "toolbar");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char *key : {QT_TR_NOOP("Save"), QT_TR_NOOP("Print"), QT_TR_NOOP("Preview")}) {
        QAction *action = toolbar_->addAction(tr(key));
        action->setObjectName(QLatin1String(key));
        connect(action, &QAction::triggered, this,
                [this, key] { runToolbarCommand(QLatin1String(key)); });
        if (QLatin1String(key) == QLatin1String("Save"))
            save_ = action;
    }

    keepInLibrary_ = KeepInLibraryBox::addBeside(toolbar_, save_, QStringLiteral("list"));

    grid_ = named(new GridView(recordGrid_, this), "grid", tr("Samples"),
                  tr("The levels sampled, newest last"));
    grid_->setColumnWidths({QStringLiteral("AAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                            QStringLiteral("AA:AA:AAAAA"), QStringLiteral("AAAAAA")});
    grid_->setMinimumWidth(grid_->columnsWidth());
    notes_ = new NoteBoxes(this, tr("the samples"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(toolbar_);
    layout->addWidget(grid_, 1);
    notes_->addTo(layout);

    const int rowHeight = grid_->verticalHeader()->defaultSectionSize();
    grid_->setMinimumHeight(rowHeight * (kVisibleRows + 1) + 2 * grid_->frameWidth());
    resize(sizeHint());
}

void RecordListWindow::appendRecord(const QStringList &cells)
{
    const bool wasAtEnd = grid_->atEnd();
    recordGrid_->appendRecord(cells);
    grid_->followNewest(wasAtEnd);
    unsaved_ = true;
}

const RecordTable &RecordListWindow::records() const
{
    return recordGrid_->table();
}

QStringList RecordListWindow::notes() const
{
    return notes_->notes();
}

void RecordListWindow::setRecordingActive(bool active)
{
    save_->setEnabled(!active);
    save_->setToolTip(active ? tr("The list cannot be saved while a recording runs")
                             : tr("Save the rows and notes as a data file"));
}

void RecordListWindow::runToolbarCommand(const QString &key)
{
    // The sampler may close the list while one of these dialogs is open (the meter left dBA
    // mode): the window stays until the dialog is done.
    Command command(*this);
    if (key == QLatin1String("Save"))
        save();
    else if (key == QLatin1String("Print"))
        FileTransfer::printGrid(dialogs(), this, records(), notes());
    else if (key == QLatin1String("Preview"))
        FileTransfer::previewGrid(dialogs(), this, records(), notes());
}

void RecordListWindow::closeWithoutAsking()
{
    asked_ = true;
    close();
}

void RecordListWindow::closeEvent(QCloseEvent *event)
{
    if (!closing() && !commandRunning() && !asked_) {
        if (!mayDropRows()) {
            event->ignore();
            return;
        }
        asked_ = true;
    }
    MeterWindow::closeEvent(event);
}

bool RecordListWindow::mayDropRows()
{
    const int rows = records().recordCount();
    if (!unsaved_ || rows == 0)
        return true;
    if (files_.RecordingActive) {
        // Save is refused while the recording holds the file state: only dropping is left.
        return dialogs().message(this, QString(),
                                 tr("The list's %1 rows are not saved, and cannot be "
                                    "saved while a recording runs.\nClose the "
                                    "list and drop them?")
                                     .arg(rows),
                                 Dialogs::Icon::Warning,
                                 Dialogs::Buttons::OkCancelWithCancelDefault) ==
               Dialogs::Answer::Ok;
    }
    switch (dialogs().message(this, QString(),
                              tr("The list's %1 rows are not saved.\nSave them "
                                 "before closing the list?")
                                  .arg(rows),
                              Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel)) {
    case Dialogs::Answer::Yes:
        save();
        return !unsaved_;
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Ok:
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void RecordListWindow::save()
{
    // The recording holds the file name and the file state meanwhile.
    if (files_.RecordingActive)
        return;
    if (!FileTransfer::chooseDataFile(dialogs(), files_, this))
        return;
    if (FileTransfer::saveGrid(dialogs(), this, files_.CurrentFileName, records(), notes())) {
        unsaved_ = false;
        keepInLibrary_->fileSaved(files_.CurrentFileName);
    }
}
