#include "main/ControlPanel.h"

#include "link/Messages.h"
#include "link/Meter.h"
#include "main/LcdReplica.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kRedrawMs = 500;

// A dark instrument housing with soft membrane keys; RUN and PAUSE carry the colour
// stripes such keys have on a meter's front.
const char *const kStyle = R"(
#ControlPanel { background: #2b3036; }
QMenuBar { background: #2b3036; color: #dde3e8; border-bottom: 1px solid #1c2024; }
QMenuBar::item { padding: 4px 10px; background: transparent; }
QMenuBar::item:selected { background: #454d56; border-radius: 4px; }
#housing {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3d444c, stop:1 #30363d);
    border: 1px solid #1c2024; border-radius: 16px;
}
#bezel { background: #1d2227; border-radius: 12px; }
QPushButton {
    color: #eef2f4; font-weight: 600; letter-spacing: 1px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #58616b, stop:1 #474f58);
    border: 1px solid #1f2428; border-bottom: 3px solid #23282d; border-radius: 10px;
    padding: 9px 12px 8px 12px; min-width: 72px; min-height: 22px;
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #626c77, stop:1 #515a64); }
QPushButton:pressed {
    background: #3e454d; border-bottom: 1px solid #1f2428; padding: 11px 12px 8px 12px;
}
QPushButton:focus { border-color: #8fb3d9; }
QPushButton:disabled { color: #858e96; background: #3b4148; }
#runKey { border-bottom: 3px solid #3f9d63; }
#pauseKey { border-bottom: 3px solid #c9902c; }
#pauseKey:disabled { border-bottom: 3px solid #5a5247; }
)";

} // namespace

ControlPanel::ControlPanel(Meter &meter, Dialogs &dialogs, std::function<QString()> mainValueText,
                           QWidget *parent)
    : MeterWindow(meter, dialogs, "ControlPanel", tr("Control Panel"), parent),
      mainValueText_(std::move(mainValueText))
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto *menuBar = new QMenuBar(this);
    lockAction_ = new QAction(tr("Lock"), this);
    lockAction_->setObjectName(QStringLiteral("lockAction"));
    lockAction_->setToolTip(tr("Locks or unlocks the meter's keypad"));
    menuBar->addAction(lockAction_);
    connect(lockAction_, &QAction::triggered, this, &ControlPanel::toggleKeypadLock);

    auto *housing = new QFrame(this);
    housing->setObjectName(QStringLiteral("housing"));
    auto *bezel = new QFrame(housing);
    bezel->setObjectName(QStringLiteral("bezel"));
    lcd_ = new LcdReplica(bezel);
    named(lcd_, "lcd", tr("Meter display"),
          tr("A replica of the meter's display, mirrored from every poll"));
    auto *bezelLayout = new QVBoxLayout(bezel);
    bezelLayout->setContentsMargins(8, 8, 8, 8);
    bezelLayout->addWidget(lcd_);

    modeKey_ = makeKey(QStringLiteral("modeKey"), QStringLiteral("MODE"));
    eventKey_ = makeKey(QStringLiteral("eventKey"), QStringLiteral("EVENT"));
    resetKey_ = makeKey(QStringLiteral("resetKey"), QStringLiteral("RESET"));
    clockKey_ = makeKey(QStringLiteral("clockKey"), QStringLiteral("CLOCK"));
    runKey_ = makeKey(QStringLiteral("runKey"), QStringLiteral("RUN"));
    pauseKey_ = makeKey(QStringLiteral("pauseKey"), QStringLiteral("PAUSE"));
    pauseKey_->setEnabled(false);
    connect(modeKey_, &QPushButton::clicked, this, &ControlPanel::pressMode);
    connect(eventKey_, &QPushButton::clicked, this, &ControlPanel::pressEvent);
    connect(resetKey_, &QPushButton::clicked, this, &ControlPanel::pressReset);
    connect(clockKey_, &QPushButton::clicked, this, &ControlPanel::pressClock);
    connect(runKey_, &QPushButton::clicked, this, &ControlPanel::pressRun);
    connect(pauseKey_, &QPushButton::clicked, this, &ControlPanel::pressPause);

    auto *keys = new QGridLayout;
    keys->setHorizontalSpacing(14);
    keys->setVerticalSpacing(12);
    keys->addWidget(modeKey_, 0, 0);
    keys->addWidget(eventKey_, 0, 1);
    keys->addWidget(resetKey_, 0, 2);
    keys->addWidget(clockKey_, 1, 0);
    keys->addWidget(runKey_, 1, 1);
    keys->addWidget(pauseKey_, 1, 2);

    auto *housingLayout = new QVBoxLayout(housing);
    housingLayout->setContentsMargins(18, 18, 18, 20);
    housingLayout->setSpacing(20);
    housingLayout->addWidget(bezel, 1);
    housingLayout->addLayout(keys);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(housing);

    redrawTimer_ = new QTimer(this);
    redrawTimer_->setObjectName(QStringLiteral("redrawTimer"));
    redrawTimer_->setInterval(kRedrawMs);
    connect(redrawTimer_, &QTimer::timeout, this, &ControlPanel::redraw);
    redrawTimer_->start();

    adjustSize();
}

QPushButton *ControlPanel::makeKey(const QString &name, const QString &caption)
{
    auto *key = new QPushButton(caption, this);
    key->setObjectName(name);
    key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    key->setAutoDefault(false);
    return key;
}

void ControlPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Show the meter's display at once rather than blank glass until the next tick.
    redraw();
}

