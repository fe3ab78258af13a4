#pragma once

// Opening a file that the program reads whole (.dat, .bnk, .avg). Only a regular file
// is opened: a FIFO would block the reader until someone writes to it, and a device
// such as /dev/zero never ends. Writing refuses the same: a save replaces what stands
// at its path, and a FIFO or a device must never be replaced by a regular file.

#include "link/Error.h"

#include <QByteArray>
#include <QString>

class QFile;

namespace RegularFile {

// The reason a path that is no regular file is refused with.
inline const QString kNotRegular = QStringLiteral("it is not a regular file");

// Opens `path` read-only into `file` when it is a regular file (symbolic links
// followed). Otherwise ErrorKind::NotRegular (with kNotRegular) for something else, or
// ErrorKind::Unreadable with the system's reason, for "... could not be opened: %1.".
Result<void> open(QFile &file, const QString &path);

// The file's bytes from where it stands to its end, but no more than `limit` + 1 (so a
// caller sees that the file is too large). Memory grows with what is read: a single
// read of `limit` + 1 would take that much at once, however short the file.
QByteArray readUpTo(QFile &file, qint64 limit);

// What stands at a path, symbolic links followed (a link to nothing is Nothing: writing
// creates its target).
enum class Kind { Nothing, Regular, Other };
Kind kindAt(const QString &path);
// Whether a file may be written at `path`: ErrorKind::NotRegular (with kNotRegular) when
// something other than a regular file stands there (a folder, a FIFO, a device such as
// /dev/full), which a save would replace or block on.
Result<void> checkWritableKind(const QString &path);

} // namespace RegularFile
