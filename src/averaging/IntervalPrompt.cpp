#include "averaging/IntervalPrompt.h"

#include "link/Decoders.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <utility>

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

std::optional<Interval> parseExact(const QString &text, QString &problem)
{
    const QStringList fields = text.split(QLatin1Char(':'));
    if (fields.size() < 2) {
        problem = QStringLiteral("it has no colon");
        return std::nullopt;
    }
    if (fields.size() > 3) {
        problem = QStringLiteral("it has %1 fields, at most three are taken").arg(fields.size());
        return std::nullopt;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    // One colon: hours and seconds, as the prompt reads it.
    const QList<std::pair<QString, int>> names =
        fields.size() == 3 ? QList<std::pair<QString, int>>{{QStringLiteral("hours"), 23},
                                                            {QStringLiteral("minutes"), 59},
                                                            {QStringLiteral("seconds"), 59}}
                           : QList<std::pair<QString, int>>{{QStringLiteral("hours"), 23},
                                                            {QStringLiteral("seconds"), 59}};
    QList<int> values;
    for (int i = 0; i < fields.size(); ++i) {
        if (!digits.match(fields.at(i)).hasMatch()) {
            problem = QStringLiteral("the %1 '%2' are not a whole number of one or two digits")
                          .arg(names.at(i).first, fields.at(i));
            return std::nullopt;
        }
        const int value = fields.at(i).toInt();
        if (value > names.at(i).second) {
            problem = QStringLiteral("the %1 are %2, above %3")
                          .arg(names.at(i).first)
                          .arg(value)
                          .arg(names.at(i).second);
            return std::nullopt;
        }
        values << value;
    }
    const int h = values.at(0);
    const int m = fields.size() == 3 ? values.at(1) : 0;
    const int s = values.last();
    if (h == 0 && m == 0 && s == 0) {
        problem = QStringLiteral("a run time of 00:00:00 measures nothing");
        return std::nullopt;
    }
    return Interval{twoDigitText(h) + QLatin1Char(':') + twoDigitText(m) + QLatin1Char(':') +
                        twoDigitText(s),
                    h * 3600 + m * 60 + s};
}

} // namespace IntervalPrompt
