#pragma once
// The throwaway PostgreSQL server of the tests (tools/pg-test-server.sh, ctest fixture pg_server):
// its connection from the environment, and databases of a test's own.

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace pgtest {

struct Server {
    QString host, port, user, password, admin, adminPassword;
    bool available() const { return !host.isEmpty() && !port.isEmpty(); }
    // "postgresql:<socket folder>:<port>" as A_ELERES holds it.
    QString dataSource() const { return QStringLiteral("postgresql:") + host + u':' + port; }
    QString tcpDataSource() const { return QStringLiteral("postgresql:127.0.0.1:") + port; }
    QString connectionString(const QString &database) const
    {
        return QStringLiteral("Provider=SQLOLEDB.1;Password=") + password + QStringLiteral(";Persist Security Info=True;User ID=")
               + user + QStringLiteral(";Initial Catalog=") + database + QStringLiteral(";Data Source=") + dataSource();
    }
    QString odbc(const QString &database) const
    {
        return QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=%1;Port=%2;Database=%3;UID=%4;PWD=%5")
            .arg(host, port, database, user, password);
    }
};

inline Server FromEnvironment()
{
    Server s;
    s.host = qEnvironmentVariable("KOVRA_PG_HOST");
    s.port = qEnvironmentVariable("KOVRA_PG_PORT");
    s.user = qEnvironmentVariable("KOVRA_PG_USER");
    s.password = qEnvironmentVariable("KOVRA_PG_PASSWORD");
    s.admin = qEnvironmentVariable("KOVRA_PG_ADMIN");
    s.adminPassword = qEnvironmentVariable("KOVRA_PG_ADMIN_PASSWORD");
    return s;
}

inline const char *SkipReason()
{
    return "KOVRA_PG_HOST is not set: run through ctest (fixture pg_server) or tools/pg-test-server.sh exec DIR";
}

// Runs statements on a connection of their own to database (default: "kovra", the test role's).
inline QString Maintenance(const Server &s, const QStringList &statements, const QString &database = QStringLiteral("kovra"))
{
    const QString name = QStringLiteral("kovra-pgtest-maintenance");
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(s.odbc(database));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            for (const QString &sql : statements) {
                QSqlQuery q(db);
                if (!q.exec(sql)) {
                    error = q.lastError().text() + QStringLiteral(" (") + sql + u')';
                    break;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

// A new empty UTF8 database owned by the test role, named after the test program and a tag;
// a leftover of an earlier run is dropped first. Returns the error text, empty on success.
inline QString CreateDatabase(const Server &s, const QString &database)
{
    return Maintenance(s, {QStringLiteral("DROP DATABASE IF EXISTS ") + database + QStringLiteral(" WITH (FORCE)"),
                           QStringLiteral("CREATE DATABASE ") + database + QStringLiteral(" TEMPLATE template0 ENCODING 'UTF8'")});
}

inline QString DropDatabase(const Server &s, const QString &database)
{
    return Maintenance(s, {QStringLiteral("DROP DATABASE IF EXISTS ") + database + QStringLiteral(" WITH (FORCE)")});
}

// Runs a script of batches separated by lines holding only GO on database (as the test role).
inline QString RunBatches(const Server &s, const QString &database, const QString &script)
{
    const QString name = QStringLiteral("kovra-pgtest-script");
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(s.odbc(database));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QString batch;
            const auto flush = [&] {
                if (error.isEmpty() && !batch.trimmed().isEmpty()) {
                    QSqlQuery q(db);
                    if (!q.exec(batch))
                        error = q.lastError().text() + QStringLiteral("\n") + batch;
                }
                batch.clear();
            };
            for (const QString &line : script.split(u'\n')) {
                if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0)
                    flush();
                else
                    batch += line + u'\n';
            }
            flush();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

// A database name unique to this test program.
inline QString DatabaseName(const QString &tag)
{
    QString base = QCoreApplication::applicationName().toLower() + u'_' + tag;
    for (QChar &c : base)
        if (!c.isLetterOrNumber())
            c = u'_';
    return base;
}

} // namespace pgtest
