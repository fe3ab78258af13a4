#include "main/Panel.h"

#include "link/Clock.h"
#include "link/Messages.h"
#include "link/SerialLink.h"
#include "main/AppState.h"
#include "main/SLmPanel.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

Panel::Panel(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), meter_(meter), state_(state), dialogs_(dialogs), poller_(meter),
      console_(meter), sampler_(state.files, meter.clock()), windows_(*this, meter, state, dialogs),
      analysis_(*this, state, dialogs)
{
    setObjectName(QStringLiteral("Panel"));
    setWindowTitle(QStringLiteral("Dose Meter"));
    buildControls();
    buildMenus();
    buildLibrary();
    connectWindowEntries();
    windows_.setBusyCheck([this] { return consoleBusy_; });
    buildRecording();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(250);
    connect(&Timer1, &QTimer::timeout, this, &Panel::Timer1_Timer);

    meter_.setPollControl(this);
    connect(&meter_, &Meter::portLabelChanged, this, [this](const QString &caption) {
        LblCOM->setText(caption);
        LblCOM->setVisible(true);
        // The refresh asks until the meter answers; say so, or the wait looks like a hang.
        if (caption == QLatin1String("No COM"))
            statusBar()->showMessage(QStringLiteral("Waiting for the meter on %1 to answer...")
                                         .arg(meter_.link().portLabel()));
        else
            statusBar()->clearMessage();
    });
    connect(&meter_, &Meter::settingsRefreshed, this, &Panel::showSettings);
}

Panel::~Panel()
{
    meter_.setPollControl(nullptr);
}

void Panel::connectWindowEntries()
{
    for (const WindowEntry &entry : windowEntries()) {
        for (QObject *trigger : entry.triggers) {
            const auto run = [this, entry] { runEntry(entry); };
            if (auto *button = qobject_cast<QPushButton *>(trigger)) {
                button->setEnabled(bool(entry.spec.create));
                connect(button, &QPushButton::clicked, this, run);
            } else if (auto *action = qobject_cast<QAction *>(trigger)) {
                action->setEnabled(bool(entry.spec.create));
                connect(action, &QAction::triggered, this, run);
            }
        }
    }
}

QWidget *Panel::runEntry(const WindowEntry &entry)
{
    if (entry.before && !entry.before())
        return nullptr;
    QWidget *window = windows_.open(entry.spec);
    if (window && entry.after)
        entry.after(window);
    return window;
}

bool Panel::keysUnlocked()
{
    if (!meter_.state().display.KeysLocked)
        return true;
    dialogs_.inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
    return false;
}

bool Panel::Form_Load()
{
    windows_.place(this, WindowManager::Placement::TopLeft);
    state_.files.RecordingActive = false;
    sampler_.setPeriod(Sampler::kDefaultTicks / 10.0);
    LblSample->setText(sampler_.periodLabel());

    SerialLink &link = meter_.link();
    if (!link.isOpen() && !link.open()) {
        dialogs_.inform(this, Messages::kNoDevice, Dialogs::Icon::Critical);
        return false;
    }
    LblCOM->setText(link.portLabel());
    poller_.resetChangeMemory();
    meter_.state().link.RefreshPending = true;
    Timer1.start();
    Timer3.start();
    return true;
}

void Panel::setPollEnabled(bool enabled)
{
    if (enabled && !closing_)
        Timer1.start();
    else
        Timer1.stop();
}

void Panel::Timer1_Timer()
{
    const Poller::Result result = poller_.tick();
    if (result.outcome != Poller::Outcome::Decoded)
        return;
    lastFrameSeconds_ = meter_.clock().monotonicSeconds();
    const DisplayFields &display = meter_.state().display;
    if (result.changes.flags)
        LblUnit->setText(displayUnitText(display));
    LblValue->setText(result.valueText);
    if (display.DbaMode) {
        maxMin_.update(result.valueText);
        LblMax->setText(maxMin_.max);
        LblMin->setText(maxMin_.min);
    }
}

