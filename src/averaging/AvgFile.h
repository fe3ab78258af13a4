#pragma once

// The ".avg" average file, 8-bit text (Latin-1), lines ended by CR LF:
//   11 quoted header lines "Label: value" (JOB, Name, ID, Start date, Start time,
//   Time Int., Criterion level, Exchange Rate, Run Time, SPL Max, 140 PEAK),
//   the plain line "************",
//   the quoted heading row "No.s<TAB>Date<TAB>Time<TAB>dBA<TAB>",
//   one quoted line per average record, each of its four cells followed by a TAB.
// The reader takes the file item by item (a quoted text, or an unquoted run up to a
// comma or the line end): items 1..11 are the header values by position, later items
// holding a ":" are records. It never trusts its input: whatever the bytes, it returns
// what it could read and says in `error` when that is not the whole file.

#include "data/PlotColumn.h"
#include "data/RecordTable.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

class AvgFile {
public:
    enum Field {
        Job,
        Name,
        Id,
        StartDate,
        StartTime,
        Interval,
        Criterion,
        Exchange,
        RunTime,
        SplMax,
        Peak
    };
    static constexpr int kFieldCount = 11;
    using Header = std::array<QString, kFieldCount>;

    // What Save writes.
    struct Document {
        Header header;
        RecordTable records; // No.s, Date, Time, dBA; columns beyond the fourth are not written
    };

    // What Open reads.
    struct Content {
        // Header values by Field; nullopt where the file leaves the field as it was (an
        // item that ends with its first colon, or a file that ends before the item).
        std::array<std::optional<QString>, kFieldCount> header;
        RecordTable records;
        // False when nothing could be read (missing, binary, too large or empty file):
        // the window is then left as it was.
        bool read = false;
        // Empty when the file was read whole; otherwise what went wrong, for the user.
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    static constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
    static constexpr qsizetype kMaxItemBytes = 64 * 1024;

    // The header lines' labels, by Field.
    static const std::array<QString, kFieldCount> &labels();
    // The separator line between the header and the grid.
    static inline const QByteArray kSeparator = QByteArrayLiteral("************");

    // A header text as the file can hold it: double quotes and line ends removed (a quote
    // would end the item early and shift every later header value when read back).
    static QString cleanText(const QString &text);

    static QByteArray bytes(const Document &document);
    // Writes through a temporary file that replaces `path` only when complete. Empty on
    // success, else the reason.
    static QString save(const QString &path, const Document &document);

    // The error names the file by its name without folder.
    static Content read(const QString &path);
    static Content parse(const QByteArray &bytes, const QString &name = QString());

    // The chart of opened records: X 1..records, Y 68..140 dB, the dBA values.
    static PlotColumn chart(const RecordTable &records);
};
