// The Transact-SQL translation layer, executed on an embedded database with the extensions.

#include "SqlFixture.h"
#include "sql/Collation.h"
#include "sql/Lexer.h"
#include "sql/PostgreSqlSupport.h"

#include <QtTest>

using fixture::Database;
using fixture::Rows;
using fixture::SqlError;

namespace {

QString errorOf(Database &db, const QString &tsql)
{
    try {
        db.run(tsql);
    } catch (const sql::TranslateError &e) {
        return e.message();
    } catch (const SqlError &e) {
        return e.message;
    }
    return QString();
}

// Everything a translation hands to the engine, as one text.
QString describe(const sql::TranslatedBatch &batch)
{
    QStringList out;
    for (const sql::TranslatedStatement &st : batch.statements) {
        QStringList values, types;
        for (const sql::TranslatedStatement::BoundValue &v : st.boundValues)
            values << (v.isText ? u'\'' + QString::fromUtf8(st.boundText.mid(v.offset, v.size)) + u'\''
                                : QString::number(v.integer));
        for (FieldType t : st.resultTypes)
            types << QString::number(int(t));
        out << QStringLiteral("kind %1, table %2, neptun %3, types %4\nsql   %5\nbound %6\nvalues %7")
                   .arg(int(st.kind))
                   .arg(st.targetTable)
                   .arg(st.usesNeptun)
                   .arg(types.join(u','), st.sql, st.boundSql, values.join(u','));
    }
    return out.join(u'\n');
}

// The batch or the error message of a translation.
QString translation(sql::Translator &translator, const QString &tsql)
{
    try {
        return describe(*translator.translate(tsql));
    } catch (const sql::TranslateError &e) {
        return QStringLiteral("error: ") + e.message();
    }
}

} // namespace

class TestTranslator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rejectsUnknownConstructs_data();
    void rejectsUnknownConstructs();
    void plusTyping_data();
    void plusTyping();
    void concatenationPropagatesNull();
    void runtimePlusFollowsServerPrecedence();
    void dateDiffCountsBoundaries_data();
    void dateDiffCountsBoundaries();
    void scalarSubqueryWithTwoRowsFails();
    void textComparisonsIgnoreCase_data();
    void textComparisonsIgnoreCase();
    void getdateIsConstantAndFormatted();
    void literalsAreStoredCanonically();
    void conversionFailuresUseServerWording_data();
    void conversionFailuresUseServerWording();
    void datesCompareAndOrder();
    void style112TextAgainstNumber();
    void orarendKurzus();
    void topRowNumberAndMatrix();
    void rowNumberFilterNeedsNoSingleRowCheck();
    void derivedTableReadsOnlyUsedColumns_data();
    void derivedTableReadsOnlyUsedColumns();
    void matrixOverDuplicatesGapsAndManyDates();
    void groupByHavingDiagnosis();
    void scopeIdentityAfterInsert();
    void batchesSplit();
    void openQueryRunsOnNeptunStandIn();
    void ddlFollowsStorageConventions();
    void resultTypesAndCache();
    void shapeCacheMatchesFreshTranslation_data();
    void shapeCacheMatchesFreshTranslation();
    void boundFormsRunAsTheirText();
    void collationOfBothEncodingsAgrees_data();
    void collationOfBothEncodingsAgrees();
    void postgreSqlRefusesInWords_data();
    void postgreSqlRefusesInWords();
    void postgreSqlText();
    void postgreSqlSchemaHoldsTheSupportFunctions();
};

void TestTranslator::rejectsUnknownConstructs_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("named");
    QTest::newRow("unterminated string") << "Select 'abc From kar" << "Unterminated string";
    QTest::newRow("unterminated comment") << "Select 1 /* x" << "Unterminated comment";
    QTest::newRow("stray character") << "Select kar_id ? From kar" << "Unexpected character '?'";
    QTest::newRow("oracle concat in t-sql") << "Select 'a' || 'b'" << "'||'";
    QTest::newRow("union") << "Select kar_id From kar Union Select felev_id From felev" << "UNION";
    QTest::newRow("cte") << "With x as (Select 1 a) Select * From x" << "WITH";
    QTest::newRow("exec") << "exec sp_who" << "EXEC";
    QTest::newRow("variable") << "Select @x" << "Variables";
    QTest::newRow("unknown function") << "Select soundex(kar_nev) From kar" << "Function SOUNDEX";
    QTest::newRow("unknown dbo function") << "Select dbo.valami(1)" << "dbo.valami";
    QTest::newRow("dateadd") << "Select DateAdd(day, 1, getdate())" << "DATEADD";
    QTest::newRow("datediff unit") << "Select DateDiff(fortnight, getdate(), getdate())" << "fortnight";
    QTest::newRow("convert style") << "Select convert(varchar(30), getdate(), 104)" << "style 104";
    QTest::newRow("convert datetime default style") << "Select convert(varchar(30), getdate())" << "style 0";
    QTest::newRow("top percent") << "Select TOP 5 PERCENT kar_id From kar" << "PERCENT";
    QTest::newRow("update from") << "Update kar Set kar_nev='x' From kar k" << "UPDATE ... FROM";
    QTest::newRow("two-column subquery") << "Select (Select kar_id, kar_nev From kar) x" << "exactly one column";
    QTest::newRow("unbound alias") << "Select z.kar_id From kar k" << "z.kar_id";
    QTest::newRow("bad column of alias") << "Select k.nincs From kar k" << "k.nincs";
    QTest::newRow("date plus") << "Select felev_datumtol + 1 From felev" << "'+' on a date";
    QTest::newRow("unknown linked server") << "select a.* from openquery(MASIK, 'select 1 x from dual') a" << "MASIK";
    QTest::newRow("rownum with order") << "select a.* from openquery(NEPTUN3R, 'select C_CODE from T_COURSE where ROWNUM=1 order by C_CODE') a"
                                       << "ROWNUM";
    QTest::newRow("truncated") << "Select kar_id From" << "Expected a name";
    QTest::newRow("text after statement") << "Select kar_id From kar )" << "Unexpected text";
    QTest::newRow("create function") << "CREATE FUNCTION dbo.f() RETURNS int AS BEGIN RETURN 1 END" << "CREATE FUNCTION";
}

void TestTranslator::rejectsUnknownConstructs()
{
    QFETCH(QString, tsql);
    QFETCH(QString, named);
    Database db;
    try {
        db.translator->translate(tsql);
        QFAIL("translated without error");
    } catch (const sql::TranslateError &e) {
        QVERIFY2(e.message().contains(named, Qt::CaseInsensitive), qPrintable(e.message()));
    }
}

void TestTranslator::plusTyping_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QVariant>("value");
    // row: hallgato (nev 'Kiss Anna', kod 'ABC123'), felvett_tantargy evfolyam '2', ft_id 1
    QTest::newRow("text + text") << "a.hallgato_nev + ' (' + a.hallgato_kod + ')'"
                                 << "(a.hallgato_nev || ' (' || a.hallgato_kod || ')')" << QVariant("Kiss Anna (ABC123)");
    QTest::newRow("number + number") << "a.hallgato_id + 1" << "(a.hallgato_id + 1)" << QVariant(qint64(2));
    QTest::newRow("text literal + number") << "'41' + a.hallgato_id" << "(41 + a.hallgato_id)" << QVariant(qint64(42));
    QTest::newRow("text column + number") << "f.evfolyam + 1" << "(kovra_int(f.evfolyam) + 1)" << QVariant(qint64(3));
    QTest::newRow("parameter + text") << ":P + a.hallgato_kod" << "kovra_add(:P, a.hallgato_kod)" << QVariant("xABC123");
    QTest::newRow("subquery text + text") << "(Select x.tantargy_nev From tantargy x Where x.tantargy_id=1) + ' - ' + a.hallgato_kod"
                                          << "((SELECT x.tantargy_nev" << QVariant("Analízis - ABC123");
}

void TestTranslator::plusTyping()
{
    QFETCH(QString, expression);
    QFETCH(QString, emitted);
    QFETCH(QVariant, value);
    Database db;
    db.run("Insert Into hallgato (hallgato_kod, hallgato_nev) Values ('ABC123', 'Kiss Anna')");
    db.run("Insert Into tantargy (tantargy_kod, tantargy_nev) Values ('T1', 'Analízis')");
    db.run("Insert Into felvett_tantargy (evfolyam) Values ('2')");
    const QString tsql = "Select " + expression + " as v From hallgato a, felvett_tantargy f";
    QVERIFY2(db.sqlOf(tsql).contains(emitted), qPrintable(db.sqlOf(tsql)));
    QCOMPARE(db.scalar(tsql, {{"P", "x"}}), value);
}

