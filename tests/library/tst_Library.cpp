// The library's logic, each test on SQLite and on a real PostgreSQL server (a throwaway
// cluster; its rows are skipped only where Debian's postgresql package is not installed).

#include "library/Library.h"
#include "library/LibrarySchema.h"
#include "library/QtSqlWarnings.h"
#include "support/TestMain.h"
#include "support/ThrowawayPostgres.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *const kBackends[] = {"sqlite", "postgresql"};
const QStringList kFiles{"recording-form.dat", "grid-form.dat", "banks-menu.bnk",
                         "banks-toolbar.bnk", "average.avg"};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs SQL on the library's own connection; the first value of the first row, if any.
QVariant sql(Library &library, const QString &statement, bool *done = nullptr)
{
    QSqlQuery q(QSqlDatabase::database(library.connectionName()));
    const bool ran = q.exec(statement);
    if (done)
        *done = ran;
    else if (!ran)
        qWarning("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
    return q.next() ? q.value(0) : QVariant();
}

QStringList fileNames(const QList<Measurement> &measurements)
{
    QStringList names;
    for (const Measurement &m : measurements)
        names << m.fileName;
    return names;
}

// A recording like recording-form.dat, made different by `records` more records of levels
// that hardly compress.
QByteArray recording(int records)
{
    QByteArray bytes = bytesOf(testsupport::golden("recording-form.dat"));
    quint32 noise = quint32(records);
    for (int i = 0; i < records; ++i) {
        noise = noise * 1664525u + 1013904223u;
        bytes += QByteArray::number(5 + i) +
                 "\t2009/11/30\t10:08:" + QByteArray::number(10 + i % 50) + ".0\t0" +
                 QByteArray::number(70 + (noise >> 8) % 30) + '.' +
                 QByteArray::number((noise >> 20) % 10) + "\r\n";
    }
    return bytes;
}

} // namespace

class TestLibrary : public QObject {
    Q_OBJECT

    ThrowawayPostgres postgres_;
    QTemporaryDir dir_;
    int made_ = 0;

    // A new, empty library of `backend`, open in `library`.
    bool openFresh(const QString &backend, Library &library)
    {
        ++made_;
        if (backend == QLatin1String("sqlite"))
            return library.open(
                LibraryLocation::sqlite(dir_.filePath(QStringLiteral("lib%1.sqlite").arg(made_))));
        QString error;
        const LibraryLocation location = LibraryLocation::parse(
            postgres_.createDatabase(QStringLiteral("lib%1").arg(made_)), error);
        return error.isEmpty() && library.open(location);
    }

    static void backendColumn() { QTest::addColumn<QString>("backend"); }
    static void backendRows()
    {
        backendColumn();
        for (const char *backend : kBackends)
            QTest::newRow(backend) << QString::fromLatin1(backend);
    }

