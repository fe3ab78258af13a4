#include "averaging/Average.h"

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

// The panels' captions are the header labels of the .avg file, in the same order; panel 9
// (not written to the file) captions the run's LAeq.
QString panelCaption(int panel)
{
    if (panel == 9)
        return QStringLiteral("LAeq");
    const int field = panel < 9 ? panel - 1 : panel - 2;
    return AvgFile::labels()[size_t(field)];
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

Average::Average(Meter &meter, AverageState &state, FileState &files, Dialogs &dialogs,
                 MainCaptions captions, QWidget *parent)
    : MeterWindow(meter, dialogs, "Average", QStringLiteral("Average"), parent), files_(files),
      captions_(std::move(captions)), run_(state, meter.clock())
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    buildControls();

    connect(&run_, &AverageRun::changed, this, &Average::showRun);
    connect(&run_, &AverageRun::chartReset, this, &Average::showChart);
    connect(&run_, &AverageRun::pointAppended, this, &Average::appendPoint);
    // The newest record stays in view unless the user has scrolled back to older ones.
    connect(&run_.grid(), &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this] { gridWasAtEnd_ = Grid->atEnd(); });
    connect(&run_.grid(), &QAbstractItemModel::rowsInserted, this,
            [this] { Grid->followNewest(gridWasAtEnd_); });

    Timer1 = named(new QTimer(this), "Timer1");
    // The shared display fields belong to the application and outlive the timer.
    run_.driveTimer(*Timer1, this->meter().state().display);

    // The load step: empty figures, the interval of 10 s, the chart with the last average.
    run_.Form_Load();
}

Average::~Average()
{
    // Deleted without a close (the program ending): the run is left as a close leaves it.
    if (!closing())
        windowClosing();
}

void Average::buildControls()
{
    for (int panel = 1; panel <= 12; ++panel) {
        SLbl[panel] = Theme::caption(panelCaption(panel), this);
        SLbl[panel]->setObjectName(QStringLiteral("SLbl%1").arg(panel));
        SLbl[panel]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    Toolbar1 = buildToolbar();
    FraUser = buildUserFrame();

    LblStartDate = valuePanel("LblStartDate", this);
    LblStartTime = valuePanel("LblStartTime", this);
    LblIntv = valuePanel("LblIntv", this);
    LblCriterion = valuePanel("LblCriterion", this);
    LblExchange = valuePanel("LblExchange", this);
    LblRunTime = valuePanel("LblRunTime", this);
    LblMax = valuePanel("LblMax", this);
    LblPeak = valuePanel("LblPeak", this);
    LblLaeq = valuePanel("LblLaeq", this);
    LblLaeq->setToolTip(QStringLiteral("The run's equivalent continuous level: the energy "
                                       "average of the samples of its completed intervals"));
    FraDate = figureFrame(QStringLiteral("Date"), "FraDate",
                          {{4, LblStartDate}, {5, LblStartTime}, {6, LblIntv}});
    FraMeter = figureFrame(QStringLiteral("Meter set to"), "FraMeter",
                           {{7, LblCriterion}, {8, LblExchange}});
    FraMeasurement = figureFrame(QStringLiteral("Measurement"), "FraMeasurement",
                                 {{10, LblRunTime}, {11, LblMax}, {12, LblPeak}, {9, LblLaeq}});

    CWG = named(new QCustomPlot(this), "CWG", QStringLiteral("Averages chart"),
                QStringLiteral("The average level of each interval in dBA against the record "
                               "number"));
    CWG->setBackground(Qt::white);
    CWG->addGraph();
    CWG->graph(0)->setPen(QPen(kTraceColour, 2));
    CWG->graph(0)->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDisc, kTraceColour, kTraceColour, 6));
    CWG->xAxis->setLabel(QStringLiteral("Record"));
    CWG->yAxis->setLabel(QStringLiteral("dBA"));
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1.0);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    CWG->xAxis->setTicker(ticker);
    const QFontMetrics metrics = fontMetrics();
    CWG->setMinimumSize(metrics.averageCharWidth() * 50, metrics.height() * 14);

    Grid = named(new GridView(&run_.grid(), this), "Grid", QStringLiteral("Averages"),
                 QStringLiteral("One record per interval: number, date, time and average "
                                "level in dBA"));
    Grid->setColumnWidths(AverageRun::columnWidthSamples());
    ChkLaeq = named(new QCheckBox(QStringLiteral("LAeq per interval"), this), "ChkLaeq");
    ChkLaeq->setToolTip(QStringLiteral("Adds each interval's energy average as a column; "
                                       "files keep the four columns"));
    connect(ChkLaeq, &QCheckBox::toggled, this, &Average::showLaeqColumn);
    showLaeqColumn(false);

    auto *chartCard = new QFrame(this);
    chartCard->setProperty("role", QStringLiteral("card"));
    auto *chartLayout = new QVBoxLayout(chartCard);
    chartLayout->setContentsMargins(4, 4, 4, 4);
    chartLayout->addWidget(CWG);

    auto *figures = new QHBoxLayout;
    figures->setSpacing(10);
    figures->addWidget(FraDate);
    figures->addWidget(FraMeter);
    figures->addWidget(FraMeasurement);

    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    left->addWidget(FraUser);
    left->addWidget(chartCard, 1);
    left->addLayout(figures);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(Grid, 1);
    right->addWidget(ChkLaeq);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    body->addLayout(left, 1);
    body->addLayout(right);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(12, 8, 12, 12);
    root->setSpacing(8);
    root->addWidget(Toolbar1);
    root->addLayout(body, 1);
    resize(sizeHint());
}

