#include "data/DatFile.h"

#include "data/DelimitedFields.h"
#include "data/FileText.h"
#include "data/LevelCell.h"
#include "data/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

constexpr char kQuote = '"';
constexpr char kTab = '\t';
constexpr char kNoteMark[] = "*****";
constexpr int kNoteMarkLength = 5;
constexpr int kNoteCount = 3;
constexpr int kLevelColumn = 3; // "dBA"

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// A record's TAB-separated parts into `parts`, which has room for max(columns, 1) of them;
// parts beyond the grid's columns are dropped. Returns how many there are.
int splitRecord(QByteArrayView field, int columns, QByteArrayView *parts)
{
    int count = 0;
    qsizetype cell = 0;
    for (;;) {
        const qsizetype tab = DelimitedFields::findAny(field, cell, kTab, kTab, kTab);
        parts[count++] = field.sliced(cell, tab - cell);
        if (tab == field.size() || count == columns)
            return count;
        cell = tab + 1;
    }
}

QString label(const QString &name)
{
    return name.isEmpty() ? QCoreApplication::translate("DatFile", "The file")
                          : QCoreApplication::translate("DatFile", "The file %1").arg(name);
}

} // namespace

DatFile::Content DatFile::read(const QString &path, const Progress &progress)
{
    const QString name = QFileInfo(path).fileName();
    Content content;
    QFile file;
    if (const Result<void> opened = RegularFile::open(file, path); !opened) {
        content.error = opened.error().is(ErrorKind::NotRegular)
                            ? QCoreApplication::translate("DatFile", "%1 is not a regular file.")
                                  .arg(label(name))
                            : QCoreApplication::translate("DatFile", "%1 could not be opened: %2.")
                                  .arg(label(name), opened.error().text);
        return content;
    }
    // A regular file says its size: one too large is refused before it is read. The read
    // stops at the limit all the same, in case the file grows meanwhile.
    const QByteArray bytes =
        file.size() > kMaxFileBytes ? QByteArray() : RegularFile::readUpTo(file, kMaxFileBytes);
    if (file.size() > kMaxFileBytes || bytes.size() > kMaxFileBytes) {
        content.error = QCoreApplication::translate(
                            "DatFile", "%1 is larger than %2 MB and is not a data file.")
                            .arg(label(name))
                            .arg(kMaxFileBytes / (1024 * 1024));
        return content;
    }
    if (file.error() != QFileDevice::NoError) {
        content.error = QCoreApplication::translate("DatFile", "%1 could not be read: %2.")
                            .arg(label(name), file.errorString());
        return content;
    }
    return parse(bytes, name, progress);
}

DatFile::Content DatFile::parse(const QByteArray &bytes, const QString &name,
                                const Progress &progress)
{
    // How the messages name the file.
    const QString shownName =
        name.isEmpty() ? QCoreApplication::translate("DatFile", "the file") : name;
    Content content;
    if (bytes.contains('\0')) {
        content.error =
            QCoreApplication::translate("DatFile", "%1 is not a data file: it holds binary data.")
                .arg(label(name));
        return content;
    }
    DelimitedFields fields(bytes, kMaxFieldBytes);
    const char *p = fields.bytes().data();
    const qsizetype n = fields.bytes().size();
    content.table.reserve(int(n / 32), n);

    // A last line without a line end, after lines ended by CR LF, broke off: a record on
    // it is incomplete. (A lone CR at the very end is a whole record without its LF.)
    qsizetype cutLineStart = n;
    if (n > 0 && !isLineEnd(p[n - 1])) {
        qsizetype last = n;
        while (last > 0 && !isLineEnd(p[last - 1]))
            --last;
        if (last >= 2 && p[last - 1] == '\n' && p[last - 2] == '\r')
            cutLineStart = last;
    }

    const int columns = content.table.columnCount();
    // Reused from record to record, so that reading a file allocates nothing per record.
    QList<QByteArrayView> parts(std::max(columns, 1));
    int fieldIndex = 0; // the first field is the heading line
    int noteIndex = 0;
    // The form is told by the first byte of the first field, even one too long to read.
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != ' ' && !isLineEnd(p[i])) {
            content.form = p[i] == kQuote ? Form::Grid : Form::Recording;
            break;
        }
    }
    DelimitedFields::Field field;
    while (fields.next(field)) {
        const bool heading = fieldIndex++ == 0;
        const bool note = !heading && field.text.size() >= kNoteMarkLength &&
                          field.text.at(0) == '*' && field.text.at(4) == '*';
        if (!heading && !note && field.begin >= cutLineStart) {
            content.incomplete = true;
            continue;
        }
        if (field.unclosedQuote && content.error.isEmpty())
            content.error = QCoreApplication::translate(
                                "DatFile", "Line %1 of %2 has no closing quote; it was read to "
                                           "the end of the line.")
                                .arg(field.line)
                                .arg(shownName);
        if (heading)
            continue;
        if (note) {
            // Notes beyond the third are ignored.
            if (noteIndex < kNoteCount)
                content.notes[noteIndex] = QString::fromLatin1(field.text.sliced(kNoteMarkLength));
            ++noteIndex;
            continue;
        }
        const int count = splitRecord(field.text, columns, parts.data());
        content.table.appendRecordBytes(parts.constData(), count);
        if (LevelCell::isUnreadableLevel(count > kLevelColumn ? parts.at(kLevelColumn)
                                                              : QByteArrayView()) &&
            content.unreadableLevels++ == 0)
            content.firstUnreadableLine = field.line;
        if (progress && content.table.recordCount() % kProgressRecords == 0 &&
            !progress(content.table.recordCount())) {
            content.error =
                QCoreApplication::translate("DatFile", "Reading %1 was stopped.").arg(shownName);
            break;
        }
    }
    if (fields.tooLongLine() > 0)
        content.error =
            QCoreApplication::translate("DatFile", "Line %1 of %2 is far too long for a data file; "
                                                   "reading stopped there.")
                .arg(fields.tooLongLine())
                .arg(shownName);
    content.empty = fieldIndex == 0 && content.error.isEmpty();
    return content;
}

