#include "library/RecordCodec.h"

#include <QByteArrayView>
#include <QList>

namespace RecordCodec {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr char kTab = '\t';
constexpr char kFieldEnd = '\0'; // no file the readers take holds a NUL
constexpr quint8 kIncremented = 1;
// A control byte from 2 up: that many bytes less 2 are kept from the field above.
constexpr int kKeptBase = 2;
constexpr int kMaxKept = 255 - kKeptBase;
// A file with more columns than this is no record file: it is kept whole.
constexpr int kMaxColumns = 64;
// Past this level zlib takes several times as long on record columns for a few percent
// less: an import of a day's recording would lose its tenths of a second.
constexpr int kCompressionLevel = 5;
// What a stored file may expand to; anything larger is damage.
constexpr qsizetype kMaxFileBytes = qsizetype(1) << 30;

void appendNumber(QByteArray &out, quint64 value)
{
    while (value >= 0x80) {
        out += char(quint8(value) | 0x80);
        value >>= 7;
    }
    out += char(quint8(value));
}

std::optional<quint64> takeNumber(QByteArrayView bytes, qsizetype &pos)
{
    quint64 value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (pos >= bytes.size())
            return std::nullopt;
        const quint8 byte = quint8(bytes[pos++]);
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Puts the field's trailing number one up ("7" -> "8", "\"19" -> "\"20", "099" -> "100");
// false, leaving it as it was, when it does not end with a digit.
bool increment(QByteArray &field)
{
    qsizetype i = field.size() - 1;
    if (i < 0 || !isDigit(field[i]))
        return false;
    for (; i >= 0 && isDigit(field[i]); --i) {
        if (field[i] != '9') {
            ++field[i];
            return true;
        }
        field[i] = '0';
    }
    field.insert(i + 1, '1');
    return true;
}

// `field` is `above` with its trailing number one up; found without building that text, as
// it is asked for every field of a file.
bool isIncrement(QByteArrayView above, QByteArrayView field)
{
    qsizetype start = above.size();
    while (start > 0 && isDigit(above[start - 1]))
        --start;
    if (start == above.size())
        return false;
    qsizetype lastBelowNine = above.size() - 1;
    while (lastBelowNine >= start && above[lastBelowNine] == '9')
        --lastBelowNine;
    const bool grows = lastBelowNine < start; // all nines: "99" -> "100"
    if (field.size() != above.size() + (grows ? 1 : 0) || !field.startsWith(above.first(start)))
        return false;
    const qsizetype zerosFrom = grows ? start + 1 : lastBelowNine + 1;
    if (grows ? field[start] != '1'
              : field.sliced(start, lastBelowNine - start) !=
                        above.sliced(start, lastBelowNine - start) ||
                    field[lastBelowNine] != above[lastBelowNine] + 1)
        return false;
    for (qsizetype i = zerosFrom; i < field.size(); ++i) {
        if (field[i] != '0')
            return false;
    }
    return true;
}

qsizetype commonPrefix(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

std::optional<QByteArray> encodeColumns(const QByteArray &file)
{
    if (file.contains(kFieldEnd))
        return std::nullopt;
    QByteArray shape;
    QList<QByteArray> columns;
    QList<QByteArrayView> previous; // views into `file`, which outlives them
    quint64 lines = 0;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype end = [&] {
            const qsizetype at = file.indexOf(kLineEnd, pos);
            return at < 0 ? file.size() : at;
        }();
        const QByteArrayView line(file.constData() + pos, end - pos);
        quint64 fields = 0;
        qsizetype start = 0;
        for (;;) {
            qsizetype tab = line.indexOf(kTab, start);
            if (tab < 0)
                tab = line.size();
            const QByteArrayView field = line.sliced(start, tab - start);
            const int column = int(fields++);
            if (column >= kMaxColumns)
                return std::nullopt;
            if (column == columns.size()) {
                columns.append(QByteArray());
                columns.last().reserve(file.size() / 8);
                previous.append(QByteArrayView());
            }
            QByteArray &out = columns[column];
            QByteArrayView &above = previous[column];
            if (isIncrement(above, field)) {
                out += char(kIncremented);
            } else {
                const qsizetype kept = std::min<qsizetype>(commonPrefix(above, field), kMaxKept);
                out += char(kKeptBase + kept);
                out += field.sliced(kept);
                out += kFieldEnd;
            }
            above = field;
            if (tab >= line.size())
                break;
            start = tab + 1;
        }
        appendNumber(shape, fields);
        ++lines;
        if (end >= file.size())
            break;
        pos = end + kLineEnd.size();
    }
    QByteArray packed;
    packed.reserve(shape.size() + file.size() / 4);
    appendNumber(packed, lines);
    appendNumber(packed, quint64(columns.size()));
    appendNumber(packed, quint64(shape.size()));
    packed += shape;
    for (const QByteArray &column : std::as_const(columns)) {
        appendNumber(packed, quint64(column.size()));
        packed += column;
    }
    return packed;
}

std::optional<QByteArray> decodeColumns(const QByteArray &packed)
{
    qsizetype pos = 0;
    const std::optional<quint64> lines = takeNumber(packed, pos);
    const std::optional<quint64> columnCount = takeNumber(packed, pos);
    if (!lines || !columnCount || *columnCount > kMaxColumns)
        return std::nullopt;
    // Every stream lies inside the packed bytes.
    QList<QByteArrayView> streams;
    for (quint64 s = 0; s <= *columnCount; ++s) {
        const std::optional<quint64> size = takeNumber(packed, pos);
        if (!size || *size > quint64(packed.size() - pos))
            return std::nullopt;
        streams.append(QByteArrayView(packed.constData() + pos, qsizetype(*size)));
        pos += qsizetype(*size);
    }
    const QByteArrayView shape = streams.takeFirst();
    // A line takes at least one byte of the shape.
    if (*lines > quint64(shape.size()))
        return std::nullopt;
    QList<qsizetype> at(streams.size(), 0);
    QList<QByteArray> previous(streams.size());
    QByteArray file;
    qsizetype shapeAt = 0;
    for (quint64 line = 0; line < *lines; ++line) {
        if (line > 0)
            file += kLineEnd;
        const std::optional<quint64> fields = takeNumber(shape, shapeAt);
        if (!fields || *fields == 0 || *fields > quint64(streams.size()))
            return std::nullopt;
        for (int column = 0; column < int(*fields); ++column) {
            const QByteArrayView stream = streams.at(column);
            qsizetype &p = at[column];
            if (p >= stream.size())
                return std::nullopt;
            const quint8 control = quint8(stream[p++]);
            QByteArray &above = previous[column];
            if (control == kIncremented) {
                if (!increment(above))
                    return std::nullopt;
            } else if (control >= kKeptBase && control - kKeptBase <= above.size()) {
                const qsizetype end = stream.indexOf(kFieldEnd, p);
                if (end < 0)
                    return std::nullopt;
                above.truncate(control - kKeptBase);
                above += stream.sliced(p, end - p);
                p = end + 1;
            } else {
                return std::nullopt;
            }
            if (column > 0)
                file += kTab;
            file += above;
        }
        if (file.size() > kMaxFileBytes)
            return std::nullopt;
    }
    return file;
}

} // namespace

Encoded encode(const QByteArray &file)
{
    if (const std::optional<QByteArray> packed = encodeColumns(file)) {
        QByteArray stored = qCompress(*packed, kCompressionLevel);
        // Kept only when it reads back as the very file.
        if (decode(int(Method::Columns), stored) == file)
            return {Method::Columns, std::move(stored)};
    }
    return {Method::Compressed, qCompress(file, kCompressionLevel)};
}

std::optional<QByteArray> decode(int method, const QByteArray &stored)
{
    // qCompress writes the length first; a damaged length must not make us allocate it.
    if (stored.size() < 4)
        return std::nullopt;
    const quint32 length = (quint32(quint8(stored[0])) << 24) | (quint32(quint8(stored[1])) << 16) |
                           (quint32(quint8(stored[2])) << 8) | quint32(quint8(stored[3]));
    if (length > quint32(kMaxFileBytes))
        return std::nullopt;
    const QByteArray unpacked = qUncompress(stored);
    if (unpacked.size() != qsizetype(length))
        return std::nullopt;
    switch (Method(method)) {
    case Method::Compressed:
        return unpacked;
    case Method::Columns:
        return decodeColumns(unpacked);
    }
    return std::nullopt;
}

} // namespace RecordCodec
