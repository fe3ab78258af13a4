// The measurement library's measurements: listed, read, labelled and deleted, and their
// files read back.

#include "library/Library.h"

#include "library/LibrarySql.h"
#include "library/LibraryTransaction.h"
#include "library/RecordCodec.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <optional>

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

// Where each column of kColumns stands in a query's result, found by name once per query
// rather than once per row.
struct MeasurementColumns {
    explicit MeasurementColumns(const QSqlRecord &record);
    Measurement read(const QSqlQuery &q) const;

    int id, kind, startTime, endTime, meter, criterionDb, exchangeRateDb, thresholdDb, response,
        records, laeqTenths, worker, site, job, notes, fileName, fileBytes, contentHash, storedAt;
};

MeasurementColumns::MeasurementColumns(const QSqlRecord &record)
    : id(record.indexOf(QStringLiteral("id"))), kind(record.indexOf(QStringLiteral("kind"))),
      startTime(record.indexOf(QStringLiteral("start_time"))),
      endTime(record.indexOf(QStringLiteral("end_time"))),
      meter(record.indexOf(QStringLiteral("meter"))),
      criterionDb(record.indexOf(QStringLiteral("criterion_db"))),
      exchangeRateDb(record.indexOf(QStringLiteral("exchange_rate_db"))),
      thresholdDb(record.indexOf(QStringLiteral("threshold_db"))),
      response(record.indexOf(QStringLiteral("response"))),
      records(record.indexOf(QStringLiteral("records"))),
      laeqTenths(record.indexOf(QStringLiteral("laeq_tenths"))),
      worker(record.indexOf(QStringLiteral("worker"))),
      site(record.indexOf(QStringLiteral("site"))), job(record.indexOf(QStringLiteral("job"))),
      notes(record.indexOf(QStringLiteral("notes"))),
      fileName(record.indexOf(QStringLiteral("file_name"))),
      fileBytes(record.indexOf(QStringLiteral("file_bytes"))),
      contentHash(record.indexOf(QStringLiteral("content_hash"))),
      storedAt(record.indexOf(QStringLiteral("stored_at")))
{
}

Measurement MeasurementColumns::read(const QSqlQuery &q) const
{
    Measurement m;
    m.id = q.value(id).toLongLong();
    m.kind = Measurement::kindFromName(q.value(kind).toString()).value_or(Measurement::Kind::List);
    m.start = q.value(startTime).toString();
    m.end = q.value(endTime).toString();
    m.meter = q.value(meter).toString();
    m.criterionDb = intOrNull(q.value(criterionDb));
    m.exchangeRateDb = intOrNull(q.value(exchangeRateDb));
    m.thresholdDb = intOrNull(q.value(thresholdDb));
    m.response = q.value(response).toString();
    m.records = q.value(records).toInt();
    m.laeqTenths = intOrNull(q.value(laeqTenths));
    m.worker = q.value(worker).toString();
    m.site = q.value(site).toString();
    m.job = q.value(job).toString();
    m.notes = q.value(notes).toString();
    m.fileName = q.value(fileName).toString();
    m.fileBytes = q.value(fileBytes).toLongLong();
    m.contentHash = q.value(contentHash).toString();
    m.storedAt = q.value(storedAt).toString();
    return m;
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
        const MeasurementColumns columns(q.record());
        while (q.next()) {
            Measurement m = columns.read(q);
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
            found = MeasurementColumns(q.record()).read(q);
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
        const QVariant encoding = q.value(QStringLiteral("encoding"));
        if (encoding.isNull())
            return fail(QCoreApplication::translate(
                            "Library", "The file of measurement %1 is missing from the library.")
                            .arg(id));
        const std::optional<QByteArray> bytes =
            RecordCodec::decode(encoding.toInt(), q.value(QStringLiteral("content")).toByteArray());
        if (!bytes || QString::fromLatin1(
                          QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex()) !=
                          q.value(QStringLiteral("content_hash")).toString())
            return fail(QCoreApplication::translate(
                            "Library", "The file of measurement %1 is damaged in the library.")
                            .arg(id));
        file = *bytes;
        return true;
    });
    return done ? file : std::nullopt;
}
