#include "main/SLmPanel.h"

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
#SLmPanel { background: #2b3036; }
QMenuBar { background: #2b3036; color: #dde3e8; border-bottom: 1px solid #1c2024; }
QMenuBar::item { padding: 4px 10px; background: transparent; }
QMenuBar::item:selected { background: #454d56; border-radius: 4px; }
#Housing {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3d444c, stop:1 #30363d);
    border: 1px solid #1c2024; border-radius: 16px;
}
#Bezel { background: #1d2227; border-radius: 12px; }
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
#CmdRun { border-bottom: 3px solid #3f9d63; }
#CmdPause { border-bottom: 3px solid #c9902c; }
#CmdPause:disabled { border-bottom: 3px solid #5a5247; }
)";

} // namespace

SLmPanel::SLmPanel(Meter &meter, Dialogs &dialogs, std::function<QString()> mainValueText,
                   QWidget *parent)
    : MeterWindow(meter, dialogs, "SLmPanel", QStringLiteral("Control Panel"), parent),
      mainValueText_(std::move(mainValueText))
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto *menuBar = new QMenuBar(this);
    CmdLock = new QAction(QStringLiteral("Lock"), this);
    CmdLock->setObjectName(QStringLiteral("CmdLock"));
    CmdLock->setToolTip(QStringLiteral("Locks or unlocks the meter's keypad"));
    menuBar->addAction(CmdLock);
    connect(CmdLock, &QAction::triggered, this, &SLmPanel::CmdLock_Click);

    auto *housing = new QFrame(this);
    housing->setObjectName(QStringLiteral("Housing"));
    auto *bezel = new QFrame(housing);
    bezel->setObjectName(QStringLiteral("Bezel"));
    Lcd = new LcdReplica(bezel);
    named(Lcd, "Lcd", QStringLiteral("Meter display"),
          QStringLiteral("A replica of the meter's display, mirrored from every poll"));
    auto *bezelLayout = new QVBoxLayout(bezel);
    bezelLayout->setContentsMargins(8, 8, 8, 8);
    bezelLayout->addWidget(Lcd);

    CmdMode = makeKey(QStringLiteral("CmdMode"), QStringLiteral("MODE"));
    CmdEvent = makeKey(QStringLiteral("CmdEvent"), QStringLiteral("EVENT"));
    CmdReset = makeKey(QStringLiteral("CmdReset"), QStringLiteral("RESET"));
    CmdTime = makeKey(QStringLiteral("CmdTime"), QStringLiteral("CLOCK"));
    CmdRun = makeKey(QStringLiteral("CmdRun"), QStringLiteral("RUN"));
    CmdPause = makeKey(QStringLiteral("CmdPause"), QStringLiteral("PAUSE"));
    CmdPause->setEnabled(false);
    connect(CmdMode, &QPushButton::clicked, this, &SLmPanel::CmdMode_Click);
    connect(CmdEvent, &QPushButton::clicked, this, &SLmPanel::CmdEvent_Click);
    connect(CmdReset, &QPushButton::clicked, this, &SLmPanel::CmdReset_Click);
    connect(CmdTime, &QPushButton::clicked, this, &SLmPanel::CmdTime_Click);
    connect(CmdRun, &QPushButton::clicked, this, &SLmPanel::CmdRun_Click);
    connect(CmdPause, &QPushButton::clicked, this, &SLmPanel::CmdPause_Click);

    auto *keys = new QGridLayout;
    keys->setHorizontalSpacing(14);
    keys->setVerticalSpacing(12);
    keys->addWidget(CmdMode, 0, 0);
    keys->addWidget(CmdEvent, 0, 1);
    keys->addWidget(CmdReset, 0, 2);
    keys->addWidget(CmdTime, 1, 0);
    keys->addWidget(CmdRun, 1, 1);
    keys->addWidget(CmdPause, 1, 2);

    auto *housingLayout = new QVBoxLayout(housing);
    housingLayout->setContentsMargins(18, 18, 18, 20);
    housingLayout->setSpacing(20);
    housingLayout->addWidget(bezel, 1);
    housingLayout->addLayout(keys);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(housing);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kRedrawMs);
    connect(Timer1, &QTimer::timeout, this, &SLmPanel::Timer1_Timer);
    Timer1->start();

    adjustSize();
}

QPushButton *SLmPanel::makeKey(const QString &name, const QString &caption)
{
    auto *key = new QPushButton(caption, this);
    key->setObjectName(name);
    key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    key->setAutoDefault(false);
    return key;
}

void SLmPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Show the meter's display at once rather than blank glass until the next tick.
    Timer1_Timer();
}

void SLmPanel::Timer1_Timer()
{
    const PanelDisplay &d =
        keys_.redraw(meter().state(), mainValueText_ ? mainValueText_() : QString());
    CmdPause->setText(d.CmdPauseCaption);
    CmdPause->setEnabled(d.CmdPauseEnabled);
    CmdRun->setText(d.CmdRunCaption);
    CmdLock->setText(d.CmdLockCaption);
    Lcd->setDisplay(d);
}

void SLmPanel::CmdMode_Click()
{
    pressKey(PanelKey::Mode);
}
void SLmPanel::CmdEvent_Click()
{
    pressKey(PanelKey::Event);
}
void SLmPanel::CmdReset_Click()
{
    pressKey(PanelKey::Reset);
}
void SLmPanel::CmdTime_Click()
{
    pressKey(PanelKey::Clock);
}
void SLmPanel::CmdPause_Click()
{
    pressKey(PanelKey::Pause);
}
void SLmPanel::CmdRun_Click()
{
    pressKey(PanelKey::Run);
}

void SLmPanel::CmdLock_Click()
{
    // The lock goes out at once, with the poll stopped around it inside SendKeypadLock.
    meter().SendKeypadLock();
}

void SLmPanel::pressKey(PanelKey key)
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
    meter().SendKey(action.code);
    if (action.stopPoll && pollWasOn)
        meter().setPollEnabled(true);
}
