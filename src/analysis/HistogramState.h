#pragma once

// What the two histogram windows share: the record range last counted and whether a
// window is being set up. Owned by the application, handed to both windows.

struct HistogramState {
    // Records numbered from 1 (the grid's row 1); 1 and N after opening, the limit
    // panel's range after a recount.
    int HistFirstRecord = 0;
    int HistLastRecord = 0;
    // True while a histogram window is being set up: its field changes are then the
    // setup's own and recount nothing.
    bool HistLoading = false;
};
