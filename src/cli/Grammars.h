#pragma once

// The words of every dosemeter-cli command that takes options, in one table: what each
// command parses with, and what the bash completion must offer. A new command is an entry
// here and a function in its own file.

#include "cli/CommandLine.h"

#include <QStringList>

namespace cli {

// The grammar of `command` ("record", "library list", ...); one that takes no option for
// a name the table does not hold.
const Grammar &grammarOf(const QString &command);

// The commands of the table, in the order of the help text ("library list", ...).
QStringList grammarCommands();

// The "Commands:" part of --help: each command's lines, in the table's order.
QString commandsHelp();

} // namespace cli
