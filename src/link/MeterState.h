#pragma once

// The process-wide values of the instrument link, owned by the application and handed
// to whatever needs them.

#include "link/Decoders.h"

#include <QByteArray>

struct LinkState {
    int ComPortNumber = 0; // 1..8 for COM1..COM8, 0 for any other port
    bool RefreshPending = false;
    bool RefreshBusy = false;
    int LastByte = 0;       // data byte of the last successful readByte
    char LastRawByte = 0;   // data byte of the last successful readRawByte
    bool KeyPacing = false; // key commands wait 2 s more
};

struct MeterState {
    LinkState link;
    StatusFields status;
    DisplayFields display;
    int ThresholdLevel = -1; // dB, from register 0x3B; -1 until the first refresh
};
