#pragma once

// The desktop program's library choice for this run. Owned by the application.

#include <QString>

struct LibraryState {
    // --library: a file or a postgresql:// address; empty for the choice remembered by
    // Library > "Connect..." (or the default file).
    QString location;
};
