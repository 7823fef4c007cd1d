#pragma once
// What differs between the database servers the ODBC backend talks to: the driver and its
// connection attributes, the statement text path, the write unit's lock, how the last identity is
// read, the session's time limits and how server messages read. Everything else (binding, fetch,
// types, errors, transactions) is the one ODBC code path.

#include "Backend.h"

#include <QStringList>

struct ServerProfile {
    enum class Server { SqlServer, PostgreSql };
    Server server = Server::SqlServer;
    QString name;               // for messages: "SQL Server", "PostgreSQL"
    // Statements go through the PostgreSQL translator (else unchanged, as Transact-SQL).
    bool translates = false;
    // Sent right after a unit's transaction began: the exclusive lock that serialises the write units
    // of all workstations (SQL Server sp_getapplock, PostgreSQL pg_advisory_xact_lock), waiting at most
    // UnitLockTimeoutSeconds.
    QString unitLock;
    // The identity of an INSERT: SQL Server asks scope_identity() in the INSERT's own batch; on
    // PostgreSQL the translated INSERT returns it (RETURNING).
    bool identityInBatch = true;
    // Session statements after the connection opened (time limits).
    QStringList sessionSetup;
    int loginTimeoutSeconds = 15;

    static constexpr int UnitLockTimeoutSeconds = 10;
    static constexpr int QueryTimeoutSeconds = 120;

    static const ServerProfile &sqlServer();
    static const ServerProfile &postgreSql();
    static const ServerProfile &forSettings(const ConnectionSettings &settings);

    // The ODBC connection string for settings' "Data Source" etc.
    QString odbcConnectionString(const ConnectionSettings &settings) const;
    // A driver's message in the words the program relies on (SQL Server's). kind: the statement's
    // verb ("INSERT", "UPDATE", "DELETE") or empty.
    QString serverMessage(const QString &driverText, const QString &verb) const;
};
