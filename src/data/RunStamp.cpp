#include "data/RunStamp.h"

#include "link/Decoders.h"

#include <algorithm>

namespace {

// A field's leading number, held within what its characters can mean, so that a text
// like "20E9" (a damaged BCD year read as hexadecimal digits) cannot overflow.
int fieldValue(const QString &text, int from, int length, int high)
{
    return leadingInt(text.mid(from, length), 0, high);
}

} // namespace

RunStamp RunStamp::fromTexts(const QString &date, const QString &time)
{
    RunStamp s;
    s.year = fieldValue(date, 0, 4, 9999);
    s.month = fieldValue(date, 5, 2, 99);
    s.day = fieldValue(date, 8, 2, 99);
    s.hour = fieldValue(time, 0, 2, 99);
    s.minute = fieldValue(time, 3, 2, 99);
    s.tenths = fieldValue(time, 6, 2, 99) * 10;
    return s;
}

bool RunStamp::isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int RunStamp::daysInMonth(int year, int month)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

void RunStamp::advance(qint64 tenthsOfSecond)
{
    qint64 t = tenths + std::max<qint64>(0, tenthsOfSecond);
    qint64 m = minute + t / 600;
    tenths = int(t % 600);
    qint64 h = hour + m / 60;
    minute = int(m % 60);
    qint64 d = day + h / 24;
    hour = int(h % 24);
    // A day beyond the month's length carries into the next month, December into the
    // next year. Every pass takes at least 28 days off, so this ends.
    while (d > daysInMonth(year, month)) {
        d -= daysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    day = int(d);
}

QString RunStamp::dateText() const
{
    return QStringLiteral("%1/%2/%3")
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

QString RunStamp::timeText() const
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(tenths / 10, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}
