// The measurement library's excluded spans, kept with their measurement.

#include "library/Library.h"

#include "library/LibrarySql.h"
#include "library/LibraryTransaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

using LibrarySql::text;

namespace {

// The insert of one span, its values bound; `suffix` follows the statement.
void prepareSpanInsert(QSqlQuery &q, const MeasurementSpan &span, const char *suffix = "")
{
    q.prepare(QStringLiteral("INSERT INTO excluded_spans (measurement_id, first_record, "
                             "last_record, reason) VALUES (?, ?, ?, ?)") +
              QLatin1String(suffix));
    q.addBindValue(span.measurementId);
    q.addBindValue(span.firstRecord);
    q.addBindValue(span.lastRecord);
    q.addBindValue(text(span.reason));
}

} // namespace

std::optional<qint64> Library::addExcludedSpan(const MeasurementSpan &span)
{
    std::optional<qint64> id;
    run([&] {
        QSqlQuery q(database());
        prepareSpanInsert(q, span, " RETURNING id");
        if (!q.exec() || !q.next())
            return fail(QCoreApplication::translate("Library",
                                                    "The library could not keep the excluded span"),
                        q);
        id = q.value(QStringLiteral("id")).toLongLong();
        return true;
    });
    return id;
}

std::optional<QList<MeasurementSpan>> Library::excludedSpans(qint64 measurementId)
{
    QList<MeasurementSpan> spans;
    const bool done = run([&] {
        spans.clear();
        QSqlQuery q(database());
        q.prepare(QStringLiteral("SELECT id, first_record, last_record, reason FROM excluded_spans "
                                 "WHERE measurement_id = ? ORDER BY first_record, id"));
        q.addBindValue(measurementId);
        if (!q.exec())
            return fail(QCoreApplication::translate("Library", "The library could not be read"), q);
        const QSqlRecord columns = q.record();
        const int idColumn = columns.indexOf(QStringLiteral("id"));
        const int firstColumn = columns.indexOf(QStringLiteral("first_record"));
        const int lastColumn = columns.indexOf(QStringLiteral("last_record"));
        const int reasonColumn = columns.indexOf(QStringLiteral("reason"));
        while (q.next())
            spans.append({q.value(idColumn).toLongLong(), measurementId,
                          q.value(firstColumn).toInt(), q.value(lastColumn).toInt(),
                          q.value(reasonColumn).toString()});
        return true;
    });
    if (!done)
        return std::nullopt;
    return spans;
}

Library::Change Library::removeExcludedSpan(qint64 spanId)
{
    Change change = Change::Failed;
    run([&] {
        QSqlQuery q(database());
        q.prepare(QStringLiteral("DELETE FROM excluded_spans WHERE id = ?"));
        q.addBindValue(spanId);
        if (!q.exec())
            return fail(
                QCoreApplication::translate("Library", "The library could not delete the span"), q);
        change = q.numRowsAffected() > 0 ? Change::Done : Change::NotFound;
        return true;
    });
    return change;
}

Library::Change Library::replaceExcludedSpans(const QList<qint64> &measurementIds,
                                              const QList<MeasurementSpan> &spans)
{
    Change change = Change::Failed;
    run([&] {
        Transaction transaction(*this);
        if (!transaction.isOpen())
            return false;
        QSqlQuery q(database());
        // The first statement that fails ends the change with its own reason: a statement
        // prepared after it would clear the reason, or fail for another (PostgreSQL refuses
        // every statement in a transaction that has failed).
        const auto failed = [&] {
            return transaction.fail(QCoreApplication::translate(
                                        "Library", "The library could not keep the excluded spans"),
                                    q);
        };
        for (const qint64 id : measurementIds) {
            q.prepare(QStringLiteral("DELETE FROM excluded_spans WHERE measurement_id = ?"));
            q.addBindValue(id);
            if (!q.exec())
                return failed();
        }
        for (const MeasurementSpan &span : spans) {
            prepareSpanInsert(q, span);
            if (!q.exec())
                return failed();
        }
        q.finish();
        if (!transaction.commit())
            return false;
        change = Change::Done;
        return true;
    });
    return change;
}
