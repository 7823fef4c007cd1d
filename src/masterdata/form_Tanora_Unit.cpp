#include "form_Tanora_Unit.h"

#include "Adatmodul.h"
#include "Calendar.h"
#include "Controls.h"
#include "DBGrid.h"
#include "DbError.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OfferingLink.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Tanora *form_Tanora = nullptr;

namespace {

const QString KeyField = QStringLiteral("ft_id");

const QString ListSelect = QStringLiteral(
    "Select a.ft_id, a.tantargy_id, a.kurzus_id, a.felev_id, a.nyelv_id, a.tof_id, a.evfolyam, (Select x.tof_nev From "
    "tanora_forma x Where x.tof_id=a.tof_id) as forma, (Select x.nyelv_nev From nyelv x Where x.nyelv_id=a.nyelv_id) as "
    "nyelv, (Select x.felev_nev From felev x Where x.felev_id=a.felev_id) as felev, (Select x.kurzus_nev From kurzus x "
    "Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.tantargy_nev From tantargy x Where "
    "x.tantargy_id=a.tantargy_id) as tantargy ");

const QString StudentsSql = QStringLiteral("Select (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato From "
                                           "hallgato a, tan_hall b Where a.hallgato_id=b.hallgato_id and b.ft_id=:FT_ID");

TVDCComboBox *lookupCombo(QWidget *parent, const char *name, Dataset *query)
{
    auto *c = new TVDCComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->ADOQuery = query;
    return c;
}

void fromTable(TVDCComboBox *c, const char *table, const char *id, const char *name)
{
    c->TablaNev = QLatin1String(table);
    c->IDMezo = QLatin1String(id);
    c->NevMezo = QLatin1String(name);
}

bool isNullId(const QString &id) { return IsNullFieldValue(id); }

// The semester filter keeps its choice across the base steps that clear the whole window.
class KeepFilter {
public:
    explicit KeepFilter(TVDCComboBox *filter) : m_filter(filter), m_id(filter->Eredmeny()) {}
    ~KeepFilter()
    {
        if (!isNullId(m_id))
            m_filter->Ertek(m_id);
    }

private:
    TVDCComboBox *m_filter;
    QString m_id;
};

} // namespace

