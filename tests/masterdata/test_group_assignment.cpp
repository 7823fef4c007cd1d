// The group assignment window on the real schema, and the administration menu opening the offering
// and group assignment windows.

#include "Admin.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "OfferingSeed.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_TanoraHallgato_Unit.h"
#include "form_Tanora_Unit.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestGroupAssignment : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_TanoraHallgato> shown() { return WindowTestBase::shown<Tform_TanoraHallgato>(); }
    static QStringList column(DBGrid *grid, int c)
    {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, c).data().toString();
        return out;
    }
    static void choose(TVDCComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        PickFromList(combo, i);
    }
    // The window with an entry chosen.
    std::unique_ptr<Tform_TanoraHallgato> onEntry(const QString &entry)
    {
        auto w = shown();
        choose(w->vdc_orarend, entry);
        sent.clear();
        return w;
    }

private Q_SLOTS:
    void init()
    {
        startFixture(OfferingSeed);
    }
    void cleanup()
    {
            stopFixture();
    }

    void choosingAnEntryOpensBothLists()
    {
        auto w = shown();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tanórák és hallgatók összerendelése"));
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        // The faculty's entries of the semester, with their groups' courses.
        QStringList entries;
        for (int i = 0; i < w->vdc_orarend->count(); ++i)
            entries << w->vdc_orarend->itemText(i);
        QCOMPARE(entries, (QStringList{"Mikro gyakorlat - ", "Mikro pótgyakorlat - MIK-G1", "Sportnap - ",
                                       "Statisztika előadás - STA-E1"}));
        QVERIFY(!w->SZURES.isActive());
        QVERIFY(!w->tan_hall.isActive());

        choose(w->vdc_orarend, QStringLiteral("Mikro pótgyakorlat - MIK-G1"));
        // Every other student of the database is a candidate, Erdős Emil of no entry too.
        QCOMPARE(column(w->dbg_lista, 1), (QStringList{"Csóka Csilla", "Dénes Dóra", "Erdős Emil"}));
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(column(w->dbg_tanhall, 1), (QStringList{"Ács Anna", "Bíró Béla"}));
        QCOMPARE(column(w->dbg_tanhall, 2), (QStringList{"Mikroökonómia", "Mikroökonómia"}));
        w->bb_indit->click();
        QCOMPARE(w->l_szumma->text(), QStringLiteral("3"));
        choose(w->vdc_orarend, QStringLiteral("Mikro gyakorlat - "));
        QCOMPARE(column(w->dbg_tanhall, 1), QStringList{"Dénes Dóra"});
        QCOMPARE(column(w->dbg_tanhall, 2), QStringList{""}); // placed without an offering
        QCOMPARE(CurrentEnrolmentId, QStringLiteral("5"));
        // The search edits find candidates by name and by card number.
        w->dbl_hallgato->setFocus();
        QTest::keyClicks(w->dbl_hallgato, QStringLiteral("Cs"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_nev")).asString(), QStringLiteral("Csóka Csilla"));
        QCOMPARE(w->dbl_hallgato->Eredmeny, QStringLiteral("3"));
        QCOMPARE(CurrentStudentId, QStringLiteral("3"));
        QTest::keyClicks(w->DBLookUpEdit1, QStringLiteral("7005"));
        QCOMPARE(w->DBLookUpEdit1->Eredmeny, QStringLiteral("5"));
        QCOMPARE(SoughtStudentName, QStringLiteral("Erdős Emil"));
        // Another semester: its entries, no list left open.
        choose(w->vdc_felev, QStringLiteral("2023/24 ősz"));
        QCOMPARE(w->vdc_orarend->count(), 1);
        QVERIFY(!w->SZURES.isActive());
        QVERIFY(!w->tan_hall.isActive());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(msg->shown, QStringList());
    }

    void addSelectedCandidates()
    {
        auto w = onEntry(QStringLiteral("Mikro gyakorlat - "));
        QCOMPARE(column(w->dbg_lista, 1), (QStringList{"Ács Anna", "Bíró Béla", "Csóka Csilla", "Erdős Emil"}));
        for (int row : {0, 2, 3})
            w->dbg_lista->selectRow(row);
        w->sb_be->click();
        QCOMPARE(rows(QStringLiteral("select hallgato_id, ft_id from tan_hall where orarend_id=1 order by hallgato_id")),
                 (QStringList{"1|NULL", "3|NULL", "4|NULL", "5|NULL"}));
        QCOMPARE(rows(QStringLiteral("select etipus_id, erintett_tabla from esemenynaplo")),
                 (QStringList{"1|tan_hall", "1|tan_hall", "1|tan_hall"}));
        QCOMPARE(column(w->dbg_lista, 1), QStringList{"Bíró Béla"});
        QCOMPARE(column(w->dbg_tanhall, 1), (QStringList{"Ács Anna", "Csóka Csilla", "Dénes Dóra", "Erdős Emil"}));
        QVERIFY(w->dbg_lista->selectedRows().isEmpty());
        QCOMPARE(msg->shown, QStringList());
    }

    void selectAllAndClear()
    {
        auto w = onEntry(QStringLiteral("Sportnap - "));
        w->bb_be->click();
        QCOMPARE(w->dbg_lista->selectedRows(), (QList<int>{0, 1, 2, 3, 4}));
        w->bb_ki->click();
        QVERIFY(w->dbg_lista->selectedRows().isEmpty());
        // With nothing selected there is nothing to add.
        w->sb_be->click();
        QCOMPARE(msg->shown, QStringList{"Jelölje ki a hozzáadandó hallgatókat!"});
        QCOMPARE(writes(), QStringList());
    }

    void removeOnlyTheCurrentMember()
    {
        auto w = onEntry(QStringLiteral("Mikro pótgyakorlat - MIK-G1"));
        w->dbg_tanhall->setCurrentIndex(w->dbg_tanhall->model()->index(0, 1));
        w->dbg_tanhall->selectRow(1);
        QCOMPARE(w->dbg_tanhall->selectedRows(), (QList<int>{0, 1}));
        QCOMPARE(CurrentEnrolmentId, QStringLiteral("1"));
        w->sb_ki->click();
        // Anna's enrolment in the offering goes with her.
        QCOMPARE(rows(QStringLiteral("select th_id from tan_hall where ft_id=1")), QStringList{"2"});
        QCOMPARE(column(w->dbg_tanhall, 1), QStringList{"Bíró Béla"});
        QVERIFY(column(w->dbg_lista, 1).contains(QStringLiteral("Ács Anna")));
        QVERIFY(CurrentEnrolmentId != QLatin1String("1"));
        QCOMPARE(writes(), QStringList{"delete from tan_hall Where th_id=1"});
        // An empty member list removes nothing.
        auto other = onEntry(QStringLiteral("Sportnap - "));
        other->sb_ki->click();
        QCOMPARE(msg->shown, QStringList{"Nincs kiválasztott hallgató a tanóra hallgatói között!"});
        QCOMPARE(writes(), QStringList());
    }

    void addWithoutEntry()
    {
        auto w = onEntry(QStringLiteral("Mikro gyakorlat - "));
        w->dbg_lista->selectRow(0);
        w->vdc_orarend->clearChoice();
        w->sb_be->click();
        QCOMPARE(msg->shown, QStringList{"Félév és órarend választása szükséges!"});
        QCOMPARE(writes(), QStringList());
        QCOMPARE(rows(QStringLiteral("select count(*) from tan_hall")), QStringList{"6"});
        // A click into the entry choice of a fresh window opens its list and says nothing; leaving
        // the empty choice says nothing and opens nothing.
        auto fresh = shown();
        QTest::mouseClick(fresh->vdc_orarend, Qt::LeftButton, {},
                          QPoint(fresh->vdc_orarend->width() - 6, fresh->vdc_orarend->height() / 2)); // the arrow
        QTRY_VERIFY(fresh->vdc_orarend->view()->isVisible());
        QCOMPARE(msg->shown.size(), 1);
        fresh->vdc_orarend->hidePopup();
        fresh->dbl_hallgato->setFocus(Qt::TabFocusReason);
        QCOMPARE(msg->shown.size(), 1);
        QVERIFY(!fresh->SZURES.isActive());
        // So does a search.
        fresh->bb_indit->click();
        QCOMPARE(msg->shown.size(), 2);
        QCOMPARE(msg->shown.value(1), QStringLiteral("Félév és órarend választása szükséges!"));
        QVERIFY(!fresh->SZURES.isActive());
    }

    void doubleClickOpensTheStudent()
    {
        QString sought;
        int positioned = 0;
        RegisterWindow(QStringLiteral("form_Hallgatok"), [&](QWidget *parent) -> QDialog * {
            auto *d = new QDialog(parent);
            d->setObjectName(QStringLiteral("form_Hallgatok"));
            sought = SoughtStudentName;
            positioned = OpenPositioned;
            return d;
        });
        auto w = onEntry(QStringLiteral("Mikro pótgyakorlat - MIK-G1"));
        w->dbg_tanhall->setCurrentIndex(w->dbg_tanhall->model()->index(1, 1));
        WhenModalShown([](QWidget *m) { m->close(); });
        emit w->dbg_tanhall->doubleClicked(w->dbg_tanhall->model()->index(1, 1));
        QCOMPARE(sought, QStringLiteral("Bíró Béla"));
        QCOMPARE(positioned, 1);
        // The other list touched since: a double-click on the row already current still opens
        // that row's student.
        w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(1, 1));
        const QString other = SoughtStudentName;
        QVERIFY2(other != QStringLiteral("Bíró Béla"), qPrintable(other));
        WhenModalShown([](QWidget *m) { m->close(); });
        emit w->dbg_tanhall->doubleClicked(w->dbg_tanhall->model()->index(1, 1));
        QCOMPARE(sought, QStringLiteral("Bíró Béla"));
        WhenModalShown([](QWidget *m) { m->close(); });
        emit w->dbg_lista->doubleClicked(w->dbg_lista->model()->index(1, 1));
        QCOMPARE(sought, other);
    }

    void adminMenuOpensBothWindows_data()
    {
        QTest::addColumn<int>("role");
        QTest::newRow("administrator") << 1;
        QTest::newRow("study office") << 2;
    }
    void adminMenuOpensBothWindows()
    {
        QFETCH(int, role);
        LoginInfo.RoleId = role;
        RegisterMasterdataWindows();
        Tform_Admin admin;
        admin.show();
        QVERIFY(QTest::qWaitForWindowExposed(&admin));
        for (const auto &[button, title] : {std::pair{"SpeedButton2", "Tantárgy szerkesztése"},
                                            std::pair{"sb_tanorahallgato", "Tanórák és hallgatók összerendelése"}}) {
            auto *b = admin.findChild<QToolButton *>(QLatin1String(button));
            QVERIFY(b && b->isEnabled());
            QString opened;
            WhenModalShown([&](QWidget *m) {
                opened = m->windowTitle();
                m->findChild<QPushButton *>(QStringLiteral("bb_kilepes"))->click();
            });
            b->click();
            QCOMPARE(opened, QString::fromUtf8(title));
        }
        QVERIFY(!form_Tanora);
        QVERIFY(!form_TanoraHallgato);
    }
};

QTEST_MAIN(TestGroupAssignment)
#include "test_group_assignment.moc"