void TestTranslator::concatenationPropagatesNull()
{
    Database db;
    db.run("Insert Into hallgato (hallgato_kod, hallgato_nev) Values (NULL, 'Nagy Béla')");
    QVERIFY(db.scalar("Select (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato From hallgato a").isNull());
    QCOMPARE(db.scalar("Select a.hallgato_nev + '' From hallgato a").toString(), QString("Nagy Béla"));
}

void TestTranslator::runtimePlusFollowsServerPrecedence()
{
    Database db;
    QCOMPARE(db.scalar("Select :A + :B", {{"A", "ab"}, {"B", "cd"}}).toString(), QString("abcd"));
    QCOMPARE(db.scalar("Select :A + :B", {{"A", "12"}, {"B", 3}}), QVariant(qint64(15)));
    QVERIFY(db.scalar("Select :A + :B", {{"A", QVariant()}, {"B", "x"}}).isNull());
    try {
        db.run("Select :A + :B", {{"A", "abc"}, {"B", 1}});
        QFAIL("no conversion error");
    } catch (const SqlError &e) {
        QCOMPARE(e.message, QString("Conversion failed when converting the varchar value 'abc' to data type int."));
    }
}

void TestTranslator::dateDiffCountsBoundaries_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("Saturday to Sunday is a week") << "week" << "20240106" << "20240107" << QVariant(qint64(1));
    QTest::newRow("Sunday to Saturday is none") << "week" << "20240107" << "20240113" << QVariant(qint64(0));
    QTest::newRow("backwards week") << "week" << "20240114" << "20240106" << QVariant(qint64(-2));
    QTest::newRow("hours") << "hour" << "2008-01-14 05:00:00" << "2008-01-15 18:00:00" << QVariant(qint64(37));
    QTest::newRow("hour boundary") << "hour" << "2008-01-14 05:59:59" << "2008-01-14 06:00:00" << QVariant(qint64(1));
    QTest::newRow("day ignores time") << "day" << "2024-02-28 23:59:00" << "2024-03-01 00:01:00" << QVariant(qint64(2));
    QTest::newRow("month") << "month" << "20231231" << "20240101" << QVariant(qint64(1));
    QTest::newRow("null") << "day" << "" << "20240101" << QVariant();
}

void TestTranslator::dateDiffCountsBoundaries()
{
    QFETCH(QString, unit);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QVariant, expected);
    Database db;
    const QString a = from.isEmpty() ? QString("NULL") : QString("'" + from + "'");
    QCOMPARE(db.scalar(QString("Select DateDiff(%1, %2, '%3') as d").arg(unit, a, to)), expected);
    // the same through a date-time column
    if (!from.isEmpty()) {
        db.run("Insert Into Jelentes (jel_datum) Values ('" + from + "')");
        QCOMPARE(db.scalar(QString("Select DATEDIFF(%1, jel_datum, '%2') From Jelentes").arg(unit, to)), expected);
    }
}

void TestTranslator::scalarSubqueryWithTwoRowsFails()
{
    Database db;
    db.run("Insert Into felhasznalo (felh_nev, szerep_id) Values ('TANAR', 3)");
    db.run("Insert Into oktato (oktato_kod, felh_id) Values ('O1', 1)");
    const QString q = "Select a.felh_id, (Select x.oktato_id From Oktato x Where x.felh_id=a.felh_id) as okt From felhasznalo a";
    QCOMPARE(db.run(q).value(0).value(1), QVariant(qint64(1)));
    db.run("Insert Into oktato (oktato_kod, felh_id) Values ('O2', 1)");
    QVERIFY(errorOf(db, q).startsWith("Subquery returned more than 1 value."));
    // TOP 1 and key lookups need no check; TOP 1 keeps the first row in order
    QCOMPARE(db.scalar("Select (Select TOP 1 x.oktato_kod From oktato x Where x.felh_id=1 Order By x.oktato_kod desc)"),
             QVariant("O2"));
    const QString keyed = "Select (Select x.felh_nev From felhasznalo x Where x.felh_id=a.felh_id) From oktato a";
    QVERIFY(!db.sqlOf(keyed).contains("kovra_single"));
    QVERIFY(db.sqlOf(q).contains("kovra_single"));
    // an aggregate yields one row
    QVERIFY(!db.sqlOf("Select (Select Count(*) From oktato x Where x.felh_id=a.felh_id) From felhasznalo a").contains("kovra_single"));
}

void TestTranslator::textComparisonsIgnoreCase_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("matches");
    // rows: 'árvíztűrő', 'ŐRSÉG', 'arviz', 'Kód1  ' (trailing blanks)
    QTest::newRow("á = Á") << "hallgato_nev = 'ÁRVÍZTŰRŐ'" << 1;
    QTest::newRow("ő = Ő") << "hallgato_nev = 'őrség'" << 1;
    QTest::newRow("a <> á") << "hallgato_nev = 'arvíz'" << 0;
    QTest::newRow("trailing blanks") << "hallgato_nev = 'KÓD1'" << 1;
    QTest::newRow("like folds") << "hallgato_nev like '%TŰR%'" << 1;
    QTest::newRow("like accent-sensitive") << "hallgato_nev like 'ar%'" << 1;
    QTest::newRow("like class") << "hallgato_nev like '[áa]rv%'" << 2;
    QTest::newRow("in list") << "hallgato_nev in ('ÁRVÍZTŰRŐ', 'ARVIZ')" << 2;
    QTest::newRow("computed operand") << "(hallgato_nev + '') = 'ŐRSÉG'" << 1;
    QTest::newRow("parameter") << "hallgato_nev = :P" << 1;
    QTest::newRow("in subquery") << "hallgato_nev in (Select upper(x.hallgato_nev) From hallgato x)" << 4;
}

void TestTranslator::textComparisonsIgnoreCase()
{
    QFETCH(QString, condition);
    QFETCH(int, matches);
    Database db;
    db.run("Insert Into hallgato (hallgato_nev) Values ('árvíztűrő'), ('ŐRSÉG'), ('arviz'), ('Kód1  ')");
    const Rows rows = db.run("Select hallgato_id From hallgato Where " + condition, {{"P", "ÁrvíztűrŐ"}});
    QCOMPARE(rows.size(), matches);
}

void TestTranslator::getdateIsConstantAndFormatted()
{
    Database db;
    db.fixedClock = true;
    db.runtime.now = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9));
    const Rows r = db.run("Select convert(varchar(50), getdate(), 20) as DATUM_IDO, convert(varchar(50), getdate(), 102) as DATUM, "
                          "convert(varchar(50), getdate(), 108) as IDO, convert(varchar(8), getdate(), 112), "
                          "convert(varchar(7), getdate(), 20)");
    QCOMPARE(r[0], (QVector<QVariant>{"2024-03-05 07:08:09", "2024.03.05", "07:08:09", "20240305", "2024-03"}));
    // one value for every row of a statement
    for (int i = 0; i < 50; ++i)
        db.run("Insert Into hallgato (hallgato_kod) Values ('K')");
    QCOMPARE(db.run("Select distinct getdate() From hallgato").size(), 1);
    db.run("Insert Into esemenynaplo (etipus_id, esemeny_datum, felh_id) Values ('1', getdate(),'3')");
    QCOMPARE(db.rawQuery("SELECT etipus_id, esemeny_datum, felh_id FROM esemenynaplo")[0],
             (QVector<QVariant>{qint64(1), "2024-03-05 07:08:09", qint64(3)}));
}

void TestTranslator::literalsAreStoredCanonically()
{
    Database db;
    db.run("Insert Into felev (felev_nev, felev_datumtol, felev_datumig) Values ('2024/25/1', '20240901', '2025.01.31.')");
    db.run("Insert Into orarend (orarend_nev, orarend_mettol, orarend_meddig, orarend_heti, orarend_potlas) "
           "Values ('Analízis', '08:15:00.0000', '9:45', '1', '2')");
    db.run("Insert Into Jelentes (jel_datum, jel_szoveg) Values ('2024-03-05 10:11:12', 'x')");
    db.run("Insert Into kartya (hallgato_id, kartya_datum) Values (1, '2024.03.05')");
    db.run("Update orarend Set orarend_heti = '0', orarend_meddig = '10:00:00.0000' Where orarend_id=1");
    QCOMPARE(db.rawQuery("SELECT felev_datumtol, felev_datumig, typeof(felev_datumtol) FROM felev")[0],
             (QVector<QVariant>{"2024-09-01", "2025-01-31", "text"}));
    QCOMPARE(db.rawQuery("SELECT orarend_mettol, orarend_meddig, orarend_heti, orarend_potlas FROM orarend")[0],
             (QVector<QVariant>{"08:15:00", "10:00:00", qint64(0), qint64(2)}));
    QCOMPARE(db.rawQuery("SELECT jel_datum FROM Jelentes")[0][0], QVariant("2024-03-05 10:11:12"));
    QCOMPARE(db.rawQuery("SELECT kartya_datum FROM kartya")[0][0], QVariant("2024-03-05"));
    QCOMPARE(db.scalar("Select Left(orarend_mettol,5) From orarend"), QVariant("08:15"));
    // the semester of a date, given as yyyymmdd or as the style-102 text
    for (const QString &d : {QString("20241015"), QString("2024.10.15"), QString("20240901"), QString("20250131")})
        QCOMPARE(db.scalar("Select felev_id From felev Where '" + d + "' >= felev_datumtol and '" + d + "' <= felev_datumig"),
                 QVariant(qint64(1)));
    QVERIFY(db.run("Select felev_id From felev Where '20250201' >= felev_datumtol and '20250201' <= felev_datumig").isEmpty());
    // flags compared as numbers and texts
    QCOMPARE(db.run("Select orarend_id From orarend Where orarend_heti='0' and orarend_heti=0").size(), 1);
    // a parameter meeting a date column is normalised at run time
    QCOMPARE(db.run("Select felev_id From felev Where felev_datumtol = :D", {{"D", "20240901"}}).size(), 1);
    // a date-time column against a compact date
    QCOMPARE(db.run("Select jel_id From Jelentes Where jel_datum >= '20240305' and jel_datum < '20240306'").size(), 1);
}

