// The attendance list and the printed reports on the embedded engine: a lesson of 405 students with
// 15 lesson dates, every student with an entry on every date. Measures the matrix list window's
// "Indítás" and the matrix statement alone (through our connection layer, and translated beforehand
// through the raw SQLite C API), the landscape sheet to PDF, and 500 cards to PDF.

#include "Adatmodul.h"
#include "AttendanceMatrix.h"
#include "AttendanceSheet.h"
#include "CardSelection.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "Schema.h"
#include "VDCComboBox.h"
#include "form_JelenletLista_Unit.h"
#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sqlite3.h>

namespace {

constexpr int Students = 405;
constexpr int Cards = 500;
constexpr int LessonDates = 15;
constexpr int Repeats = 5;

void exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("%s", err);
}

void seed(sqlite3 *db)
{
    exec(db, QStringLiteral("BEGIN"));
    exec(db, QStringLiteral("INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GEK', 'Gépészmérnöki Kar');"
                            "INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, '2023/24 tavasz', "
                            "'2024-02-05', '2024-05-31');"
                            "INSERT INTO oktato (oktato_id, oktato_nev) VALUES (1, 'Dr. Oktató Olga');"
                            "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) "
                            "VALUES (1, 1, 1, 'Előadás', '08:00:00', '09:30:00');"
                            "INSERT INTO tan_okt (oktato_id, orarend_id) VALUES (1, 1);"));
    for (int d = 0; d < LessonDates; ++d)
        exec(db, QStringLiteral("INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (1, date('2024-02-07', '+%1 days'))")
                     .arg(d * 7));
    for (int i = 1; i <= Cards; ++i) {
        exec(db, QStringLiteral("INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES (%1, 'K%2', "
                                "'Hallgató %2 Keresztnév')")
                     .arg(i)
                     .arg(i, 5, 10, QChar(u'0')));
        if (i > Students)
            continue;
        exec(db, QStringLiteral("INSERT INTO tan_hall (hallgato_id, orarend_id) VALUES (%1, 1)").arg(i));
        for (int d = 0; d < LessonDates; ++d)
            exec(db, QStringLiteral("INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES "
                                    "(%1, 1, date('2024-02-07', '+%2 days'), %3)")
                         .arg(i)
                         .arg(d * 7)
                         .arg(1 + (i + d) % 3));
    }
    exec(db, QStringLiteral("COMMIT"));
}

