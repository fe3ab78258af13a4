#pragma once

// The event window's grid as data: 16 rows by 6 columns of texts. Row 0 holds the
// headings " E1".." E5" over columns 1..5 (the corner cell is empty), column 0 the
// fifteen row captions, column n of rows 1..15 the texts of bank n. Opening a short
// bank file leaves fewer rows; restoreLayout() brings the 16 back.

#include "banks/BankRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

class BankGrid {
public:
    static constexpr int kRows = 16;
    static constexpr int kColumns = 6;
    // Column widths in twips (1/1440 inch): the captions, then each bank.
    static constexpr int kCaptionWidthTwips = 2680;
    static constexpr int kBankWidthTwips = 1200;

    // The captions of rows 1..15, in order.
    static const QStringList &captions();
    // The caption of row r (1..15); empty for any other row.
    static QString caption(int row);
    // The heading of bank column n (1..5): " E" and the digit.
    static QString heading(int bank);

    // The layout with every bank cell empty.
    BankGrid();

    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return kColumns; }
    // Empty outside the grid.
    QString cell(int row, int column) const;
    // Ignored outside the grid.
    void setCell(int row, int column, const QString &text);

    // 16 rows again, with the headings and captions; bank cells of the rows that are
    // there keep their texts, rows added are empty.
    void restoreLayout();
    // Only the header row stays.
    void clearRows();
    // Appends one row from a TAB-separated text: its fields fill columns 0..5, fields
    // beyond the sixth are dropped, missing ones leave their cells empty.
    void appendRow(const QString &tabSeparated);

    // Rows 1..15 of bank column n (1..5). The grid must hold its 16 rows.
    void setBankTexts(int bank, const BankRecord::Texts &texts);
    BankRecord::Texts bankTexts(int bank) const;

    bool operator==(const BankGrid &other) const = default;

private:
    QList<QStringList> rows_;
};
