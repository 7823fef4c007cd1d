#include "form_Orarend_Unit.h"

#include "Adatmodul.h"
#include "Calendar.h"
#include "ContextMenu.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "SqlSplice.h"
#include "TimetableEntries.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Orarend *form_Orarend = nullptr;

namespace {

const QString TimeMask = QStringLiteral("90:00;1;_");
const QString KeyField = QStringLiteral("orarend_id");
const QString NoEntry = QStringLiteral("Nincs órarend kiválasztva!");

const QString DatesSql = QStringLiteral(
    "Select od_id, orarend_id, convert(varchar(10), od_datum, 102) as datum, ROW_NUMBER() OVER (Order By od_datum) as "
    "sor From orarend_datum Where orarend_id = :OR_ID Order By datum");
const QString GroupsSql = QStringLiteral(
    "Select ((Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) + ' - ' + (Select x.kurzus_kod "
    "From kurzus x Where x.kurzus_id=a.kurzus_id)) as tanora, b.orarend_id, a.ft_id From felvett_tantargy a, "
    "orarend_csoport b Where a.ft_id=b.ft_id and b.orarend_id=:OR_ID Order By tanora");
const QString TeachersSql = QStringLiteral(
    "Select a.oktato_nev, b.orarend_id, a.oktato_id From oktato a, tan_okt b Where a.oktato_id=b.oktato_id and "
    "b.orarend_id=:OR_ID Order By a.oktato_nev");

Connection *sharedConnection() { return form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr; }

QToolButton *sideButton(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                        QStyle::StandardPixmap icon)
{
    QToolButton *b = ToolButton(parent, name, hint, icon, 0);
    if (!caption.isEmpty()) {
        b->setAccessibleName(caption);
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return b;
}

DBGrid *sideGrid(QWidget *parent, const char *name, const QString &caption, Dataset *ds)
{
    auto *g = new DBGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->setAccessibleName(caption);
    g->setDataset(ds);
    return g;
}

// A caption above a grid with the grid's buttons beside it, the grid below.
QVBoxLayout *sideBox(QWidget *parent, const QString &caption, DBGrid *grid, std::initializer_list<QToolButton *> buttons)
{
    auto *box = new QVBoxLayout;
    auto *head = new QHBoxLayout;
    auto *label = new QLabel(caption, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setBuddy(grid);
    head->addWidget(label);
    head->addStretch(1);
    for (QToolButton *b : buttons)
        head->addWidget(b);
    box->addLayout(head);
    box->addWidget(grid, 1);
    return box;
}

} // namespace

Tform_Orarend::Tform_Orarend(QWidget *parent)
    : TAlap_Form(parent),
      datumok(sharedConnection(), QStringLiteral("datumok"), this),
      tanorak(sharedConnection(), QStringLiteral("tanorak"), this),
      oktatok(sharedConnection(), QStringLiteral("oktatok"), this),
      ADOQuery1(sharedConnection(), QStringLiteral("ADOQuery1"), this)
{
    setObjectName(QStringLiteral("form_Orarend"));
    setWindowTitle(QStringLiteral("Órarend felvitel"));
    bb_kilepes->setAccessibleName(bb_kilepes->toolTip());
    resize(980, 620);

    // Filter panel.
    p_kereso = new QWidget(p_Adatok);
    p_kereso->setObjectName(QStringLiteral("p_kereso"));
    vdc_felev_szuro = new TVDCComboBox(p_kereso);
    vdc_felev_szuro->setObjectName(QStringLiteral("vdc_felev_szuro"));
    vdc_felev_szuro->ADOQuery = &UPDATEQuery;
    vdc_felev_szuro->IDMezo = QStringLiteral("felev_id");
    vdc_felev_szuro->NevMezo = QStringLiteral("felev_nev");
    vdc_felev_szuro->TablaNev = QStringLiteral("felev");
    auto *filterRow = new QHBoxLayout(p_kereso);
    filterRow->setContentsMargins(0, 0, 0, 0);
    filterRow->addWidget(BuddyLabel(QStringLiteral("Félév szűrő"), vdc_felev_szuro, p_kereso));
    filterRow->addWidget(vdc_felev_szuro, 1);

    // The list.
    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Órarendi elemek"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setMultiSelect(true);
    dbg_lista->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("orarend_nev"), QStringLiteral("név"), true, 260);
    dbg_lista->addColumn(QStringLiteral("orarend_mettol"), QStringLiteral("mettől"), true, 60);
    dbg_lista->addColumn(QStringLiteral("orarend_meddig"), QStringLiteral("meddig"), true, 60);
    dbg_lista->addColumn(QStringLiteral("kurzus"), QStringLiteral("kurzus"), true, 140);
    WireGridServices(dbg_lista);

    // The entry's fields.
    vdc_felev = new TVDCComboBox(p_Adatok);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &UPDATEQuery;
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    vdc_felev->TablaNev = QStringLiteral("felev");
    SetHelpKeyword(vdc_felev, QStringLiteral("k_félév"));
    e_orarend = new QLineEdit(p_Adatok);
    e_orarend->setObjectName(QStringLiteral("e_orarend"));
    SetHelpKeyword(e_orarend, QStringLiteral("k_órarend"));
    me_mettol = new MaskEdit(TimeMask, p_Adatok);
    me_mettol->setObjectName(QStringLiteral("me_mettol"));
    SetHelpKeyword(me_mettol, QStringLiteral("k_mettől"));
    me_meddig = new MaskEdit(TimeMask, p_Adatok);
    me_meddig->setObjectName(QStringLiteral("me_meddig"));
    SetHelpKeyword(me_meddig, QStringLiteral("k_meddig"));
    cb_heti = new QCheckBox(QStringLiteral("Heti órarend?"), p_Adatok);
    cb_heti->setObjectName(QStringLiteral("cb_heti"));
    e_potlas = new QLineEdit(p_Adatok);
    e_potlas->setObjectName(QStringLiteral("e_potlas"));

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Félév"), vdc_felev, 3);
    AddLabelledField(fields, 1, 0, QStringLiteral("Órarend"), e_orarend, 3);
    AddLabelledField(fields, 2, 0, QStringLiteral("Mettől"), me_mettol);
    AddLabelledField(fields, 2, 2, QStringLiteral("Meddig"), me_meddig);
    fields->addWidget(cb_heti, 3, 1);
    AddLabelledField(fields, 3, 2, QStringLiteral("Pótlások száma"), e_potlas);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    // The dependants.
    dbg_datum = sideGrid(p_Adatok, "dbg_datum", QStringLiteral("Dátumok"), &datumok);
    dbg_datum->addColumn(QStringLiteral("sor"), QStringLiteral("sor"), true, 40);
    dbg_datum->addColumn(QStringLiteral("datum"), QStringLiteral("dátum"), true, 100);
    WireGridServices(dbg_datum);
    dbg_tanora = sideGrid(p_Adatok, "dbg_tanora", QStringLiteral("Tanórák"), &tanorak);
    dbg_tanora->addColumn(QStringLiteral("tanora"), QStringLiteral("név"), true, 260);
    dbg_oktatok = sideGrid(p_Adatok, "dbg_oktatok", QStringLiteral("Oktatók"), &oktatok);
    dbg_oktatok->addColumn(QStringLiteral("oktato_nev"), QStringLiteral("név"), true, 260);

    sb_datum = sideButton(p_Adatok, "sb_datum", QStringLiteral("Dátum"), QStringLiteral("Órarendi dátumok"),
                          QStyle::SP_FileDialogDetailedView);
    sb_datum_torles = sideButton(p_Adatok, "sb_datum_torles", QString(), QStringLiteral("Dátum törlése"),
                                 QStyle::SP_TrashIcon);
    sb_tanora = sideButton(p_Adatok, "sb_tanora", QStringLiteral("Tanóra"), QStringLiteral("Tanórák hozzárendelése"),
                           QStyle::SP_FileDialogNewFolder);
    sb_tanora_torles = sideButton(p_Adatok, "sb_tanora_torles", QString(),
                                  QStringLiteral("Tanóra levétele, hallgatói kivétele minden órarendből"), QStyle::SP_TrashIcon);
    sb_oktatok = sideButton(p_Adatok, "sb_oktatok", QStringLiteral("Oktató"), QStringLiteral("Oktató hozzárendelése"),
                            QStyle::SP_DirHomeIcon);
    sb_oktatok_torles = sideButton(p_Adatok, "sb_oktatok_torles", QString(), QStringLiteral("Oktató törlése"),
                                   QStyle::SP_TrashIcon);

    pm_datum = AddContextMenu(dbg_datum, QStringLiteral("pm_datum"), {{QStringLiteral("rls3"), QStringLiteral("Törlés")}});
    pm_tanorak = AddContextMenu(dbg_tanora, QStringLiteral("pm_tanorak"), {{QStringLiteral("rls2"), QStringLiteral("Törlés")}});
    pm_oktatok = AddContextMenu(dbg_oktatok, QStringLiteral("pm_oktatok"), {{QStringLiteral("rls1"), QStringLiteral("Törlés")}});

    auto *left = new QVBoxLayout;
    left->addWidget(p_kereso);
    left->addWidget(dbg_lista, 1);
    left->addLayout(fields);
    auto *right = new QVBoxLayout;
    right->addLayout(sideBox(p_Adatok, QStringLiteral("Dátumok"), dbg_datum, {sb_datum, sb_datum_torles}), 1);
    right->addLayout(sideBox(p_Adatok, QStringLiteral("Tanórák"), dbg_tanora, {sb_tanora, sb_tanora_torles}), 1);
    right->addLayout(sideBox(p_Adatok, QStringLiteral("Oktatók"), dbg_oktatok, {sb_oktatok, sb_oktatok_torles}), 1);
    auto *layout = new QHBoxLayout(p_Adatok);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    bb_masol = CaptionButton(p_Vezerlosav, "bb_masol", QStringLiteral("Órarendet másol"), QStyle::SP_FileDialogNewFolder);
    bb_masol->setAutoDefault(false);
    if (auto *bar = qobject_cast<QHBoxLayout *>(p_Vezerlosav->layout()))
        bar->insertWidget(5, bb_masol);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Orarend::SZURESAfterScroll);
    connect(&tanorak, &Dataset::afterScroll, this, [this] {
        if (tanorak.isActive() && !tanorak.isEmpty()) {
            CurrentOfferingId = tanorak.fieldByName(QStringLiteral("ft_id")).asString();
            CurrentOfferingText = tanorak.fieldByName(QStringLiteral("tanora")).asString();
        }
    });
    connect(&oktatok, &Dataset::afterScroll, this, [this] {
        if (oktatok.isActive() && !oktatok.isEmpty())
            CurrentTeacherId = oktatok.fieldByName(QStringLiteral("oktato_id")).asString();
    });
    connect(vdc_felev_szuro, &TVDCComboBox::valueChanged, this, [this] {
        if (!m_filling)
            RunGuarded([this] { applyFilter(); });
    });
    ConnectGuarded(bb_masol, &QPushButton::clicked, this, [this] { bb_masolClick(); });
    ConnectGuarded(sb_datum, &QToolButton::clicked, this, [this] { sb_datumClick(); });
    ConnectGuarded(dbg_datum, &QAbstractItemView::doubleClicked, this, [this] { sb_datumClick(); });
    ConnectGuarded(sb_datum_torles, &QToolButton::clicked, this, [this] { sb_datum_torlesClick(); });
    ConnectGuarded(sb_tanora, &QToolButton::clicked, this, [this] { sb_tanoraClick(); });
    ConnectGuarded(sb_tanora_torles, &QToolButton::clicked, this, [this] { sb_tanora_torlesClick(); });
    ConnectGuarded(sb_oktatok, &QToolButton::clicked, this, [this] { sb_oktatokClick(); });
    ConnectGuarded(sb_oktatok_torles, &QToolButton::clicked, this, [this] { sb_oktatok_torlesClick(); });
    ConnectGuarded(dbg_lista, &QAbstractItemView::doubleClicked, this, [this] { dbg_listaDblClick(); });
    ConnectGuarded(dbg_tanora, &QAbstractItemView::doubleClicked, this, [this] { dbg_tanoraDblClick(); });
    const std::pair<QMenu *, void (Tform_Orarend::*)()> menus[] = {{pm_datum, &Tform_Orarend::sb_datum_torlesClick},
                                                                    {pm_tanorak, &Tform_Orarend::rls2Click},
                                                                    {pm_oktatok, &Tform_Orarend::sb_oktatok_torlesClick}};
    for (const auto &[menu, handler] : menus)
        for (QAction *a : menu->actions())
            ConnectGuarded(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
}

Tform_Orarend::~Tform_Orarend()
{
    if (form_Orarend == this)
        form_Orarend = nullptr;
}

QString Tform_Orarend::currentEntryId() const { return currentValue(SZURES, KeyField); }

QString Tform_Orarend::currentValue(const Dataset &ds, const QString &column)
{
    if (!ds.isActive() || ds.isEmpty())
        return QString();
    return ds.fieldByName(column).asString();
}

bool Tform_Orarend::refuseWithoutEntry()
{
    if (!currentEntryId().isEmpty())
        return false;
    InfoBox(NoEntry);
    return true;
}

void Tform_Orarend::FormShow()
{
    TAlap_Form::FormShow();
    for (DBGrid *g : {dbg_lista, dbg_datum, dbg_oktatok, dbg_tanora})
        LoadGridLayout(g);
    const QString remembered = CurrentTimetableId;
    m_filling = true;
    vdc_felev->Feltoltes();
    vdc_felev_szuro->Feltoltes();
    vdc_felev_szuro->Ertek(FindCurrentSemester());
    m_filling = false;
    applyFilter();
    if (OpenPositioned == 1)
        ReopenAndLocate(SZURES, remembered, KeyField);
}

bool Tform_Orarend::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    for (DBGrid *g : {dbg_lista, dbg_datum, dbg_tanora, dbg_oktatok})
        SaveGridLayout(g);
    return true;
}

