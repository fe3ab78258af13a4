#include "main/MainWindow.h"

#include "data/RecordListWindow.h"
#include "link/Clock.h"
#include "link/Messages.h"
#include "link/SerialLink.h"
#include "main/AppState.h"
#include "main/ControlPanel.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>

#include <cmath>

namespace {
const char *const kStaleLevelTip = QT_TRANSLATE_NOOP(
    "MainWindow", "No reading from the meter for over 2 seconds: this is the last level read");
} // namespace

MainWindow::MainWindow(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), meter_(meter), state_(state), dialogs_(dialogs), poller_(meter),
      console_(meter), sampler_(state.files, meter.clock()), windows_(*this, meter, state, dialogs),
      analysis_(*this, state, dialogs)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Dose Meter"));
    buildControls();
    buildMenus();
    buildLibrary();
    buildHelp();
    connectWindowEntries();
    windows_.setBusyCheck([this] { return consoleBusy_; });
    buildRecording();

    pollTimer_.setObjectName(QStringLiteral("pollTimer"));
    pollTimer_.setInterval(250);
    connect(&pollTimer_, &QTimer::timeout, this, &MainWindow::pollMeter);

    meter_.setPollControl(this);
    connect(&meter_, &Meter::portLabelChanged, this, [this](const QString &caption) {
        portStatus_->setText(caption);
        portStatus_->setVisible(true);
        // The refresh asks until the meter answers; say so, or the wait looks like a hang.
        if (caption == QLatin1String("No COM"))
            statusBar()->showMessage(
                tr("Waiting for the meter on %1 to answer...").arg(meter_.link().portLabel()));
        else
            statusBar()->clearMessage();
    });
    connect(&meter_, &Meter::settingsRefreshed, this, &MainWindow::showSettings);
}

MainWindow::~MainWindow()
{
    meter_.setPollControl(nullptr);
}

void MainWindow::connectWindowEntries()
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

QWidget *MainWindow::runEntry(const WindowEntry &entry)
{
    if (entry.before && !entry.before())
        return nullptr;
    QWidget *window = windows_.open(entry.spec);
    if (window && entry.after)
        entry.after(window);
    return window;
}

bool MainWindow::keysUnlocked()
{
    if (!meter_.state().display.KeysLocked)
        return true;
    dialogs_.inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
    return false;
}

bool MainWindow::openPort()
{
    windows_.place(this, WindowManager::Placement::TopLeft);
    state_.files.RecordingActive = false;
    // The sampler starts at its 2 s, or at the period kept from the previous run, which
    // useSettings() has set by now: the load step must not undo it.
    samplePeriodValue_->setText(sampler_.periodLabel());

    SerialLink &link = meter_.link();
    if (!link.isOpen() && !link.open()) {
        // The permission advice in the user's language; the command line prints it in English.
        const QString denied = link.deniedDevice();
        dialogs_.inform(this,
                        denied.isEmpty()
                            ? Messages::kNoDevice
                            : tr("No permission to open %1.\n"
                                 "To use the meter, your user must be in the dialout group: run\n"
                                 "    sudo adduser $USER dialout\n"
                                 "then log out and log in again.")
                                  .arg(denied),
                        Dialogs::Icon::Critical);
        return false;
    }
    portStatus_->setText(link.portLabel());
    poller_.resetChangeMemory();
    meter_.state().link.RefreshPending = true;
    pollTimer_.start();
    samplingTimer_.start();
    return true;
}

void MainWindow::setPollEnabled(bool enabled)
{
    if (enabled && !closing_)
        pollTimer_.start();
    else
        pollTimer_.stop();
}

void MainWindow::pollMeter()
{
    const Poller::Result result = poller_.tick();
    if (result.outcome != Poller::Outcome::Decoded)
        return;
    lastFrameSeconds_ = meter_.clock().monotonicSeconds();
    showLevelFreshness(true);
    const DisplayFields &display = meter_.state().display;
    if (result.changes.flags)
        levelUnit_->setText(displayUnitText(display));
    levelValue_->setText(result.valueText);
    if (display.DbaMode) {
        maxMin_.update(result.valueText);
        maximumValue_->setText(maxMin_.max);
        minimumValue_->setText(maxMin_.min);
    }
}

void MainWindow::showLevelFreshness(bool fresh)
{
    if (levelValue_->property("stale").toBool() == !fresh)
        return;
    // The last value stays in sight, dimmed: it is no longer the meter's level.
    for (QLabel *label : {levelValue_, levelUnit_}) {
        label->setProperty("stale", !fresh);
        label->setToolTip(fresh ? QString() : tr(kStaleLevelTip));
        label->style()->unpolish(label);
        label->style()->polish(label);
    }
}

void MainWindow::showSettings()
{
    const MeterState &s = meter_.state();
    criterionValue_->setText(QString::number(s.status.CriterionLevel));
    exchangeRateValue_->setText(QString::number(s.status.ExchangeRate));
    // The meter's own word, in the window's language as the setup window gives it.
    responseValue_->setText(s.status.TimeWeightingText.isEmpty() ? QString()
                            : s.status.FastResponse              ? tr("Fast")
                                                                 : tr("Slow"));
    thresholdValue_->setText(s.ThresholdLevel < 0 ? QString() : QString::number(s.ThresholdLevel));
}

