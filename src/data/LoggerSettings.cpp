#include "data/LoggerSettings.h"

#include "data/LoggerBusy.h"
#include "data/LoggerResults.h"
#include "link/Decoders.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"

#include <QCoreApplication>

#include <cmath>

namespace LoggerSettings {

namespace {

bool isDigit(int code)
{
    return code >= '0' && code <= '9';
}

bool textAccepted(const QString &text, bool (*accepted)(int))
{
    for (const QChar ch : text) {
        if (!accepted(ch.unicode()))
            return false;
    }
    return true;
}

bool writeWord(Meter &meter, LoggerResults &results, int highAddress, int lowAddress, int value)
{
    if (results.DownloadBusy || value < 0 || value > 0xFFFF)
        return false;
    LoggerBusy busy(results, meter);
    return meter.writeByte(highAddress, value / 256) && meter.writeByte(lowAddress, value % 256);
}

} // namespace

bool idCodeKeyAccepted(int code)
{
    return isDigit(code) || code == kBackspace || code == kEnter;
}

bool intervalKeyAccepted(int code)
{
    return idCodeKeyAccepted(code) || code == '.';
}

bool idCodeTextAccepted(const QString &text)
{
    return textAccepted(text, &idCodeKeyAccepted);
}

bool intervalTextAccepted(const QString &text)
{
    return textAccepted(text, &intervalKeyAccepted);
}

std::optional<int> idCode(const QString &text)
{
    const double v = leadingNumber(text);
    // Pasted text can hold a sign or a fraction that typing cannot.
    if (v < 0.0 || v > 65535.0)
        return std::nullopt;
    return int(std::lround(v));
}

std::optional<int> intervalTenths(const QString &text)
{
    const double v = leadingNumber(text);
    if (v > 6553.5 || v < 0.1)
        return std::nullopt;
    return int(std::lround(v * 10.0));
}

bool writeIdCode(Meter &meter, LoggerResults &results, int code)
{
    return writeWord(meter, results, MemoryMap::kIdCodeHigh, MemoryMap::kIdCodeLow, code);
}

bool writeInterval(Meter &meter, LoggerResults &results, int tenths)
{
    return writeWord(meter, results, MemoryMap::kIntervalHigh, MemoryMap::kIntervalLow, tenths);
}

bool erase(Meter &meter, LoggerResults &results)
{
    // A download in progress must not have the memory erased under it.
    if (results.DownloadBusy)
        return false;
    LoggerBusy busy(results, meter);
    meter.sendErase();
    meter.wait(kEraseSeconds);
    return true;
}

QString translated(const QString &text)
{
    return QCoreApplication::translate("LoggerSettings", text.toUtf8().constData());
}

} // namespace LoggerSettings
