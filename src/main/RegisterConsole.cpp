#include "main/RegisterConsole.h"

#include "link/Decoders.h"
#include "link/Meter.h"

#include <algorithm>
#include <cmath>

namespace {

// The number a box holds; its key filter lets only digits in, so the leading-number
// rule reads all of it. Too many digits to be an address read as out of range.
double boxNumber(const QString &text)
{
    return leadingNumber(text);
}

} // namespace

bool RegisterConsole::acceptsKey(QChar typed)
{
    return (typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) || typed == QChar(8) ||
           typed == QChar(13);
}

RegisterConsole::Outcome RegisterConsole::read(const QString &address, QString &shown)
{
    const double a = boxNumber(address);
    if (a > 65535)
        return Outcome::Invalid;
    meter_.setPollEnabled(false);
    const bool ok = meter_.readByte(qint64(a));
    shown = QString::number(meter_.state().link.LastByte);
    meter_.setPollEnabled(true);
    return ok ? Outcome::Done : Outcome::NoAnswer;
}

RegisterConsole::Outcome RegisterConsole::write(const QString &address, const QString &value)
{
    const double a = boxNumber(address);
    const double v = boxNumber(value);
    if (!Meter::validAddress(qint64(std::nearbyint(std::min(a, 65536.0)))) || v > 255)
        return Outcome::Invalid;
    meter_.setPollEnabled(false);
    const bool ok = meter_.writeByte(a, qint64(v));
    meter_.setPollEnabled(true);
    return ok ? Outcome::Done : Outcome::NoAnswer;
}
