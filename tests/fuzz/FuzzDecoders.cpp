// libFuzzer target: the decoders of what the meter sends on the line. The input is cut
// into display frames (7 bytes each, framed), a status byte and a bank record; any bytes
// decode without a crash or undefined behaviour, and a frame that passes the
// plausibility check in dBA mode gives a level the meter can show.

#include "banks/BankRecord.h"
#include "link/Decoders.h"
#include "link/MeterProtocol.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.isEmpty())
        return 0;
    decodeStatusByte(quint8(bytes.at(0)));

    // A poll's worth of frames: more only slows each run down.
    constexpr qsizetype kFrames = 32;
    DisplayDecoder decoder;
    DisplayFields fields;
    for (qsizetype at = 1; at + 5 <= bytes.size() && at <= 5 * kFrames; at += 5) {
        const QByteArray frame = QByteArray(1, char(Protocol::kStx)) + bytes.mid(at, 5) +
                                 QByteArray(1, char(Protocol::kEtx));
        if (!plausibleDisplayFrame(frame))
            continue;
        decoder.decode(frame, fields);
        const quint8 flags = quint8(frame.at(1));
        if ((flags & Protocol::DisplayFlags::kDbaMode) &&
            !(std::isfinite(fields.LevelValue) && fields.LevelValue >= 0.0f &&
              fields.LevelValue <= 199.9f))
            __builtin_trap();
        if (fields.EventBank > 5)
            __builtin_trap();
    }

    BankRecord::texts(bytes.left(BankRecord::kLength));
    const QString text = QString::fromLatin1(bytes.left(64));
    leadingNumber(text);
    leadingInt(text, 0, 9999);
    return 0;
}
