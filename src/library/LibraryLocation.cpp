#include "library/LibraryLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kScheme = QStringLiteral("postgresql");
const QString kSettingsKey = QStringLiteral("library/location");

// The desktop program and the command line share one settings file and one data folder,
// whichever of them runs.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("dosemeter"),
                     QStringLiteral("dosemeter"));
}

} // namespace

LibraryLocation LibraryLocation::sqlite(const QString &path)
{
    LibraryLocation location;
    location.kind_ = Kind::SQLite;
    location.path_ = path;
    return location;
}

LibraryLocation LibraryLocation::parse(const QString &text, QString &error)
{
    error.clear();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        error = QCoreApplication::translate("LibraryLocation",
                                            "No library was given: give a file or a "
                                            "postgresql://[user@]host[:port]/dbname address.");
        return {};
    }
    if (!trimmed.startsWith(kScheme + QStringLiteral("://"), Qt::CaseInsensitive)) {
        if (trimmed.contains(QStringLiteral("://"))) {
            error =
                QCoreApplication::translate(
                    "LibraryLocation", "%1 is no library address: only postgresql:// addresses and "
                                       "file paths are libraries.")
                    .arg(trimmed);
            return {};
        }
        // Absolute, so that a remembered choice means the same file from any folder.
        return sqlite(QFileInfo(trimmed).absoluteFilePath());
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString usage =
        QCoreApplication::translate("LibraryLocation", "%1 is no PostgreSQL address: write "
                                                       "postgresql://[user@]host[:port]/dbname.")
            .arg(trimmed);
    if (!url.isValid()) {
        error = usage;
        return {};
    }
    if (!url.password().isEmpty()) {
        error = QCoreApplication::translate(
            "LibraryLocation", "The address holds a password. Leave it out and put it in "
                               "~/.pgpass (or the file PGPASSFILE names), so that it is kept "
                               "neither in the settings nor in the list of running programs.");
        return {};
    }
    const QString database = url.path().mid(1);
    if (!url.path().startsWith(QLatin1Char('/')) || database.isEmpty() ||
        database.contains(QLatin1Char('/')) || url.hasQuery() || url.hasFragment()) {
        error = usage;
        return {};
    }
    LibraryLocation location;
    location.kind_ = Kind::PostgreSQL;
    location.user_ = url.userName();
    location.host_ = url.host();
    location.port_ = std::max(url.port(), 0);
    location.database_ = database;
    return location;
}

QString LibraryLocation::defaultPath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("dosemeter/library.sqlite"));
}

LibraryLocation LibraryLocation::chosen()
{
    QString error;
    const QString text = remembered();
    if (!text.isEmpty()) {
        const LibraryLocation location = parse(text, error);
        if (error.isEmpty())
            return location;
    }
    return sqlite(defaultPath());
}

void LibraryLocation::remember(const QString &text)
{
    QSettings store = settings();
    if (text.trimmed().isEmpty())
        store.remove(kSettingsKey);
    else
        store.setValue(kSettingsKey, text.trimmed());
}

QString LibraryLocation::remembered()
{
    return settings().value(kSettingsKey).toString();
}

QString LibraryLocation::text() const
{
    if (kind_ == Kind::SQLite)
        return path_;
    // Written out by hand: QUrl drops the "//" of an address without a host (a local socket).
    QString text = kScheme + QStringLiteral("://");
    if (!user_.isEmpty())
        text += QString::fromLatin1(QUrl::toPercentEncoding(user_)) + QLatin1Char('@');
    text += host_.contains(QLatin1Char(':')) ? QLatin1Char('[') + host_ + QLatin1Char(']') : host_;
    if (port_ > 0)
        text += QLatin1Char(':') + QString::number(port_);
    return text + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(database_));
}
