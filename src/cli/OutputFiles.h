#pragma once

// The files the meter commands write, checked before anything is sent to the meter: a
// command never truncates a file it was not told to replace, never replaces a FIFO or a
// device, and finds an unwritable path before a run of hours rather than after it.

#include <QString>
#include <QStringList>

class QTextStream;

namespace cli {

// A file a command writes anew (record, average --out, banks --out). kOk, or the exit
// status after saying why on `err`:
//   kUsage   an empty name, an existing file without `overwrite`, or a path that cannot
//            be created (no such folder, no permission);
//   kFailed  a folder, a FIFO or a device stands there (symbolic links followed); it is
//            left untouched.
int checkNewFile(QTextStream &err, const QString &path, bool overwrite);

// The set files of an earlier download in `folder` ("set-N.dat"), ordered by N.
QStringList setFiles(const QString &folder);

// download --out FOLDER: an existing folder is fine, empty or not, unless it holds set
// files of an earlier download and `overwrite` is not given (kUsage). An empty name is
// kUsage, something other than a folder at the path kFailed.
int checkDownloadFolder(QTextStream &err, const QString &folder, bool overwrite);

} // namespace cli
