#include "data/RecordTable.h"

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
    for (int c = 0; c < columnCount(); ++c)
        appendCell(c < cells.size() ? cells.at(c) : QByteArrayView());
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
