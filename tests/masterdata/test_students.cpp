// The students window with its enrolment panel, driven by its controls on the real schema; the
// administration menu and the attendance entry window opening it.

#include "Admin.h"
#include "AttendanceWindows.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_Hallgatok_Unit.h"
#include "form_JelenletElem_Unit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

// Faculty 1 (the user's) and 2; semester 1 (spring, the clock's) and 2 (autumn).
//  timetable 1 "Anatómia ea", 2 "Kémia gy" (faculty 1, semester 1), 3 "Élettan MK" (faculty 2),
//  4 "Őszi labor" (faculty 1, semester 2).
//  offerings: 1 Anatómia/E1/magyar/előadás, 2 Kémia/E2/magyar/gyakorlat (faculty 1, spring),
//  3 Élettan (faculty 2), 4 Élettan (faculty 1, autumn).
//  Listed: Ács Anna (1: offerings 1 and 2), O'Brien Béla (2: offering 1), two "Nagy Anna" (5, 6:
//  offering 2), Gál Gréta (7: placed in timetable 1 without an offering). Not listed: Cseh Csaba
//  (3: an enrolment without timetable entry) and Dénes Dóra (4: only faculty 2).
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság'), (2, 'MK', 'Mérnöki');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, '2023/24 tavasz', '2024-02-05', '2024-05-31'), (2, '2023/24 ősz', '2023-09-04', '2024-01-31');
INSERT INTO tantargy (tantargy_id, tantargy_kod, tantargy_nev) VALUES (1, 'AN1', 'Anatómia'), (2, 'KE1', 'Kémia'),
 (3, 'EL1', 'Élettan');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'E1', 'E1'), (2, 'E2', 'E2');
INSERT INTO nyelv (nyelv_id, nyelv_nev) VALUES (1, 'magyar'), (2, 'angol');
INSERT INTO tanora_forma (tof_id, tof_nev) VALUES (1, 'előadás'), (2, 'gyakorlat');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Anatómia ea', '08:00:00', '09:30:00'), (2, 1, 1, 'Kémia gy', '12:00:00', '13:30:00'),
 (3, 2, 1, 'Élettan MK', '10:00:00', '11:30:00'), (4, 1, 2, 'Őszi labor', '08:00:00', '09:30:00');
INSERT INTO felvett_tantargy (ft_id, kar_id, tantargy_id, kurzus_id, felev_id, nyelv_id, tof_id) VALUES
 (1, 1, 1, 1, 1, 1, 1), (2, 1, 2, 2, 1, 1, 2), (3, 2, 3, 1, 1, 2, 1), (4, 1, 3, 1, 2, 1, 1);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) VALUES
 (1, 'AAA111', 'Ács Anna', '1001', '71000001'), (2, 'BBB222', 'O''Brien Béla', '1002', '71000002'),
 (3, 'CCC333', 'Cseh Csaba', NULL, NULL), (4, 'DDD444', 'Dénes Dóra', NULL, NULL),
 (5, 'EEE555', 'Nagy Anna', '1005', NULL), (6, 'FFF666', 'Nagy Anna', '1006', NULL),
 (7, 'GGG777', 'Gál Gréta', NULL, NULL);
INSERT INTO tan_hall (th_id, hallgato_id, ft_id, orarend_id) VALUES
 (1, 1, 1, 1), (2, 1, 2, 2), (3, 2, 1, 1), (4, 3, 1, NULL), (5, 4, 3, 3), (6, 5, 2, 2), (7, 6, 2, 2), (8, 7, NULL, 1);
INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, '2024-02-07', 1), (1, 2, '2024-02-13', 2), (1, 1, '2024-02-14', 3), (1, 4, '2023-10-10', 1);
)";

} // namespace