void Panel::showSettings()
{
    const MeterState &s = meter_.state();
    LblCriterion->setText(QString::number(s.status.CriterionLevel));
    LblExchangeRate->setText(QString::number(s.status.ExchangeRate));
    LblTimeWeighting->setText(s.status.TimeWeightingText);
    LblThreshold->setText(s.ThresholdLevel < 0 ? QString() : QString::number(s.ThresholdLevel));
}

void Panel::CmdReset_Click()
{
    if (!meter_.state().display.DbaMode)
        return;
    maxMin_.reset(LblValue->text());
    LblMax->setText(maxMin_.max);
    LblMin->setText(maxMin_.min);
}

bool Panel::consoleMayRun()
{
    // A register exchange in the middle of another command's traffic would spoil both.
    if (!consoleBusy_ && !windows_.meterBusy())
        return true;
    dialogs_.inform(this, Messages::kMeterBusy);
    return false;
}

void Panel::CmdRead_Click()
{
    if (!consoleMayRun())
        return;
    consoleBusy_ = true;
    QString shown;
    const RegisterConsole::Outcome outcome = console_.read(TxtRAdd->text(), shown);
    consoleBusy_ = false;
    if (outcome == RegisterConsole::Outcome::Invalid) {
        dialogs_.inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
        return;
    }
    TxtRData->setText(shown);
}

void Panel::CmdWrite_Click()
{
    if (!consoleMayRun())
        return;
    consoleBusy_ = true;
    const RegisterConsole::Outcome outcome = console_.write(TxtWAdd->text(), TxtWData->text());
    consoleBusy_ = false;
    if (outcome == RegisterConsole::Outcome::Invalid)
        dialogs_.inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
}

bool Panel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == SSPanel22)
        showFileName();
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == SSPanel22 || watched == SSPanel3 || watched == LblPC)) {
        if (watched == LblPC)
            LblPC_Click();
        else
            MnuOpen_Click();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == ResetLbl || watched == LblReset)) {
        CmdReset_Click();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == TxtRAdd || watched == TxtWAdd || watched == TxtWData)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if (watched == TxtRAdd)
                CmdRead_Click();
            else if (watched == TxtWAdd)
                TxtWData->setFocus();
            else
                CmdWrite_Click();
            return true;
        }
        // Typed characters other than digits are discarded; editing keys pass.
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !RegisterConsole::acceptsKey(text.at(0)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString Panel::twaExplanation()
{
    const QChar cr(13);
    const QStringList lines{
        QStringLiteral("The eight-hour time-weighted average sound level(TWA),"),
        QStringLiteral(" in decibels, may be computed from the dose, in percent,"),
        QStringLiteral(" by means of the foumula: TWA= 16.61 log(base10) (D/100) + 90."),
        QStringLiteral(" For an eight-hour workshift with the noise level constant over"),
        QStringLiteral(" the entire shift, the TWA is equal to the measured sound level."),
    };
    const QStringList notes{
        QStringLiteral("     The value of TWA is correct in slow response mode."),
        QStringLiteral("     If you want to check the value of TWA,"),
        QStringLiteral("     you have to set your meter to %DOSE display mode(use MODE key)"),
        QStringLiteral("     and set your meter to slow response mode and open list menu."),
    };
    QString text;
    for (const QString &line : lines)
        text += line + cr;
    text += QStringLiteral("\r\n\r\n");
    text += QStringLiteral("Note:") + cr;
    text += notes.join(cr);
    return text;
}

void Panel::MnuTwa_Click()
{
    dialogs_.message(this, QStringLiteral("TWA"), twaExplanation(), Dialogs::Icon::Information,
                     Dialogs::Buttons::Ok);
}

void Panel::MnuExit_Click()
{
    close();
}

void Panel::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, whatever else is open or waiting.
    closing_ = true;
    Timer1.stop();
    Timer3.stop();
    // Every record is on the disk already; this only lets go of the file.
    if (sampler_.recording()) {
        const QString path = sampler_.recordingPath();
        if (sampler_.stopRecording() > 0)
            keepInLibrary(path, QStringLiteral("recording"), QString());
    }
    meter_.abort();
    windows_.closeAll();
    event->accept();
    QApplication::quit();
}
