#include "library/Measurement.h"

#include <QDateTime>

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

QString Measurement::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Run:
        return QStringLiteral("run");
    case Kind::Recording:
        return QStringLiteral("recording");
    case Kind::List:
        return QStringLiteral("list");
    case Kind::Banks:
        return QStringLiteral("banks");
    case Kind::Average:
        return QStringLiteral("average");
    }
    return QString();
}

std::optional<Measurement::Kind> Measurement::kindFromName(const QString &name)
{
    for (const Kind kind : kinds()) {
        if (kindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

QList<Measurement::Kind> Measurement::kinds()
{
    return {Kind::Run, Kind::Recording, Kind::List, Kind::Banks, Kind::Average};
}

QString Measurement::laeqText() const
{
    if (!laeqTenths)
        return QString();
    const int tenths = *laeqTenths;
    const QString sign = tenths < 0 ? QStringLiteral("-") : QString();
    return sign + QStringLiteral("%1.%2").arg(std::abs(tenths) / 10).arg(std::abs(tenths) % 10);
}

std::optional<qint64> Measurement::durationSeconds() const
{
    // The banks are up to five measurements of their own: the time from the first start to
    // the last stop is no duration.
    if (kind == Kind::Banks)
        return std::nullopt;
    const QDateTime first = QDateTime::fromString(start, kStampFormat);
    const QDateTime last = QDateTime::fromString(end, kStampFormat);
    if (!first.isValid() || !last.isValid())
        return std::nullopt;
    // The stamps are clock readings without a zone: their difference is taken as it
    // stands, the same on every computer whatever its time zone.
    QDateTime firstUtc = first;
    QDateTime lastUtc = last;
    firstUtc.setTimeSpec(Qt::UTC);
    lastUtc.setTimeSpec(Qt::UTC);
    return firstUtc.secsTo(lastUtc);
}

QString Measurement::durationText() const
{
    const std::optional<qint64> seconds = durationSeconds();
    if (!seconds || *seconds < 0)
        return QString();
    return QStringLiteral("%1:%2:%3")
        .arg(*seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(*seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(*seconds % 60, 2, 10, QLatin1Char('0'));
}

QString LibraryFilter::folded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing)
            kept.append(c);
    }
    return kept.toCaseFolded();
}

bool LibraryFilter::matchesTexts(const Measurement &measurement) const
{
    const std::pair<const QString *, const QString *> fields[] = {
        {&worker, &measurement.worker}, {&site, &measurement.site}, {&job, &measurement.job}};
    for (const auto &[wanted, field] : fields) {
        if (!wanted->isEmpty() && !folded(*field).contains(folded(*wanted)))
            return false;
    }
    return true;
}
