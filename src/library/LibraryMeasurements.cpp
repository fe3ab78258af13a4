// The measurement library's measurements: listed, read, labelled and deleted, and their
// files read back and exported.

#include "library/Library.h"

#include "data/DatFile.h"
#include "library/LibrarySql.h"
#include "library/LibraryTransaction.h"
#include "library/RecordCodec.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

using LibrarySql::text;

const QString kColumns = QStringLiteral(
    "id, kind, start_time, end_time, meter, criterion_db, exchange_rate_db, threshold_db, "
    "response, records, laeq_tenths, worker, site, job, notes, file_name, file_bytes, "
    "content_hash, stored_at");

std::optional<int> intOrNull(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

Measurement fromRow(const QSqlQuery &q)
{
    Measurement m;
    m.id = q.value(0).toLongLong();
    m.kind = Measurement::kindFromName(q.value(1).toString()).value_or(Measurement::Kind::List);
    m.start = q.value(2).toString();
    m.end = q.value(3).toString();
    m.meter = q.value(4).toString();
    m.criterionDb = intOrNull(q.value(5));
    m.exchangeRateDb = intOrNull(q.value(6));
    m.thresholdDb = intOrNull(q.value(7));
    m.response = q.value(8).toString();
    m.records = q.value(9).toInt();
    m.laeqTenths = intOrNull(q.value(10));
    m.worker = q.value(11).toString();
    m.site = q.value(12).toString();
    m.job = q.value(13).toString();
    m.notes = q.value(14).toString();
    m.fileName = q.value(15).toString();
    m.fileBytes = q.value(16).toLongLong();
    m.contentHash = q.value(17).toString();
    m.storedAt = q.value(18).toString();
    return m;
}

// Whether two paths name one file, whatever links lead to it; false when either is none.
bool sameFile(const QString &a, const QString &b)
{
#if defined(Q_OS_UNIX)
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

} // namespace

std::optional<QList<Measurement>> Library::list(const LibraryFilter &filter)
{
    QList<Measurement> found;
    const bool done = run([&] {
        found.clear();
        QStringList where;
        QVariantList values;
        if (filter.kind) {
            where << QStringLiteral("kind = ?");
            values << Measurement::kindName(*filter.kind);
        }
        if (filter.from.isValid() || filter.to.isValid())
            where << QStringLiteral("start_time <> ''");
        if (filter.from.isValid()) {
            where << QStringLiteral("start_time >= ?");
            values << filter.from.toString(Qt::ISODate);
        }
        if (filter.to.isValid()) {
            where << QStringLiteral("start_time < ?");
            values << filter.to.addDays(1).toString(Qt::ISODate);
        }
        QSqlQuery q(database());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT %1 FROM measurements%2 ORDER BY start_time, id")
                      .arg(kColumns, where.isEmpty() ? QString()
                                                     : QStringLiteral(" WHERE ") +
                                                           where.join(QStringLiteral(" AND "))));
        for (const QVariant &value : std::as_const(values))
            q.addBindValue(value);
        if (!q.exec())
            return fail(QCoreApplication::translate("Library", "The library could not be searched"),
                        q);
        // Worker, site and job are matched here (LibraryFilter::matchesTexts()).
        while (q.next()) {
            Measurement m = fromRow(q);
            if (filter.matchesTexts(m))
                found.append(std::move(m));
        }
        return true;
    });
    if (!done)
        return std::nullopt;
    return found;
}

std::optional<Measurement> Library::measurement(qint64 id)
{
    std::optional<Measurement> found;
    const bool done = run([&] {
        found.reset();
        QSqlQuery q(database());
        q.prepare(QStringLiteral("SELECT %1 FROM measurements WHERE id = ?").arg(kColumns));
        q.addBindValue(id);
        if (!q.exec())
            return fail(QCoreApplication::translate("Library", "The library could not be read"), q);
        if (q.next())
            found = fromRow(q);
        return true;
    });
    return done ? found : std::nullopt;
}

