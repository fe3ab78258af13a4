// libFuzzer target: the .avg reader, and the chart of what it read.

#include "averaging/AvgFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const AvgFile::Content content = AvgFile::parse(bytes, QStringLiteral("fuzz.avg"));
    AvgFile::chart(content.records);
    return 0;
}
