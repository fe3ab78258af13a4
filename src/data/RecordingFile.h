#pragma once

// The recording form of a data file, written while the samples come: the heading line
// when the file is created, then one line per record. Every record is on the disk before
// append() returns (written in one piece, flushed and synced), so a crash or a power cut
// loses at most the record being written. A failed write leaves the file ending with the
// last whole record and closes it.
//
// Unlike the other data files this one cannot go through a temporary file that replaces
// the old one at the end: a recording that is cut off must still be in place.

#include "link/Error.h"

#include <QFile>
#include <QString>
#include <QStringList>

class RecordingFile {
public:
    RecordingFile() = default;
    ~RecordingFile();
    RecordingFile(const RecordingFile &) = delete;
    RecordingFile &operator=(const RecordingFile &) = delete;

    // Creates the file (an existing one is emptied) and writes the heading line.
    // Empty on success, else the reason; the file is then closed, and removed when not
    // even the heading could be written (a full disk). Something other than a
    // regular file at the path (a FIFO, a device) is refused with RegularFile::kNotRegular
    // and left untouched; the open never blocks.
    QString create(const QString &path);
    // Writes one record line. Empty on success, else the reason: the line is taken back
    // out of the file as far as the system allows, and the file is closed. A file deleted
    // while open counts as a failure, since nothing written after it can be found again.
    QString append(const QStringList &cells);
    void close();

    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return path_; }
    // Bytes of whole lines in the file.
    qint64 size() const { return wholeBytes_; }

    // Whether `path` could be created or written, found without changing an existing file
    // (a file that does not exist yet is created and removed again). ErrorKind::NotRegular
    // ("it is a folder", or RegularFile::kNotRegular for a FIFO or a device) when something
    // else stands there; ErrorKind::Usage with the system's reason when the path cannot be
    // created (no such folder, no permission).
    static Result<void> checkWritable(const QString &path);

private:
    // Writes all of `bytes` and hands them to the disk; empty on success, else the reason.
    QString writeThrough(const QByteArray &bytes);
    QString fail(const QString &reason);

    QFile file_;
    QString path_;
    qint64 wholeBytes_ = 0;
};
