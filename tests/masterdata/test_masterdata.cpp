// The semesters and faculties windows, driven by their controls on a fixture database.

#include "DBGrid.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_Felev_Unit.h"
#include "form_Szervezet_Unit.h"

#include <QHeaderView>
#include <QPushButton>

class TestMasterdata : public WindowTestBase {
    Q_OBJECT
    // Statements the window sent, without the reads of its list.

private Q_SLOTS:
    void init()
    {
        startFixture(QString::fromLatin1(MiniSchema));
        exec(QStringLiteral("insert into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) values "
                            "('2023/24 tavasz', '2023/24/2', '20240205', '20240630'), "
                            "('2023/24 ősz', '2023/24/1', '20230904', '20240131')"));
        exec(QStringLiteral("insert into kar (kar_nev, kar_kod, kar_aktiv) values ('Gépészmérnöki Kar', 'GK', 1), "
                            "('Régi Intézet', 'RI', 0)"));
    }
    void cleanup()
    {
        stopFixture();
    }

    void semesterList()
    {
        auto w = shown<Tform_Felev>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Félévek kezelése"));
        QCOMPARE(w->SZURES.sql(), QStringLiteral("Select * From felev"));
        QCOMPARE(w->dbg_lista->model()->rowCount(), 2);
        QVERIFY(w->dbg_lista->isColumnHidden(0));
        QCOMPARE(w->dbg_lista->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("név"));
        // The current row fills the fields and the shared semester id.
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
        QCOMPARE(w->e_nev->text(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->me_datum_kezd->maskedText(), QStringLiteral("2024.02.05."));
        w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(1, 1));
        QCOMPARE(CurrentSemesterId, QStringLiteral("2"));
        QCOMPARE(w->e_neptun->text(), QStringLiteral("2023/24/1"));
        QCOMPARE(w->me_datum_veg->maskedText(), QStringLiteral("2024.01.31."));
        QVERIFY(w->e_nev->isReadOnly()); // browsing
    }

