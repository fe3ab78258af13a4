// The main window's settings kept between runs, and the files it is given to open.

#include "main/MainWindow.h"

#include "data/LoggerWindow.h"
#include "library/MeasurementReader.h"
#include "ui/Dialogs.h"
#include "ui/StoredSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>

void MainWindow::useSettings(StoredSettings *settings)
{
    settings_ = settings;
    windows_.setSettings(settings);
    if (!settings)
        return;
    if (const std::optional<int> ticks = settings->sampleTicks()) {
        sampler_.setPeriod(*ticks / 10.0);
        samplePeriodValue_->setText(sampler_.periodLabel());
    }
}

void MainWindow::keepVerifyChoice(LoggerWindow *window)
{
    if (!settings_)
        return;
    auto *verify = window->findChild<QCheckBox *>(QStringLiteral("verifyBox"));
    if (!verify)
        return;
    verify->setChecked(settings_->verifyDownload());
    connect(verify, &QCheckBox::toggled, this,
            [settings = settings_](bool verify) { settings->setVerifyDownload(verify); });
}

void MainWindow::openFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs_.inform(
            this,
            tr("%1 cannot be opened: %2").arg(QDir::toNativeSeparators(path), file.errorString()),
            Dialogs::Icon::Warning);
        return;
    }
    // The first line is enough to tell the formats apart.
    const QByteArray start = file.read(4096);
    Measurement measurement;
    switch (MeasurementReader::formatOf(path, start)) {
    case MeasurementReader::Format::Banks:
        measurement.kind = Measurement::Kind::Banks;
        break;
    case MeasurementReader::Format::Average:
        measurement.kind = Measurement::Kind::Average;
        break;
    case MeasurementReader::Format::Data:
        measurement.kind = Measurement::Kind::Recording;
        break;
    }
    openMeasurement(measurement, path);
}
