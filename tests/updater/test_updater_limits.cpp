// The built frissites against hostile answers: a server that trickles, a body without end, a body
// longer than the manifest announces, a script that never ends, a symbolic link out of a target root.
// Each ends at its limit with the failure in the log, and the main program is started all the same.

#include "Workspace.h"

#include <QFile>

#include <sqlite3.h>

namespace {

const QByteArray Program = Workspace::program("kovra");

// Small limits, so the cases end in seconds; with "Idotullepes=2" of the workspace's configuration a
// transfer moving fewer than 1024 bytes in 2 s is given up. The general size limit (2 MiB) is above the
// manifest's own (1 MiB).
const QByteArray Limits = "[Szerverek]\r\nLetoltes idokorlat=5\r\nLetoltes meretkorlat=2\r\nScript idokorlat=1\r\n";

void baseSetup(Workspace &ws, const QByteArray &manifest, const QByteArray &eleresek = {})
{
    ws.writeConfig(QStringLiteral("frissites.ini"), eleresek + Limits);
    ws.local(QStringLiteral("kovra"), Program, true);
    ws.publishManifest(manifest);
    ws.publishUpdaterManifest("1.0g");
}

} // namespace

class TestUpdaterLimits : public QObject {
    Q_OBJECT

    TestServer m_server;

private Q_SLOTS:
    void downloads_data()
    {
        QTest::addColumn<QString>("path"); // the hostile route
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("bodySize");
        QTest::addColumn<bool>("endless");
        QTest::addColumn<QString>("target"); // local file of the download
        QTest::addColumn<QString>("note");   // the limit's log line, after "Letöltési hiba: <url>: "
        QTest::addColumn<int>("exitCode");
        // 800 bytes every half second: above the low-speed limit, never an end
        QTest::newRow("trickling manifest") << "/kovra/webfrissites.ini" << 800 << 1000000 << false << "upd.ini"
                                            << "nem ért véget 5 mp alatt" << 101;
        // 2 bytes every half second: below 1024 bytes in 2 s
        QTest::newRow("manifest below the low-speed limit") << "/kovra/webfrissites.ini" << 2 << 100000 << false << "upd.ini"
                                                            << "túl lassú, 2 mp alatt kevesebb, mint 1024 bájt érkezett" << 101;
        QTest::newRow("program below the low-speed limit") << "/kovra/bin/kovra" << 2 << 100 << false << "kovra_Uj"
                                                           << "túl lassú, 2 mp alatt kevesebb, mint 1024 bájt érkezett" << 4;
        QTest::newRow("endless manifest") << "/kovra/webfrissites.ini" << 0 << 0 << true << "upd.ini"
                                          << "nagyobb, mint 1048576 bájt" << 101;
        // the manifest announces 100 bytes for the main program
        QTest::newRow("program longer than announced") << "/kovra/bin/kovra" << 0 << 5000 << false << "kovra_Uj"
                                                       << "nagyobb, mint 100 bájt" << 4;
        QTest::newRow("endless program") << "/kovra/bin/kovra" << 0 << 0 << true << "kovra_Uj"
                                         << "nagyobb, mint 100 bájt" << 4;
    }
    void downloads()
    {
        QFETCH(QString, path);
        QFETCH(int, chunkSize);
        QFETCH(int, bodySize);
        QFETCH(bool, endless);
        QFETCH(QString, target);
        QFETCH(QString, note);
        QFETCH(int, exitCode);
        Workspace ws(m_server);
        baseSetup(ws, Workspace::programSection(QByteArray(100, 'p')));
        TestServer::Route route;
        route.body = QByteArray(bodySize, 'x');
        route.chunkSize = chunkSize;
        route.chunkDelayMs = 500;
        route.endless = endless;
        m_server.setRoute(path, route);

        const auto r = ws.run({}, QStringLiteral(FRISSITES_EXE), 60000);
        m_server.removeRoute(path);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        const QString url = m_server.url() + path.mid(1);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Fájl letöltés: ") + url + QStringLiteral(" -> ") + target + QStringLiteral(" (Hiba)"),
                         QStringLiteral("Letöltési hiba: ") + url + QStringLiteral(": ") + note,
                         QStringLiteral("Hibakód: ") + QString::number(exitCode), QStringLiteral("Program futtatása: kovra "));
        QVERIFY(!QFileInfo::exists(ws.wdFile(target))); // nothing half-loaded is kept
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("kovra"))), Program);
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
    }

    void endlessScript()
    {
        Workspace ws(m_server);
        baseSetup(ws, "[Adatbazis]\r\nfelhasznalo=sa\r\njelszo=X3FF\r\nsql6=6.sql\r\nsql7=7.sql\r\n");
        ws.publish(QStringLiteral("kovra/6.sql"),
                   "insert into naplo values ('elotte')\r\nGO\r\n"
                   "with recursive c(x) as (select 1 union all select x + 1 from c) select count(*) from c\r\nGO\r\n"
                   "update beallitasok set ADATBAZIS_VERZIO = 6\r\n");
        ws.publish(QStringLiteral("kovra/7.sql"), "update beallitasok set ADATBAZIS_VERZIO = 7\r\n");
        QDir().mkpath(ws.wdFile(QStringLiteral("db")));
        const QString db = ws.wdFile(QStringLiteral("db/KOVRA.sqlite"));
        Workspace::put(db, {});
        {
            sqlite3 *h = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &h), SQLITE_OK);
            QCOMPARE(sqlite3_exec(h, "create table beallitasok (ADATBAZIS_VERZIO int); insert into beallitasok values (5);"
                                     "create table naplo (szoveg text);",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(h);
        }

        const auto r = ws.run({QStringLiteral("/ADATBAZIS")}, QStringLiteral(FRISSITES_EXE), 60000);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 102);
        VERIFY_LOG_ORDER(ws, QStringLiteral("SQL fájl futtatása: 6.sql"),
                         QStringLiteral("Adatbázis hiba: 6.sql: a köteg 1 mp alatt nem futott le, megszakítva"),
                         QStringLiteral("Frissítési üzenetek: Hiba az adatbázis frissítésekor!"), QStringLiteral("Hibakód: 102"),
                         QStringLiteral("Program futtatása: kovra "));
        QVERIFY(ws.linesStartingWith(QStringLiteral("SQL fájl futtatása: 7.sql")).isEmpty());
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));

        sqlite3 *h = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &h), SQLITE_OK);
        sqlite3_stmt *st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(h, "select (select ADATBAZIS_VERZIO from beallitasok) || '/' || (select group_concat(szoveg) from naplo)",
                                    -1, &st, nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        const QString state = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(h);
        QCOMPARE(state, QStringLiteral("5/elotte"));
    }

    void symbolicLinks()
    {
        Workspace ws(m_server);
        QTemporaryDir outside;
        QVERIFY(outside.isValid());
        const QByteArray inner = "belso", escape = "szokes", viaFile = "fajllink";
        ws.publish(QStringLiteral("kovra/files/inner.txt"), inner);
        ws.publish(QStringLiteral("kovra/files/escape.txt"), escape);
        ws.publish(QStringLiteral("kovra/files/file.txt"), viaFile);
        auto entry = [](int n, const QByteArray &remote, const QByteArray &content, const QByteArray &local) -> QByteArray {
            const QByteArray k = QByteArray::number(n);
            return "fajl" + k + "=" + remote + "\r\nfajlmeret" + k + "=" + QByteArray::number(content.size()) + "\r\nchecksum"
                   + k + "=" + Workspace::checksum(content) + "\r\nhelyifajl" + k + "=" + local + "\r\nmegosztas" + k + "=1\r\n";
        };
        baseSetup(ws,
                  "[Fajlok]\r\n" + entry(1, "files/inner.txt", inner, "bent/inner.txt")
                      + entry(2, "files/escape.txt", escape, "ki/escape.txt") + entry(3, "files/file.txt", viaFile, "link.txt"),
                  "Fajl megosztas1=root\r\n");
        QDir().mkpath(ws.wdFile(QStringLiteral("root/valodi")));
        // inside the root: a link to a folder of the root is followed
        QVERIFY(QFile::link(ws.wdFile(QStringLiteral("root/valodi")), ws.wdFile(QStringLiteral("root/bent"))));
        // out of the root: a folder link and a file link
        QVERIFY(QFile::link(outside.path(), ws.wdFile(QStringLiteral("root/ki"))));
        const QString victim = QDir(outside.path()).filePath(QStringLiteral("victim.txt"));
        Workspace::put(victim, "ne bantsd");
        QVERIFY(QFile::link(victim, ws.wdFile(QStringLiteral("root/link.txt"))));

        const auto r = ws.run({QStringLiteral("/FAJLFRISSITES")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("root/valodi/inner.txt"))), inner);
        QVERIFY(!QFileInfo::exists(QDir(outside.path()).filePath(QStringLiteral("escape.txt"))));
        QCOMPARE(Workspace::read(victim), QByteArray("ne bantsd"));
        QCOMPARE(ws.linesStartingWith(QStringLiteral("Fájl másolás: ")).size(), 2);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Fájl másolás: ki/escape.txt (Hiba: a szimbolikus link ") + ws.wdFile(QStringLiteral("root/ki"))
                                 + QStringLiteral(" a megosztáson kívülre mutat)"),
                         QStringLiteral("Fájl másolás: link.txt (Hiba: a szimbolikus link ") + ws.wdFile(QStringLiteral("root/link.txt"))
                             + QStringLiteral(" a megosztáson kívülre mutat)"),
                         QStringLiteral("Program futtatása: kovra "));
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
    }
};

QTEST_GUILESS_MAIN(TestUpdaterLimits)
#include "test_updater_limits.moc"
