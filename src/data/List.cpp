#include "data/List.h"

#include "data/FileState.h"
#include "data/FileTransfer.h"
#include "data/NoteBoxes.h"
#include "data/RecordGrid.h"
#include "ui/GridView.h"
#include "ui/KeepInLibraryBox.h"

#include <QAction>
#include <QHeaderView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Rows in view before the list starts to scroll with each new row.
constexpr int kVisibleRows = 18;

} // namespace

List::List(Meter &meter, FileState &files, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "List", QStringLiteral(" List"), parent), files_(files)
{
    grid_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
    setRecordingActive(files_.RecordingActive);
}

void List::buildControls()
{
    Toolbar1 = named(new QToolBar(this), "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char *key : {"Save", "Print", "Preview"}) {
        QAction *action = Toolbar1->addAction(QLatin1String(key));
        action->setObjectName(QLatin1String(key));
        connect(action, &QAction::triggered, this,
                [this, key] { Toolbar1_ButtonClick(QLatin1String(key)); });
        if (QLatin1String(key) == QLatin1String("Save"))
            save_ = action;
    }

    keepInLibrary_ = KeepInLibraryBox::addBeside(Toolbar1, save_, QStringLiteral("list"));

    Grid = named(new GridView(grid_, this), "Grid", QStringLiteral("Samples"),
                 QStringLiteral("The levels sampled, newest last"));
    Grid->setColumnWidths({QStringLiteral("AAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                           QStringLiteral("AA:AA:AAAAA"), QStringLiteral("AAAAAA")});
    Grid->setMinimumWidth(Grid->columnsWidth());
    notes_ = new NoteBoxes(this, QStringLiteral("the samples"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(Toolbar1);
    layout->addWidget(Grid, 1);
    notes_->addTo(layout);

    const int rowHeight = Grid->verticalHeader()->defaultSectionSize();
    Grid->setMinimumHeight(rowHeight * (kVisibleRows + 1) + 2 * Grid->frameWidth());
    resize(sizeHint());
}

void List::appendRecord(const QStringList &cells)
{
    const bool wasAtEnd = Grid->atEnd();
    grid_->appendRecord(cells);
    Grid->followNewest(wasAtEnd);
    unsaved_ = true;
}

const RecordTable &List::records() const
{
    return grid_->table();
}

QStringList List::notes() const
{
    return notes_->notes();
}

void List::setRecordingActive(bool active)
{
    save_->setEnabled(!active);
    save_->setToolTip(active ? QStringLiteral("The list cannot be saved while a recording runs")
                             : QStringLiteral("Save the rows and notes as a data file"));
}

void List::Toolbar1_ButtonClick(const QString &key)
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

void List::save()
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
