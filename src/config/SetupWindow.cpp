#include "config/SetupWindow.h"

#include "link/Clock.h"
#include "link/Messages.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char *const kStyle = R"(
QGroupBox { background: white; border: 1px solid #d5dbe1; border-radius: 6px;
            margin-top: 1.4em; padding: 6px 8px 8px 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; color: #5b6773; }
QFrame#progressPanel { background: white; border: 1px solid #d5dbe1; border-radius: 6px; }
QLabel#settingUpLabel { font-weight: 600; }
QLabel#stepLabel { color: #1d2730; }
QLabel#resultLabel { color: #c62828; }
)";

QComboBox *numberList(int first, int last, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    for (int n = first; n <= last; ++n)
        list->addItem(QString::number(n));
    return list;
}

// An option group in a frame; the buttons in a row.
template <size_t N>
QGroupBox *optionFrame(const QString &caption, std::array<QRadioButton *, N> &buttons,
                       const char *name, const std::array<QString, N> &captions, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    auto *row = new QHBoxLayout(frame);
    auto *group = new QButtonGroup(frame);
    for (size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(captions[i], frame);
        buttons[i]->setObjectName(QLatin1String(name) + QString::number(i));
        group->addButton(buttons[i]);
        row->addWidget(buttons[i]);
    }
    row->addStretch(1);
    return frame;
}

// The number on the checked button, 0 when none is checked.
template <size_t N> int checkedNumber(const std::array<QRadioButton *, N> &buttons)
{
    for (QRadioButton *button : buttons) {
        if (button->isChecked())
            return button->text().toInt();
    }
    return 0;
}

template <size_t N> void check(const std::array<QRadioButton *, N> &buttons, int number)
{
    for (QRadioButton *button : buttons) {
        if (button->text().toInt() == number)
            button->setChecked(true);
    }
}

} // namespace

SetupWindow::SetupWindow(Meter &meter, Dialogs &dialogs, std::function<QString()> thresholdCaption,
                         QWidget *parent)
    : MeterWindow(meter, dialogs, "SetupWindow", tr("Setup"), parent),
      thresholdCaption_(std::move(thresholdCaption)), sequence_(meter)
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    buildControls();
    preset();

    sequence_.cancelled = [this] { return closing(); };
    sequence_.adjusting = [this](SetupSequence::Step step, int, std::optional<int>) {
        stepLabel_->setText(SetupSequence::translated(SetupSequence::settingName(step)));
    };
    sequence_.thresholdLowered = [this](int db) {
        thresholdChoice_->setEditText(QString::number(db));
    };
    sequence_.failing = [this](const SetupSequence::Result &) {
        endProgress();
        if (!closing())
            this->dialogs().inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
    };
}

