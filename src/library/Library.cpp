#include "library/Library.h"

#include "data/DatFile.h"
#include "data/RegularFile.h"
#include "library/LibrarySchema.h"
#include "library/LibraryTransaction.h"
#include "library/RecordCodec.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>
#include <QVariant>

#include <atomic>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Dialect = LibrarySchema::Dialect;

// How long a write waits for another program's write to end before it gives up; an import
// holds the lock for a fraction of a second.
constexpr int kBusyTimeoutMilliseconds = 30000;
// How long a PostgreSQL server may take to answer before the library counts as unreachable.
constexpr int kConnectTimeoutSeconds = 10;
// A connection silent this long is probed; after the probes go unanswered it counts as lost.
constexpr int kKeepaliveIdleSeconds = 10;
constexpr int kKeepaliveIntervalSeconds = 5;
constexpr int kKeepaliveCount = 3;
// Any key will do, as long as it is the same for every program: it serialises the
// creation and upgrade of one database's tables.
constexpr qint64 kSchemaLockKey = 0x446f73654d657472;

const QString kColumns = QStringLiteral(
    "id, kind, start_time, end_time, meter, criterion_db, exchange_rate_db, threshold_db, "
    "response, records, laeq_tenths, worker, site, job, notes, file_name, file_bytes, "
    "content_hash, stored_at");
const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("dosemeter-library-%1").arg(++counter);
}

// A text for a NOT NULL column: Qt binds a null QString as NULL, an empty one as ''.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariant optionalInt(const std::optional<int> &value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

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

// Whether this program may write `path` (a file or a folder); false on a read-only file
// system, for root too.
bool writable(const QString &path)
{
#if defined(Q_OS_UNIX)
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}

// Makes `path` and the folders above it that are missing, each readable by its owner only
// whatever the umask.
bool makePrivateFolder(const QString &path)
{
    QStringList missing;
    for (QDir dir(path); !dir.exists(); dir.setPath(QFileInfo(dir.path()).path())) {
        missing.prepend(dir.path());
        if (dir.isRoot())
            break;
    }
    for (const QString &folder : std::as_const(missing)) {
        if (!QDir().mkdir(folder) && !QFileInfo(folder).isDir())
            return false;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    return QFileInfo(path).isDir();
}

// Creates an empty file readable and writable by its owner only; empty, or the reason.
QString createPrivateFile(const QString &path)
{
#if defined(Q_OS_UNIX)
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    // The umask may have taken the owner's bits too.
    ::fchmod(fd, 0600);
    ::close(fd);
    return {};
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.exists() ? QString() : file.errorString();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
#endif
}

// SQLite's primary result codes that a message tells apart.
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoError = 10;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCannotOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// Qt gives SQLite's result code as the native error code, an extended one (the primary code
// in its low byte) where SQLite has one.
int sqliteCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}
// Less than this free on the library's disk counts as full when SQLite fails to write.
constexpr qint64 kNearlyFullBytes = 1024 * 1024;

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

