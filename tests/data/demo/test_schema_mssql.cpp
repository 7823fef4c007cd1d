// db/mssql/0.sql on a real SQL Server through Qt's ODBC driver. Skipped unless KOVRA_TEST_MSSQL holds an
// ODBC connection string to an empty database with a case-insensitive code page 1250 collation, e.g.
//   KOVRA_TEST_MSSQL='DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=kovra_proba;UID=sa;PWD=…;TDS_Version=7.4'
// The test creates the schema, checks it, and drops everything it created again.

#include "Schema.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

const char Connection[] = "kovra_mssql";

// Batches as the updater sends them: split at lines holding only GO.
QStringList batches(const QString &script)
{
    QStringList out;
    QString current;
    for (const QString &line : script.split(u'\n')) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            if (!current.trimmed().isEmpty())
                out << current;
            current.clear();
        } else {
            current += line + u'\n';
        }
    }
    if (!current.trimmed().isEmpty())
        out << current;
    return out;
}

} // namespace

class TestSchemaMssql : public QObject {
    Q_OBJECT

private:
    bool m_created = false;

    QSqlDatabase db() { return QSqlDatabase::database(QString::fromLatin1(Connection)); }

    bool exec(const QString &sql, QString *error = nullptr)
    {
        QSqlQuery q(db());
        const bool ok = q.exec(sql);
        if (!ok && error)
            *error = q.lastError().text();
        return ok;
    }

