#pragma once

// The ".bnk" bank file: the event window's grid and its name, address and company,
// 8-bit text (Latin-1), lines ended by CR LF. Two layouts, each read by its own reader:
//
//   menu layout ("&File" menu), 18 lines:
//     lines 1-15   grid row r: TAB + cell (r, n) for n = 1..5, an empty cell as "----"
//     16, 17, 18   "NAME: " name, "ADDRESS: " address, "COMPANY: " company
//   toolbar layout (toolbar "Save"/"Open"), 19 lines:
//     lines 1-16   grid row r = line - 1: TAB + cell (r, c) for c = 0..5, an empty
//                  cell as " " (the first field is the caption, the corner on line 1)
//     17, 18, 19   "Name: " name, "Address: " address, "Company: " company
//
// Both readers take the file item by item: leading spaces and TABs are skipped, an
// item ends at a comma or at the end of its line, and one that begins with a double
// quote runs to the closing quote. So each line is one item, and the menu layout's
// rows lose the TAB and the space that begin them. The readers never trust their
// input: whatever the bytes, they return what they could read and say in `error`
// when that is not a whole bank file.

#include "banks/BankGrid.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace BankFile {

// Files larger than this are refused: a bank file has about a kilobyte.
inline constexpr qint64 kMaxFileBytes = 1024 * 1024;
// An item longer than this ends the reading.
inline constexpr qsizetype kMaxItemBytes = 64 * 1024;
inline constexpr int kMenuLines = 18;
inline constexpr int kToolbarLines = 19;

// The three texts under the grid.
struct Texts {
    QString name;
    QString address;
    QString company;
};

struct Content {
    // Grid rows to append under the header row, as TAB-separated texts from column 0
    // (the menu reader puts the window's caption in front of each item).
    QStringList rows;
    // The texts the file holds; a text whose line is missing is left as it is.
    std::optional<QString> name;
    std::optional<QString> address;
    std::optional<QString> company;
    // False when nothing could be read (no such file, binary or huge): the window
    // then keeps its grid and texts.
    bool readable = false;
    // Empty when the file was read whole; otherwise what went wrong, for the user.
    QString error;
    bool ok() const { return readable && error.isEmpty(); }
};

// The texts as the boxes keep them: commas, TABs and line ends would split a line of
// the file, so they are left out.
QString cleanText(const QString &text);
// A key typed into a name, address or company box is taken (character code; comma 44
// and TAB 9 are dropped).
bool textKeyAccepted(int code);

// File contents. Empty cells (and rows a short grid lacks) are written as the layout
// says; the grid is not changed.
// The toolbar layout is written from the grid in its full layout (16 rows, headings
// and captions), as the toolbar's save restores it first.
QByteArray menuBytes(const BankGrid &grid, const Texts &texts);
QByteArray toolbarBytes(const BankGrid &grid, const Texts &texts);

// What a save does to the cells on screen: empty cells take the text the file holds
// ("----" in rows 1..15 of the bank columns; a space in every cell of the restored
// layout).
void markEmptyCellsForMenu(BankGrid &grid);
void markEmptyCellsForToolbar(BankGrid &grid);

// Writes through a temporary file that replaces `path` only when complete, so a failed
// save leaves an existing file untouched. Empty on success, else a message for the user.
QString save(const QString &path, const QByteArray &bytes);

// Readers of each layout. `name` is used in messages.
Content parseMenu(const QByteArray &bytes, const QString &name = QString());
Content parseToolbar(const QByteArray &bytes, const QString &name = QString());
Content readMenu(const QString &path);
Content readToolbar(const QString &path);

// The layout of a bank file, told by its first line: the toolbar layout begins with the
// header row (TAB, the corner's space, TAB, " E1", ...), the menu layout with bank cells
// of row 1, which never read "E1".
enum class Layout { Menu, Toolbar };
Layout layoutOf(const QByteArray &bytes);
// Reads a file of either layout with the reader of its layout, so a file saved by one
// command opens through the other as well instead of showing its rows shifted.
Content read(const QString &path);

// Puts what was read into the grid and the texts: only the header row stays, then the
// file's rows follow (a short file leaves fewer than 16 rows); texts the file holds
// replace the old ones. An unreadable content changes nothing.
void load(const Content &content, BankGrid &grid, Texts &texts);

} // namespace BankFile
