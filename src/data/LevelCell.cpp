#include "data/LevelCell.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxExactDigits = 18;

constexpr qint64 kPowersOfTen[] = {1LL,
                                   10LL,
                                   100LL,
                                   1000LL,
                                   10000LL,
                                   100000LL,
                                   1000000LL,
                                   10000000LL,
                                   100000000LL,
                                   1000000000LL,
                                   10000000000LL,
                                   100000000000LL,
                                   1000000000000LL,
                                   10000000000000LL,
                                   100000000000000LL,
                                   1000000000000000LL,
                                   10000000000000000LL,
                                   100000000000000000LL,
                                   1000000000000000000LL};

// Doubles hold every whole number up to 2^53 exactly, and 10^22 is the largest exact
// power of ten, so digits / 10^scale is then the correctly rounded value.
constexpr qint64 kMaxExactDouble = 1LL << 53;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

LevelCell::Number LevelCell::leadingNumber(QByteArrayView text)
{
    Number n;
    const char *p = text.data();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && isBlank(p[i]))
        ++i;
    const qsizetype start = i;
    if (i < size && (p[i] == '+' || p[i] == '-')) {
        n.negative = p[i] == '-';
        ++i;
    }
    int significant = 0;
    int decimals = 0;
    int mantissaDigits = 0;
    bool overflow = false;
    const auto takeDigit = [&](char c, bool afterPoint) {
        ++mantissaDigits;
        if (afterPoint)
            ++decimals;
        if (significant == 0 && c == '0')
            return; // a leading zero adds nothing
        if (++significant > kMaxExactDigits) {
            overflow = true;
            return;
        }
        n.digits = n.digits * 10 + (c - '0');
    };
    while (i < size && isDigit(p[i]))
        takeDigit(p[i++], false);
    if (i < size && p[i] == '.') {
        // "85." is a number, "." alone is not.
        if (mantissaDigits > 0 || (i + 1 < size && isDigit(p[i + 1]))) {
            ++i;
            while (i < size && isDigit(p[i]))
                takeDigit(p[i++], true);
        }
    }
    if (mantissaDigits == 0) {
        n = Number();
        return n;
    }
    bool exponent = false;
    if (i < size && (p[i] == 'e' || p[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < size && (p[j] == '+' || p[j] == '-'))
            ++j;
        if (j < size && isDigit(p[j])) {
            exponent = true;
            while (j < size && isDigit(p[j]))
                ++j;
            i = j;
        }
    }
    n.found = true;
    n.exact = !exponent && !overflow && decimals <= kMaxExactDigits;
    n.scale = n.exact ? decimals : 0;
    if (n.exact && n.digits <= kMaxExactDouble) {
        n.value = double(n.digits) / double(kPowersOfTen[n.scale]);
        if (n.negative)
            n.value = -n.value;
    } else {
        n.value = text.sliced(start, i - start).toDouble();
    }
    if (!n.exact)
        n.digits = 0;
    return n;
}

namespace {

// isUnreadableLevel() but for its two exceptions, the overload and under-range texts, which
// it tests only in the cells this finds unreadable: reading a file asks for every record,
// and searching a cell for "OL" costs more than this whole test.
bool isUnreadableNumber(QByteArrayView text)
{
    const char *p = text.data();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && isBlank(p[i]))
        ++i;
    qsizetype end = size;
    while (end > i && isBlank(p[end - 1]))
        --end;
    // Whole dB and the tenths digit, as the display shows them; beyond 999 it is no level.
    int whole = 0;
    int wholeDigits = 0;
    for (; i < end && isDigit(p[i]); ++i, ++wholeDigits) {
        if (whole < 1000)
            whole = whole * 10 + (p[i] - '0');
    }
    int tenths = 0;
    bool finerDigits = false; // a digit beyond the tenths that is not 0
    int decimals = 0;
    if (i < end && p[i] == '.') {
        for (++i; i < end && isDigit(p[i]); ++i, ++decimals) {
            if (decimals == 0)
                tenths = p[i] - '0';
            else if (p[i] != '0')
                finerDigits = true;
        }
    }
    if (wholeDigits + decimals == 0) {
        // No digit here; a digit anywhere else makes it a number of another shape.
        for (qsizetype j = 0; j < size; ++j) {
            if (isDigit(p[j]))
                return true;
        }
        return false;
    }
    if (i != end)
        return true;
    // Compared in tenths, the finer digits deciding only at the top of the range.
    const int level = std::min(whole, 1000) * 10 + tenths;
    return level < LevelCell::kLowestTenths || level > LevelCell::kHighestTenths ||
           (level == LevelCell::kHighestTenths && finerDigits);
}

} // namespace

bool LevelCell::isUnreadableLevel(QByteArrayView text)
{
    return isUnreadableNumber(text) && !isOverload(text) && text.indexOf('-') < 0;
}

qint64 LevelCell::Number::nearestTenths(bool tiesToEven) const
{
    if (!exact) {
        const double tenths = value * 10.0;
        return qint64(tiesToEven ? std::nearbyint(tenths) : std::round(tenths));
    }
    qint64 magnitude;
    if (scale <= 1) {
        magnitude = digits * kPowersOfTen[1 - scale];
    } else {
        const qint64 divisor = kPowersOfTen[scale - 1];
        magnitude = digits / divisor;
        const qint64 twiceRest = (digits % divisor) * 2;
        if (twiceRest > divisor || (twiceRest == divisor && (!tiesToEven || magnitude % 2 != 0)))
            ++magnitude;
    }
    return negative ? -magnitude : magnitude;
}

qint64 LevelCell::Number::floorWhole() const
{
    if (!exact)
        return qint64(std::floor(value));
    const qint64 divisor = kPowersOfTen[scale];
    const qint64 whole = digits / divisor;
    if (!negative)
        return whole;
    return digits % divisor == 0 ? -whole : -whole - 1;
}
