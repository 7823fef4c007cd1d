#include "form_Szervezet_Unit.h"

#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "RecordOperations.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

Tform_Szervezet *form_Szervezet = nullptr;

Tform_Szervezet::Tform_Szervezet(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_Szervezet"));
    setWindowTitle(QStringLiteral("Szervezeti egység"));
    resize(560, 420);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Szervezeti egységek"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("kar_id"), QStringLiteral("id"), true, 50);
    dbg_lista->addColumn(QStringLiteral("kar_nev"), QStringLiteral("név"), true, 320);
    GridColumn &active = dbg_lista->addColumn(QStringLiteral("aktiv"), QStringLiteral("aktív?"), true, 60);
    active.alignment = Qt::AlignCenter;
    active.symbolFont = true;

    e_kar = new QLineEdit(p_Adatok);
    e_kar->setObjectName(QStringLiteral("e_kar"));
    e_kod = new QLineEdit(p_Adatok);
    e_kod->setObjectName(QStringLiteral("e_kod"));
    SetHelpKeyword(e_kod, QStringLiteral("k_kód"));
    cb_aktiv = new QCheckBox(QStringLiteral("Aktív?"), p_Adatok);
    cb_aktiv->setObjectName(QStringLiteral("cb_aktiv"));

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Megnevezés"), e_kar, 3);
    AddLabelledField(fields, 1, 0, QStringLiteral("Kód"), e_kod);
    fields->addWidget(cb_aktiv, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(dbg_lista, 1);
    layout->addLayout(fields);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Szervezet::SZURESAfterScroll);
}

Tform_Szervezet::~Tform_Szervezet()
{
    if (form_Szervezet == this)
        form_Szervezet = nullptr;
}

void Tform_Szervezet::FormShow()
{
    TAlap_Form::FormShow();
    SZURES.setSql(QStringLiteral("Select *, (Case When kar_aktiv='1' Then 'ü' Else 'ű' End) as aktiv From kar"));
    SZURES.open();
}

void Tform_Szervezet::SZURESAfterScroll()
{
    if (!SZURES.isActive())
        return;
    m_karId = SZURES.fieldByName(QStringLiteral("kar_id")).asString();
    e_kar->setText(SZURES.fieldByName(QStringLiteral("kar_nev")).asString());
    e_kod->setText(SZURES.fieldByName(QStringLiteral("kar_kod")).asString());
    cb_aktiv->setChecked(SZURES.fieldByName(QStringLiteral("kar_aktiv")).asString() == u"1");
}

void Tform_Szervezet::bb_felveszClick()
{
    const EditState mode = EditMode;
    const QStringList fields{
        QStringLiteral("kar_nev=") + e_kar->text(),
        QStringLiteral("kar_kod=") + e_kod->text(),
        QStringLiteral("kar_aktiv=") + (cb_aktiv->isChecked() ? QStringLiteral("1") : QStringLiteral("0")),
    };
    if (mode == EditState::New && m_writtenId.isEmpty()) {
        QString newId;
        InsertRecord(QStringLiteral("kar"), fields, true, newId);
        m_karId = newId;
        m_writtenId = newId;
    } else if (mode == EditState::Modify || mode == EditState::New) {
        UpdateRecord(QStringLiteral("kar"), fields, QStringLiteral("kar_id=") + m_karId);
    }
    // The check runs after the write: with an empty code the row is written and the window stays
    // in its edit state.
    TAlap_Form::bb_felveszClick();
    m_writtenId.clear();
    SZURES.close();
    SZURES.open();
}

void Tform_Szervezet::bb_ujClick()
{
    TAlap_Form::bb_ujClick();
    m_writtenId.clear();
    e_kar->setFocus();
}

void Tform_Szervezet::bb_modositClick()
{
    TAlap_Form::bb_modositClick();
    e_kar->setFocus();
}

void Tform_Szervezet::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    m_writtenId.clear();
    ReopenAndLocate(SZURES, m_karId, QStringLiteral("kar_id"));
}

void Tform_Szervezet::bb_torolClick()
{
    TAlap_Form::bb_torolClick();
    m_writtenId.clear();
}
