#include "Database.h"

#include "Text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

#include <sql.h>
#include <sqlext.h>

namespace frissites {

QString ConnectionSettings::connectionString() const
{
    return QStringLiteral("Provider=") + provider + QStringLiteral(";Password=") + password
           + QStringLiteral(";Persist Security Info=True;User ID=") + user + QStringLiteral(";Initial Catalog=")
           + catalog + QStringLiteral(";Data Source=") + dataSource;
}

DbBackend BackendOf(const QString &provider)
{
    const QString p = provider.trimmed().toUpper();
    if (p == u"SQLITE")
        return DbBackend::Sqlite;
    if (p.startsWith(u"SQLOLEDB") || p.startsWith(u"SQLNCLI") || p.startsWith(u"MSOLEDBSQL"))
        return DbBackend::SqlServer;
    if (p.startsWith(u"POSTGRES"))
        return DbBackend::PostgreSql;
    return DbBackend::Unsupported;
}

QString SqliteFilePath(const ConnectionSettings &settings, const QString &workDir)
{
    QString folder = ToLocalSeparators(settings.dataSource.trimmed());
    if (folder.startsWith(u"sqlite:", Qt::CaseInsensitive))
        folder = folder.mid(7);
    const QDir base(workDir);
    const QString dir = folder.isEmpty() ? base.absolutePath() : base.absoluteFilePath(folder);
    return QDir::cleanPath(QDir(dir).filePath(settings.catalog.trimmed() + QStringLiteral(".sqlite")));
}

namespace {

QString odbcValue(const QString &v)
{
    if (!v.contains(u';') && !v.contains(u'{') && !v.contains(u'}') && v.trimmed() == v)
        return v;
    QString escaped = v;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

} // namespace

QString OdbcConnectionString(const ConnectionSettings &settings)
{
    QString server = settings.dataSource.trimmed();
    QString port;
    const qsizetype comma = server.lastIndexOf(u',');
    if (comma > 0) {
        port = server.mid(comma + 1).trimmed();
        server = server.left(comma).trimmed();
    }
    if (server.startsWith(u"tcp:", Qt::CaseInsensitive))
        server = server.mid(4);
    if (server == u"." || server.compare(u"(local)", Qt::CaseInsensitive) == 0)
        server = QStringLiteral("localhost");
    QString s = QStringLiteral("DRIVER={FreeTDS};Server=") + odbcValue(server);
    if (!port.isEmpty())
        s += QStringLiteral(";Port=") + odbcValue(port);
    s += QStringLiteral(";Database=") + odbcValue(settings.catalog.trimmed()) + QStringLiteral(";UID=")
         + odbcValue(settings.user) + QStringLiteral(";PWD=") + odbcValue(settings.password)
         + QStringLiteral(";ClientCharset=UTF-8");
    return s;
}

QString PostgreSqlConnectionString(const ConnectionSettings &settings)
{
    QString host = settings.dataSource.trimmed();
    if (host.startsWith(u"postgresql:", Qt::CaseInsensitive))
        host = host.mid(11).trimmed();
    QString port = QStringLiteral("5432");
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon > 0) {
        bool digits = colon + 1 < host.size();
        for (QChar c : QStringView(host).mid(colon + 1))
            digits = digits && c.isDigit();
        if (digits) {
            port = host.mid(colon + 1);
            host = host.left(colon).trimmed();
        }
    }
    return QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=") + odbcValue(host) + QStringLiteral(";Port=") + port
           + QStringLiteral(";Database=") + odbcValue(settings.catalog.trimmed()) + QStringLiteral(";UID=")
           + odbcValue(settings.user) + QStringLiteral(";PWD=") + odbcValue(settings.password);
}

// ---------------------------------------------------------------------------------------------- collation

namespace {

QStringView withoutTrailingBlanks(QStringView s)
{
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s;
}

int collateUtf8(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    const QString sa = QString::fromUtf8(static_cast<const char *>(a), lengthA);
    const QString sb = QString::fromUtf8(static_cast<const char *>(b), lengthB);
    return CompareCaseInsensitive(sa, sb);
}

} // namespace

int CompareCaseInsensitive(QStringView a, QStringView b)
{
    const QString fa = withoutTrailingBlanks(a).toString().toCaseFolded();
    const QString fb = withoutTrailingBlanks(b).toString().toCaseFolded();
    const int c = QStringView(fa).compare(QStringView(fb), Qt::CaseSensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int RegisterCaseInsensitiveCollation(sqlite3 *db)
{
    return sqlite3_create_collation_v2(db, "KOVRA_CI", SQLITE_UTF8, nullptr, collateUtf8, nullptr);
}

// ------------------------------------------------------------------------------------------------ backends

namespace {

// A version number read as text: an integer, or a decimal number without fraction ("5.0").
bool ParseInteger(const QString &text, qint64 *value, QString *error)
{
    const QString t = text.trimmed();
    bool ok = false;
    *value = t.toLongLong(&ok);
    if (ok)
        return true;
    const double d = t.toDouble(&ok);
    if (ok && d == double(qint64(d))) {
        *value = qint64(d);
        return true;
    }
    *value = 0;
    *error = QStringLiteral("nem egész szám: ") + t;
    return false;
}

class SqliteConnection final : public DbConnection {
public:
    explicit SqliteConnection(QString path) : m_path(std::move(path)) {}
    ~SqliteConnection() override { close(); }

    bool open() override
    {
        close();
        const QByteArray path = QFile::encodeName(m_path);
        const int rc = sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            m_error = m_path + QStringLiteral(": ")
                      + QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
            close();
            return false;
        }
        sqlite3_busy_timeout(m_db, 10000);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        if (RegisterCaseInsensitiveCollation(m_db) != SQLITE_OK || !execute(QStringLiteral("PRAGMA foreign_keys = ON"))) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            close();
            return false;
        }
        return true;
    }

    bool execute(const QString &batch) override
    {
        if (!m_db) {
            m_error = QStringLiteral("nincs kapcsolat");
            return false;
        }
        char *message = nullptr;
        const QByteArray sql = batch.toUtf8();
        m_timedOut = false;
        m_clock.start();
        if (m_batchSeconds > 0)
            sqlite3_progress_handler(m_db, 1000, &SqliteConnection::onProgress, this);
        const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message);
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        if (rc == SQLITE_OK)
            return true;
        m_error = m_timedOut ? QStringLiteral("a köteg %1 mp alatt nem futott le, megszakítva").arg(m_batchSeconds)
                             : QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        return false;
    }

    bool readInteger(const QString &query, qint64 *value) override
    {
        *value = 0;
        if (!m_db) {
            m_error = QStringLiteral("nincs kapcsolat");
            return false;
        }
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = query.toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(stmt);
            return false;
        }
        bool ok = true;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            switch (sqlite3_column_type(stmt, 0)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                *value = sqlite3_column_int64(stmt, 0);
                break;
            default:
                ok = ParseInteger(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))),
                                  value, &m_error);
            }
        } else if (rc != SQLITE_DONE) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            ok = false;
        }
        sqlite3_finalize(stmt);
        return ok;
    }

    void close() override
    {
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = nullptr;
    }

