#pragma once

// Pure decoders of the meter's status byte and display frame.

#include <QByteArray>
#include <QString>

#include <array>

// Measurement settings decoded from a status byte (or a bank's configuration byte).
struct StatusFields {
    int CriterionLevel = 0; // dB: 80, 84, 85, 90
    int ExchangeRate = 0;   // dB: 3, 4, 5, 6
    bool FastResponse = false;
    QString TimeWeightingText; // "Fast" / "Slow"
    bool StatusFlag5 = false;
    bool StatusFlag6 = false;
    bool StatusFlag7 = false;
};

// What the meter's display shows, decoded from the display frame.
struct DisplayFields {
    std::array<QString, 4> DisplayDigit; // DisplayDigit[0] is digit 1
    QString LevelText;
    float LevelValue = 0.0f; // dB; 67.9 under range, 140.0 overload
    bool ColonOn = false;
    bool DashOn = false;
    bool Paused = false;
    bool Running = false;
    bool DoseMode = false;
    bool DbaMode = false;
    bool FieldMode = false;
    bool MemOn = false;
    bool LoudOn = false;
    bool PeakOn = false;
    bool Point1On = false;
    bool Point2On = false;
    bool KeysLocked = false;
    int EventBank = 0; // 0 none, 1..5 E1..E5
    bool BankBlink = false;
    int BatteryLevel = 0; // 0..7
};

inline constexpr float kUnderRangeValue = 67.9f;
inline constexpr float kOverloadValue = 140.0f;

StatusFields decodeStatusByte(quint8 status);

// True when a display frame (the 7 bytes STX .. ETX, already checked for framing) can
// be what the meter shows. The line has no checksum, so a damaged byte is caught only
// where it makes the frame impossible: more than one of the dBA, dose and field modes,
// a colon and a dash at once, both decimal points, an event bank above E5, or, while a
// level or a dose is shown, a digit that is not decimal (the under-range and overload
// nibbles excepted) or a level of 200 dB or more; in field mode each digit byte is BCD
// or the setup menu's mark.
// A frame that fails is no reading: it is asked for again.
bool plausibleDisplayFrame(const QByteArray &frame);
// True when both nibbles of a byte are decimal digits.
bool isBcd(quint8 byte);
// The two decimal digits of a BCD byte as a number (0x59 -> 59); -1 when not BCD.
int bcdValue(quint8 byte);

void decodeDisplayFlags(quint8 byte2, DisplayFields &fields);
void decodeAnnunciators(quint8 byte3, DisplayFields &fields);
// Digits, LevelText and LevelValue from bytes 4 and 5; under range wins over overload.
// LevelValue is the leading decimal number of LevelText (digits and the point only, so
// no digits can read as an exponent); 0 when the text starts with no digit.
void decodeLevel(quint8 byte4, quint8 byte5, DisplayFields &fields);
void decodeBankByte(quint8 byte6, DisplayFields &fields);

// Decodes display frames, remembering bytes 2..6 of the previous frame so that
// unchanged bytes are not decoded again (byte 3 is decoded every time).
class DisplayDecoder {
public:
    struct Changes {
        bool flags = false; // byte 2 was decoded
        bool level = false; // bytes 4 and 5 were decoded
        bool bank = false;  // byte 6 was decoded
    };

    // Forgets the previous frame: the next frame is decoded in full.
    void reset();
    // frame: the 7 bytes STX .. ETX, already checked for framing.
    Changes decode(const QByteArray &frame, DisplayFields &fields);

private:
    std::array<int, 5> previous_{256, 256, 256, 256, 256}; // bytes 2..6; 256 = none yet
};

// Two upper-case hexadecimal digits, "0"-padded: BCD bytes read as their decimal digits.
QString hex2(quint8 byte);
// The leading number of a text, 0 when there is none (" 85.3dB" -> 85.3).
double leadingNumber(const QString &text);
// The leading number of a text as a whole number, truncated toward zero and held within
// [low, high], so no text, however long its digits or exponent, can overflow an int.
// 0 (held within the bounds) when there is none.
int leadingInt(const QString &text, int low, int high);
