#pragma once

// One transaction on a Library's connection, for the Library's own writing methods: begun
// when made, rolled back when it goes out of scope uncommitted, so that a method that
// leaves early, by any path, leaves the library as it was. Every failure says why in the
// library's errorString().

#include "library/Library.h"

class QSqlQuery;

class Library::Transaction {
public:
    // BEGIN (SQLite: BEGIN IMMEDIATE); isOpen() says whether it went through. A read-only
    // library, or a write lock that stays taken beyond the busy timeout, begins nothing.
    explicit Transaction(Library &library);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Begun, and neither committed nor rolled back yet.
    bool isOpen() const { return open_; }
    // `what`, then the engine's words for the failure of `query`; the query is ended and the
    // transaction rolled back. Always false, for `return transaction.fail(...)`.
    bool fail(const QString &what, QSqlQuery &query);
    // Rolls back with `reason` as the error. Always false.
    bool fail(const QString &reason);
    // Keeps the change; the transaction's queries are to be finished first. A commit that
    // fails says why and is rolled back.
    bool commit();

private:
    void rollback();

    Library &library_;
    bool open_ = false;
};
