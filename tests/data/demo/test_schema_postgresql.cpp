// db/postgresql/0.sql on the throwaway PostgreSQL server through unixODBC and psqlODBC: the tables,
// columns, nullability, defaults, foreign keys and indexes the server reports agree with a new embedded
// database, and the script behaves as the program needs (case-insensitive texts, identity after the code
// rows, the course function, a second run refused).

#include "PgTestServer.h"
#include "Schema.h"
#include "SqliteTestUtil.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using testutil::Db;

namespace {

const char Connection[] = "kovra_pg_schema";

QStringList batches(const QString &script)
{
    QStringList out;
    QString current;
    for (const QString &line : script.split(u'\n')) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            if (!current.trimmed().isEmpty())
                out << current;
            current.clear();
        } else {
            current += line + u'\n';
        }
    }
    if (!current.trimmed().isEmpty())
        out << current;
    return out;
}

// Type classes shared by both engines.
QString sqliteClass(const QString &declared)
{
    const QString d = declared.toUpper();
    if (d.startsWith(u"DATETIME")) return QStringLiteral("datetime");
    if (d.startsWith(u"DATE")) return QStringLiteral("date");
    if (d.startsWith(u"TIME")) return QStringLiteral("time");
    if (d == u"BIT") return QStringLiteral("flag");
    if (d.contains(u"INT")) return QStringLiteral("int");
    if (d == u"NTEXT") return QStringLiteral("longtext");
    return QStringLiteral("text:") + d.section(u'(', 1).remove(u')');
}

QString postgresClass(const QString &type, const QVariant &length)
{
    if (type == u"timestamp without time zone") return QStringLiteral("datetime");
    if (type == u"date") return QStringLiteral("date");
    if (type == u"time without time zone") return QStringLiteral("time");
    if (type == u"smallint") return QStringLiteral("flag");
    if (type == u"integer") return QStringLiteral("int");
    if (type == u"text") return QStringLiteral("longtext");
    return QStringLiteral("text:") + length.toString();
}

} // namespace

class TestSchemaPostgresql : public QObject {
    Q_OBJECT

private:
    pgtest::Server m_server;
    QString m_database;
    QTemporaryDir m_dir;

    QSqlDatabase db() { return QSqlDatabase::database(QString::fromLatin1(Connection)); }

    bool exec(const QString &sql, QString *error = nullptr)
    {
        QSqlQuery q(db());
        const bool ok = q.exec(sql);
        if (!ok && error)
            *error = q.lastError().text();
        return ok;
    }

