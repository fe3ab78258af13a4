// libFuzzer target: a logger memory image as the memory dump brings it, through the
// download's checks, into sets and their records. The run count and the run table end
// are taken from the image itself, as registers that read it right would give them.
// Whatever passes the checks lists records whose stamps are real dates and times.
// The tail of the input also feeds the merge of three streams.

#include "data/LoggerImage.h"
#include "data/LoggerRun.h"
#include "data/RunStamp.h"
#include "link/MeterProtocol.h"

#include <cstddef>
#include <cstdint>

namespace {

// A stamp text "yyyy/mm/dd" and "hh:mm:ss.t" that a clock can show.
bool realStamp(const QString &date, const QString &time)
{
    if (date.size() != 10 || time.size() != 10)
        return false;
    const int month = date.mid(5, 2).toInt();
    const int day = date.mid(8, 2).toInt();
    return month >= 1 && month <= 12 && day >= 1 &&
           day <= RunStamp::daysInMonth(date.left(4).toInt(), month) && time.left(2).toInt() < 24 &&
           time.mid(3, 2).toInt() < 60 && time.mid(6, 2).toInt() < 60;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LoggerImage image(bytes);
    const int runCount = image.reg(MemoryMap::kRunCount);
    const int end = image.word(MemoryMap::runTableEntry(runCount));
    if (runCount <= 127 && end >= MemoryMap::kRunDataStart && end <= MemoryMap::kLoggerEnd &&
        !image.check(runCount, end).found()) {
        for (int k = 1; k <= runCount; ++k) {
            const LoggerRun::SetLine line =
                LoggerRun::setLine(k, image.runData(k), image.runStart(k), image.runLast(k));
            const RecordTable records = LoggerRun::records(line.cells(), image.runData(k));
            for (int r = 0; r < records.recordCount(); ++r) {
                if (!realStamp(records.cell(r, 1), records.cell(r, 2)))
                    __builtin_trap();
            }
        }
    }

    // Three streams from thirds of the input; alike streams merge into themselves.
    const qsizetype third = bytes.size() / 3;
    const QByteArray a = bytes.left(third), b = bytes.mid(third, third), c = bytes.mid(2 * third);
    const QByteArray merged = LoggerImage::merge(a, b, c, third);
    if (merged.size() > third)
        __builtin_trap();
    if (third > 0 && LoggerImage::merge(a, a, a, third) != a)
        __builtin_trap();
    return 0;
}
