// kovra-print on the demo database: sheets and cards as the windows print them, the barcodes of the
// printed cards read back by zbarimg from the rasterised PDF, the refusals as exit codes.

#include "../reports/PdfPages.h"

#include <QDir>
#include <QProcess>
#include <QSet>
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
    if (!p.waitForFinished(180000))
        qFatal("%s did not finish", qPrintable(program));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestKovraPrint : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString ini;
    QString semester, lesson, otherFacultyLesson;
    QStringList codes, ids; // the lesson's students

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
    Result print(const QString &user, const QString &password, const QStringList &args)
    {
        return run(Bin + QStringLiteral("/src/cards/kovra-print"),
                   QStringList{QStringLiteral("--ini"), ini, QStringLiteral("--user"), user, QStringLiteral("--password"), password}
                       + args);
    }
    Result cards(const QStringList &args) { return print(QStringLiteral("KARTYA"), QStringLiteral("kartya"), args); }
    QString out(const QString &name) const { return dir.filePath(name); }

    // Every Code 128 symbol that zbarimg reads on the pages of a PDF rasterised at 300 dpi.
    QStringList decodedBarcodes(const QString &pdf)
    {
        const QString pages = dir.filePath(QFileInfo(pdf).baseName() + QStringLiteral("-pages"));
        QDir().mkpath(pages);
        const Result raster = run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                                                               QStringLiteral("-png"), pdf, pages + QStringLiteral("/p")});
        if (raster.code != 0)
            qFatal("pdftoppm: %s", qPrintable(raster.err));
        QStringList decoded;
        for (const QString &png : QDir(pages).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
            const Result z = run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sdisable"),
                                                             QStringLiteral("-Scode128.enable"), QDir(pages).filePath(png)});
            decoded << z.out.split(u'\n', Qt::SkipEmptyParts);
        }
        return decoded;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const Result demo = run(Bin + QStringLiteral("/src/data/kovra-demo"),
                                {dir.path(), QStringLiteral("--today"), QStringLiteral("2024-10-09")});
        QVERIFY2(demo.code == 0, qPrintable(demo.err));
        ini = dir.filePath(QStringLiteral("kovra.ini"));
        // A lesson of the logins' faculty with a handful of students, some with lower-case codes.
        const QList<QStringList> l = query(QStringLiteral(
            "Select top 1 a.orarend_id, a.felev_id From orarend a Where a.kar_id=1 and (Select count(*) From tan_hall t "
            "Where t.orarend_id=a.orarend_id) between 12 and 40 Order By a.orarend_id"));
        QCOMPARE(l.size(), 1);
        lesson = l[0][0];
        semester = l[0][1];
        for (const QStringList &row : query(QStringLiteral("Select h.hallgato_id, h.hallgato_kod From hallgato h Where "
                                                           "h.hallgato_id in (Select t.hallgato_id From tan_hall t Where "
                                                           "t.orarend_id=")
                                            + lesson + QStringLiteral(") Order By h.hallgato_nev"))) {
            ids << row[0];
            codes << row[1];
        }
        QVERIFY(codes.size() >= 12);
        otherFacultyLesson = query(QStringLiteral("Select top 1 orarend_id From orarend Where kar_id<>1"))[0][0];
    }

    void cardBarcodesReadBack()
    {
        const QString pdf = out(QStringLiteral("cards.pdf"));
        const Result r = cards({QStringLiteral("cards"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), lesson, pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("%1 cards, %2 pages").arg(codes.size()).arg((codes.size() + 9) / 10)));
        QStringList expected;
        for (const QString &c : std::as_const(codes))
            expected << c.toUpper(); // set A has capitals only
        QStringList decoded = decodedBarcodes(pdf);
        decoded.sort();
        expected.sort();
        QCOMPARE(decoded, expected);
    }

    void cardsOfChosenStudentsRecorded()
    {
        const QString pdf = out(QStringLiteral("chosen.pdf"));
        const QString chosen = ids[0] + u',' + ids[2];
        const QString where = QStringLiteral("Select count(*) From kartya Where hallgato_id in (") + chosen + u')';
        const QString before = query(where)[0][0];
        const QStringList args{QStringLiteral("cards"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), lesson,
                               QStringLiteral("--students"), chosen, QStringLiteral("--record"), pdf};
        const Result r = cards(args);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QStringList decoded = decodedBarcodes(pdf);
        decoded.sort();
        QStringList expected{codes[0].toUpper(), codes[2].toUpper()};
        expected.sort();
        QCOMPARE(decoded, expected);
        QCOMPARE(query(where)[0][0].toInt(), before.toInt() + 2);
        // The same day again: still one issue per student and day.
        QCOMPARE(cards(args).code, 0);
        QCOMPARE(query(where)[0][0].toInt(), before.toInt() + 2);
        // A card issued today counts as a card.
        const Result left = cards({QStringLiteral("cards"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"),
                                   lesson, QStringLiteral("--students"), chosen, QStringLiteral("--without-card"), pdf});
        QCOMPARE(left.code, 5);
        QVERIFY(left.err.contains(QStringLiteral("Nincs nyomtatható adat!")));
    }

    void sheetAsTheListPrintsIt()
    {
        const QString pdf = out(QStringLiteral("sheet.pdf"));
        const QList<QStringList> dates =
            query(QStringLiteral("Select count(*) From orarend_datum Where orarend_id=") + lesson);
        const Result r = print(QStringLiteral("OKTATO"), QStringLiteral("oktato"),
                               {QStringLiteral("sheet"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), lesson, pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const int perPage = dates[0][0].toInt() >= 8 ? 21 : 34;
        const int pages = (int(codes.size()) + perPage - 1) / perPage;
        QCOMPARE(PdfPageCount(readAll(pdf)), pages);
        // Portrait or landscape by the number of dates.
        const QString size = run(QStringLiteral("pdfinfo"), {pdf}).out;
        QVERIFY2(size.contains(dates[0][0].toInt() >= 8 ? QStringLiteral("842 x 595") : QStringLiteral("595 x 842")),
                 qPrintable(size));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        const QString s = QStringLiteral("--semester"), l = QStringLiteral("--lesson");
        const QString pdf = QDir::temp().filePath(QStringLiteral("kovra-print-refused.pdf"));
        QTest::newRow("no output file") << "KARTYA" << "kartya" << QStringList{"cards", s, "1"} << 2;
        QTest::newRow("no command") << "KARTYA" << "kartya" << QStringList{s, "1", pdf} << 2;
        QTest::newRow("id not a number") << "KARTYA" << "kartya" << QStringList{"cards", s, "1", "--course", "1) or (1=1", pdf} << 2;
        QTest::newRow("sheet without lesson") << "TANULMANYI" << "tanulmanyi" << QStringList{"sheet", s, "1", pdf} << 2;
        QTest::newRow("sheet with card options") << "TANULMANYI" << "tanulmanyi" << QStringList{"sheet", s, "1", l, "1", "--record", pdf} << 2;
        QTest::newRow("wrong password") << "KARTYA" << "nem" << QStringList{"cards", s, "1", pdf} << 3;
        QTest::newRow("unknown user") << "SENKI" << "x" << QStringList{"cards", s, "1", pdf} << 3;
        QTest::newRow("teacher prints no cards") << "OKTATO" << "oktato" << QStringList{"cards", s, "1", pdf} << 4;
        QTest::newRow("year is a text") << "KARTYA" << "kartya" << QStringList{"cards", s, "1", "--year", "9) or (1=1", pdf} << 5;
    }
    void refusals()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFile::remove(args.last());
        const Result r = print(user, password, args);
        QCOMPARE(r.code, code);
        QVERIFY(!QFile::exists(QDir::temp().filePath(QStringLiteral("kovra-print-refused.pdf"))));
    }

    void lessonAndFileRefusals()
    {
        const QString pdf = out(QStringLiteral("x.pdf"));
        // A lesson of another faculty, for either print.
        QCOMPARE(cards({QStringLiteral("cards"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), otherFacultyLesson, pdf}).code, 4);
        QCOMPARE(print(QStringLiteral("TANULMANYI"), QStringLiteral("tanulmanyi"),
                       {QStringLiteral("sheet"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), otherFacultyLesson, pdf})
                     .code,
                 4);
        QVERIFY(!QFile::exists(pdf));
        // A folder that does not exist.
        const Result r = cards({QStringLiteral("cards"), QStringLiteral("--semester"), semester, QStringLiteral("--lesson"), lesson,
                                out(QStringLiteral("nincs/ilyen.pdf"))});
        QCOMPARE(r.code, 7);
        QVERIFY(r.err.contains(QStringLiteral("A fájl nem írható")));
    }
};

QTEST_GUILESS_MAIN(TestKovraPrint)
#include "test_kovra_print.moc"
