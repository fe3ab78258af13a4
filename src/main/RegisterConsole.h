#pragma once

// The main window's register console: read or write any meter register by its
// decimal address, with the poll stopped around the exchange.

#include <QString>

class Meter;

class RegisterConsole {
public:
    enum class Outcome { Done, Invalid, NoAnswer };

    explicit RegisterConsole(Meter &meter) : meter_(meter) {}

    // Characters the address and value boxes take: digits, Backspace and Enter.
    static bool acceptsKey(QChar typed);

    // address: the text of the address box (empty reads as 0). The byte read, or the
    // previous one when the meter gave up, goes to `shown`.
    Outcome read(const QString &address, QString &shown);
    Outcome write(const QString &address, const QString &value);

private:
    Meter &meter_;
};