    void semesterNew()
    {
        auto w = shown<Tform_Felev>();
        w->bb_uj->click();
        QCOMPARE(w->me_datum_kezd->maskedText(), QStringLiteral("    .  .  ."));
        w->e_nev->setText(QStringLiteral("2024/25 ősz"));
        w->e_neptun->setText(QStringLiteral("2024/25/1"));
        w->me_datum_kezd->setFocus();
        w->me_datum_kezd->home(false);
        QTest::keyClicks(w->me_datum_kezd, QStringLiteral("20240905"));
        QCOMPARE(w->me_datum_kezd->maskedText(), QStringLiteral("2024.09.05."));
        w->me_datum_veg->setMaskedText(QStringLiteral("2025.01.31."));
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) "
                                                   "Values ('2024/25 ősz', '2024/25/1', '20240905', '20250131')"));
        QVERIFY(sent.contains(QStringLiteral("Select Count(*) DB From felev Where felev_nev = '2024/25 ősz' AND "
                                             "felev_neptun='2024/25/1' AND felev_datumtol='20240905' AND "
                                             "felev_datumig='20250131'")));
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(CurrentSemesterId, QStringLiteral("3"));
        // The list is reopened on the new row.
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("felev_id")).asString(), QStringLiteral("3"));
        QCOMPARE(w->dbg_lista->currentIndex().row(), 2);
        QCOMPARE(w->e_nev->text(), QStringLiteral("2024/25 ősz"));
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")),
                 QStringList{"1|felev|3"});
    }

    void semesterEmptyEndDate()
    {
        auto w = shown<Tform_Felev>();
        w->bb_uj->click();
        w->e_nev->setText(QStringLiteral("Nyári"));
        w->e_neptun->setText(QStringLiteral("2024/25/3"));
        w->me_datum_kezd->setMaskedText(QStringLiteral("2025.06.01"));
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) "
                                                   "Values ('Nyári', '2024/25/3', '20250601', null)"));
        QCOMPARE(fx->rows(QStringLiteral("select felev_datumig from felev where felev_nev='Nyári'")), QStringList{"NULL"});
    }

    void semesterRequiredFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("neptun");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << "" << "2024/25/1" << "A(z) név megadása kötelező!";
        QTest::newRow("no Neptun name") << "Ősz" << "" << "A(z) Neptun név megadása kötelező!";
    }
    void semesterRequiredFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, neptun);
        QFETCH(QString, message);
        auto w = shown<Tform_Felev>();
        w->bb_uj->click();
        w->e_nev->setText(name);
        w->e_neptun->setText(neptun);
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(sent, QStringList()); // nothing written, nothing read
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felev")), QStringList{"2"});
    }

    // A date that is none, or half typed, or a required one left empty: a message, nothing
    // written, no error report, and the window keeps what was typed for correcting.
    void semesterDatesChecked_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no such month") << "2027.13.99" << "" << "Rossz dátum!" << "me_datum_kezd";
        QTest::newRow("half typed") << "2027.1" << "" << "Rossz dátum!" << "me_datum_kezd";
        QTest::newRow("no such day, end") << "2025.02.03" << "2025.02.30" << "Rossz dátum!" << "me_datum_veg";
        QTest::newRow("start left empty") << "" << "2025.06.30" << "A(z) kezdete megadása kötelező!" << "me_datum_kezd";
    }
    void semesterDatesChecked()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        RecordedErrors errors;
        auto w = shown<Tform_Felev>();
        w->bb_uj->click();
        w->e_nev->setText(QStringLiteral("2027 tavasz"));
        w->e_neptun->setText(QStringLiteral("2026/27/2"));
        // Typed as a person types, digit by digit from the start of the field.
        const auto type = [](MaskEdit *e, const QString &text) {
            e->setFocus();
            e->home(false);
            QTest::keyClicks(e, QString(text).remove(u'.'));
        };
        type(w->me_datum_kezd, start);
        type(w->me_datum_veg, end);
        const QString typedStart = w->me_datum_kezd->maskedText();
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{message});
        QCOMPARE(errors.texts, QStringList());
        QCOMPARE(writes(), QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felev")), QStringList{"2"});
        QCOMPARE(EditMode, EditState::New);
        QVERIFY(w->bb_felvesz->isEnabled());
        QCOMPARE(w->e_nev->text(), QStringLiteral("2027 tavasz"));
        QCOMPARE(w->me_datum_kezd->maskedText(), typedStart);
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    // A save the database refuses: the error report, then the edit goes on with the typed values.
    void semesterRefusedSaveKeepsValues()
    {
        sqlite3 *db = nullptr;
        sqlite3_open(fx->dir.filePath(QStringLiteral("KOVRA.sqlite")).toUtf8().constData(), &db);
        sql::RegisterKovraCollation(db);
        QCOMPARE(sqlite3_exec(db, "CREATE TRIGGER tele BEFORE INSERT ON felev BEGIN SELECT RAISE(ABORT, 'disk full'); END",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        RecordedErrors errors;
        auto w = shown<Tform_Felev>();
        w->bb_uj->click();
        w->e_nev->setText(QStringLiteral("2027 tavasz"));
        w->e_neptun->setText(QStringLiteral("2026/27/2"));
        w->me_datum_kezd->setMaskedText(QStringLiteral("2027.02.01"));
        w->bb_felvesz->click();
        QCOMPARE(errors.texts.size(), 1);
        QCOMPARE(EditMode, EditState::New);
        QVERIFY(w->bb_felvesz->isEnabled());
        QVERIFY(!w->bb_uj->isEnabled());
        QVERIFY(!w->e_nev->isReadOnly());
        QCOMPARE(w->e_nev->text(), QStringLiteral("2027 tavasz"));
        QCOMPARE(w->me_datum_kezd->maskedText(), QStringLiteral("2027.02.01."));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from felev")), QStringList{"2"});
    }

    // After every state change the focus is in the window's first field (the list while browsing), never on a bar button.
    void semesterFocusAfterStateChanges()
    {
        auto w = shown<Tform_Felev>();
        const auto press = [&](QPushButton *b) {
            b->setFocus();
            QTest::mouseClick(b, Qt::LeftButton);
            return QApplication::focusWidget();
        };
        QCOMPARE(press(w->bb_uj), static_cast<QWidget *>(w->e_nev));
        QCOMPARE(press(w->bb_megsem), static_cast<QWidget *>(w->dbg_lista));
        QCOMPARE(press(w->bb_modosit), static_cast<QWidget *>(w->e_nev));
        QCOMPARE(press(w->bb_felvesz), static_cast<QWidget *>(w->dbg_lista));
        QCOMPARE(EditMode, EditState::Browse);
    }

    void semesterModifyAndCancel()
    {
        auto w = shown<Tform_Felev>();
        w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(1, 1));
        w->bb_modosit->click();
        QVERIFY(!w->e_nev->isReadOnly());
        w->e_nev->setText(QStringLiteral("2023/24 őszi félév"));
        sent.clear();
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Update felev Set felev_nev = '2023/24 őszi félév', felev_neptun = "
                                                   "'2023/24/1', felev_datumtol = '20230904', felev_datumig = '20240131' "
                                                   "Where felev_id=2"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("felev_id")).asString(), QStringLiteral("2"));
        QCOMPARE(fx->rows(QStringLiteral("select felev_nev from felev where felev_id=2")),
                 QStringList{"2023/24 őszi félév"});
        // Módosít, a change, Mégsem: the stored row comes back.
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("eldobott"));
        w->bb_megsem->click();
        QCOMPARE(w->e_nev->text(), QStringLiteral("2023/24 őszi félév"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("2"));
        QCOMPARE(EditMode, EditState::Browse);
    }

    // While a semester is edited, keys and clicks in the list keep its row: the typed name is
    // saved to the row being edited. After the edit the list moves again.
    void semesterListKeepsTheEditedRow()
    {
        auto w = shown<Tform_Felev>();
        QCOMPARE(w->SZURES.recNo(), 1);
        const QString first = w->SZURES.fieldByName(QStringLiteral("felev_id")).asString();
        w->bb_modosit->click();
        w->e_nev->setText(QStringLiteral("átírt név"));
        w->dbg_lista->setFocus();
        QTest::keyClick(w->dbg_lista, Qt::Key_Down);
        QTest::keyClick(w->dbg_lista, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(w->dbg_lista, Qt::Key_2); // a typed search
        const QRect second = w->dbg_lista->visualRect(w->dbg_lista->model()->index(1, 1));
        QTest::mouseClick(w->dbg_lista->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(w->dbg_lista->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseClick(w->dbg_lista->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(w->dbg_lista->columnViewportPosition(1) + 5, 5)); // a re-sort
        QCOMPARE(w->SZURES.recNo(), 1);
        QCOMPARE(w->e_nev->text(), QStringLiteral("átírt név"));
        sent.clear();
        w->bb_felvesz->click();
        QVERIFY2(writes().value(0).endsWith(QStringLiteral("Where felev_id=") + first), qPrintable(writes().join(u'\n')));
        QCOMPARE(fx->rows(QStringLiteral("select felev_nev from felev where felev_id=") + first), QStringList{"átírt név"});
        // Browsing again: the list moves.
        w->dbg_lista->setFocus();
        QTest::keyClick(w->dbg_lista, Qt::Key_Down);
        QCOMPARE(w->SZURES.recNo(), 2);
    }

    void semesterGridServices()
    {
        auto w = shown<Tform_Felev>();
        QHeaderView *header = w->dbg_lista->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(w->SZURES.sql(), QStringLiteral("Select * From felev\n  order by felev_nev desc"));
        QCOMPARE(w->dbg_lista->column(1).title, QStringLiteral("név <"));
        QString chooser;
        WhenModalShown([&](QWidget *m) {
            chooser = m->windowTitle();
            m->close();
        });
        QTest::keyClick(w->dbg_lista, Qt::Key_F12);
        QCOMPARE(chooser, QStringLiteral("Táblázat mezőinek beállítása"));
        // Closing stores the layout; the next opening applies it.
        w->dbg_lista->setColumnWidthPx(1, 260);
        QVERIFY(w->close());
        auto s = UserSettings();
        QCOMPARE(s->value(QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/felev_nev/Width")).toInt(), 260);
        auto again = shown<Tform_Felev>();
        QCOMPARE(again->dbg_lista->columnWidth(1), 260);
        QCOMPARE(again->dbg_lista->column(1).title, QStringLiteral("név")); // the order is not kept
    }

    void facultyList()
    {
        auto w = shown<Tform_Szervezet>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Szervezeti egység"));
        auto *m = w->dbg_lista->model();
        QCOMPARE(m->rowCount(), 2);
        QVERIFY(!w->dbg_lista->isColumnHidden(0)); // the id is shown here
        QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("✓"));
        QCOMPARE(m->index(1, 2).data().toString(), QStringLiteral("✗"));
        QCOMPARE(m->index(1, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(w->currentFacultyId(), QStringLiteral("1"));
        QVERIFY(w->cb_aktiv->isChecked());
        w->dbg_lista->setCurrentIndex(m->index(1, 1));
        QCOMPARE(w->e_kar->text(), QStringLiteral("Régi Intézet"));
        QCOMPARE(w->e_kod->text(), QStringLiteral("RI"));
        QVERIFY(!w->cb_aktiv->isChecked());
        QCOMPARE(w->currentFacultyId(), QStringLiteral("2"));
        QCOMPARE(LoginInfo.FacultyId, QStringLiteral("1")); // the window's own, not the user's faculty
    }

    void facultyNewInactive()
    {
        auto w = shown<Tform_Szervezet>();
        w->bb_uj->click();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_kar));
        w->e_kar->setText(QStringLiteral("Új Tanszék"));
        w->e_kod->setText(QStringLiteral("UT"));
        w->cb_aktiv->setChecked(false);
        w->bb_felvesz->click();
        QCOMPARE(writes().value(0), QStringLiteral("Insert Into kar (kar_nev, kar_kod, kar_aktiv) Values ('Új Tanszék', 'UT', '0')"));
        QCOMPARE(EditMode, EditState::Browse);
        // The list is reopened on its first row; the new faculty shows a cross.
        QCOMPARE(w->SZURES.recNo(), 1);
        QCOMPARE(w->dbg_lista->model()->index(2, 2).data().toString(), QStringLiteral("✗"));
        // Left out of the faculty choices of other windows.
        TVDCComboBox choice;
        choice.ADOQuery = &w->UPDATEQuery;
        choice.Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV");
        choice.Feltoltes();
        QCOMPARE(choice.count(), 1);
        QCOMPARE(choice.itemText(0), QStringLiteral("Gépészmérnöki Kar"));
        // Módosít focuses the name too.
        w->e_kod->setFocus();
        w->bb_modosit->click();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_kar));
    }

    void facultyIdenticalTwice()
    {
        auto w = shown<Tform_Szervezet>();
        for (int i = 0; i < 2; ++i) {
            w->bb_uj->click();
            w->e_kar->setText(QStringLiteral("Kettős Kar"));
            w->e_kod->setText(QStringLiteral("KK"));
            w->cb_aktiv->setChecked(true);
            w->bb_felvesz->click();
        }
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from kar where kar_nev='Kettős Kar'")), QStringList{"1"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"2"});
    }

    void facultyWrittenBeforeCheck()
    {
        auto w = shown<Tform_Szervezet>();
        w->bb_uj->click();
        w->e_kar->setText(QStringLiteral("Kód Nélküli"));
        w->bb_felvesz->click();
        // Written, then reported; the window stays in its edit state.
        QCOMPARE(fx->rows(QStringLiteral("select kar_id, kar_kod, kar_aktiv from kar where kar_nev='Kód Nélküli'")),
                 QStringList{"3|NULL|0"});
        QCOMPARE(msg->shown, QStringList{"A(z) kód megadása kötelező!"});
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(w->dbg_lista->model()->rowCount(), 2); // not reopened
        // Completing the code saves the same row, not a second one.
        w->e_kod->setText(QStringLiteral("KN"));
        w->bb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select kar_id, kar_kod from kar where kar_nev='Kód Nélküli'")),
                 QStringList{"3|KN"});
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(w->dbg_lista->model()->rowCount(), 3);
        // A fresh Új inserts again.
        w->bb_uj->click();
        w->e_kar->setText(QStringLiteral("Másik"));
        w->e_kod->setText(QStringLiteral("M"));
        w->bb_felvesz->click();
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from kar")), QStringList{"4"});
    }

    void openedByNameFromTheMenu()
    {
        RegisterMasterdataWindows();
        struct Seen {
            QString title;
            int rows = -1;
            bool variable = false;
        };
        Seen felev, kar;
        WhenModalShown([&](QWidget *m) {
            felev = {m->windowTitle(), static_cast<Tform_Felev *>(m)->dbg_lista->model()->rowCount(), form_Felev == m};
            m->findChild<QPushButton *>(QStringLiteral("bb_kilepes"))->click();
        });
        QCOMPARE(OpenRegisteredWindow(QStringLiteral("form_Felev")), int(QDialog::Accepted));
        QCOMPARE(felev.title, QStringLiteral("Félévek kezelése"));
        QCOMPARE(felev.rows, 2);
        QVERIFY(felev.variable);
        QVERIFY(!form_Felev);
        WhenModalShown([&](QWidget *m) {
            kar = {m->windowTitle(), static_cast<Tform_Szervezet *>(m)->dbg_lista->model()->rowCount(), form_Szervezet == m};
            QTest::keyClick(m, Qt::Key_Escape);
        });
        QCOMPARE(OpenRegisteredWindow(QStringLiteral("form_Szervezet")), int(QDialog::Accepted));
        QCOMPARE(kar.title, QStringLiteral("Szervezeti egység"));
        QCOMPARE(kar.rows, 2);
        QVERIFY(kar.variable);
        QVERIFY(!form_Szervezet);
        // The window opens again at the place it was closed.
        QVERIFY(UserSettings()->contains(QStringLiteral("Software/KOVRA/Ablakok/form_Szervezet/Top")));
    }
};

QTEST_MAIN(TestMasterdata)
#include "test_masterdata.moc"