SetupWindow::~SetupWindow()
{
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

void SetupWindow::buildControls()
{
    auto *tw = optionFrame<2>(tr("Time Weighting"), responseButtons_, "responseButton",
                              {tr("Fast"), tr("Slow")}, this);
    auto *cl = optionFrame<4>(tr("Criterion level"), criterionButtons_, "criterionButton",
                              {"80", "84", "85", "90"}, this);
    auto *er = optionFrame<4>(tr("Exchange rate"), exchangeRateButtons_, "exchangeRateButton",
                              {"3", "4", "5", "6"}, this);

    auto *thresholdFrame = new QGroupBox(tr("Threshold Level"), this);
    thresholdChoice_ =
        named(numberList(SetupChoice::kThresholdLowDb, SetupChoice::kThresholdHighDb, this),
              "thresholdChoice", tr("Threshold level"),
              tr("The threshold level in dB, 70 to 90 and not above the "
                 "criterion level"));
    thresholdChoice_->setEditText(QStringLiteral("80"));
    auto *thresholdRow = new QHBoxLayout(thresholdFrame);
    thresholdRow->addWidget(thresholdChoice_);
    thresholdRow->addWidget(Theme::caption(tr("70-90 and < C.L."), thresholdFrame));
    thresholdRow->addStretch(1);

    auto *dateFrame = new QGroupBox(tr("Date (computer system clock)"), this);
    auto *dateGrid = new QGridLayout(dateFrame);
    struct Field {
        const char *name;
        const char *caption;
        int first;
        int last;
        const char *description;
    };
    const std::array<Field, 5> fields{{
        {"clockField1", QT_TR_NOOP("Year"), SetupChoice::kFirstYear, SetupChoice::kLastYear,
         QT_TR_NOOP("The year the meter's clock is set to")},
        {"clockField2", QT_TR_NOOP("Month"), 1, 12,
         QT_TR_NOOP("The month the meter's clock is set to")},
        {"clockField3", QT_TR_NOOP("Date"), 1, 31,
         QT_TR_NOOP("The day of the month the meter's clock is set to")},
        {"clockField4", QT_TR_NOOP("Hour"), 0, 23,
         QT_TR_NOOP("The hour the meter's clock is set to")},
        {"clockField5", QT_TR_NOOP("Minutes"), 0, 59,
         QT_TR_NOOP("The minute the meter's clock is set to")},
    }};
    for (int i = 0; i < 5; ++i) {
        const Field &f = fields[size_t(i)];
        clockFields_[size_t(i + 1)] =
            named(numberList(f.first, f.last, dateFrame), f.name, tr(f.caption), tr(f.description));
        dateGrid->addWidget(Theme::caption(tr(f.caption), dateFrame), 0, i);
        dateGrid->addWidget(clockFields_[size_t(i + 1)], 1, i);
    }

    // The edit boxes and drop-down lists inside the lists carry the lists' names for
    // screen readers.
    for (QComboBox *list : {thresholdChoice_, clockFields_[1], clockFields_[2], clockFields_[3],
                            clockFields_[4], clockFields_[5]}) {
        describe(list->lineEdit(), list->accessibleName(), list->accessibleDescription());
        describe(list->view(), list->accessibleName(), list->accessibleDescription());
    }

    okButton_ = named(new QPushButton(QStringLiteral("OK"), this), "okButton");
    okButton_->setDefault(true);

    progressPanel_ = named(new QFrame(this), "progressPanel");
    settingUpLabel_ = named(new QLabel(tr("Setting up"), progressPanel_), "settingUpLabel");
    progressBar_ = named(new QProgressBar(progressPanel_), "progressBar", tr("Setting up"),
                         tr("Moves while the meter is being set up"));
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    stepLabel_ = named(new QLabel(progressPanel_), "stepLabel");
    auto *picRow = new QGridLayout(progressPanel_);
    picRow->addWidget(settingUpLabel_, 0, 0);
    picRow->addWidget(progressBar_, 0, 1);
    picRow->addWidget(stepLabel_, 1, 0, 1, 2);
    picRow->setColumnStretch(1, 1);
    progressPanel_->hide();

    resultLabel_ = named(new QLabel(this), "resultLabel");
    resultLabel_->setWordWrap(true);
    resultLabel_->hide();

    clockTimer_ = named(new QTimer(this), "clockTimer");
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &SetupWindow::followComputerClock);
    clockTimer_->start();

    progressTimer_ = named(new QTimer(this), "progressTimer");
    progressTimer_->setInterval(500);
    connect(progressTimer_, &QTimer::timeout, this, &SetupWindow::advanceProgress);
    connect(okButton_, &QPushButton::clicked, this, &SetupWindow::applySetup);

    auto *options = new QGridLayout;
    options->addWidget(cl, 0, 0);
    options->addWidget(er, 0, 1);
    options->addWidget(thresholdFrame, 1, 0);
    options->addWidget(tw, 1, 1);

    okButton_->setMinimumWidth(okButton_->fontMetrics().horizontalAdvance(QStringLiteral("OK")) *
                               5);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(resultLabel_, 1);
    buttons->addStretch();
    buttons->addWidget(okButton_, 0, Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(dateFrame);
    layout->addWidget(progressPanel_);
    layout->addLayout(buttons);
    layout->addStretch(1);
}

void SetupWindow::preset()
{
    const MeterState &state = meter().state();
    responseButtons_[state.status.FastResponse ? 0 : 1]->setChecked(true);
    check(criterionButtons_, state.status.CriterionLevel);
    check(exchangeRateButtons_, state.status.ExchangeRate);
    // Before the first settings refresh the caption is empty; the list's own preset stays.
    const QString threshold = thresholdCaption_ ? thresholdCaption_() : QString();
    if (!threshold.isEmpty())
        thresholdChoice_->setEditText(threshold);
    showClock(computerClock(), false);
}

std::array<int, 6> SetupWindow::computerClock() const
{
    const QDateTime now = meter().clock().now();
    return {0,
            now.date().year(),
            now.date().month(),
            now.date().day(),
            now.time().hour(),
            now.time().minute()};
}

void SetupWindow::showClock(const std::array<int, 6> &values, bool onlyUnedited)
{
    for (size_t i = 1; i <= 5; ++i) {
        if (onlyUnedited && clockFieldEdited(i))
            continue;
        clockShown_[i] = QString::number(values[i]);
        if (clockFields_[i]->currentText() != clockShown_[i])
            clockFields_[i]->setEditText(clockShown_[i]);
    }
}

bool SetupWindow::clockFieldEdited(size_t field) const
{
    return clockFields_[field]->currentText() != clockShown_[field];
}

void SetupWindow::followComputerClock()
{
    if (running())
        return;
    for (size_t i = 1; i <= 5; ++i) {
        // The user is setting the clock by hand: nothing moves under the hand any more.
        if (clockFieldEdited(i)) {
            clockTimer_->stop();
            return;
        }
    }
    showClock(computerClock(), false);
}

std::optional<SetupChoice> SetupWindow::choice()
{
    const auto invalid = [](QComboBox *box) -> std::optional<SetupChoice> {
        box->setFocus();
        box->lineEdit()->selectAll();
        return std::nullopt;
    };
    SetupChoice c;
    c.criterionDb = checkedNumber(criterionButtons_);
    c.exchangeRateDb = checkedNumber(exchangeRateButtons_);
    c.fast = responseButtons_[0]->isChecked();
    c.thresholdDb = SetupChoice::number(thresholdChoice_->currentText());
    if (!c.thresholdDb || !SetupChoice::validThreshold(*c.thresholdDb))
        return invalid(thresholdChoice_);
    // The fields the user has not edited take the computer's time now, at OK.
    bool edited = false;
    for (size_t i = 1; i <= 5; ++i)
        edited = edited || clockFieldEdited(i);
    showClock(computerClock(), true);
    std::array<int, 6> n{};
    for (size_t i = 1; i <= 5; ++i) {
        const std::optional<int> value = SetupChoice::number(clockFields_[i]->currentText());
        if (!value)
            return invalid(clockFields_[i]);
        n[i] = *value;
    }
    const std::optional<QDateTime> clock = SetupChoice::clockFrom(n[1], n[2], n[3], n[4], n[5]);
    if (!clock) {
        // The first field out of its list's range, else the day (31 April).
        for (size_t i = 1; i <= 5; ++i) {
            if (clockFields_[i]->findText(QString::number(n[i])) < 0)
                return invalid(clockFields_[i]);
        }
        return invalid(clockFields_[3]);
    }
    if (edited) {
        c.clock = [when = *clock] { return when; };
    } else {
        // Nothing typed: the meter is set to the computer's time as the clock steps reach
        // it, not as it was when OK was pressed, minutes of key presses earlier.
        Clock &computer = meter().clock();
        c.clock = [&computer] {
            const QDateTime now = computer.now();
            return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()));
        };
    }
    return c;
}

