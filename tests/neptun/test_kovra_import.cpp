// kovra-import on the demo database: the window's import from the command line, its refusals as
// exit codes.

#include "NeptunFixture.h"

#include <QProcess>

using namespace neptuntest;

namespace {

struct Result {
    int code = -1;
    QString out, err;
};

} // namespace

class TestKovraImport : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoFiles> demo;

    Result import(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(KOVRA_BINARY_DIR "/src/neptun/kovra-import"),
                QStringList{QStringLiteral("--ini"), demo->file("kovra.ini")} + args);
        if (!p.waitForFinished(120000))
            qFatal("kovra-import did not finish");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString value(const QString &sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(demo->file("KOVRA.sqlite").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sql::RegisterKovraCollation(db);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        QString v;
        if (sqlite3_step(st) == SQLITE_ROW)
            v = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return v;
    }
    static QStringList login(const char *user, const char *password)
    {
        return {QStringLiteral("--user"), QString::fromLatin1(user), QStringLiteral("--password"), QString::fromLatin1(password)};
    }

private Q_SLOTS:
    void initTestCase() { demo = std::make_unique<DemoFiles>(); }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QStringList office = login("TANULMANYI", "tanulmanyi");
        const QStringList faculty1{QStringLiteral("--faculty"), QStringLiteral("1")};
        const QStringList semester1{QStringLiteral("--semester"), QStringLiteral("1")};
        QTest::newRow("no semester") << office + faculty1 << 2 << "usage:";
        QTest::newRow("faculty not an id") << office + QStringList{"--faculty", "GEK"} + semester1 << 2 << "--faculty";
        QTest::newRow("wrong password") << login("TANULMANYI", "rossz") + faculty1 + semester1 << 3 << "beléptetni";
        QTest::newRow("teacher account") << login("OKTATO", "oktato") + faculty1 + semester1 << 4 << "szerepköre";
        QTest::newRow("card office") << login("KARTYA", "kartya") + faculty1 + semester1 << 4 << "szerepköre";
        QTest::newRow("another faculty") << office + QStringList{"--faculty", "2"} + semester1 << 4 << "szervezet";
        QTest::newRow("no such semester") << office + faculty1 + QStringList{"--semester", "99"} << 4 << "félév";
        QTest::newRow("nothing registered") << office + faculty1 + semester1 + QStringList{"--subject", "Nincs ilyen"} << 5
                                            << "Nincs átvehető Neptun adat!";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const QString journal = value(QStringLiteral("select count(*) from Jelentes"));
        const Result r = import(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(value(QStringLiteral("select count(*) from Jelentes")), journal);
    }

    void importsLikeTheWindow()
    {
        const QString journal = value(QStringLiteral("select count(*) from Jelentes"));
        const Result r = import(login("TANULMANYI", "tanulmanyi") + QStringList{"--faculty", "1", "--semester", "1"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Oktató rögzítésre került: ONEIL1")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Kimaradt (hiányzik: tanóraforma): ")));
        QVERIFY(r.err.contains(QStringLiteral("(tanóra forma)")));
        QVERIFY(r.err.trimmed().endsWith(QStringLiteral("Az átvétel megtörtént!")));
        QCOMPARE(value(QStringLiteral("select count(*) from Jelentes")).toInt(), journal.toInt() + 1);
        QCOMPARE(value(QStringLiteral("select felh_id || '|' || kar_id from Jelentes order by jel_id desc limit 1")),
                 QStringLiteral("2|1"));
        QCOMPARE(value(QStringLiteral("select hallgato_nev from hallgato where hallgato_id=501")), QStringLiteral("Kiss-Nagy Anna"));
        QCOMPARE(value(QStringLiteral("select count(*) from hallgato where hallgato_nev='O''Brien Kata'")), QStringLiteral("1"));
    }

    void neptunUnreachable()
    {
        const QString neptun = demo->file("NEPTUN.sqlite");
        QVERIFY(QFile::rename(neptun, neptun + QStringLiteral(".away")));
        const Result r = import(login("ADMIN", "admin") + QStringList{"--faculty", "2", "--semester", "2"});
        QVERIFY(QFile::rename(neptun + QStringLiteral(".away"), neptun));
        QCOMPARE(r.code, 7);
        QVERIFY2(r.err.contains(QStringLiteral("A művelet végrehajtása sikertelen! Próbálja újra!")), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestKovraImport)
#include "test_kovra_import.moc"
