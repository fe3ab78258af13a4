#include "config/SetupSequence.h"

#include "link/Clock.h"
#include "link/Decoders.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/SerialLink.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Protocol;

namespace {

// Wrong-length replies in a row without a single byte after which a meter that has
// also been quiet for the silence time-out counts as gone.
constexpr int kSilentReplies = 3;
// Display bytes 4 and 5 as frame indices.
constexpr int kByte4 = 3;
constexpr int kByte5 = 4;
// A wait of a run is cut into slices this long, so that a closed window ends it soon.
constexpr double kPauseSlice = 0.25;

bool framed(const QByteArray &bytes)
{
    return quint8(bytes.front()) == kStx && quint8(bytes.back()) == kEtx;
}

// A display byte read as its two hexadecimal digits read as a decimal number: 0x85 is
// 85, 0x08 is 8; the menu mark 0xCC, no number, is 0.
int digitsValue(quint8 byte)
{
    return int(leadingNumber(hex2(byte)));
}

// The last hexadecimal digit alone (the exchange rate's screen).
int lowDigitValue(quint8 byte)
{
    return int(leadingNumber(hex2(byte).right(1)));
}

std::optional<int> chosen(int value)
{
    return value != 0 ? std::optional<int>(value) : std::nullopt;
}

QString fieldName(SetupSequence::Step step)
{
    return step == SetupSequence::Step::Century
               ? QCoreApplication::translate("SetupSequence", "Year (century)")
               : QCoreApplication::translate("SetupSequence",
                                             qPrintable(SetupSequence::settingName(step)));
}

} // namespace

SetupSequence::SetupSequence(Meter &meter) : meter_(meter)
{
}

QString SetupSequence::settingName(Step step)
{
    switch (step) {
    case Step::Open:
    case Step::Close:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Setup menu"));
    case Step::Criterion:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Criterion level"));
    case Step::Threshold:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Threshold level"));
    case Step::ExchangeRate:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Exchange rate"));
    case Step::Century:
    case Step::Year:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Year"));
    case Step::Month:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Month"));
    case Step::Day:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Day"));
    case Step::Hour:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Hour"));
    case Step::Minute:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Minute"));
    case Step::TimeWeighting:
        return QStringLiteral(QT_TRANSLATE_NOOP("SetupSequence", "Time weighting"));
    }
    return QString();
}

QString SetupSequence::translated(const QString &text)
{
    return QCoreApplication::translate("SetupSequence", text.toUtf8().constData());
}

double SetupSequence::now() const
{
    return meter_.clock().monotonicSeconds();
}

// ---- the two sequences ---------------------------------------------------------------

SetupSequence::Result SetupSequence::run(const SetupChoice &choice)
{
    if (!begin())
        return {Outcome::Refused, Step::Open, kRefused};
    choice_ = &choice;
    StatusFields &status = meter_.state().status;
    // The threshold's target is fixed when its step begins: a restart must not take the
    // value last read for the meter's own.
    std::optional<int> thresholdTarget;
    const auto threshold = [this, &choice, &status, &thresholdTarget](int current) {
        if (!thresholdTarget) {
            thresholdTarget = choice.thresholdDb.value_or(current);
            if (*thresholdTarget > status.CriterionLevel) {
                thresholdTarget = status.CriterionLevel;
                if (thresholdLowered)
                    thresholdLowered(*thresholdTarget);
            }
        }
        return thresholdTarget;
    };
    // Each step ends the chain when it ends the run; result_ says how.
    if (openMenu() &&
        adjust({Step::Criterion, kCriterionLimit, Keys::EventOnly, kByte5, false,
                &status.CriterionLevel, [&choice](int) { return chosen(choice.criterionDb); }}) &&
        press(kKeyClock) &&
        adjust({Step::Threshold, kThresholdLimit, Keys::Direction, kByte5, false, nullptr,
                threshold}) &&
        press(kKeyClock) &&
        adjust({Step::ExchangeRate, kExchangeRateLimit, Keys::EventOnly, kByte5, true,
                &status.ExchangeRate, [&choice](int) { return chosen(choice.exchangeRateDb); }}) &&
        press(kKeyClock) && clockSteps() && (!choice.fast || timeWeighting(*choice.fast)) &&
        closeMenu())
        result_.step = Step::Close;
    choice_ = nullptr;
    return finish();
}

