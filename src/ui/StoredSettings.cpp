#include "ui/StoredSettings.h"

#include <QSettings>

namespace {

// Keys hold '/' as a group separator: a dialog's or window's name must not add groups.
QString keyPart(QString name)
{
    return name.replace(QLatin1Char('/'), QLatin1Char('_'))
        .replace(QLatin1Char('\\'), QLatin1Char('_'));
}

} // namespace

StoredSettings::StoredSettings(const QString &fileName)
    : settings_(fileName.isEmpty() ? std::make_unique<QSettings>(
                                         QSettings::NativeFormat, QSettings::UserScope,
                                         QStringLiteral("dosemeter"), QStringLiteral("dosemeter"))
                                   : std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

StoredSettings::~StoredSettings() = default;

QString StoredSettings::lastPort() const
{
    return settings_->value(QStringLiteral("port/last")).toString();
}

void StoredSettings::setLastPort(const QString &port)
{
    settings_->setValue(QStringLiteral("port/last"), port);
}

std::optional<int> StoredSettings::sampleTicks() const
{
    bool ok = false;
    const int ticks = settings_->value(QStringLiteral("sampling/ticks")).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return ticks;
}

void StoredSettings::setSampleTicks(int ticks)
{
    settings_->setValue(QStringLiteral("sampling/ticks"), ticks);
}

bool StoredSettings::verifyDownload() const
{
    return settings_->value(QStringLiteral("memory/verify"), false).toBool();
}

void StoredSettings::setVerifyDownload(bool verify)
{
    settings_->setValue(QStringLiteral("memory/verify"), verify);
}

QString StoredSettings::lastFolder(const QString &dialog) const
{
    return settings_->value(QStringLiteral("folders/") + keyPart(dialog)).toString();
}

void StoredSettings::setLastFolder(const QString &dialog, const QString &folder)
{
    settings_->setValue(QStringLiteral("folders/") + keyPart(dialog), folder);
}

std::optional<QRect> StoredSettings::windowGeometry(const QString &window) const
{
    const QVariant value = settings_->value(QStringLiteral("windows/") + keyPart(window));
    const QRect geometry = value.toRect();
    if (!value.isValid() || !geometry.isValid())
        return std::nullopt;
    return geometry;
}

void StoredSettings::setWindowGeometry(const QString &window, const QRect &geometry)
{
    settings_->setValue(QStringLiteral("windows/") + keyPart(window), geometry);
}