QString Library::sqlText(const QSqlError &error) const
{
    // SQLSTATE query_canceled: here only statement_timeout cancels a statement.
    if (location_.kind() == LibraryLocation::Kind::PostgreSQL &&
        error.nativeErrorCode() == QLatin1String("57014"))
        return QCoreApplication::translate("Library", "the server did not answer within %1 s")
            .arg(answerTimeoutSeconds_);
    if (location_.kind() == LibraryLocation::Kind::SQLite) {
        const int code = sqliteCode(error);
        if (code == kSqliteReadOnly || (readOnly_ && code == kSqliteCannotOpen))
            return QCoreApplication::translate(
                "Library", "it is read-only (the file, its folder or its file system)");
        if (code == kSqliteIoError || code == kSqliteFull || code == kSqliteCannotOpen) {
            const QStorageInfo disk(QFileInfo(location_.path()).absolutePath());
            if (disk.isValid() && disk.bytesAvailable() < kNearlyFullBytes)
                return QCoreApplication::translate("Library", "its disk is full (%1 KB free)")
                    .arg(disk.bytesAvailable() / 1024);
        }
    }
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

Library::Library() : connectionName_(nextConnectionName())
{
}

Library::~Library()
{
    close();
}

QSqlDatabase Library::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

bool Library::isOpen() const
{
    return open_;
}

void Library::close()
{
    open_ = false;
    if (!QSqlDatabase::contains(connectionName_))
        return;
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

bool Library::fail(const QString &reason)
{
    error_ = reason;
    return false;
}

bool Library::fail(const QString &what, const QSqlQuery &query)
{
    return fail(QStringLiteral("%1: %2.").arg(what, sqlText(query.lastError())));
}

bool Library::open(const LibraryLocation &location)
{
    close();
    error_.clear();
    location_ = location;
    if (!openConnection())
        return false;
    if (!prepareSchema()) {
        const QString reason = error_;
        close();
        error_ = reason;
        return false;
    }
    open_ = true;
    return true;
}

bool Library::openConnection()
{
    const bool sqlite = location_.kind() == LibraryLocation::Kind::SQLite;
    const QString driver = sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    const QString name = location_.text();
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QCoreApplication::translate(
                        "Library", "The library %1 cannot be opened: the Qt SQL driver %2 is not "
                                   "installed (Debian: %3).")
                        .arg(name, driver,
                             sqlite ? QStringLiteral("libqt6sql6-sqlite")
                                    : QStringLiteral("libqt6sql6-psql")));
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName_);
    if (sqlite) {
        const QFileInfo file(location_.path());
        if (file.isDir())
            return fail(QCoreApplication::translate(
                            "Library", "The library %1 cannot be opened: it is a folder.")
                            .arg(name));
        if (!makePrivateFolder(file.absolutePath()))
            return fail(QCoreApplication::translate(
                            "Library", "The library %1 cannot be created: the folder %2 cannot be "
                                       "made.")
                            .arg(name, file.absolutePath()));
        // A library names workers and their exposure: only its owner may read a new one
        // (SQLite gives its side files the same permissions).
        if (!file.exists()) {
            if (const QString reason = createPrivateFile(file.absoluteFilePath());
                !reason.isEmpty())
                return fail(
                    QCoreApplication::translate("Library", "The library %1 cannot be created: %2.")
                        .arg(name, reason));
        }
        // A library that cannot be written (its file, its folder, where WAL keeps its two
        // side files, or a read-only file system) is opened for reading: listing and export
        // work, a change says why it cannot be made.
        readOnly_ =
            file.exists() && (!writable(file.absoluteFilePath()) || !writable(file.absolutePath()));
        if (readOnly_) {
            // Immutable: without a writable folder SQLite could not make the side files a
            // WAL library is read through; nothing can write to it meanwhile either.
            db.setDatabaseName(
                QStringLiteral("file:") +
                QString::fromLatin1(QUrl::toPercentEncoding(file.absoluteFilePath(), "/")) +
                (writable(file.absolutePath()) ? QStringLiteral("?mode=ro")
                                               : QStringLiteral("?mode=ro&immutable=1")));
            db.setConnectOptions(
                QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                    .arg(kBusyTimeoutMilliseconds));
        } else {
            db.setDatabaseName(location_.path());
            db.setConnectOptions(
                QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMilliseconds));
        }
    } else {
        db.setHostName(location_.host());
        if (location_.port() > 0)
            db.setPort(location_.port());
        db.setDatabaseName(location_.database());
        db.setUserName(location_.user());
        // A statement the server takes too long over is ended by the server; a server or a
        // network that has gone silent is found by keepalives (idle) and by the TCP user
        // timeout (data sent and never acknowledged).
        db.setConnectOptions(
            QStringLiteral("connect_timeout=%1;application_name=dosemeter;keepalives=1;"
                           "keepalives_idle=%2;keepalives_interval=%3;keepalives_count=%4;"
                           "tcp_user_timeout=%5;options='-c statement_timeout=%6'")
                .arg(kConnectTimeoutSeconds)
                .arg(kKeepaliveIdleSeconds)
                .arg(kKeepaliveIntervalSeconds)
                .arg(kKeepaliveCount)
                .arg(answerTimeoutSeconds_ * 1000)
                .arg(answerTimeoutSeconds_ * 1000));
    }
    if (!db.open())
        return fail(QCoreApplication::translate("Library", "The library %1 cannot be opened: %2.")
                        .arg(name, sqlText(db.lastError())));
    return true;
}

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
            version = q.next() ? q.value(0).toString().toInt(&ok) : 0;
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
                sqliteCode(q.lastError()) == kSqliteNotADatabase
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
                from = q.value(0).toString().toInt();
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

