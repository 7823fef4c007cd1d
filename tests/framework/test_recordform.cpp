// The base record form: state machine, clearing and colouring, the required-field check in both
// write orders, the close question, shortcuts, the window opener, ReopenAndLocate, guarded handlers.

#include "Alap_Form_Unit.h"
#include "Controls.h"
#include "DBGrid.h"
#include "WindowTestBase.h"
#include "DbError.h"
#include "FrameworkTestKit.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"

#include <QFormLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QHeaderView>
#include <QTemporaryDir>

namespace {

template <class T>
T *named(QWidget *parent, const char *name, const char *keyword = nullptr)
{
    auto *w = new T(parent);
    w->setObjectName(QLatin1String(name));
    if (keyword)
        SetHelpKeyword(w, QString::fromUtf8(keyword));
    return w;
}

// A record window with one control of every kind. order 'a' writes after the base check,
// order 'b' before it; the log shows what ran.
class TestForm : public TAlap_Form {
public:
    explicit TestForm(QWidget *parent = nullptr) : TAlap_Form(parent)
    {
        setObjectName(QStringLiteral("form_Teszt"));
        auto *f = new QFormLayout(p_Adatok);
        f->addRow(QStringLiteral("Név"), e_nev = named<QLineEdit>(p_Adatok, "e_nev", "k_név"));
        f->addRow(QStringLiteral("Szabad"), e_szabad = named<QLineEdit>(p_Adatok, "e_szabad"));
        f->addRow(QStringLiteral("Tilos"), e_tilos = named<QLineEdit>(p_Adatok, "e_tilos", "t_azonosító"));
        f->addRow(QStringLiteral("Dátum"), me_datum = named<MaskEdit>(p_Adatok, "me_datum", "k_dátum"));
        f->addRow(QStringLiteral("Kód"), me_tilos = named<MaskEdit>(p_Adatok, "me_tilos", "t_kód"));
        f->addRow(QStringLiteral("Megjegyzés"), m_megj = named<QPlainTextEdit>(p_Adatok, "m_megj", "k_megjegyzés"));
        f->addRow(QStringLiteral("Kar"), vdc_kar = named<TVDCComboBox>(p_Adatok, "vdc_kar", "k_kar"));
        f->addRow(QString(), cb_jelolt = named<QCheckBox>(p_Adatok, "cb_jelolt", "k"));
        f->addRow(QStringLiteral("Nap"), dtp_nap = named<TDateTimePicker>(p_Adatok, "dtp_nap", "k_nap"));
        f->addRow(QStringLiteral("Ma"), dtp_ma = named<TDateTimePicker>(p_Adatok, "dtp_ma"));
        f->addRow(rg_mod = named<TRadioGroup>(p_Adatok, "rg_mod"));
        f->addRow(clb_lista = named<TCheckListBox>(p_Adatok, "clb_lista"));
        f->addRow(se_szam = named<QSpinBox>(p_Adatok, "se_szam"));
        f->addRow(dbg_lista = named<DBGrid>(p_Adatok, "dbg_lista"));
        me_datum->setEditMask(QStringLiteral("!9999/99/99/;1;_"));
        me_tilos->setEditMask(QStringLiteral("!9999/99/99/;1;_"));
        SetTag(dtp_nap, 36526);
        dtp_nap->setShowCheckBox(true);
        rg_mod->setItems({QStringLiteral("egy"), QStringLiteral("kettő")});
        clb_lista->addCheckItem(QStringLiteral("a"), true);
        clb_lista->addCheckItem(QStringLiteral("b"), true);
        dbg_lista->addColumn(QStringLiteral("kar_nev"), QStringLiteral("név"));
        vdc_kar->ADOQuery = &UPDATEQuery;
        vdc_kar->Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Order By NEV");
    }
    void FormShow() override
    {
        TAlap_Form::FormShow();
        vdc_kar->Feltoltes();
    }
    void bb_felveszClick() override
    {
        const int mode = int(EditMode);
        if (order == 'a') {
            TAlap_Form::bb_felveszClick();
            log << QStringLiteral("write %1").arg(mode);
        } else {
            log << QStringLiteral("write %1").arg(mode);
            TAlap_Form::bb_felveszClick();
            log << QStringLiteral("after");
        }
    }
    void bb_modositClick() override
    {
        TAlap_Form::bb_modositClick();
        if (failModify)
            throw DbError(QStringLiteral("Invalid column name 'x'."));
    }
    void fillRequired()
    {
        e_nev->setText(QStringLiteral("Teszt"));
        me_datum->setMaskedText(QStringLiteral("2024.03.06"));
        m_megj->setPlainText(QStringLiteral("megjegyzés"));
        vdc_kar->Ertek(QStringLiteral("1"));
    }
    QString buttons() const
    {
        QString s;
        for (QPushButton *b : {bb_felvesz, bb_uj, bb_modosit, bb_megsem, bb_torol})
            s += b->isEnabled() ? u'1' : u'0';
        return s;
    }

