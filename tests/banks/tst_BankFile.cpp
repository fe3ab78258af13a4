#include "BankRig.h"

#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Columns of the grid the golden files hold: a used bank, a bank never read, an unused
// bank, the bank being recorded, and a bank with a peak.
const QList<QStringList> kColumns{
    {" Used", " 85dB", " 80dB", " 5dB", " Slow", " No", " No", " 12-06", " 07:30", " 15:30",
     " 08:00", "  100", " 85.0", "", ""},
    {"", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {" Unused", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"Running", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {" Used", " 80dB", " 75dB", " 3dB", " Fast", " Yes", " Yes", " 07-14", " 13:45", " 21:50",
     " 08:05", " 200", " 83.0", " 02:07", " 00:45"},
};

const BankFile::Texts kTexts{"Ana Souza", "Rua das Flores 12", "Metalurgica Uniao"};

BankGrid sampleGrid()
{
    BankGrid grid;
    for (int n = 1; n <= 5; ++n) {
        for (int r = 1; r <= 15; ++r)
            grid.setCell(r, n, kColumns.at(n - 1).at(r - 1));
    }
    return grid;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The golden files are compared whole. To regenerate them after a deliberate change of
// a layout, run tst_banks with DOSEMETER_REGENERATE_GOLDEN=1 and review the diff.
QByteArray golden(const QString &name, const QByteArray &actual)
{
    const QString path = bankrig::golden(name);
    if (qEnvironmentVariableIsSet("DOSEMETER_REGENERATE_GOLDEN")) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(actual);
    }
    return fileBytes(path);
}

} // namespace

class TestBankFile : public QObject {
    Q_OBJECT

private slots:
    void menuLayoutRoundTrip()
    {
        const QByteArray written = BankFile::menuBytes(sampleGrid(), kTexts);
        QCOMPARE(written, golden("banks-menu.bnk", written));

        const BankFile::Content content = BankFile::parseMenu(written, "banks-menu.bnk");
        QVERIFY2(content.ok(), qPrintable(content.error));
        BankGrid grid;
        grid.setCell(1, 1, " old");
        BankFile::Texts texts;
        BankFile::load(content, grid, texts);
        QCOMPARE(grid.rowCount(), 16);
        for (int r = 1; r <= 15; ++r) {
            QCOMPARE(grid.cell(r, 0), BankGrid::caption(r));
            for (int n = 1; n <= 5; ++n) {
                // Empty cells come back as the file holds them; the first field of each
                // line loses its leading space with the TAB before it.
                QString expected = kColumns.at(n - 1).at(r - 1);
                if (expected.isEmpty())
                    expected = "----";
                else if (n == 1)
                    expected = expected.trimmed();
                QCOMPARE(grid.cell(r, n), expected);
            }
        }
        QCOMPARE(grid.cell(0, 1), " E1");
        QCOMPARE(texts.name, kTexts.name);
        QCOMPARE(texts.address, kTexts.address);
        QCOMPARE(texts.company, kTexts.company);
    }

    void toolbarLayoutRoundTrip()
    {
        // The toolbar's save writes the whole layout, whatever rows are on screen.
        const QByteArray written = BankFile::toolbarBytes(sampleGrid(), kTexts);
        QCOMPARE(written, golden("banks-toolbar.bnk", written));

        const BankFile::Content content = BankFile::parseToolbar(written, "banks-toolbar.bnk");
        QVERIFY2(content.ok(), qPrintable(content.error));
        BankGrid grid;
        BankFile::Texts texts;
        BankFile::load(content, grid, texts);
        QCOMPARE(grid.rowCount(), 16);
        for (int r = 1; r <= 15; ++r) {
            QCOMPARE(grid.cell(r, 0), BankGrid::caption(r));
            for (int n = 1; n <= 5; ++n) {
                const QString cell = kColumns.at(n - 1).at(r - 1);
                QCOMPARE(grid.cell(r, n), cell.isEmpty() ? QStringLiteral(" ") : cell);
            }
        }
        QCOMPARE(grid.cell(0, 3), " E3");
        QCOMPARE(texts.name, kTexts.name);
        QCOMPARE(texts.address, kTexts.address);
        QCOMPARE(texts.company, kTexts.company);
    }

    void toolbarSavesTheWholeLayout()
    {
        BankGrid grid = sampleGrid();
        BankFile::Texts texts;
        BankFile::load(BankFile::parseMenu("\t Used\r\n"), grid, texts);
        QCOMPARE(grid.rowCount(), 2);
        const QList<QByteArray> lines = BankFile::toolbarBytes(grid, {}).split('\n');
        QCOMPARE(lines.size(), 20); // 19 lines, each ended by CR LF
        QCOMPARE(lines.at(0), "\t \t E1\t E2\t E3\t E4\t E5\r");
        QCOMPARE(lines.at(1), "\tUsed or not\tUsed\t \t \t \t \r");
        QCOMPARE(lines.at(15), "\tPEAK DURATION(mm:ss)\t \t \t \t \t \r");
        QCOMPARE(lines.at(16), "Name: \r");
    }

    void markEmptyCells()
    {
        BankGrid menu;
        menu.setCell(1, 1, " Used");
        BankFile::markEmptyCellsForMenu(menu);
        QCOMPARE(menu.cell(1, 1), " Used");
        QCOMPARE(menu.cell(1, 2), "----");
        QCOMPARE(menu.cell(15, 5), "----");
        QCOMPARE(menu.cell(0, 0), "");
        QCOMPARE(menu.cell(3, 0), "Threshold level");

        BankGrid toolbar;
        BankFile::Texts texts;
        BankFile::load(BankFile::parseToolbar(""), toolbar, texts);
        BankFile::markEmptyCellsForToolbar(toolbar);
        QCOMPARE(toolbar.rowCount(), 16);
        QCOMPARE(toolbar.cell(0, 0), " ");
        QCOMPARE(toolbar.cell(0, 2), " E2");
        QCOMPARE(toolbar.cell(8, 0), "Start Date(mm:dd)");
        QCOMPARE(toolbar.cell(8, 4), " ");
    }

    void texts_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("readBack");
        const QStringList plain{"Ana Souza", "Rua A 12", "ACME"};
        QTest::newRow("plain") << plain << plain;
        QTest::newRow("empty") << QStringList{"", "", ""} << QStringList{"", "", ""};
        QTest::newRow("blanks-kept")
            << QStringList{"  Ana ", " x", "   "} << QStringList{"  Ana ", " x", "   "};
        QTest::newRow("colons") << QStringList{"Dr: Ana", "Rua: 1", ":"}
                                << QStringList{"Dr: Ana", "Rua: 1", ":"};
        QTest::newRow("latin-1") << QStringList{"José Conceição", "Praça Sé", "Indústria"}
                                 << QStringList{"José Conceição", "Praça Sé", "Indústria"};
        QTest::newRow("quotes") << QStringList{"\"Bia\"", "a \"b\"", "\""}
                                << QStringList{"\"Bia\"", "a \"b\"", "\""};
        // They would split the line: the boxes never keep them.
        QTest::newRow("comma-tab-line-end-dropped") << QStringList{"Souza, Ana", "Rua\tA", "A\r\nB"}
                                                    << QStringList{"Souza Ana", "RuaA", "AB"};
    }
    void texts()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, readBack);
        const BankFile::Texts written{typed.at(0), typed.at(1), typed.at(2)};
        for (const bool menu : {true, false}) {
            const QByteArray bytes = menu ? BankFile::menuBytes(BankGrid(), written)
                                          : BankFile::toolbarBytes(BankGrid(), written);
            const BankFile::Content content =
                menu ? BankFile::parseMenu(bytes) : BankFile::parseToolbar(bytes);
            QVERIFY2(content.ok(), qPrintable(content.error));
            QCOMPARE(QStringList({*content.name, *content.address, *content.company}), readBack);
        }
    }

    // Whatever the bytes, a reader gives what it could read or says why it could not.
    void readersNeverTrustInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("error");
        const QByteArray menuFile = fileBytes(bankrig::golden("banks-menu.bnk"));
        const QByteArray toolbarFile = fileBytes(bankrig::golden("banks-toolbar.bnk"));
        const auto firstLines = [](const QByteArray &file, int count) -> QByteArray {
            return file.split('\n').mid(0, count).join('\n') + '\n';
        };
        QTest::newRow("menu-line-feeds-only")
            << QByteArray(menuFile).replace("\r\n", "\n") << true << true << 15 << "";
        QTest::newRow("toolbar-end-of-file-mark")
            << QByteArray(toolbarFile + '\x1A') << false << true << 15 << "";
        QTest::newRow("menu-truncated")
            << firstLines(menuFile, 5) << true << true << 5
            << "The file x.bnk holds 5 of the 18 lines of a bank file; only those were read.";
        QTest::newRow("toolbar-truncated")
            << firstLines(toolbarFile, 5) << false << true << 4
            << "The file x.bnk holds 5 of the 19 lines of a bank file; only those were read.";
        QTest::newRow("empty") << QByteArray() << true << true << 0
                               << "The file x.bnk holds 0 of the 18 lines of a bank file; only "
                                  "those were read.";
        QTest::newRow("binary") << QByteArray("\t Used\0\x01\x02", 9) << true << false << 0
                                << "The file x.bnk is not a bank file: it holds binary data.";
        QTest::newRow("huge") << QByteArray(BankFile::kMaxFileBytes + 1, '\t') << false << false
                              << 0 << "The file x.bnk is larger than 1 MB and is not a bank file.";
        QTest::newRow("endless-line") << QByteArray(70000, 'x') << true << true << 0
                                      << "Line 1 of x.bnk is far too long for a bank file; "
                                         "reading stopped there.";
        QTest::newRow("unclosed-quote")
            << QByteArray("\t\"Used\t----\r\n" + menuFile.mid(menuFile.indexOf('\n') + 1)) << true
            << true << 15
            << "Line 1 of x.bnk has no closing quote; it was read to the end of the line.";
    }
    void readersNeverTrustInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, menu);
        QFETCH(int, rows);
        const BankFile::Content content =
            menu ? BankFile::parseMenu(bytes, "x.bnk") : BankFile::parseToolbar(bytes, "x.bnk");
        QTEST(content.readable, "readable");
        QCOMPARE(content.rows.size(), rows);
        QTEST(content.error, "error");

        // What could not be read at all leaves the window as it was.
        BankGrid grid = sampleGrid();
        BankFile::Texts texts = kTexts;
        BankFile::load(content, grid, texts);
        QCOMPARE(grid.rowCount(), content.readable ? rows + 1 : 16);
        if (!content.readable)
            QVERIFY(grid == sampleGrid());
    }

    // Either Open reads a file with the reader of the layout its first line shows.
    void layoutOf_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("layout");
        const int menu = int(BankFile::Layout::Menu);
        const int toolbar = int(BankFile::Layout::Toolbar);
        QTest::newRow("menu-file") << fileBytes(bankrig::golden("banks-menu.bnk")) << menu;
        QTest::newRow("toolbar-file") << fileBytes(bankrig::golden("banks-toolbar.bnk")) << toolbar;
        QTest::newRow("toolbar-header-line-feed") << QByteArray("\t \t E1\t E2\n") << toolbar;
        QTest::newRow("menu-empty-cells") << QByteArray("\t----\t----\r\n") << menu;
        QTest::newRow("menu-run-state") << QByteArray("\tRunning\t Used\r\n") << menu;
        QTest::newRow("bank-named-E1-alone") << QByteArray("\t E1\r\n") << menu;
        QTest::newRow("empty") << QByteArray() << menu;
    }
    void layoutOf()
    {
        QFETCH(QByteArray, bytes);
        QTEST(int(BankFile::layoutOf(bytes)), "layout");
    }

    void files()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.bnk");
        QCOMPARE(BankFile::save(path, BankFile::menuBytes(sampleGrid(), kTexts)), QString());
        QVERIFY(BankFile::readMenu(path).ok());
        QCOMPARE(BankFile::readMenu(path).rows.size(), 15);

        const QString missing = dir.filePath("no-such.bnk");
        QVERIFY(BankFile::readToolbar(missing).error.startsWith(
            "The file no-such.bnk could not be opened: "));
        QVERIFY(!BankFile::readToolbar(missing).readable);

        // A save that cannot be made says so (a file stands where the folder should be).
        const QString error = BankFile::save(path + "/inner.bnk", "x");
        QVERIFY2(error.startsWith("The file inner.bnk could not be saved: "), qPrintable(error));
        QCOMPARE(fileBytes(path), BankFile::menuBytes(sampleGrid(), kTexts));
    }
};

DOSEMETER_TEST(TestBankFile)
#include "tst_BankFile.moc"
