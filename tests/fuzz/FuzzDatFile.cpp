// libFuzzer target: the .dat reader. Any bytes give a table or a message, never a crash,
// undefined behaviour, a leak or a hang. What was read saves (as the grids' Save writes
// it) and reads back as the same records and notes, unless a text holds the double
// quote, which the format cannot carry.

#include "data/DatFile.h"

#include <cstddef>
#include <cstdint>

namespace {

bool holdsQuote(const DatFile::Content &content)
{
    for (const QString &note : content.notes) {
        if (note.contains(QLatin1Char('"')))
            return true;
    }
    for (int r = 0; r < content.table.recordCount(); ++r) {
        for (int c = 0; c < content.table.columnCount(); ++c) {
            if (content.table.cellBytes(r, c).contains('"'))
                return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const DatFile::Content content = DatFile::parse(bytes, QStringLiteral("fuzz.dat"));
    if (content.table.columnCount() != 4)
        __builtin_trap();
    DatFile::bytes(content);
    // Fields far below the reader's length limit, which the written TABs could pass.
    if (holdsQuote(content) || bytes.size() >= DatFile::kMaxFieldBytes)
        return 0;
    const DatFile::Content again = DatFile::parse(DatFile::gridBytes(content.table, content.notes));
    if (!again.ok() || again.notes != content.notes ||
        again.table.recordCount() != content.table.recordCount())
        __builtin_trap();
    for (int r = 0; r < content.table.recordCount(); ++r) {
        for (int c = 0; c < content.table.columnCount(); ++c) {
            if (again.table.cellBytes(r, c) != content.table.cellBytes(r, c))
                __builtin_trap();
        }
    }
    return 0;
}
