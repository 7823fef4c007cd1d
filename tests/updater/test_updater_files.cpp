// The built frissites as a process: other files into nested folders below the target roots, preceding
// programs, and the database scripts on the embedded engine.

#include "Workspace.h"

#include <sqlite3.h>

namespace {

QString sqliteQuery(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("<no database>");
    }
    QStringList rows;
    const QByteArray s = sql.toUtf8();
    char *error = nullptr;
    sqlite3_exec(
        db, s.constData(),
        [](void *out, int n, char **values, char **) {
            QStringList cols;
            for (int i = 0; i < n; ++i)
                cols << QString::fromUtf8(values[i] ? values[i] : "NULL");
            static_cast<QStringList *>(out)->append(cols.join(u'|'));
            return 0;
        },
        &rows, &error);
    if (error) {
        rows << QStringLiteral("ERROR: ") + QString::fromUtf8(error);
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return rows.join(u';');
}

const QByteArray Program = Workspace::program("kovra");

void baseSetup(Workspace &ws, const QByteArray &manifest, const QByteArray &eleresek = {})
{
    ws.writeConfig(QStringLiteral("frissites.ini"), eleresek);
    ws.local(QStringLiteral("kovra"), Program, true);
    ws.publishManifest(manifest);
    ws.publishUpdaterManifest("1.0g");
}

QByteArray fileEntry(int n, const QByteArray &remote, const QByteArray &content, const QByteArray &root,
                     const QByteArray &local, const QByteArray &checksum = {})
{
    const QByteArray k = QByteArray::number(n);
    QByteArray e = "fajl" + k + "=" + remote + "\r\nfajlmeret" + k + "=" + QByteArray::number(content.size())
                   + "\r\nchecksum" + k + "=" + (checksum.isEmpty() ? Workspace::checksum(content) : checksum)
                   + "\r\nhelyifajl" + k + "=" + local + "\r\n";
    if (!root.isNull())
        e += "megosztas" + k + "=" + root + "\r\n";
    return e;
}

} // namespace

class TestUpdaterFiles : public QObject {
    Q_OBJECT

