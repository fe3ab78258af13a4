// dosemeter-cli commands on the dose event banks: the banks' texts as the event window
// shows them (and its toolbar-layout bank file), and the TWA of a dose.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "banks/BankDownload.h"
#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "banks/BankRecord.h"
#include "banks/BankState.h"
#include "cli/OutputFiles.h"
#include "link/Meter.h"
#include "link/Twa.h"
#include "main/Poller.h"

#include <QTextStream>

#include <cmath>
#include <optional>

namespace cli {

namespace {

int silent(Context &c, const QString &message = QString())
{
    c.err << "dosemeter-cli: "
          << (message.isEmpty() ? QStringLiteral("the meter does not answer (no reply within %1 s)")
                                      .arg(c.timeoutSeconds)
                                : message)
          << "\n";
    return Exit::kNoAnswer;
}

// One display frame into the shared display fields, for the meter's run state; false
// when the meter does not answer.
bool readDisplayFrame(Context &c)
{
    bool gaveUp = false;
    const QMetaObject::Connection connection =
        QObject::connect(&c.meter, &Meter::meterSilent, [&gaveUp] { gaveUp = true; });
    Poller poller(c.meter);
    bool decoded = false;
    while (!decoded && !gaveUp && !c.meter.aborted())
        decoded = poller.tick().outcome == Poller::Outcome::Decoded;
    QObject::disconnect(connection);
    return decoded;
}

} // namespace

int banks(Context &c, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("banks"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(c.err, parsed.error());
    const std::optional<QString> outPath = parsed->optional("--out");
    const bool overwrite = parsed->has("--overwrite");
    int bank = 0;
    for (const QString &value : parsed->values("--bank")) {
        bool ok = false;
        bank = value.toInt(&ok);
        if (!ok || bank < 1 || bank > 5)
            return wrongArguments(c.err, usage);
    }
    if (outPath) {
        if (const int exit = checkNewFile(c.err, *outPath, overwrite); exit != Exit::kOk)
            return exit;
        // A bank file of five banks is some 600 bytes.
        if (const int exit = checkFreeSpace(c.err, *outPath, 2048); exit != Exit::kOk)
            return exit;
    }
    if (const int exit = c.connect(); exit != Exit::kOk)
        return exit;

    // The run state decides whether the bank being recorded is read.
    if (!readDisplayFrame(c))
        return silent(c);

    BankState state;
    BankGrid grid;
    BankDownload download(c.meter, state, grid);
    const BankDownload::Result result =
        bank == 0 ? download.readAll(BankDownload::Origin::OkButton)
                  : download.readOne(bank, BankDownload::Origin::OkButton);
    switch (result.outcome) {
    case BankDownload::Outcome::Done:
        break;
    case BankDownload::Outcome::Refused: // cannot happen: nothing else runs here
    case BankDownload::Outcome::Cancelled:
        return silent(c);
    case BankDownload::Outcome::NoAnswer:
        return silent(c, result.message);
    }

    for (int r = 1; r <= BankRecord::kTextRows; ++r) {
        c.out << grid.cell(r, 0);
        for (int n = 1; n < BankGrid::kColumns; ++n)
            c.out << "\t" << grid.cell(r, n);
        c.out << "\n";
    }
    if (outPath) {
        const QString error = BankFile::save(*outPath, BankFile::toolbarBytes(grid, {}));
        if (!error.isEmpty()) {
            c.err << "dosemeter-cli: " << error << "\n";
            return Exit::kFailed;
        }
        keepFile(c, *outPath, {});
    }
    if (!result.failedBanks.isEmpty())
        return silent(c, result.message);
    return Exit::kOk;
}

int twa(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Result<Arguments> parsed = parseArguments(grammarOf(QStringLiteral("twa")), args);
    if (!parsed)
        return failed(err, parsed.error());
    const QString dose = parsed->value("--dose");
    const QString criterion = parsed->value("--criterion");
    const QString exchange = parsed->value("--exchange-rate");
    bool doseOk = false, criterionOk = false, exchangeOk = false;
    const double percent = dose.toDouble(&doseOk);
    const int criterionDb = criterion.toInt(&criterionOk);
    const int exchangeDb = exchange.toInt(&exchangeOk);
    // A dose no meter can hold gives a TWA no meter can measure (1e308 % would be 5172.7 dB).
    if (!doseOk || !std::isfinite(percent) || percent < BankRecord::kMinDosePercent ||
        percent > BankRecord::kMaxDosePercent)
        return wrongArguments(err, QStringLiteral("--dose needs a dose in percent from 0.01 to "
                                                  "65535, as a meter's dose bank holds it"));
    if (!criterionOk ||
        (criterionDb != 80 && criterionDb != 84 && criterionDb != 85 && criterionDb != 90))
        return wrongArguments(err, QStringLiteral("--criterion needs 80, 84, 85 or 90"));
    const std::optional<int> tenths =
        exchangeOk ? Twa::tenthsDb(percent, criterionDb, exchangeDb) : std::nullopt;
    if (!tenths)
        return wrongArguments(err, QStringLiteral("--exchange-rate needs 3, 4, 5 or 6"));
    out << Twa::text(*tenths).mid(1) << "\n";
    return Exit::kOk;
}

} // namespace cli
