#include "library/LibraryTransaction.h"

#include <QCoreApplication>
#include <QSqlQuery>

Library::Transaction::Transaction(Library &library) : library_(library)
{
    if (library_.readOnly_) {
        library_.fail(QCoreApplication::translate(
                          "Library", "The library %1 cannot be written: it is read-only (the file, "
                                     "its folder or its file system).")
                          .arg(library_.location_.text()));
        return;
    }
    QSqlQuery q(library_.database());
    // SQLite takes the write lock now rather than at the first write: a transaction that
    // read first and then found the lock taken could not wait for it.
    const bool sqlite = library_.location_.kind() == LibraryLocation::Kind::SQLite;
    if (!q.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))) {
        library_.fail(QCoreApplication::translate("Library", "The library %1 cannot be written")
                          .arg(library_.location_.text()),
                      q);
        return;
    }
    open_ = true;
}

Library::Transaction::~Transaction()
{
    rollback();
}

bool Library::Transaction::fail(const QString &what, QSqlQuery &query)
{
    library_.fail(what, query);
    query.finish();
    rollback();
    return false;
}

bool Library::Transaction::fail(const QString &reason)
{
    library_.fail(reason);
    rollback();
    return false;
}

void Library::Transaction::rollback()
{
    if (!open_)
        return;
    open_ = false;
    QSqlQuery q(library_.database());
    q.exec(QStringLiteral("ROLLBACK"));
}

bool Library::Transaction::commit()
{
    QSqlQuery q(library_.database());
    if (q.exec(QStringLiteral("COMMIT"))) {
        open_ = false;
        return true;
    }
    return fail(QCoreApplication::translate("Library", "The library %1 could not keep the change")
                    .arg(library_.location_.text()),
                q);
}
