#pragma once

// The measurement library: every measurement in one database, a SQLite file on the desk or
// a PostgreSQL database a team shares (LibraryLocation), through Qt SQL.
//
// - Each import is one transaction: a killed program, a power cut or a dropped connection
//   leaves the library as it was before that import. SQLite runs in WAL mode with a busy
//   timeout and takes its write lock when a write begins, so the desktop program and the
//   command line use one library at once without "database is locked".
// - The same file content is stored once (by its SHA-256); importing it again says
//   "already" and names the measurement that holds it.
// - Every value goes in through bound parameters.
// - A library of an older schema is upgraded in one transaction; one a newer program made
//   is refused, and nothing is written to it.
//
// Calls that fail say why in errorString(). One Library is one connection, for the thread
// that opened it.

#include "library/LibraryLocation.h"
#include "library/Measurement.h"
#include "library/MeasurementReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

class Library {
public:
    Library();
    ~Library();
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    // Opens the library, creating it where there is none (a SQLite file and its folder, or
    // the tables in an empty PostgreSQL database). False, with the reason, when it cannot
    // be opened or reached, is not a library, or was made by a newer program.
    bool open(const LibraryLocation &location);
    // How long a PostgreSQL server may take over one statement, set before open(): the
    // server ends a statement that takes longer ("the server did not answer within N s"),
    // and TCP keepalives end a connection whose peer has gone. What the statement's
    // transaction had begun is rolled back.
    static constexpr int kAnswerTimeoutSeconds = 60;
    void setAnswerTimeoutSeconds(int seconds) { answerTimeoutSeconds_ = seconds; }
    void close();
    bool isOpen() const;
    // A SQLite library that cannot be written is opened for reading: changes fail and say so.
    bool isReadOnly() const { return readOnly_; }
    const LibraryLocation &location() const { return location_; }
    // The Qt SQL connection, for checks beyond this class's calls.
    QString connectionName() const { return connectionName_; }
    QString errorString() const { return error_; }

    struct Import {
        enum class Outcome { Imported, Already, Failed };
        Outcome outcome = Outcome::Failed;
        qint64 id = 0; // the measurement that holds the content
        QString error; // Failed: why, for the user
    };
    // Reads the file whole with its format's reader; a file that is not wholly readable
    // stores nothing. The banks' year is read against the file's modification time.
    Import importFile(const QString &path, MeasurementReader::Known known = {});
    Import importBytes(const QByteArray &bytes, const QString &fileName,
                       const MeasurementReader::Known &known = {});
    // Whether a data file cut inside its last record is stored (with its whole records) or
    // refused by the imports that follow; stored unless told otherwise.
    void setKeepIncomplete(bool keep) { keepIncomplete_ = keep; }

    // Measurements by start, then id; nullopt on failure.
    std::optional<QList<Measurement>> list(const LibraryFilter &filter = {});
    // nullopt with an empty errorString() when there is no such measurement.
    std::optional<Measurement> measurement(qint64 id);

    enum class Change { Done, NotFound, Failed };
    // Worker, site and job as given (a field left nullopt keeps its value); TABs and line
    // ends become spaces, as the list prints one measurement a line.
    struct Labels {
        std::optional<QString> worker;
        std::optional<QString> site;
        std::optional<QString> job;
    };
    Change setLabels(qint64 id, const Labels &labels);
    // The measurements with their files and spans, in one transaction: all or none.
    Change remove(const QList<qint64> &ids);

    // The file as it was imported, checked against its hash. nullopt with an empty
    // errorString() when there is no such measurement.
    std::optional<QByteArray> fileBytes(qint64 id);
    // Writes the file through a temporary file that replaces `path` only when complete.
    // Never over the library's own files (its database file, journal and WAL, however
    // they are reached: a symbolic or hard link included).
    Change exportFile(qint64 id, const QString &path);
    // Whether `path` is one of the files of this SQLite library (see exportFile()).
    bool isOwnFile(const QString &path) const;

    // Excluded spans, kept with their measurement and deleted with it.
    std::optional<qint64> addExcludedSpan(const MeasurementSpan &span);
    std::optional<QList<MeasurementSpan>> excludedSpans(qint64 measurementId);
    Change removeExcludedSpan(qint64 spanId);
    // The spans of the measurements `measurementIds` become `spans`, in one transaction: on
    // a failure the spans kept before stay as they were.
    Change replaceExcludedSpans(const QList<qint64> &measurementIds,
                                const QList<MeasurementSpan> &spans);

    // What is wrong with the stored data: the engine's own check (SQLite), measurements
    // without their file, files that no longer match their hash. Empty when all is well.
    QStringList problems();

private:
    QSqlDatabase database() const;
    bool openConnection();
    // Reads the version; creates or upgrades the schema where needed.
    bool prepareSchema();
    bool upgrade(int from);
    // The transaction of a writing method (LibraryTransaction.h).
    class Transaction;
    // Runs `work` (one transaction at most); when a PostgreSQL connection was lost, opens it
    // again and runs `work` once more.
    bool run(const std::function<bool()> &work);
    bool fail(const QString &what, const QSqlQuery &query);
    // The engine's words for a failed call, or what a timed-out statement means.
    QString sqlText(const QSqlError &error) const;
    bool fail(const QString &reason);
    Import store(const Measurement &measurement, const QByteArray &bytes);

    LibraryLocation location_;
    QString connectionName_;
    QString error_;
    bool open_ = false;
    int answerTimeoutSeconds_ = kAnswerTimeoutSeconds;
    bool readOnly_ = false; // a SQLite library opened for reading only
    bool keepIncomplete_ = true;
};
