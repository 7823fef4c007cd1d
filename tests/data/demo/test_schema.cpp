// The base schema: the SQLite script as created by kovra_schema, and the SQL Server script checked
// against it (same tables, columns, nullability, foreign keys, indexes and code rows).

#include "Schema.h"
#include "SqliteTestUtil.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using testutil::Db;

namespace {

// Column kinds: I integer, T text, L long text, D date, S date and time, H time of day, F flag.
struct ColumnSpec { const char *name; char kind; };
struct TableSpec { const char *name; bool identity; std::initializer_list<ColumnSpec> columns; };

const TableSpec Tables[] = {
    {"kar", true, {{"kar_id", 'I'}, {"kar_kod", 'T'}, {"kar_nev", 'T'}, {"kar_aktiv", 'F'}}},
    {"szerepkor", true, {{"szerep_id", 'I'}, {"szerep_nev", 'T'}}},
    {"felhasznalo", true, {{"felh_id", 'I'}, {"felh_nev", 'T'}, {"felh_jelszo", 'I'}, {"felh_email", 'T'},
                           {"felh_teljes", 'T'}, {"felh_aktiv", 'F'}, {"kar_id", 'I'}, {"szerep_id", 'I'}}},
    {"oktato", true, {{"oktato_id", 'I'}, {"oktato_kod", 'T'}, {"oktato_nev", 'T'}, {"felh_id", 'I'}}},
    {"hallgato", true, {{"hallgato_id", 'I'}, {"hallgato_kod", 'T'}, {"hallgato_nev", 'T'}, {"hallgato_diak", 'T'},
                        {"hallgato_oa", 'T'}}},
    {"felev", true, {{"felev_id", 'I'}, {"felev_nev", 'T'}, {"felev_neptun", 'T'}, {"felev_datumtol", 'D'},
                     {"felev_datumig", 'D'}}},
    {"tantargy", true, {{"tantargy_id", 'I'}, {"tantargy_kod", 'T'}, {"tantargy_nev", 'T'}}},
    {"kurzus", true, {{"kurzus_id", 'I'}, {"kurzus_kod", 'T'}, {"kurzus_nev", 'T'}}},
    {"nyelv", true, {{"nyelv_id", 'I'}, {"nyelv_nev", 'T'}}},
    {"tanora_forma", true, {{"tof_id", 'I'}, {"tof_nev", 'T'}}},
    {"sportag", true, {{"sa_id", 'I'}, {"sa_nev", 'T'}}},
    {"felvett_tantargy", true, {{"ft_id", 'I'}, {"tantargy_id", 'I'}, {"kurzus_id", 'I'}, {"felev_id", 'I'},
                                {"nyelv_id", 'I'}, {"tof_id", 'I'}, {"sa_id", 'I'}, {"evfolyam", 'T'}, {"kar_id", 'I'}}},
    {"tan_hall", true, {{"th_id", 'I'}, {"hallgato_id", 'I'}, {"ft_id", 'I'}, {"orarend_id", 'I'}}},
    {"tan_okt", false, {{"oktato_id", 'I'}, {"ft_id", 'I'}, {"orarend_id", 'I'}}},
    {"orarend", true, {{"orarend_id", 'I'}, {"kar_id", 'I'}, {"felev_id", 'I'}, {"orarend_nev", 'T'},
                       {"orarend_mettol", 'H'}, {"orarend_meddig", 'H'}, {"orarend_heti", 'F'}, {"orarend_potlas", 'I'}}},
    {"orarend_datum", true, {{"od_id", 'I'}, {"orarend_id", 'I'}, {"od_datum", 'D'}}},
    {"orarend_csoport", false, {{"orarend_id", 'I'}, {"ft_id", 'I'}}},
    {"jelenlet", true, {{"jelenlet_id", 'I'}, {"hallgato_id", 'I'}, {"orarend_id", 'I'}, {"jelenlet_datum", 'D'},
                        {"jt_id", 'I'}}},
    {"jelenlet_tipusa", true, {{"jt_id", 'I'}, {"jt_jel", 'T'}, {"jt_mas", 'T'}}},
    {"kartya", true, {{"kartya_id", 'I'}, {"hallgato_id", 'I'}, {"kartya_datum", 'D'}}},
    {"Jelentes", true, {{"jel_id", 'I'}, {"jel_datum", 'S'}, {"jel_szoveg", 'L'}, {"felh_id", 'I'}, {"kar_id", 'I'}}},
    {"esemenynaplo", false, {{"etipus_id", 'I'}, {"esemeny_datum", 'S'}, {"felh_id", 'I'}, {"erintett_tabla", 'T'},
                             {"erintett_rekord", 'T'}, {"regi_ertek", 'L'}, {"uj_ertek", 'L'}}},
    {"hibanaplo", true, {{"hn_id", 'I'}, {"felh_id", 'I'}, {"hn_datum", 'S'}, {"hn_leiras", 'L'}, {"hn_allapot", 'I'}}},
    {"beallitasok", false, {{"ADATBAZIS_VERZIO", 'I'}}},
};

QString sqliteType(char kind)
{
    switch (kind) {
    case 'I': return QStringLiteral("INTEGER");
    case 'L': return QStringLiteral("NTEXT");
    case 'D': return QStringLiteral("DATE TEXT");
    case 'S': return QStringLiteral("DATETIME TEXT");
    case 'H': return QStringLiteral("TIME TEXT");
    case 'F': return QStringLiteral("BIT");
    default: return QStringLiteral("NVARCHAR");
    }
}

QString mssqlType(char kind)
{
    switch (kind) {
    case 'I': return QStringLiteral("int");
    case 'L': return QStringLiteral("nvarchar(max)");
    case 'D': return QStringLiteral("date");
    case 'S': return QStringLiteral("datetime");
    case 'H': return QStringLiteral("time(0)");
    case 'F': return QStringLiteral("bit");
    default: return QStringLiteral("nvarchar");
    }
}

QString readFile(const QString &relative)
{
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/") + relative);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString postgresType(char kind)
{
    switch (kind) {
    case 'I': return QStringLiteral("integer");
    case 'L': return QStringLiteral("text");
    case 'D': return QStringLiteral("date");
    case 'S': return QStringLiteral("timestamp(0)");
    case 'H': return QStringLiteral("time(0)");
    case 'F': return QStringLiteral("smallint");
    default: return QStringLiteral("varchar");
    }
}

// How a server script writes what the comparison looks at.
struct ServerDialect {
    const char *name;
    QString script;
    QString tablePrefix;          // "dbo." or ""
    QString (*type)(char kind);
    QString collation;            // of every text column
    QString identity;             // of an entity table's key
};

// The CREATE TABLE blocks of a server script: table → column lines.
QHash<QString, QStringList> serverTables(const QString &script, const QString &prefix)
{
    QHash<QString, QStringList> tables;
    const QRegularExpression block(QStringLiteral(R"(CREATE TABLE %1(\w+) \(\n(.*?)\n\);)").arg(QRegularExpression::escape(prefix)),
                                   QRegularExpression::DotMatchesEverythingOption);
    for (auto it = block.globalMatch(script); it.hasNext();) {
        const auto m = it.next();
        QStringList lines = m.captured(2).split(u'\n');
        for (QString &l : lines)
            l = l.trimmed();
        tables.insert(m.captured(1), lines);
    }
    return tables;
}

// The default of every column that has one, as "table.column=value" (parentheses and blanks dropped).
QStringList serverDefaults(const QHash<QString, QStringList> &tables)
{
    QStringList out;
    static const QRegularExpression re(QStringLiteral(R"(^(\w+) .*(?<!BY )DEFAULT \(?(\w+)\)?)"));
    for (auto it = tables.cbegin(); it != tables.cend(); ++it)
        for (const QString &line : it.value()) {
            const auto m = re.match(line);
            if (m.hasMatch())
                out << it.key() + u'.' + m.captured(1) + u'=' + m.captured(2);
        }
    out.sort();
    return out;
}

// "table(col,col)" for every index, UNIQUE marked with a leading '!'.
QStringList indexes(const QString &script, const QString &pattern)
{
    QStringList out;
    const QRegularExpression re(pattern);
    for (auto it = re.globalMatch(script); it.hasNext();) {
        const auto m = it.next();
        QString cols = m.captured(4);
        cols.remove(u' ');
        out << (m.captured(1).isEmpty() ? QString() : QStringLiteral("!")) + m.captured(2) + QLatin1Char('=')
                   + m.captured(3) + QLatin1Char('(') + cols + QLatin1Char(')');
    }
    out.sort();
    return out;
}

// The VALUES rows of the INSERT into a code table, written in one notation for both scripts.
QString codeRows(const QString &script, const QString &table)
{
    const QRegularExpression re(QStringLiteral(R"(INSERT INTO (?:dbo\.)?%1 \([^)]*\) VALUES\s*(.*?);)").arg(table),
                                QRegularExpression::DotMatchesEverythingOption);
    QString rows = re.match(script).captured(1);
    rows.replace(QRegularExpression(QStringLiteral(R"(\bN')")), QStringLiteral("'"));
    rows.replace(QStringLiteral("NCHAR("), QStringLiteral("char("));
    rows.replace(QStringLiteral("chr("), QStringLiteral("char("));
    rows.replace(QStringLiteral("||"), QStringLiteral("+"));
    rows.remove(QRegularExpression(QStringLiteral(R"(\s)")));
    return rows;
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // A new database from the base script.
    QString newDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++m_files));
        QString error;
        if (!schema::CreateSqliteDatabaseFile(path, &error))
            qWarning() << error;
        return path;
    }

