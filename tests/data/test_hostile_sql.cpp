// Statements nobody composes on purpose, through the program's connection to the embedded engine:
// long flat chains run, deep nesting is refused with a message, texts holding any character arrive
// intact, and the statement corpus mutated a few thousand ways gives rows or a clean error.

#include "DataFixture.h"
#include "DbError.h"
#include "SqliteBackend.h"

#include <QRegularExpression>
#include <QTest>

#include <random>

namespace {

QString chain(int terms, const QString &term, const QString &op)
{
    QStringList parts;
    parts.reserve(terms);
    for (int i = 0; i < terms; ++i)
        parts << term.arg(i);
    return parts.join(op);
}

QString repeat(const QString &text, int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += text;
    return out;
}

// The statements of corpus.sql (batches separated by GO lines, comment lines left out).
QStringList corpus()
{
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/tests/data/sql/corpus.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    QString text;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            if (!text.trimmed().isEmpty())
                out << text;
            text.clear();
        } else if (!line.startsWith(u"--")) {
            text += line + u'\n';
        }
    }
    return out;
}

} // namespace

class TestHostileSql : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;

    QVariant scalar(const QString &sql, const StatementParams &params = {})
    {
        const ResultSet r = fx->conn().query(QStringLiteral("test"), sql, params);
        return r.rows.isEmpty() ? QVariant() : r.rows[0][0];
    }

