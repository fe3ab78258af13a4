#pragma once

// What the virtual meter's display shows at one moment, and the 7-byte display frame
// that reports it: STX, flags, annunciators, two digit bytes, bank and battery, ETX.

#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <utility>

struct DisplayFrame {
    // The display modes that MODE steps through, in that order.
    enum class Mode { Dba, Dose, Clock, Date };

    // What the open setup menu shows instead of the mode: byte 2, digits 4 and 5.
    struct Menu {
        quint8 flags = 0;
        quint8 high = 0;
        quint8 low = 0;
    };

    Mode mode = Mode::Dba;
    std::optional<double> level; // dB; nullopt under range, +infinity overload
    double dosePercent = 0.0;
    QDateTime clock; // the meter's clock
    bool running = false;
    bool paused = false;
    bool keysLocked = false;
    bool peak = false; // the run saw an overload: "PK"
    int eventBank = 0; // 0 none, 1..5
    int battery = 0;   // 0..7
    std::optional<Menu> menu;

    QByteArray encode() const;

    // A level as the two BCD digit bytes of the display and the logger: hundreds and
    // tens, then units and tenths. Rounded to tenths and clamped to 0..199.9.
    static std::pair<quint8, quint8> levelDigits(double db);
};
