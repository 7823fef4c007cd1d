// Units of work on the connection: nested units commit once, an exception or a failed inner unit
// leaves nothing behind, a record operation never writes without its audit row; and kovra-sql's
// check and backup of an embedded database that others use at the same time.

#include "DataFixture.h"
#include "DatabaseConfig.h"
#include "DbError.h"
#include "IniFile.h"
#include "OdbcBackend.h"
#include "RecordOperations.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The audit table refuses rows about "kar": the write before it must not stay either.
const char *RefusingAudit = R"(
CREATE TABLE kar (kar_id INTEGER PRIMARY KEY AUTOINCREMENT, kar_kod NVARCHAR(20) COLLATE KOVRA_CI,
  kar_nev NVARCHAR(100) COLLATE KOVRA_CI NOT NULL, kar_aktiv BIT);
CREATE TABLE felev (felev_id INTEGER PRIMARY KEY AUTOINCREMENT, felev_nev NVARCHAR(50) COLLATE KOVRA_CI NOT NULL,
  felev_neptun NVARCHAR(20) COLLATE KOVRA_CI, felev_datumtol DATE TEXT, felev_datumig DATE TEXT);
CREATE TABLE esemenynaplo (etipus_id INTEGER, esemeny_datum DATETIME TEXT, felh_id INTEGER,
  erintett_tabla NVARCHAR(50) COLLATE KOVRA_CI CHECK (erintett_tabla <> 'kar'), erintett_rekord NVARCHAR(50) COLLATE KOVRA_CI,
  regi_ertek NTEXT COLLATE KOVRA_CI, uj_ertek NTEXT COLLATE KOVRA_CI);
INSERT INTO kar (kar_nev) VALUES ('Régi');
)";

QString run(const QString &program, const QStringList &args, int *code)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        qFatal("%s did not finish", qPrintable(program));
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

} // namespace

class TestWriteUnit : public QObject {
    Q_OBJECT

    // Another workstation on the same file.
    static std::unique_ptr<Connection> other(DataFixture &fx)
    {
        auto c = std::make_unique<Connection>();
        c->setConnectionString(fx.connectionString());
        c->open();
        return c;
    }
    static qint64 count(Connection &c, const QString &table)
    {
        return c.query(QStringLiteral("t"), QStringLiteral("Select count(*) From ") + table).rows[0][0].toLongLong();
    }

private Q_SLOTS:
    void nestedUnitsCommitOnce()
    {
        DataFixture fx(QString::fromUtf8(MiniSchema));
        auto peer = other(fx);
        {
            WriteUnit unit(&fx.conn());
            QString id;
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=2024/25/1")}, true, id); // a unit of its own inside
            QCOMPARE(fx.conn().unitDepth(), 1);
            // not there for the other workstation until the outer unit commits
            QCOMPARE(count(*peer, QStringLiteral("felev")), 0);
            QCOMPARE(count(fx.conn(), QStringLiteral("felev")), 1);
            unit.commit();
        }
        QCOMPARE(fx.conn().unitDepth(), 0);
        QCOMPARE(count(*peer, QStringLiteral("felev")), 1);
        QCOMPARE(count(*peer, QStringLiteral("esemenynaplo")), 1);
    }

    void failuresLeaveNothing()
    {
        DataFixture fx(QString::fromUtf8(MiniSchema));
        QString id;
        // an exception inside the unit
        try {
            WriteUnit unit(&fx.conn());
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=a")}, false, id);
            throw DbError(QStringLiteral("later step"));
        } catch (const DbError &) {
        }
        QCOMPARE(count(fx.conn(), QStringLiteral("felev")), 0);
        QCOMPARE(count(fx.conn(), QStringLiteral("esemenynaplo")), 0);
        // an inner unit that ended without commit spoils the outer one
        {
            WriteUnit outer(&fx.conn());
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=b")}, false, id);
            { WriteUnit inner(&fx.conn()); }
            QVERIFY_THROWS_EXCEPTION(DbError, outer.commit());
        }
        QCOMPARE(count(fx.conn(), QStringLiteral("felev")), 0);
        // the connection closed inside a unit: the unit is gone with it, the next one works
        {
            WriteUnit unit(&fx.conn());
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=c")}, false, id);
            fx.conn().close();
            fx.conn().open();
            QCOMPARE(fx.conn().unitDepth(), 0);
            QVERIFY_THROWS_EXCEPTION(DbError, unit.commit());
        }
        InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=d")}, false, id);
        QCOMPARE(fx.rows(QStringLiteral("Select felev_nev From felev")), QStringList{QStringLiteral("d")});
    }

    void noWriteWithoutAuditRow()
    {
        DataFixture fx(QString::fromUtf8(RefusingAudit));
        QString id;
        QVERIFY_THROWS_EXCEPTION(DbError, InsertRecord(QStringLiteral("kar"), {QStringLiteral("kar_nev=Új")}, true, id));
        QVERIFY(id.isEmpty()); // no key of a row that was not kept
        QVERIFY_THROWS_EXCEPTION(DbError, UpdateRecord(QStringLiteral("kar"), {QStringLiteral("kar_nev=Más")}, QStringLiteral("kar_id=1")));
        QCOMPARE(fx.rows(QStringLiteral("Select kar_nev From kar")), QStringList{QStringLiteral("Régi")});
        QCOMPARE(fx.conn().unitDepth(), 0);
        // other tables are audited and written as before
        InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=x")}, true, id);
        QCOMPARE(fx.rows(QStringLiteral("Select erintett_tabla, erintett_rekord From esemenynaplo")), QStringList{QStringLiteral("felev|") + id});
    }

