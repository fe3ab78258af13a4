#include "averaging/IntervalPrompt.h"

#include "link/Decoders.h"

#include <cmath>

namespace IntervalPrompt {

namespace {

// The field's number cut to its last two decimal digits; nullopt for a number that no
// clock field can hold (negative or fractional), which the prompt refuses.
std::optional<int> lastTwoDigits(const QString &field)
{
    const double value = leadingNumber(field);
    if (!std::isfinite(value) || value < 0.0 || value != std::floor(value))
        return std::nullopt;
    return int(std::fmod(value, 100.0));
}

QString twoDigitText(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<Interval> parse(const QString &reply)
{
    // Positions as the prompt has always counted them: 1-based, p2 = p1 when there is
    // only one colon, so "05:30" has no minutes and 30 seconds.
    const int p1 = int(reply.indexOf(QLatin1Char(':'))) + 1;
    if (p1 == 0)
        return std::nullopt;
    const int next = int(reply.indexOf(QLatin1Char(':'), p1));
    const int p2 = next < 0 ? p1 : next + 1;
    std::optional<int> hours = lastTwoDigits(reply.left(p1 - 1));
    std::optional<int> minutes = lastTwoDigits(reply.mid(p1, p2 - p1));
    std::optional<int> seconds = lastTwoDigits(reply.mid(p2, 2));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    const int h = *hours % 24;
    const int m = *minutes % 60;
    const int s = *seconds % 60;
    return Interval{twoDigitText(h) + QLatin1Char(':') + twoDigitText(m) + QLatin1Char(':') +
                        twoDigitText(s),
                    h * 3600 + m * 60 + s};
}

} // namespace IntervalPrompt
