// The attendance entry maintenance and capture journal windows, driven by their controls on the
// real schema.

#include "AttendanceWindows.h"
#include "DBGrid.h"
#include "WindowTestBase.h"
#include "Export.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_JelenletElem_Unit.h"
#include "form_JelenletTor_Unit.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Faculty 1, semester 1 (2024-02-05 .. 2024-05-31, the clock's semester), semester 2 the autumn before.
//  timetable 1 "Anatómia" and 2 "Kémia" in faculty 1 / semester 1 (teacher 1 teaches Kémia only),
//  3 "Élettan" in faculty 2, 4 "Régi" in semester 2.
//  Student 1 has three entries in faculty 1 / semester 1 (ids 1..3) and one each outside them.
// Journal: four rows of faculty 1 (written by TANULMANYI and by O'Brien), one of faculty 2.
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság'), (2, 'MK', 'Mérnöki');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI'), (8, 'O''Brien');
INSERT INTO oktato (oktato_id, oktato_nev) VALUES (1, 'Oktató Olga');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, 'tavasz', '2024-02-05', '2024-05-31'), (2, 'ősz', '2023-09-04', '2024-01-31');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Anatómia', '08:00:00', '09:30:00'), (2, 1, 1, 'Kémia', '12:00:00', '13:30:00'),
 (3, 2, 1, 'Élettan', '10:00:00', '11:30:00'), (4, 1, 2, 'Régi', '08:00:00', '09:30:00');
INSERT INTO tan_okt (oktato_id, orarend_id) VALUES (1, 2);
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES (1, 'AAA111', 'Ács Anna'), (2, 'BBB222', 'Bíró Béla');
INSERT INTO jelenlet (jelenlet_id, hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, 1, '2024-02-07', 1), (2, 1, 2, '2024-02-13', 2), (3, 1, 1, '2024-02-14', 3),
 (4, 1, 3, '2024-02-08', 1), (5, 1, 4, '2023-10-10', 1), (6, 2, 1, '2024-02-07', 2);
INSERT INTO Jelentes (jel_id, jel_datum, jel_szoveg, felh_id, kar_id) VALUES
 (1, '2024-03-01 08:05:00', 'Jelenlét rögzítés kezdete!  Anatómia  AAA111  BBB222', 7, 1),
 (2, '2024-03-01 09:40:00', 'Jelenlét rögzítés vége!  O''Hara A hallgató nincs a rendszerben!', 8, 1),
 (3, '2024-03-02 08:00:00', 'Jelenlét rögzítés kezdete!  Kémia  CCC333', 7, 1),
 (4, '2024-02-29 23:59:59', 'Neptun import   AAA111 felvéve', 7, 1),
 (5, '2024-03-01 10:00:00', 'Jelenlét rögzítés kezdete!  Élettan  AAA111', 7, 2);
)";

} // namespace

class TestAttendanceWindows : public WindowTestBase {
    Q_OBJECT
    // The entry window positioned on student 1.
    std::unique_ptr<Tform_JelenletElem> entries()
    {
        CurrentStudentId = QStringLiteral("1");
        CurrentStudentName = QStringLiteral("Ács Anna");
        OpenPositioned = 1;
        return shown<Tform_JelenletElem>();
    }
    static void selectRow(DBGrid *grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }
    static QString cell(DBGrid *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }
    // The visible ids of the journal list, top down.
    static QStringList journalIds(Tform_JelenletTor *w)
    {
        QStringList ids;
        for (int r = 0; r < w->dbg_lista->model()->rowCount(); ++r)
            ids << cell(w->dbg_lista, r, 0);
        return ids;
    }
    static void chooseTimetable(TVDCComboBox *combo, const QString &name) { combo->setCurrentIndex(combo->findText(name)); }

private Q_SLOTS:
    void init()
    {
        startFixture(Seed);
    }
    void cleanup()
    {
        stopFixture();
    }

    // ---- entry maintenance

