#include "banks/BankFile.h"

#include "data/DatFile.h"
#include "data/DelimitedFields.h"
#include "data/FileText.h"
#include "data/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace BankFile {

namespace {

constexpr char kTab = '\t';
constexpr char kQuote = '"';
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
const QString kMenuEmpty = QStringLiteral("----");
const QString kToolbarEmpty = QStringLiteral(" ");

QString label(const QString &name)
{
    return name.isEmpty() ? QCoreApplication::translate("BankFile", "The file")
                          : QCoreApplication::translate("BankFile", "The file %1").arg(name);
}

QByteArray latin1(const QString &text)
{
    return text.toLatin1();
}

// The items of a file, at most `wanted` of them, TABs skipped as blanks and a blank line
// giving an empty item, so that the items keep the lines' places. Stops early, with
// `error`, at an item longer than kMaxItemBytes.
QList<QByteArrayView> items(const QByteArray &bytes, int wanted, const QString &name,
                            QString &error)
{
    const QString shownName =
        name.isEmpty() ? QCoreApplication::translate("BankFile", "the file") : name;
    QList<QByteArrayView> found;
    DelimitedFields fields(bytes, kMaxItemBytes,
                           DelimitedFields::SkipBlankTabs | DelimitedFields::BlankLineFields);
    DelimitedFields::Field item;
    while (found.size() < wanted && fields.next(item)) {
        if (item.unclosedQuote && error.isEmpty())
            error = QCoreApplication::translate("BankFile", "Line %1 of %2 has no closing quote; "
                                                            "it was read to the end of the line.")
                        .arg(item.line)
                        .arg(shownName);
        found.append(item.text);
    }
    if (fields.tooLongLine() > 0)
        error = QCoreApplication::translate(
                    "BankFile", "Line %1 of %2 is far too long for a bank file; reading "
                                "stopped there.")
                    .arg(fields.tooLongLine())
                    .arg(shownName);
    return found;
}

// Checks what every reader refuses; true when the bytes may be parsed.
bool acceptable(const QByteArray &bytes, const QString &name, Content &content)
{
    if (bytes.size() > kMaxFileBytes) {
        content.error = QCoreApplication::translate(
                            "BankFile", "%1 is larger than %2 MB and is not a bank file.")
                            .arg(label(name))
                            .arg(kMaxFileBytes / (1024 * 1024));
        return false;
    }
    if (bytes.contains('\0')) {
        content.error =
            QCoreApplication::translate("BankFile", "%1 is not a bank file: it holds binary data.")
                .arg(label(name));
        return false;
    }
    content.readable = true;
    return true;
}

void noteShortFile(Content &content, const QString &name, int lines, int expected)
{
    if (lines < expected && content.error.isEmpty())
        content.error = QCoreApplication::translate(
                            "BankFile", "%1 holds %2 of the %3 lines of a bank file; only those "
                                        "were read.")
                            .arg(label(name))
                            .arg(lines)
                            .arg(expected);
}

// Text from the 0-based position `from` on; empty when the item is shorter.
QString textFrom(QByteArrayView item, qsizetype from)
{
    return from >= item.size() ? QString() : QString::fromLatin1(item.sliced(from));
}

Content readFile(const QString &path, Content (*parse)(const QByteArray &, const QString &))
{
    const QString name = QFileInfo(path).fileName();
    Content content;
    QFile file;
    if (const Result<void> opened = RegularFile::open(file, path); !opened) {
        content.error = opened.error().is(ErrorKind::NotRegular)
                            ? QCoreApplication::translate("BankFile", "%1 is not a regular file.")
                                  .arg(label(name))
                            : QCoreApplication::translate("BankFile", "%1 could not be opened: %2.")
                                  .arg(label(name), opened.error().text);
        return content;
    }
    // Read no more than one byte past the limit, so a huge file or a device cannot
    // exhaust memory.
    const QByteArray bytes = RegularFile::readUpTo(file, kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        content.error = QCoreApplication::translate("BankFile", "%1 could not be read: %2.")
                            .arg(label(name), file.errorString());
        return content;
    }
    return parse(bytes, name);
}

} // namespace

QString cleanText(const QString &text)
{
    return FileText::cleaned(text, u",\t");
}

bool textKeyAccepted(int code)
{
    return code != ',' && code != kTab;
}

QByteArray menuBytes(const BankGrid &grid, const Texts &texts)
{
    QByteArray out;
    for (int r = 1; r < BankGrid::kRows; ++r) {
        for (int n = 1; n < BankGrid::kColumns; ++n) {
            const QString cell = grid.cell(r, n);
            out += kTab;
            out += latin1(cell.isEmpty() ? kMenuEmpty : cell);
        }
        out += kLineEnd;
    }
    out += "NAME: " + latin1(cleanText(texts.name)) + kLineEnd;
    out += "ADDRESS: " + latin1(cleanText(texts.address)) + kLineEnd;
    out += "COMPANY: " + latin1(cleanText(texts.company)) + kLineEnd;
    return out;
}

