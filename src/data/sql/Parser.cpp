#include "Parser.h"

#include <QSet>

namespace sql {

using namespace ast;

namespace {

const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("select"), QStringLiteral("from"), QStringLiteral("where"), QStringLiteral("group"),
        QStringLiteral("by"), QStringLiteral("having"), QStringLiteral("order"), QStringLiteral("union"),
        QStringLiteral("all"), QStringLiteral("except"), QStringLiteral("intersect"), QStringLiteral("as"),
        QStringLiteral("on"), QStringLiteral("join"), QStringLiteral("inner"), QStringLiteral("left"),
        QStringLiteral("right"), QStringLiteral("full"), QStringLiteral("outer"), QStringLiteral("cross"),
        QStringLiteral("and"), QStringLiteral("or"), QStringLiteral("not"), QStringLiteral("in"),
        QStringLiteral("is"), QStringLiteral("null"), QStringLiteral("like"), QStringLiteral("between"),
        QStringLiteral("exists"), QStringLiteral("case"), QStringLiteral("when"), QStringLiteral("then"),
        QStringLiteral("else"), QStringLiteral("end"), QStringLiteral("insert"), QStringLiteral("into"),
        QStringLiteral("values"), QStringLiteral("update"), QStringLiteral("set"), QStringLiteral("delete"),
        QStringLiteral("create"), QStringLiteral("alter"), QStringLiteral("drop"), QStringLiteral("table"),
        QStringLiteral("index"), QStringLiteral("top"), QStringLiteral("distinct"), QStringLiteral("over"),
        QStringLiteral("asc"), QStringLiteral("desc"), QStringLiteral("with"), QStringLiteral("collate"),
        QStringLiteral("primary"), QStringLiteral("foreign"), QStringLiteral("references"),
        QStringLiteral("constraint"), QStringLiteral("default"), QStringLiteral("escape"),
        QStringLiteral("declare"), QStringLiteral("exec"), QStringLiteral("execute"), QStringLiteral("begin"),
        QStringLiteral("commit"), QStringLiteral("rollback"), QStringLiteral("print"), QStringLiteral("if"),
        QStringLiteral("while"), QStringLiteral("return"), QStringLiteral("go"), QStringLiteral("use"),
        QStringLiteral("truncate"), QStringLiteral("merge")};
    return words;
}

ExprPtr makeExpr(ExprKind kind, qsizetype pos)
{
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->pos = pos;
    return e;
}

} // namespace

Parser::Parser(const QString &text, Dialect dialect, bool numberLiterals)
    : m_text(text), m_dialect(dialect), m_tokens(Tokenize(text, dialect))
{
    if (!numberLiterals)
        return;
    m_slots.resize(m_tokens.size());
    int slot = 0;
    for (qsizetype i = 0; i < m_tokens.size(); ++i) {
        const TokenType t = m_tokens[i].type;
        m_slots[i] = (t == TokenType::String || t == TokenType::Number) ? slot++ : -1;
    }
}

Parser::Nest::Nest(Parser &parser, int n) : p(parser), levels(0)
{
    for (int i = 0; i < n; ++i)
        add();
}

void Parser::Nest::add()
{
    if (p.m_depth >= MaxNesting)
        p.fail(QStringLiteral("Expression nested too deeply (more than %1 levels)").arg(MaxNesting));
    ++p.m_depth;
    ++levels;
}

const Token &Parser::peek(int ahead) const
{
    const int i = std::min<int>(m_pos + ahead, int(m_tokens.size()) - 1);
    return m_tokens[i];
}

const Token &Parser::next()
{
    const Token &t = m_tokens[m_pos];
    if (m_pos < m_tokens.size() - 1)
        ++m_pos;
    return t;
}

bool Parser::acceptWord(QStringView kw)
{
    if (peek().isWord(kw)) {
        next();
        return true;
    }
    return false;
}

bool Parser::acceptOp(QStringView op)
{
    if (peek().isOp(op)) {
        next();
        return true;
    }
    return false;
}

void Parser::expectWord(QStringView kw)
{
    if (!acceptWord(kw))
        fail(QStringLiteral("Expected %1").arg(kw.toString().toUpper()));
}

void Parser::expectOp(QStringView op)
{
    if (!acceptOp(op))
        fail(QStringLiteral("Expected '%1'").arg(op));
}

void Parser::fail(const QString &what) const
{
    const Token &t = peek();
    QString near = t.type == TokenType::End ? QStringLiteral("the end of the statement")
                                            : QStringLiteral("'%1'").arg(t.type == TokenType::String ? QStringLiteral("'") + t.text + QStringLiteral("'") : t.text);
    throw TranslateError(QStringLiteral("%1 near %2 (position %3)").arg(what, near).arg(t.pos + 1));
}

void Parser::unexpected() const
{
    const Token &t = peek();
    if (t.type == TokenType::End)
        fail(QStringLiteral("Unexpected end of statement"));
    fail(QStringLiteral("Unsupported or unexpected construct"));
}

