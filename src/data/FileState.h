#pragma once

// The data-file state shared by the recording and the record windows: the name last
// chosen in a save dialog, whether that choice succeeded, and whether a recording runs
// (the Save commands of the other windows do nothing meanwhile).

#include <QString>

struct FileState {
    QString CurrentFileName; // last path chosen in a save dialog
    bool FileChosen = false;
    bool RecordingActive = false;
};
