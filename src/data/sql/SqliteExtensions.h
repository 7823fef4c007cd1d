#pragma once
// The functions, collation and operators that translated statements call on SQLite.

#include <QDateTime>
#include <QVariant>

struct sqlite3;

namespace sql {

// Per-connection state read by the registered functions.
struct SqliteRuntime {
    QDateTime now;           // getdate(): set once before every statement execution
    QVariant scopeIdentity;  // scope_identity(): set by the backend after every INSERT
};

// Registers on db: collation "KOVRA_CI" (Unicode case folding, accent-sensitive, trailing
// blanks ignored), like() with the same folding, and the kovra_* functions the emitter uses.
// runtime must outlive the connection.
void RegisterSqliteExtensions(sqlite3 *db, SqliteRuntime *runtime);

} // namespace sql
