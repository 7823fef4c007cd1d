// The updater's database step on the throwaway PostgreSQL server: the base script when the settings
// table is missing, the numbered scripts above the version, and the time limit of a batch.

#include "Database.h"
#include "Download.h"
#include "Ini.h"
#include "Password.h"
#include "PgTestServer.h"
#include "RunView.h"
#include "Scripts.h"
#include "TestServer.h"
#include "UpdateLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace frissites;

class TestUpdaterServer : public QObject {
    Q_OBJECT

    pgtest::Server m_pg;
    QString m_db;
    TestServer m_http;
    QTemporaryDir m_dir;
    QString m_error;

    QString work(const QString &name) const { return m_dir.filePath(QStringLiteral("wd/") + name); }
    void publish(const QString &name, const QByteArray &text)
    {
        QFile f(m_dir.filePath(QStringLiteral("www/kovra/") + name));
        QVERIFY(QDir().mkpath(QFileInfo(f).absolutePath()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    DatabaseUpdate::Result runStep(const QByteArray &scripts, int limitSeconds)
    {
        {
            QFile f(work(QStringLiteral("upd.ini")));
            if (!f.open(QIODevice::WriteOnly))
                qFatal("upd.ini");
            f.write("[Adatbazis]\r\nfelhasznalo=" + m_pg.user.toUtf8() + "\r\njelszo=" + EncodePassword(m_pg.password).toUtf8()
                    + "\r\nBeallitasok tabla=beallitasok\r\n" + scripts);
        }
        EventLoopView view;
        UpdateLog log(work(QStringLiteral("frissites.log")));
        DownloadOptions o;
        o.workDir = work(QString());
        o.settleMilliseconds = 0;
        o.stallTimeoutSeconds = 2;
        Downloader d(view, log, o);
        IniFile manifest;
        manifest.load(work(QStringLiteral("upd.ini")));
        ConnectionSettings s;
        s.provider = QStringLiteral("PostgreSQL");
        s.catalog = m_db;
        s.dataSource = m_pg.host + u':' + m_pg.port;
        DatabaseUpdate step(view, log, d, work(QString()), false);
        step.setBatchTimeLimit(limitSeconds);
        const auto result = step.run(manifest, s, m_http.url() + QStringLiteral("kovra"));
        m_error = step.lastError();
        return result;
    }
    QString version()
    {
        std::unique_ptr<DbConnection> c = CreateConnection(
            ConnectionSettings{QStringLiteral("PostgreSQL"), m_pg.password, m_pg.user, m_db, m_pg.host + u':' + m_pg.port}, QString(), nullptr);
        qint64 v = -1;
        if (!c->open() || !c->readInteger(QStringLiteral("Select ADATBAZIS_VERZIO from beallitasok"), &v))
            return c->lastError();
        return QString::number(v);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_pg = pgtest::FromEnvironment();
        if (!m_pg.available())
            QSKIP(pgtest::SkipReason());
        m_db = pgtest::DatabaseName(QStringLiteral("db"));
        const QString error = pgtest::CreateDatabase(m_pg, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(QDir().mkpath(work(QString())));
        m_http.setRoot(m_dir.filePath(QStringLiteral("www")));
        QFile base(QStringLiteral(KOVRA_SOURCE_DIR "/db/postgresql/0.sql"));
        QVERIFY(base.open(QIODevice::ReadOnly));
        publish(QStringLiteral("sql/0.sql"), base.readAll());
        publish(QStringLiteral("sql/1.sql"), "ALTER TABLE kar ADD COLUMN kar_megjegyzes varchar(50) COLLATE kovra_ci\r\ngo  \r\n"
                                             "UPDATE beallitasok SET ADATBAZIS_VERZIO = 1\r\n");
        publish(QStringLiteral("sql/2.sql"), "SELECT pg_sleep(4)\r\nGO\r\nUPDATE beallitasok SET ADATBAZIS_VERZIO = 2\r\n");
    }

    void cleanupTestCase()
    {
        if (!m_db.isEmpty())
            pgtest::DropDatabase(m_pg, m_db);
    }

    void baseScriptThenNumberedScripts()
    {
        QVERIFY(version() != u"0"); // no settings table yet
        QCOMPARE(runStep("sql=sql/0.sql\r\nsql1=sql/1.sql\r\n", 60), DatabaseUpdate::Result::Updated);
        QCOMPARE(version(), QStringLiteral("1"));
        // the next run starts from version 1: nothing more to do
        QCOMPARE(runStep("sql=sql/0.sql\r\nsql1=sql/1.sql\r\n", 60), DatabaseUpdate::Result::Updated);
        QCOMPARE(version(), QStringLiteral("1"));
        QCOMPARE(m_http.requestCount(QStringLiteral("/kovra/sql/0.sql")), 1);
    }

    void aBatchOverTheTimeLimitStopsTheStep()
    {
        QCOMPARE(runStep("sql=sql/0.sql\r\nsql1=sql/1.sql\r\nsql2=sql/2.sql\r\n", 1), DatabaseUpdate::Result::Failed);
        QVERIFY2(m_error.contains(QStringLiteral("nem futott le")), qPrintable(m_error));
        QCOMPARE(version(), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestUpdaterServer)
#include "test_updater_server.moc"
