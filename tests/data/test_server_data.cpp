// The program's data layer on the throwaway PostgreSQL server, through unixODBC and psqlODBC: record
// operations with their audit rows (the same rows as on the embedded engine), write units and their
// lock, server messages, a lost connection inside a unit, and the login against a server that is down
// or refuses the login.

#include "Adatmodul.h"
#include "Crc32.h"
#include "DataFixture.h"
#include "DbError.h"
#include "IniFile.h"
#include "IniValue.h"
#include "LoginInfo.h"
#include "OdbcBackend.h"
#include "PgTestServer.h"
#include "RecordOperations.h"
#include "Schema.h"
#include "UserLogin.h"

#include <QTemporaryDir>

namespace {

QStringList texts(Connection &c, const QString &sql)
{
    const ResultSet r = c.query(QStringLiteral("test"), sql);
    QStringList out;
    for (const auto &row : r.rows) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i)
            cells << (row[i].isNull() ? QStringLiteral("NULL") : FieldText(row[i], r.columns[i].type));
        out << cells.join(u'|');
    }
    return out;
}

// The same record operations on any connection; what they leave behind.
QStringList recordSequence(Tform_Adatmodul &module)
{
    QStringList seen;
    QString id, again, entry;
    const QStringList semester{QStringLiteral("felev_nev=2024/25 ősz"), QStringLiteral("felev_neptun=2024/25/1"),
                               QStringLiteral("felev_datumtol=20240901"), QStringLiteral("felev_datumig=20250131")};
    InsertRecord(QStringLiteral("felev"), semester, true, id);
    InsertRecord(QStringLiteral("felev"), semester, true, again); // found: the same key
    seen << id << again;
    InsertRecord(QStringLiteral("orarend"),
                 {QStringLiteral("felev_id=") + id, QStringLiteral("orarend_nev=Győri óra"), QStringLiteral("orarend_mettol=08:15:00.0000"),
                  QStringLiteral("orarend_heti=1")},
                 false, entry);
    UpdateRecord(QStringLiteral("orarend"), {QStringLiteral("orarend_nev=GYŐRI ÓRA"), QStringLiteral("orarend_potlas=2")},
                 QStringLiteral("orarend_id=") + entry);
    QString teacher;
    InsertRecord(QStringLiteral("oktato"), {QStringLiteral("oktato_nev=Tanár Tamás")}, false, teacher);
    // no identity: the first value is the key
    InsertRecord(QStringLiteral("tan_okt"), {QStringLiteral("oktato_id=") + teacher, QStringLiteral("orarend_id=") + entry}, false, id);
    seen << (id == teacher ? QStringLiteral("first value") : id);
    DeleteRecord(QStringLiteral("tan_okt"), QStringLiteral("orarend_id=") + entry);
    Connection &c = module.ADOConn;
    seen << texts(c, QStringLiteral("Select felev_nev, convert(varchar(10), felev_datumtol, 102), felev_datumig From felev"));
    seen << texts(c, QStringLiteral("Select orarend_nev, Left(orarend_mettol, 5), orarend_heti, orarend_potlas From orarend "
                                    "Where orarend_nev = 'győri óra'"));
    seen << texts(c, QStringLiteral("Select etipus_id, felh_id, erintett_tabla, erintett_rekord, regi_ertek, uj_ertek From esemenynaplo "
                                    "Order By etipus_id, erintett_tabla, erintett_rekord"));
    return seen;
}

} // namespace

class TestServerData : public QObject {
    Q_OBJECT
    pgtest::Server m_server;
    QString m_db;
    QTemporaryDir m_dir;

