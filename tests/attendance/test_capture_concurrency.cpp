// Several kovra-capture processes on one embedded database at once, and one killed mid-run: every
// student has one entry per lesson and week, every entry its insert row in the audit log, every
// audit row its write, and the file stays intact.

#include "sql/Collation.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <sqlite3.h>

namespace {
const QString Bin = QStringLiteral(KOVRA_BINARY_DIR);
constexpr int Lesson = 1; // the demo's largest lesson (405 students), dated weekly from 2024.10.14

struct Student {
    qint64 id = 0;
    QString code, card;
};

// A read-only view of the database file beside the running processes.
class Db {
public:
    explicit Db(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            qFatal("cannot open %s", qPrintable(path));
        sqlite3_busy_timeout(m_db, 10000);
        sql::RegisterKovraCollation(m_db);
    }
    ~Db() { sqlite3_close_v2(m_db); }
    QList<QStringList> rows(const QString &sql) const
    {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(m_db));
        QList<QStringList> out;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
            out << row;
        }
        if (rc != SQLITE_DONE)
            qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(m_db));
        sqlite3_finalize(st);
        return out;
    }
    qint64 number(const QString &sql) const { return rows(sql).value(0).value(0).toLongLong(); }

private:
    sqlite3 *m_db = nullptr;
};

// The entries of the lesson in the week of day.
QString weekOf(const QDate &day)
{
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    return QStringLiteral("orarend_id=%1 and date(jelenlet_datum) between '%2' and '%3'")
        .arg(Lesson)
        .arg(monday.toString(Qt::ISODate), monday.addDays(6).toString(Qt::ISODate));
}
} // namespace

