#pragma once

// A PostgreSQL server of its own for the tests and the benchmark: a cluster made with
// Debian's initdb in a temporary folder, started with pg_ctl on a free port of 127.0.0.1,
// stopped and removed again with this object. PostgreSQL refuses to run as root, so under
// root (as in CI) it runs as the unprivileged user "nobody". Connections need no password
// (trust), as user "dosemeter".

#include <QString>
#include <QTemporaryDir>

#include <memory>

class ThrowawayPostgres {
public:
    // durable: the server syncs its writes as a real one does (for timings); otherwise
    // it does not, which makes tests faster and changes nothing they check.
    explicit ThrowawayPostgres(bool durable = false);
    ~ThrowawayPostgres();
    ThrowawayPostgres(const ThrowawayPostgres &) = delete;
    ThrowawayPostgres &operator=(const ThrowawayPostgres &) = delete;

    // Debian's server programs are installed (package postgresql).
    static bool installed();
    // Makes and starts the cluster once; false with errorString() when it cannot.
    bool start();
    QString errorString() const { return error_; }
    int port() const { return port_; }

    // A new empty database; its postgresql:// address, or empty (errorString()).
    QString createDatabase(const QString &name);
    // Runs one statement as the cluster's superuser in `database`; empty or the error.
    QString execute(const QString &database, const QString &statement);

private:
    // Runs a server program as the cluster's owner; empty on success, else its output.
    QString runProgram(const QString &program, const QStringList &arguments);

    bool durable_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString binDir_;
    QString dataDir_;
    int port_ = 0;
    bool running_ = false;
    QString error_;
};
