#pragma once

// The averaging window's state. It outlives the window: closing the window and opening
// it again keeps the last average (the chart's first point of the next run) and the
// record count of a run that was left without Stop. Owned by the application.
//
// Levels are kept in integer tenths of a dB, as the meter's display shows them, so that
// sums and means are exact.

#include <QString>

#include <QtGlobal>

struct AverageState {
    int IntervalSeconds = 0;   // interval length; 0 makes a record on every tick
    QString IntervalText;      // the interval as "hh:mm:ss"
    int SampleCount = 0;       // samples in the current interval
    qint64 LevelSum = 0;       // tenths of a dB: sum of the current interval's samples
    int LastAverage = 0;       // tenths of a dB: mean of the last completed interval, rounded down
    int AverageCount = 0;      // completed intervals of the run: the newest record's number
    int MaxLevel = 0;          // tenths of a dB: highest sample of the run
    bool OverloadSeen = false; // some sample of the run was 140.0 (overload)
    bool RunPaused = false;

    // Sums of 10^(L/10) for the equivalent continuous level (LAeq).
    double intervalEnergy = 0.0; // samples of the current interval
    double runEnergy = 0.0;      // samples of the run's completed intervals
    qint64 runEnergySamples = 0; // how many samples runEnergy holds
};