Library::Change Library::setLabels(qint64 id, const Labels &labels)
{
    Change change = Change::Failed;
    run([&] {
        QStringList sets;
        QVariantList values;
        const std::pair<const char *, const std::optional<QString> *> fields[] = {
            {"worker", &labels.worker}, {"site", &labels.site}, {"job", &labels.job}};
        for (const auto &[column, value] : fields) {
            if (!*value)
                continue;
            sets << QStringLiteral("%1 = ?").arg(QLatin1String(column));
            values << text(MeasurementReader::oneLine(**value));
        }
        QSqlQuery q(database());
        if (sets.isEmpty()) {
            q.prepare(QStringLiteral("SELECT id FROM measurements WHERE id = ?"));
            q.addBindValue(id);
            if (!q.exec())
                return fail(QCoreApplication::translate("Library", "The library could not be read"),
                            q);
            change = q.next() ? Change::Done : Change::NotFound;
            return true;
        }
        q.prepare(QStringLiteral("UPDATE measurements SET %1 WHERE id = ?")
                      .arg(sets.join(QStringLiteral(", "))));
        for (const QVariant &value : std::as_const(values))
            q.addBindValue(value);
        q.addBindValue(id);
        if (!q.exec())
            return fail(QCoreApplication::translate("Library",
                                                    "The library could not change measurement %1")
                            .arg(id),
                        q);
        change = q.numRowsAffected() > 0 ? Change::Done : Change::NotFound;
        return true;
    });
    return change;
}

Library::Change Library::remove(const QList<qint64> &ids)
{
    Change change = Change::Failed;
    run([&] {
        Transaction transaction(*this);
        if (!transaction.isOpen())
            return false;
        QSqlQuery q(database());
        for (const qint64 id : ids) {
            for (const char *statement : {"DELETE FROM excluded_spans WHERE measurement_id = ?",
                                          "DELETE FROM measurement_files WHERE measurement_id = ?",
                                          "DELETE FROM measurements WHERE id = ?"}) {
                q.prepare(QLatin1String(statement));
                q.addBindValue(id);
                if (!q.exec())
                    return transaction.fail(
                        QCoreApplication::translate("Library",
                                                    "The library could not delete measurement %1")
                            .arg(id),
                        q);
            }
            // All or none: the transaction ends unkept, and the deletes before go with it.
            if (q.numRowsAffected() <= 0) {
                change = Change::NotFound;
                return true;
            }
        }
        q.finish();
        if (!transaction.commit())
            return false;
        change = Change::Done;
        return true;
    });
    return change;
}

std::optional<QByteArray> Library::fileBytes(qint64 id)
{
    std::optional<QByteArray> file;
    const bool done = run([&] {
        file.reset();
        QSqlQuery q(database());
        q.prepare(QStringLiteral("SELECT m.content_hash, f.encoding, f.content FROM measurements m "
                                 "LEFT JOIN measurement_files f ON f.measurement_id = m.id "
                                 "WHERE m.id = ?"));
        q.addBindValue(id);
        if (!q.exec())
            return fail(QCoreApplication::translate("Library", "The library could not be read"), q);
        if (!q.next())
            return true;
        if (q.value(1).isNull())
            return fail(QCoreApplication::translate(
                            "Library", "The file of measurement %1 is missing from the library.")
                            .arg(id));
        const std::optional<QByteArray> bytes =
            RecordCodec::decode(q.value(1).toInt(), q.value(2).toByteArray());
        if (!bytes || QString::fromLatin1(
                          QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex()) !=
                          q.value(0).toString())
            return fail(QCoreApplication::translate(
                            "Library", "The file of measurement %1 is damaged in the library.")
                            .arg(id));
        file = *bytes;
        return true;
    });
    return done ? file : std::nullopt;
}

bool Library::isOwnFile(const QString &path) const
{
    if (location_.kind() != LibraryLocation::Kind::SQLite)
        return false;
    const QString base = location_.path();
    for (const QString &own :
         QStringList{base, base + QStringLiteral("-wal"), base + QStringLiteral("-shm"),
                     base + QStringLiteral("-journal")}) {
        if (sameFile(path, own))
            return true;
    }
    return false;
}

Library::Change Library::exportFile(qint64 id, const QString &path)
{
    if (isOwnFile(path)) {
        fail(QCoreApplication::translate("Library", "%1 could not be written: it is the library "
                                                    "being read.")
                 .arg(path));
        return Change::Failed;
    }
    const std::optional<QByteArray> bytes = fileBytes(id);
    if (!bytes)
        return error_.isEmpty() ? Change::NotFound : Change::Failed;
    if (const QString reason = DatFile::save(path, *bytes); !reason.isEmpty()) {
        fail(QCoreApplication::translate("Library", "%1 could not be written: %2.")
                 .arg(path, reason));
        return Change::Failed;
    }
    return Change::Done;
}
