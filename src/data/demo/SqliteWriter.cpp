#include "SqliteWriter.h"

namespace demo {

void ThrowSqlite(sqlite3 *db, const QString &what)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db))).toStdString());
}

void Exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        ThrowSqlite(db, QString::fromUtf8(sql).left(60));
}

Statement::Statement(sqlite3 *db, const char *sql) : m_db(db)
{
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
        ThrowSqlite(db, QString::fromUtf8(sql));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::check(int rc)
{
    if (rc != SQLITE_OK)
        ThrowSqlite(m_db, QString::fromUtf8(sqlite3_sql(m_stmt)));
}

void Statement::bind(int i, int v)
{
    check(sqlite3_bind_int(m_stmt, i, v));
}

void Statement::bind(int i, qint64 v)
{
    check(sqlite3_bind_int64(m_stmt, i, v));
}

void Statement::bind(int i, const QString &v)
{
    if (v.isNull()) {
        bindNull(i);
        return;
    }
    const QByteArray utf8 = v.toUtf8();
    check(sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void Statement::bindNull(int i)
{
    check(sqlite3_bind_null(m_stmt, i));
}

void Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const QString message = QStringLiteral("%1: %2").arg(QString::fromUtf8(sqlite3_sql(m_stmt)),
                                                              QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        throw std::runtime_error(message.toStdString());
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

} // namespace demo
