#include "banks/BankGrid.h"

const QStringList &BankGrid::captions()
{
    static const QStringList list{
        QStringLiteral("Used or not"),          QStringLiteral("Criterion level"),
        QStringLiteral("Threshold level"),      QStringLiteral("Exchange Rate"),
        QStringLiteral("Time Weighting"),       QStringLiteral("dBRMS 115"),
        QStringLiteral("Exceed 140dB"),         QStringLiteral("Start Date(mm:dd)"),
        QStringLiteral("Start Time(hh:mm)"),    QStringLiteral("Stop Time(hh:mm)"),
        QStringLiteral("Exposure Time(hh:mm)"), QStringLiteral("Dose Value(%)"),
        QStringLiteral("TWA(8hr %Dose)"),       QStringLiteral("PEAK FLAG TIME(hh:mm)"),
        QStringLiteral("PEAK DURATION(mm:ss)"),
    };
    return list;
}

QString BankGrid::caption(int row)
{
    return captions().value(row - 1);
}

QString BankGrid::heading(int bank)
{
    return QStringLiteral(" E") + QString::number(bank);
}

BankGrid::BankGrid()
{
    restoreLayout();
}

QString BankGrid::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return {};
    return rows_.at(row).at(column);
}

void BankGrid::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return;
    rows_[row][column] = text;
}

void BankGrid::restoreLayout()
{
    while (rows_.size() < kRows)
        rows_.append(QStringList(kColumns, QString()));
    rows_.resize(kRows);
    rows_[0][0].clear();
    for (int n = 1; n < kColumns; ++n)
        rows_[0][n] = heading(n);
    for (int r = 1; r < kRows; ++r)
        rows_[r][0] = caption(r);
}

void BankGrid::clearRows()
{
    rows_.resize(1);
}

void BankGrid::appendRow(const QString &tabSeparated)
{
    QStringList fields = tabSeparated.split(QLatin1Char('\t'));
    fields.resize(kColumns);
    rows_.append(fields);
}

void BankGrid::setBankTexts(int bank, const BankRecord::Texts &texts)
{
    for (int r = 1; r <= BankRecord::kTextRows; ++r)
        setCell(r, bank, texts[r - 1]);
}

BankRecord::Texts BankGrid::bankTexts(int bank) const
{
    BankRecord::Texts texts;
    for (int r = 1; r <= BankRecord::kTextRows; ++r)
        texts[r - 1] = cell(r, bank);
    return texts;
}
