#pragma once

// Holds DownloadBusy, with the main window's poll stopped, for the length of one logger
// command (download, listing, register writes, erase). However the command ends, the
// destructor clears the flag and starts the poll again.

#include "data/LoggerResults.h"
#include "link/Meter.h"

class LoggerBusy {
public:
    LoggerBusy(LoggerResults &results, Meter &meter) : results_(results), meter_(meter)
    {
        results_.DownloadBusy = true;
        meter_.setPollEnabled(false);
    }
    ~LoggerBusy()
    {
        results_.DownloadBusy = false;
        meter_.setPollEnabled(true);
    }
    LoggerBusy(const LoggerBusy &) = delete;
    LoggerBusy &operator=(const LoggerBusy &) = delete;

private:
    LoggerResults &results_;
    Meter &meter_;
};
