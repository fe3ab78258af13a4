#include "analysis/StatisticsWindow.h"

#include "analysis/FigureCards.h"
#include "analysis/NumberField.h"
#include "analysis/NumberText.h"
#include "ui/Dialogs.h"
#include "ui/ReadablePreview.h"
#include "ui/Theme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Figure = FigureCards::Figure;

// The figures as the window lays them out, row by row, named as in ExposureStatistics::lines().
const QList<QList<Figure>> &figureRows()
{
    static const QList<QList<Figure>> rows{
        {{"records", QT_TRANSLATE_NOOP("FigureCards", "Records"), "recordsValue"},
         {"skipped", QT_TRANSLATE_NOOP("FigureCards", "Skipped"), "skippedValue"},
         {"period", QT_TRANSLATE_NOOP("FigureCards", "Period (s)"), "periodValue"},
         {"duration", QT_TRANSLATE_NOOP("FigureCards", "Duration"), "durationValue"}},
        {{"laeq", QT_TRANSLATE_NOOP("FigureCards", "LAeq (dB)"), "laeqValue"},
         {"mean", QT_TRANSLATE_NOOP("FigureCards", "Mean (dB)"), "meanValue"},
         {"min", QT_TRANSLATE_NOOP("FigureCards", "Minimum (dB)"), "minimumValue"},
         {"max", QT_TRANSLATE_NOOP("FigureCards", "Maximum (dB)"), "maximumValue"}},
        {{"l10", QT_TRANSLATE_NOOP("FigureCards", "L10 (dB)"), "l10Value"},
         {"l50", QT_TRANSLATE_NOOP("FigureCards", "L50 (dB)"), "l50Value"},
         {"l90", QT_TRANSLATE_NOOP("FigureCards", "L90 (dB)"), "l90Value"}},
        {{"dose", QT_TRANSLATE_NOOP("FigureCards", "Dose (%)"), "doseValue"},
         {"twa", QT_TRANSLATE_NOOP("FigureCards", "TWA (dB)"), "twaValue"}},
    };
    return rows;
}

const int kCriteria[] = {80, 84, 85, 90};
const int kExchangeRates[] = {3, 4, 5, 6};

} // namespace

StatisticsWindow::StatisticsWindow(Meter &meter, Dialogs &dialogs, const RecordTable &records,
                                   const ExposureStatistics::Settings &settings, QWidget *parent)
    : MeterWindow(meter, dialogs, "StatisticsWindow", tr("Exposure Statistics"), parent),
      records_(records)
{
    buildControls();
    criterionChoice_->setCurrentText(QString::number(settings.criterionDb));
    exchangeRateChoice_->setCurrentText(QString::number(settings.exchangeRateDb));
    thresholdField_->setQuietly(settings.thresholdDb);
    recompute();
    connect(criterionChoice_, &QComboBox::currentIndexChanged, this, &StatisticsWindow::recompute);
    connect(exchangeRateChoice_, &QComboBox::currentIndexChanged, this,
            &StatisticsWindow::recompute);
    connect(thresholdField_, &QDoubleSpinBox::valueChanged, this, &StatisticsWindow::recompute);
}