    void entryWindowNotPositioned()
    {
        CurrentStudentId = QStringLiteral("1");
        CurrentStudentName = QStringLiteral("Ács Anna");
        CurrentTimetableId = QStringLiteral("2");
        auto w = shown<Tform_JelenletElem>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Hallgató jelenléte"));
        QVERIFY(!w->SZURES.isActive());
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QCOMPARE(w->l_hallgato->text(), QStringLiteral("Ács Anna"));
        // The semester of today is taken; the combo offers the faculty's entries of it, by name.
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->count(), 2);
        QCOMPARE(w->vdc_orarend->itemText(0), QStringLiteral("Anatómia"));
        QCOMPARE(w->vdc_orarend->itemText(1), QStringLiteral("Kémia"));
        QCOMPARE(w->vdc_orarend->Eredmeny(), QStringLiteral("2")); // the current timetable entry
        QVERIFY(w->currentEntryId().isEmpty());
        QVERIFY(w->bb_uj->isVisible());
    }

    void entryWindowLists()
    {
        CurrentTimetableId = QStringLiteral("2");
        auto w = entries();
        auto *g = w->dbg_lista;
        // Only the student's entries of the semester and faculty, by date.
        QCOMPARE(g->model()->rowCount(), 3);
        QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("órarend"));
        QCOMPARE(g->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("jelenlét"));
        QCOMPARE(cell(g, 0, 0), QStringLiteral("Anatómia"));
        QCOMPARE(cell(g, 0, 1), QStringLiteral("2024.02.07"));
        QCOMPARE(cell(g, 0, 2), QStringLiteral("✓"));
        QCOMPARE(g->model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(cell(g, 1, 2), QStringLiteral("✗"));
        QCOMPARE(cell(g, 2, 2), QStringLiteral("☑"));
        QCOMPARE(cell(g, 2, 3), QStringLiteral("3"));
        // The first row fills the controls; a row change follows.
        QCOMPARE(CurrentTimetableId, QStringLiteral("1"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->currentText(), QStringLiteral("Anatómia"));
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.02.07."));
        QCOMPARE(w->rg_jelenlet->itemIndex(), 0);
        selectRow(g, 1);
        QCOMPARE(CurrentTimetableId, QStringLiteral("2"));
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
        QCOMPARE(w->vdc_orarend->Eredmeny(), QStringLiteral("2"));
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.02.13."));
        QCOMPARE(w->rg_jelenlet->itemIndex(), 1);
        selectRow(g, 2);
        QCOMPARE(w->rg_jelenlet->itemIndex(), 2);
        QVERIFY(w->bi_datum->isReadOnly()); // browsing
    }

    void teacherSeesOwnTimetable()
    {
        LoginInfo.TeacherId = QStringLiteral("1");
        auto w = entries();
        QCOMPARE(w->vdc_orarend->count(), 1);
        QCOMPARE(w->vdc_orarend->itemText(0), QStringLiteral("Kémia"));
        QCOMPARE(w->dbg_lista->model()->rowCount(), 3); // the list is not narrowed
    }

    void newEntryAndIdenticalAgain()
    {
        auto w = entries();
        for (int round = 0; round < 2; ++round) {
            w->bb_uj->click();
            QCOMPARE(w->rg_jelenlet->itemIndex(), -1);
            chooseTimetable(w->vdc_orarend, QStringLiteral("Kémia"));
            w->bi_datum->setFocus();
            w->bi_datum->home(false);
            QTest::keyClicks(w->bi_datum, QStringLiteral("20240305"));
            w->rg_jelenlet->setItemIndex(0);
            sent.clear();
            w->bb_felvesz->click();
            QCOMPARE(EditMode, EditState::Browse);
            QVERIFY(sent.contains(QStringLiteral("Select Count(*) DB From jelenlet Where jt_id = '1' AND "
                                                 "jelenlet_datum='20240305' AND hallgato_id='1' AND orarend_id='2'")));
            // The second, identical entry inserts nothing (only its audit row) and lands on the first.
            const QString insert = QStringLiteral("Insert Into jelenlet (jt_id, jelenlet_datum, hallgato_id, orarend_id) "
                                                  "Values ('1', '20240305', '1', '2')");
            QCOMPARE(writes().contains(insert), round == 0);
            QCOMPARE(w->currentEntryId(), QStringLiteral("7"));
            QCOMPARE(w->SZURES.fieldByName(QStringLiteral("jelenlet_id")).asString(), QStringLiteral("7"));
            QCOMPARE(w->dbg_lista->currentIndex().row(), 3);
            QCOMPARE(cell(w->dbg_lista, 3, 0), QStringLiteral("Kémia"));
        }
        QCOMPARE(fx->rows(QStringLiteral("select hallgato_id, orarend_id, jt_id from jelenlet where jelenlet_id=7")),
                 QStringList{"1|2|1"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet")), QStringList{"7"});
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList({"1|jelenlet|7", "1|jelenlet|7"}));
    }

    void absenceTurnedIntoMakeUp()
    {
        auto w = entries();
        selectRow(w->dbg_lista, 1);
        w->bb_modosit->click();
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.02.13."));
        w->rg_jelenlet->setItemIndex(2);
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update jelenlet Set jt_id = '3', jelenlet_datum = '20240213', "
                                                   "orarend_id = '2' Where jelenlet_id=2"));
        QCOMPARE(fx->rows(QStringLiteral("select jelenlet_id, hallgato_id, orarend_id, jt_id from jelenlet where "
                                         "jelenlet_datum='2024-02-13'")),
                 QStringList{"2|1|2|3"});
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
        QCOMPARE(w->dbg_lista->currentIndex().row(), 1);
        QCOMPARE(cell(w->dbg_lista, 1, 2), QStringLiteral("☑"));
        // Módosít, a change, Mégsem: the stored entry comes back.
        w->bb_modosit->click();
        w->rg_jelenlet->setItemIndex(0);
        w->bb_megsem->click();
        QCOMPARE(w->rg_jelenlet->itemIndex(), 2);
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
    }

    void incompleteEntryRefused_data()
    {
        QTest::addColumn<QString>("timetable");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::newRow("no timetable") << "" << "2024.03.05" << 0 << "A(z) órarend megadása kötelező!";
        QTest::newRow("unknown timetable typed") << "Nincs ilyen" << "2024.03.05" << 0 << "A(z) órarend megadása kötelező!";
        QTest::newRow("no date") << "Kémia" << "" << 0 << "A(z) dátum megadása kötelező!";
        QTest::newRow("nothing") << "" << "" << -1 << "A(z) órarend megadása kötelező!";
        QTest::newRow("no type") << "Kémia" << "2024.03.05" << -1 << "Válassza ki a jelenlét típusát!";
    }
    void incompleteEntryRefused()
    {
        QFETCH(QString, timetable);
        QFETCH(QString, date);
        QFETCH(int, type);
        QFETCH(QString, message);
        auto w = entries();
        w->bb_uj->click();
        if (timetable == QStringLiteral("Kémia"))
            chooseTimetable(w->vdc_orarend, timetable);
        else
            w->vdc_orarend->setEditText(timetable);
        w->bi_datum->setMaskedText(date);
        w->rg_jelenlet->setItemIndex(type);
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New); // still editing
        QVERIFY(w->bb_felvesz->isEnabled());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet")), QStringList{"6"});
        w->bb_megsem->click();
    }

    void deleteAsks()
    {
        auto w = entries();
        selectRow(w->dbg_lista, 1);
        // "Nem" keeps the entry.
        w->bb_modosit->click();
        msg->answers.enqueue(false);
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList{"Biztos törli a jelenléti bejegyzést?"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet where jelenlet_id=2")), QStringList{"1"});
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(w->currentEntryId(), QStringLiteral("2"));
        // "Igen" deletes it; the list lands on the next id.
        w->bb_modosit->click();
        msg->answers.enqueue(true);
        sent.clear();
        w->bb_torol->click();
        QCOMPARE(writes().value(0), QStringLiteral("delete from jelenlet Where jelenlet_id=2"));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet where jelenlet_id=2")), QStringList{"0"});
        QCOMPARE(w->dbg_lista->model()->rowCount(), 2);
        QCOMPARE(w->currentEntryId(), QStringLiteral("3"));
        QCOMPARE(w->dbg_lista->currentIndex().row(), 1);
        // Töröl on an unsaved new entry only discards it: no question, nothing deleted.
        msg->asked.clear();
        w->bb_uj->click();
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from jelenlet")), QStringList{"5"});
        QCOMPARE(w->currentEntryId(), QStringLiteral("3"));
        QCOMPARE(w->rg_jelenlet->itemIndex(), 2);
    }

    void roleZeroOnlyLooks()
    {
        LoginInfo.RoleId = 0;
        auto w = entries();
        for (QPushButton *b : {w->bb_felvesz, w->bb_uj, w->bb_modosit, w->bb_megsem, w->bb_torol})
            QVERIFY2(!b->isVisible(), qPrintable(b->objectName()));
        QVERIFY(w->bb_kilepes->isVisible());
        QCOMPARE(w->dbg_lista->model()->rowCount(), 3);
    }

    void opensStudentsAndTimetable()
    {
        auto w = entries();
        // Neither window exists yet: nothing happens.
        QTest::mouseClick(w->l_hallgato, Qt::LeftButton);
        QCOMPARE(msg->shown, QStringList());
        struct Seen {
            QString name, sought, timetable;
            int positioned = 0;
        };
        static QList<Seen> seen; // the registered stand-ins outlive this test
        seen.clear();
        for (const char *name : {"form_Hallgatok", "form_Orarend"})
            RegisterWindow(QLatin1String(name), [name](QWidget *parent) -> QDialog * {
                auto *d = new QDialog(parent);
                d->setObjectName(QLatin1String(name));
                QTimer::singleShot(0, d, [d] {
                    seen << Seen{d->objectName(), SoughtStudentName, CurrentTimetableId, OpenPositioned};
                    d->reject();
                });
                return d;
            });
        QTest::mouseClick(w->l_hallgato, Qt::LeftButton);
        selectRow(w->dbg_lista, 1);
        const QPoint at = w->dbg_lista->visualRect(w->dbg_lista->model()->index(1, 0)).center();
        QTest::mousePress(w->dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w->dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].name, QStringLiteral("form_Hallgatok"));
        QCOMPARE(seen[0].sought, QStringLiteral("Ács Anna"));
        QCOMPARE(seen[0].positioned, 1);
        QCOMPARE(seen[1].name, QStringLiteral("form_Orarend"));
        QCOMPARE(seen[1].timetable, QStringLiteral("2"));
        QCOMPARE(seen[1].positioned, 1);
        // During an edit nothing else opens.
        w->bb_modosit->click();
        QTest::mouseClick(w->l_hallgato, Qt::LeftButton);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(msg->shown, QStringList{"Zárja le az adatfelvitelt!"});
        w->bb_megsem->click();
    }

    // ---- capture journal

    void journalLists()
    {
        auto w = shown<Tform_JelenletTor>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Jelentések"));
        QCOMPARE(w->SZURES.sql(),
                 QStringLiteral("Select a.jel_id, a.jel_datum, a.jel_szoveg, (Select x.felh_nev From Felhasznalo x Where "
                                "x.felh_id=a.felh_id) as nev From Jelentes a Where a.kar_id = 1 \nOrder By a.jel_datum desc"));
        // The faculty's rows, newest first, with the writer's login name.
        QCOMPARE(journalIds(w.get()), QStringList({"3", "2", "1", "4"}));
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(cell(w->dbg_lista, 0, 1), QStringLiteral("2024.03.02 08:00:00"));
        QCOMPARE(cell(w->dbg_lista, 1, 2), QStringLiteral("O'Brien"));
        QCOMPARE(w->l_szumma->text(), QStringLiteral("4"));
        QVERIFY(w->p_TalalatokSzama->isVisible());
        for (QWidget *b : std::initializer_list<QWidget *>{w->sb_email, w->sb_nyomtat, w->bb_Ok})
            QVERIFY2(!b->isVisible(), qPrintable(b->objectName()));
        for (QWidget *b : std::initializer_list<QWidget *>{w->bb_indit, w->bb_felttorol, w->bb_Ment, w->bb_excel})
            QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(b->objectName()));
        // Double blanks of the text are line breaks; a third blank stays.
        QCOMPARE(w->m_szoveg->toPlainText(), QStringLiteral("Jelenlét rögzítés kezdete!\nKémia\nCCC333"));
        selectRow(w->dbg_lista, 3);
        QCOMPARE(w->m_szoveg->document()->blockCount(), 2);
        QCOMPARE(w->m_szoveg->toPlainText(), QStringLiteral("Neptun import\n AAA111 felvéve"));
        QVERIFY(w->m_szoveg->isReadOnly());

        // Every filter at once, one line each, in order.
        w->bi_datumtol->setMaskedText(QStringLiteral("2024.03.01"));
        w->bi_datumig->setMaskedText(QStringLiteral("2024.03.02"));
        w->e_kod->setText(QStringLiteral("TANULMANYI"));
        w->e_neptun->setText(QStringLiteral("AAA111"));
        QCOMPARE(w->SearchStatement().split(u'\n').mid(1),
                 QStringList({"and a.jel_datum >= '20240301' ", "and a.jel_datum < '20240302' ",
                              "and a.felh_id in (Select x.felh_id From Felhasznalo x Where x.felh_nev='TANULMANYI') ",
                              "and jel_szoveg like '%AAA111%' ", "Order By a.jel_datum desc"}));
        w->bb_indit->click();
        QCOMPARE(journalIds(w.get()), QStringList{"1"});
        // Clearing the conditions empties the filters and the text; the next search lists all again.
        w->bb_felttorol->click();
        QCOMPARE(w->bi_datumtol->maskedText(), QStringLiteral("    .  .  ."));
        QVERIFY(w->e_kod->text().isEmpty());
        QVERIFY(w->m_szoveg->toPlainText().isEmpty());
        QVERIFY(!w->bb_Ment->isEnabled());
        w->bb_indit->click();
        QCOMPARE(journalIds(w.get()).size(), 4);
    }

    void journalFilters_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("1 March only") << "2024.03.01" << "2024.03.02" << "" << "" << QStringList{"2", "1"};
        QTest::newRow("from a day on") << "2024.03.01" << "" << "" << "" << QStringList{"3", "2", "1"};
        QTest::newRow("before a day") << "" << "2024.03.01" << "" << "" << QStringList{"4"};
        QTest::newRow("student's code") << "" << "" << "" << "AAA111" << QStringList{"1", "4"};
        QTest::newRow("writer") << "" << "" << "TANULMANYI" << "" << QStringList{"3", "1", "4"};
        QTest::newRow("writer with a quote") << "" << "" << "O'Brien" << "" << QStringList{"2"};
        QTest::newRow("text with a quote") << "" << "" << "" << "O'Hara" << QStringList{"2"};
        QTest::newRow("writer injection") << "" << "" << "x' or '1'='1" << "" << QStringList();
        QTest::newRow("text injection") << "" << "" << "" << "%' or 1=1 or jel_szoveg like '" << QStringList();
        QTest::newRow("unknown writer") << "" << "" << "SENKI" << "" << QStringList();
    }
    void journalFilters()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, user);
        QFETCH(QString, text);
        QFETCH(QStringList, ids);
        auto w = shown<Tform_JelenletTor>();
        w->bi_datumtol->setMaskedText(from);
        w->bi_datumig->setMaskedText(to);
        QTest::keyClicks(w->e_kod, user);
        QTest::keyClicks(w->e_neptun, text);
        w->bb_indit->click();
        QCOMPARE(journalIds(w.get()), ids);
        QCOMPARE(w->l_szumma->text(), QString::number(ids.size()));
        if (ids.isEmpty())
            QVERIFY(w->m_szoveg->toPlainText().isEmpty());
    }

    void journalToExcel()
    {
        QTemporaryDir dir;
        SetExportFolder(dir.path());
        QStringList opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QString &path) {
            opened << path;
            return true;
        });
        auto w = shown<Tform_JelenletTor>();
        w->bb_excel->click();
        SetDocumentOpener(previous);
        SetExportFolder(QString());
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].startsWith(dir.path()));
        QCOMPARE(msg->shown, QStringList{"Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"});
        // The visible columns: the date and the writer of the four rows under the titles.
        const QByteArray sheet = UnzipAll(ReadFileBytes(opened[0])).value(QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY(sheet.contains("<row r=\"5\""));
        QVERIFY(!sheet.contains("<row r=\"6\""));
        QVERIFY(!sheet.contains("r=\"C1\""));
    }

    void openedByName()
    {
        RegisterAttendanceWindows();
        CurrentStudentId = QStringLiteral("1");
        CurrentStudentName = QStringLiteral("Ács Anna");
        OpenPositioned = 1;
        int entryRows = -1, journalRows = -1;
        bool entryVariable = false, journalVariable = false;
        WhenModalShown([&](QWidget *m) {
            entryRows = static_cast<Tform_JelenletElem *>(m)->dbg_lista->model()->rowCount();
            entryVariable = form_JelenletElem == m;
            QTest::keyClick(m, Qt::Key_Escape);
        });
        QCOMPARE(OpenRegisteredWindow(QStringLiteral("form_JelenletElem")), int(QDialog::Accepted));
        QCOMPARE(entryRows, 3);
        QVERIFY(entryVariable);
        QVERIFY(!form_JelenletElem);
        QCOMPARE(OpenPositioned, 0); // reset by the exit
        WhenModalShown([&](QWidget *m) {
            journalRows = static_cast<Tform_JelenletTor *>(m)->dbg_lista->model()->rowCount();
            journalVariable = form_JelenletTor == m;
            m->findChild<QPushButton *>(QStringLiteral("bb_kilepes"))->click();
        });
        OpenRegisteredWindow(QStringLiteral("form_JelenletTor"));
        QCOMPARE(journalRows, 4);
        QVERIFY(journalVariable);
        QVERIFY(!form_JelenletTor);
    }
};

QTEST_MAIN(TestAttendanceWindows)
#include "test_attendance_windows.moc"
