// The differential check: every statement of corpus.sql runs on the embedded engine and on
// PostgreSQL, both holding the demo database's rows, and gives the same rows (in order where the
// statement orders), the same number of written rows, or a refusal on both.

#include "Connection.h"
#include "DatabaseConfig.h"
#include "DbError.h"
#include "IniFile.h"
#include "OdbcBackend.h"
#include "PgFixture.h"
#include "SqliteBackend.h"
#include "sql/Collation.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

const QList<QPair<QString, QVariant>> Parameters = {
    {"OR_ID", 1}, {"FT_ID", 1}, {"KAR_ID", 1}, {"HALL_ID", 1}, {"FE_ID", 1}, {"hal_id", 1}, {"OKT_ID", 1},
    {"HAL_ID", 1}, {"tan_id", 1}, {"fe_id", 1}, {"jelszo", 12345}, {"nev", QStringLiteral("ADMIN")}};

// The demo's "today" and the fixed server time of both engines.
const QDateTime Now(QDate(2024, 11, 13), QTime(10, 0, 0));

QList<QPair<QString, QString>> corpus()
{
    QList<QPair<QString, QString>> out;
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/tests/data/sql/corpus.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QString title, text;
    auto flush = [&] {
        if (!text.trimmed().isEmpty())
            out.append({QStringLiteral("%1 %2").arg(out.size() + 1, 3, 10, QLatin1Char('0')).arg(title), text});
        text.clear();
        title.clear();
    };
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            flush();
            continue;
        }
        if (line.startsWith(u"-- ") && title.isEmpty() && text.trimmed().isEmpty()) {
            title = line.mid(3).trimmed();
            continue;
        }
        text += line + u'\n';
    }
    flush();
    return out;
}

// A value in one form for both engines.
QVariant normal(const QVariant &v) { return pgfixture::embeddedForm(v); }

// The statement's own ORDER BY (outside parentheses), if any.
bool ordersRows(const QString &tsql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"), QRegularExpression::CaseInsensitiveOption);
    int depth = 0;
    bool inText = false;
    for (qsizetype i = 0; i < tsql.size(); ++i) {
        const QChar c = tsql[i];
        if (c == u'\'')
            inText = !inText;
        if (inText)
            continue;
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && (c == u'o' || c == u'O') && orderBy.match(tsql, i, QRegularExpression::NormalMatch,
                                                                         QRegularExpression::AnchorAtOffsetMatchOption).hasMatch())
            return true;
    }
    return false;
}

QString rowText(const QVector<QVariant> &row)
{
    QStringList cells;
    for (const QVariant &v : row)
        cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    return cells.join(QStringLiteral(" | "));
}

struct Outcome {
    QString error;
    QStringList columns;
    pgfixture::Rows rows;
    qint64 changes = -1;
};

} // namespace

class TestCorpusServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void agrees_data();
    void agrees();

private:
    void copyDemoRows();
    Outcome onEmbedded(const QString &tsql, bool select);
    Outcome onServer(const QString &tsql, bool select);

    QTemporaryDir m_demo;
    Connection m_conn;
    std::unique_ptr<pgfixture::Database> m_pg;
    QStringList m_differences;
};