    // On SQL Server a unit holds the application lock until it ends: another workstation's unit
    // cannot take it meanwhile and takes it afterwards.
    void sqlServerUnitsQueue()
    {
        const QString odbc = qEnvironmentVariable("KOVRA_TEST_MSSQL");
        if (odbc.isEmpty())
            QSKIP("KOVRA_TEST_MSSQL is not set (ODBC connection string to a SQL Server database)");
        {
            QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("unitA"));
            QSqlDatabase b = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("unitB"));
            a.setDatabaseName(odbc);
            b.setDatabaseName(odbc);
            QVERIFY2(a.open() && b.open(), qPrintable(a.lastError().text() + b.lastError().text()));
            QVERIFY(a.transaction());
            QSqlQuery qa(a);
            QVERIFY2(qa.exec(OdbcBackend::unitLockStatement()), qPrintable(qa.lastError().text()));
            QVERIFY(b.transaction());
            QSqlQuery qb(b);
            QVERIFY2(qb.exec(QStringLiteral("SET NOCOUNT ON; DECLARE @r int; EXEC @r = sp_getapplock @Resource = N'KOVRA write unit', "
                                            "@LockMode = N'Exclusive', @LockOwner = N'Transaction', @LockTimeout = 0; SELECT @r")),
                     qPrintable(qb.lastError().text()));
            QVERIFY(qb.next());
            QVERIFY(qb.value(0).toInt() < 0);
            b.rollback();
            QVERIFY(a.commit());
            QVERIFY(b.transaction());
            QVERIFY2(qb.exec(OdbcBackend::unitLockStatement()), qPrintable(qb.lastError().text()));
            QVERIFY(b.commit());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("unitA"));
        QSqlDatabase::removeDatabase(QStringLiteral("unitB"));
    }

    // kovra-sql --check and --backup on the demo database while this process holds a write unit
    // open and a capture writes.
    void checkAndBackupInUse()
    {
        QTemporaryDir dir;
        const QString bin = QStringLiteral(KOVRA_BINARY_DIR);
        int code = 0;
        QString out = run(bin + QStringLiteral("/src/data/kovra-demo"), {dir.path(), QStringLiteral("--today"), QStringLiteral("2024-10-09")}, &code);
        QVERIFY2(code == 0, qPrintable(out));
        const QString ini = dir.filePath(QStringLiteral("kovra.ini"));
        const DatabaseConfig config = ReadDatabaseConfig(IniFile(ini), false);
        Connection writer;
        writer.setConnectionString(ComposeConnectionString(config));
        writer.open();
        const qint64 before = count(writer, QStringLiteral("kar"));

        // a capture writing at the same time
        QFile codes(dir.filePath(QStringLiteral("codes.txt")));
        QVERIFY(codes.open(QIODevice::WriteOnly));
        codes.write("X\r\n");
        codes.close();
        QProcess capture;
        capture.start(bin + QStringLiteral("/src/attendance/kovra-capture"),
                      {QStringLiteral("--ini"), ini, QStringLiteral("--user"), QStringLiteral("TANULMANYI"), QStringLiteral("--password"),
                       QStringLiteral("tanulmanyi"), QStringLiteral("--date"), QStringLiteral("2024.10.14"), QStringLiteral("--semester"),
                       QStringLiteral("2"), QStringLiteral("--lesson"), QStringLiteral("1"), codes.fileName()});
        QVERIFY(capture.waitForStarted());

        const QString backup = dir.filePath(QStringLiteral("mentes.sqlite"));
        {
            WriteUnit unit(&writer);
            writer.execute(QStringLiteral("t"), QStringLiteral("Insert Into kar (kar_kod, kar_nev, kar_aktiv) Values ('UJ', 'Új kar', 1)"));
            out = run(bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--backup"), backup}, &code);
            QVERIFY2(code == 0, qPrintable(out));
            out = run(bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--check")}, &code);
            QCOMPARE(out.trimmed(), QStringLiteral("ok"));
            QCOMPARE(code, 0);
            unit.commit();
        }
        QVERIFY(capture.waitForFinished(120000));
        QCOMPARE(capture.exitCode(), 0);

        // the copy: intact (indexes in the program's order included) and without the uncommitted row
        sqlite3 *copy = nullptr;
        QCOMPARE(sqlite3_open_v2(backup.toUtf8().constData(), &copy, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sql::RegisterKovraCollation(copy);
        auto value = [&](const char *sql) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(copy, sql, -1, &st, nullptr);
            const QString v = sqlite3_step(st) == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)))
                                                              : QString::fromUtf8(sqlite3_errmsg(copy));
            sqlite3_finalize(st);
            return v;
        };
        QCOMPARE(value("PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(value("select count(*) from kar").toLongLong(), before);
        sqlite3_close(copy);
        QCOMPARE(count(writer, QStringLiteral("kar")), before + 1);

        // a backup never overwrites a file
        out = run(bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--backup"), backup}, &code);
        QCOMPARE(code, 1);
        QVERIFY2(out.contains(QStringLiteral("már létezik")), qPrintable(out));
        // into a folder that does not exist: said so, naming the folder, and nothing is created
        const QString missing = dir.filePath(QStringLiteral("nincs/ilyen"));
        out = run(bin + QStringLiteral("/src/data/kovra-sql"),
                  {QStringLiteral("--ini"), ini, QStringLiteral("--backup"), missing + QStringLiteral("/mentes.sqlite")}, &code);
        QCOMPARE(code, 1);
        QVERIFY2(out.contains(QStringLiteral("A mentés mappája nem létezik: ") + missing), qPrintable(out));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nincs"))));
    }
};

QTEST_GUILESS_MAIN(TestWriteUnit)
#include "test_write_unit.moc"
