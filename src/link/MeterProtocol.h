#pragma once

// Bytes of the meter's serial protocol and addresses of its memory map, as the wire
// and the meter's memory have them.

#include <QtGlobal>

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

} // namespace Protocol

namespace MemoryMap {

inline constexpr quint16 kIdCodeHigh = 0x0002; // ID code, high byte first
inline constexpr quint16 kIdCodeLow = 0x0003;
inline constexpr quint16 kIntervalLow = 0x0012; // logging interval in tenths of a second
inline constexpr quint16 kIntervalHigh = 0x0013;
inline constexpr quint16 kRunCount = 0x0016;    // runs stored in the logger
inline constexpr quint16 kMemoryFlags = 0x0028; // bit 0: logger memory full
inline constexpr quint8 kMemoryFullBit = 0x01;
inline constexpr quint16 kThreshold = 0x003B;  // threshold level in dB
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
