#pragma once

// An averaging run on a fake clock, fed display fields by hand: one tick per second.

#include "averaging/AverageRun.h"
#include "averaging/AverageState.h"
#include "link/Clock.h"
#include "link/Decoders.h"

#include <QDateTime>
#include <QStringList>

struct AverageRig {
    FakeClock clock{QDateTime(QDate(2009, 11, 30), QTime(10, 0))};
    AverageState state;
    AverageRun run{state, clock};
    DisplayFields display;

    AverageRig()
    {
        display.DbaMode = true;
        run.reset();
    }
    void setInterval(int seconds) { run.setInterval({QString(), seconds}); }
    bool start() { return run.Start(display, QStringLiteral("85"), QStringLiteral("5")); }
    // One second passes, then the timer ticks on `level`.
    AverageRun::Tick tick(float level)
    {
        clock.advance(1.0);
        display.LevelValue = level;
        return run.tick(display);
    }
    void ticks(int count, float level)
    {
        for (int i = 0; i < count; ++i)
            tick(level);
    }
    // Cells of a grid row (row 0 is the heading row).
    QStringList row(int gridRow) const
    {
        QStringList cells;
        for (int c = 0; c < run.grid().columnCount(); ++c)
            cells << run.grid().text(gridRow, c);
        return cells;
    }
    // Keys of the available toolbar buttons, in toolbar order.
    QString available() const
    {
        QStringList keys;
        for (const AverageRun::ToolbarEntry &entry : AverageRun::toolbar()) {
            if (run.isAvailable(entry.button))
                keys << entry.key;
        }
        return keys.join(QLatin1Char(' '));
    }
};
