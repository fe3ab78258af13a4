#include "config/StandardsWindow.h"

#include "config/ExposureStandards.h"
#include "link/Messages.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char *const kStyle = R"(
QLabel#stepLabel { color: #1d2730; }
)";

} // namespace

StandardsWindow::StandardsWindow(Meter &meter, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "StandardsWindow", tr("Occupational Noise Exposure Standard"),
                  parent),
      sequence_(meter)
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    buildTable();
    stepLabel_ = named(new QLabel(tr("Click a country's name to set the meter's criterion level "
                                     "and exchange rate to its standard."),
                                  this),
                       "stepLabel");
    progressBar_ = named(new QProgressBar(this), "progressBar", tr("Setting up"),
                         tr("Moves while the meter is being set to a standard"));
    progressBar_->setRange(0, 0); // no end known: it only shows that the preset runs
    progressBar_->setTextVisible(false);
    progressBar_->setMaximumWidth(160);
    progressBar_->hide();

    // The table holds the values the meter was built with; regulations have moved on since.
    presetsNote_ = named(new QLabel(tr("These are the meter's presets, not today's regulations; "
                                       "the assessment's EU figures follow Directive 2003/10/EC."),
                                    this),
                         "presetsNote");
    presetsNote_->setWordWrap(true);

    auto *status = new QHBoxLayout;
    status->addWidget(stepLabel_, 1);
    status->addWidget(progressBar_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(presetsNote_);
    layout->addLayout(status);

    sequence_.cancelled = [this] { return closing(); };
    sequence_.adjusting = [this](SetupSequence::Step step, int, std::optional<int>) {
        stepLabel_->setText(
            tr("Setting up %1: %2")
                .arg(country_, SetupSequence::translated(SetupSequence::settingName(step))));
    };
    sequence_.failing = [this](const SetupSequence::Result &) {
        endProgress();
        if (!closing())
            this->dialogs().inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
    };
}

StandardsWindow::~StandardsWindow()
{
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

void StandardsWindow::buildTable()
{
    using T = ExposureStandards;
    table_ = named(new QTableWidget(T::kRows, T::kColumns, this), "table",
                   tr("Occupational noise exposure standards"),
                   tr("Click a country to set the meter's criterion level and "
                      "exchange rate to its standard"));
    table_->horizontalHeader()->hide();
    table_->horizontalHeader()->setMinimumSectionSize(1);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setWordWrap(false);
    QFont bold = table_->font();
    bold.setBold(true);
    // The heading row and the country column look like the grids' headings; the
    // countries, which take a click, like links.
    const QBrush headingBackground(QColor(0xf4, 0xf6, 0xf8));
    const QBrush link(QColor(0x1f, 0x5f, 0xa8));
    for (int row = 0; row < T::kRows; ++row) {
        for (int column = 0; column < T::kColumns; ++column) {
            auto *cell = new QTableWidgetItem(T::translated(row, column));
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setTextAlignment(column == T::kCountryColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                               : Qt::AlignCenter);
            // The fixed heading row and country column.
            if (row == 0 || column == T::kCountryColumn) {
                cell->setBackground(headingBackground);
                if (row == 0)
                    cell->setFont(bold);
            }
            if (T::runsPreset(row, column)) {
                cell->setForeground(link);
                cell->setToolTip(
                    tr("Set the meter to the standard of %1").arg(T::translated(row, column)));
            }
            table_->setItem(row, column, cell);
        }
    }
    const QFontMetrics metrics(table_->font());
    table_->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    const QFontMetrics boldMetrics(bold);
    const int padding = 12;
    table_->setColumnWidth(T::kCountryColumn,
                           metrics.horizontalAdvance(QStringLiteral("australia12345")) + padding);
    for (int column = 1; column < T::kEmptyColumn; ++column)
        table_->setColumnWidth(
            column, boldMetrics.horizontalAdvance(T::translated(0, column) + QStringLiteral("AA")) +
                        padding);
    table_->setColumnWidth(T::kEmptyColumn, 1);
    // The current cell sits in the empty column, so that no visible cell is highlighted.
    table_->setCurrentCell(1, T::kEmptyColumn);

    int width = 2 * table_->frameWidth();
    for (int column = 0; column < T::kColumns; ++column)
        width += table_->columnWidth(column);
    int height = 2 * table_->frameWidth();
    for (int row = 0; row < T::kRows; ++row)
        height += table_->rowHeight(row);
    table_->setMinimumSize(width, height);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    connect(table_, &QTableWidget::cellPressed, this, &StandardsWindow::chooseCountry);
}

void StandardsWindow::showEvent(QShowEvent *event)
{
    MeterWindow::showEvent(event);
    if (greeted_)
        return;
    greeted_ = true;
    // Once the window is on the screen, not from inside the command that opens it.
    QTimer::singleShot(0, this, [this] {
        if (!closing())
            dialogs().inform(this, tr(kOpeningMessage), Dialogs::Icon::Information);
    });
}

void StandardsWindow::chooseCountry(int row, int column)
{
    if (!ExposureStandards::runsPreset(row, column) || closing())
        return;
    if (running_) {
        dialogs().inform(this, Messages::kMeterBusy, Dialogs::Icon::Information);
        return;
    }
    if (!mayRunCommand(false))
        return;
    const ExposureStandards::Preset preset = ExposureStandards::preset(row);
    country_ = ExposureStandards::translated(row, ExposureStandards::kCountryColumn);
    SetupSequence::Result result;
    {
        const Command command(*this);
        running_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
        progressBar_->show();
        result = sequence_.preset(preset.criterionDb, preset.exchangeRateDb);
        endProgress();
        running_ = false;
    }
    if (closing())
        return;
    switch (result.outcome) {
    case SetupSequence::Outcome::Done:
        stepLabel_->setText(tr("%1: criterion level %2 dB, exchange rate %3.")
                                .arg(country_)
                                .arg(meter().state().status.CriterionLevel)
                                .arg(meter().state().status.ExchangeRate));
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kSuccess),
                         Dialogs::Icon::Information);
        break;
    case SetupSequence::Outcome::Failed:
        stepLabel_->setText(result.detail);
        break;
    case SetupSequence::Outcome::Silent:
        stepLabel_->setText(
            tr("%1: the meter stopped answering at: %2.")
                .arg(country_, SetupSequence::translated(SetupSequence::settingName(result.step))));
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kMeterSilent),
                         Dialogs::Icon::Warning);
        break;
    case SetupSequence::Outcome::Refused:
        stepLabel_->clear();
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kRefused),
                         Dialogs::Icon::Information);
        break;
    case SetupSequence::Outcome::Cancelled:
        break;
    }
}

void StandardsWindow::endProgress()
{
    progressBar_->hide();
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void StandardsWindow::windowClosing()
{
    endProgress();
}