QByteArray DatFile::gridBytes(const RecordTable &table, const QStringList &notes)
{
    QByteArray out;
    out.reserve(qsizetype(table.recordCount()) * 40 + 128);
    const auto writeRow = [&out](const auto &cellAt, int columns) {
        out += kQuote;
        for (int c = 0; c < columns; ++c) {
            out += cellAt(c);
            out += kTab;
        }
        out += kQuote;
        out += "\r\n";
    };
    writeRow([&](int c) { return table.headings().at(c).toLatin1(); }, table.columnCount());
    for (int r = 0; r < table.recordCount(); ++r)
        writeRow([&](int c) { return table.cellBytes(r, c); }, table.columnCount());
    for (int i = 0; i < kNoteCount; ++i) {
        out += kQuote;
        out += kNoteMark;
        out += notes.value(i).toLatin1();
        out += kQuote;
        out += "\r\n";
    }
    return out;
}

QByteArray DatFile::recordingLine(const QStringList &cells)
{
    return cells.join(QLatin1Char(kTab)).toLatin1() + "\r\n";
}

QByteArray DatFile::recordingBytes(const RecordTable &table)
{
    QByteArray out = recordingLine(table.headings());
    out.reserve(out.size() + qsizetype(table.recordCount()) * 36);
    for (int r = 0; r < table.recordCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (c > 0)
                out += kTab;
            out += table.cellBytes(r, c);
        }
        out += "\r\n";
    }
    return out;
}

QByteArray DatFile::bytes(const Content &content)
{
    return content.form == Form::Grid ? gridBytes(content.table, content.notes)
                                      : recordingBytes(content.table);
}

QString DatFile::save(const QString &path, const QByteArray &bytes)
{
    // A save replaces what stands at the path: never a FIFO or a device.
    if (const Result<void> refused = RegularFile::checkWritableKind(path); !refused)
        return refused.error().text;
    QSaveFile file(path);
    const auto failure = [&file](const QString &systemReason) {
        const QString reason = !systemReason.isEmpty() ? systemReason : file.errorString();
        file.cancelWriting();
        return reason.isEmpty() || reason == QLatin1String("Unknown error")
                   ? QStringLiteral("unknown error")
                   : reason;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure({});
#if defined(Q_OS_UNIX)
    // Written straight to the temporary file's descriptor: a short write on a full disk
    // leaves the buffered device without an error and its reason as "Unknown error", and
    // the commit after a failed flush would still replace the old file with a cut one.
    const int fd = file.handle();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return failure(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC)));
        done += n;
    }
    // On the disk before it replaces the old file, so a power cut leaves one or the other.
    if (::fsync(fd) != 0 && errno != EINVAL)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
#else
    if (file.write(bytes) != bytes.size() || !file.flush())
        return failure({});
#endif
    // Nothing else may have taken the path's place meanwhile.
    if (const Result<void> refused = RegularFile::checkWritableKind(path); !refused)
        return failure(refused.error().text);
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        const QString reason = file.errorString();
        return reason.isEmpty() || reason == QLatin1String("Unknown error")
                   ? (error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                 : QStringLiteral("unknown error"))
                   : reason;
    }
    return {};
}

QString DatFile::incompleteText(int records, const QString &verb)
{
    return QStringLiteral("the last record is incomplete; the %1 records before it are %2")
        .arg(records)
        .arg(verb);
}

QString DatFile::emptyText(const QString &name)
{
    return QCoreApplication::translate("DatFile", "%1 is empty: it is not a data file.")
        .arg(label(name));
}

QString DatFile::unreadableText(const Content &content, const QString &verb)
{
    return QStringLiteral("%1 %2 no level the meter can show (the first on line %3); %4 not %5")
        .arg(content.unreadableLevels)
        .arg(content.unreadableLevels == 1 ? QStringLiteral("record holds")
                                           : QStringLiteral("records hold"))
        .arg(content.firstUnreadableLine)
        .arg(content.unreadableLevels == 1 ? QStringLiteral("it is") : QStringLiteral("they are"))
        .arg(verb);
}

QString DatFile::cleanNote(const QString &text)
{
    // Commas and TABs would split the note when it is read back, and a quote would end it
    // early.
    return FileText::cleaned(text, u",\t\"");
}
