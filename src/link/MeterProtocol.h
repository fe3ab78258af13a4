#pragma once

// Bytes of the meter's serial protocol and addresses of its memory map, as the wire
// and the meter's memory have them.

#include <QtGlobal>

#include <array>

namespace Protocol {

// Framing of every reply.
inline constexpr quint8 kStx = 0x02;
inline constexpr quint8 kEtx = 0x03;

// Commands.
inline constexpr char kStatusRequest = 'X';  // reply: STX, status byte, ETX
inline constexpr char kDisplayRequest = ' '; // reply: STX, b2..b6, ETX
inline constexpr char kKeyCommand = 'F';     // followed by the key code; no reply
inline constexpr char kKeypadLock = 'K';     // toggles the lock; no reply
inline constexpr char kMemoryDump = 'U';     // starts (and a second one stops) the dump
inline constexpr char kEraseByte = 'E';      // sent three times: "EEE"
inline constexpr char kReadRequest = 'R';    // 'R', lo, hi -> STX, data, ETX
inline constexpr char kWriteRequest = 'W';   // 'W', lo, hi, data; no reply

inline constexpr int kStatusReplyLength = 3;
inline constexpr int kDisplayFrameLength = 7;
inline constexpr int kReadReplyLength = 3;

// Key codes: one bit per key of the meter.
inline constexpr int kKeyMode = 1;
inline constexpr int kKeyEvent = 2;
inline constexpr int kKeyReset = 4;
inline constexpr int kKeyClock = 8;
inline constexpr int kKeyRunPause = 16; // RUN when stopped, PAUSE when running
inline constexpr int kKeyStop = 32;
inline constexpr int kKeyContinue = 64;
inline constexpr int kKeySetupMenu = 128; // no front-panel key: opens the setup menu
inline constexpr int kKeyModeEvent = 3;   // MODE and EVENT together (setup: step down)
inline constexpr int kKeyModeReset = 5;   // MODE and RESET together (setup: abort)

inline constexpr int kMaxAddress = 0xFFFF;
inline constexpr int kMaxValue = 0xFF;

// Status byte (and bits 0..4 of a bank's configuration byte).
namespace StatusBits {
inline constexpr quint8 kCriterionMask = 0x03; // code 0..3, see kCriterionDb
inline constexpr quint8 kExchangeMask = 0x0C;  // code 0..3 << 2, see kExchangeDb
inline constexpr int kExchangeShift = 2;
inline constexpr quint8 kFastResponse = 0x10; // time weighting Fast; clear: Slow
inline constexpr quint8 kFlag5 = 0x20;        // "dBRMS 115" in a bank
inline constexpr quint8 kFlag6 = 0x40;        // "Exceed 140dB" in a bank
inline constexpr quint8 kFlag7 = 0x80;        // bank used
// The settings the meter's setup menu changes.
inline constexpr quint8 kSettingsMask = kCriterionMask | kExchangeMask | kFastResponse;

// Criterion level and exchange rate in dB, by their two-bit code.
inline constexpr std::array<int, 4> kCriterionDb{80, 84, 85, 90};
inline constexpr std::array<int, 4> kExchangeDb{3, 4, 5, 6};

constexpr int criterionDb(quint8 status)
{
    return kCriterionDb[status & kCriterionMask];
}
constexpr int exchangeDb(quint8 status)
{
    return kExchangeDb[(status & kExchangeMask) >> kExchangeShift];
}
} // namespace StatusBits

// Display frame byte 2: what kind of value the display shows.
namespace DisplayFlags {
inline constexpr quint8 kColonOn = 0x01; // a time: colon between digits 2 and 3
inline constexpr quint8 kDashOn = 0x02;  // a date: dash between digits 2 and 3
inline constexpr quint8 kPaused = 0x04;
inline constexpr quint8 kRunning = 0x08;
inline constexpr quint8 kDoseMode = 0x20;  // %DOSE
inline constexpr quint8 kDbaMode = 0x40;   // a level in dBA
inline constexpr quint8 kFieldMode = 0x80; // two two-digit fields: time, date or a setting
} // namespace DisplayFlags

// Display frame byte 3: the symbols around the digits.
namespace Annunciators {
inline constexpr quint8 kMemOn = 0x02;
inline constexpr quint8 kLoudOn = 0x04;
inline constexpr quint8 kPeakOn = 0x08;
inline constexpr quint8 kPoint1On = 0x10; // decimal point after digit 3
inline constexpr quint8 kPoint2On = 0x20; // decimal point after digit 2
inline constexpr quint8 kKeysLocked = 0x80;
} // namespace Annunciators

// Display frame bytes 4 and 5: four BCD digits, high nibble first.
namespace Digits {
// A digit nibble that turns the whole display into "----" (checked first) or " OL ".
inline constexpr quint8 kUnderRangeNibble = 0xB;
inline constexpr quint8 kOverloadNibble = 0xA;
inline constexpr quint8 kUnderRange = 0xBB;
inline constexpr quint8 kOverload = 0xAA;
// What the setup menu shows in a digit byte that holds no value: not a BCD pair, and
// neither the under-range nor the overload nibble.
inline constexpr quint8 kMenuMark = 0xCC;
} // namespace Digits

// The meter's measuring range in dB: a level below it shows as "----", one above it as
// " OL ".
namespace MeasuringRange {
inline constexpr int kLowDb = 70;
inline constexpr int kHighDb = 140;
} // namespace MeasuringRange

// Display frame byte 6: event bank and battery.
namespace BankByte {
inline constexpr quint8 kEventBankMask = 0x07; // 0 none, 1..5 E1..E5
inline constexpr quint8 kBankBlink = 0x08;
inline constexpr int kBatteryShift = 5; // bits 5..7: battery level 0..7
inline constexpr quint8 kBatteryMask = 0x07;
} // namespace BankByte

// The third byte of a logged sample (low BCD byte, high BCD byte, flags).
namespace SampleBits {
inline constexpr quint8 kOverload = 0x40;
} // namespace SampleBits

// Two decimal digits as one BCD byte (0..99; higher values keep their last two digits).
constexpr quint8 toBcd(int value)
{
    return quint8(((value / 10) % 10) << 4 | (value % 10));
}

} // namespace Protocol

