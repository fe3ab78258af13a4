// The measurement library's connection: opening (the SQLite file made private, the
// PostgreSQL server's time limits), closing, how a failure is told, and the one retry of a
// call whose PostgreSQL connection was lost; and the export of a file, kept off the
// library's own files.

#include "library/Library.h"

#include "data/DatFile.h"
#include "library/LibrarySql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>

#include <atomic>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// How long a write waits for another program's write to end before it gives up; an import
// holds the lock for a fraction of a second.
constexpr int kBusyTimeoutMilliseconds = 30000;
// How long a PostgreSQL server may take to answer before the library counts as unreachable.
constexpr int kConnectTimeoutSeconds = 10;
// A connection silent this long is probed; after the probes go unanswered it counts as lost.
constexpr int kKeepaliveIdleSeconds = 10;
constexpr int kKeepaliveIntervalSeconds = 5;
constexpr int kKeepaliveCount = 3;

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("dosemeter-library-%1").arg(++counter);
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

using namespace LibrarySql;

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