private Q_SLOTS:
    void initTestCase()
    {
        fx = std::make_unique<DataFixture>(BaseSchema());
        for (int i = 1; i <= 3; ++i)
            fx->conn().execute(QStringLiteral("t"), QStringLiteral("Insert Into hallgato (hallgato_kod, hallgato_nev) Values ('K%1', 'Hallgató %1')").arg(i));
    }

    void flatChainsRun_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariant>("value");
        const QString count = QStringLiteral("Select count(*) From hallgato Where ");
        QTest::newRow("10,000 OR") << count + chain(10000, QStringLiteral("hallgato_kod='X%1'"), QStringLiteral(" OR "))
                                          + QStringLiteral(" OR hallgato_kod='K2'")
                                   << QVariant(qint64(1));
        QTest::newRow("10,000 AND") << count + chain(10000, QStringLiteral("hallgato_id<>%1 + 100"), QStringLiteral(" AND "))
                                    << QVariant(qint64(3));
        QTest::newRow("10,000 +") << QStringLiteral("Select ") + chain(10000, QStringLiteral("1"), QStringLiteral(" + ")) + QStringLiteral(" as n")
                                  << QVariant(qint64(10000));
        QTest::newRow("10,000 + of a column") << QStringLiteral("Select ") + chain(10000, QStringLiteral("hallgato_id"), QStringLiteral("+"))
                                                     + QStringLiteral(" From hallgato Where hallgato_id=2")
                                              << QVariant(qint64(20000));
        QTest::newRow("10,000 text +") << QStringLiteral("Select len(") + chain(10000, QStringLiteral("'ab'"), QStringLiteral(" + ")) + u')'
                                       << QVariant(qint64(20000));
        QTest::newRow("a sum turning into a text") << QStringLiteral("Select 1 + 2 + hallgato_kod From hallgato Where hallgato_id=1")
                                                   << QVariant();
        QTest::newRow("1,000 minus") << QStringLiteral("Select 100000 - ") + chain(999, QStringLiteral("1"), QStringLiteral(" - ")) + QStringLiteral(" as n")
                                     << QVariant(qint64(99001));
    }
    void flatChainsRun()
    {
        QFETCH(QString, sql);
        QFETCH(QVariant, value);
        try {
            const QVariant v = scalar(sql);
            if (value.isValid())
                QCOMPARE(v.toLongLong(), value.toLongLong());
        } catch (const DbError &e) {
            // T-SQL converts 'K1' to a number here and fails; anything else is a fault
            QVERIFY2(!value.isValid() && e.message().contains(QStringLiteral("conver"), Qt::CaseInsensitive), qPrintable(e.message()));
        }
    }

    void deepNestingIsRefused_data()
    {
        QTest::addColumn<QString>("sql");
        const int n = 10000;
        QTest::newRow("parentheses") << QStringLiteral("Select ") + repeat(QStringLiteral("("), n) + u'1' + repeat(QStringLiteral(")"), n);
        QTest::newRow("isnull") << QStringLiteral("Select ") + repeat(QStringLiteral("isnull("), n) + u'1' + repeat(QStringLiteral(",0)"), n);
        QTest::newRow("case when") << QStringLiteral("Select ") + repeat(QStringLiteral("case when 1=1 then "), n) + u'1'
                                          + repeat(QStringLiteral(" end"), n);
        QTest::newRow("not") << QStringLiteral("Select count(*) From hallgato Where ") + repeat(QStringLiteral("not "), n) + QStringLiteral("1=1");
        QTest::newRow("unary minus") << QStringLiteral("Select ") + repeat(QStringLiteral("- "), n) + QStringLiteral("hallgato_id From hallgato");
        QTest::newRow("subqueries") << QStringLiteral("Select ") + repeat(QStringLiteral("(Select "), 5000) + u'1' + repeat(QStringLiteral(")"), 5000);
        QTest::newRow("alternating + and -") << QStringLiteral("Select 1") + repeat(QStringLiteral(" + 1 - 1"), n);
        QTest::newRow("AND inside OR") << QStringLiteral("Select count(*) From hallgato Where ")
                                              + repeat(QStringLiteral("(hallgato_id=1 or "), n) + QStringLiteral("1=1") + repeat(QStringLiteral(")"), n);
    }
    void deepNestingIsRefused()
    {
        QFETCH(QString, sql);
        try {
            scalar(sql);
            QFAIL("accepted");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("nested too deeply")), qPrintable(e.message().left(300)));
        }
    }

    void moderateNestingRuns()
    {
        // deeper than SQLite's own parser takes: its refusal in the same words
        try {
            scalar(QStringLiteral("Select ") + repeat(QStringLiteral("isnull("), 150) + u'5' + repeat(QStringLiteral(",0)"), 150));
            QFAIL("accepted");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("nested too deeply")), qPrintable(e.message()));
        }
        QCOMPARE(scalar(QStringLiteral("Select ") + repeat(QStringLiteral("("), 60) + u'7' + repeat(QStringLiteral(")"), 60)).toLongLong(), 7);
        QCOMPARE(scalar(QStringLiteral("Select ") + repeat(QStringLiteral("isnull("), 30) + u'5' + repeat(QStringLiteral(",0)"), 30)).toLongLong(), 5);
    }

    // Every character of a text reaches the database as it is: bound (no parameters in the
    // statement) and printed into the statement (with a parameter, or in the select list).
    void textsArriveIntact_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("NUL") << QString::fromUtf16(u"a\0b", 3);
        QTest::newRow("NUL only") << QString(QChar(0));
        QTest::newRow("control bytes") << QString::fromUtf16(u"\x01\x02\x1f\x7f\t\r\n x");
        QTest::newRow("quotes and NUL") << QString::fromUtf16(u"O'Neil\0''\0", 10);
        QTest::newRow("accents") << QStringLiteral("Árvíztűrő tükörfúrógép");
    }
    void textsArriveIntact()
    {
        QFETCH(QString, text);
        const QString literal = u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
        Connection &c = fx->conn();
        c.execute(QStringLiteral("t"), QStringLiteral("Delete From esemenynaplo"));
        const QString insert = QStringLiteral("Insert Into esemenynaplo (etipus_id, esemeny_datum, uj_ertek, felh_id) Values (1, getdate(), ");
        c.execute(QStringLiteral("t"), insert + literal + QStringLiteral(", 1)"));
        c.execute(QStringLiteral("t"), insert + literal + QStringLiteral(", :F)"), {{QStringLiteral("F"), 2}});
        const ResultSet r = c.query(QStringLiteral("t"), QStringLiteral("Select uj_ertek, felh_id From esemenynaplo Order By felh_id"));
        QCOMPARE(r.rows.size(), 2);
        QCOMPARE(r.rows[0][0].toString(), text);
        QCOMPARE(r.rows[1][0].toString(), text);
        QCOMPARE(scalar(QStringLiteral("Select ") + literal + QStringLiteral(" as v")).toString(), text);
        QCOMPARE(scalar(QStringLiteral("Select count(*) From esemenynaplo Where uj_ertek=") + literal).toLongLong(), 2);
        QCOMPARE(scalar(QStringLiteral("Select count(*) From esemenynaplo Where uj_ertek=") + literal + QStringLiteral(" and felh_id>:F"),
                        {{QStringLiteral("F"), 0}})
                     .toLongLong(),
                 2);
    }

    // A fixed sequence of edits of the corpus: each mutant gives rows or a clean error, never a
    // crash; writes are rolled back so every mutant meets the same database.
    void mutatedCorpus()
    {
        const QStringList statements = corpus();
        QVERIFY(statements.size() > 100);
        static const QStringList pieces = {
            QStringLiteral("("), QStringLiteral(")"), QStringLiteral("'"), QStringLiteral(","), QStringLiteral(" select "),
            QStringLiteral(" or "), QStringLiteral(" and "), QStringLiteral("+"), QString(QChar(0)), QStringLiteral("--"),
            QStringLiteral("/*"), QStringLiteral(" case when "), QStringLiteral(" end "), QStringLiteral(" null "), QStringLiteral("["),
            QStringLiteral("]"), QStringLiteral(":P"), QStringLiteral("@x"), QStringLiteral("99999999999999999999999"),
            QStringLiteral("1e999"), QStringLiteral("'\x01'"), QStringLiteral(";"), QStringLiteral(" is not "),
            QStringLiteral(" in ("), QStringLiteral(" between "), QStringLiteral("convert(datetime, "), QStringLiteral("N'ő'"),
            QStringLiteral(" top 0 "), QStringLiteral(" order by "), QStringLiteral(" group by "), QStringLiteral("."),
            QStringLiteral("*"), QStringLiteral("\""), QStringLiteral(" union "), QStringLiteral("-"), QStringLiteral(" not ")};
        std::mt19937 random(15);
        auto below = [&](qsizetype n) { return n <= 0 ? qsizetype(0) : qsizetype(random() % quint32(n)); };
        Connection &c = fx->conn();
        sqlite3 *db = static_cast<SqliteBackend *>(c.backend())->handle();
        static const QRegularExpression ddl(QStringLiteral("\\b(create|alter|drop)\\b"), QRegularExpression::CaseInsensitiveOption);
        int ran = 0, refused = 0;
        for (int i = 0; i < 3000; ++i) {
            QString s = statements[below(statements.size())];
            const int edits = 1 + int(below(3));
            for (int e = 0; e < edits; ++e) {
                const qsizetype at = below(s.size() + 1);
                switch (below(6)) {
                case 0: s.remove(at, 1 + below(12)); break;
                case 1: s.insert(at, pieces[below(pieces.size())]); break;
                case 2: s.insert(at, s.mid(below(s.size()), 1 + below(40))); break;
                case 3: s.truncate(at); break;
                case 4: s.insert(at, repeat(QStringLiteral("("), 300)); break;
                default: s.replace(at, 1, QChar(char16_t(below(0x80)))); break;
                }
            }
            QCOMPARE(sqlite3_exec(db, "SAVEPOINT mutant", nullptr, nullptr, nullptr), SQLITE_OK);
            try {
                if (s.trimmed().startsWith(u"select", Qt::CaseInsensitive))
                    c.query(QStringLiteral("mutant"), s, {{QStringLiteral("P"), 1}});
                else
                    c.execute(QStringLiteral("mutant"), s, {{QStringLiteral("P"), 1}});
                ++ran;
            } catch (const DbError &e) {
                QVERIFY2(!e.message().isEmpty(), qPrintable(s));
                ++refused;
            }
            QCOMPARE(sqlite3_exec(db, "ROLLBACK TO mutant; RELEASE mutant", nullptr, nullptr, nullptr), SQLITE_OK);
            if (ddl.match(s).hasMatch()) {
                c.close();
                c.open();
                db = static_cast<SqliteBackend *>(c.backend())->handle();
            }
        }
        QCOMPARE(ran + refused, 3000);
        QVERIFY(ran > 0 && refused > 0);
        QCOMPARE(scalar(QStringLiteral("Select count(*) From hallgato")).toLongLong(), 3);
    }
};

QTEST_GUILESS_MAIN(TestHostileSql)
#include "test_hostile_sql.moc"