void Tform_Orarend::keepingFilter(const std::function<void()> &step)
{
    // The base steps clear every field of the window; the filter keeps its semester for the list.
    const QString filter = vdc_felev_szuro->Eredmeny();
    step();
    m_filling = true;
    vdc_felev_szuro->Ertek(filter);
    m_filling = false;
}

void Tform_Orarend::applyFilter()
{
    // Rows chosen in another list never carry over to this one.
    dbg_lista->clearRowSelection();
    SZURES.close();
    SZURES.clearParams();
    SZURES.setSql(QStringLiteral("Select a.orarend_id, a.orarend_heti, a.orarend_nev, Left(a.orarend_mettol,5) as "
                                 "orarend_mettol, Left(a.orarend_meddig,5) as orarend_meddig, a.orarend_potlas, "
                                 "a.felev_id, dbo.orarend_kurzus(a.orarend_id) as kurzus From orarend a Where a.felev_id=")
                  + SqlId(vdc_felev_szuro->Eredmeny()) + QStringLiteral(" and a.kar_id=") + SqlId(LoginInfo.FacultyId)
                  + QStringLiteral(" Order By a.orarend_nev"));
    SZURES.open();
    if (SZURES.isEmpty())
        SZURESAfterScroll();
}

void Tform_Orarend::reopenDependants()
{
    const QString id = currentEntryId();
    for (Dataset *ds : {&oktatok, &tanorak, &datumok}) {
        ds->close();
        ds->setSql(ds == &oktatok ? TeachersSql : ds == &tanorak ? GroupsSql : DatesSql);
        ds->setParam(QStringLiteral("OR_ID"), id);
        if (!id.isEmpty())
            ds->open();
    }
}

