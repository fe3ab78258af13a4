#pragma once

// Where a library lives: a SQLite file, or a PostgreSQL database given as
// postgresql://[user@]host[:port]/dbname. A password never goes into the address (it would
// end up in the settings and in the process list): libpq finds it in ~/.pgpass (or the file
// PGPASSFILE names), and a service in its service file.
//
// The choice made in the desktop program's Connect dialog is remembered in the settings,
// and the command line uses it too; without one, the library is a SQLite file in the
// desktop program's data folder.

#include <QString>

class LibraryLocation {
public:
    enum class Kind { SQLite, PostgreSQL };

    // Reads a path or an address; `error` says what is wrong with it (empty when nothing is).
    // A text that starts like an address ("postgresql:", "postgres//", "sqlite:") is never
    // taken as a file name: it is an address, or it is refused. postgres:// is read as
    // postgresql://. A password in it is refused, and no error repeats it.
    static LibraryLocation parse(const QString &text, QString &error);
    // `text` with the password of an address in it (user:PASSWORD@, ?password=) as "***",
    // for every message that shows an address as typed; other texts as they are.
    static QString masked(const QString &text);
    static LibraryLocation sqlite(const QString &path);

    // ~/.local/share/dosemeter/library.sqlite, or where the system keeps program data.
    static QString defaultPath();
    // The remembered choice, else the default file.
    static LibraryLocation chosen();
    // Remembers `text` for chosen(); an empty text goes back to the default.
    static void remember(const QString &text);
    // The remembered text; empty for the default.
    static QString remembered();

    Kind kind() const { return kind_; }
    QString path() const { return path_; }
    QString user() const { return user_; }
    QString host() const { return host_; }
    int port() const { return port_; } // 0: libpq's default
    QString database() const { return database_; }

    // The text parse() reads back: the path, or the address.
    QString text() const;

private:
    Kind kind_ = Kind::SQLite;
    QString path_;
    QString user_;
    QString host_;
    int port_ = 0;
    QString database_;
};