bool Parser::isReserved(const Token &t) const
{
    if (t.type != TokenType::Identifier)
        return false;
    return reservedWords().contains(t.key);
}

bool Parser::atStatementStart() const
{
    const Token &t = peek();
    if (t.type == TokenType::End)
        return true;
    static const char *const starts[] = {"select", "insert", "update", "delete", "create", "alter", "drop", "set",
                                         "with", "declare", "exec", "execute", "begin", "commit", "rollback",
                                         "print", "if", "while", "use", "truncate", "merge", "go"};
    for (const char *s : starts)
        if (t.isWord(QLatin1String(s)))
            return true;
    return t.isOp(u";");
}

// ---------------------------------------------------------------- statements

std::vector<Statement> Parser::parseBatch()
{
    std::vector<Statement> out;
    while (peek().type != TokenType::End) {
        if (acceptOp(u";"))
            continue;
        Statement st;
        st.pos = peek().pos;
        if (parseStatement(st))
            out.push_back(std::move(st));
        if (!atStatementStart())
            fail(QStringLiteral("Unexpected text after the statement"));
    }
    return out;
}

SelectPtr Parser::parseSingleSelect()
{
    if (!peek().isWord(u"select"))
        fail(QStringLiteral("Expected SELECT"));
    SelectPtr s = parseSelect();
    acceptOp(u";");
    if (peek().type != TokenType::End)
        fail(QStringLiteral("Unexpected text after the statement"));
    return s;
}

bool Parser::parseStatement(Statement &st)
{
    const Token &t = peek();
    if (t.isWord(u"select")) {
        st.kind = StatementKind::Select;
        st.select = parseSelect();
        return true;
    }
    if (t.isWord(u"insert")) {
        parseInsert(st);
        return true;
    }
    if (t.isWord(u"update")) {
        parseUpdate(st);
        return true;
    }
    if (t.isWord(u"delete")) {
        parseDelete(st);
        return true;
    }
    if (t.isWord(u"create")) {
        parseCreate(st);
        return true;
    }
    if (t.isWord(u"alter")) {
        parseAlter(st);
        return true;
    }
    if (t.isWord(u"drop")) {
        parseDrop(st);
        return true;
    }
    if (t.isWord(u"set")) {
        next();
        if (acceptWord(u"nocount")) {
            if (!acceptWord(u"on") && !acceptWord(u"off"))
                fail(QStringLiteral("Expected ON or OFF"));
            return false; // no effect on the embedded engine
        }
        fail(QStringLiteral("SET option %1 is not supported").arg(peek().text));
    }
    if (t.isWord(u"with"))
        fail(QStringLiteral("Common table expressions (WITH) are not supported"));
    if (t.type == TokenType::Identifier)
        fail(QStringLiteral("Statement %1 is not supported").arg(t.text.toUpper()));
    unexpected();
}

void Parser::parseQualifiedName(QString &schema, QString &name, bool *quoted)
{
    QStringList parts;
    bool lastQuoted = false;
    for (;;) {
        const Token &t = peek();
        if (t.type == TokenType::Identifier && !isReserved(t)) {
            lastQuoted = false;
        } else if (t.type == TokenType::QuotedIdentifier) {
            lastQuoted = true;
        } else {
            fail(QStringLiteral("Expected a name"));
        }
        parts << next().text;
        if (!peek().isOp(u".") )
            break;
        next();
    }
    if (parts.size() > 2)
        fail(QStringLiteral("Names with a database or server part (%1) are not supported").arg(parts.join(u'.')));
    if (parts.first().startsWith(u'#') || parts.first().startsWith(u'@'))
        fail(QStringLiteral("Temporary tables and variables (%1) are not supported").arg(parts.first()));
    name = parts.last();
    schema = parts.size() == 2 ? parts.first() : QString();
    if (!schema.isEmpty() && schema.compare(u"dbo", Qt::CaseInsensitive) != 0)
        fail(QStringLiteral("Schema %1 is not supported").arg(schema));
    if (quoted)
        *quoted = lastQuoted;
}

void Parser::parseInsert(Statement &st)
{
    expectWord(u"insert");
    acceptWord(u"into");
    st.kind = StatementKind::Insert;
    QString schema;
    parseQualifiedName(schema, st.table);
    if (peek().isOp(u"(") && !peek(1).isWord(u"select"))
        st.columns = parseNameList();
    if (acceptWord(u"values")) {
        do {
            expectOp(u"(");
            std::vector<ExprPtr> row;
            do {
                row.push_back(parseExpr());
            } while (acceptOp(u","));
            expectOp(u")");
            if (!st.columns.isEmpty() && int(row.size()) != st.columns.size())
                fail(QStringLiteral("The number of values does not match the column list"));
            st.rows.push_back(std::move(row));
        } while (acceptOp(u","));
    } else if (peek().isWord(u"select") || (peek().isOp(u"(") && peek(1).isWord(u"select"))) {
        const bool paren = acceptOp(u"(");
        st.select = parseSelect();
        if (paren)
            expectOp(u")");
    } else if (peek().isWord(u"default")) {
        fail(QStringLiteral("INSERT ... DEFAULT VALUES is not supported"));
    } else {
        fail(QStringLiteral("Expected VALUES or SELECT"));
    }
}

