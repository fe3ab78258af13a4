#pragma once

// The national occupational noise exposure standards of the Standard window: a fixed
// table of 15 rows (row 0 the headings) and 8 columns (column 0 the country, column 7
// empty). "-" means that the standard sets no value. Only the criterion level (column 1)
// and the exchange rate (column 3) are set in the meter; the rest is for reference.

#include <QString>
#include <QStringList>

#include <optional>

class ExposureStandards {
public:
    static constexpr int kRows = 15;
    static constexpr int kColumns = 8;
    static constexpr int kCountryColumn = 0;
    static constexpr int kCriterionColumn = 1;
    static constexpr int kExchangeRateColumn = 3;
    static constexpr int kEmptyColumn = 7;

    // What a row sets: the numbers of its two columns, 0 for "-".
    struct Preset {
        int criterionDb = 0;
        int exchangeRateDb = 0;
    };

    // The cell text; empty outside the table.
    static QString text(int row, int column);
    // The cell text in the user's language, for the window: the headings and the countries
    // have translations, the numbers read the same.
    static QString translated(int row, int column);
    // The countries of rows 1..14, as the table spells them.
    static QStringList countries();
    // The row of a country spelled exactly as in the table; nullopt for any other text.
    static std::optional<int> rowOf(const QString &country);
    // The preset of row 1..14.
    static Preset preset(int row);
    // A press on this cell runs a preset: a country name, below the heading row.
    static bool runsPreset(int row, int column);
};
