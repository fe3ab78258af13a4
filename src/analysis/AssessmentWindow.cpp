#include "analysis/AssessmentWindow.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/FigureCards.h"
#include "analysis/NumberField.h"
#include "analysis/NumberText.h"
#include "data/DatFile.h"
#include "data/FileTransfer.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"
#include "ui/VectorPlot.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

using Figure = FigureCards::Figure;

// The assessment's figures as the window lays them out, row by row.
const QList<QList<Figure>> &figureRows()
{
    static const QList<QList<Figure>> rows{
        {{"records", QT_TRANSLATE_NOOP("FigureCards", "Records"), "recordsValue"},
         {"skipped", QT_TRANSLATE_NOOP("FigureCards", "Skipped"), "skippedValue"},
         {"excluded", QT_TRANSLATE_NOOP("FigureCards", "Excluded"), "excludedValue"},
         {"overloads", QT_TRANSLATE_NOOP("FigureCards", "Overloads"), "overloadsValue"},
         {"under-range", QT_TRANSLATE_NOOP("FigureCards", "Under range"), "underRangeValue"}},
        {{"measured", QT_TRANSLATE_NOOP("FigureCards", "Measured (T)"), "measuredValue"},
         {"coverage", QT_TRANSLATE_NOOP("FigureCards", "Coverage of the shift"), "coverageValue"},
         {"laeq", QT_TRANSLATE_NOOP("FigureCards", "LAeq,T (dB)"), "laeqValue"},
         {"lex8h", QT_TRANSLATE_NOOP("FigureCards", "LEX,8h (dB)"), "lex8hValue"},
         {"max", QT_TRANSLATE_NOOP("FigureCards", "Maximum (dB)"), "maxValue"}},
        {{"time-above-80", QT_TRANSLATE_NOOP("FigureCards", "At or above 80 dB"),
          "timeAbove80Value"},
         {"time-above-85", QT_TRANSLATE_NOOP("FigureCards", "At or above 85 dB"),
          "timeAbove85Value"},
         {"time-above-90", QT_TRANSLATE_NOOP("FigureCards", "At or above 90 dB"),
          "timeAbove90Value"}},
    };
    return rows;
}

const QList<QList<Figure>> &isoFigureRows()
{
    static const QList<QList<Figure>> rows{
        {{"lex8h", QT_TRANSLATE_NOOP("FigureCards", "LEX,8h (dB)"), "isoLex8hValue"},
         {"u", QT_TRANSLATE_NOOP("FigureCards", "u (dB)"), "isoUValue"},
         {"U", QT_TRANSLATE_NOOP("FigureCards", "U (dB)"), "isoExpandedValue"},
         {"upper", QT_TRANSLATE_NOOP("FigureCards", "Upper value (dB)"), "isoUpperValue"}},
        {{"laeq", QT_TRANSLATE_NOOP("FigureCards", "LAeq,Te (dB)"), "isoLaeqValue"},
         {"u1", QT_TRANSLATE_NOOP("FigureCards", "u1 (dB)"), "isoU1Value"},
         {"c1u1", QT_TRANSLATE_NOOP("FigureCards", "c1u1 (dB)"), "isoC1u1Value"}},
    };
    return rows;
}

// A field of hours (two decimals) that starts at 8.
NumberField *hoursField(double minimum, double maximum, const char *name,
                        const QString &accessibleName, const QString &description)
{
    auto *field = MeterWindow::named(
        new NumberField(minimum, maximum, 2,
                        [](double value) { return trimmedNumberText(value, 2); }),
        name);
    field->describe(accessibleName, description);
    field->setSingleStep(0.5);
    field->setQuietly(8.0);
    return field;
}

// The spans and the selection are drawn on a layer of their own, so a change redraws them
// and not the day of levels below.
const char *const kSpanLayer = "spans";

// Rows of the criteria table.
enum CriteriaRow {
    kUseRow,
    kCriterionRow,
    kExchangeRow,
    kThresholdRow,
    kDoseRow,
    kTwaRow,
    kProjectedDoseRow,
    kProjectedTwaRow,
    kCriteriaRows
};
const char *const kCriteriaRowCaptions[] = {
    QT_TRANSLATE_NOOP("AssessmentWindow", "Use"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Criterion level (dB)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Exchange rate (dB)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Threshold (dB)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Dose (%)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "TWA (dB)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Projected dose (%)"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "Projected TWA (dB)"),
};
// The EU status as the assessment gives it in English (so the command line prints it), as
// the window shows it in the user's language.
[[maybe_unused]] const char *const kEuStatusTexts[] = {
    QT_TRANSLATE_NOOP("AssessmentWindow", "below the lower action value"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "lower action value"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "upper action value"),
    QT_TRANSLATE_NOOP("AssessmentWindow", "limit value exceeded"),
};
// The custom set's column opens with these.
const CriterionSet kCustomDefault{QString(), 85, 4, 80.0};

enum SampleColumn { kLevelColumn, kSourceColumn };
enum TaskColumn { kTaskColumn, kHoursColumn, kTaskSamplesColumn, kRangeColumn };

