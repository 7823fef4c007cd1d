#include "Translator.h"

#include "Binder.h"
#include "Parser.h"
#include "SqliteEmitter.h"

#include <QHash>
#include <mutex>

namespace sql {

namespace {

// Cached translations are dropped wholesale past this count (statements with spliced values are
// mostly seen once; the window statements come back and are translated again).
constexpr qsizetype CacheLimit = 4096;

// Keeps a batch's own CREATE/ALTER/DROP visible to its later statements.
void applyDdl(const ast::Statement &st, Catalog &catalog)
{
    switch (st.ddl) {
    case ast::DdlKind::CreateTable: {
        TableInfo t;
        t.name = st.table;
        for (const ast::ColumnDef &c : st.columnDefs) {
            ColumnInfo ci;
            ci.name = c.name;
            ci.type = TypeOfName(c.type);
            ci.identity = c.identity;
            t.columns << ci;
        }
        catalog.addTable(t);
        return;
    }
    case ast::DdlKind::AlterAddColumn: {
        const TableInfo *old = catalog.table(st.table);
        if (!old)
            return;
        TableInfo t = *old;
        ColumnInfo ci;
        ci.name = st.columnDefs[0].name;
        ci.type = TypeOfName(st.columnDefs[0].type);
        t.columns << ci;
        catalog.addTable(t);
        return;
    }
    case ast::DdlKind::DropTable:
        catalog.removeTable(st.table);
        return;
    default:
        return;
    }
}

} // namespace

struct Translator::Impl {
    const Catalog *catalog = nullptr;
    QHash<QString, std::shared_ptr<const TranslatedBatch>> cache;
    std::mutex mutex;
};

Translator::Translator(const Catalog *catalog) : d(std::make_unique<Impl>())
{
    d->catalog = catalog;
}

Translator::~Translator() = default;

std::shared_ptr<const TranslatedBatch> Translator::translate(const QString &tsql)
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        const auto it = d->cache.constFind(tsql);
        if (it != d->cache.constEnd())
            return it.value();
    }
    Catalog catalog = d->catalog ? *d->catalog : Catalog();
    auto batch = std::make_shared<TranslatedBatch>();
    Parser parser(tsql, Dialect::TSql);
    std::vector<ast::Statement> statements = parser.parseBatch();
    for (ast::Statement &st : statements) {
        Binder binder(catalog);
        binder.bind(st);
        TranslatedStatement out;
        out.kind = st.kind;
        out.targetTable = st.kind == StatementKind::Select ? QString() : st.table;
        out.sql = SqliteEmitter().emitStatement(st);
        out.resultTypes = Binder::resultTypes(st);
        out.usesNeptun = binder.usesNeptun();
        if (st.kind == StatementKind::Ddl)
            applyDdl(st, catalog);
        batch->statements.append(std::move(out));
    }
    std::lock_guard<std::mutex> lock(d->mutex);
    if (d->cache.size() >= CacheLimit)
        d->cache.clear();
    d->cache.insert(tsql, batch);
    return batch;
}

void Translator::clearCache()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->cache.clear();
}

} // namespace sql
