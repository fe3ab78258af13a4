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

    // Something in the image that a real logger cannot hold: which set it lies in (0:
    // the logger's figures or run table), the registers whose bytes show it (to read
    // them back and tell a damaged line from a damaged memory; -1 when none), and what
    // is wrong, for the user.
    struct Damage {
        int set = 0;
        int first = -1; // registers first..last
        int last = -1;
        QString reason;
        // The stream disagrees with the registers read one by one (run count, run table
        // end): one of the two readings was damaged on the line, the memory cannot be.
        bool againstRegisters = false;
        bool found() const { return !reason.isEmpty(); }
    };
    // The first such thing, given the run count and the first free address `end` as
    // the registers gave them: the image reaches `end`; its run count and run table end
    // agree with the registers; every run lies inside the run data area, after the one
    // before it and with room for its header; every run header and every sample can be
    // real (LoggerRun::headerProblem(), LoggerRun::sampleProblem()). Nothing found when
    // the image passes.
    Damage check(int runCount, int end) const;

    // Three streams of the same memory merged byte by byte: where two agree and the
    // third differs, the third had a byte changed, lost or added, whichever lets it agree
    // with the other two over the next bytes. The first `length` bytes of the result
    // (the leading byte taken from `a`); shorter when all three differ at a byte or the
    // streams run out first: the merge stops there.
    static QByteArray merge(const QByteArray &a, const QByteArray &b, const QByteArray &c,
                            qsizetype length);

    // Free logger memory as shown: "0" when the memory-full flag is set; otherwise the
    // KiB from `end` (first free address) to the end of logger memory, truncated to one
    // decimal, followed by " K"; "32 K" when no run is stored.
    static QString remainingText(bool full, int runCount, int end);
    static QString memoryText() { return QStringLiteral("32 K"); }

private:
    QByteArray dump_;
};
