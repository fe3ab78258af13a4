#include "BankRig.h"

#include "banks/BankDownload.h"
#include "banks/BankFile.h"
#include "banks/BankRecord.h"
#include "support/TestMain.h"

#include <QTest>

using bankrig::bytes;

namespace {

using Origin = BankDownload::Origin;
using Outcome = BankDownload::Outcome;

// A link in front of the virtual meter that damages the data byte of the replies to
// reads of chosen registers: the n-th reply of a register is XORed with its n-th value.
class DamagingRegisterLink final : public SerialLink {
public:
    explicit DamagingRegisterLink(VirtualMeterLink &inner) : inner_(inner) {}
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(const QByteArray &bytes) override
    {
        if (bytes.size() == 3 && bytes.at(0) == Protocol::kReadRequest)
            asked_ = quint8(bytes.at(1)) | quint8(bytes.at(2)) << 8;
        return inner_.write(bytes);
    }
    QByteArray readAll() override
    {
        QByteArray bytes = inner_.readAll();
        if (asked_ >= 0 && bytes.size() >= 3 && !damage[asked_].isEmpty())
            bytes[bytes.size() - 2] =
                char(quint8(bytes.at(bytes.size() - 2)) ^ quint8(damage[asked_].takeFirst()));
        asked_ = -1;
        return bytes;
    }
    QString errorString() const override { return inner_.errorString(); }
    QString portLabel() const override { return inner_.portLabel(); }

    QHash<int, QList<int>> damage; // address -> XOR values of its next replies

private:
    VirtualMeterLink &inner_;
    int asked_ = -1;
};

QStringList rowOne(const BankGrid &grid)
{
    QStringList row;
    for (int n = 1; n <= 5; ++n)
        row << grid.cell(1, n);
    return row;
}

QStringList column(const BankGrid &grid, int bank)
{
    const BankRecord::Texts texts = grid.bankTexts(bank);
    return QStringList(texts.begin(), texts.end());
}

const QStringList kEmptyRows{"", "", "", "", "", "", "", "", "", "", "", "", "", ""};

} // namespace

