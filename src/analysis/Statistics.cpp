#include "analysis/Statistics.h"

#include "analysis/FigureCards.h"
#include "analysis/NumberField.h"
#include "analysis/NumberText.h"
#include "ui/Dialogs.h"
#include "ui/ReportPrinter.h"
#include "ui/Theme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
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
        {{"records", "Records", "LblRecords"},
         {"skipped", "Skipped", "LblSkipped"},
         {"period", "Period (s)", "LblPeriod"},
         {"duration", "Duration", "LblDuration"}},
        {{"laeq", "LAeq (dB)", "LblLaeq"},
         {"mean", "Mean (dB)", "LblMean"},
         {"min", "Minimum (dB)", "LblMin"},
         {"max", "Maximum (dB)", "LblMax"}},
        {{"l10", "L10 (dB)", "LblL10"},
         {"l50", "L50 (dB)", "LblL50"},
         {"l90", "L90 (dB)", "LblL90"}},
        {{"dose", "Dose (%)", "LblDose"}, {"twa", "TWA (dB)", "LblTwa"}},
    };
    return rows;
}

const int kCriteria[] = {80, 84, 85, 90};
const int kExchangeRates[] = {3, 4, 5, 6};

QFont reportFont()
{
    QFont font = ReportPrinter::reportFont();
    font.setPointSizeF(10.0);
    return font;
}

} // namespace

Statistics::Statistics(Meter &meter, Dialogs &dialogs, const RecordTable &records,
                       const ExposureStatistics::Settings &settings, QWidget *parent)
    : MeterWindow(meter, dialogs, "Statistics", QStringLiteral("Exposure Statistics"), parent),
      records_(records)
{
    buildControls();
    CboCriterion->setCurrentText(QString::number(settings.criterionDb));
    CboExchangeRate->setCurrentText(QString::number(settings.exchangeRateDb));
    TxtThreshold->setQuietly(settings.thresholdDb);
    Setting_Change();
    connect(CboCriterion, &QComboBox::currentIndexChanged, this, &Statistics::Setting_Change);
    connect(CboExchangeRate, &QComboBox::currentIndexChanged, this, &Statistics::Setting_Change);
    connect(TxtThreshold, &QDoubleSpinBox::valueChanged, this, &Statistics::Setting_Change);
}

void Statistics::buildControls()
{
    CboCriterion = named(new QComboBox, "CboCriterion", QStringLiteral("Criterion level"),
                         QStringLiteral("The level (dB) at which 8 hours make a dose of 100 %"));
    for (int db : kCriteria)
        CboCriterion->addItem(QString::number(db));
    CboExchangeRate = named(new QComboBox, "CboExchangeRate", QStringLiteral("Exchange rate"),
                            QStringLiteral("The level step (dB) that halves the time allowed"));
    for (int db : kExchangeRates)
        CboExchangeRate->addItem(QString::number(db));
    for (QComboBox *combo : {CboCriterion, CboExchangeRate})
        combo->view()->setAccessibleName(combo->accessibleName());
    TxtThreshold = named(
        new NumberField(0.0, 140.0, 1, [](double value) { return trimmedNumberText(value, 1); }),
        "TxtThreshold");
    TxtThreshold->describe(QStringLiteral("Threshold level"),
                           QStringLiteral("Records below this level (dB) add no dose"));

    auto *settings = new QHBoxLayout;
    settings->addWidget(Theme::card(QStringLiteral("Criterion level (dB)"), CboCriterion));
    settings->addWidget(Theme::card(QStringLiteral("Exchange rate (dB)"), CboExchangeRate));
    settings->addWidget(Theme::card(QStringLiteral("Threshold level (dB)"), TxtThreshold));

    auto *figures = new QGridLayout;
    cards_.addRows(figures, figureRows(), Qt::AlignLeft | Qt::AlignVCenter);

    CmdCopy = named(new QPushButton(QStringLiteral("Copy")), "CmdCopy");
    CmdCopy->setToolTip(QStringLiteral("Copy the settings and the figures as text"));
    CmdPrint = named(new QPushButton(QStringLiteral("Print")), "CmdPrint");
    CmdPreview = named(new QPushButton(QStringLiteral("Preview")), "CmdPreview");
    CmdPdf = named(new QPushButton(QStringLiteral("Export PDF")), "CmdPdf");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {CmdCopy, CmdPrint, CmdPreview, CmdPdf})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(figures);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(CmdCopy, &QPushButton::clicked, this, &Statistics::CmdCopy_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &Statistics::CmdPrint_Click);
    connect(CmdPreview, &QPushButton::clicked, this, &Statistics::CmdPreview_Click);
    connect(CmdPdf, &QPushButton::clicked, this, &Statistics::CmdPdf_Click);
}

ExposureStatistics::Settings Statistics::settings() const
{
    ExposureStatistics::Settings settings;
    settings.criterionDb = CboCriterion->currentText().toInt();
    settings.exchangeRateDb = CboExchangeRate->currentText().toInt();
    settings.thresholdDb = TxtThreshold->value();
    return settings;
}

QString Statistics::text() const
{
    return (settings().lines() + figures_.lines()).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList Statistics::reportLines() const
{
    return QStringList{windowTitle(), QString()} + settings().lines() + QStringList{QString()} +
           figures_.lines();
}

void Statistics::Setting_Change()
{
    figures_ = ExposureStatistics::compute(records_, settings());
    showFigures();
}

void Statistics::showFigures()
{
    // A figure that cannot be given (no readable time stamps, a dose of 0) shows "–".
    cards_.show(figures_.lines());
}

void Statistics::CmdCopy_Click()
{
    QApplication::clipboard()->setText(text());
}

void Statistics::CmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!dialogs().print(this, printer))
        return;
    QString error;
    if (!ReportPrinter::print(printer, reportLines(), printer.copyCount(), reportFont(), &error))
        dialogs().inform(this, error, Dialogs::Icon::Critical);
}

void Statistics::CmdPreview_Click()
{
    auto *preview = new QPrintPreviewDialog(this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    connect(preview, &QPrintPreviewDialog::paintRequested, preview,
            [lines = reportLines()](QPrinter *printer) {
                QPainter painter(printer);
                ReportPrinter::paint(painter, *printer, lines, reportFont());
            });
    preview->open();
}

void Statistics::CmdPdf_Click()
{
    const QString path =
        dialogs().saveFileName(this, QStringLiteral("Export PDF"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString error = ReportPrinter::writePdf(path, windowTitle(), reportLines(), reportFont());
    if (error.isEmpty())
        return;
    dialogs().inform(this,
                     QStringLiteral("%1 could not be written: %2.\nAn earlier file of that name "
                                    "is unchanged.")
                         .arg(QFileInfo(path).fileName(), error),
                     Dialogs::Icon::Critical);
}
