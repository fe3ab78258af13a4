// The measurement library's imports: a file read whole and stored once, by its content,
// in one transaction.

#include "library/Library.h"

#include "data/DatFile.h"
#include "data/RegularFile.h"
#include "library/LibrarySql.h"
#include "library/LibraryTransaction.h"
#include "library/RecordCodec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace {

using LibrarySql::text;

const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QVariant optionalInt(const std::optional<int> &value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

} // namespace

Library::Import Library::importFile(const QString &path, MeasurementReader::Known known)
{
    Import result;
    const QString name = QFileInfo(path).fileName();
    QFile file;
    if (const Result<void> opened = RegularFile::open(file, path); !opened) {
        result.error =
            opened.error().is(ErrorKind::NotRegular)
                ? QCoreApplication::translate("Library", "The file %1 is not a regular file.")
                      .arg(name)
                : QCoreApplication::translate("Library", "The file %1 could not be opened: %2.")
                      .arg(name, opened.error().text);
        return result;
    }
    const auto tooLarge = [&] {
        result.error = QCoreApplication::translate(
                           "Library", "The file %1 is larger than %2 MB and is no measurement.")
                           .arg(name)
                           .arg(DatFile::kMaxFileBytes / (1024 * 1024));
        return result;
    };
    // By its size first: such a file is never read into memory.
    if (file.size() > DatFile::kMaxFileBytes)
        return tooLarge();
    const QByteArray bytes = RegularFile::readUpTo(file, DatFile::kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        result.error = QCoreApplication::translate("Library", "The file %1 could not be read: %2.")
                           .arg(name, file.errorString());
        return result;
    }
    if (bytes.size() > DatFile::kMaxFileBytes) // it grew while it was read
        return tooLarge();
    if (!known.reference.isValid())
        known.reference = QFileInfo(path).lastModified();
    return importBytes(bytes, name, known);
}

Library::Import Library::importBytes(const QByteArray &bytes, const QString &fileName,
                                     const MeasurementReader::Known &known)
{
    const MeasurementReader::Reading reading =
        MeasurementReader::read(bytes, fileName, known, keepIncomplete_);
    if (!reading.ok()) {
        error_ = reading.error;
        return {Import::Outcome::Failed, 0, reading.error};
    }
    return store(reading.measurement, bytes);
}

Library::Import Library::store(const Measurement &m, const QByteArray &bytes)
{
    const RecordCodec::Encoded encoded = RecordCodec::encode(bytes);
    const QString what =
        QCoreApplication::translate("Library", "The library could not store %1").arg(m.fileName);
    Import result;
    const auto findStored = [&](QSqlQuery &q) {
        q.prepare(QStringLiteral("SELECT id FROM measurements WHERE content_hash = ?"));
        q.addBindValue(m.contentHash);
        if (!q.exec())
            return false;
        if (q.next()) {
            result.outcome = Import::Outcome::Already;
            result.id = q.value(QStringLiteral("id")).toLongLong();
        }
        q.finish();
        return true;
    };
    const bool done = run([&] {
        Transaction transaction(*this);
        if (!transaction.isOpen())
            return false;
        QSqlQuery q(database());
        if (!findStored(q))
            return transaction.fail(what, q);
        if (result.outcome == Import::Outcome::Already)
            return true; // nothing to write: the transaction ends unkept
        q.prepare(QStringLiteral(
            "INSERT INTO measurements (kind, start_time, end_time, meter, criterion_db, "
            "exchange_rate_db, threshold_db, response, records, laeq_tenths, worker, site, job, "
            "notes, file_name, file_bytes, content_hash, stored_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"));
        for (const QVariant &value :
             {text(Measurement::kindName(m.kind)), text(m.start), text(m.end), text(m.meter),
              optionalInt(m.criterionDb), optionalInt(m.exchangeRateDb), optionalInt(m.thresholdDb),
              text(m.response), QVariant(m.records), optionalInt(m.laeqTenths), text(m.worker),
              text(m.site), text(m.job), text(m.notes), text(m.fileName),
              QVariant(qint64(bytes.size())), text(m.contentHash),
              QVariant(QDateTime::currentDateTime().toString(kStampFormat))})
            q.addBindValue(value);
        if (!q.exec() || !q.next()) {
            transaction.fail(what, q);
            // Another program may have stored the same content a moment before.
            QSqlQuery again(database());
            if (findStored(again) && result.outcome == Import::Outcome::Already) {
                error_.clear();
                return true;
            }
            return false;
        }
        result.id = q.value(QStringLiteral("id")).toLongLong();
        q.finish();
        q.prepare(
            QStringLiteral("INSERT INTO measurement_files (measurement_id, encoding, content) "
                           "VALUES (?, ?, ?)"));
        q.addBindValue(result.id);
        q.addBindValue(int(encoded.method));
        q.addBindValue(encoded.bytes);
        if (!q.exec())
            return transaction.fail(what, q);
        q.finish();
        if (!transaction.commit())
            return false;
        result.outcome = Import::Outcome::Imported;
        return true;
    });
    if (!done) {
        result = {Import::Outcome::Failed, 0, error_};
    }
    return result;
}
