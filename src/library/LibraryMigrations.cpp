// The measurement library's schema: the version read on opening, a library of a newer
// program refused, an older one upgraded in one transaction.

#include "library/Library.h"

#include "library/LibrarySchema.h"
#include "library/LibrarySql.h"
#include "library/LibraryTransaction.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

using Dialect = LibrarySchema::Dialect;

// Any key will do, as long as it is the same for every program: it serialises the
// creation and upgrade of one database's tables.
constexpr qint64 kSchemaLockKey = 0x446f73654d657472;

} // namespace

bool Library::prepareSchema()
{
    QSqlDatabase db = database();
    const bool sqlite = location_.kind() == LibraryLocation::Kind::SQLite;
    const QString name = location_.text();
    int version = 0;
    {
        // Only reads until the version is known: a library of a newer program stays as it is.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT 1")))
            return fail(
                QCoreApplication::translate("Library", "The library %1 cannot be read").arg(name),
                q);
        QStringList tables = db.tables();
        tables.removeAll(QStringLiteral("sqlite_sequence"));
        if (tables.contains(LibrarySchema::kInfoTable)) {
            q.prepare(QStringLiteral("SELECT value FROM library_info WHERE name = ?"));
            q.addBindValue(LibrarySchema::kVersionKey);
            if (!q.exec())
                return fail(QCoreApplication::translate("Library", "The library %1 cannot be read")
                                .arg(name),
                            q);
            bool ok = false;
            version = q.next() ? q.value(QStringLiteral("value")).toString().toInt(&ok) : 0;
            if (!ok || version < 1)
                return fail(QCoreApplication::translate(
                                "Library", "The library %1 has no valid schema version; nothing "
                                           "was changed.")
                                .arg(name));
        } else if (!tables.isEmpty()) {
            return fail(QCoreApplication::translate(
                            "Library", "%1 is not a measurement library: it holds other "
                                       "tables. Nothing was changed.")
                            .arg(name));
        }
        // db.tables() is empty when the file cannot be read at all; only SQLite's own verdict
        // makes a file no library (a full disk or a read-only folder must not seem one).
        if (sqlite && tables.isEmpty() && QFileInfo(location_.path()).size() > 0 &&
            !q.exec(QStringLiteral("PRAGMA schema_version")))
            return fail(
                LibrarySql::sqliteCode(q.lastError()) == LibrarySql::kSqliteNotADatabase
                    ? QCoreApplication::translate("Library", "%1 is not a measurement library")
                          .arg(name)
                    : QCoreApplication::translate("Library", "The library %1 cannot be read")
                          .arg(name),
                q);
    }
    if (version > LibrarySchema::kVersion)
        return fail(QCoreApplication::translate(
                        "Library", "The library %1 was made by a newer version of Dose Meter "
                                   "(library version %2; this program knows up to %3). Use the "
                                   "newer program with it; nothing was changed.")
                        .arg(name)
                        .arg(version)
                        .arg(LibrarySchema::kVersion));
    if (readOnly_ && version != LibrarySchema::kVersion)
        return fail(QCoreApplication::translate(
                        "Library", "The library %1 is of an older version and cannot be brought up "
                                   "to date: it is read-only (the file, its folder or its file "
                                   "system). Open it once where it can be written.")
                        .arg(name));
    if (sqlite && !readOnly_) {
        QSqlQuery q(db);
        // WAL lets the desktop program read while the command line writes; FULL syncs
        // every commit, so an import reported done survives a power cut.
        for (const char *pragma :
             {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
            if (!q.exec(QLatin1String(pragma)))
                return fail(
                    QCoreApplication::translate("Library", "The library %1 cannot be opened")
                        .arg(name),
                    q);
        }
    }
    return version == LibrarySchema::kVersion || upgrade(version);
}

bool Library::upgrade(int from)
{
    QSqlDatabase db = database();
    const Dialect dialect =
        location_.kind() == LibraryLocation::Kind::SQLite ? Dialect::SQLite : Dialect::PostgreSQL;
    const QString name = location_.text();
    Transaction transaction(*this);
    if (!transaction.isOpen())
        return false;
    {
        QSqlQuery q(db);
        if (dialect == Dialect::PostgreSQL) {
            q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
            q.addBindValue(kSchemaLockKey);
            if (!q.exec())
                return transaction.fail(
                    QCoreApplication::translate("Library", "The library %1 cannot be prepared")
                        .arg(name),
                    q);
        }
        // Another program may have done it meanwhile: the version is read again under the lock.
        if (db.tables().contains(LibrarySchema::kInfoTable)) {
            q.prepare(QStringLiteral("SELECT value FROM library_info WHERE name = ?"));
            q.addBindValue(LibrarySchema::kVersionKey);
            if (q.exec() && q.next())
                from = q.value(QStringLiteral("value")).toString().toInt();
        }
        if (from > LibrarySchema::kVersion)
            return transaction.fail(QCoreApplication::translate(
                                        "Library", "The library %1 was made by a newer version of "
                                                   "Dose Meter; nothing was changed.")
                                        .arg(name));
        for (int to = from + 1; to <= LibrarySchema::kVersion; ++to) {
            for (const QString &statement : LibrarySchema::step(to, dialect)) {
                if (!q.exec(statement))
                    return transaction.fail(
                        QCoreApplication::translate(
                            "Library", "The library %1 could not be brought to version %2")
                            .arg(name)
                            .arg(to),
                        q);
            }
        }
        if (from < LibrarySchema::kVersion) {
            q.prepare(from == 0
                          ? QStringLiteral("INSERT INTO library_info (value, name) VALUES (?, ?)")
                          : QStringLiteral("UPDATE library_info SET value = ? WHERE name = ?"));
            q.addBindValue(QString::number(LibrarySchema::kVersion));
            q.addBindValue(LibrarySchema::kVersionKey);
            if (!q.exec())
                return transaction.fail(
                    QCoreApplication::translate("Library",
                                                "The library %1 could not be brought to version %2")
                        .arg(name)
                        .arg(LibrarySchema::kVersion),
                    q);
        }
    }
    return transaction.commit();
}
