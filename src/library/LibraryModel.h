#pragma once

// The library window's table: the measurements a filter finds, one row each, in the columns
// kind, start, duration, worker, site, job, meter, records and LAeq. Any column sorts (by
// its value: durations and LAeq as numbers; what is not known last either way). Worker, site and
// job are edited in place and stored in the library at once.

#include "library/Measurement.h"

#include <QAbstractTableModel>
#include <QList>

class Library;

class LibraryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        KindColumn,
        StartColumn,
        DurationColumn,
        WorkerColumn,
        SiteColumn,
        JobColumn,
        MeterColumn,
        RecordsColumn,
        LaeqColumn,
        ColumnCount
    };

    explicit LibraryModel(Library &library, QObject *parent = nullptr);

    // The kind as the window shows it, in the user's language; the library and the command
    // line keep Measurement::kindName().
    static QString kindCaption(Measurement::Kind kind);

    // Reads the measurements the filter finds again, in the current order. False (and
    // errorOccurred) when the library cannot be read; the rows are then empty.
    bool refresh(const LibraryFilter &filter);
    bool refresh() { return refresh(filter_); }
    const Measurement &measurement(int row) const { return rows_.at(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void errorOccurred(const QString &message);

private:
    void sortRows();

    Library &library_;
    LibraryFilter filter_;
    QList<Measurement> rows_;
    int sortColumn_ = StartColumn;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