    // dosemeter-cli on this library, started.
    static void startCli(QProcess &cli, const Library &library, const QStringList &arguments)
    {
        cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                  QStringList{QStringLiteral("--library"), library.location().text()} + arguments);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        if (ThrowawayPostgres::installed())
            QVERIFY2(postgres_.start(), qPrintable(postgres_.errorString()));
    }

    void init()
    {
        if (QTest::currentDataTag() &&
            QByteArray(QTest::currentDataTag()).startsWith("postgresql") &&
            !ThrowawayPostgres::installed())
            QSKIP("Debian's postgresql package is not installed: no server to test against");
    }

    void importsOnceAndExportsExactly_data()
    {
        backendColumn();
        QTest::addColumn<QString>("file");
        for (const char *backend : kBackends)
            for (const QString &file : kFiles)
                QTest::addRow("%s/%s", backend, qPrintable(file)) << backend << file;
    }
    void importsOnceAndExportsExactly()
    {
        QFETCH(QString, backend);
        QFETCH(QString, file);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const QByteArray original = bytesOf(testsupport::golden(file));
        const Library::Import first = library.importFile(testsupport::golden(file));
        QCOMPARE(first.outcome, Library::Import::Outcome::Imported);
        // The same content under another name is the same measurement.
        const QString copy = dir_.filePath(QStringLiteral("copy-") + file);
        QVERIFY(writeFile(copy, original));
        const Library::Import again = library.importFile(copy);
        QCOMPARE(again.outcome, Library::Import::Outcome::Already);
        QCOMPARE(again.id, first.id);
        QCOMPARE(library.list()->size(), 1);
        const QString exported = dir_.filePath(QStringLiteral("exported-") + file);
        QCOMPARE(library.exportFile(first.id, exported), Library::Change::Done);
        QCOMPARE(bytesOf(exported), original);
        QCOMPARE(library.problems(), QStringList());
    }

    void storesTextsAsTyped_data()
    {
        backendColumn();
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("found");
        const std::tuple<const char *, QString, QString, bool> rows[] = {
            {"sql-ish", "it's \"quoted\"; DROP TABLE measurements; --",
             "it's \"quoted\"; DROP TABLE measurements; --", true},
            {"percent-is-a-percent", "50% team", "0% t", true},
            {"percent-no-wildcard", "500 team", "0% t", false},
            {"underscore-is-an-underscore", "a_b", "a_b", true},
            {"underscore-no-wildcard", "axb", "a_b", false},
            {"backslash-any-case", "C:\\Shift", "c:\\s", true},
            {"part-any-case", "Ana Souza", "SOUZA", true},
            {"accented-capital-as-typed", "Ângela S.", "Ângela", true},
            {"accented-capital-by-small", "Ângela S.", "ângela", true},
            {"accented-capital-without-accent", "Ângela S.", "ANGELA s", true},
            {"accent-typed-where-none-is", "Angela", "Ângela", true},
            {"accented-e", "Élio", "Élio", true},
            {"accented-e-by-small", "Élio", "élio", true},
            {"decomposed-accent", QString::fromUtf8("E\u0301lio"), "élio", true},
            {"cedilla", "Gonçalves", "GONCALVES", true},
            {"other-letter", "Ângela S.", "Ângelo", false},
        };
        for (const char *backend : kBackends)
            for (const auto &[name, worker, search, found] : rows)
                QTest::addRow("%s/%s", backend, name) << backend << worker << search << found;
    }
    void storesTextsAsTyped()
    {
        QFETCH(QString, backend);
        QFETCH(QString, worker);
        QFETCH(QString, search);
        QFETCH(bool, found);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const qint64 id = library.importFile(testsupport::golden("average.avg")).id;
        QCOMPARE(library.setLabels(id, {worker, worker, worker}), Library::Change::Done);
        QCOMPARE(library.measurement(id)->worker, worker);
        QCOMPARE(library.measurement(id)->job, worker);
        LibraryFilter filter;
        filter.worker = search;
        QCOMPARE(library.list(filter)->size(), found ? 1 : 0);
        filter.site = search;
        filter.job = search;
        QCOMPARE(library.list(filter)->size(), found ? 1 : 0);
    }

    void filtersTheList_data()
    {
        backendColumn();
        QTest::addColumn<QString>("filter"); // field=value, comma-separated
        QTest::addColumn<QStringList>("files");
        const std::tuple<const char *, const char *, QStringList> rows[] = {
            {"everything",
             "",
             {"banks-menu.bnk", "average.avg", "recording-form.dat", "grid-form.dat"}},
            {"kind", "kind=run", {"grid-form.dat"}},
            {"one-day", "from=2009-11-30,to=2009-11-30", {"average.avg", "recording-form.dat"}},
            {"from-a-day", "from=2009-12-01", {"grid-form.dat"}},
            {"to-a-day", "to=2009-11-29", {"banks-menu.bnk"}},
            {"worker", "worker=souza", {"banks-menu.bnk"}},
            {"site", "site=FLORES", {"banks-menu.bnk"}},
            {"job-and-kind", "job=press,kind=average", {"average.avg"}},
            {"nothing-matches", "job=press,kind=banks", {}},
        };
        for (const char *backend : kBackends)
            for (const auto &[name, filter, files] : rows)
                QTest::addRow("%s/%s", backend, name) << backend << filter << files;
    }
    void filtersTheList()
    {
        QFETCH(QString, backend);
        QFETCH(QString, filter);
        QFETCH(QStringList, files);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        MeasurementReader::Known known;
        known.reference = QDateTime(QDate(2010, 1, 15), QTime(12, 0));
        for (const char *file :
             {"grid-form.dat", "recording-form.dat", "average.avg", "banks-menu.bnk"})
            QCOMPARE(library.importBytes(bytesOf(testsupport::golden(file)), file, known).outcome,
                     Library::Import::Outcome::Imported);
        LibraryFilter f;
        for (const QString &term : filter.split(',', Qt::SkipEmptyParts)) {
            const QString value = term.section('=', 1);
            const QString field = term.section('=', 0, 0);
            if (field == "kind")
                f.kind = Measurement::kindFromName(value);
            else if (field == "from" || field == "to")
                (field == "from" ? f.from : f.to) = QDate::fromString(value, Qt::ISODate);
            else
                (field == "worker" ? f.worker : field == "site" ? f.site : f.job) = value;
        }
        QCOMPARE(fileNames(*library.list(f)), files);
    }

    void refusesNewerLibraryWithoutWriting_data() { backendRows(); }
    void refusesNewerLibraryWithoutWriting()
    {
        QFETCH(QString, backend);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        library.importFile(testsupport::golden("average.avg"));
        const int newer = LibrarySchema::kVersion + 1;
        sql(library, QStringLiteral("UPDATE library_info SET value = '%1'").arg(newer));
        const LibraryLocation location = library.location();
        library.close();
        const QByteArray before = backend == "sqlite" ? bytesOf(location.path()) : QByteArray();

        QVERIFY(!library.open(location));
        QCOMPARE(library.errorString(),
                 QStringLiteral("The library %1 was made by a newer version of Dose Meter (library "
                                "version %2; this program knows up to %3). Use the newer program "
                                "with it; nothing was changed.")
                     .arg(location.text())
                     .arg(newer)
                     .arg(LibrarySchema::kVersion));
        QVERIFY(!library.isOpen());
        if (backend == "sqlite")
            QCOMPARE(bytesOf(location.path()), before);
    }

    void upgradesAnOlderLibrary_data() { backendRows(); }
    void upgradesAnOlderLibrary()
    {
        QFETCH(QString, backend);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const qint64 id = library.importFile(testsupport::golden("grid-form.dat")).id;
        // Version 1 is this library without its excluded spans.
        sql(library, "DROP TABLE excluded_spans");
        sql(library, "UPDATE library_info SET value = '1'");
        const LibraryLocation location = library.location();
        library.close();

        QVERIFY2(library.open(location), qPrintable(library.errorString()));
        QCOMPARE(sql(library, "SELECT value FROM library_info").toString(),
                 QString::number(LibrarySchema::kVersion));
        QVERIFY(library.addExcludedSpan({0, id, 2, 3, "break"}));
        QCOMPARE(library.fileBytes(id), bytesOf(testsupport::golden("grid-form.dat")));
    }

    void keepsSpansUntilTheMeasurementGoes_data() { backendRows(); }
    void keepsSpansUntilTheMeasurementGoes()
    {
        QFETCH(QString, backend);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const qint64 id = library.importFile(testsupport::golden("recording-form.dat")).id;
        const qint64 other = library.importFile(testsupport::golden("grid-form.dat")).id;
        const std::optional<qint64> late = library.addExcludedSpan({0, id, 3, 4, "calibration"});
        QVERIFY(late && library.addExcludedSpan({0, id, 1, 1, "it's \"lunch\""}));
        QVERIFY(library.addExcludedSpan({0, other, 1, 2, "kept"}));
        const QList<MeasurementSpan> spans = *library.excludedSpans(id);
        QCOMPARE(spans.size(), 2);
        QCOMPARE((QList<int>{spans[0].firstRecord, spans[0].lastRecord, spans[1].firstRecord}),
                 (QList<int>{1, 1, 3}));
        QCOMPARE(spans[0].reason, "it's \"lunch\"");
        QCOMPARE(library.removeExcludedSpan(*late), Library::Change::Done);
        QCOMPARE(library.excludedSpans(id)->size(), 1);

        QCOMPARE(library.remove({id}), Library::Change::Done);
        QCOMPARE(library.measurement(id), std::nullopt);
        QVERIFY(library.errorString().isEmpty());
        QCOMPARE(library.excludedSpans(id)->size(), 0);
        QCOMPARE(library.excludedSpans(other)->size(), 1);
        // An unknown ID is said to be unknown, and a delete of several is all or nothing.
        QCOMPARE(library.remove({other, id}), Library::Change::NotFound);
        QVERIFY(library.measurement(other));
        QCOMPARE(library.setLabels(id, {"x", {}, {}}), Library::Change::NotFound);
        QCOMPARE(library.exportFile(id, dir_.filePath("gone.dat")), Library::Change::NotFound);
        QCOMPARE(library.problems(), QStringList());
    }

    // The delete of the first measurement's spans is refused (a trigger): the change says
    // the engine's reason, not what a statement after it met, and keeps nothing.
    void refusedChangeOfSpansSaysWhy_data() { backendRows(); }
    void refusedChangeOfSpansSaysWhy()
    {
        QFETCH(QString, backend);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const qint64 id = library.importFile(testsupport::golden("recording-form.dat")).id;
        const qint64 other = library.importFile(testsupport::golden("grid-form.dat")).id;
        QVERIFY(library.addExcludedSpan({0, other, 1, 2, "kept"}));
        if (backend == "sqlite") {
            sql(library, QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON excluded_spans "
                                        "WHEN OLD.measurement_id = %1 BEGIN "
                                        "SELECT RAISE(ABORT, 'refused'); END")
                             .arg(id));
        } else {
            sql(library, "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                         "$$ BEGIN RAISE EXCEPTION 'refused'; END $$");
            sql(library, QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON excluded_spans "
                                        "FOR EACH ROW WHEN (OLD.measurement_id = %1) "
                                        "EXECUTE FUNCTION refuse()")
                             .arg(id));
        }
        QVERIFY(library.addExcludedSpan({0, id, 3, 4, "held"}));
        QCOMPARE(library.replaceExcludedSpans({id, other}, {}), Library::Change::Failed);
        QVERIFY2(
            library.errorString().startsWith("The library could not keep the excluded spans: ") &&
                library.errorString().contains("refused"),
            qPrintable(library.errorString()));
        QCOMPARE(library.excludedSpans(other)->size(), 1);
        QCOMPARE(library.excludedSpans(id)->size(), 1);
    }

    // The child is killed while its import waits inside the transaction (a trigger makes
    // the insert of the file slow); the library then holds what it held before.
    void killedImportLeavesTheLibraryAsItWas_data() { backendRows(); }
    void killedImportLeavesTheLibraryAsItWas()
    {
        QFETCH(QString, backend);
        const bool sqlite = backend == "sqlite";
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        QCOMPARE(library.importFile(testsupport::golden("grid-form.dat")).outcome,
                 Library::Import::Outcome::Imported);
        if (sqlite) {
            sql(library, "CREATE TABLE stall (x INTEGER)");
            sql(library, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                         "WHERE x < 3000) INSERT INTO stall SELECT x FROM n");
            sql(library, "CREATE TRIGGER stall AFTER INSERT ON measurement_files BEGIN "
                         "SELECT count(*) FROM stall a, stall b, stall c; END");
        } else {
            sql(library, "CREATE FUNCTION stall() RETURNS trigger LANGUAGE plpgsql AS "
                         "$$ BEGIN PERFORM pg_sleep(600); RETURN NEW; END $$");
            sql(library, "CREATE TRIGGER stall AFTER INSERT ON measurement_files "
                         "FOR EACH ROW EXECUTE FUNCTION stall()");
        }
        QProcess cli;
        startCli(cli, library, {"library", "import", testsupport::golden("recording-form.dat")});
        QVERIFY(cli.waitForStarted());
        // Inside the transaction: SQLite's write lock is taken; the server's session sleeps.
        const auto insideImport = [&] {
            if (!sqlite)
                return sql(library, "SELECT count(*) FROM pg_stat_activity WHERE wait_event = "
                                    "'PgSleep'")
                           .toInt() == 1;
            sql(library, "PRAGMA busy_timeout = 0");
            QSqlQuery q(QSqlDatabase::database(library.connectionName()));
            const bool locked = !q.exec("BEGIN IMMEDIATE");
            if (!locked)
                q.exec("ROLLBACK");
            return locked;
        };
        QTRY_VERIFY_WITH_TIMEOUT(insideImport(), 30000);
        QTest::qWait(300);
        cli.kill();
        QVERIFY(cli.waitForFinished());
        if (!sqlite) // the server notices the lost client only when the sleep ends
            sql(library, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                         "wait_event = 'PgSleep'");
        sql(library, sqlite ? "PRAGMA busy_timeout = 30000" : "SELECT 1");
        bool dropped = false;
        const auto dropTrigger = [&] {
            if (!dropped)
                sql(library,
                    sqlite ? "DROP TRIGGER stall" : "DROP TRIGGER stall ON measurement_files",
                    &dropped);
            return dropped;
        };
        QTRY_VERIFY(dropTrigger());

        QCOMPARE(fileNames(*library.list()), QStringList{"grid-form.dat"});
        QCOMPARE(library.problems(), QStringList());
        // Nothing of the killed import is left: the same file is new to the library.
        QCOMPARE(library.importFile(testsupport::golden("recording-form.dat")).outcome,
                 Library::Import::Outcome::Imported);
    }

    void concurrentUseIsNeverLocked_data() { backendRows(); }
    void concurrentUseIsNeverLocked()
    {
        QFETCH(QString, backend);
        Library library;
        QVERIFY2(openFresh(backend, library), qPrintable(library.errorString()));
        const qint64 mine = library.importFile(testsupport::golden("average.avg")).id;
        QList<QProcess *> children;
        for (int child = 0; child < 3; ++child) {
            QStringList arguments{"library", "import"};
            for (int file = 0; file < 4; ++file) {
                const QString path =
                    dir_.filePath(QStringLiteral("%1-%2-%3.dat").arg(backend).arg(child).arg(file));
                QVERIFY(writeFile(path, recording(child * 10 + file + 1)));
                arguments << path;
            }
            children << new QProcess(this);
            startCli(*children.last(), library, arguments);
        }
        // Meanwhile this program reads and writes the same library.
        for (int turn = 0; turn < 20; ++turn) {
            QVERIFY2(library.list(), qPrintable(library.errorString()));
            QCOMPARE(library.setLabels(mine, {QString::number(turn), {}, {}}),
                     Library::Change::Done);
        }
        for (QProcess *child : std::as_const(children)) {
            QVERIFY(child->waitForFinished(60000));
            const QByteArray err = child->readAllStandardError();
            QVERIFY2(child->exitCode() == 0 && err.isEmpty(), err.constData());
            QCOMPARE(child->readAllStandardOutput().count("imported: "), 4);
            delete child;
        }
        QCOMPARE(library.list()->size(), 13);
        QCOMPARE(library.problems(), QStringList());
    }

    // The server takes a statement of the import far beyond the time allowed (a trigger
    // sleeps): the import ends with the reason, and nothing of it is kept.
    void serverThatDoesNotAnswerEndsTheImport()
    {
        if (!ThrowawayPostgres::installed())
            QSKIP("Debian's postgresql package is not installed: no server to test against");
        Library library;
        library.setAnswerTimeoutSeconds(2);
        QVERIFY2(openFresh("postgresql", library), qPrintable(library.errorString()));
        QCOMPARE(library.importFile(testsupport::golden("grid-form.dat")).outcome,
                 Library::Import::Outcome::Imported);
        sql(library, "CREATE FUNCTION stall() RETURNS trigger LANGUAGE plpgsql AS "
                     "$$ BEGIN PERFORM pg_sleep(600); RETURN NEW; END $$");
        sql(library, "CREATE TRIGGER stall AFTER INSERT ON measurement_files "
                     "FOR EACH ROW EXECUTE FUNCTION stall()");
        QElapsedTimer clock;
        clock.start();
        const Library::Import stalled =
            library.importFile(testsupport::golden("recording-form.dat"));
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(stalled.outcome, Library::Import::Outcome::Failed);
        QCOMPARE(stalled.error, "The library could not store recording-form.dat: the server did "
                                "not answer within 2 s.");
        sql(library, "DROP TRIGGER stall ON measurement_files");
        QCOMPARE(fileNames(*library.list()), QStringList{"grid-form.dat"});
        QCOMPARE(library.problems(), QStringList());
    }

    void fullDiskLosesNothing()
    {
        Library library;
        QVERIFY2(openFresh("sqlite", library), qPrintable(library.errorString()));
        const qint64 kept = library.importFile(testsupport::golden("grid-form.dat")).id;
        // The file may not grow, as on a disk that is full.
        const int pages = sql(library, "PRAGMA page_count").toInt();
        sql(library, QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
        const Library::Import full = library.importBytes(recording(50000), "big.dat");
        QCOMPARE(full.outcome, Library::Import::Outcome::Failed);
        QCOMPARE(full.error, "The library could not store big.dat: database or disk is full.");
        QCOMPARE(fileNames(*library.list()), QStringList{"grid-form.dat"});
        QCOMPARE(library.fileBytes(kept), bytesOf(testsupport::golden("grid-form.dat")));
        QCOMPARE(library.problems(), QStringList());
    }

    // Qt SQL's own words about a lost connection stay out of the terminal, where the
    // library's message already says what happened; a warning of a fault of ours stays.
    void qtConnectionWarningsAreDropped_data()
    {
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("shown");
        QTest::newRow("exec-closed") << "QSqlQuery::exec: database not open" << false;
        QTest::newRow("unknown-column") << "QSqlQuery::value: unknown field name 'wroker'" << true;
    }
    void qtConnectionWarningsAreDropped()
    {
        QFETCH(QString, warning);
        static QStringList passedOn;
        passedOn.clear();
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &m) { passedOn << m; });
        QtSqlWarnings::quieten();
        qWarning("%s", qPrintable(warning));
        qInstallMessageHandler(before);
        QTEST(passedOn == QStringList{warning}, "shown");
    }
};

DOSEMETER_TEST(TestLibrary)
#include "tst_Library.moc"