class TestCaptureConcurrency : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString ini, dbPath;
    QVector<Student> students;
    QStringList dates; // lesson dates after the demo's day, yyyy.MM.dd

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

    // The invariants of the week of day; false (with the reason in failure) when one does not hold.
    bool consistent(const Db &db, const QDate &day, QString *failure)
    {
        const QString week = weekOf(day);
        const qint64 doubled = db.number(QStringLiteral("Select count(*) From (Select hallgato_id From jelenlet Where ") + week
                                         + QStringLiteral(" Group By hallgato_id Having count(*) > 1)"));
        // every entry exactly one insert row; every insert row of a jelenlet its entry
        const qint64 unaudited = db.number(
            QStringLiteral("Select count(*) From jelenlet j Where ") + week
            + QStringLiteral(" and (Select count(*) From esemenynaplo e Where e.etipus_id=1 and e.erintett_tabla='jelenlet' "
                             "and e.erintett_rekord=cast(j.jelenlet_id as text)) <> 1"));
        const qint64 phantom = db.number(QStringLiteral(
            "Select count(*) From esemenynaplo e Where e.erintett_tabla='jelenlet' and e.etipus_id in (1, 2) and not exists "
            "(Select 1 From jelenlet j Where cast(j.jelenlet_id as text)=e.erintett_rekord)"));
        *failure = QStringLiteral("duplicates %1, entries without one insert row %2, audit rows without entry %3")
                       .arg(doubled)
                       .arg(unaudited)
                       .arg(phantom);
        return doubled == 0 && unaudited == 0 && phantom == 0;
    }

    void checkIntegrity()
    {
        QProcess p;
        p.start(Bin + QStringLiteral("/src/data/kovra-sql"), {QStringLiteral("--ini"), ini, QStringLiteral("--check")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QStringLiteral("ok"));
        QCOMPARE(p.exitCode(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QProcess demo;
        demo.start(Bin + QStringLiteral("/src/data/kovra-demo"), {dir.path(), QStringLiteral("--today"), QStringLiteral("2024-10-09")});
        QVERIFY(demo.waitForFinished(120000));
        QCOMPARE(demo.exitCode(), 0);
        ini = dir.filePath(QStringLiteral("kovra.ini"));
        dbPath = dir.filePath(QStringLiteral("KOVRA.sqlite"));
        Db db(dbPath);
        for (const QStringList &r : db.rows(QStringLiteral("Select h.hallgato_id, h.hallgato_kod, h.hallgato_diak From hallgato h, "
                                                            "tan_hall t Where h.hallgato_id=t.hallgato_id and t.orarend_id=%1 "
                                                            "Order By h.hallgato_id")
                                                .arg(Lesson)))
            students.append({r[0].toLongLong(), r[1], r[2]});
        QCOMPARE(students.size(), 405);
        for (const QStringList &r : db.rows(QStringLiteral("Select replace(date(od_datum), '-', '.') From orarend_datum Where "
                                                            "orarend_id=%1 and date(od_datum) > '2024-10-09' Order By od_datum")
                                                .arg(Lesson)))
            dates << r[0];
        QVERIFY(dates.size() >= 2);
    }

    void fourWorkstationsOneLesson()
    {
        const QString date = dates[0];
        // Four readers of one lecture: by code, in lower case, by card number, a third of them twice
        // with strangers; a student read by any of them is present.
        QStringList byCode, lower, byCard, third;
        QSet<qint64> present;
        for (qsizetype i = 0; i < students.size(); ++i) {
            const Student &s = students[i];
            if (i % 4 == 0)
                byCode << s.code;
            if (i % 4 == 1)
                lower << s.code.toLower();
            const bool card = i % 4 == 2 && !s.card.isEmpty(); // some have none
            if (card)
                byCard << s.card;
            if (i % 3 == 0)
                third << s.code << s.code;
            if (i % 4 < 2 || card || i % 3 == 0)
                present.insert(s.id);
        }
        third << QStringLiteral("VENDEG1") << QStringLiteral("O'NEIL");
        const QString started = QStringLiteral("Select count(*) From jelentes Where jel_szoveg like 'Jelenlét rögzítés kezdete!%'");
        const qint64 startsBefore = Db(dbPath).number(started);
        std::vector<std::unique_ptr<QProcess>> runs;
        runs.push_back(startCapture(date, byCode, QStringLiteral("a.txt")));
        runs.push_back(startCapture(date, lower, QStringLiteral("b.txt")));
        runs.push_back(startCapture(date, byCard, QStringLiteral("c.txt")));
        runs.push_back(startCapture(date, third, QStringLiteral("d.txt")));
        for (auto &p : runs) {
            QVERIFY(p->waitForFinished(240000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, p->readAllStandardError().constData());
        }

        Db db(dbPath);
        const QDate day = QDate::fromString(date, QStringLiteral("yyyy.MM.dd"));
        const QString week = weekOf(day);
        QCOMPARE(db.number(QStringLiteral("Select count(*) From jelenlet Where ") + week), qint64(students.size()));
        QSet<qint64> found;
        for (const QStringList &r : db.rows(QStringLiteral("Select hallgato_id From jelenlet Where jt_id=1 and ") + week))
            found.insert(r[0].toLongLong());
        QCOMPARE(found, present);
        QString failure;
        QVERIFY2(consistent(db, day, &failure), qPrintable(failure));
        // one start journal row per run
        QCOMPARE(db.number(started), startsBefore + 4);
        checkIntegrity();
    }

    void killedMidRun()
    {
        const QString date = dates[1];
        const QDate day = QDate::fromString(date, QStringLiteral("yyyy.MM.dd"));
        QStringList all;
        for (const Student &s : std::as_const(students))
            all << s.code;
        Db db(dbPath);
        const QString count = QStringLiteral("Select count(*) From jelenlet Where ") + weekOf(day);

        auto p = startCapture(date, all, QStringLiteral("all.txt"));
        QVERIFY(p->waitForStarted(10000));
        QDeadlineTimer deadline(120000);
        qint64 written = 0;
        while ((written = db.number(count)) < 40 && p->state() == QProcess::Running && !deadline.hasExpired())
            QThread::msleep(2);
        QCOMPARE(p->state(), QProcess::Running);
        p->kill(); // SIGKILL
        QVERIFY(p->waitForFinished(10000));
        written = db.number(count);
        QVERIFY2(written >= 40 && written < students.size(), qPrintable(QString::number(written)));

        QString failure;
        QVERIFY2(consistent(db, day, &failure), qPrintable(failure));
        checkIntegrity();

        // Read again: the run goes on where it stopped.
        auto again = startCapture(date, all, QStringLiteral("all.txt"));
        QVERIFY(again->waitForFinished(240000));
        QCOMPARE(again->exitCode(), 0);
        QCOMPARE(db.number(count), qint64(students.size()));
        QCOMPARE(db.number(count + QStringLiteral(" and jt_id=1")), qint64(students.size()));
        QVERIFY2(consistent(db, day, &failure), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestCaptureConcurrency)
#include "test_capture_concurrency.moc"
