#pragma once

// The dose event banks as the process keeps them. Owned by the application and handed
// to the event window and its downloads.

#include <QByteArray>

#include <array>

struct BankState {
    // BankData[n]: the 20 register bytes of bank n (1..5) from its last download, in
    // register order, with the stop time the meter holds once the download has
    // corrected it. Emptied when a download of the bank starts; stays empty when the
    // bank could not be read. BankData[0] is not used.
    std::array<QByteArray, 6> BankData;
    // The last download command read all five banks: progress runs over the five.
    bool AllBanksMode = false;
};
