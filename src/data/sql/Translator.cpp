#include "Translator.h"

#include "Binder.h"
#include "Parser.h"
#include "PostgreSqlEmitter.h"
#include "SqliteEmitter.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>

namespace sql {

namespace {

// Cached translations are dropped wholesale past these sizes (the window statements come back and
// are translated again; statements with spliced values are answered from their shape).
constexpr qsizetype TextCacheLimit = 4096;
constexpr qsizetype TextCacheCharLimit = 8 * 1024 * 1024;
constexpr qsizetype ShapeCacheLimit = 1024;
constexpr int VariantsPerShape = 8;

// Marks of a literal in a shape key, by kind. A text holding one of them is not shaped.
constexpr char16_t TextMark = u'\x01';
constexpr char16_t IntegerMark = u'\x02';
constexpr char16_t FloatMark = u'\x03';

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

// Appends to a QString through a pointer (the statements are built from thousands of pieces).
class Writer {
public:
    Writer(QString &s, qsizetype expected) : m_s(s)
    {
        m_s.resize(std::max<qsizetype>(expected, 16));
        m_begin = m_pos = reinterpret_cast<char16_t *>(m_s.data());
        m_end = m_begin + m_s.size();
    }
    ~Writer() { m_s.truncate(m_pos - m_begin); }
    Writer &operator+=(QStringView v)
    {
        const qsizetype n = v.size();
        reserve(n);
        const char16_t *from = v.utf16();
        if (n < 16) {
            for (qsizetype i = 0; i < n; ++i)
                m_pos[i] = from[i];
        } else {
            std::copy_n(from, n, m_pos);
        }
        m_pos += n;
        return *this;
    }
    Writer &operator+=(char16_t c)
    {
        reserve(1);
        *m_pos++ = c;
        return *this;
    }
    qsizetype size() const { return m_pos - m_begin; }

private:
    void reserve(qsizetype n)
    {
        if (m_end - m_pos >= n)
            return;
        const qsizetype used = m_pos - m_begin;
        m_s.resize(std::max(2 * m_s.size(), used + n));
        m_begin = reinterpret_cast<char16_t *>(m_s.data());
        m_pos = m_begin + used;
        m_end = m_begin + m_s.size();
    }
    QString &m_s;
    char16_t *m_begin, *m_pos, *m_end;
};

// A quoted text or number of the statement text.
struct Literal {
    qint32 start = 0, end = 0;           // the token (N prefix and quotes included)
    qint32 valueStart = 0, valueEnd = 0; // text: between the quotes
    ast::LiteralKind kind = ast::LiteralKind::Text;
    bool doubled = false;                // text: holds a doubled quote

