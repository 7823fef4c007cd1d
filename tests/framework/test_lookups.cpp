// The lookup combo box (load, Eredmeny, Ertek, typed text) and the type-ahead search edit.

#include "DBLookUpEdit.h"
#include "WindowTestBase.h"
#include "DbError.h"
#include "FrameworkTestKit.h"
#include "VDCComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

class TestLookups : public WindowTestBase {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        startFixture(QString::fromLatin1(MiniSchema));
        exec(QStringLiteral("insert into kar (kar_id, kar_nev, kar_kod, kar_aktiv) values (3, 'Alma', 'A', 1), "
                            "(5, 'Kiss Béla', 'KB', 1), (7, 'Kovács Anna', 'KA', 0), (9, 'Nagy Éva', 'NE', 1)"));
    }
    void cleanup() { stopFixture(); }

    void comboLoadAndChoice()
    {
        Dataset q(&fx->conn(), QStringLiteral("UPDATEQuery"));
        TVDCComboBox c;
        QCOMPARE(c.Eredmeny(), QStringLiteral("null")); // never loaded
        c.ADOQuery = &q;
        c.Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV");
        c.Feltoltes();
        QCOMPARE(c.count(), 3);
        QCOMPARE(c.ids(), QStringList({"3", "5", "9"}));
        QCOMPARE(c.Eredmeny(), QStringLiteral("null")); // nothing chosen after a load
        QVERIFY(!q.isActive());                          // the query is left closed
        c.Ertek(QStringLiteral("5"));
        QCOMPARE(c.currentText(), QStringLiteral("Kiss Béla"));
        QCOMPARE(c.Eredmeny(), QStringLiteral("5"));
        // A miss, an empty id, a near miss: no choice, no text.
        for (const QString &miss : {QStringLiteral("7"), QString(), QStringLiteral("5 ")}) {
            c.Ertek(QStringLiteral("9"));
            c.Ertek(miss);
            QCOMPARE(c.currentIndex(), -1);
            QCOMPARE(c.currentText(), QString());
            QCOMPARE(c.Eredmeny(), QStringLiteral("null"));
        }
        // Reloading loses the choice.
        c.Ertek(QStringLiteral("9"));
        c.Feltoltes();
        QCOMPARE(c.Eredmeny(), QStringLiteral("null"));
    }

    void comboDuplicateIdsAndNameProperties()
    {
        Dataset q(&fx->conn(), QStringLiteral("UPDATEQuery"));
        TVDCComboBox c;
        c.ADOQuery = &q;
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("create table ketto (id int, nev nvarchar(20))"));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into ketto (id, nev) values (1, 'első')"));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into ketto (id, nev) values (1, 'második')"));
        c.Lekerdezes = QStringLiteral("Select id as ID, nev as NEV From ketto");
        c.Feltoltes();
        c.Ertek(QStringLiteral("1"));
        QCOMPARE(c.currentIndex(), 0);

        // Without a statement the three names compose one.
        c.Lekerdezes.clear();
        c.IDMezo = QStringLiteral("kar_id");
        c.NevMezo = QStringLiteral("kar_nev");
        c.TablaNev = QStringLiteral("kar");
        sent.clear();
        c.Feltoltes();
        QCOMPARE(sent, QStringList{"Select kar_nev as NEV, kar_id as ID from kar order by kar_nev"});
        QCOMPARE(c.count(), 4);

        // One name missing: the query's previous statement runs again ...
        c.NevMezo.clear();
        sent.clear();
        c.Feltoltes();
        QCOMPARE(sent, QStringList{"Select kar_nev as NEV, kar_id as ID from kar order by kar_nev"});
        // ... and a previous statement without NEV fails the load.
        q.setSql(QStringLiteral("Select kar_id as ID From kar"));
        QVERIFY_THROWS_EXCEPTION(DbError, c.Feltoltes());
    }

    void comboTypedText()
    {
        Dataset q(&fx->conn(), QStringLiteral("UPDATEQuery"));
        TVDCComboBox c;
        c.ADOQuery = &q;
        c.Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Order By NEV");
        c.Feltoltes();
        c.show();
        c.Ertek(QStringLiteral("9"));
        // Text that names no item: visible, but no choice.
        c.lineEdit()->selectAll();
        QTest::keyClicks(c.lineEdit(), QStringLiteral("Nincs ilyen"));
        QCOMPARE(c.currentText(), QStringLiteral("Nincs ilyen"));
        QCOMPARE(c.Eredmeny(), QStringLiteral("null"));
        // Text that names an item (in any case) chooses it.
        c.lineEdit()->selectAll();
        QTest::keyClicks(c.lineEdit(), QStringLiteral("alma"));
        QCOMPARE(c.Eredmeny(), QStringLiteral("3"));
    }

    // One change signal for every way the user changes the choice; the program's own choices
    // raise none; typed text counts once accepted (Enter or leaving the field).
    void comboChangeSignal()
    {
        Dataset q(&fx->conn(), QStringLiteral("UPDATEQuery"));
        QWidget window;
        auto *c = new TVDCComboBox(&window);
        auto *next = new QLineEdit(&window);
        c->setGeometry(0, 0, 200, 24);
        next->setGeometry(0, 30, 200, 24);
        c->ADOQuery = &q;
        c->Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Order By NEV");
        QList<QPair<QString, TVDCComboBox::Change>> seen;
        connect(c, &TVDCComboBox::valueChanged, this, [&](TVDCComboBox::Change how) { seen << qMakePair(c->Eredmeny(), how); });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        using C = TVDCComboBox::Change;

        c->Feltoltes();
        c->Ertek(QStringLiteral("5"));
        c->clearChoice();
        c->Ertek(QStringLiteral("9"));
        QVERIFY(seen.isEmpty()); // the program's choices

        PickFromList(c, 0); // Alma
        PickFromList(c, 0); // the item shown, picked again: a choice all the same
        QCOMPARE(seen, (QList<QPair<QString, C>>{{"3", C::Chosen}, {"3", C::Chosen}}));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c));
        seen.clear();
        QTest::keyClick(c, Qt::Key_Down); // Kiss Béla; the focus stays
        QTest::keyClick(c, Qt::Key_Down); // Kovács Anna
        QCOMPARE(seen, (QList<QPair<QString, C>>{{"5", C::Stepped}, {"7", C::Stepped}}));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c));
        seen.clear();

        // Typed text: nothing while typing, once when the field is left, nothing for a text
        // typed back to the value the window knows.
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("nagy éva"));
        QCOMPARE(c->Eredmeny(), QStringLiteral("9"));
        QVERIFY(seen.isEmpty());
        next->setFocus(Qt::TabFocusReason);
        QCOMPARE(seen, (QList<QPair<QString, C>>{{"9", C::Typed}}));
        seen.clear();
        c->setFocus(Qt::TabFocusReason);
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("Alma"));
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("Nagy Éva"));
        next->setFocus(Qt::TabFocusReason);
        QVERIFY(seen.isEmpty());

        // Enter accepts typed text; text naming no item gives "null".
        c->setFocus(Qt::TabFocusReason);
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("Kiss Béla"));
        QTest::keyClick(c, Qt::Key_Return);
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("Senki"));
        QTest::keyClick(c, Qt::Key_Enter);
        QCOMPARE(seen, (QList<QPair<QString, C>>{{"5", C::Typed}, {"null", C::Typed}}));
        seen.clear();

        // Leaving for another window is no leaving; a typed text waits until the field is left.
        c->lineEdit()->selectAll();
        TypeKeys(c->lineEdit(), QStringLiteral("Alma"));
        c->clearByUser();
        QCOMPARE(seen, (QList<QPair<QString, C>>{}));
        c->Ertek(QStringLiteral("3"));
        c->clearByUser(); // the Delete key of the record forms
        QCOMPARE(seen, (QList<QPair<QString, C>>{{"null", C::Typed}}));
    }

    void lookupEditCompletion()
    {
        Dataset list(&fx->conn(), QStringLiteral("SZURES"));
        list.setSql(QStringLiteral("Select * From kar Order By kar_nev"));
        list.open();
        TDBLookUpEdit e;
        e.DataSource = &list;
        e.FieldName = QStringLiteral("kar_nev");
        e.Azonosito = QStringLiteral("kar_id");
        e.show();

        // "K" finds Kiss Béla and offers the rest, selected so the next key overwrites it.
        QTest::keyClicks(&e, QStringLiteral("K"));
        QCOMPARE(e.text(), QStringLiteral("Kiss Béla"));
        QCOMPARE(e.selectedText(), QStringLiteral("iss Béla"));
        QCOMPARE(e.Eredmeny, QStringLiteral("5"));
        // "o" replaces the offer: Ko -> Kovács Anna.
        QTest::keyClicks(&e, QStringLiteral("o"));
        QCOMPARE(e.text(), QStringLiteral("Kovács Anna"));
        QCOMPARE(e.selectedText(), QStringLiteral("vács Anna"));
        QCOMPARE(e.cursorPosition(), 11);
        QCOMPARE(list.fieldByName(QStringLiteral("kar_id")).asString(), QStringLiteral("7"));
        QCOMPARE(e.Eredmeny, QStringLiteral("7"));

        // Lower case: the row is found, but no completion is added.
        e.clear();
        QTest::keyClicks(&e, QStringLiteral("nag"));
        QCOMPARE(e.text(), QStringLiteral("nag"));
        QCOMPARE(e.selectedText(), QString());
        QCOMPARE(e.Eredmeny, QStringLiteral("9"));

        // Backspace and the side arrows do not search; Eredmeny still follows the current row.
        list.first();
        e.setText(QStringLiteral("Kiss"));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("Kis"));
        QCOMPARE(list.fieldByName(QStringLiteral("kar_nev")).asString(), QStringLiteral("Alma"));
        QCOMPARE(e.Eredmeny, QStringLiteral("3"));
        // Accented letters search like any letter.
        e.clear();
        list.first();
        QTest::keyClicks(&e, QStringLiteral("Kov"));
        // (QTest types ASCII only: the key events of "á" are sent by hand.)
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Aacute, Qt::NoModifier, QStringLiteral("á"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Aacute, Qt::NoModifier, QStringLiteral("á"));
        QApplication::sendEvent(&e, &press);
        QApplication::sendEvent(&e, &release);
        QCOMPARE(e.text(), QStringLiteral("Kovács Anna"));
    }

    void lookupEditArrows()
    {
        Dataset list(&fx->conn(), QStringLiteral("SZURES"));
        list.setSql(QStringLiteral("Select * From kar Order By kar_nev"));
        list.open();
        TDBLookUpEdit e;
        e.DataSource = &list;
        e.FieldName = QStringLiteral("kar_nev");
        e.Azonosito = QStringLiteral("kar_id");
        e.show();
        QTest::keyClick(&e, Qt::Key_Down);
        QCOMPARE(e.text(), QStringLiteral("Kiss Béla"));
        QCOMPARE(e.Eredmeny, QStringLiteral("5"));
        QTest::keyClick(&e, Qt::Key_Up);
        QTest::keyClick(&e, Qt::Key_Up); // on the first row: stays
        QCOMPARE(e.text(), QStringLiteral("Alma"));
        QCOMPARE(list.recNo(), 1);
        list.last();
        QTest::keyClick(&e, Qt::Key_Down); // on the last row: stays
        QCOMPARE(e.text(), QStringLiteral("Nagy Éva"));
        QCOMPARE(list.recNo(), 4);

        // A closed dataset or a wrong id column: nothing happens, Eredmeny keeps its value.
        QCOMPARE(e.Eredmeny, QStringLiteral("9"));
        e.Azonosito = QStringLiteral("nincs");
        QTest::keyClicks(&e, QStringLiteral("A"));
        QCOMPARE(e.Eredmeny, QStringLiteral("9"));
        list.close();
        e.Azonosito = QStringLiteral("kar_id");
        QTest::keyClicks(&e, QStringLiteral("B"));
        QCOMPARE(e.Eredmeny, QStringLiteral("9"));
    }
};

QTEST_MAIN(TestLookups)
#include "test_lookups.moc"
