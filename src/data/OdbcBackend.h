#pragma once
// SQL Server through Qt's ODBC driver and FreeTDS. Statements go to the server unchanged.

#include "Backend.h"

class OdbcBackend final : public Backend {
public:
    OdbcBackend();
    ~OdbcBackend() override;

    void open(const ConnectionSettings &settings) override;
    void close() override;
    bool isOpen() const override;
    ResultSet query(const QString &sql, const StatementParams &params) override;
    qint64 execute(const QString &sql, const StatementParams &params) override;
    // A transaction holding an exclusive application lock: the units of all workstations run one
    // after the other, as on the embedded engine, without deadlocks between their checks.
    void beginUnit() override;
    void commitUnit() override;
    void rollbackUnit() override;
    static QString unitLockStatement();

    // "Data Source" → FreeTDS: "host", "host,port", "host\instance" (and "tcp:" prefixes).
    static QString odbcConnectionString(const ConnectionSettings &settings);
    // An INSERT gets the identity query in its own batch: a separate "select scope_identity()"
    // would run in a new scope on the server and answer NULL.
    static bool isInsert(const QString &sql);
    static bool isScopeIdentityQuery(const QString &sql);
    static QString withIdentity(const QString &insertSql);

private:
    QString m_name;
    QVariant m_lastIdentity;
};
