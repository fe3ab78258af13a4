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
    QString LblValue;          // the main window's value text
    bool LblPoint1 = false;    // decimal point after digit 3
    bool LblPoint2 = false;    // decimal point after digit 2
    bool ImgDoubleDot = false; // colon between digits 2 and 3
    bool ImgDash = false;      // dash between digits 2 and 3
    bool LblTime = false;
    bool LblDose = false;
    bool LbldBA = false;
    bool LblMem = false;
    bool LblPK = false;
    bool LblPause = false;
    bool ImgRun = false;
    bool ImgLoud = false;
    QString LblBank; // "", "E1".."E5"
    bool LblBankVisible = true;
    bool LblFast = false;
    bool LblSlow = true;
    bool keysLocked = false; // the meter's keypad-lock symbol
    // Battery gauge: image 0 is the outline, image k shows k bars. Only the outline
    // shows before the first level arrives.
    std::array<bool, 6> ImgBattery{true, false, false, false, false, false};
    int batteryShown = 0; // the battery level (0..7) shown last
    // Bar graph: a bar up to BdBLevel (dB) in dBA mode; the scale shows always.
    bool BdBBar = false;
    float BdBLevel = 0.0f;

    QString CmdPauseCaption = QStringLiteral("PAUSE");
    bool CmdPauseEnabled = false;
    QString CmdRunCaption = QStringLiteral("RUN");
    QString CmdLockCaption = QStringLiteral("Lock");

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
