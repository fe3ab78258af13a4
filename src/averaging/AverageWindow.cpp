#include "averaging/AverageWindow.h"

#include "averaging/AverageDialogs.h"
#include "averaging/AverageReport.h"
#include "averaging/AverageState.h"
#include "data/FileState.h"
#include "data/RecordGrid.h"
#include "link/Meter.h"
#include "ui/GridView.h"
#include "ui/KeepInLibraryBox.h"
#include "ui/Theme.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <qcustomplot.h>

namespace {

// The frames, the toolbar and the chart of this window; the rest is the shared look.
const char *const kStyle = R"(
QGroupBox { background: white; border: 1px solid #d5dbe1; border-radius: 6px;
            margin-top: 1.1em; padding: 6px 4px 4px 4px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;
                   padding: 0 3px; color: #3c4854; font-weight: 600; }
QToolBar { background: transparent; border: none; spacing: 6px; }
QToolBar QToolButton { padding: 5px 12px; border: 1px solid #c3ccd5; border-radius: 4px;
                       background: #fbfcfd; color: #1d2730; }
QToolBar QToolButton:hover { background: #e6eef6; border-color: #8fb3d9; }
QToolBar QToolButton:pressed { background: #d3e2f1; }
QToolBar QToolButton:disabled { color: #a3acb5; background: #eef1f4; border-color: #dde2e7; }
QToolBar QToolButton[popupMode="1"] { padding-right: 22px; }
QToolBar QToolButton::menu-button { width: 18px; border-left: 1px solid #c3ccd5; }
)";

const QColor kTraceColour(0x2f, 0x7d, 0xd1);

// The texts the run and the file give in English (the toolbar's keys and tips, the .avg
// file's header labels, the overload flag), as the window shows them in the user's language. The
// file and the objectNames keep the English.
[[maybe_unused]] const char *const kShownTexts[] = {
    QT_TRANSLATE_NOOP("AverageWindow", "Save"),
    QT_TRANSLATE_NOOP("AverageWindow", "Save As"),
    QT_TRANSLATE_NOOP("AverageWindow", "Open"),
    QT_TRANSLATE_NOOP("AverageWindow", "Open File"),
    QT_TRANSLATE_NOOP("AverageWindow", "Start"),
    QT_TRANSLATE_NOOP("AverageWindow", "Run"),
    QT_TRANSLATE_NOOP("AverageWindow", "Pause"),
    QT_TRANSLATE_NOOP("AverageWindow", "Stop"),
    QT_TRANSLATE_NOOP("AverageWindow", "Interval"),
    QT_TRANSLATE_NOOP("AverageWindow", "Print"),
    QT_TRANSLATE_NOOP("AverageWindow", "JOB"),
    QT_TRANSLATE_NOOP("AverageWindow", "Name"),
    QT_TRANSLATE_NOOP("AverageWindow", "Start date"),
    QT_TRANSLATE_NOOP("AverageWindow", "Start time"),
    QT_TRANSLATE_NOOP("AverageWindow", "Time Int."),
    QT_TRANSLATE_NOOP("AverageWindow", "Criterion level"),
    QT_TRANSLATE_NOOP("AverageWindow", "Exchange Rate"),
    QT_TRANSLATE_NOOP("AverageWindow", "Run Time"),
    QT_TRANSLATE_NOOP("AverageWindow", "SPL Max"),
    QT_TRANSLATE_NOOP("AverageWindow", "Yes"),
    QT_TRANSLATE_NOOP("AverageWindow", "No"),
};

QString translated(const QString &english)
{
    return QCoreApplication::translate("AverageWindow", english.toUtf8().constData());
}

// The panels' captions are the header labels of the .avg file, in the same order; panel 9
// (not written to the file) captions the run's LAeq.
QString panelCaption(int panel)
{
    if (panel == 9)
        return QStringLiteral("LAeq");
    const int field = panel < 9 ? panel - 1 : panel - 2;
    return translated(AvgFile::labels()[size_t(field)]);
}

QLabel *valuePanel(const char *name, QWidget *parent)
{
    QLabel *label = Theme::value(QString(), parent);
    label->setProperty("role", QStringLiteral("boxed"));
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) +
                           20);
    return label;
}

} // namespace

AverageWindow::AverageWindow(Meter &meter, AverageState &state, FileState &files, Dialogs &dialogs,
                             MainCaptions captions, QWidget *parent)
    : MeterWindow(meter, dialogs, "AverageWindow", tr("Average"), parent), files_(files),
      captions_(std::move(captions)), run_(state, meter.clock())
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    buildControls();

    connect(&run_, &AverageRun::changed, this, &AverageWindow::showRun);
    connect(&run_, &AverageRun::chartReset, this, &AverageWindow::showChart);
    connect(&run_, &AverageRun::pointAppended, this, &AverageWindow::appendPoint);
    // The newest record stays in view unless the user has scrolled back to older ones.
    connect(&run_.grid(), &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this] { gridWasAtEnd_ = grid_->atEnd(); });
    connect(&run_.grid(), &QAbstractItemModel::rowsInserted, this,
            [this] { grid_->followNewest(gridWasAtEnd_); });

    averagingTimer_ = named(new QTimer(this), "averagingTimer");
    // The shared display fields belong to the application and outlive the timer.
    run_.driveTimer(*averagingTimer_, this->meter().state().display);

    // The load step: empty figures, the interval of 10 s, the chart with the last average.
    run_.reset();
}

AverageWindow::~AverageWindow()
{
    // Deleted without a close (the program ending): the run is left as a close leaves it.
    if (!closing())
        windowClosing();
}

void AverageWindow::buildControls()
{
    for (int panel = 1; panel <= 12; ++panel) {
        figureCaptions_[panel] = Theme::caption(panelCaption(panel), this);
        figureCaptions_[panel]->setObjectName(QStringLiteral("figureCaption%1").arg(panel));
        figureCaptions_[panel]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    toolbar_ = buildToolbar();
    userFrame_ = buildUserFrame();

    startDateValue_ = valuePanel("startDateValue", this);
    startTimeValue_ = valuePanel("startTimeValue", this);
    intervalValue_ = valuePanel("intervalValue", this);
    criterionValue_ = valuePanel("criterionValue", this);
    exchangeRateValue_ = valuePanel("exchangeRateValue", this);
    runTimeValue_ = valuePanel("runTimeValue", this);
    splMaxValue_ = valuePanel("splMaxValue", this);
    peakValue_ = valuePanel("peakValue", this);
    laeqValue_ = valuePanel("laeqValue", this);
    laeqValue_->setToolTip(tr("The run's equivalent continuous level: the energy "
                              "average of the samples of its completed intervals"));
    dateFrame_ = figureFrame(tr("Date"), "dateFrame",
                             {{4, startDateValue_}, {5, startTimeValue_}, {6, intervalValue_}});
    meterFrame_ = figureFrame(tr("Meter set to"), "meterFrame",
                              {{7, criterionValue_}, {8, exchangeRateValue_}});
    measurementFrame_ =
        figureFrame(tr("Measurement"), "measurementFrame",
                    {{10, runTimeValue_}, {11, splMaxValue_}, {12, peakValue_}, {9, laeqValue_}});

    chart_ = named(new QCustomPlot(this), "chart", tr("Averages chart"),
                   tr("The average level of each interval in dBA against the record number"));
    chart_->setBackground(Qt::white);
    chart_->addGraph();
    chart_->graph(0)->setPen(QPen(kTraceColour, 2));
    chart_->graph(0)->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDisc, kTraceColour, kTraceColour, 6));
    chart_->xAxis->setLabel(tr("Record"));
    chart_->yAxis->setLabel(QStringLiteral("dBA"));
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1.0);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    chart_->xAxis->setTicker(ticker);
    const QFontMetrics metrics = fontMetrics();
    chart_->setMinimumSize(metrics.averageCharWidth() * 50, metrics.height() * 14);

    grid_ = named(new GridView(&run_.grid(), this), "grid", tr("Averages"),
                  tr("One record per interval: number, date, time and average level in dBA"));
    grid_->setColumnWidths(AverageRun::columnWidthSamples());
    laeqColumnBox_ = named(new QCheckBox(tr("LAeq per interval"), this), "laeqColumnBox");
    laeqColumnBox_->setToolTip(tr("Adds each interval's energy average as a column; "
                                  "files keep the four columns"));
    connect(laeqColumnBox_, &QCheckBox::toggled, this, &AverageWindow::showLaeqColumn);
    showLaeqColumn(false);

    auto *chartCard = new QFrame(this);
    chartCard->setProperty("role", QStringLiteral("card"));
    auto *chartLayout = new QVBoxLayout(chartCard);
    chartLayout->setContentsMargins(4, 4, 4, 4);
    chartLayout->addWidget(chart_);

    auto *figures = new QHBoxLayout;
    figures->setSpacing(10);
    figures->addWidget(dateFrame_);
    figures->addWidget(meterFrame_);
    figures->addWidget(measurementFrame_);

    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    left->addWidget(userFrame_);
    left->addWidget(chartCard, 1);
    left->addLayout(figures);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(grid_, 1);
    right->addWidget(laeqColumnBox_);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    body->addLayout(left, 1);
    body->addLayout(right);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(12, 8, 12, 12);
    root->setSpacing(8);
    root->addWidget(toolbar_);
    root->addLayout(body, 1);
    resize(sizeHint());
}

