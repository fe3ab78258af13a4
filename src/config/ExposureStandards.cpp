#include "config/ExposureStandards.h"

#include "link/Decoders.h"

#include <array>

namespace {

using Row = std::array<const char *, ExposureStandards::kColumns>;

// clang-format off
constexpr std::array<Row, ExposureStandards::kRows> kTable{{
    {"Country", "Criterion level dBA", "Exposure time", "Exchange Rate", "MAX SPL", "Peak SPL", "Allowable/per day", ""},
    {"Germany",   "90", "8",  "-", "-",   "-",   "-",   ""},
    {"France",    "90", "40", "-", "-",   "-",   "-",   ""},
    {"Belgium",   "90", "40", "5", "110", "140", "100", ""},
    {"U.K",       "90", "8",  "3", "135", "150", "-",   ""},
    {"Ireland",   "90", "-",  "-", "-",   "-",   "-",   ""},
    {"Italy",     "90", "8",  "5", "115", "140", "-",   ""},
    {"Denmark",   "90", "40", "3", "115", "-",   "-",   ""},
    {"Sweden",    "85", "40", "3", "115", "-",   "-",   ""},
    {"U.S.A",     "90", "8",  "5", "115", "140", "100", ""},
    {"Canada",    "90", "8",  "5", "115", "140", "-",   ""},
    {"Australia", "90", "8",  "3", "115", "-",   "-",   ""},
    {"Japan",     "85", "8",  "3", "-",   "-",   "-",   ""},
    {"Taiwan",    "90", "8",  "5", "115", "140", "-",   ""},
    {"Brazil",    "85", "8",  "5", "130", "-",   "100", ""},
}};
// clang-format on

} // namespace

QString ExposureStandards::text(int row, int column)
{
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return QString();
    return QString::fromLatin1(kTable[size_t(row)][size_t(column)]);
}

QStringList ExposureStandards::countries()
{
    QStringList names;
    for (int row = 1; row < kRows; ++row)
        names << text(row, kCountryColumn);
    return names;
}

std::optional<int> ExposureStandards::rowOf(const QString &country)
{
    for (int row = 1; row < kRows; ++row) {
        if (text(row, kCountryColumn) == country)
            return row;
    }
    return std::nullopt;
}

ExposureStandards::Preset ExposureStandards::preset(int row)
{
    // The program's one rule for numbers in text: "-" reads as 0, no value.
    return {int(leadingNumber(text(row, kCriterionColumn))),
            int(leadingNumber(text(row, kExchangeRateColumn)))};
}

bool ExposureStandards::runsPreset(int row, int column)
{
    return column == kCountryColumn && row >= 1 && row < kRows;
}
