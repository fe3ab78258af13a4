#include "averaging/AvgFile.h"

#include "data/DatFile.h"
#include "data/DelimitedFields.h"
#include "data/FileText.h"
#include "data/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr char kQuote = '"';
constexpr char kTab = '\t';
constexpr int kRecordColumns = 4;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QString fileLabel(const QString &name)
{
    return name.isEmpty() ? QCoreApplication::translate("AvgFile", "The file")
                          : QCoreApplication::translate("AvgFile", "The file %1").arg(name);
}

QString fileName(const QString &name)
{
    return name.isEmpty() ? QCoreApplication::translate("AvgFile", "the file") : name;
}

// A header item's value. The value starts after the first colon; the one blank the
// writer puts after ": " is not part of it, so a file saved and opened again reads the
// same (a file that has no blank there reads alike).
std::optional<QString> headerValue(QByteArrayView item)
{
    const qsizetype colon = item.indexOf(':');
    if (colon < 0)
        return QString::fromLatin1(item);
    if (colon == item.size() - 1)
        return std::nullopt;
    QByteArrayView value = item.sliced(colon + 1);
    if (value.startsWith(' '))
        value = value.sliced(1);
    return QString::fromLatin1(value);
}

// A record's TAB-separated parts, the first four (a trailing empty part is no cell).
QList<QByteArrayView> recordCells(QByteArrayView item)
{
    QList<QByteArrayView> cells;
    qsizetype start = 0;
    while (cells.size() < kRecordColumns) {
        const qsizetype tab = item.indexOf(kTab, start);
        if (tab < 0) {
            cells.append(item.sliced(start));
            break;
        }
        cells.append(item.sliced(start, tab - start));
        start = tab + 1;
    }
    return cells;
}

void appendQuoted(QByteArray &out, const QByteArray &text)
{
    out += kQuote;
    out += text;
    out += kQuote;
    out += "\r\n";
}

QByteArray cleanLatin1(QByteArrayView bytes)
{
    QByteArray clean;
    clean.reserve(bytes.size());
    for (const char c : bytes) {
        if (c != kQuote && !isLineEnd(c))
            clean += c;
    }
    return clean;
}

} // namespace

const std::array<QString, AvgFile::kFieldCount> &AvgFile::labels()
{
    static const std::array<QString, kFieldCount> names{QStringLiteral("JOB"),
                                                        QStringLiteral("Name"),
                                                        QStringLiteral("ID"),
                                                        QStringLiteral("Start date"),
                                                        QStringLiteral("Start time"),
                                                        QStringLiteral("Time Int."),
                                                        QStringLiteral("Criterion level"),
                                                        QStringLiteral("Exchange Rate"),
                                                        QStringLiteral("Run Time"),
                                                        QStringLiteral("SPL Max"),
                                                        QStringLiteral("140 PEAK")};
    return names;
}

QString AvgFile::cleanText(const QString &text)
{
    return FileText::cleaned(text, u"\"");
}

QByteArray AvgFile::bytes(const Document &document)
{
    QByteArray out;
    out.reserve(qsizetype(document.records.recordCount()) * 32 + 512);
    for (int f = 0; f < kFieldCount; ++f)
        appendQuoted(
            out, (labels()[f] + QStringLiteral(": ") + cleanText(document.header[f])).toLatin1());
    out += kSeparator;
    out += "\r\n";
    QByteArray line;
    for (const QString &heading : RecordTable::recordHeadings()) {
        line += heading.toLatin1();
        line += kTab;
    }
    appendQuoted(out, line);
    const RecordTable &records = document.records;
    const int columns = std::min(records.columnCount(), kRecordColumns);
    for (int r = 0; r < records.recordCount(); ++r) {
        out += kQuote;
        for (int c = 0; c < columns; ++c) {
            out += cleanLatin1(records.cellBytes(r, c));
            out += kTab;
        }
        out += kQuote;
        out += "\r\n";
    }
    return out;
}

QString AvgFile::save(const QString &path, const Document &document)
{
    return DatFile::save(path, bytes(document));
}

AvgFile::Content AvgFile::read(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    Content content;
    QFile file;
    if (const Result<void> opened = RegularFile::open(file, path); !opened) {
        content.error = opened.error().is(ErrorKind::NotRegular)
                            ? QCoreApplication::translate("AvgFile", "%1 is not a regular file.")
                                  .arg(fileLabel(name))
                            : QCoreApplication::translate("AvgFile", "%1 could not be opened: %2.")
                                  .arg(fileLabel(name), opened.error().text);
        return content;
    }
    // A regular file says its size; anything else is read no further than the limit.
    if (file.size() > kMaxFileBytes) {
        content.error = QCoreApplication::translate(
                            "AvgFile", "%1 is larger than %2 MB and is not an average file.")
                            .arg(fileLabel(name))
                            .arg(kMaxFileBytes / (1024 * 1024));
        return content;
    }
    const QByteArray bytes = RegularFile::readUpTo(file, kMaxFileBytes);
    if (bytes.size() > kMaxFileBytes) {
        content.error = QCoreApplication::translate(
                            "AvgFile", "%1 is larger than %2 MB and is not an average file.")
                            .arg(fileLabel(name))
                            .arg(kMaxFileBytes / (1024 * 1024));
        return content;
    }
    if (file.error() != QFileDevice::NoError) {
        content.error = QCoreApplication::translate("AvgFile", "%1 could not be read: %2.")
                            .arg(fileLabel(name), file.errorString());
        return content;
    }
    return parse(bytes, name);
}

AvgFile::Content AvgFile::parse(const QByteArray &bytes, const QString &name)
{
    Content content;
    if (bytes.contains('\0')) {
        content.error = QCoreApplication::translate(
                            "AvgFile", "%1 is not an average file: it holds binary data.")
                            .arg(fileLabel(name));
        return content;
    }
    DelimitedFields fields(bytes, kMaxItemBytes);
    DelimitedFields::Field item;
    int items = 0;
    while (fields.next(item)) {
        if (item.unclosedQuote && content.error.isEmpty())
            content.error = QCoreApplication::translate(
                                "AvgFile", "Line %1 of %2 has no closing quote; it was read "
                                           "to the end of the line.")
                                .arg(item.line)
                                .arg(fileName(name));
        content.read = true;
        if (items < kFieldCount) {
            content.header[items++] = headerValue(item.text);
            continue;
        }
        ++items;
        // The separator and the heading row hold no colon; every record has its time.
        if (item.text.contains(':'))
            content.records.appendRecordBytes(recordCells(item.text));
    }
    if (fields.tooLongLine() > 0)
        content.error = QCoreApplication::translate(
                            "AvgFile", "Line %1 of %2 is far too long for an average file; "
                                       "reading stopped there.")
                            .arg(fields.tooLongLine())
                            .arg(fileName(name));
    if (!content.read) {
        if (content.error.isEmpty())
            content.error =
                QCoreApplication::translate("AvgFile", "%1 holds no average data: it is empty.")
                    .arg(fileLabel(name));
    } else if (items < kFieldCount && content.error.isEmpty()) {
        content.error = QCoreApplication::translate(
                            "AvgFile", "%1 ends after %2 of its %3 header lines; it may have been "
                                       "cut short.")
                            .arg(fileLabel(name))
                            .arg(items)
                            .arg(kFieldCount);
    }
    return content;
}

PlotColumn AvgFile::chart(const RecordTable &records)
{
    return PlotColumn::fromTable(records, 3);
}
