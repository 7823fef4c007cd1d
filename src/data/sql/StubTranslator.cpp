// Passthrough stand-in for the translation layer, used until it lands: statements run as written.
#include "Catalog.h"
#include "Collation.h"
#include "SqliteExtensions.h"
#include "Translator.h"
#include <QRegularExpression>
#include <sqlite3.h>
namespace sql {
bool TableInfo::hasIdentity() const { for (auto &c : columns) if (c.identity) return true; return false; }
const ColumnInfo *TableInfo::column(QStringView n) const { for (auto &c : columns) if (c.name.compare(n, Qt::CaseInsensitive)==0) return &c; return nullptr; }
const TableInfo *Catalog::table(QStringView name) const { QString n = name.toString().toLower(); if (n.startsWith(u"dbo.")) n = n.mid(4); auto it = m_tables.constFind(n); return it == m_tables.cend() ? nullptr : &*it; }
void Catalog::addTable(TableInfo t) { m_tables.insert(t.name.toLower(), std::move(t)); }
Catalog Catalog::fromSqlite(sqlite3 *db) {
  Catalog c; sqlite3_stmt *st; sqlite3_prepare_v2(db, "select name from sqlite_schema where type='table'", -1, &st, nullptr);
  QStringList names; while (sqlite3_step(st)==SQLITE_ROW) names << QString::fromUtf8((const char*)sqlite3_column_text(st,0)); sqlite3_finalize(st);
  for (auto &n : names) { TableInfo t; t.name = n; sqlite3_stmt *s2; sqlite3_prepare_v2(db, ("pragma table_info(\"" + n + "\")").toUtf8().constData(), -1, &s2, nullptr);
    while (sqlite3_step(s2)==SQLITE_ROW) { ColumnInfo ci; ci.name = QString::fromUtf8((const char*)sqlite3_column_text(s2,1)); QString ty = QString::fromUtf8((const char*)sqlite3_column_text(s2,2)).toUpper();
      ci.type = ty.startsWith(u"DATETIME")?FieldType::DateTime: ty.startsWith(u"DATE")?FieldType::Date: ty.startsWith(u"TIME")?FieldType::Time: ty.startsWith(u"BIT")?FieldType::Flag: ty.contains(u"INT")?FieldType::Integer: FieldType::Text;
      ci.identity = sqlite3_column_int(s2,5)==1 && ty==u"INTEGER"; t.columns << ci; }
    sqlite3_finalize(s2); c.addTable(t); }
  return c; }
struct Translator::Impl { QHash<QString, std::shared_ptr<const TranslatedBatch>> cache; };
Translator::Translator(const Catalog *) : d(new Impl) {}
Translator::~Translator() = default;
void Translator::clearCache() { d->cache.clear(); }
std::shared_ptr<const TranslatedBatch> Translator::translate(const QString &t) {
  if (auto p = d->cache.value(t)) return p;
  auto b = std::make_shared<TranslatedBatch>(); TranslatedStatement s; s.sql = t; QString w = t.trimmed().section(u' ',0,0).toLower();
  s.kind = w==u"select"?StatementKind::Select: w==u"insert"?StatementKind::Insert: w==u"update"?StatementKind::Update: w==u"delete"?StatementKind::Delete: w==u"create"||w==u"drop"||w==u"alter"?StatementKind::Ddl:StatementKind::Other;
  static QRegularExpression re(QStringLiteral("^\\s*(?:insert\\s+into|update|delete\\s+from)\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
  auto m = re.match(t); if (m.hasMatch()) s.targetTable = m.captured(1);
  b->statements << s; d->cache.insert(t, b); return b; }
static void getdate(sqlite3_context *c, int, sqlite3_value **) { auto rt = (SqliteRuntime*)sqlite3_user_data(c); auto s = rt->now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8(); sqlite3_result_text(c, s.constData(), -1, SQLITE_TRANSIENT); }
static void scopeid(sqlite3_context *c, int, sqlite3_value **) { auto rt = (SqliteRuntime*)sqlite3_user_data(c); if (rt->scopeIdentity.isNull()) sqlite3_result_null(c); else sqlite3_result_int64(c, rt->scopeIdentity.toLongLong()); }
void RegisterSqliteExtensions(sqlite3 *db, SqliteRuntime *rt) { RegisterKovraCollation(db);
  sqlite3_create_function(db, "getdate", 0, SQLITE_UTF8, rt, getdate, nullptr, nullptr);
  sqlite3_create_function(db, "scope_identity", 0, SQLITE_UTF8, rt, scopeid, nullptr, nullptr); }
}
