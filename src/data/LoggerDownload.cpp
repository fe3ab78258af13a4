#include "data/LoggerDownload.h"

#include <QCoreApplication>

#include "data/LoggerBusy.h"
#include "data/LoggerImage.h"
#include "data/LoggerResults.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/SerialLink.h"

#include <algorithm>

namespace {

using namespace MemoryMap;

// The meter starts streaming shortly after the dump command; the first look waits this
// long, as every later pass does, with the bytes gathering in the receive buffer.
constexpr double kFirstWait = 0.2;
// After the closing "U" the bytes already on the wire still come; they are let in and
// thrown away before the next stream or register read, which they would otherwise join.
constexpr double kSettleSeconds = 0.1;
// Bytes past the end read by each stream of a verified download.
constexpr qint64 kVerifyMargin = 16;
// Run-table entries 0..127 fit in 0x0200..0x02FF; entry n is the first free address.
constexpr int kMaxRuns = (kRunTableEnd - kRunTableStart + 1) / 2 - 1;

void clearResults(LoggerResults &results)
{
    results.RunCount = 0;
    results.LoggerIdCode = 0;
    results.LoggerInterval = 0.0;
    for (QByteArray &run : results.RunData)
        run.clear();
}

QString hexAddress(int address)
{
    return QStringLiteral("0x") +
           QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// The logger's figures as the stream brings them, checked against the registers.
struct Figure {
    quint16 address;
    const char *name;
};
constexpr Figure kFigures[] = {
    {kIdCodeHigh, QT_TRANSLATE_NOOP("LoggerDownload", "ID code")},
    {kIdCodeLow, QT_TRANSLATE_NOOP("LoggerDownload", "ID code")},
    {kIntervalLow, QT_TRANSLATE_NOOP("LoggerDownload", "interval")},
    {kIntervalHigh, QT_TRANSLATE_NOOP("LoggerDownload", "interval")},
    {kMemoryFlags, QT_TRANSLATE_NOOP("LoggerDownload", "memory-full flag")}};

QString noAnswerText()
{
    return QCoreApplication::translate(
        "LoggerDownload", "The meter did not answer: the logger memory could not be downloaded.");
}

// The ends every damaged download's message has, in the user's language.
QString lineDamagedEnd()
{
    return QCoreApplication::translate("LoggerDownload",
                                       qPrintable(LoggerDownload::kLineDamagedEnd));
}

QString memoryDamagedEnd()
{
    return QCoreApplication::translate("LoggerDownload",
                                       qPrintable(LoggerDownload::kMemoryDamagedEnd));
}

} // namespace

LoggerDownload::LoggerDownload(Meter &meter, LoggerResults &results)
    : meter_(meter), results_(results)
{
}

bool LoggerDownload::stopRequested() const
{
    return meter_.aborted() || (cancelled && cancelled());
}

LoggerDownload::Result LoggerDownload::fail(Result result, Outcome outcome, const QString &message)
{
    result.outcome = outcome;
    result.message = message;
    return result;
}

QString LoggerDownload::setText(int set, int runCount) const
{
    return set == 0 ? QCoreApplication::translate("LoggerDownload", "The logger's run table")
                    : QCoreApplication::translate("LoggerDownload", "Set %1 of %2")
                          .arg(set)
                          .arg(runCount);
}

LoggerDownload::Outcome LoggerDownload::stream(qint64 target, QByteArray &image, Result &result)
{
    SerialLink &link = meter_.link();
    Clock &clock = meter_.clock();
    if (result.passes > 0) {
        meter_.wait(kSettleSeconds);
        link.readAll();
    }
    image.clear();
    image.reserve(target + 64);
    link.write(QByteArray(1, Protocol::kMemoryDump));
    meter_.expectReply();
    double lastArrival = clock.monotonicSeconds();
    meter_.wait(kFirstWait);
    for (;;) {
        const QByteArray bytes = link.readAll();
        if (!bytes.isEmpty()) {
            image += bytes;
            lastArrival = clock.monotonicSeconds();
            meter_.heard();
        }
        result.received = image.size();
        const qint64 r = std::min<qint64>(image.size(), target);
        if (streamProgress)
            streamProgress(100.0 * double(r) / double(target));
        if (r == target) {
            // Surplus bytes stay in the image; the second "U" ends the meter's stream.
            link.write(QByteArray(1, Protocol::kMemoryDump));
            ++result.passes;
            return Outcome::Done;
        }
        if (stopRequested()) {
            // Stop the meter's stream so that the poll does not meet the rest of it.
            if (!meter_.aborted()) {
                link.write(QByteArray(1, Protocol::kMemoryDump));
                meter_.wait(passSeconds);
                link.readAll();
            }
            return Outcome::Cancelled;
        }
        if (clock.monotonicSeconds() - lastArrival >= stallSeconds) {
            result.message =
                QCoreApplication::translate("LoggerDownload",
                                            "The meter stopped sending: %1 of %2 bytes of the "
                                            "logger memory arrived. Nothing was listed.")
                    .arg(image.size())
                    .arg(target);
            return Outcome::Stalled;
        }
        meter_.wait(passSeconds);
    }
}

LoggerDownload::Outcome LoggerDownload::verifiedImage(qint64 target, QByteArray &image,
                                                      Result &result, QString &message)
{
    // A few bytes past the end, so that a stream that lost a byte near it can still be
    // lined up; the meter streams no further than the end of logger memory.
    const qint64 passTarget = std::min<qint64>(target + kVerifyMargin, 1 + kLoggerEnd);
    QByteArray first, second, third;
    for (QByteArray *pass : {&first, &second}) {
        if (const Outcome outcome = stream(passTarget, *pass, result); outcome != Outcome::Done)
            return outcome;
    }
    // Position 0 is the stream's leading byte, no register: only registers are compared.
    const auto registers = [target](const QByteArray &pass) { return pass.mid(1, target - 1); };
    if (registers(first) == registers(second)) {
        image = first;
        return Outcome::Done;
    }
    if (const Outcome outcome = stream(passTarget, third, result); outcome != Outcome::Done)
        return outcome;
    image = LoggerImage::merge(first, second, third, target);
    if (image.size() == target)
        return Outcome::Done;
    // Name the set where the streams part, as the run table of the first one says.
    const LoggerImage table(first);
    const int address = int(image.size()) - 1;
    int set = 0;
    for (int k = 1; k <= result.runCount && set == 0; ++k) {
        if (address >= table.runStart(k) && address <= table.runLast(k))
            set = k;
    }
    message = QCoreApplication::translate("LoggerDownload",
                                          "%1 arrived different in each of three streams.")
                  .arg(set == 0 ? QCoreApplication::translate("LoggerDownload", "The logger memory")
                                : setText(set, result.runCount)) +
              lineDamagedEnd();
    return Outcome::LineDamaged;
}

std::optional<bool> LoggerDownload::registersMatch(const LoggerImage &image, int first, int last)
{
    bool match = true;
    for (int address = first; address <= last; ++address) {
        if (!meter_.readByte(address) || stopRequested())
            return std::nullopt;
        match = match && meter_.state().link.LastByte == image.reg(address);
    }
    return match;
}

std::optional<int> LoggerDownload::firstMovedSet(const LoggerImage &image, int upTo)
{
    // A lost or added byte moves every byte after it, so once a set's last bytes differ
    // from the registers so do all later sets': the first such set is sought by halves.
    int low = 1, high = upTo + 1; // high: none of sets 1..upTo moved
    while (low < high) {
        const int mid = (low + high) / 2;
        const int last = image.runLast(mid);
        const std::optional<bool> match =
            registersMatch(image, std::max(image.runStart(mid), last - kSampleLength + 1), last);
        if (!match)
            return std::nullopt;
        if (*match)
            low = mid + 1;
        else
            high = mid;
    }
    return low > upTo ? 0 : low;
}

LoggerDownload::Result LoggerDownload::moved(Result result, int set)
{
    return fail(result, Outcome::LineDamaged,
                QCoreApplication::translate("LoggerDownload",
                                            "%1 arrived damaged: bytes were lost or added on the "
                                            "way, so its bytes differ from the meter's memory.")
                        .arg(setText(set, result.runCount)) +
                    lineDamagedEnd());
}

LoggerDownload::Result LoggerDownload::damaged(Result result, const LoggerImage &image, int set,
                                               int first, int last, const QString &reason,
                                               bool againstRegisters)
{
    const auto unanswered = [this, &result] {
        return stopRequested() ? fail(result, Outcome::Cancelled, {})
                               : fail(result, Outcome::NoAnswer, noAnswerText());
    };
    // The meter holds the damage only when its bytes, read one by one twice, agree with
    // the stream on them, and the line is otherwise clean: the figures and the memory's
    // last bytes read back alike. Anything less is the line's doing, and a download
    // again may bring the memory whole. A stream that disagrees with the registers read
    // before it was damaged on the line, or those reads were.
    bool inMemory = false;
    if (first >= 0 && !againstRegisters) {
        for (int read = 0; read < 2 && (read == 0 || inMemory); ++read) {
            const std::optional<bool> match = registersMatch(image, first, last);
            if (!match)
                return unanswered();
            inMemory = *match;
        }
    }
    const QString subject = setText(set, result.runCount);
    if (inMemory) {
        if (std::optional<Result> line = registersDisagree(result, image))
            return *line;
        return fail(result, Outcome::MemoryDamaged,
                    QCoreApplication::translate("LoggerDownload", "%1 is damaged in the meter: %2.")
                            .arg(subject, reason) +
                        memoryDamagedEnd());
    }
    // A byte lost in an earlier set shows only where it makes something impossible.
    if (set > 1) {
        const std::optional<int> movedSet = firstMovedSet(image, set - 1);
        if (!movedSet)
            return unanswered();
        if (*movedSet > 0)
            return moved(result, *movedSet);
    }
    return fail(result, Outcome::LineDamaged,
                QCoreApplication::translate("LoggerDownload", "%1 arrived damaged: %2.")
                        .arg(subject, reason) +
                    lineDamagedEnd());
}

std::optional<LoggerDownload::Result> LoggerDownload::registersDisagree(Result result,
                                                                        const LoggerImage &memory)
{
    const auto unanswered = [this, &result] {
        return stopRequested() ? fail(result, Outcome::Cancelled, {})
                               : fail(result, Outcome::NoAnswer, noAnswerText());
    };
    // The figures, read one by one.
    for (const Figure &figure : kFigures) {
        if (!meter_.readByte(figure.address) || stopRequested())
            return unanswered();
        const int value = meter_.state().link.LastByte;
        if (value != memory.reg(figure.address))
            return fail(result, Outcome::LineDamaged,
                        QCoreApplication::translate("LoggerDownload",
                                                    "The logger's %1 arrived damaged: register %2 "
                                                    "reads %3 in the stream, %4 on its own.")
                                .arg(QCoreApplication::translate("LoggerDownload", figure.name),
                                     hexAddress(figure.address))
                                .arg(memory.reg(figure.address))
                                .arg(value) +
                            lineDamagedEnd());
    }
    // The last bytes of the used memory: a byte lost or added anywhere before them
    // moves them. Then the set where the stream went wrong is sought by halves.
    const int end = result.endAddress;
    if (result.runCount > 0) {
        const std::optional<bool> endMatches =
            registersMatch(memory, std::max<int>(kRunDataStart, end - kEndCheckBytes), end - 1);
        if (!endMatches)
            return unanswered();
        if (!*endMatches) {
            const std::optional<int> set = firstMovedSet(memory, result.runCount);
            if (!set)
                return unanswered();
            // A byte that did not move the last set's end lies in its final bytes.
            return moved(result, *set > 0 ? *set : result.runCount);
        }
    }
    return std::nullopt;
}

LoggerDownload::Result LoggerDownload::run()
{
    Result result;
    if (results_.DownloadBusy) {
        result.outcome = Outcome::Busy;
        return result;
    }
    LoggerBusy busy(results_, meter_);
    SerialLink &link = meter_.link();
    link.readAll();
    // Nothing of an earlier download stays: a failure leaves no results at all.
    clearResults(results_);
    const auto unanswered = [this, &result] {
        return stopRequested() ? fail(result, Outcome::Cancelled, {})
                               : fail(result, Outcome::NoAnswer, noAnswerText());
    };

    // Run count, then the end of the used memory from the run table.
    if (!meter_.readByte(kRunCount) || stopRequested())
        return unanswered();
    result.runCount = meter_.state().link.LastByte;
    int end = kRunDataStart;
    if (result.runCount == 0) {
        // An empty logger cannot be full.
        meter_.writeByte(kMemoryFlags, 0);
    } else {
        const int entry = runTableEntry(std::min(result.runCount, kMaxRuns));
        if (!meter_.readByte(entry + 1) || stopRequested())
            return unanswered();
        const int high = meter_.state().link.LastByte;
        if (!meter_.readByte(entry) || stopRequested())
            return unanswered();
        end = high * 256 + meter_.state().link.LastByte;
    }
    if (stopRequested())
        return fail(result, Outcome::Cancelled, {});
    result.endAddress = end;
    if (result.runCount > kMaxRuns || end < kRunDataStart || end > kLoggerEnd) {
        // Read again, twice: the same figures each time mean the meter's run table holds
        // them; any other, that the line damaged a reply.
        const int count = result.runCount;
        const int entry = runTableEntry(std::min(count, kMaxRuns));
        bool same = true;
        for (int read = 0; read < 2 && same; ++read) {
            if (!meter_.readByte(kRunCount))
                return unanswered();
            const bool sameCount = meter_.state().link.LastByte == count;
            if (!meter_.readByte(entry + 1))
                return unanswered();
            const int high = meter_.state().link.LastByte;
            if (!meter_.readByte(entry) || stopRequested())
                return unanswered();
            same = sameCount && high * 256 + meter_.state().link.LastByte == end;
        }
        const QString reason = QCoreApplication::translate(
                                   "LoggerDownload", "%1 runs ending at %2, which no logger holds")
                                   .arg(count)
                                   .arg(hexAddress(end));
        return same ? fail(result, Outcome::MemoryDamaged,
                           QCoreApplication::translate(
                               "LoggerDownload",
                               "The logger's run table is damaged in the meter: %1.")
                                   .arg(reason) +
                               memoryDamagedEnd())
                    : fail(result, Outcome::LineDamaged,
                           QCoreApplication::translate(
                               "LoggerDownload", "The logger's run table arrived damaged: %1.")
                                   .arg(reason) +
                               lineDamagedEnd());
    }

    // The stream: one leading byte, then registers 0 .. end - 1.
    const qint64 target = qint64(end) + 1;
    result.expected = target;
    QByteArray bytes;
    QString message;
    const Outcome streamed =
        verify ? verifiedImage(target, bytes, result, message) : stream(target, bytes, result);
    if (streamed != Outcome::Done)
        return fail(result, streamed,
                    streamed == Outcome::Cancelled ? QString()
                    : message.isEmpty()            ? result.message
                                                   : message);
    meter_.wait(kSettleSeconds);
    link.readAll();
    if (stopRequested())
        return fail(result, Outcome::Cancelled, {});

    // What a real logger cannot hold.
    const LoggerImage memory(bytes);
    const LoggerImage::Damage damage = memory.check(result.runCount, end);
    if (damage.found())
        return damaged(result, memory, damage.set, damage.first, damage.last, damage.reason,
                       damage.againstRegisters);
    if (std::optional<Result> line = registersDisagree(result, memory))
        return *line;

    // The figures.
    results_.LoggerIdCode = memory.idCode();
    results_.LoggerInterval = memory.intervalTenths() / 10.0;
    result.memoryText = LoggerImage::memoryText();
    result.remainingText = LoggerImage::remainingText(memory.memoryFull(), result.runCount, end);
    result.idCodeText = QString::number(results_.LoggerIdCode);
    result.intervalText = LoggerRun::numberText(results_.LoggerInterval);

    // The runs.
    for (int k = 1; k <= result.runCount; ++k) {
        results_.RunData[k] = memory.runData(k);
        result.sets.append(
            LoggerRun::setLine(k, results_.RunData[k], memory.runStart(k), memory.runLast(k)));
        results_.RunCount = k;
        if (listProgress)
            listProgress(100.0 * k / result.runCount);
    }
    return result;
}
