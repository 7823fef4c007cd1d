// The Neptun import on a PostgreSQL demo database (the stand-in as its schema neptun) writes what it
// writes on the embedded demo of the same day: kovra-import with the timetable part on both, the same
// messages, then every table alike.

#include "EngineDigest.h"
#include "PgTestServer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char Day[] = "2024-11-13";
const char ConnectionName[] = "neptun-check";

struct Result {
    int code = -1;
    QString out, err;
};

Result runProgram(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KOVRA_BINARY_DIR) + program, args);
    if (!p.waitForFinished(240000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestNeptunServer : public QObject {
    Q_OBJECT
    pgtest::Server m_server;
    QString m_db;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        m_server = pgtest::FromEnvironment();
        if (!m_server.available())
            QSKIP(pgtest::SkipReason());
        m_db = pgtest::DatabaseName(QStringLiteral("demo"));
        const QString error = pgtest::CreateDatabase(m_server, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Result r = runProgram(QStringLiteral("/src/data/kovra-demo"),
                              {QStringLiteral("--server"), m_server.dataSource(), QStringLiteral("--database"), m_db, QStringLiteral("--user"),
                               m_server.user, QStringLiteral("--password"), m_server.password, QStringLiteral("--today"),
                               QString::fromLatin1(Day), m_dir.filePath(QStringLiteral("server"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = runProgram(QStringLiteral("/src/data/kovra-demo"), {m_dir.filePath(QStringLiteral("embedded")), QStringLiteral("--today"), QString::fromLatin1(Day)});
        QVERIFY2(r.code == 0, qPrintable(r.err));
    }

    void cleanupTestCase()
    {
        if (m_db.isEmpty())
            return;
        QSqlDatabase::removeDatabase(QString::fromLatin1(ConnectionName));
        pgtest::DropDatabase(m_server, m_db);
    }

    void importWritesTheSameRows()
    {
        const QStringList args{QStringLiteral("--user"), QStringLiteral("TANULMANYI"), QStringLiteral("--password"), QStringLiteral("tanulmanyi"),
                               QStringLiteral("--faculty"), QStringLiteral("1"), QStringLiteral("--semester"), QStringLiteral("2"),
                               QStringLiteral("--timetable")};
        const Result embedded = runProgram(QStringLiteral("/src/neptun/kovra-import"),
                                           QStringList{QStringLiteral("--ini"), m_dir.filePath(QStringLiteral("embedded/kovra.ini"))} + args);
        QVERIFY2(embedded.code == 0, qPrintable(embedded.out + embedded.err));
        const Result server = runProgram(QStringLiteral("/src/neptun/kovra-import"),
                                         QStringList{QStringLiteral("--ini"), m_dir.filePath(QStringLiteral("server/kovra.ini"))} + args);
        QVERIFY2(server.code == 0, qPrintable(server.out + server.err));
        QCOMPARE(server.out, embedded.out);
        QVERIFY2(embedded.out.count(u'\n') > 5, qPrintable(embedded.out));

        sqlite3 *lite = nullptr;
        QCOMPARE(sqlite3_open_v2(m_dir.filePath(QStringLiteral("embedded/KOVRA.sqlite")).toUtf8().constData(), &lite, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(ConnectionName));
            d.setDatabaseName(m_server.odbc(m_db));
            QVERIFY2(d.open(), qPrintable(d.lastError().text()));
            // the times of writing differ between the runs
            const QStringList now{QStringLiteral("jel_datum"), QStringLiteral("esemeny_datum")};
            for (const QString &table : enginedigest::SqliteTables(lite))
                QCOMPARE(enginedigest::PostgresDigest(d, QStringLiteral("public"), table, now), enginedigest::SqliteDigest(lite, table, now));
            d.close();
        }
        sqlite3_close(lite);
    }
};

QTEST_GUILESS_MAIN(TestNeptunServer)
#include "test_neptun_server.moc"