private Q_SLOTS:
    void createsEveryTableAndColumn()
    {
        Db db(newDatabase());
        QVERIFY(db.isOpen());
        QStringList expectedTables;
        for (const TableSpec &t : Tables) {
            const QString table = QString::fromLatin1(t.name);
            expectedTables << table.toLower();
            const auto info = db.rows(QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1')").arg(table));
            QCOMPARE(info.size(), qsizetype(t.columns.size()));
            int i = 0;
            for (const ColumnSpec &c : t.columns) {
                const QString column = QString::fromLatin1(c.name);
                QCOMPARE(info[i][0].toString(), column);
                QVERIFY2(info[i][1].toString().startsWith(sqliteType(c.kind)), qPrintable(table + u'.' + column));
                // Text columns compare with the database's own case-insensitive collation.
                const char *collation = nullptr;
                sqlite3_table_column_metadata(db.handle(), nullptr, t.name, c.name, nullptr, &collation, nullptr,
                                              nullptr, nullptr);
                const bool text = c.kind == 'T' || c.kind == 'L';
                QCOMPARE(QString::fromLatin1(collation), text ? QStringLiteral("KOVRA_CI") : QStringLiteral("BINARY"));
                ++i;
            }
            // An entity table's first column is its identity key; the others have no key at all.
            QCOMPARE(info[0][2].toInt(), t.identity ? 1 : 0);
            const QString ddl = db.value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?1"), {table}).toString();
            QCOMPARE(ddl.contains(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")), t.identity);
        }
        QStringList actual = db.column(QStringLiteral(
            "SELECT lower(name) FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
        actual.sort();
        expectedTables.sort();
        QCOMPARE(actual, expectedTables);
    }

    void nullability_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("nullable");
        // Written before the windows check their required fields, or legitimately empty.
        QTest::newRow("entry without semester") << "orarend" << "felev_id" << true;
        QTest::newRow("offering without course") << "felvett_tantargy" << "kurzus_id" << true;
        QTest::newRow("semester without end") << "felev" << "felev_datumig" << true;
        QTest::newRow("faculty without code") << "kar" << "kar_kod" << true;
        QTest::newRow("account without password") << "felhasznalo" << "felh_jelszo" << true;
        QTest::newRow("teacher's account without role") << "felhasznalo" << "szerep_id" << true;
        QTest::newRow("enrolment without offering") << "tan_hall" << "ft_id" << true;
        QTest::newRow("enrolment without entry") << "tan_hall" << "orarend_id" << true;
        QTest::newRow("assignment of an offering") << "tan_okt" << "orarend_id" << true;
        QTest::newRow("make-ups unset") << "orarend" << "orarend_potlas" << true;
        QTest::newRow("error report state") << "hibanaplo" << "hn_allapot" << true;
        // Links and names.
        QTest::newRow("enrolled student") << "tan_hall" << "hallgato_id" << false;
        QTest::newRow("group entry") << "orarend_csoport" << "orarend_id" << false;
        QTest::newRow("group offering") << "orarend_csoport" << "ft_id" << false;
        QTest::newRow("assigned teacher") << "tan_okt" << "oktato_id" << false;
        QTest::newRow("attendance student") << "jelenlet" << "hallgato_id" << false;
        QTest::newRow("attendance entry") << "jelenlet" << "orarend_id" << false;
        QTest::newRow("attendance date") << "jelenlet" << "jelenlet_datum" << false;
        QTest::newRow("attendance type") << "jelenlet" << "jt_id" << false;
        QTest::newRow("lesson date") << "orarend_datum" << "od_datum" << false;
        QTest::newRow("login name") << "felhasznalo" << "felh_nev" << false;
        QTest::newRow("student name") << "hallgato" << "hallgato_nev" << false;
        QTest::newRow("entry name") << "orarend" << "orarend_nev" << false;
        QTest::newRow("version") << "beallitasok" << "ADATBAZIS_VERZIO" << false;
    }

    void nullability()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(bool, nullable);
        Db db(newDatabase());
        const QVariant notNull = db.value(
            QStringLiteral("SELECT \"notnull\" FROM pragma_table_info(?1) WHERE name = ?2"), {table, column});
        QVERIFY(notNull.isValid());
        QCOMPARE(notNull.toInt() == 0, nullable);
    }

    void codeRowsAndVersion()
    {
        Db db(newDatabase());
        QCOMPARE(db.column(QStringLiteral("SELECT szerep_id || ' ' || szerep_nev FROM szerepkor ORDER BY szerep_id")),
                 QStringList({QStringLiteral("1 Adminisztrátor"), QStringLiteral("2 Tanulmányi ügyintéző"),
                              QStringLiteral("3 Oktató"), QStringLiteral("4 Kártyakezelő"), QStringLiteral("5 Hallgató")}));
        // Wingdings: 0xFC check mark, 0xFB cross, 0xFE ticked box, as the Windows-1250 characters of those bytes.
        QCOMPARE(db.column(QStringLiteral("SELECT jt_id || jt_jel || jt_mas FROM jelenlet_tipusa ORDER BY jt_id")),
                 QStringList({QStringLiteral("1ü+"), QStringLiteral("2ű-"), QStringLiteral("3ţP")}));
        QCOMPARE(db.rows(QStringLiteral("SELECT ADATBAZIS_VERZIO FROM beallitasok")),
                 QVector<QVariantList>({{QVariant(qint64(0))}}));
        // New rows continue after the explicit code ids.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO szerepkor (szerep_nev) VALUES ('x')")));
        QCOMPARE(sqlite3_last_insert_rowid(db.handle()), 6);
    }

    void storedForms_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("error"); // empty: accepted
        const QString felev = QStringLiteral("INSERT INTO felev (felev_nev, felev_datumtol) VALUES ('x', %1)");
        QTest::newRow("canonical date") << felev.arg("'2024-02-29'") << "";
        QTest::newRow("NULL date") << felev.arg("NULL") << "";
        QTest::newRow("compact date") << felev.arg("'20240305'") << "CHECK constraint failed";
        QTest::newRow("dotted date") << felev.arg("'2024.03.05'") << "CHECK constraint failed";
        QTest::newRow("impossible date") << felev.arg("'2023-02-29'") << "CHECK constraint failed";
        QTest::newRow("date with time") << felev.arg("'2024-03-05 10:00:00'") << "CHECK constraint failed";
        const QString entry = QStringLiteral("INSERT INTO orarend (orarend_nev, orarend_mettol, orarend_heti) VALUES ('x', %1, %2)");
        QTest::newRow("canonical time") << entry.arg("'08:15:00'", "1") << "";
        QTest::newRow("time with fraction") << entry.arg("'08:15:00.0000'", "1") << "CHECK constraint failed";
        QTest::newRow("time without seconds") << entry.arg("'08:15'", "1") << "CHECK constraint failed";
        QTest::newRow("flag as text 1") << entry.arg("'08:15:00'", "'1'") << "";
        QTest::newRow("flag True") << entry.arg("'08:15:00'", "'True'") << "CHECK constraint failed";
        QTest::newRow("flag 2") << entry.arg("'08:15:00'", "2") << "CHECK constraint failed";
        QTest::newRow("NULL flag") << entry.arg("'08:15:00'", "NULL") << "NOT NULL constraint failed";
        QTest::newRow("NULL entry name") << "INSERT INTO orarend (orarend_nev) VALUES (NULL)" << "NOT NULL constraint failed";
        QTest::newRow("entry name only") << "INSERT INTO orarend (orarend_nev) VALUES ('x')" << "";
        const QString journal = QStringLiteral("INSERT INTO Jelentes (jel_datum) VALUES (%1)");
        QTest::newRow("canonical date-time") << journal.arg("'2024-03-05 10:00:00'") << "";
        QTest::newRow("date-time without seconds") << journal.arg("'2024-03-05 10:00'") << "CHECK constraint failed";
        QTest::newRow("compact date-time") << journal.arg("'20240305'") << "CHECK constraint failed";
    }

    void storedForms()
    {
        QFETCH(QString, statement);
        QFETCH(QString, error);
        Db db(newDatabase());
        const bool ok = db.exec(statement);
        if (error.isEmpty())
            QVERIFY2(ok, qPrintable(db.lastError()));
        else
            QVERIFY2(!ok && db.lastError().contains(error), qPrintable(db.lastError()));
    }

    void defaults()
    {
        Db db(newDatabase());
        // What the Neptun import and the timetable copy leave to the database.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO orarend (orarend_nev) VALUES ('x')")));
        QCOMPARE(db.rows(QStringLiteral("SELECT orarend_heti, orarend_potlas FROM orarend")),
                 QVector<QVariantList>({{qint64(0), qint64(0)}}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO felhasznalo (felh_nev, szerep_id) VALUES ('ABC123', 3)")));
        QCOMPARE(db.value(QStringLiteral("SELECT felh_aktiv FROM felhasznalo")).toInt(), 1);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO kar (kar_nev) VALUES ('x')")));
        QCOMPARE(db.value(QStringLiteral("SELECT kar_aktiv FROM kar")).toInt(), 1);
    }

    void textComparesCaseInsensitively()
    {
        Db db(newDatabase());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO hallgato (hallgato_kod, hallgato_nev) VALUES ('abc12x', 'Győri Ödön  ')")));
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM hallgato WHERE hallgato_kod IN ('ABC12X') "
                                         "AND hallgato_nev = 'GYŐRI ÖDÖN'")).toInt(), 1);
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM hallgato WHERE hallgato_nev = 'Gyori Odon'")).toInt(), 0);
    }

    void timetableDeleteOrderPasses()
    {
        Db db(newDatabase());
        QVERIFY2(fixture(db), qPrintable(db.lastError()));
        // The timetable window's delete: dates, attendance, enrolments released, teachers, groups, entry.
        for (const char *sql : {"DELETE FROM orarend_datum WHERE orarend_id=1", "DELETE FROM jelenlet WHERE orarend_id=1",
                                "UPDATE tan_hall SET orarend_id = NULL WHERE orarend_id=1",
                                "DELETE FROM tan_okt WHERE orarend_id=1", "DELETE FROM orarend_csoport WHERE orarend_id=1",
                                "DELETE FROM orarend WHERE orarend_id=1"})
            QVERIFY2(db.exec(QString::fromLatin1(sql)), qPrintable(QString::fromLatin1(sql) + u": " + db.lastError()));
        QCOMPARE(db.value(QStringLiteral("SELECT count(*) FROM tan_hall WHERE orarend_id IS NULL AND ft_id = 1")).toInt(), 1);
    }

    void refusedDeletes_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("thenAllowed"); // after the rows in the way are gone
        // Subject offering window: teachers and enrolments first; a timetable group still holds it.
        QTest::newRow("offering linked to an entry")
            << QStringList{"DELETE FROM tan_okt WHERE ft_id=1", "DELETE FROM tan_hall WHERE ft_id=1"}
            << "DELETE FROM felvett_tantargy WHERE ft_id=1" << "DELETE FROM orarend_csoport WHERE ft_id=1";
        QTest::newRow("teacher with assignments") << QStringList{} << "DELETE FROM oktato WHERE oktato_id=1"
                                                  << "DELETE FROM tan_okt WHERE oktato_id=1";
        QTest::newRow("user of a teacher") << QStringList{} << "DELETE FROM felhasznalo WHERE felh_id=2"
                                           << "UPDATE oktato SET felh_id = NULL";
        QTest::newRow("user of journal rows") << QStringList{"DELETE FROM hibanaplo"} << "DELETE FROM felhasznalo WHERE felh_id=1"
                                              << "DELETE FROM Jelentes";
        QTest::newRow("user of error reports") << QStringList{"DELETE FROM Jelentes"}
                                               << "DELETE FROM felhasznalo WHERE felh_id=1" << "DELETE FROM hibanaplo";
        QTest::newRow("student with attendance") << QStringList{"DELETE FROM tan_hall", "DELETE FROM kartya"}
                                                 << "DELETE FROM hallgato WHERE hallgato_id=1" << "DELETE FROM jelenlet";
    }

    void refusedDeletes()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, refused);
        QFETCH(QString, thenAllowed);
        Db db(newDatabase());
        QVERIFY2(fixture(db), qPrintable(db.lastError()));
        for (const QString &sql : before)
            QVERIFY2(db.exec(sql), qPrintable(sql + u": " + db.lastError()));
        QVERIFY(!db.exec(refused));
        QVERIFY2(db.lastError().contains(QStringLiteral("FOREIGN KEY constraint failed")), qPrintable(db.lastError()));
        QVERIFY2(db.exec(thenAllowed), qPrintable(db.lastError()));
        QVERIFY2(db.exec(refused), qPrintable(db.lastError()));
    }

    void auditLogNeverRefuses()
    {
        Db db(newDatabase());
        // No key and no foreign key: a user id that does not exist (or is empty) is still written.
        QVERIFY2(db.exec(QStringLiteral("INSERT INTO esemenynaplo (etipus_id, esemeny_datum, felh_id, erintett_tabla, "
                                        "erintett_rekord, uj_ertek) VALUES (1, '2024-03-05 10:00:00', 99, 'kar', '', 'x')")),
                 qPrintable(db.lastError()));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO esemenynaplo (etipus_id, esemeny_datum) VALUES (2, '2024-03-05 10:00:00')")));
    }

    void indexesServeLessonAndStudentQueries_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("index");
        QTest::newRow("day of a lesson") << "SELECT jelenlet_id FROM jelenlet WHERE orarend_id=1 AND jelenlet_datum='2024-03-05'"
                                         << "ix_jelenlet_orarend_datum";
        QTest::newRow("student in a lesson") << "SELECT jelenlet_id FROM jelenlet WHERE orarend_id=1 AND hallgato_id=5"
                                             << "ix_jelenlet_hallgato";
        QTest::newRow("student's entries") << "SELECT jelenlet_id FROM jelenlet WHERE hallgato_id=5" << "ix_jelenlet_hallgato";
        QTest::newRow("members of an entry") << "SELECT hallgato_id FROM tan_hall WHERE orarend_id=1" << "ix_tan_hall_orarend";
        QTest::newRow("enrolments of a student") << "SELECT th_id FROM tan_hall WHERE hallgato_id=1" << "ix_tan_hall_hallgato";
        QTest::newRow("lesson dates") << "SELECT od_id FROM orarend_datum WHERE orarend_id=1 AND od_datum < '2024-03-05'"
                                      << "ux_orarend_datum";
        QTest::newRow("code read") << "SELECT hallgato_id FROM hallgato WHERE hallgato_kod IN ('ABC123','DEF456')"
                                   << "ix_hallgato_kod";
        QTest::newRow("card read") << "SELECT hallgato_id FROM hallgato WHERE hallgato_diak = '1234567890'" << "ix_hallgato_diak";
        QTest::newRow("education id read") << "SELECT hallgato_id FROM hallgato WHERE hallgato_oa = '71234567890'"
                                           << "ix_hallgato_oa";
        QTest::newRow("login") << "SELECT felh_id FROM felhasznalo WHERE felh_nev = 'admin'" << "ix_felhasznalo_nev";
        QTest::newRow("teachers of an entry") << "SELECT oktato_id FROM tan_okt WHERE orarend_id=1" << "ix_tan_okt_orarend";
        QTest::newRow("entries of a semester") << "SELECT orarend_id FROM orarend WHERE felev_id=1 AND kar_id=1"
                                               << "ix_orarend_felev_kar";
        QTest::newRow("journal of a faculty") << "SELECT jel_id FROM Jelentes WHERE kar_id=1 AND jel_datum >= '2024-03-01'"
                                              << "ix_jelentes_kar_datum";
    }

    void indexesServeLessonAndStudentQueries()
    {
        QFETCH(QString, query);
        QFETCH(QString, index);
        Db db(newDatabase());
        QString details;
        for (const QVariantList &row : db.rows(QStringLiteral("EXPLAIN QUERY PLAN ") + query))
            details += row.value(3).toString() + u'\n';
        QVERIFY2(details.contains(QStringLiteral("INDEX ") + index), qPrintable(details + db.lastError()));
    }

    void createRefusesAnExistingFile()
    {
        const QString path = newDatabase();
        QFile f(path);
        QVERIFY(f.exists());
        const qint64 size = f.size();
        QString error;
        QVERIFY(!schema::CreateSqliteDatabaseFile(path, &error));
        QVERIFY(error.contains(QStringLiteral("already exists")));
        QCOMPARE(QFile(path).size(), size);
    }

    void newConnectionIsConfigured()
    {
        QString error;
        Db db(QString(), schema::CreateSqliteDatabase(m_dir.filePath(QStringLiteral("configured.sqlite")), &error));
        QVERIFY2(db.isOpen(), qPrintable(error));
        QCOMPARE(db.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(db.value(QStringLiteral("PRAGMA foreign_keys")).toInt(), 1);
        // Double-quoted strings are identifiers only: a misspelt one is an error, never a text.
        QVERIFY(!db.exec(QStringLiteral("SELECT count(*) FROM kar WHERE kar_nev = \"nincs ilyen\"")));
    }

    void scriptsAreEmbedded()
    {
        QCOMPARE(schema::SqliteBaseScript(), readFile(QStringLiteral("db/sqlite/0.sql")));
        QCOMPARE(schema::MssqlBaseScript(), readFile(QStringLiteral("db/mssql/0.sql")));
        QCOMPARE(schema::PostgresBaseScript(), readFile(QStringLiteral("db/postgresql/0.sql")));
        QVERIFY(!schema::SqliteBaseScript().isEmpty());
    }

    void statementsAreAscii_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("sqlite") << schema::SqliteBaseScript();
        QTest::newRow("mssql") << schema::MssqlBaseScript();
        QTest::newRow("postgresql") << schema::PostgresBaseScript();
    }

    void statementsAreAscii()
    {
        QFETCH(QString, script);
        for (const QString &line : script.split(u'\n')) {
            const QString code = line.left(line.indexOf(QStringLiteral("--")));
            for (QChar c : code)
                QVERIFY2(c.unicode() < 128, qPrintable(line));
        }
    }

    // The updater ends a batch at a line whose first three characters, upper-cased and trimmed, are "GO",
    // or whose first six are "COMMIT"; such a line is never sent.
    void updaterSplitsOnlyAtGoLines()
    {
        const auto separators = [](const QString &script) {
            QStringList found;
            for (const QString &line : script.split(u'\n'))
                if (line.left(3).toUpper().trimmed() == u"GO" || line.left(6).toUpper().trimmed() == u"COMMIT")
                    found << line;
            return found;
        };
        QVERIFY(separators(schema::SqliteBaseScript()).isEmpty());
        const QStringList mssql = separators(schema::MssqlBaseScript());
        QVERIFY(mssql.size() > 20);
        for (const QString &line : mssql)
            QCOMPARE(line, QStringLiteral("GO"));
        QVERIFY(schema::MssqlBaseScript().trimmed().endsWith(QStringLiteral("\nGO")));
        const QStringList postgres = separators(schema::PostgresBaseScript());
        QVERIFY(postgres.size() > 20);
        for (const QString &line : postgres)
            QCOMPARE(line, QStringLiteral("GO"));
    }

    void serverScriptMatchesSqliteSchema_data()
    {
        QTest::addColumn<int>("dialect");
        QTest::newRow("mssql") << 0;
        QTest::newRow("postgresql") << 1;
    }

    void serverScriptMatchesSqliteSchema()
    {
        QFETCH(int, dialect);
        const ServerDialect dialects[] = {
            {"mssql", schema::MssqlBaseScript(), QStringLiteral("dbo."), &mssqlType,
             QStringLiteral("COLLATE Latin1_General_100_CI_AS"), QStringLiteral("IDENTITY(1,1)")},
            {"postgresql", schema::PostgresBaseScript(), QString(), &postgresType, QStringLiteral("COLLATE kovra_ci"),
             QStringLiteral("GENERATED BY DEFAULT AS IDENTITY")},
        };
        const ServerDialect &d = dialects[dialect];
        const QString &script = d.script;
        const QHash<QString, QStringList> tables = serverTables(script, d.tablePrefix);
        QCOMPARE(tables.size(), qsizetype(std::size(Tables)));
        Db db(newDatabase());
        QStringList sqliteDefaults;
        for (const TableSpec &t : Tables) {
            const QString table = QString::fromLatin1(t.name);
            QVERIFY2(tables.contains(table), qPrintable(table));
            const QStringList lines = tables.value(table);
            QCOMPARE(lines.size(), qsizetype(t.columns.size()));
            const auto info = db.rows(QStringLiteral("SELECT \"notnull\", dflt_value FROM pragma_table_info(?1)"), {table});
            int i = 0;
            for (const ColumnSpec &c : t.columns) {
                const QString line = lines[i];
                const QString where = table + u'.' + QString::fromLatin1(c.name) + u": " + line;
                QVERIFY2(line.startsWith(QString::fromLatin1(c.name) + u' '), qPrintable(where));
                const QString type = line.section(u' ', 1, 1, QString::SectionSkipEmpty);
                QVERIFY2(type.startsWith(d.type(c.kind)), qPrintable(where));
                QCOMPARE(line.contains(d.collation), c.kind == 'T' || c.kind == 'L');
                const bool identity = i == 0 && t.identity;
                QCOMPARE(line.contains(d.identity), identity);
                QCOMPARE(line.contains(QStringLiteral("PRIMARY KEY")), identity);
                QVERIFY2(line.contains(QStringLiteral(" NOT NULL")) == (identity || info[i][0].toInt() == 1),
                         qPrintable(where));
                if (!info[i][1].isNull())
                    sqliteDefaults << table + u'.' + QString::fromLatin1(c.name) + u'=' + info[i][1].toString();
                ++i;
            }
        }
        sqliteDefaults.sort();
        QCOMPARE(serverDefaults(tables), sqliteDefaults);
        QVERIFY(sqliteDefaults.size() >= 4);

        // The same foreign keys.
        QStringList sqliteKeys, serverKeys;
        for (const TableSpec &t : Tables)
            for (const QVariantList &fk : db.rows(QStringLiteral("SELECT \"from\", \"table\", \"to\" FROM pragma_foreign_key_list(?1)"),
                                                  {QString::fromLatin1(t.name)}))
                sqliteKeys << QStringLiteral("%1.%2>%3.%4").arg(QString::fromLatin1(t.name), fk[0].toString(),
                                                                 fk[1].toString(), fk[2].toString());
        const QRegularExpression ref(
            QStringLiteral(R"(^(\w+) .*REFERENCES %1(\w+) \((\w+)\))").arg(QRegularExpression::escape(d.tablePrefix)));
        for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
            for (const QString &line : it.value()) {
                const auto m = ref.match(line);
                if (m.hasMatch())
                    serverKeys << QStringLiteral("%1.%2>%3.%4").arg(it.key(), m.captured(1), m.captured(2), m.captured(3));
            }
        }
        sqliteKeys.sort();
        serverKeys.sort();
        QCOMPARE(serverKeys, sqliteKeys);
        QVERIFY(sqliteKeys.size() >= 25);

        // The same indexes.
        const QStringList sqliteIndexes = indexes(schema::SqliteBaseScript(),
                                                  QStringLiteral(R"(CREATE (UNIQUE )?INDEX (\w+) ON (\w+) \(([^)]*)\))"));
        QCOMPARE(indexes(script, QStringLiteral(R"(CREATE (UNIQUE )?INDEX (\w+) ON %1(\w+) \(([^)]*)\))")
                                     .arg(QRegularExpression::escape(d.tablePrefix))),
                 sqliteIndexes);
        QVERIFY(sqliteIndexes.size() > 20);

        // The same code rows and version.
        for (const char *table : {"szerepkor", "jelenlet_tipusa", "beallitasok"}) {
            const QString rows = codeRows(script, QString::fromLatin1(table));
            QVERIFY2(!rows.isEmpty(), table);
            QCOMPARE(rows, codeRows(schema::SqliteBaseScript(), QString::fromLatin1(table)));
        }
    }

    void mssqlFunctionBatch()
    {
        // CREATE FUNCTION must open its batch; the XML methods it uses need QUOTED_IDENTIFIER ON before it.
        QStringList batches = schema::MssqlBaseScript().split(QRegularExpression(QStringLiteral("\\nGO\\n")));
        batches.removeIf([](const QString &b) { return b.trimmed().isEmpty(); });
        qsizetype at = -1;
        for (qsizetype i = 0; i < batches.size(); ++i)
            if (batches[i].contains(QStringLiteral("CREATE FUNCTION")))
                at = i;
        QVERIFY(at > 0);
        QString body = batches[at];
        body.remove(QRegularExpression(QStringLiteral("--[^\\n]*")));
        QVERIFY(body.trimmed().startsWith(QStringLiteral("CREATE FUNCTION dbo.orarend_kurzus (@orarend_id int)")));
        QVERIFY(body.contains(QStringLiteral("RETURN ISNULL(")));
        QVERIFY(batches[at - 1].contains(QStringLiteral("SET QUOTED_IDENTIFIER ON;")));
        // The settings table comes last, so a half-run script leaves the version unreadable.
        QVERIFY(batches.last().contains(QStringLiteral("CREATE TABLE dbo.beallitasok")));
    }

