#pragma once

// The library's tables, one schema for SQLite and PostgreSQL, in numbered steps: a new
// library runs them all, an older one the steps it lacks, each in the same transaction as
// the new version number. The version is the row ("schema_version", N) of library_info.
//
//   1  measurements (the fields), measurement_files (the file's bytes, apart, so that
//      listing never reads them), library_info
//   2  excluded_spans (record ranges left out of an exposure assessment, with a reason)

#include <QString>
#include <QStringList>

namespace LibrarySchema {

enum class Dialect { SQLite, PostgreSQL };

// The version this program writes; it refuses to write to a library of a later one.
inline constexpr int kVersion = 2;
inline const QString kInfoTable = QStringLiteral("library_info");
inline const QString kVersionKey = QStringLiteral("schema_version");

// The statements that take a library of version `to` - 1 to version `to` (1..kVersion),
// without the version row.
QStringList step(int to, Dialect dialect);

} // namespace LibrarySchema
