#include "link/Decoders.h"

#include <QRegularExpression>

namespace {

bool hasNibble(quint8 byte, int nibble)
{
    return (byte >> 4) == nibble || (byte & 0x0F) == nibble;
}

} // namespace

QString hex2(quint8 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

double leadingNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

StatusFields decodeStatusByte(quint8 status)
{
    static constexpr int criterion[] = {80, 84, 85, 90};
    static constexpr int exchange[] = {3, 4, 5, 6};
    StatusFields fields;
    fields.CriterionLevel = criterion[status & 0x03];
    fields.ExchangeRate = exchange[(status >> 2) & 0x03];
    fields.FastResponse = (status & 0x10) != 0;
    fields.TimeWeightingText =
        fields.FastResponse ? QStringLiteral("Fast") : QStringLiteral("Slow");
    fields.StatusFlag5 = (status & 0x20) != 0;
    fields.StatusFlag6 = (status & 0x40) != 0;
    fields.StatusFlag7 = (status & 0x80) != 0;
    return fields;
}

void decodeDisplayFlags(quint8 byte2, DisplayFields &fields)
{
    fields.ColonOn = byte2 & 0x01;
    fields.DashOn = byte2 & 0x02;
    fields.Paused = byte2 & 0x04;
    fields.Running = byte2 & 0x08;
    fields.DoseMode = byte2 & 0x20;
    fields.DbaMode = byte2 & 0x40;
    fields.FieldMode = byte2 & 0x80;
}

void decodeAnnunciators(quint8 byte3, DisplayFields &fields)
{
    fields.MemOn = byte3 & 0x02;
    fields.LoudOn = byte3 & 0x04;
    fields.PeakOn = byte3 & 0x08;
    fields.Point1On = byte3 & 0x10;
    fields.Point2On = byte3 & 0x20;
    fields.KeysLocked = byte3 & 0x80;
}

void decodeLevel(quint8 byte4, quint8 byte5, DisplayFields &fields)
{
    if (hasNibble(byte4, 0xB) || hasNibble(byte5, 0xB)) {
        fields.DisplayDigit.fill(QStringLiteral("-"));
        fields.LevelText = QStringLiteral("----");
        fields.LevelValue = kUnderRangeValue;
        return;
    }
    if (hasNibble(byte4, 0xA) || hasNibble(byte5, 0xA)) {
        fields.DisplayDigit = {QStringLiteral(" "), QStringLiteral("O"), QStringLiteral("L"),
                               QStringLiteral(" ")};
        fields.LevelText = QStringLiteral(" OL ");
        fields.LevelValue = kOverloadValue;
        return;
    }
    const QString high = hex2(byte4);
    const QString low = hex2(byte5);
    fields.DisplayDigit = {high.mid(0, 1), high.mid(1, 1), low.mid(0, 1), low.mid(1, 1)};
    fields.LevelText = high + low.left(1) + QLatin1Char('.') + low.right(1);
    fields.LevelValue = float(leadingNumber(fields.LevelText));
}

void decodeBankByte(quint8 byte6, DisplayFields &fields)
{
    fields.EventBank = byte6 & 0x07;
    fields.BankBlink = byte6 & 0x08;
    fields.BatteryLevel = (byte6 >> 5) & 0x07;
}

void DisplayDecoder::reset()
{
    previous_.fill(256);
}

DisplayDecoder::Changes DisplayDecoder::decode(const QByteArray &frame, DisplayFields &fields)
{
    Changes changes;
    const auto byte = [&frame](int n) { return quint8(frame.at(n - 1)); }; // bytes 1..7
    if (byte(2) != previous_[0]) {
        decodeDisplayFlags(byte(2), fields);
        previous_[0] = byte(2);
        changes.flags = true;
    }
    decodeAnnunciators(byte(3), fields);
    previous_[1] = byte(3);
    if (byte(4) != previous_[2] || byte(5) != previous_[3]) {
        decodeLevel(byte(4), byte(5), fields);
        previous_[2] = byte(4);
        previous_[3] = byte(5);
        changes.level = true;
    }
    if (byte(6) != previous_[4]) {
        decodeBankByte(byte(6), fields);
        previous_[4] = byte(6);
        changes.bank = true;
    }
    return changes;
}
