#include "form_Felhasznalo_Unit.h"

#include "Controls.h"
#include "Crc32.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "DbError.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OpenWindow.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tform_Felhasznalo *form_Felhasznalo = nullptr;

namespace {
const QString KeyField = QStringLiteral("felh_id");
const QString TeacherRole = QStringLiteral("3");
const QString StudentRole = QStringLiteral("5");
} // namespace

QString Tform_Felhasznalo::ListStatement(int activity)
{
    QString condition;
    if (activity == 1)
        condition = QStringLiteral("Where a.felh_aktiv=1 ");
    else if (activity == 2)
        condition = QStringLiteral("Where a.felh_aktiv=0 ");
    return QStringLiteral("Select a.*, (Select x.szerep_nev From szerepkor x Where x.szerep_id=a.szerep_id) as szerepkor, "
                          "(Select x.kar_nev From kar x Where x.kar_id=a.kar_id) as kar, "
                          "(Case When a.felh_aktiv = 1 Then 'ü' Else 'ű' End) as aktiv From felhasznalo a ")
           + condition + QStringLiteral("Order By a.felh_nev");
}

Tform_Felhasznalo::Tform_Felhasznalo(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_Felhasznalo"));
    setWindowTitle(QStringLiteral("Felhasználók"));
    resize(760, 540);

    // Search panel above the list.
    p_kereso = new QFrame(p_Adatok);
    p_kereso->setObjectName(QStringLiteral("p_kereso"));
    auto *searchLabel = new QLabel(QStringLiteral("Keresett belépő név"), p_kereso);
    dbl_nev = new TDBLookUpEdit(p_kereso);
    dbl_nev->setObjectName(QStringLiteral("dbl_nev"));
    dbl_nev->DataSource = &SZURES;
    dbl_nev->FieldName = QStringLiteral("felh_nev");
    dbl_nev->Azonosito = KeyField;
    searchLabel->setBuddy(dbl_nev);
    bb_felttorol = GlyphButton(p_kereso, "bb_felttorol", QStringLiteral("Feltételek törlése"), QStyle::SP_DialogResetButton);
    bb_felttorol->setAccessibleName(bb_felttorol->toolTip());
    rg_aktiv = new TRadioGroup(p_kereso);
    rg_aktiv->setObjectName(QStringLiteral("rg_aktiv"));
    rg_aktiv->setAccessibleName(QStringLiteral("Aktivitás"));
    rg_aktiv->setItems({QStringLiteral("mind"), QStringLiteral("aktív"), QStringLiteral("inaktív")}, 3);
    auto *search = new QHBoxLayout(p_kereso);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(searchLabel);
    search->addWidget(dbl_nev, 1);
    search->addWidget(bb_felttorol);
    search->addSpacing(12);
    search->addWidget(rg_aktiv);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setAccessibleName(QStringLiteral("Felhasználók"));
    dbg_lista->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("felh_nev"), QStringLiteral("belépő"), true, 110);
    GridColumn &active = dbg_lista->addColumn(QStringLiteral("aktiv"), QStringLiteral("aktiv"), true, 45);
    active.alignment = Qt::AlignCenter;
    active.symbolFont = true;
    dbg_lista->addColumn(QStringLiteral("felh_email"), QStringLiteral("e-mail"), true, 170);
    dbg_lista->addColumn(QStringLiteral("szerepkor"), QStringLiteral("szerepkör"), true, 130);
    dbg_lista->addColumn(QStringLiteral("felh_teljes"), QStringLiteral("név"), true, 170);
    dbg_lista->addColumn(QStringLiteral("kar"), QStringLiteral("kar"), true, 170);
    WireGridServices(dbg_lista);

    // Creation order is the order of the required-field check.
    e_nev = new QLineEdit(p_Adatok);
    e_nev->setObjectName(QStringLiteral("e_nev"));
    SetHelpKeyword(e_nev, QStringLiteral("k_belépő név"));
    e_teljes = new QLineEdit(p_Adatok);
    e_teljes->setObjectName(QStringLiteral("e_teljes"));
    vdc_szerepkor = new TVDCComboBox(p_Adatok);
    vdc_szerepkor->setObjectName(QStringLiteral("vdc_szerepkor"));
    vdc_szerepkor->ADOQuery = &UPDATEQuery;
    vdc_szerepkor->Lekerdezes = QStringLiteral("Select szerep_id as ID, szerep_nev as NEV From szerepkor Order By ID");
    SetHelpKeyword(vdc_szerepkor, QStringLiteral("k_szerepkör"));
    vdc_kar = new TVDCComboBox(p_Adatok);
    vdc_kar->setObjectName(QStringLiteral("vdc_kar"));
    vdc_kar->ADOQuery = &UPDATEQuery;
    vdc_kar->Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV");
    SetHelpKeyword(vdc_kar, QStringLiteral("k_félév"));
    e_jelszo = new QLineEdit(p_Adatok);
    e_jelszo->setObjectName(QStringLiteral("e_jelszo"));
    e_jelszo->setEchoMode(QLineEdit::Password);
    cb_aktiv = new QCheckBox(QStringLiteral("Aktív?"), p_Adatok);
    cb_aktiv->setObjectName(QStringLiteral("cb_aktiv"));
    e_mail = new QLineEdit(p_Adatok);
    e_mail->setObjectName(QStringLiteral("e_mail"));

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Belépő név"), e_nev);
    AddLabelledField(fields, 0, 2, QStringLiteral("Név"), e_teljes);
    AddLabelledField(fields, 1, 0, QStringLiteral("Szerepkör"), vdc_szerepkor);
    AddLabelledField(fields, 1, 2, QStringLiteral("Kar"), vdc_kar);
    AddLabelledField(fields, 2, 0, QStringLiteral("Jelszó"), e_jelszo);
    AddLabelledField(fields, 2, 2, QStringLiteral("E-mail"), e_mail);
    fields->addWidget(cb_aktiv, 3, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(p_kereso);
    layout->addWidget(dbg_lista, 1);
    layout->addLayout(fields);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Felhasznalo::SZURESAfterScroll);
    ConnectGuarded(rg_aktiv, &TRadioGroup::itemClicked, this, [this](int index) { rg_aktivClick(index); });
    ConnectGuarded(bb_felttorol, &QPushButton::clicked, this, [this] { dbl_nev->setReadOnly(false); });
}

