#include "form_Felev_Unit.h"

#include "Calendar.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "LoginInfo.h"
#include "RecordOperations.h"
#include "form_GridMezok_Unit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

Tform_Felev *form_Felev = nullptr;

namespace {
const QString DateMask = QStringLiteral("!9999/99/99/;1;_");
}

Tform_Felev::Tform_Felev(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_Felev"));
    setWindowTitle(QStringLiteral("Félévek kezelése"));
    resize(640, 440);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Félévek"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("felev_id"), QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("felev_nev"), QStringLiteral("név"), true, 200);
    dbg_lista->addColumn(QStringLiteral("felev_neptun"), QStringLiteral("Neptun"), true, 100).alignment = Qt::AlignCenter;
    dbg_lista->addColumn(QStringLiteral("felev_datumtol"), QStringLiteral("mettől"), true, 100);
    dbg_lista->addColumn(QStringLiteral("felev_datumig"), QStringLiteral("meddig"), true, 100);
    WireGridServices(dbg_lista);

    e_nev = new QLineEdit(p_Adatok);
    e_nev->setObjectName(QStringLiteral("e_nev"));
    SetHelpKeyword(e_nev, QStringLiteral("k_név"));
    e_neptun = new QLineEdit(p_Adatok);
    e_neptun->setObjectName(QStringLiteral("e_neptun"));
    SetHelpKeyword(e_neptun, QStringLiteral("k_Neptun név"));
    me_datum_kezd = new MaskEdit(DateMask, p_Adatok);
    me_datum_kezd->setObjectName(QStringLiteral("me_datum_kezd"));
    SetHelpKeyword(me_datum_kezd, QStringLiteral("k_kezdete"));
    me_datum_veg = new MaskEdit(DateMask, p_Adatok);
    me_datum_veg->setObjectName(QStringLiteral("me_datum_veg"));

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Félév neve"), e_nev);
    AddLabelledField(fields, 0, 2, QStringLiteral("NEPTUN jelölés"), e_neptun);
    AddLabelledField(fields, 1, 0, QStringLiteral("Kezdete"), me_datum_kezd);
    AddLabelledField(fields, 1, 2, QStringLiteral("Vége"), me_datum_veg);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(dbg_lista, 1);
    layout->addLayout(fields);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Felev::SZURESAfterScroll);
}

Tform_Felev::~Tform_Felev()
{
    if (form_Felev == this)
        form_Felev = nullptr;
}

void Tform_Felev::FormShow()
{
    TAlap_Form::FormShow();
    LoadGridLayout(dbg_lista);
    SZURES.setSql(QStringLiteral("Select * From felev"));
    SZURES.open();
}

bool Tform_Felev::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    return true;
}

void Tform_Felev::SZURESAfterScroll()
{
    if (!SZURES.isActive())
        return;
    CurrentSemesterId = SZURES.fieldByName(QStringLiteral("felev_id")).asString();
    e_nev->setText(SZURES.fieldByName(QStringLiteral("felev_nev")).asString());
    e_neptun->setText(SZURES.fieldByName(QStringLiteral("felev_neptun")).asString());
    me_datum_kezd->setMaskedText(SZURES.fieldByName(QStringLiteral("felev_datumtol")).asString());
    me_datum_veg->setMaskedText(SZURES.fieldByName(QStringLiteral("felev_datumig")).asString());
}

void Tform_Felev::bb_felveszClick()
{
    const EditState mode = EditMode;
    TAlap_Form::bb_felveszClick(); // an empty required field ends the click here
    const QStringList fields{
        QStringLiteral("felev_nev=") + e_nev->text(),
        QStringLiteral("felev_neptun=") + e_neptun->text(),
        QStringLiteral("felev_datumtol=") + DateTextToCompact(me_datum_kezd->maskedText()),
        QStringLiteral("felev_datumig=") + DateTextToCompact(me_datum_veg->maskedText()),
    };
    if (mode == EditState::New) {
        QString newId;
        InsertRecord(QStringLiteral("felev"), fields, true, newId);
        CurrentSemesterId = newId;
    } else if (mode == EditState::Modify) {
        UpdateRecord(QStringLiteral("felev"), fields, QStringLiteral("felev_id=") + CurrentSemesterId);
    }
    ReopenAndLocate(SZURES, CurrentSemesterId, QStringLiteral("felev_id"));
}

void Tform_Felev::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    ReopenAndLocate(SZURES, CurrentSemesterId, QStringLiteral("felev_id"));
}