class Silent final : public MessagePresenter {
    bool info(const QString &) override { return true; }
    bool confirm(const QString &) override { return true; }
};

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    QTemporaryDir dir;
    QString error;
    sqlite3 *db = schema::CreateSqliteDatabase(dir.filePath(QStringLiteral("KOVRA.sqlite")), &error);
    if (!db)
        qFatal("%s", qPrintable(error));
    seed(db);
    sqlite3_close(db);

    Silent silent;
    SetMessagePresenter(&silent);
    const QDateTime now(QDate(2024, 5, 20), QTime(10, 0));
    Tform_Adatmodul module;
    module.ADOConn.setClock([&] { return now; });
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + dir.path());
    module.ADOConn.open();
    LoginInfo.UserId = QStringLiteral("1");
    LoginInfo.FacultyId = QStringLiteral("1");
    LoginInfo.FacultyName = QStringLiteral("Gépészmérnöki Kar");
    LoginInfo.RoleId = 2;
    QElapsedTimer t;

    // The window: "Indítás" on the lesson, the grid filled.
    QVector<double> windowMs;
    int windowRows = 0;
    {
        Tform_JelenletLista w;
        form_JelenletLista = &w;
        w.show();
        app.processEvents();
        for (int i = 0; i < Repeats; ++i) {
            w.vdc_orarend->setCurrentIndex(0);
            t.start();
            w.bb_indit->click();
            app.processEvents();
            windowMs << t.nsecsElapsed() / 1e6;
        }
        windowRows = w.SZURES.recordCount();
        form_JelenletLista = nullptr;
    }

    // The matrix statement through our layer.
    Dataset keres(&module.ADOConn, QStringLiteral("keres")), szures(&module.ADOConn, QStringLiteral("SZURES")),
        upd(&module.ADOConn, QStringLiteral("ADOQuery1"));
    QVector<double> layerMs;
    MatrixBuild build;
    const QString statement = MatrixListStatement(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
    build = BuildMatrix(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), keres, szures, upd, keres);
    build.facultyName = LoginInfo.FacultyName;
    build.semesterText = QStringLiteral("2023/24 tavasz");
    build.lessonText = QStringLiteral("Előadás - ");

    // The same statement, translated beforehand, through the raw C API (every row and column fetched).
    sql::SqliteRuntime runtime;
    runtime.now = now;
    sqlite3 *raw = nullptr;
    sqlite3_open(dir.filePath(QStringLiteral("KOVRA.sqlite")).toUtf8().constData(), &raw);
    sql::RegisterSqliteExtensions(raw, &runtime);
    sql::Catalog catalog = sql::Catalog::fromSqlite(raw);
    sql::Translator translator(&catalog);
    const QByteArray translated = translator.translate(statement)->statements.front().sql.toUtf8();

    QVector<double> rawMs;
    int rawRows = 0;
    // Alternating, so both see the same load of the machine.
    for (int i = 0; i < 2 * Repeats + 1; ++i) {
        t.start();
        szures.close();
        szures.setSql(statement);
        szures.open();
        layerMs << t.nsecsElapsed() / 1e6;
        t.start();
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(raw, translated.constData(), int(translated.size()), &st, nullptr) != SQLITE_OK)
            qFatal("raw: %s", sqlite3_errmsg(raw));
        rawRows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rawRows;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sqlite3_column_text(st, c);
        }
        sqlite3_finalize(st);
        rawMs << t.nsecsElapsed() / 1e6;
    }
    sqlite3_close(raw);

    // The landscape sheet: its statement, the header queries, the layout and the PDF.
    QVector<double> sheetMs;
    int sheetPages = 0;
    for (int i = 0; i < Repeats; ++i) {
        t.start();
        const report::Report sheet = BuildAttendanceSheet(build, true, szures, keres);
        sheet.savePdf(dir.filePath(QStringLiteral("sheet.pdf")));
        sheetMs << t.nsecsElapsed() / 1e6;
        sheetPages = sheet.pageCount();
    }

    // 500 cards: the query, the layout with barcodes and check numbers, the PDF.
    QVector<double> cardMs;
    int cardPages = 0;
    for (int i = 0; i < Repeats; ++i) {
        t.start();
        Dataset q(&module.ADOConn, QStringLiteral("SZURES"));
        q.setSql(QStringLiteral("Select a.hallgato_id, a.hallgato_kod, a.hallgato_nev From hallgato a Order By hallgato_nev"));
        q.open();
        const report::Report cards = CardSheetReport(report::RowsOf(q));
        cards.savePdf(dir.filePath(QStringLiteral("cards.pdf")));
        cardMs << t.nsecsElapsed() / 1e6;
        cardPages = cards.pageCount();
    }

    const double layer = median(layerMs), rawMedian = median(rawMs);
    out << "matrix list window, Indítás: " << median(windowMs) << " ms (median of " << Repeats << "), " << windowRows
        << " rows, " << build.dates.size() << " dates\n"
        << "matrix statement through the connection layer: " << layer << " ms; raw SQLite C API: " << rawMedian << " ms ("
        << rawRows << " rows); ratio " << qSetRealNumberPrecision(2) << layer / rawMedian << qSetRealNumberPrecision(1) << '\n'
        << "landscape sheet to PDF: " << median(sheetMs) << " ms, " << sheetPages << " pages\n"
        << Cards << " cards to PDF: " << median(cardMs) << " ms, " << cardPages << " pages\n";
    return 0;
}