void MainWindow::resetMaxMin()
{
    if (!meter_.state().display.DbaMode)
        return;
    maxMin_.reset(levelValue_->text());
    maximumValue_->setText(maxMin_.max);
    minimumValue_->setText(maxMin_.min);
}

bool MainWindow::consoleMayRun()
{
    // A register exchange in the middle of another command's traffic would spoil both.
    if (!consoleBusy_ && !windows_.meterBusy())
        return true;
    dialogs_.inform(this, Messages::kMeterBusy);
    return false;
}

void MainWindow::readRegister()
{
    if (!consoleMayRun())
        return;
    consoleBusy_ = true;
    QString shown;
    const RegisterConsole::Outcome outcome = console_.read(readAddress_->text(), shown);
    consoleBusy_ = false;
    if (outcome == RegisterConsole::Outcome::Invalid) {
        dialogs_.inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
        return;
    }
    readData_->setText(shown);
}

void MainWindow::writeRegister()
{
    if (!consoleMayRun())
        return;
    consoleBusy_ = true;
    const RegisterConsole::Outcome outcome =
        console_.write(writeAddress_->text(), writeData_->text());
    consoleBusy_ = false;
    if (outcome == RegisterConsole::Outcome::Invalid)
        dialogs_.inform(this, Messages::kInvalid, Dialogs::Icon::Critical);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == fileNameLabel_)
        showFileName();
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == fileNameLabel_ || watched == fileNameCaption_ ||
         watched == samplePeriodCaption_)) {
        if (watched == samplePeriodCaption_)
            askSamplePeriod();
        else
            chooseRecordingFile();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == resetLabel_ || watched == resetHint_)) {
        resetMaxMin();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == readAddress_ || watched == writeAddress_ || watched == writeData_)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if (watched == readAddress_)
                readRegister();
            else if (watched == writeAddress_)
                writeData_->setFocus();
            else
                writeRegister();
            return true;
        }
        // Typed characters other than digits are discarded; editing keys pass.
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !RegisterConsole::acceptsKey(text.at(0)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::twaExplanation(int criterionDb, int exchangeRateDb)
{
    // Before the first refresh the meter's settings are not known: the 90 dB / 5 dB rule.
    if (criterionDb <= 0 || exchangeRateDb <= 0) {
        criterionDb = 90;
        exchangeRateDb = 5;
    }
    // A dose doubles with every exchange rate: TWA = (Q / lg 2) lg(D / 100) + Lc.
    const double slope = exchangeRateDb / std::log10(2.0);
    const QChar cr(13);
    const QStringList lines{
        tr("The eight-hour time-weighted average sound level(TWA),"),
        tr(" in decibels, may be computed from the dose, in percent,"),
        tr(" by means of the formula: TWA= %1 log(base10) (D/100) + %2.")
            .arg(QString::number(slope, 'f', 2), QString::number(criterionDb)),
        tr(" For an eight-hour workshift with the noise level constant over"),
        tr(" the entire shift, the TWA is equal to the measured sound level."),
    };
    const QStringList notes{
        tr("     The value of TWA is correct in slow response mode."),
        tr("     If you want to check the value of TWA,"),
        tr("     you have to set your meter to %DOSE display mode(use MODE key)"),
        tr("     and set your meter to slow response mode and open list menu."),
    };
    QString text;
    for (const QString &line : lines)
        text += line + cr;
    text += QStringLiteral("\r\n\r\n");
    text += tr("Note:") + cr;
    text += notes.join(cr);
    return text;
}

void MainWindow::explainTwa()
{
    const StatusFields &status = meter_.state().status;
    dialogs_.message(this, QStringLiteral("TWA"),
                     twaExplanation(status.CriterionLevel, status.ExchangeRate),
                     Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void MainWindow::exitProgram()
{
    close();
}

bool MainWindow::mayQuit()
{
    if (closing_)
        return true;
    // The records are on the disk already; the question is whether the user meant to stop.
    if (sampler_.recording()) {
        const QString ask = tr("A recording is running (%1 records in %2). Stop it "
                               "and quit?")
                                .arg(sampler_.RecordCount())
                                .arg(QDir::toNativeSeparators(sampler_.recordingPath()));
        if (dialogs_.message(this, QString(), ask, Dialogs::Icon::Question,
                             Dialogs::Buttons::OkCancelWithCancelDefault) != Dialogs::Answer::Ok)
            return false;
    }
    // The list offers to save rows it has not saved; kept open, the program stays too.
    if (auto *list = windows_.window<RecordListWindow>(QStringLiteral("RecordListWindow"))) {
        list->close();
        if (windows_.window(QStringLiteral("RecordListWindow")))
            return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayQuit()) {
        event->ignore();
        return;
    }
    // Closing the main window ends the program, whatever else is open or waiting.
    closing_ = true;
    pollTimer_.stop();
    samplingTimer_.stop();
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