class TestStudents : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_Hallgatok> shown() { return WindowTestBase::shown<Tform_Hallgatok>(); }
    static void selectRow(DBGrid *grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 1)); }
    static QString cell(DBGrid *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }
    static QStringList names(DBGrid *grid)
    {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << cell(grid, r, 1);
        return out;
    }
    // A choice as the user makes it: the item picked from the drop-down.
    static void choose(TVDCComboBox *combo, const QString &name)
    {
        const int i = combo->findText(name);
        QVERIFY2(i >= 0, qPrintable(combo->objectName() + u':' + name));
        PickFromList(combo, i);
    }
    // Selects the list row of a student by id.
    static void selectStudent(Tform_Hallgatok *w, int id)
    {
        for (int r = 0; r < w->dbg_lista->model()->rowCount(); ++r)
            if (cell(w->dbg_lista, r, 0) == QString::number(id)) {
                selectRow(w->dbg_lista, r);
                return;
            }
        QFAIL("student not listed");
    }

private Q_SLOTS:
    void initTestCase()
    {
        RegisterMasterdataWindows();
        RegisterAttendanceWindows();
    }
    void init()
    {
        startFixture(Seed);
    }
    void cleanup()
    {
        stopFixture();
    }

    void listAndEnrolments()
    {
        auto w = shown();
        QCOMPARE(w->windowTitle(), QStringLiteral("Hallgatók"));
        // Only students placed in a timetable entry of the faculty.
        QCOMPARE(names(w->dbg_lista),
                 QStringList({"Ács Anna", "Gál Gréta", "Nagy Anna", "Nagy Anna", "O'Brien Béla"}));
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(w->dbg_lista->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("OM"));
        QCOMPARE(CurrentStudentId, QStringLiteral("1"));
        QCOMPARE(CurrentStudentName, QStringLiteral("Ács Anna"));
        QCOMPARE(w->e_kod->text(), QStringLiteral("AAA111"));
        QCOMPARE(w->e_diak->text(), QStringLiteral("1001"));
        QCOMPARE(w->e_oa->text(), QStringLiteral("71000001"));
        QVERIFY(w->e_nev->isReadOnly());
        // The first enrolment fills the panel; the subject combo stays empty until a semester is chosen.
        QCOMPARE(names(w->dbg_tantargy), QStringList({"Anatómia", "Kémia"}));
        QVERIFY(w->dbg_tantargy->isColumnHidden(0));
        QCOMPARE(w->dbg_tantargy->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("kurzus"));
        QCOMPARE(CurrentEnrolmentId, QStringLiteral("1"));
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        QCOMPARE(CurrentOfferingText, QStringLiteral("Anatómia"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->vdc_forma->currentText(), QStringLiteral("előadás"));
        QCOMPARE(w->vdc_kurzus->currentText(), QStringLiteral("E1"));
        QCOMPARE(w->vdc_nyelv->currentText(), QStringLiteral("magyar"));
        QCOMPARE(w->vdc_tantargy->currentText(), QString());
        QCOMPARE(w->vdc_orarend->currentText(), QStringLiteral("Anatómia ea"));
        QCOMPARE(w->vdc_orarend->count(), 4); // every faculty's entries
        // The attendance of the enrolment's semester and faculty, by date, signs in the symbol font.
        auto *att = w->dbg_jelenlet;
        QCOMPARE(att->model()->rowCount(), 3);
        QCOMPARE(cell(att, 0, 0), QStringLiteral("Anatómia ea"));
        QCOMPARE(cell(att, 0, 2), QStringLiteral("2024.02.07"));
        QCOMPARE(cell(att, 0, 3), QStringLiteral("✓"));
        QCOMPARE(cell(att, 1, 3), QStringLiteral("✗"));
        QCOMPARE(cell(att, 2, 3), QStringLiteral("☑"));
        QCOMPARE(att->model()->index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(att->isColumnHidden(1));
        QVERIFY(att->isColumnHidden(4));

        selectRow(w->dbg_tantargy, 1);
        QCOMPARE(CurrentEnrolmentId, QStringLiteral("2"));
        QCOMPARE(CurrentOfferingId, QStringLiteral("2"));
        QCOMPARE(w->vdc_kurzus->currentText(), QStringLiteral("E2"));
        QCOMPARE(w->vdc_orarend->currentText(), QStringLiteral("Kémia gy"));

        // A student without enrolments: offering and panel cleared, the timetable choice kept.
        selectStudent(w.get(), 7);
        QCOMPARE(CurrentStudentId, QStringLiteral("7"));
        QCOMPARE(w->e_nev->text(), QStringLiteral("Gál Gréta"));
        QCOMPARE(w->dbg_tantargy->model()->rowCount(), 0);
        QCOMPARE(w->dbg_jelenlet->model()->rowCount(), 0);
        QVERIFY(CurrentOfferingId.isEmpty());
        for (TVDCComboBox *c : {w->vdc_felev, w->vdc_forma, w->vdc_kurzus, w->vdc_nyelv, w->vdc_tantargy})
            QVERIFY2(c->Eredmeny() == u"null", qPrintable(c->objectName()));
        QCOMPARE(w->vdc_orarend->currentText(), QStringLiteral("Kémia gy"));

        // F12 on the panel's grids offers their columns.
        for (DBGrid *grid : {w->dbg_tantargy, w->dbg_jelenlet}) {
            QString chooser;
            WhenModalShown([&](QWidget *m) {
                chooser = m->windowTitle();
                m->close();
            });
            QTest::keyClick(grid, Qt::Key_F12);
            QCOMPARE(chooser, QStringLiteral("Táblázat mezőinek beállítása"));
        }
        // Closing stores the three grids' layouts.
        QVERIFY(w->close());
        const QStringList keys = UserSettings()->allKeys();
        for (const char *grid : {"dbg_lista", "dbg_tantargy", "dbg_jelenlet"})
            QVERIFY2(!keys.filter(QStringLiteral("Ablakok/form_Hallgatok/%1/").arg(QLatin1String(grid))).isEmpty(), grid);
    }

    void searchEdits()
    {
        auto w = shown();
        QVERIFY(!w->dbl_nev->isReadOnly());
        w->dbl_nev->setFocus();
        QTest::keyClicks(w->dbl_nev, QStringLiteral("o'b"));
        QCOMPARE(CurrentStudentId, QStringLiteral("2"));
        QCOMPARE(w->e_nev->text(), QStringLiteral("O'Brien Béla"));
        QCOMPARE(w->dbl_nev->Eredmeny, QStringLiteral("2"));
        w->dbl_neptun->setFocus();
        QTest::keyClicks(w->dbl_neptun, QStringLiteral("FFF"));
        QCOMPARE(w->dbl_neptun->text(), QStringLiteral("FFF666"));
        QCOMPARE(CurrentStudentId, QStringLiteral("6"));
        // The search is hidden while a student is edited and back afterwards.
        w->bb_modosit->click();
        QVERIFY(!w->p_kereso->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));
        w->bb_megsem->click();
        QVERIFY(w->p_kereso->isVisible());
    }

    void positionedOnTheSoughtStudent_data()
    {
        QTest::addColumn<QString>("sought");
        QTest::addColumn<QString>("currentId");
        QTest::addColumn<QString>("expectedId");
        QTest::newRow("the caller's one of two namesakes") << "Nagy Anna" << "6" << "6";
        QTest::newRow("the first namesake without an id") << "Nagy Anna" << "" << "5";
        QTest::newRow("a quote in the name") << "O'Brien Béla" << "2" << "2";
        QTest::newRow("a part of a name is no match") << "Nagy" << "5" << "1";
        QTest::newRow("nobody of that name") << "Senki Sándor" << "" << "1";
        QTest::newRow("no name given") << "" << "" << "1";
    }
    void positionedOnTheSoughtStudent()
    {
        QFETCH(QString, sought);
        QFETCH(QString, currentId);
        QFETCH(QString, expectedId);
        SoughtStudentName = sought;
        CurrentStudentId = currentId;
        OpenPositioned = 1;
        auto w = shown();
        QCOMPARE(w->dbl_nev->text(), sought);
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString(), expectedId);
        QCOMPARE(CurrentStudentId, expectedId);
        QCOMPARE(cell(w->dbg_lista, w->dbg_lista->currentIndex().row(), 0), expectedId);
    }

    void newStudentEnrolledAndSavedOnce()
    {
        auto w = shown();
        w->bb_uj->click();
        QVERIFY(!w->p_kereso->isVisible());
        QVERIFY(!w->tantargy.isActive());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));
        w->e_nev->setText(QStringLiteral("D'Artagnan Dénes"));
        w->e_kod->setText(QStringLiteral("ABCDEFGHIJKL")); // longer than ten characters: stored whole
        w->e_diak->setText(QStringLiteral("1099"));

        // "Rendben" before the student is written enrols nobody.
        w->sb_tantargy->click();
        w->sb_ok->click();
        QCOMPARE(msg->shown, QStringList{"Előbb a Felvesz gombbal rögzítse a hallgatót, utána a tantárgyát!"});
        QCOMPARE(writes(), QStringList());
        QVERIFY(w->sb_ok->isVisible()); // the panel keeps its choices
        w->sb_se->click();

        // The first save writes the student and says so; the empty subject keeps the new state.
        msg->shown.clear();
        w->bb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select hallgato_id, hallgato_kod, hallgato_diak, hallgato_oa from hallgato "
                                         "where hallgato_nev='D''Artagnan Dénes'")),
                 QStringList{"8|ABCDEFGHIJKL|1099|NULL"});
        QCOMPARE(msg->shown,
                 QStringList{"A hallgató mentve. Tantárgyat a Tantárgy gombbal választva, a Rendben gombbal adhat hozzá."});
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->sb_tantargy));
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(w->writtenStudentId(), QStringLiteral("8"));
        // The reopened list stands on a neighbour; the fields and the student stay the new one.
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString(), QStringLiteral("7"));
        QCOMPARE(CurrentStudentId, QStringLiteral("8"));
        QCOMPARE(w->e_nev->text(), QStringLiteral("D'Artagnan Dénes"));

        // The enrolment goes to the new student; the identical offering is reused.
        w->sb_tantargy->click();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->vdc_felev));
        QCOMPARE(w->p_tan->palette().color(QPalette::Window), QColor(166, 202, 240));
        choose(w->vdc_felev, QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->vdc_tantargy->count(), 2); // the faculty's subjects of the semester
        choose(w->vdc_tantargy, QStringLiteral("Kémia"));
        choose(w->vdc_kurzus, QStringLiteral("E2"));
        choose(w->vdc_nyelv, QStringLiteral("magyar"));
        choose(w->vdc_forma, QStringLiteral("gyakorlat"));
        choose(w->vdc_orarend, QStringLiteral("Kémia gy"));
        sent.clear();
        w->sb_ok->click();
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felvett_tantargy")), QStringList{"4"});
        QCOMPARE(fx->rows(QStringLiteral("select hallgato_id, ft_id, orarend_id from tan_hall where th_id > 8")),
                 QStringList{"8|2|2"});
        QCOMPARE(CurrentOfferingId, QStringLiteral("2"));
        QVERIFY(w->sb_tantargy->isVisible());
        QVERIFY(!w->sb_ok->isVisible());
        QCOMPARE(names(w->dbg_tantargy), QStringList{"Kémia"});
        QCOMPARE(w->vdc_tantargy->currentText(), QStringLiteral("Kémia"));

        // The second save updates the same row and ends the new state; the student is listed now.
        w->e_oa->setText(QStringLiteral("72000099"));
        msg->shown.clear();
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(fx->rows(QStringLiteral("select hallgato_id, hallgato_oa from hallgato where hallgato_nev like 'D''Art%'")),
                 QStringList{"8|72000099"});
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString(), QStringLiteral("8"));
        QCOMPARE(w->e_nev->text(), QStringLiteral("D'Artagnan Dénes"));
        QVERIFY(w->p_kereso->isVisible());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from tan_hall where hallgato_id in (1, 7)")), QStringList{"3"});
        QCOMPARE(audit(), QStringList({"1|hallgato|8", "1|felvett_tantargy|2", "1|tan_hall|9", "2|hallgato|8"}));
    }

    void requiredName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
    }
    void requiredName()
    {
        QFETCH(QString, name);
        auto w = shown();
        w->bb_uj->click();
        w->e_nev->setText(name);
        w->e_kod->setText(QStringLiteral("ZZZ999"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"A(z) név megadása kötelező!"});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));
        // Emptied in the modify state: nothing written over the stored name.
        w->bb_megsem->click();
        w->bb_modosit->click();
        w->e_nev->clear();
        w->bb_felvesz->click();
        QCOMPARE(writes(), QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select hallgato_nev from hallgato where hallgato_id=1")), QStringList{"Ács Anna"});
        w->bb_megsem->click();
        QCOMPARE(w->e_nev->text(), QStringLiteral("Ács Anna"));
    }

    void modifyStudentThenCancel()
    {
        auto w = shown();
        selectStudent(w.get(), 2);
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("O'Brien Bence"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update hallgato Set hallgato_kod = 'BBB222', hallgato_nev = 'O''Brien Bence', "
                                                   "hallgato_diak = '1002', hallgato_oa = '71000002' Where hallgato_id=2"));
        // Written before the panel's check, which then keeps the modify state.
        QCOMPARE(msg->shown, QStringList{"A(z) tantárgy megadása kötelező!"});
        QCOMPARE(EditMode, EditState::Modify);
        w->bb_megsem->click();
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(w->e_nev->text(), QStringLiteral("O'Brien Bence"));
        QCOMPARE(CurrentStudentId, QStringLiteral("2"));
        QCOMPARE(audit(), QStringList{"2|hallgato|2"});

        // "Töröl" only leaves the edit state: nobody is deleted and the fields show the student again.
        w->bb_modosit->click();
        w->bb_torol->click();
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from hallgato")), QStringList{"7"});
        QCOMPARE(w->e_nev->text(), QStringLiteral("O'Brien Bence"));
        QVERIFY(w->p_kereso->isVisible());
    }

    void modifyOfferingKeepsItsSubject()
    {
        auto w = shown();
        w->bb_modosit->click();
        w->sb_tantargy->click();
        choose(w->vdc_kurzus, QStringLiteral("E2"));
        sent.clear();
        w->sb_ok->click();
        // The subject combo was never refilled: the offering keeps its subject; every student of it
        // gets the other course.
        QCOMPARE(writes().value(0), QStringLiteral("Update felvett_tantargy Set nyelv_id = '1', felev_id = '1', tof_id = '1', "
                                                   "kurzus_id = '2' Where ft_id=1"));
        QCOMPARE(fx->rows(QStringLiteral("select tantargy_id, kurzus_id from felvett_tantargy where ft_id=1")),
                 QStringList{"1|2"});
        QCOMPARE(fx->rows(QStringLiteral("select th_id, orarend_id from tan_hall where th_id=1")), QStringList{"1|1"});
        QCOMPARE(audit(), QStringList({"2|felvett_tantargy|1", "2|tan_hall|1"}));

        // With the semester chosen the subject list is filled and a chosen subject is written.
        w->sb_tantargy->click();
        choose(w->vdc_felev, QStringLiteral("2023/24 tavasz"));
        QVERIFY(sent.contains(QStringLiteral("Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where "
                                             "a.tantargy_id in (Select x.tantargy_id From Felvett_tantargy x Where "
                                             "x.kar_id = 1 and x.felev_id = 1)")));
        choose(w->vdc_tantargy, QStringLiteral("Kémia"));
        choose(w->vdc_orarend, QStringLiteral("Kémia gy"));
        w->sb_ok->click();
        QCOMPARE(fx->rows(QStringLiteral("select tantargy_id from felvett_tantargy where ft_id=1")), QStringList{"2"});
        // The current enrolment moves to the chosen entry.
        QCOMPARE(fx->rows(QStringLiteral("select orarend_id from tan_hall where th_id=1")), QStringList{"2"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felvett_tantargy")), QStringList{"4"});
        w->bb_megsem->click();
    }

    void modifyWithoutOfferingWritesNothing()
    {
        auto w = shown();
        selectStudent(w.get(), 7);
        w->bb_modosit->click();
        w->sb_tantargy->click();
        choose(w->vdc_kurzus, QStringLiteral("E1"));
        sent.clear();
        w->sb_ok->click();
        QCOMPARE(writes(), QStringList());
        QCOMPARE(audit(), QStringList());
        QVERIFY(w->sb_tantargy->isVisible());
        w->bb_megsem->click();
    }

    void browseMovesReleasesAndDeletesEnrolments()
    {
        auto w = shown();
        // Browsing: "Rendben" only moves the current enrolment to the chosen entry.
        selectRow(w->dbg_tantargy, 1);
        w->sb_tantargy->click();
        choose(w->vdc_orarend, QStringLiteral("Anatómia ea"));
        sent.clear();
        w->sb_ok->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update tan_hall Set orarend_id = '1' Where th_id=2"));
        QCOMPARE(writes().size(), 2); // and its audit row
        // "Mégsem" of the panel releases the current enrolment from its entry.
        w->sb_tantargy->click();
        w->sb_se->click();
        QCOMPARE(fx->rows(QStringLiteral("select orarend_id from tan_hall where th_id=1")), QStringList{"NULL"});
        QVERIFY(w->sb_tantargy->isVisible());
        QCOMPARE(w->p_tan->palette().color(QPalette::Window), w->p_Adatok->palette().color(QPalette::Window));
        // "Törlés" of the context menu removes the current enrolment, without a question.
        QCOMPARE(w->pm_targy->actions(), QList<QAction *>{w->rls1});
        QCOMPARE(w->rls1->text(), QStringLiteral("Törlés"));
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10), w->dbg_tantargy->viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(w->dbg_tantargy->viewport(), &rightClick);
        QVERIFY(w->pm_targy->isVisible());
        w->pm_targy->close();
        selectRow(w->dbg_tantargy, 1);
        QCOMPARE(CurrentEnrolmentId, QStringLiteral("2"));
        w->rls1->trigger();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select th_id from tan_hall where hallgato_id=1")), QStringList{"1"});
        QCOMPARE(names(w->dbg_tantargy), QStringList{"Anatómia"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felvett_tantargy")), QStringList{"4"});
        // Nothing to delete for a student without enrolments.
        selectStudent(w.get(), 7);
        sent.clear();
        w->rls1->trigger();
        QCOMPARE(writes(), QStringList());
    }

    void noFacultyGivesEmptyLists()
    {
        LoginInfo.FacultyId.clear();
        auto w = shown();
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QVERIFY(CurrentStudentId.isEmpty());
        QCOMPARE(w->dbg_tantargy->model()->rowCount(), 0);
        w->sb_tantargy->click();
        choose(w->vdc_felev, QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->vdc_tantargy->count(), 0);
        w->sb_ok->click(); // browsing, no enrolment: nothing to do
        // Modifying with nobody selected writes nothing.
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("Valaki"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes(), QStringList());
        w->bb_megsem->click();
    }

    void openedFromTheMenuForRoles_data()
    {
        QTest::addColumn<int>("role");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
    }
    void openedFromTheMenuForRoles()
    {
        QFETCH(int, role);
        LoginInfo.RoleId = role;
        Tform_Admin admin;
        admin.show();
        QVERIFY(admin.sb_hallgato->isEnabled());
        QString title;
        int rows = -1;
        bool variable = false;
        WhenModalShown([&](QWidget *m) {
            title = m->windowTitle();
            rows = static_cast<Tform_Hallgatok *>(m)->dbg_lista->model()->rowCount();
            variable = form_Hallgatok == m;
            m->findChild<QPushButton *>(QStringLiteral("bb_kilepes"))->click();
        });
        admin.sb_hallgato->click();
        QCOMPARE(title, QStringLiteral("Hallgatók"));
        QCOMPARE(rows, 5);
        QVERIFY(variable);
        QVERIFY(!form_Hallgatok);
    }

    void openedFromTheEntryWindowOnItsStudent()
    {
        CurrentStudentId = QStringLiteral("6");
        CurrentStudentName = QStringLiteral("Nagy Anna");
        OpenPositioned = 1;
        Tform_JelenletElem entries;
        entries.show();
        QVERIFY(QTest::qWaitForWindowActive(&entries));
        QString student, name;
        WhenModalShown([&](QWidget *m) {
            auto *w = static_cast<Tform_Hallgatok *>(m);
            student = w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString();
            name = w->e_nev->text();
            w->bb_kilepes->click();
        });
        QTest::mouseClick(entries.l_hallgato, Qt::LeftButton);
        QCOMPARE(student, QStringLiteral("6"));
        QCOMPARE(name, QStringLiteral("Nagy Anna"));
        QCOMPARE(OpenPositioned, 0);
    }

    void opensWindowsFromItsGrids()
    {
        auto w = shown();
        int rows = -1, positioned = -1;
        QString title;
        WhenModalShown([&](QWidget *m) {
            title = m->windowTitle();
            positioned = OpenPositioned;
            rows = static_cast<Tform_JelenletElem *>(m)->dbg_lista->model()->rowCount();
            static_cast<Tform_JelenletElem *>(m)->bb_kilepes->click();
        });
        const QPoint at = w->dbg_jelenlet->visualRect(w->dbg_jelenlet->model()->index(0, 0)).center();
        QTest::mousePress(w->dbg_jelenlet->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w->dbg_jelenlet->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(title, QStringLiteral("Hallgató jelenléte"));
        QCOMPARE(positioned, 1);
        QCOMPARE(rows, 3);
        QCOMPARE(OpenPositioned, 0);
        QCOMPARE(w->dbg_jelenlet->model()->rowCount(), 3); // reopened

        // The enrolment grid opens the students of the current offering.
        QString offering, text;
        RegisterWindow(QStringLiteral("form_TantargyHallgatoi"), [&](QWidget *parent) -> QDialog * {
            auto *d = new QDialog(parent);
            d->setObjectName(QStringLiteral("form_TantargyHallgatoi"));
            QTimer::singleShot(0, d, [&, d] {
                offering = CurrentOfferingId;
                text = CurrentOfferingText;
                d->reject();
            });
            return d;
        });
        selectRow(w->dbg_tantargy, 1);
        const QPoint row = w->dbg_tantargy->visualRect(w->dbg_tantargy->model()->index(1, 1)).center();
        QTest::mousePress(w->dbg_tantargy->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(w->dbg_tantargy->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(offering, QStringLiteral("2"));
        QCOMPARE(text, QStringLiteral("Kémia"));
    }

    void everyControlIsNamed()
    {
        auto w = shown();
        QStringList unnamed;
        const auto labels = w->findChildren<QLabel *>();
        auto hasLabel = [&](QWidget *c) {
            return std::any_of(labels.begin(), labels.end(), [c](QLabel *l) { return l->buddy() == c; });
        };
        for (QWidget *c : w->p_Adatok->findChildren<QWidget *>()) {
            const bool input = (qobject_cast<QLineEdit *>(c) && !qobject_cast<QComboBox *>(c->parentWidget()))
                               || qobject_cast<QComboBox *>(c);
            if (input && !hasLabel(c) && c->accessibleName().isEmpty())
                unnamed << c->objectName();
            if (auto *b = qobject_cast<QToolButton *>(c); b && b->text().isEmpty() && b->accessibleName() != b->toolTip())
                unnamed << b->objectName();
        }
        QCOMPARE(unnamed, QStringList());
    }
};

QTEST_MAIN(TestStudents)
#include "test_students.moc"
