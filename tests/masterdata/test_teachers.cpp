// The teachers window: teachers with their accounts, their offerings, and the picker role.

#include "DBGrid.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "PeopleFixture.h"
#include "VDCComboBox.h"
#include "form_Oktatok_Unit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestTeachers : public PeopleTestBase {
    Q_OBJECT

    // The list is ordered by name: Kovács Péter (1), O'Brien Anna (2), Szabó Éva (3).
    void selectRow(Tform_Oktatok *w, int row) { w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(row, 1)); }
    QStringList offeringsShown(Tform_Oktatok *w)
    {
        QStringList out;
        for (int r = 0; r < w->dbg_tantargy->model()->rowCount(); ++r)
            out << w->dbg_tantargy->model()->index(r, 1).data().toString() + u'/'
                       + w->dbg_tantargy->model()->index(r, 2).data().toString();
        return out;
    }

private Q_SLOTS:
    void init() { startFixture(); }
    void cleanup() { stopFixture(); }

    void listOfferingsAndChoice()
    {
        auto w = shown<Tform_Oktatok>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Oktatói adatok"));
        QCOMPARE(w->dbg_lista->model()->rowCount(), 3);
        QCOMPARE(w->dbg_lista->model()->index(1, 1).data().toString(), QStringLiteral("O'Brien Anna"));
        QCOMPARE(CurrentTeacherId, QStringLiteral("1"));
        QCOMPARE(CurrentUserId, QStringLiteral("2"));
        QCOMPARE(w->e_kod->text(), QStringLiteral("KP01"));
        QCOMPARE(offeringsShown(w.get()), QStringList{"Matematika/Első kurzus"});
        QCOMPARE(CurrentOfferingId, QStringLiteral("1"));
        // The offerings of the user's faculty only, named subject - course code.
        QStringList choice;
        for (int i = 0; i < w->vdc_tantargy->count(); ++i)
            choice << w->vdc_tantargy->itemText(i);
        QCOMPARE(choice, (QStringList{"Fizika - K02", "Kémia - K02", "Matematika - K01", "Matematika - K02"}));
        // A teacher without an account.
        w->e_jelszo->setText(QStringLiteral("x"));
        selectRow(w.get(), 1);
        QCOMPARE(CurrentTeacherId, QStringLiteral("2"));
        QCOMPARE(CurrentUserId, QString());
        QVERIFY(w->e_jelszo->text().isEmpty());
        QCOMPARE(offeringsShown(w.get()), QStringList());
        QCOMPARE(CurrentOfferingId, QString());
    }

    void newTeacherCreatesATeacherAccount()
    {
        auto w = shown<Tform_Oktatok>();
        w->bb_uj->click();
        QVERIFY(w->p_kereso->isHidden());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));
        w->e_nev->setText(QStringLiteral("Új Oktató"));
        w->e_kod->setText(QStringLiteral("X1"));
        w->e_jelszo->setText(QStringLiteral("abc"));
        // A click in the list while the new teacher is typed changes neither the fields nor the ids.
        const QString teacher = CurrentTeacherId, user = CurrentUserId;
        w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(1, 1));
        QCOMPARE(w->e_nev->text(), QStringLiteral("Új Oktató"));
        QCOMPARE(w->e_kod->text(), QStringLiteral("X1"));
        QCOMPARE(w->e_jelszo->text(), QStringLiteral("abc"));
        QCOMPARE(CurrentTeacherId, teacher);
        QCOMPARE(CurrentUserId, user);
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into felhasznalo (felh_aktiv, felh_jelszo, felh_nev, felh_teljes, "
                                                   "szerep_id) Values ('1', '48701', 'X1', 'Új Oktató', '3')"));
        // Active, its hash, the teacher role; no faculty.
        QCOMPARE(fx->rows(QStringLiteral("select felh_id, felh_aktiv, felh_jelszo, felh_teljes, szerep_id, kar_id from "
                                         "felhasznalo where felh_nev='X1'")),
                 QStringList{"4|1|48701|Új Oktató|3|NULL"});
        QCOMPARE(fx->rows(QStringLiteral("select oktato_id, felh_id, oktato_nev from oktato where oktato_kod='X1'")),
                 QStringList{"4|4|Új Oktató"});
        QCOMPARE(audit(), (QStringList{"1|felhasznalo|4", "1|oktato|4"}));
        QCOMPARE(CurrentTeacherId, QStringLiteral("4"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("oktato_id")).asString(), QStringLiteral("4"));
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(w->p_kereso->isVisible());
        QVERIFY(!w->e_keres->isReadOnly());
    }

    void modifyRenamesTheLogin()
    {
        auto w = shown<Tform_Oktatok>();
        w->bb_modosit->click();
        w->e_kod->setText(QStringLiteral("KP02"));
        w->e_nev->setText(QStringLiteral("Kovács Pál"));
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update felhasznalo Set felh_nev = 'KP02', felh_teljes = 'Kovács Pál' "
                                                   "Where felh_id=2"));
        QCOMPARE(fx->rows(QStringLiteral("select felh_nev, felh_teljes, felh_jelszo, szerep_id from felhasznalo where "
                                         "felh_id=2")),
                 QStringList{"KP02|Kovács Pál|111|3"});
        QCOMPARE(fx->rows(QStringLiteral("select oktato_kod, oktato_nev from oktato where oktato_id=1")),
                 QStringList{"KP02|Kovács Pál"});
        QCOMPARE(audit(), (QStringList{"2|felhasznalo|2", "2|oktato|1"}));
    }

    void modifyTeacherWithoutAccount()
    {
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        selectRow(w.get(), 1);
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("O'Brien Anna Mária"));
        w->e_jelszo->setText(QStringLiteral("abc"));
        w->bb_felvesz->click();
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(writes().filter(QStringLiteral("felhasznalo")), QStringList()); // no account to update
        QCOMPARE(fx->rows(QStringLiteral("select oktato_nev, felh_id from oktato where oktato_id=2")),
                 QStringList{"O'Brien Anna Mária|NULL"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
        QCOMPARE(audit(), QStringList{"2|oktato|2"});
    }

    void requiredNameAndCode_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << "" << "X2" << "A(z) név megadása kötelező!";
        QTest::newRow("no code") << "Névtelen" << "" << "A(z) kód megadása kötelező!";
    }
    void requiredNameAndCode()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(QString, message);
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        w->bb_uj->click();
        w->e_nev->setText(name);
        w->e_kod->setText(code);
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(EditMode, EditState::New);
    }

    void loginNameClashes_data()
    {
        QTest::addColumn<int>("row"); // -1: a new teacher
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("teachers");
        QTest::addColumn<QString>("message");
        QTest::newRow("new, another person's login") << -1 << "admin" << "Admin Oktató" << "1,2,3" << "A(z) admin belépő név már foglalt!";
        QTest::newRow("new, the same teacher typed twice") << -1 << "KP01" << "Kovács Péter" << "1,2,3" << "";
        QTest::newRow("rename onto another login") << 0 << "regi" << "Kovács Péter" << "1,2,3" << "A(z) regi belépő név már foglalt!";
        QTest::newRow("no account, any code") << 1 << "admin" << "O'Brien Anna" << "1,2,3" << "";
    }
    void loginNameClashes()
    {
        QFETCH(int, row);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, teachers);
        QFETCH(QString, message);
        auto w = shown<Tform_Oktatok>();
        if (row < 0) {
            w->bb_uj->click();
        } else {
            selectRow(w.get(), row);
            w->bb_modosit->click();
        }
        w->e_kod->setText(code);
        w->e_nev->setText(name);
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(EditMode, message.isEmpty() ? EditState::Browse : (row < 0 ? EditState::New : EditState::Modify));
        // Never a second account of one login name, never a second teacher typed twice.
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
        QCOMPARE(fx->rows(QStringLiteral("select felh_nev from felhasznalo order by felh_id")),
                 (QStringList{"admin", "KP01", "regi"}));
        QCOMPARE(fx->rows(QStringLiteral("select oktato_id from oktato order by oktato_id")).join(u','), teachers);
    }

    void longCodeWarnsOnly()
    {
        auto w = shown<Tform_Oktatok>();
        w->bb_uj->click();
        w->e_nev->setText(QStringLiteral("Hosszú Kódú"));
        w->e_kod->setFocus();
        QTest::keyClicks(w->e_kod, QStringLiteral("ABCDEFGHIJ"));
        w->e_jelszo->setFocus(); // ten characters: no warning
        QCOMPARE(msg->shown, QStringList());
        w->e_kod->setFocus();
        QTest::keyClicks(w->e_kod, QStringLiteral("K"));
        w->e_jelszo->setFocus();
        QCOMPARE(msg->shown, QStringList{"A kód maximum 10 karakter lehet!)"});
        QCOMPARE(w->e_kod->text(), QStringLiteral("ABCDEFGHIJK"));
        w->bb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from oktato where oktato_kod='ABCDEFGHIJK'")), QStringList{"1"});
    }

    void nameSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("teacher");
        QTest::newRow("apostrophe") << "O'B" << "2";
        QTest::newRow("inside the name") << "zab" << "3";
        QTest::newRow("nothing found stays") << "qqq" << "1";
    }
    void nameSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, teacher);
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        w->e_keres->setFocus();
        QTest::keyClicks(w->e_keres, typed);
        QCOMPARE(CurrentTeacherId, teacher);
        QCOMPARE(errors.texts, QStringList());
    }

    void offeringsOfTheTeacher()
    {
        auto w = shown<Tform_Oktatok>();
        selectRow(w.get(), 2); // Szabó Éva, no offerings
        // Nothing chosen: nothing sent, nothing written.
        sent.clear();
        w->sb_felvesz->click();
        QCOMPARE(writes(), QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from tan_okt")), QStringList{"1"});
        // The same offering twice: one assignment.
        w->vdc_tantargy->setCurrentIndex(w->vdc_tantargy->findText(QStringLiteral("Fizika - K02")));
        w->sb_felvesz->click();
        w->sb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select oktato_id, ft_id, orarend_id from tan_okt where oktato_id=3")),
                 QStringList{"3|2|NULL"});
        QCOMPARE(offeringsShown(w.get()), QStringList{"Fizika/Második kurzus"});
        // Both saves are audited, the second one naming the existing row.
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, erintett_tabla from esemenynaplo")),
                 (QStringList{"1|tan_okt", "1|tan_okt"}));
        // Removing the current offering.
        QCOMPARE(CurrentOfferingId, QStringLiteral("2"));
        w->sb_torles->click();
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from tan_okt where oktato_id=3")), QStringList{"0"});
        QCOMPARE(offeringsShown(w.get()), QStringList());
        // With no offering row, removing does nothing.
        sent.clear();
        w->sb_torles->click();
        QCOMPARE(writes(), QStringList());
    }

    void offeringButtonsIgnoreANewTeacher()
    {
        auto w = shown<Tform_Oktatok>();
        w->bb_uj->click();
        w->vdc_tantargy->setCurrentIndex(0);
        w->sb_felvesz->click();
        w->sb_torles->click();
        QCOMPARE(fx->rows(QStringLiteral("select oktato_id, ft_id from tan_okt")), QStringList{"1|1"});
    }

    void deleteTeacher_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("left");
        const QString question = QStringLiteral("Biztos törli az oktatót?");
        QTest::newRow("free teacher") << 2 << QStringList{question} << "1,2";
        QTest::newRow("teacher with an assignment")
            << 0 << QStringList{question, "A felhasználó adatkapcsolatok miatt nem törölhető!"} << "1,2,3";
    }
    void deleteTeacher()
    {
        QFETCH(int, row);
        QFETCH(QStringList, messages);
        QFETCH(QString, left);
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        selectRow(w.get(), row);
        w->bb_modosit->click();
        msg->answers.enqueue(true);
        w->bb_torol->click();
        QCOMPARE(msg->shown, messages);
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select oktato_id from oktato order by oktato_id")).join(u','), left);
        QCOMPARE(w->dbg_lista->model()->rowCount(), left.count(u',') + 1);
        // The account stays in every case.
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
    }

    void deleteInNewStateOnlyDiscards()
    {
        auto w = shown<Tform_Oktatok>();
        selectRow(w.get(), 2);
        w->bb_uj->click();
        msg->defaultAnswer = true;
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from oktato")), QStringList{"3"});
        QCOMPARE(w->e_nev->text(), QStringLiteral("Szabó Éva"));
    }

    void emptyListChangesNothing()
    {
        exec(QStringLiteral("delete from tan_okt"));
        exec(QStringLiteral("delete from oktato"));
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        QCOMPARE(CurrentTeacherId, QString());
        w->vdc_tantargy->setCurrentIndex(0);
        w->sb_felvesz->click();
        w->bb_modosit->click();
        msg->defaultAnswer = true;
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(errors.texts, QStringList());
    }

    void pickerHandsBackOnlyAConfirmedTeacher_data()
    {
        QTest::addColumn<QString>("leaveBy");
        QTest::addColumn<QString>("teacher");
        QTest::newRow("Rendben") << "sb_rendben" << "3";
        QTest::newRow("exit button") << "bb_kilepes" << "";
        QTest::newRow("Esc") << "Esc" << "";
    }
    void pickerHandsBackOnlyAConfirmedTeacher()
    {
        QFETCH(QString, leaveBy);
        QFETCH(QString, teacher);
        RegisterMasterdataWindows();
        CurrentTeacherId.clear();
        WhenModalShown([&](QWidget *m) {
            auto *w = static_cast<Tform_Oktatok *>(m);
            selectRow(w, 2); // moving through the list sets the row's teacher
            if (leaveBy == u"Esc")
                QTest::keyClick(m, Qt::Key_Escape);
            else
                m->findChild<QAbstractButton *>(leaveBy)->click();
        });
        OpenRegisteredWindow(QStringLiteral("form_Oktatok"));
        QCOMPARE(CurrentTeacherId, teacher);
        QVERIFY(!form_Oktatok);
    }

    void noFacultyGivesNoOfferings()
    {
        LoginInfo.FacultyId.clear();
        RecordedErrors errors;
        auto w = shown<Tform_Oktatok>();
        QCOMPARE(w->vdc_tantargy->count(), 0);
        QCOMPARE(errors.texts, QStringList());
    }

    void everyInputIsNamed()
    {
        auto w = shown<Tform_Oktatok>();
        for (QWidget *c : std::initializer_list<QWidget *>{w->e_nev, w->e_kod, w->e_jelszo, w->vdc_tantargy, w->e_keres}) {
            bool named = !c->accessibleName().isEmpty();
            for (QLabel *l : w->findChildren<QLabel *>())
                named = named || l->buddy() == c;
            QVERIFY2(named, qPrintable(c->objectName()));
        }
        for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{w->sb_felvesz, w->sb_torles, w->sb_rendben,
                                                                           w->bb_felttorol})
            QCOMPARE(b->accessibleName(), b->toolTip());
    }
};

QTEST_MAIN(TestTeachers)
#include "test_teachers.moc"