namespace MemoryMap {

inline constexpr quint16 kIdCodeHigh = 0x0002; // ID code, high byte first
inline constexpr quint16 kIdCodeLow = 0x0003;
inline constexpr quint16 kIntervalLow = 0x0012; // logging interval in tenths of a second
inline constexpr quint16 kIntervalHigh = 0x0013;
inline constexpr quint16 kRunCount = 0x0016;    // runs stored in the logger
inline constexpr quint16 kMemoryFlags = 0x0028; // bit 0: logger memory full
inline constexpr quint8 kMemoryFullBit = 0x01;
inline constexpr quint16 kThreshold = 0x003B; // threshold level in dB
inline constexpr int kMinThresholdDb = 70;    // what the meter's setup menu can set
inline constexpr int kMaxThresholdDb = 90;
inline constexpr quint16 kBanksStart = 0x003C; // five 20-byte dose banks E1..E5
inline constexpr quint16 kBankSize = 20;
inline constexpr quint16 kBankPrimer = 0x0065;    // read once before a bank download
inline constexpr quint16 kRunTableStart = 0x0200; // 16-bit entries, low byte first
inline constexpr quint16 kRunTableEnd = 0x02FF;
inline constexpr quint16 kRunDataStart = 0x0300;     // first free address of an empty logger
inline constexpr quint16 kLoggerEnd = 0x7A00;        // one past the last logger data byte
inline constexpr quint16 kBankTimeCopyBase = 0x79FB; // bank n's copy at base + 6n, 6 bytes
inline constexpr int kBankCount = 5;
inline constexpr int kRunHeaderLength = 8;
inline constexpr int kSampleLength = 3;

// A bank's 20 bytes, by offset from its first register.
namespace Bank {
inline constexpr int kConfig = 0;     // StatusBits 0..4 and the three flags below
inline constexpr int kStartMonth = 1; // BCD, like the start and stop times
inline constexpr int kStartDay = 2;
inline constexpr int kStartHour = 3;
inline constexpr int kStartMinute = 4;
inline constexpr int kStopHour = 5;
inline constexpr int kStopMinute = 6;
inline constexpr int kExposureHours = 7; // binary, like everything from here on
inline constexpr int kExposureMinutes = 8;
inline constexpr int kDoseHigh = 9; // raw dose = high * 256 + low
inline constexpr int kDoseLow = 10;
inline constexpr int kDoseDivisor = 11; // 1, 10 or 100: dose % = raw dose / divisor
inline constexpr int kPeakHours = 15;   // kNoPeakTime: none
inline constexpr int kPeakMinutes = 16;
inline constexpr int kPeakDurationMinutes = 17;
inline constexpr int kPeakDurationSeconds = 18;
inline constexpr int kThreshold = 19; // dB

inline constexpr quint8 kDbRms115 = Protocol::StatusBits::kFlag5;
inline constexpr quint8 kExceed140 = Protocol::StatusBits::kFlag6;
inline constexpr quint8 kUsed = Protocol::StatusBits::kFlag7;
inline constexpr quint8 kNoPeakTime = 0xFF;
// Copy of start month, day, hour, minute and stop hour, minute; all 0xFF when erased.
inline constexpr int kTimeCopyLength = 6;
inline constexpr quint8 kErasedTimeCopy = 0xFF;
} // namespace Bank

// First register of bank n (1..5).
constexpr quint16 bankAddress(int n)
{
    return quint16(40 + 20 * n);
}
// First register of the start/stop time copy of bank n (1..5).
constexpr quint16 bankTimeCopyAddress(int n)
{
    return quint16(kBankTimeCopyBase + 6 * n);
}
// Register of run-table entry j (low byte; the high byte follows).
constexpr quint16 runTableEntry(int j)
{
    return quint16(kRunTableStart + 2 * j);
}

} // namespace MemoryMap