Tform_Tanora::Tform_Tanora(QWidget *parent)
    : TAlap_Form(parent), hallgato(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("hallgato"), this)
{
    setObjectName(QStringLiteral("form_Tanora"));
    setWindowTitle(QStringLiteral("Tantárgy szerkesztése"));
    resize(900, 580);

    // Filter panel.
    p_kereso = new QWidget(p_Adatok);
    p_kereso->setObjectName(QStringLiteral("p_kereso"));
    vdc_felev_szuro = lookupCombo(p_kereso, "vdc_felev_szuro", &UPDATEQuery);
    fromTable(vdc_felev_szuro, "felev", "felev_id", "felev_nev");
    vdc_felev_szuro->setMinimumWidth(220);
    bb_felttorol = GlyphButton(p_kereso, "bb_felttorol", QStringLiteral("Feltételek törlése"), QStyle::SP_DialogResetButton);
    bb_felttorol->setAccessibleName(bb_felttorol->toolTip());
    auto *filter = new QHBoxLayout(p_kereso);
    filter->setContentsMargins(0, 0, 0, 0);
    filter->addWidget(BuddyLabel(QStringLiteral("Félév szűrő"), vdc_felev_szuro, p_kereso));
    filter->addWidget(vdc_felev_szuro);
    filter->addWidget(bb_felttorol);
    filter->addStretch(1);

    // The offerings and the students of the selected one.
    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Tantárgyak"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setMultiSelect(true);
    dbg_lista->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("tantargy"), QStringLiteral("tanóra"), true, 170);
    dbg_lista->addColumn(QStringLiteral("forma"), QStringLiteral("forma"), true, 80);
    dbg_lista->addColumn(QStringLiteral("felev"), QStringLiteral("félév"), true, 150);
    dbg_lista->addColumn(QStringLiteral("kurzus"), QStringLiteral("kurzus"), true, 70);
    dbg_lista->addColumn(QStringLiteral("nyelv"), QStringLiteral("nyelv"), true, 70);
    dbg_lista->addColumn(QStringLiteral("evfolyam"), QStringLiteral("évfolyam"), true, 60).alignment = Qt::AlignCenter;
    WireGridServices(dbg_lista);

    dbg_hallgato = new DBGrid(p_Adatok);
    dbg_hallgato->setObjectName(QStringLiteral("dbg_hallgato"));
    dbg_hallgato->setAccessibleName(QStringLiteral("A tantárgy hallgatói"));
    dbg_hallgato->setDataset(&hallgato);
    dbg_hallgato->addColumn(QStringLiteral("hallgato"), QStringLiteral("hallgatók"), true, 220);

    // Edit controls.
    vdc_felev = lookupCombo(p_Adatok, "vdc_felev", &UPDATEQuery);
    fromTable(vdc_felev, "felev", "felev_id", "felev_nev");
    SetHelpKeyword(vdc_felev, QStringLiteral("k_félév"));
    vdc_tantargy = lookupCombo(p_Adatok, "vdc_tantargy", &UPDATEQuery);
    SetHelpKeyword(vdc_tantargy, QStringLiteral("k_tantárgy"));
    vdc_forma = lookupCombo(p_Adatok, "vdc_forma", &UPDATEQuery);
    fromTable(vdc_forma, "tanora_forma", "tof_id", "tof_nev");
    vdc_kurzus = lookupCombo(p_Adatok, "vdc_kurzus", &UPDATEQuery);
    SetHelpKeyword(vdc_kurzus, QStringLiteral("k_kurzus"));
    vdc_nyelv = lookupCombo(p_Adatok, "vdc_nyelv", &UPDATEQuery);
    fromTable(vdc_nyelv, "nyelv", "nyelv_id", "nyelv_nev");
    SetHelpKeyword(vdc_nyelv, QStringLiteral("k_nyelv"));
    e_evfolyam = new QLineEdit(p_Adatok);
    e_evfolyam->setObjectName(QStringLiteral("e_evfolyam"));
    e_evfolyam->setMaxLength(10);

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Félév"), vdc_felev);
    AddLabelledField(fields, 0, 2, QStringLiteral("Tanóra"), vdc_tantargy);
    AddLabelledField(fields, 1, 0, QStringLiteral("Forma"), vdc_forma);
    AddLabelledField(fields, 1, 2, QStringLiteral("Kurzus"), vdc_kurzus);
    AddLabelledField(fields, 2, 0, QStringLiteral("Nyelv"), vdc_nyelv);
    AddLabelledField(fields, 2, 2, QStringLiteral("Évfolyam"), e_evfolyam);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 2);

    auto *grids = new QHBoxLayout;
    grids->addWidget(dbg_lista, 3);
    grids->addWidget(dbg_hallgato, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(p_kereso);
    layout->addLayout(grids, 1);
    layout->addLayout(fields);

    // "Rendben" in the control bar, before the exit button.
    sb_rendben = new QToolButton(p_Vezerlosav);
    sb_rendben->setObjectName(QStringLiteral("sb_rendben"));
    sb_rendben->setToolTip(QStringLiteral("Rendben"));
    sb_rendben->setAccessibleName(sb_rendben->toolTip());
    sb_rendben->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    sb_rendben->setIconSize(QSize(24, 24));
    sb_rendben->setAutoRaise(true);
    if (auto *bar = qobject_cast<QHBoxLayout *>(p_Vezerlosav->layout()))
        bar->insertWidget(bar->indexOf(bb_kilepes), sb_rendben);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Tanora::SZURESAfterScroll);
    ConnectGuarded(sb_rendben, &QToolButton::clicked, this, [this] { sb_rendbenClick(); });
    ConnectGuarded(bb_felttorol, &QPushButton::clicked, this, [this] { bb_felttorolClick(); });
    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(vdc_felev_szuro, &TVDCComboBox::valueChanged, this, [this] { vdc_felev_szuroChange(); });
}

Tform_Tanora::~Tform_Tanora()
{
    if (form_Tanora == this)
        form_Tanora = nullptr;
}

