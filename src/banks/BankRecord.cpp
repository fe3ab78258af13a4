#include "banks/BankRecord.h"

#include "link/Decoders.h"
#include "link/Twa.h"

#include <QLocale>

#include <cmath>

namespace BankRecord {

namespace {

const QString kSpace = QStringLiteral(" ");

quint8 byteAt(const QByteArray &record, int n)
{
    return quint8(record.at(n - 1));
}

QString pair(const QString &first, QChar separator, const QString &second)
{
    return kSpace + first + separator + second;
}

// The number as a signed text: a space for the sign of a value that is not negative,
// then the shortest decimal form, with no zero before the point.
QString signedNumberText(double value)
{
    QString digits = QString::number(std::abs(value), 'f', QLocale::FloatingPointShortest);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    return (value < 0 ? QStringLiteral("-") : kSpace) + digits;
}

} // namespace

bool used(const QByteArray &record)
{
    return record.size() == kLength && (quint8(record.at(kConfiguration)) & kUsedBit);
}

QString twoDecimalDigits(quint8 byte)
{
    return QString(QLatin1Char('0') + QString::number(byte)).right(2);
}

std::optional<double> dosePercent(const QByteArray &record)
{
    if (record.size() != kLength)
        return std::nullopt;
    const int raw = byteAt(record, 10) * 256 + byteAt(record, 11);
    const int code = byteAt(record, 12);
    if (code != 1 && code != 10 && code != 100)
        return std::nullopt;
    return double(raw) / code;
}

QString doseText(const QByteArray &record)
{
    const std::optional<double> dose = dosePercent(record);
    if (!dose)
        return kUnknownDose;
    if (byteAt(record, 12) == 1)
        return kSpace + QString::number(int(*dose));
    return kSpace + signedNumberText(*dose);
}

Texts failedTexts()
{
    Texts t;
    t[0] = kReadFailed;
    return t;
}

Texts stateTexts(const QString &word)
{
    Texts t;
    t[0] = word;
    return t;
}

Texts texts(const QByteArray &record)
{
    if (record.size() != kLength)
        return failedTexts();
    Texts t;
    if (!used(record)) {
        t[0] = kUnused;
        return t;
    }
    const quint8 configuration = byteAt(record, 1);
    const StatusFields settings = decodeStatusByte(configuration);
    const auto yesNo = [](bool flag) {
        return flag ? QStringLiteral(" Yes") : QStringLiteral(" No");
    };
    const bool exceeded = configuration & kExceedBit;

    t[0] = kUsed;
    t[1] = kSpace + QString::number(settings.CriterionLevel) + QStringLiteral("dB");
    t[2] = kSpace + QString::number(byteAt(record, 20)) + QStringLiteral("dB");
    t[3] = kSpace + QString::number(settings.ExchangeRate) + QStringLiteral("dB");
    t[4] = kSpace + settings.TimeWeightingText;
    t[5] = yesNo(settings.StatusFlag5);
    t[6] = yesNo(settings.StatusFlag6);
    t[7] = pair(hex2(byteAt(record, 2)), QLatin1Char('-'), hex2(byteAt(record, 3)));
    t[8] = pair(hex2(byteAt(record, 4)), QLatin1Char(':'), hex2(byteAt(record, 5)));
    t[9] = pair(hex2(byteAt(record, 6)), QLatin1Char(':'), hex2(byteAt(record, 7)));
    t[10] = pair(twoDecimalDigits(byteAt(record, 8)), QLatin1Char(':'),
                 twoDecimalDigits(byteAt(record, 9)));
    t[11] = doseText(record);
    // No TWA for a dose of 0 or an unknown one.
    if (const std::optional<double> dose = dosePercent(record); dose && *dose > 0.0) {
        if (const std::optional<int> twa =
                Twa::tenthsDb(*dose, settings.CriterionLevel, settings.ExchangeRate))
            t[12] = Twa::text(*twa);
    }
    if (exceeded && byteAt(record, 16) != 0xFF)
        t[13] = pair(twoDecimalDigits(byteAt(record, 16)), QLatin1Char(':'),
                     twoDecimalDigits(byteAt(record, 17)));
    if (exceeded)
        t[14] = pair(twoDecimalDigits(byteAt(record, 18)), QLatin1Char(':'),
                     twoDecimalDigits(byteAt(record, 19)));
    return t;
}

} // namespace BankRecord
