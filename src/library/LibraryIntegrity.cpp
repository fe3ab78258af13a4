// The measurement library's check of its stored data.

#include "library/Library.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QStringList Library::problems()
{
    QStringList found;
    QList<qint64> ids;
    const bool done = run([&] {
        found.clear();
        ids.clear();
        QSqlQuery q(database());
        if (location_.kind() == LibraryLocation::Kind::SQLite) {
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
                return fail(
                    QCoreApplication::translate("Library", "The library could not be checked"), q);
            const int messageColumn = q.record().indexOf(QStringLiteral("integrity_check"));
            while (q.next()) {
                if (q.value(messageColumn).toString() != QLatin1String("ok"))
                    found << q.value(messageColumn).toString();
            }
        }
        if (!q.exec(QStringLiteral("SELECT f.measurement_id FROM measurement_files f "
                                   "LEFT JOIN measurements m ON m.id = f.measurement_id "
                                   "WHERE m.id IS NULL")))
            return fail(QCoreApplication::translate("Library", "The library could not be checked"),
                        q);
        const int orphanColumn = q.record().indexOf(QStringLiteral("measurement_id"));
        while (q.next())
            found << QCoreApplication::translate("Library", "a file belongs to no measurement (%1)")
                         .arg(q.value(orphanColumn).toLongLong());
        if (!q.exec(QStringLiteral("SELECT id FROM measurements ORDER BY id")))
            return fail(QCoreApplication::translate("Library", "The library could not be checked"),
                        q);
        const int idColumn = q.record().indexOf(QStringLiteral("id"));
        while (q.next())
            ids << q.value(idColumn).toLongLong();
        return true;
    });
    if (!done)
        return {error_};
    for (const qint64 id : std::as_const(ids)) {
        if (!fileBytes(id))
            found << error_;
    }
    return found;
}
