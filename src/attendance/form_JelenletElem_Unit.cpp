#include "form_JelenletElem_Unit.h"

#include "Calendar.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

Tform_JelenletElem *form_JelenletElem = nullptr;

namespace {

const QString DateMask = QStringLiteral("!9999/99/99/;1;_");
const QString KeyField = QStringLiteral("jelenlet_id");

const QString ListSql = QStringLiteral(
    "Select a.hallgato_id, a.orarend_id, a.jelenlet_datum, a.jt_id, a.jelenlet_id, (Select x.jt_jel From "
    "jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev From jelenlet a, orarend b Where "
    "a.hallgato_id=:HALL_ID and a.orarend_id=b.orarend_id and b.felev_id=:FE_ID and b.kar_id=:KAR_ID "
    "Order By a.jelenlet_datum");

} // namespace

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

Tform_JelenletElem::Tform_JelenletElem(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_JelenletElem"));
    setWindowTitle(QStringLiteral("Hallgató jelenléte"));
    resize(660, 560);

    l_hallgato = new TLinkLabel(p_Adatok);
    l_hallgato->setObjectName(QStringLiteral("l_hallgato"));
    l_hallgato->setCursor(Qt::PointingHandCursor);
    l_hallgato->setToolTip(QStringLiteral("Hallgatók"));
    QFont nameFont = l_hallgato->font();
    if (nameFont.pixelSize() > 0)
        nameFont.setPixelSize(nameFont.pixelSize() * 7 / 5);
    else
        nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    nameFont.setBold(true);
    nameFont.setUnderline(true);
    l_hallgato->setFont(nameFont);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("orarend_nev"), QStringLiteral("órarend"), true, 300);
    dbg_lista->addColumn(QStringLiteral("jelenlet_datum"), QStringLiteral("dátum"), true, 100);
    GridColumn &sign = dbg_lista->addColumn(QStringLiteral("jel"), QStringLiteral("jelenlét"), true, 70);
    sign.alignment = Qt::AlignCenter;
    sign.symbolFont = true;
    dbg_lista->addColumn(QStringLiteral("jelenlet_id"), QStringLiteral("id"), true, 60);

    vdc_orarend = new TVDCComboBox(p_Adatok);
    vdc_orarend->setObjectName(QStringLiteral("vdc_orarend"));
    vdc_orarend->ADOQuery = &UPDATEQuery;
    SetHelpKeyword(vdc_orarend, QStringLiteral("k_órarend"));
    bi_datum = new MaskEdit(DateMask, p_Adatok);
    bi_datum->setObjectName(QStringLiteral("bi_datum"));
    SetHelpKeyword(bi_datum, QStringLiteral("k_dátum"));
    rg_jelenlet = new TRadioGroup(QStringLiteral("Jelenlét"), p_Adatok);
    rg_jelenlet->setObjectName(QStringLiteral("rg_jelenlet"));
    rg_jelenlet->setItems({QStringLiteral("részt vett"), QStringLiteral("hiányzás"), QStringLiteral("pótlás")}, 3);

    auto *fields = new QGridLayout;
    fields->addWidget(BuddyLabel(QStringLiteral("Órarend"), vdc_orarend), 0, 0);
    fields->addWidget(vdc_orarend, 0, 1, 1, 3);
    fields->addWidget(BuddyLabel(QStringLiteral("Dátum"), bi_datum), 1, 0);
    fields->addWidget(bi_datum, 1, 1);
    fields->addWidget(rg_jelenlet, 2, 0, 1, 4);
    fields->setColumnStretch(2, 1);
    fields->setColumnStretch(3, 2);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(l_hallgato);
    layout->addWidget(dbg_lista, 1);
    layout->addLayout(fields);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_JelenletElem::SZURESAfterScroll);
    ConnectGuarded(l_hallgato, &TLinkLabel::clicked, this, [this] { l_hallgatoClick(); });
    ConnectGuarded(dbg_lista, &QAbstractItemView::doubleClicked, this, [this] { dbg_listaDblClick(); });
    connect(dbg_lista, &DBGrid::keyReleased, this, [this](int key) {
        if (key == VirtualKey::F12)
            RunGuarded([this] { ChooseGridColumns(dbg_lista); });
    });
}

Tform_JelenletElem::~Tform_JelenletElem()
{
    if (form_JelenletElem == this)
        form_JelenletElem = nullptr;
}