void TestTranslator::conversionFailuresUseServerWording_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("message");
    const QString date = "Conversion failed when converting date and/or time from character string.";
    QTest::newRow("bad date into date column") << "Insert Into felev (felev_datumtol) Values ('2024133')" << date;
    QTest::newRow("30 February") << "Insert Into felev (felev_datumtol) Values ('20240230')" << date;
    QTest::newRow("bad time") << "Update orarend Set orarend_mettol='25:00:00.0000'" << date;
    QTest::newRow("date comparison") << "Select felev_id From felev Where felev_datumtol > 'tegnap'" << date;
    QTest::newRow("text into int column")
        << "Insert Into orarend (orarend_potlas) Values ('két')" << "Conversion failed when converting the varchar value 'két' to data type int.";
    QTest::newRow("text into flag column")
        << "Insert Into orarend (orarend_heti) Values ('igen')" << "Conversion failed when converting the varchar value 'igen' to data type bit.";
    QTest::newRow("run-time text against number")
        << "Select ft_id From felvett_tantargy Where evfolyam = 1" << "Conversion failed when converting the varchar value 'B' to data type int.";
}

void TestTranslator::conversionFailuresUseServerWording()
{
    QFETCH(QString, tsql);
    QFETCH(QString, message);
    Database db;
    db.raw("INSERT INTO felvett_tantargy (evfolyam) VALUES ('B'); INSERT INTO orarend (orarend_nev) VALUES ('x')");
    QCOMPARE(errorOf(db, tsql), message);
    QCOMPARE(db.rawQuery("SELECT count(*) FROM felev")[0][0], QVariant(qint64(0)));
}

void TestTranslator::datesCompareAndOrder()
{
    Database db;
    db.run("Insert Into felev (felev_datumtol, felev_datumig) Values ('20240901', '20250131')");
    db.run("Insert Into orarend (felev_id, kar_id) Values (1, 1)");
    for (const char *d : {"20241105", "2024.09.30", "2024-10-01", "20250201", "20240831"})
        db.run(QString("Insert Into orarend_datum (orarend_id, od_datum) Values (1, '%1')").arg(d));
    const Rows rows = db.run("Select od_id, orarend_id, convert(varchar(10), od_datum, 102) as datum, ROW_NUMBER() OVER (Order By od_datum) "
                             "as sor From orarend_datum Where orarend_id = :OR_ID Order By datum",
                             {{"OR_ID", 1}});
    QStringList order;
    for (const auto &r : rows)
        order << r[2].toString() + "/" + r[3].toString();
    QCOMPARE(order, QStringList({"2024.08.31/1", "2024.09.30/2", "2024.10.01/3", "2024.11.05/4", "2025.02.01/5"}));
    QCOMPARE(db.run("Select d.od_id From orarend_datum d, felev f Where d.od_datum between f.felev_datumtol and f.felev_datumig").size(), 3);
    // a date against the server clock: strictly before now
    db.fixedClock = true;
    db.runtime.now = QDateTime(QDate(2024, 10, 1), QTime(0, 0, 0));
    QCOMPARE(db.scalar("Select COUNT(od_datum) as sorszam From orarend_datum Where orarend_id=1 and od_datum < GETDATE()"),
             QVariant(qint64(2)));
    db.runtime.now = QDateTime(QDate(2024, 10, 1), QTime(9, 0, 0));
    QCOMPARE(db.scalar("Select COUNT(od_datum) From orarend_datum Where od_datum < GETDATE()"), QVariant(qint64(3)));
    QCOMPARE(db.scalar("Select a.felev_id From felev a Where a.felev_id in (Select x.felev_id From felev x Where getdate() "
                       "between x.felev_datumtol and x.felev_datumig)"),
             QVariant(qint64(1)));
}

void TestTranslator::style112TextAgainstNumber()
{
    Database db;
    db.run("Insert Into orarend (orarend_nev, felev_id, kar_id, orarend_heti) Values ('Heti', 1, 1, 1), ('Datumos', 1, 1, 0), "
           "('Mas', 1, 1, 0)");
    db.run("Insert Into orarend_datum (orarend_id, od_datum) Values (2, '20240305'), (3, '20240306')");
    const Rows rows = db.run("Select a.orarend_id as ID, (a.orarend_nev +' - ' + dbo.orarend_kurzus(a.orarend_id)) as NEV, a.orarend_mettol, "
                             "a.orarend_meddig From orarend a Where a.felev_id=1 and a.kar_id=1and ((a.orarend_id in (Select c.orarend_id "
                             "From orarend_datum c Where (convert(varchar(10), c.od_datum,112)=20240305))) or (a.orarend_heti=1)) Order By NEV");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][1], QVariant("Datumos - "));
    QCOMPARE(rows[1][1], QVariant("Heti - "));
}

void TestTranslator::orarendKurzus()
{
    Database db;
    db.run("Insert Into kurzus (kurzus_kod) Values ('B2'), ('a1'), ('C3')");
    db.run("Insert Into felvett_tantargy (kurzus_id) Values (1), (2), (3)");
    db.run("Insert Into orarend (orarend_nev, kar_id, felev_id) Values ('Fizika', 1, 1), ('Kémia', 1, 1)");
    db.run("Insert Into orarend_csoport (orarend_id, ft_id) Values (1, 1), (1, 2)");
    // unqualified orarend_id must stay the outer row's column inside the function body
    const Rows rows = db.run("Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend "
                             "Where kar_id=1 and felev_id=1 Order By NEV");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][1], QVariant("Fizika - a1, B2"));
    QCOMPARE(rows[1][1], QVariant("Kémia - "));
    QCOMPARE(db.scalar("Select dbo.orarend_kurzus(a.orarend_id) as kurzus From orarend a Where a.orarend_id=2"), QVariant(""));
}

void TestTranslator::topRowNumberAndMatrix()
{
    Database db;
    db.run("Insert Into felev (felev_datumtol, felev_datumig) Values ('20240901', '20250131')");
    db.run("Insert Into orarend (orarend_nev, felev_id, kar_id) Values ('Óra', 1, 7)");
    db.run("Insert Into hallgato (hallgato_kod, hallgato_nev) Values ('K1', 'Béla'), ('K2', 'Anna')");
    db.run("Insert Into tan_hall (hallgato_id, orarend_id) Values (1, 1), (2, 1)");
    // Béla: absent in August (outside the semester), present, made up; Anna: present once
    db.run("Insert Into jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) Values (1, 1, '20240830', 2), "
           "(1, 1, '20241008', 3), (1, 1, '20240917', 1), (2, 1, '20240917', 1)");
    QStringList signs;
    for (int n = 1; n <= 3; ++n)
        signs << QString("(Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, "
                         "Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and "
                         "x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id "
                         "and x1.orarend_id=c.orarend_id) as x Where x.sorszam=%1) as \"%1\"")
                     .arg(n);
    const QString matrix = "Select a.hallgato_nev, a.hallgato_id, c.orarend_id, " + signs.join(", ")
                           + ", (Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and x.hallgato_id=b.hallgato_id "
                             "and x.jt_id in (1,3)) as \"ossz\" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and "
                             "b.orarend_id=c.orarend_id and c.kar_id=7 \nand c.orarend_id=1 \nand c.felev_id=1 \nOrder By hallgato_nev";
    const Rows rows = db.run(matrix);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], (QVector<QVariant>{"Anna", qint64(2), qint64(1), "J", QVariant(), QVariant(), qint64(1)}));
    QCOMPARE(rows[1], (QVector<QVariant>{"Béla", qint64(1), qint64(1), "J", "P", QVariant(), qint64(2)}));
    QCOMPARE(db.scalar("Select TOP 1 jelenlet_id From jelenlet Where jt_id=2 and hallgato_id=1 and orarend_id=1 Order By jelenlet_datum"),
             QVariant(qint64(1)));
    QCOMPARE(db.scalar("Select a.jelenlet_datum, (Select TOP 1 x.hallgato_nev From hallgato x Where x.hallgato_id=a.hallgato_id) as hallgato "
                       "From jelenlet a Where a.jelenlet_datum='20240917' and a.orarend_id=1 Order By 2")
                 .toString(),
             QString("2024-09-17"));
    QCOMPARE(db.scalar("Select Case When kar_aktiv='1' Then 'ü' Else 'ű' End From (Select 1 as kar_aktiv) k"), QVariant("ü"));
}