QToolBar *Average::buildToolbar()
{
    auto *toolbar = named(new QToolBar(this), "Toolbar1");
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
        QAction *action = toolbar->addAction(entry.key);
        action->setObjectName(entry.key);
        action->setToolTip(entry.toolTip);
        action->setShortcut(shortcuts.value(entry.key));
        const AverageRun::Button key = entry.button;
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        buttons_[size_t(key)] = action;
    }

    auto *printMenu = new QMenu(this);
    CmdPreview = named(printMenu->addAction(QStringLiteral("Print Preview...")), "CmdPreview");
    CmdPdf = named(printMenu->addAction(QStringLiteral("Save as PDF...")), "CmdPdf");
    connect(CmdPreview, &QAction::triggered, this, &Average::CmdPreview_Click);
    connect(CmdPdf, &QAction::triggered, this, &Average::CmdPdf_Click);
    QAction *print = button(AverageRun::Button::Print);
    print->setMenu(printMenu);
    if (auto *printButton = qobject_cast<QToolButton *>(toolbar->widgetForAction(print)))
        printButton->setPopupMode(QToolButton::MenuButtonPopup);
    keepInLibrary_ = KeepInLibraryBox::addBeside(toolbar, button(AverageRun::Button::Save),
                                                 QStringLiteral("average"));
    return toolbar;
}

