#pragma once

// How the library keeps a measurement's file: its exact bytes, small. A data file is some
// 35 bytes a record, and its columns change little from line to line (the record number
// counts up, the date stays, the time moves by the period), so the lines are split at TABs,
// each column is written as what changed since the line before, and the columns are
// compressed one after the other. Any file comes back byte for byte: one the column form
// would not give back exactly is kept as it is, compressed.

#include <QByteArray>

#include <optional>

namespace RecordCodec {

// The form of the stored bytes; stored beside them, so values never change meaning.
enum class Method : int {
    Compressed = 1, // the file's bytes, compressed
    Columns = 2,    // the file's lines split into columns of changes, compressed
};

struct Encoded {
    Method method = Method::Compressed;
    QByteArray bytes;
};

// Never fails: the column form where it gives the file back exactly, else the plain one.
Encoded encode(const QByteArray &file);
// The file again; nullopt when the stored bytes are damaged or of an unknown method.
std::optional<QByteArray> decode(int method, const QByteArray &stored);

} // namespace RecordCodec