    std::unique_ptr<Tform_Adatmodul> module(const QString &connectionString)
    {
        auto m = std::make_unique<Tform_Adatmodul>();
        m->ADOConn.setConnectionString(connectionString);
        m->ADOConn.open();
        return m;
    }
    qint64 count(Connection &c, const QString &table)
    {
        return c.query(QStringLiteral("t"), QStringLiteral("Select count(*) From ") + table).rows[0][0].toLongLong();
    }
    QString writeIni(const QString &name, const QString &server, const QString &password)
    {
        const QString path = m_dir.filePath(name);
        IniFile ini(path);
        const QString s = QStringLiteral("Futtatas");
        ini.WriteString(s, QStringLiteral("Adatbazis neve"), EncodeIniValue(m_db));
        ini.WriteString(s, QStringLiteral("A_ELERES"), EncodeIniValue(server));
        ini.WriteString(s, QStringLiteral("AU"), EncodeIniValue(m_server.user));
        ini.WriteString(s, QStringLiteral("AP"), EncodeIniValue(password));
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = pgtest::FromEnvironment();
        if (!m_server.available())
            QSKIP(pgtest::SkipReason());
        m_db = pgtest::DatabaseName(QStringLiteral("db"));
        QString error = pgtest::CreateDatabase(m_server, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = pgtest::RunBatches(m_server, m_db, schema::PostgresBaseScript());
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanupTestCase()
    {
        if (!m_db.isEmpty())
            pgtest::DropDatabase(m_server, m_db);
    }

    void init()
    {
        ResetProcessValues();
        LoginInfo.UserId = QStringLiteral("7");
    }

    void recordOperationsAsOnTheEmbeddedEngine()
    {
        auto server = module(m_server.connectionString(m_db));
        QVERIFY(!server->ADOConn.isEmbedded());
        QCOMPARE(static_cast<OdbcBackend *>(server->ADOConn.backend())->profile().name, QStringLiteral("PostgreSQL"));
        const QStringList onServer = recordSequence(*server);
        server.reset();

        DataFixture embedded(BaseSchema());
        const QStringList onEmbedded = recordSequence(*embedded.module);
        QCOMPARE(onServer, onEmbedded);
        QVERIFY2(onServer.size() > 8, qPrintable(onServer.join(u'\n')));
        QCOMPARE(onServer.value(2), QStringLiteral("first value")); // a table without identity hands back its first value
    }

    void serverMessages()
    {
        auto m = module(m_server.connectionString(m_db));
        QString id;
        try {
            InsertRecord(QStringLiteral("orarend"), {QStringLiteral("orarend_nev=null")}, false, id);
            QFAIL("a NULL name was accepted");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("column does not allow nulls")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("'orarend_nev'")), qPrintable(e.message()));
        }
        QCOMPARE(m->ADOConn.unitDepth(), 0);
        // a long journal text with every Hungarian letter, whole
        QString text;
        for (int i = 0; i < 2000; ++i)
            text += QStringLiteral("ÁÉÍÓÖŐÚÜŰ áéíóöőúüű %1\n").arg(i);
        text.chop(1); // the record operations trim the value
        InsertRecord(QStringLiteral("Jelentes"), {QStringLiteral("jel_datum=20241113"), QStringLiteral("jel_szoveg=") + text}, false, id);
        const ResultSet r = m->ADOConn.query(QStringLiteral("t"), QStringLiteral("Select jel_szoveg From Jelentes Where jel_id=") + id);
        const QString back = r.rows.value(0).value(0).toString();
        qsizetype differs = 0;
        while (differs < qMin(back.size(), text.size()) && back[differs] == text[differs])
            ++differs;
        QVERIFY2(back == text, qPrintable(QStringLiteral("%1 of %2 characters back, first difference at %3: %4")
                                              .arg(back.size()).arg(text.size()).arg(differs).arg(back.mid(differs, 20))));
    }

    void writeUnitsHoldTheServerLock()
    {
        // another workstation; the record operations use the data module (m)
        Connection otherConnection;
        otherConnection.setConnectionString(m_server.connectionString(m_db));
        otherConnection.open();
        struct { Connection &ADOConn; } otherView{otherConnection};
        auto *other = &otherView;
        auto m = module(m_server.connectionString(m_db));
        const qint64 before = count(m->ADOConn, QStringLiteral("felev"));
        QString id;
        {
            WriteUnit unit(&m->ADOConn);
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=egységben")}, false, id);
            // another workstation sees nothing yet and cannot take the unit lock
            QCOMPARE(count(other->ADOConn, QStringLiteral("felev")), before);
            QCOMPARE(texts(other->ADOConn, QStringLiteral("Select count(*) From kar Where 1 = 1")), QStringList{QStringLiteral("0")});
            const QString busy = pgtest::Maintenance(m_server, {QStringLiteral("DO $$ BEGIN IF NOT pg_try_advisory_lock(1263490642) THEN "
                                                                               "RAISE EXCEPTION 'lock held'; END IF; END $$")}, m_db);
            QVERIFY2(busy.contains(QStringLiteral("lock held")), qPrintable(busy));
            unit.commit();
        }
        QCOMPARE(count(other->ADOConn, QStringLiteral("felev")), before + 1);
        QCOMPARE(count(other->ADOConn, QStringLiteral("esemenynaplo Where erintett_tabla='felev' and erintett_rekord='") + id + u'\''), 1);
        // an exception inside a unit leaves nothing, the next unit works
        try {
            WriteUnit unit(&m->ADOConn);
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=elvész")}, false, id);
            throw DbError(QStringLiteral("later step"));
        } catch (const DbError &) {
        }
        QCOMPARE(count(other->ADOConn, QStringLiteral("felev Where felev_nev='elvész'")), 0);
        {
            WriteUnit outer(&m->ADOConn);
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=marad")}, true, id);
            outer.commit();
        }
        QCOMPARE(count(other->ADOConn, QStringLiteral("felev Where felev_nev='MARAD'")), 1);
        QVERIFY2(pgtest::Maintenance(m_server, {QStringLiteral("DO $$ BEGIN IF NOT pg_try_advisory_lock(1263490642) THEN "
                                                               "RAISE EXCEPTION 'lock held'; END IF; END $$")}, m_db).isEmpty(),
                 "the lock outlived its unit");
    }

