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

private:
    qsizetype lineEndFrom(qsizetype from);
    qsizetype find(qsizetype from, qsizetype limit, char c) const;
    void skipLineEnd();

    const char *p_;
    qsizetype n_;
    qsizetype maxFieldBytes_;
    Options options_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int tooLongLine_ = 0;
    // The first LF at or after the last look, n_ when there is none: kept so that a file
    // without LFs (lone CR line ends) is not searched to its end for every field.
    qsizetype nextLf_ = -1;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DelimitedFields::Options)