QToolBar *AverageWindow::buildToolbar()
{
    auto *toolbar = named(new QToolBar(this), "toolbar");
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setMovable(false);
    const QHash<QString, QKeySequence> shortcuts{{QStringLiteral("Save"), QKeySequence::Save},
                                                 {QStringLiteral("Open"), QKeySequence::Open},
                                                 {QStringLiteral("Print"), QKeySequence::Print}};
    for (const AverageRun::ToolbarEntry &entry : AverageRun::toolbar()) {
        // Groups as the commands go together: files, the run, its interval, the report.
        if (entry.button == AverageRun::Button::Start ||
            entry.button == AverageRun::Button::Interval ||
            entry.button == AverageRun::Button::Print)
            toolbar->addSeparator();
        QAction *action = toolbar->addAction(translated(entry.key));
        action->setObjectName(entry.key);
        action->setToolTip(translated(entry.toolTip));
        action->setShortcut(shortcuts.value(entry.key));
        const AverageRun::Button key = entry.button;
        connect(action, &QAction::triggered, this, [this, key] { runToolbarCommand(key); });
        buttons_[size_t(key)] = action;
    }

    auto *printMenu = new QMenu(this);
    previewAction_ = named(printMenu->addAction(tr("Print Preview...")), "previewAction");
    pdfAction_ = named(printMenu->addAction(tr("Save as PDF...")), "pdfAction");
    connect(previewAction_, &QAction::triggered, this, &AverageWindow::previewReport);
    connect(pdfAction_, &QAction::triggered, this, &AverageWindow::exportPdf);
    QAction *print = button(AverageRun::Button::Print);
    print->setMenu(printMenu);
    if (auto *printButton = qobject_cast<QToolButton *>(toolbar->widgetForAction(print)))
        printButton->setPopupMode(QToolButton::MenuButtonPopup);
    keepInLibrary_ = KeepInLibraryBox::addBeside(toolbar, button(AverageRun::Button::Save),
                                                 QStringLiteral("average"));
    // The box is shared by every window that saves; its texts in this window's language.
    keepInLibrary_->setText(tr("Keep in library"));
    keepInLibrary_->setToolTip(tr("Also store what Save writes in the measurement library"));
    return toolbar;
}

