#pragma once

// The text fields of the program's files (the notes of a data file, a bank file's name,
// address and company, the header of an averaging file) are stored in an 8-bit code page,
// Latin-1. cleaned() drops what a field cannot hold: its file's separators, line ends, and
// characters outside Latin-1, which would reach the file as "?". The boxes apply it as the
// user types, so that what is shown is what is saved.

#include <QString>
#include <QStringView>

namespace FileText {

QString cleaned(const QString &text, QStringView separators);

} // namespace FileText
