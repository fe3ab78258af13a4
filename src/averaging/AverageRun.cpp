#include "averaging/AverageRun.h"

#include "link/Clock.h"
#include "link/Decibels.h"

#include <QTimer>

#include <cmath>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");
constexpr int kOverloadTenths = 1400; // the display's overload value, 140.0 dB
constexpr double kChartYMin = 68.0;
constexpr double kChartYMax = 140.0;
constexpr double kChartXMax = 20.0;

int tenthsOf(float db)
{
    return int(std::lround(double(db) * 10.0));
}

// Tenths as "whole.tenth", without a trailing ".0".
QString tenthsText(qint64 tenths, bool keepZeroTenth)
{
    const qint64 magnitude = tenths < 0 ? -tenths : tenths;
    QString text = QString::number(magnitude / 10);
    if (keepZeroTenth || magnitude % 10 != 0)
        text += QLatin1Char('.') + QString::number(magnitude % 10);
    return tenths < 0 ? QLatin1Char('-') + text : text;
}

} // namespace

const QList<AverageRun::ToolbarEntry> &AverageRun::toolbar()
{
    static const QList<ToolbarEntry> entries{
        {Button::Save, QStringLiteral("Save"), QStringLiteral("Save As")},
        {Button::Open, QStringLiteral("Open"), QStringLiteral("Open File")},
        {Button::Start, QStringLiteral("Start"), QStringLiteral("Run")},
        {Button::Pause, QStringLiteral("Pause"), QStringLiteral("Pause")},
        {Button::Stop, QStringLiteral("Stop"), QStringLiteral("Stop")},
        {Button::Interval, QStringLiteral("Interval"), QStringLiteral("Interval")},
        {Button::Print, QStringLiteral("Print"), QStringLiteral("Print")},
    };
    return entries;
}

QStringList AverageRun::columnHeadings()
{
    return RecordTable::recordHeadings() << QStringLiteral("LAeq");
}

QStringList AverageRun::columnWidthSamples()
{
    return {QStringLiteral("AAAAAA"), QStringLiteral("AA:AA:AAAAA"), QStringLiteral("AA:AA:AAA"),
            QStringLiteral("AAAAAAA"), QStringLiteral("AAAAAAA")};
}

AverageRun::AverageRun(AverageState &state, Clock &clock, QObject *parent)
    : QObject(parent), state_(state), clock_(clock), grid_(columnHeadings())
{
}

AverageRun::~AverageRun()
{
    // A timer that outlives its run must not keep ticking.
    if (timer_)
        timer_->stop();
}

void AverageRun::reset()
{
    labels_ = Labels();
    state_.IntervalText = QStringLiteral("00:00:10");
    state_.IntervalSeconds = 10;
    phase_ = Phase::Idle;
    saveAvailable_ = false;
    timerRunning_ = false;
    grid_.clearRecords();
    selectedRow_ = 0;
    topRow_ = 1;
    resetChart();
    emit chartReset();
    emit changed();
}

void AverageRun::stop()
{
    state_.RunPaused = false;
    phase_ = Phase::Idle;
    timerRunning_ = false;
    emit changed();
}

bool AverageRun::isAvailable(Button button) const
{
    switch (button) {
    case Button::Open:
    case Button::Print:
        return true;
    case Button::Save:
        return saveAvailable_;
    case Button::Start:
        return phase_ != Phase::Running;
    case Button::Pause:
        return phase_ == Phase::Running;
    case Button::Stop:
        return phase_ != Phase::Idle;
    case Button::Interval:
        return phase_ == Phase::Idle;
    }
    return false;
}

bool AverageRun::Start(const DisplayFields &display, const QString &criterion,
                       const QString &exchange)
{
    if (!isAvailable(Button::Start) || !display.DbaMode)
        return false;
    // A resume drops the samples of the interval the pause interrupted.
    state_.SampleCount = 0;
    state_.LevelSum = 0;
    state_.intervalEnergy = 0.0;
    if (phase_ == Phase::Idle) {
        state_.OverloadSeen = false;
        state_.MaxLevel = 0;
        state_.runEnergy = 0.0;
        state_.runEnergySamples = 0;
        const QDateTime now = clock_.now();
        labels_.startDate = now.toString(kDateFormat);
        labels_.startTime = now.toString(kTimeFormat);
        labels_.interval = state_.IntervalText;
        labels_.criterion = criterion;
        labels_.exchangeRate = exchange;
        labels_.runTime.clear();
        labels_.splMax.clear();
        labels_.peak.clear();
        labels_.laeq.clear();
        grid_.clearRecords();
        selectedRow_ = 0;
        topRow_ = 1;
        resetChart();
        emit chartReset();
    }
    state_.RunPaused = false;
    phase_ = Phase::Running;
    saveAvailable_ = true;
    timerRunning_ = true;
    emit changed();
    return true;
}