    QLineEdit *e_nev, *e_szabad, *e_tilos;
    MaskEdit *me_datum, *me_tilos;
    QPlainTextEdit *m_megj;
    TVDCComboBox *vdc_kar;
    QCheckBox *cb_jelolt;
    TDateTimePicker *dtp_nap, *dtp_ma;
    TRadioGroup *rg_mod;
    TCheckListBox *clb_lista;
    QSpinBox *se_szam;
    DBGrid *dbg_lista;
    char order = 'a';
    bool failModify = false;
    QStringList log;
};

TestForm *form_Teszt = nullptr;

} // namespace

class TestRecordForm : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<TestForm> shownForm()
    {
        auto w = std::make_unique<TestForm>();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return w;
    }

private Q_SLOTS:
    void init()
    {
        startFixture(QString::fromLatin1(MiniSchema));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into kar (kar_nev, kar_kod, kar_aktiv) values "
                                                               "('Gépészmérnöki', 'GK', 1), ('Közgazdasági', 'KG', 0)"));
    }
    void cleanup()
    {
        stopFixture();
    }

    void stateTable_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("buttons"); // Felvesz Új Módosít Mégsem Töröl
        QTest::newRow("shown") << "" << 0 << "01100";
        QTest::newRow("Új") << "uj" << 1 << "10011";
        QTest::newRow("Módosít") << "modosit" << 2 << "10011";
        QTest::newRow("Új, Mégsem") << "uj megsem" << 0 << "01100";
        QTest::newRow("Módosít, Töröl") << "modosit torol" << 0 << "01100";
        QTest::newRow("Új, Felvesz (filled)") << "uj fill felvesz" << 0 << "01100";
        QTest::newRow("Új, Felvesz (missing)") << "uj felvesz" << 1 << "10011";
        QTest::newRow("Töröl in browse is off") << "torol" << 0 << "01100";
        QTest::newRow("Új twice is off") << "uj uj" << 1 << "10011";
    }
    void stateTable()
    {
        QFETCH(QString, actions);
        QFETCH(int, mode);
        QFETCH(QString, buttons);
        auto w = shownForm();
        for (const QString &a : actions.split(u' ', Qt::SkipEmptyParts)) {
            if (a == u"fill")
                w->fillRequired();
            else
                w->findChild<QPushButton *>(QStringLiteral("bb_") + a)->click();
        }
        QCOMPARE(int(EditMode), mode);
        QCOMPARE(w->buttons(), buttons);
    }

    void clearingByState()
    {
        auto w = shownForm();
        auto fillAll = [&] {
            w->fillRequired();
            w->e_szabad->setText(QStringLiteral("x"));
            w->me_datum->setMaskedText(QStringLiteral("2024.03.05"));
            w->cb_jelolt->setChecked(true);
            w->dtp_nap->setDate(QDate(2021, 6, 1));
            w->dtp_nap->setChecked(true);
            w->dtp_ma->setDate(QDate(2021, 6, 1));
            w->rg_mod->setItemIndex(1);
            w->clb_lista->setChecked(0, true);
            w->se_szam->setValue(5);
            w->dbg_lista->setTitle(0, QStringLiteral("név <"));
            w->dbg_lista->setTitleColor(0, colors::Yellow);
        };
        // Módosít + Mégsem keeps the fields.
        fillAll();
        w->bb_modosit->click();
        w->bb_megsem->click();
        QCOMPARE(w->e_nev->text(), QStringLiteral("Teszt"));
        QCOMPARE(w->me_datum->maskedText(), QStringLiteral("2024.03.05."));
        QCOMPARE(w->dbg_lista->column(0).title, QStringLiteral("név <"));

        // Új clears every kind as its rule says.
        w->bb_uj->click();
        QCOMPARE(w->e_nev->text(), QString());
        QCOMPARE(w->e_szabad->text(), QString());
        QCOMPARE(w->me_datum->maskedText(), QStringLiteral("    .  .  ."));
        QCOMPARE(w->m_megj->toPlainText(), QString());
        QCOMPARE(w->vdc_kar->currentIndex(), -1);
        QCOMPARE(w->vdc_kar->currentText(), QString());
        QCOMPARE(w->vdc_kar->Eredmeny(), QStringLiteral("null"));
        QVERIFY(!w->cb_jelolt->isChecked());
        QCOMPARE(w->dtp_nap->date(), QDate(2000, 1, 1)); // tag 36526
        QVERIFY(!w->dtp_nap->isChecked());
        QCOMPARE(w->dtp_ma->date(), QDate::currentDate()); // tag 0
        QCOMPARE(w->rg_mod->itemIndex(), -1);
        QVERIFY(!w->clb_lista->isChecked(0) && !w->clb_lista->isChecked(1));
        QCOMPARE(w->se_szam->value(), 5); // not a cleared kind
        QCOMPARE(w->dbg_lista->column(0).title, QStringLiteral("név"));
        QCOMPARE(w->dbg_lista->column(0).titleColor, colors::MoneyGreen);

        // Új + Mégsem clears; Töröl clears; Felvesz keeps.
        fillAll();
        w->bb_megsem->click();
        QCOMPARE(w->e_nev->text(), QString());
        w->bb_modosit->click();
        fillAll();
        w->bb_torol->click();
        QCOMPARE(w->e_szabad->text(), QString());
        w->bb_modosit->click();
        fillAll();
        w->bb_felvesz->click();
        QCOMPARE(w->e_szabad->text(), QStringLiteral("x"));
    }

    void colouringByState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("plain");
        QTest::addColumn<QColor>("required");
        QTest::addColumn<QColor>("never");
        QTest::addColumn<bool>("writable");
        QTest::newRow("browse") << 0 << colors::Browse << colors::Browse << colors::Browse << false;
        QTest::newRow("new") << 1 << colors::NewRecord << colors::Required << colors::NeverEditable << true;
        QTest::newRow("modify") << 2 << colors::Modify << colors::Required << colors::NeverEditable << true;
        QTest::newRow("filter") << 22 << colors::MoneyGreen << colors::Required << colors::NeverEditable << true;
    }
    void colouringByState()
    {
        QFETCH(int, state);
        QFETCH(QColor, plain);
        QFETCH(QColor, required);
        QFETCH(QColor, never);
        QFETCH(bool, writable);
        TestForm w;
        const QColor checkBoxBefore = ControlColor(w.cb_jelolt);
        SetEditState(&w, state);
        QCOMPARE(ControlColor(w.e_szabad), plain);
        QCOMPARE(w.e_szabad->isReadOnly(), !writable);
        QCOMPARE(ControlColor(w.e_nev), required);
        QCOMPARE(w.e_nev->isReadOnly(), !writable);
        QCOMPARE(ControlColor(w.e_tilos), never);
        QVERIFY(w.e_tilos->isReadOnly()); // never editable, in every state
        QCOMPARE(ControlColor(w.me_datum), required);
        QCOMPARE(w.me_datum->isReadOnly(), !writable);
        QCOMPARE(ControlColor(w.m_megj), required);
        QCOMPARE(w.m_megj->isReadOnly(), !writable);
        QCOMPARE(ControlColor(w.vdc_kar), required);
        QVERIFY(w.vdc_kar->isEnabled());
        QCOMPARE(ControlColor(w.dbg_lista), plain);
        QCOMPARE(w.clb_lista->isEnabled(), writable);
        QCOMPARE(ControlColor(w.cb_jelolt), checkBoxBefore); // check boxes are not coloured
        QVERIFY(w.cb_jelolt->isEnabled());
    }

    void neverEditableMaskKeepsItsColour()
    {
        // Mask edits, memos and the like keep the never-editable colour once they have it.
        TestForm w;
        SetEditState(&w, 1);
        QCOMPARE(ControlColor(w.me_tilos), colors::NeverEditable);
        QVERIFY(!w.me_tilos->isReadOnly());
        SetEditState(&w, 0);
        QCOMPARE(ControlColor(w.me_tilos), colors::NeverEditable);
        QVERIFY(w.me_tilos->isReadOnly());
        QCOMPARE(ControlColor(w.e_tilos), colors::Browse); // an edit box takes the browse colour
    }

    void requiredFieldBothOrders_data()
    {
        QTest::addColumn<char>("order");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("base first: nothing written") << 'a' << QStringList();
        QTest::newRow("write first: written, rest skipped") << 'b' << QStringList{"write 1"};
    }
    void requiredFieldBothOrders()
    {
        QFETCH(char, order);
        QFETCH(QStringList, log);
        auto w = shownForm();
        w->order = order;
        w->bb_uj->click();
        w->m_megj->setPlainText(QStringLiteral("x"));
        w->me_datum->setMaskedText(QStringLiteral("2024.03.06"));
        w->vdc_kar->Ertek(QStringLiteral("2"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"A(z) név megadása kötelező!"});
        QCOMPARE(MissingFieldLabel, QStringLiteral("név "));
        QCOMPARE(w->log, log);
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(w->buttons(), QStringLiteral("10011"));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_nev));

        // Filled: the whole handler runs and the window browses.
        w->e_nev->setText(QStringLiteral("Teszt"));
        w->log.clear();
        w->bb_felvesz->click();
        QCOMPARE(w->log, order == 'a' ? QStringList{"write 1"} : QStringList({"write 1", "after"}));
        QCOMPARE(EditMode, EditState::Browse);
    }

    void requiredFieldRules()
    {
        TestForm w;
        w.vdc_kar->ADOQuery = &w.UPDATEQuery;
        w.vdc_kar->Feltoltes();
        // Creation order decides; the memo is the next one; the keyword text names it.
        MissingField m = FindMissingRequired(&w);
        QCOMPARE(m.control, static_cast<QWidget *>(w.e_nev));
        w.e_nev->setText(QStringLiteral("x"));
        // A mask edit holding nothing but its mask is empty; the never-editable one is not required.
        m = FindMissingRequired(&w);
        QCOMPARE(m.control, static_cast<QWidget *>(w.me_datum));
        QCOMPARE(m.name, QStringLiteral("dátum "));
        w.me_datum->setMaskedText(QStringLiteral("2024.0"));
        m = FindMissingRequired(&w);
        QCOMPARE(m.control, static_cast<QWidget *>(w.m_megj));
        QCOMPARE(m.name, QStringLiteral("megjegyzés "));
        w.m_megj->setPlainText(QStringLiteral("x"));
        // An empty lookup combo without an item of id 0 is missing ...
        m = FindMissingRequired(&w);
        QCOMPARE(m.control, static_cast<QWidget *>(w.vdc_kar));
        // ... with one it silently takes that item. Check boxes and date pickers (both marked
        // required here) are never missing.
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into kar (kar_id, kar_nev) values (0, '(nincs)')"));
        w.vdc_kar->Feltoltes();
        m = FindMissingRequired(&w);
        QVERIFY(!m.control);
        QCOMPARE(w.vdc_kar->Eredmeny(), QStringLiteral("0"));
        QCOMPARE(w.vdc_kar->currentText(), QStringLiteral("(nincs)"));

        // The message trims blanks and tabs of a keyword with inner blanks.
        auto f = shownForm();
        SetHelpKeyword(f->e_szabad, QStringLiteral("k_Neptun név\t"));
        f->fillRequired();
        f->bb_uj->click();
        f->fillRequired();
        f->bb_felvesz->click();
        QCOMPARE(msg->shown.value(0), QStringLiteral("A(z) Neptun név megadása kötelező!"));
    }

    // A disabled bar button is drawn grey, not in the green of an enabled one.
    void disabledButtonsLookDisabled()
    {
        auto w = shownForm();
        QVERIFY(!w->bb_felvesz->isEnabled());
        QVERIFY(w->bb_uj->isEnabled());
        const QColor green(0, 128, 0);
        QCOMPARE(w->bb_uj->palette().color(QPalette::Active, QPalette::ButtonText), green);
        QVERIFY(w->bb_felvesz->palette().color(QPalette::Disabled, QPalette::ButtonText) != green);
        // What is drawn: green caption pixels on the enabled button only.
        const auto greenPixels = [&](QWidget *b) {
            const QImage img = b->grab().toImage();
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QColor c = img.pixelColor(x, y);
                    n += c.green() > 90 && c.red() < 60 && c.blue() < 60;
                }
            return n;
        };
        QVERIFY(greenPixels(w->bb_uj) > 10);
        QCOMPARE(greenPixels(w->bb_felvesz), 0);
        QCOMPARE(greenPixels(w->bb_megsem), 0);
        w->bb_uj->click();
        QVERIFY(greenPixels(w->bb_felvesz) > 10);
        QCOMPARE(greenPixels(w->bb_uj), 0);
    }

    // Every date mask edit is checked before the window's handler runs, in both handler orders.
    void datesCheckedBeforeWriting_data()
    {
        QTest::addColumn<char>("order");
        QTest::newRow("base first") << 'a';
        QTest::newRow("write first") << 'b';
    }
    void datesCheckedBeforeWriting()
    {
        QFETCH(char, order);
        auto w = shownForm();
        w->order = order;
        w->bb_uj->click();
        w->fillRequired();
        w->me_datum->setMaskedText(QStringLiteral("2024.02.30"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"Rossz dátum!"});
        QCOMPARE(w->log, QStringList());
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->me_datum));
        QCOMPARE(w->me_datum->maskedText(), QStringLiteral("2024.02.30."));
        // Ctrl+S goes the same way.
        QTest::keyClick(w->e_szabad, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(msg->shown.size(), 2);
        QCOMPARE(w->log, QStringList());
        // The never-editable date mask is checked too when it holds something.
        w->me_datum->setMaskedText(QStringLiteral("2024.02.29"));
        w->me_tilos->setMaskedText(QStringLiteral("2024.1"));
        w->bb_felvesz->click();
        QCOMPARE(msg->shown.size(), 3);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->me_tilos));
        w->me_tilos->clearMasked();
        w->bb_felvesz->click();
        QCOMPARE(w->log.value(0), QStringLiteral("write 1"));
        QCOMPARE(EditMode, EditState::Browse);
    }

    void unsavedDataQuestion()
    {
        auto w = shownForm();
        w->bb_uj->click();
        // "Nem": the window stays, and so does the edit state.
        msg->answers << false;
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(msg->asked, QStringList{"Elmentetlen adatok vannak az ablakon. Mégis kilépsz?"});
        QCOMPARE(EditMode, EditState::New);
        // Esc is the exit button; "Igen" closes and ends the edit.
        OpenPositioned = 1;
        msg->answers << false;
        QTest::keyClick(w->e_szabad, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QCOMPARE(OpenPositioned, 1);
        msg->answers << true;
        QTest::keyClick(w->e_szabad, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(EditMode, EditState::Browse);
        QCOMPARE(OpenPositioned, 0);
        QCOMPARE(msg->asked.size(), 3);

        // Browsing: no question.
        auto b = shownForm();
        QVERIFY(b->close());
        QCOMPARE(msg->asked.size(), 3);
    }

    void shortcuts()
    {
        ScriptedFileChooser files;
        QTemporaryDir dir;
        auto w = shownForm();
        // Ctrl+S runs the Felvesz handler even in browse, where it stores nothing.
        w->fillRequired();
        QVERIFY(!w->bb_felvesz->isEnabled());
        QTest::keyClick(w->e_szabad, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w->log, QStringList{"write 0"});
        w->bb_uj->click();
        w->fillRequired();
        QTest::keyClick(w->e_szabad, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w->log, QStringList({"write 0", "write 1"}));
        QCOMPARE(EditMode, EditState::Browse);

        // Enter moves on from edits and mask edits; memos keep Enter for new lines.
        w->bb_modosit->click();
        w->e_nev->setFocus();
        QTest::keyClick(w->e_nev, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->e_szabad));
        w->me_datum->setFocus();
        QTest::keyClick(w->me_datum, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->me_tilos));
        w->m_megj->setFocus();
        w->m_megj->moveCursor(QTextCursor::End);
        QTest::keyClick(w->m_megj, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->m_megj));
        QCOMPARE(w->m_megj->toPlainText(), QStringLiteral("megjegyzés\n"));
        QCOMPARE(w->log.size(), 2); // Enter never pressed a button

        // Delete empties a combo box.
        w->vdc_kar->setFocus();
        QCOMPARE(w->vdc_kar->Eredmeny(), QStringLiteral("1"));
        QTest::keyClick(w->vdc_kar, Qt::Key_Delete);
        QCOMPARE(w->vdc_kar->Eredmeny(), QStringLiteral("null"));
        QCOMPARE(w->vdc_kar->currentText(), QString());

        // Ctrl+Shift+F7 saves the fields (".ael" added), Ctrl+Shift+F8 loads them back.
        w->e_szabad->setText(QStringLiteral("mentett"));
        files.saveAnswers << dir.filePath(QStringLiteral("ablak"));
        QTest::keyClick(w->e_szabad, Qt::Key_F7, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ablak.ael"))));
        QCOMPARE(files.filters, QStringList{"Ablak mentések|*.ael"});
        w->e_szabad->setText(QStringLiteral("más"));
        files.openAnswers << dir.filePath(QStringLiteral("ablak.ael"));
        QTest::keyClick(w->e_szabad, Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->e_szabad->text(), QStringLiteral("mentett"));
    }

    // The list over SZURES: Tab leaves it, the arrows move in it while browsing; while editing,
    // keys, clicks and title clicks keep its row. A window that frees its list keeps the arrows.
    void listDuringEdit_data()
    {
        QTest::addColumn<bool>("freed");
        QTest::newRow("locked while editing") << false;
        QTest::newRow("freed by the window") << true;
    }
    void listDuringEdit()
    {
        QFETCH(bool, freed);
        TestForm w;
        w.dbg_lista->setDataset(&w.SZURES);
        if (freed)
            KeepListFreeWhileEditing(w.dbg_lista);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.SZURES.setSql(QStringLiteral("Select kar_id, kar_nev From kar Order By kar_nev"));
        w.SZURES.open();
        QCOMPARE(w.SZURES.recordCount(), 2);
        QSignalSpy titles(w.dbg_lista, &DBGrid::titleClicked);
        w.dbg_lista->setFocus();
        QTest::keyClick(w.dbg_lista, Qt::Key_Down);
        QCOMPARE(w.SZURES.recNo(), 2);
        QTest::keyClick(w.dbg_lista, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != w.dbg_lista);
        QCOMPARE(w.SZURES.recNo(), 2);
        w.dbg_lista->setFocus();
        QTest::keyClick(w.dbg_lista, Qt::Key_Backtab);
        QVERIFY(QApplication::focusWidget() != w.dbg_lista);

        w.bb_modosit->click();
        w.dbg_lista->setFocus();
        QTest::keyClick(w.dbg_lista, Qt::Key_Up);
        QTest::keyClick(w.dbg_lista, Qt::Key_Home, Qt::ControlModifier);
        const QRect first = w.dbg_lista->visualRect(w.dbg_lista->model()->index(0, 0));
        QTest::mouseClick(w.dbg_lista->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(w.SZURES.recNo(), freed ? 1 : 2);
        QTest::mouseClick(w.dbg_lista->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(titles.size(), freed ? 1 : 0);

        w.bb_megsem->click();
        w.dbg_lista->setFocus();
        QTest::keyClick(w.dbg_lista, freed ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(w.SZURES.recNo(), freed ? 2 : 1);
        QTest::mouseClick(w.dbg_lista->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(titles.size(), freed ? 2 : 1);
    }

    void openerRefusesDuringEdit()
    {
        EditMode = EditState::Modify;
        QPointer<QDialog> d = new QDialog;
        QCOMPARE(OpenWindow(d.data()), -1);
        QVERIFY(d.isNull()); // destroyed, never shown
        QCOMPARE(OpenWindow(form_Teszt), -1);
        QVERIFY(!form_Teszt);
        RegisterWindow(QStringLiteral("form_Teszt"), [](QWidget *p) -> QDialog * { return new TestForm(p); });
        QCOMPARE(OpenRegisteredWindow(QStringLiteral("form_Teszt")), -1);
        QCOMPARE(msg->shown, QStringList(3, QStringLiteral("Zárja le az adatfelvitelt!")));
    }

    void openerRemembersPosition()
    {
        QPoint seen;
        bool variableSet = false;
        WhenModalShown([&](QWidget *m) {
            variableSet = form_Teszt == m;
            seen = m->pos();
            m->move(123, 77);
            m->resize(720, 780);
            m->findChild<QPushButton *>(QStringLiteral("bb_kilepes"))->click();
        });
        QCOMPARE(OpenWindow(form_Teszt), int(QDialog::Accepted));
        QVERIFY(variableSet);
        QVERIFY(!form_Teszt);
        auto s = UserSettings();
        s->beginGroup(QStringLiteral("Software/KOVRA/Ablakok/form_Teszt"));
        QCOMPARE(s->value(QStringLiteral("Left")).toInt(), 123);
        QCOMPARE(s->value(QStringLiteral("Top")).toInt(), 77);
        QCOMPARE(s->value(QStringLiteral("Width")).toInt(), 720);

        QRect again;
        WhenModalShown([&](QWidget *m) {
            again = QRect(m->pos(), m->size());
            m->close();
        });
        OpenWindow(form_Teszt);
        QCOMPARE(again.size(), QSize(720, 780));
        QCOMPARE(again.topLeft(), QPoint(123, 77));
        QVERIFY(seen != QPoint(123, 77)); // the first opening was centred

        // A hand-edited value that is no usable number: the designed placement.
        UserSettings()->setValue(QStringLiteral("Software/KOVRA/Ablakok/form_Teszt/Top"), QStringLiteral("sok"));
        WhenModalShown([&](QWidget *m) {
            again = QRect(m->pos(), m->size());
            m->close();
        });
        OpenWindow(form_Teszt);
        QCOMPARE(again.topLeft(), seen);
    }

    void reopenAndLocate()
    {
        for (int i = 1; i <= 9; ++i)
            fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into felev (felev_nev) values ('f%1')").arg(i));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("delete from felev where felev_id in (4, 6, 8, 9)"));
        Dataset q(&fx->conn(), QStringLiteral("SZURES"));
        q.setSql(QStringLiteral("Select * From felev"));
        // Empty id: nothing reopened.
        QCOMPARE(ReopenAndLocate(q, QString(), QStringLiteral("felev_id")), QString());
        QVERIFY(!q.isActive());
        struct Case {
            const char *id;
            const char *row;
        };
        for (const Case c : {Case{"3", "3"}, Case{"4", "5"}, Case{"6", "7"}, Case{"8", "7"}, Case{"20", "1"}}) {
            q.last();
            QCOMPARE(ReopenAndLocate(q, QLatin1String(c.id), QStringLiteral("felev_id")), QLatin1String(c.id));
            QVERIFY(q.isActive());
            QCOMPARE(q.fieldByName(QStringLiteral("felev_id")).asString(), QLatin1String(c.row));
        }
        // Partial keys do not apply: 1 is not found as 10.
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into felev (felev_id, felev_nev) values (10, 'x')"));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("delete from felev where felev_id in (1, 2)"));
        ReopenAndLocate(q, QStringLiteral("1"), QStringLiteral("felev_id"));
        QCOMPARE(q.fieldByName(QStringLiteral("felev_id")).asString(), QStringLiteral("3"));
        QVERIFY_THROWS_EXCEPTION(KovraError, ReopenAndLocate(q, QStringLiteral("x1"), QStringLiteral("felev_id")));
    }

    void maskEdits_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("date, empty") << "!9999/99/99/;1;_" << "" << "    .  .  .";
        QTest::newRow("date") << "!9999/99/99/;1;_" << "20160901" << "2016.09.01.";
        QTest::newRow("date, half typed") << "!9999/99/99/;1;_" << "2016" << "2016.  .  .";
        QTest::newRow("time, empty") << "90:00;1;_" << "" << "  :  ";
        QTest::newRow("time") << "90:00;1;_" << "0815" << "08:15";
        QTest::newRow("literals not kept") << "00:00;0;_" << "1230" << "1230";
    }
    void maskEdits()
    {
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        MaskEdit e(mask);
        e.show();
        e.setFocus();
        e.home(false);
        QTest::keyClicks(&e, typed);
        QCOMPARE(e.maskedText(), text);
        // The text read back is the text set.
        MaskEdit f(mask);
        f.setMaskedText(text);
        QCOMPARE(f.maskedText(), text);
    }

    void scrollMemoToLine()
    {
        QPlainTextEdit m;
        QStringList lines;
        for (int i = 0; i < 60; ++i)
            lines << QStringLiteral("sor %1").arg(i);
        m.setPlainText(lines.join(u'\n'));
        m.resize(200, 100);
        m.show();
        QVERIFY(ScrollMemoToLine(&m, 40));
        QCOMPARE(m.textCursor().blockNumber(), 40);
        QCOMPARE(m.textCursor().positionInBlock(), 0);
        QVERIFY(m.verticalScrollBar()->value() > 0);
        QVERIFY(ScrollMemoToLine(&m, 500)); // past the end: the last line
        QCOMPARE(m.textCursor().blockNumber(), 59);
    }

    void handlerErrorsReachErrorHandling()
    {
        RecordedErrors errors;
        auto w = shownForm();
        w->failModify = true;
        w->bb_modosit->click();
        QCOMPARE(errors.texts, QStringList{"Invalid column name 'x'."});
        QCOMPARE(EditMode, EditState::Modify); // what ran before the failure stays done
        QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(TestRecordForm)
#include "test_recordform.moc"
