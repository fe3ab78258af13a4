#include "support/ThrowawayPostgres.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kUser = QStringLiteral("dosemeter");
const char *const kUnprivileged = "nobody";

// The newest installed server's programs, or empty.
QString serverBinDir()
{
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    root.setSorting(QDir::Name | QDir::Reversed);
    for (const QString &version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) &&
            QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

// A port nothing listens on now.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

ThrowawayPostgres::ThrowawayPostgres(bool durable) : durable_(durable)
{
}

ThrowawayPostgres::~ThrowawayPostgres()
{
    if (running_)
        runProgram(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir_, QStringLiteral("-m"),
                                              QStringLiteral("immediate"), QStringLiteral("stop")});
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.startsWith(QStringLiteral("throwaway-postgres-")))
            QSqlDatabase::removeDatabase(name);
    }
}

bool ThrowawayPostgres::installed()
{
    return !serverBinDir().isEmpty();
}

QString ThrowawayPostgres::runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_->path());
    const QString path = binDir_ + QLatin1Char('/') + program;
    if (::geteuid() == 0)
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=nobody"),
                                  QStringLiteral("--regid=nogroup"),
                                  QStringLiteral("--clear-groups"), QStringLiteral("--"), path} +
                          arguments);
    else
        process.start(path, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return program + QStringLiteral(" did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll());
    return QString();
}

bool ThrowawayPostgres::start()
{
    if (running_)
        return true;
    binDir_ = serverBinDir();
    if (binDir_.isEmpty()) {
        error_ = QStringLiteral("no PostgreSQL server in /usr/lib/postgresql/*/bin (Debian "
                                "package postgresql)");
        return false;
    }
    dir_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/dosemeter-pg-XXXXXX"));
    if (!dir_->isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    if (::geteuid() == 0) {
        const passwd *user = ::getpwnam(kUnprivileged);
        if (!user ||
            ::chown(QFile::encodeName(dir_->path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            error_ = QStringLiteral("the folder cannot be given to the user nobody");
            return false;
        }
    }
    dataDir_ = dir_->filePath(QStringLiteral("data"));
    error_ = runProgram(QStringLiteral("initdb"),
                        {QStringLiteral("-D"), dataDir_, QStringLiteral("-U"), kUser,
                         QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                         QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                         QStringLiteral("--no-sync")});
    if (!error_.isEmpty())
        return false;
    port_ = freePort();
    QString options =
        QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(port_).arg(dir_->path());
    if (!durable_)
        options += QStringLiteral(" -c fsync=off -c synchronous_commit=off");
    error_ = runProgram(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), dataDir_, QStringLiteral("-l"),
                         dir_->filePath(QStringLiteral("server.log")), QStringLiteral("-o"),
                         options, QStringLiteral("-w"), QStringLiteral("start")});
    running_ = error_.isEmpty();
    return running_;
}

QString ThrowawayPostgres::execute(const QString &database, const QString &statement)
{
    static int connections = 0;
    const QString name = QStringLiteral("throwaway-postgres-%1").arg(++connections);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setUserName(kUser);
        db.setDatabaseName(database);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(statement))
                error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

QString ThrowawayPostgres::createDatabase(const QString &name)
{
    error_ = execute(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name));
    if (!error_.isEmpty())
        return QString();
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(kUser).arg(port_).arg(name);
}
