#pragma once

// A measurement's fields from its file, read with the program's own readers of .dat, .bnk
// and .avg files. A file that is not wholly readable as its format gives an error and no
// measurement: the library keeps whole files only.
//
// What each format tells:
//   .dat   records with date and time (start, end, LAeq) and three note lines. The
//          recording form is a recording; the grid form a logger run or a saved list,
//          told apart by the level column: the list keeps the levels as the main window
//          shows them ("094.5", "----", " OL "), a run as the logger holds them
//          ("94.5", "OL").
//   .bnk   the five banks: start, stop and settings of each bank in use (a bank keeps no
//          year: it is taken as the latest one that does not put the start after the
//          reference date), Name, Address and Company as worker, site and a note.
//   .avg   the run's start, its intervals (LAeq), criterion level and exchange rate, JOB
//          and Name as job and worker, ID as a note.

#include "library/Measurement.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

class MeasurementReader {
public:
    // What the program storing a file knows beyond it; fields the file holds win.
    struct Known {
        std::optional<Measurement::Kind> kind; // e.g. a list saved by the List window
        QString meter;
        std::optional<int> criterionDb;
        std::optional<int> exchangeRateDb;
        std::optional<int> thresholdDb;
        QString response;
        // The date the banks' start dates are read against (their year is not in the
        // file); the file's modification time when imported, else now.
        QDateTime reference;
    };

    enum class Format { Data, Banks, Average };
    // By the name's extension; a name without one of ours by the first bytes.
    static Format formatOf(const QString &fileName, const QByteArray &bytes);

    struct Reading {
        Measurement measurement; // contentHash and fileBytes filled in
        QString error;           // empty when the file was read whole
        bool ok() const { return error.isEmpty(); }
    };
    // `fileName` is kept as the measurement's file name and named in messages.
    // A data file cut inside its last record is read as its whole records before it, or, with
    // `keepIncomplete` false, refused (as the command line's import does unless told).
    static Reading read(const QByteArray &bytes, const QString &fileName, const Known &known = {},
                        bool keepIncomplete = true);

    // "2009-11-30 10:07:02" from a file's "2009/11/30" and "10:07:02.0"; empty when they
    // are no date and time.
    static QString stamp(const QString &date, const QString &time);
    // A file's text with TABs and line ends made spaces: worker, site and job are one line.
    static QString oneLine(const QString &text);
};
