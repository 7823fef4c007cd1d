// kovra-demo --server on the throwaway PostgreSQL server: the same rows as the embedded demo of the same
// day (the KOVRA tables and the Neptun stand-in as schema neptun), a kovra.ini pointing at it, a database
// with tables refused unless --force; kovra-sql --check and --backup on that server.

#include "EngineDigest.h"
#include "PgTestServer.h"
#include "SqliteTestUtil.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using testutil::Db;

namespace {
const QString Bin = QStringLiteral(KOVRA_BINARY_DIR "/src/data/");
const char ConnectionName[] = "demo-check";

struct Run {
    int code = -1;
    QString out, err;
};

Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(Bin + program, args);
    Run r;
    if (!p.waitForFinished(180000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
} // namespace

class TestDemoServer : public QObject {
    Q_OBJECT
    pgtest::Server m_server;
    QString m_db;
    QTemporaryDir m_dir;

    QStringList demoArgs(const QString &folder) const
    {
        return {QStringLiteral("--server"), m_server.dataSource(), QStringLiteral("--database"), m_db, QStringLiteral("--user"),
                m_server.user, QStringLiteral("--password"), m_server.password, QStringLiteral("--today"), QStringLiteral("2024-11-13"),
                folder};
    }
    QStringList serverRows(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(QString::fromLatin1(ConnectionName)));
        if (!q.exec(sql))
            return {QStringLiteral("error: ") + q.lastError().text()};
        QStringList out;
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
        m_db = pgtest::DatabaseName(QStringLiteral("demo"));
        const QString error = pgtest::CreateDatabase(m_server, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanupTestCase()
    {
        if (m_db.isEmpty())
            return;
        QSqlDatabase::database(QString::fromLatin1(ConnectionName)).close();
        QSqlDatabase::removeDatabase(QString::fromLatin1(ConnectionName));
        pgtest::DropDatabase(m_server, m_db);
    }

    void loadsTheEmbeddedDemoRows()
    {
        const QString folder = m_dir.filePath(QStringLiteral("server"));
        const Run loaded = run(QStringLiteral("kovra-demo"), demoArgs(folder));
        QVERIFY2(loaded.code == 0, qPrintable(loaded.err));
        const Run embedded = run(QStringLiteral("kovra-demo"), {m_dir.filePath(QStringLiteral("embedded")), QStringLiteral("--today"),
                                                                QStringLiteral("2024-11-13")});
        QVERIFY2(embedded.code == 0, qPrintable(embedded.err));

        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(ConnectionName));
        d.setDatabaseName(m_server.odbc(m_db));
        QVERIFY2(d.open(), qPrintable(d.lastError().text()));
        // every table, row for row: a digest of its rows
        for (const char *file : {"embedded/KOVRA.sqlite", "embedded/NEPTUN.sqlite"}) {
            Db lite(m_dir.filePath(QString::fromLatin1(file)));
            const QString schema = QString::fromLatin1(file).contains(u"NEPTUN") ? QStringLiteral("neptun") : QStringLiteral("public");
            const QStringList tables = enginedigest::SqliteTables(lite.handle());
            QVERIFY(tables.size() > 10);
            for (const QString &table : tables)
                QCOMPARE(enginedigest::PostgresDigest(d, schema, table), enginedigest::SqliteDigest(lite.handle(), table));
        }
        QCOMPARE(serverRows(QStringLiteral("SELECT hallgato_nev FROM hallgato WHERE hallgato_id = 1")),
                 QStringList{Db(m_dir.filePath(QStringLiteral("embedded/KOVRA.sqlite"))).column(QStringLiteral("SELECT hallgato_nev FROM hallgato WHERE hallgato_id = 1"))});
        // new rows continue after the copied keys
        const QString max = serverRows(QStringLiteral("SELECT max(jelenlet_id) FROM jelenlet")).value(0);
        QCOMPARE(serverRows(QStringLiteral("INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES (1, 1, '2024-11-13', 1) "
                                           "RETURNING jelenlet_id")),
                 QStringList{QString::number(max.toLongLong() + 1)});

        // kovra.ini points at the server; kovra-sql --check reads it
        const QString ini = folder + QStringLiteral("/kovra.ini");
        const Run check = run(QStringLiteral("kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--check")});
        QVERIFY2(check.code == 0, qPrintable(check.out + check.err));
        QVERIFY2(check.out.contains(QStringLiteral("connection: ok (PostgreSQL)")), qPrintable(check.out));
        QVERIFY2(check.out.contains(QStringLiteral("schema version: 0")), qPrintable(check.out));
        QVERIFY2(check.out.contains(QStringLiteral("tables: 24 ok")), qPrintable(check.out));
        const Run backup = run(QStringLiteral("kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--backup"), m_dir.filePath(QStringLiteral("b"))});
        QCOMPARE(backup.code, 2);
        QVERIFY2(backup.err.contains(QStringLiteral("pg_dump")), qPrintable(backup.err));
        const Run login = run(QStringLiteral("kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("-Q"),
                                                            QStringLiteral("select top 1 felh_nev from felhasznalo where felh_nev = 'admin'")});
        QVERIFY2(login.out.contains(QStringLiteral("ADMIN")), qPrintable(login.out + login.err));
    }

    void aDatabaseWithTablesIsRefusedUnlessForced()
    {
        const QString folder = m_dir.filePath(QStringLiteral("again"));
        const QString marker = QStringLiteral("INSERT INTO kar (kar_nev) VALUES ('Megmarad')");
        QCOMPARE(serverRows(marker), QStringList());
        const Run refused = run(QStringLiteral("kovra-demo"), demoArgs(folder));
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("already holds tables")), qPrintable(refused.err));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/kovra.ini")));
        QCOMPARE(serverRows(QStringLiteral("SELECT count(*) FROM kar WHERE kar_nev = 'Megmarad'")), QStringList{QStringLiteral("1")});

        QStringList forced = demoArgs(folder);
        forced << QStringLiteral("--force");
        const Run replaced = run(QStringLiteral("kovra-demo"), forced);
        QVERIFY2(replaced.code == 0, qPrintable(replaced.err));
        QCOMPARE(serverRows(QStringLiteral("SELECT count(*) FROM kar WHERE kar_nev = 'Megmarad'")), QStringList{QStringLiteral("0")});
        QVERIFY(QFile::exists(folder + QStringLiteral("/kovra.ini")));
    }

    void unreachableServer()
    {
        QStringList args = demoArgs(m_dir.filePath(QStringLiteral("down")));
        args[1] = QStringLiteral("postgresql:127.0.0.1:1");
        const Run down = run(QStringLiteral("kovra-demo"), args);
        QCOMPARE(down.code, 1);
        QVERIFY2(down.err.contains(QStringLiteral("Nincs kapcsolat az adatbázissal!")), qPrintable(down.err));
    }
};

QTEST_GUILESS_MAIN(TestDemoServer)
#include "test_demo_server.moc"
