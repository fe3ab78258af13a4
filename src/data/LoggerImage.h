#pragma once

// The logger memory as the memory dump brings it: one leading byte that is not a
// register, then register 0, register 1, and so on. Reads the logger's figures and
// cuts the runs out of it.

#include <QByteArray>
#include <QString>

#include <utility>

class LoggerImage {
public:
    explicit LoggerImage(QByteArray dump) : dump_(std::move(dump)) {}

    const QByteArray &bytes() const { return dump_; }
    // Registers 0 .. registerCount() - 1 are in the image.
    int registerCount() const { return int(dump_.size()) - 1; }
    bool has(int address) const { return address >= 0 && address < registerCount(); }
    // Register value; 0 outside the image.
    int reg(int address) const;
    // 16-bit value, low byte at `address`.
    int word(int address) const { return reg(address) + 256 * reg(address + 1); }

    int idCode() const;         // registers 0x0002 (high) and 0x0003 (low)
    int intervalTenths() const; // registers 0x0012 (low) and 0x0013 (high)
    bool memoryFull() const;    // bit 0 of register 0x0028

    // Run k (1..): its first register (run-table entry k - 1) and its last (entry k
    // minus 1).
    int runStart(int k) const;
    int runLast(int k) const;
    // Run k's bytes and the two bytes after it, as far as the image reaches.
    QByteArray runData(int k) const;
    // True when run k lies in the run data area and inside the image, header included.
    bool runValid(int k) const;

    // Free logger memory as shown: "0" when the memory-full flag is set; otherwise the
    // KiB from `end` (first free address) to the end of logger memory, truncated to one
    // decimal, followed by " K"; "32 K" when no run is stored.
    static QString remainingText(bool full, int runCount, int end);
    static QString memoryText() { return QStringLiteral("32 K"); }

private:
    QByteArray dump_;
};