Tform_Felhasznalo::~Tform_Felhasznalo()
{
    if (form_Felhasznalo == this)
        form_Felhasznalo = nullptr;
}

void Tform_Felhasznalo::showSearch()
{
    p_kereso->show();
    dbl_nev->setReadOnly(false);
}

void Tform_Felhasznalo::FormShow()
{
    TAlap_Form::FormShow();
    LoadGridLayout(dbg_lista);
    vdc_szerepkor->Feltoltes();
    vdc_kar->Feltoltes();
    SZURES.setSql(ListStatement(0));
    SZURES.open();
    showSearch();
    dbl_nev->setFocus();
}

bool Tform_Felhasznalo::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    return true;
}

void Tform_Felhasznalo::rg_aktivClick(int index)
{
    SZURES.close();
    SZURES.setSql(ListStatement(index));
    SZURES.open();
}

void Tform_Felhasznalo::SZURESAfterScroll()
{
    // While a new record is entered, moving the list leaves the typed fields and the current id.
    if (EditMode == EditState::New)
        return;
    e_jelszo->clear(); // a password typed for one account is never saved for another
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        CurrentUserId.clear();
        for (QLineEdit *e : {e_nev, e_teljes, e_mail})
            e->clear();
        vdc_szerepkor->clearChoice();
        vdc_kar->clearChoice();
        cb_aktiv->setChecked(false);
        return;
    }
    CurrentUserId = SZURES.fieldByName(KeyField).asString();
    e_nev->setText(SZURES.fieldByName(QStringLiteral("felh_nev")).asString());
    vdc_szerepkor->Ertek(SZURES.fieldByName(QStringLiteral("szerep_id")).asString());
    vdc_kar->Ertek(SZURES.fieldByName(QStringLiteral("kar_id")).asString());
    cb_aktiv->setChecked(SZURES.fieldByName(QStringLiteral("felh_aktiv")).asBoolean());
    e_teljes->setText(SZURES.fieldByName(QStringLiteral("felh_teljes")).asString());
    e_mail->setText(SZURES.fieldByName(QStringLiteral("felh_email")).asString());
}