QByteArray toolbarBytes(const BankGrid &grid, const Texts &texts)
{
    BankGrid laidOut = grid;
    laidOut.restoreLayout();
    QByteArray out;
    for (int r = 0; r < BankGrid::kRows; ++r) {
        for (int c = 0; c < BankGrid::kColumns; ++c) {
            const QString cell = laidOut.cell(r, c);
            out += kTab;
            out += latin1(cell.isEmpty() ? kToolbarEmpty : cell);
        }
        out += kLineEnd;
    }
    out += "Name: " + latin1(cleanText(texts.name)) + kLineEnd;
    out += "Address: " + latin1(cleanText(texts.address)) + kLineEnd;
    out += "Company: " + latin1(cleanText(texts.company)) + kLineEnd;
    return out;
}

void markEmptyCellsForMenu(BankGrid &grid)
{
    for (int r = 1; r < std::min(grid.rowCount(), int(BankGrid::kRows)); ++r) {
        for (int n = 1; n < BankGrid::kColumns; ++n) {
            if (grid.cell(r, n).isEmpty())
                grid.setCell(r, n, kMenuEmpty);
        }
    }
}

void markEmptyCellsForToolbar(BankGrid &grid)
{
    grid.restoreLayout();
    for (int r = 0; r < BankGrid::kRows; ++r) {
        for (int c = 0; c < BankGrid::kColumns; ++c) {
            if (grid.cell(r, c).isEmpty())
                grid.setCell(r, c, kToolbarEmpty);
        }
    }
}

QString save(const QString &path, const QByteArray &bytes)
{
    const QString reason = DatFile::save(path, bytes);
    if (reason.isEmpty())
        return {};
    return QCoreApplication::translate("BankFile", "%1 could not be saved: %2.")
        .arg(label(QFileInfo(path).fileName()), reason);
}

Content parseMenu(const QByteArray &bytes, const QString &name)
{
    Content content;
    if (!acceptable(bytes, name, content))
        return content;
    const QList<QByteArrayView> found = items(bytes, kMenuLines, name, content.error);
    for (int k = 1; k <= found.size(); ++k) {
        const QByteArrayView item = found.at(k - 1);
        if (k <= BankRecord::kTextRows)
            content.rows.append(BankGrid::caption(k) + QLatin1Char(kTab) +
                                QString::fromLatin1(item));
        else if (k == 16)
            content.name = textFrom(item, 6); // after "NAME: "
        else if (k == 17)
            content.address = textFrom(item, 9); // after "ADDRESS: "
        else if (k == 18)
            content.company = textFrom(item, 9); // after "COMPANY: "
    }
    noteShortFile(content, name, int(found.size()), kMenuLines);
    return content;
}

Content parseToolbar(const QByteArray &bytes, const QString &name)
{
    Content content;
    if (!acceptable(bytes, name, content))
        return content;
    const QList<QByteArrayView> found = items(bytes, kToolbarLines, name, content.error);
    // Item 0 is the header line: the window keeps its own headings.
    for (int k = 1; k < found.size(); ++k) {
        const QByteArrayView item = found.at(k);
        if (k <= BankRecord::kTextRows) {
            content.rows.append(QString::fromLatin1(item));
            continue;
        }
        // The text two characters after the first colon: what follows "Name: ".
        const QString text = textFrom(item, item.indexOf(':') + 2);
        if (k == 16)
            content.name = text;
        else if (k == 17)
            content.address = text;
        else
            content.company = text;
    }
    noteShortFile(content, name, int(found.size()), kToolbarLines);
    return content;
}

Layout layoutOf(const QByteArray &bytes)
{
    qsizetype pos = 0;
    while (pos < bytes.size() && (bytes.at(pos) == ' ' || bytes.at(pos) == kTab))
        ++pos;
    return bytes.mid(pos, 3) == QByteArrayLiteral("E1\t") ? Layout::Toolbar : Layout::Menu;
}

Content read(const QString &path)
{
    return readFile(path, [](const QByteArray &bytes, const QString &name) {
        return layoutOf(bytes) == Layout::Toolbar ? parseToolbar(bytes, name)
                                                  : parseMenu(bytes, name);
    });
}

Content readMenu(const QString &path)
{
    return readFile(path, &parseMenu);
}

Content readToolbar(const QString &path)
{
    return readFile(path, &parseToolbar);
}

void load(const Content &content, BankGrid &grid, Texts &texts)
{
    if (!content.readable)
        return;
    grid.clearRows();
    for (const QString &row : content.rows)
        grid.appendRow(row);
    if (content.name)
        texts.name = *content.name;
    if (content.address)
        texts.address = *content.address;
    if (content.company)
        texts.company = *content.company;
}

} // namespace BankFile
