#pragma once

// Reads the meter's dose event banks into the event window's grid: all five banks or
// one, from the window's OK button, its "&Bank" menu or a click in the grid.
//
// A bank read (readBank) stops the main window's poll, reads register 0x65 once, then
// the bank's 20 registers one by one, and decodes them into the bank's column. For a
// used bank it reads the bank's time copy at 0x79FB + 6n: when the copy has the bank's
// start but another stop time, the copy's stop time is written into the bank and shown;
// otherwise the bank's start and stop are written into the copy. An unused bank's copy
// is erased (0xFF). The poll starts again at the end of every bank read.
//
// The bank the meter is recording into is not read while it runs (for a single bank,
// also while it is only paused): its column shows the run state instead ("Running"/"Pause" from the
// OK button and single banks, "RUN"/"PAUSE" from the menu's "E1-E5"). The run state is the display
// frame's, as the poll last decoded it into MeterState.
//
// A register that does not answer is asked again with readByte's retries; a bank that
// still cannot be read shows " Read failed" and the read goes on with the next bank.
// Every register of the bank and of its time copy is read twice (three times when the
// two differ) and taken only when two reads agree: the line has no checksum, and a
// damaged byte would be shown as the bank's or written back into the meter. Three
// different replies fail the bank like a silent register.
// A failed read of the time copy leaves the copy and the bank as they are. When the
// meter is silent for good (a bounded settings refresh gave up) the bank being read is
// marked failed and the command ends (NoAnswer). When `cancelled` says so or the
// program closes, it ends at once, touching neither the grid nor the callbacks again;
// the poll is started again all the same.
//
// One object serves one window: a command started while another runs is refused.

#include "banks/BankRecord.h"

#include <QList>
#include <QMetaObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class BankGrid;
class Meter;
struct BankState;

class BankDownload {
public:
    // Where the command came from: the menu's commands wait for the settings refresh
    // and name the recording bank's state "RUN"/"PAUSE" in an all-banks read.
    enum class Origin { OkButton, Menu };

    enum class Outcome {
        Done,      // every bank asked for was read, shown with its run state, or marked
                   // failed (see failedBanks)
        Refused,   // a menu command while the settings refresh runs, a command while
                   // another runs, or no bank to read; nothing was sent
        Cancelled, // `cancelled` said so or the program is closing
        NoAnswer,  // the meter stopped answering; the banks after it were not read
    };

    struct Result {
        Outcome outcome = Outcome::Done;
        QList<int> failedBanks; // banks marked " Read failed"
        QString message;        // for the user; empty when everything was read
    };

    // Row 1 words for the bank that is recording.
    static inline const QString kRunningWord = QStringLiteral("Running");
    static inline const QString kPauseWord = QStringLiteral("Pause");
    static inline const QString kMenuRunningWord = QStringLiteral("RUN");
    static inline const QString kMenuPauseWord = QStringLiteral("PAUSE");

    // Extra wait after each write that erases a time copy, on top of writeByte's own.
    static constexpr double kEraseWaitSeconds = 0.02;

    BankDownload(Meter &meter, BankState &banks, BankGrid &grid);
    ~BankDownload();
    BankDownload(const BankDownload &) = delete;
    BankDownload &operator=(const BankDownload &) = delete;

    // Show (true) or hide the progress panel progress_.
    std::function<void(bool visible)> progressShown;
    // The progress panel's fill, 0..100: after every bank byte, the byte's address
    // - 60 over all five banks (0..99), 5 x its position in the bank otherwise (0..95).
    std::function<void(int percent)> progress;
    // Rows 1..15 of a bank's column have new texts.
    std::function<void(int bank)> columnChanged;
    // Asked after every exchange: true ends the command quietly (the window has gone).
    std::function<bool()> cancelled;

    // "E1 - E5" (OK button) and "E1-E5" (menu).
    Result readAll(Origin origin);
    // "E1".."E5" (OK button and menu): bank 1..5.
    Result readOne(int bank, Origin origin);
    // A click in the grid: reads the bank of a bank column (1..5), nothing for column 0,
    // without the run-state test and without the progress panel.
    Result readClicked(int column);

    bool busy() const { return busy_; }

    // Reads bank BkNo (1..5) and fills its column. Used by the commands above; a caller
    // of its own restores the grid's layout first.
    enum class BankOutcome { Read, Failed, Stopped };
    BankOutcome readBank(int BkNo);

private:
    bool quitRequested() const;
    // One register of the bank: readRawByte, then readByte's retries, then confirmed;
    // nullopt on failure.
    std::optional<quint8> readBankByte(int address);
    // `first` once another read of the register gives it too, or the majority of three
    // reads; nullopt when a read fails or all three differ.
    std::optional<quint8> confirmedByte(int address, quint8 first);
    bool readTimeCopy(int bank, std::array<quint8, 6> &copy);
    void showColumn(int bank, const BankRecord::Texts &texts);
    void showProgress(bool visible);
    // Names the failed banks in the result's message.
    Result finish(Result result, bool allBanks);

    Meter &meter_;
    BankState &banks_;
    BankGrid &grid_;
    QMetaObject::Connection silentConnection_;
    bool silent_ = false;
    bool busy_ = false;
    QList<int> failed_;
};
