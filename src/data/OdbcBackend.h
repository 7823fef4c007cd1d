#pragma once
// A database server through Qt's ODBC driver: SQL Server with FreeTDS, PostgreSQL with psqlODBC.
// What differs between them is the ServerProfile; statements reach SQL Server unchanged and
// PostgreSQL through the translator.

#include "Backend.h"
#include "ServerProfile.h"
#include "sql/Catalog.h"
#include "sql/Translator.h"

#include <memory>

class QSqlQuery;

class OdbcBackend final : public Backend {
public:
    explicit OdbcBackend(const ServerProfile &profile = ServerProfile::sqlServer());
    ~OdbcBackend() override;

    void open(const ConnectionSettings &settings) override;
    void close() override;
    bool isOpen() const override;
    ResultSet query(const QString &sql, const StatementParams &params) override;
    qint64 execute(const QString &sql, const StatementParams &params) override;
    // A transaction holding an exclusive lock: the units of all workstations run one after the
    // other, as on the embedded engine, without deadlocks between their checks.
    void beginUnit() override;
    void commitUnit() override;
    void rollbackUnit() override;

    const ServerProfile &profile() const { return m_profile; }
    static QString unitLockStatement() { return ServerProfile::sqlServer().unitLock; }
    // Round trips to the server since open (statements sent, unit begin/commit counted as one each).
    qint64 roundTrips() const { return m_roundTrips; }

    // The SQL Server profile's connection string (FreeTDS: "host", "host,port", "host\instance").
    static QString odbcConnectionString(const ConnectionSettings &settings)
    {
        return ServerProfile::forSettings(settings).odbcConnectionString(settings);
    }
    // SQL Server: an INSERT gets the identity query in its own batch: a separate
    // "select scope_identity()" would run in a new scope on the server and answer NULL.
    static bool isInsert(const QString &sql);
    static bool isScopeIdentityQuery(const QString &sql);
    static QString withIdentity(const QString &insertSql);

private:
    struct Outcome {
        ResultSet rows;
        bool hasRows = false;
        qint64 changes = 0;
    };
    Outcome run(const QString &sql, const StatementParams &params, bool wantRows);
    void send(QSqlQuery &q, const QString &sql, const StatementParams &params, const QString &verb = {});
    void reloadCatalog();
    void sendClock();

    const ServerProfile &m_profile;
    QString m_name;
    QVariant m_lastIdentity;
    sql::Catalog m_catalog;
    std::unique_ptr<sql::Translator> m_translator;
    QString m_clockSent;
    qint64 m_roundTrips = 0;
};
