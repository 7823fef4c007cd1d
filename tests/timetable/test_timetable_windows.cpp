// The timetable and lesson dates windows driven by their controls on the real schema, the database
// checked afterwards (audit rows included).

#include "Admin.h"
#include "DBGrid.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MonthCalendar.h"
#include "ScriptedMessages.h"
#include "TimetableEntries.h"
#include "TimetableWindows.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_OrarendDatum_Unit.h"
#include "form_JelenletElem_Unit.h"
#include "form_Tanora_Unit.h"
#include "form_Orarend_Unit.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

// Faculty 1, semester 1 "tavasz" (2024-02-05 .. 2024-05-31, the clock's), semester 2 "ősz" before it.
//  Entries of faculty 1 / semester 1: 1 "Anatómia" (weekly, 2 make-ups; groups ft 1 and 2, five
//  members, two dates, teacher 1, two attendance entries) and 2 "Kémia" (group ft 3; member th 6,
//  and th 7: student 2 of ft 1 tied to it; one date, teacher 2, one attendance entry).
//  3 "Élettan" is faculty 2's, 4 "Régi" is in semester 2.
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság'), (2, 'MK', 'Mérnöki');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, 'tavasz', '2024-02-05', '2024-05-31'), (2, 'ősz', '2023-09-04', '2024-01-31');
INSERT INTO tantargy (tantargy_id, tantargy_nev) VALUES (1, 'Anatómia'), (2, 'Kémia');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'A1', 'a1'), (2, 'A2', 'a2'), (3, 'K1', 'k1');
INSERT INTO felvett_tantargy (ft_id, tantargy_id, kurzus_id, felev_id, kar_id) VALUES
 (1, 1, 1, 1, 1), (2, 1, 2, 1, 1), (3, 2, 3, 1, 1);
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig, orarend_heti, orarend_potlas) VALUES
 (1, 1, 1, 'Anatómia', '08:00:00', '09:30:00', 1, 2), (2, 1, 1, 'Kémia', '12:00:00', '13:30:00', 0, 0),
 (3, 2, 1, 'Élettan', '10:00:00', '11:30:00', 0, 0), (4, 1, 2, 'Régi', '08:00:00', '09:30:00', 0, 0);
INSERT INTO orarend_csoport (orarend_id, ft_id) VALUES (1, 1), (1, 2), (2, 3);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES
 (1, 'AAA111', 'Ács Anna'), (2, 'BBB222', 'Bíró Béla'), (3, 'CCC333', 'Cser Cecil'), (4, 'DDD444', 'Dér Dóra'),
 (5, 'EEE555', 'Egri Emil');
INSERT INTO tan_hall (th_id, hallgato_id, ft_id, orarend_id) VALUES
 (1, 1, 1, 1), (2, 2, 1, 1), (3, 3, 1, 1), (4, 4, 2, 1), (5, 5, 2, 1), (6, 1, 3, 2), (7, 2, 1, 2);
INSERT INTO orarend_datum (od_id, orarend_id, od_datum) VALUES (1, 1, '2024-02-14'), (2, 1, '2024-02-07'), (3, 2, '2024-02-13');
INSERT INTO oktato (oktato_id, oktato_nev) VALUES (1, 'Oktató Olga'), (2, 'Tanár Tamás');
INSERT INTO tan_okt (oktato_id, orarend_id) VALUES (1, 1), (2, 2);
INSERT INTO jelenlet (jelenlet_id, hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, 1, '2024-02-07', 1), (2, 2, 1, '2024-02-07', 2), (3, 1, 2, '2024-02-13', 1);
)";

