#pragma once

// The averaging window's commands that ask the user something: the interval prompt,
// Save and Open. The window calls these with its Dialogs and its run.

#include "averaging/AvgFile.h"

#include <QString>

#include <optional>

class AverageRun;
class Dialogs;
class QWidget;

namespace AverageDialogs {

// Asks for the interval until the reply is valid ("Invalid, try again!" in between); an
// empty or cancelled reply changes nothing. Does nothing while "Interval" is unavailable.
// True when the interval was set.
bool askInterval(Dialogs &dialogs, QWidget *window, AverageRun &run);

// Save: nothing while the main window records (`recordingActive`) or while "Save" is
// unavailable; else the save-as dialog, `currentFileName` = the chosen name, and the
// file with the window's three text boxes. A failed write is reported in a message and
// leaves an existing file as it was. True when saved.
bool save(Dialogs &dialogs, QWidget *window, const AverageRun &run, const QString &job,
          const QString &name, const QString &id, bool recordingActive, QString &currentFileName);

// Open: the open dialog, then the file into the run (labels, grid, chart). A file that
// is not read whole is reported in a message. Returns what was read, for the window's
// text boxes (header[AvgFile::Job], [Name], [Id] where set); nullopt when cancelled or
// when nothing could be read.
std::optional<AvgFile::Content> open(Dialogs &dialogs, QWidget *window, AverageRun &run);
// Open without the dialog: the file at `path`.
std::optional<AvgFile::Content> openPath(Dialogs &dialogs, QWidget *window, AverageRun &run,
                                         const QString &path);

} // namespace AverageDialogs