void Parser::parseUpdate(Statement &st)
{
    expectWord(u"update");
    st.kind = StatementKind::Update;
    QString schema;
    parseQualifiedName(schema, st.table);
    expectWord(u"set");
    do {
        QString s, col;
        parseQualifiedName(s, col);
        expectOp(u"=");
        st.sets.emplace_back(col, parseExpr());
    } while (acceptOp(u","));
    if (peek().isWord(u"from"))
        fail(QStringLiteral("UPDATE ... FROM is not supported"));
    if (acceptWord(u"where"))
        st.where = parseExpr();
}

void Parser::parseDelete(Statement &st)
{
    expectWord(u"delete");
    acceptWord(u"from");
    st.kind = StatementKind::Delete;
    QString schema;
    parseQualifiedName(schema, st.table);
    if (peek().isWord(u"from"))
        fail(QStringLiteral("DELETE ... FROM ... FROM is not supported"));
    if (acceptWord(u"where"))
        st.where = parseExpr();
}

QStringList Parser::parseNameList()
{
    QStringList out;
    expectOp(u"(");
    do {
        const Token &t = peek();
        if ((t.type == TokenType::Identifier && !isReserved(t)) || t.type == TokenType::QuotedIdentifier)
            out << next().text;
        else
            fail(QStringLiteral("Expected a column name"));
    } while (acceptOp(u","));
    expectOp(u")");
    return out;
}

TypeName Parser::parseTypeName()
{
    TypeName tn;
    const Token &t = peek();
    if (t.type != TokenType::Identifier && t.type != TokenType::QuotedIdentifier)
        fail(QStringLiteral("Expected a data type"));
    tn.name = next().text.toLower();
    if (tn.name == u"dbo" && acceptOp(u"."))
        tn.name = next().text.toLower();
    if (acceptOp(u"(")) {
        if (acceptWord(u"max")) {
            tn.length = -2;
        } else if (peek().type == TokenType::Number) {
            tn.length = next().text.toInt();
            if (acceptOp(u",")) {
                if (peek().type != TokenType::Number)
                    fail(QStringLiteral("Expected a scale"));
                tn.scale = next().text.toInt();
            }
        } else {
            fail(QStringLiteral("Expected a length"));
        }
        expectOp(u")");
    }
    return tn;
}

ColumnDef Parser::parseColumnDef()
{
    ColumnDef c;
    const Token &t = peek();
    if ((t.type == TokenType::Identifier && !isReserved(t)) || t.type == TokenType::QuotedIdentifier)
        c.name = next().text;
    else
        fail(QStringLiteral("Expected a column name"));
    c.type = parseTypeName();
    for (;;) {
        if (acceptWord(u"identity")) {
            c.identity = true;
            if (acceptOp(u"(")) {
                while (!peek().isOp(u")") && peek().type != TokenType::End)
                    next();
                expectOp(u")");
            }
        } else if (acceptWord(u"not")) {
            expectWord(u"null");
            c.notNull = true;
        } else if (acceptWord(u"null")) {
        } else if (acceptWord(u"primary")) {
            expectWord(u"key");
            if (!acceptWord(u"clustered"))
                acceptWord(u"nonclustered");
            c.primaryKey = true;
        } else if (acceptWord(u"unique")) {
            c.unique = true;
        } else if (acceptWord(u"default")) {
            c.defaultValue = parsePrimary();
        } else if (acceptWord(u"constraint")) {
            next(); // the constraint's name
        } else if (acceptWord(u"references")) {
            QString schema;
            parseQualifiedName(schema, c.refTable);
            if (peek().isOp(u"(")) {
                const QStringList cols = parseNameList();
                c.refColumn = cols.value(0);
            }
        } else if (acceptWord(u"collate")) {
            next();
        } else {
            break;
        }
    }
    return c;
}

