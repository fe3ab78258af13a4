#pragma once

// The main window's sampler (samplingTimer_, every 100 ms): every SampleTicks ticks it takes the
// level the main window shows, stamps it with the PC's date and time (to the tenth of a
// second), writes it to the recording file while a recording runs and hands it to the
// list window while that is open. It also holds the sample period and the recording's
// course: file chosen, recording, stopped. The main window and `dosemeter-cli record`
// drive it; it never talks to the meter.

#include "data/RecordingFile.h"

#include <QString>
#include <QStringList>

#include <optional>

class Clock;
struct FileState;

class Sampler {
public:
    static constexpr int kTimerMilliseconds = 100;
    // 2 s at start; 0.2 s to 60 s.
    static constexpr int kDefaultTicks = 20;
    static constexpr int kMinTicks = 2;
    static constexpr int kMaxTicks = 600;
    // A recording, and the list window, end at this many records (24 hours at 1 s).
    static constexpr int kMaxRecords = 86400;
    // A level shown longer than this after the last display frame is not the meter's
    // level any more (the meter is out of reach, or a command holds it): no sample.
    static constexpr double kStaleSeconds = 2.0;
    // The level of a display frame decoded at `frameSeconds` is still the meter's level at
    // `nowSeconds` (monotonic seconds both).
    static bool fresh(double frameSeconds, double nowSeconds)
    {
        return nowSeconds - frameSeconds <= kStaleSeconds;
    }

    // The sample-period dialog's texts, untranslated: the main window shows them in its
    // language.
    struct PeriodDialog {
        const char *title;
        const char *prompt;
    };
    static const PeriodDialog kPeriodDialog;
    // The period an answer asks for, in seconds: the leading number, 0.2 when below 0.2
    // or not a number, 60 when above 60. nullopt for an empty answer (keep the period).
    static std::optional<double> periodFromAnswer(const QString &answer);

    // Why a recording or the list ended.
    enum class End {
        None,
        ByUser,      // "Stop Recording", or the program closed
        RecordLimit, // kMaxRecords reached
        LeftDba,     // the meter's display left dBA mode
        WriteFailed, // the file could not be written (`error` says why)
    };

    struct Tick {
        bool sampled = false; // a sample was taken (the other fields are about it)
        QString lastTime;     // "hh:mm:ss", for "Last Time"
        QStringList record;   // date, time (with tenths), level
        int recordNumber = 0; // > 0: written to the recording file as this number
        End recordingEnded = End::None;
        QString error;             // WriteFailed: the reason
        int recordsInFile = 0;     // when the recording ended: the records in the file
        int listRow = 0;           // > 0: append this row number and the record to the list
        End listEnded = End::None; // close the list window
    };

    Sampler(FileState &files, Clock &clock);

    // One tick. `level`: the main window's value text; `fresh`: it comes from a display
    // frame decoded less than kStaleSeconds ago; `listOpen`: the list window is open.
    Tick tick(const QString &level, bool dbaMode, bool fresh, bool listOpen);

    // Sample period in ticks of 100 ms.
    int SampleTicks() const { return sampleTicks_; }
    void setPeriod(double seconds);
    // "2": the period in seconds, as the dialog offers it.
    QString periodText() const;
    // "2 Sec", in the user's language.
    QString periodLabel() const;

    // The recording's course. A file chosen with "Open" may be recorded into once;
    // another recording needs another "Open".
    void chooseFile(const QString &path);
    QString chosenFile() const { return chosenFile_; }
    bool startAvailable() const { return !chosenFile_.isEmpty() && !recording(); }
    bool recording() const;
    // Creates the chosen file with its heading line and starts recording. Empty on
    // success; else the reason, and nothing has changed.
    QString startRecording();
    // Ends the recording (the file stays as written). Returns the records in the file.
    int stopRecording();
    int RecordCount() const { return recordCount_; }
    QString recordingPath() const { return file_.path(); }

    // Rows handed to the list window since it opened.
    int ListRowCount() const { return listRowCount_; }
    void resetListRows() { listRowCount_ = 0; }

private:
    FileState &files_;
    Clock &clock_;
    int sampleTicks_ = kDefaultTicks;
    int tickCounter_ = 0;
    int recordCount_ = 0;
    int listRowCount_ = 0;
    QString chosenFile_;
    RecordingFile file_;
};