void StatisticsWindow::buildControls()
{
    criterionChoice_ = named(new QComboBox, "criterionChoice", tr("Criterion level"),
                             tr("The level (dB) at which 8 hours make a dose of 100 %"));
    for (int db : kCriteria)
        criterionChoice_->addItem(QString::number(db));
    exchangeRateChoice_ = named(new QComboBox, "exchangeRateChoice", tr("Exchange rate"),
                                tr("The level step (dB) that halves the time allowed"));
    for (int db : kExchangeRates)
        exchangeRateChoice_->addItem(QString::number(db));
    for (QComboBox *combo : {criterionChoice_, exchangeRateChoice_})
        combo->view()->setAccessibleName(combo->accessibleName());
    thresholdField_ = named(
        new NumberField(0.0, 140.0, 1, [](double value) { return trimmedNumberText(value, 1); }),
        "thresholdField");
    thresholdField_->describe(tr("Threshold level"),
                              tr("Records below this level (dB) add no dose"));

    auto *settings = new QHBoxLayout;
    settings->addWidget(Theme::card(tr("Criterion level (dB)"), criterionChoice_));
    settings->addWidget(Theme::card(tr("Exchange rate (dB)"), exchangeRateChoice_));
    settings->addWidget(Theme::card(tr("Threshold level (dB)"), thresholdField_));

    auto *figures = new QGridLayout;
    cards_.addRows(figures, figureRows(), Qt::AlignLeft | Qt::AlignVCenter);

    copyButton_ = named(new QPushButton(tr("Copy")), "copyButton");
    copyButton_->setToolTip(tr("Copy the settings and the figures as text"));
    printButton_ = named(new QPushButton(tr("Print")), "printButton");
    previewButton_ = named(new QPushButton(tr("Preview")), "previewButton");
    pdfButton_ = named(new QPushButton(tr("Export PDF")), "pdfButton");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {copyButton_, printButton_, previewButton_, pdfButton_})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(figures);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(copyButton_, &QPushButton::clicked, this, &StatisticsWindow::copyFigures);
    connect(printButton_, &QPushButton::clicked, this, &StatisticsWindow::printReport);
    connect(previewButton_, &QPushButton::clicked, this, &StatisticsWindow::previewReport);
    connect(pdfButton_, &QPushButton::clicked, this, &StatisticsWindow::exportPdf);
}

ExposureStatistics::Settings StatisticsWindow::settings() const
{
    ExposureStatistics::Settings settings;
    settings.criterionDb = criterionChoice_->currentText().toInt();
    settings.exchangeRateDb = exchangeRateChoice_->currentText().toInt();
    settings.thresholdDb = thresholdField_->value();
    return settings;
}

QString StatisticsWindow::text() const
{
    return (settings().lines() + figures_.lines()).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

ReportPage::Header StatisticsWindow::reportHeader() const
{
    const ExposureStatistics::Settings chosen = settings();
    return ReportPage::measurementHeader(
        windowTitle(), sourceName(), QString(),
        QStringLiteral("criterion %1 dB, exchange rate %2 dB, threshold %3 dB")
            .arg(chosen.criterionDb)
            .arg(chosen.exchangeRateDb)
            .arg(chosen.thresholdDb));
}

ReportPage::Body StatisticsWindow::reportBody() const
{
    // The lines `dosemeter-cli stats` prints, settings first, on the report template.
    return
        [lines = settings().lines() + QStringList{QString()} + figures_.lines()](ReportPage &page) {
            for (const QString &line : lines) {
                if (line.isEmpty())
                    page.skip(3.0);
                else
                    page.paragraph(line);
            }
        };
}

void StatisticsWindow::recompute()
{
    figures_ = ExposureStatistics::compute(records_, settings());
    showFigures();
}

void StatisticsWindow::showFigures()
{
    // A figure that cannot be given (no readable time stamps, a dose of 0) shows "–".
    cards_.show(figures_.lines());
}

void StatisticsWindow::copyFigures()
{
    QApplication::clipboard()->setText(text());
}

void StatisticsWindow::printReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!dialogs().print(this, printer))
        return;
    if (ReportPage::paint(printer, reportHeader(), reportBody()) == 0)
        dialogs().inform(this, tr("The printer could not be started."), Dialogs::Icon::Critical);
}

void StatisticsWindow::previewReport()
{
    auto *preview = new QPrintPreviewDialog(this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    connect(preview, &QPrintPreviewDialog::paintRequested, preview,
            [header = reportHeader(), body = reportBody()](QPrinter *printer) {
                ReportPage::paint(*printer, header, body);
            });
    ReadablePreview::apply(preview);
    preview->open();
}

void StatisticsWindow::exportPdf()
{
    const QString path = dialogs().saveFileName(this, tr("Export PDF"), tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString error = ReportPage::writePdf(path, reportHeader(), reportBody());
    if (error.isEmpty())
        return;
    dialogs().inform(this,
                     tr("%1 could not be written: %2.\nAn earlier file of that name "
                        "is unchanged.")
                         .arg(QFileInfo(path).fileName(), error),
                     Dialogs::Icon::Critical);
}
