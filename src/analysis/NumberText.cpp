#include "analysis/NumberText.h"

#include <cmath>

QString tenthsText(qint64 tenths)
{
    const qint64 magnitude = tenths < 0 ? -tenths : tenths;
    QString text =
        QString::number(magnitude / 10) + QLatin1Char('.') + QString::number(magnitude % 10);
    return tenths < 0 ? QLatin1Char('-') + text : text;
}

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString oneDecimalText(double value)
{
    return tenthsText(std::llround(value * 10.0));
}

QString trimmedNumberText(double value, int maxDecimals)
{
    QString text = QString::number(value, 'f', maxDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString plainNumberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}