QGroupBox *AverageWindow::buildUserFrame()
{
    auto *frame = named(new QGroupBox(tr("User"), this), "userFrame");
    jobEdit_ = new QLineEdit(frame);
    nameEdit_ = new QLineEdit(frame);
    idEdit_ = new QLineEdit(frame);
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {jobEdit_, "jobEdit"}, {nameEdit_, "nameEdit"}, {idEdit_, "idEdit"}};
    const QString descriptions[] = {tr("The job measured; saved and printed"),
                                    tr("Who was measured; saved and printed"),
                                    tr("An identification; saved and printed")};
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(8, 4, 8, 4);
    for (int i = 0; i < 3; ++i) {
        QLineEdit *box = boxes[i].first;
        named(box, boxes[i].second, panelCaption(i + 1), descriptions[i]);
        layout->addWidget(figureCaptions_[i + 1]);
        layout->addWidget(box, i == 2 ? 1 : 2);
        // The file holds each text between double quotes: a quote typed would cut it short.
        connect(box, &QLineEdit::textEdited, this, [box] {
            const QString text = box->text();
            const QString clean = AvgFile::cleanText(text);
            if (clean == text)
                return;
            const int cursor = int(AvgFile::cleanText(text.left(box->cursorPosition())).size());
            box->setText(clean);
            box->setCursorPosition(cursor);
        });
    }
    return frame;
}

QGroupBox *AverageWindow::figureFrame(const QString &title, const char *name,
                                      const QList<std::pair<int, QLabel *>> &rows)
{
    auto *frame = named(new QGroupBox(title, this), name);
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    int row = 0;
    for (const auto &[panel, value] : rows) {
        layout->addWidget(figureCaptions_[panel], row, 0);
        layout->addWidget(value, row, 1);
        ++row;
    }
    layout->setRowStretch(row, 1);
    return frame;
}

void AverageWindow::windowClosing()
{
    // Closing leaves the run without the end-run procedure; its timer stops with it.
    run_.stop();
    averagingTimer_->stop();
}