void Tform_Tanora::FormShow()
{
    TAlap_Form::FormShow();
    hallgato.close();
    LoadGridLayout(dbg_lista);
    LoadGridLayout(dbg_hallgato);
    vdc_felev->Feltoltes();
    vdc_forma->Feltoltes();
    vdc_nyelv->Feltoltes();
    vdc_felev_szuro->Feltoltes();
    m_choicesLoaded = false;
    vdc_felev_szuro->Ertek(FindCurrentSemester());
    openList(vdc_felev_szuro->Eredmeny(), false);
    // The semester step: the row's semester, else the filter's, gives the subject and course lists.
    const QString semester = vdc_felev->Eredmeny();
    if (!isNullId(semester))
        CurrentSemesterId = semester;
    fillSemesterChoices(isNullId(semester) ? vdc_felev_szuro->Eredmeny() : semester, true);
    closeStudentsIfEmpty();
}

bool Tform_Tanora::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    SaveGridLayout(dbg_hallgato);
    return true;
}

QString Tform_Tanora::currentRowOffering() const
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        return QString();
    return SZURES.fieldByName(KeyField).asString();
}

void Tform_Tanora::openList(const QString &semesterId, bool allSemesters)
{
    m_allSemesters = allSemesters;
    m_filterId = allSemesters ? QString() : semesterId;
    SZURES.close();
    if (allSemesters)
        SZURES.setSql(ListSelect + QStringLiteral("From felvett_tantargy a Where a.kar_id=") + SqlId(LoginInfo.FacultyId));
    else
        SZURES.setSql(ListSelect + QStringLiteral("From felvett_tantargy a Where a.felev_id=") + SqlId(semesterId)
                      + QStringLiteral(" and a.kar_id=") + SqlId(LoginInfo.FacultyId));
    SZURES.open();
    closeStudentsIfEmpty();
}

void Tform_Tanora::relocate(const QString &id, const QString &semesterId)
{
    // The saved offering stays in view: a one-semester list follows it to its semester.
    if (!m_allSemesters && !isNullId(semesterId) && semesterId != m_filterId) {
        vdc_felev_szuro->Ertek(semesterId);
        openList(semesterId, false);
    }
    if (id.isEmpty()) {
        SZURES.close();
        SZURES.open();
    } else {
        ReopenAndLocate(SZURES, id, KeyField);
    }
    closeStudentsIfEmpty();
}

void Tform_Tanora::closeStudentsIfEmpty()
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        hallgato.close();
}

void Tform_Tanora::fillSemesterChoices(const QString &semesterId, bool keepChoice)
{
    const QString semester = SqlId(isNullId(semesterId) ? QString() : semesterId);
    if (m_choicesLoaded && semester == m_choicesSemester)
        return;
    const QString subject = vdc_tantargy->Eredmeny();
    const QString course = vdc_kurzus->Eredmeny();
    const QString faculty = SqlId(LoginInfo.FacultyId);
    vdc_tantargy->Lekerdezes =
        QStringLiteral("Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in (Select "
                       "x.tantargy_id From Felvett_tantargy x Where x.kar_id = ")
        + faculty + QStringLiteral(" and x.felev_id = ") + semester + u')';
    vdc_kurzus->Lekerdezes =
        QStringLiteral("Select a.kurzus_id as ID, a.kurzus_nev as NEV From Kurzus a Where a.kurzus_id in (Select "
                       "x.kurzus_id From Felvett_tantargy x Where x.kar_id = ")
        + faculty + QStringLiteral(" and x.felev_id = ") + semester + u')';
    vdc_tantargy->Feltoltes();
    vdc_kurzus->Feltoltes();
    m_choicesSemester = semester;
    m_choicesLoaded = true;
    if (keepChoice) {
        vdc_tantargy->Ertek(subject);
        vdc_kurzus->Ertek(course);
    }
}

void Tform_Tanora::SZURESAfterScroll()
{
    if (EditMode != EditState::Browse)
        return; // the open edit keeps what the user entered
    showRow();
}

