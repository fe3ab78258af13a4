#pragma once

// The arithmetic of levels, written once: a level in dB stands for a sound energy
// 10^(L/10), energies add and average, and the level of an energy is 10 lg E. Every
// equivalent level, daily exposure and weekly exposure of the program is made of these.

#include <cmath>

namespace Decibels {

// The reference day of the daily exposure LEX,8h.
constexpr double kEightHours = 8.0;

// 10^(L/10): the relative energy of a level in dB.
inline double energy(double db)
{
    return std::pow(10.0, db / 10.0);
}

// The energy of a level given in tenths of a dB, as the meter counts it.
inline double energyOfTenths(int tenthsDb)
{
    return std::pow(10.0, tenthsDb / 100.0);
}

// 10 lg E: the level in dB of a relative energy.
inline double level(double energy)
{
    return 10.0 * std::log10(energy);
}

// 10 lg(T / 8 h): what turns an equivalent level over a day of `hours` into LEX,8h.
inline double eightHourOffset(double hours)
{
    return level(hours / kEightHours);
}

// The sum of the energies of a list of levels in dB.
template <typename Levels> double energySum(const Levels &levelsDb)
{
    double sum = 0.0;
    for (double db : levelsDb)
        sum += energy(db);
    return sum;
}

// The energy mean of a list of levels, 10 lg(mean of 10^(L/10)); the list is not empty.
template <typename Levels> double energyMean(const Levels &levelsDb)
{
    return level(energySum(levelsDb) / double(levelsDb.size()));
}

} // namespace Decibels
