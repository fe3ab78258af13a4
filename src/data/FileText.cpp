#include "data/FileText.h"

namespace FileText {

QString cleaned(const QString &text, QStringView separators)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() <= 0xFF && ch != QLatin1Char('\r') && ch != QLatin1Char('\n') &&
            !separators.contains(ch))
            clean += ch;
    }
    return clean;
}

} // namespace FileText