void TestTranslator::rowNumberFilterNeedsNoSingleRowCheck()
{
    Database db;
    db.run("Insert Into felhasznalo (felh_nev, szerep_id) Values ('A', 3), ('B', 3), ('C', 4)");
    const QString numbered = "Select (Select x.felh_nev From (Select felh_nev, n=row_number() OVER (Order By felh_nev) From "
                             "felhasznalo) as x Where x.n=2)";
    QVERIFY(!db.sqlOf(numbered).contains("kovra_single"));
    QCOMPARE(db.scalar(numbered), QVariant("B"));
    // numbered per partition: the same number recurs, the check stays and fires
    const QString partitioned = "Select (Select x.felh_nev From (Select felh_nev, n=row_number() OVER (Partition By szerep_id Order By "
                                "felh_nev) From felhasznalo) as x Where x.n=1)";
    QVERIFY(db.sqlOf(partitioned).contains("kovra_single"));
    QVERIFY(errorOf(db, partitioned).startsWith("Subquery returned more than 1 value."));
    // a number compared with something else than a value from outside proves nothing
    QVERIFY(db.sqlOf("Select (Select x.felh_nev From (Select felh_nev, n=row_number() OVER (Order By felh_nev) From felhasznalo) "
                     "as x Where x.n>1)")
                .contains("kovra_single"));
}

void TestTranslator::derivedTableReadsOnlyUsedColumns_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("derivedList"); // the derived table's select list as emitted
    QTest::addColumn<QString>("rows");        // the result, one row per line, fields joined by '|'
    QTest::newRow("outer reads two") << "Select x.hallgato_nev, x.n From (Select a.*, n=1 From hallgato a) x Order By x.hallgato_nev"
                                     << "SELECT a.hallgato_nev, 1 AS n FROM" << "Anna|1\nBéla|1";
    QTest::newRow("unqualified star, where and order") << "Select x.hallgato_kod From (Select * From hallgato) x Where x.hallgato_id=2 "
                                                          "Order By x.hallgato_nev"
                                                       << "SELECT hallgato_id, hallgato_kod, hallgato_nev FROM" << "K2";
    QTest::newRow("correlated subquery reads it") << "Select x.hallgato_id, (Select Count(*) From jelenlet j Where j.hallgato_id=x.hallgato_id) "
                                                     "From (Select h.* From hallgato h) x Order By 1"
                                                  << "SELECT h.hallgato_id FROM" << "1|2\n2|0";
    QTest::newRow("nothing read keeps one column") << "Select Count(*) From (Select h.* From hallgato h) x"
                                                   << "SELECT h.hallgato_oa FROM" << "2";
    QTest::newRow("outer star keeps the star") << "Select x.* From (Select h.* From hallgato h Where h.hallgato_id=1) x"
                                               << "SELECT h.* FROM" << "";
    QTest::newRow("outer bare star") << "Select * From (Select h.* From hallgato h Where h.hallgato_id=1) x" << "SELECT h.* FROM" << "";
    QTest::newRow("distinct keeps the star") << "Select Count(*) From (Select Distinct h.* From hallgato h) x" << "SELECT DISTINCT h.* FROM"
                                             << "2";
    QTest::newRow("two stars") << "Select Count(x.jt_id) From (Select j.*, t.* From jelenlet j, jelenlet_tipusa t Where j.jt_id=t.jt_id) x"
                               << "SELECT j.*, t.* FROM" << "";
}

void TestTranslator::derivedTableReadsOnlyUsedColumns()
{
    QFETCH(QString, tsql);
    QFETCH(QString, derivedList);
    QFETCH(QString, rows);
    Database db;
    db.run("Insert Into hallgato (hallgato_kod, hallgato_nev, hallgato_oa) Values ('K1', 'Béla', 'O1'), ('K2', 'Anna', 'O2')");
    db.run("Insert Into orarend (orarend_nev) Values ('Óra')");
    db.run("Insert Into jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) Values (1, 1, '20240917', 1), (1, 1, '20240924', 2)");
    const QString sqlite = db.sqlOf(tsql);
    QVERIFY2(sqlite.contains("(" + derivedList + " "), qPrintable(sqlite));
    if (rows.isEmpty())
        return;
    QStringList got;
    for (const QVector<QVariant> &r : db.run(tsql)) {
        QStringList fields;
        for (const QVariant &v : r)
            fields << v.toString();
        got << fields.join(u'|');
    }
    QCOMPARE(got.join(u'\n'), rows);
}

// The day summary's matrix on a lesson of 18 dates: one student on every date, one with gaps
// (missing dates, an entry outside the semester and one of another lesson), one with a duplicated
// date, one enrolled twice. The expected signs are worked out here from the rows themselves.
void TestTranslator::matrixOverDuplicatesGapsAndManyDates()
{
    Database db;
    db.run("Insert Into felev (felev_datumtol, felev_datumig) Values ('20240901', '20250131')");
    db.run("Insert Into orarend (orarend_nev, felev_id, kar_id) Values ('Óra', 1, 7), ('Másik', 1, 7)");
    db.run("Insert Into hallgato (hallgato_kod, hallgato_nev) Values ('K1', 'Anna'), ('K2', 'Béla'), ('K3', 'Cecil'), ('K4', 'Dóra')");
    db.run("Insert Into tan_hall (hallgato_id, orarend_id) Values (1, 1), (2, 1), (3, 1), (4, 1), (4, 1)");
    struct Entry {
        int student;
        QDate date;
        int type;
        int lesson = 1;
    };
    QVector<Entry> entries;
    const QDate first(2024, 9, 3);
    for (int d = 0; d < 18; ++d) {
        const QDate day = first.addDays(7 * d);
        entries << Entry{1, day, 1 + d % 3};
        if (d != 0 && d != 1 && d != 4)
            entries << Entry{2, day, 1 + (d + 1) % 3};
        if (d % 2 == 0)
            entries << Entry{3, day, d % 4 == 0 ? 1 : 2};
        if (d == 6)
            entries << Entry{3, day, 2}; // a duplicate, of the same type as the entry it repeats
        if (d < 16)
            entries << Entry{4, day, 2 - d % 2};
    }
    entries << Entry{2, QDate(2024, 8, 27), 3} << Entry{2, first.addDays(2), 1, 2};
    // inserted out of date order
    std::reverse(entries.begin(), entries.end());
    for (const Entry &e : entries)
        db.run(QString("Insert Into jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) Values (%1, %2, '%3', %4)")
                   .arg(e.student)
                   .arg(e.lesson)
                   .arg(e.date.toString("yyyyMMdd"))
                   .arg(e.type));
    QHash<int, QString> sign;
    for (const QVector<QVariant> &r : db.run("Select jt_id, jt_jel From jelenlet_tipusa"))
        sign[r[0].toInt()] = r[1].toString();

    QStringList signs;
    for (int n = 1; n <= 15; ++n)
        signs << QString("(Select x.jt_jel From (Select x2.*, x4.jt_jel, sorszam=row_number() OVER (Order By x2.jelenlet_datum) From Orarend x1, "
                         "Jelenlet x2, Felev x3, Jelenlet_tipusa x4 Where x1.orarend_id=x2.orarend_id and x1.felev_id=x3.felev_id and "
                         "x2.jt_id=x4.jt_id and x2.jelenlet_datum between x3.felev_datumtol and x3.felev_datumig and x2.hallgato_id=a.hallgato_id "
                         "and x1.orarend_id=c.orarend_id) as x Where x.sorszam=%1) as \"%1\"")
                     .arg(n);
    const QString matrix = "Select a.hallgato_nev, a.hallgato_id, c.orarend_id, " + signs.join(", ")
                           + ", (Select Count(x.jelenlet_id) From jelenlet x Where x.orarend_id=b.orarend_id and x.hallgato_id=b.hallgato_id "
                             "and x.jt_id in (1,3)) as \"ossz\" From Hallgato a, Tan_Hall b, Orarend c Where a.hallgato_id=b.hallgato_id and "
                             "b.orarend_id=c.orarend_id and c.kar_id=7 \nand c.orarend_id=1 \nand c.felev_id=1 \nOrder By hallgato_nev";
    const Rows rows = db.run(matrix);
    QCOMPARE(rows.size(), 5);
    const QStringList names{"Anna", "Béla", "Cecil", "Dóra", "Dóra"};
    for (int r = 0; r < rows.size(); ++r) {
        const int student = names.indexOf(names[r]) + 1;
        QCOMPARE(rows[r][0].toString(), names[r]);
        QVector<Entry> own;
        int attended = 0;
        for (const Entry &e : entries) {
            if (e.student != student || e.lesson != 1)
                continue;
            attended += e.type == 1 || e.type == 3;
            if (e.date >= QDate(2024, 9, 1) && e.date <= QDate(2025, 1, 31))
                own << e;
        }
        std::stable_sort(own.begin(), own.end(), [](const Entry &a, const Entry &b) { return a.date < b.date; });
        for (int n = 1; n <= 15; ++n) {
            const QVariant got = rows[r][2 + n];
            if (n > own.size()) {
                QVERIFY2(got.isNull(), qPrintable(QString("%1, column %2").arg(names[r]).arg(n)));
                continue;
            }
            QCOMPARE(got.toString(), sign[own[n - 1].type]);
        }
        QCOMPARE(rows[r][18].toInt(), attended);
    }
}