void TestCorpusServer::initTestCase()
{
    const auto server = pgfixture::Server::fromEnvironment();
    if (!server)
        QSKIP("No PostgreSQL test server (KOVRA_PG_HOST is not set): this test runs in the server fixture");
    QFile schema(QStringLiteral(KOVRA_SOURCE_DIR "/db/postgresql/0.sql"));
    QVERIFY2(schema.open(QIODevice::ReadOnly), "db/postgresql/0.sql is missing");
    QVERIFY(m_demo.isValid());
    QProcess demo;
    demo.start(QStringLiteral(KOVRA_DEMO_TOOL), {m_demo.path(), QStringLiteral("--today"), QStringLiteral("2024-11-13")});
    QVERIFY(demo.waitForFinished(120000));
    QVERIFY2(demo.exitStatus() == QProcess::NormalExit && demo.exitCode() == 0, demo.readAllStandardError().constData());
    const DatabaseConfig config = ReadDatabaseConfig(IniFile(m_demo.filePath(QStringLiteral("kovra.ini"))), false);
    m_conn.setConnectionString(ComposeConnectionString(config));
    m_conn.setNeptunDatabase(config.neptun);
    m_conn.setClock([] { return Now; });
    m_conn.open();
    QVERIFY(m_conn.isEmbedded());
    // the schema, the support functions (also when the schema already holds them) and the rows
    m_pg = std::make_unique<pgfixture::Database>(*server, QStringLiteral("kovra_corpus"),
                                                 pgfixture::withoutGo(QString::fromUtf8(schema.readAll())) + u'\n'
                                                     + sql::PostgreSqlSupportScript());
    copyDemoRows();
    m_pg->raw(QStringLiteral("SET kovra.now = '%1'").arg(Now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
}

void TestCorpusServer::cleanupTestCase()
{
    if (!m_differences.isEmpty())
        qInfo().noquote() << "Differences between the engines:\n" + m_differences.join(u'\n');
    m_pg.reset();
}

// Every table of the demo database and of its Neptun stand-in, row for row, key values included.
void TestCorpusServer::copyDemoRows()
{
    sqlite3 *db = static_cast<SqliteBackend *>(m_conn.backend())->handle();
    auto texts = [&](const QString &sql) {
        QVector<QStringList> out;
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const int type = sqlite3_column_type(st, c);
                const QString v = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
                row << (type == SQLITE_NULL ? QStringLiteral("NULL")
                        : type == SQLITE_TEXT ? u'\'' + QString(v).replace(u'\'', QStringLiteral("''")) + u'\''
                                              : v);
            }
            out << row;
        }
        sqlite3_finalize(st);
        return out;
    };
    // tables in the order their foreign keys allow
    QStringList order;
    {
        QMultiHash<QString, QString> needs;
        for (const pgfixture::Rows::value_type &r : m_pg->raw(QStringLiteral(
                 "SELECT c.conrelid::regclass::text, c.confrelid::regclass::text FROM pg_constraint c WHERE c.contype = 'f'")))
            if (r[0] != r[1])
                needs.insert(r[0].toString(), r[1].toString());
        QStringList left;
        for (const QVector<QStringList>::value_type &r : texts(QStringLiteral("SELECT lower(name) FROM main.sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'")))
            left << r[0].mid(1, r[0].size() - 2);
        while (!left.isEmpty()) {
            const qsizetype before = left.size();
            for (qsizetype i = 0; i < left.size(); ++i) {
                bool ready = true;
                for (const QString &n : needs.values(left[i]))
                    ready = ready && (order.contains(n) || !left.contains(n));
                if (ready)
                    order << left.takeAt(i--);
            }
            QVERIFY2(left.size() < before, "foreign keys in a cycle");
        }
    }
    QString script;
    // the code rows of the schema are the demo's too
    for (qsizetype i = order.size() - 1; i >= 0; --i)
        script += QStringLiteral("DELETE FROM %1;\n").arg(order[i]);
    for (const QString &table : std::as_const(order)) {
        const QVector<QStringList> rows = texts(QStringLiteral("SELECT * FROM main.\"%1\"").arg(table));
        QStringList columns;
        for (const QStringList &c : texts(QStringLiteral("PRAGMA main.table_info(\"%1\")").arg(table)))
            columns << c[1].mid(1, c[1].size() - 2).toLower();
        for (const QStringList &r : rows)
            script += QStringLiteral("INSERT INTO %1 (%2) OVERRIDING SYSTEM VALUE VALUES (%3);\n").arg(table, columns.join(u','), r.join(u','));
        if (const sql::TableInfo *t = m_pg->catalog.table(table))
            for (const sql::ColumnInfo &c : t->columns)
                if (c.identity)
                    script += QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), coalesce(max(%2), 0) + 1, false) FROM %1;\n")
                                  .arg(table, c.name);
    }
    // the Neptun stand-in: numbers, its dates as timestamps, other columns as texts
    script += QStringLiteral("CREATE SCHEMA IF NOT EXISTS neptun;\n");
    for (const QStringList &t : texts(QStringLiteral("SELECT name FROM neptun.sqlite_schema WHERE type = 'table'"))) {
        const QString table = t[0].mid(1, t[0].size() - 2);
        QStringList defs, names;
        for (const QStringList &c : texts(QStringLiteral("PRAGMA neptun.table_info(\"%1\")").arg(table))) {
            const QString name = c[1].mid(1, c[1].size() - 2);
            const QString declared = c[2].toUpper();
            names << name;
            defs << name + (declared.contains(QLatin1String("INT")) ? QStringLiteral(" bigint")
                            : name.toUpper().contains(QLatin1String("DATE")) ? QStringLiteral(" timestamp")
                                                                            : QStringLiteral(" text"));
        }
        script += QStringLiteral("DROP TABLE IF EXISTS neptun.%1;\nCREATE TABLE neptun.%1 (%2);\n").arg(table, defs.join(u','));
        for (const QStringList &r : texts(QStringLiteral("SELECT * FROM neptun.\"%1\"").arg(table)))
            script += QStringLiteral("INSERT INTO neptun.%1 (%2) VALUES (%3);\n").arg(table, names.join(u','), r.join(u','));
    }
    m_pg->raw(QStringLiteral("SET client_min_messages = warning"));
    QVERIFY(m_pg->connection().transaction());
    QSqlQuery q(m_pg->connection());
    for (const QString &statement : script.split(QStringLiteral(";\n"), Qt::SkipEmptyParts))
        QVERIFY2(q.exec(statement), qPrintable(pgfixture::Database::serverText(q.lastError()) + QStringLiteral(" in: ") + statement.left(300)));
    QVERIFY(m_pg->connection().commit());
    // the planner's statistics, as autovacuum keeps them on a server in use
    m_pg->raw(QStringLiteral("ANALYZE"));
    m_pg->reloadCatalog();
}

