#include "ServerProfile.h"

#include <QRegularExpression>

namespace {

QString odbcValue(const QString &v)
{
    // ODBC attribute values holding ; { } are braced, with } doubled.
    if (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v.startsWith(u' ') || v.endsWith(u' '))
        return u'{' + QString(v).replace(QStringLiteral("}"), QStringLiteral("}}")) + u'}';
    return v;
}

const QString LockBusy = QStringLiteral("Az adatbázist egy másik munkaállomás foglalja; próbálja újra!");

} // namespace

const ServerProfile &ServerProfile::sqlServer()
{
    static const ServerProfile p = [] {
        ServerProfile s;
        s.server = Server::SqlServer;
        s.name = QStringLiteral("SQL Server");
        s.translates = false;
        s.unitLock = QStringLiteral("SET NOCOUNT ON; DECLARE @kovra_lock int; EXEC @kovra_lock = sp_getapplock @Resource = N'KOVRA write unit', "
                                    "@LockMode = N'Exclusive', @LockOwner = N'Transaction', @LockTimeout = %1; "
                                    "IF @kovra_lock < 0 RAISERROR(N'%2', 16, 1)")
                         .arg(UnitLockTimeoutSeconds * 1000)
                         .arg(LockBusy);
        s.identityInBatch = true;
        return s;
    }();
    return p;
}

const ServerProfile &ServerProfile::postgreSql()
{
    static const ServerProfile p = [] {
        ServerProfile s;
        s.server = Server::PostgreSql;
        s.name = QStringLiteral("PostgreSQL");
        s.translates = true;
        // lock_timeout also bounds the wait for an advisory lock; set locally, it ends with the
        // transaction. One statement (the select list is evaluated in order). 1263490642 = "KOVR".
        s.unitLock = QStringLiteral("SELECT set_config('lock_timeout', '%1s', true), pg_advisory_xact_lock(1263490642)")
                         .arg(UnitLockTimeoutSeconds);
        s.identityInBatch = false;
        s.sessionSetup = {QStringLiteral("SET statement_timeout = '%1s'").arg(QueryTimeoutSeconds),
                          QStringLiteral("SET datestyle = 'ISO, YMD'")};
        return s;
    }();
    return p;
}

const ServerProfile &ServerProfile::forSettings(const ConnectionSettings &settings)
{
    return settings.isPostgreSql() ? postgreSql() : sqlServer();
}

QString ServerProfile::odbcConnectionString(const ConnectionSettings &s) const
{
    if (server == Server::PostgreSql) {
        const QString port = s.postgreSqlPort();
        // A host starting with '/' is the folder of the server's Unix socket.
        return QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=") + odbcValue(s.postgreSqlHost())
               + QStringLiteral(";Port=") + (port.isEmpty() ? QStringLiteral("5432") : port) + QStringLiteral(";Database=")
               + odbcValue(s.catalog) + QStringLiteral(";UID=") + odbcValue(s.userId) + QStringLiteral(";PWD=")
               + odbcValue(s.password);
    }
    QString host = s.dataSource.trimmed();
    if (host.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive))
        host = host.mid(4);
    QString port;
    const qsizetype comma = host.indexOf(u',');
    if (comma >= 0) {
        port = host.mid(comma + 1).trimmed();
        host = host.left(comma).trimmed();
    }
    QString text = QStringLiteral("DRIVER={FreeTDS};Server=") + odbcValue(host);
    if (!port.isEmpty())
        text += QStringLiteral(";Port=") + odbcValue(port);
    text += QStringLiteral(";Database=") + odbcValue(s.catalog) + QStringLiteral(";UID=") + odbcValue(s.userId)
            + QStringLiteral(";PWD=") + odbcValue(s.password) + QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
    return text;
}

QString ServerProfile::serverMessage(const QString &driverText, const QString &verb) const
{
    if (server != Server::PostgreSql)
        return driverText;
    // psqlODBC: "ERROR:  <message>;\nError while executing the query", maybe with DETAIL lines.
    QString m = driverText;
    static const QRegularExpression tail(QStringLiteral(";?\\s*Error while (executing|preparing) the query\\s*$"));
    m.remove(tail);
    static const QRegularExpression head(QStringLiteral("^(ERROR|FATAL):\\s+"));
    m.remove(head);
    m = m.trimmed();
    static const QRegularExpression notNull(QStringLiteral("null value in column \"(\\w+)\" of relation \"(\\w+)\" violates not-null constraint"));
    if (const auto n = notNull.match(m); n.hasMatch())
        return QStringLiteral("Cannot insert the value NULL into column '%1', table '%2'; column does not allow nulls. %3 fails.")
            .arg(n.captured(1), n.captured(2), verb == u"UPDATE" ? QStringLiteral("UPDATE") : QStringLiteral("INSERT"));
    static const QRegularExpression foreignKey(QStringLiteral("violates foreign key constraint \"(\\w+)\""));
    if (const auto f = foreignKey.match(m); f.hasMatch()) {
        const QString v = verb.isEmpty() ? QStringLiteral("INSERT") : verb;
        return QStringLiteral("The %1 statement conflicted with the %2 constraint \"%3\". The statement has been terminated. (%4)")
            .arg(v, v == u"DELETE" ? QStringLiteral("REFERENCE") : QStringLiteral("FOREIGN KEY"), f.captured(1), m);
    }
    if (m.contains(QLatin1String("canceling statement due to lock timeout")))
        return LockBusy;
    if (m.contains(QLatin1String("canceling statement due to statement timeout")))
        return QStringLiteral("Az adatbázis-kiszolgáló nem válaszolt időben (%1 s); a művelet nem íródott be.").arg(QueryTimeoutSeconds);
    return m;
}
