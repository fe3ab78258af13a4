#include "library/LibraryLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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
    // Every message shows the text as given, less any password.
    const QString shown = masked(trimmed);
    const auto refuse = [&error, &shown](const QString &reason) {
        error = QCoreApplication::translate("LibraryLocation",
                                            "%1 is no PostgreSQL address (%2): write "
                                            "postgresql://[user@]host[:port]/dbname.")
                    .arg(shown, reason);
        return LibraryLocation();
    };
    static const QRegularExpression postgresLike(QStringLiteral("^postgres(?:ql)?(:|//)"),
                                                 QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression postgres(QStringLiteral("^postgres(?:ql)?://"),
                                             QRegularExpression::CaseInsensitiveOption);
    // "sqlite:", "file:": a scheme of two letters or more (one is a drive letter).
    static const QRegularExpression schemeLike(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (!postgres.match(trimmed).hasMatch()) {
        // A mistyped address must not become a library file of that odd name.
        const QRegularExpressionMatch like = postgresLike.match(trimmed);
        if (like.hasMatch())
            return refuse(like.captured(1) == QLatin1String("//")
                              ? QCoreApplication::translate("LibraryLocation",
                                                            "the colon before // is missing")
                              : QCoreApplication::translate("LibraryLocation",
                                                            "the scheme is not followed by //"));
        if (trimmed.contains(QStringLiteral("://"))) {
            error =
                QCoreApplication::translate(
                    "LibraryLocation", "%1 is no library address: only postgresql:// addresses and "
                                       "file paths are libraries.")
                    .arg(shown);
            return {};
        }
        if (schemeLike.match(trimmed).hasMatch()) {
            error = QCoreApplication::translate(
                        "LibraryLocation",
                        "%1 is no library address: only postgresql:// addresses and file paths "
                        "are libraries; write ./%1 for a file of that name.")
                        .arg(shown);
            return {};
        }
        // Absolute, so that a remembered choice means the same file from any folder.
        return sqlite(QFileInfo(trimmed).absoluteFilePath());
    }
    // libpq reads postgres:// as postgresql://.
    const QString address = kScheme + trimmed.mid(trimmed.indexOf(QLatin1Char(':')));
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid()) {
        // The part between "//" and the path: [user[:password]@]host[:port].
        const QString authority = address.mid(kScheme.size() + 3).section(QLatin1Char('/'), 0, 0);
        const QString hostPort = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);
        const bool bracketed = hostPort.startsWith(QLatin1Char('['));
        const qsizetype close = hostPort.indexOf(QLatin1Char(']'));
        const qsizetype colon = bracketed
                                    ? (close < 0 ? -1 : hostPort.indexOf(QLatin1Char(':'), close))
                                    : hostPort.lastIndexOf(QLatin1Char(':'));
        bool numeric = false;
        const int port = colon < 0 ? 0 : hostPort.mid(colon + 1).toInt(&numeric);
        if (colon >= 0 && (!numeric || port < 1 || port > 65535))
            return refuse(QCoreApplication::translate("LibraryLocation",
                                                      "its port is not a number from 1 to 65535"));
        if (bracketed)
            return refuse(
                QCoreApplication::translate("LibraryLocation", "its IPv6 address is malformed"));
        return refuse(QCoreApplication::translate("LibraryLocation", "it is not a valid address"));
    }
    if (!url.password().isEmpty() ||
        url.query().contains(QStringLiteral("password="), Qt::CaseInsensitive)) {
        error = QCoreApplication::translate(
            "LibraryLocation", "The address holds a password. Leave it out and put it in "
                               "~/.pgpass (or the file PGPASSFILE names), so that it is kept "
                               "neither in the settings nor in the list of running programs.");
        return {};
    }
    const QString database = url.path().mid(1);
    if (!url.path().startsWith(QLatin1Char('/')) || database.isEmpty())
        return refuse(
            QCoreApplication::translate("LibraryLocation", "no database name follows the host"));
    if (database.contains(QLatin1Char('/')) || url.hasQuery() || url.hasFragment())
        return refuse(
            QCoreApplication::translate("LibraryLocation", "nothing may follow the database name"));
    LibraryLocation location;
    location.kind_ = Kind::PostgreSQL;
    location.user_ = url.userName();
    location.host_ = url.host();
    location.port_ = std::max(url.port(), 0);
    location.database_ = database;
    return location;
}

QString LibraryLocation::masked(const QString &text)
{
    // Only what starts like an address: a file's name may hold ':' and '@' of its own.
    static const QRegularExpression start(
        QStringLiteral("^(?:[A-Za-z][A-Za-z0-9+.-]*:/*|postgres(?:ql)?//)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = start.match(text);
    if (!match.hasMatch())
        return text;
    QString shown = text;
    const qsizetype from = match.capturedLength();
    qsizetype end = from;
    while (end < shown.size() && !QStringLiteral("/?#").contains(shown.at(end)))
        ++end;
    const qsizetype at = shown.lastIndexOf(QLatin1Char('@'), end - 1);
    if (at >= from) {
        const qsizetype colon = shown.indexOf(QLatin1Char(':'), from);
        if (colon >= 0 && colon < at)
            shown.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    }
    // libpq also takes a password as a parameter of the address.
    static const QRegularExpression parameter(QStringLiteral("([?&]password=)[^&#]*"),
                                              QRegularExpression::CaseInsensitiveOption);
    shown.replace(parameter, QStringLiteral("\\1***"));
    return shown;
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
