// The users window and the administration menu entries, on the real schema.

#include "Admin.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "PeopleFixture.h"
#include "VDCComboBox.h"
#include "form_Felhasznalo_Unit.h"
#include "form_Oktatok_Unit.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {
// The stored form of "abc": low 16 bits of the complemented CRC-32 CADBBE3D.
const QString AbcHash = QStringLiteral("48701");
} // namespace

class TestUsers : public PeopleTestBase {
    Q_OBJECT

    void selectRow(Tform_Felhasznalo *w, int row) { w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(row, 1)); }
    // Fills the edit controls of a new or changed account.
    void fill(Tform_Felhasznalo *w, const QString &login, const QString &name, const QString &role, const QString &faculty)
    {
        w->e_nev->setText(login);
        w->e_teljes->setText(name);
        w->vdc_szerepkor->Ertek(role);
        w->vdc_kar->Ertek(faculty);
    }

private Q_SLOTS:
    void init() { startFixture(); }
    void cleanup() { stopFixture(); }

    void listAndRowChange()
    {
        auto w = shown<Tform_Felhasznalo>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Felhasználók"));
        auto *m = w->dbg_lista->model();
        QCOMPARE(m->rowCount(), 3);
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        // Ordered by login name, case-insensitive: admin, KP01, regi.
        QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("admin"));
        QCOMPARE(m->index(2, 2).data().toString(), QStringLiteral("✗"));
        QCOMPARE(m->index(0, 4).data().toString(), QStringLiteral("Adminisztrátor"));
        // Only active faculties are offered; every role is.
        QCOMPARE(w->vdc_kar->count(), 2);
        QCOMPARE(w->vdc_kar->findText(QStringLiteral("Régi Intézet")), -1);
        QCOMPARE(w->vdc_szerepkor->count(), 5);
        QCOMPARE(CurrentUserId, QStringLiteral("1"));
        QCOMPARE(w->e_mail->text(), QStringLiteral("admin@example.org"));
        QVERIFY(!w->dbl_nev->isReadOnly());
        // A password typed for one account never stays for the next.
        w->e_jelszo->setText(QStringLiteral("titok"));
        selectRow(w.get(), 1);
        QCOMPARE(CurrentUserId, QStringLiteral("2"));
        QCOMPARE(w->e_teljes->text(), QStringLiteral("Kovács Péter"));
        QCOMPARE(w->vdc_szerepkor->currentText(), QStringLiteral("Oktató"));
        QVERIFY(w->cb_aktiv->isChecked());
        QVERIFY(w->e_jelszo->text().isEmpty());
        QCOMPARE(w->e_jelszo->echoMode(), QLineEdit::Password);
        // The type-ahead search moves the list.
        w->dbl_nev->setFocus();
        QTest::keyClicks(w->dbl_nev, QStringLiteral("re"));
        QCOMPARE(CurrentUserId, QStringLiteral("3"));
    }

    void activityFilter_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("logins");
        QTest::newRow("mind") << 0 << QStringList{"admin", "KP01", "regi"};
        QTest::newRow("aktív") << 1 << QStringList{"admin", "KP01"};
        QTest::newRow("inaktív") << 2 << QStringList{"regi"};
    }
    void activityFilter()
    {
        QFETCH(int, item);
        QFETCH(QStringList, logins);
        auto w = shown<Tform_Felhasznalo>();
        w->rg_aktiv->findChildren<QRadioButton *>().at(item)->click();
        QStringList seen;
        for (int r = 0; r < w->dbg_lista->model()->rowCount(); ++r)
            seen << w->dbg_lista->model()->index(r, 1).data().toString();
        QCOMPARE(seen, logins);
        if (item == 2) // the inactive account with its (inactive) faculty's name
            QCOMPARE(w->dbg_lista->model()->index(0, 6).data().toString(), QStringLiteral("Régi Intézet"));
    }

    void newUserWithPassword()
    {
        auto w = shown<Tform_Felhasznalo>();
        w->bb_uj->click();
        QVERIFY(w->p_kereso->isHidden());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));
        fill(w.get(), QStringLiteral("o'neil"), QStringLiteral("D'Arc Johanna"), QStringLiteral("2"), QStringLiteral("3"));
        w->cb_aktiv->setChecked(true);
        w->e_jelszo->setText(QStringLiteral("abc"));
        w->e_mail->setText(QStringLiteral("jo@example.org"));
        // A click in the list while the new user is typed changes neither the fields nor the id.
        const QString before = CurrentUserId;
        selectRow(w.get(), 1);
        QCOMPARE(w->e_nev->text(), QStringLiteral("o'neil"));
        QCOMPARE(w->e_teljes->text(), QStringLiteral("D'Arc Johanna"));
        QCOMPARE(w->e_jelszo->text(), QStringLiteral("abc"));
        QCOMPARE(CurrentUserId, before);
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into Felhasznalo (felh_nev, szerep_id, kar_id, felh_aktiv, "
                                                   "felh_jelszo, felh_teljes, felh_email) Values ('o''neil', '2', '3', "
                                                   "'1', '48701', 'D''Arc Johanna', 'jo@example.org')"));
        QCOMPARE(fx->rows(QStringLiteral("select felh_id, felh_jelszo, felh_teljes, szerep_id, kar_id, felh_aktiv from "
                                         "felhasznalo where felh_nev='o''neil'")),
                 QStringList{"4|" + AbcHash + "|D'Arc Johanna|2|3|1"});
        QCOMPARE(audit(), QStringList{"1|Felhasznalo|4"});
        QCOMPARE(CurrentUserId, QStringLiteral("4"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("felh_id")).asString(), QStringLiteral("4"));
        QVERIFY(w->e_jelszo->text().isEmpty()); // never shown again
        QVERIFY(w->p_kereso->isVisible());
        QCOMPARE(EditMode, EditState::Browse);
    }

    void modifyKeepsOrReplacesPassword()
    {
        auto w = shown<Tform_Felhasznalo>();
        selectRow(w.get(), 0);
        w->bb_modosit->click();
        w->e_mail->setText(QStringLiteral("uj@example.org"));
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update Felhasznalo Set felh_nev = 'admin', szerep_id = '1', kar_id = "
                                                   "'1', felh_aktiv = '1', felh_teljes = 'Rendszergazda', felh_email = "
                                                   "'uj@example.org' Where felh_id=1"));
        QCOMPARE(fx->rows(QStringLiteral("select felh_jelszo, felh_email from felhasznalo where felh_id=1")),
                 QStringList{"12345|uj@example.org"});
        w->bb_modosit->click();
        w->e_jelszo->setText(QStringLiteral("abc"));
        w->cb_aktiv->setChecked(false);
        w->bb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select felh_jelszo, felh_aktiv from felhasznalo where felh_id=1")),
                 QStringList{AbcHash + "|0"});
        QCOMPARE(audit(), (QStringList{"2|Felhasznalo|1", "2|Felhasznalo|1"}));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
    }

    void refusedInput_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("faculty");
        QTest::addColumn<QString>("message");
        QTest::newRow("no login name") << "" << "2" << "1" << "A(z) belépő név megadása kötelező!";
        QTest::newRow("no role") << "uj" << "" << "1" << "A(z) szerepkör megadása kötelező!";
        QTest::newRow("no faculty") << "uj" << "2" << "" << "A(z) félév megadása kötelező!";
        QTest::newRow("inactive faculty") << "uj" << "2" << "2" << "A(z) félév megadása kötelező!";
        QTest::newRow("login name taken, other case") << "kp01" << "2" << "1" << "A(z) kp01 belépő név már foglalt!";
    }
    void refusedInput()
    {
        QFETCH(QString, login);
        QFETCH(QString, role);
        QFETCH(QString, faculty);
        QFETCH(QString, message);
        auto w = shown<Tform_Felhasznalo>();
        w->bb_uj->click();
        fill(w.get(), login, QStringLiteral("Új Ember"), role, faculty);
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
    }

    void renameOntoAnotherLoginIsRefused()
    {
        auto w = shown<Tform_Felhasznalo>();
        selectRow(w.get(), 2);
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("ADMIN"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"A(z) ADMIN belépő név már foglalt!"});
        QCOMPARE(fx->rows(QStringLiteral("select felh_nev from felhasznalo where felh_id=3")), QStringList{"regi"});
        QCOMPARE(EditMode, EditState::Modify);
    }

    void deleteUser_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("left");
        const QString question = QStringLiteral("Biztos törli a felhasználót?");
        QTest::newRow("free account") << 2 << true << QStringList{question} << "1,2";
        QTest::newRow("answered no") << 2 << false << QStringList{question} << "1,2,3";
        QTest::newRow("named by a teacher")
            << 1 << true << QStringList{question, "A felhasználó adatkapcsolatok miatt nem törölhető!"} << "1,2,3";
    }
    void deleteUser()
    {
        QFETCH(int, row);
        QFETCH(bool, answer);
        QFETCH(QStringList, messages);
        QFETCH(QString, left);
        RecordedErrors errors;
        auto w = shown<Tform_Felhasznalo>();
        selectRow(w.get(), row);
        w->bb_modosit->click();
        msg->answers.enqueue(answer);
        w->bb_torol->click();
        QCOMPARE(msg->shown, messages);
        QCOMPARE(fx->rows(QStringLiteral("select felh_id from felhasznalo order by felh_id")).join(u','), left);
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(w->p_kereso->isVisible());
    }

    void deleteInNewStateOnlyDiscards()
    {
        auto w = shown<Tform_Felhasznalo>();
        selectRow(w.get(), 2);
        w->bb_uj->click();
        w->e_nev->setText(QStringLiteral("eldobott"));
        msg->defaultAnswer = true;
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo")), QStringList{"3"});
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(w->e_nev->text(), QStringLiteral("regi")); // back on the row current before "Új"
    }

    void emptyListChangesNothing()
    {
        exec(QStringLiteral("update felhasznalo set felh_aktiv=1"));
        RecordedErrors errors;
        auto w = shown<Tform_Felhasznalo>();
        w->rg_aktiv->findChildren<QRadioButton *>().at(2)->click(); // "inaktív": nobody
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QCOMPARE(CurrentUserId, QString());
        QVERIFY(w->e_nev->text().isEmpty());
        w->bb_modosit->click();
        w->bb_felvesz->click(); // the empty fields are reported; there is no account to change
        QCOMPARE(msg->shown, QStringList{"A(z) belépő név megadása kötelező!"});
        msg->defaultAnswer = true;
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(EditMode, EditState::Browse);
    }

    void teacherRoleLeadsToTheTeachersWindow()
    {
        RegisterMasterdataWindows();
        auto w = shown<Tform_Felhasznalo>();
        w->bb_uj->click();
        fill(w.get(), QStringLiteral("NT01"), QStringLiteral("Németh Tamás"), QStringLiteral("3"), QStringLiteral("1"));
        w->cb_aktiv->setChecked(true);
        QString title;
        int accountsMeanwhile = -1;
        WhenModalShown([&](QWidget *m) {
            title = m->windowTitle();
            accountsMeanwhile = fx->rows(QStringLiteral("select count(*) from felhasznalo")).value(0).toInt();
            // The teacher record for the new account: same code and name.
            auto *t = static_cast<Tform_Oktatok *>(m);
            t->bb_uj->click();
            t->e_kod->setText(QStringLiteral("NT01"));
            t->e_nev->setText(QStringLiteral("Németh Tamás"));
            t->bb_felvesz->click();
            t->bb_kilepes->click();
        });
        w->bb_felvesz->click();
        QCOMPARE(title, QStringLiteral("Oktatói adatok"));
        QCOMPARE(accountsMeanwhile, 4); // written before the window opened
        // The teacher is tied to the account just made; no second account.
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felhasznalo where felh_nev='NT01'")), QStringList{"1"});
        QCOMPARE(fx->rows(QStringLiteral("select felh_id from oktato where oktato_kod='NT01'")), QStringList{"4"});
        QCOMPARE(CurrentUserId, QStringLiteral("4"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("felh_id")).asString(), QStringLiteral("4"));
    }

    void roleDecidesWhichWindowFollows_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("teacher") << "3" << QStringList{"form_Oktatok"};
        QTest::newRow("student") << "5" << QStringList{"form_Hallgatok"};
        QTest::newRow("staff") << "2" << QStringList();
        QTest::newRow("card keeper") << "4" << QStringList();
    }
    void roleDecidesWhichWindowFollows()
    {
        QFETCH(QString, role);
        QFETCH(QStringList, opened);
        // Stand-ins that record their opening (they outlive the test in the registry).
        auto seen = std::make_shared<QStringList>();
        for (const QString &name : {QStringLiteral("form_Oktatok"), QStringLiteral("form_Hallgatok")})
            RegisterWindow(name, [seen, name](QWidget *) -> QDialog * {
                *seen << name;
                return nullptr;
            });
        auto w = shown<Tform_Felhasznalo>();
        w->bb_uj->click();
        fill(w.get(), QStringLiteral("szerep") + role, QStringLiteral("Próba"), role, QStringLiteral("1"));
        w->bb_felvesz->click();
        QCOMPARE(*seen, opened);
        QCOMPARE(fx->rows(QStringLiteral("select szerep_id from felhasznalo where felh_id=4")), QStringList{role});
    }

    void administrationMenuOpensTheWindows_data()
    {
        QTest::addColumn<int>("role");
        QTest::newRow("administrator") << 1;
        QTest::newRow("study office") << 2;
    }
    void administrationMenuOpensTheWindows()
    {
        QFETCH(int, role);
        RegisterMasterdataWindows();
        LoginInfo.RoleId = role;
        Tform_Admin admin;
        admin.show();
        const QList<std::pair<QToolButton *, QString>> entries{
            {admin.sb_felhasznalok, QStringLiteral("Felhasználók")},
            {admin.sb_oktatok, QStringLiteral("Oktatói adatok")},
            {admin.sb_tanoraoktato, QStringLiteral("Tanórák és oktatók összerendelése")},
        };
        for (const auto &[button, caption] : entries) {
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
            QString title;
            WhenModalShown([&](QWidget *m) {
                title = m->windowTitle();
                QTest::keyClick(m, Qt::Key_Escape);
            });
            button->click();
            QCOMPARE(title, caption);
        }
        QCOMPARE(EditMode, EditState::Browse);
    }

    void everyInputIsNamed()
    {
        auto w = shown<Tform_Felhasznalo>();
        for (QWidget *c : std::initializer_list<QWidget *>{w->e_nev, w->e_teljes, w->vdc_szerepkor, w->vdc_kar, w->e_jelszo,
                                                           w->e_mail, w->dbl_nev}) {
            bool named = !c->accessibleName().isEmpty();
            for (QLabel *l : w->findChildren<QLabel *>())
                named = named || l->buddy() == c;
            QVERIFY2(named, qPrintable(c->objectName()));
        }
        QCOMPARE(w->bb_felttorol->accessibleName(), QStringLiteral("Feltételek törlése"));
    }
};

QTEST_MAIN(TestUsers)
#include "test_users.moc"
