#include "main/LiveDisplay.h"

namespace {

// Digits without leading zeros, as a number reads ("08" -> "8", "00" -> "0").
QString withoutLeadingZeros(const QString &digits)
{
    return QString::number(digits.toLongLong());
}

bool allDecimal(const std::array<QString, 4> &digits)
{
    for (const QString &d : digits)
        if (d.size() != 1 || !d.at(0).isDigit())
            return false;
    return true;
}

} // namespace

QString displayValueText(const DisplayFields &f)
{
    const auto &d = f.DisplayDigit;
    // Under range and overload show as the meter shows them, whatever the point flags
    // say; read as numbers they would become "0.-" or "0. " and hide the overload.
    if (!allDecimal(d))
        return f.LevelText;
    const QString a = withoutLeadingZeros(d[0] + d[1]);
    const QString right = d[2] + d[3];
    if (f.FieldMode) {
        if (f.ColonOn)
            return a + QLatin1Char(':') + right;
        if (f.DashOn)
            return a + QLatin1Char('-') + right;
        return a + QLatin1Char(' ') + right;
    }
    if (f.ColonOn)
        return a + QLatin1Char(':') + right;
    if (f.Point1On)
        return withoutLeadingZeros(d[0] + d[1] + d[2]) + QLatin1Char('.') + d[3];
    if (f.Point2On)
        return a + QLatin1Char('.') + right;
    return f.LevelText;
}

QString displayUnitText(const DisplayFields &f)
{
    if (f.DbaMode)
        return QStringLiteral("dBA");
    if (f.DoseMode)
        return QStringLiteral("%DOSE");
    return QString();
}

namespace {
const QString overload = QStringLiteral("OL");
const QString underRange = QStringLiteral("----");

// The display shows " OL "; the comparisons below look for "OL". A first value (or a
// reset) during overload or under range must stick like any later one.
QString sticking(const QString &value)
{
    if (value.contains(QLatin1Char('L')))
        return overload;
    if (value.contains(QLatin1Char('-')))
        return underRange;
    return value;
}
} // namespace

void MaxMin::reset(const QString &value)
{
    max = min = sticking(value);
}

void MaxMin::update(const QString &value)
{
    if (max.isEmpty()) {
        reset(value);
        return;
    }
    if (value.contains(QLatin1Char('L'))) {
        max = overload;
        return;
    }
    if (value.contains(QLatin1Char('-'))) {
        min = underRange;
        return;
    }
    const double v = leadingNumber(value);
    if (max != overload && (max == underRange || leadingNumber(max) < v))
        max = value;
    if (min != underRange && (min == overload || leadingNumber(min) > v))
        min = value;
}
