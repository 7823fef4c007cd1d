#pragma once
// The embedded engine: an SQLite file "<folder>/<catalog>.sqlite" that honours the server contract
// through the translation layer and the registered extensions.

#include "Backend.h"
#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QHash>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

class SqliteBackend final : public Backend {
public:
    explicit SqliteBackend(QString neptunPath = {});
    ~SqliteBackend() override;

    void open(const ConnectionSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_db != nullptr; }
    ResultSet query(const QString &sql, const StatementParams &params) override;
    qint64 execute(const QString &sql, const StatementParams &params) override;
    void beginUnit() override;
    void commitUnit() override;
    void rollbackUnit() override;

    // The database file a connection string's settings name (relative folders are taken from the
    // executable's folder).
    static QString databasePath(const ConnectionSettings &settings);

    sqlite3 *handle() const { return m_db; }
    const sql::Catalog &catalog() const { return m_catalog; }
    // SQLite's integrity check of the whole file (the program's collation is registered, so its
    // indexes are checked too): "ok", or the problems found.
    QStringList integrityCheck();
    // A consistent copy of the database into file (which must not exist), through SQLite's online
    // backup while other connections read and write. Throws DbError.
    void backupTo(const QString &file);
    // Statements sent to SQLite since open (for benchmarks).
    qint64 statementCount() const { return m_statements; }

private:
    struct Outcome {
        ResultSet rows;
        bool hasRows = false;
        qint64 changes = 0;
    };
    Outcome run(const QString &sql, const StatementParams &params, bool wantRows);
    void runOne(const sql::TranslatedStatement &st, const StatementParams &params, Outcome &out, bool wantRows);
    // keep: the statement stays in the cache (reset after use), else it is finalised after use.
    // reusable: a text with bound literals, kept whatever its length.
    sqlite3_stmt *prepare(const QString &sqliteText, bool &keep, bool reusable);
    void finalizeAll();
    void reloadCatalog();
    [[noreturn]] void fail(const QString &context, int rc);

    QString m_neptunPath;
    sqlite3 *m_db = nullptr;
    sql::Catalog m_catalog;
    std::unique_ptr<sql::Translator> m_translator;
    sql::SqliteRuntime m_runtime;
    QHash<QString, sqlite3_stmt *> m_prepared;
    bool m_neptunAttached = false;
    qint64 m_statements = 0;
};