void Tform_Tanora::showRow()
{
    hallgato.close();
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        CurrentOfferingId.clear();
        for (TVDCComboBox *c : {vdc_felev, vdc_tantargy, vdc_forma, vdc_kurzus, vdc_nyelv})
            c->clearChoice();
        e_evfolyam->clear();
        return;
    }
    auto value = [this](const char *field) { return SZURES.fieldByName(QLatin1String(field)).asString(); };
    CurrentOfferingId = value("ft_id");
    const QString semester = value("felev_id");
    vdc_felev->Ertek(semester);
    fillSemesterChoices(semester, false);
    vdc_tantargy->Ertek(value("tantargy_id"));
    vdc_forma->Ertek(value("tof_id"));
    vdc_kurzus->Ertek(value("kurzus_id"));
    vdc_nyelv->Ertek(value("nyelv_id"));
    e_evfolyam->setText(value("evfolyam"));
    hallgato.setSql(StudentsSql);
    hallgato.clearParams();
    hallgato.setParam(QStringLiteral("FT_ID"), CurrentOfferingId);
    hallgato.open();
}

void Tform_Tanora::vdc_felevChange()
{
    const QString semester = vdc_felev->Eredmeny();
    if (!isNullId(semester))
        CurrentSemesterId = semester;
    fillSemesterChoices(semester, true);
}

void Tform_Tanora::vdc_felev_szuroChange()
{
    const QString semester = vdc_felev_szuro->Eredmeny();
    if (!m_allSemesters && semester == m_filterId && SZURES.isActive())
        return;
    openList(semester, false);
}

void Tform_Tanora::bb_felttorolClick()
{
    vdc_felev_szuro->clearChoice();
    openList(QString(), true);
}

QStringList Tform_Tanora::offeringFields() const
{
    return {
        QStringLiteral("felev_id=") + vdc_felev->Eredmeny(),   QStringLiteral("tantargy_id=") + vdc_tantargy->Eredmeny(),
        QStringLiteral("tof_id=") + vdc_forma->Eredmeny(),     QStringLiteral("kurzus_id=") + vdc_kurzus->Eredmeny(),
        QStringLiteral("nyelv_id=") + vdc_nyelv->Eredmeny(),   QStringLiteral("evfolyam=") + e_evfolyam->text(),
    };
}

QString Tform_Tanora::unchosenText(QWidget *&control) const
{
    const std::pair<TVDCComboBox *, const char *> choices[] = {
        {vdc_felev, "félév"}, {vdc_tantargy, "tantárgy"}, {vdc_forma, "forma"}, {vdc_kurzus, "kurzus"}, {vdc_nyelv, "nyelv"},
    };
    for (const auto &[combo, name] : choices)
        if (!combo->currentText().isEmpty() && isNullId(combo->Eredmeny())) {
            control = combo;
            return QStringLiteral("A(z) ") + QString::fromUtf8(name) + QStringLiteral(" nem szerepel a listában!");
        }
    control = nullptr;
    return QString();
}

void Tform_Tanora::bb_felveszClick()
{
    const EditState mode = EditMode;
    if (mode == EditState::Browse)
        return; // nothing is being edited
    // Everything is checked before the first write.
    if (FindMissingRequired(this).control)
        TAlap_Form::bb_felveszClick(); // reports the missing field and ends the click
    QWidget *control = nullptr;
    const QString refusal = unchosenText(control);
    if (control) {
        InfoBox(refusal);
        control->setFocus();
        throw SilentAbort();
    }
    const QStringList fields = offeringFields();
    QString id;
    if (mode == EditState::New && m_writtenId.isEmpty()) {
        QString newId;
        try {
            InsertRecord(QStringLiteral("felvett_tantargy"), QStringList{QStringLiteral("kar_id=") + LoginInfo.FacultyId} + fields,
                         true, newId);
        } catch (...) {
            m_writtenId = newId; // written before the failure: a repeated save updates it
            throw;
        }
        id = newId;
    } else {
        id = mode == EditState::New ? m_writtenId : m_editId;
        m_writtenId = mode == EditState::New ? id : QString();
        UpdateRecord(QStringLiteral("felvett_tantargy"), fields, KeyField + u'=' + SqlId(id));
    }
    CurrentOfferingId = id;
    const QString semester = vdc_felev->Eredmeny();
    TAlap_Form::bb_felveszClick();
    m_writtenId.clear();
    m_editId.clear();
    p_kereso->show();
    m_choicesLoaded = false; // the saved offering may bring a subject or course into a semester's lists
    relocate(id, semester);
}

