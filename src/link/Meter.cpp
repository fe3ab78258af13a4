#include "link/Meter.h"

#include "link/Clock.h"
#include "link/FrameConfirmer.h"
#include "link/MeterProtocol.h"
#include "link/SerialLink.h"

#include <algorithm>
#include <cmath>

namespace {

// Every exchange gives up after this many attempts, whatever went wrong with them.
constexpr int kReadAttempts = 100;
// A display frame needs 7.3 ms on the wire at 9600 baud plus the meter's reaction, so
// the switch to dBA reads on for up to this long before it counts a frame as missing.
constexpr double kFrameTimeout = 0.1;
// Missing frames tolerated while switching to dBA before the meter counts as gone.
constexpr int kMissingFramesLimit = 100;
// Reads of a threshold the menu cannot set, until two agree.
constexpr int kThresholdReads = 4;

bool framed(const QByteArray &bytes)
{
    return quint8(bytes.front()) == Protocol::kStx && quint8(bytes.back()) == Protocol::kEtx;
}

QByteArray readRequest(int address)
{
    QByteArray request;
    request.append(Protocol::kReadRequest);
    request.append(char(address % 256));
    request.append(char(address / 256));
    return request;
}

} // namespace

Meter::Meter(SerialLink &link, Clock &clock, MeterState &state, QObject *parent)
    : QObject(parent), link_(link), clock_(clock), state_(state)
{
}

void Meter::setPollEnabled(bool enabled)
{
    if (poll_)
        poll_->setPollEnabled(enabled);
}

void Meter::wait(double seconds)
{
    // Once the program closes, event loops no longer wait: a wait would spin.
    ::wait(clock_, seconds, [this] { return aborted_; });
}

void Meter::expectReply()
{
    if (silentSince_ < 0.0)
        silentSince_ = clock_.monotonicSeconds();
}

double Meter::silentSeconds() const
{
    return silentSince_ < 0.0 ? 0.0 : clock_.monotonicSeconds() - silentSince_;
}

void Meter::discardInput()
{
    link_.readAll();
}

Meter::Reply Meter::exchange(const QByteArray &request, double waitSeconds, int length,
                             QByteArray &reply)
{
    link_.write(request);
    expectReply();
    wait(waitSeconds);
    // The reply is the last bytes received: stale bytes before it are ignored.
    const QByteArray received = link_.readAll();
    if (received.size() < length)
        return Reply::Short;
    reply = received.right(length);
    if (!framed(reply))
        return Reply::BadFraming;
    heard();
    return Reply::Framed;
}

bool Meter::readByte(qint64 address)
{
    if (!validAddress(address)) {
        error_ = QStringLiteral("Register address %1 is outside 0..65535.").arg(address);
        return false;
    }
    const QByteArray request = readRequest(int(address));
    // The first attempt is always made: a silence left over from an earlier exchange
    // must not refuse a meter that answers now.
    for (int attempt = 1; attempt <= kReadAttempts && (attempt == 1 || !silenceExceeded());
         ++attempt) {
        if (aborted_) {
            error_ = QStringLiteral("Stopped.");
            return false;
        }
        QByteArray reply;
        // Short and badly framed replies both count, so a read always ends.
        if (exchange(request, 0.05, Protocol::kReadReplyLength, reply) == Reply::Framed) {
            state_.link.LastByte = quint8(reply.at(1));
            return true;
        }
    }
    error_ = QStringLiteral("The meter did not answer the read of register %1.").arg(address);
    refreshSettings();
    return false;
}

bool Meter::readRawByte(qint64 address)
{
    if (!validAddress(address)) {
        error_ = QStringLiteral("Register address %1 is outside 0..65535.").arg(address);
        return false;
    }
    QByteArray reply;
    if (aborted_ || exchange(readRequest(int(address)), 0.05, Protocol::kReadReplyLength, reply) !=
                        Reply::Framed) {
        error_ = QStringLiteral("The meter did not answer the read of register %1.").arg(address);
        if (!aborted_)
            refreshSettings();
        return false;
    }
    state_.link.LastRawByte = reply.at(1);
    return true;
}

bool Meter::writeByte(double address, qint64 value)
{
    // Rounded as the meter's other callers round: to the nearest, halves to even.
    const double rounded = std::nearbyint(address);
    if (!std::isfinite(address) || !validAddress(qint64(rounded))) {
        error_ = QStringLiteral("Register address %1 is outside 0..65535.").arg(address);
        return false;
    }
    if (!validValue(value)) {
        error_ = QStringLiteral("Value %1 is outside 0..255.").arg(value);
        return false;
    }
    const int a = int(rounded);
    QByteArray request;
    request.append(Protocol::kWriteRequest);
    request.append(char(a % 256));
    request.append(char(a / 256));
    request.append(char(value));
    // The meter acknowledges nothing, but a port that took nothing is known at once.
    const bool sent = link_.write(request);
    wait(0.05);
    if (!sent)
        error_ = QStringLiteral("The write of register %1 could not be sent: %2")
                     .arg(a)
                     .arg(link_.errorString());
    return sent;
}