QGroupBox *Average::buildUserFrame()
{
    auto *frame = named(new QGroupBox(QStringLiteral("User"), this), "FraUser");
    TxtJob = new QLineEdit(frame);
    TxtName = new QLineEdit(frame);
    TxtID = new QLineEdit(frame);
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {TxtJob, "TxtJob"}, {TxtName, "TxtName"}, {TxtID, "TxtID"}};
    const QString descriptions[] = {QStringLiteral("The job measured; saved and printed"),
                                    QStringLiteral("Who was measured; saved and printed"),
                                    QStringLiteral("An identification; saved and printed")};
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(8, 4, 8, 4);
    for (int i = 0; i < 3; ++i) {
        QLineEdit *box = boxes[i].first;
        named(box, boxes[i].second, panelCaption(i + 1), descriptions[i]);
        layout->addWidget(SLbl[i + 1]);
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

QGroupBox *Average::figureFrame(const QString &title, const char *name,
                                const QList<std::pair<int, QLabel *>> &rows)
{
    auto *frame = named(new QGroupBox(title, this), name);
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    int row = 0;
    for (const auto &[panel, value] : rows) {
        layout->addWidget(SLbl[panel], row, 0);
        layout->addWidget(value, row, 1);
        ++row;
    }
    layout->setRowStretch(row, 1);
    return frame;
}

void Average::windowClosing()
{
    // Closing leaves the run without the end-run procedure; its timer stops with it.
    run_.Form_Unload();
    Timer1->stop();
}

void Average::Toolbar1_ButtonClick(AverageRun::Button key)
{
    if (!run_.isAvailable(key))
        return;
    // The dialogs and the printing let events run: a close asked for meanwhile waits until
    // the command is done, so that the command never outlives its window.
    const Command command(*this);
    switch (key) {
    case AverageRun::Button::Save:
        if (AverageDialogs::save(dialogs(), this, run_, TxtJob->text(), TxtName->text(),
                                 TxtID->text(), files_.RecordingActive, files_.CurrentFileName))
            keepInLibrary_->fileSaved(files_.CurrentFileName);
        break;
    case AverageRun::Button::Open:
        showOpened(AverageDialogs::open(dialogs(), this, run_));
        break;
    case AverageRun::Button::Start:
        run_.Start(meter().state().display,
                   captions_.LblCriterion ? captions_.LblCriterion() : QString(),
                   captions_.LblExchangeRate ? captions_.LblExchangeRate() : QString());
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

bool Average::openFile(const QString &path)
{
    if (!run_.isAvailable(AverageRun::Button::Open))
        return false;
    const Command command(*this);
    const std::optional<AvgFile::Content> content =
        AverageDialogs::openPath(dialogs(), this, run_, path);
    showOpened(content);
    return content.has_value();
}

void Average::showOpened(const std::optional<AvgFile::Content> &content)
{
    if (!content)
        return;
    const std::pair<AvgFile::Field, QLineEdit *> boxes[] = {
        {AvgFile::Job, TxtJob}, {AvgFile::Name, TxtName}, {AvgFile::Id, TxtID}};
    for (const auto &[field, box] : boxes) {
        if (const std::optional<QString> &value = content->header[size_t(field)])
            box->setText(*value);
    }
}

AverageRun::Tick Average::Timer1_Timer()
{
    return run_.Timer1_Timer(meter().state().display);
}

void Average::CmdPreview_Click()
{
    AverageReport::preview(this, document());
}

void Average::CmdPdf_Click()
{
    const Command command(*this);
    AverageReport::exportPdf(dialogs(), this, document());
}

AvgFile::Document Average::document() const
{
    return run_.document(TxtJob->text(), TxtName->text(), TxtID->text());
}

void Average::showRun()
{
    const AverageRun::Labels &labels = run_.labels();
    const std::pair<QLabel *, const QString *> shown[] = {{LblStartDate, &labels.LblStartDate},
                                                          {LblStartTime, &labels.LblStartTime},
                                                          {LblIntv, &labels.LblIntv},
                                                          {LblCriterion, &labels.LblCriterion},
                                                          {LblExchange, &labels.LblExchange},
                                                          {LblRunTime, &labels.LblRunTime},
                                                          {LblMax, &labels.LblMax},
                                                          {LblPeak, &labels.LblPeak},
                                                          {LblLaeq, &labels.LblLaeq}};
    for (const auto &[label, text] : shown) {
        if (label->text() != *text)
            label->setText(*text);
    }
    for (const AverageRun::ToolbarEntry &entry : AverageRun::toolbar())
        button(entry.button)->setEnabled(run_.isAvailable(entry.button));
}

void Average::showChart()
{
    const AverageRun::Chart &chart = run_.chart();
    QVector<double> x(chart.values.size());
    for (qsizetype i = 0; i < x.size(); ++i)
        x[i] = chart.firstX + double(i);
    CWG->graph(0)->setData(x, chart.values, true);
    // A file with one record gives a range of one point: show it in the middle.
    const double margin = chart.xMax > chart.xMin ? 0.0 : 1.0;
    CWG->xAxis->setRange(chart.xMin - margin, chart.xMax + margin);
    CWG->yAxis->setRange(chart.yMin, chart.yMax);
    CWG->replot(QCustomPlot::rpQueuedReplot);
}

void Average::appendPoint(double x, double y)
{
    CWG->graph(0)->addData(x, y);
    // A strip chart: past the right edge the axis moves on, keeping its width.
    const QCPRange range = CWG->xAxis->range();
    if (x > range.upper)
        CWG->xAxis->setRange(x - range.size(), x);
    CWG->replot(QCustomPlot::rpQueuedReplot);
}

void Average::showLaeqColumn(bool shown)
{
    Grid->setColumnHidden(AverageRun::kLaeqColumn, !shown);
    Grid->setMinimumWidth(Grid->columnsWidth());
}