class TestBankDownload : public QObject {
    Q_OBJECT

private slots:
    // The bank's time copy: same start and another stop time corrects the bank;
    // anything else rewrites the copy from the bank.
    void stopTimeRule_data()
    {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<QString>("stopShown");
        QTest::addColumn<QByteArray>("bankStopAfter"); // registers base + 5, + 6
        QTest::addColumn<QByteArray>("copyAfter");
        // usedBank(): start 12/06 07:30, stop 15:30; bank 2 is at 0x50, its copy at 0x7A07.
        QTest::newRow("copy-stop-wins")
            << bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}) << " 16:45" << bytes({0x16, 0x45})
            << bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45});
        QTest::newRow("start-differs")
            << bytes({0x12, 0x05, 0x07, 0x30, 0x16, 0x45}) << " 15:30" << bytes({0x15, 0x30})
            << bytes({0x12, 0x06, 0x07, 0x30, 0x15, 0x30});
        QTest::newRow("copy-agrees")
            << bytes({0x12, 0x06, 0x07, 0x30, 0x15, 0x30}) << " 15:30" << bytes({0x15, 0x30})
            << bytes({0x12, 0x06, 0x07, 0x30, 0x15, 0x30});
        QTest::newRow("copy-erased")
            << bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) << " 15:30" << bytes({0x15, 0x30})
            << bytes({0x12, 0x06, 0x07, 0x30, 0x15, 0x30});
    }
    void stopTimeRule()
    {
        QFETCH(QByteArray, copy);
        QFETCH(QByteArray, bankStopAfter);
        QFETCH(QByteArray, copyAfter);
        BankRig rig;
        rig.setBank(2, bankrig::usedBank());
        rig.setCopy(2, copy);
        rig.state.status = decodeStatusByte(0x17);
        BankDownload download(rig.meter, rig.banks, rig.grid);
        QCOMPARE(download.readOne(2, Origin::OkButton).outcome, Outcome::Done);

        QTEST(rig.grid.cell(10, 2), "stopShown");
        QCOMPARE(rig.registers(0x50 + 5, 2), bankStopAfter);
        QCOMPARE(rig.registers(0x7A07, 6), copyAfter);
        // The writes, in order: the bank's stop time, or the whole copy.
        QList<QPair<int, int>> expected;
        if (QByteArray(QTest::currentDataTag()) == "copy-stop-wins")
            expected = {{0x55, 0x16}, {0x56, 0x45}};
        else
            expected = {{0x7A07, 0x12}, {0x7A08, 0x06}, {0x7A09, 0x07},
                        {0x7A0A, 0x30}, {0x7A0B, 0x15}, {0x7A0C, 0x30}};
        QCOMPARE(rig.writes(), expected);
        // The bank data hold the bank as the meter now has it.
        QCOMPARE(rig.banks.BankData[2], rig.registers(0x50, 20));
        // A bank's settings are not the meter's: the shared status fields stay.
        QCOMPARE(rig.state.status.CriterionLevel, 90);
        QCOMPARE(rig.state.status.ExchangeRate, 4);
    }

    void unusedBankErasesItsCopy()
    {
        BankRig rig;
        rig.setBank(4, bankrig::unusedBank());
        rig.setCopy(4, bytes({0x11, 0x05, 0x09, 0x00, 0x10, 0x00}));
        rig.grid.setCell(5, 4, " Fast"); // from an earlier download
        BankDownload download(rig.meter, rig.banks, rig.grid);
        const double start = rig.clock.monotonicSeconds();
        QCOMPARE(download.readOne(4, Origin::OkButton).outcome, Outcome::Done);
        const double seconds = rig.clock.monotonicSeconds() - start;

        QCOMPARE(column(rig.grid, 4), QStringList{" Unused"} + kEmptyRows);
        QCOMPARE(rig.registers(0x7A13, 6), QByteArray(6, char(0xFF)));
        QCOMPARE(rig.reads().first(), 0x65);
        // Register 0x65, then each of the 20 bank registers twice.
        QCOMPARE(rig.reads().size(), 41);
        // 41 reads and 6 writes at 0.05 s, and 0.02 s more after each write.
        QVERIFY2(seconds >= 2.47 && seconds < 2.48, qPrintable(QString::number(seconds)));
        QCOMPARE(rig.poll.changes, (QList<bool>{false, true}));
    }

    // The bank being recorded is not read: its column shows the run state.
    void runningBank_data()
    {
        QTest::addColumn<int>("command"); // 0: all banks, 1..5: that bank
        QTest::addColumn<int>("origin");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<QStringList>("rowOne");
        QTest::addColumn<QList<bool>>("pollChanges");
        const QList<bool> fourBanks{false, true, false, true, false, true, false, true, true};
        const QList<bool> fiveBanks = QList<bool>{false, true} + fourBanks;
        const QStringList allRead{" Used", " Unused", " Used", " Unused", " Unused"};
        QTest::newRow("ok-all-running")
            << 0 << int(Origin::OkButton) << true << false
            << QStringList{" Used", " Unused", "Running", " Unused", " Unused"} << fourBanks;
        QTest::newRow("ok-all-paused")
            << 0 << int(Origin::OkButton) << true << true
            << QStringList{" Used", " Unused", "Pause", " Unused", " Unused"} << fourBanks;
        QTest::newRow("menu-all-running")
            << 0 << int(Origin::Menu) << true << false
            << QStringList{" Used", " Unused", "RUN", " Unused", " Unused"} << fourBanks;
        QTest::newRow("menu-all-paused")
            << 0 << int(Origin::Menu) << true << true
            << QStringList{" Used", " Unused", "PAUSE", " Unused", " Unused"} << fourBanks;
        QTest::newRow("all-paused-not-running")
            << 0 << int(Origin::OkButton) << false << true << allRead << fiveBanks;
        QTest::newRow("all-stopped")
            << 0 << int(Origin::Menu) << false << false << allRead << fiveBanks;
        QTest::newRow("ok-bank-3-running")
            << 3 << int(Origin::OkButton) << true << false << QStringList{"", "", "Running", "", ""}
            << QList<bool>{};
        QTest::newRow("menu-bank-3-paused")
            << 3 << int(Origin::Menu) << true << true << QStringList{"", "", "Pause", "", ""}
            << QList<bool>{};
        QTest::newRow("bank-3-paused-only")
            << 3 << int(Origin::OkButton) << false << true << QStringList{"", "", "Pause", "", ""}
            << QList<bool>{};
        QTest::newRow("bank-3-stopped")
            << 3 << int(Origin::Menu) << false << false << QStringList{"", "", " Used", "", ""}
            << QList<bool>{false, true};
        QTest::newRow("bank-1-while-3-runs")
            << 1 << int(Origin::OkButton) << true << false << QStringList{" Used", "", "", "", ""}
            << QList<bool>{false, true};
    }
    void runningBank()
    {
        QFETCH(int, command);
        QFETCH(int, origin);
        QFETCH(bool, running);
        QFETCH(bool, paused);
        BankRig rig;
        rig.setBank(1, bankrig::usedBank());
        rig.setBank(3, bankrig::usedBank());
        rig.state.display.EventBank = 3;
        rig.state.display.Running = running;
        rig.state.display.Paused = paused;
        rig.grid.setCell(12, 3, " stale");
        BankDownload download(rig.meter, rig.banks, rig.grid);
        const BankDownload::Result result = command == 0
                                                ? download.readAll(Origin(origin))
                                                : download.readOne(command, Origin(origin));
        QCOMPARE(result.outcome, Outcome::Done);
        QTEST(rowOne(rig.grid), "rowOne");
        QTEST(rig.poll.changes, "pollChanges");
        const QString state = rig.grid.cell(1, 3);
        if (state.startsWith(QLatin1Char(' '))) {
            QCOMPARE(rig.grid.cell(12, 3), "  100");
        } else {
            // Not read at all; nothing of an earlier download stays beside a run state.
            QCOMPARE(rig.grid.cell(12, 3), state.isEmpty() ? " stale" : "");
            QCOMPARE(column(rig.grid, 3).mid(1).join(""), state.isEmpty() ? " stale" : "");
            // Register 0x65, read before every bank, lies inside bank 3.
            for (int address : rig.reads())
                QVERIFY(address == 0x65 || address < 0x64 || address > 0x77);
        }
    }

    void menuWaitsForTheSettingsRefresh_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("origin");
        QTest::addColumn<int>("outcome");
        QTest::newRow("menu-all") << 0 << int(Origin::Menu) << int(Outcome::Refused);
        QTest::newRow("menu-one") << 2 << int(Origin::Menu) << int(Outcome::Refused);
        QTest::newRow("ok-all") << 0 << int(Origin::OkButton) << int(Outcome::Done);
        QTest::newRow("ok-one") << 2 << int(Origin::OkButton) << int(Outcome::Done);
    }
    void menuWaitsForTheSettingsRefresh()
    {
        QFETCH(int, command);
        QFETCH(int, origin);
        BankRig rig;
        rig.state.link.RefreshBusy = true;
        BankDownload download(rig.meter, rig.banks, rig.grid);
        const BankDownload::Result result = command == 0
                                                ? download.readAll(Origin(origin))
                                                : download.readOne(command, Origin(origin));
        QTEST(int(result.outcome), "outcome");
        QCOMPARE(rig.vm.received().isEmpty(), result.outcome == Outcome::Refused);
    }

    void progress_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<int>>("fills");
        QTest::newRow("bank-2") << 2 << QList<int>{0,  0,  5,  10, 15, 20, 25, 30, 35, 40, 45,
                                                   50, 55, 60, 65, 70, 75, 80, 85, 90, 95};
        QList<int> all{0};
        for (int fill = 0; fill <= 99; ++fill)
            all << fill;
        QTest::newRow("all-banks") << 0 << all;
    }
    void progress()
    {
        QFETCH(int, command);
        BankRig rig;
        BankDownload download(rig.meter, rig.banks, rig.grid);
        QList<int> fills;
        QList<bool> shown;
        download.progress = [&fills](int percent) { fills << percent; };
        download.progressShown = [&shown](bool visible) { shown << visible; };
        command == 0 ? download.readAll(Origin::OkButton)
                     : download.readOne(command, Origin::OkButton);
        QTEST(fills, "fills");
        QCOMPARE(shown, (QList<bool>{true, false}));
    }

    // A register that does not answer is asked again; a bank that still cannot be read
    // says so, and the other banks are read.
    void readFailureMarksItsBank_data()
    {
        QTest::addColumn<int>("lost");
        QTest::addColumn<QString>("rowOne");
        QTest::addColumn<QString>("dose");
        QTest::newRow("lost-once") << 1 << " Used"
                                   << "  100";
        QTest::newRow("lost-for-good") << 1000 << " Read failed"
                                       << "";
    }
    void readFailureMarksItsBank()
    {
        QFETCH(int, lost);
        BankRig rig;
        DeafRegisterLink deaf(rig.link);
        Meter meter(deaf, rig.clock, rig.state);
        meter.setPollControl(&rig.poll);
        rig.setBank(1, bankrig::usedBank());
        rig.setBank(2, bankrig::usedBank());
        // Bank 2's dose low byte.
        deaf.deaf.insert(0x50 + 10, lost);
        rig.grid.setCell(5, 2, " Fast"); // from an earlier download
        BankDownload download(meter, rig.banks, rig.grid);
        const BankDownload::Result result = download.readAll(Origin::OkButton);

        QCOMPARE(result.outcome, Outcome::Done);
        QTEST(rig.grid.cell(1, 2), "rowOne");
        QTEST(rig.grid.cell(12, 2), "dose");
        QCOMPARE(rowOne(rig.grid).mid(2), (QStringList{" Unused", " Unused", " Unused"}));
        QCOMPARE(rig.grid.cell(12, 1), "  100");
        if (lost == 1) {
            QVERIFY(result.failedBanks.isEmpty());
            QCOMPARE(rig.banks.BankData[2], bankrig::usedBank());
        } else {
            QCOMPARE(column(rig.grid, 2).mid(1), kEmptyRows);
            QCOMPARE(result.failedBanks, QList<int>{2});
            QCOMPARE(result.message, "Bank E2 could not be read: the meter did not answer.");
            QVERIFY(rig.banks.BankData[2].isEmpty());
            // Nothing is written to a bank that was not read, nor to its copy.
            for (const auto &write : rig.writes())
                QVERIFY(write.first < 0x7A07 || write.first > 0x7A0C);
        }
    }

    // A reply the line damaged is outvoted by two that agree; three different replies
    // fail the bank, and nothing is written back on their word.
    void damagedRepliesAreOutvoted_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QList<int>>("damage");
        QTest::addColumn<QString>("stopShown");
        QTest::addColumn<bool>("failed");
        // Bank 2 at 0x50 stops 15:30; its copy at 0x7A07 says 16:45 for the same start.
        QTest::newRow("bank-stop-hour-once") << 0x55 << QList<int>{0x01} << " 16:45" << false;
        QTest::newRow("bank-stop-hour-second-read")
            << 0x55 << QList<int>{0, 0x01} << " 16:45" << false;
        QTest::newRow("copy-stop-hour-once") << 0x7A0B << QList<int>{0x02} << " 16:45" << false;
        QTest::newRow("copy-start-day-once") << 0x7A08 << QList<int>{0x10} << " 16:45" << false;
        QTest::newRow("bank-used-flag-three-ways")
            << 0x50 << QList<int>{0x80, 0x01, 0x02} << "" << true;
    }
    void damagedRepliesAreOutvoted()
    {
        QFETCH(int, address);
        QFETCH(QList<int>, damage);
        BankRig rig;
        DamagingRegisterLink damaging(rig.link);
        Meter meter(damaging, rig.clock, rig.state);
        meter.setPollControl(&rig.poll);
        rig.setBank(2, bankrig::usedBank());
        rig.setCopy(2, bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
        damaging.damage.insert(address, damage);
        BankDownload download(meter, rig.banks, rig.grid);
        const BankDownload::Result result = download.readOne(2, Origin::OkButton);
        QCOMPARE(result.outcome, Outcome::Done);
        QTEST(rig.grid.cell(10, 2), "stopShown");
        QFETCH(bool, failed);
        QCOMPARE(result.failedBanks, failed ? QList<int>{2} : QList<int>{});
        if (failed) {
            QVERIFY(rig.writes().isEmpty());
            QCOMPARE(rig.registers(0x50, 20), bankrig::usedBank());
        } else {
            // The copy's stop time went into the bank, and nothing else was written.
            QCOMPARE(rig.writes(), (QList<QPair<int, int>>{{0x55, 0x16}, {0x56, 0x45}}));
        }
        QCOMPARE(rig.registers(0x7A07, 6), bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
    }

    void silentMeterEndsTheRead()
    {
        BankRig rig;
        rig.meter.setRefreshTimeout(1.0);
        VirtualMeter::Faults faults;
        faults.silent = true;
        rig.vm.setFaults(faults);
        rig.grid.setCell(1, 3, " Used"); // from an earlier download
        BankDownload download(rig.meter, rig.banks, rig.grid);
        const BankDownload::Result result = download.readAll(Origin::OkButton);
        QCOMPARE(result.outcome, Outcome::NoAnswer);
        QCOMPARE(result.failedBanks, QList<int>{1});
        QCOMPARE(result.message, "The meter does not answer: banks E1 to E5 could not be read.");
        QCOMPARE(rowOne(rig.grid), (QStringList{" Read failed", "", " Used", "", ""}));
        // Only the register before the first bank was asked for.
        for (int address : rig.reads())
            QCOMPARE(address, 0x65);
        QCOMPARE(rig.poll.changes.last(), true);
    }

    void closedWindowEndsTheReadQuietly()
    {
        BankRig rig;
        rig.setBank(1, bankrig::usedBank());
        BankDownload download(rig.meter, rig.banks, rig.grid);
        bool gone = false;
        QList<int> changed;
        download.columnChanged = [&changed](int bank) { changed << bank; };
        download.progress = [&gone](int percent) { gone = gone || percent >= 30; };
        download.cancelled = [&gone] { return gone; };
        QCOMPARE(download.readAll(Origin::OkButton).outcome, Outcome::Cancelled);
        QCOMPARE(changed, QList<int>{1});
        QCOMPARE(rig.grid.cell(1, 2), QString());
        QCOMPARE(rig.reads().last(), 0x50 + 10);
        QCOMPARE(rig.poll.changes.last(), true);
    }

    void gridClick_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("rowOne");
        QTest::newRow("caption-column") << 0 << QStringList{"", "", "", "", ""};
        // The run-state test does not apply to a click.
        QTest::newRow("bank-3-while-running") << 3 << QStringList{"", "", " Used", "", ""};
    }
    void gridClick()
    {
        QFETCH(int, column);
        BankRig rig;
        rig.setBank(3, bankrig::usedBank());
        rig.state.display.EventBank = 3;
        rig.state.display.Running = true;
        BankDownload download(rig.meter, rig.banks, rig.grid);
        QList<bool> shown;
        download.progressShown = [&shown](bool visible) { shown << visible; };
        download.readClicked(column);
        QTEST(rowOne(rig.grid), "rowOne");
        QVERIFY(shown.isEmpty());
    }

    // A short bank file leaves fewer rows; the next download brings the 16 back.
    void downloadRestoresTheGrid()
    {
        BankRig rig;
        rig.setBank(1, bankrig::usedBank());
        BankFile::Texts texts;
        BankFile::load(BankFile::parseMenu("\t Used\t----\r\n\t 85dB\t----\r\n"), rig.grid, texts);
        QCOMPARE(rig.grid.rowCount(), 3);
        BankDownload download(rig.meter, rig.banks, rig.grid);
        QCOMPARE(download.readOne(1, Origin::Menu).outcome, Outcome::Done);
        QCOMPARE(rig.grid.rowCount(), 16);
        QCOMPARE(rig.grid.cell(15, 0), "PEAK DURATION(mm:ss)");
        QCOMPARE(rig.grid.cell(0, 1), " E1");
        QCOMPARE(rig.grid.cell(2, 1), " 85dB");
        QCOMPARE(rig.grid.cell(2, 2), "----");
    }
};

DOSEMETER_TEST(TestBankDownload)
#include "tst_BankDownload.moc"