    QStringView token(const QString &text) const { return QStringView(text).mid(start, end - start); }
    // The value as the parser reads it.
    QString value(const QString &text) const
    {
        if (kind != ast::LiteralKind::Text)
            return text.mid(start, end - start);
        QString v = text.mid(valueStart, valueEnd - valueStart);
        if (doubled)
            v.replace(QLatin1String("''"), QLatin1String("'"));
        return v;
    }
};

struct Shape {
    QString key;
    std::vector<Literal> literals;
    bool parameters = false; // the text has ":NAME" parameters
};

// The shape of a text; false when it has none (a mark character in it, or a token error, which a
// full translation reports).
bool shapeOf(const QString &text, Shape &shape)
{
    if (text.size() > std::numeric_limits<qint32>::max() / 2)
        return false;
    for (QChar c : text)
        if (c.unicode() >= TextMark && c.unicode() <= FloatMark)
            return false;
    const QStringView view(text);
    shape.literals.clear();
    shape.parameters = false;
    Writer key(shape.key, text.size());
    qsizetype i = 0, copied = 0;
    TokenSpan span;
    try {
        for (;;) {
            NextToken(view, i, Dialect::TSql, span);
            if (span.type == TokenType::End)
                break;
            if (span.type == TokenType::Parameter)
                shape.parameters = true;
            if (span.type != TokenType::String && span.type != TokenType::Number)
                continue;
            Literal lit;
            lit.start = qint32(span.start);
            lit.end = qint32(span.end);
            lit.valueStart = qint32(span.valueStart);
            lit.valueEnd = qint32(span.valueEnd);
            lit.doubled = span.doubled;
            lit.kind = span.type == TokenType::String ? ast::LiteralKind::Text
                       : NumberIsFloat(view.mid(span.start, span.end - span.start)) ? ast::LiteralKind::Float
                                                                                       : ast::LiteralKind::Integer;
            key += view.mid(copied, span.start - copied);
            key += lit.kind == ast::LiteralKind::Text      ? TextMark
                   : lit.kind == ast::LiteralKind::Integer ? IntegerMark
                                                           : FloatMark;
            copied = span.end;
            shape.literals.push_back(lit);
        }
    } catch (const TranslateError &) {
        return false;
    }
    key += view.mid(copied);
    return true;
}

// One statement of a batch as a template: SQLite text pieces around the holes.
struct StatementTemplate {
    TranslatedStatement base; // everything but the texts
    QVector<QString> pieces;  // holes.size() + 1
    std::vector<SqliteEmitter::Hole> holes;
    std::vector<bool> verbatim; // per hole: the literal is printed as written in the text
    qsizetype size = 0;         // of the pieces together
    bool bind = false;          // make the bound form too
};

// A translation for the texts of one shape whose pinned literals (those the emitter did not print)
// are exactly these.
struct Variant {
    std::vector<std::pair<int, QString>> pinned; // slot, token as written
    std::vector<StatementTemplate> statements;
};

// The conversions leave the literal as written: a text met texts only, a number met numbers only.
bool keepsWritten(const Literal &lit, const SqliteEmitter::Hole &hole)
{
    if (hole.printedAs != lit.kind)
        return false;
    for (FieldType t : hole.conversions) {
        if (t == FieldType::Text || t == FieldType::Unknown)
            continue;
        if (lit.kind != ast::LiteralKind::Text && (t == FieldType::Integer || t == FieldType::Float))
            continue;
        return false;
    }
    return true;
}

// The value of literal lit of text after the template's conversions, as kind and printed text;
// false when it does not convert as the template's own literal did.
bool holeValue(const QString &text, const Literal &lit, const SqliteEmitter::Hole &hole, ast::LiteralKind &kind,
               QString &value)
{
    ast::Expr e;
    e.kind = ast::ExprKind::Literal;
    e.literal = lit.kind;
    e.name = lit.value(text);
    if (hole.negated)
        e.name.prepend(u'-');
    try {
        for (FieldType t : hole.conversions)
            ConvertLiteral(e, t);
    } catch (const TranslateError &) {
        return false;
    }
    if (e.literal != hole.printedAs)
        return false;
    kind = e.literal;
    value = std::move(e.name);
    return true;
}

// The integer of a number token of at most 18 digits.
qint64 integerOf(QStringView digits)
{
    qint64 v = 0;
    for (QChar c : digits)
        v = v * 10 + (c.unicode() - u'0');
    return v;
}

// Moves the bound texts, collected as UTF-16 in arena with UTF-16 offsets, to st.boundText.
void encodeBoundTexts(const QString &arena, TranslatedStatement &st)
{
    st.boundText = arena.toUtf8();
    if (st.boundText.size() == arena.size())
        return; // ASCII: the offsets hold
    st.boundText.clear();
    for (TranslatedStatement::BoundValue &v : st.boundValues) {
        if (!v.isText)
            continue;
        const QByteArray utf8 = QStringView(arena).mid(v.offset, v.size).toUtf8();
        v.offset = qint32(st.boundText.size());
        v.size = qint32(utf8.size());
        st.boundText += utf8;
    }
}

// Fills st.sql (and, when the template says so, st.boundSql, st.boundValues and st.boundText)
// for text.
bool render(const QString &text, const Shape &shape, const StatementTemplate &t, TranslatedStatement &st, Engine engine)
{
    const QStringView view(text);
    const bool anyNul = view.contains(QChar(0));
    qsizetype literalSize = 0; // of the literals as written, a little more for converted ones
    for (const SqliteEmitter::Hole &hole : t.holes)
        if (hole.slot >= 0 && size_t(hole.slot) < shape.literals.size())
            literalSize += shape.literals[size_t(hole.slot)].end - shape.literals[size_t(hole.slot)].start + 4;
    Writer out(st.sql, t.size + literalSize);
    std::optional<Writer> bound;
    QString arenaText;
    std::optional<Writer> arena;
    if (t.bind) {
        bound.emplace(st.boundSql, t.size + literalSize);
        arena.emplace(arenaText, literalSize);
        st.boundValues.reserve(t.holes.size());
    }
    auto bindText = [&](QStringView value) {
        *bound += u'?';
        TranslatedStatement::BoundValue v;
        v.offset = qint32(arena->size());
        *arena += value;
        v.size = qint32(arena->size() - v.offset);
        st.boundValues.push_back(v);
    };
    auto bindInteger = [&](qint64 n) {
        *bound += u'?';
        TranslatedStatement::BoundValue v;
        v.isText = false;
        v.integer = n;
        st.boundValues.push_back(v);
    };
    ast::LiteralKind kind = ast::LiteralKind::Text;
    QString value, printed;
    for (size_t h = 0; h < t.holes.size(); ++h) {
        const QString &piece = t.pieces[qsizetype(h)];
        out += piece;
        if (bound)
            *bound += piece;
        const SqliteEmitter::Hole &hole = t.holes[h];
        if (hole.slot < 0 || size_t(hole.slot) >= shape.literals.size())
            return false;
        const Literal &lit = shape.literals[size_t(hole.slot)];
        const bool bindable = bound && hole.bindable;
        // a text holding a NUL is printed escaped (see literalText); PostgreSQL holds none
        if (t.verbatim[h]
            && !(anyNul && lit.kind == ast::LiteralKind::Text
                 && view.mid(lit.valueStart, lit.valueEnd - lit.valueStart).contains(QChar(0)))) {
            if (lit.kind == ast::LiteralKind::Text) {
                const QStringView quoted = view.mid(lit.valueStart - 1, lit.end - lit.valueStart + 1); // from the opening quote
                out += quoted;
                if (bindable) {
                    if (lit.doubled)
                        bindText(lit.value(text));
                    else
                        bindText(view.mid(lit.valueStart, lit.valueEnd - lit.valueStart));
                } else if (bound) {
                    *bound += quoted;
                }
            } else {
                const QStringView token = lit.token(text);
                if (hole.negated)
                    out += u'-';
                out += token;
                if (bindable && lit.kind == ast::LiteralKind::Integer) {
                    const qint64 n = integerOf(token);
                    bindInteger(hole.negated ? -n : n);
                } else if (bound) {
                    if (hole.negated)
                        *bound += u'-';
                    *bound += token;
                }
            }
            continue;
        }
        if (!holeValue(text, lit, hole, kind, value))
            return false;
        printed.clear();
        if (engine == Engine::PostgreSql) {
            if (!PostgreSqlEmitter::printLiteral(kind, value, printed))
                return false;
        } else {
            SqliteEmitter::printLiteral(kind, value, printed);
        }
        out += printed;
        if (!bound)
            continue;
        bool ok = false;
        const qint64 n = bindable && kind == ast::LiteralKind::Integer ? value.toLongLong(&ok) : 0;
        if (bindable && kind == ast::LiteralKind::Text)
            bindText(value);
        else if (ok)
            bindInteger(n);
        else
            *bound += printed; // floats stay in the text: SQLite reads them itself
    }
    out += t.pieces.last();
    if (bound) {
        *bound += t.pieces.last();
        bound.reset();
        arena.reset();
        encodeBoundTexts(arenaText, st);
    }
    return true;
}

// Splits a template-mode emission at its hole marks; false when they are not as expected.
bool splitTemplate(const QString &emitted, std::vector<SqliteEmitter::Hole> holes, StatementTemplate &t)
{
    qsizetype from = 0;
    for (size_t h = 0; h < holes.size(); ++h) {
        const qsizetype open = emitted.indexOf(QChar(SqliteEmitter::HoleStart), from);
        if (open < 0)
            return false;
        const qsizetype close = emitted.indexOf(QChar(SqliteEmitter::HoleEnd), open);
        if (close < 0)
            return false;
        bool ok = false;
        if (emitted.mid(open + 1, close - open - 1).toULongLong(&ok) != h || !ok)
            return false;
        t.pieces << emitted.mid(from, open - from);
        t.size += open - from;
        from = close + 1;
    }
    if (emitted.indexOf(QChar(SqliteEmitter::HoleStart), from) >= 0)
        return false;
    t.pieces << emitted.mid(from);
    t.size += emitted.size() - from;
    t.holes = std::move(holes);
    return true;
}

} // namespace

struct Translator::Impl {
    const Catalog *catalog = nullptr;
    Engine engine = Engine::Sqlite;
    QHash<QString, std::shared_ptr<const TranslatedBatch>> cache;
    qsizetype cacheChars = 0;
    QHash<QString, std::vector<std::shared_ptr<const Variant>>> shapes;
    Statistics stats;
    mutable std::mutex mutex;

