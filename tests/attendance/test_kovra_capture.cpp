// kovra-capture on the demo database: the same run as the window, its refusals as exit codes.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Bin = QStringLiteral(KOVRA_BINARY_DIR);

struct Result {
    int code = -1;
    QString out, err;
};

Result run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        qFatal("%s did not finish", qPrintable(program));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

class TestKovraCapture : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString ini;

    // Rows of a statement on the demo database, header and row count left off, fields split at TAB.
    QList<QStringList> query(const QString &sql)
    {
        const Result r = run(Bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("-Q"), sql});
        if (r.code != 0)
            qFatal("kovra-sql: %s", qPrintable(r.err));
        QList<QStringList> rows;
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        for (qsizetype i = 1; i + 1 < lines.size(); ++i)
            rows << lines[i].split(u'\t');
        return rows;
    }
    Result capture(const QStringList &extra)
    {
        return run(Bin + QStringLiteral("/src/attendance/kovra-capture"),
                   QStringList{QStringLiteral("--ini"), ini, QStringLiteral("--user"), QStringLiteral("TANULMANYI")} + extra);
    }

private Q_SLOTS:
    void initTestCase()
    {
        const Result demo = run(Bin + QStringLiteral("/src/data/kovra-demo"),
                                {dir.path(), QStringLiteral("--today"), QStringLiteral("2024-10-09")});
        QVERIFY2(demo.code == 0, qPrintable(demo.err));
        ini = dir.filePath(QStringLiteral("kovra.ini"));
    }

    void capturesStoredScans()
    {
        // A dated lesson after the demo's day, so nothing is recorded for it yet.
        const QList<QStringList> lesson = query(QStringLiteral(
            "Select top 1 convert(varchar(10), d.od_datum, 102) as datum, a.orarend_id, a.felev_id From orarend_datum d, "
            "orarend a, kar k Where d.orarend_id=a.orarend_id and a.kar_id=k.kar_id and k.kar_kod='GEK' and "
            "a.orarend_heti=0 and d.od_datum > '20241009' and (Select count(*) From tan_hall t Where "
            "t.orarend_id=a.orarend_id) >= 3 Order By d.od_datum, a.orarend_id"));
        QCOMPARE(lesson.size(), 1);
        const QString date = lesson[0][0], lessonId = lesson[0][1], semester = lesson[0][2];
        const QList<QStringList> codes = query(QStringLiteral("Select top 2 h.hallgato_kod From hallgato h, tan_hall t Where "
                                                              "h.hallgato_id=t.hallgato_id and t.orarend_id=")
                                               + lessonId + QStringLiteral(" Order By h.hallgato_kod"));
        QCOMPARE(codes.size(), 2);
        const QString file = dir.filePath(QStringLiteral("scans.txt"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write((codes[0][0] + QStringLiteral("\r\n") + codes[1][0].toLower() + QStringLiteral("\r\nNOBODY'1\r\n")).toUtf8());
        f.close();
        const QStringList args{QStringLiteral("--password"), QStringLiteral("tanulmanyi"), QStringLiteral("--date"), date,
                               QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), lessonId, file};

        // Refusals: a wrong password, a lesson not offered that day, a date that is no date.
        QStringList wrong = args;
        wrong[1] = QStringLiteral("nem");
        QCOMPARE(capture(wrong).code, 3);
        QStringList otherLesson = args;
        otherLesson[7] = QStringLiteral("999999");
        const Result refused = capture(otherLesson);
        QCOMPARE(refused.code, 4);
        QVERIFY(refused.err.contains(QStringLiteral("not offered")));
        QStringList badDate = args;
        badDate[3] = QStringLiteral("2024.02.30");
        QCOMPARE(capture(badDate).code, 4);
        QCOMPARE(query(QStringLiteral("Select count(*) From jelenlet Where orarend_id=") + lessonId
                       + QStringLiteral(" and jelenlet_datum='") + QString(date).remove(u'.') + u'\''),
                 QList<QStringList>{{QStringLiteral("0")}});

        // The run: both codes present, everyone else absent, the stranger left with a reason.
        const Result done = capture(args);
        QVERIFY2(done.code == 0, qPrintable(done.err));
        QVERIFY(done.out.startsWith(QStringLiteral("NOBODY'1")));
        const QString where = QStringLiteral(" From jelenlet Where orarend_id=") + lessonId
                              + QStringLiteral(" and jelenlet_datum='") + QString(date).remove(u'.') + u'\'';
        const QList<QStringList> enrolled =
            query(QStringLiteral("Select count(*) From tan_hall Where orarend_id=") + lessonId);
        QCOMPARE(query(QStringLiteral("Select count(*)") + where), enrolled);
        QCOMPARE(query(QStringLiteral("Select count(*)") + where + QStringLiteral(" and jt_id=1")),
                 QList<QStringList>{{QStringLiteral("2")}});

        // Again without a mode: the existing capture is kept unless confirmed.
        const Result kept = capture(args);
        QCOMPARE(kept.code, 5);
        QVERIFY(kept.err.contains(QStringLiteral("Létezik az órarend adott dátumához jelenlét!")));
        QCOMPARE(capture(QStringList{QStringLiteral("--yes")} + args).code, 0);
    }
};

QTEST_GUILESS_MAIN(TestKovraCapture)
#include "test_kovra_capture.moc"
