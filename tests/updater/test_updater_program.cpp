// The built frissites as a process against a local HTTP server: log, switches, configuration name,
// manifest failures, program update and self-update, result codes and files on disk.

#include "Workspace.h"

#include <QRegularExpression>

namespace {

const QByteArray OldProgram = Workspace::program("old");
const QByteArray NewProgram = Workspace::program("new");     // same size as OldProgram
const QByteArray NewerProgram = Workspace::program("newer"); // another size

// The main program "kovra" locally, "bin/kovra" on the server, an updater manifest with the own version.
void standardSetup(Workspace &ws, const QByteArray &serverProgram, const QByteArray &moreManifest = {})
{
    ws.writeConfig();
    ws.local(QStringLiteral("kovra"), OldProgram, true);
    ws.publish(QStringLiteral("kovra/bin/kovra"), serverProgram);
    ws.publishManifest(Workspace::programSection(serverProgram) + moreManifest);
    ws.publishUpdaterManifest("1.0g");
}

// Database, other-files and preceding-program sections: they only act with their switches.
const QByteArray SwitchedSections =
    "[Adatbazis]\r\nfelhasznalo=sa\r\njelszo=X3FF\r\nBeallitasok tabla=beallitasok\r\nsql=sql/0.sql\r\nsql1=sql/1.sql\r\n"
    "[Fajlok]\r\nfajl1=files/a.txt\r\nfajlmeret1=1\r\nchecksum1=610\r\nhelyifajl1=a.txt\r\n"
    "[futtatas]\r\nprogram1=/bin/sh\r\nparameter1=-c \"echo ran > ran.txt\"\r\n";

void publishSwitchedFiles(Workspace &ws)
{
    ws.publish(QStringLiteral("kovra/sql/0.sql"), "create table beallitasok (ADATBAZIS_VERZIO int);\r\n"
                                                  "insert into beallitasok values (0);\r\n");
    ws.publish(QStringLiteral("kovra/sql/1.sql"), "update beallitasok set ADATBAZIS_VERZIO = 1\r\n");
    ws.publish(QStringLiteral("kovra/files/a.txt"), "a");
    QDir().mkpath(ws.wdFile(QStringLiteral("db")));
}

} // namespace

class TestUpdaterProgram : public QObject {
    Q_OBJECT

    TestServer m_server;

private Q_SLOTS:
    // Without switches: manifest, self-update check and program update only; the main program starts.
    void runWithoutSwitches()
    {
        Workspace ws(m_server);
        standardSetup(ws, NewerProgram, SwitchedSections);
        publishSwitchedFiles(ws);
        const auto r = ws.run({});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);