void SetupWindow::applySetup()
{
    if (running() || closing() || !mayRunCommand(false))
        return;
    const std::optional<SetupChoice> chosen = choice();
    if (!chosen) {
        dialogs().inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
        return;
    }
    SetupSequence::Result result;
    {
        // Holds the window open until the run has restored what it changed.
        const Command command(*this);
        setState(State::Running);
        result = sequence_.run(*chosen);
        endProgress();
        setState(State::Idle);
    }
    if (closing())
        return;
    switch (result.outcome) {
    case SetupSequence::Outcome::Done:
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kSuccess),
                         Dialogs::Icon::Information);
        close();
        break;
    case SetupSequence::Outcome::Failed:
        resultLabel_->setText(result.detail);
        resultLabel_->show();
        break;
    case SetupSequence::Outcome::Silent:
        resultLabel_->setText(
            tr("The meter stopped answering at: %1.")
                .arg(SetupSequence::translated(SetupSequence::settingName(result.step))));
        resultLabel_->show();
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kMeterSilent),
                         Dialogs::Icon::Warning);
        break;
    case SetupSequence::Outcome::Refused:
        dialogs().inform(this, SetupSequence::translated(SetupSequence::kRefused),
                         Dialogs::Icon::Information);
        break;
    case SetupSequence::Outcome::Cancelled:
        break;
    }
}

void SetupWindow::advanceProgress()
{
    if (progressBar_->value() >= 100)
        progressBar_->setValue(0);
    progressBar_->setValue(progressBar_->value() + 1);
}

void SetupWindow::setState(State state)
{
    state_ = state;
    const bool idle = state == State::Idle;
    for (QWidget *control : std::initializer_list<QWidget *>{
             okButton_, thresholdChoice_, clockFields_[1], clockFields_[2], clockFields_[3],
             clockFields_[4], clockFields_[5]})
        control->setEnabled(idle);
    for (QRadioButton *button : responseButtons_)
        button->setEnabled(idle);
    for (QRadioButton *button : criterionButtons_)
        button->setEnabled(idle);
    for (QRadioButton *button : exchangeRateButtons_)
        button->setEnabled(idle);
    if (idle)
        return;
    resultLabel_->clear();
    resultLabel_->hide();
    stepLabel_->clear();
    progressBar_->setValue(0);
    progressPanel_->show();
    progressTimer_->start();
    if (!waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
}

void SetupWindow::endProgress()
{
    progressTimer_->stop();
    progressPanel_->hide();
    shrinkToContents();
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void SetupWindow::windowClosing()
{
    clockTimer_->stop();
    endProgress();
}
