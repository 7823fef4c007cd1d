#include "form_Hallgatok_Unit.h"

#include "Adatmodul.h"
#include "ContextMenu.h"
#include "Controls.h"
#include "FormFrame.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "Enrolment.h"
#include "Glyphs.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Hallgatok *form_Hallgatok = nullptr;

namespace {

const QString KeyField = QStringLiteral("hallgato_id");
const QString Null = QStringLiteral("null");
const QColor SkyBlue(166, 202, 240);

const QString ListSql = QStringLiteral(
    "Select a.hallgato_kod, a.hallgato_nev, a.hallgato_id, a.hallgato_diak, a.hallgato_oa From hallgato a Where "
    "a.hallgato_id in (Select b.hallgato_id From Tan_Hall b, Orarend c Where b.orarend_id=c.orarend_id and "
    "c.kar_id=:KAR_ID) Order By a.hallgato_nev");

const QString EnrolmentSql = QStringLiteral(
    "Select a.tantargy_id, a.felev_id, a.nyelv_id, a.kurzus_id, tof_id, a.ft_id, b.orarend_id, b.th_id, (Select "
    "x.orarend_nev From orarend x Where x.orarend_id=b.orarend_id) as orarend, (Select x.tantargy_nev From tantargy x "
    "Where x.tantargy_id=a.tantargy_id) as tantargy, (Select x.kurzus_nev From kurzus x Where "
    "x.kurzus_id=a.kurzus_id) as kurzus, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, "
    "(Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.tof_nev From tanora_forma x "
    "Where x.tof_id=a.tof_id) as forma From felvett_tantargy a, tan_hall b Where a.ft_id=b.ft_id and "
    "b.hallgato_id=:hal_id and a.kar_id=:kar_id");

const QString AttendanceSql = QStringLiteral(
    "Select a.hallgato_id, a.orarend_id, a.jelenlet_datum, a.jt_id, a.jelenlet_id, (Select x.jt_jel From "
    "jelenlet_tipusa x Where x.jt_id=a.jt_id) as jel, b.orarend_nev From jelenlet a, orarend b Where a.hallgato_id = "
    ":HALL_ID and a.orarend_id=b.orarend_id and b.felev_id = :FE_ID and b.kar_id=:KAR_ID Order By a.jelenlet_datum");

QToolButton *speedButton(QWidget *parent, const char *name, const QString &hint, const QIcon &icon)
{
    QToolButton *b = ToolButton(parent, name, hint, icon, 20);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

TVDCComboBox *tableCombo(QWidget *parent, const char *name, Dataset *query, const char *table, const char *idField,
                         const char *nameField)
{
    auto *c = new TVDCComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->ADOQuery = query;
    c->TablaNev = QLatin1String(table);
    c->IDMezo = QLatin1String(idField);
    c->NevMezo = QLatin1String(nameField);
    return c;
}

} // namespace

Tform_Hallgatok::Tform_Hallgatok(QWidget *parent)
    : TAlap_Form(parent),
      tantargy(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("tantargy"), this),
      jelenlet(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("jelenlet"), this)
{
    setObjectName(QStringLiteral("form_Hallgatok"));
    setWindowTitle(QStringLiteral("Hallgatók"));
    resize(1040, 620);

    // ---- search panel
    p_kereso = new QWidget(p_Adatok);
    p_kereso->setObjectName(QStringLiteral("p_kereso"));
    dbl_nev = new TDBLookUpEdit(p_kereso);
    dbl_nev->setObjectName(QStringLiteral("dbl_nev"));
    dbl_nev->DataSource = &SZURES;
    dbl_nev->FieldName = QStringLiteral("hallgato_nev");
    dbl_nev->Azonosito = KeyField;
    dbl_nev->setToolTip(QStringLiteral("név"));
    dbl_neptun = new TDBLookUpEdit(p_kereso);
    dbl_neptun->setObjectName(QStringLiteral("dbl_neptun"));
    dbl_neptun->DataSource = &SZURES;
    dbl_neptun->FieldName = QStringLiteral("hallgato_kod");
    dbl_neptun->Azonosito = KeyField;
    dbl_neptun->setToolTip(QStringLiteral("kód"));
    dbl_neptun->setAccessibleName(QStringLiteral("Keresett kód"));
    dbl_neptun->setMaximumWidth(120);
    bb_felttorol = speedButton(p_kereso, "bb_felttorol", QStringLiteral("Feltételek törlése"),
                               style()->standardIcon(QStyle::SP_DialogResetButton));
    auto *search = new QHBoxLayout(p_kereso);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(BuddyLabel(QStringLiteral("Keresett név"), dbl_nev, p_kereso));
    search->addWidget(dbl_nev, 1);
    search->addWidget(dbl_neptun);
    search->addWidget(bb_felttorol);

    // ---- student list and fields
    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Hallgatók"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), true, 190);
    dbg_lista->addColumn(QStringLiteral("hallgato_kod"), QStringLiteral("kód"), true, 70);
    dbg_lista->addColumn(QStringLiteral("hallgato_diak"), QStringLiteral("diákig."), true, 95);
    dbg_lista->addColumn(QStringLiteral("hallgato_oa"), QStringLiteral("OM"), true, 110);
    WireGridServices(dbg_lista);

    e_nev = new QLineEdit(p_Adatok);
    e_nev->setObjectName(QStringLiteral("e_nev"));
    SetHelpKeyword(e_nev, QStringLiteral("k_név"));
    e_kod = new QLineEdit(p_Adatok);
    e_kod->setObjectName(QStringLiteral("e_kod"));
    e_diak = new QLineEdit(p_Adatok);
    e_diak->setObjectName(QStringLiteral("e_diak"));
    e_oa = new QLineEdit(p_Adatok);
    e_oa->setObjectName(QStringLiteral("e_oa"));
    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Név"), e_nev, 3);
    AddLabelledField(fields, 1, 0, QStringLiteral("Kód"), e_kod);
    AddLabelledField(fields, 1, 2, QStringLiteral("Diákig."), e_diak);
    AddLabelledField(fields, 2, 0, QStringLiteral("OM"), e_oa);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    // ---- enrolment panel; the required combos are created in the order the check reports them
    p_tan = new QWidget(p_Adatok);
    p_tan->setObjectName(QStringLiteral("p_tan"));
    p_tan->setAutoFillBackground(true);
    vdc_tantargy = new TVDCComboBox(p_tan);
    vdc_tantargy->setObjectName(QStringLiteral("vdc_tantargy"));
    vdc_tantargy->ADOQuery = &UPDATEQuery;
    SetHelpKeyword(vdc_tantargy, QStringLiteral("k_tantárgy"));
    vdc_felev = tableCombo(p_tan, "vdc_felev", &UPDATEQuery, "felev", "felev_id", "felev_nev");
    SetHelpKeyword(vdc_felev, QStringLiteral("k_félév"));
    vdc_forma = tableCombo(p_tan, "vdc_forma", &UPDATEQuery, "tanora_forma", "tof_id", "tof_nev");
    vdc_kurzus = tableCombo(p_tan, "vdc_kurzus", &UPDATEQuery, "kurzus", "kurzus_id", "kurzus_nev");
    SetHelpKeyword(vdc_kurzus, QStringLiteral("k_kurzus"));
    vdc_nyelv = tableCombo(p_tan, "vdc_nyelv", &UPDATEQuery, "nyelv", "nyelv_id", "nyelv_nev");
    SetHelpKeyword(vdc_nyelv, QStringLiteral("k_nyelv"));
    vdc_orarend = tableCombo(p_tan, "vdc_orarend", &UPDATEQuery, "orarend", "orarend_id", "orarend_nev");

    sb_tantargy = speedButton(p_tan, "sb_tantargy", QStringLiteral("Tantárgy"),
                              style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    sb_ok = speedButton(p_tan, "sb_ok", QStringLiteral("Rendben"), QIcon(Glyph("OK")));
    sb_se = speedButton(p_tan, "sb_se", QStringLiteral("Mégsem"), QIcon(Glyph("MEGSEM")));
    sb_ok->hide();
    sb_se->hide();

    auto *panel = new QGridLayout(p_tan);
    panel->setContentsMargins(4, 4, 4, 4);
    int row = 0;
    for (auto [text, combo] : std::initializer_list<std::pair<const char *, TVDCComboBox *>>{
             {"Félév", vdc_felev}, {"Forma", vdc_forma}, {"Kurzus", vdc_kurzus}, {"Nyelv", vdc_nyelv},
             {"Tantárgy", vdc_tantargy}, {"Órarend", vdc_orarend}}) {
        AddLabelledField(panel, row, 0, QString::fromUtf8(text), combo);
        ++row;
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(sb_tantargy);
    buttons->addWidget(sb_ok);
    buttons->addWidget(sb_se);
    panel->addLayout(buttons, row, 0, 1, 2);
    panel->setColumnStretch(1, 1);

    dbg_tantargy = new DBGrid(p_Adatok);
    dbg_tantargy->setObjectName(QStringLiteral("dbg_tantargy"));
    dbg_tantargy->setAccessibleName(QStringLiteral("Felvett tantárgyak"));
    dbg_tantargy->setDataset(&tantargy);
    dbg_tantargy->addColumn(QStringLiteral("tantargy_id"), QStringLiteral("id"), false, 40);
    dbg_tantargy->addColumn(QStringLiteral("tantargy"), QStringLiteral("név"), true, 220);
    dbg_tantargy->addColumn(QStringLiteral("kurzus"), QStringLiteral("kurzus"), true, 100);

    pm_targy = AddContextMenu(dbg_tantargy, QStringLiteral("pm_targy"), {{QStringLiteral("rls1"), QStringLiteral("Törlés")}});
    rls1 = pm_targy->findChild<QAction *>(QStringLiteral("rls1"));

    dbg_jelenlet = new DBGrid(p_Adatok);
    dbg_jelenlet->setObjectName(QStringLiteral("dbg_jelenlet"));
    dbg_jelenlet->setAccessibleName(QStringLiteral("Jelenlét"));
    dbg_jelenlet->setDataset(&jelenlet);
    dbg_jelenlet->addColumn(QStringLiteral("orarend_nev"), QStringLiteral("órarend"), true, 200);
    dbg_jelenlet->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_jelenlet->addColumn(QStringLiteral("jelenlet_datum"), QStringLiteral("dátum"), true, 90);
    GridColumn &sign = dbg_jelenlet->addColumn(QStringLiteral("jel"), QStringLiteral("jelenlét"), true, 60);
    sign.alignment = Qt::AlignCenter;
    sign.symbolFont = true;
    dbg_jelenlet->addColumn(QStringLiteral("orarend_id"), QStringLiteral("orarend_id"), false, 40);

    // ---- layout: students on the left, the enrolment panel on the right
    auto *left = new QVBoxLayout;
    left->addWidget(p_kereso);
    left->addWidget(dbg_lista, 1);
    left->addLayout(fields);
    auto *right = new QVBoxLayout;
    right->addWidget(p_tan);
    right->addWidget(dbg_tantargy, 2);
    right->addWidget(dbg_jelenlet, 3);
    auto *layout = new QHBoxLayout(p_Adatok);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    setTabOrder(dbl_nev, dbl_neptun);

    connect(&SZURES, &Dataset::afterScroll, this, [this] { RunGuarded([this] { SZURESAfterScroll(); }); });
    connect(&tantargy, &Dataset::afterScroll, this, [this] { RunGuarded([this] { tantargyAfterScroll(); }); });
    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(sb_tantargy, &QToolButton::clicked, this, [this] { sb_tantargyClick(); });
    ConnectGuarded(sb_ok, &QToolButton::clicked, this, [this] { sb_okClick(); });
    ConnectGuarded(sb_se, &QToolButton::clicked, this, [this] { sb_seClick(); });
    ConnectGuarded(rls1, &QAction::triggered, this, [this] { rls1Click(); });
    ConnectGuarded(bb_felttorol, &QToolButton::clicked, this, [this] { bb_felttorolClick(); });
    ConnectGuarded(dbg_tantargy, &QAbstractItemView::doubleClicked, this, [this] { dbg_tantargyDblClick(); });
    ConnectGuarded(dbg_jelenlet, &QAbstractItemView::doubleClicked, this, [this] { dbg_jelenletDblClick(); });
    for (DBGrid *grid : {dbg_tantargy, dbg_jelenlet})
        ConnectGuarded(grid, &DBGrid::keyReleased, this, [grid](int key) {
            if (key == VirtualKey::F12)
                ChooseGridColumns(grid);
        });
}

Tform_Hallgatok::~Tform_Hallgatok()
{
    if (form_Hallgatok == this)
        form_Hallgatok = nullptr;
}

void Tform_Hallgatok::FormShow()
{
    TAlap_Form::FormShow();
    for (DBGrid *grid : {dbg_lista, dbg_tantargy, dbg_jelenlet})
        LoadGridLayout(grid);
    for (TVDCComboBox *combo : {vdc_felev, vdc_forma, vdc_kurzus, vdc_nyelv, vdc_orarend})
        combo->Feltoltes();

    bb_felttorolClick();
    const QString callersStudent = CurrentStudentId; // the list's first row replaces it
    SZURES.setSql(ListSql);
    SZURES.setParam(QStringLiteral("KAR_ID"), LoginInfo.FacultyId);
    SZURES.open();

    if (OpenPositioned == 1) {
        dbl_nev->setText(SoughtStudentName);
        // Of several students with the name, the one the caller had current.
        const bool found = !callersStudent.isEmpty()
                           && SZURES.locate(QStringLiteral("hallgato_nev;hallgato_id"), {SoughtStudentName, callersStudent});
        if (!found)
            SZURES.locate(QStringLiteral("hallgato_nev"), {SoughtStudentName});
    }
}

bool Tform_Hallgatok::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    for (DBGrid *grid : {dbg_lista, dbg_tantargy, dbg_jelenlet})
        SaveGridLayout(grid);
    return true;
}

// ---- row changes

void Tform_Hallgatok::SZURESAfterScroll()
{
    // While a new student is entered, moving the list leaves the fields and the student being written.
    if (EditMode == EditState::New)
        return;
    const bool any = SZURES.isActive() && !SZURES.isEmpty();
    CurrentStudentId = any ? SZURES.fieldByName(KeyField).asString() : QString();
    CurrentStudentName = any ? SZURES.fieldByName(QStringLiteral("hallgato_nev")).asString() : QString();
    e_nev->setText(CurrentStudentName);
    e_kod->setText(any ? SZURES.fieldByName(QStringLiteral("hallgato_kod")).asString() : QString());
    e_diak->setText(any ? SZURES.fieldByName(QStringLiteral("hallgato_diak")).asString() : QString());
    e_oa->setText(any ? SZURES.fieldByName(QStringLiteral("hallgato_oa")).asString() : QString());
    openEnrolments(); // no enrolment: its row change clears the offering and the panel
}

void Tform_Hallgatok::tantargyAfterScroll()
{
    CurrentOfferingId.clear();
    clearPanelCombos();
    jelenlet.close();
    if (!hasEnrolmentRow())
        return;
    CurrentEnrolmentId = tantargy.fieldByName(QStringLiteral("th_id")).asString();
    CurrentOfferingId = tantargy.fieldByName(QStringLiteral("ft_id")).asString();
    CurrentOfferingText = tantargy.fieldByName(QStringLiteral("tantargy")).asString();
    CurrentSemesterId = tantargy.fieldByName(QStringLiteral("felev_id")).asString();
    vdc_felev->Ertek(CurrentSemesterId);
    vdc_forma->Ertek(tantargy.fieldByName(QStringLiteral("tof_id")).asString());
    vdc_kurzus->Ertek(tantargy.fieldByName(QStringLiteral("kurzus_id")).asString());
    vdc_nyelv->Ertek(tantargy.fieldByName(QStringLiteral("nyelv_id")).asString());
    vdc_tantargy->Ertek(tantargy.fieldByName(QStringLiteral("tantargy_id")).asString());
    vdc_orarend->Ertek(tantargy.fieldByName(QStringLiteral("orarend_id")).asString());
    openAttendance();
}

void Tform_Hallgatok::openEnrolments()
{
    tantargy.close();
    tantargy.setSql(EnrolmentSql);
    tantargy.setParam(QStringLiteral("hal_id"), CurrentStudentId);
    tantargy.setParam(QStringLiteral("kar_id"), LoginInfo.FacultyId);
    tantargy.open();
}

void Tform_Hallgatok::openAttendance()
{
    jelenlet.close();
    jelenlet.setSql(AttendanceSql);
    jelenlet.setParam(QStringLiteral("HALL_ID"), CurrentStudentId);
    jelenlet.setParam(QStringLiteral("FE_ID"), CurrentSemesterId);
    jelenlet.setParam(QStringLiteral("KAR_ID"), LoginInfo.FacultyId);
    jelenlet.open();
}

void Tform_Hallgatok::clearPanelCombos()
{
    for (TVDCComboBox *combo : {vdc_felev, vdc_forma, vdc_kurzus, vdc_nyelv, vdc_tantargy})
        combo->Ertek(QStringLiteral("0"));
}

bool Tform_Hallgatok::hasEnrolmentRow() const { return tantargy.isActive() && !tantargy.isEmpty(); }

// ---- the student

void Tform_Hallgatok::bb_felveszClick()
{
    const EditState mode = EditMode;
    // The name is the one column a student cannot be stored without.
    if (mode != EditState::Browse && e_nev->text().trimmed().isEmpty()) {
        InfoBox(QStringLiteral("A(z) név megadása kötelező!"));
        e_nev->setFocus();
        throw SilentAbort();
    }
    const QStringList fields{
        QStringLiteral("hallgato_kod=") + e_kod->text(),
        QStringLiteral("hallgato_nev=") + e_nev->text(),
        QStringLiteral("hallgato_diak=") + e_diak->text(),
        QStringLiteral("hallgato_oa=") + e_oa->text(),
    };
    if (mode == EditState::New) {
        // A repeated save of the same new student updates the row the first one wrote.
        if (m_writtenId.isEmpty())
            InsertRecord(QStringLiteral("hallgato"), fields, true, m_writtenId);
        else
            UpdateRecord(QStringLiteral("hallgato"), fields, QStringLiteral("hallgato_id=") + SqlId(m_writtenId));
        CurrentStudentId = m_writtenId;
        CurrentStudentName = e_nev->text();
    } else if (mode == EditState::Modify) {
        UpdateRecord(QStringLiteral("hallgato"), fields, QStringLiteral("hallgato_id=") + SqlId(CurrentStudentId));
    }
    ReopenAndLocate(SZURES, CurrentStudentId, KeyField);
    // A new student is saved even without a subject: say so, and keep the new state for the panel.
    if (mode == EditState::New) {
        if (const MissingField missing = FindMissingRequired(this); missing.control) {
            MissingFieldLabel = missing.name;
            InfoBox(QStringLiteral("A hallgató mentve. Tantárgyat a Tantárgy gombbal választva, a Rendben gombbal adhat hozzá."));
            sb_tantargy->setFocus();
            throw SilentAbort();
        }
    }
    TAlap_Form::bb_felveszClick(); // the panel's required combos; a missing one keeps the edit state
    m_writtenId.clear();
    if (mode == EditState::New)
        SZURESAfterScroll(); // the row the reopen found, now that the new state is over
    showSearch();
}

void Tform_Hallgatok::bb_ujClick()
{
    TAlap_Form::bb_ujClick();
    m_writtenId.clear();
    p_kereso->hide();
    tantargy.close();
    jelenlet.close();
    e_nev->setFocus();
}

void Tform_Hallgatok::bb_modositClick()
{
    TAlap_Form::bb_modositClick();
    p_kereso->hide();
    e_nev->setFocus();
}

void Tform_Hallgatok::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    m_writtenId.clear();
    showSearch();
    // The fields show the list's student again, so a later "Módosít" starts from what is stored.
    SZURESAfterScroll();
}

void Tform_Hallgatok::bb_torolClick()
{
    TAlap_Form::bb_torolClick(); // students are not deleted here
    m_writtenId.clear();
    showSearch();
    SZURESAfterScroll();
}

void Tform_Hallgatok::showSearch()
{
    p_kereso->show();
    bb_felttorolClick();
}

void Tform_Hallgatok::bb_felttorolClick()
{
    dbl_nev->setReadOnly(false);
    dbl_neptun->setReadOnly(false);
}

// ---- enrolment editing

void Tform_Hallgatok::sb_tantargyClick()
{
    sb_ok->show();
    sb_se->show();
    sb_tantargy->hide();
    QPalette p = p_tan->palette();
    p.setColor(QPalette::Window, SkyBlue);
    p_tan->setPalette(p);
    vdc_felev->setFocus();
}

void Tform_Hallgatok::vdc_felevChange()
{
    const QString semester = vdc_felev->Eredmeny();
    CurrentSemesterId = semester == Null ? QString() : semester;
    vdc_tantargy->Lekerdezes =
        QStringLiteral("Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in "
                       "(Select x.tantargy_id From Felvett_tantargy x Where x.kar_id = ")
        + SqlId(LoginInfo.FacultyId) + QStringLiteral(" and x.felev_id = ") + SqlId(CurrentSemesterId) + u')';
    vdc_tantargy->Feltoltes();
}

EnrolmentChoice Tform_Hallgatok::panelChoice() const
{
    return {vdc_tantargy->Eredmeny(), vdc_nyelv->Eredmeny(), vdc_felev->Eredmeny(),
            vdc_forma->Eredmeny(),    vdc_kurzus->Eredmeny(), vdc_orarend->Eredmeny()};
}

void Tform_Hallgatok::sb_okClick()
{
    const EditState mode = EditMode;
    if (mode == EditState::New) {
        // Only the student written in this new state is enrolled; before the first save there is none.
        if (m_writtenId.isEmpty()) {
            InfoBox(QStringLiteral("Előbb a Felvesz gombbal rögzítse a hallgatót, utána a tantárgyát!"));
            throw SilentAbort();
        }
        CurrentStudentId = m_writtenId;
        CurrentOfferingId = EnrolStudent(SZURES.connection(), LoginInfo.FacultyId, m_writtenId, panelChoice());
    } else if (mode == EditState::Modify && !CurrentOfferingId.isEmpty()) {
        // The subject combo holds the row's subject only after a semester change refilled it: an
        // empty choice leaves the stored subject alone.
        UpdateOffering(CurrentOfferingId, panelChoice());
    }
    if (mode != EditState::New && hasEnrolmentRow() && vdc_orarend->Eredmeny() != Null)
        PlaceEnrolment(CurrentEnrolmentId, vdc_orarend->Eredmeny());
    endEnrolmentEditing();
}

void Tform_Hallgatok::sb_seClick()
{
    if (hasEnrolmentRow() && vdc_orarend->Eredmeny() != Null)
        PlaceEnrolment(CurrentEnrolmentId, QStringLiteral("NULL"));
    endEnrolmentEditing();
}

void Tform_Hallgatok::endEnrolmentEditing()
{
    sb_ok->hide();
    sb_se->hide();
    sb_tantargy->show();
    p_tan->setPalette(QPalette());
    openEnrolments();
}

void Tform_Hallgatok::rls1Click()
{
    if (!hasEnrolmentRow())
        return;
    DeleteEnrolment(CurrentEnrolmentId);
    openEnrolments();
}

// ---- windows opened from here

void Tform_Hallgatok::dbg_tantargyDblClick() { OpenRegisteredWindow(QStringLiteral("form_TantargyHallgatoi"), this); }

void Tform_Hallgatok::dbg_jelenletDblClick()
{
    OpenPositioned = 1;
    const auto positionedOff = qScopeGuard([] { OpenPositioned = 0; });
    OpenRegisteredWindow(QStringLiteral("form_JelenletElem"), this);
    if (jelenlet.isActive())
        openAttendance();
}
