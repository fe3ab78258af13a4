#pragma once

// The program's shared values beyond the instrument link, gathered from the subsystems
// that own them. Owned by the application, handed to the windows that use them.

#include "analysis/HistogramState.h"
#include "averaging/AverageState.h"
#include "banks/BankState.h"
#include "data/FileState.h"
#include "data/LoggerResults.h"
#include "library/LibraryState.h"

// Windows of which the main window opens one at a time: set while the window is open.
struct WindowFlags {
    bool ListWindowOpen = false;
    bool GraphWindowOpen = false;
    bool AnalogWindowOpen = false;
    bool DigitalWindowOpen = false;
    bool AverageWindowOpen = false;
};

struct AppState {
    WindowFlags windows;
    FileState files;
    LoggerResults logger;
    BankState banks;
    AverageState average; // kept while the Average window closes and opens again
    HistogramState histogram;
    LibraryState library;
};
