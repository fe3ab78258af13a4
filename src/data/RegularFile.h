#pragma once

// Opening a file that the program reads whole (.dat, .bnk, .avg). Only a regular file
// is opened: a FIFO would block the reader until someone writes to it, and a device
// such as /dev/zero never ends.

#include <QString>

class QFile;

namespace RegularFile {

// Opens `path` read-only into `file` when it is a regular file (symbolic links
// followed). Empty on success; otherwise the reason, for "... could not be opened: %1."
// or as "not a regular file" when it is something else.
QString open(QFile &file, const QString &path);

// The reason open() gives for a path that is no regular file.
inline const QString kNotRegular = QStringLiteral("it is not a regular file");

} // namespace RegularFile