void Tform_Orarend::closeDependants()
{
    for (Dataset *ds : {&tanorak, &oktatok, &datumok})
        ds->close();
}

void Tform_Orarend::SZURESAfterScroll()
{
    const bool any = SZURES.isActive() && !SZURES.isEmpty();
    for (QToolButton *b : {sb_datum, sb_datum_torles, sb_tanora, sb_tanora_torles, sb_oktatok, sb_oktatok_torles})
        b->setEnabled(any);
    if (!any) {
        closeDependants();
        return;
    }
    CurrentTimetableId = SZURES.fieldByName(KeyField).asString();
    CurrentTimetableName = SZURES.fieldByName(QStringLiteral("orarend_nev")).asString();
    vdc_felev->Ertek(SZURES.fieldByName(QStringLiteral("felev_id")).asString());
    e_orarend->setText(CurrentTimetableName);
    e_potlas->setText(SZURES.fieldByName(QStringLiteral("orarend_potlas")).asString());
    me_mettol->setMaskedText(SZURES.fieldByName(QStringLiteral("orarend_mettol")).asString().left(5));
    me_meddig->setMaskedText(SZURES.fieldByName(QStringLiteral("orarend_meddig")).asString().left(5));
    cb_heti->setChecked(SZURES.fieldByName(QStringLiteral("orarend_heti")).asBoolean());
    reopenDependants();
}

