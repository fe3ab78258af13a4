#include "data/RecordGrid.h"

#include <utility>

RecordGrid::RecordGrid(const QStringList &headings, QObject *parent)
    : QAbstractTableModel(parent), table_(headings)
{
}

void RecordGrid::setTable(RecordTable table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void RecordGrid::clearRecords()
{
    if (table_.isEmpty())
        return;
    beginResetModel();
    table_.clear();
    endResetModel();
}

void RecordGrid::appendRecord(const QStringList &cells)
{
    const int row = table_.recordCount();
    beginInsertRows(QModelIndex(), row, row);
    table_.appendRecord(cells);
    endInsertRows();
}

QString RecordGrid::text(int row, int column) const
{
    if (row == 0)
        return table_.headings().value(column);
    return table_.cell(row - 1, column);
}

int RecordGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.recordCount();
}

int RecordGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant RecordGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return table_.cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant RecordGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return table_.headings().value(section);
    return section + 1;
}
