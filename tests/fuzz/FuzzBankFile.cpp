// libFuzzer target: the two .bnk readers and the load into the event window's grid.

#include "banks/BankFile.h"
#include "banks/BankGrid.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const auto parse : {&BankFile::parseMenu, &BankFile::parseToolbar}) {
        const BankFile::Content content = parse(bytes, QStringLiteral("fuzz.bnk"));
        BankGrid grid;
        BankFile::Texts texts;
        BankFile::load(content, grid, texts);
        BankFile::menuBytes(grid, texts);
        BankFile::toolbarBytes(grid, texts);
    }
    return 0;
}
