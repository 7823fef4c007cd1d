// A full capture run on the embedded engine: 400 enrolled students, 420 codes read (some twice, some by
// card number, some in lower case, 40 guests through the make-up rules), then the day summary (the
// attendance matrix, 15 sign columns, every student with 15 lesson dates attended).
// The same statements, translated beforehand, are replayed through the raw SQLite C API on copies of
// the starting database: as texts, each prepared for its one execution (the ratio), and as the
// translator's bound forms, each prepared once (what the connection layer itself costs).
// Then the translator alone on the presence query of the run. With a PostgreSQL server in the
// environment (tools/pg-test-server.sh exec DIR, as tools/run-bench.sh runs it): the same run and day
// summary on a copy of the starting rows there, through ODBC on the server's Unix socket, with the
// number of round trips.

#include "Adatmodul.h"
#include "CaptureRun.h"
#include "DaySummary.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OdbcBackend.h"
#include "PgTestServer.h"
#include "ServerWriter.h"
#include "Schema.h"
#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
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

constexpr int LessonDates = 15;
const QDate FirstLesson(2024, 2, 7);
const QDate CaptureDay(2024, 3, 6); // the fifth lesson date

void seed(sqlite3 *db)
{
    exec(db, QStringLiteral("BEGIN"));
    exec(db, QStringLiteral("INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GEK', 'Kar');"
                            "INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (1, 'BENCH');"
                            "INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, 'f', "
                            "'2024-02-05', '2024-05-31');"
                            "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_heti, orarend_potlas) "
                            "VALUES (1, 1, 1, 'Előadás', 0, 2), (2, 1, 1, 'Gyakorlat', 0, 2);"));
    for (int d = 0; d < LessonDates; ++d)
        exec(db, QStringLiteral("INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (1, date('2024-02-07', '+%1 days')),"
                                " (2, date('2024-02-06', '+%1 days'))").arg(d * 7));
    for (int i = 1; i <= 440; ++i) {
        exec(db, QStringLiteral("INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) "
                                "VALUES (%1, 'K%2', 'Hallgató %1', 'D%2', 'O%2')").arg(i).arg(i, 5, 10, QChar(u'0')));
        exec(db, QStringLiteral("INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (%1, %2)").arg(i).arg(i <= 400 ? 1 : 2));
        if (i > 400) {
            exec(db, QStringLiteral("INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES "
                                    "(%1, 2, '2024-02-06', 2), (%1, 2, '2024-02-13', 1)").arg(i));
            continue;
        }
        // every other lesson date of the semester already has its entry
        for (int d = 0; d < LessonDates; ++d) {
            const QDate day = FirstLesson.addDays(7 * d);
            if (day != CaptureDay)
                exec(db, QStringLiteral("INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES "
                                        "(%1, 1, '%2', %3)").arg(i).arg(day.toString(Qt::ISODate)).arg((i + d) % 5 ? 1 : 2));
        }
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

sqlite3 *openRaw(const QString &path, sql::SqliteRuntime &runtime)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        qFatal("cannot open %s", qPrintable(path));
    sql::RegisterSqliteExtensions(db, &runtime);
    exec(db, QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"));
    return db;
}

void step(sqlite3 *db, sqlite3_stmt *st)
{
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_text(st, c);
    if (rc != SQLITE_DONE)
        qFatal("raw replay: %s", sqlite3_errmsg(db));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    QTemporaryDir dir;
    QString error;
    sqlite3 *db = schema::CreateSqliteDatabase(dir.filePath(QStringLiteral("KOVRA.sqlite")), &error);
    if (!db)
        qFatal("%s", qPrintable(error));
    seed(db);
    exec(db, QStringLiteral("VACUUM INTO '") + dir.filePath(QStringLiteral("RAW.sqlite")) + QStringLiteral("'"));
    exec(db, QStringLiteral("VACUUM INTO '") + dir.filePath(QStringLiteral("BOUND.sqlite")) + QStringLiteral("'"));
    exec(db, QStringLiteral("VACUUM INTO '") + dir.filePath(QStringLiteral("SERVER.sqlite")) + QStringLiteral("'"));
    sqlite3_close(db);

    Silent silent;
    SetMessagePresenter(&silent);
    const QDateTime now(CaptureDay, QTime(10, 0));
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
    request.dateText = CaptureDay.toString(QStringLiteral("yyyy.MM.dd."));
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
    int signs = 0;
    for (int r = 0; r < szures.recordCount(); ++r)
        for (int c = 4; c < szures.fieldCount(); ++c)
            signs += !szures.value(r, c).isNull();

    // The statements of the run, translated beforehand.
    sql::SqliteRuntime runtime;
    runtime.now = now;
    sqlite3 *raw = openRaw(dir.filePath(QStringLiteral("RAW.sqlite")), runtime);
    sql::Catalog catalog = sql::Catalog::fromSqlite(raw);
    sql::Translator translator(&catalog);
    std::vector<std::shared_ptr<const sql::TranslatedBatch>> batches;
    for (qsizetype i = 0; i < runStatements; ++i)
        batches.push_back(translator.translate(sent[i]));
    QVector<QByteArray> texts;
    for (const auto &batch : batches)
        for (const sql::TranslatedStatement &st : batch->statements)
            texts << st.sql.toUtf8();

    // As texts, each prepared for its one execution.
    t.restart();
    for (const QByteArray &s : std::as_const(texts)) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(raw, s.constData(), int(s.size()), &st, nullptr) != SQLITE_OK)
            qFatal("raw replay: %s", sqlite3_errmsg(raw));
        step(raw, st);
        sqlite3_finalize(st);
    }
    const double rawMs = t.nsecsElapsed() / 1e6;
    sqlite3_close(raw);

    // As bound forms, each distinct one prepared once.
    sqlite3 *bound = openRaw(dir.filePath(QStringLiteral("BOUND.sqlite")), runtime);
    QHash<QString, sqlite3_stmt *> prepared;
    t.restart();
    for (const auto &batch : batches) {
        for (const sql::TranslatedStatement &st : batch->statements) {
            const QString &text = st.boundSql.isEmpty() ? st.sql : st.boundSql;
            sqlite3_stmt *&stmt = prepared[text];
            if (!stmt) {
                const QByteArray utf8 = text.toUtf8();
                if (sqlite3_prepare_v3(bound, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr)
                    != SQLITE_OK)
                    qFatal("bound replay: %s", sqlite3_errmsg(bound));
            }
            for (int i = 0; i < int(st.boundValues.size()); ++i) {
                const sql::TranslatedStatement::BoundValue &v = st.boundValues[size_t(i)];
                if (v.isText)
                    sqlite3_bind_text(stmt, i + 1, st.boundText.constData() + v.offset, v.size, SQLITE_STATIC);
                else
                    sqlite3_bind_int64(stmt, i + 1, v.integer);
            }
            step(bound, stmt);
            sqlite3_reset(stmt);
        }
    }
    const double boundMs = t.nsecsElapsed() / 1e6;
    for (sqlite3_stmt *st : std::as_const(prepared))
        sqlite3_finalize(st);
    sqlite3_close(bound);

    // The translator alone: the presence query of the first enrolled student, first as a new
    // statement, then the other students' (the same shape), then the same text again.
    qsizetype presence = -1;
    for (qsizetype i = 0; i < runStatements && presence < 0; ++i)
        if (sent[i].startsWith(QLatin1String("Select hallgato_kod From hallgato Where hallgato_id=")))
            presence = i;
    const QString &first = sent[presence];
    sql::Translator fresh(&catalog);
    t.restart();
    fresh.translate(first);
    const double firstUs = t.nsecsElapsed() / 1e3;
    QStringList others;
    for (qsizetype i = presence + 1; i < runStatements; ++i)
        if (sent[i].startsWith(QLatin1String("Select hallgato_kod From hallgato Where hallgato_id=")))
            others << sent[i];
    t.restart();
    for (const QString &s : std::as_const(others))
        fresh.translate(s);
    const double shapeUs = t.nsecsElapsed() / 1e3 / others.size();
    const QString copy(first.constData(), first.size()); // an equal text, not the same object
    constexpr int Repeats = 100000;
    t.restart();
    for (int i = 0; i < Repeats; ++i)
        fresh.translate(copy);
    const double cachedUs = t.nsecsElapsed() / 1e3 / Repeats;

    out << "capture run: " << runMs << " ms, " << runStatements << " statements sent, " << lines.size() << " lines left\n"
        << "day summary: " << summaryMs << " ms, " << summary.count + 1 << " rows, " << signs << " signs\n"
        << "raw SQLite, the same statements as texts, each prepared for its execution: " << rawMs << " ms; ratio run/raw "
        << qSetRealNumberPrecision(2) << runMs / rawMs << qSetRealNumberPrecision(1) << '\n'
        << "raw SQLite, their bound forms, each prepared once: " << boundMs << " ms; ratio run/raw-bound "
        << qSetRealNumberPrecision(2) << runMs / boundMs << qSetRealNumberPrecision(1) << '\n'
        << "translate presence query (" << first.size() << " chars): first " << firstUs << " us, same shape "
        << qSetRealNumberPrecision(2) << shapeUs << " us (" << others.size() << " students), cached " << cachedUs << " us\n";
    out.flush();

    const pgtest::Server pg = pgtest::FromEnvironment();
    if (!pg.available()) {
        out << "PostgreSQL: not measured (no server in the environment; tools/pg-test-server.sh exec DIR bench_capture)\n";
        return 0;
    }
    const QString database = QStringLiteral("bench_capture");
    if (const QString e = pgtest::CreateDatabase(pg, database); !e.isEmpty())
        qFatal("%s", qPrintable(e));
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("bench-load"));
        d.setDatabaseName(pg.odbc(database));
        if (!d.open())
            qFatal("%s", qPrintable(d.lastError().text()));
        sqlite3 *start = nullptr, *noNeptun = nullptr;
        sqlite3_open(dir.filePath(QStringLiteral("SERVER.sqlite")).toUtf8().constData(), &start);
        sqlite3_open(":memory:", &noNeptun);
        demo::WriteServerDatabase(d, start, noNeptun);
        sqlite3_close(start);
        sqlite3_close(noNeptun);
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-load"));
    {
        Tform_Adatmodul server; // the record operations' data module from here on
        server.ADOConn.setClock([&] { return now; });
        server.ADOConn.setConnectionString(pg.connectionString(database));
        server.ADOConn.open();
        auto *backend = static_cast<OdbcBackend *>(server.ADOConn.backend());
        QStringList serverLines = codes();
        CaptureRun serverRun(&server.ADOConn);
        const qint64 tripsBefore = backend->roundTrips();
        t.restart();
        serverRun.run(request, serverLines);
        const double serverRunMs = t.nsecsElapsed() / 1e6;
        const qint64 runTrips = backend->roundTrips() - tripsBefore;
        Dataset k(&server.ADOConn, QStringLiteral("keres")), sz(&server.ADOConn, QStringLiteral("SZURES")),
            u(&server.ADOConn, QStringLiteral("UPDATEQuery")), e(&server.ADOConn, QStringLiteral("ellenor"));
        const qint64 summaryBefore = backend->roundTrips();
        t.restart();
        const DaySummaryResult serverSummary = ComputeDaySummary(QStringLiteral("1"), QStringLiteral("1"), k, sz, u, e);
        const double serverSummaryMs = t.nsecsElapsed() / 1e6;
        int serverSigns = 0;
        for (int r = 0; r < sz.recordCount(); ++r)
            for (int c = 4; c < sz.fieldCount(); ++c)
                serverSigns += !sz.value(r, c).isNull();
        out << "PostgreSQL (ODBC, Unix socket): capture run " << serverRunMs << " ms, " << runTrips << " round trips, "
            << serverLines.size() << " lines left (embedded: " << runMs << " ms, " << runStatements << " statements)\n"
            << "PostgreSQL day summary: " << serverSummaryMs << " ms, " << backend->roundTrips() - summaryBefore << " round trips, "
            << serverSummary.count + 1 << " rows, " << serverSigns << " signs (embedded: " << summaryMs << " ms)\n";
    }
    pgtest::DropDatabase(pg, database);
    return 0;
}