void Tform_Orarend::bb_felveszClick()
{
    const EditState mode = EditMode;
    if (mode == EditState::Browse) {
        TAlap_Form::bb_felveszClick();
        return;
    }
    const TimetableEntryFields f{vdc_felev->Eredmeny(), e_orarend->text(), e_potlas->text(),
                                 me_mettol->maskedText(), me_meddig->maskedText(), cb_heti->isChecked()};
    // Every field is checked before anything is written; a refusal keeps the edit state.
    const FieldProblem problem = CheckTimetableEntry(f);
    if (!problem.field.isEmpty()) {
        QWidget *control = problem.field == QLatin1String("felev")    ? static_cast<QWidget *>(vdc_felev)
                           : problem.field == QLatin1String("nev")    ? e_orarend
                           : problem.field == QLatin1String("mettol") ? me_mettol
                           : problem.field == QLatin1String("meddig") ? me_meddig
                                                                      : e_potlas;
        InfoBox(problem.message);
        control->setFocus();
        throw SilentAbort();
    }
    QString id;
    if (mode == EditState::New && m_writtenId.isEmpty()) {
        InsertTimetableEntry(f, LoginInfo.FacultyId, m_writtenId);
        id = m_writtenId;
    } else {
        // A modified entry, or a new one written by an earlier "Felvesz" of this new state.
        id = mode == EditState::New ? m_writtenId : currentEntryId();
        if (id.isEmpty())
            throw KovraError(NoEntry);
        UpdateTimetableEntry(id, f);
    }
    CurrentTimetableId = id;
    TAlap_Form::bb_felveszClick();
    m_writtenId.clear();
    sb_oktatok->setEnabled(true);
    p_kereso->show();
    // The list shows the entry's semester, so the entry itself becomes current, never a neighbour.
    if (vdc_felev_szuro->Eredmeny() != f.semesterId) {
        m_filling = true;
        vdc_felev_szuro->Ertek(f.semesterId);
        m_filling = false;
    }
    applyFilter();
    ReopenAndLocate(SZURES, id, KeyField);
}