// Background of the EU status by how far LEX,8h goes.
QString statusStyle(EuStatus status)
{
    const char *colour = "#cfeccf";
    if (status == EuStatus::LowerAction)
        colour = "#fff0b3";
    else if (status == EuStatus::UpperAction)
        colour = "#ffd49a";
    else if (status == EuStatus::LimitExceeded)
        colour = "#f4b4b4";
    return QStringLiteral("QLabel { background: %1; border-radius: 4px; padding: 4px 8px; }")
        .arg(QLatin1String(colour));
}

QTableWidget *table(const QStringList &headings)
{
    auto *table = new QTableWidget(0, int(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setMinimumSectionSize(90);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

AssessmentWindow::AssessmentWindow(Meter &meter, Dialogs &dialogs, ExposureAssessment assessment,
                                   QWidget *parent)
    : MeterWindow(meter, dialogs, "AssessmentWindow", tr("Exposure Assessment"), parent),
      assessment_(std::move(assessment))
{
    buildControls();
    assess();
    computeIso();
}

void AssessmentWindow::buildControls()
{
    tabs_ = named(new QTabWidget, "tabs");
    tabs_->addTab(buildAssessmentTab(), tr("Assessment"));
    tabs_->addTab(buildIsoTab(), QStringLiteral("ISO 9612"));

    copyButton_ = named(new QPushButton(tr("Copy")), "copyButton");
    copyButton_->setToolTip(tr("Copy the figures of this tab as text"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton_);
    reportButton_ = named(new QPushButton(tr("Report...")), "reportButton");
    reportButton_->setToolTip(tr("The shift report of these figures, to print or "
                                 "to export as a PDF"));
    buttons->addWidget(reportButton_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(copyButton_, &QPushButton::clicked, this, &AssessmentWindow::copyFigures);
    connect(reportButton_, &QPushButton::clicked, this, &AssessmentWindow::reportRequested);
    connect(tabs_, &QTabWidget::currentChanged, this, &AssessmentWindow::updateControls);
    resize(1180, 760);
}

QWidget *AssessmentWindow::buildAssessmentTab()
{
    shiftField_ = hoursField(ExposureAssessment::kMinShiftHours, ExposureAssessment::kMaxShiftHours,
                             "shiftField", tr("Shift length"),
                             tr("The hours of the shift the measurement stands for"));
    euStatusLabel_ = named(Theme::value(), "euStatusLabel");

    auto *settings = new QHBoxLayout;
    settings->addWidget(Theme::card(tr("Shift length (h)"), shiftField_));
    settings->addWidget(Theme::card(tr("EU status"), euStatusLabel_), 2);

    criteriaTable_ =
        named(new QTableWidget(kCriteriaRows, 0), "criteriaTable", tr("Criterion sets"),
              tr("Each criterion set as a column: check it to use it; the custom "
                 "set's levels can be typed"));
    fillCriteriaTable();

    auto *figures = new QGridLayout;
    cards_.addRows(figures, figureRows());
    messageLabel_ = named(new QLabel, "messageLabel");
    messageLabel_->setWordWrap(true);
    advisoryLabel_ = named(new QLabel, "advisoryLabel");
    advisoryLabel_->setWordWrap(true);

    auto *left = new QVBoxLayout;
    left->addLayout(settings);
    left->addWidget(criteriaTable_);
    left->addLayout(figures);
    left->addWidget(messageLabel_);
    left->addWidget(advisoryLabel_);
    left->addStretch(1);

    auto *spans = new QGroupBox(tr("Excluded spans"));
    buildPlot();
    const int records = std::max(1, assessment_.recordCount(0));
    firstRecordField_ = named(new NumberField(1, records, 0), "firstRecordField");
    firstRecordField_->describe(tr("First record"), tr("The first record to exclude"));
    lastRecordField_ = named(new NumberField(1, records, 0), "lastRecordField");
    lastRecordField_->describe(tr("Last record"), tr("The last record to exclude"));
    lastRecordField_->setValue(records);
    reasonEdit_ =
        named(new QLineEdit, "reasonEdit", tr("Reason"), tr("Why the records are left out"));
    reasonEdit_->setPlaceholderText(tr("Reason, e.g. microphone knocked"));
    excludeButton_ = named(new QPushButton(tr("Exclude")), "excludeButton");
    auto *span = new QHBoxLayout;
    span->addWidget(Theme::caption(tr("Records")));
    span->addWidget(firstRecordField_);
    span->addWidget(Theme::caption(tr("to")));
    span->addWidget(lastRecordField_);
    span->addWidget(reasonEdit_, 1);
    span->addWidget(excludeButton_);

    // With several files, the spans are chosen in one file at a time, and named by it.
    const bool severalLists = assessment_.listCount() > 1;
    QStringList columns{tr("From"), tr("To"), tr("Reason")};
    if (severalLists) {
        columns.prepend(tr("File"));
        listChoice_ =
            named(new QComboBox, "listChoice", tr("File"), tr("The file whose levels are shown"));
        for (int list = 0; list < assessment_.listCount(); ++list)
            listChoice_->addItem(assessment_.listName(list));
        connect(listChoice_, &QComboBox::currentIndexChanged, this, &AssessmentWindow::showList);
    }
    spansTable_ = named(table(columns), "spansTable", tr("Excluded spans"),
                        tr("The record spans left out, with the reason"));
    spansTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    removeSpanButton_ = named(new QPushButton(tr("Remove")), "removeSpanButton");
    removeSpanButton_->setToolTip(tr("Count the selected spans again"));
    auto *spansLayout = new QVBoxLayout(spans);
    spansLayout->addWidget(
        Theme::caption(tr("Drag over the levels, or type the records, then give a reason")));
    if (listChoice_)
        spansLayout->addWidget(listChoice_);
    spansLayout->addWidget(levelPlot_, 1);
    spansLayout->addLayout(span);
    spansLayout->addWidget(spansTable_);
    spansLayout->addWidget(removeSpanButton_, 0, Qt::AlignRight);

    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left, 5);
    layout->addWidget(spans, 4);

    connect(shiftField_, &QDoubleSpinBox::valueChanged, this, &AssessmentWindow::assess);
    connect(criteriaTable_, &QTableWidget::itemChanged, this, &AssessmentWindow::criterionEdited);
    connect(excludeButton_, &QPushButton::clicked, this, &AssessmentWindow::excludeRecords);
    connect(reasonEdit_, &QLineEdit::returnPressed, this, &AssessmentWindow::excludeRecords);
    connect(reasonEdit_, &QLineEdit::textChanged, this, &AssessmentWindow::updateControls);
    connect(removeSpanButton_, &QPushButton::clicked, this, &AssessmentWindow::removeSpans);
    connect(spansTable_, &QTableWidget::itemSelectionChanged, this,
            &AssessmentWindow::updateControls);
    return page;
}

void AssessmentWindow::fillCriteriaTable()
{
    QList<CriterionSet> sets = CriterionSet::named();
    // The custom set starts from the meter's own settings, as far as it has told them.
    CriterionSet custom = kCustomDefault;
    const MeterState &state = meter().state();
    if (ExposureStatistics::isCriterion(state.status.CriterionLevel))
        custom.criterionDb = state.status.CriterionLevel;
    if (ExposureStatistics::isExchangeRate(state.status.ExchangeRate))
        custom.exchangeRateDb = state.status.ExchangeRate;
    if (state.ThresholdLevel >= 0)
        custom.thresholdDb = state.ThresholdLevel;
    sets << custom;
    criteriaTable_->setColumnCount(int(sets.size()));
    QStringList headings;
    for (const CriterionSet &set : std::as_const(sets))
        headings << (set.name.isEmpty() ? tr("Custom") : set.name);
    criteriaTable_->setHorizontalHeaderLabels(headings);
    QStringList rowCaptions;
    for (const char *caption : kCriteriaRowCaptions)
        rowCaptions << tr(caption);
    criteriaTable_->setVerticalHeaderLabels(rowCaptions);
    const QStringList checked{QStringLiteral("osha-pel"), QStringLiteral("osha-hc"),
                              QStringLiteral("niosh")};
    for (int column = 0; column < sets.size(); ++column) {
        const CriterionSet &set = sets.at(column);
        const bool custom = set.name.isEmpty();
        auto *use = readOnly(QString());
        use->setFlags(use->flags() | Qt::ItemIsUserCheckable);
        use->setCheckState(checked.contains(set.name) ? Qt::Checked : Qt::Unchecked);
        criteriaTable_->setItem(kUseRow, column, use);
        const QString levels[] = {QString::number(set.criterionDb),
                                  QString::number(set.exchangeRateDb),
                                  trimmedNumberText(set.thresholdDb, 1)};
        for (int row = kCriterionRow; row <= kThresholdRow; ++row) {
            const QString &text = levels[row - kCriterionRow];
            criteriaTable_->setItem(row, column,
                                    custom ? new QTableWidgetItem(text) : readOnly(text));
        }
        for (int row = kDoseRow; row < kCriteriaRows; ++row)
            criteriaTable_->setItem(row, column, readOnly(QString()));
        for (int row = 0; row < kCriteriaRows; ++row)
            criteriaTable_->item(row, column)->setTextAlignment(Qt::AlignCenter);
    }
    criteriaTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // All rows in sight: the table is as tall as its rows, never scrolled.
    criteriaTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    criteriaTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    criteriaTable_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    criteriaTable_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void AssessmentWindow::buildPlot()
{
    levelPlot_ = named(new VectorPlot, "levelPlot", tr("Levels"),
                       tr("The levels over the record number; drag over records to "
                          "exclude them"));
    levelPlot_->setMinimumHeight(180);
    levelPlot_->addGraph()->setPen(QPen(QColor(0x2f, 0x7d, 0xd1)));
    levelPlot_->xAxis->setLabel(tr("Record"));
    levelPlot_->yAxis->setLabel(QStringLiteral("dB"));
    plotShownList();
    levelPlot_->addLayer(QLatin1String(kSpanLayer), levelPlot_->layer(QStringLiteral("main")),
                         QCustomPlot::limAbove);
    levelPlot_->layer(QLatin1String(kSpanLayer))->setMode(QCPLayer::lmBuffered);
    // Items are born on the current layer; moved there from another they would make that
    // layer draw again too.
    levelPlot_->setCurrentLayer(QLatin1String(kSpanLayer));
    selection_ = new QCPItemRect(levelPlot_);
    selection_->setPen(QPen(QColor(0x2f, 0x7d, 0xd1), 1.0, Qt::DashLine));
    selection_->setBrush(QColor(0x2f, 0x7d, 0xd1, 40));
    selection_->setVisible(false);
    connect(levelPlot_, &QCustomPlot::mousePress, this,
            [this](QMouseEvent *event) { plotMouse(event, true, false); });
    connect(levelPlot_, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent *event) { plotMouse(event, false, false); });
    connect(levelPlot_, &QCustomPlot::mouseRelease, this,
            [this](QMouseEvent *event) { plotMouse(event, false, true); });
}

void AssessmentWindow::plotShownList()
{
    const std::vector<double> levels = assessment_.levels(shownList_);
    QVector<double> x(qsizetype(levels.size()));
    QVector<double> y(qsizetype(levels.size()));
    double low = 140.0;
    double high = 0.0;
    for (size_t r = 0; r < levels.size(); ++r) {
        x[qsizetype(r)] = double(r + 1);
        y[qsizetype(r)] = levels[r];
        if (!std::isnan(levels[r])) {
            low = std::min(low, levels[r]);
            high = std::max(high, levels[r]);
        }
    }
    levelPlot_->graph(0)->setData(x, y, true);
    levelPlot_->xAxis->setRange(1.0, std::max<double>(2.0, double(levels.size())));
    if (low > high) {
        low = 60.0;
        high = 100.0;
    }
    levelPlot_->yAxis->setRange(std::floor(low) - 2.0, std::ceil(high) + 2.0);
}

void AssessmentWindow::showList(int list)
{
    shownList_ = list;
    const int records = std::max(1, assessment_.recordCount(list));
    firstRecordField_->setRange(1, records);
    lastRecordField_->setRange(1, records);
    firstRecordField_->setValue(1);
    lastRecordField_->setValue(records);
    selection_->setVisible(false);
    plotShownList();
    showSpans();
    levelPlot_->replot();
}

QWidget *AssessmentWindow::buildIsoTab()
{
    strategyCombo_ =
        named(new QComboBox, "strategyCombo", tr("Strategy"), tr("How the day was sampled"));
    strategyCombo_->addItem(tr("Job-based"), int(Iso9612::Strategy::Job));
    strategyCombo_->addItem(tr("Full-day"), int(Iso9612::Strategy::FullDay));
    strategyCombo_->addItem(tr("Task-based"), int(Iso9612::Strategy::Task));
    instrumentCombo_ =
        named(new QComboBox, "instrumentCombo", tr("Instrument"), tr("What measured the samples"));
    instrumentCombo_->addItem(tr("Personal sound exposure meter"), int(Iso9612::Instrument::Meter));
    instrumentCombo_->addItem(tr("Class 1 sound level meter"), int(Iso9612::Instrument::Class1));
    instrumentCombo_->addItem(tr("Class 2 sound level meter"), int(Iso9612::Instrument::Class2));
    for (QComboBox *combo : {strategyCombo_, instrumentCombo_})
        combo->view()->setAccessibleName(combo->accessibleName());
    effectiveHoursField_ = hoursField(0.01, Iso9612::kMaxHours, "effectiveHoursField",
                                      tr("Effective day"), tr("Te: the hours of the working day"));
    auto *choices = new QHBoxLayout;
    choices->addWidget(Theme::card(tr("Strategy"), strategyCombo_));
    choices->addWidget(Theme::card(tr("Instrument"), instrumentCombo_));
    choices->addWidget(Theme::card(tr("Effective day Te (h)"), effectiveHoursField_));

    samplesTable_ = named(table({tr("Level (dB)"), tr("Source")}), "samplesTable", tr("Samples"),
                          tr("The measured LAeq of each sample"));
    tasksTable_ =
        named(table({tr("Task"), tr("Duration (h)"), tr("Samples (dB)"), tr("Duration range (h)")}),
              "tasksTable", tr("Tasks"),
              tr("Each task's name, duration, samples (commas between) and the "
                 "range its duration varies in, such as 3-4"));
    tasksTable_->horizontalHeader()->setSectionResizeMode(kTaskSamplesColumn, QHeaderView::Stretch);
    samplePages_ = named(new QStackedWidget, "samplePages");
    samplePages_->addWidget(samplesTable_);
    samplePages_->addWidget(tasksTable_);

    addSampleButton_ = named(new QPushButton(tr("Add row")), "addSampleButton");
    addOpenFileButton_ = named(new QPushButton(tr("Add open file")), "addOpenFileButton");
    addOpenFileButton_->setToolTip(
        tr("The LAeq,T of the records the assessment uses, as a sample"));
    addFileButton_ = named(new QPushButton(tr("Add file...")), "addFileButton");
    addFileButton_->setToolTip(tr("The LAeq,T of another data file, as a sample"));
    removeSampleButton_ = named(new QPushButton(tr("Remove")), "removeSampleButton");
    auto *sampleButtons = new QHBoxLayout;
    for (QPushButton *button :
         {addSampleButton_, addOpenFileButton_, addFileButton_, removeSampleButton_})
        sampleButtons->addWidget(button);
    sampleButtons->addStretch(1);

    auto *figures = new QGridLayout;
    isoCards_.addRows(figures, isoFigureRows());
    contributionsTable_ =
        named(table({tr("Task"), tr("LAeq (dB)"), tr("Contribution (dB)"), tr("Samples")}),
              "contributionsTable", tr("Task contributions"),
              tr("Each task's level, and its contribution: that level over the "
                 "task's duration, its share of LEX,8h"));
    contributionsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    advisoriesLabel_ = named(new QLabel, "advisoriesLabel");
    advisoriesLabel_->setWordWrap(true);
    advisoriesLabel_->setStyleSheet(QStringLiteral("color: #9a5b00;"));
    isoMessageLabel_ = named(new QLabel, "isoMessageLabel");
    isoMessageLabel_->setWordWrap(true);

    auto *inputs = new QVBoxLayout;
    inputs->addLayout(choices);
    inputs->addWidget(samplePages_, 1);
    inputs->addLayout(sampleButtons);
    auto *results = new QVBoxLayout;
    results->addLayout(figures);
    results->addWidget(contributionsTable_, 1);
    results->addWidget(advisoriesLabel_);
    results->addWidget(isoMessageLabel_);

    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(inputs, 1);
    layout->addLayout(results, 1);

    connect(strategyCombo_, &QComboBox::currentIndexChanged, this,
            &AssessmentWindow::strategyChanged);
    connect(instrumentCombo_, &QComboBox::currentIndexChanged, this, &AssessmentWindow::computeIso);
    connect(effectiveHoursField_, &QDoubleSpinBox::valueChanged, this,
            &AssessmentWindow::computeIso);
    connect(samplesTable_, &QTableWidget::itemChanged, this, &AssessmentWindow::computeIso);
    connect(tasksTable_, &QTableWidget::itemChanged, this, &AssessmentWindow::computeIso);
    connect(addSampleButton_, &QPushButton::clicked, this, &AssessmentWindow::addSampleRow);
    connect(addOpenFileButton_, &QPushButton::clicked, this, &AssessmentWindow::addOpenFile);
    connect(addFileButton_, &QPushButton::clicked, this, &AssessmentWindow::addFile);
    connect(removeSampleButton_, &QPushButton::clicked, this, &AssessmentWindow::removeSamples);
    return page;
}

QString AssessmentWindow::text() const
{
    return tabs_->currentIndex() == 0 ? result_.text() : isoResult_.text();
}

QList<CriterionSet> AssessmentWindow::chosenCriteria(QString &problem) const
{
    QList<CriterionSet> sets;
    const QList<CriterionSet> named = CriterionSet::named();
    for (int column = 0; column < criteriaTable_->columnCount(); ++column) {
        if (criteriaTable_->item(kUseRow, column)->checkState() != Qt::Checked)
            continue;
        if (column < named.size()) {
            sets << named.at(column);
            continue;
        }
        const QString custom = QStringList{cellText(criteriaTable_, kCriterionRow, column),
                                           cellText(criteriaTable_, kExchangeRow, column),
                                           cellText(criteriaTable_, kThresholdRow, column)}
                                   .join(QLatin1Char(':'));
        if (const std::optional<CriterionSet> set = CriterionSet::parse(custom, &problem))
            sets << *set;
    }
    return sets;
}

void AssessmentWindow::criterionEdited(QTableWidgetItem *item)
{
    if (item->row() < kDoseRow)
        assess();
}

bool AssessmentWindow::assesses(const ExposureAssessment &other) const
{
    if (other.listCount() != assessment_.listCount())
        return false;
    for (int list = 0; list < other.listCount(); ++list) {
        if (other.listName(list) != assessment_.listName(list) ||
            other.recordCount(list) != assessment_.recordCount(list))
            return false;
    }
    return true;
}

ExposureAssessment::Inputs AssessmentWindow::inputs() const
{
    QString problem;
    ExposureAssessment::Inputs inputs;
    inputs.criteria = chosenCriteria(problem);
    inputs.shiftHours = shiftField_->value();
    inputs.excluded = spans_;
    return inputs;
}

void AssessmentWindow::assess()
{
    QString problem;
    chosenCriteria(problem);
    result_ = assessment_.assess(inputs());
    showAssessment();
    if (!problem.isEmpty())
        messageLabel_->setText(tr("Custom: %1.").arg(problem));
    updateControls();
}

void AssessmentWindow::showAssessment()
{
    const QStringList lines = result_.lines();
    cards_.show(lines);
    const QHash<QString, QString> figures = FigureCards::values(lines);
    messageLabel_->setText(result_.message);
    euStatusLabel_->setText(
        result_.ok() ? tr(AssessmentResult::euStatusText(result_.euStatus).toUtf8().constData())
                     : FigureCards::kNoFigure);
    euStatusLabel_->setStyleSheet(result_.ok() ? statusStyle(result_.euStatus) : QString());
    showAdvisories();

    const QSignalBlocker blocker(criteriaTable_);
    qsizetype dose = 0;
    for (int column = 0; column < criteriaTable_->columnCount(); ++column) {
        const bool used = criteriaTable_->item(kUseRow, column)->checkState() == Qt::Checked;
        QStringList texts(kCriteriaRows - kDoseRow);
        // The doses come in the order of the columns checked; the custom set, the last
        // column, has none while its levels are invalid.
        if (used && dose < result_.doses.size()) {
            const AssessmentResult::Dose &d = result_.doses.at(dose++);
            const QString name = d.set.name + QLatin1Char('.');
            texts = QStringList{figures.value(name + QStringLiteral("dose")),
                                figures.value(name + QStringLiteral("twa")),
                                figures.value(name + QStringLiteral("projected-dose")),
                                figures.value(name + QStringLiteral("projected-twa"))};
            for (QString &text : texts) {
                if (text.isEmpty())
                    text = FigureCards::kNoFigure;
                else if (result_.overloads > 0)
                    text = QStringLiteral("\u2265 ") + text; // lower bounds, as LAeq
            }
        }
        for (int row = kDoseRow; row < kCriteriaRows; ++row)
            criteriaTable_->item(row, column)->setText(texts.at(row - kDoseRow));
        for (int row = 0; row < kCriteriaRows; ++row)
            criteriaTable_->item(row, column)
                ->setForeground(used ? palette().text() : palette().placeholderText());
    }
}

void AssessmentWindow::showAdvisories()
{
    QStringList advisories;
    // With overloads used the level was above the meter's range for part of the time: the
    // energy figures are at least what is shown.
    const bool lowerBounds = result_.ok() && result_.overloads > 0;
    if (lowerBounds) {
        QString advisory =
            result_.overloads == 1
                ? tr("1 overload record used: the level was above the meter's 140 dB range, so "
                     "LAeq, LEX,8h, the doses and the TWAs are lower bounds.")
                : tr("%1 overload records used: the level was above the meter's 140 dB "
                     "range, so LAeq, LEX,8h, the doses and the TWAs are lower bounds.")
                      .arg(result_.overloads);
        if (result_.overloadsAddTenths)
            advisory +=
                QLatin1Char(' ') +
                tr("The overloads add %1 dB to LAeq.").arg(tenthsText(*result_.overloadsAddTenths));
        advisories << advisory;
    }
    if (result_.ok() && result_.coveragePercent < ExposureAssessment::kLowCoveragePercent)
        advisories << tr("The measurement covers %1 % of the shift: the projection assumes the "
                         "unmeasured part of the shift is like the measured part.")
                          .arg(result_.coveragePercent);
    if (result_.ok() && result_.shifts.size() > 1)
        advisories << tr("The records fall in %1 shifts more than 4 hours apart: the pooled "
                         "figures mix days.")
                          .arg(result_.shifts.size());
    advisoryLabel_->setText(advisories.join(QLatin1Char('\n')));
    if (!lowerBounds)
        return;
    for (const char *name : {"laeqValue", "lex8hValue"}) {
        if (auto *label = findChild<QLabel *>(QLatin1String(name)))
            label->setText(QStringLiteral("\u2265 ") + label->text());
    }
}

void AssessmentWindow::plotMouse(QMouseEvent *event, bool pressed, bool released)
{
    const double x = levelPlot_->xAxis->pixelToCoord(event->position().x());
    if (pressed) {
        if (event->button() != Qt::LeftButton)
            return;
        dragStart_ = x;
    }
    if (!dragStart_)
        return;
    const double low = std::min(*dragStart_, x);
    const double high = std::max(*dragStart_, x);
    selection_->topLeft->setCoords(low, levelPlot_->yAxis->range().upper);
    selection_->bottomRight->setCoords(high, levelPlot_->yAxis->range().lower);
    selection_->setVisible(true);
    levelPlot_->layer(QLatin1String(kSpanLayer))->replot();
    if (!released)
        return;
    dragStart_.reset();
    const int records = std::max(1, assessment_.recordCount(shownList_));
    firstRecordField_->setValue(std::clamp(int(std::ceil(low)), 1, records));
    lastRecordField_->setValue(std::clamp(int(std::floor(high)), 1, records));
    reasonEdit_->setFocus();
}

void AssessmentWindow::excludeRecords()
{
    const ExcludedSpan span{shownList_, int(firstRecordField_->value()),
                            int(lastRecordField_->value()), reasonEdit_->text().trimmed()};
    const QString problem = assessment_.spanProblem(span);
    if (!problem.isEmpty()) {
        messageLabel_->setText(problem);
        return;
    }
    spans_ << span;
    reasonEdit_->clear();
    selection_->setVisible(false);
    showSpans();
    assess();
    emit excludedSpansChanged();
}

void AssessmentWindow::removeSpans()
{
    QList<int> rows;
    for (const QModelIndex &index : spansTable_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : std::as_const(rows))
        spans_.removeAt(row);
    showSpans();
    assess();
    emit excludedSpansChanged();
}

void AssessmentWindow::setExcludedSpans(const QList<ExcludedSpan> &spans)
{
    spans_.clear();
    for (const ExcludedSpan &span : spans) {
        if (assessment_.spanProblem(span).isEmpty())
            spans_ << span;
    }
    showSpans();
    assess();
}

void AssessmentWindow::showSpans()
{
    spansTable_->setRowCount(int(spans_.size()));
    for (int row = 0; row < spans_.size(); ++row) {
        const ExcludedSpan &span = spans_.at(row);
        const int column = listChoice_ ? 1 : 0;
        if (listChoice_)
            spansTable_->setItem(row, 0, readOnly(assessment_.listName(span.list)));
        spansTable_->setItem(row, column, readOnly(QString::number(span.first)));
        spansTable_->setItem(row, column + 1, readOnly(QString::number(span.last)));
        spansTable_->setItem(row, column + 2, readOnly(span.reason));
    }
    for (int i = levelPlot_->itemCount() - 1; i >= 0; --i) {
        if (levelPlot_->item(i) != selection_)
            levelPlot_->removeItem(i);
    }
    for (const ExcludedSpan &span : std::as_const(spans_)) {
        if (span.list != shownList_)
            continue;
        auto *shade = new QCPItemRect(levelPlot_);
        shade->setPen(Qt::NoPen);
        shade->setBrush(QColor(0xd0, 0x40, 0x40, 60));
        shade->topLeft->setCoords(span.first - 0.5, levelPlot_->yAxis->range().upper);
        shade->bottomRight->setCoords(span.last + 0.5, levelPlot_->yAxis->range().lower);
    }
    levelPlot_->layer(QLatin1String(kSpanLayer))->replot();
}

void AssessmentWindow::strategyChanged()
{
    const bool tasks =
        Iso9612::Strategy(strategyCombo_->currentData().toInt()) == Iso9612::Strategy::Task;
    samplePages_->setCurrentWidget(tasks ? tasksTable_ : samplesTable_);
    effectiveHoursField_->setEnabled(!tasks);
    computeIso();
}

Iso9612::Input AssessmentWindow::isoInput(QString &problem) const
{
    Iso9612::Input input;
    input.strategy = Iso9612::Strategy(strategyCombo_->currentData().toInt());
    input.instrument = Iso9612::Instrument(instrumentCombo_->currentData().toInt());
    input.effectiveHours = effectiveHoursField_->value();
    const bool tasks = input.strategy == Iso9612::Strategy::Task;
    for (int row = 0; !tasks && row < samplesTable_->rowCount(); ++row) {
        const QTableWidgetItem *item = samplesTable_->item(row, kLevelColumn);
        const QString text = cellText(samplesTable_, row, kLevelColumn);
        if (text.isEmpty())
            continue;
        // A file's LAeq is kept unrounded while its cell shows it as it was put there.
        const QVariant exact = item->data(Qt::UserRole);
        const std::optional<QList<double>> typed = Iso9612::levelList(text);
        if (exact.isValid() && oneDecimalText(exact.toDouble()) == text)
            input.samplesDb << exact.toDouble();
        else if (typed && typed->size() == 1)
            input.samplesDb << typed->first();
        else if (problem.isEmpty())
            problem = tr("Sample %1: '%2' is no level in dB.").arg(row + 1).arg(text);
    }
    for (int row = 0; tasks && row < tasksTable_->rowCount(); ++row) {
        Iso9612::Task task;
        task.name = cellText(tasksTable_, row, kTaskColumn);
        const QString hours = cellText(tasksTable_, row, kHoursColumn);
        const QString samples = cellText(tasksTable_, row, kTaskSamplesColumn);
        const QString range = cellText(tasksTable_, row, kRangeColumn);
        if (task.name.isEmpty() && hours.isEmpty() && samples.isEmpty() && range.isEmpty())
            continue;
        const std::optional<QList<double>> duration = Iso9612::levelList(hours);
        const std::optional<QList<double>> levels = Iso9612::levelList(samples);
        const auto durationRange = Iso9612::durationRange(range);
        QString fault;
        if (task.name.isEmpty())
            fault = tr("Task %1 has no name.").arg(row + 1);
        else if (!duration || duration->size() != 1)
            fault = tr("Task %1: its duration is a number of hours.").arg(task.name);
        else if (!levels)
            fault = tr("Task %1: its samples are levels in dB with commas between.").arg(task.name);
        else if (!range.isEmpty() && !durationRange)
            fault = tr("Task %1: its duration range is typed as 3-4 (hours).").arg(task.name);
        if (!fault.isEmpty()) {
            if (problem.isEmpty())
                problem = fault;
            continue;
        }
        task.hours = duration->first();
        task.samplesDb = *levels;
        if (durationRange) {
            task.minHours = durationRange->first;
            task.maxHours = durationRange->second;
        }
        input.tasks << task;
    }
    return input;
}

void AssessmentWindow::computeIso()
{
    QString problem;
    const Iso9612::Input input = isoInput(problem);
    isoResult_ = Iso9612::compute(input);
    // A cell that cannot be read gives no figures: they would leave a sample out unseen.
    if (!problem.isEmpty())
        isoResult_.message = problem;
    showIso();
    updateControls();
}

void AssessmentWindow::showIso()
{
    const bool ok = isoResult_.ok();
    const bool tasks = isoResult_.strategy == Iso9612::Strategy::Task;
    isoCards_.show(ok ? isoResult_.lines() : QStringList());
    contributionsTable_->setRowCount(ok && tasks ? int(isoResult_.tasks.size()) : 0);
    for (int row = 0; row < contributionsTable_->rowCount(); ++row) {
        const Iso9612::TaskFigures &task = isoResult_.tasks.at(row);
        contributionsTable_->setItem(row, 0, readOnly(task.name));
        contributionsTable_->setItem(row, 1, readOnly(oneDecimalText(task.laeqDb)));
        contributionsTable_->setItem(row, 2, readOnly(oneDecimalText(task.contributionDb)));
        contributionsTable_->setItem(row, 3, readOnly(QString::number(task.samples)));
    }
    contributionsTable_->setVisible(tasks);
    QStringList advisories;
    for (const Iso9612::Result::Advisory &advisory : isoResult_.advisories)
        advisories << advisory.filled(QCoreApplication::translate("Iso9612", advisory.source));
    advisoriesLabel_->setText(ok ? advisories.join(QLatin1Char('\n')) : QString());
    isoMessageLabel_->setText(isoResult_.message);
}

void AssessmentWindow::addSampleRow()
{
    QTableWidget *target =
        samplePages_->currentWidget() == tasksTable_ ? tasksTable_ : samplesTable_;
    const QSignalBlocker blocker(target);
    const int row = target->rowCount();
    target->insertRow(row);
    if (target == samplesTable_) {
        samplesTable_->setItem(row, kLevelColumn, new QTableWidgetItem);
        samplesTable_->setItem(row, kSourceColumn, readOnly(tr("typed")));
    } else {
        tasksTable_->setItem(row, kTaskColumn, new QTableWidgetItem(tr("Task %1").arg(row + 1)));
        for (int column = kHoursColumn; column <= kRangeColumn; ++column)
            tasksTable_->setItem(row, column, new QTableWidgetItem);
    }
    target->setCurrentCell(row, target == samplesTable_ ? int(kLevelColumn) : int(kHoursColumn));
    target->editItem(target->currentItem());
}

void AssessmentWindow::addSample(const QString &source, double levelDb)
{
    if (samplePages_->currentWidget() == tasksTable_) {
        // A file's level joins the selected task, or a new task named after the file.
        int row = tasksTable_->currentRow();
        if (row < 0) {
            addSampleRow();
            row = tasksTable_->rowCount() - 1;
            tasksTable_->item(row, kTaskColumn)->setText(source);
        }
        QTableWidgetItem *samples = tasksTable_->item(row, kTaskSamplesColumn);
        const QString text = samples->text().trimmed();
        samples->setText((text.isEmpty() ? QString() : text + QStringLiteral(", ")) +
                         oneDecimalText(levelDb));
        return;
    }
    {
        const QSignalBlocker blocker(samplesTable_);
        const int row = samplesTable_->rowCount();
        samplesTable_->insertRow(row);
        auto *level = new QTableWidgetItem(oneDecimalText(levelDb));
        level->setData(Qt::UserRole, levelDb);
        samplesTable_->setItem(row, kLevelColumn, level);
        samplesTable_->setItem(row, kSourceColumn, readOnly(source));
    }
    computeIso();
}

void AssessmentWindow::addOpenFile()
{
    if (!result_.ok()) {
        dialogs().inform(this, result_.message, Dialogs::Icon::Information);
        return;
    }
    addSample(tr("%1 (records used)").arg(assessment_.listName(0)), result_.laeqDb);
}

void AssessmentWindow::addFile()
{
    const QString path = dialogs().openFileName(this, tr("Add a data file as a sample"),
                                                FileTransfer::kDataFileFilter);
    if (path.isEmpty())
        return;
    const DatFile::Content content = DatFile::read(path);
    if (!content.ok()) {
        dialogs().inform(this, content.error, Dialogs::Icon::Critical);
        return;
    }
    ExposureAssessment file;
    file.addRecords(QFileInfo(path).fileName(), content.table);
    const AssessmentResult levels = file.assess({});
    if (!levels.ok()) {
        dialogs().inform(this, QFileInfo(path).fileName() + QStringLiteral(": ") + levels.message,
                         Dialogs::Icon::Information);
        return;
    }
    addSample(QFileInfo(path).fileName(), levels.laeqDb);
}

void AssessmentWindow::removeSamples()
{
    QTableWidget *target =
        samplePages_->currentWidget() == tasksTable_ ? tasksTable_ : samplesTable_;
    QList<int> rows;
    for (const QModelIndex &index : target->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && target->currentRow() >= 0)
        rows << target->currentRow();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : std::as_const(rows))
        target->removeRow(row);
    computeIso();
}

void AssessmentWindow::copyFigures()
{
    QApplication::clipboard()->setText(text());
}

void AssessmentWindow::updateControls()
{
    excludeButton_->setEnabled(!reasonEdit_->text().trimmed().isEmpty());
    removeSpanButton_->setEnabled(!spansTable_->selectedItems().isEmpty());
    addOpenFileButton_->setEnabled(result_.ok());
    copyButton_->setEnabled(tabs_->currentIndex() == 0 ? result_.ok() : isoResult_.ok());
    if (reportButton_)
        reportButton_->setEnabled(result_.ok());
}
