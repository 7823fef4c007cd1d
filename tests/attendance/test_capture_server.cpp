// Four kovra-capture processes on one lesson of a PostgreSQL demo database at once, and one killed
// mid-run: every student has one entry per lesson and week, every entry its one insert row in the audit
// log, every audit row its write; a rerun completes the killed one.

#include "PgTestServer.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {
const QString Bin = QStringLiteral(KOVRA_BINARY_DIR);
constexpr int Lesson = 1; // the demo's largest lesson (405 students), dated weekly from 2024.10.14
const char ConnectionName[] = "capture-check";

struct Student {
    qint64 id = 0;
    QString code, card;
};

QString weekOf(const QDate &day)
{
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    return QStringLiteral("orarend_id=%1 and jelenlet_datum between '%2' and '%3'")
        .arg(Lesson)
        .arg(monday.toString(Qt::ISODate), monday.addDays(6).toString(Qt::ISODate));
}
} // namespace

class TestCaptureServer : public QObject {
    Q_OBJECT
    pgtest::Server m_server;
    QString m_db;
    QTemporaryDir dir;
    QString ini;
    QVector<Student> students;
    QStringList dates;

    QList<QStringList> rows(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(QString::fromLatin1(ConnectionName)));
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        QList<QStringList> out;
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < q.record().count(); ++c)
                row << q.value(c).toString();
            out << row;
        }
        return out;
    }
    qint64 number(const QString &sql) { return rows(sql).value(0).value(0).toLongLong(); }

    std::unique_ptr<QProcess> startCapture(const QString &date, const QStringList &codes, const QString &name)
    {
        const QString file = dir.filePath(name);
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file));
        f.write((codes.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        f.close();
        auto p = std::make_unique<QProcess>();
        p->start(Bin + QStringLiteral("/src/attendance/kovra-capture"),
                 {QStringLiteral("--ini"), ini, QStringLiteral("--user"), QStringLiteral("TANULMANYI"), QStringLiteral("--password"),
                  QStringLiteral("tanulmanyi"), QStringLiteral("--date"), date, QStringLiteral("--semester"), QStringLiteral("2"),
                  QStringLiteral("--lesson"), QString::number(Lesson), QStringLiteral("--mode"), QStringLiteral("1"), file});
        return p;
    }

    bool consistent(const QDate &day, QString *failure)
    {
        const QString week = weekOf(day);
        const qint64 doubled = number(QStringLiteral("Select count(*) From (Select hallgato_id From jelenlet Where ") + week
                                      + QStringLiteral(" Group By hallgato_id Having count(*) > 1) d"));
        const qint64 unaudited = number(
            QStringLiteral("Select count(*) From jelenlet j Where ") + week
            + QStringLiteral(" and (Select count(*) From esemenynaplo e Where e.etipus_id=1 and e.erintett_tabla COLLATE \"C\"='jelenlet' "
                             "and e.erintett_rekord COLLATE \"C\"=cast(j.jelenlet_id as text)) <> 1"));
        const qint64 phantom = number(QStringLiteral(
            "Select count(*) From esemenynaplo e Where e.erintett_tabla COLLATE \"C\"='jelenlet' and e.etipus_id in (1, 2) and not exists "
            "(Select 1 From jelenlet j Where cast(j.jelenlet_id as text)=e.erintett_rekord COLLATE \"C\")"));
        *failure = QStringLiteral("duplicates %1, entries without one insert row %2, audit rows without entry %3")
                       .arg(doubled)
                       .arg(unaudited)
                       .arg(phantom);
        return doubled == 0 && unaudited == 0 && phantom == 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = pgtest::FromEnvironment();
        if (!m_server.available())
            QSKIP(pgtest::SkipReason());
        m_db = pgtest::DatabaseName(QStringLiteral("demo"));
        const QString error = pgtest::CreateDatabase(m_server, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QProcess demo;
        demo.start(Bin + QStringLiteral("/src/data/kovra-demo"),
                   {QStringLiteral("--server"), m_server.dataSource(), QStringLiteral("--database"), m_db, QStringLiteral("--user"),
                    m_server.user, QStringLiteral("--password"), m_server.password, QStringLiteral("--today"),
                    QStringLiteral("2024-10-09"), dir.path()});
        QVERIFY(demo.waitForFinished(180000));
        QVERIFY2(demo.exitCode() == 0, demo.readAllStandardError().constData());
        ini = dir.filePath(QStringLiteral("kovra.ini"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(ConnectionName));
        db.setDatabaseName(m_server.odbc(m_db));
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        for (const QStringList &r : rows(QStringLiteral("Select h.hallgato_id, h.hallgato_kod, coalesce(h.hallgato_diak, '') From hallgato h, "
                                                        "tan_hall t Where h.hallgato_id=t.hallgato_id and t.orarend_id=%1 Order By h.hallgato_id")
                                             .arg(Lesson)))
            students.append({r[0].toLongLong(), r[1], r[2]});
        QCOMPARE(students.size(), 405);
        for (const QStringList &r : rows(QStringLiteral("Select to_char(od_datum, 'YYYY.MM.DD') From orarend_datum Where "
                                                        "orarend_id=%1 and od_datum > '2024-10-09' Order By od_datum")
                                             .arg(Lesson)))
            dates << r[0];
        QVERIFY(dates.size() >= 2);
    }

    void cleanupTestCase()
    {
        if (m_db.isEmpty())
            return;
        QSqlDatabase::database(QString::fromLatin1(ConnectionName)).close();
        QSqlDatabase::removeDatabase(QString::fromLatin1(ConnectionName));
        pgtest::DropDatabase(m_server, m_db);
    }

    void fourWorkstationsOneLesson()
    {
        const QString date = dates[0];
        QStringList byCode, lower, byCard, third;
        QSet<qint64> present;
        for (qsizetype i = 0; i < students.size(); ++i) {
            const Student &s = students[i];
            if (i % 4 == 0)
                byCode << s.code;
            if (i % 4 == 1)
                lower << s.code.toLower();
            const bool card = i % 4 == 2 && !s.card.isEmpty();
            if (card)
                byCard << s.card;
            if (i % 3 == 0)
                third << s.code << s.code;
            if (i % 4 < 2 || card || i % 3 == 0)
                present.insert(s.id);
        }
        third << QStringLiteral("VENDEG1") << QStringLiteral("O'NEIL");
        const QString started = QStringLiteral("Select count(*) From jelentes Where jel_szoveg COLLATE \"C\" like 'Jelenlét rögzítés kezdete!%'");
        const qint64 startsBefore = number(started);
        std::vector<std::unique_ptr<QProcess>> runs;
        runs.push_back(startCapture(date, byCode, QStringLiteral("a.txt")));
        runs.push_back(startCapture(date, lower, QStringLiteral("b.txt")));
        runs.push_back(startCapture(date, byCard, QStringLiteral("c.txt")));
        runs.push_back(startCapture(date, third, QStringLiteral("d.txt")));
        for (auto &p : runs) {
            QVERIFY(p->waitForFinished(240000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, p->readAllStandardError().constData());
        }
        const QDate day = QDate::fromString(date, QStringLiteral("yyyy.MM.dd"));
        const QString week = weekOf(day);
        QCOMPARE(number(QStringLiteral("Select count(*) From jelenlet Where ") + week), qint64(students.size()));
        QSet<qint64> found;
        for (const QStringList &r : rows(QStringLiteral("Select hallgato_id From jelenlet Where jt_id=1 and ") + week))
            found.insert(r[0].toLongLong());
        QCOMPARE(found, present);
        QString failure;
        QVERIFY2(consistent(day, &failure), qPrintable(failure));
        QCOMPARE(number(started), startsBefore + 4);
    }

    void killedMidRun()
    {
        const QString date = dates[1];
        const QDate day = QDate::fromString(date, QStringLiteral("yyyy.MM.dd"));
        QStringList all;
        for (const Student &s : std::as_const(students))
            all << s.code;
        const QString count = QStringLiteral("Select count(*) From jelenlet Where ") + weekOf(day);
        auto p = startCapture(date, all, QStringLiteral("all.txt"));
        QVERIFY(p->waitForStarted(10000));
        QDeadlineTimer deadline(120000);
        while (number(count) < 40 && p->state() == QProcess::Running && !deadline.hasExpired())
            QThread::msleep(2);
        QCOMPARE(p->state(), QProcess::Running);
        p->kill(); // SIGKILL
        QVERIFY(p->waitForFinished(10000));
        QThread::msleep(200); // the server notices the lost client and rolls its unit back
        const qint64 written = number(count);
        QVERIFY2(written >= 40 && written < students.size(), qPrintable(QString::number(written)));
        QString failure;
        QVERIFY2(consistent(day, &failure), qPrintable(failure));

        auto again = startCapture(date, all, QStringLiteral("all.txt"));
        QVERIFY(again->waitForFinished(240000));
        QVERIFY2(again->exitCode() == 0, again->readAllStandardError().constData());
        QCOMPARE(number(count), qint64(students.size()));
        QCOMPARE(number(count + QStringLiteral(" and jt_id=1")), qint64(students.size()));
        QVERIFY2(consistent(day, &failure), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestCaptureServer)
#include "test_capture_server.moc"
