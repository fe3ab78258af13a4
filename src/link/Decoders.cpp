#include "link/Decoders.h"

#include "link/MeterProtocol.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

using namespace Protocol;

bool hasNibble(quint8 byte, int nibble)
{
    return (byte >> 4) == nibble || (byte & 0x0F) == nibble;
}

bool decimalNibbles(quint8 byte)
{
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

// The leading number of digits and a point only: "094.5" -> 94.5, "1E9.E" -> 1.
double leadingDecimal(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

} // namespace

bool isBcd(quint8 byte)
{
    return decimalNibbles(byte);
}

int bcdValue(quint8 byte)
{
    return isBcd(byte) ? (byte >> 4) * 10 + (byte & 0x0F) : -1;
}

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

int leadingInt(const QString &text, int low, int high)
{
    const double value = leadingNumber(text);
    if (!std::isfinite(value))
        return value > 0 ? high : low; // an infinite or unreadable number holds at a bound
    return int(std::clamp(std::trunc(value), double(low), double(high)));
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
    fields.LevelValue = float(leadingDecimal(fields.LevelText));
}

void decodeBankByte(quint8 byte6, DisplayFields &fields)
{
    fields.EventBank = byte6 & BankByte::kEventBankMask;
    fields.BankBlink = byte6 & BankByte::kBankBlink;
    fields.BatteryLevel = (byte6 >> BankByte::kBatteryShift) & BankByte::kBatteryMask;
}

bool plausibleDisplayFrame(const QByteArray &frame)
{
    if (frame.size() != Protocol::kDisplayFrameLength)
        return false;
    const quint8 flags = quint8(frame.at(1));
    const quint8 symbols = quint8(frame.at(2));
    const quint8 high = quint8(frame.at(3));
    const quint8 low = quint8(frame.at(4));
    const quint8 bank = quint8(frame.at(5));
    const int modes = int((flags & DisplayFlags::kDbaMode) != 0) +
                      int((flags & DisplayFlags::kDoseMode) != 0) +
                      int((flags & DisplayFlags::kFieldMode) != 0);
    if (modes > 1)
        return false;
    if ((flags & DisplayFlags::kColonOn) && (flags & DisplayFlags::kDashOn))
        return false;
    if ((symbols & Annunciators::kPoint1On) && (symbols & Annunciators::kPoint2On))
        return false;
    if ((bank & BankByte::kEventBankMask) > MemoryMap::kBankCount)
        return false;
    if (flags & (DisplayFlags::kDbaMode | DisplayFlags::kDoseMode)) {
        const bool underOrOver = hasNibble(high, Digits::kUnderRangeNibble) ||
                                 hasNibble(low, Digits::kUnderRangeNibble) ||
                                 hasNibble(high, Digits::kOverloadNibble) ||
                                 hasNibble(low, Digits::kOverloadNibble);
        if (underOrOver)
            return true;
        // A level has a hundreds digit of 0 or 1 (up to 199.9 dB); a dose any four.
        const bool levelDigit = !(flags & DisplayFlags::kDbaMode) || (high >> 4) <= 1;
        return levelDigit && decimalNibbles(high) && decimalNibbles(low);
    }
    if (flags & DisplayFlags::kFieldMode) {
        for (quint8 digits : {high, low}) {
            if (!decimalNibbles(digits) && digits != Digits::kMenuMark)
                return false;
        }
    }
    return true;
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
