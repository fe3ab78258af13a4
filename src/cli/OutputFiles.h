#pragma once

// The files the meter commands write, checked before anything is sent to the meter: a
// command never truncates a file it was not told to replace, never replaces a FIFO or a
// device, and finds an unwritable path before a run of hours rather than after it.

#include "link/Error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QTextStream;

namespace cli {

// A file a command writes anew (record, average --out, banks --out, report --out). kOk,
// or the exit status after saying why on `err`:
//   kUsage   an empty name, an existing file or a symbolic link to nothing without
//            `overwrite` (writing would create the link's target, wherever it points),
//            or a path that cannot be created (no such folder, no permission);
//   kFailed  a folder, a FIFO or a device stands there (symbolic links followed); it is
//            left untouched.
int checkNewFile(QTextStream &err, const QString &path, bool overwrite);
// The same refusal as an Error, said by nobody yet: kind Usage or Exists for kUsage,
// NotRegular for kFailed, and the kind of checkWritable() beyond.
Result<void> checkNewFile(const QString &path, bool overwrite);

// The set files of an earlier download in `folder` ("set-N.dat"), ordered by N.
QStringList setFiles(const QString &folder);

// download --out FOLDER: an existing folder is fine, empty or not, unless it holds set
// files of an earlier download and `overwrite` is not given (kUsage). An empty name or a
// folder that cannot be created is kUsage, something other than a folder at the path
// kFailed.
int checkDownloadFolder(QTextStream &err, const QString &folder, bool overwrite);

// Room on the disk for a file of about `bytes` at `path`, found before a measurement of
// minutes or hours that could not be saved at its end. kOk, or kFailed after saying why.
int checkFreeSpace(QTextStream &err, const QString &path, qint64 bytes);
Result<void> checkFreeSpace(const QString &path, qint64 bytes);

// Puts a download's set files (name, bytes) into `folder` in place of the earlier
// download's, all or nothing: they are written into a temporary folder beside them, then
// swapped in, the earlier set files moved aside first and removed at the end. Empty on
// success, with `removed` naming the earlier set files that no new one replaced;
// otherwise what went wrong, with the folder as it was.
QString replaceSetFiles(const QString &folder, const QList<std::pair<QString, QByteArray>> &files,
                        QStringList &removed);

} // namespace cli
