#pragma once
// The demo data on a PostgreSQL server: the rows of the embedded demo databases (the KOVRA file and the
// Neptun stand-in) copied table by table, key values included, into a database that holds the base
// schema, the stand-in as the schema "neptun". Failures throw std::runtime_error.

#include <QString>
#include <QStringList>

class QSqlDatabase;
struct sqlite3;

namespace demo {

// Tables of the schemas public, neptun and dbo in the database (empty = a fresh database).
QStringList ServerTables(QSqlDatabase &db);
// Drops the schemas public, neptun and dbo with everything in them and makes public anew.
void ClearServerDatabase(QSqlDatabase &db);
// Runs the PostgreSQL base script, then copies every table of kovra (main schema) and of neptun
// (into schema neptun, created from the stand-in's table definitions), in one transaction, and sets
// the identity counters after the copied keys.
void WriteServerDatabase(QSqlDatabase &db, sqlite3 *kovra, sqlite3 *neptun);

} // namespace demo
