#pragma once
// The functions, collation and operators that translated statements call on SQLite.

#include <QDateTime>
#include <QVariant>
#include <functional>

struct sqlite3;

namespace sql {

// Per-connection state read by the registered functions.
struct SqliteRuntime {
    // getdate(): the time of the running statement. When it is not valid, the first getdate()
    // of the statement sets it from clock (or the system's clock); whoever runs statements clears
    // it before each one.
    QDateTime now;
    const std::function<QDateTime()> *clock = nullptr;
    QVariant scopeIdentity;  // scope_identity(): set by the backend after every INSERT
};

// Process-wide SQLite settings, applied once before the first connection is opened (later calls
// do nothing; when SQLite is already in use they do not apply): no bulk page-cache allocation per
// pager. Every IN list of a statement is an ephemeral index with its own pager, and the default
// bulk allocation (some 90 KB each) freed after every statement made the C library hand memory
// back to the system and fault it in again for the next one.
void PrepareSqliteLibrary();

// Registers on db: collation "KOVRA_CI" (Unicode case folding, accent-sensitive, trailing
// blanks ignored), like() with the same folding, and the kovra_* functions the emitter uses.
// runtime must outlive the connection.
void RegisterSqliteExtensions(sqlite3 *db, SqliteRuntime *runtime);

} // namespace sql