void TestTranslator::groupByHavingDiagnosis()
{
    Database db;
    db.run("Insert Into tan_hall (hallgato_id, orarend_id) Values (1, 4)");
    db.run("Insert Into jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) Values (1, 4, '20240917', 1), (1, 4, '20240917', 2), "
           "(1, 4, '20240924', 1)");
    const Rows rows = db.run("Select a.jelenlet_datum From Jelenlet a Where a.orarend_id=4 Group by a.jelenlet_datum Having (COUNT(a.jt_id) > "
                             "(Select COUNT(x.th_id) From Tan_Hall x Where x.orarend_id=4))");
    QCOMPARE(rows, (Rows{{"2024-09-17"}}));
}

void TestTranslator::scopeIdentityAfterInsert()
{
    Database db;
    const Rows r = db.run("Insert Into kar (kar_nev, kar_kod, kar_aktiv) Values ('Bölcsész', 'BTK', '1') select scope_identity() as ID");
    QCOMPARE(r, (Rows{{qint64(1)}}));
    db.run("Insert Into orarend_csoport (orarend_id, ft_id) Values ('5', '6')");
    QVERIFY(db.scalar("select scope_identity() as ID").isNull());
}

void TestTranslator::batchesSplit()
{
    Database db;
    const auto batch = db.translator->translate("Insert Into kar (kar_nev) Values ('A'); Insert Into kar (kar_nev) Values ('B')\n"
                                                "Update kar Set kar_aktiv = 1 Where kar_nev = 'b' delete from kar Where kar_nev='a';;"
                                                "Select Count(*) DB From kar");
    QCOMPARE(batch->statements.size(), 5);
    QCOMPARE(batch->statements[2].kind, sql::StatementKind::Update);
    QCOMPARE(batch->statements[2].targetTable, QString("kar"));
    QCOMPARE(db.run("Insert Into kar (kar_nev) Values ('A'); Insert Into kar (kar_nev) Values ('B')\n"
                    "Update kar Set kar_aktiv = 1 Where kar_nev = 'b' delete from kar Where kar_nev='a';;"
                    "Select kar_nev, kar_aktiv From kar"),
             (Rows{{"B", qint64(1)}}));
    QCOMPARE(db.translator->translate("-- nothing\n SET NOCOUNT ON")->statements.size(), 0);
}

void TestTranslator::openQueryRunsOnNeptunStandIn()
{
    Database db;
    db.raw(R"(
INSERT INTO neptun.T_ORGANIZATION VALUES (1, 'BTK');
INSERT INTO neptun.T_INTERIORORGANIZATION VALUES (1);
INSERT INTO neptun.T_SUBJECT VALUES (10, 'MAT1A', 'Matek', 1);
INSERT INTO neptun.T_DictionaryItemBase VALUES (100, '2024/25/1'), (200, 'Aktív'), (300, 'Gyakorlat'), (400, 'magyar');
INSERT INTO neptun.T_STUDENTTRAININGTERMDATA VALUES (20, 30, 100, 200);
INSERT INTO neptun.T_STUDENTTRAINING VALUES (30, 50, 60);
INSERT INTO neptun.T_PARTNER VALUES (50, 'Kiss Ádám'), (51, 'Nagy Éva'), (70, 'Dr. Tanár');
INSERT INTO neptun.T_USER VALUES (50, 'ABC123'), (51, 'XYZ789'), (70, 'OKT1');
INSERT INTO neptun.T_STUDENT VALUES (50, 'OM1'), (51, 'OM2');
INSERT INTO neptun.T_MODULE VALUES (60, 'MOD');
INSERT INTO neptun.T_TRAINING VALUES (60);
INSERT INTO neptun.T_INDEXLINE VALUES (40, 10, 20, NULL), (41, 10, 21, NULL);
INSERT INTO neptun.T_STUDENTTRAININGTERMDATA VALUES (21, 31, 100, 200);
INSERT INTO neptun.T_STUDENTTRAINING VALUES (31, 51, 60);
INSERT INTO neptun.T_COURSE VALUES (80, 'K01', 300, 400, 10, 100);
INSERT INTO neptun.T_COURSESTUDENT VALUES (40, 80, NULL), (41, 80, '2024-09-20 10:00:00');
INSERT INTO neptun.T_SCCARD VALUES ('D1', 50, 56003), ('D2', 50, 56012), ('D3', 50, 1);
INSERT INTO neptun.T_CourseTutor VALUES (80, 70);
INSERT INTO neptun.T_EMPLOYEE VALUES (70);
INSERT INTO neptun.T_CLASSINSTANCE VALUES (80, '2024-09-02 08:15:00', '2024-09-02 09:45:00');
)");
    const auto dict = [](const QString &col) -> QString { return "(SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = " + col + ")"; };
    QString inner = "SELECT t100.C_CODE AS \"Tárgykód\", t100.C_NAME AS \"Tárgynév\", t151.C_NEPTUNCODE AS NEPTUN_KOD, "
                    "t150.C_PRINTNAME AS \"Hallgató\", t152.C_OMSIDENTIFIER AS \"Oktatási azonosító\", "
                    "(Select x.C_SERIALNUMBER From T_SCCARD x Where x.C_STUDENTID=t152.ID AND x.C_STATUS in (56003,56012) and ROWNUM=1) AS \"Diák\", "
                    "t130.C_CODE AS \"Modulkód\", "
                    + dict("t110.C_TERM") + " AS \"Félév\", " + dict("t110.C_STATUS") + " AS \"Státusz\", t170.C_CODE AS \"Kurzuskód\", "
                    + dict("t170.C_COURSETYPE") + " AS \"KurzusTípus\", t170.ID AS \"KurzusID\", " + dict("t170.C_LANGUAGE")
                    + " AS \"Nyelv\" FROM T_INDEXLINE t120, T_SUBJECT t100, T_ORGANIZATION t140, T_INTERIORORGANIZATION t141, "
                      "T_STUDENTTRAININGTERMDATA t110, T_STUDENTTRAINING t160, T_PARTNER t150, T_USER t151, T_STUDENT t152, T_MODULE t130, "
                      "T_TRAINING t131, T_COURSESTUDENT t180, T_COURSE t170 WHERE t100.C_INTERIORORGANIZATIONID = t141.ID AND "
                      "t110.C_STUDENTTRAININGID = t160.ID AND t120.C_SUBJECTID = t100.ID AND t120.C_STUDENTTRAININGTERMDATAID = t110.ID AND "
                      "t120.ID = t180.C_INDEXLINEID AND t130.ID=t131.ID AND t140.ID=t141.ID AND t150.ID=t151.ID AND t151.ID=t152.ID AND "
                      "t160.C_STUDENTID = t152.ID AND t160.C_TRAININGID = t131.ID AND t180.C_COURSEID = t170.ID AND "
                      "(to_date(to_char(t120.C_SIGNOUTDATE, 'YYYY.MM.DD HH24:MI'), 'YYYY.MM.DD HH24:MI') IS NULL) AND (t140.C_CODE = 'BTK') "
                      "AND (to_date(to_char(t180.C_SIGNOUTDATE, 'YYYY.MM.DD HH24:MI'), 'YYYY.MM.DD HH24:MI') IS NULL) "
                      "AND (SELECT dib.C_Name FROM T_DictionaryItemBase dib WHERE dib.ID = t110.C_TERM) = '2024/25/1' "
                      "ORDER BY \"Modulkód\", \"Tárgykód\", \"Kurzuskód\", NEPTUN_KOD";
    const QString tsql = "select a.* from openquery(NEPTUN3R,'" + QString(inner).replace("'", "''") + "') a ";
    const auto batch = db.translator->translate(tsql);
    QVERIFY(batch->statements[0].usesNeptun);
    QVERIFY(!db.translator->translate("Select kar_id From kar")->statements[0].usesNeptun);
    const Rows rows = db.run(tsql);
    QCOMPARE(rows.size(), 1); // the second student signed out of the course
    QCOMPARE(rows[0].mid(0, 8), (QVector<QVariant>{"MAT1A", "Matek", "ABC123", "Kiss Ádám", "OM1", "D1", "MOD", "2024/25/1"}));
    QCOMPARE(rows[0].mid(9), (QVector<QVariant>{"K01", "Gyakorlat", qint64(80), "magyar"}));
    QCOMPARE(db.run("select a.* from openquery(NEPTUN3R,'SELECT t271.C_NEPTUNCODE, t270.C_PRINTNAME FROM T_CourseTutor t28, T_PARTNER t270, "
                    "T_USER t271, T_EMPLOYEE t272 WHERE t28.C_COURSEID=80 AND t28.C_EMPLOYEEID=t272.ID AND t270.ID=t271.ID AND "
                    "t271.ID=t272.ID') a \nOrder By C_PRINTNAME"),
             (Rows{{"OKT1", "Dr. Tanár"}}));
    QCOMPARE(db.run("select a.* from openquery(NEPTUN3R,'select to_char(t100.C_CORRECTFROMDATE, ''YYYY.MM.DD HH24:MI'') as d, "
                    "to_date(''2024.09.02 08:15'', ''YYYY.MM.DD HH24:MI'') as e from T_CLASSINSTANCE t100') a"),
             (Rows{{"2024.09.02 08:15", "2024-09-02 08:15:00"}}));
}

