#pragma once

// The record lists the analysis benchmarks work on: one record a second from midnight,
// levels between 60 and 120 dB in tenths with some under-range and overload records.

#include "data/RecordTable.h"

#include <QDateTime>

inline RecordTable benchRecords(int count)
{
    RecordTable table;
    table.reserve(count, qsizetype(count) * 32);
    QDateTime stamp(QDate(2009, 11, 30), QTime(0, 0));
    for (int i = 0; i < count; ++i) {
        QString level;
        if (i % 997 == 0)
            level = QStringLiteral("----");
        else if (i % 1499 == 0)
            level = QStringLiteral(" OL ");
        else
            level = QString::number(60.0 + (i * 7919 % 600) / 10.0, 'f', 1)
                        .rightJustified(5, QLatin1Char('0'));
        table.appendRecord({QString::number(i + 1), stamp.toString(QStringLiteral("yyyy/MM/dd")),
                            stamp.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(".0"),
                            level});
        stamp = stamp.addSecs(1);
    }
    return table;
}