void Tform_Orarend::bb_ujClick()
{
    keepingFilter([this] { TAlap_Form::bb_ujClick(); });
    m_writtenId.clear();
    SZURES.close();
    // The semester holding the server's date (the last day counts all day); between semesters none.
    vdc_felev->Ertek(SemesterOfDate(ServerNow(1)));
    closeDependants();
    sb_oktatok->setEnabled(false);
    p_kereso->hide();
    vdc_felev->setFocus();
}

void Tform_Orarend::bb_modositClick()
{
    // Only an entry of the list can be modified.
    if (refuseWithoutEntry())
        return;
    TAlap_Form::bb_modositClick();
    p_kereso->hide();
    vdc_felev->setFocus();
}

void Tform_Orarend::bb_megsemClick()
{
    keepingFilter([this] { TAlap_Form::bb_megsemClick(); });
    m_writtenId.clear();
    p_kereso->show();
    // Reopening the list enables the entry's buttons again when it has rows.
    applyFilter();
    ReopenAndLocate(SZURES, CurrentTimetableId, KeyField);
}

void Tform_Orarend::bb_torolClick()
{
    const bool wasNew = EditMode == EditState::New;
    // The rows chosen before anything moves the list.
    QStringList ids;
    if (!wasNew && SZURES.isActive()) {
        const int column = SZURES.fieldIndex(KeyField);
        for (int row : dbg_lista->selectedRows())
            ids << SZURES.text(row, column);
    }
    keepingFilter([this] { TAlap_Form::bb_torolClick(); });
    if (!wasNew && ids.isEmpty())
        InfoBox(QStringLiteral("Nincs kijelölt órarend a listában, nem töröltem semmit."));
    for (const QString &id : ids) {
        CurrentTimetableId = id;
        DeleteTimetableEntry(id);
    }
    dbg_lista->clearRowSelection();
    if (SZURES.isActive())
        SZURES.first();
    bb_megsemClick();
}