void TestTranslator::ddlFollowsStorageConventions()
{
    Database db;
    const QString script = "CREATE TABLE proba (p_id int IDENTITY(1,1) NOT NULL PRIMARY KEY, p_nev nvarchar(50) NULL, "
                           "p_szoveg varchar(max), p_datum datetime, p_nap date DEFAULT '20240101', p_ido time, p_jelzo bit, "
                           "kar_id int REFERENCES kar(kar_id))\n"
                           "Insert Into proba (p_nev, p_datum, p_ido, p_jelzo) Values ('Á', '20240305', '08:00:00.0000', '1')\n"
                           "CREATE INDEX ix_proba ON proba (p_datum DESC, p_nev)\n"
                           "ALTER TABLE proba ADD p_uj datetime NULL\n"
                           "Update proba Set p_uj = '2024-03-05 10:00:00'";
    const auto batch = db.translator->translate(script);
    QCOMPARE(batch->statements.size(), 5);
    QVERIFY2(batch->statements[0].sql.contains("p_id INTEGER PRIMARY KEY AUTOINCREMENT"), qPrintable(batch->statements[0].sql));
    QVERIFY(batch->statements[0].sql.contains("p_nev NVARCHAR(50) COLLATE KOVRA_CI"));
    QVERIFY(batch->statements[0].sql.contains("p_szoveg NTEXT COLLATE KOVRA_CI"));
    QVERIFY(batch->statements[0].sql.contains("p_datum DATETIME TEXT"));
    QVERIFY(batch->statements[0].sql.contains("p_nap DATE TEXT DEFAULT ('2024-01-01')"));
    db.run(script);
    db.catalog = sql::Catalog::fromSqlite(db.db);
    db.translator->clearCache();
    QCOMPARE(db.rawQuery("SELECT p_id, p_nev, p_datum, p_nap, p_ido, p_jelzo, p_uj FROM proba")[0],
             (QVector<QVariant>{qint64(1), "Á", "2024-03-05 00:00:00", "2024-01-01", "08:00:00", qint64(1), "2024-03-05 10:00:00"}));
    const sql::TableInfo *t = db.catalog.table(QStringLiteral("dbo.PROBA"));
    QVERIFY(t && t->hasIdentity());
    QCOMPARE(t->column(u"p_nap")->type, FieldType::Date);
    QCOMPARE(t->column(u"P_DATUM")->type, FieldType::DateTime);
    QCOMPARE(t->column(u"p_ido")->type, FieldType::Time);
    QCOMPARE(t->column(u"p_jelzo")->type, FieldType::Flag);
    QCOMPARE(t->column(u"p_nev")->type, FieldType::Text);
    db.run("DROP INDEX ix_proba ON proba\nDROP TABLE proba");
    QVERIFY(db.rawQuery("SELECT name FROM sqlite_schema WHERE name LIKE '%proba%'").isEmpty());
}

void TestTranslator::resultTypesAndCache()
{
    Database db;
    const QString q = "Select a.*, (Select x.jt_jel From jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev, "
                      "convert(varchar(10), a.jelenlet_datum, 102) as d, getdate(), Count(*) over () as n From jelenlet a, orarend b";
    QVERIFY_THROWS_EXCEPTION(sql::TranslateError, db.translator->translate(q)); // COUNT OVER is refused
    const QString ok = "Select a.*, (Select x.jt_jel From jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev, "
                       "convert(varchar(10), a.jelenlet_datum, 102) as d, getdate() as most, b.orarend_heti From jelenlet a, orarend b";
    const auto first = db.translator->translate(ok);
    QCOMPARE(first->statements[0].resultTypes,
             (QVector<FieldType>{FieldType::Integer, FieldType::Integer, FieldType::Integer, FieldType::Date, FieldType::Integer,
                                 FieldType::Text, FieldType::Text, FieldType::Text, FieldType::DateTime, FieldType::Flag}));
    QCOMPARE(db.translator->translate(ok).get(), first.get());
    db.translator->clearCache();
    QVERIFY(db.translator->translate(ok).get() != first.get());
    // a '*' over the Neptun stand-in has no known column count
    QVERIFY(db.translator->translate("select a.* from openquery(NEPTUN3R, 'select x.* from T_COURSE x') a")->statements[0].resultTypes.isEmpty());
}

