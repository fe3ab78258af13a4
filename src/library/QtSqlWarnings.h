#pragma once

// Qt SQL prints warnings of its own when a connection is lost or closed under a query
// ("QSqlQuery::exec: database not open", "Unable to free statement: ..."). The library
// already says what happened, in words a user can act on; these would only follow it
// into the terminal. Warnings that point at a fault of ours (an unknown column name) are
// kept.

#include <QString>

namespace QtSqlWarnings {

// Whether `message` is one of Qt SQL's warnings about a lost or closed connection.
bool isConnectionNoise(const QString &message);

// Drops those warnings from the program's output, and passes every other message on to
// the handler that was installed before. Called once, in main().
void quieten();

} // namespace QtSqlWarnings