bool Library::run(const std::function<bool()> &work)
{
    error_.clear();
    if (!open_)
        return fail(QCoreApplication::translate("Library", "No library is open."));
    if (work())
        return true;
    if (location_.kind() != LibraryLocation::Kind::PostgreSQL)
        return false;
    {
        QSqlQuery ping(database());
        if (ping.exec(QStringLiteral("SELECT 1")))
            return false; // the connection is there: the failure stands
    }
    // The server went away and may be back (a restart, a dropped network): once more on a
    // new connection. What the lost connection had begun was rolled back by the server.
    const QString reason = error_;
    close();
    if (!openConnection()) {
        error_ = reason;
        return false;
    }
    open_ = true;
    error_.clear();
    return work();
}

Library::Import Library::importFile(const QString &path, MeasurementReader::Known known)
{
    Import result;
    const QString name = QFileInfo(path).fileName();
    QFile file;
    if (const QString reason = RegularFile::open(file, path); !reason.isEmpty()) {
        result.error =
            reason == RegularFile::kNotRegular
                ? QCoreApplication::translate("Library", "The file %1 is not a regular file.")
                      .arg(name)
                : QCoreApplication::translate("Library", "The file %1 could not be opened: %2.")
                      .arg(name, reason);
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
            result.id = q.value(0).toLongLong();
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
        result.id = q.value(0).toLongLong();
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

std::optional<qint64> Library::addExcludedSpan(const MeasurementSpan &span)
{
    std::optional<qint64> id;
    run([&] {
        QSqlQuery q(database());
        q.prepare(QStringLiteral("INSERT INTO excluded_spans (measurement_id, first_record, "
                                 "last_record, reason) VALUES (?, ?, ?, ?) RETURNING id"));
        q.addBindValue(span.measurementId);
        q.addBindValue(span.firstRecord);
        q.addBindValue(span.lastRecord);
        q.addBindValue(text(span.reason));
        if (!q.exec() || !q.next())
            return fail(QCoreApplication::translate("Library",
                                                    "The library could not keep the excluded span"),
                        q);
        id = q.value(0).toLongLong();
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
        while (q.next())
            spans.append({q.value(0).toLongLong(), measurementId, q.value(1).toInt(),
                          q.value(2).toInt(), q.value(3).toString()});
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
        bool done = true;
        for (const qint64 id : measurementIds) {
            q.prepare(QStringLiteral("DELETE FROM excluded_spans WHERE measurement_id = ?"));
            q.addBindValue(id);
            done = done && q.exec();
        }
        for (const MeasurementSpan &span : spans) {
            if (!done)
                break;
            q.prepare(QStringLiteral("INSERT INTO excluded_spans (measurement_id, first_record, "
                                     "last_record, reason) VALUES (?, ?, ?, ?)"));
            q.addBindValue(span.measurementId);
            q.addBindValue(span.firstRecord);
            q.addBindValue(span.lastRecord);
            q.addBindValue(text(span.reason));
            done = q.exec();
        }
        if (!done)
            return transaction.fail(QCoreApplication::translate(
                                        "Library", "The library could not keep the excluded spans"),
                                    q);
        q.finish();
        if (!transaction.commit())
            return false;
        change = Change::Done;
        return true;
    });
    return change;
}

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
            while (q.next()) {
                if (q.value(0).toString() != QLatin1String("ok"))
                    found << q.value(0).toString();
            }
        }
        if (!q.exec(QStringLiteral("SELECT f.measurement_id FROM measurement_files f "
                                   "LEFT JOIN measurements m ON m.id = f.measurement_id "
                                   "WHERE m.id IS NULL")))
            return fail(QCoreApplication::translate("Library", "The library could not be checked"),
                        q);
        while (q.next())
            found << QCoreApplication::translate("Library", "a file belongs to no measurement (%1)")
                         .arg(q.value(0).toLongLong());
        if (!q.exec(QStringLiteral("SELECT id FROM measurements ORDER BY id")))
            return fail(QCoreApplication::translate("Library", "The library could not be checked"),
                        q);
        while (q.next())
            ids << q.value(0).toLongLong();
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
