#pragma once

// The ".dat" data file: a record grid with its three note lines, 8-bit text (Latin-1),
// lines ended by CR LF. Two forms, read alike:
//   grid form (the grids' Save):  "cell<TAB>cell<TAB>cell<TAB>cell<TAB>"  one line per
//       row from the headings on, then three note lines "*****text" (quotes included);
//   recording form:  cell<TAB>cell<TAB>cell<TAB>cell  one line per row, no notes.
// The reader never trusts its input: whatever the bytes, it returns what it could read
// and says in `error` when that is not the whole file.

#include "data/RecordTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class DatFile {
public:
    enum class Form { Grid, Recording };

    struct Content {
        RecordTable table;
        QStringList notes{QString(), QString(), QString()}; // T1, T2, T3
        Form form = Form::Grid;
        // Empty when the file was read whole; otherwise what went wrong, for the user.
        // `table` and `notes` then hold the records read before that point.
        QString error;
        // The file breaks off inside its last record (cut short, or its writer stopped):
        // a last line without the CR LF every other line ends with. That record is left
        // out of `table`, which holds the whole records before it; error stays empty.
        bool incomplete = false;
        // Records whose level cell holds a number the meter cannot show
        // (LevelCell::isUnreadableLevel): they stay in `table`, the exposure figures take
        // them for records without a level, and the first of them is on line
        // `firstUnreadableLine`.
        int unreadableLevels = 0;
        int firstUnreadableLine = 0;
        // The file holds nothing but blanks and line ends: not even the heading line.
        bool empty = false;
        bool ok() const { return error.isEmpty(); }
    };

    // Files larger than this are refused, by their size before any byte is read: no data
    // file comes near it.
    static constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;
    // A field longer than this ends the reading: no record or note comes near it.
    static constexpr qsizetype kMaxFieldBytes = 64 * 1024;

    // Told the records read so far, every kProgressRecords records, while a file is
    // read; returning false stops the reading (the content then says it was stopped).
    using Progress = std::function<bool(int records)>;
    static constexpr int kProgressRecords = 4096;

    // Reads a file. The error names the file by its name without folder.
    static Content read(const QString &path, const Progress &progress = {});
    // Reads file contents; `name` is used in messages.
    static Content parse(const QByteArray &bytes, const QString &name = QString(),
                         const Progress &progress = {});

    // The grid form of a table and its notes (notes beyond three are not written).
    static QByteArray gridBytes(const RecordTable &table, const QStringList &notes);
    // The recording form of a table (heading line, then the records).
    static QByteArray recordingBytes(const RecordTable &table);
    // Content back to bytes in the form it was read in.
    static QByteArray bytes(const Content &content);
    // One line of the recording form, CR LF included.
    static QByteArray recordingLine(const QStringList &cells);

    // Writes through a temporary file that replaces `path` only when complete and on the
    // disk, so a failed save leaves an existing file untouched. A path where something
    // other than a regular file stands (a FIFO, a device) is refused with
    // RegularFile::kNotRegular and left as it is. Empty on success, else the reason, the
    // system's where it gives one ("No space left on device").
    static QString save(const QString &path, const QByteArray &bytes);

    // What to tell of an incomplete file: "the last record is incomplete; the N records
    // before it are shown" (`verb` "shown"), for a window or a command.
    static QString incompleteText(int records, const QString &verb = QStringLiteral("shown"));

    // What to tell of an empty file: "The file NAME is empty: it is not a data file."
    static QString emptyText(const QString &name);
    // What to tell of records with unreadable levels: "2 records hold no level the meter
    // can show (the first on line 5); they are not counted" (`verb` "counted").
    static QString unreadableText(const Content &content,
                                  const QString &verb = QStringLiteral("counted"));

    // Note text as the note boxes keep it: commas and TABs removed.
    static QString cleanNote(const QString &text);
};
