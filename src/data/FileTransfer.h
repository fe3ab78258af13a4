#pragma once

// The file operations every record window shares: choose a data file name, save a
// grid with its notes, print it (and preview the print). Reading a file back is
// DatFile::read(); a column for the plot window is PlotColumn::fromTable().

#include "data/RecordTable.h"

#include <QString>
#include <QStringList>

#include <optional>

class Dialogs;
class QPrintPreviewDialog;
class QWidget;
struct FileState;

namespace FileTransfer {

inline const QString kDataFileFilter =
    QStringLiteral("Data File[*.dat] (*.dat);;All type[*.*] (*)");
// Shown translated, in the FileTransfer context.
inline const QString kRecordsPerLinePrompt =
    QStringLiteral(QT_TRANSLATE_NOOP("FileTransfer", "Input record(s) to print in one row (1-5)"));
// Shown after the print dialog, one line of the message per entry.
QStringList printerNoteLines();

// The save-as dialog: sets CurrentFileName and FileChosen = true for a chosen name,
// FileChosen = false on Cancel. Returns FileChosen.
bool chooseDataFile(Dialogs &dialogs, FileState &files, QWidget *parent);

// Writes the grid and the notes to `path` in the grid form. A failure is reported in a
// message and leaves any existing file as it was. True when saved.
bool saveGrid(Dialogs &dialogs, QWidget *parent, const QString &path, const RecordTable &table,
              const QStringList &notes);

// Asks how many records to print on one line until the answer is 1..5; nullopt when the
// answer is empty or cancelled.
std::optional<int> askRecordsPerLine(Dialogs &dialogs, QWidget *parent);

// The print dialog, the printer note, the records-per-line prompt, then one document
// per copy. `window`'s caption is kept. True when printed.
bool printGrid(Dialogs &dialogs, QWidget *window, const RecordTable &table,
               const QStringList &notes);

// The records-per-line prompt, then a print preview window (not modal, deleted when
// closed) from which the report can also be printed. nullptr when the prompt was
// cancelled.
QPrintPreviewDialog *previewGrid(Dialogs &dialogs, QWidget *window, const RecordTable &table,
                                 const QStringList &notes);

} // namespace FileTransfer
