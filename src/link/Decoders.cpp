#include "link/Decoders.h"

#include "link/MeterProtocol.h"

#include <QRegularExpression>

namespace {

using namespace Protocol;

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
    StatusFields fields;
    fields.CriterionLevel = StatusBits::criterionDb(status);
    fields.ExchangeRate = StatusBits::exchangeDb(status);
    fields.FastResponse = (status & StatusBits::kFastResponse) != 0;
    fields.TimeWeightingText =
        fields.FastResponse ? QStringLiteral("Fast") : QStringLiteral("Slow");
    fields.StatusFlag5 = (status & StatusBits::kFlag5) != 0;
    fields.StatusFlag6 = (status & StatusBits::kFlag6) != 0;
    fields.StatusFlag7 = (status & StatusBits::kFlag7) != 0;
    return fields;
}

void decodeDisplayFlags(quint8 byte2, DisplayFields &fields)
{
    fields.ColonOn = byte2 & DisplayFlags::kColonOn;
    fields.DashOn = byte2 & DisplayFlags::kDashOn;
    fields.Paused = byte2 & DisplayFlags::kPaused;
    fields.Running = byte2 & DisplayFlags::kRunning;
    fields.DoseMode = byte2 & DisplayFlags::kDoseMode;
    fields.DbaMode = byte2 & DisplayFlags::kDbaMode;
    fields.FieldMode = byte2 & DisplayFlags::kFieldMode;
}

void decodeAnnunciators(quint8 byte3, DisplayFields &fields)
{
    fields.MemOn = byte3 & Annunciators::kMemOn;
    fields.LoudOn = byte3 & Annunciators::kLoudOn;
    fields.PeakOn = byte3 & Annunciators::kPeakOn;
    fields.Point1On = byte3 & Annunciators::kPoint1On;
    fields.Point2On = byte3 & Annunciators::kPoint2On;
    fields.KeysLocked = byte3 & Annunciators::kKeysLocked;
}

void decodeLevel(quint8 byte4, quint8 byte5, DisplayFields &fields)
{
    if (hasNibble(byte4, Digits::kUnderRangeNibble) ||
        hasNibble(byte5, Digits::kUnderRangeNibble)) {
        fields.DisplayDigit.fill(QStringLiteral("-"));
        fields.LevelText = QStringLiteral("----");
        fields.LevelValue = kUnderRangeValue;
        return;
    }
    if (hasNibble(byte4, Digits::kOverloadNibble) || hasNibble(byte5, Digits::kOverloadNibble)) {
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
    fields.EventBank = byte6 & BankByte::kEventBankMask;
    fields.BankBlink = byte6 & BankByte::kBankBlink;
    fields.BatteryLevel = (byte6 >> BankByte::kBatteryShift) & BankByte::kBatteryMask;
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