void ControlPanel::redraw()
{
    const PanelDisplay &d =
        keys_.redraw(meter().state(), mainValueText_ ? mainValueText_() : QString());
    pauseKey_->setText(d.pauseCaption);
    pauseKey_->setEnabled(d.pauseEnabled);
    runKey_->setText(d.runCaption);
    // The keys report the caption in English; it is shown in the user's language.
    lockAction_->setText(d.lockCaption == QLatin1String("Unlock") ? tr("Unlock") : tr("Lock"));
    lcd_->setDisplay(d);
}

void ControlPanel::pressMode()
{
    pressKey(PanelKey::Mode);
}
void ControlPanel::pressEvent()
{
    pressKey(PanelKey::Event);
}
void ControlPanel::pressReset()
{
    pressKey(PanelKey::Reset);
}
void ControlPanel::pressClock()
{
    pressKey(PanelKey::Clock);
}
void ControlPanel::pressPause()
{
    pressKey(PanelKey::Pause);
}
void ControlPanel::pressRun()
{
    pressKey(PanelKey::Run);
}

void ControlPanel::toggleKeypadLock()
{
    // The lock goes out at once, with the poll stopped around it inside sendKeypadLock.
    meter().sendKeypadLock();
}

void ControlPanel::pressKey(PanelKey key)
{
    // A click inside the wait of the previous key would send its key in the middle of
    // that command sequence and turn the poll on under it.
    if (commandRunning())
        return;
    const KeyAction action = ControlKeys::action(key, meter().state());
    switch (action.kind) {
    case KeyAction::Kind::Nothing:
        return;
    case KeyAction::Kind::KeyLocked:
        dialogs().inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
        return;
    case KeyAction::Kind::SendKey:
        break;
    }

    // The poll goes back to the state it had: when another window's sequence has it
    // stopped, that sequence turns it on again when it is done.
    const PollControl *poll = meter().pollControl();
    const bool pollWasOn = !poll || poll->pollEnabled();
    if (meterBusy()) {
        dialogs().inform(this, Messages::kMeterBusy);
        return;
    }
    const Command command(*this);
    if (action.stopPoll)
        meter().setPollEnabled(false);
    meter().sendKey(action.code);
    if (action.stopPoll && pollWasOn)
        meter().setPollEnabled(true);
}
