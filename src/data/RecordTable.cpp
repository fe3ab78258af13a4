#include "data/RecordTable.h"

#include <algorithm>
#include <cstring>

QStringList RecordTable::recordHeadings()
{
    return {QStringLiteral("No.s"), QStringLiteral("Date"), QStringLiteral("Time"),
            QStringLiteral("dBA")};
}

RecordTable::RecordTable(const QStringList &headings) : headings_(headings)
{
}

QByteArrayView RecordTable::cellBytes(int record, int column) const
{
    if (record < 0 || record >= recordCount() || column < 0 || column >= columnCount())
        return {};
    const qsizetype index = qsizetype(record) * columnCount() + column;
    const quint32 begin = index == 0 ? 0 : ends_.at(index - 1);
    return QByteArrayView(text_.constData() + begin, ends_.at(index) - begin);
}

QString RecordTable::cell(int record, int column) const
{
    const QByteArrayView bytes = cellBytes(record, column);
    return QString::fromLatin1(bytes.data(), bytes.size());
}

QStringList RecordTable::record(int record) const
{
    QStringList cells;
    for (int c = 0; c < columnCount(); ++c)
        cells << cell(record, c);
    return cells;
}

void RecordTable::appendCell(QByteArrayView bytes)
{
    text_.append(bytes.data(), bytes.size());
    ends_.append(quint32(text_.size()));
}

void RecordTable::appendRecord(const QStringList &cells)
{
    for (int c = 0; c < columnCount(); ++c) {
        if (c < cells.size())
            appendCell(cells.at(c).toLatin1());
        else
            appendCell({});
    }
}

void RecordTable::appendRecordBytes(const QList<QByteArrayView> &cells)
{
    appendRecordBytes(cells.constData(), cells.size());
}

void RecordTable::appendRecordBytes(const QByteArrayView *cells, qsizetype count)
{
    // One resize of each buffer per record rather than one append per cell: this is the
    // inner loop of reading a file.
    const int columns = columnCount();
    const qsizetype given = std::min<qsizetype>(count, columns);
    qsizetype bytes = 0;
    for (qsizetype c = 0; c < given; ++c)
        bytes += cells[c].size();
    const qsizetype start = text_.size();
    text_.resize(start + bytes);
    char *text = text_.data() + start;
    const qsizetype first = ends_.size();
    ends_.resize(first + columns);
    quint32 *ends = ends_.data() + first;
    auto end = quint32(start);
    for (qsizetype c = 0; c < given; ++c) {
        const qsizetype size = cells[c].size();
        if (size > 0)
            std::memcpy(text, cells[c].data(), size_t(size));
        text += size;
        end += quint32(size);
        ends[c] = end;
    }
    for (qsizetype c = given; c < columns; ++c)
        ends[c] = end;
}

void RecordTable::clear()
{
    text_.clear();
    ends_.clear();
}

void RecordTable::reserve(int records, qsizetype textBytes)
{
    ends_.reserve(qsizetype(records) * columnCount());
    text_.reserve(textBytes);
}

bool RecordTable::operator==(const RecordTable &other) const
{
    return headings_ == other.headings_ && text_ == other.text_ && ends_ == other.ends_;
}
