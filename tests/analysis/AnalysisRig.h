#pragma once

// Record lists for the analysis tests.

#include "data/RecordTable.h"

#include <QDateTime>
#include <QStringList>

namespace rig {

// One record per level, numbered from 1, stamped from `start` every `stepSeconds`.
inline RecordTable records(const QStringList &levels,
                           const QDateTime &start = QDateTime(QDate(2009, 11, 30), QTime(8, 0)),
                           int stepSeconds = 1)
{
    RecordTable table;
    QDateTime stamp = start;
    for (int i = 0; i < levels.size(); ++i) {
        table.appendRecord({QString::number(i + 1), stamp.toString(QStringLiteral("yyyy/MM/dd")),
                            stamp.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(".0"),
                            levels.at(i)});
        stamp = stamp.addSecs(stepSeconds);
    }
    return table;
}

// `count` copies of one level.
inline QStringList repeated(const QString &level, int count)
{
    QStringList levels;
    levels.reserve(count);
    for (int i = 0; i < count; ++i)
        levels << level;
    return levels;
}

} // namespace rig