void TestTranslator::shapeCacheMatchesFreshTranslation_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("shared"); // second is answered from the template of first
    QTest::addColumn<QString>("error");
    const QString date = "Conversion failed when converting date and/or time from character string.";
    QTest::newRow("date against date column") << "Select jelenlet_id From jelenlet Where jelenlet_datum='20240917'"
                                              << "Select jelenlet_id From jelenlet Where jelenlet_datum='2025.01.02.'" << true << "";
    QTest::newRow("no valid date") << "Select jelenlet_id From jelenlet Where jelenlet_datum='20240917'"
                                   << "Select jelenlet_id From jelenlet Where jelenlet_datum='20240230'" << false << date;
    QTest::newRow("style-20 text into date-time") << "Insert Into Jelentes (jel_datum, jel_szoveg) Values ('2024-09-17 10:11:12', 'a')"
                                                  << "Insert Into Jelentes (jel_datum, jel_szoveg) Values ('20250102', 'b''c')" << true << "";
    QTest::newRow("flag text") << "Update orarend Set orarend_heti='1' Where orarend_id=5"
                               << "Update orarend Set orarend_heti='0' Where orarend_id=6" << true << "";
    QTest::newRow("no flag") << "Update orarend Set orarend_heti='1' Where orarend_id=5"
                             << "Update orarend Set orarend_heti='igen' Where orarend_id=5" << false
                             << "Conversion failed when converting the varchar value 'igen' to data type bit.";
    QTest::newRow("number into flag") << "Update kar Set kar_aktiv=2 Where kar_id=1" << "Update kar Set kar_aktiv=0 Where kar_id=1"
                                      << true << "";
    QTest::newRow("time") << "Update orarend Set orarend_mettol='08:15:00.0000' Where orarend_id=1"
                          << "Update orarend Set orarend_mettol='9:45' Where orarend_id=1" << true << "";
    QTest::newRow("no time") << "Update orarend Set orarend_mettol='08:15:00.0000' Where orarend_id=1"
                             << "Update orarend Set orarend_mettol='25:00:00.0000' Where orarend_id=1" << false << date;
    QTest::newRow("text + number") << "Select '41' + a.hallgato_id From hallgato a" << "Select '7' + a.hallgato_id From hallgato a"
                                   << true << "";
    QTest::newRow("text + number, no number") << "Select '41' + a.hallgato_id From hallgato a"
                                              << "Select '4x' + a.hallgato_id From hallgato a" << false
                                              << "Conversion failed when converting the varchar value '4x' to data type int.";
    QTest::newRow("text + text") << "Select a.hallgato_nev + ' (' + a.hallgato_kod + ')' From hallgato a"
                                 << "Select a.hallgato_nev + ' [' + a.hallgato_kod + ']' From hallgato a" << true << "";
    QTest::newRow("style-112 text against number")
        << "Select c.orarend_id From orarend_datum c Where convert(varchar(10), c.od_datum,112)=20240917"
        << "Select c.orarend_id From orarend_datum c Where convert(varchar(10), c.od_datum,112)=20250102" << true << "";
    QTest::newRow("text against integer column") << "Select hallgato_kod From hallgato Where hallgato_id='12'"
                                                 << "Select hallgato_kod From hallgato Where hallgato_id=' 13 '" << true << "";
    QTest::newRow("no integer") << "Select hallgato_kod From hallgato Where hallgato_id='12'"
                                << "Select hallgato_kod From hallgato Where hallgato_id='x'" << false
                                << "Conversion failed when converting the varchar value 'x' to data type int.";
    QTest::newRow("number for a text") << "Select hallgato_kod From hallgato Where hallgato_id='12'"
                                       << "Select hallgato_kod From hallgato Where hallgato_id=12" << false << "";
    QTest::newRow("in lists of other lengths")
        << "Select hallgato_id From hallgato Where hallgato_kod in ('A','B')"
        << "Select hallgato_id From hallgato Where hallgato_kod in ('A','B','C')" << false << "";
    QTest::newRow("in list, same length") << "Select hallgato_id From hallgato Where hallgato_id=1 and hallgato_kod in ('A','B')"
                                          << "Select hallgato_id From hallgato Where hallgato_id=2 and hallgato_kod in ('c','')"
                                          << true << "";
    QTest::newRow("quotes inside texts") << "Select hallgato_id From hallgato Where hallgato_nev='O''Brien'"
                                         << "Select hallgato_id From hallgato Where hallgato_nev='D''Arcy'''" << true << "";
    QTest::newRow("negative numbers") << "Select orarend_id From orarend Where orarend_potlas > -1"
                                      << "Select orarend_id From orarend Where orarend_potlas > -25" << true << "";
    QTest::newRow("national texts") << "Select kar_id From kar Where kar_nev=N'Gazdaság'"
                                    << "Select kar_id From kar Where kar_nev='Jog'" << true << "";
    QTest::newRow("integer, then float") << "Select orarend_id From orarend Where orarend_potlas = 1"
                                         << "Select orarend_id From orarend Where orarend_potlas = 1.5" << false << "";
    QTest::newRow("floats") << "Select orarend_id From orarend Where orarend_potlas = 1.5"
                            << "Select orarend_id From orarend Where orarend_potlas = 2e3" << true << "";
    QTest::newRow("top") << "Select TOP 1 hallgato_nev From hallgato" << "Select TOP 2 hallgato_nev From hallgato" << false << "";
    QTest::newRow("top in a scalar subquery")
        << "Select a.jelenlet_datum, (Select TOP 1 x.hallgato_nev From hallgato x Where x.hallgato_id=a.hallgato_id) From jelenlet a Where a.orarend_id=1"
        << "Select a.jelenlet_datum, (Select TOP 5 x.hallgato_nev From hallgato x Where x.hallgato_id=a.hallgato_id) From jelenlet a Where a.orarend_id=1"
        << false << "";
    QTest::newRow("convert style") << "Select convert(varchar(10), getdate(), 102)" << "Select convert(varchar(10), getdate(), 112)"
                                   << false << "";
    QTest::newRow("convert length") << "Select convert(varchar(10), getdate(), 20)" << "Select convert(varchar(19), getdate(), 20)"
                                    << false << "";
    QTest::newRow("text alias") << "Select kar_nev 'Név' From kar" << "Select kar_nev 'Kar' From kar" << false << "";
    QTest::newRow("openquery text") << "select a.* from openquery(NEPTUN3R, 'select C_CODE from T_COURSE where ID=1') a"
                                    << "select a.* from openquery(NEPTUN3R, 'select C_CODE from T_COURSE where ID=2') a" << false << "";
    QTest::newRow("openquery, other literal") << "select a.* from openquery(NEPTUN3R, 'select C_CODE from T_COURSE') a Where a.C_CODE='X'"
                                              << "select a.* from openquery(NEPTUN3R, 'select C_CODE from T_COURSE') a Where a.C_CODE='Y'"
                                              << true << "";
    QTest::newRow("order by ordinal") << "Select hallgato_id, hallgato_nev From hallgato Where hallgato_id > 3 Order By 2"
                                      << "Select hallgato_id, hallgato_nev From hallgato Where hallgato_id > 5 Order By 1" << true << "";
    QTest::newRow("datediff") << "Select jelenlet_id From jelenlet Where orarend_id=1 and hallgato_id=2 and DATEDIFF(week,jelenlet_datum,'20240917')=0"
                              << "Select jelenlet_id From jelenlet Where orarend_id=7 and hallgato_id=8 and DATEDIFF(week,jelenlet_datum,'20250102')=0"
                              << true << "";
    QTest::newRow("select-list literal") << "Select 'x' as a, hallgato_id From hallgato Where hallgato_id = 1"
                                         << "Select 'y' as a, hallgato_id From hallgato Where hallgato_id = 2" << true << "";
    QTest::newRow("case in where") << "Select hallgato_id From hallgato Where Case When hallgato_kod='A' Then 1 Else 0 End = 1"
                                   << "Select hallgato_id From hallgato Where Case When hallgato_kod='B' Then 2 Else 3 End = 4"
                                   << true << "";
    QTest::newRow("like with escape") << "Select hallgato_id From hallgato Where hallgato_nev like 'K!%%' escape '!'"
                                      << "Select hallgato_id From hallgato Where hallgato_nev like '%a_' escape '#'" << true << "";
    QTest::newRow("batch") << "Insert Into kar (kar_nev) Values ('A'); Select scope_identity()"
                           << "Insert Into kar (kar_nev) Values ('B'); Select scope_identity()" << true << "";
    QTest::newRow("parameters") << "Select hallgato_id From hallgato Where hallgato_kod = :K and hallgato_id = 3"
                                << "Select hallgato_id From hallgato Where hallgato_kod = :K and hallgato_id = 4" << true << "";
    QTest::newRow("accented text") << "Select hallgato_id From hallgato Where hallgato_nev='Árvíztűrő'"
                                   << "Select hallgato_id From hallgato Where hallgato_nev='Ő'" << true << "";
}

void TestTranslator::shapeCacheMatchesFreshTranslation()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, shared);
    QFETCH(QString, error);
    Database db;
    const QString own = translation(*db.translator, first);
    QVERIFY2(!own.startsWith(u"error"), qPrintable(own));
    const auto before = db.translator->statistics();
    const QString cached = translation(*db.translator, second);
    const auto after = db.translator->statistics();
    sql::Translator fresh(&db.catalog);
    QCOMPARE(cached, translation(fresh, second));
    QCOMPARE(after.shapeHits - before.shapeHits, shared ? 1 : 0);
    QCOMPARE(after.translations - before.translations, shared ? 0 : 1);
    if (error.isEmpty())
        QVERIFY2(!cached.startsWith(u"error"), qPrintable(cached));
    else
        QCOMPARE(cached, QStringLiteral("error: ") + error);
    // the first text is answered as before
    QCOMPARE(translation(*db.translator, first), own);
}

