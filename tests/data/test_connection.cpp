// Connection string, backends, datasets, the statement trace and script batches.

#include "DataFixture.h"
#include "DatabaseConfig.h"
#include "DbError.h"
#include "IniFile.h"
#include "IniValue.h"
#include "OdbcBackend.h"
#include "SqliteBackend.h"
#include "StatementTrace.h"

class TestConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void connectionStringFromConfig()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("kovra.ini")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("Adatbazis neve"), EncodeIniValue(QStringLiteral("KOVRA")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("A_ELERES"), EncodeIniValue(QStringLiteral("srv\\inst")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AU"), EncodeIniValue(QStringLiteral("sa")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AP"), EncodeIniValue(QStringLiteral("p=w")));
        const DatabaseConfig live = ReadDatabaseConfig(ini, false);
        QCOMPARE(ComposeConnectionString(live),
                 QStringLiteral("Provider=SQLOLEDB.1;Password=p=w;Persist Security Info=True;User ID=sa;"
                                "Initial Catalog=KOVRA;Data Source=srv\\inst"));
        QCOMPARE(ReadDatabaseConfig(ini, true).catalog, QStringLiteral("KOVRA_teszt"));

        const ConnectionSettings s = ConnectionSettings::parse(ComposeConnectionString(live));
        QCOMPARE(s.password, QStringLiteral("p=w"));
        QCOMPARE(s.userId, QStringLiteral("sa"));
        QCOMPARE(s.catalog, QStringLiteral("KOVRA"));
        QCOMPARE(s.dataSource, QStringLiteral("srv\\inst"));
        QVERIFY(!s.isEmbedded());
        QVERIFY(ConnectionSettings::parse(QStringLiteral("Data Source=SQLite:/x")).isEmbedded());

        // Missing file: every value empty; the connection then fails.
        const DatabaseConfig none = ReadDatabaseConfig(IniFile(dir.filePath(QStringLiteral("missing.ini"))), false);
        QVERIFY(none.catalog.isEmpty() && none.server.isEmpty());
        Connection c;
        c.setConnectionString(ComposeConnectionString(none));
        QVERIFY_THROWS_EXCEPTION(DbError, c.open());
    }

    void odbcMapping_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("host") << "db1" << "DRIVER={FreeTDS};Server=db1;Database=K;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8";
        QTest::newRow("port") << "tcp:db1,1433" << "DRIVER={FreeTDS};Server=db1;Port=1433;Database=K;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8";
        QTest::newRow("instance") << "db1\\SQLEXPRESS" << "DRIVER={FreeTDS};Server=db1\\SQLEXPRESS;Database=K;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8";
    }
    void odbcMapping()
    {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        ConnectionSettings s;
        s.dataSource = source;
        s.catalog = QStringLiteral("K");
        s.userId = QStringLiteral("u");
        s.password = QStringLiteral("p");
        QCOMPARE(OdbcBackend::odbcConnectionString(s), expected);
        s.password = QStringLiteral("a;b}");
        QVERIFY(OdbcBackend::odbcConnectionString(s).contains(QStringLiteral("PWD={a;b}}}")));
    }

    void odbcIdentityInSameBatch()
    {
        QVERIFY(OdbcBackend::isInsert(QStringLiteral("  Insert Into felev (a) Values ('1')")));
        QVERIFY(!OdbcBackend::isInsert(QStringLiteral("select 1")));
        QVERIFY(OdbcBackend::isScopeIdentityQuery(QStringLiteral("select scope_identity() as ID")));
        QVERIFY(OdbcBackend::isScopeIdentityQuery(QStringLiteral("SELECT SCOPE_IDENTITY()")));
        QVERIFY(!OdbcBackend::isScopeIdentityQuery(QStringLiteral("select scope_identity() + 1 as ID")));
        QCOMPARE(OdbcBackend::withIdentity(QStringLiteral("Insert Into t (a) Values ('1')")),
                 QStringLiteral("SET NOCOUNT ON; Insert Into t (a) Values ('1'); SELECT scope_identity() AS ID"));
    }

    void embeddedOpenFailures()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        Connection c;
        // Missing catalog.
        c.setConnectionString(fx.connectionString(QStringLiteral("NINCS")));
        try {
            c.open();
            QFAIL("opened a missing catalog");
        } catch (const DbError &e) {
            QVERIFY(e.message().contains(QStringLiteral("NINCS")));
        }
        QVERIFY(!c.isOpen());
        // A file that is no database.
        QFile junk(fx.dir.filePath(QStringLiteral("JUNK.sqlite")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        c.setConnectionString(fx.connectionString(QStringLiteral("JUNK")));
        QVERIFY_THROWS_EXCEPTION(DbError, c.open());
        QVERIFY(!c.isOpen());
        // Statements on a closed connection fail cleanly.
        QVERIFY_THROWS_EXCEPTION(DbError, c.query(QStringLiteral("q"), QStringLiteral("select 1")));
    }

    void datasetNavigationAndFields()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        fx.conn().execute(QStringLiteral("t"), QStringLiteral(
            "insert into kar (kar_kod, kar_nev, kar_aktiv) values ('GTK', 'Gazdaság', 1), ('MK', 'Mérnöki', 0), "
            "('TTK', 'Természettudományi', 1)"));
        Dataset q(&fx.conn(), QStringLiteral("SZURES"));
        int opened = 0, scrolled = 0;
        connect(&q, &Dataset::afterOpen, this, [&] { ++opened; });
        connect(&q, &Dataset::afterScroll, this, [&] { ++scrolled; });
        q.setSql(QStringLiteral("select kar_id, kar_kod, kar_nev, kar_aktiv from kar order by kar_id"));
        q.open();
        QCOMPARE(opened, 1);
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.recNo(), 1);
        QVERIFY(q.bof() && !q.eof());
        QCOMPARE(q.fieldByName(QStringLiteral("KAR_KOD")).asString(), QStringLiteral("GTK"));
        QCOMPARE(q.fieldByName(QStringLiteral("kar_aktiv")).asString(), QStringLiteral("1"));
        QCOMPARE(q.fieldByName(QStringLiteral("kar_id")).asInteger(), 1);
        QVERIFY_THROWS_EXCEPTION(DbError, q.fieldByName(QStringLiteral("nincs")));
        int seen = 0;
        for (q.first(); !q.eof(); q.next())
            ++seen;
        QCOMPARE(seen, 3);
        QCOMPARE(q.recNo(), 3);
        q.prior();
        QCOMPARE(q.recNo(), 2);
        q.last();
        QVERIFY(q.eof());
        QCOMPARE(q.fieldByName(QStringLiteral("kar_kod")).asString(), QStringLiteral("TTK"));

        // Locate: exact, partial key, case-insensitive, several fields.
        QVERIFY(q.locate(QStringLiteral("kar_kod"), {QStringLiteral("MK")}));
        QCOMPARE(q.recNo(), 2);
        QVERIFY(!q.locate(QStringLiteral("kar_kod"), {QStringLiteral("mk")}));
        QVERIFY(q.locate(QStringLiteral("kar_kod"), {QStringLiteral("ttk")}, LocateOption::CaseInsensitive));
        QCOMPARE(q.recNo(), 3);
        QVERIFY(q.locate(QStringLiteral("kar_nev"), {QStringLiteral("gazd")}, LocateOption::CaseInsensitive | LocateOption::PartialKey));
        QCOMPARE(q.recNo(), 1);
        QVERIFY(q.locate(QStringLiteral("kar_kod;kar_aktiv"), {QStringLiteral("MK"), 0}));
        QVERIFY(!q.locate(QStringLiteral("kar_kod;kar_aktiv"), {QStringLiteral("MK"), 1}));
        QVERIFY(scrolled > 3);

        // The grid model follows the dataset; titles survive reopening.
        DatasetModel *m = q.model();
        m->setTitle(QStringLiteral("kar_nev"), QStringLiteral("Név"));
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Név"));
        QCOMPARE(m->data(m->index(1, 2), Qt::DisplayRole).toString(), QStringLiteral("Mérnöki"));
        q.refresh();
        QCOMPARE(q.recNo(), 2);
        QCOMPARE(m->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Név"));
        q.close();
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(q.recNo(), 0);
    }

    void firstValue()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        fx.conn().execute(QStringLiteral("t"), QStringLiteral("insert into kar (kar_kod, kar_nev) values ('GTK', 'Gazdaság'), ('MK', 'Mérnöki')"));
        Dataset q(&fx.conn(), QStringLiteral("Query3"));
        q.setParam(QStringLiteral("X"), 1);
        QCOMPARE(FirstValue(q, QStringLiteral("select kar_nev from kar order by kar_kod desc"), QStringLiteral("KAR_NEV")),
                 QStringLiteral("Mérnöki"));
        QVERIFY(!q.isActive());
        QVERIFY(q.params().isEmpty());
        QCOMPARE(FirstValue(q, QStringLiteral("select kar_nev from kar where kar_kod = 'X'"), QStringLiteral("kar_nev")), QString());
        // a missing column fails, and the dataset is closed all the same
        QVERIFY_THROWS_EXCEPTION(DbError, FirstValue(q, QStringLiteral("select kar_nev from kar"), QStringLiteral("nincs")));
        QVERIFY(!q.isActive());
    }

    // Statements that differ only in their literals run on one prepared statement with the values
    // bound, and give each its own answer; a failed one leaves the shared statement usable.
    void sameShapeStatementsShareAPreparedStatement()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        Connection &c = fx.conn();
        sqlite3 *db = static_cast<SqliteBackend *>(c.backend())->handle();
        auto prepared = [db] {
            int n = 0;
            for (sqlite3_stmt *st = sqlite3_next_stmt(db, nullptr); st; st = sqlite3_next_stmt(db, st))
                ++n;
            return n;
        };
        for (int i = 1; i <= 30; ++i)
            c.execute(QStringLiteral("t"), QStringLiteral("insert into kar (kar_kod, kar_nev, kar_aktiv) values ('K%1', 'Kar ''%1''', '%2')")
                                               .arg(i)
                                               .arg(i % 2));
        const int afterInserts = prepared();
        for (int i = 1; i <= 30; ++i) {
            const ResultSet r = c.query(QStringLiteral("q"), QStringLiteral("select kar_nev, kar_aktiv from kar where kar_kod = 'k%1' "
                                                                            "and kar_id in (%1, %2, -1)")
                                                                 .arg(i)
                                                                 .arg(i + 100));
            QCOMPARE(r.rows.size(), 1);
            QCOMPARE(r.rows[0][0].toString(), QStringLiteral("Kar '%1'").arg(i));
            QCOMPARE(r.rows[0][1].toInt(), i % 2);
        }
        QCOMPARE(prepared(), afterInserts + 1);
        // a failure while the shared statement runs (a subquery yielding two rows) leaves it usable
        const QString scalar = QStringLiteral("select kar_kod from kar where kar_id = (select x.kar_id from kar x where x.kar_id < %1)");
        QVERIFY_THROWS_EXCEPTION(DbError, c.query(QStringLiteral("q"), scalar.arg(3)));
        const int withScalar = prepared();
        QCOMPARE(c.query(QStringLiteral("q"), scalar.arg(2)).rows.value(0).value(0).toString(), QStringLiteral("K1"));
        QVERIFY_THROWS_EXCEPTION(DbError, c.query(QStringLiteral("q"), scalar.arg(5)));
        QCOMPARE(c.query(QStringLiteral("q"), scalar.arg(2)).rows.value(0).value(0).toString(), QStringLiteral("K1"));
        QCOMPARE(prepared(), withScalar);
        QCOMPARE(withScalar, afterInserts + 2);
    }

    void indexesFollowTheTextOrder()
    {
        // A file whose index on a KOVRA_CI column was built in another order (code points here).
        DataFixture fx(QString::fromLatin1(MiniSchema));
        fx.conn().close();
        sqlite3 *db = nullptr;
        sqlite3_open(fx.dir.filePath(QStringLiteral("KOVRA.sqlite")).toUtf8().constData(), &db);
        sqlite3_create_collation(db, "KOVRA_CI", SQLITE_UTF8, nullptr, [](void *, int la, const void *a, int lb, const void *b) {
            const int c = memcmp(a, b, size_t(std::min(la, lb)));
            return c != 0 ? c : la - lb;
        });
        QCOMPARE(sqlite3_exec(db, "CREATE INDEX kar_nev_ix ON kar (kar_nev); INSERT INTO kar (kar_nev) VALUES "
                                  "('Zoltán kar'), ('Ács kar'), ('Ödön kar'), ('Bíró kar'), ('Pál kar'); PRAGMA user_version=0;",
                             nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        // The first opening rebuilds it: the index now gives the Hungarian order.
        fx.conn().open();
        QCOMPARE(fx.rows(QStringLiteral("select kar_nev from kar order by kar_nev")),
                 QStringList({"Ács kar", "Bíró kar", "Ödön kar", "Pál kar", "Zoltán kar"}));
        QCOMPARE(fx.rows(QStringLiteral("select kar_nev from kar where kar_nev = 'ÁCS KAR'")), QStringList{"Ács kar"});
        fx.conn().close();
        sqlite3_open(fx.dir.filePath(QStringLiteral("KOVRA.sqlite")).toUtf8().constData(), &db);
        sql::RegisterKovraCollation(db);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(st, 0), sql::CollationOrderVersion);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))), QStringLiteral("ok"));
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    void emptyDatasetReadsAsNull()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        Dataset q(&fx.conn(), QStringLiteral("q"));
        q.setSql(QStringLiteral("select kar_kod, kar_id from kar"));
        q.open();
        QVERIFY(q.isEmpty() && q.eof() && q.bof());
        QCOMPARE(q.fieldByName(QStringLiteral("kar_kod")).asString(), QString());
        QCOMPARE(q.fieldByName(QStringLiteral("kar_id")).asInteger(), 0);
    }

    void parametersAndTrace()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        ClearStatementTrace();
        Dataset q(&fx.conn(), QStringLiteral("UPDATEQuery"));
        q.setSql(QStringLiteral("insert into kar (kar_kod, kar_nev) values (:KOD, :NEV)"));
        q.setParam(QStringLiteral("KOD"), QStringLiteral("A'B"));
        q.setParam(QStringLiteral("NEV"), QStringLiteral("két\r\nsor"));
        q.execSql();
        QCOMPARE(fx.rows(QStringLiteral("select kar_kod, kar_nev from kar")), QStringList{"A'B|két\r\nsor"});
        const QStringList trace = StatementTraceEntries();
        QCOMPARE(trace.size(), 2);
        const QString entry = trace.last();
        QVERIFY(!entry.contains(u'\r') && !entry.contains(u'\n'));
        QVERIFY(entry.contains(QStringLiteral("\tUPDATEQuery\tinsert into kar (kar_kod, kar_nev) values (:KOD, :NEV)"
                                              "\\nparaméterek:\\nKOD: \"A'B\"\\nNEV: \"két\\nsor\"")));
        QVERIFY(QTime::fromString(entry.left(8), QStringLiteral("hh:mm:ss")).isValid());
        // Ten entries are kept, newest first; a missing parameter is a clear error.
        for (int i = 0; i < 12; ++i)
            fx.conn().query(QStringLiteral("q"), QStringLiteral("select %1").arg(i));
        QCOMPARE(StatementTraceEntries().size(), 10);
        QVERIFY(StatementTraceEntries().first().contains(QStringLiteral("select 11")));
        q.setSql(QStringLiteral("select :NINCS"));
        q.clearParams();
        QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    }

    void notNullViolationInServerWords()
    {
        DataFixture fx(QString::fromLatin1(MiniSchema));
        try {
            fx.conn().execute(QStringLiteral("q"), QStringLiteral("insert into kar (kar_kod) values ('x')"));
            QFAIL("NULL accepted");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("column does not allow nulls")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("'kar_nev'")));
        }
        // The connection keeps working.
        QCOMPARE(fx.rows(QStringLiteral("select count(*) from kar")), QStringList{"0"});
    }

    void splitBatches()
    {
        const QString script = QStringLiteral(
            "create table a (x int)\r\nGO\r\n"
            "insert into a values (1) -- GO in a comment\n  go  \n"
            "insert into a values ('\nGO\n')\nGO\n"
            "/* block\nGO\n*/ select 1\n"
            "GO\nGO\n");
        const QStringList b = SplitBatches(script);
        QCOMPARE(b.size(), 4);
        QVERIFY(b[0].startsWith(QStringLiteral("create table a")));
        QVERIFY(b[1].contains(QStringLiteral("-- GO in a comment")));
        QVERIFY(b[2].contains(QStringLiteral("'\nGO\n'")));
        QVERIFY(b[3].contains(QStringLiteral("select 1")));
        QVERIFY(SplitBatches(QStringLiteral("GOTO x\nGOx")).size() == 1);
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