    // The server ends the session inside a unit: the statement fails, nothing of the unit stays,
    // and the connection opens again.
    void connectionLostInsideAUnit()
    {
        auto m = module(m_server.connectionString(m_db));
        const qint64 before = count(m->ADOConn, QStringLiteral("felev"));
        QString id;
        bool failed = false;
        try {
            WriteUnit unit(&m->ADOConn);
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=félbe")}, false, id);
            const QString error = pgtest::Maintenance(
                m_server, {QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1' "
                                          "AND pid <> pg_backend_pid() AND state LIKE 'idle in transaction%'").arg(m_db)});
            QVERIFY2(error.isEmpty(), qPrintable(error));
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=utána")}, false, id);
            unit.commit();
        } catch (const DbError &) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(m->ADOConn.unitDepth(), 0);
        m->ADOConn.open();
        QCOMPARE(count(m->ADOConn, QStringLiteral("felev")), before);
    }

    void loginAgainstTheServer()
    {
        {
            auto m = module(m_server.connectionString(m_db));
            m->ADOConn.execute(QStringLiteral("t"), QStringLiteral("Insert Into felhasznalo (felh_nev, felh_jelszo, szerep_id) Values ('TANAR', '%1', 3)")
                                                        .arg(PasswordHash(QStringLiteral("titok"))));
        }
        struct Case { const char *name; QString server, password, user, userPassword; LoginResult result; };
        const Case cases[] = {
            {"socket", m_server.dataSource(), m_server.password, QStringLiteral("tanar"), QStringLiteral("titok"), LoginResult::Ok},
            {"loopback port", m_server.tcpDataSource(), m_server.password, QStringLiteral("TANAR"), QStringLiteral("titok"), LoginResult::Ok},
            {"wrong program password", m_server.dataSource(), m_server.password, QStringLiteral("TANAR"), QStringLiteral("x"), LoginResult::WrongUser},
            {"server refuses the login", m_server.tcpDataSource(), QStringLiteral("nem ez"), QStringLiteral("TANAR"), QStringLiteral("titok"), LoginResult::NoConnection},
            {"server down", QStringLiteral("postgresql:127.0.0.1:1"), m_server.password, QStringLiteral("TANAR"), QStringLiteral("titok"), LoginResult::NoConnection},
            {"no socket there", QStringLiteral("postgresql:") + m_dir.path(), m_server.password, QStringLiteral("TANAR"), QStringLiteral("titok"), LoginResult::NoConnection},
        };
        for (const Case &c : cases) {
            Tform_Adatmodul m;
            Dataset felh(&m.ADOConn, QStringLiteral("felh"));
            const QString ini = writeIni(QString::fromLatin1(c.name) + QStringLiteral(".ini"), c.server, c.password);
            const LoginResult r = LoginWithConfig(IniFile(ini), false, c.user, c.userPassword, m, felh);
            QVERIFY2(r == c.result, c.name);
            if (r == LoginResult::Ok) {
                QCOMPARE(LoginInfo.UserName, QStringLiteral("TANAR"));
                QCOMPARE(LoginInfo.RoleId, 3);
                QCOMPARE(LoginInfo.DatabaseName, m_db);
            }
        }
        // the test database of the configuration is the catalog with "_teszt"
        Tform_Adatmodul m;
        Dataset felh(&m.ADOConn, QStringLiteral("felh"));
        QVERIFY(LoginWithConfig(IniFile(m_dir.filePath(QStringLiteral("socket.ini"))), true, QStringLiteral("TANAR"),
                                QStringLiteral("titok"), m, felh) == LoginResult::NoConnection);
        QCOMPARE(LoginInfo.DatabaseName, m_db + QStringLiteral("_teszt"));
    }
};

QTEST_GUILESS_MAIN(TestServerData)
#include "test_server_data.moc"
