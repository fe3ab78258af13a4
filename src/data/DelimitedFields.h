#pragma once

// The fields of a delimited 8-bit text file (the data, average and bank files), one at a
// time, as views into the bytes: nothing is copied or allocated per field. The rule:
//   - spaces before a field are skipped (TABs too with SkipBlankTabs);
//   - a field that begins with a double quote runs to the next quote, TABs and commas
//     inside it stay; whatever stands between that quote and the next comma or line end
//     is dropped. A quote left unclosed ends with its line (the field says so);
//   - any other field runs to the next comma or to the end of its line;
//   - a line end is CR LF, a lone CR or a lone LF;
//   - a line end where a field would begin (a blank line, a comma at the end of a line)
//     is passed over, or gives an empty field with BlankLineFields;
//   - a field longer than the limit ends the reading: next() returns false and
//     tooLongLine() names its line;
//   - an end-of-file mark (0x1A) that some editors leave as the last byte is no part of
//     the text.

#include <QByteArrayView>
#include <QFlags>
#include <QtEndian>
#include <QtGlobal>

class DelimitedFields {
public:
    enum Option {
        NoOptions = 0x0,
        // TABs before a field are skipped as spaces are (the bank files' rows begin with one).
        SkipBlankTabs = 0x1,
        // A line end where a field would begin gives an empty field, so that a blank line
        // keeps its place among the lines (the bank files count their lines).
        BlankLineFields = 0x2,
    };
    Q_DECLARE_FLAGS(Options, Option)

    struct Field {
        QByteArrayView text; // without its quotes
        qsizetype begin = 0; // where it begins in bytes(): its opening quote or first byte
        int line = 0;        // 1 for the first line
        bool unclosedQuote = false;
    };

    // `bytes` must outlive the reader and every field it gives.
    DelimitedFields(QByteArrayView bytes, qsizetype maxFieldBytes, Options options = NoOptions);

    // The next field into `field`; false at the end of the text, or at a field longer than
    // maxFieldBytes (then tooLongLine() is set and no field follows).
    bool next(Field &field);

    // The line of the field that was longer than maxFieldBytes; 0 while there was none.
    int tooLongLine() const { return tooLongLine_; }

    // The text the fields are read from: the bytes without their end-of-file mark.
    QByteArrayView bytes() const { return QByteArrayView(p_, n_); }

    // Where the first of the bytes a, b and c stands in `text` at or after `from`, or
    // text.size() when none does. Inline, so that a search for one byte (a, b and c alike)
    // compiles to a test of one.
    static qsizetype findAny(QByteArrayView text, qsizetype from, char a, char b, char c);

private:
    void skipLineEnd();

    const char *p_;
    qsizetype n_;
    qsizetype maxFieldBytes_;
    Options options_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int tooLongLine_ = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DelimitedFields::Options)

inline qsizetype DelimitedFields::findAny(QByteArrayView text, qsizetype from, char a, char b,
                                          char c)
{
    // Eight bytes at a time: fields are a few bytes long, and a call of memchr for each of
    // the three bytes costs more than the scan itself. In x = word ^ (a in every byte) the
    // bytes that are a are 0; (x - ones) & ~x & highs then sets the high bit of each 0 byte,
    // and its lowest set bit is exact (a borrow runs only upwards from a 0 byte), which is
    // all the search needs.
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    const quint64 ma = ones * quint8(a);
    const quint64 mb = ones * quint8(b);
    const quint64 mc = ones * quint8(c);
    const char *p = text.data();
    const qsizetype limit = text.size();
    qsizetype i = from;
    for (; i + 8 <= limit; i += 8) {
        const quint64 word = qFromLittleEndian<quint64>(p + i);
        const quint64 xa = word ^ ma;
        const quint64 xb = word ^ mb;
        const quint64 xc = word ^ mc;
        const quint64 found =
            (((xa - ones) & ~xa) | ((xb - ones) & ~xb) | ((xc - ones) & ~xc)) & highs;
        if (found != 0)
            return i + qCountTrailingZeroBits(found) / 8;
    }
    for (; i < limit; ++i) {
        if (p[i] == a || p[i] == b || p[i] == c)
            return i;
    }
    return limit;
}