void AverageRun::Pause()
{
    if (!isAvailable(Button::Pause))
        return;
    // The timer keeps running; ticks sample nothing until Start resumes.
    state_.RunPaused = true;
    phase_ = Phase::Paused;
    emit changed();
}

void AverageRun::Stop()
{
    if (isAvailable(Button::Stop))
        endRun(false);
}

bool AverageRun::setInterval(const IntervalPrompt::Interval &interval)
{
    if (!isAvailable(Button::Interval))
        return false;
    state_.IntervalText = interval.text;
    state_.IntervalSeconds = interval.seconds;
    emit changed();
    return true;
}

void AverageRun::endRun(bool leftDba)
{
    state_.RunPaused = false;
    phase_ = Phase::Idle;
    timerRunning_ = false;
    // The run time counts completed intervals only.
    labels_.runTime = runTimeText(qint64(state_.IntervalSeconds) * state_.AverageCount);
    labels_.splMax = levelText(state_.MaxLevel);
    labels_.peak = state_.OverloadSeen ? QStringLiteral("Yes") : QStringLiteral("No");
    const std::optional<double> runLaeq = laeq(state_.runEnergy, state_.runEnergySamples);
    labels_.laeq = runLaeq ? laeqText(*runLaeq) : QStringLiteral("-");
    state_.AverageCount = 0;
    emit changed();
    emit runEnded(leftDba);
}

AverageRun::Tick AverageRun::tick(const DisplayFields &display)
{
    if (!timerRunning_)
        return Tick::Idle;
    if (!display.DbaMode) {
        endRun(true);
        return Tick::LeftDba;
    }
    if (state_.RunPaused)
        return Tick::Paused;
    // Under range counts as 67.9 dB and overload as 140.0 dB, the values the decoder gives.
    const int level = tenthsOf(display.LevelValue);
    state_.SampleCount += 1;
    state_.LevelSum += level;
    state_.intervalEnergy += energy(level);
    if (level == kOverloadTenths)
        state_.OverloadSeen = true;
    if (level > state_.MaxLevel)
        state_.MaxLevel = level;
    if (state_.SampleCount < state_.IntervalSeconds)
        return Tick::Sampled;
    completeInterval();
    return Tick::Recorded;
}

void AverageRun::completeInterval()
{
    // The arithmetic mean of the display values, rounded down to a tenth of a dB. Summed
    // in whole tenths, so a steady level averages to itself.
    const qint64 sum = state_.LevelSum;
    const qint64 count = state_.SampleCount;
    qint64 mean = sum / count;
    if (sum % count != 0 && sum < 0)
        --mean;
    state_.LastAverage = int(mean);
    state_.AverageCount += 1;

    // The newest rows stay in view: from the 9th record on the grid scrolls by one row.
    selectedRow_ = grid_.rows() - 1;
    if (selectedRow_ >= kScrollFromRow)
        ++topRow_;
    const std::optional<double> intervalLaeq = laeq(state_.intervalEnergy, count);
    const QDateTime now = clock_.now();
    grid_.appendRecord({QString::number(state_.AverageCount), now.toString(kDateFormat),
                        now.toString(kTimeFormat), levelCellText(state_.LastAverage),
                        QLatin1Char(' ') + laeqText(intervalLaeq.value_or(0.0))});
    appendPoint(state_.LastAverage / 10.0);

    state_.runEnergy += state_.intervalEnergy;
    state_.runEnergySamples += count;
    const std::optional<double> runLaeq = laeq(state_.runEnergy, state_.runEnergySamples);
    labels_.laeq = runLaeq ? laeqText(*runLaeq) : QString();

    state_.SampleCount = 0;
    state_.LevelSum = 0;
    state_.intervalEnergy = 0.0;
    emit changed();
}