void Tform_JelenletElem::FormShow()
{
    TAlap_Form::FormShow();
    LoadGridLayout(dbg_lista);
    if (CurrentSemesterId.isEmpty())
        CurrentSemesterId = FindCurrentSemester();
    if (!LoginInfo.TeacherId.isEmpty())
        vdc_orarend->Lekerdezes = QStringLiteral("Select a.orarend_id as ID, a.orarend_nev as NEV, a.orarend_mettol, "
                                                 "a.orarend_meddig From orarend a, tan_okt b Where a.felev_id=")
                                  + SqlId(CurrentSemesterId) + QStringLiteral(" and a.kar_id=") + SqlId(LoginInfo.FacultyId)
                                  + QStringLiteral(" and a.orarend_id=b.orarend_id and b.oktato_id=")
                                  + SqlId(LoginInfo.TeacherId) + QStringLiteral(" Order By NEV");
    else
        vdc_orarend->Lekerdezes = QStringLiteral("Select orarend_id as ID, orarend_nev as NEV, orarend_mettol, "
                                                 "orarend_meddig From orarend Where felev_id=")
                                  + SqlId(CurrentSemesterId) + QStringLiteral(" and kar_id=") + SqlId(LoginInfo.FacultyId)
                                  + QStringLiteral(" Order By NEV");
    vdc_orarend->Feltoltes();
    vdc_orarend->Ertek(CurrentTimetableId);

    SZURES.setSql(ListSql);
    SZURES.setParam(QStringLiteral("HALL_ID"), CurrentStudentId);
    SZURES.setParam(QStringLiteral("FE_ID"), CurrentSemesterId);
    SZURES.setParam(QStringLiteral("KAR_ID"), LoginInfo.FacultyId);
    if (!CurrentStudentId.isEmpty() && OpenPositioned)
        SZURES.open();

    if (LoginInfo.RoleId == 0)
        for (QWidget *b : std::initializer_list<QWidget *>{bb_felvesz, bb_uj, bb_modosit, bb_megsem, bb_torol})
            b->hide();
    l_hallgato->setText(CurrentStudentName);
}

bool Tform_JelenletElem::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    return true;
}

void Tform_JelenletElem::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        m_entryId.clear();
        return;
    }
    CurrentTimetableId = SZURES.fieldByName(QStringLiteral("orarend_id")).asString();
    m_entryId = SZURES.fieldByName(KeyField).asString();
    vdc_orarend->Ertek(CurrentTimetableId);
    bi_datum->setMaskedText(SZURES.fieldByName(QStringLiteral("jelenlet_datum")).asString());
    rg_jelenlet->setItemIndex(SZURES.fieldByName(QStringLiteral("jt_id")).asInteger() - 1);
}

QString Tform_JelenletElem::incompleteEntry(QWidget *&control) const
{
    // Text typed into the combo that names no timetable entry passes the base check but chooses nothing.
    if (vdc_orarend->Eredmeny() == QLatin1String("null")) {
        control = vdc_orarend;
        return QStringLiteral("A(z) órarend megadása kötelező!");
    }
    // An empty date still shows its dots, so the base check cannot see it.
    if (DateTextToCompact(bi_datum->maskedText()).trimmed().isEmpty()) {
        control = bi_datum;
        return QStringLiteral("A(z) dátum megadása kötelező!");
    }
    if (rg_jelenlet->itemIndex() < 0) {
        control = rg_jelenlet;
        return QStringLiteral("Válassza ki a jelenlét típusát!");
    }
    control = nullptr;
    return QString();
}

void Tform_JelenletElem::bb_felveszClick()
{
    const EditState mode = EditMode;
    // Missing fields the base check reports are left to it; the rest is refused here, in the edit state.
    if (mode != EditState::Browse && !FindMissingRequired(this).control) {
        QWidget *control = nullptr;
        const QString refusal = incompleteEntry(control);
        if (control) {
            InfoBox(refusal);
            control->setFocus();
            throw SilentAbort();
        }
    }
    TAlap_Form::bb_felveszClick(); // an empty required field ends the click here
    const QString timetableId = vdc_orarend->Eredmeny();
    if (timetableId == QLatin1String("null"))
        return;
    const QString type = QString::number(rg_jelenlet->itemIndex() + 1);
    const QString date = DateTextToCompact(bi_datum->maskedText());
    if (mode == EditState::New) {
        QString newId;
        InsertRecord(QStringLiteral("jelenlet"),
                     {QStringLiteral("jt_id=") + type, QStringLiteral("jelenlet_datum=") + date,
                      QStringLiteral("hallgato_id=") + CurrentStudentId, QStringLiteral("orarend_id=") + timetableId},
                     true, newId);
        m_entryId = newId;
    } else if (mode == EditState::Modify && !m_entryId.isEmpty()) {
        UpdateRecord(QStringLiteral("jelenlet"),
                     {QStringLiteral("jt_id=") + type, QStringLiteral("jelenlet_datum=") + date,
                      QStringLiteral("orarend_id=") + timetableId},
                     KeyField + u'=' + m_entryId);
    }
    ReopenAndLocate(SZURES, m_entryId, KeyField);
}

void Tform_JelenletElem::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    ReopenAndLocate(SZURES, m_entryId, KeyField);
}

void Tform_JelenletElem::bb_torolClick()
{
    // A new entry not yet saved is only discarded: the row selected before "Új" is not shown, so
    // it is not the one to delete.
    const bool wasNew = EditMode == EditState::New;
    const QString id = m_entryId;
    if (!wasNew && !id.isEmpty() && ConfirmBox(QStringLiteral("Biztos törli a jelenléti bejegyzést?")))
        DeleteRecord(QStringLiteral("jelenlet"), KeyField + u'=' + id);
    TAlap_Form::bb_torolClick();
    ReopenAndLocate(SZURES, id, KeyField);
}

void Tform_JelenletElem::l_hallgatoClick()
{
    OpenPositioned = 1;
    SoughtStudentName = l_hallgato->text();
    OpenRegisteredWindow(QStringLiteral("form_Hallgatok"), this);
}

void Tform_JelenletElem::dbg_listaDblClick()
{
    OpenPositioned = 1;
    OpenRegisteredWindow(QStringLiteral("form_Orarend"), this);
}
