// A full capture run on the embedded engine: 400 enrolled students, 420 codes read (some twice, some by
// card number, some in lower case, 40 guests through the make-up rules), then the day summary.
// The same statements, translated beforehand, are replayed through the raw SQLite C API on a copy of the
// starting database for the ratio.

#include "Adatmodul.h"
#include "CaptureRun.h"
#include "DaySummary.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "Schema.h"
#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

namespace {

void exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("%s", err);
}

void seed(sqlite3 *db)
{
    exec(db, QStringLiteral("BEGIN"));
    exec(db, QStringLiteral("INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GEK', 'Kar');"
                            "INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (1, 'BENCH');"
                            "INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, 'f', "
                            "'2024-02-05', '2024-05-31');"
                            "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_heti, orarend_potlas) "
                            "VALUES (1, 1, 1, 'Előadás', 0, 2), (2, 1, 1, 'Gyakorlat', 0, 2);"));
    for (int d = 0; d < 5; ++d)
        exec(db, QStringLiteral("INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (1, date('2024-02-07', '+%1 days')),"
                                " (2, date('2024-02-06', '+%1 days'))").arg(d * 7));
    for (int i = 1; i <= 440; ++i) {
        exec(db, QStringLiteral("INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) "
                                "VALUES (%1, 'K%2', 'Hallgató %1', 'D%2', 'O%2')").arg(i).arg(i, 5, 10, QChar(u'0')));
        exec(db, QStringLiteral("INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (%1, %2)").arg(i).arg(i <= 400 ? 1 : 2));
        if (i > 400)
            exec(db, QStringLiteral("INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES "
                                    "(%1, 2, '2024-02-06', 2), (%1, 2, '2024-02-13', 1)").arg(i));
    }
    exec(db, QStringLiteral("COMMIT"));
}

QStringList codes()
{
    QStringList l;
    for (int i = 1; i <= 380; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 5, 10, QChar(u'0'));
        l << (i % 10 == 0 ? QStringLiteral("D") + n : i % 7 == 0 ? QStringLiteral("k") + n : QStringLiteral("K") + n);
    }
    for (int i = 1; i <= 20; ++i)
        l << QStringLiteral("K%1").arg(i * 3, 5, 10, QChar(u'0')); // read twice
    for (int i = 401; i <= 440; ++i)
        l << QStringLiteral("K%1").arg(i, 5, 10, QChar(u'0')); // guests
    return l;
}

class Silent final : public MessagePresenter {
    bool info(const QString &) override { return true; }
    bool confirm(const QString &) override { return true; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    QString error;
    sqlite3 *db = schema::CreateSqliteDatabase(dir.filePath(QStringLiteral("KOVRA.sqlite")), &error);
    if (!db)
        qFatal("%s", qPrintable(error));
    seed(db);
    exec(db, QStringLiteral("VACUUM INTO '") + dir.filePath(QStringLiteral("RAW.sqlite")) + QStringLiteral("'"));
    sqlite3_close(db);

    Silent silent;
    SetMessagePresenter(&silent);
    const QDateTime now(QDate(2024, 3, 6), QTime(10, 0));
    Tform_Adatmodul module;
    module.ADOConn.setClock([&] { return now; });
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + dir.path());
    module.ADOConn.open();
    LoginInfo.UserId = QStringLiteral("1");
    LoginInfo.FacultyId = QStringLiteral("1");
    QStringList sent;
    QObject::connect(&module.ADOConn, &Connection::statementSent, &app,
                     [&](const QString &, const QString &sql) { sent << sql; });

    CaptureRequest request;
    request.dateText = QStringLiteral("2024.03.06.");
    request.semesterId = QStringLiteral("1");
    request.lessonId = QStringLiteral("1");
    request.lessonName = QStringLiteral("Előadás - ");
    request.makeUpAllowed = true;
    CurrentTimetableId = QStringLiteral("1");
    QStringList lines = codes();
    CaptureRun run(&module.ADOConn);
    QElapsedTimer t;
    t.start();
    run.run(request, lines);
    const double runMs = t.nsecsElapsed() / 1e6;
    const qsizetype runStatements = sent.size();

    Dataset keres(&module.ADOConn, QStringLiteral("keres")), szures(&module.ADOConn, QStringLiteral("SZURES")),
        upd(&module.ADOConn, QStringLiteral("UPDATEQuery")), ellenor(&module.ADOConn, QStringLiteral("ellenor"));
    t.restart();
    const DaySummaryResult summary = ComputeDaySummary(QStringLiteral("1"), QStringLiteral("1"), keres, szures, upd, ellenor);
    const double summaryMs = t.nsecsElapsed() / 1e6;

    // The same statements, translated beforehand, through the raw C API on the starting database.
    sqlite3 *raw = nullptr;
    sqlite3_open(dir.filePath(QStringLiteral("RAW.sqlite")).toUtf8().constData(), &raw);
    sql::SqliteRuntime runtime;
    runtime.now = now;
    sql::RegisterSqliteExtensions(raw, &runtime);
    exec(raw, QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"));
    sql::Catalog catalog = sql::Catalog::fromSqlite(raw);
    sql::Translator translator(&catalog);
    QVector<QByteArray> translated;
    for (qsizetype i = 0; i < runStatements; ++i) {
        const auto batch = translator.translate(sent[i]);
        for (const auto &st : batch->statements)
            translated << st.sql.toUtf8();
    }
    t.restart();
    double prepNs = 0, presenceNs = 0; QElapsedTimer t2;
    for (const QByteArray &s : std::as_const(translated)) {
        sqlite3_stmt *st = nullptr;
        t2.start(); const bool presence = s.size() > 5000;
        const int prc = sqlite3_prepare_v2(raw, s.constData(), int(s.size()), &st, nullptr);
        if (presence) prepNs += t2.nsecsElapsed();
        if (prc != SQLITE_OK)
            qFatal("raw replay prepare %d: %s\n%s", prc, sqlite3_errmsg(raw), s.left(300).constData());
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sqlite3_column_text(st, c);
        if (rc != SQLITE_DONE)
            qFatal("raw replay step %d: %s\n%lld [%s]", rc, sqlite3_errmsg(raw), (long long)s.size(), s.toHex().left(300).constData());
        sqlite3_finalize(st);
        if (presence) presenceNs += t2.nsecsElapsed();
    }
    out << "presence prepare " << prepNs/1e6 << " total " << presenceNs/1e6 << "\n";
    const double rawMs = t.nsecsElapsed() / 1e6;
    sqlite3_close(raw);

    out << "capture run: " << runMs << " ms, " << runStatements << " statements, " << lines.size()
        << " lines left\n"
        << "day summary: " << summaryMs << " ms, " << summary.count + 1 << " rows\n"
        << "raw SQLite, same statements translated beforehand: " << rawMs << " ms; ratio " << runMs / rawMs << '\n';
    return 0;
}