void TestTranslator::boundFormsRunAsTheirText()
{
    const char *data = "INSERT INTO hallgato (hallgato_kod, hallgato_nev, hallgato_diak) VALUES ('K1', 'Kiss Ábel', 'D1'), "
                       "('k2', 'O''Brien', 'D2'), ('K3', 'Nagy Éva', NULL);"
                       "INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES (1, 1, '2024-09-16', 1), "
                       "(2, 1, '2024-09-18', 2), (3, 1, '2024-09-24', 1);"
                       "INSERT INTO orarend (orarend_nev, orarend_heti, orarend_mettol) VALUES ('A', 1, '08:15:00'), ('B', 0, '10:00:00')";
    // statement, and whether every literal is bound
    const QList<QPair<QString, bool>> statements = {
        {"Select hallgato_id From hallgato Where hallgato_id=2 and ((hallgato_kod in ('K1','K2')) or (hallgato_diak in ('K1','K2')))", true},
        {"Select hallgato_kod From hallgato Where hallgato_nev in ('kiss ábel', 'o''brien ') Order By 1", false},
        {"Select jelenlet_id From jelenlet Where orarend_id='1' and hallgato_id=1 and DATEDIFF(week,jelenlet_datum,'20240921')=0", true},
        {"Select jelenlet_id From jelenlet Where jelenlet_datum between '20240917' and '2024.09.30' Order By jelenlet_id", true},
        {"Select orarend_id From orarend Where orarend_heti='1' and orarend_mettol='08:15:00.0000'", true},
        {"Select Count(*) DB From jelenlet Where jt_id = '1' AND jelenlet_datum='20240916' AND orarend_id='1' AND hallgato_id='1'", true},
        {"Select hallgato_id From hallgato Where hallgato_nev like 'n%' and hallgato_id > -1", true},
        {"Select 'x' as a, hallgato_id, hallgato_id + 1 From hallgato Where hallgato_id = 3", false},
        {"Update orarend Set orarend_heti='0', orarend_mettol='9:45' Where orarend_nev='a'", true},
        {"Insert Into jelenlet (jt_id, jelenlet_datum, orarend_id, hallgato_id) Values ('2', '20241001', '1', '3')", true},
        {"Delete From jelenlet Where jelenlet_datum='20240918'", true},
    };
    Database inlined, bound;
    inlined.raw(data);
    bound.raw(data);
    for (const auto &[tsql, allBound] : statements) {
        const auto batch = bound.translator->translate(tsql);
        const QString &boundSql = batch->statements[0].boundSql;
        QVERIFY2(!boundSql.isEmpty(), qPrintable(tsql));
        qsizetype literals = 0;
        for (const sql::Token &t : sql::Tokenize(tsql, sql::Dialect::TSql))
            literals += t.type == sql::TokenType::String || t.type == sql::TokenType::Number;
        QCOMPARE(qsizetype(batch->statements[0].boundValues.size()) == literals, allBound);
        QCOMPARE(bound.run(tsql, {}, true), inlined.run(tsql));
        for (const char *table : {"hallgato", "jelenlet", "orarend"})
            QCOMPARE(bound.rawQuery(QStringLiteral("SELECT * FROM %1").arg(table)),
                     inlined.rawQuery(QStringLiteral("SELECT * FROM %1").arg(table)));
    }
    // a statement with parameters of its own has no bound form
    QVERIFY(bound.translator->translate("Select hallgato_id From hallgato Where hallgato_kod = :K and hallgato_id = 3")
                ->statements[0].boundSql.isEmpty());
}

void TestTranslator::collationOfBothEncodingsAgrees_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");
    QTest::newRow("ascii case") << "Kiss Anna" << "KISS ANNA" << 0;
    QTest::newRow("trailing blanks") << "abc  " << "ABC" << 0;
    QTest::newRow("accents folded") << "árvíztűrő" << "ÁRVÍZTŰRŐ" << 0;
    QTest::newRow("accent-sensitive") << "a" << "á" << -1;
    QTest::newRow("accent after ascii") << "Kiss Ábel" << "kiss ábel " << 0;
    QTest::newRow("prefix") << "ab" << "abc" << -1;
    QTest::newRow("ascii order") << "Zebra" << "alma" << 1;
    QTest::newRow("accent against ascii") << "é" << "f" << -1;
    QTest::newRow("accented initial") << "Ács Anna" << "Bíró Béla" << -1;
    QTest::newRow("accent breaks a tie") << "arvíz" << "árvíz" << -1;
    QTest::newRow("long vowel with its letter") << "Ónodi" << "Orbán" << -1;
    QTest::newRow("ö after o") << "Ödön" << "Ozsvát" << 1;
    QTest::newRow("ö before p") << "Ödön" << "Pál" << -1;
    QTest::newRow("ü after u") << "Üveges" << "Uzsoki" << 1;
    QTest::newRow("empty") << "" << "  " << 0;
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"x\U0001D538") << QString::fromUcs4(U"x\U0001D539") << -1;
}

void TestTranslator::collationOfBothEncodingsAgrees()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    const QByteArray a8 = a.toUtf8(), b8 = b.toUtf8();
    QCOMPARE(sql::CompareFolded(a, b), order);
    QCOMPARE(sql::CompareFoldedUtf8(a8.constData(), a8.size(), b8.constData(), b8.size()), order);
    QCOMPARE(sql::CompareFoldedUtf8(b8.constData(), b8.size(), a8.constData(), a8.size()), -order);
}

// What PostgreSQL cannot give the embedded engine's result for is refused, naming the construct;
// the same texts translate for the embedded engine.
void TestTranslator::postgreSqlRefusesInWords_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("message");
    QTest::newRow("distinct texts") << "Select distinct hallgato_nev From hallgato" << "SELECT DISTINCT over a text column";
    QTest::newRow("group by text") << "Select hallgato_nev, count(*) From hallgato Group By hallgato_nev" << "GROUP BY a text value";
    QTest::newRow("NUL in a text") << QStringLiteral("Select hallgato_id From hallgato Where hallgato_kod = 'a%1b'").arg(QChar(0))
                                   << "A text holding the character NUL";
    QTest::newRow("scope_identity in an expression") << "Select hallgato_id From hallgato Where hallgato_id = scope_identity()"
                                                     << "scope_identity() other than in";
    QTest::newRow("'+' of run-time types") << "Select :A + :B" << "'+' between values whose types are known only at run time";
    QTest::newRow("order by number of a text") << "Select distinct hallgato_id, hallgato_kod From hallgato Order By 2"
                                                << "SELECT DISTINCT over a text column";
}

void TestTranslator::postgreSqlRefusesInWords()
{
    QFETCH(QString, tsql);
    QFETCH(QString, message);
    Database db;
    sql::Translator pg(&db.catalog, sql::Engine::PostgreSql);
    const QString error = translation(pg, tsql);
    QVERIFY2(error.startsWith(QLatin1String("error: ") + message) && error.endsWith(QLatin1String("is not supported on PostgreSQL")),
             qPrintable(error));
    QVERIFY2(!translation(*db.translator, tsql).startsWith(QLatin1String("error:")), qPrintable(translation(*db.translator, tsql)));
}

// The few shapes of the PostgreSQL text that the server tests do not show by their rows.
void TestTranslator::postgreSqlText()
{
    Database db;
    sql::Translator pg(&db.catalog, sql::Engine::PostgreSql);
    QCOMPARE(pg.engine(), sql::Engine::PostgreSql);
    QCOMPARE(db.translator->engine(), sql::Engine::Sqlite);
    // SQL Server's NULL order; texts by the collation key
    QCOMPARE(pg.translate("Select hallgato_id From hallgato Order By hallgato_nev, hallgato_id desc")->statements[0].sql,
             QStringLiteral("SELECT hallgato_id FROM hallgato ORDER BY kovra_ci_key(hallgato_nev) NULLS FIRST, hallgato_id DESC NULLS LAST"));
    // the new key comes back from the insert; a table without identity returns nothing
    auto insert = pg.translate("Insert Into kar (kar_nev) Values ('BTK')");
    QCOMPARE(insert->statements[0].sql, QStringLiteral("INSERT INTO kar (kar_nev) VALUES ('BTK') RETURNING kar_id"));
    QVERIFY(insert->statements[0].returnsIdentity);
    QVERIFY(!pg.translate("Insert Into orarend_csoport (orarend_id, ft_id) Values (1, 2)")->statements[0].returnsIdentity);
    // text, not bound forms; parameters stay named
    const auto sel = pg.translate("Select felh_id From felhasznalo Where felh_nev = :nev and felh_id = '3'");
    QCOMPARE(sel->statements[0].sql, QStringLiteral("SELECT felh_id FROM felhasznalo WHERE ((lower(rtrim(felh_nev) COLLATE \"und-x-icu\") = "
                                                    "lower(rtrim(CAST(:nev AS text)) COLLATE \"und-x-icu\")) AND (felh_id = 3))"));
    QVERIFY(sel->statements[0].boundSql.isEmpty());
    // a template of the shape gives the same text as a fresh translation
    const QString other = pg.translate("Select felh_id From felhasznalo Where felh_nev = :nev and felh_id = '4'")->statements[0].sql;
    QVERIFY(pg.statistics().shapeHits > 0);
    QCOMPARE(other, QString(sel->statements[0].sql).replace(QStringLiteral("= 3"), QStringLiteral("= 4")));
}

// db/postgresql/0.sql carries the functions the emitted statements call, as the emitter has them.
void TestTranslator::postgreSqlSchemaHoldsTheSupportFunctions()
{
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/db/postgresql/0.sql"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString schema = QString::fromUtf8(f.readAll());
    const QString script = sql::PostgreSqlSupportScript();
    const QString first = script.section(u'\n', 0, 0);
    if (!schema.contains(first))
        QSKIP("db/postgresql/0.sql holds no support functions yet");
    QVERIFY2(schema.contains(script), "db/postgresql/0.sql must hold sql::PostgreSqlSupportScript() as it stands");
}

QTEST_GUILESS_MAIN(TestTranslator)
#include "test_translator.moc"
