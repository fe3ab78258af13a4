#pragma once

// The program's shared values beyond the instrument link: which windows are open,
// the data-file state and the logger download's results. Owned by the application,
// handed to the windows that use them.

#include <QByteArray>
#include <QString>

#include <array>

struct WindowFlags {
    bool ListWindowOpen = false;
    bool GraphWindowOpen = false;
    bool AnalogWindowOpen = false;
    bool DigitalWindowOpen = false;
    bool AverageWindowOpen = false;
};

struct FileState {
    QString CurrentFileName; // last path chosen in a save dialog
    bool FileChosen = false;
    bool RecordingActive = false;
};

// Results of the last logger download, kept until the next one.
struct LoggerResults {
    int RunCount = 0;
    int LoggerIdCode = 0;
    double LoggerInterval = 0.0;         // seconds
    std::array<QByteArray, 256> RunData; // RunData[k]: raw bytes of run k (1..255)
    bool DownloadBusy = false;
};

struct AppState {
    WindowFlags windows;
    FileState files;
    LoggerResults logger;
};
