// Record operations: statements, NULL and trimming rules, the duplicate check, keys and audit rows.

#include "DataFixture.h"
#include "DbError.h"
#include "RecordOperations.h"

class TestRecords : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    QStringList sent;

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<DataFixture>(QString::fromLatin1(MiniSchema));
        sent.clear();
        connect(&fx->conn(), &Connection::statementSent, this,
                [this](const QString &, const QString &sql) { sent << sql; });
    }
    void cleanup() { fx.reset(); }

    void insertWithExistingCheck()
    {
        const QStringList fields{"felev_nev=2023/24 tavasz", "felev_neptun=2023/24/2", "felev_datumtol=20240205",
                                 "felev_datumig=20240630"};
        QString id;
        InsertRecord(QStringLiteral("felev"), fields, true, id);
        QCOMPARE(id, QStringLiteral("1"));
        QCOMPARE(sent.value(0), QStringLiteral("Select Count(*) DB From felev Where felev_nev = '2023/24 tavasz' AND "
                                               "felev_neptun='2023/24/2' AND felev_datumtol='20240205' AND "
                                               "felev_datumig='20240630'"));
        QCOMPARE(sent.value(1), QStringLiteral("Insert Into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) "
                                               "Values ('2023/24 tavasz', '2023/24/2', '20240205', '20240630')"));
        QCOMPARE(sent.value(2), QStringLiteral("select scope_identity() as ID"));

        // Second time: nothing inserted, the existing key handed back, an audit row all the same.
        QString again;
        InsertRecord(QStringLiteral("felev"), fields, true, again);
        QCOMPARE(again, QStringLiteral("1"));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felev")), QStringList{"1"});
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, felh_id, erintett_tabla, erintett_rekord, uj_ertek, esemeny_datum "
                                         "from esemenynaplo")),
                 QStringList({"1|7|felev|1|2023/24 tavasz, 2023/24/2, 20240205, 20240630|2024.03.06 10:15:30",
                              "1|7|felev|1|2023/24 tavasz, 2023/24/2, 20240205, 20240630|2024.03.06 10:15:30"}));
        QVERIFY(!fx->module->Query1.isActive());
    }

    void insertValueRules()
    {
        QString id;
        // Quotes doubled in the statement, removed in the audit; blanks and line breaks trimmed;
        // null in any case and blank values are NULL; "nullx" is text; empty elements skipped.
        InsertRecord(QStringLiteral("felev"),
                     {"felev_nev=  O'Neil \r\n", "", "felev_datumtol=NuLl", "felev_datumig= \t ", "felev_neptun=nullx"},
                     false, id);
        QCOMPARE(sent.value(0), QStringLiteral("Insert Into felev (felev_nev, felev_datumtol, felev_datumig, felev_neptun) "
                                               "Values ('O''Neil', null, null, 'nullx')"));
        QCOMPARE(fx->rows(QStringLiteral("select felev_nev, felev_datumtol, felev_datumig, felev_neptun from felev")),
                 QStringList{"O'Neil|NULL|NULL|nullx"});
        QCOMPARE(fx->rows(QStringLiteral("select uj_ertek from esemenynaplo")), QStringList{"ONeil, null, null, nullx"});

        // The value may itself hold "=".
        InsertRecord(QStringLiteral("felev"), {"felev_nev=a=b"}, false, id);
        QCOMPARE(fx->rows(QStringLiteral("select felev_nev from felev where felev_id=") + id), QStringList{"a=b"});
    }

    void insertMatchConditionWithNulls()
    {
        QString id;
        InsertRecord(QStringLiteral("felev"), {"felev_neptun=null", "felev_nev=x", "felev_datumtol=null"}, true, id);
        QCOMPARE(sent.value(0), QStringLiteral("Select Count(*) DB From felev Where felev_neptun is null  AND felev_nev='x' "
                                               "AND felev_datumtol is null"));
        // Upper-case DATUMTOL / DATUMIG columns stay out of the match (compared case-sensitively).
        sent.clear();
        InsertRecord(QStringLiteral("felev"), {"felev_nev=y", "FELEV_DATUMTOL=20240101", "FELEV_DATUMIG=20240102"}, true, id);
        QCOMPARE(sent.value(0), QStringLiteral("Select Count(*) DB From felev Where felev_nev = 'y'"));
    }

    void insertWithoutIdentity()
    {
        QString id;
        InsertRecord(QStringLiteral("tan_okt"), {"oktato_id=12", "ft_id=5"}, false, id);
        QCOMPARE(id, QStringLiteral("12"));
        // An identity insert before must not leak into the next table's answer.
        InsertRecord(QStringLiteral("felev"), {"felev_nev=z"}, false, id);
        QCOMPARE(id, QStringLiteral("1"));
        InsertRecord(QStringLiteral("tan_okt"), {"oktato_id=13", "ft_id=5"}, false, id);
        QCOMPARE(id, QStringLiteral("13"));
        // Existing row: the first column counts as key when its name holds "_ID".
        InsertRecord(QStringLiteral("tan_okt"), {"oktato_id=13", "ft_id=5"}, true, id);
        QCOMPARE(id, QStringLiteral("13"));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from tan_okt")), QStringList{"2"});
    }

    void elementWithoutEqualsFails()
    {
        QString id;
        QVERIFY_THROWS_EXCEPTION(DbError, InsertRecord(QStringLiteral("felev"), {"felev_nev"}, false, id));
        QVERIFY(!fx->module->Query1.isActive());
    }

    void updateRules()
    {
        QString id;
        for (const char *name : {"a", "b", "c"})
            InsertRecord(QStringLiteral("felev"), {QStringLiteral("felev_nev=") + QLatin1String(name), "felev_neptun=n",
                                                   "felev_datumtol=20240205"},
                         false, id);
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("delete from esemenynaplo"));
        sent.clear();

        UpdateRecord(QStringLiteral("felev"), {"felev_neptun=  x  ", "", "felev_datumig=NULL"},
                     QStringLiteral("felev_neptun='n'"));
        QCOMPARE(sent.value(1), QStringLiteral("Update felev Set felev_neptun = '  x  ', felev_datumig = Null Where "
                                               "felev_neptun='n'"));
        QCOMPARE(fx->rows(QStringLiteral("select felev_neptun from felev")), QStringList({"  x  ", "  x  ", "  x  "}));
        // One audit row, describing the first matching row before the change.
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, erintett_rekord, regi_ertek, uj_ertek from esemenynaplo")),
                 QStringList{"2|1|felev_id=1; felev_nev=a; felev_neptun=n; felev_datumtol=2024.02.05; felev_datumig=; |"
                             "felev_neptun =   x  , felev_datumig = Null"});

        // No match: nothing updated, nothing audited.
        sent.clear();
        UpdateRecord(QStringLiteral("felev"), {"felev_nev=q"}, QStringLiteral("felev_id=99"));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"1"});

        // Quotes in values are doubled in the statement and dropped from the audit text.
        UpdateRecord(QStringLiteral("felev"), {"felev_nev=O'Neil"}, QStringLiteral("felev_id=2"));
        QCOMPARE(fx->rows(QStringLiteral("select felev_nev from felev where felev_id=2")), QStringList{"O'Neil"});
        QCOMPARE(fx->rows(QStringLiteral("select uj_ertek from esemenynaplo where erintett_rekord='2'")),
                 QStringList{"felev_nev = ONeil"});
    }

    void deleteRecord()
    {
        QString id;
        InsertRecord(QStringLiteral("felev"), {"felev_nev=a"}, false, id);
        DeleteRecord(QStringLiteral("felev"), QStringLiteral("felev_id=") + id);
        DeleteRecord(QStringLiteral("felev"), QStringLiteral("felev_id=12345")); // no match: no error
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felev")), QStringList{"0"});
        // Deleting writes no audit row (the one row is the insert's).
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"1"});
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
