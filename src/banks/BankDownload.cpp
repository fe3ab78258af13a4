#include "banks/BankDownload.h"

#include "banks/BankGrid.h"
#include "banks/BankState.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

constexpr int kCopyLength = 6;
// All-banks progress: bank 1's first register is 0x3C (60), so the address - 60 runs
// from 0 to 99 over the five banks.
constexpr int kAllBanksProgressOrigin = 60;
constexpr int kSingleBankProgressStep = 5;
constexpr quint8 kErased = 0xFF;

QString bankName(int bank)
{
    return QStringLiteral("E%1").arg(bank);
}

// Stops the poll for one bank read and starts it again however the read ends.
class PollPause {
public:
    explicit PollPause(Meter &meter) : meter_(meter) { meter_.setPollEnabled(false); }
    ~PollPause() { meter_.setPollEnabled(true); }
    PollPause(const PollPause &) = delete;
    PollPause &operator=(const PollPause &) = delete;

private:
    Meter &meter_;
};

class BusyFlag {
public:
    explicit BusyFlag(bool &flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag &) = delete;
    BusyFlag &operator=(const BusyFlag &) = delete;

private:
    bool &flag_;
};

} // namespace

BankDownload::BankDownload(Meter &meter, BankState &banks, BankGrid &grid)
    : meter_(meter), banks_(banks), grid_(grid)
{
    // Only a bounded settings refresh gives up; the desktop's waits for the meter.
    silentConnection_ = QObject::connect(&meter, &Meter::meterSilent, [this] { silent_ = true; });
}

BankDownload::~BankDownload()
{
    QObject::disconnect(silentConnection_);
}

bool BankDownload::quitRequested() const
{
    return meter_.aborted() || (cancelled && cancelled());
}

void BankDownload::showProgress(bool visible)
{
    if (progressShown)
        progressShown(visible);
    if (visible && progress)
        progress(0);
}

void BankDownload::showColumn(int bank, const BankRecord::Texts &texts)
{
    grid_.setBankTexts(bank, texts);
    if (columnChanged)
        columnChanged(bank);
}

std::optional<quint8> BankDownload::readBankByte(int address)
{
    std::optional<quint8> first;
    if (meter_.readRawByte(address))
        first = quint8(meter_.state().link.LastRawByte);
    if (quitRequested() || silent_)
        return std::nullopt;
    // A lost or damaged reply is asked for again rather than taken from the byte before.
    if (!first && meter_.readByte(address))
        first = quint8(meter_.state().link.LastByte);
    if (!first)
        return std::nullopt;
    return confirmedByte(address, *first);
}

std::optional<quint8> BankDownload::confirmedByte(int address, quint8 first)
{
    // A reply has no checksum: a damaged byte would be shown, and it may decide what is
    // written back into the bank or its time copy. So a value counts once a second read
    // gives it too; on a mismatch a third read decides by majority.
    if (!meter_.readByte(address) || quitRequested())
        return std::nullopt;
    const quint8 second = quint8(meter_.state().link.LastByte);
    if (second == first)
        return first;
    if (!meter_.readByte(address) || quitRequested())
        return std::nullopt;
    const quint8 third = quint8(meter_.state().link.LastByte);
    if (third == first || third == second)
        return third;
    return std::nullopt;
}

bool BankDownload::readTimeCopy(int bank, std::array<quint8, 6> &copy)
{
    const int start = MemoryMap::bankTimeCopyAddress(bank);
    for (int k = 0; k < kCopyLength; ++k) {
        if (!meter_.readByte(start + k) || quitRequested())
            return false;
        const std::optional<quint8> byte =
            confirmedByte(start + k, quint8(meter_.state().link.LastByte));
        if (!byte)
            return false;
        copy[k] = *byte;
    }
    return true;
}

BankDownload::BankOutcome BankDownload::readBank(int BkNo)
{
    const int n = BkNo;
    if (n < 1 || n > MemoryMap::kBankCount)
        return BankOutcome::Failed;
    PollPause pause(meter_);
    banks_.BankData[n].clear();
    const int base = MemoryMap::bankAddress(n);
    const auto fail = [&] {
        failed_.append(n);
        showColumn(n, BankRecord::failedTexts());
        return BankOutcome::Failed;
    };

    // The meter wants this register read before a bank; its value means nothing here.
    meter_.readByte(MemoryMap::kBankPrimer);
    if (quitRequested())
        return BankOutcome::Stopped;
    if (silent_)
        return fail();

    QByteArray record;
    for (int a = base; a < base + BankRecord::kLength; ++a) {
        if (quitRequested())
            return BankOutcome::Stopped;
        const std::optional<quint8> byte = readBankByte(a);
        if (quitRequested())
            return BankOutcome::Stopped;
        if (!byte)
            return fail();
        record.append(char(*byte));
        if (progress)
            progress(banks_.AllBanksMode ? a - kAllBanksProgressOrigin
                                         : kSingleBankProgressStep * (a - base));
    }

    const int copyStart = MemoryMap::bankTimeCopyAddress(n);
    if (BankRecord::used(record)) {
        // The time copy: the meter's stop time in the bank is not always the one it
        // stopped at; a copy of the same start with another stop time corrects it.
        std::array<quint8, kCopyLength> copy{};
        const bool copyRead = readTimeCopy(n, copy);
        if (quitRequested())
            return BankOutcome::Stopped;
        if (silent_)
            return fail();
        // A copy that could not be read is neither trusted nor overwritten. The writes
        // of each branch go out together, so a command ended between them never leaves
        // a copy half rewritten.
        if (copyRead) {
            const auto bankByte = [&record](int index) { return quint8(record.at(index)); };
            bool sameStart = true;
            for (int k = 0; k < 4; ++k)
                sameStart = sameStart && bankByte(BankRecord::kStartMonth + k) == copy[k];
            const bool otherStop = bankByte(BankRecord::kStopHour) != copy[4] ||
                                   bankByte(BankRecord::kStopMinute) != copy[5];
            if (sameStart && otherStop) {
                meter_.writeByte(base + BankRecord::kStopHour, copy[4]);
                meter_.writeByte(base + BankRecord::kStopMinute, copy[5]);
                record[BankRecord::kStopHour] = char(copy[4]);
                record[BankRecord::kStopMinute] = char(copy[5]);
            } else {
                for (int k = 0; k < kCopyLength; ++k)
                    meter_.writeByte(copyStart + k, bankByte(BankRecord::kStartMonth + k));
            }
        }
    } else {
        for (int k = 0; k < kCopyLength; ++k) {
            meter_.writeByte(copyStart + k, kErased);
            meter_.wait(kEraseWaitSeconds);
        }
    }
    if (quitRequested())
        return BankOutcome::Stopped;

    banks_.BankData[n] = record;
    showColumn(n, BankRecord::texts(record));
    return BankOutcome::Read;
}