private:
    static int onProgress(void *self)
    {
        auto *c = static_cast<SqliteConnection *>(self);
        if (c->m_clock.elapsed() < qint64(c->m_batchSeconds) * 1000)
            return 0;
        c->m_timedOut = true;
        return 1; // interrupts the batch
    }

    QString m_path;
    sqlite3 *m_db = nullptr;
    QElapsedTimer m_clock;
    bool m_timedOut = false;
};

class OdbcConnection final : public DbConnection {
public:
    OdbcConnection(QString connectionString, bool postgres)
        : m_connectionString(std::move(connectionString)), m_postgres(postgres),
          m_name(QStringLiteral("frissites-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
    }
    ~OdbcConnection() override { close(); }

    bool open() override
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
            m_error = QStringLiteral("a Qt ODBC meghajtó nincs telepítve");
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        db.setDatabaseName(m_connectionString);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=60"));
        if (!db.open()) {
            m_error = db.lastError().text();
            return false;
        }
        // the batch limit: PostgreSQL's statement_timeout of the session (every statement of a batch
        // counts on its own, so a batch of several statements is bounded per statement), else the
        // query timeout of every statement of the connection
        if (m_batchSeconds > 0 && m_postgres) {
            if (!execute(QStringLiteral("SET statement_timeout = '%1s'").arg(m_batchSeconds))) {
                close();
                return false;
            }
        } else if (m_batchSeconds > 0) {
            const QVariant handle = db.driver()->handle();
            if (handle.metaType() == QMetaType::fromType<SQLHANDLE>()) {
                SQLHANDLE dbc = *static_cast<SQLHANDLE const *>(handle.data());
                if (dbc)
                    SQLSetConnectAttr(dbc, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(m_batchSeconds)),
                                      SQL_IS_UINTEGER);
            }
        }
        return true;
    }

    bool execute(const QString &batch) override
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        if (q.exec(batch))
            return true;
        m_error = q.lastError().text();
        if (m_postgres && m_error.contains(QLatin1String("canceling statement due to statement timeout")))
            m_error = QStringLiteral("a köteg %1 mp alatt nem futott le, megszakítva (%2)").arg(m_batchSeconds).arg(m_error);
        return false;
    }

    bool readInteger(const QString &query, qint64 *value) override
    {
        *value = 0;
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        if (!q.exec(query)) {
            m_error = q.lastError().text();
            return false;
        }
        if (!q.next() || q.value(0).isNull())
            return true;
        return ParseInteger(q.value(0).toString(), value, &m_error);
    }

    void close() override
    {
        if (!QSqlDatabase::contains(m_name))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

private:
    QString m_connectionString;
    bool m_postgres = false;
    QString m_name;
};

} // namespace

std::unique_ptr<DbConnection> CreateConnection(const ConnectionSettings &settings, const QString &workDir,
                                               QString *error)
{
    switch (BackendOf(settings.provider)) {
    case DbBackend::Sqlite:
        return std::make_unique<SqliteConnection>(SqliteFilePath(settings, workDir));
    case DbBackend::SqlServer:
        return std::make_unique<OdbcConnection>(OdbcConnectionString(settings), false);
    case DbBackend::PostgreSql:
        return std::make_unique<OdbcConnection>(PostgreSqlConnectionString(settings), true);
    case DbBackend::Unsupported:
        break;
    }
    if (error)
        *error = QStringLiteral("nem támogatott adatbázis-típus: ") + settings.provider;
    return nullptr;
}

} // namespace frissites
