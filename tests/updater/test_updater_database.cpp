// The database step on the embedded engine: version rule, separators, base script, failures, and the
// collation the embedded schema declares.

#include "Database.h"
#include "Download.h"
#include "Ini.h"
#include "RunView.h"
#include "Scripts.h"
#include "TestServer.h"
#include "UpdateLog.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace frissites;

namespace {

class TrackingView : public EventLoopView {
public:
    QList<int> ticks;
    QList<int> enabledTasks;
    void showTick(int task) override { ticks.append(task); }
    void setTaskEnabled(int task, bool enabled) override
    {
        if (enabled)
            enabledTasks.append(task);
    }
};

} // namespace

class TestUpdaterDatabase : public QObject {
    Q_OBJECT

    TestServer m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_www;

    QString work(const QString &name) const { return m_dir->filePath(QStringLiteral("wd/") + name); }
    QString dbPath() const { return work(QStringLiteral("db/KOVRA.sqlite")); }

    void publish(const QString &name, const QByteArray &text)
    {
        QFile f(QDir(m_www).filePath(name));
        QVERIFY(QDir().mkpath(QFileInfo(f).absolutePath()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void writeManifest(const QByteArray &adatbazis)
    {
        QFile f(work(QStringLiteral("upd.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Adatbazis]\r\nfelhasznalo=sa\r\njelszo=X3FF\r\nBeallitasok tabla=beallitasok\r\n" + adatbazis);
    }
    // Plain SQLite on the test side, for preparing and checking the database.
    QString query(const QString &sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(dbPath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        RegisterCaseInsensitiveCollation(db);
        QStringList rows;
        sqlite3_stmt *st = nullptr;
        const QByteArray s = sql.toUtf8();
        if (sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr) == SQLITE_OK) {
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                QStringList cols;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    cols << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
                rows << cols.join(u'|');
            }
            if (rc != SQLITE_DONE)
                rows << QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
        } else {
            rows << QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return rows.join(u';');
    }
    void prepareDatabase(int version)
    {
        QVERIFY(QDir().mkpath(work(QStringLiteral("db"))));
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(dbPath()).constData(), &db), SQLITE_OK);
        const QByteArray sql = "create table beallitasok (ADATBAZIS_VERZIO int);"
                               "insert into beallitasok values (" + QByteArray::number(version) + ");"
                               "create table naplo (szoveg text);";
        QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    QStringList logLines() const
    {
        QFile f(work(QStringLiteral("frissites.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QStringList lines(const QString &prefix) const
    {
        QStringList out;
        for (const QString &l : logLines())
            if (l.startsWith(prefix))
                out << l;
        return out;
    }

    DatabaseUpdate::Result runStep(TrackingView &view, bool keepFiles = false, QString provider = QStringLiteral("SQLite"),
                                   QString dataSource = QStringLiteral("db"))
    {
        UpdateLog log(work(QStringLiteral("frissites.log")));
        DownloadOptions o;
        o.workDir = work(QString());
        o.settleMilliseconds = 0;
        o.stallTimeoutSeconds = 2;
        Downloader d(view, log, o);
        IniFile manifest;
        manifest.load(work(QStringLiteral("upd.ini")));
        ConnectionSettings s;
        s.provider = provider;
        s.catalog = QStringLiteral("KOVRA");
        s.dataSource = dataSource;
        DatabaseUpdate step(view, log, d, work(QString()), keepFiles);
        const auto result = step.run(manifest, s, m_server.url() + QStringLiteral("kovra"));
        m_lastError = step.lastError();
        return result;
    }
    QString m_lastError;

    static QByteArray bump(int version)
    {
        return "update beallitasok set ADATBAZIS_VERZIO = " + QByteArray::number(version) + "\r\n";
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_www = m_dir->filePath(QStringLiteral("www"));
        QVERIFY(QDir().mkpath(work(QString())));
        QVERIFY(QDir().mkpath(m_www));
        m_server.setRoot(m_www);
        m_server.clearRequests();
    }

    // Version 5, scripts for 6, 7 and 9: 6 and 7 run, 9 is never fetched because 8 is missing.
    void runsScriptsAboveTheVersion()
    {
        prepareDatabase(5);
        publish(QStringLiteral("kovra/sql/6.sql"), "insert into naplo values ('hat')\r\nGO\r\n" + bump(6));
        publish(QStringLiteral("kovra/sql/7.sql"), "insert into naplo values ('het');\r\n" + bump(7));
        publish(QStringLiteral("kovra/sql/9.sql"), "insert into naplo values ('kilenc')\r\n" + bump(9));
        publish(QStringLiteral("kovra/sql/5.sql"), "insert into naplo values ('ot')\r\n");
        writeManifest("sql5=sql/5.sql\r\nsql6=sql/6.sql\r\nsql7=sql/7.sql\r\nsql9=sql/9.sql\r\n");

        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Updated);
        QCOMPARE(query(QStringLiteral("select szoveg from naplo")), QStringLiteral("hat;het"));
        QCOMPARE(query(QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), QStringLiteral("7"));
        QCOMPARE(lines(QStringLiteral("SQL fájl futtatása: ")),
                 (QStringList{"SQL fájl futtatása: 6.sql", "SQL fájl futtatása: 7.sql"}));
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/sql/9.sql")), 0);
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/sql/5.sql")), 0);
        QVERIFY(!QFileInfo::exists(work(QStringLiteral("6.sql"))));
        QVERIFY(!QFileInfo::exists(work(QStringLiteral("7.sql"))));
        QCOMPARE(view.ticks, QList<int>{3});
        QCOMPARE(view.enabledTasks, QList<int>{3});
    }

    void keepFilesLeavesScripts()
    {
        prepareDatabase(0);
        publish(QStringLiteral("kovra/1.sql"), bump(1));
        writeManifest("sql1=1.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view, /*keepFiles*/ true), DatabaseUpdate::Result::Updated);
        QVERIFY(QFileInfo::exists(work(QStringLiteral("1.sql"))));
        QCOMPARE(query(QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), QStringLiteral("1"));
    }

    // "go" in any case with blanks, a line beginning with GOTO inside a text, COMMIT TRANSACTION
    // (never sent: in autocommit mode it would fail), the line after a separator.
    void separators()
    {
        prepareDatabase(0);
        publish(QStringLiteral("kovra/1.sql"),
                "insert into naplo values ('egy')\r\n"
                "go  \r\n"
                "insert into naplo values ('ket\r\n"
                "GOTO sor')\r\n"
                "COMMIT TRANSACTION\r\n"
                "insert into naplo values ('harom')\r\n"
                "commit\n"
                "insert into naplo values ('negy');\n"
                "insert into naplo values ('ot')\n"
                "GO\n"
                + bump(1));
        writeManifest("sql1=1.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Updated);
        QCOMPARE(query(QStringLiteral("select replace(szoveg, char(10), '/') from naplo")),
                 QStringLiteral("egy;ket/GOTO sor;harom;negy;ot"));
    }

    // No settings table: version 0, the base script, then the scripts from 1 on (on a new file).
    void baseScriptWhenTheSettingsTableIsMissing()
    {
        publish(QStringLiteral("kovra/sql/0.sql"),
                "create table beallitasok (ADATBAZIS_VERZIO int);\r\n"
                "insert into beallitasok values (0);\r\n"
                "create table hallgato (hallgato_id integer primary key, hallgato_nev text collate KOVRA_CI unique);\r\n"
                "GO\r\n");
        publish(QStringLiteral("kovra/sql/1.sql"),
                "insert into hallgato (hallgato_nev) values ('Árvíztűrő Őz');\r\n" + bump(1));
        writeManifest("sql=sql/0.sql\r\nsql1=sql/1.sql\r\n");
        TrackingView view;
        QVERIFY(!QFileInfo::exists(dbPath()));
        QVERIFY(QDir().mkpath(work(QStringLiteral("db"))));
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Updated);
        QCOMPARE(lines(QStringLiteral("SQL fájl futtatása: ")),
                 (QStringList{"SQL fájl futtatása: 0.sql", "SQL fájl futtatása: 1.sql"}));
        QCOMPARE(query(QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), QStringLiteral("1"));
        // The collation of the schema: case folded, accents kept, trailing blanks ignored.
        QCOMPARE(query(QStringLiteral("select count(*) from hallgato where hallgato_nev = 'ÁRVÍZTŰRŐ ŐZ   '")), QStringLiteral("1"));
        QCOMPARE(query(QStringLiteral("select count(*) from hallgato where hallgato_nev = 'Arvizturo Oz'")), QStringLiteral("0"));
        // The unique index compares with the same collation.
        QVERIFY(query(QStringLiteral("insert into hallgato (hallgato_nev) values ('árvíztűrő őz')")).contains(QStringLiteral("UNIQUE")));
        QCOMPARE(query(QStringLiteral("select count(*) from hallgato")), QStringLiteral("1"));
    }

    // A table that exists but holds no version row reads as 0 without the base script.
    void emptySettingsTableIsVersionZero()
    {
        prepareDatabase(0);
        query(QStringLiteral("delete from beallitasok"));
        publish(QStringLiteral("kovra/0.sql"), "insert into naplo values ('alap')\r\n");
        publish(QStringLiteral("kovra/1.sql"), "insert into naplo values ('egy')\r\n");
        writeManifest("sql=0.sql\r\nsql1=1.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Updated);
        QCOMPARE(query(QStringLiteral("select szoveg from naplo")), QStringLiteral("egy"));
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/0.sql")), 0);
    }

    // A script that cannot be downloaded is skipped; the next number is tried.
    void missingScriptIsSkipped()
    {
        prepareDatabase(0);
        publish(QStringLiteral("kovra/2.sql"), bump(2));
        writeManifest("sql1=nincs.sql\r\nsql2=2.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Updated);
        QCOMPARE(query(QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), QStringLiteral("2"));
        QVERIFY(logLines().contains(QStringLiteral("Fájl letöltés: ") + m_server.url()
                                    + QStringLiteral("kovra/nincs.sql -> 1.sql (Hiba)")));
    }

    // A failing batch: the earlier batches stay, the later ones and scripts do not run.
    void failingBatchStopsTheStep()
    {
        prepareDatabase(5);
        publish(QStringLiteral("kovra/6.sql"), "insert into naplo values ('hat');\r\n" + bump(6));
        publish(QStringLiteral("kovra/7.sql"),
                "insert into naplo values ('het-a')\r\nGO\r\ninsert into nincs_ilyen values (1)\r\nGO\r\n"
                "insert into naplo values ('het-c')\r\nGO\r\n" + bump(7));
        publish(QStringLiteral("kovra/8.sql"), bump(8));
        writeManifest("sql6=6.sql\r\nsql7=7.sql\r\nsql8=8.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Failed);
        QCOMPARE(query(QStringLiteral("select szoveg from naplo")), QStringLiteral("hat;het-a"));
        QCOMPARE(query(QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), QStringLiteral("6"));
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/8.sql")), 0);
        QVERIFY(view.ticks.isEmpty());
        QVERIFY(m_lastError.contains(QStringLiteral("nincs_ilyen")));
        QCOMPARE(lines(QStringLiteral("Adatbázis hiba: ")).size(), 1);
    }

    void skippedWithoutUser()
    {
        QFile f(work(QStringLiteral("upd.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Adatbazis]\r\nfelhasznalo=\r\nsql1=1.sql\r\n");
        f.close();
        TrackingView view;
        QCOMPARE(runStep(view), DatabaseUpdate::Result::Skipped);
        QVERIFY(view.enabledTasks.isEmpty());
        QVERIFY(!QFileInfo::exists(dbPath()));
        QVERIFY(logLines().isEmpty());
    }

    void connectionFailures_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("dataSource");
        QTest::newRow("unknown provider") << QStringLiteral("Microsoft.Jet.OLEDB.4.0") << QStringLiteral("db");
        QTest::newRow("folder of the file missing") << QStringLiteral("SQLite") << QStringLiteral("nincs/mappa");
        QTest::newRow("SQL Server not reachable") << QStringLiteral("SQLOLEDB.1") << QStringLiteral("127.0.0.1,1");
    }
    void connectionFailures()
    {
        QFETCH(QString, provider);
        QFETCH(QString, dataSource);
        if (provider.startsWith(u"SQLOLEDB") && !QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
            QSKIP("the Qt ODBC driver is not installed");
        writeManifest("sql1=1.sql\r\n");
        TrackingView view;
        QCOMPARE(runStep(view, false, provider, dataSource), DatabaseUpdate::Result::Failed);
        QVERIFY(view.ticks.isEmpty());
        QCOMPARE(view.enabledTasks, QList<int>{3});
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/1.sql")), 0);
        QCOMPARE(lines(QStringLiteral("Adatbázis hiba: ")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpdaterDatabase)
#include "test_updater_database.moc"
