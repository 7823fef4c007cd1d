#pragma once
// What the translator knows of the database: tables, their columns' types, identity keys.

#include "FieldType.h"

#include <QHash>
#include <QString>
#include <QVector>

struct sqlite3;

namespace sql {

struct ColumnInfo {
    QString name;
    FieldType type = FieldType::Unknown;
    bool identity = false;
};

struct TableInfo {
    QString name;
    QVector<ColumnInfo> columns;
    bool hasIdentity() const;
    const ColumnInfo *column(QStringView name) const; // case-insensitive
};

class Catalog {
public:
    const TableInfo *table(QStringView name) const; // case-insensitive, "dbo." prefix ignored
    void addTable(TableInfo table); // replaces a table of the same name
    void removeTable(QStringView name);
    void clear() { m_tables.clear(); }
    bool isEmpty() const { return m_tables.isEmpty(); }

    // Reads every table of the main schema of an SQLite database. Declared types map as:
    // "DATETIME…" DateTime, "DATE…" Date, "TIME…" Time, "BIT" Flag, "…INT…" Integer,
    // "…CHAR…"/"…TEXT…" Text, "REAL"/"FLOAT"/"DOUBLE"/"DECIMAL"/"NUMERIC" Float;
    // an INTEGER PRIMARY KEY is the identity.
    static Catalog fromSqlite(sqlite3 *db);

    // PostgreSQL: PostgreSqlColumnsQuery lists table_name, column_name, data_type and an identity
    // mark ("1"/"0") for every column of the current schema; fromPostgreSqlColumns builds the catalog
    // from its rows. integer/bigint Integer, smallint Flag, character types Text, date Date,
    // timestamp DateTime, time Time, numeric/real/double Float.
    static const char *const PostgreSqlColumnsQuery;
    static Catalog fromPostgreSqlColumns(const QVector<QStringList> &rows);

private:
    QHash<QString, TableInfo> m_tables; // key: lower-case name
};

} // namespace sql
