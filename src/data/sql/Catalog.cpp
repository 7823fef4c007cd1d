#include "Catalog.h"

#include <sqlite3.h>

namespace sql {

bool TableInfo::hasIdentity() const
{
    for (const ColumnInfo &c : columns)
        if (c.identity)
            return true;
    return false;
}

const ColumnInfo *TableInfo::column(QStringView name) const
{
    for (const ColumnInfo &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

static QString tableKey(QStringView name)
{
    if (name.startsWith(u"dbo.", Qt::CaseInsensitive))
        name = name.mid(4);
    return name.toString().toLower();
}

const TableInfo *Catalog::table(QStringView name) const
{
    const auto it = m_tables.constFind(tableKey(name));
    return it == m_tables.constEnd() ? nullptr : &it.value();
}

void Catalog::addTable(TableInfo table)
{
    const QString key = tableKey(table.name);
    m_tables.insert(key, std::move(table));
}

void Catalog::removeTable(QStringView name) { m_tables.remove(tableKey(name)); }

static FieldType typeOfDeclared(const QString &declared)
{
    const QString t = declared.trimmed().toUpper();
    if (t.startsWith(u"DATETIME") || t.startsWith(u"TIMESTAMP") || t.startsWith(u"SMALLDATETIME"))
        return FieldType::DateTime;
    if (t.startsWith(u"DATE"))
        return FieldType::Date;
    if (t.startsWith(u"TIME"))
        return FieldType::Time;
    if (t == u"BIT" || t.startsWith(u"BIT "))
        return FieldType::Flag;
    if (t.contains(u"INT"))
        return FieldType::Integer;
    if (t.contains(u"CHAR") || t.contains(u"TEXT") || t.contains(u"CLOB"))
        return FieldType::Text;
    if (t.startsWith(u"REAL") || t.startsWith(u"FLOA") || t.startsWith(u"DOUB") || t.startsWith(u"DEC")
        || t.startsWith(u"NUM") || t.startsWith(u"MONEY"))
        return FieldType::Float;
    return FieldType::Unknown;
}

static QString columnText(sqlite3_stmt *st, int i)
{
    const void *p = sqlite3_column_text16(st, i);
    if (!p)
        return QString();
    return QString(static_cast<const QChar *>(p), sqlite3_column_bytes16(st, i) / 2);
}

Catalog Catalog::fromSqlite(sqlite3 *db)
{
    Catalog catalog;
    QStringList names;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND substr(name, 1, 7) <> 'sqlite_'",
                           -1, &st, nullptr)
        == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            names << columnText(st, 0);
    }
    sqlite3_finalize(st);
    for (const QString &name : names) {
        TableInfo t;
        t.name = name;
        QString quoted = name;
        quoted.replace(u'"', QLatin1String("\"\""));
        const QByteArray sql = QStringLiteral("PRAGMA main.table_info(\"%1\")").arg(quoted).toUtf8();
        st = nullptr;
        int keyColumns = 0;
        int keyIndex = -1;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                ColumnInfo c;
                c.name = columnText(st, 1);
                const QString declared = columnText(st, 2);
                c.type = typeOfDeclared(declared);
                if (sqlite3_column_int(st, 5) > 0) {
                    ++keyColumns;
                    if (declared.trimmed().compare(u"INTEGER", Qt::CaseInsensitive) == 0)
                        keyIndex = int(t.columns.size());
                }
                t.columns << c;
            }
        }
        sqlite3_finalize(st);
        if (keyColumns == 1 && keyIndex >= 0)
            t.columns[keyIndex].identity = true; // INTEGER PRIMARY KEY: the rowid
        catalog.addTable(t);
    }
    return catalog;
}

const char *const Catalog::PostgreSqlColumnsQuery =
    "SELECT c.table_name, c.column_name, c.data_type, "
    "CASE WHEN c.is_identity = 'YES' OR c.column_default LIKE 'nextval(%' THEN '1' ELSE '0' END "
    "FROM information_schema.columns c WHERE c.table_schema = current_schema() "
    "ORDER BY c.table_name, c.ordinal_position";

static FieldType typeOfPostgreSql(const QString &t)
{
    if (t == u"integer" || t == u"bigint")
        return FieldType::Integer;
    if (t == u"smallint")
        return FieldType::Flag;
    if (t.startsWith(u"character") || t == u"text")
        return FieldType::Text;
    if (t == u"date")
        return FieldType::Date;
    if (t.startsWith(u"timestamp"))
        return FieldType::DateTime;
    if (t.startsWith(u"time"))
        return FieldType::Time;
    if (t == u"numeric" || t == u"real" || t == u"double precision")
        return FieldType::Float;
    return FieldType::Unknown;
}

Catalog Catalog::fromPostgreSqlColumns(const QVector<QStringList> &rows)
{
    QHash<QString, TableInfo> tables;
    QStringList order;
    for (const QStringList &r : rows) {
        if (r.size() < 4)
            continue;
        const QString key = r[0].toLower();
        if (!tables.contains(key)) {
            order << key;
            tables[key].name = r[0];
        }
        ColumnInfo c;
        c.name = r[1];
        c.type = typeOfPostgreSql(r[2].toLower());
        c.identity = r[3] == u"1";
        tables[key].columns << c;
    }
    Catalog catalog;
    for (const QString &key : std::as_const(order))
        catalog.addTable(tables.value(key));
    return catalog;
}

} // namespace sql
