#pragma once

// The remote control panel's logic: what each key button does given the shared fields,
// and what the display replica shows after each redraw. The window only forwards its
// clicks and ticks here and paints the result.

#include "link/MeterState.h"

#include <QString>

#include <array>

// The panel's key buttons.
enum class PanelKey { Mode, Event, Reset, Clock, Pause, Run };

// What a click on a key button does.
struct KeyAction {
    enum class Kind {
        Nothing,   // the click is ignored
        KeyLocked, // the meter's keypad is locked: "Key locked!", nothing is sent
        SendKey,   // send key `code`
    };
    Kind kind = Kind::Nothing;
    int code = 0;          // key code for SendKey
    bool stopPoll = false; // the main poll is stopped around the key command
};

// What the replica shows, one member per display item of the panel (visibility for
// symbols, text for captions), plus the captions of the keys that change.
struct PanelDisplay {
    QString value;       // the main window's value text
    bool point1 = false; // decimal point after digit 3
    bool point2 = false; // decimal point after digit 2
    bool colon = false;  // colon between digits 2 and 3
    bool dash = false;   // dash between digits 2 and 3
    bool timeMark = false;
    bool doseMark = false;
    bool dbaMark = false;
    bool memMark = false;
    bool peakMark = false;
    bool pauseMark = false;
    bool runMark = false;
    bool loudMark = false;
    QString bank; // "", "E1".."E5"
    bool bankVisible = true;
    bool fastMark = false;
    bool slowMark = true;
    bool keysLocked = false; // the meter's keypad-lock symbol
    // Battery gauge: image 0 is the outline, image k shows k bars. Only the outline
    // shows before the first level arrives.
    std::array<bool, 6> battery{true, false, false, false, false, false};
    int batteryShown = 0; // the battery level (0..7) shown last
    // Bar graph: a bar up to barLevelDb (dB) in dBA mode; the scale shows always.
    bool barShown = false;
    float barLevelDb = 0.0f;

    QString pauseCaption = QStringLiteral("PAUSE");
    bool pauseEnabled = false;
    QString runCaption = QStringLiteral("RUN");
    QString lockCaption = QStringLiteral("Lock");

    // The battery image that is lit: the highest visible image 1..5, or 0.
    int batteryImage() const;

    bool operator==(const PanelDisplay &) const = default;
};

class ControlKeys {
public:
    // The action of a key button. Pure: depends on the shared fields only.
    static KeyAction action(PanelKey key, const MeterState &state);
    // Image of the battery gauge for a level: 0..5 as they are; 6 and 7 have no image of
    // their own and show full.
    static int batteryImageFor(int level);

    // One redraw from the shared fields and the main window's value text. Everything but
    // the bank blink and the battery gauge follows the fields of this redraw alone.
    const PanelDisplay &redraw(const MeterState &state, const QString &mainValueText);
    const PanelDisplay &display() const { return display_; }

private:
    PanelDisplay display_;
};