void AverageRun::resetChart()
{
    chart_ = Chart();
    chart_.xMin = 0.0;
    chart_.xMax = kChartXMax;
    chart_.yMin = kChartYMin;
    chart_.yMax = kChartYMax;
    // The chart goes on from the last average of the run before, at x = 0. Before any
    // interval has been averaged there is none: a point at 0 dB would be a level that
    // never was, so the chart starts empty and the first record lands at x = 1.
    if (state_.LastAverage > 0) {
        chart_.firstX = 0.0;
        chart_.values = {state_.LastAverage / 10.0};
    } else {
        chart_.firstX = 1.0;
    }
}

void AverageRun::appendPoint(double y)
{
    const double x = chart_.firstX + double(chart_.values.size());
    chart_.values.append(y);
    emit pointAppended(x, y);
}

void AverageRun::open(const AvgFile::Content &content)
{
    if (!content.read)
        return;
    QString *const fields[AvgFile::kFieldCount] = {nullptr,
                                                   nullptr,
                                                   nullptr,
                                                   &labels_.startDate,
                                                   &labels_.startTime,
                                                   &labels_.interval,
                                                   &labels_.criterion,
                                                   &labels_.exchangeRate,
                                                   &labels_.runTime,
                                                   &labels_.splMax,
                                                   &labels_.peak};
    for (int f = 0; f < AvgFile::kFieldCount; ++f) {
        if (fields[f] && content.header[f])
            *fields[f] = *content.header[f];
    }
    // The file holds no LAeq: the previous run's would read as this file's.
    labels_.laeq = QStringLiteral("-");

    const RecordTable &opened = content.records;
    RecordTable table(columnHeadings());
    table.reserve(opened.recordCount(), 0);
    for (int r = 0; r < opened.recordCount(); ++r)
        table.appendRecordBytes({opened.cellBytes(r, 0), opened.cellBytes(r, 1),
                                 opened.cellBytes(r, 2), opened.cellBytes(r, 3)});
    grid_.setTable(std::move(table));
    selectedRow_ = 0;
    topRow_ = 1;

    // A file without records leaves the chart empty and its axes as they were.
    chart_.values.clear();
    if (opened.recordCount() > 0) {
        const PlotColumn plot = AvgFile::chart(opened);
        chart_.xMin = plot.xMin;
        chart_.xMax = plot.xMax;
        chart_.yMin = plot.yMin;
        chart_.yMax = plot.yMax;
        chart_.firstX = 1.0;
        chart_.values = plot.y;
    }
    emit chartReset();
    emit changed();
}

void AverageRun::driveTimer(QTimer &timer, const DisplayFields &live)
{
    timer_ = &timer;
    timer.setInterval(kTimerMilliseconds);
    connect(&timer, &QTimer::timeout, this, [this, &live] { tick(live); });
    // The timer is the receiver's context: once it is gone, nothing reaches it.
    connect(this, &AverageRun::changed, &timer, [this, &timer] {
        if (timerRunning_ && !timer.isActive())
            timer.start();
        else if (!timerRunning_ && timer.isActive())
            timer.stop();
    });
    if (timerRunning_)
        timer.start();
    else
        timer.stop();
}

AvgFile::Document AverageRun::document(const QString &job, const QString &name,
                                       const QString &id) const
{
    AvgFile::Document doc;
    doc.header = {job,
                  name,
                  id,
                  labels_.startDate,
                  labels_.startTime,
                  labels_.interval,
                  labels_.criterion,
                  labels_.exchangeRate,
                  labels_.runTime,
                  labels_.splMax,
                  labels_.peak};
    doc.records = grid_.table();
    return doc;
}

QString AverageRun::levelText(int tenthsDb)
{
    return tenthsText(tenthsDb, false);
}

QString AverageRun::levelCellText(int tenthsDb)
{
    return tenthsDb >= 0 ? QLatin1Char(' ') + levelText(tenthsDb) : levelText(tenthsDb);
}

QString AverageRun::runTimeText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds % 3600) / 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<double> AverageRun::laeq(double energySum, qint64 samples)
{
    if (samples <= 0 || !(energySum > 0.0))
        return std::nullopt;
    return Decibels::level(energySum / double(samples));
}

QString AverageRun::laeqText(double db)
{
    return tenthsText(std::llround(db * 10.0), true);
}

double AverageRun::energy(int tenthsDb)
{
    return Decibels::energyOfTenths(tenthsDb);
}
