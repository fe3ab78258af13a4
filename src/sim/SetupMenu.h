#pragma once

// The meter's setup menu, as the setup sequences drive it by remote keys. Code 128
// opens it on its first screen (also when it is open already, so a run that failed
// half-way can start again). CLOCK moves on: criterion level, threshold level, exchange
// rate, century, year, month, day, hour, minute, time weighting, and round again.
// EVENT steps the shown setting up (or to its next choice), MODE+EVENT (3) down (or
// back); RESET (4) and MODE+RESET (5) close the menu. Every change takes effect at
// once; nothing is undone on closing.
//
// How the fields step (each wraps round at its ends):
//   criterion 80, 84, 85, 90; exchange rate 3, 4, 5, 6; time weighting Fast/Slow (both
//   keys toggle); threshold 70..90 dB; century 20..21 (years 2000..2199); year 00..99;
//   month 1..12; day 1..last day of the month; hour 0..23; minute 0..59.
// A value outside its range (a threshold of 60 dB, the year 1999) is brought to the
// nearer end of the range by either key. The date stays valid: when the month or year
// changes, a day past the new month's end becomes its last day (31 March, one month
// down, is 28 or 29 February) and comes back when a later step leads to a month with
// room for it (31 January, two months up, is 31 March: the setup sequence reads the day
// before it sets the month). Day 31 cannot be reached in a 30-day month. A change of
// any clock field starts the seconds again from 0.

#include "sim/DisplayFrame.h"

#include <QDateTime>
#include <QtGlobal>

class SetupMenu {
public:
    enum class Screen {
        Closed,
        Criterion,
        Threshold,
        ExchangeRate,
        Century,
        Year,
        Month,
        Day,
        Hour,
        Minute,
        TimeWeighting
    };

    // The meter's settings that the menu shows and changes.
    struct Settings {
        quint8 status = 0; // criterion, exchange rate and time weighting bits
        int thresholdDb = 0;
        QDateTime clock;
    };

    static constexpr int kThresholdLowDb = 70;
    static constexpr int kThresholdHighDb = 90;
    static constexpr int kCenturyLow = 20;
    static constexpr int kCenturyHigh = 21;

    Screen screen() const { return screen_; }
    bool isOpen() const { return screen_ != Screen::Closed; }
    void open()
    {
        screen_ = Screen::Criterion;
        wantedDay_ = 0;
    }
    void close() { screen_ = Screen::Closed; }

    // A key code while the menu is open (codes that are not menu keys do nothing).
    // Changes `settings` at once; true when it changed them.
    bool press(int code, Settings &settings);

    // Byte 2 and the digit bytes 4 and 5 of the display on the current screen: FieldMode
    // (with ColonOn for hour and minute, DashOn for month and day); BCD values, the
    // exchange rate in the low digit of byte 5, Digits::kMenuMark where no value is shown.
    DisplayFrame::Menu display(const Settings &settings) const;

private:
    void step(int delta, Settings &settings);

    Screen screen_ = Screen::Closed;
    int wantedDay_ = 0; // the day last set or shown, which a shorter month may have cut
};
