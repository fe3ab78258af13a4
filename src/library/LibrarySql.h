#pragma once

// What the files of Library share: how a text is bound, and SQLite's result codes that its
// messages tell apart.

#include <QSqlError>
#include <QString>
#include <QVariant>

namespace LibrarySql {

// SQLite's primary result codes that a message tells apart.
inline constexpr int kSqliteReadOnly = 8;
inline constexpr int kSqliteIoError = 10;
inline constexpr int kSqliteFull = 13;
inline constexpr int kSqliteCannotOpen = 14;
inline constexpr int kSqliteNotADatabase = 26;

// Qt gives SQLite's result code as the native error code, an extended one (the primary code
// in its low byte) where SQLite has one.
inline int sqliteCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// A text for a NOT NULL column: Qt binds a null QString as NULL, an empty one as ''.
inline QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace LibrarySql