    QStringList column(const QString &sql)
    {
        QSqlQuery q(db());
        QStringList out;
        if (!q.exec(sql))
            return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString connection = qEnvironmentVariable("KOVRA_TEST_MSSQL");
        if (connection.isEmpty())
            QSKIP("KOVRA_TEST_MSSQL is not set (ODBC connection string to an empty SQL Server database)");
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(Connection));
        d.setDatabaseName(connection);
        QVERIFY2(d.open(), qPrintable(d.lastError().text()));
        const QStringList all = batches(schema::MssqlBaseScript());
        QVERIFY(all.size() > 20);
        for (const QString &batch : all) {
            QString error;
            QVERIFY2(exec(batch, &error), qPrintable(error + u"\n" + batch));
            m_created = true;
        }
    }

    void cleanupTestCase()
    {
        if (!m_created)
            return;
        QString error;
        QVERIFY2(exec(QStringLiteral("DROP FUNCTION dbo.orarend_kurzus"), &error), qPrintable(error));
        QVERIFY2(exec(QStringLiteral(
                          "DROP TABLE dbo.beallitasok, dbo.hibanaplo, dbo.esemenynaplo, dbo.Jelentes, dbo.kartya, "
                          "dbo.jelenlet, dbo.jelenlet_tipusa, dbo.orarend_csoport, dbo.orarend_datum, dbo.tan_okt, "
                          "dbo.tan_hall, dbo.orarend, dbo.felvett_tantargy, dbo.sportag, dbo.tanora_forma, dbo.nyelv, "
                          "dbo.kurzus, dbo.tantargy, dbo.felev, dbo.hallgato, dbo.oktato, dbo.felhasznalo, "
                          "dbo.szerepkor, dbo.kar"),
                      &error),
                 qPrintable(error));
    }

    void tablesCodeRowsAndVersion()
    {
        QCOMPARE(column(QStringLiteral("SELECT COUNT(*) FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_SCHEMA = 'dbo' AND "
                                       "TABLE_NAME IN ('kar','szerepkor','felhasznalo','oktato','hallgato','felev',"
                                       "'tantargy','kurzus','nyelv','tanora_forma','sportag','felvett_tantargy',"
                                       "'tan_hall','tan_okt','orarend','orarend_datum','orarend_csoport','jelenlet',"
                                       "'jelenlet_tipusa','kartya','Jelentes','esemenynaplo','hibanaplo','beallitasok')")),
                 QStringList{QStringLiteral("24")});
        QCOMPARE(column(QStringLiteral("SELECT szerep_nev FROM szerepkor ORDER BY szerep_id")),
                 QStringList({QStringLiteral("Adminisztrátor"), QStringLiteral("Tanulmányi ügyintéző"),
                              QStringLiteral("Oktató"), QStringLiteral("Kártyakezelő"), QStringLiteral("Hallgató")}));
        QCOMPARE(column(QStringLiteral("SELECT jt_jel + jt_mas FROM jelenlet_tipusa ORDER BY jt_id")),
                 QStringList({QStringLiteral("ü+"), QStringLiteral("ű-"), QStringLiteral("ţP")}));
        // The updater's own statement.
        QCOMPARE(column(QStringLiteral("Select ADATBAZIS_VERZIO from beallitasok")), QStringList{QStringLiteral("0")});
    }

    void programStatements()
    {
        // Values as the program writes them: quoted non-Unicode texts, compact dates, times, flags.
        const char *const writes[] = {
            "Insert Into kar (kar_nev, kar_kod, kar_aktiv) Values ('Gépészmérnöki Kar', 'GEK', '1')",
            "Insert Into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) Values ('Ősz', '2024/25/1', '20240901', '20250131')",
            "Insert Into tantargy (tantargy_kod, tantargy_nev) Values ('GKMAT011B', 'Matematika I')",
            "Insert Into kurzus (kurzus_kod, kurzus_nev) Values ('L01', 'L01')",
            "Insert Into kurzus (kurzus_kod, kurzus_nev) Values ('E01', 'E01')",
            "Insert Into kurzus (kurzus_kod, kurzus_nev) Values ('GY02', 'GY02')",
            "Insert Into felvett_tantargy (tantargy_id, kurzus_id, felev_id, kar_id) Values ('1', '1', '1', '1')",
            "Insert Into felvett_tantargy (tantargy_id, kurzus_id, felev_id, kar_id) Values ('1', '2', '1', '1')",
            "Insert Into felvett_tantargy (tantargy_id, kurzus_id, felev_id, kar_id) Values ('1', '3', '1', '1')",
            "Insert Into orarend (kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig, orarend_heti) "
            "Values ('1', '1', 'Győri óra', '08:15:00.0000', '09:45:00.0000', '1')",
            "Insert Into orarend (kar_id, felev_id, orarend_nev) Values ('1', '1', 'Üres')",
            "Insert Into orarend_csoport (orarend_id, ft_id) Values ('1', '1')",
            "Insert Into orarend_csoport (orarend_id, ft_id) Values ('1', '3')",
            "Insert Into orarend_csoport (orarend_id, ft_id) Values ('1', '2')",
            "Insert Into orarend_datum (orarend_id, od_datum) Values ('1', '2024.09.03')",
            "Insert Into hallgato (hallgato_kod, hallgato_nev) Values ('abc12x', 'Szűcs Ödön')",
        };
        for (const char *sql : writes) {
            QString error;
            QVERIFY2(exec(QString::fromUtf8(sql), &error), qPrintable(error + u"\n" + QString::fromUtf8(sql)));
        }
        // dbo.orarend_kurzus: course codes in code order, '' for an entry without groups.
        QCOMPARE(column(QStringLiteral("Select (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) as NEV From orarend "
                                       "Where kar_id=1 and felev_id=1 Order By NEV")),
                 QStringList({QStringLiteral("Győri óra - E01, GY02, L01"), QStringLiteral("Üres - ")}));
        QCOMPARE(column(QStringLiteral("Select Left(orarend_mettol,5) + '-' + Left(orarend_meddig,5) From orarend Where orarend_id=1")),
                 QStringList{QStringLiteral("08:15-09:45")});
        QCOMPARE(column(QStringLiteral("Select convert(varchar(10), od_datum, 102) From orarend_datum")),
                 QStringList{QStringLiteral("2024.09.03")});
        // Case-insensitive, accent-sensitive, and no letter lost on the way in.
        QCOMPARE(column(QStringLiteral("Select hallgato_nev From hallgato Where hallgato_kod in ('ABC12X') and hallgato_nev='SZŰCS ÖDÖN'")),
                 QStringList{QStringLiteral("Szűcs Ödön")});
        QCOMPARE(column(QStringLiteral("Select count(*) From hallgato Where hallgato_nev='Szucs Odon'")), QStringList{QStringLiteral("0")});
        QCOMPARE(column(QStringLiteral("Select count(*) From hallgato Where hallgato_nev like 'sz%'")), QStringList{QStringLiteral("1")});

        QString error;
        QVERIFY(!exec(QStringLiteral("Insert Into orarend (orarend_nev) Values (null)"), &error));
        QVERIFY2(error.contains(QStringLiteral("column does not allow nulls")), qPrintable(error));
        QVERIFY(!exec(QStringLiteral("delete from felvett_tantargy Where ft_id=1"), &error));
        QVERIFY2(error.contains(QStringLiteral("REFERENCE constraint")), qPrintable(error));
    }

    void secondRunIsRefused()
    {
        // On a connection of its own: the refusal switches NOEXEC on for that session.
        const QString name = QStringLiteral("kovra_mssql_second");
        {
            QSqlDatabase second = QSqlDatabase::cloneDatabase(db(), name);
            QVERIFY2(second.open(), qPrintable(second.lastError().text()));
            QSqlQuery q(second);
            QVERIFY(!q.exec(batches(schema::MssqlBaseScript()).first()));
            QVERIFY2(q.lastError().text().contains(QStringLiteral("already exist")), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase(name);
    }
};

QTEST_GUILESS_MAIN(TestSchemaMssql)
#include "test_schema_mssql.moc"