bool Tform_Felhasznalo::loginNameTaken(const QString &name, const QString &ownId)
{
    if (name.trimmed().isEmpty())
        return false;
    QString sql = QStringLiteral("Select Count(*) as DB From felhasznalo Where felh_nev='") + SqlQuoted(name.trimmed())
                  + u'\'';
    if (!ownId.isEmpty())
        sql += QStringLiteral(" and felh_id<>") + SqlId(ownId);
    if (FirstValue(UPDATEQuery, sql, QStringLiteral("DB")).toInt() == 0)
        return false;
    InfoBox(QStringLiteral("A(z) ") + name.trimmed() + QStringLiteral(" belépő név már foglalt!"));
    e_nev->setFocus();
    return true;
}

void Tform_Felhasznalo::bb_felveszClick()
{
    const QString password = e_jelszo->text();
    const QString stored = password.isEmpty() ? QString() : QString::number(PasswordHash(password));
    EditState mode = EditMode;
    if (mode == EditState::Modify && CurrentUserId.isEmpty())
        mode = EditState::Browse; // an empty list: no account to change
    // Two accounts with one login name could not be told apart at the login.
    if (mode != EditState::Browse && loginNameTaken(e_nev->text(), mode == EditState::Modify ? CurrentUserId : QString()))
        return;
    TAlap_Form::bb_felveszClick(); // an empty required field ends the click here
    QStringList fields{
        QStringLiteral("felh_nev=") + e_nev->text(),
        QStringLiteral("szerep_id=") + vdc_szerepkor->Eredmeny(),
        QStringLiteral("kar_id=") + vdc_kar->Eredmeny(),
        QStringLiteral("felh_aktiv=") + (cb_aktiv->isChecked() ? QStringLiteral("1") : QStringLiteral("0")),
    };
    if (!stored.isEmpty())
        fields << QStringLiteral("felh_jelszo=") + stored;
    fields << QStringLiteral("felh_teljes=") + e_teljes->text() << QStringLiteral("felh_email=") + e_mail->text();
    if (mode == EditState::New) {
        QString newId;
        InsertRecord(QStringLiteral("Felhasznalo"), fields, true, newId);
        CurrentUserId = newId;
        const QString role = vdc_szerepkor->Eredmeny();
        if (role == StudentRole)
            OpenRegisteredWindow(QStringLiteral("form_Hallgatok"), this);
        else if (role == TeacherRole)
            OpenRegisteredWindow(QStringLiteral("form_Oktatok"), this);
        CurrentUserId = newId; // the window opened may have moved it
    } else if (mode == EditState::Modify) {
        UpdateRecord(QStringLiteral("Felhasznalo"), fields, QStringLiteral("felh_id=") + SqlId(CurrentUserId));
    }
    showSearch();
    ReopenAndLocate(SZURES, CurrentUserId, KeyField);
}

void Tform_Felhasznalo::bb_ujClick()
{
    TAlap_Form::bb_ujClick();
    p_kereso->hide();
    e_nev->setFocus();
}

void Tform_Felhasznalo::bb_modositClick()
{
    TAlap_Form::bb_modositClick();
    p_kereso->hide();
    e_nev->setFocus();
}

void Tform_Felhasznalo::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    showSearch();
    ReopenAndLocate(SZURES, CurrentUserId, KeyField);
}

void Tform_Felhasznalo::bb_torolClick()
{
    // A new account not yet saved is only discarded: the row current before "Új" is not the one
    // on the screen.
    const bool wasNew = EditMode == EditState::New;
    TAlap_Form::bb_torolClick();
    if (!wasNew && SZURES.isActive() && !SZURES.isEmpty() && !CurrentUserId.isEmpty()
        && ConfirmBox(QStringLiteral("Biztos törli a felhasználót?"))) {
        try {
            DeleteRecord(QStringLiteral("felhasznalo"), QStringLiteral("felh_id=") + SqlId(CurrentUserId));
        } catch (const DbError &) {
            InfoBox(QStringLiteral("A felhasználó adatkapcsolatok miatt nem törölhető!"));
        }
    }
    showSearch();
    ReopenAndLocate(SZURES, CurrentUserId, KeyField);
}
