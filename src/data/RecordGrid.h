#pragma once

// A record grid for views: the headings as the horizontal header (the grid's row 0),
// one view row per record. Filled in one step, so a run of 10,000 samples or a file of
// a million records reaches its view at once rather than cell by cell.

#include "data/RecordTable.h"

#include <QAbstractTableModel>

class RecordGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordGrid(const QStringList &headings = RecordTable::recordHeadings(),
                        QObject *parent = nullptr);

    const RecordTable &table() const { return table_; }
    // Replaces every record (the headings stay).
    void setTable(RecordTable table);
    // Back to the heading row only.
    void clearRecords();
    void appendRecord(const QStringList &cells);

    // The grid's Rows: the heading row plus the records.
    int rows() const { return table_.recordCount() + 1; }
    // Cell text by grid row (0 = the headings) and column.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    RecordTable table_;
};
