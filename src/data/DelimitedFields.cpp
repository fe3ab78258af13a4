#include "data/DelimitedFields.h"

#include <cstring>

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

// The first CR or LF at or after `from`, or n_. Searched with memchr, many times faster
// than a loop over the characters.
qsizetype DelimitedFields::lineEndFrom(qsizetype from)
{
    if (nextLf_ < from) {
        const auto *lf = static_cast<const char *>(std::memchr(p_ + from, '\n', size_t(n_ - from)));
        nextLf_ = lf ? lf - p_ : n_;
    }
    return find(from, nextLf_, '\r');
}

// The first `c` in [from, limit), or limit.
qsizetype DelimitedFields::find(qsizetype from, qsizetype limit, char c) const
{
    if (from >= limit)
        return limit;
    const auto *at = static_cast<const char *>(std::memchr(p_ + from, c, size_t(limit - from)));
    return at ? at - p_ : limit;
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
        const qsizetype lineEnd = lineEndFrom(pos_);
        qsizetype start = pos_;
        qsizetype end;
        if (pos_ < lineEnd && p_[pos_] == kQuote) {
            start = pos_ + 1;
            end = find(start, lineEnd, kQuote);
            if (end < lineEnd) {
                pos_ = find(end + 1, lineEnd, ',');
            } else {
                // No field of ours spans lines.
                pos_ = end;
                field.unclosedQuote = true;
            }
        } else {
            end = find(start, lineEnd, ',');
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