void Tform_Orarend::bb_masolClick()
{
    const QString source = currentEntryId();
    if (EditMode != EditState::Browse || source.isEmpty()) {
        InfoBox(QStringLiteral("Másolni csak a listában kiválasztott órarendet lehet, szerkesztés közben nem."));
        return;
    }
    const TimetableEntryFields f{vdc_felev->Eredmeny(), e_orarend->text(), QString(),
                                 me_mettol->maskedText(), me_meddig->maskedText(), cb_heti->isChecked()};
    const CopyResult copy = CopyTimetableEntry(source, f, LoginInfo.FacultyId, UPDATEQuery, ADOQuery1);
    CurrentTimetableId = copy.newId;
    InfoBox(copy.existed ? QStringLiteral("Ennek az órarendnek már van másolata (%1), a hiányzó csoportjait és "
                                          "hallgatóit pótoltam. Nevezze át a másolatot!")
                               .arg(f.name + QStringLiteral(" (másolat)"))
                         : QStringLiteral("A másolás elkészült, nevezze át az órarendet!"));
    ReopenAndLocate(SZURES, copy.newId, KeyField);
}

void Tform_Orarend::sb_datumClick()
{
    if (refuseWithoutEntry())
        return;
    CurrentTimetableId = currentEntryId();
    OpenPositioned = 0;
    OpenRegisteredWindow(QStringLiteral("form_OrarendDatum"), this);
    reopenDependants();
}

void Tform_Orarend::sb_datum_torlesClick()
{
    const QString dateId = currentValue(datumok, QStringLiteral("od_id"));
    if (dateId.isEmpty() || currentEntryId().isEmpty())
        return;
    DeleteLessonDate(dateId);
    datumok.close();
    datumok.open();
}

void Tform_Orarend::sb_tanoraClick()
{
    if (refuseWithoutEntry())
        return;
    CurrentTimetableId = currentEntryId();
    OpenPositioned = 0;
    OpenRegisteredWindow(QStringLiteral("form_Tanora"), this);
    rereadGroups();
}

void Tform_Orarend::rereadGroups()
{
    // The list's course column follows the groups; while an entry is edited its typed fields stay.
    if (EditMode == EditState::Browse && SZURES.isActive() && !currentEntryId().isEmpty()) {
        ReopenAndLocate(SZURES, currentEntryId(), KeyField);
        return;
    }
    tanorak.close();
    tanorak.open();
}

void Tform_Orarend::sb_tanora_torlesClick()
{
    const QString entry = currentEntryId();
    const QString offering = currentValue(tanorak, QStringLiteral("ft_id"));
    if (entry.isEmpty() || offering.isEmpty())
        return;
    UnlinkOfferingReleasingStudents(entry, offering);
    rereadGroups();
}

void Tform_Orarend::rls2Click()
{
    // The offering of the groups grid's current row, never one another window left behind.
    const QString entry = currentEntryId();
    const QString offering = currentValue(tanorak, QStringLiteral("ft_id"));
    if (entry.isEmpty() || offering.isEmpty())
        return;
    UnlinkOffering(entry, offering);
    rereadGroups();
}

void Tform_Orarend::sb_oktatokClick()
{
    if (refuseWithoutEntry())
        return;
    const QString entry = currentEntryId();
    CurrentTimetableId = entry;
    CurrentTeacherId.clear();
    OpenPositioned = 0;
    OpenRegisteredWindow(QStringLiteral("form_Oktatok"), this);
    if (!CurrentTeacherId.isEmpty())
        AddTeacher(entry, CurrentTeacherId);
    oktatok.close();
    oktatok.open();
}

void Tform_Orarend::sb_oktatok_torlesClick()
{
    const QString entry = currentEntryId();
    const QString teacher = currentValue(oktatok, QStringLiteral("oktato_id"));
    if (entry.isEmpty() || teacher.isEmpty())
        return;
    RemoveTeacher(entry, teacher);
    oktatok.close();
    oktatok.open();
}

void Tform_Orarend::dbg_listaDblClick()
{
    if (currentEntryId().isEmpty())
        return;
    OpenPositioned = 0;
    OpenRegisteredWindow(QStringLiteral("form_OrarendHallgato"), this);
}

void Tform_Orarend::dbg_tanoraDblClick()
{
    if (currentValue(tanorak, QStringLiteral("ft_id")).isEmpty())
        return;
    OpenPositioned = 0;
    OpenRegisteredWindow(QStringLiteral("form_TantargyHallgatoi"), this);
}