void Parser::parseCreate(Statement &st)
{
    expectWord(u"create");
    st.kind = StatementKind::Ddl;
    if (acceptWord(u"table")) {
        st.ddl = DdlKind::CreateTable;
        QString schema;
        parseQualifiedName(schema, st.table);
        expectOp(u"(");
        do {
            TableConstraint tc;
            if (acceptWord(u"constraint")) {
                tc.name = next().text;
                if (!peek().isWord(u"primary") && !peek().isWord(u"foreign") && !peek().isWord(u"unique"))
                    fail(QStringLiteral("Table constraint %1 is not supported").arg(peek().text));
            }
            if (acceptWord(u"primary")) {
                expectWord(u"key");
                if (!acceptWord(u"clustered"))
                    acceptWord(u"nonclustered");
                tc.kind = TableConstraint::PrimaryKey;
                tc.columns = parseNameList();
                st.constraints.push_back(tc);
            } else if (acceptWord(u"unique")) {
                tc.kind = TableConstraint::Unique;
                tc.columns = parseNameList();
                st.constraints.push_back(tc);
            } else if (acceptWord(u"foreign")) {
                expectWord(u"key");
                tc.kind = TableConstraint::ForeignKey;
                tc.columns = parseNameList();
                expectWord(u"references");
                QString schema2;
                parseQualifiedName(schema2, tc.refTable);
                if (peek().isOp(u"("))
                    tc.refColumns = parseNameList();
                st.constraints.push_back(tc);
            } else {
                st.columnDefs.push_back(parseColumnDef());
            }
        } while (acceptOp(u","));
        expectOp(u")");
        return;
    }
    bool unique = acceptWord(u"unique");
    if (!acceptWord(u"clustered"))
        acceptWord(u"nonclustered");
    if (acceptWord(u"index")) {
        st.ddl = DdlKind::CreateIndex;
        st.uniqueIndex = unique;
        st.indexName = next().text;
        expectWord(u"on");
        QString schema;
        parseQualifiedName(schema, st.table);
        expectOp(u"(");
        do {
            const QString col = next().text;
            bool desc = false;
            if (acceptWord(u"desc"))
                desc = true;
            else
                acceptWord(u"asc");
            st.indexColumns.emplace_back(col, desc);
        } while (acceptOp(u","));
        expectOp(u")");
        return;
    }
    fail(QStringLiteral("CREATE %1 is not supported").arg(peek().text.toUpper()));
}

void Parser::parseAlter(Statement &st)
{
    expectWord(u"alter");
    st.kind = StatementKind::Ddl;
    if (!acceptWord(u"table"))
        fail(QStringLiteral("ALTER %1 is not supported").arg(peek().text.toUpper()));
    QString schema;
    parseQualifiedName(schema, st.table);
    if (!acceptWord(u"add"))
        fail(QStringLiteral("ALTER TABLE %1 is not supported (only ADD of a column)").arg(peek().text.toUpper()));
    if (peek().isWord(u"constraint") || peek().isWord(u"primary") || peek().isWord(u"foreign"))
        fail(QStringLiteral("ALTER TABLE ADD CONSTRAINT is not supported"));
    st.ddl = DdlKind::AlterAddColumn;
    st.columnDefs.push_back(parseColumnDef());
    if (peek().isOp(u","))
        fail(QStringLiteral("ALTER TABLE ADD of several columns is not supported"));
}

void Parser::parseDrop(Statement &st)
{
    expectWord(u"drop");
    st.kind = StatementKind::Ddl;
    if (acceptWord(u"table")) {
        st.ddl = DdlKind::DropTable;
    } else if (acceptWord(u"index")) {
        st.ddl = DdlKind::DropIndex;
    } else if (acceptWord(u"view")) {
        st.ddl = DdlKind::DropView;
    } else {
        fail(QStringLiteral("DROP %1 is not supported").arg(peek().text.toUpper()));
    }
    if (acceptWord(u"if")) {
        expectWord(u"exists");
        st.ifExists = true;
    }
    QString first;
    QString schema;
    if (st.ddl == DdlKind::DropIndex) {
        // DROP INDEX name ON table | DROP INDEX table.name
        first = next().text;
        if (acceptOp(u".")) {
            st.table = first;
            st.indexName = next().text;
        } else {
            st.indexName = first;
            if (acceptWord(u"on"))
                parseQualifiedName(schema, st.table);
        }
        return;
    }
    parseQualifiedName(schema, st.table);
}

// ---------------------------------------------------------------- SELECT

SelectPtr Parser::parseSelect()
{
    Nest nest(*this);
    auto s = std::make_unique<Select>();
    s->dialect = m_dialect;
    expectWord(u"select");
    if (acceptWord(u"distinct"))
        s->distinct = true;
    else
        acceptWord(u"all");
    if (peek().isWord(u"top")) {
        if (m_dialect != Dialect::TSql)
            fail(QStringLiteral("TOP"));
        next();
        const bool paren = acceptOp(u"(");
        if (peek().type != TokenType::Number && peek().type != TokenType::Parameter)
            fail(QStringLiteral("TOP needs a number"));
        if (peek().type == TokenType::Number) {
            s->top = makeExpr(ExprKind::Literal, peek().pos);
            s->top->literal = LiteralKind::Integer;
            s->top->name = next().text;
        } else {
            s->top = makeExpr(ExprKind::Param, peek().pos);
            s->top->name = next().text;
        }
        if (paren)
            expectOp(u")");
        if (peek().isWord(u"percent"))
            fail(QStringLiteral("TOP ... PERCENT is not supported"));
        if (peek().isWord(u"with"))
            fail(QStringLiteral("TOP ... WITH TIES is not supported"));
    }
    parseSelectItems(*s);
    if (peek().isWord(u"into"))
        fail(QStringLiteral("SELECT ... INTO is not supported"));
    if (acceptWord(u"from"))
        parseFrom(*s);
    if (acceptWord(u"where"))
        s->where = parseExpr();
    if (acceptWord(u"group")) {
        expectWord(u"by");
        do {
            s->groupBy.push_back(parseExpr());
        } while (acceptOp(u","));
    }
    if (acceptWord(u"having"))
        s->having = parseExpr();
    if (acceptWord(u"order")) {
        expectWord(u"by");
        parseOrderBy(s->orderBy);
    }
    if (peek().isWord(u"union") || peek().isWord(u"except") || peek().isWord(u"intersect"))
        fail(QStringLiteral("%1 is not supported").arg(peek().text.toUpper()));
    if (peek().isWord(u"for"))
        fail(QStringLiteral("FOR XML / FOR BROWSE is not supported"));
    if (peek().isWord(u"option"))
        fail(QStringLiteral("OPTION (...) is not supported"));
    return s;
}