BankDownload::Result BankDownload::finish(Result result, bool allBanks)
{
    result.failedBanks = failed_;
    QStringList names;
    for (int bank : failed_)
        names << bankName(bank);
    if (result.outcome == Outcome::NoAnswer && !names.isEmpty()) {
        result.message =
            allBanks && failed_.last() < MemoryMap::kBankCount
                ? QCoreApplication::translate(
                      "BankDownload",
                      "The meter does not answer: banks %1 to E5 could not be read.")
                      .arg(names.last())
                : QCoreApplication::translate(
                      "BankDownload", "The meter does not answer: bank %1 could not be read.")
                      .arg(names.last());
        // Banks before it that failed on their own are named as well.
        names.removeLast();
        if (!names.isEmpty())
            result.message +=
                (names.size() == 1
                     ? QCoreApplication::translate("BankDownload", " Bank %1 could not be read "
                                                                   "either.")
                     : QCoreApplication::translate("BankDownload", " Banks %1 could not be read "
                                                                   "either."))
                    .arg(names.join(QStringLiteral(", ")));
    } else if (names.size() == 1) {
        result.message = QCoreApplication::translate(
                             "BankDownload", "Bank %1 could not be read: the meter did not answer.")
                             .arg(names.first());
    } else if (names.size() > 1) {
        result.message =
            QCoreApplication::translate("BankDownload",
                                        "Banks %1 could not be read: the meter did not answer.")
                .arg(names.join(QStringLiteral(", ")));
    }
    return result;
}

BankDownload::Result BankDownload::readAll(Origin origin)
{
    Result result;
    if (busy_ || (origin == Origin::Menu && meter_.state().link.RefreshBusy)) {
        result.outcome = Outcome::Refused;
        return result;
    }
    BusyFlag busy(busy_);
    silent_ = false;
    failed_.clear();
    grid_.restoreLayout();
    banks_.AllBanksMode = true;
    showProgress(true);

    const DisplayFields &display = meter_.state().display;
    const int skip = display.Running ? display.EventBank : 0;
    const bool menu = origin == Origin::Menu;
    for (int i = 1; i <= MemoryMap::kBankCount; ++i) {
        if (i != skip) {
            if (readBank(i) == BankOutcome::Stopped) {
                result.outcome = Outcome::Cancelled;
                return result;
            }
            if (silent_) {
                result.outcome = Outcome::NoAnswer;
                break;
            }
        } else {
            const QString &word = display.Paused ? (menu ? kMenuPauseWord : kPauseWord)
                                                 : (menu ? kMenuRunningWord : kRunningWord);
            showColumn(i, BankRecord::stateTexts(word));
        }
    }
    if (progressShown)
        progressShown(false);
    meter_.setPollEnabled(true);
    return finish(result, true);
}

BankDownload::Result BankDownload::readOne(int bank, Origin origin)
{
    Result result;
    if (busy_ || bank < 1 || bank > MemoryMap::kBankCount ||
        (origin == Origin::Menu && meter_.state().link.RefreshBusy)) {
        result.outcome = Outcome::Refused;
        return result;
    }
    BusyFlag busy(busy_);
    silent_ = false;
    failed_.clear();
    grid_.restoreLayout();
    banks_.AllBanksMode = false;
    showProgress(true);

    const DisplayFields &display = meter_.state().display;
    if (bank != display.EventBank || !(display.Paused || display.Running)) {
        if (readBank(bank) == BankOutcome::Stopped) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        if (silent_)
            result.outcome = Outcome::NoAnswer;
    } else {
        showColumn(bank, BankRecord::stateTexts(display.Paused ? kPauseWord : kRunningWord));
    }
    if (progressShown)
        progressShown(false);
    return finish(result, false);
}

BankDownload::Result BankDownload::readClicked(int column)
{
    Result result;
    if (busy_ || column < 1 || column > MemoryMap::kBankCount) {
        result.outcome = Outcome::Refused;
        return result;
    }
    BusyFlag busy(busy_);
    silent_ = false;
    failed_.clear();
    grid_.restoreLayout();
    if (readBank(column) == BankOutcome::Stopped) {
        result.outcome = Outcome::Cancelled;
        return result;
    }
    if (silent_)
        result.outcome = Outcome::NoAnswer;
    return finish(result, false);
}
