#include "config/ExposureStandards.h"

#include "link/Decoders.h"

#include <QCoreApplication>

#include <array>

namespace {

using Row = std::array<const char *, ExposureStandards::kColumns>;

// clang-format off
constexpr std::array<Row, ExposureStandards::kRows> kTable{{
    {QT_TRANSLATE_NOOP("ExposureStandards", "Country"), QT_TRANSLATE_NOOP("ExposureStandards", "Criterion level dBA"), QT_TRANSLATE_NOOP("ExposureStandards", "Exposure time"), QT_TRANSLATE_NOOP("ExposureStandards", "Exchange Rate"), QT_TRANSLATE_NOOP("ExposureStandards", "MAX SPL"), QT_TRANSLATE_NOOP("ExposureStandards", "Peak SPL"), QT_TRANSLATE_NOOP("ExposureStandards", "Allowable/per day"), ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Germany"),   "90", "8",  "-", "-",   "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "France"),    "90", "40", "-", "-",   "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Belgium"),   "90", "40", "5", "110", "140", "100", ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "U.K"),       "90", "8",  "3", "135", "150", "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Ireland"),   "90", "-",  "-", "-",   "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Italy"),     "90", "8",  "5", "115", "140", "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Denmark"),   "90", "40", "3", "115", "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Sweden"),    "85", "40", "3", "115", "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "U.S.A"),     "90", "8",  "5", "115", "140", "100", ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Canada"),    "90", "8",  "5", "115", "140", "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Australia"), "90", "8",  "3", "115", "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Japan"),     "85", "8",  "3", "-",   "-",   "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Taiwan"),    "90", "8",  "5", "115", "140", "-",   ""},
    {QT_TRANSLATE_NOOP("ExposureStandards", "Brazil"),    "85", "8",  "5", "130", "-",   "100", ""},
}};
// clang-format on

} // namespace

QString ExposureStandards::text(int row, int column)
{
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return QString();
    return QString::fromLatin1(kTable[size_t(row)][size_t(column)]);
}

QString ExposureStandards::translated(int row, int column)
{
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return QString();
    return QCoreApplication::translate("ExposureStandards", kTable[size_t(row)][size_t(column)]);
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
