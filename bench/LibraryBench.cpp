// bench-library: the measurement library's figures, on SQLite and on a throwaway PostgreSQL
// server (skipped, with a note, where Debian's postgresql package is not installed). Prints
//   - the time to import a recording of 86,400 records (a day at 1 s) from its file, the
//     median and the slowest of five different ones (target: 0.3 s on SQLite);
//   - the time to list 10,000 measurements with a filter (a worker's name and a kind), and
//     all of them, the median of 20 (target: 50 ms);
//   - the library's size in bytes per record: the five recordings alone, and with the
//     10,000 short measurements as well (target: 8; a recording's file has about 35).
//
//   bench-library [--sqlite-only]

#include "data/DatFile.h"
#include "library/Library.h"
#include "support/ThrowawayPostgres.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr int kDayRecords = 86400;
constexpr int kRecordings = 5;
constexpr int kShortMeasurements = 10000;
constexpr int kShortRecords = 120;
constexpr int kListRuns = 20;

QTextStream out(stdout);

// A recording of `records` samples at 1 s from `start`, its level wandering as a worker's
// does (a random walk between 70 and 105 dB, now and then under range or overloaded); in
// the grid form, with a note, as a saved list.
QByteArray recordingFile(const QDateTime &start, int records, quint32 seed, bool grid = false)
{
    RecordTable table;
    table.reserve(records, qsizetype(records) * 30);
    double level = 85.0;
    quint32 noise = seed;
    const auto next = [&noise] {
        noise = noise * 1664525u + 1013904223u;
        return double(noise >> 8) / double(1u << 24);
    };
    for (int i = 0; i < records; ++i) {
        level = std::clamp(level + (next() - 0.5) * 4.0, 70.0, 105.0);
        const double roll = next();
        const QString shown = roll < 0.002 ? QStringLiteral(" OL ")
                              : roll < 0.004
                                  ? QStringLiteral("----")
                                  : QStringLiteral("%1").arg(level, 5, 'f', 1, QLatin1Char('0'));
        const QDateTime t = start.addSecs(i);
        table.appendRecord({QString::number(i + 1), t.toString(QStringLiteral("yyyy/MM/dd")),
                            t.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(".0"), shown});
    }
    return grid ? DatFile::gridBytes(table, {QStringLiteral("Shift"), QString(), QString()})
                : DatFile::recordingBytes(table);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void sql(Library &library, const QString &statement)
{
    QSqlQuery q(QSqlDatabase::database(library.connectionName()));
    q.exec(statement);
}

qint64 libraryBytes(Library &library)
{
    const LibraryLocation &location = library.location();
    if (location.kind() == LibraryLocation::Kind::SQLite) {
        sql(library, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return QFileInfo(location.path()).size() +
               QFileInfo(location.path() + QStringLiteral("-wal")).size();
    }
    QSqlQuery q(QSqlDatabase::database(library.connectionName()));
    return q.exec(QStringLiteral("SELECT pg_database_size(current_database())")) && q.next()
               ? q.value(0).toLongLong()
               : 0;
}

// The figures of one library, opened empty at `location`.
bool measure(const QString &engine, const LibraryLocation &location, const QTemporaryDir &dir)
{
    Library library;
    if (!library.open(location)) {
        out << engine << ": " << library.errorString() << "\n";
        return false;
    }
    const qint64 emptyBytes = libraryBytes(library);
    QList<double> imports;
    for (int i = 0; i < kRecordings; ++i) {
        const QString path = dir.filePath(QStringLiteral("%1-day-%2.dat").arg(engine).arg(i));
        DatFile::save(path, recordingFile(QDateTime(QDate(2009, 11, 2 + i), QTime(6, 0)),
                                          kDayRecords, 7 + i));
        Library::Import result;
        imports << milliseconds([&] { result = library.importFile(path); });
        if (result.outcome != Library::Import::Outcome::Imported) {
            out << engine << ": " << result.error << "\n";
            return false;
        }
    }
    out << engine << ": import of an 86,400-record recording: median "
        << QString::number(median(imports) / 1000.0, 'f', 3) << " s, slowest "
        << QString::number(*std::max_element(imports.begin(), imports.end()) / 1000.0, 'f', 3)
        << " s (target 0.3 s on SQLite)\n";
    const qint64 dayBytes = libraryBytes(library) - emptyBytes;
    out << engine << ": size with the " << kRecordings << " recordings: "
        << QString::number(double(dayBytes) / (kRecordings * kDayRecords), 'f', 2)
        << " bytes a record (target 8; the files have "
        << QString::number(
               double(QFileInfo(dir.filePath(engine + QStringLiteral("-day-0.dat"))).size()) /
                   kDayRecords,
               'f', 1)
        << ")\n";
    out.flush();

    // The short measurements go in faster than one sync each; the figures measured are the
    // listing's, not the filling's.
    sql(library, location.kind() == LibraryLocation::Kind::SQLite
                     ? QStringLiteral("PRAGMA synchronous=OFF")
                     : QStringLiteral("SET synchronous_commit = off"));
    const QStringList workers{"Ana Souza",  "Bruno Lima", "Carla Dias", "Davi Rocha", "Eva Nunes",
                              "Fabio Reis", "Gina Alves", "Hugo Pinto", "Iris Melo",  "Joao Cruz"};
    const QStringList sites{"Press shop", "Foundry", "Paint line", "Warehouse", "Assembly"};
    QElapsedTimer filling;
    filling.start();
    for (int i = 0; i < kShortMeasurements; ++i) {
        // A third saved lists, the others recordings.
        MeasurementReader::Known known;
        known.kind = Measurement::Kind::List;
        const QByteArray bytes =
            recordingFile(QDateTime(QDate(2005, 1, 1), QTime(7, 0)).addSecs(qint64(i) * 3600),
                          kShortRecords, 1000 + i, i % 3 == 0);
        const Library::Import result =
            library.importBytes(bytes, QStringLiteral("short-%1.dat").arg(i), known);
        library.setLabels(result.id,
                          {workers.at(i % workers.size()), sites.at(i / 7 % sites.size()),
                           QStringLiteral("Task %1").arg(i % 40)});
    }
    sql(library, location.kind() == LibraryLocation::Kind::SQLite
                     ? QStringLiteral("PRAGMA synchronous=FULL")
                     : QStringLiteral("SET synchronous_commit = on"));
    out << engine << ": " << kShortMeasurements << " more measurements stored in "
        << QString::number(filling.elapsed() / 1000.0, 'f', 1) << " s\n";

    LibraryFilter filter;
    filter.worker = QStringLiteral("souza");
    filter.kind = Measurement::Kind::Recording;
    QList<double> filtered, everything;
    qsizetype found = 0, all = 0;
    for (int run = 0; run < kListRuns; ++run) {
        filtered << milliseconds([&] { found = library.list(filter)->size(); });
        everything << milliseconds([&] { all = library.list()->size(); });
    }
    out << engine << ": list of " << all << " measurements with a filter (" << found
        << " found): median " << QString::number(median(filtered), 'f', 1)
        << " ms; without a filter: " << QString::number(median(everything), 'f', 1)
        << " ms (target 50 ms)\n";
    const qint64 records =
        qint64(kRecordings) * kDayRecords + qint64(kShortMeasurements) * kShortRecords;
    out << engine << ": size with all " << all << " measurements: "
        << QString::number(double(libraryBytes(library) - emptyBytes) / records, 'f', 2)
        << " bytes a record\n";
    out.flush();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool sqliteOnly = app.arguments().contains(QStringLiteral("--sqlite-only"));
    QTemporaryDir dir;
    bool ok = measure(QStringLiteral("sqlite"),
                      LibraryLocation::sqlite(dir.filePath(QStringLiteral("bench.sqlite"))), dir);
    if (sqliteOnly)
        return ok ? 0 : 1;
    if (!ThrowawayPostgres::installed()) {
        out << "postgresql: not measured, Debian's postgresql package is not installed\n";
        return ok ? 0 : 1;
    }
    // A server that syncs as a real one does.
    ThrowawayPostgres server(true);
    QString error;
    const QString address =
        server.start() ? server.createDatabase(QStringLiteral("bench")) : QString();
    if (address.isEmpty()) {
        out << "postgresql: the throwaway server did not start: " << server.errorString() << "\n";
        return 1;
    }
    ok = measure(QStringLiteral("postgresql"), LibraryLocation::parse(address, error), dir) && ok;
    return ok ? 0 : 1;
}