void Parser::parseOrderBy(std::vector<OrderItem> &out)
{
    do {
        OrderItem item;
        item.expr = parseExpr();
        if (acceptWord(u"desc"))
            item.descending = true;
        else
            acceptWord(u"asc");
        out.push_back(std::move(item));
    } while (acceptOp(u","));
}

QString Parser::parseOptionalAlias(bool *quoted)
{
    if (quoted)
        *quoted = false;
    if (acceptWord(u"as")) {
        const Token &t = peek();
        if (t.type == TokenType::Identifier || t.type == TokenType::QuotedIdentifier
            || (t.type == TokenType::String && m_dialect == Dialect::TSql)) {
            if (quoted)
                *quoted = t.type != TokenType::Identifier;
            return next().text;
        }
        fail(QStringLiteral("Expected an alias"));
    }
    const Token &t = peek();
    if (t.type == TokenType::Identifier && !isReserved(t)) {
        if (t.text.startsWith(u'@') || t.text.startsWith(u'#'))
            fail(QStringLiteral("Variables are not supported"));
        return next().text;
    }
    if (t.type == TokenType::QuotedIdentifier || (t.type == TokenType::String && m_dialect == Dialect::TSql)) {
        if (quoted)
            *quoted = true;
        return next().text;
    }
    return QString();
}

void Parser::parseSelectItems(Select &s)
{
    do {
        SelectItem item;
        const Token &t = peek();
        if (t.isOp(u"*")) {
            item.expr = makeExpr(ExprKind::Star, t.pos);
            next();
        } else if ((t.type == TokenType::Identifier || t.type == TokenType::QuotedIdentifier) && peek(1).isOp(u".")
                   && peek(2).isOp(u"*")) {
            item.expr = makeExpr(ExprKind::Star, t.pos);
            item.expr->qualifier = next().text;
            next();
            next();
        } else if (m_dialect == Dialect::TSql
                   && ((t.type == TokenType::Identifier && !isReserved(t)) || t.type == TokenType::QuotedIdentifier)
                   && peek(1).isOp(u"=")) {
            // alias = expression
            item.aliasQuoted = t.type == TokenType::QuotedIdentifier;
            item.alias = next().text;
            next();
            item.expr = parseExpr();
        } else {
            item.expr = parseExpr();
            item.alias = parseOptionalAlias(&item.aliasQuoted);
        }
        s.items.push_back(std::move(item));
    } while (acceptOp(u","));
}

void Parser::parseFrom(Select &s)
{
    s.from.push_back(parseSource());
    for (;;) {
        if (acceptOp(u",")) {
            s.from.push_back(parseSource());
            continue;
        }
        QString join;
        if (acceptWord(u"join")) {
            join = QStringLiteral("JOIN");
        } else if (acceptWord(u"inner")) {
            expectWord(u"join");
            join = QStringLiteral("JOIN");
        } else if (acceptWord(u"left")) {
            acceptWord(u"outer");
            expectWord(u"join");
            join = QStringLiteral("LEFT JOIN");
        } else if (acceptWord(u"right") || acceptWord(u"full")) {
            fail(QStringLiteral("RIGHT and FULL joins are not supported"));
        } else if (acceptWord(u"cross")) {
            if (peek().isWord(u"apply"))
                fail(QStringLiteral("CROSS APPLY is not supported"));
            expectWord(u"join");
            join = QStringLiteral("CROSS JOIN");
        } else if (peek().isWord(u"outer") && peek(1).isWord(u"apply")) {
            fail(QStringLiteral("OUTER APPLY is not supported"));
        } else {
            break;
        }
        TableRef ref = parseSource();
        ref.join = join;
        if (join != u"CROSS JOIN") {
            expectWord(u"on");
            ref.on = parseExpr();
        }
        s.from.push_back(std::move(ref));
    }
}

