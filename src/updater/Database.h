#pragma once
// The updater's database connection. The provider of the configuration chooses the backend:
// "SQLite" opens "<Data Source>/<catalog>.sqlite" with the SQLite C API; the SQL Server providers
// (SQLOLEDB, SQLNCLI, MSOLEDBSQL, any version) go through Qt's ODBC driver with FreeTDS, "PostgreSQL"
// through it with psqlODBC (Data Source "HOST[:PORT]", HOST may be a Unix socket folder).

#include <QString>

#include <memory>

struct sqlite3;

namespace frissites {

struct ConnectionSettings {
    QString provider;
    QString password;
    QString user;
    QString catalog;
    QString dataSource;

    // "Provider=…;Password=…;Persist Security Info=True;User ID=…;Initial Catalog=…;Data Source=…"
    QString connectionString() const;
};

enum class DbBackend { Sqlite, SqlServer, PostgreSql, Unsupported };
DbBackend BackendOf(const QString &provider);

// The embedded engine's file; a relative folder is below workDir. An optional "sqlite:" before the
// folder is dropped, so the main program's server value can be used as it is.
QString SqliteFilePath(const ConnectionSettings &settings, const QString &workDir);

// ODBC attributes for FreeTDS: "host", "host,port" and "host\instance" data sources; values holding
// ';' or braces are braced.
QString OdbcConnectionString(const ConnectionSettings &settings);
// psqlODBC: "HOST[:PORT]", also with the main program's "postgresql:" before it.
QString PostgreSqlConnectionString(const ConnectionSettings &settings);

class DbConnection {
public:
    virtual ~DbConnection() = default;
    virtual bool open() = 0;
    // Runs one batch as it is, in autocommit mode; a batch running longer than the time limit is
    // cancelled and fails.
    virtual bool execute(const QString &batch) = 0;
    // Seconds a batch may run (0 = no limit); set before open().
    void setBatchTimeLimit(int seconds) { m_batchSeconds = seconds; }
    int batchTimeLimit() const { return m_batchSeconds; }
    // First column of the first row; 0 when the query gives no row or NULL. False when the query
    // fails or the value is no integer.
    virtual bool readInteger(const QString &query, qint64 *value) = 0;
    virtual void close() = 0;
    const QString &lastError() const { return m_error; }

protected:
    QString m_error;
    int m_batchSeconds = 0;
};

// Nullptr and *error set for an unsupported provider.
std::unique_ptr<DbConnection> CreateConnection(const ConnectionSettings &settings, const QString &workDir,
                                               QString *error);

// The case-insensitive text order of the embedded schema: Unicode case folding, accents significant,
// trailing blanks ignored. Registered as "KOVRA_CI" on every embedded connection.
int CompareCaseInsensitive(QStringView a, QStringView b);
int RegisterCaseInsensitiveCollation(sqlite3 *db);

} // namespace frissites