SetupSequence::Result SetupSequence::preset(int criterionDb, int exchangeRateDb)
{
    if (!begin())
        return {Outcome::Refused, Step::Open, kRefused};
    StatusFields &status = meter_.state().status;
    // Two CLOCK presses pass the threshold screen over unchanged.
    if (openMenu() &&
        adjust({Step::Criterion, kPresetLimit, Keys::EventOnly, kByte5, false,
                &status.CriterionLevel, [criterionDb](int) { return chosen(criterionDb); }}) &&
        press(kKeyClock) && press(kKeyClock) &&
        (exchangeRateDb == 0 ||
         adjust({Step::ExchangeRate, kPresetLimit, Keys::EventOnly, kByte5, true,
                 &status.ExchangeRate,
                 [exchangeRateDb](int) { return chosen(exchangeRateDb); }})) &&
        closeMenu())
        result_.step = Step::Close;
    return finish();
}

bool SetupSequence::clockSteps()
{
    // The date's four fields come from one reading of the target, so that a target that
    // runs on (the computer's clock) cannot give a year of one day and a month of the
    // next; the time is read again when its steps begin, minutes later at most.
    std::optional<QDateTime> target;
    const auto read = [this, &target] {
        if (choice_->clock)
            target = choice_->clock();
    };
    using Part = int (*)(const QDateTime &);
    const auto field = [&target](Part part) {
        return [&target, part](int) {
            return target ? std::optional<int>(part(*target)) : std::nullopt;
        };
    };
    read();
    const QDate date = target ? target->date() : QDate();
    const bool dateSet =
        adjust({Step::Century, kCenturyLimit, Keys::Direction, kByte4, false, nullptr,
                field([](const QDateTime &t) { return t.date().year() / 100; })}) &&
        press(kKeyClock) &&
        adjust({Step::Year, kYearLimit, Keys::Direction, kByte5, false, nullptr,
                field([](const QDateTime &t) { return t.date().year() % 100; })}) &&
        press(kKeyClock) &&
        adjust({Step::Month, kMonthLimit, Keys::Direction, kByte4, false, nullptr,
                field([](const QDateTime &t) { return t.date().month(); })}) &&
        press(kKeyClock) &&
        adjust({Step::Day, kDayLimit, Keys::Direction, kByte5, false, nullptr,
                field([](const QDateTime &t) { return t.date().day(); })}) &&
        press(kKeyClock);
    if (!dateSet)
        return false;
    read();
    if (target && target->date() != date)
        return fail(Step::Hour,
                    QCoreApplication::translate("SetupSequence",
                                                "Hour: the date changed while the meter's clock "
                                                "was being set. Run the setup again."));
    return adjust({Step::Hour, kHourLimit, Keys::Direction, kByte4, false, nullptr,
                   field([](const QDateTime &t) { return t.time().hour(); })}) &&
           press(kKeyClock) &&
           adjust({Step::Minute, kMinuteLimit, Keys::Direction, kByte5, false, nullptr,
                   field([](const QDateTime &t) { return t.time().minute(); })}) &&
           press(kKeyClock);
}

// ---- start and end of a run ------------------------------------------------------------

bool SetupSequence::begin()
{
    LinkState &link = meter_.state().link;
    // KeyPacing is set only while a run is in progress, whichever window runs it.
    if (running_ || link.KeyPacing || link.RefreshBusy || meter_.aborted())
        return false;
    running_ = true;
    result_ = {};
    step_ = Step::Open;
    presses_ = 0;
    emptyReplies_ = 0;
    lastHeard_ = now();
    meter_.setPollEnabled(false);
    link.KeyPacing = true;
    return true;
}

SetupSequence::Result SetupSequence::finish()
{
    LinkState &link = meter_.state().link;
    switch (result_.outcome) {
    case Outcome::Done:
        result_.step = Step::Close;
        // Without an answer the settings are not known to be set (the command line's
        // bounded refresh; the program's refresh waits for the meter instead).
        if (!refresh())
            result_ = {Outcome::Silent, Step::Close, kMeterSilent};
        break;
    case Outcome::Failed:
        if (failing)
            failing(result_);
        closeMenuAtOnce();
        link.KeyPacing = false;
        if (emptyReplies_ >= kSilentReplies)
            link.RefreshPending = true;
        else
            refresh();
        break;
    case Outcome::Silent:
    case Outcome::Cancelled:
        // Whatever the menu shows is left as it is; the poll reads the settings again
        // once the meter answers.
        closeMenuAtOnce();
        link.RefreshPending = true;
        break;
    case Outcome::Refused:
        break;
    }
    link.KeyPacing = false;
    meter_.setPollEnabled(true);
    running_ = false;
    return result_;
}

