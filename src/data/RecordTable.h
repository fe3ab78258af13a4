#pragma once

// A record grid's cells: a heading row and any number of record rows of text. Cells
// are kept as 8-bit text (Latin-1, the data files' code page) packed into one buffer,
// so that a file of a million records stays a few tens of megabytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

class RecordTable {
public:
    // The record grid headings "No.s", "Date", "Time", "dBA".
    static QStringList recordHeadings();

    // A table with these column headings (the grid's row 0) and no records.
    explicit RecordTable(const QStringList &headings = recordHeadings());

    const QStringList &headings() const { return headings_; }
    int columnCount() const { return int(headings_.size()); }
    // Records, not counting the heading row (the grid's Rows - 1).
    int recordCount() const { return columnCount() == 0 ? 0 : int(ends_.size()) / columnCount(); }
    bool isEmpty() const { return ends_.isEmpty(); }

    // record: 0 for the first record (the grid's row 1). Empty outside the table.
    QString cell(int record, int column) const;
    QByteArrayView cellBytes(int record, int column) const;
    QStringList record(int record) const;

    // Missing cells are empty, cells beyond the columns are dropped. Text outside
    // Latin-1 is stored as "?".
    void appendRecord(const QStringList &cells);
    void appendRecordBytes(const QList<QByteArrayView> &cells);
    void appendRecordBytes(const QByteArrayView *cells, qsizetype count);

    void clear();
    void reserve(int records, qsizetype textBytes);

    bool operator==(const RecordTable &other) const;

private:
    void appendCell(QByteArrayView bytes);

    QStringList headings_;
    QByteArray text_;
    QList<quint32> ends_; // end of each cell in text_; record r, column c at r * columns + c
};
