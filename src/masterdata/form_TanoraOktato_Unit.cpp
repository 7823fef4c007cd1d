#include "form_TanoraOktato_Unit.h"

#include "Calendar.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

Tform_TanoraOktato *form_TanoraOktato = nullptr;

namespace {

// The teachers assigned to an offering of the subject in the semester at the faculty.
QString AssignedTeachers(const QString &subjectId, const QString &semesterId, const QString &facultyId)
{
    return QStringLiteral("Select b.oktato_id From tan_okt b, felvett_tantargy c Where b.ft_id=c.ft_id and c.tantargy_id=")
           + SqlId(subjectId) + QStringLiteral(" and c.felev_id=") + SqlId(semesterId) + QStringLiteral(" and c.kar_id=")
           + SqlId(facultyId);
}

DBGrid *teacherGrid(QWidget *parent, const char *name, Dataset *data)
{
    auto *g = new DBGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->setDataset(data);
    g->addColumn(QStringLiteral("felhasznalo_id"), QStringLiteral("id"), false, 40);
    g->addColumn(QStringLiteral("felhasznalo_nev"), QStringLiteral("név"), true, 260);
    WireGridServices(g);
    return g;
}

} // namespace

QString Tform_TanoraOktato::SubjectChoiceStatement(const QString &facultyId, const QString &semesterId)
{
    return QStringLiteral("Select a.tantargy_id as ID, a.tantargy_nev as NEV From Tantargy a Where a.tantargy_id in "
                          "(Select x.tantargy_id From Felvett_tantargy x Where x.kar_id = ")
           + SqlId(facultyId) + QStringLiteral(" and x.felev_id = ") + SqlId(semesterId) + u')';
}

Tform_TanoraOktato::Tform_TanoraOktato(QWidget *parent)
    : TAlapSzures_Form(parent), Oktato(SZURES.connection(), QStringLiteral("Oktato"), this)
{
    setObjectName(QStringLiteral("form_TanoraOktato"));
    setWindowTitle(QStringLiteral("Tanórák és oktatók összerendelése"));
    resize(720, 520);

    vdc_felev = new TVDCComboBox(p_Adatok);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &ADOQuery1;
    vdc_felev->Lekerdezes = QStringLiteral("Select felev_id as ID, felev_nev as NEV From felev Order By felev_datumtol desc");
    vdc_tanora = new TVDCComboBox(p_Adatok);
    vdc_tanora->setObjectName(QStringLiteral("vdc_tanora"));
    vdc_tanora->ADOQuery = &ADOQuery1;
    dbg_lista = teacherGrid(p_Adatok, "dbg_lista", &SZURES);
    dbg_oktato = teacherGrid(p_Adatok, "dbg_oktato", &Oktato);
    bb_hozzaad = GlyphButton(p_Adatok, "bb_hozzaad", QStringLiteral("Kijelölteket hozzáad"), QStyle::SP_ArrowRight);
    bb_elvesz = GlyphButton(p_Adatok, "bb_elvesz", QStringLiteral("Kijelölteket elvesz"), QStyle::SP_ArrowLeft);
    for (QPushButton *b : {bb_hozzaad, bb_elvesz}) {
        b->setAccessibleName(b->toolTip());
        b->hide(); // assignments are made in the teachers and timetable windows
    }

    auto *grid = new QGridLayout(p_Adatok);
    auto addChoice = [&](const QString &caption, QWidget *control, int row) {
        auto *label = new QLabel(caption, p_Adatok);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1, 1, 3);
    };
    addChoice(QStringLiteral("Félév"), vdc_felev, 0);
    addChoice(QStringLiteral("Tanóra"), vdc_tanora, 1);
    auto *teachersLabel = new QLabel(QStringLiteral("Oktatók"), p_Adatok);
    teachersLabel->setBuddy(dbg_lista);
    auto *assignedLabel = new QLabel(QStringLiteral("Tanóra oktatói"), p_Adatok);
    assignedLabel->setBuddy(dbg_oktato);
    grid->addWidget(teachersLabel, 2, 0, 1, 2);
    grid->addWidget(assignedLabel, 2, 3);
    grid->addWidget(dbg_lista, 3, 0, 2, 2);
    grid->addWidget(bb_hozzaad, 3, 2);
    grid->addWidget(bb_elvesz, 4, 2);
    grid->addWidget(dbg_oktato, 3, 3, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    grid->setRowStretch(4, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{bb_indit, bb_felttorol, bb_Ok, bb_Ment, bb_excel, sb_email,
                                                       sb_nyomtat})
        w->hide();
    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(vdc_tanora, &TVDCComboBox::valueChanged, this, [this] { vdc_tanoraChange(); });
}

Tform_TanoraOktato::~Tform_TanoraOktato()
{
    if (form_TanoraOktato == this)
        form_TanoraOktato = nullptr;
}

void Tform_TanoraOktato::FormShow()
{
    TAlapSzures_Form::FormShow();
    LoadGridLayout(dbg_lista);
    LoadGridLayout(dbg_oktato);
    {
        // Loading adds items one by one; the change step runs once, on the chosen semester.
        const QSignalBlocker quiet(vdc_felev);
        vdc_felev->Feltoltes();
        vdc_felev->Ertek(FindCurrentSemester());
    }
    vdc_felevChange();
}

void Tform_TanoraOktato::vdc_felevChange()
{
    const QString semester = vdc_felev->Eredmeny();
    vdc_tanora->Lekerdezes = SubjectChoiceStatement(LoginInfo.FacultyId, semester == u"null" ? QString() : semester);
    {
        const QSignalBlocker quiet(vdc_tanora);
        vdc_tanora->Feltoltes();
    }
    reopenLists();
}

void Tform_TanoraOktato::vdc_tanoraChange() { reopenLists(); }

void Tform_TanoraOktato::reopenLists()
{
    auto chosen = [](const TVDCComboBox *c) {
        const QString id = c->Eredmeny();
        return id == u"null" ? QString() : id;
    };
    const QString assigned = AssignedTeachers(chosen(vdc_tanora), chosen(vdc_felev), LoginInfo.FacultyId);
    Oktato.close();
    Oktato.setSql(QStringLiteral("Select a.oktato_id as felhasznalo_id, a.oktato_nev as felhasznalo_nev From oktato a "
                                 "Where a.oktato_id in (")
                  + assigned + QStringLiteral(") Order By felhasznalo_nev"));
    Oktato.open();
    SZURES.close();
    SZURES.setSql(QStringLiteral("Select a.oktato_id as felhasznalo_id, a.oktato_nev as felhasznalo_nev From oktato a "
                                 "Where a.oktato_id not in (")
                  + assigned + QStringLiteral(") Order By felhasznalo_nev"));
    SZURES.open();
}

void Tform_TanoraOktato::bb_kilepesClick()
{
    SaveGridLayout(dbg_lista);
    SaveGridLayout(dbg_oktato);
    TAlapSzures_Form::bb_kilepesClick();
}