    TestServer m_server;

private Q_SLOTS:
    void otherFiles()
    {
        Workspace ws(m_server);
        const QString absRoot = QDir(ws.wd()).absoluteFilePath(QStringLiteral("../abs"));
        const QByteArray c("C content"), plain("plain"), wrong("wrong"), over("#!/bin/sh\necho new\n");
        const QByteArray errorPage("<html><body>404 Not Found</body></html>"); // what the server answers
        ws.publish(QStringLiteral("kovra/files/c.txt"), c);
        ws.publish(QStringLiteral("kovra/files/plain.txt"), plain);
        ws.publish(QStringLiteral("kovra/files/wrong.txt"), wrong);
        ws.publish(QStringLiteral("kovra/files/over.sh"), over);
        ws.publish(QStringLiteral("kovra/files/far.txt"), "far");
        ws.publish(QStringLiteral("kovra/files/three.txt"), "three");
        Workspace::put(QDir(absRoot).filePath(QStringLiteral("tools/over.sh")), "#!/bin/sh\necho old\n", true);
        baseSetup(ws,
                  "[Fajlok]\r\n" + fileEntry(1, "files/c.txt", c, "1", "a\\b\\c.txt")
                      + fileEntry(2, "files/plain.txt", plain, QByteArray(), "plain.txt")
                      + fileEntry(3, "files/wrong.txt", wrong, "1", "wrong.txt", "FFF0")
                      + fileEntry(4, "files/far.txt", "far", "17", "far.txt")
                      + fileEntry(5, "files/three.txt", "three", "3", "three.txt")
                      // The error page's checksum: only a download that refuses error answers keeps it out.
                      + fileEntry(6, "files/missing.txt", errorPage, "0", "missing.txt")
                      + fileEntry(7, "files/plain.txt", plain, "0", "..\\escape.txt")
                      + fileEntry(8, "files/over.sh", over, "2", "tools\\over.sh")
                      + fileEntry(9, "files/nine.txt", "nine", "x", "nine.txt")
                      + fileEntry(11, "files/plain.txt", plain, "0", "eleven.txt"),
                  "Fajl megosztas1=targets/r1\r\nFajl megosztas2=" + absRoot.toUtf8() + "\r\n");
        QDir().mkpath(ws.wdFile(QStringLiteral("targets/r1")));

        const auto r = ws.run({QStringLiteral("/FAJLFRISSITES")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        const QString dl = QStringLiteral("Fájl letöltés: ") + ws.base();
        VERIFY_LOG_ORDER(ws, QStringLiteral("Egyéb fájlok frissítés:"),
                         dl + QStringLiteral("/files/c.txt -> fajl.tmp (Rendben)"),
                         dl + QStringLiteral("/files/plain.txt -> fajl.tmp (Rendben)"),
                         dl + QStringLiteral("/files/wrong.txt -> fajl.tmp (Rendben)"),
                         QStringLiteral("Nem támogatott megosztás: 17 (files/far.txt)"),
                         QStringLiteral("Nem támogatott megosztás: 3 (files/three.txt)"),
                         dl + QStringLiteral("/files/missing.txt -> fajl.tmp (Hiba)"),
                         QStringLiteral("Érvénytelen helyi fájlnév: ..\\escape.txt (files/plain.txt)"),
                         dl + QStringLiteral("/files/over.sh -> fajl.tmp (Rendben)"),
                         QStringLiteral("Nem támogatott megosztás: x (files/nine.txt)"),
                         QStringLiteral("Megelőző programok futtatás:"), QStringLiteral("Hibakód: 0"));
        QVERIFY(!ws.log().contains(QStringLiteral("- nincs")));

        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("targets/r1/a/b/c.txt"))), c);
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("plain.txt"))), plain);
        QCOMPARE(Workspace::read(QDir(absRoot).filePath(QStringLiteral("tools/over.sh"))), over);
        QVERIFY(QFileInfo(QDir(absRoot).filePath(QStringLiteral("tools/over.sh"))).isExecutable());
        for (const char *absent : {"targets/r1/wrong.txt", "far.txt", "three.txt", "missing.txt", "../escape.txt",
                                   "nine.txt", "eleven.txt", "fajl.tmp"})
            QVERIFY2(!QFileInfo::exists(ws.wdFile(QString::fromLatin1(absent))), absent);
        for (const char *never : {"/kovra/files/far.txt", "/kovra/files/three.txt", "/kovra/files/nine.txt"})
            QCOMPARE(m_server.requestCount(QString::fromLatin1(never)), 0);
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/files/plain.txt")), 1); // not for 7 and 11
    }

    void otherFilesNeedTheirSwitch()
    {
        Workspace ws(m_server);
        ws.publish(QStringLiteral("kovra/files/plain.txt"), "plain");
        baseSetup(ws, "[Fajlok]\r\n" + fileEntry(1, "files/plain.txt", "plain", "0", "plain.txt"));
        const auto r = ws.run({});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Egyéb fájlok frissítés:"), QStringLiteral("- nincs"));
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/files/plain.txt")), 0);
        QVERIFY(!QFileInfo::exists(ws.wdFile(QStringLiteral("plain.txt"))));
    }

    void precedingPrograms_data()
    {
        QTest::addColumn<bool>("switchOn");
        QTest::newRow("with /PROGRAMFUTTATAS") << true;
        QTest::newRow("without") << false;
    }
    void precedingPrograms()
    {
        QFETCH(bool, switchOn);
        Workspace ws(m_server);
        ws.local(QStringLiteral("run1.sh"), "#!/bin/sh\n{ printf '%s|' \"$@\"; echo; pwd; } > run1.out\n", true);
        QDir().mkpath(ws.wdFile(QStringLiteral("sub")));
        baseSetup(ws, "[futtatas]\r\n"
                      "program1=run1.sh\r\nparameter1=alpha \"b c\"\r\n"
                      "program2=/bin/sh\r\nparameter2=-c \"pwd > here.txt\"\r\nkonyvtar2=sub/\r\n"
                      "program3=nincs-ilyen-program\r\nparameter3=x\r\n"
                      "program5=/bin/sh\r\nparameter5=-c \"touch five.txt\"\r\n");
        const auto r = ws.run(switchOn ? QStringList{QStringLiteral("/programfuttatas")} : QStringList{});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        if (!switchOn) {
            VERIFY_LOG_ORDER(ws, QStringLiteral("Megelőző programok futtatás:"),
                             QStringLiteral("- nem történt program futtatás"), QStringLiteral("Program futtatása: kovra "));
            QCOMPARE(ws.linesStartingWith(QStringLiteral("Program futtatása")), QStringList{"Program futtatása: kovra "});
            return;
        }
        VERIFY_LOG_ORDER(ws, QStringLiteral("Megelőző programok futtatás:"),
                         QStringLiteral("Program futtatása: run1.sh alpha \"b c\""),
                         QStringLiteral("Program futtatása: sub/sh -c \"pwd > here.txt\""),
                         QStringLiteral("Program futtatása: nincs-ilyen-program x"),
                         QStringLiteral("Program futtatása meghiúsult: nincs-ilyen-program x"),
                         QStringLiteral("Hibakód: 0"), QStringLiteral("Program futtatása: kovra "));
        QVERIFY(ws.linesStartingWith(QStringLiteral("Program futtatása: sh -c \"touch")).isEmpty());
        QVERIFY(ws.waitForFile(QStringLiteral("run1.out")));
        QTRY_COMPARE(Workspace::read(ws.wdFile(QStringLiteral("run1.out"))), QByteArray("alpha|b c|\n") + ws.wd().toUtf8() + '\n');
        QVERIFY(ws.waitForFile(QStringLiteral("sub/here.txt")));
        QTRY_COMPARE(Workspace::read(ws.wdFile(QStringLiteral("sub/here.txt"))), ws.wdFile(QStringLiteral("sub")).toUtf8() + '\n');
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
    }

    void databaseScripts_data()
    {
        QTest::addColumn<int>("initialVersion"); // -1: no database file yet
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QStringList>("scripts"); // pairs: name, text
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("rows");

        QTest::newRow("version 5 with scripts 6, 7 and 9: only 6 and 7 run, separators")
            << 5 << QByteArray("sql6=6.sql\r\nsql7=7.sql\r\nsql9=9.sql\r\n")
            << QStringList{"6.sql",
                           "insert into naplo values ('egy')\r\ngo  \r\ninsert into naplo values ('ket\r\nGOTO')\r\n"
                           "COMMIT TRANSACTION\r\ninsert into naplo values ('harom')\r\nGO\r\n"
                           "update beallitasok set ADATBAZIS_VERZIO = 6\r\n",
                           "7.sql", "update beallitasok set ADATBAZIS_VERZIO = 7\r\n",
                           "9.sql", "update beallitasok set ADATBAZIS_VERZIO = 9\r\n"}
            << QStringList{"SQL fájl futtatása: 6.sql", "SQL fájl futtatása: 7.sql", "Frissítési üzenetek: ", "Hibakód: 0"}
            << 0 << QStringLiteral("7") << QStringLiteral("egy;ket/GOTO;harom");
        QTest::newRow("base script when the settings table is missing")
            << -1 << QByteArray("sql=sql/0.sql\r\nsql1=sql/1.sql\r\n")
            << QStringList{"sql/0.sql",
                           "create table beallitasok (ADATBAZIS_VERZIO int);\r\ninsert into beallitasok values (0);\r\n"
                           "create table naplo (szoveg text collate KOVRA_CI);\r\nGO\r\n",
                           "sql/1.sql", "insert into naplo values ('Ő');\r\nupdate beallitasok set ADATBAZIS_VERZIO = 1\r\n"}
            << QStringList{"SQL fájl futtatása: 0.sql", "SQL fájl futtatása: 1.sql", "Hibakód: 0"}
            << 0 << QStringLiteral("1") << QStringLiteral("Ő");
        QTest::newRow("a failing batch gives 102, the other steps go on")
            << 5 << QByteArray("sql6=6.sql\r\nsql7=7.sql\r\nsql8=8.sql\r\n")
            << QStringList{"6.sql", "update beallitasok set ADATBAZIS_VERZIO = 6\r\n",
                           "7.sql", "insert into naplo values ('a')\r\nGO\r\nselect * from nincs_ilyen\r\nGO\r\n"
                                    "insert into naplo values ('c')\r\nGO\r\nupdate beallitasok set ADATBAZIS_VERZIO = 7\r\n",
                           "8.sql", "update beallitasok set ADATBAZIS_VERZIO = 8\r\n"}
            << QStringList{"SQL fájl futtatása: 6.sql", "SQL fájl futtatása: 7.sql", "Egyéb fájlok frissítés:",
                           "Frissítési üzenetek: Hiba az adatbázis frissítésekor!", "Hibakód: 102",
                           "Program futtatása: kovra "}
            << 102 << QStringLiteral("6") << QStringLiteral("a");
    }
    void databaseScripts()
    {
        QFETCH(int, initialVersion);
        QFETCH(QByteArray, manifest);
        QFETCH(QStringList, scripts);
        QFETCH(QStringList, expected);
        QFETCH(int, exitCode);
        QFETCH(QString, version);
        QFETCH(QString, rows);
        Workspace ws(m_server);
        baseSetup(ws, "[Adatbazis]\r\nfelhasznalo=sa\r\njelszo=X3FF\r\nBeallitasok tabla=beallitasok\r\n" + manifest);
        for (qsizetype i = 0; i + 1 < scripts.size(); i += 2)
            ws.publish(QStringLiteral("kovra/") + scripts[i], scripts[i + 1].toUtf8());
        QDir().mkpath(ws.wdFile(QStringLiteral("db")));
        const QString db = ws.wdFile(QStringLiteral("db/KOVRA.sqlite"));
        if (initialVersion >= 0) {
            Workspace::put(db, {});
            QCOMPARE(sqliteQuery(db, QStringLiteral("create table beallitasok (ADATBAZIS_VERZIO int);"
                                                    "insert into beallitasok values (%1);"
                                                    "create table naplo (szoveg text);").arg(initialVersion)),
                     QString());
        }
        const auto r = ws.run({QStringLiteral("/ADATBAZIS")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString &line : expected)
            VERIFY_LOG_ORDER(ws, line);
        QCOMPARE(sqliteQuery(db, QStringLiteral("select ADATBAZIS_VERZIO from beallitasok")), version);
        QCOMPARE(sqliteQuery(db, QStringLiteral("select replace(szoveg, char(10), '/') from naplo")), rows);
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/9.sql")), 0);
        QCOMPARE(m_server.requestCount(QStringLiteral("/kovra/8.sql")), 0);
        for (const char *script : {"0.sql", "1.sql", "6.sql", "7.sql", "upd.ini"})
            QVERIFY2(!QFileInfo::exists(ws.wdFile(QString::fromLatin1(script))), script);
    }
};

QTEST_GUILESS_MAIN(TestUpdaterFiles)
#include "test_updater_files.moc"