    std::shared_ptr<const TranslatedBatch> fromShape(const QString &tsql, const Shape &shape);
    void remember(const QString &tsql, const std::shared_ptr<const TranslatedBatch> &batch);
};

std::shared_ptr<const TranslatedBatch> Translator::Impl::fromShape(const QString &tsql, const Shape &shape)
{
    std::vector<std::shared_ptr<const Variant>> variants;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = shapes.constFind(shape.key);
        if (it == shapes.constEnd())
            return nullptr;
        variants = it.value();
    }
    for (const auto &v : variants) {
        bool match = true;
        for (const auto &[slot, token] : v->pinned) {
            if (shape.literals[size_t(slot)].token(tsql) != token) {
                match = false;
                break;
            }
        }
        if (!match)
            continue;
        auto batch = std::make_shared<TranslatedBatch>();
        batch->statements.reserve(qsizetype(v->statements.size()));
        for (const StatementTemplate &t : v->statements) {
            TranslatedStatement st = t.base;
            if (!render(tsql, shape, t, st, engine))
                return nullptr;
            batch->statements.append(std::move(st));
        }
        std::lock_guard<std::mutex> lock(mutex);
        ++stats.shapeHits;
        return batch;
    }
    return nullptr;
}

void Translator::Impl::remember(const QString &tsql, const std::shared_ptr<const TranslatedBatch> &batch)
{
    if (cache.size() >= TextCacheLimit || cacheChars + tsql.size() > TextCacheCharLimit) {
        cache.clear();
        cacheChars = 0;
    }
    cache.insert(tsql, batch);
    cacheChars += tsql.size();
}