void TestCorpusServer::agrees_data()
{
    QTest::addColumn<QString>("tsql");
    const auto statements = corpus();
    QVERIFY(statements.size() > 100);
    for (const auto &[title, text] : statements)
        QTest::newRow(qPrintable(title)) << text;
}

Outcome TestCorpusServer::onEmbedded(const QString &tsql, bool select)
{
    Outcome out;
    sqlite3 *db = static_cast<SqliteBackend *>(m_conn.backend())->handle();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    try {
        if (select) {
            const ResultSet r = m_conn.query(QStringLiteral("corpus"), tsql, Parameters);
            for (const ResultColumn &c : r.columns)
                out.columns << c.name;
            for (const QVector<QVariant> &row : r.rows) {
                QVector<QVariant> n;
                for (const QVariant &v : row)
                    n << normal(v);
                out.rows << n;
            }
        } else {
            out.changes = m_conn.execute(QStringLiteral("corpus"), tsql, Parameters);
        }
    } catch (const DbError &e) {
        out.error = e.message();
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return out;
}

Outcome TestCorpusServer::onServer(const QString &tsql, bool select)
{
    Outcome out;
    QSqlDatabase db = m_pg->connection();
    db.transaction();
    QVariantMap params;
    for (const auto &[name, value] : Parameters)
        params.insert(name, value);
    QString table;
    try {
        out.rows = m_pg->run(tsql, params);
        out.columns = m_pg->columns;
        if (!select)
            out.changes = m_pg->changes;
        if (!OdbcBackend::isScopeIdentityQuery(tsql)) {
            const auto batch = m_pg->translator->translate(tsql);
            if (!batch->statements.isEmpty() && batch->statements[0].kind == sql::StatementKind::Insert)
                table = batch->statements[0].targetTable;
        }
    } catch (const sql::TranslateError &e) {
        out.error = e.message();
    } catch (const pgfixture::SqlError &e) {
        out.error = e.message;
    }
    db.rollback();
    // keys handed out inside the rolled-back transaction are handed out again, as on the embedded engine
    if (const sql::TableInfo *t = table.isEmpty() ? nullptr : m_pg->catalog.table(table))
        for (const sql::ColumnInfo &c : t->columns)
            if (c.identity)
                m_pg->raw(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), coalesce(max(%2), 0) + 1, false) FROM %1")
                              .arg(table.toLower(), c.name));
    return out;
}

