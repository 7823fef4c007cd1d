// The lookup behind the capture window's per-scan line, on the demo database: every student's
// Neptun code, card number and other code, and as many unknown codes, each looked up against a
// lesson with enrolled students (as the reader sends them, one after another). Reports the time
// per code; the reader sends at most ten codes a second, so a lookup has 100 ms at the very most.
//
//   build/release/bench/bench_scanlookup [DEMO_DIR]
// Without a folder the demo database is made afresh by kovra-demo of the same build.

#include "Adatmodul.h"
#include "LoginInfo.h"
#include "ScanLookup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    QTemporaryDir made;
    QString demo = args.value(1);
    if (demo.isEmpty()) {
        demo = made.path();
        const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/data/kovra-demo");
        QProcess make;
        make.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        make.start(tool, {demo, QStringLiteral("--force")});
        if (!make.waitForFinished(300000) || make.exitCode() != 0) {
            QTextStream(stderr) << "bench_scanlookup: " << tool << " failed\n";
            return 1;
        }
    }
    if (!QFileInfo::exists(demo + QStringLiteral("/KOVRA.sqlite"))) {
        QTextStream(stderr) << "usage: bench_scanlookup [DEMO_DIR] (a folder made by kovra-demo)\n";
        return 2;
    }
    Tform_Adatmodul module;
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + demo);
    module.ADOConn.open();

    const ResultSet lesson = module.ADOConn.query(
        QStringLiteral("bench"),
        QStringLiteral("Select top 1 orarend_id, Count(*) as db From tan_hall Group By orarend_id Order By db desc"));
    if (lesson.rows.isEmpty()) {
        QTextStream(stderr) << "bench_scanlookup: no enrolment in the demo database\n";
        return 1;
    }
    const QString lessonId = lesson.rows[0][0].toString();
    const ResultSet students = module.ADOConn.query(
        QStringLiteral("bench"), QStringLiteral("Select hallgato_kod, hallgato_diak, hallgato_oa From hallgato"));
    QStringList codes;
    for (const auto &row : students.rows)
        for (int c = 0; c < 3; ++c)
            if (!row[c].toString().isEmpty())
                codes << row[c].toString();
    const qsizetype known = codes.size();
    for (qsizetype i = 0; i < known; ++i)
        codes << QStringLiteral("X%1").arg(i, 7, 10, QChar(u'0'));

    ScanLookup lookup(&module.ADOConn);
    QElapsedTimer first;
    first.start();
    lookup.lookup(codes.first(), lessonId); // the statement's first translation, once per program run
    const double firstMs = first.nsecsElapsed() / 1e6;
    QList<double> ms;
    ms.reserve(codes.size());
    int enrolled = 0, notEnrolled = 0, unknown = 0;
    QElapsedTimer all;
    all.start();
    for (const QString &code : std::as_const(codes)) {
        QElapsedTimer t;
        t.start();
        const ScanResult r = lookup.lookup(code, lessonId);
        ms << t.nsecsElapsed() / 1e6;
        enrolled += r.kind == ScanResult::Enrolled;
        notEnrolled += r.kind == ScanResult::NotEnrolled;
        unknown += r.kind == ScanResult::Unknown;
    }
    const double total = all.nsecsElapsed() / 1e6;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min<qsizetype>(ms.size() - 1, qsizetype(q * ms.size()))]; };
    out << "students " << students.rows.size() << ", lesson " << lessonId << ", codes " << codes.size() << " ("
        << enrolled << " enrolled, " << notEnrolled << " not enrolled, " << unknown << " unknown)\n";
    out << QStringLiteral("first code (statement translated): %1 ms\n").arg(firstMs, 0, 'f', 3);
    out << QStringLiteral("per code: mean %1 ms, median %2 ms, 95th percentile %3 ms, 99th %4 ms, max %5 ms\n")
               .arg(total / ms.size(), 0, 'f', 3)
               .arg(at(0.5), 0, 'f', 3)
               .arg(at(0.95), 0, 'f', 3)
               .arg(at(0.99), 0, 'f', 3)
               .arg(ms.last(), 0, 'f', 3);
    out << QStringLiteral("ten codes: %1 ms of the reader's 1000 ms\n").arg(10 * total / ms.size(), 0, 'f', 2);
    return at(0.99) < 5.0 ? 0 : 1;
}
