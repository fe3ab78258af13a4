#pragma once

// What the desktop program keeps between runs: the last port, the sample period, the
// Memory window's "Verify" choice, the last folder of each file dialog and each window's
// geometry. Measurement settings are never kept here: they live in the meter.
// One settings file, shared with the command line (the library's location lives there too).

#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

class StoredSettings {
public:
    // fileName empty: the user's settings file; else an INI file of that name.
    explicit StoredSettings(const QString &fileName = {});
    ~StoredSettings();

    // The text the port window was given last ("COM3", "Simulator", "/dev/ttyUSB0"), or empty.
    QString lastPort() const;
    void setLastPort(const QString &port);

    // The sampler's period in ticks of 100 ms; nullopt when none was kept.
    std::optional<int> sampleTicks() const;
    void setSampleTicks(int ticks);

    bool verifyDownload() const;
    void setVerifyDownload(bool verify);

    // The folder a file dialog showed last; `dialog` names the dialog ("LoggerWindow/Save").
    QString lastFolder(const QString &dialog) const;
    void setLastFolder(const QString &dialog, const QString &folder);

    // A window's geometry by its objectName, as QWidget::geometry() gave it.
    std::optional<QRect> windowGeometry(const QString &window) const;
    void setWindowGeometry(const QString &window, const QRect &geometry);

private:
    std::unique_ptr<QSettings> settings_;
};