Translator::Translator(const Catalog *catalog, Engine engine) : d(std::make_unique<Impl>())
{
    d->catalog = catalog;
    d->engine = engine;
}

Engine Translator::engine() const { return d->engine; }

namespace {

// The identity column of an INSERT's target (PostgreSQL returns it); empty when it has none.
QString identityOf(const ast::Statement &st, const Catalog &catalog)
{
    if (st.kind != StatementKind::Insert)
        return QString();
    if (const TableInfo *t = catalog.table(st.table))
        for (const ColumnInfo &c : t->columns)
            if (c.identity)
                return c.name;
    return QString();
}

QString emitFor(Engine engine, const ast::Statement &st, const QString &identity, std::vector<SqliteEmitter::Hole> *holes)
{
    if (engine == Engine::PostgreSql) {
        PostgreSqlEmitter emitter;
        emitter.setHoles(holes);
        emitter.setIdentityColumn(identity);
        return emitter.emitStatement(st);
    }
    SqliteEmitter emitter;
    emitter.setHoles(holes);
    return emitter.emitStatement(st);
}

} // namespace

Translator::~Translator() = default;

std::shared_ptr<const TranslatedBatch> Translator::translate(const QString &tsql)
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        const auto it = d->cache.constFind(tsql);
        if (it != d->cache.constEnd()) {
            ++d->stats.textHits;
            return it.value();
        }
    }
    // kept from call to call: long statements would otherwise allocate and free their buffers
    // every time
    thread_local Shape shape;
    const bool shaped = shapeOf(tsql, shape) && !shape.literals.empty();
    if (shaped) {
        if (auto batch = d->fromShape(tsql, shape))
            return batch;
    }

    {
        std::lock_guard<std::mutex> lock(d->mutex);
        ++d->stats.translations;
    }
    Catalog catalog = d->catalog ? *d->catalog : Catalog();
    auto batch = std::make_shared<TranslatedBatch>();
    Parser parser(tsql, Dialect::TSql, shaped);
    std::vector<ast::Statement> statements = parser.parseBatch();
    bool templated = shaped;
    auto variant = std::make_shared<Variant>();
    std::vector<bool> printed(shape.literals.size(), false);
    for (ast::Statement &st : statements) {
        Binder binder(catalog);
        binder.bind(st);
        TranslatedStatement out;
        out.kind = st.kind;
        out.targetTable = st.kind == StatementKind::Select ? QString() : st.table;
        const QString identity = d->engine == Engine::PostgreSql ? identityOf(st, catalog) : QString();
        out.sql = emitFor(d->engine, st, identity, nullptr);
        out.resultTypes = Binder::resultTypes(st);
        out.usesNeptun = binder.usesNeptun();
        out.returnsIdentity = !identity.isEmpty();
        if (st.kind == StatementKind::Ddl || st.kind == StatementKind::Other)
            templated = false;
        if (templated) {
            std::vector<SqliteEmitter::Hole> holes;
            const QString emitted = emitFor(d->engine, st, identity, &holes);
            StatementTemplate t;
            t.base = out;
            t.base.sql.clear();
            if (splitTemplate(emitted, std::move(holes), t)) {
                bool anyBindable = false;
                for (const SqliteEmitter::Hole &h : t.holes) {
                    const bool known = h.slot >= 0 && size_t(h.slot) < shape.literals.size();
                    t.verbatim.push_back(known && keepsWritten(shape.literals[size_t(h.slot)], h));
                    if (known)
                        printed[size_t(h.slot)] = true;
                    anyBindable = anyBindable || h.bindable;
                }
                t.bind = anyBindable && !shape.parameters;
                // the template must give back this very translation
                TranslatedStatement again = t.base;
                if (render(tsql, shape, t, again, d->engine) && again.sql == out.sql) {
                    out.boundSql = std::move(again.boundSql);
                    out.boundValues = std::move(again.boundValues);
                    out.boundText = std::move(again.boundText);
                    variant->statements.push_back(std::move(t));
                } else {
                    templated = false;
                }
            } else {
                templated = false;
            }
        }
        if (st.kind == StatementKind::Ddl)
            applyDdl(st, catalog);
        batch->statements.append(std::move(out));
    }

    std::lock_guard<std::mutex> lock(d->mutex);
    d->remember(tsql, batch);
    if (templated && !variant->statements.empty()) {
        for (size_t i = 0; i < printed.size(); ++i)
            if (!printed[i])
                variant->pinned.emplace_back(int(i), shape.literals[i].token(tsql).toString());
        if (d->shapes.size() >= ShapeCacheLimit)
            d->shapes.clear();
        auto &variants = d->shapes[shape.key];
        if (int(variants.size()) >= VariantsPerShape)
            variants.erase(variants.begin());
        variants.push_back(std::move(variant));
    }
    return batch;
}

void Translator::clearCache()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->cache.clear();
    d->cacheChars = 0;
    d->shapes.clear();
}

Translator::Statistics Translator::statistics() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->stats;
}

} // namespace sql
