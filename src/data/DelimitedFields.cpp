#include "data/DelimitedFields.h"

namespace {

constexpr char kQuote = '"';
constexpr char kDosEnd = 0x1A;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

DelimitedFields::DelimitedFields(QByteArrayView bytes, qsizetype maxFieldBytes, Options options)
    : p_(bytes.data()), n_(bytes.size()), maxFieldBytes_(maxFieldBytes), options_(options)
{
    if (n_ > 0 && p_[n_ - 1] == kDosEnd)
        --n_;
}

void DelimitedFields::skipLineEnd()
{
    if (p_[pos_] == '\r' && pos_ + 1 < n_ && p_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
}

bool DelimitedFields::next(Field &field)
{
    const bool skipTabs = options_.testFlag(SkipBlankTabs);
    const bool blankLineFields = options_.testFlag(BlankLineFields);
    while (pos_ < n_) {
        while (pos_ < n_ && (p_[pos_] == ' ' || (skipTabs && p_[pos_] == '\t')))
            ++pos_;
        if (!blankLineFields) {
            if (pos_ >= n_)
                return false;
            if (isLineEnd(p_[pos_])) {
                skipLineEnd();
                continue;
            }
        }
        field.begin = pos_;
        field.line = line_;
        field.unclosedQuote = false;
        // Each search ends at the field's own end, so a text is read in linear time
        // whatever its line ends.
        const QByteArrayView text(p_, n_);
        qsizetype start = pos_;
        qsizetype end;
        if (pos_ < n_ && p_[pos_] == kQuote) {
            start = pos_ + 1;
            end = findAny(text, start, kQuote, '\r', '\n');
            if (end < n_ && p_[end] == kQuote) {
                pos_ = findAny(text, end + 1, ',', '\r', '\n');
            } else {
                // No field of ours spans lines.
                pos_ = end;
                field.unclosedQuote = true;
            }
        } else {
            end = findAny(text, start, ',', '\r', '\n');
            pos_ = end;
        }
        if (end - start > maxFieldBytes_) {
            tooLongLine_ = field.line;
            pos_ = n_;
            return false;
        }
        field.text = QByteArrayView(p_ + start, end - start);
        if (pos_ < n_) {
            if (p_[pos_] == ',')
                ++pos_;
            else
                skipLineEnd();
        }
        return true;
    }
    return false;
}
