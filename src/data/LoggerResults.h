#pragma once

// Results of the last logger download, kept until the next one, and the flag that keeps
// logger commands (download, listing, register writes, erase) from overlapping.

#include <QByteArray>

#include <array>

struct LoggerResults {
    int RunCount = 0;
    int LoggerIdCode = 0;
    double LoggerInterval = 0.0;         // seconds
    std::array<QByteArray, 256> RunData; // RunData[k]: raw bytes of run k (1..255)
    bool DownloadBusy = false;
};
