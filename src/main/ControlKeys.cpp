#include "main/ControlKeys.h"

#include "link/MeterProtocol.h"

#include <algorithm>

namespace {

KeyAction send(int code, bool stopPoll)
{
    return {KeyAction::Kind::SendKey, code, stopPoll};
}

} // namespace

int PanelDisplay::batteryImage() const
{
    for (int image = int(battery.size()) - 1; image > 0; --image) {
        if (battery[size_t(image)])
            return image;
    }
    return 0;
}

KeyAction ControlKeys::action(PanelKey key, const MeterState &state)
{
    const DisplayFields &d = state.display;
    switch (key) {
    case PanelKey::Mode:
    case PanelKey::Event:
    case PanelKey::Reset:
    case PanelKey::Clock: {
        if (d.KeysLocked)
            return {KeyAction::Kind::KeyLocked};
        const int code = key == PanelKey::Mode    ? Protocol::kKeyMode
                         : key == PanelKey::Event ? Protocol::kKeyEvent
                         : key == PanelKey::Reset ? Protocol::kKeyReset
                                                  : Protocol::kKeyClock;
        return send(code, true);
    }
    case PanelKey::Pause:
        if (d.KeysLocked)
            return {KeyAction::Kind::KeyLocked};
        // A stopped meter has nothing to pause; the button is disabled then anyway.
        if (!d.Running)
            return {};
        return send(d.Paused ? Protocol::kKeyContinue : Protocol::kKeyRunPause, true);
    case PanelKey::Run:
        // While the settings refresh talks to the meter, or while keys are paced for a
        // slow meter, a run key would land in the middle of it.
        if (state.link.RefreshBusy || state.link.KeyPacing)
            return {};
        // Run and stop do not ask about the keypad lock: a locked meter decides itself.
        // The key goes out between two polls without stopping them.
        return send(d.Running ? Protocol::kKeyStop : Protocol::kKeyRunPause, false);
    }
    return {};
}

int ControlKeys::batteryImageFor(int level)
{
    return std::clamp(level, 0, 5);
}

const PanelDisplay &ControlKeys::redraw(const MeterState &state, const QString &mainValueText)
{
    const DisplayFields &d = state.display;
    PanelDisplay &p = display_;

    p.colon = d.ColonOn;
    p.timeMark = d.ColonOn;
    p.dash = d.DashOn;

    p.pauseMark = d.Paused;
    p.pauseCaption = d.Paused ? QStringLiteral("Continuar") : QStringLiteral("PAUSE");

    p.runMark = d.Running;
    p.runCaption = d.Running ? QStringLiteral("Encerrar") : QStringLiteral("RUN");
    p.pauseEnabled = d.Running;

    p.lockCaption = d.KeysLocked ? QStringLiteral("Unlock") : QStringLiteral("Lock");
    p.keysLocked = d.KeysLocked;

    p.doseMark = d.DoseMode;
    p.dbaMark = d.DbaMode;
    p.memMark = d.MemOn;
    p.loudMark = d.LoudOn;
    p.peakMark = d.PeakOn;

    if (d.BatteryLevel != p.batteryShown) {
        p.battery[size_t(batteryImageFor(p.batteryShown))] = false;
        p.battery[size_t(batteryImageFor(d.BatteryLevel))] = true;
        p.battery[0] = true;
        p.batteryShown = d.BatteryLevel;
    }

    if (d.EventBank == 0)
        p.bank.clear();
    else if (d.EventBank >= 1 && d.EventBank <= 5)
        p.bank = QStringLiteral("E%1").arg(d.EventBank);
    // Toggled once per 500 ms redraw, the symbol blinks at 1 Hz as on the meter.
    p.bankVisible = d.BankBlink ? !p.bankVisible : true;

    p.point1 = !(d.FieldMode || d.ColonOn) && d.Point1On;
    p.point2 = d.DoseMode && d.Point2On;

    p.value = mainValueText;

    p.fastMark = state.status.FastResponse;
    p.slowMark = !state.status.FastResponse;

    p.barShown = d.DbaMode;
    p.barLevelDb = d.LevelValue;
    return p;
}
