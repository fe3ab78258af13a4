#pragma once

// The language of the desktop program's windows: English, the source texts, or Brazilian
// Portuguese. Only the windows change: files, printed layouts fixed by the file formats and
// the command line's output stay as they are in every language.

#include <QLocale>
#include <QString>

#include <optional>

class QCoreApplication;

namespace Translation {

// "en" or "pt_BR": the --lang option when given, else the locale's language (Portuguese
// gives the Brazilian translation, any other language English).
QString chooseLanguage(const std::optional<QString> &option, const QLocale &locale);
// Installs the program's translation and Qt's own (its dialogs' buttons) for `language`;
// nothing for English. False when the program's translation is missing.
bool install(QCoreApplication &application, const QString &language);

} // namespace Translation