TableRef Parser::parseSource()
{
    TableRef ref;
    const Token &t = peek();
    if (t.isOp(u"(")) {
        next();
        if (!peek().isWord(u"select"))
            fail(QStringLiteral("Parenthesised joins are not supported"));
        ref.kind = SourceKind::Derived;
        ref.select = parseSelect();
        expectOp(u")");
        ref.alias = parseOptionalAlias();
        if (ref.alias.isEmpty())
            fail(QStringLiteral("A derived table needs an alias"));
        return ref;
    }
    if (t.isWord(u"openquery") && peek(1).isOp(u"(")) {
        if (m_dialect != Dialect::TSql)
            fail(QStringLiteral("OPENQUERY inside OPENQUERY"));
        next();
        next();
        const Token &server = peek();
        if (server.type != TokenType::Identifier && server.type != TokenType::QuotedIdentifier)
            fail(QStringLiteral("Expected a linked server name"));
        ref.kind = SourceKind::OpenQuery;
        ref.linkedServer = next().text;
        expectOp(u",");
        if (peek().type != TokenType::String)
            fail(QStringLiteral("OPENQUERY needs a quoted statement"));
        const QString inner = next().text;
        expectOp(u")");
        try {
            Parser innerParser(inner, Dialect::Oracle);
            ref.select = innerParser.parseSingleSelect();
        } catch (const TranslateError &e) {
            throw TranslateError(QStringLiteral("OPENQUERY(%1): %2").arg(ref.linkedServer, e.message()));
        }
        ref.alias = parseOptionalAlias();
        return ref;
    }
    if (t.type == TokenType::Identifier && peek(1).isOp(u"(") && !isReserved(t))
        fail(QStringLiteral("Table-valued function %1 is not supported").arg(t.text));
    parseQualifiedName(ref.schema, ref.name, &ref.nameQuoted);
    ref.alias = parseOptionalAlias();
    if (peek().isWord(u"with") && peek(1).isOp(u"("))
        fail(QStringLiteral("Table hints (WITH (...)) are not supported"));
    return ref;
}

// ---------------------------------------------------------------- expressions

// A run of one operator becomes one node with all its operands (a left-associative chain): long
// OR lists and sums are neither parsed nor walked recursively per term. Where the operator changes,
// the chain so far becomes the first operand of a new node, one nesting level deeper.
ExprPtr Parser::parseBinaryLevel(ExprPtr (Parser::*operand)(), QString (*opOf)(const Token &))
{
    ExprPtr left = (this->*operand)();
    Nest nest(*this, 0);
    for (QString op = opOf(peek()); !op.isEmpty(); op = opOf(peek())) {
        const qsizetype pos = next().pos;
        const bool sameChain = left->kind == ExprKind::Binary && left->op == op && nest.levels > 0;
        if (!sameChain) {
            nest.add();
            auto e = makeExpr(ExprKind::Binary, pos);
            e->op = op;
            e->args.push_back(std::move(left));
            left = std::move(e);
        }
        left->args.push_back((this->*operand)());
    }
    return left;
}

ExprPtr Parser::parseExpr()
{
    Nest nest(*this);
    return parseBinaryLevel(&Parser::parseAnd,
                            [](const Token &t) { return t.isWord(u"or") ? QStringLiteral("OR") : QString(); });
}

ExprPtr Parser::parseAnd()
{
    return parseBinaryLevel(&Parser::parseNot,
                            [](const Token &t) { return t.isWord(u"and") ? QStringLiteral("AND") : QString(); });
}

ExprPtr Parser::parseNot()
{
    if (peek().isWord(u"not")) {
        Nest nest(*this);
        const qsizetype pos = next().pos;
        auto e = makeExpr(ExprKind::Unary, pos);
        e->op = QStringLiteral("NOT");
        e->args.push_back(parseNot());
        return e;
    }
    return parsePredicate();
}