void AverageWindow::runToolbarCommand(AverageRun::Button key)
{
    if (!run_.isAvailable(key))
        return;
    // The dialogs and the printing let events run: a close asked for meanwhile waits until
    // the command is done, so that the command never outlives its window.
    const Command command(*this);
    switch (key) {
    case AverageRun::Button::Save:
        if (AverageDialogs::save(dialogs(), this, run_, jobEdit_->text(), nameEdit_->text(),
                                 idEdit_->text(), files_.RecordingActive, files_.CurrentFileName))
            keepInLibrary_->fileSaved(files_.CurrentFileName);
        break;
    case AverageRun::Button::Open:
        showOpened(AverageDialogs::open(dialogs(), this, run_));
        break;
    case AverageRun::Button::Start:
        run_.Start(meter().state().display, captions_.criterion ? captions_.criterion() : QString(),
                   captions_.exchangeRate ? captions_.exchangeRate() : QString());
        break;
    case AverageRun::Button::Pause:
        run_.Pause();
        break;
    case AverageRun::Button::Stop:
        run_.Stop();
        break;
    case AverageRun::Button::Interval:
        AverageDialogs::askInterval(dialogs(), this, run_);
        break;
    case AverageRun::Button::Print:
        AverageReport::print(dialogs(), this, document());
        break;
    }
}

bool AverageWindow::openFile(const QString &path)
{
    if (!run_.isAvailable(AverageRun::Button::Open))
        return false;
    const Command command(*this);
    const std::optional<AvgFile::Content> content =
        AverageDialogs::openPath(dialogs(), this, run_, path);
    showOpened(content);
    return content.has_value();
}

void AverageWindow::showOpened(const std::optional<AvgFile::Content> &content)
{
    if (!content)
        return;
    const std::pair<AvgFile::Field, QLineEdit *> boxes[] = {
        {AvgFile::Job, jobEdit_}, {AvgFile::Name, nameEdit_}, {AvgFile::Id, idEdit_}};
    for (const auto &[field, box] : boxes) {
        if (const std::optional<QString> &value = content->header[size_t(field)])
            box->setText(*value);
    }
}

AverageRun::Tick AverageWindow::tick()
{
    return run_.tick(meter().state().display);
}

void AverageWindow::previewReport()
{
    AverageReport::preview(this, document());
}

void AverageWindow::exportPdf()
{
    const Command command(*this);
    AverageReport::exportPdf(dialogs(), this, document());
}

AvgFile::Document AverageWindow::document() const
{
    return run_.document(jobEdit_->text(), nameEdit_->text(), idEdit_->text());
}

void AverageWindow::showRun()
{
    const AverageRun::Labels &labels = run_.labels();
    const std::pair<QLabel *, const QString *> shown[] = {
        {startDateValue_, &labels.startDate},
        {startTimeValue_, &labels.startTime},
        {intervalValue_, &labels.interval},
        {criterionValue_, &labels.criterion},
        {exchangeRateValue_, &labels.exchangeRate},
        {runTimeValue_, &labels.runTime},
        {splMaxValue_, &labels.splMax},
        {laeqValue_, &labels.laeq}};
    for (const auto &[label, text] : shown) {
        if (label->text() != *text)
            label->setText(*text);
    }
    const QString peak = translated(labels.peak);
    if (peakValue_->text() != peak)
        peakValue_->setText(peak);
    for (const AverageRun::ToolbarEntry &entry : AverageRun::toolbar())
        button(entry.button)->setEnabled(run_.isAvailable(entry.button));
}

void AverageWindow::showChart()
{
    const AverageRun::Chart &chart = run_.chart();
    QVector<double> x(chart.values.size());
    for (qsizetype i = 0; i < x.size(); ++i)
        x[i] = chart.firstX + double(i);
    chart_->graph(0)->setData(x, chart.values, true);
    // A file with one record gives a range of one point: show it in the middle.
    const double margin = chart.xMax > chart.xMin ? 0.0 : 1.0;
    chart_->xAxis->setRange(chart.xMin - margin, chart.xMax + margin);
    chart_->yAxis->setRange(chart.yMin, chart.yMax);
    chart_->replot(QCustomPlot::rpQueuedReplot);
}

void AverageWindow::appendPoint(double x, double y)
{
    chart_->graph(0)->addData(x, y);
    // A strip chart: past the right edge the axis moves on, keeping its width.
    const QCPRange range = chart_->xAxis->range();
    if (x > range.upper)
        chart_->xAxis->setRange(x - range.size(), x);
    chart_->replot(QCustomPlot::rpQueuedReplot);
}

void AverageWindow::showLaeqColumn(bool shown)
{
    grid_->setColumnHidden(AverageRun::kLaeqColumn, !shown);
    grid_->setMinimumWidth(grid_->columnsWidth());
}