    QStringList column(const QString &sql)
    {
        QSqlQuery q(db());
        QStringList out;
        if (!q.exec(sql))
            return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next()) {
            QStringList cells;
            for (int c = 0; c < q.record().count(); ++c)
                cells << (q.isNull(c) ? QStringLiteral("NULL") : q.value(c).toString());
            out << cells.join(u'|');
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = pgtest::FromEnvironment();
        if (!m_server.available())
            QSKIP(pgtest::SkipReason());
        m_database = pgtest::DatabaseName(QStringLiteral("db"));
        const QString error = pgtest::CreateDatabase(m_server, m_database);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(Connection));
        d.setDatabaseName(m_server.odbc(m_database));
        QVERIFY2(d.open(), qPrintable(d.lastError().text()));
        const QStringList all = batches(schema::PostgresBaseScript());
        QVERIFY(all.size() > 20);
        for (const QString &batch : all) {
            QString e;
            QVERIFY2(exec(batch, &e), qPrintable(e + u"\n" + batch));
        }
    }

    void cleanupTestCase()
    {
        if (m_database.isEmpty())
            return;
        {
            QSqlDatabase d = db();
            d.close();
        }
        QSqlDatabase::removeDatabase(QString::fromLatin1(Connection));
        const QString error = pgtest::DropDatabase(m_server, m_database);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void matchesTheEmbeddedSchema()
    {
        QString error;
        const QString path = m_dir.filePath(QStringLiteral("ref.sqlite"));
        QVERIFY2(schema::CreateSqliteDatabaseFile(path, &error), qPrintable(error));
        Db ref(path);
        QStringList embedded, server;
        for (const QString &table : ref.column(QStringLiteral(
                 "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY lower(name)"))) {
            for (const QVariantList &c : ref.rows(QStringLiteral("SELECT name, type, \"notnull\", pk, dflt_value FROM pragma_table_info(?1)"), {table}))
                embedded << QStringLiteral("%1.%2 %3 %4 %5").arg(table.toLower(), c[0].toString().toLower(), sqliteClass(c[1].toString()),
                                                               c[2].toInt() || c[3].toInt() ? QStringLiteral("NOT NULL") : QStringLiteral("NULL"),
                                                               c[3].toInt() ? QStringLiteral("identity") : c[4].toString());
        }
        QSqlQuery q(db());
        QVERIFY(q.exec(QStringLiteral(
            "SELECT table_name, column_name, data_type, character_maximum_length, is_nullable, is_identity, column_default, "
            "collation_name FROM information_schema.columns WHERE table_schema = 'public' ORDER BY table_name, ordinal_position")));
        while (q.next()) {
            const bool identity = q.value(5).toString() == u"YES";
            QString def = q.value(6).toString();
            server << QStringLiteral("%1.%2 %3 %4 %5").arg(q.value(0).toString(), q.value(1).toString(),
                                                          postgresClass(q.value(2).toString(), q.value(3)),
                                                          q.value(4).toString() == u"NO" ? QStringLiteral("NOT NULL") : QStringLiteral("NULL"),
                                                          identity ? QStringLiteral("identity") : def);
            const bool text = q.value(2).toString() == u"text" || q.value(2).toString() == u"character varying";
            QCOMPARE(q.value(7).toString(), text ? QStringLiteral("kovra_ci") : QString());
        }
        embedded.sort();
        server.sort();
        QCOMPARE(server, embedded);

        // Foreign keys and indexes.
        QStringList embeddedKeys, serverKeys;
        for (const QString &table : ref.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")))
            for (const QVariantList &fk : ref.rows(QStringLiteral("SELECT \"from\", \"table\", \"to\" FROM pragma_foreign_key_list(?1)"), {table}))
                embeddedKeys << QStringLiteral("%1.%2>%3.%4").arg(table.toLower(), fk[0].toString(), fk[1].toString(), fk[2].toString());
        serverKeys = column(QStringLiteral(
            "SELECT kcu.table_name || '.' || kcu.column_name || '>' || ccu.table_name || '.' || ccu.column_name "
            "FROM information_schema.table_constraints tc "
            "JOIN information_schema.key_column_usage kcu ON kcu.constraint_name = tc.constraint_name "
            "JOIN information_schema.constraint_column_usage ccu ON ccu.constraint_name = tc.constraint_name "
            "WHERE tc.constraint_type = 'FOREIGN KEY' AND tc.table_schema = 'public'"));
        embeddedKeys.sort();
        serverKeys.sort();
        QCOMPARE(serverKeys, embeddedKeys);

        QStringList embeddedIndexes;
        for (const QVariantList &ix : ref.rows(QStringLiteral(
                 "SELECT m.name, lower(m.tbl_name), il.\"unique\", (SELECT group_concat(name, ',') FROM pragma_index_info(m.name)) "
                 "FROM sqlite_master m JOIN pragma_index_list(m.tbl_name) il ON il.name = m.name "
                 "WHERE m.type = 'index' AND m.sql IS NOT NULL")))
            embeddedIndexes << QStringLiteral("%1%2=%3(%4)").arg(ix[2].toInt() ? QStringLiteral("!") : QString(), ix[0].toString(),
                                                                 ix[1].toString(), ix[3].toString());
        QStringList serverIndexes = column(QStringLiteral(
            "SELECT CASE WHEN i.indisunique THEN '!' ELSE '' END || c.relname || '=' || t.relname || '(' || "
            "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(i.indkey) WITH ORDINALITY AS k(attnum, n) "
            " JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum) || ')' "
            "FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_class t ON t.oid = i.indrelid "
            "JOIN pg_namespace n ON n.oid = t.relnamespace WHERE n.nspname = 'public' AND NOT i.indisprimary"));
        embeddedIndexes.sort();
        serverIndexes.sort();
        QCOMPARE(serverIndexes, embeddedIndexes);
        QVERIFY(embeddedIndexes.size() > 20);
    }

    void codeRowsAndBehaviour()
    {
        QCOMPARE(column(QStringLiteral("SELECT szerep_id, szerep_nev FROM szerepkor ORDER BY szerep_id")),
                 QStringList({QStringLiteral("1|Adminisztrátor"), QStringLiteral("2|Tanulmányi ügyintéző"), QStringLiteral("3|Oktató"),
                              QStringLiteral("4|Kártyakezelő"), QStringLiteral("5|Hallgató")}));
        QCOMPARE(column(QStringLiteral("SELECT jt_jel || jt_mas FROM jelenlet_tipusa ORDER BY jt_id")),
                 QStringList({QStringLiteral("ü+"), QStringLiteral("ű-"), QStringLiteral("ţP")}));
        QCOMPARE(column(QStringLiteral("Select ADATBAZIS_VERZIO from beallitasok")), QStringList{QStringLiteral("0")});
        // New rows continue after the explicit code ids.
        QCOMPARE(column(QStringLiteral("INSERT INTO szerepkor (szerep_nev) VALUES ('x') RETURNING szerep_id")), QStringList{QStringLiteral("6")});

        for (const char *sql : {"INSERT INTO kurzus (kurzus_kod, kurzus_nev) VALUES ('L01', 'L01'), ('E01', 'E01'), ('GY02', 'GY02')",
                                "INSERT INTO felvett_tantargy (kurzus_id) VALUES ('1'), ('2'), ('3')",
                                "INSERT INTO orarend (orarend_nev, orarend_mettol, orarend_heti) VALUES ('Győri óra', '08:15:00.0000', '1')",
                                "INSERT INTO orarend (orarend_nev) VALUES ('Üres')",
                                "INSERT INTO orarend_csoport (orarend_id, ft_id) VALUES (1, 1), (1, 3), (1, 2)",
                                "INSERT INTO orarend_datum (orarend_id, od_datum) VALUES ('1', '20240903')",
                                "INSERT INTO hallgato (hallgato_kod, hallgato_nev) VALUES ('abc12x', 'Szűcs Ödön')"}) {
            QString error;
            QVERIFY2(exec(QString::fromUtf8(sql), &error), qPrintable(error + u"\n" + QString::fromUtf8(sql)));
        }
        QCOMPARE(column(QStringLiteral("SELECT orarend_nev || ' - ' || dbo.orarend_kurzus(orarend_id), orarend_heti, orarend_potlas "
                                       "FROM orarend ORDER BY orarend_id")),
                 QStringList({QStringLiteral("Győri óra - E01, GY02, L01|1|0"), QStringLiteral("Üres - |0|0")}));
        QCOMPARE(column(QStringLiteral("SELECT od_datum FROM orarend_datum")), QStringList{QStringLiteral("2024-09-03")});
        // Case-insensitive, accent-sensitive, and no letter lost on the way in.
        QCOMPARE(column(QStringLiteral("SELECT hallgato_nev FROM hallgato WHERE hallgato_kod IN ('ABC12X') AND hallgato_nev = 'SZŰCS ÖDÖN'")),
                 QStringList{QStringLiteral("Szűcs Ödön")});
        QCOMPARE(column(QStringLiteral("SELECT count(*) FROM hallgato WHERE hallgato_nev = 'Szucs Odon'")), QStringList{QStringLiteral("0")});

        QString error;
        QVERIFY(!exec(QStringLiteral("INSERT INTO orarend (orarend_nev, orarend_heti) VALUES ('x', 2)"), &error));
        QVERIFY2(error.contains(QStringLiteral("ck_orarend_heti")), qPrintable(error));
        QVERIFY(!exec(QStringLiteral("DELETE FROM felvett_tantargy WHERE ft_id = 1"), &error));
        QVERIFY2(error.contains(QStringLiteral("foreign key")), qPrintable(error));
    }

    void secondRunIsRefused()
    {
        QString error;
        QVERIFY(!exec(batches(schema::PostgresBaseScript()).first(), &error));
        QVERIFY2(error.contains(QStringLiteral("already exist")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSchemaPostgresql)
#include "test_schema_postgresql.moc"
