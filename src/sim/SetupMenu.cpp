#include "sim/SetupMenu.h"

#include "link/MeterProtocol.h"

#include <algorithm>

using namespace Protocol;

namespace {

// One step of a field within [low, high], wrapping round at the ends; a value outside
// the range goes to the nearer end.
int stepped(int value, int delta, int low, int high)
{
    if (value < low || value > high)
        return std::clamp(value, low, high);
    value += delta;
    return value > high ? low : value < low ? high : value;
}

// The date with its day kept inside the month.
QDate validDate(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return first.addDays(std::min(day, first.daysInMonth()) - 1);
}

} // namespace

bool SetupMenu::press(int code, Settings &settings)
{
    if (!isOpen())
        return false;
    switch (code) {
    case kKeySetupMenu:
        open();
        return false;
    case kKeyReset:
    case kKeyModeReset:
        close();
        return false;
    case kKeyClock:
        screen_ = screen_ == Screen::TimeWeighting ? Screen::Criterion : Screen(int(screen_) + 1);
        return false;
    case kKeyEvent:
        step(+1, settings);
        return true;
    case kKeyModeEvent:
        step(-1, settings);
        return true;
    default:
        return false;
    }
}

void SetupMenu::step(int delta, Settings &settings)
{
    using namespace StatusBits;
    quint8 &status = settings.status;
    const QDate date = settings.clock.date();
    const QTime time = settings.clock.time();
    int year = date.year();
    int month = date.month();
    int day = date.day();
    // A day cut short by a shorter month comes back in a longer one.
    if (wantedDay_ > day && day == date.daysInMonth())
        day = wantedDay_;
    int hour = time.hour();
    int minute = time.minute();
    switch (screen_) {
    case Screen::Closed:
        return;
    case Screen::Criterion:
        status = (status & ~kCriterionMask) | ((status + delta) & kCriterionMask);
        return;
    case Screen::Threshold:
        settings.thresholdDb =
            stepped(settings.thresholdDb, delta, kThresholdLowDb, kThresholdHighDb);
        return;
    case Screen::ExchangeRate: {
        const int code = ((status & kExchangeMask) >> kExchangeShift) + delta;
        status = (status & ~kExchangeMask) | ((code << kExchangeShift) & kExchangeMask);
        return;
    }
    case Screen::TimeWeighting:
        status ^= kFastResponse;
        return;
    case Screen::Century:
        year = stepped(year / 100, delta, kCenturyLow, kCenturyHigh) * 100 + year % 100;
        break;
    case Screen::Year:
        year = year / 100 * 100 + stepped(year % 100, delta, 0, 99);
        break;
    case Screen::Month:
        month = stepped(month, delta, 1, 12);
        break;
    case Screen::Day:
        day = stepped(date.day(), delta, 1, date.daysInMonth());
        break;
    case Screen::Hour:
        hour = stepped(hour, delta, 0, 23);
        break;
    case Screen::Minute:
        minute = stepped(minute, delta, 0, 59);
        break;
    }
    wantedDay_ = day;
    settings.clock.setDate(validDate(year, month, day));
    settings.clock.setTime(QTime(hour, minute));
}

DisplayFrame::Menu SetupMenu::display(const Settings &settings) const
{
    using namespace DisplayFlags;
    const QDate date = settings.clock.date();
    const QTime time = settings.clock.time();
    const quint8 mark = Digits::kMenuMark;
    switch (screen_) {
    case Screen::Closed:
        break;
    case Screen::Criterion:
        return {kFieldMode, mark, toBcd(StatusBits::criterionDb(settings.status))};
    case Screen::Threshold:
        return {kFieldMode, mark, toBcd(settings.thresholdDb)};
    case Screen::ExchangeRate:
        return {kFieldMode, mark, toBcd(StatusBits::exchangeDb(settings.status))};
    case Screen::Century:
    case Screen::Year:
        return {kFieldMode, toBcd(date.year() / 100), toBcd(date.year() % 100)};
    case Screen::Month:
    case Screen::Day:
        return {quint8(kFieldMode | kDashOn), toBcd(date.month()), toBcd(date.day())};
    case Screen::Hour:
    case Screen::Minute:
        return {quint8(kFieldMode | kColonOn), toBcd(time.hour()), toBcd(time.minute())};
    case Screen::TimeWeighting:
        return {kFieldMode, mark, mark};
    }
    return {};
}