void Tform_Tanora::bb_ujClick()
{
    {
        KeepFilter keep(vdc_felev_szuro);
        TAlap_Form::bb_ujClick();
    }
    m_writtenId.clear();
    m_editId.clear();
    p_kereso->hide();
    hallgato.close();
    const QString semester = FindCurrentSemester();
    vdc_felev->Ertek(semester);
    fillSemesterChoices(semester, false);
    vdc_felev->setFocus();
}

void Tform_Tanora::bb_modositClick()
{
    const QString id = currentRowOffering();
    if (id.isEmpty()) {
        InfoBox(QStringLiteral("Nincs kiválasztott tantárgy!"));
        return;
    }
    m_editId = id;
    TAlap_Form::bb_modositClick();
    p_kereso->hide();
}

void Tform_Tanora::bb_megsemClick()
{
    const QString written = m_writtenId;
    {
        KeepFilter keep(vdc_felev_szuro);
        TAlap_Form::bb_megsemClick();
    }
    m_writtenId.clear();
    m_editId.clear();
    p_kereso->show();
    if (!written.isEmpty())
        relocate(written, vdc_felev->Eredmeny()); // the row written before a failure is shown
    else
        showRow(); // the current row's stored values replace the discarded ones
}

void Tform_Tanora::bb_torolClick()
{
    const bool wasNew = EditMode == EditState::New;
    const QString id = wasNew ? QString() : m_editId;
    {
        KeepFilter keep(vdc_felev_szuro);
        TAlap_Form::bb_torolClick();
    }
    m_writtenId.clear();
    m_editId.clear();
    p_kereso->show();
    if (wasNew) {
        showRow(); // an offering not yet saved is only discarded
        return;
    }
    if (id.isEmpty()) {
        InfoBox(QStringLiteral("Nincs kiválasztott tantárgy!"));
        return;
    }
    // A group of a timetable entry stays: its enrolments and teachers are not touched either.
    const QString groups = FirstValue(UPDATEQuery,
                                      QStringLiteral("Select Count(*) DB From orarend_csoport Where ft_id=") + SqlId(id),
                                      QStringLiteral("DB"));
    if (groups.toInt() > 0) {
        InfoBox(QStringLiteral("A tantárgy nem törölhető, mert órarendi bejegyzéshez van rendelve!"));
        showRow();
        return;
    }
    if (!ConfirmBox(QStringLiteral("Biztos törli a tantárgyat?")))
        return;
    try {
        const QString condition = KeyField + u'=' + SqlId(id);
        DeleteRecord(QStringLiteral("tan_okt"), condition);
        DeleteRecord(QStringLiteral("tan_hall"), condition);
        DeleteRecord(QStringLiteral("felvett_tantargy"), condition);
    } catch (const DbError &) {
        InfoBox(QStringLiteral("A tantargy nem törölhető!"));
    }
    if (CurrentOfferingId == id)
        CurrentOfferingId.clear();
    SZURES.refresh();
    closeStudentsIfEmpty();
}

void Tform_Tanora::sb_kilepClick()
{
    TAlap_Form::sb_kilepClick();
    if (!isVisible())
        CurrentOfferingId.clear();
}

void Tform_Tanora::sb_rendbenClick()
{
    if (RefuseWhileEditing())
        return;
    if (!CurrentTimetableId.isEmpty()) {
        CurrentOfferingId.clear();
        QVector<OfferingToLink> chosen;
        if (SZURES.isActive()) {
            const int offering = SZURES.fieldIndex(KeyField);
            const int semester = SZURES.fieldIndex(QStringLiteral("felev_id"));
            for (const int row : dbg_lista->selectedRows())
                chosen.push_back({SZURES.text(row, offering), SZURES.text(row, semester)});
        }
        LinkOfferingsToEntry(UPDATEQuery, CurrentTimetableId, chosen, [](const QString &id) { CurrentOfferingId = id; });
    }
    TAlap_Form::sb_kilepClick();
}