void TestCorpusServer::agrees()
{
    QFETCH(QString, tsql);
    const bool select = tsql.trimmed().startsWith(u"select", Qt::CaseInsensitive);
    const Outcome expected = onEmbedded(tsql, select);
    const Outcome actual = onServer(tsql, select);
    static const QRegularExpression ddl(QStringLiteral("^\\s*(create|alter|drop)\\s"),
                                        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    if (ddl.match(tsql).hasMatch()) {
        m_conn.close();
        m_conn.open();
        m_pg->reloadCatalog();
    }
    const QString title = QString::fromUtf8(QTest::currentDataTag());
    if (!expected.error.isEmpty() || !actual.error.isEmpty()) {
        QVERIFY2(!expected.error.isEmpty(), qPrintable(QStringLiteral("only PostgreSQL refuses: ") + actual.error));
        QVERIFY2(!actual.error.isEmpty(), qPrintable(QStringLiteral("only the embedded engine refuses: ") + expected.error));
        if (expected.error != actual.error)
            m_differences << QStringLiteral("%1: both refuse, embedded \"%2\", PostgreSQL \"%3\"").arg(title, expected.error, actual.error);
        return;
    }
    if (!select) {
        QCOMPARE(actual.changes, expected.changes);
        return;
    }
    QCOMPARE(actual.columns.size(), expected.columns.size());
    static const QRegularExpression word(QStringLiteral("^\\w+$"));
    for (int c = 0; c < expected.columns.size(); ++c)
        if (word.match(expected.columns[c]).hasMatch())
            QCOMPARE(actual.columns[c].toLower(), expected.columns[c].toLower());
    QCOMPARE(actual.rows.size(), expected.rows.size());
    if (actual.rows == expected.rows)
        return;
    QStringList a, e;
    for (const auto &r : actual.rows)
        a << rowText(r);
    for (const auto &r : expected.rows)
        e << rowText(r);
    QStringList sa = a, se = e;
    sa.sort();
    se.sort();
    QVERIFY2(sa == se, qPrintable(QStringLiteral("rows differ\nembedded:\n%1\nPostgreSQL:\n%2").arg(e.join(u'\n'), a.join(u'\n'))));
    if (!ordersRows(tsql))
        return; // no order asked for
    // rows equal under the statement's order may come in either order on either engine: some
    // column must hold the same sequence on both, and rows differ only within its runs of equal values
    auto same = [](const QVariant &x, const QVariant &y) {
        if (x.typeId() == QMetaType::QString && y.typeId() == QMetaType::QString)
            return sql::CompareFolded(x.toString(), y.toString()) == 0;
        return x == y;
    };
    for (qsizetype c = 0; c < expected.columns.size(); ++c) {
        bool ok = true;
        for (qsizetype i = 0; ok && i < expected.rows.size(); ++i)
            ok = same(expected.rows[i][c], actual.rows[i][c]);
        for (qsizetype from = 0; ok && from < expected.rows.size();) {
            qsizetype to = from + 1;
            while (to < expected.rows.size() && same(expected.rows[to][c], expected.rows[from][c]))
                ++to;
            QStringList x = e.mid(from, to - from), y = a.mid(from, to - from);
            x.sort();
            y.sort();
            ok = x == y;
            from = to;
        }
        if (ok) {
            m_differences << QStringLiteral("%1: rows with equal order keys (column %2) in another order").arg(title, expected.columns[c]);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("the order differs\nembedded:\n%1\nPostgreSQL:\n%2").arg(e.join(u'\n'), a.join(u'\n'))));
}

QTEST_GUILESS_MAIN(TestCorpusServer)
#include "test_corpus_server.moc"
