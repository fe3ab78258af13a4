#pragma once

// What a setup run is to set in the meter, and the checks that come before anything is
// sent: a run only starts on values the meter's setup menu can show, so a typing error
// never has the meter's keys pressed for minutes on end towards a value it cannot reach.

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

struct SetupChoice {
    // 80, 84, 85 or 90 dB; 0: none chosen, the criterion step presses no key.
    int criterionDb = 0;
    // 70..90 dB; nullopt: the meter's own. Either is lowered to the criterion level
    // when above it.
    std::optional<int> thresholdDb;
    // 3, 4, 5 or 6 dB; 0: none chosen, the exchange-rate step presses no key.
    int exchangeRateDb = 0;
    // Time weighting Fast (true) or Slow; nullopt: left as it is.
    std::optional<bool> fast;
    // The meter clock's target to the minute, asked once when the date steps begin (all
    // four date fields from that answer) and again when the time steps begin; empty: the
    // meter's clock is left as it is and no key is pressed for it.
    std::function<QDateTime()> clock;

    static constexpr int kThresholdLowDb = 70;
    static constexpr int kThresholdHighDb = 90;
    // The years the Year list offers.
    static constexpr int kFirstYear = 2000;
    static constexpr int kLastYear = 2100;

    static bool validCriterion(int db);
    static bool validExchangeRate(int db);
    static bool validThreshold(int db);
    // A whole decimal number, blanks around it allowed; nullopt for anything else.
    static std::optional<int> number(const QString &text);
    // The date and time of the five clock fields (seconds 0); nullopt when they are no
    // date and time or the year is outside kFirstYear..kLastYear.
    static std::optional<QDateTime> clockFrom(int year, int month, int day, int hour, int minute);
    // The same from "YYYY-MM-DD hh:mm".
    static std::optional<QDateTime> parseClock(const QString &text);
};
