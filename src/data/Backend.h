#pragma once
// A database engine behind the connection: the embedded SQLite file or a SQL Server through ODBC.
// Statements arrive as the program's Transact-SQL text.

#include "FieldType.h"
#include "StatementTrace.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>

struct ResultColumn {
    QString name;
    FieldType type = FieldType::Unknown;
};

struct ResultSet {
    QVector<ResultColumn> columns;
    QVector<QVector<QVariant>> rows;
};

// The parts of the connection string: "Provider=…;Password=…;Persist Security Info=True;User ID=…;
// Initial Catalog=…;Data Source=…". Parts are not quoted; a value runs to the next ';'.
struct ConnectionSettings {
    QString provider, password, userId, catalog, dataSource;
    static ConnectionSettings parse(const QString &connectionString);
    // "sqlite:<folder>" selects the embedded engine.
    bool isEmbedded() const { return dataSource.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive); }
    QString embeddedFolder() const { return dataSource.mid(7); }
    // "postgresql:HOST[:PORT]" selects a PostgreSQL server; HOST may be a Unix socket folder.
    bool isPostgreSql() const { return dataSource.startsWith(QLatin1String("postgresql:"), Qt::CaseInsensitive); }
    QString postgreSqlHost() const;
    QString postgreSqlPort() const; // empty = the default 5432
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual void open(const ConnectionSettings &settings) = 0; // throws DbError
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // A SELECT (or anything returning rows); all rows are fetched.
    virtual ResultSet query(const QString &sql, const StatementParams &params) = 0;
    // A command or batch; returns the rows affected (-1 when unknown).
    virtual qint64 execute(const QString &sql, const StatementParams &params) = 0;
    // A unit of work (see WriteUnit in Connection.h): taken before its first statement, so that the
    // unit's checks and writes run as if no other workstation wrote in between.
    virtual void beginUnit() = 0;
    virtual void commitUnit() = 0;
    virtual void rollbackUnit() = 0; // never throws
    // The server's notion of now (getdate()). fixedClock: set by the caller (tests); a server
    // backend then hands the clock's value to the server.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    bool fixedClock = false;
};
