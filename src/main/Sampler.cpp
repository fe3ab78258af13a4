#include "main/Sampler.h"

#include "data/FileState.h"
#include "link/Clock.h"
#include "link/Decoders.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinSeconds = 0.2;
constexpr double kMaxSeconds = 60.0;

} // namespace

const Sampler::PeriodDialog Sampler::kPeriodDialog{
    QT_TRANSLATE_NOOP("MainWindow", "Dose Meter - Change sample rate"),
    QT_TRANSLATE_NOOP("MainWindow", "Enter a value from .2 to 60 second\r\n")};

std::optional<double> Sampler::periodFromAnswer(const QString &answer)
{
    if (answer.trimmed().isEmpty())
        return std::nullopt;
    const double value = leadingNumber(answer);
    if (std::isnan(value) || value < kMinSeconds)
        return kMinSeconds;
    if (value > kMaxSeconds)
        return kMaxSeconds;
    return value;
}

Sampler::Sampler(FileState &files, Clock &clock) : files_(files), clock_(clock)
{
}

void Sampler::setPeriod(double seconds)
{
    const long long ticks = std::llround(seconds * 10.0);
    sampleTicks_ = int(std::clamp<long long>(ticks, kMinTicks, kMaxTicks));
}

QString Sampler::periodText() const
{
    return QString::number(sampleTicks_ / 10.0);
}

QString Sampler::periodLabel() const
{
    return QCoreApplication::translate("Sampler", "%1 Sec").arg(periodText());
}

void Sampler::chooseFile(const QString &path)
{
    chosenFile_ = path;
}

bool Sampler::recording() const
{
    return files_.RecordingActive;
}

QString Sampler::startRecording()
{
    if (!startAvailable())
        return QStringLiteral("no file has been chosen");
    if (const QString error = file_.create(chosenFile_); !error.isEmpty())
        return error;
    // The file is used up: recording into it again would replace this recording.
    chosenFile_.clear();
    recordCount_ = 0;
    files_.RecordingActive = true;
    return {};
}

int Sampler::stopRecording()
{
    const int records = recordCount_;
    file_.close();
    files_.RecordingActive = false;
    recordCount_ = 0;
    return records;
}

Sampler::Tick Sampler::tick(const QString &level, bool dbaMode, bool fresh, bool listOpen)
{
    Tick tick;
    if (tickCounter_ != 0 && tickCounter_ < sampleTicks_) {
        ++tickCounter_;
        return tick;
    }
    tickCounter_ = 1;
    // A level the meter did not just send would be recorded as if it had been measured
    // now; the time column shows the gap instead.
    if (!fresh)
        return tick;

    // Date and time from one reading of the clock, so that a sample at midnight does not
    // get the old day's date with the new day's time.
    const QDateTime now = clock_.now();
    const QTime time = now.time();
    tick.sampled = true;
    tick.lastTime = time.toString(QStringLiteral("hh:mm:ss"));
    const QString timeText = tick.lastTime + QLatin1Char('.') + QString::number(time.msec() / 100);
    tick.record = {now.date().toString(QStringLiteral("yyyy/MM/dd")), timeText, level};

    // Outside dBA mode the display shows a dose, a clock or a menu, not a level: that
    // sample ends the recording and the list instead of going into them as a level.
    if (files_.RecordingActive) {
        if (!dbaMode) {
            tick.recordsInFile = recordCount_;
            stopRecording();
            tick.recordingEnded = End::LeftDba;
        } else {
            const int number = recordCount_ + 1;
            const QString error = file_.append(QStringList{QString::number(number)} + tick.record);
            if (!error.isEmpty()) {
                tick.recordsInFile = recordCount_;
                tick.error = error;
                tick.recordingEnded = End::WriteFailed;
                stopRecording();
            } else {
                recordCount_ = number;
                tick.recordNumber = number;
                if (recordCount_ >= kMaxRecords) {
                    tick.recordsInFile = recordCount_;
                    stopRecording();
                    tick.recordingEnded = End::RecordLimit;
                }
            }
        }
    }

    if (listOpen) {
        if (!dbaMode) {
            listRowCount_ = 0;
            tick.listEnded = End::LeftDba;
        } else {
            tick.listRow = ++listRowCount_;
            if (listRowCount_ >= kMaxRecords) {
                listRowCount_ = 0;
                tick.listEnded = End::RecordLimit;
            }
        }
    }
    return tick;
}
