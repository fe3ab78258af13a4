#include "config/SetupChoice.h"

#include <QRegularExpression>

bool SetupChoice::validCriterion(int db)
{
    return db == 80 || db == 84 || db == 85 || db == 90;
}

bool SetupChoice::validExchangeRate(int db)
{
    return db >= 3 && db <= 6;
}

bool SetupChoice::validThreshold(int db)
{
    return db >= kThresholdLowDb && db <= kThresholdHighDb;
}

std::optional<int> SetupChoice::number(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d{1,9})\\s*$"));
    const QRegularExpressionMatch match = digits.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<QDateTime> SetupChoice::clockFrom(int year, int month, int day, int hour, int minute)
{
    if (year < kFirstYear || year > kLastYear)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

std::optional<QDateTime> SetupChoice::parseClock(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{4})-(\\d{2})-(\\d{2})[ T](\\d{2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return clockFrom(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     m.captured(4).toInt(), m.captured(5).toInt());
}
