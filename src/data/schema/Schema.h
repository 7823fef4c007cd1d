#pragma once
// The base schema scripts (db/sqlite/0.sql, db/mssql/0.sql, db/postgresql/0.sql) built into the program, and the creation
// of a new embedded database file from the SQLite one.

#include <QString>

struct sqlite3;

namespace schema {

// Plain SQLite statements separated by ';', runnable with sqlite3_exec once KOVRA_CI is registered.
QString SqliteBaseScript();
// Transact-SQL batches separated by lines holding only GO.
QString MssqlBaseScript();
// PostgreSQL batches separated by lines holding only GO.
QString PostgresBaseScript();

// Creates the embedded database file path (which must not exist yet) from the SQLite base script in
// one transaction and returns its open connection: WAL journal, synchronous NORMAL, foreign keys on,
// double-quoted string literals refused, collation KOVRA_CI registered. The caller closes it with
// sqlite3_close. On failure: nullptr, *error set, and no file left behind.
sqlite3 *CreateSqliteDatabase(const QString &path, QString *error);

// The same, closing the connection; true on success.
bool CreateSqliteDatabaseFile(const QString &path, QString *error);

} // namespace schema
