#include "library/QtSqlWarnings.h"

#include <QtGlobal>

namespace {

QtMessageHandler previous = nullptr;

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && QtSqlWarnings::isConnectionNoise(message))
        return;
    if (previous)
        previous(type, context, message);
}

} // namespace

bool QtSqlWarnings::isConnectionNoise(const QString &message)
{
    // The beginnings Qt 6's SQL module and its SQLite and PostgreSQL drivers give them.
    static const char *const kNoise[] = {
        "QSqlQuery::exec: database not open",
        "QSqlQuery::prepare: database not open",
        "QSqlDatabasePrivate::removeDatabase: connection",
        "Unable to free statement",
        "QPSQLDriver::beginTransaction: Database not open",
        "QPSQLDriver::commitTransaction: Database not open",
        "QPSQLDriver::rollbackTransaction: Database not open",
        "QPSQLDriver::getResult: Query results lost",
    };
    for (const char *noise : kNoise) {
        if (message.startsWith(QLatin1String(noise)))
            return true;
    }
    return false;
}

void QtSqlWarnings::quieten()
{
    previous = qInstallMessageHandler(handle);
}
