#pragma once
// A digest of a table's rows on either engine, to compare an embedded database with a PostgreSQL one
// that should hold the same rows: the row count and, per column, the sum of the values' text lengths
// (integers summed as numbers). Dates, times and flags have the same text forms on both engines.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <sqlite3.h>

namespace enginedigest {

inline QStringList SqliteTables(sqlite3 *db)
{
    QStringList out;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name", -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

// "table: count | per column sums", or the error.
inline QString SqliteDigest(sqlite3 *db, const QString &table, const QStringList &skip = {})
{
    QStringList parts;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, QStringLiteral("SELECT name, type FROM pragma_table_info('%1')").arg(table).toUtf8().constData(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        const QString c = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1))).toUpper();
        if (skip.contains(c, Qt::CaseInsensitive))
            continue;
        parts << (type == u"INTEGER" ? QStringLiteral("coalesce(sum(\"%1\"), 0)") : QStringLiteral("coalesce(sum(length(\"%1\")), 0)")).arg(c);
    }
    sqlite3_finalize(st);
    const QString sql = QStringLiteral("SELECT count(*) || ':' || %1 FROM \"%2\"").arg(parts.join(QStringLiteral(" || ',' || ")), table);
    QString out;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    else
        out = QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return table.toLower() + QStringLiteral(": ") + out;
}

inline QString PostgresDigest(QSqlDatabase &db, const QString &schema, const QString &table, const QStringList &skip = {})
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = '%1' AND "
                               "table_name = lower('%2') ORDER BY ordinal_position").arg(schema, table)))
        return QStringLiteral("error: ") + q.lastError().text();
    QStringList parts;
    while (q.next()) {
        const QString c = q.value(0).toString();
        if (skip.contains(c, Qt::CaseInsensitive))
            continue;
        parts << (q.value(1).toString() == u"integer" ? QStringLiteral("coalesce(sum(%1), 0)")
                                                      : QStringLiteral("coalesce(sum(length(%1::text)), 0)")).arg(c);
    }
    if (!q.exec(QStringLiteral("SELECT count(*) || ':' || %1 FROM %2.%3").arg(parts.join(QStringLiteral(" || ',' || ")), schema, table)) || !q.next())
        return table.toLower() + QStringLiteral(": error: ") + q.lastError().text();
    return table.toLower() + QStringLiteral(": ") + q.value(0).toString();
}

} // namespace enginedigest