        const QString text = ws.logText();
        const QRegularExpression start(QStringLiteral("^\r\n_{65}\r\n\r\nFrissites program elindult: \\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n"));
        QVERIFY2(start.match(text).hasMatch(), qPrintable(text));
        const QString url = m_server.url();
        const QStringList expected{
            QStringLiteral("Program paraméterek: "),
            QStringLiteral("Fájl letöltés: ") + url + QStringLiteral("kovra/webfrissites.ini -> upd.ini (Rendben)"),
            QStringLiteral("Fájl letöltés: ") + url + QStringLiteral("updater/inditofrissites.ini -> friss_upd.ini (Rendben)"),
            QStringLiteral("Fájl letöltés: ") + url + QStringLiteral("kovra/bin/kovra -> kovra_Uj (Rendben)"),
            QStringLiteral("Fájl átnevezés: kovra -> kovra_Regi (Rendben)"),
            QStringLiteral("Fájl átnevezés: kovra_Uj -> kovra (Rendben)"),
            QStringLiteral("Egyéb fájlok frissítés:"),
            QStringLiteral("- nincs"),
            QStringLiteral("Megelőző programok futtatás:"),
            QStringLiteral("- nem történt program futtatás"),
            QStringLiteral("Frissítési üzenetek: "),
            QStringLiteral("Hibakód: 0"),
            QStringLiteral("Program futtatása: kovra "),
        };
        QCOMPARE(ws.log().mid(2), expected);

        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("started.txt"))), QByteArray("newer \n"));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("kovra_Regi"))), OldProgram);
        QVERIFY(QFileInfo(ws.wdFile(QStringLiteral("kovra"))).isExecutable());
        for (const char *gone : {"upd.ini", "friss_upd.ini", "kovra_Uj", "0.sql", "1.sql", "fajl.tmp", "a.txt", "ran.txt"})
            QVERIFY2(!QFileInfo::exists(ws.wdFile(QString::fromLatin1(gone))), gone);
        QVERIFY(QDir(ws.wdFile(QStringLiteral("db"))).isEmpty());
        QCOMPARE(m_server.requests(), (QStringList{"/kovra/webfrissites.ini", "/updater/inditofrissites.ini", "/kovra/bin/kovra"}));
    }

    void switches_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QStringList>("present"); // log lines that must be there
        QTest::addColumn<QStringList>("absent");  // log lines that must not
        QTest::addColumn<QStringList>("kept");    // files left in the working directory
        QTest::addColumn<bool>("started");

        QTest::newRow("lower-case /adatbazis and /rejtett")
            << QStringList{"/adatbazis", "/rejtett"} << QStringLiteral("/ADATBAZIS /REJTETT ")
            << QStringList{"SQL fájl futtatása: 0.sql", "SQL fájl futtatása: 1.sql", "- nincs"}
            << QStringList{} << QStringList{"db/KOVRA.sqlite"} << true;
        QTest::newRow("/NINCSINDITAS") << QStringList{"/NincsInditas"} << QStringLiteral("/NINCSINDITAS ")
                                      << QStringList{"Hibakód: 0"} << QStringList{"Program futtatása: kovra "}
                                      << QStringList{} << false;
        QTest::newRow("/NINCSTORLES keeps manifests and scripts, deletes the old program")
            << QStringList{"/nincstorles", "/ADATBAZIS"} << QStringLiteral("/NINCSTORLES /ADATBAZIS ")
            << QStringList{"SQL fájl futtatása: 1.sql", "Fájl átnevezés: kovra_Uj -> kovra (Rendben)"}
            << QStringList{"Fájl átnevezés: kovra -> kovra_Regi (Rendben)"}
            << QStringList{"upd.ini", "friss_upd.ini", "0.sql", "1.sql"} << true;
        QTest::newRow("/FAJLFRISSITES and /PROGRAMFUTTATAS")
            << QStringList{"/fajlfrissites", "/programfuttatas"} << QStringLiteral("/FAJLFRISSITES /PROGRAMFUTTATAS ")
            << QStringList{"Egyéb fájlok frissítés:", "Megelőző programok futtatás:",
                           "Program futtatása: sh -c \"echo ran > ran.txt\""}
            << QStringList{"- nincs", "- nem történt program futtatás"} << QStringList{"a.txt"} << true;
        QTest::newRow("other arguments are kept in the text only")
            << QStringList{"valami", "/INDITO"} << QStringLiteral("VALAMI /INDITO ") << QStringList{"- nincs"}
            << QStringList{} << QStringList{} << true;
    }
    void switches()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, parameters);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(QStringList, kept);
        QFETCH(bool, started);
        Workspace ws(m_server);
        standardSetup(ws, NewProgram, SwitchedSections);
        publishSwitchedFiles(ws);
        const auto r = ws.run(arguments);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Program paraméterek: ") + parameters);
        for (const QString &line : present)
            VERIFY_LOG_ORDER(ws, line);
        for (const QString &line : absent)
            QVERIFY2(!ws.log().contains(line), qPrintable(line));
        for (const QString &file : kept)
            QVERIFY2(QFileInfo::exists(ws.wdFile(file)), qPrintable(file));
        if (started) {
            QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
            QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("started.txt"))), QByteArray("new \n"));
        } else {
            QVERIFY(!ws.log().join(u'\n').contains(QStringLiteral("Program futtatása: kovra")));
        }
    }

    // "/INI:other.ini" reads OTHER.INI in the working directory whatever the case of its name on disk.
    void iniSwitch()
    {
        Workspace ws(m_server);
        standardSetup(ws, NewProgram);
        ws.writeConfig(QStringLiteral("frissites.ini"), {}, QStringLiteral("http://127.0.0.1:1/"));
        ws.writeConfig(QStringLiteral("other.ini"));
        const auto r = ws.run({QStringLiteral("/ini:other.ini")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Program paraméterek: /INI:OTHER.INI "),
                         QStringLiteral("Fájl letöltés: ") + m_server.url() + QStringLiteral("kovra/webfrissites.ini -> upd.ini (Rendben)"),
                         QStringLiteral("Hibakód: 0"));
    }

    void missingConfiguration_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("defaultFileExists");
        QTest::newRow("no frissites.ini") << QStringList{} << false;
        QTest::newRow("/INI: names a missing file") << QStringList{"/INI:nincs.ini"} << true;
    }
    void missingConfiguration()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, defaultFileExists);
        Workspace ws(m_server);
        standardSetup(ws, NewProgram);
        if (!defaultFileExists)
            QVERIFY(QFile::remove(ws.wdFile(QStringLiteral("frissites.ini"))));
        const auto r = ws.run(arguments);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        // The message names "frissites.ini" whatever file was looked for; the start of the (empty) main
        // program is still attempted.
        QCOMPARE(ws.log().mid(3), (QStringList{
            "Frissítési üzenetek: Nem található a frissítéshez szükséges \"frissites.ini\" fájl!",
            "Hibakód: 0",
            "Program futtatása:  ",
            "Program futtatása meghiúsult:  ",
        }));
        QVERIFY(m_server.requests().isEmpty());
    }

    void manifestFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("stallAfter");
        QTest::addColumn<bool>("refused");
        QTest::newRow("404") << 404 << qint64(-1) << false;
        QTest::newRow("500") << 500 << qint64(-1) << false;
        QTest::newRow("stalled body") << 200 << qint64(5) << false;
        QTest::newRow("connection refused") << 200 << qint64(-1) << true;
    }
    void manifestFailures()
    {
        QFETCH(int, status);
        QFETCH(qint64, stallAfter);
        QFETCH(bool, refused);
        Workspace ws(m_server);
        standardSetup(ws, NewProgram);
        TestServer::Route route;
        route.status = status;
        route.body = "[programok]\r\nfrissito=x\r\n";
        route.stallAfter = stallAfter;
        m_server.setRoute(QStringLiteral("/kovra/webfrissites.ini"), route);
        if (refused)
            ws.writeConfig(QStringLiteral("frissites.ini"), {}, QStringLiteral("http://127.0.0.1:1/"));
        const auto r = ws.run({});
        m_server.removeRoute(QStringLiteral("/kovra/webfrissites.ini"));
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 101);
        const QString server = refused ? QStringLiteral("http://127.0.0.1:1/") : m_server.url();
        VERIFY_LOG_ORDER(ws, QStringLiteral("Fájl letöltés: ") + server + QStringLiteral("kovra/webfrissites.ini -> upd.ini (Hiba)"),
                         QStringLiteral("Frissítési üzenetek: Hiba a frissítési információk letöltésénél! Eredeti program futtatása."),
                         QStringLiteral("Hibakód: 101"), QStringLiteral("Program futtatása: kovra "));
        QVERIFY(!QFileInfo::exists(ws.wdFile(QStringLiteral("upd.ini"))));
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("started.txt"))), QByteArray("old \n"));
    }

    void programUpdate_data()
    {
        QTest::addColumn<QByteArray>("serverProgram");
        QTest::addColumn<QByteArray>("announcedChecksum"); // empty: the right one
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");   // in this order
        QTest::addColumn<int>("resultCode");
        QTest::addColumn<QByteArray>("program");     // "kovra" afterwards
        QTest::addColumn<QByteArray>("archived");    // "kovra_Regi" afterwards
        QTest::addColumn<QByteArray>("fresh");       // "kovra_Uj" afterwards
        const QByteArray none("<missing>");
        const QString renameOld = QStringLiteral("Fájl átnevezés: kovra -> kovra_Regi (Rendben)");
        const QString renameNew = QStringLiteral("Fájl átnevezés: kovra_Uj -> kovra (Rendben)");

        QTest::newRow("size differs (mode 1)") << NewerProgram << QByteArray() << 200 << QStringList{}
                                               << QStringList{renameOld, renameNew, "Hibakód: 0"} << 0
                                               << NewerProgram << OldProgram << none;
        QTest::newRow("equal size, other checksum (mode 2)") << NewProgram << QByteArray() << 200 << QStringList{}
                                                             << QStringList{renameOld, renameNew, "Hibakód: 0"} << 0
                                                             << NewProgram << OldProgram << none;
        QTest::newRow("mode 2 with /NINCSTORLES deletes the old one")
            << NewProgram << QByteArray() << 200 << QStringList{"/NINCSTORLES"} << QStringList{renameNew, "Hibakód: 0"}
            << 0 << NewProgram << none << none;
        QTest::newRow("wrong checksum: kept as _Uj") << NewProgram << QByteArray("ABC0") << 200 << QStringList{}
                                                     << QStringList{"Egyéb fájlok frissítés:", "Hibakód: 0"} << 0
                                                     << OldProgram << none << NewProgram;
        QTest::newRow("error page: never reported as downloaded")
            << NewerProgram << QByteArray() << 404 << QStringList{} << QStringList{"1", "Egyéb fájlok frissítés:", "Hibakód: 4"}
            << 4 << OldProgram << none << none;
        QTest::newRow("up to date") << OldProgram << QByteArray() << 200 << QStringList{}
                                    << QStringList{"Egyéb fájlok frissítés:", "Hibakód: 0"} << 0 << OldProgram << none << none;
    }
    void programUpdate()
    {
        QFETCH(QByteArray, serverProgram);
        QFETCH(QByteArray, announcedChecksum);
        QFETCH(int, status);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        QFETCH(int, resultCode);
        QFETCH(QByteArray, program);
        QFETCH(QByteArray, archived);
        QFETCH(QByteArray, fresh);
        Workspace ws(m_server);
        standardSetup(ws, serverProgram);
        ws.publishManifest(Workspace::programSection(serverProgram, announcedChecksum));
        if (status != 200) {
            QFile::remove(ws.wwwFile(QStringLiteral("kovra/bin/kovra")));
            ws.local(QStringLiteral("kovra_Uj"), "stale download of an earlier run");
        }
        const auto r = ws.run(arguments);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, resultCode);
        const QString download = QStringLiteral("Fájl letöltés: ") + ws.base() + QStringLiteral("/bin/kovra -> kovra_Uj (");
        if (program == OldProgram && archived == "<missing>" && fresh == "<missing>" && status == 200)
            QVERIFY(ws.linesStartingWith(download).isEmpty());
        else
            QCOMPARE(ws.linesStartingWith(download),
                     QStringList{download + (status == 200 ? QStringLiteral("Rendben)") : QStringLiteral("Hiba)"))});
        for (const QString &line : expected)
            VERIFY_LOG_ORDER(ws, line);
        if (!expected.contains(QStringLiteral("1")))
            QVERIFY(!ws.log().contains(QStringLiteral("1")) && !ws.log().contains(QStringLiteral("2")));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("kovra"))), program);
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("kovra_Regi"))), archived);
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("kovra_Uj"))), fresh);
        QVERIFY(QFileInfo(ws.wdFile(QStringLiteral("kovra"))).isExecutable());
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("started.txt"))), program.mid(16, program.indexOf(" $*") - 16) + " \n");
    }

    void selfUpdate_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("renewed");
        QTest::newRow("newer version, /INI: passed on") << QByteArray("1.0h") << QStringList{"/INDITOFRISSITES", "/ini:other.ini"} << true;
        QTest::newRow("no version, forced") << QByteArray() << QStringList{"/inditofrissites", "/INI:OTHER.INI"} << true;
        QTest::newRow("own version even when forced") << QByteArray("1.0g") << QStringList{"/INDITOFRISSITES", "/INI:other.ini"} << false;
        QTest::newRow("no version, not forced") << QByteArray() << QStringList{"/INI:other.ini"} << false;
    }
    // The new updater (the same program with a marker appended) replaces the running one, is started with
    // the arguments less /INDITOFRISSITES, reads OTHER.INI again and finishes the run.
    void selfUpdate()
    {
        QFETCH(QByteArray, version);
        QFETCH(QStringList, arguments);
        QFETCH(bool, renewed);
        Workspace ws(m_server);
        standardSetup(ws, OldProgram);
        QFile::rename(ws.wdFile(QStringLiteral("frissites.ini")), ws.wdFile(QStringLiteral("other.ini")));
        const QByteArray current = Workspace::read(QStringLiteral(FRISSITES_EXE));
        const QByteArray next = current + "\nnew updater\n";
        Workspace::put(ws.wdFile(QStringLiteral("frissites")), current, true);
        ws.publish(QStringLiteral("updater/frissites-next"), next);
        ws.publishUpdaterManifest(version, m_server.url().toUtf8() + "updater/frissites-next", next.size());

        const auto r = ws.run(arguments, ws.wdFile(QStringLiteral("frissites")));
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        const QString exe = ws.wdFile(QStringLiteral("frissites"));
        if (!renewed) {
            QCOMPARE(Workspace::read(exe), current);
            QVERIFY(ws.linesStartingWith(QStringLiteral("Frissítő program")).isEmpty());
            VERIFY_LOG_ORDER(ws, QStringLiteral("Hibakód: 0"), QStringLiteral("Program futtatása: kovra "));
            return;
        }
        const QString passedOn = QStringLiteral(" /INI:OTHER.INI ");
        VERIFY_LOG_ORDER(ws,
                         QStringLiteral("Fájl letöltés: ") + m_server.url() + QStringLiteral("updater/frissites-next -> frissites_Uj (Rendben)"),
                         QStringLiteral("Frissítő program verziófrissítés:"),
                         QStringLiteral("Fájl arhiválás: ") + exe + QStringLiteral(" -> frissites_regi (Rendben)"),
                         QStringLiteral("Fájl átnevezés: ") + exe + QStringLiteral("_Uj -> frissites (Rendben)"),
                         QStringLiteral("Program futtatása: ") + exe + u' ' + passedOn);
        // The restarted updater logs its own run.
        QDeadlineTimer deadline(30000);
        while (!ws.log().contains(QStringLiteral("Hibakód: 0")) && !deadline.hasExpired())
            QTest::qWait(100);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Program paraméterek: /INI:OTHER.INI "),
                         QStringLiteral("Fájl letöltés: ") + ws.base() + QStringLiteral("/webfrissites.ini -> upd.ini (Rendben)"),
                         QStringLiteral("Hibakód: 0"), QStringLiteral("Program futtatása: kovra "));
        QCOMPARE(ws.linesStartingWith(QStringLiteral("Frissites program elindult:")).size(), 2);
        QCOMPARE(Workspace::read(exe), next);
        QVERIFY(QFileInfo(exe).isExecutable());
        QVERIFY(!QFileInfo::exists(ws.wdFile(QStringLiteral("frissites_regi"))));
        QVERIFY(!QFileInfo::exists(ws.wdFile(QStringLiteral("frissites_Uj"))));
        QVERIFY(ws.waitForFile(QStringLiteral("started.txt")));
    }

    void selfUpdateDownloadFails()
    {
        Workspace ws(m_server);
        standardSetup(ws, OldProgram);
        const QByteArray current = Workspace::read(QStringLiteral(FRISSITES_EXE));
        Workspace::put(ws.wdFile(QStringLiteral("frissites")), current, true);
        ws.publishUpdaterManifest("1.0h", m_server.url().toUtf8() + "updater/nincs", 1000);
        const auto r = ws.run({}, ws.wdFile(QStringLiteral("frissites")));
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 2);
        VERIFY_LOG_ORDER(ws, QStringLiteral("Fájl letöltés: ") + m_server.url() + QStringLiteral("updater/nincs -> frissites_Uj (Hiba)"),
                         QStringLiteral("A Frissítő programnak nincs verziófrissítése."),
                         QStringLiteral("Egyéb fájlok frissítés:"), QStringLiteral("Hibakód: 2"),
                         QStringLiteral("Program futtatása: kovra "));
        QCOMPARE(Workspace::read(ws.wdFile(QStringLiteral("frissites"))), current);
        QVERIFY(!QFileInfo::exists(ws.wdFile(QStringLiteral("frissites_Uj"))));
    }

    // The administrator's tool gives the same checksum text as the manifests expect.
    void toolChecksum()
    {
        Workspace ws(m_server);
        const QByteArray data = QByteArray(300000, 'k') + "tail";
        ws.local(QStringLiteral("big.bin"), data);
        QProcess p;
        p.start(QStringLiteral(FRISSITES_TOOL), {QStringLiteral("checksum"), ws.wdFile(QStringLiteral("big.bin"))});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(), QByteArray::number(data.size()) + ' ' + Workspace::checksum(data) + ' '
                                                + ws.wdFile(QStringLiteral("big.bin")).toUtf8() + '\n');
    }
};

QTEST_GUILESS_MAIN(TestUpdaterProgram)
#include "test_updater_program.moc"
