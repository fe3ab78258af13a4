#pragma once

// The virtual meter behind the SerialLink seam, in process. With a FakeClock the
// replies are ready as soon as the fake time has passed their wire time.

#include "link/SerialLink.h"

class Clock;
class VirtualMeter;

class VirtualMeterLink final : public SerialLink {
    Q_OBJECT
public:
    VirtualMeterLink(VirtualMeter &meter, Clock &clock, QObject *parent = nullptr);

    bool open() override;
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    QString portLabel() const override { return QStringLiteral("SIM"); }

    // Makes open() fail, as a missing port would.
    void setOpenFails(bool fails) { openFails_ = fails; }
    // Bytes written since the last call, for tests.
    QByteArray takeWritten();

private:
    VirtualMeter &meter_;
    Clock &clock_;
    bool open_ = false;
    bool openFails_ = false;
    QString error_;
    QByteArray written_;
};
