#pragma once

// One measurement of the library: what the file it came from holds, found again by person,
// place, job, instrument and date. The file itself is kept apart and given back byte for
// byte (Library::exportFile).

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct Measurement {
    enum class Kind {
        Run,       // a logger run from a download
        Recording, // a recording of the live level
        List,      // the record list's rows, saved
        Banks,     // the five dose event banks
        Average,   // an averaging run
    };
    // "run", "recording", "list", "banks", "average": the command line's and the
    // database's name of a kind.
    static QString kindName(Kind kind);
    static std::optional<Kind> kindFromName(const QString &name);
    static QList<Kind> kinds();

    qint64 id = 0;
    Kind kind = Kind::Recording;
    // "YYYY-MM-DD hh:mm:ss"; empty when the file does not say.
    QString start;
    QString end;
    QString meter; // the meter's ID code where known
    // The meter's settings where the file (or the program that stored it) knows them.
    std::optional<int> criterionDb;
    std::optional<int> exchangeRateDb;
    std::optional<int> thresholdDb;
    QString response; // "Fast", "Slow" or empty
    int records = 0;  // records; for banks the banks in use
    std::optional<int> laeqTenths;
    QString worker;
    QString site;
    QString job;
    QString notes; // the file's note lines, one per line
    QString fileName;
    QString contentHash; // SHA-256 of the file, in hex
    qint64 fileBytes = 0;
    QString storedAt; // "YYYY-MM-DD hh:mm:ss", local time

    // "85.3"; empty without a LAeq.
    QString laeqText() const;
    // Seconds from start to end; nullopt when either is not known, and for banks.
    std::optional<qint64> durationSeconds() const;
    // "hh:mm:ss" (hours beyond 99 as they come); empty when not known.
    QString durationText() const;
};

// A stretch of a measurement left out of its exposure assessment: records first..last of
// the file (counted from 1), and why.
struct MeasurementSpan {
    qint64 id = 0;
    qint64 measurementId = 0;
    int firstRecord = 0;
    int lastRecord = 0;
    QString reason;
};

// What the library lists: texts are found anywhere in their field, ignoring case and accents
// ("angela" finds "Ângela S."); the dates take in whole days of the start.
struct LibraryFilter {
    QString worker;
    QString site;
    QString job;
    std::optional<Measurement::Kind> kind;
    QDate from;
    QDate to;

    // Whether worker, site and job hold their texts. Compared in the program rather than in
    // SQL, so that both engines find the same: SQLite's lower() lowers ASCII only, and
    // PostgreSQL's keeps accents.
    bool matchesTexts(const Measurement &measurement) const;
    // The text as the search compares it: accents dropped (decomposed, marks removed),
    // then case-folded.
    static QString folded(const QString &text);
};