private:
    // One of everything, all linked: faculty, semester, offering, entry with a date, a group, an enrolment,
    // teacher assignments, attendance, a card, a journal row and an error report of user 1.
    static bool fixture(Db &db)
    {
        const char *const rows[] = {
            "INSERT INTO kar (kar_id, kar_nev) VALUES (1, 'Kar')",
            "INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, 'F', '2024-02-01', '2024-08-31')",
            "INSERT INTO felhasznalo (felh_id, felh_nev, szerep_id, kar_id) VALUES (1, 'ADMIN', 1, 1), (2, 'TANAR', 3, 1)",
            "INSERT INTO oktato (oktato_id, oktato_nev, felh_id) VALUES (1, 'Tanár', 2)",
            "INSERT INTO hallgato (hallgato_id, hallgato_nev) VALUES (1, 'Diák')",
            "INSERT INTO tantargy (tantargy_id, tantargy_nev) VALUES (1, 'T')",
            "INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'E01', 'E01')",
            "INSERT INTO felvett_tantargy (ft_id, tantargy_id, kurzus_id, felev_id, kar_id) VALUES (1, 1, 1, 1, 1)",
            "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev) VALUES (1, 1, 1, 'O')",
            "INSERT INTO orarend_datum (orarend_id, od_datum) VALUES (1, '2024-03-05')",
            "INSERT INTO orarend_csoport (orarend_id, ft_id) VALUES (1, 1)",
            "INSERT INTO tan_hall (hallgato_id, ft_id, orarend_id) VALUES (1, 1, 1)",
            "INSERT INTO tan_okt (oktato_id, orarend_id) VALUES (1, 1)",
            "INSERT INTO tan_okt (oktato_id, ft_id) VALUES (1, 1)",
            "INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES (1, 1, '2024-03-05', 1)",
            "INSERT INTO kartya (hallgato_id, kartya_datum) VALUES (1, '2024-02-10')",
            "INSERT INTO Jelentes (jel_datum, felh_id, kar_id) VALUES ('2024-03-05 10:00:00', 1, 1)",
            "INSERT INTO hibanaplo (felh_id, hn_datum) VALUES (1, '2024-03-06 11:00:00')",
        };
        for (const char *sql : rows)
            if (!db.exec(QString::fromUtf8(sql)))
                return false;
        return true;
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