bool Meter::sendKey(int code)
{
    if (code < 0 || code > 255) {
        error_ = QStringLiteral("Key code %1 is outside 0..255.").arg(code);
        return false;
    }
    QByteArray request;
    request.append(Protocol::kKeyCommand);
    request.append(char(code));
    link_.write(request);
    wait(0.1);
    // The pacing a real meter needs between keys, in slices: a pulled adapter cuts it short.
    if (state_.link.KeyPacing) {
        const double end = clock_.monotonicSeconds() + 2.0;
        for (double left = 2.0; left > 0.0 && !aborted_ && !link_.gone();
             left = end - clock_.monotonicSeconds())
            wait(std::min(0.25, left));
    }
    return true;
}

void Meter::sendKeypadLock()
{
    setPollEnabled(false);
    link_.write(QByteArray(1, Protocol::kKeypadLock));
    setPollEnabled(true);
}

void Meter::sendErase()
{
    link_.write(QByteArray(3, Protocol::kEraseByte));
}

bool Meter::refreshSettings()
{
    // A refresh can be asked for from inside its own waits (a read that gives up, a
    // poll tick); the running one will finish the job.
    if (state_.link.RefreshBusy)
        return false;
    state_.link.RefreshBusy = true;
    emit portLabelChanged(QStringLiteral("No COM"));

    const double start = clock_.monotonicSeconds();
    bool answered = false;
    for (bool first = true; !aborted_; first = false) {
        if (refreshTimeout_ > 0.0 && clock_.monotonicSeconds() - start >= refreshTimeout_)
            break;
        if (!first && silenceExceeded())
            break;
        discardInput();
        QByteArray reply;
        if (exchange(QByteArray(1, Protocol::kStatusRequest), 0.05, Protocol::kStatusReplyLength,
                     reply) == Reply::Framed) {
            state_.status = decodeStatusByte(quint8(reply.at(1)));
            answered = true;
            break;
        }
    }
    if (!answered) {
        state_.link.RefreshBusy = false;
        const double bound = silenceExceeded() ? silenceLimit_ : refreshTimeout_;
        error_ =
            aborted_
                ? QStringLiteral("Stopped.")
                : QStringLiteral("The meter does not answer (no reply within %1 s).").arg(bound);
        if (!aborted_)
            emit meterSilent();
        return false;
    }

    thresholdRead_ = readThreshold();
    state_.link.RefreshPending = false;
    emit settingsRefreshed();
    emit portLabelChanged(link_.portLabel());
    state_.link.RefreshBusy = false;
    return true;
}

bool Meter::readThreshold()
{
    int previous = -1;
    for (int read = 0; read < kThresholdReads; ++read) {
        if (!readByte(MemoryMap::kThreshold))
            return false;
        const int db = state_.link.LastByte;
        // What the menu can set is taken at once; anything else may be a damaged reply
        // and must be read the same twice.
        if ((db >= MemoryMap::kMinThresholdDb && db <= MemoryMap::kMaxThresholdDb) ||
            db == previous) {
            state_.ThresholdLevel = db;
            return true;
        }
        previous = db;
    }
    error_ = QStringLiteral("The threshold register gave a different reply to each of %1 reads.")
                 .arg(kThresholdReads);
    return false;
}

void Meter::selectDbaDisplay()
{
    // Run inside another command (whose poll is off), the poll stays off: that command
    // turns it back on when it ends.
    const bool polling = poll_ && poll_->pollEnabled();
    setPollEnabled(false);
    int frames = 0;
    int missing = 0;
    // MODE is pressed again only once the mode it brought is confirmed: a damaged frame
    // must neither stop the presses at a mode the display does not show nor, pressed on
    // from, step past dBA.
    FrameConfirmer confirmer;
    bool press = true;
    while (!aborted_) {
        if (press) {
            discardInput();
            sendKey(Protocol::kKeyMode);
            confirmer.reset();
            press = false;
        }
        link_.write(QByteArray(1, Protocol::kDisplayRequest));
        expectReply();
        wait(0.01);
        QByteArray reply = link_.readAll();
        for (double waited = 0.01;
             reply.size() < Protocol::kDisplayFrameLength && waited < kFrameTimeout && !aborted_;
             waited += 0.01) {
            wait(0.01);
            reply += link_.readAll();
        }
        // A damaged or unconfirmed frame counts as a missing one.
        const bool usable = reply.size() == Protocol::kDisplayFrameLength && framed(reply) &&
                            plausibleDisplayFrame(reply);
        if (!usable || confirmer.offer(reply) == FrameConfirmer::Verdict::Unconfirmed) {
            // A meter that never sends whole frames is handed to the settings refresh,
            // which waits for it, rather than being asked forever.
            if (++missing >= kMissingFramesLimit || silenceExceeded()) {
                refreshSettings();
                break;
            }
            continue;
        }
        heard();
        decodeDisplayFlags(quint8(reply.at(1)), state_.display);
        if (++frames > 10) {
            refreshSettings();
            break;
        }
        if (state_.display.DbaMode)
            break;
        press = true;
    }
    if (polling)
        setPollEnabled(true);
}
