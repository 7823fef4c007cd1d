#include "Schema.h"

#include "sql/Collation.h"
#include "sql/SqliteExtensions.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace schema {

namespace {

QString readResource(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void removeDatabaseFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

bool exec(sqlite3 *db, const QByteArray &sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

} // namespace

QString SqliteBaseScript()
{
    return readResource(QStringLiteral(":/db/sqlite/0.sql"));
}

QString MssqlBaseScript()
{
    return readResource(QStringLiteral(":/db/mssql/0.sql"));
}

QString PostgresBaseScript()
{
    return readResource(QStringLiteral(":/db/postgresql/0.sql"));
}

sqlite3 *CreateSqliteDatabase(const QString &path, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (QFileInfo::exists(path)) {
        *error = QStringLiteral("%1 already exists").arg(path);
        return nullptr;
    }
    const QString script = SqliteBaseScript();
    if (script.isEmpty()) {
        *error = QStringLiteral("the built-in SQLite base script is missing");
        return nullptr;
    }

    sql::PrepareSqliteLibrary();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    const auto fail = [&](const QString &message) -> sqlite3 * {
        *error = QStringLiteral("%1: %2").arg(path, message);
        sqlite3_close(db);
        removeDatabaseFiles(path);
        return nullptr;
    };
    if (rc != SQLITE_OK)
        return fail(QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));

    sqlite3_extended_result_codes(db, 1);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    if (sql::RegisterKovraCollation(db) != SQLITE_OK)
        return fail(QString::fromUtf8(sqlite3_errmsg(db)));

    QString message;
    if (!exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;", &message))
        return fail(message);
    if (!exec(db, "BEGIN IMMEDIATE", &message))
        return fail(message);
    if (!exec(db, script.toUtf8(), &message)) {
        QString rollbackMessage;
        exec(db, "ROLLBACK", &rollbackMessage);
        return fail(QStringLiteral("base script: %1").arg(message));
    }
    if (!exec(db, "COMMIT", &message))
        return fail(message);
    return db;
}

bool CreateSqliteDatabaseFile(const QString &path, QString *error)
{
    sqlite3 *db = CreateSqliteDatabase(path, error);
    if (!db)
        return false;
    sqlite3_close(db);
    return true;
}

} // namespace schema