bool SetupSequence::refresh()
{
    MeterState &state = meter_.state();
    if (meter_.aborted())
        return true;
    // A refresh already waiting (from inside one of this run's waits) does the job.
    if (state.link.RefreshBusy) {
        state.link.RefreshPending = true;
        return true;
    }
    return meter_.refreshSettings();
}

void SetupSequence::closeMenuAtOnce()
{
    // MODE+RESET closes the menu where it stands; sent without the key command's waits.
    QByteArray keys;
    keys.append(kKeyCommand);
    keys.append(char(kKeyModeReset));
    meter_.link().write(keys);
}

bool SetupSequence::openMenu()
{
    if (!press(kKeySetupMenu))
        return false;
    meter_.link().readAll(); // what came before belongs to no request of this run
    return pause(kOpenSeconds);
}

bool SetupSequence::closeMenu()
{
    step_ = Step::Close;
    return press(kKeyReset) && pause(kCloseSeconds);
}

// ---- one setting ---------------------------------------------------------------------

bool SetupSequence::adjust(const Adjust &a)
{
    step_ = a.step;
    QByteArray frame;
    if (!freshFrame(a.step, frame))
        return false;
    const auto value = [&a](const QByteArray &f) {
        const quint8 byte = quint8(f.at(a.frameIndex));
        return a.lowDigit ? lowDigitValue(byte) : digitsValue(byte);
    };
    int current = value(frame);
    if (a.store)
        *a.store = current;
    std::optional<int> target = a.target(current);
    if (adjusting)
        adjusting(a.step, current, target);
    bool pressed = false;
    int wrongReplies = 0;
    while (target && current != *target) {
        pressed = true;
        presses_ = 0;
        bool restart = false;
        while (current != *target && presses_ < a.limit) {
            const bool down = a.keys == Keys::Direction && current > *target;
            if (!press(down ? kKeyModeEvent : kKeyEvent))
                return false;
            const bool whole = wholeFrame(frame);
            if (a.lowDigit)
                meter_.wait(0.01);
            if (stopped())
                return false;
            if (!whole) {
                if (silentNow())
                    return endSilent(a.step);
                if (++wrongReplies >= kWrongReplyLimit)
                    return exhausted(
                        a.step, QCoreApplication::translate(
                                    "SetupSequence", "%1: %2 display replies of the wrong length.")
                                    .arg(fieldName(a.step))
                                    .arg(kWrongReplyLimit));
                // The count starts again, and the target is asked again.
                target = a.target(current);
                restart = true;
                break;
            }
            if (!inMenu(a.step, frame))
                return false;
            current = value(frame);
            if (a.store)
                *a.store = current;
            ++presses_;
        }
        if (!restart)
            break;
    }
    // The counter is the run's one counter, but only a step that pressed can fail: a
    // count left by an earlier step (up to 98 from the year) is not this step's.
    if (pressed && presses_ >= a.limit)
        return fail(a.step, QCoreApplication::translate("SetupSequence",
                                                        "%1 did not reach %2 in %3 presses.")
                                .arg(fieldName(a.step))
                                .arg(*target)
                                .arg(a.limit));
    return true;
}

bool SetupSequence::timeWeighting(bool target)
{
    step_ = Step::TimeWeighting;
    bool fast = false;
    if (!readFast(Step::TimeWeighting, fast))
        return false;
    if (adjusting)
        adjusting(Step::TimeWeighting, fast ? 1 : 0, target ? 1 : 0);
    // EVENT toggles Fast and Slow at once; a second press makes up for one the meter
    // did not take.
    for (int p = 0; fast != target && p < 2; ++p) {
        if (!press(kKeyEvent) || !readFast(Step::TimeWeighting, fast))
            return false;
    }
    if (fast != target)
        return fail(
            Step::TimeWeighting,
            QCoreApplication::translate("SetupSequence", "Time weighting did not change to %1.")
                .arg(target ? QCoreApplication::translate("SetupSequence", "Fast")
                            : QCoreApplication::translate("SetupSequence", "Slow")));
    return true;
}