QString cell(DBGrid *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }
void selectRow(DBGrid *grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }
QStringList column(DBGrid *grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << cell(grid, r, c);
    return out;
}
void typeTime(MaskEdit *edit, const QString &digits)
{
    edit->setFocus();
    edit->clearMasked();
    edit->home(false);
    QTest::keyClicks(edit, digits);
}
QAction *menuAction(QMenu *menu, const char *name)
{
    for (QAction *a : menu->actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

// Records what a stand-in window saw when it opened.
struct Opened {
    QString name, timetable, offering;
    int positioned = -1;
};
QList<Opened> opened;
std::function<void()> standInAction; // runs inside the stand-in before it closes

void registerStandIns()
{
    for (const char *name : {"form_Tanora", "form_Oktatok", "form_OrarendHallgato", "form_TantargyHallgatoi"})
        RegisterWindow(QLatin1String(name), [name](QWidget *parent) -> QDialog * {
            auto *d = new QDialog(parent);
            d->setObjectName(QLatin1String(name));
            QTimer::singleShot(0, d, [d] {
                opened << Opened{d->objectName(), CurrentTimetableId, CurrentOfferingId, OpenPositioned};
                if (standInAction)
                    standInAction();
                d->accept();
            });
            return d;
        });
}

} // namespace

class TestTimetableWindows : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_Orarend> timetable() { return shown<Tform_Orarend>(); }

private Q_SLOTS:
    void initTestCase() { RegisterTimetableWindows(); }
    void init()
    {
        registerStandIns(); // a test may have registered a real window in their place
        startFixture(Seed);
        opened.clear();
        standInAction = nullptr;
    }
    void cleanup()
    {
        stopFixture();
        standInAction = nullptr;
    }

    // ---- the timetable window

    void timeTexts()
    {
        const std::pair<const char *, const char *> cases[] = {
            {" 8:05", "08:05"}, {"23:59", "23:59"}, {"00:00", "00:00"}, {"24:00", ""},
            {"07:60", ""},      {"  :  ", ""},      {"10:5 ", ""},      {"1015", ""},
        };
        for (const auto &[masked, stored] : cases)
            QCOMPARE(NormalizedTime(QString::fromLatin1(masked)), QString::fromLatin1(stored));
    }

    void listsTheSemesterWithDependants()
    {
        auto w = timetable();
        QCOMPARE(w->windowTitle(), QStringLiteral("Órarend felvitel"));
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("tavasz"));
        QCOMPARE(column(w->dbg_lista, 1), QStringList({"Anatómia", "Kémia"}));
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(cell(w->dbg_lista, 0, 2), QStringLiteral("08:00"));
        QCOMPARE(cell(w->dbg_lista, 0, 4), QStringLiteral("A1, A2"));
        // The first row fills the fields and the three dependants.
        QCOMPARE(CurrentTimetableId, QStringLiteral("1"));
        QCOMPARE(CurrentTimetableName, QStringLiteral("Anatómia"));
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("tavasz"));
        QCOMPARE(w->me_mettol->maskedText(), QStringLiteral("08:00"));
        QCOMPARE(w->me_meddig->maskedText(), QStringLiteral("09:30"));
        QVERIFY(w->cb_heti->isChecked());
        QCOMPARE(w->e_potlas->text(), QStringLiteral("2"));
        QCOMPARE(column(w->dbg_datum, 0), QStringList({"1", "2"}));
        QCOMPARE(column(w->dbg_datum, 1), QStringList({"2024.02.07", "2024.02.14"}));
        QCOMPARE(column(w->dbg_tanora, 0), QStringList({"Anatómia - A1", "Anatómia - A2"}));
        QCOMPARE(column(w->dbg_oktatok, 0), QStringList{"Oktató Olga"});
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        QCOMPARE(CurrentTeacherId, QStringLiteral("1"));
        selectRow(w->dbg_lista, 1);
        QCOMPARE(CurrentTimetableId, QStringLiteral("2"));
        QVERIFY(!w->cb_heti->isChecked());
        QCOMPARE(column(w->dbg_tanora, 0), QStringList{"Kémia - K1"});
        QCOMPARE(column(w->dbg_datum, 1), QStringList{"2024.02.13"});
        // Another semester; then none: an empty list and the entry's buttons off.
        PickFromList(w->vdc_felev_szuro, w->vdc_felev_szuro->findText(QStringLiteral("ősz")));
        QCOMPARE(column(w->dbg_lista, 1), QStringList{"Régi"});
        QVERIFY(w->sb_datum->isEnabled());
        w->vdc_felev_szuro->clearByUser();
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QVERIFY(w->SZURES.sql().contains(QLatin1String("Where a.felev_id=null and a.kar_id=1 Order By")));
        for (QToolButton *b : {w->sb_datum, w->sb_datum_torles, w->sb_tanora, w->sb_tanora_torles, w->sb_oktatok,
                               w->sb_oktatok_torles})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QCOMPARE(w->dbg_tanora->model()->rowCount(), 0);
    }

    void newEntrySaved()
    {
        auto w = timetable();
        w->bb_uj->click();
        QVERIFY(!w->SZURES.isActive());
        QVERIFY(!w->p_kereso->isVisible());
        QVERIFY(!w->sb_oktatok->isEnabled());
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("1")); // the semester of the server's date
        w->e_orarend->setText(QStringLiteral("Élettan gyakorlat"));
        typeTime(w->me_mettol, QStringLiteral("0815"));
        typeTime(w->me_meddig, QStringLiteral("0945"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(writes().contains(QStringLiteral(
            "Insert Into orarend (kar_id, felev_id, orarend_nev, orarend_potlas, orarend_mettol, orarend_meddig, "
            "orarend_heti) Values ('1', '1', 'Élettan gyakorlat', null, '08:15:00.0000', '09:45:00.0000', '0')")));
        QCOMPARE(rows(QStringLiteral("select orarend_id, kar_id, felev_id, orarend_mettol, orarend_meddig, orarend_heti, "
                                     "orarend_potlas from orarend where orarend_nev='Élettan gyakorlat'")),
                 QStringList{"5|1|1|08:15:00|09:45:00|0|NULL"});
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"1|orarend|5"});
        QCOMPARE(w->currentEntryId(), QStringLiteral("5"));
        QCOMPARE(CurrentTimetableId, QStringLiteral("5"));
        QCOMPARE(w->me_mettol->maskedText(), QStringLiteral("08:15"));
        QVERIFY(w->p_kereso->isVisible());
        QVERIFY(w->sb_oktatok->isEnabled());
    }

    void newEntryOfAnotherSemesterBecomesCurrent()
    {
        auto w = timetable();
        w->bb_uj->click();
        w->vdc_felev->setCurrentIndex(w->vdc_felev->findText(QStringLiteral("ősz")));
        w->e_orarend->setText(QStringLiteral("Őszi pótóra"));
        typeTime(w->me_mettol, QStringLiteral("1000"));
        typeTime(w->me_meddig, QStringLiteral("1130"));
        w->e_potlas->setText(QStringLiteral("1"));
        w->bb_felvesz->click();
        // The list follows the entry's semester: the entry itself is current, not a neighbour.
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("ősz"));
        QCOMPARE(column(w->dbg_lista, 1), QStringList({"Őszi pótóra", "Régi"}));
        QCOMPARE(w->currentEntryId(), QStringLiteral("5"));
        QCOMPARE(w->e_orarend->text(), QStringLiteral("Őszi pótóra"));
        QCOMPARE(one(QStringLiteral("select felev_id, orarend_potlas from orarend where orarend_id=5")),
                 QStringLiteral("2|1"));
    }

    void badInputRefusedBeforeAnyWrite_data()
    {
        QTest::addColumn<bool>("semester");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("makeUps");
        QTest::addColumn<QString>("message");
        QTest::newRow("no semester") << false << "Új" << "0800" << "0930" << "" << "A(z) félév megadása kötelező!";
        QTest::newRow("no name") << true << "  " << "0800" << "0930" << "" << "A(z) órarend megadása kötelező!";
        QTest::newRow("no start") << true << "Új" << "" << "0930" << "" << "A(z) mettől megadása kötelező!";
        QTest::newRow("25:15") << true << "Új" << "2515" << "0930" << ""
                               << "A(z) mettől mezőben a(z) „25:15” nem érvényes időpont: óra 0–23, perc 00–59 (például "
                                  "08:15)!";
        QTest::newRow("half typed end") << true << "Új" << "0800" << "091" << ""
                                        << "A(z) meddig mezőben a(z) „09:1” nem érvényes időpont: óra 0–23, perc 00–59 "
                                           "(például 08:15)!";
        QTest::newRow("make-ups no number") << true << "Új" << "0800" << "0930" << "két"
                                            << "A pótlások száma nem negatív egész szám legyen (vagy üres), nem „két”!";
        QTest::newRow("make-ups negative") << true << "Új" << "0800" << "0930" << "-1"
                                           << "A pótlások száma nem negatív egész szám legyen (vagy üres), nem „-1”!";
    }
    void badInputRefusedBeforeAnyWrite()
    {
        QFETCH(bool, semester);
        QFETCH(QString, name);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, makeUps);
        QFETCH(QString, message);
        auto w = timetable();
        w->bb_uj->click();
        if (!semester)
            w->vdc_felev->clearChoice();
        w->e_orarend->setText(name);
        typeTime(w->me_mettol, from);
        typeTime(w->me_meddig, to);
        w->e_potlas->setText(makeUps);
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(one(QStringLiteral("select count(*) from orarend")), QStringLiteral("4"));
        // The same check guards a modification.
        w->bb_megsem->click();
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("tavasz"));
        w->bb_modosit->click();
        w->e_potlas->setText(QStringLiteral("x"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::Modify);
        w->bb_megsem->click();
        QCOMPARE(w->e_potlas->text(), QStringLiteral("2"));
        QCOMPARE(one(QStringLiteral("select count(*) from esemenynaplo")), QStringLiteral("0"));
    }

    void repeatedSaveInOneNewStateWritesOneRow()
    {
        auto w = timetable();
        // The audit row of the first insert fails: the entry's write goes back with it, the window stays new.
        rawSql("CREATE TRIGGER t_fail BEFORE INSERT ON esemenynaplo WHEN NEW.erintett_tabla='orarend' BEGIN "
               "SELECT RAISE(ABORT, 'naplo'); END");
        w->bb_uj->click();
        w->e_orarend->setText(QStringLiteral("Első"));
        typeTime(w->me_mettol, QStringLiteral("0800"));
        typeTime(w->me_meddig, QStringLiteral("0900"));
        w->bb_felvesz->click();
        QCOMPARE(errors->texts.size(), 1);
        errors->texts.clear();
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(rows(QStringLiteral("select orarend_id, orarend_nev from orarend where orarend_id > 4")), QStringList{});
        rawSql("DROP TRIGGER t_fail");
        w->e_orarend->setText(QStringLiteral("Második"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(writes().value(0).startsWith(QStringLiteral("Insert Into orarend")));
        QCOMPARE(rows(QStringLiteral("select orarend_id, orarend_nev from orarend where orarend_id > 4")),
                 QStringList{"5|Második"});
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_rekord from esemenynaplo")), QStringList{"1|5"});
        QCOMPARE(w->currentEntryId(), QStringLiteral("5"));
    }

    void modifyEntry()
    {
        auto w = timetable();
        selectRow(w->dbg_lista, 1);
        w->bb_modosit->click();
        QVERIFY(!w->p_kereso->isVisible());
        typeTime(w->me_mettol, QStringLiteral("1215"));
        w->e_potlas->setText(QStringLiteral("3"));
        w->cb_heti->setChecked(true);
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0),
                 QStringLiteral("Update orarend Set felev_id = '1', orarend_nev = 'Kémia', orarend_potlas = '3', "
                                "orarend_mettol = '12:15:00.0000', orarend_meddig = '13:30:00.0000', orarend_heti = '1' "
                                "Where orarend_id=2"));
        QCOMPARE(one(QStringLiteral("select kar_id, orarend_mettol, orarend_potlas, orarend_heti "
                                    "from orarend where orarend_id=2")),
                 QStringLiteral("1|12:15:00|3|1"));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"2|orarend|2"});
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
        QVERIFY(w->p_kereso->isVisible());
    }

    void modifyNeedsACurrentRow()
    {
        LoginInfo.FacultyId = QStringLiteral("3"); // a faculty without entries
        CurrentTimetableId = QStringLiteral("1");  // left by another window
        auto w = timetable();
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        for (QToolButton *b : {w->sb_datum, w->sb_tanora, w->sb_oktatok, w->sb_oktatok_torles})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        w->bb_modosit->click();
        QCOMPARE(msg->shown, QStringList{"Nincs órarend kiválasztva!"});
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(!w->bb_felvesz->isEnabled());
        // The entry buttons refuse as well, whatever the shared value says.
        w->sb_datum->setEnabled(true);
        w->sb_datum->click();
        QCOMPARE(msg->shown.size(), 2);
        QVERIFY(opened.isEmpty());
    }

    void newPresetOnTheSemestersLastDay()
    {
        fx->clockValue = QDateTime(QDate(2024, 5, 31), QTime(18, 30));
        auto w = timetable();
        QCOMPARE(w->vdc_felev_szuro->currentText(), QStringLiteral("tavasz"));
        w->bb_uj->click();
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("1"));
        w->bb_megsem->click();
        // Between semesters nothing is preset.
        fx->clockValue = QDateTime(QDate(2024, 2, 2), QTime(9, 0));
        w->bb_uj->click();
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("null"));
        w->bb_megsem->click();
    }

    void copyTwice()
    {
        auto w = timetable();
        w->bb_masol->click();
        QCOMPARE(msg->shown, QStringList{"A másolás elkészült, nevezze át az órarendet!"});
        QCOMPARE(rows(QStringLiteral("select orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig, "
                                     "orarend_heti, orarend_potlas from orarend where orarend_id > 4")),
                 QStringList{"5|1|1|Anatómia (másolat)|08:00:00|09:30:00|1|0"});
        QCOMPARE(rows(QStringLiteral("select ft_id from orarend_csoport where orarend_id=5 order by ft_id")),
                 QStringList({"1", "2"}));
        const QStringList members{"1|1", "2|1", "3|1", "4|2", "5|2"};
        QCOMPARE(rows(QStringLiteral("select hallgato_id, ft_id from tan_hall where orarend_id=5 order by hallgato_id")),
                 members);
        QCOMPARE(rows(QStringLiteral("select hallgato_id, ft_id from tan_hall where orarend_id=1 order by hallgato_id")),
                 members); // the source keeps its own
        QCOMPARE(one(QStringLiteral("select (select count(*) from orarend_datum where orarend_id=5) + (select count(*) "
                                    "from tan_okt where orarend_id=5)")),
                 QStringLiteral("0"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("5"));
        QCOMPARE(cell(w->dbg_lista, w->dbg_lista->currentIndex().row(), 1), QStringLiteral("Anatómia (másolat)"));
        QCOMPARE(one(QStringLiteral("select count(*) from esemenynaplo where etipus_id=1")), QStringLiteral("8"));

        // Again from the source, the first copy not renamed: no second entry, no further members.
        selectRow(w->dbg_lista, 0);
        QCOMPARE(w->currentEntryId(), QStringLiteral("1"));
        w->bb_masol->click();
        QCOMPARE(msg->shown.value(1), QStringLiteral("Ennek az órarendnek már van másolata (Anatómia (másolat)), a "
                                                     "hiányzó csoportjait és hallgatóit pótoltam. Nevezze át a másolatot!"));
        QCOMPARE(one(QStringLiteral("select count(*) from orarend")), QStringLiteral("5"));
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall")), QStringLiteral("12"));
        QCOMPARE(one(QStringLiteral("select count(*) from orarend_csoport")), QStringLiteral("5"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("5"));
    }

    void copyOnlyWhileBrowsingACurrentEntry()
    {
        const QString refusal = QStringLiteral("Másolni csak a listában kiválasztott órarendet lehet, szerkesztés közben nem.");
        auto w = timetable();
        w->bb_modosit->click();
        w->bb_masol->click();
        w->bb_megsem->click();
        w->bb_uj->click();
        w->e_orarend->setText(QStringLiteral("Félkész"));
        w->bb_masol->click();
        w->bb_megsem->click();
        w->vdc_felev_szuro->clearByUser();
        w->bb_masol->click();
        QCOMPARE(msg->shown, QStringList({refusal, refusal, refusal}));
        QCOMPARE(one(QStringLiteral("select count(*) from orarend")), QStringLiteral("4"));
        QCOMPARE(one(QStringLiteral("select count(*) from esemenynaplo")), QStringLiteral("0"));
    }

    void deleteSelectedEntriesWithDependants()
    {
        auto w = timetable();
        w->dbg_lista->clearRowSelection();
        w->dbg_lista->selectRow(0);
        w->dbg_lista->selectRow(1);
        w->bb_modosit->click();
        w->bb_torol->click();
        QCOMPARE(msg->shown, QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(rows(QStringLiteral("select orarend_id from orarend order by orarend_id")), QStringList({"3", "4"}));
        for (const char *table : {"orarend_datum", "jelenlet", "tan_okt", "orarend_csoport"})
            QCOMPARE(one(QStringLiteral("select count(*) from ") + QLatin1String(table)), QStringLiteral("0"));
        // Every enrolment stays, released from the entries.
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall where orarend_id is null")), QStringLiteral("7"));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla from esemenynaplo")),
                 QStringList({"2|tan_hall", "2|tan_hall"}));
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QCOMPARE(w->dbg_datum->model()->rowCount(), 0);
    }

    void deleteWithNothingSelected()
    {
        auto w = timetable();
        w->dbg_lista->clearRowSelection();
        w->bb_modosit->click();
        sent.clear();
        w->bb_torol->click();
        QCOMPARE(msg->shown, QStringList{"Nincs kijelölt órarend a listában, nem töröltem semmit."});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(one(QStringLiteral("select count(*) from orarend")), QStringLiteral("4"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("1"));
        // In the new state the unsaved entry is only discarded.
        w->bb_uj->click();
        w->bb_torol->click();
        QCOMPARE(msg->shown.size(), 1);
        QCOMPARE(one(QStringLiteral("select count(*) from orarend")), QStringLiteral("4"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("1"));
    }

    void groupRemovalReleasesOrOnlyUnlinks()
    {
        auto w = timetable();
        // The trash button's name says what it does: the students leave every entry, their enrolments stay.
        QCOMPARE(w->sb_tanora_torles->toolTip(), QStringLiteral("Tanóra levétele, hallgatói kivétele minden órarendből"));
        QCOMPARE(w->sb_tanora_torles->accessibleName(), w->sb_tanora_torles->toolTip());
        // The offering's enrolments are released from every entry (entry 2's th 7 too), then its link to
        // this entry goes; the offering and its enrolment rows stay.
        selectRow(w->dbg_tanora, 0);
        w->sb_tanora_torles->click();
        QCOMPARE(rows(QStringLiteral("select th_id from tan_hall where ft_id=1 and orarend_id is not null")), QStringList());
        QCOMPARE(rows(QStringLiteral("select th_id, hallgato_id from tan_hall where ft_id=1 order by th_id")),
                 QStringList({"1|1", "2|2", "3|3", "7|2"}));
        QCOMPARE(rows(QStringLiteral("select ft_id from felvett_tantargy order by ft_id")), QStringList({"1", "2", "3"}));
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall")), QStringLiteral("7"));
        // The list's course column drops the course at once.
        const int kurzus = w->SZURES.fieldIndex(QStringLiteral("kurzus"));
        QVERIFY(!w->SZURES.text(0, kurzus).contains(QLatin1String("A1")));
        QVERIFY(w->SZURES.text(0, kurzus).contains(QLatin1String("A2")));
        QCOMPARE(rows(QStringLiteral("select orarend_id, ft_id from orarend_csoport order by orarend_id, ft_id")),
                 QStringList({"1|2", "2|3"}));
        QCOMPARE(column(w->dbg_tanora, 0), QStringList{"Anatómia - A2"});
        // The context menu's item removes the link only.
        menuAction(w->pm_tanorak, "rls2")->trigger();
        QCOMPARE(rows(QStringLiteral("select orarend_id, ft_id from orarend_csoport")), QStringList{"2|3"});
        QCOMPARE(one(QStringLiteral("select count(*) from tan_hall where ft_id=2 and orarend_id=1")), QStringLiteral("2"));
        QCOMPARE(w->dbg_tanora->model()->rowCount(), 0);
        // With no row in the groups grid a value left behind elsewhere removes nothing.
        CurrentOfferingId = QStringLiteral("3");
        sent.clear();
        menuAction(w->pm_tanorak, "rls2")->trigger();
        w->sb_tanora_torles->click();
        QCOMPARE(writes(), QStringList());
        QCOMPARE(rows(QStringLiteral("select orarend_id, ft_id from orarend_csoport")), QStringList{"2|3"});
    }

    void teachersPickedOnceAndRemoved()
    {
        auto w = timetable();
        selectRow(w->dbg_lista, 1);
        standInAction = [] { CurrentTeacherId = QStringLiteral("1"); };
        w->sb_oktatok->click();
        w->sb_oktatok->click();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].name, QStringLiteral("form_Oktatok"));
        QCOMPARE(opened[0].timetable, QStringLiteral("2"));
        QCOMPARE(rows(QStringLiteral("select oktato_id from tan_okt where orarend_id=2 order by oktato_id")),
                 QStringList({"1", "2"}));
        QCOMPARE(column(w->dbg_oktatok, 0), QStringList({"Oktató Olga", "Tanár Tamás"}));
        // Left without a choice: nothing is added.
        standInAction = nullptr;
        w->sb_oktatok->click();
        QCOMPARE(one(QStringLiteral("select count(*) from tan_okt")), QStringLiteral("3"));
        selectRow(w->dbg_oktatok, 1);
        menuAction(w->pm_oktatok, "rls1")->trigger();
        QCOMPARE(rows(QStringLiteral("select oktato_id from tan_okt where orarend_id=2")), QStringList{"1"});
        w->sb_oktatok_torles->click();
        QCOMPARE(rows(QStringLiteral("select oktato_id from tan_okt where orarend_id=2")), QStringList());
    }

    void childWindowsOpenByNameAndRereadTheirGrid()
    {
        auto w = timetable();
        selectRow(w->dbg_lista, 1);
        OpenPositioned = 1; // left over from the window that opened this one
        standInAction = [this] {
            fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into orarend_csoport (orarend_id, ft_id) values (2, 1)"));
        };
        w->sb_tanora->click();
        QCOMPARE(column(w->dbg_tanora, 0), QStringList({"Anatómia - A1", "Kémia - K1"}));
        standInAction = nullptr;
        selectRow(w->dbg_tanora, 1);
        for (DBGrid *g : {w->dbg_tanora, w->dbg_lista}) {
            const QPoint at = g->visualRect(g->model()->index(1, g == w->dbg_lista ? 1 : 0)).center();
            QTest::mousePress(g->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0].name, QStringLiteral("form_Tanora"));
        QCOMPARE(opened[0].timetable, QStringLiteral("2"));
        QCOMPARE(opened[0].positioned, 0);
        QCOMPARE(opened[1].name, QStringLiteral("form_TantargyHallgatoi"));
        QCOMPARE(opened[1].offering, QStringLiteral("3"));
        QCOMPARE(opened[2].name, QStringLiteral("form_OrarendHallgato"));
        QCOMPARE(opened[2].timetable, QStringLiteral("2"));
        QCOMPARE(msg->shown, QStringList());
    }

    void offeringsLinkedThroughTheOfferingWindow()
    {
        RegisterWindow(QStringLiteral("form_Tanora"), [](QWidget *parent) -> QDialog * {
            form_Tanora = new Tform_Tanora(parent);
            return form_Tanora;
        });
        auto w = timetable();
        selectRow(w->dbg_lista, 1); // Kémia
        QString title;
        WhenModalShown([&](QWidget *m) {
            auto *t = static_cast<Tform_Tanora *>(m);
            title = t->windowTitle();
            const int ft = t->SZURES.fieldIndex(QStringLiteral("ft_id"));
            t->dbg_lista->clearRowSelection();
            for (int r = 0; r < t->SZURES.recordCount(); ++r)
                if (t->SZURES.text(r, ft) == QLatin1String("2"))
                    t->dbg_lista->selectRow(r);
            t->sb_rendben->click();
        });
        w->sb_tanora->click();
        QCOMPARE(title, QStringLiteral("Tantárgy szerkesztése"));
        QCOMPARE(rows(QStringLiteral("select ft_id from orarend_csoport where orarend_id=2 order by ft_id")),
                 QStringList({"2", "3"}));
        QCOMPARE(column(w->dbg_tanora, 0), QStringList({"Anatómia - A2", "Kémia - K1"}));
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
        // The list's course column names the new course at once, as a reopened window shows it.
        const int kurzus = w->SZURES.fieldIndex(QStringLiteral("kurzus"));
        QVERIFY(w->SZURES.text(1, kurzus).contains(QLatin1String("A2")));
        const QString shownNow = cell(w->dbg_lista, 1, 4);
        w.reset();
        auto again = timetable();
        QCOMPARE(shownNow, cell(again->dbg_lista, 1, 4));
    }

    void datesWindowFromTheTimetable()
    {
        auto w = timetable();
        OpenPositioned = 1;
        QString title, dates;
        EditState state = EditState::Modify;
        WhenModalShown([&](QWidget *m) {
            auto *d = static_cast<Tform_OrarendDatum *>(m);
            title = d->windowTitle();
            state = EditMode;
            dates = column(d->dbg_datum, 0).join(u',');
            d->sg_naptar->showMonth(2024, 3);
            d->sg_naptar->setChosenDay(20);
            d->sb_felvesz->click();
            d->bb_kilepes->click();
        });
        w->sb_datum->click();
        QCOMPARE(title, QStringLiteral("Órarendi dátumok"));
        QCOMPARE(state, EditState::Browse); // not opened for a new date
        QCOMPARE(dates, QStringLiteral("2024.02.07,2024.02.14"));
        QCOMPARE(column(w->dbg_datum, 1), QStringList({"2024.02.07", "2024.02.14", "2024.03.20"}));
        QCOMPARE(OpenPositioned, 0);
        // The grid's own delete, and its context menu.
        selectRow(w->dbg_datum, 2);
        w->sb_datum_torles->click();
        QCOMPARE(column(w->dbg_datum, 1), QStringList({"2024.02.07", "2024.02.14"}));
        selectRow(w->dbg_datum, 0);
        menuAction(w->pm_datum, "rls3")->trigger();
        QCOMPARE(rows(QStringLiteral("select od_datum from orarend_datum where orarend_id=1")), QStringList{"2024.02.14"});
    }

    void openedPositionedFromAnotherWindow()
    {
        CurrentTimetableId = QStringLiteral("2");
        OpenPositioned = 1;
        QString current;
        WhenModalShown([&](QWidget *m) {
            current = static_cast<Tform_Orarend *>(m)->currentEntryId();
            m->close(); // not the exit button: the flag is reset all the same
        });
        OpenRegisteredWindow(QStringLiteral("form_Orarend"));
        QCOMPARE(current, QStringLiteral("2"));
        QCOMPARE(OpenPositioned, 0);
        // Not positioned: the first row.
        WhenModalShown([&](QWidget *m) {
            current = static_cast<Tform_Orarend *>(m)->currentEntryId();
            m->close();
        });
        CurrentTimetableId = QStringLiteral("2");
        OpenRegisteredWindow(QStringLiteral("form_Orarend"));
        QCOMPARE(current, QStringLiteral("1"));
    }

    void entryMaintenanceOpensItPositioned()
    {
        CurrentStudentId = QStringLiteral("1");
        OpenPositioned = 1;
        Tform_JelenletElem entries;
        entries.show();
        QVERIFY(QTest::qWaitForWindowExposed(&entries));
        QCOMPARE(entries.dbg_lista->model()->rowCount(), 2);
        selectRow(entries.dbg_lista, 1); // Kémia
        QString current, name;
        WhenModalShown([&](QWidget *m) {
            auto *t = static_cast<Tform_Orarend *>(m);
            current = t->currentEntryId();
            name = t->e_orarend->text();
            t->bb_kilepes->click();
        });
        const QPoint at = entries.dbg_lista->visualRect(entries.dbg_lista->model()->index(1, 0)).center();
        QTest::mousePress(entries.dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(entries.dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(current, QStringLiteral("2"));
        QCOMPARE(name, QStringLiteral("Kémia"));
        QCOMPARE(OpenPositioned, 0);
    }

    void administrationMenuOpensTheTimetable()
    {
        for (int role : {1, 2}) {
            LoginInfo.RoleId = role;
            Tform_Admin admin;
            admin.show();
            QVERIFY(QTest::qWaitForWindowExposed(&admin));
            QVERIFY(admin.sb_leltarszures->isEnabled());
            QString title;
            WhenModalShown([&](QWidget *m) {
                title = m->windowTitle();
                m->close();
            });
            admin.sb_leltarszures->click();
            QCOMPARE(title, QStringLiteral("Órarend felvitel"));
        }
    }

    void everyControlIsNamed()
    {
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.push_back(timetable());
        CurrentTimetableId = QStringLiteral("1");
        windows.push_back(shown<Tform_OrarendDatum>());
        for (const auto &w : windows) {
            QSet<const QWidget *> buddies;
            for (const QLabel *l : w->findChildren<QLabel *>())
                if (l->buddy())
                    buddies << l->buddy();
            ForEachControl(w.get(), [&](QWidget *c, ControlKind kind, const QString &) {
                if (kind == ControlKind::None || kind == ControlKind::CheckBox)
                    return;
                QVERIFY2(buddies.contains(c) || !c->accessibleName().isEmpty(), qPrintable(c->objectName()));
            });
            QList<QAbstractButton *> buttons;
            for (QToolButton *b : w->findChildren<QToolButton *>())
                buttons << b;
            for (QPushButton *b : w->findChildren<QPushButton *>())
                buttons << b;
            for (QAbstractButton *b : buttons)
                if (b->text().isEmpty() && b->isVisible())
                    QVERIFY2(!b->accessibleName().isEmpty(),
                             qPrintable(b->objectName() + u' ' + QLatin1String(b->metaObject()->className()) + u' '
                                        + b->parentWidget()->objectName()));
        }
    }

    // ---- the lesson dates window

    void datesAddedFromTheCalendar()
    {
        CurrentTimetableId = QStringLiteral("2");
        auto d = shown<Tform_OrarendDatum>();
        QCOMPARE(d->p_naptar->text(), d->sg_naptar->caption());
        QCOMPARE(d->sg_naptar->chosenDay(), 0); // the highlight chose nothing
        QCOMPARE(d->sg_naptar->currentRow(), 2);
        QCOMPARE(d->sg_naptar->currentColumn(), 2);
        QCOMPARE(column(d->dbg_datum, 0), QStringList{"2024.02.13"});
        QCOMPARE(d->currentDateId(), QStringLiteral("3"));

        // No day yet.
        d->sb_felvesz->click();
        // September 2016 and its 14th.
        d->sg_naptar->showMonth(2016, 9);
        QCOMPARE(d->p_naptar->text(), QStringLiteral("2016 szeptember"));
        QCOMPARE(d->sg_naptar->cell(3, 1), QStringLiteral("1"));
        const QRect r = d->sg_naptar->visualItemRect(d->sg_naptar->item(3, 2));
        QTest::mouseClick(d->sg_naptar->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(d->sg_naptar->chosenDay(), 14);
        sent.clear();
        d->sb_felvesz->click();
        QVERIFY(writes().contains(QStringLiteral("Insert Into orarend_datum (orarend_id, od_datum) Values ('2', '20160914')")));
        QCOMPARE(column(d->dbg_datum, 0), QStringList({"2016.09.14", "2024.02.13"}));
        QCOMPARE(d->currentDateId(), QStringLiteral("4"));
        QCOMPARE(d->dbg_datum->currentIndex().row(), 0);
        // Picked twice: nothing more.
        d->sb_felvesz->click();
        QCOMPARE(one(QStringLiteral("select count(*) from orarend_datum where orarend_id=2")), QStringLiteral("2"));
        // The 31st of October carried into November.
        d->sg_naptar->showMonth(2016, 10);
        d->sg_naptar->setCurrentCell(d->sg_naptar->cellOfDay(31).y(), d->sg_naptar->cellOfDay(31).x());
        QCOMPARE(d->sg_naptar->chosenDay(), 31);
        d->sb_kovho->click();
        QCOMPARE(d->p_naptar->text(), QStringLiteral("2016 november"));
        d->sb_felvesz->click();
        QCOMPARE(msg->shown, QStringList({"Előbb válasszon egy napot a naptárban!",
                                          "A(z) 2016.09.14 dátum már szerepel az órarendben.",
                                          "2016 november hónapban nincs 31. nap: válasszon egy napot a naptárban!"}));
        QCOMPARE(one(QStringLiteral("select count(*) from orarend_datum where orarend_id=2")), QStringLiteral("2"));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"1|orarend_datum|4"});
        // December to January and back over the year.
        d->sg_naptar->showMonth(2016, 12);
        d->sb_kovho->click();
        QCOMPARE(d->p_naptar->text(), QStringLiteral("2017 január"));
        d->sb_eloho->click();
        d->sb_eloho->click();
        QCOMPARE(d->p_naptar->text(), QStringLiteral("2016 november"));
    }

    void dateDeletedFromTheList()
    {
        CurrentTimetableId = QStringLiteral("1");
        auto d = shown<Tform_OrarendDatum>();
        QCOMPARE(column(d->dbg_datum, 0), QStringList({"2024.02.07", "2024.02.14"}));
        selectRow(d->dbg_datum, 1);
        QCOMPARE(d->currentDateId(), QStringLiteral("1"));
        d->sb_torol->click();
        QCOMPARE(writes(), QStringList{"delete from orarend_datum Where od_id=1"});
        QCOMPARE(column(d->dbg_datum, 0), QStringList{"2024.02.07"});
        d->sb_torol->click();
        d->sb_torol->click(); // an empty list: nothing to delete
        QCOMPARE(writes().size(), 2);
        QVERIFY(d->currentDateId().isEmpty());
    }

    void datesWindowOpenedPositionedStartsNew()
    {
        CurrentTimetableId = QStringLiteral("1");
        OpenPositioned = 1;
        auto d = shown<Tform_OrarendDatum>();
        QCOMPARE(EditMode, EditState::New);
        QVERIFY(d->bb_felvesz->isEnabled());
        // The base steps change the state only.
        d->bb_felvesz->click();
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(writes(), QStringList());
    }
};

QTEST_MAIN(TestTimetableWindows)
#include "test_timetable_windows.moc"
