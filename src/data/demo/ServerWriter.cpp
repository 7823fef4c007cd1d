#include "ServerWriter.h"

#include "Schema.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVector>
#include <sqlite3.h>
#include <stdexcept>

namespace demo {

namespace {

constexpr int RowsPerInsert = 400;

void exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error(QString(q.lastError().text() + QStringLiteral("\n") + sql.left(500)).toStdString());
}

QVector<QStringList> sqliteRows(sqlite3 *db, const QString &sql, QStringList *columns = nullptr)
{
    QVector<QStringList> out;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    if (columns)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            *columns << QString::fromUtf8(sqlite3_column_name(st, c));
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const int type = sqlite3_column_type(st, c);
            const QString v = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                                sqlite3_column_bytes(st, c));
            row << (type == SQLITE_NULL ? QStringLiteral("NULL")
                    : type == SQLITE_TEXT ? u'\'' + QString(v).replace(u'\'', QStringLiteral("''")) + u'\''
                                          : v);
        }
        out << row;
    }
    sqlite3_finalize(st);
    return out;
}

// Tables of an SQLite file in the order their foreign keys allow.
QStringList tablesInOrder(sqlite3 *db)
{
    QStringList left;
    for (const QStringList &r : sqliteRows(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name")))
        left << r[0].mid(1, r[0].size() - 2);
    QStringList order;
    while (!left.isEmpty()) {
        const qsizetype before = left.size();
        for (qsizetype i = 0; i < left.size(); ++i) {
            bool ready = true;
            for (const QStringList &fk : sqliteRows(db, QStringLiteral("SELECT \"table\" FROM pragma_foreign_key_list('%1')").arg(left[i]))) {
                const QString parent = fk[0].mid(1, fk[0].size() - 2);
                if (parent.compare(left[i], Qt::CaseInsensitive) != 0 && !order.contains(parent, Qt::CaseInsensitive))
                    ready = false;
            }
            if (ready)
                order << left.takeAt(i--);
        }
        if (left.size() == before)
            throw std::runtime_error("foreign keys form a cycle");
    }
    return order;
}

void copyRows(QSqlDatabase &db, sqlite3 *source, const QString &table, const QString &target)
{
    QStringList columns;
    const QVector<QStringList> rows = sqliteRows(source, QStringLiteral("SELECT * FROM \"%1\"").arg(table), &columns);
    for (qsizetype at = 0; at < rows.size(); at += RowsPerInsert) {
        QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(target, columns.join(QStringLiteral(", ")));
        for (qsizetype i = at; i < qMin(rows.size(), at + RowsPerInsert); ++i)
            sql += (i > at ? QStringLiteral(", (") : QStringLiteral("(")) + rows[i].join(QStringLiteral(", ")) + u')';
        exec(db, sql);
    }
}

// A stand-in table's SQLite definition in PostgreSQL types (dates as timestamp, as Neptun's own).
QString neptunTable(sqlite3 *source, const QString &table)
{
    QStringList columns;
    for (const QStringList &c : sqliteRows(source, QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1')").arg(table))) {
        const QString name = c[0].mid(1, c[0].size() - 2);
        const QString type = c[1].mid(1, c[1].size() - 2).toUpper();
        QString pg = QStringLiteral("integer");
        static const QRegularExpression varchar(QStringLiteral("^VARCHAR2?\\((\\d+)\\)$"));
        if (const auto m = varchar.match(type); m.hasMatch())
            pg = QStringLiteral("varchar(%1)").arg(m.captured(1));
        else if (type.startsWith(u"DATE"))
            pg = QStringLiteral("timestamp(0)");
        else if (!type.contains(u"INT"))
            pg = QStringLiteral("text");
        columns << name + u' ' + pg + (c[2] != u"0" ? QStringLiteral(" PRIMARY KEY") : QString());
    }
    return QStringLiteral("CREATE TABLE neptun.%1 (%2)").arg(table, columns.join(QStringLiteral(", ")));
}

} // namespace

QStringList ServerTables(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT table_schema || '.' || table_name FROM information_schema.tables "
                               "WHERE table_schema IN ('public', 'neptun', 'dbo') ORDER BY 1")))
        throw std::runtime_error(q.lastError().text().toStdString());
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

void ClearServerDatabase(QSqlDatabase &db)
{
    exec(db, QStringLiteral("DROP SCHEMA IF EXISTS neptun, dbo, public CASCADE"));
    exec(db, QStringLiteral("CREATE SCHEMA public"));
}

void WriteServerDatabase(QSqlDatabase &db, sqlite3 *kovra, sqlite3 *neptun)
{
    if (!db.transaction())
        throw std::runtime_error(db.lastError().text().toStdString());
    try {
        QString batch;
        for (const QString &line : schema::PostgresBaseScript().split(u'\n')) {
            if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
                if (!batch.trimmed().isEmpty())
                    exec(db, batch);
                batch.clear();
            } else {
                batch += line + u'\n';
            }
        }
        if (!batch.trimmed().isEmpty())
            exec(db, batch);
        // the code rows of the base script give way to the demo's copy of them
        exec(db, QStringLiteral("DELETE FROM szerepkor; DELETE FROM jelenlet_tipusa; DELETE FROM beallitasok"));
        for (const QString &table : tablesInOrder(kovra))
            copyRows(db, kovra, table, table);
        exec(db, QStringLiteral("CREATE SCHEMA neptun"));
        for (const QString &table : tablesInOrder(neptun)) {
            exec(db, neptunTable(neptun, table));
            copyRows(db, neptun, table, QStringLiteral("neptun.") + table);
        }
        for (const QStringList &ix : sqliteRows(neptun, QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL"))) {
            QString sql = ix[0].mid(1, ix[0].size() - 2);
            sql.replace(QRegularExpression(QStringLiteral("\\bON (\\w+)")), QStringLiteral("ON neptun.\\1"));
            exec(db, sql);
        }
        // identity counters after the copied keys
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                                   "WHERE table_schema = 'public' AND is_identity = 'YES'")))
            throw std::runtime_error(q.lastError().text().toStdString());
        QStringList counters;
        while (q.next())
            counters << QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), coalesce(max(%2), 0) + 1, false) FROM %1")
                            .arg(q.value(0).toString(), q.value(1).toString());
        for (const QString &sql : std::as_const(counters))
            exec(db, sql);
        exec(db, QStringLiteral("ANALYZE"));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw std::runtime_error(db.lastError().text().toStdString());
}

} // namespace demo