ExprPtr Parser::parsePredicate()
{
    if (peek().isWord(u"exists")) {
        const qsizetype pos = next().pos;
        auto e = makeExpr(ExprKind::Exists, pos);
        expectOp(u"(");
        e->select = parseSelect();
        expectOp(u")");
        return e;
    }
    ExprPtr left = parseAdditive();
    const Token &t = peek();
    static const QStringView cmp[] = {u"=", u"<>", u"!=", u"<", u">", u"<=", u">="};
    for (QStringView op : cmp) {
        if (t.isOp(op)) {
            const qsizetype pos = next().pos;
            auto e = makeExpr(ExprKind::Binary, pos);
            e->op = op == u"!=" ? QStringLiteral("<>") : op.toString();
            e->args.push_back(std::move(left));
            if (peek().isWord(u"all") || peek().isWord(u"any") || peek().isWord(u"some"))
                fail(QStringLiteral("Comparison with ALL/ANY/SOME is not supported"));
            e->args.push_back(parseAdditive());
            return e;
        }
    }
    if (t.isOp(u"!<") || t.isOp(u"!>"))
        fail(QStringLiteral("Operator %1 is not supported").arg(t.text));
    bool negated = false;
    if (t.isWord(u"not") && (peek(1).isWord(u"between") || peek(1).isWord(u"in") || peek(1).isWord(u"like"))) {
        next();
        negated = true;
    }
    if (peek().isWord(u"between")) {
        const qsizetype pos = next().pos;
        auto e = makeExpr(ExprKind::Between, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        e->args.push_back(parseAdditive());
        expectWord(u"and");
        e->args.push_back(parseAdditive());
        return e;
    }
    if (peek().isWord(u"in")) {
        const qsizetype pos = next().pos;
        expectOp(u"(");
        if (peek().isWord(u"select")) {
            auto e = makeExpr(ExprKind::InSelect, pos);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->select = parseSelect();
            expectOp(u")");
            return e;
        }
        auto e = makeExpr(ExprKind::InList, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        do {
            const Token &item = peek();
            if ((item.type == TokenType::String || item.type == TokenType::Number)
                && (peek(1).isOp(u",") || peek(1).isOp(u")"))) {
                e->args.push_back(parsePrimary()); // long lists of codes: skip the precedence levels
            } else {
                e->args.push_back(parseExpr());
            }
        } while (acceptOp(u","));
        expectOp(u")");
        return e;
    }
    if (peek().isWord(u"like")) {
        const qsizetype pos = next().pos;
        auto e = makeExpr(ExprKind::Like, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        e->args.push_back(parseAdditive());
        if (acceptWord(u"escape"))
            e->args.push_back(parseAdditive());
        return e;
    }
    if (peek().isWord(u"is")) {
        const qsizetype pos = next().pos;
        auto e = makeExpr(ExprKind::IsNull, pos);
        e->negated = acceptWord(u"not");
        expectWord(u"null");
        e->args.push_back(std::move(left));
        return e;
    }
    return left;
}

ExprPtr Parser::parseAdditive()
{
    return parseBinaryLevel(&Parser::parseMultiplicative, [](const Token &t) {
        return t.isOp(u"+") || t.isOp(u"-") || t.isOp(u"||") ? t.text : QString();
    });
}

ExprPtr Parser::parseMultiplicative()
{
    return parseBinaryLevel(&Parser::parseUnary, [](const Token &t) {
        return t.isOp(u"*") || t.isOp(u"/") || t.isOp(u"%") ? t.text : QString();
    });
}

ExprPtr Parser::parseUnary()
{
    const Token &t = peek();
    if (t.isOp(u"-") || t.isOp(u"+") || t.isOp(u"~")) {
        const QString op = t.text;
        Nest nest(*this);
        const qsizetype pos = next().pos;
        ExprPtr operand = parseUnary();
        if (op == u"+")
            return operand;
        if (op == u"-" && operand->kind == ExprKind::Literal && operand->literal != LiteralKind::Text
            && !operand->name.startsWith(u'-')) {
            operand->name.prepend(u'-');
            operand->slotNegated = true;
            operand->pos = pos;
            return operand;
        }
        if (op == u"~")
            fail(QStringLiteral("Bitwise operator ~ is not supported"));
        auto e = makeExpr(ExprKind::Unary, pos);
        e->op = op;
        e->args.push_back(std::move(operand));
        return e;
    }
    return parsePrimary();
}

ExprPtr Parser::parseCase(qsizetype pos)
{
    auto e = makeExpr(ExprKind::Case, pos);
    if (!peek().isWord(u"when")) {
        e->caseHasOperand = true;
        e->args.push_back(parseExpr());
    }
    if (!peek().isWord(u"when"))
        fail(QStringLiteral("Expected WHEN"));
    while (acceptWord(u"when")) {
        e->args.push_back(parseExpr());
        expectWord(u"then");
        e->args.push_back(parseExpr());
    }
    if (acceptWord(u"else")) {
        e->caseHasElse = true;
        e->args.push_back(parseExpr());
    }
    expectWord(u"end");
    return e;
}

ExprPtr Parser::parseFunction(const QString &schema, const QString &name, qsizetype pos)
{
    auto e = makeExpr(ExprKind::Function, pos);
    e->name = name.toUpper();
    e->qualifier = schema;
    expectOp(u"(");
    const QString upper = e->name;
    if (upper == u"CONVERT" && schema.isEmpty() && m_dialect == Dialect::TSql) {
        e->kind = ExprKind::Convert;
        e->typeName = parseTypeName();
        expectOp(u",");
        e->args.push_back(parseExpr());
        if (acceptOp(u",")) {
            if (peek().type != TokenType::Number)
                fail(QStringLiteral("CONVERT style must be a number"));
            e->style = next().text.toInt();
        }
        expectOp(u")");
        return e;
    }
    if (upper == u"CAST" && schema.isEmpty()) {
        e->kind = ExprKind::Convert;
        e->args.push_back(parseExpr());
        expectWord(u"as");
        e->typeName = parseTypeName();
        expectOp(u")");
        return e;
    }
    if (upper == u"DATEDIFF" || upper == u"DATEADD" || upper == u"DATEPART" || upper == u"DATENAME") {
        // the first argument is a bare unit word
        const Token &u = peek();
        if (u.type != TokenType::Identifier)
            fail(QStringLiteral("Expected a date part"));
        auto unit = makeExpr(ExprKind::Literal, u.pos);
        unit->literal = LiteralKind::Text;
        unit->name = next().text.toLower();
        unit->quoted = true; // marks the unit word
        e->args.push_back(std::move(unit));
        while (acceptOp(u","))
            e->args.push_back(parseExpr());
        expectOp(u")");
        return e;
    }
    if (peek().isOp(u"*")) {
        next();
        e->args.push_back(makeExpr(ExprKind::Star, pos));
    } else if (!peek().isOp(u")")) {
        if (acceptWord(u"distinct"))
            e->distinct = true;
        else
            acceptWord(u"all");
        do {
            e->args.push_back(parseExpr());
        } while (acceptOp(u","));
    }
    expectOp(u")");
    if (peek().isWord(u"over")) {
        next();
        e->hasOver = true;
        expectOp(u"(");
        if (acceptWord(u"partition")) {
            expectWord(u"by");
            do {
                e->partitionBy.push_back(parseExpr());
            } while (acceptOp(u","));
        }
        if (acceptWord(u"order")) {
            expectWord(u"by");
            parseOrderBy(e->overOrderBy);
        }
        if (peek().isWord(u"rows") || peek().isWord(u"range"))
            fail(QStringLiteral("Window frames (ROWS/RANGE) are not supported"));
        expectOp(u")");
    } else if (peek().isWord(u"within")) {
        fail(QStringLiteral("WITHIN GROUP is not supported"));
    }
    return e;
}

ExprPtr Parser::parsePrimary()
{
    const Token &t = peek();
    switch (t.type) {
    case TokenType::Number: {
        auto e = makeExpr(ExprKind::Literal, t.pos);
        e->slot = m_slots.isEmpty() ? -1 : m_slots[m_pos];
        e->name = next().text;
        e->literal = NumberIsFloat(e->name) ? LiteralKind::Float : LiteralKind::Integer;
        return e;
    }
    case TokenType::String: {
        auto e = makeExpr(ExprKind::Literal, t.pos);
        e->literal = LiteralKind::Text;
        e->slot = m_slots.isEmpty() ? -1 : m_slots[m_pos];
        e->name = next().text;
        return e;
    }
    case TokenType::Parameter: {
        auto e = makeExpr(ExprKind::Param, t.pos);
        e->name = next().text;
        return e;
    }
    case TokenType::Operator:
        if (t.isOp(u"(")) {
            const qsizetype pos = next().pos;
            if (peek().isWord(u"select")) {
                auto e = makeExpr(ExprKind::Subquery, pos);
                e->select = parseSelect();
                expectOp(u")");
                return e;
            }
            ExprPtr inner = parseExpr();
            expectOp(u")");
            return inner;
        }
        unexpected();
    case TokenType::Identifier:
    case TokenType::QuotedIdentifier: {
        const qsizetype pos = t.pos;
        if (t.type == TokenType::Identifier) {
            if (t.isWord(u"null")) {
                next();
                return makeExpr(ExprKind::Null, pos);
            }
            if (t.isWord(u"case")) {
                next();
                return parseCase(pos);
            }
            if (t.text.startsWith(u'@'))
                fail(QStringLiteral("Variables (%1) are not supported").arg(t.text));
            if (isReserved(t) && !(t.isWord(u"left") && peek(1).isOp(u"(")))
                unexpected();
        }
        const bool firstQuoted = t.type == TokenType::QuotedIdentifier;
        QString first = next().text;
        if (peek().isOp(u"(") && !firstQuoted)
            return parseFunction(QString(), first, pos);
        if (peek().isOp(u".")) {
            next();
            const Token &second = peek();
            if (second.type != TokenType::Identifier && second.type != TokenType::QuotedIdentifier)
                fail(QStringLiteral("Expected a name after '.'"));
            const bool secondQuoted = second.type == TokenType::QuotedIdentifier;
            QString name = next().text;
            if (peek().isOp(u"(") && !secondQuoted)
                return parseFunction(first, name, pos);
            if (peek().isOp(u"."))
                fail(QStringLiteral("Names with more than two parts are not supported"));
            auto e = makeExpr(ExprKind::Column, pos);
            e->qualifier = first;
            e->name = name;
            e->quoted = secondQuoted;
            return e;
        }
        auto e = makeExpr(ExprKind::Column, pos);
        e->name = first;
        e->quoted = firstQuoted;
        return e;
    }
    case TokenType::End:
        unexpected();
    }
    unexpected();
}

} // namespace sql
