#pragma once

// The level of one or more record lists over clock time, as the shift report draws it:
// the records' levels against their time stamps, with the action values 80, 85 and 87 dB
// as lines, excluded spans shaded and labelled with their reasons, and overloads marked
// along the top. A day of one-second records is more than a page has columns, so the
// level is drawn as one minimum-to-maximum line per device pixel column: the drawing
// looks as every record drawn would, at a size that does not grow with the records.

#include "data/RecordTable.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

class TimeHistory {
public:
    // Adds the records of a list with their levels (NaN: no level), as the assessment
    // reads them; records without a readable time stamp are left out.
    void addList(const RecordTable &table, const std::vector<double> &levels);
    // Records first..last (from 1) of the list added as `list` (from 0) were excluded.
    void addExcluded(int list, int first, int last, const QString &reason);

    bool isEmpty() const { return stamps_.empty(); }
    // The first and last time stamps, in tenths of a second from Julian day 0.
    qint64 firstTenths() const { return first_; }
    qint64 lastTenths() const { return last_; }

    // The lowest and highest level of the records falling into each of `count` equal
    // columns between the first and the last time stamp; a column without a record has
    // min above max.
    struct Column {
        float min = 1e9f;
        float max = -1e9f;
        bool empty() const { return min > max; }
    };
    std::vector<Column> columns(int count) const;

    // The ticks of the time axis: a round step of clock time (1 minute to a day) that
    // gives at most `most` ticks between the first and the last stamp.
    static qint64 tickStepTenths(qint64 spanTenths, int most);

    // Draws into `area` on a device of `unitsPerMm`.
    void draw(QPainter &painter, const QRectF &area, double unitsPerMm) const;

private:
    struct Excluded {
        qint64 fromTenths;
        qint64 toTenths;
        QString reason;
    };
    std::vector<qint64> stamps_;
    std::vector<float> levels_;
    std::vector<qint64> overloads_;
    QList<std::vector<qint64>> listStamps_; // every record's stamp, per list
    QList<Excluded> excluded_;
    qint64 first_ = 0;
    qint64 last_ = 0;
};
