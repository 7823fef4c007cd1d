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
