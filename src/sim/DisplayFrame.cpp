#include "sim/DisplayFrame.h"

#include "link/MeterProtocol.h"
#include "sim/SoundModel.h"

#include <algorithm>
#include <cmath>

using namespace Protocol;

std::pair<quint8, quint8> DisplayFrame::levelDigits(double db)
{
    const int tenths = std::clamp(int(std::lround(db * 10.0)), 0, 1999);
    return {quint8((tenths / 1000) << 4 | (tenths / 100) % 10), toBcd(tenths % 100)};
}

QByteArray DisplayFrame::encode() const
{
    using namespace DisplayFlags;
    using namespace Annunciators;
    quint8 flags = (running ? kRunning : 0) | (paused ? kPaused : 0);
    quint8 symbols = (keysLocked ? kKeysLocked : 0) | (running ? kMemOn : 0) | (peak ? kPeakOn : 0);
    quint8 high = 0;
    quint8 low = 0;
    if (menu) {
        flags = menu->flags;
        high = menu->high;
        low = menu->low;
    } else {
        switch (mode) {
        case Mode::Dba:
            flags |= kDbaMode;
            symbols |= kPoint1On;
            if (!level) {
                high = low = Digits::kUnderRange;
            } else if (std::isinf(*level)) {
                high = low = Digits::kOverload;
                symbols |= kLoudOn;
            } else {
                std::tie(high, low) = levelDigits(*level);
                if (*level >= SoundModel::kLoudDb)
                    symbols |= kLoudOn;
            }
            break;
        case Mode::Dose: {
            flags |= kDoseMode;
            // Four digits: 12.05 below 100 %, 123.4 from there on.
            int digits = int(std::lround(dosePercent * 100.0));
            if (digits < 10000) {
                symbols |= kPoint2On;
            } else {
                digits = std::min(9999, int(std::lround(dosePercent * 10.0)));
                symbols |= kPoint1On;
            }
            high = toBcd(digits / 100);
            low = toBcd(digits % 100);
            break;
        }
        case Mode::Clock:
            flags |= kFieldMode | kColonOn;
            high = toBcd(clock.time().hour());
            low = toBcd(clock.time().minute());
            break;
        case Mode::Date:
            flags |= kFieldMode | kDashOn;
            high = toBcd(clock.date().month());
            low = toBcd(clock.date().day());
            break;
        }
    }
    const quint8 bank = quint8(eventBank & BankByte::kEventBankMask) |
                        (running ? BankByte::kBankBlink : 0) |
                        quint8((battery & BankByte::kBatteryMask) << BankByte::kBatteryShift);
    QByteArray frame;
    for (quint8 byte : {kStx, flags, symbols, high, low, bank, kEtx})
        frame += char(byte);
    return frame;
}
