#pragma once

// An averaging run as the averaging window shows it. Once a second (averagingTimer_) the run
// samples the level the main window's poll decoded last; at the end of every interval
// it appends a record (number, PC date, PC time, mean level) to the grid and a point to
// the chart. It keeps the run's maximum, whether the meter reported overload, and the
// run's LAeq. The window forwards its toolbar clicks and timer ticks here and shows what
// this class holds: labels, toolbar availability, grid, grid position and chart.

#include "averaging/AverageState.h"
#include "averaging/AvgFile.h"
#include "averaging/IntervalPrompt.h"
#include "data/RecordGrid.h"
#include "link/Decoders.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class Clock;
class QTimer;

class AverageRun : public QObject {
    Q_OBJECT
public:
    enum class Button { Save, Open, Start, Pause, Stop, Interval, Print };
    struct ToolbarEntry {
        Button button;
        QString key;
        QString toolTip;
    };
    // The toolbar's buttons in their order, with their keys and tool tips.
    static const QList<ToolbarEntry> &toolbar();

    enum class Phase { Idle, Running, Paused };
    // What one tick did.
    enum class Tick {
        Idle,     // no run: the timer should not be running
        Paused,   // the run is paused; nothing sampled
        Sampled,  // one sample taken, the interval goes on
        Recorded, // the sample completed an interval: a record was appended
        LeftDba,  // the meter's display left dBA mode: the run ended as Stop ends it
    };

    struct Labels {
        QString startDate, startTime, interval, criterion, exchangeRate;
        QString runTime, splMax, peak;
        // The run's LAeq so far, one decimal; "-" at the end of a run without a record.
        QString laeq;
    };

    // The strip chart: axis ranges and the plotted values, values[i] at X = firstX + i.
    struct Chart {
        double xMin = 0.0, xMax = 20.0;
        double yMin = 68.0, yMax = 140.0; // dB
        double firstX = 0.0;
        QVector<double> values; // dB
    };

    static constexpr int kTimerMilliseconds = 1000;
    // Grid rows from this index on scroll the grid by one row per record.
    static constexpr int kScrollFromRow = 8;
    // The optional fifth column, the interval's LAeq; not written to files.
    static constexpr int kLaeqColumn = 4;

    // "No.s", "Date", "Time", "dBA", "LAeq".
    static QStringList columnHeadings();
    // Each column is as wide as its sample text in the window's font.
    static QStringList columnWidthSamples();

    AverageRun(AverageState &state, Clock &clock, QObject *parent = nullptr);
    ~AverageRun() override;

    // The window's load step: empty labels, interval 10 s, the chart with the last average.
    void reset();
    // The window's unload: the run is left as it stands (no end-run procedure) and its
    // timer stops.
    void stop();

    // Toolbar commands; each does nothing while its button is unavailable.
    // Start: a fresh run, or the resume of a paused one; only in dBA mode. `criterion` and
    // `exchange` are the main window's captions for the meter's settings. True when the
    // run (re)started.
    bool Start(const DisplayFields &display, const QString &criterion, const QString &exchange);
    void Pause();
    void Stop();
    // The interval for the next fresh run (the prompt's result). False while unavailable.
    bool setInterval(const IntervalPrompt::Interval &interval);
    // Shows an opened file: header values in the labels (Job, Name and Id are the
    // window's text boxes), its records in the grid and their chart. A run goes on and
    // appends after them. Nothing changes when the file could not be read at all.
    void open(const AvgFile::Content &content);

    // One tick of averagingTimer_ on the level as last decoded.
    Tick tick(const DisplayFields &display);
    // Lets `timer` (the window's averagingTimer_) tick this run on `live` (the shared display
    // fields, which must outlive the timer), and starts and stops it with the run.
    void driveTimer(QTimer &timer, const DisplayFields &live);

    Phase phase() const { return phase_; }
    // The one place that decides every toolbar button's availability.
    bool isAvailable(Button button) const;
    bool timerRunning() const { return timerRunning_; }
    const Labels &labels() const { return labels_; }
    // Grid rows as the grid counts them: row 0 is the heading row.
    RecordGrid &grid() { return grid_; }
    const RecordGrid &grid() const { return grid_; }
    // The selected row and the first visible record row (1 = no scrolling).
    int selectedRow() const { return selectedRow_; }
    int topRow() const { return topRow_; }
    const Chart &chart() const { return chart_; }
    const AverageState &state() const { return state_; }

    // What Save writes and Print prints, with the window's three text boxes.
    AvgFile::Document document(const QString &job, const QString &name, const QString &id) const;

    // Level texts from tenths of a dB: "85", "94.5" (the maximum) and " 85", " 90.3"
    // (grid cells, a blank before a value that is not negative).
    static QString levelText(int tenthsDb);
    static QString levelCellText(int tenthsDb);
    // "hh:mm:ss"; hours beyond 23 are shown as they are.
    static QString runTimeText(qint64 seconds);
    // 10·log10 of the mean of 10^(L/10); nullopt without samples.
    static std::optional<double> laeq(double energySum, qint64 samples);
    // One decimal, rounded to nearest: "97.0".
    static QString laeqText(double db);
    // 10^(L/10) of a level in tenths of a dB.
    static double energy(int tenthsDb);

signals:
    // Labels, toolbar availability, timer or grid position changed.
    void changed();
    // The chart's axes or values were replaced: draw it anew.
    void chartReset();
    // One value was appended to the chart at X = x.
    void pointAppended(double x, double y);
    // The end-run procedure ran: Stop, or a tick outside dBA mode (`leftDba`).
    void runEnded(bool leftDba);

private:
    void endRun(bool leftDba);
    void resetChart();
    void appendPoint(double y);
    void completeInterval();

    AverageState &state_;
    Clock &clock_;
    Phase phase_ = Phase::Idle;
    bool saveAvailable_ = false; // from this window's first Start on
    bool timerRunning_ = false;
    Labels labels_;
    RecordGrid grid_;
    int selectedRow_ = 0;
    int topRow_ = 1;
    Chart chart_;
    QPointer<QTimer> timer_;
};
