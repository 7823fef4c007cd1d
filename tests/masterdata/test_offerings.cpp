// The subject offering window, driven by its controls on the real schema.

#include "DBGrid.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "OfferingSeed.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_Tanora_Unit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestOfferings : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_Tanora> shown() { return WindowTestBase::shown<Tform_Tanora>(); }
    static QString cell(DBGrid *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }
    static void selectRow(DBGrid *grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 1)); }
    // Chooses an item as the user does: the list's item by its text.
    static void choose(TVDCComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        PickFromList(combo, i);
    }
    static QStringList items(const TVDCComboBox *combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    // The ids the list shows, top down.
    static QStringList listedIds(Tform_Tanora *w)
    {
        QStringList ids;
        for (int r = 0; r < w->dbg_lista->model()->rowCount(); ++r)
            ids << cell(w->dbg_lista, r, 0);
        return ids;
    }
    // Fills the edit controls of a new offering.
    static void fillNew(Tform_Tanora *w, const QString &subject, const QString &form, const QString &course,
                        const QString &language, const QString &year)
    {
        if (!subject.isEmpty())
            choose(w->vdc_tantargy, subject);
        if (!form.isEmpty())
            choose(w->vdc_forma, form);
        if (!course.isEmpty())
            choose(w->vdc_kurzus, course);
        if (!language.isEmpty())
            choose(w->vdc_nyelv, language);
        w->e_evfolyam->setText(year);
    }
    QString offeringCount() { return rows(QStringLiteral("select count(*) from felvett_tantargy")).value(0); }

private Q_SLOTS:
    void init()
    {
        startFixture(OfferingSeed);
    }
    void cleanup()
    {
            stopFixture();
    }

    void listFilterAndRows()
    {
        auto w = shown();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tantárgy szerkesztése"));
        // The current semester's offerings of the user's faculty.
        QVERIFY(w->SZURES.sql().endsWith(QLatin1String("From felvett_tantargy a Where a.felev_id=1 and a.kar_id=1")));
        QCOMPARE(listedIds(w.get()), (QStringList{"1", "2", "3"}));
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("2023/24 tavasz"));
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(w->dbg_lista->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("tanóra"));
        QCOMPARE(cell(w->dbg_lista, 0, 1), QStringLiteral("Mikroökonómia"));
        QCOMPARE(cell(w->dbg_lista, 1, 2), QStringLiteral("előadás"));
        QCOMPARE(cell(w->dbg_lista, 0, 4), QStringLiteral("MIK-G1 gyakorlat"));
        // The first row: its values, its students, the shared ids.
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
        QCOMPARE(w->vdc_tantargy->currentText(), QStringLiteral("Mikroökonómia"));
        QCOMPARE(w->vdc_kurzus->currentText(), QStringLiteral("MIK-G1 gyakorlat"));
        QCOMPARE(w->vdc_nyelv->currentText(), QStringLiteral("magyar"));
        QCOMPARE(w->e_evfolyam->text(), QStringLiteral("1"));
        QCOMPARE(w->dbg_hallgato->model()->rowCount(), 2);
        QCOMPARE(cell(w->dbg_hallgato, 0, 0), QStringLiteral("Ács Anna (AAA111)"));
        // Only subjects and courses offered in the row's semester are offered.
        QCOMPARE(items(w->vdc_tantargy), (QStringList{"Mikroökonómia", "Statisztika", "Testnevelés"}));
        selectRow(w->dbg_lista, 2);
        QCOMPARE(CurrentOfferingId, QStringLiteral("3"));
        QCOMPARE(w->vdc_forma->currentText(), QStringLiteral("gyakorlat"));
        QCOMPARE(w->e_evfolyam->text(), QString());
        QCOMPARE(cell(w->dbg_hallgato, 0, 0), QStringLiteral("Erdős Emil (EEE555)"));

        choose(w->vdc_felev_szuro, QStringLiteral("2023/24 ősz"));
        QCOMPARE(listedIds(w.get()), (QStringList{"4", "6"}));
        QCOMPARE(w->dbg_hallgato->model()->rowCount(), 0);
        // Text that names no semester lists nothing.
        w->vdc_felev_szuro->setFocus();
        w->vdc_felev_szuro->lineEdit()->selectAll();
        QTest::keyClicks(w->vdc_felev_szuro->lineEdit(), QStringLiteral("nincs ilyen"));
        QCOMPARE(w->SZURES.recordCount(), 2); // the text counts once accepted
        QTest::keyClick(w->vdc_felev_szuro, Qt::Key_Return);
        QCOMPARE(w->SZURES.recordCount(), 0);
        QVERIFY(!w->hallgato.isActive());
        QVERIFY(CurrentOfferingId.isEmpty());
        QCOMPARE(w->vdc_tantargy->currentText(), QString());
        // Cleared: every semester of the faculty, never another faculty's offering.
        w->bb_felttorol->click();
        QVERIFY(w->SZURES.sql().endsWith(QLatin1String("From felvett_tantargy a Where a.kar_id=1")));
        QCOMPARE(listedIds(w.get()), (QStringList{"1", "2", "3", "4", "6"}));
        QCOMPARE(w->vdc_felev_szuro->currentText(), QString());
        QCOMPARE(writes(), QStringList());
    }

    void rowOfAnotherSemesterFillsItsChoices()
    {
        auto w = shown();
        w->bb_felttorol->click();
        selectRow(w->dbg_lista, 4); // offering 6, semester 2
        QCOMPARE(items(w->vdc_tantargy), (QStringList{"Mikroökonómia", "Régi tárgy"}));
        QCOMPARE(w->vdc_tantargy->currentText(), QStringLiteral("Régi tárgy"));
        QCOMPARE(w->vdc_kurzus->currentText(), QStringLiteral("REG-01"));
        // Saving it unchanged writes its own values, no null.
        w->bb_modosit->click();
        QVERIFY(!w->p_kereso->isVisible());
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update felvett_tantargy Set felev_id = '2', tantargy_id = '4', tof_id = "
                                                   "'2', kurzus_id = '4', nyelv_id = '2', evfolyam = '3' Where ft_id=6"));
        QCOMPARE(rows(QStringLiteral("select tantargy_id, kurzus_id, felev_id, kar_id from felvett_tantargy where ft_id=6")),
                 QStringList{"4|4|2|1"});
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"2|felvett_tantargy|6"});
        QVERIFY(w->p_kereso->isVisible());
        QCOMPARE(CurrentOfferingId, QStringLiteral("6"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("ft_id")).asString(), QStringLiteral("6"));
    }

    void newOffering()
    {
        auto w = shown();
        choose(w->vdc_felev_szuro, QStringLiteral("2023/24 ősz"));
        w->bb_uj->click();
        QCOMPARE(EditMode, EditState::New);
        QVERIFY(!w->p_kereso->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->vdc_felev));
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz")); // today's semester
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("2023/24 ősz")); // the filter is kept
        fillNew(w.get(), QStringLiteral("Statisztika"), QStringLiteral("gyakorlat"), QStringLiteral("STA-E1 előadás"),
                QStringLiteral("angol"), QStringLiteral("3"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into felvett_tantargy (kar_id, felev_id, tantargy_id, tof_id, "
                                                   "kurzus_id, nyelv_id, evfolyam) Values ('1', '1', '2', '1', '2', '2', '3')"));
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(rows(QStringLiteral("select ft_id, kar_id, felev_id, tantargy_id, tof_id, kurzus_id, nyelv_id, evfolyam "
                                     "from felvett_tantargy where ft_id>6")),
                 QStringList{"7|1|1|2|1|2|2|3"});
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"1|felvett_tantargy|7"});
        // The list follows the new offering to its semester and shows it, not a neighbour.
        QCOMPARE(CurrentOfferingId, QStringLiteral("7"));
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("ft_id")).asString(), QStringLiteral("7"));
        QCOMPARE(w->vdc_tantargy->currentText(), QStringLiteral("Statisztika"));
        QCOMPARE(w->vdc_forma->currentText(), QStringLiteral("gyakorlat"));
        QVERIFY(w->p_kereso->isVisible());
    }

    void identicalOffering()
    {
        auto w = shown();
        selectRow(w->dbg_lista, 2);
        w->bb_uj->click();
        fillNew(w.get(), QStringLiteral("Mikroökonómia"), QStringLiteral("gyakorlat"), QStringLiteral("MIK-G1 gyakorlat"),
                QStringLiteral("magyar"), QStringLiteral("1"));
        w->bb_felvesz->click();
        QCOMPARE(offeringCount(), QStringLiteral("6"));
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("ft_id")).asString(), QStringLiteral("1"));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_rekord from esemenynaplo")), QStringList{"1|1"});
    }

    void checkedBeforeWriting_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("no subject") << "" << "gyakorlat" << "STA-E1 előadás" << "angol" << "A(z) tantárgy megadása kötelező!";
        QTest::newRow("no course") << "Statisztika" << "" << "" << "angol" << "A(z) kurzus megadása kötelező!";
        QTest::newRow("no language") << "Statisztika" << "" << "STA-E1 előadás" << "" << "A(z) nyelv megadása kötelező!";
    }
    void checkedBeforeWriting()
    {
        QFETCH(QString, subject);
        QFETCH(QString, form);
        QFETCH(QString, course);
        QFETCH(QString, language);
        QFETCH(QString, message);
        auto w = shown();
        w->bb_uj->click();
        fillNew(w.get(), subject, form, course, language, QStringLiteral("2"));
        for (int i = 0; i < 2; ++i)
            w->bb_felvesz->click();
        QCOMPARE(msg->shown, (QStringList{message, message}));
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(offeringCount(), QStringLiteral("6"));
        // Completed, the same edit writes one row.
        fillNew(w.get(), QStringLiteral("Statisztika"), QString(), QStringLiteral("STA-E1 előadás"), QStringLiteral("angol"),
                QStringLiteral("2"));
        w->bb_felvesz->click();
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(rows(QStringLiteral("select tantargy_id, tof_id, kurzus_id, nyelv_id from felvett_tantargy where ft_id>6")),
                 QStringList{form.isEmpty() ? "2|NULL|2|2" : "2|1|2|2"});
    }

    void noSemesterAndUnlistedText()
    {
        auto w = shown();
        w->bb_uj->click();
        fillNew(w.get(), QStringLiteral("Statisztika"), QString(), QStringLiteral("STA-E1 előadás"), QStringLiteral("angol"),
                QString());
        w->vdc_felev->clearChoice();
        w->bb_felvesz->click();
        QCOMPARE(msg->shown.value(0), QStringLiteral("A(z) félév megadása kötelező!"));
        // A form typed in that names none of the list's items is refused, not stored as null.
        w->vdc_felev->Ertek(QStringLiteral("1"));
        w->vdc_forma->setFocus();
        QTest::keyClicks(w->vdc_forma->lineEdit(), QStringLiteral("szeminarium"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown.value(1), QStringLiteral("A(z) forma nem szerepel a listában!"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->vdc_forma));
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New);
    }

    void semesterChangeRefillsChoices()
    {
        auto w = shown();
        selectRow(w->dbg_lista, 1); // Statisztika, semester 1
        w->bb_modosit->click();
        choose(w->vdc_felev, QStringLiteral("2023/24 ősz"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("2"));
        QCOMPARE(items(w->vdc_tantargy), (QStringList{"Mikroökonómia", "Régi tárgy"}));
        QCOMPARE(w->vdc_tantargy->currentText(), QString()); // Statisztika is not offered there
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"A(z) tantárgy megadása kötelező!"});
        QCOMPARE(writes(), QStringList());
        // Back in its semester its subjects are offered again.
        choose(w->vdc_felev, QStringLiteral("2023/24 tavasz"));
        QCOMPARE(items(w->vdc_tantargy), (QStringList{"Mikroökonómia", "Statisztika", "Testnevelés"}));
        choose(w->vdc_tantargy, QStringLiteral("Statisztika"));
        choose(w->vdc_kurzus, QStringLiteral("STA-E1 előadás"));
        w->e_evfolyam->setText(QStringLiteral("4"));
        w->bb_felvesz->click();
        QCOMPARE(rows(QStringLiteral("select felev_id, tantargy_id, kurzus_id, evfolyam from felvett_tantargy where ft_id=2")),
                 QStringList{"1|2|2|4"});
        // Mégsem after a change shows the stored values again.
        w->bb_modosit->click();
        w->e_evfolyam->setText(QStringLiteral("9"));
        w->bb_megsem->click();
        QCOMPARE(w->e_evfolyam->text(), QStringLiteral("4"));
        QCOMPARE(CurrentOfferingId, QStringLiteral("2"));
    }

    void repeatedSaveAfterAFailedWrite()
    {
        auto w = shown();
        w->bb_uj->click();
        fillNew(w.get(), QStringLiteral("Testnevelés"), QStringLiteral("gyakorlat"), QStringLiteral("TES-01 sport"),
                QStringLiteral("magyar"), QStringLiteral("1"));
        // The audit row cannot be written: the offering's write goes back with it, the edit stays.
        rawSql("CREATE TRIGGER no_audit BEFORE INSERT ON esemenynaplo BEGIN SELECT RAISE(ABORT, 'no audit'); END;");
        w->bb_felvesz->click();
        QCOMPARE(errors->texts.size(), 1);
        errors->texts.clear();
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(rows(QStringLiteral("select ft_id, nyelv_id from felvett_tantargy where ft_id>6")), QStringList{});
        // The second save of the same edit writes the offering once, with its audit row.
        rawSql("DROP TRIGGER no_audit;");
        choose(w->vdc_nyelv, QStringLiteral("angol"));
        sent.clear();
        w->bb_felvesz->click();
        QVERIFY(writes().value(0).startsWith(QLatin1String("Insert Into felvett_tantargy")));
        QCOMPARE(rows(QStringLiteral("select ft_id, nyelv_id from felvett_tantargy where ft_id>6")), QStringList{"7|2"});
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_rekord from esemenynaplo where erintett_tabla='felvett_tantargy'")),
                 QStringList{"1|7"});
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(CurrentOfferingId, QStringLiteral("7"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("ft_id")).asString(), QStringLiteral("7"));
    }

    void deleteOffering_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("left"); // offerings left
        // Offering 1 is a group of entry 2: nothing of it is deleted.
        QTest::newRow("linked") << 0 << true
                                << QStringList{"A tantárgy nem törölhető, mert órarendi bejegyzéshez van rendelve!"}
                                << "1,2,3,4,5,6";
        QTest::newRow("declined") << 2 << false << QStringList{"Biztos törli a tantárgyat?"} << "1,2,3,4,5,6";
        QTest::newRow("confirmed") << 2 << true << QStringList{"Biztos törli a tantárgyat?"} << "1,2,4,5,6";
    }
    void deleteOffering()
    {
        QFETCH(int, row);
        QFETCH(bool, answer);
        QFETCH(QStringList, expected);
        QFETCH(QString, left);
        auto w = shown();
        selectRow(w->dbg_lista, row);
        const QString id = CurrentOfferingId;
        const QString before = rows(QStringLiteral("select count(*) from tan_hall where ft_id=") + id).value(0)
                               + rows(QStringLiteral("select count(*) from tan_okt where ft_id=") + id).value(0);
        w->bb_modosit->click();
        msg->answers.enqueue(answer);
        w->bb_torol->click();
        QCOMPARE(msg->shown, expected);
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(rows(QStringLiteral("select ft_id from felvett_tantargy order by ft_id")).join(u','), left);
        const bool gone = !left.split(u',').contains(id);
        QCOMPARE(rows(QStringLiteral("select count(*) from tan_hall where ft_id=") + id).value(0)
                     + rows(QStringLiteral("select count(*) from tan_okt where ft_id=") + id).value(0),
                 gone ? QStringLiteral("00") : before);
        QVERIFY(before != QLatin1String("00"));
        if (gone) {
            QCOMPARE(listedIds(w.get()), (QStringList{"1", "2"}));
            QVERIFY(CurrentOfferingId != id);
        }
        if (!answer)
            QCOMPARE(w->vdc_tantargy->currentText(), QString()); // the controls are cleared
        QCOMPARE(rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"0"});
    }

    void deleteInNewStateOnlyDiscards()
    {
        auto w = shown();
        selectRow(w->dbg_lista, 2);
        w->bb_uj->click();
        w->bb_torol->click();
        QCOMPARE(msg->shown, QStringList()); // nothing asked
        QCOMPARE(writes(), QStringList());
        QCOMPARE(offeringCount(), QStringLiteral("6"));
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(CurrentOfferingId, QStringLiteral("3"));
        QCOMPARE(w->vdc_tantargy->currentText(), QStringLiteral("Testnevelés"));
    }

    void nothingSelected()
    {
        LoginInfo.FacultyId = QStringLiteral("3"); // a faculty without offerings
        auto w = shown();
        QCOMPARE(w->SZURES.recordCount(), 0);
        QVERIFY(!w->hallgato.isActive());
        w->bb_modosit->click();
        QCOMPARE(msg->shown, QStringList{"Nincs kiválasztott tantárgy!"});
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(!w->bb_torol->isEnabled());
        QCOMPARE(writes(), QStringList());
    }

    void linkSeveralOfferings()
    {
        exec(QStringLiteral("insert into orarend_csoport (orarend_id, ft_id) values (1, 3)"));
        CurrentTimetableId = QStringLiteral("1");
        auto w = shown();
        for (int row : {0, 1, 2})
            w->dbg_lista->selectRow(row);
        w->sb_rendben->click();
        QVERIFY(!w->isVisible());
        // Every group once; the students of all three placed in the entry.
        QCOMPARE(rows(QStringLiteral("select ft_id from orarend_csoport where orarend_id=1 order by ft_id")),
                 (QStringList{"1", "2", "3"}));
        QCOMPARE(rows(QStringLiteral("select th_id, orarend_id from tan_hall order by th_id")),
                 (QStringList{"1|1", "2|1", "3|1", "4|1", "5|1", "6|1"}));
        // Attendance under the entries holding the same offering moves along; Anna's day at the
        // Sportnap (no group) and last semester's stay.
        QCOMPARE(rows(QStringLiteral("select jelenlet_id, orarend_id from jelenlet order by jelenlet_id")),
                 (QStringList{"1|1", "2|6", "3|1", "4|4", "5|1", "6|1"}));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, count(*) from esemenynaplo group by etipus_id, "
                                     "erintett_tabla order by etipus_id, erintett_tabla")),
                 (QStringList{"1|orarend_csoport|3", "2|jelenlet|4", "2|tan_hall|3"}));
        QCOMPARE(CurrentOfferingId, QStringLiteral("3"));
        QCOMPARE(CurrentTimetableId, QStringLiteral("1"));
    }

    void linkWithoutEntryOnlyCloses()
    {
        auto w = shown();
        w->dbg_lista->selectRow(0);
        w->sb_rendben->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(rows(QStringLiteral("select count(*) from orarend_csoport")), QStringList{"2"});
    }

    void linkRefusedWhileEditing()
    {
        CurrentTimetableId = QStringLiteral("1");
        auto w = shown();
        w->dbg_lista->selectRow(2);
        w->bb_modosit->click();
        w->sb_rendben->click();
        QCOMPARE(msg->shown, QStringList{"Zárja le az adatfelvitelt!"});
        QVERIFY(w->isVisible());
        QCOMPARE(EditMode, EditState::Modify);
        QCOMPARE(writes(), QStringList());
    }

    void exitClearsTheOffering()
    {
        auto w = shown();
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        w->bb_kilepes->click();
        QVERIFY(!w->isVisible());
        QVERIFY(CurrentOfferingId.isEmpty());
        // Both grids' layouts are kept.
        QVERIFY(UserSettings()->contains(QStringLiteral("Software/Pellar/Ablakok/form_Tanora/dbg_lista/tantargy/Width")));
        QVERIFY(UserSettings()->contains(QStringLiteral("Software/Pellar/Ablakok/form_Tanora/dbg_hallgato/hallgato/Width")));
    }
};

QTEST_MAIN(TestOfferings)
#include "test_offerings.moc"