// ---- exchanges -----------------------------------------------------------------------

bool SetupSequence::press(int key)
{
    meter_.sendKey(key);
    return !stopped();
}

bool SetupSequence::pause(double seconds)
{
    const double end = now() + seconds;
    for (double t = now(); t <= end; t = now()) {
        meter_.wait(std::min(kPauseSlice, end - t));
        if (stopped())
            return false;
        // A pulled adapter is known at once; a pause asks nothing that would find out.
        if (meter_.link().gone())
            return endSilent(step_);
    }
    return !stopped();
}

bool SetupSequence::stopped()
{
    if (result_.outcome == Outcome::Cancelled)
        return true;
    if (meter_.aborted() || (cancelled && cancelled())) {
        result_ = {Outcome::Cancelled, step_, QString()};
        return true;
    }
    return false;
}

QByteArray SetupSequence::ask(char request, int length)
{
    SerialLink &link = meter_.link();
    link.write(QByteArray(1, request));
    meter_.wait(0.01);
    QByteArray reply = link.readAll();
    // 7 bytes take 7.3 ms on the wire alone: an incomplete reply is given a little more
    // time rather than counted wrong at once.
    for (double waited = 0.01;
         reply.size() < length && waited < kReplySeconds - 1e-9 && !meter_.aborted();
         waited += 0.01) {
        meter_.wait(0.01);
        reply += link.readAll();
    }
    if (reply.isEmpty()) {
        ++emptyReplies_;
    } else {
        emptyReplies_ = 0;
        lastHeard_ = now();
    }
    return reply;
}

bool SetupSequence::wholeFrame(QByteArray &frame)
{
    const QByteArray reply = ask(kDisplayRequest, kDisplayFrameLength);
    if (reply.size() != kDisplayFrameLength || !framed(reply))
        return false;
    frame = reply;
    return true;
}

bool SetupSequence::freshFrame(Step step, QByteArray &frame)
{
    for (int attempt = 0; attempt < kFramePollLimit; ++attempt) {
        const bool whole = wholeFrame(frame);
        meter_.wait(0.01);
        if (stopped())
            return false;
        if (whole)
            return inMenu(step, frame);
        if (silentNow())
            return endSilent(step);
    }
    return exhausted(step, QCoreApplication::translate("SetupSequence",
                                                       "%1: no whole display frame in %2 requests.")
                               .arg(fieldName(step))
                               .arg(kFramePollLimit));
}

bool SetupSequence::readFast(Step step, bool &fast)
{
    for (int attempt = 0; attempt < kFramePollLimit; ++attempt) {
        const QByteArray reply = ask(kStatusRequest, kStatusReplyLength);
        if (stopped())
            return false;
        if (reply.size() == kStatusReplyLength && framed(reply)) {
            fast = quint8(reply.at(1)) & StatusBits::kFastResponse;
            return true;
        }
        if (silentNow())
            return endSilent(step);
    }
    return exhausted(step, QCoreApplication::translate("SetupSequence",
                                                       "%1: no whole status reply in %2 requests.")
                               .arg(fieldName(step))
                               .arg(kFramePollLimit));
}

bool SetupSequence::inMenu(Step step, const QByteArray &frame)
{
    if (quint8(frame.at(1)) & DisplayFlags::kFieldMode)
        return true;
    return fail(step,
                QCoreApplication::translate(
                    "SetupSequence", "%1: the meter's display is not in its setup menu (a meter "
                                     "does not open it while it measures).")
                    .arg(fieldName(step)));
}

bool SetupSequence::silentNow() const
{
    return emptyReplies_ >= kSilentReplies && now() - lastHeard_ >= silenceSeconds_;
}

bool SetupSequence::exhausted(Step step, const QString &detail)
{
    return emptyReplies_ >= kSilentReplies ? endSilent(step) : fail(step, detail);
}

bool SetupSequence::fail(Step step, const QString &detail)
{
    result_ = {Outcome::Failed, step, detail};
    return false;
}

bool SetupSequence::endSilent(Step step)
{
    result_ = {Outcome::Silent, step, kMeterSilent};
    return false;
}
