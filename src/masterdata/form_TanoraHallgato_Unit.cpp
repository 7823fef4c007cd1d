#include "form_TanoraHallgato_Unit.h"

#include "Adatmodul.h"
#include "Calendar.h"
#include "Controls.h"
#include "FormFrame.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "DbError.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OpenWindow.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QFocusEvent>
#include <tuple>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_TanoraHallgato *form_TanoraHallgato = nullptr;

namespace {

const QString CandidatesSql = QStringLiteral(
    "Select a.hallgato_nev, a.hallgato_id, a.hallgato_kod, a.hallgato_diak From Hallgato a Where a.hallgato_id not in "
    "(Select y.hallgato_id From Orarend x, Tan_Hall y Where x.orarend_id=y.orarend_id and x.orarend_id = :tan_id and "
    "x.felev_id = :fe_id) Order By a.hallgato_nev");

const QString MembersSql = QStringLiteral(
    "Select b.hallgato_id as id, b.th_id, (Select x.hallgato_nev From Hallgato x Where x.hallgato_id=b.hallgato_id) as "
    "nev, (Select x.tantargy_nev From tantargy x, felvett_tantargy y Where x.tantargy_id=y.tantargy_id and "
    "y.ft_id=b.ft_id) as tantargy From Orarend a, Tan_Hall b Where a.orarend_id=b.orarend_id and a.orarend_id = "
    ":tan_id and a.felev_id = :fe_id Order By nev");

const QString NoEntryMessage = QStringLiteral("Félév és órarend választása szükséges!");

TDBLookUpEdit *searchEdit(QWidget *parent, const char *name, Dataset *candidates, const char *field)
{
    auto *e = new TDBLookUpEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->DataSource = candidates;
    e->FieldName = QLatin1String(field);
    e->Azonosito = QStringLiteral("hallgato_id");
    return e;
}

QToolButton *moveButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    QToolButton *b = ToolButton(parent, name, hint, icon);
    b->setAutoRaise(false);
    b->setMinimumSize(40, 34);
    return b;
}

} // namespace

Tform_TanoraHallgato::Tform_TanoraHallgato(QWidget *parent)
    : TAlapSzures_Form(parent),
      tan_hall(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("tan_hall"), this)
{
    setObjectName(QStringLiteral("form_TanoraHallgato"));
    setWindowTitle(QStringLiteral("Tanórák és hallgatók összerendelése"));
    resize(900, 600);

    vdc_felev = new TVDCComboBox(p_Adatok);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &ADOQuery1;
    vdc_felev->TablaNev = QStringLiteral("felev");
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    vdc_orarend = new TVDCComboBox(p_Adatok);
    vdc_orarend->setObjectName(QStringLiteral("vdc_orarend"));
    vdc_orarend->ADOQuery = &ADOQuery1;
    vdc_orarend->setMinimumWidth(360);

    dbl_hallgato = searchEdit(p_Adatok, "dbl_hallgato", &SZURES, "hallgato_nev");
    dbl_kod = searchEdit(p_Adatok, "dbl_kod", &SZURES, "hallgato_kod");
    dbl_id = searchEdit(p_Adatok, "dbl_id", &SZURES, "hallgato_nev");
    DBLookUpEdit1 = searchEdit(p_Adatok, "DBLookUpEdit1", &SZURES, "hallgato_diak");

    auto *choices = new QHBoxLayout;
    choices->addWidget(BuddyLabel(QStringLiteral("Félév"), vdc_felev, p_Adatok));
    choices->addWidget(vdc_felev, 1);
    choices->addSpacing(12);
    choices->addWidget(BuddyLabel(QStringLiteral("Órarend"), vdc_orarend, p_Adatok));
    choices->addWidget(vdc_orarend, 3);

    // The search edits under one caption, each with its own small label.
    auto *search = new QHBoxLayout;
    auto *student = new QLabel(QStringLiteral("Hallgató"), p_Adatok);
    QFont bold = student->font();
    bold.setBold(true);
    student->setFont(bold);
    student->setBuddy(dbl_hallgato);
    search->addWidget(student, 0, Qt::AlignBottom);
    for (const auto &[edit, caption, stretch] :
         {std::tuple<TDBLookUpEdit *, const char *, int>{dbl_hallgato, "név", 3}, {dbl_kod, "kód", 1}, {dbl_id, "id", 1},
          {DBLookUpEdit1, "diákigazolvány", 1}}) {
        auto *box = new QVBoxLayout;
        box->setSpacing(1);
        box->addWidget(BuddyLabel(QString::fromUtf8(caption), edit, p_Adatok));
        box->addWidget(edit);
        search->addLayout(box, stretch);
    }

    auto *leftCaption = new QLabel(QStringLiteral("Hallgatók listája"), p_Adatok);
    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(leftCaption->text());
    leftCaption->setBuddy(dbg_lista);
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setMultiSelect(true);
    dbg_lista->addColumn(QStringLiteral("hallgato_id"), QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), true, 260);
    WireGridServices(dbg_lista);

    auto *rightCaption = new QLabel(QStringLiteral("Tanóra hallgatói"), p_Adatok);
    dbg_tanhall = new DBGrid(p_Adatok);
    dbg_tanhall->setObjectName(QStringLiteral("dbg_tanhall"));
    dbg_tanhall->setAccessibleName(rightCaption->text());
    rightCaption->setBuddy(dbg_tanhall);
    dbg_tanhall->setDataset(&tan_hall);
    dbg_tanhall->setMultiSelect(true);
    dbg_tanhall->addColumn(QStringLiteral("id"), QStringLiteral("id"), false, 40);
    dbg_tanhall->addColumn(QStringLiteral("nev"), QStringLiteral("név"), true, 200);
    dbg_tanhall->addColumn(QStringLiteral("tantargy"), QStringLiteral("tantárgy"), true, 180);

    sb_be = moveButton(p_Adatok, "sb_be", QStringLiteral("Kijelölteket hozzáad"), QStyle::SP_ArrowRight);
    sb_ki = moveButton(p_Adatok, "sb_ki", QStringLiteral("Kijelölteket elvesz"), QStyle::SP_ArrowLeft);
    bb_be = new QPushButton(style()->standardIcon(QStyle::SP_DialogYesButton), QString(), p_Adatok);
    bb_be->setObjectName(QStringLiteral("bb_be"));
    bb_be->setToolTip(QStringLiteral("Összes kijelölés"));
    bb_ki = new QPushButton(style()->standardIcon(QStyle::SP_DialogNoButton), QString(), p_Adatok);
    bb_ki->setObjectName(QStringLiteral("bb_ki"));
    bb_ki->setToolTip(QStringLiteral("Kijelőlések törlése"));
    for (QPushButton *b : {bb_be, bb_ki}) {
        b->setAccessibleName(b->toolTip());
        b->setAutoDefault(false);
        b->setMinimumSize(40, 34);
    }

    auto *left = new QVBoxLayout;
    left->addWidget(leftCaption);
    left->addWidget(dbg_lista, 1);
    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QWidget *b : std::initializer_list<QWidget *>{sb_be, sb_ki})
        middle->addWidget(b);
    middle->addSpacing(24);
    for (QWidget *b : std::initializer_list<QWidget *>{bb_be, bb_ki})
        middle->addWidget(b);
    middle->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(rightCaption);
    right->addWidget(dbg_tanhall, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(middle);
    lists->addLayout(right, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addLayout(choices);
    layout->addLayout(search);
    layout->addLayout(lists, 1);

    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    // A chosen entry opens the lists; a typed name that names no entry closes them.
    ConnectGuarded(vdc_orarend, &TVDCComboBox::valueChanged, this, [this] {
        if (IsNullFieldValue(vdc_orarend->Eredmeny()))
            closeLists();
        else
            openLists();
    });
    ConnectGuarded(sb_be, &QToolButton::clicked, this, [this] { sb_beClick(); });
    ConnectGuarded(sb_ki, &QToolButton::clicked, this, [this] { sb_kiClick(); });
    ConnectGuarded(bb_be, &QPushButton::clicked, this, [this] { bb_beClick(); });
    ConnectGuarded(bb_ki, &QPushButton::clicked, this, [this] { bb_kiClick(); });
    ConnectGuarded(dbg_lista, &QAbstractItemView::doubleClicked, this, [this] { openStudent(SZURES); });
    ConnectGuarded(dbg_tanhall, &QAbstractItemView::doubleClicked, this, [this] { openStudent(tan_hall); });
    connect(&SZURES, &Dataset::afterScroll, this, &Tform_TanoraHallgato::SZURESAfterScroll);
    connect(&tan_hall, &Dataset::afterScroll, this, &Tform_TanoraHallgato::tan_hallAfterScroll);
    connect(&tan_hall, &Dataset::afterOpen, this, &TAlapSzures_Form::SZURESAfterOpen);
}

Tform_TanoraHallgato::~Tform_TanoraHallgato()
{
    if (form_TanoraHallgato == this)
        form_TanoraHallgato = nullptr;
}

void Tform_TanoraHallgato::FormShow()
{
    TAlapSzures_Form::FormShow();
    LoadGridLayout(dbg_lista);
    LoadGridLayout(dbg_tanhall);
    vdc_felev->Feltoltes();
    vdc_felev->Ertek(FindCurrentSemester());
    vdc_felevChange();
}

void Tform_TanoraHallgato::done(int result)
{
    RunGuarded([this] {
        SaveGridLayout(dbg_lista);
        SaveGridLayout(dbg_tanhall);
    });
    TAlapSzures_Form::done(result);
}

void Tform_TanoraHallgato::closeLists()
{
    SZURES.close();
    tan_hall.close();
}

void Tform_TanoraHallgato::vdc_felevChange()
{
    vdc_orarend->Lekerdezes = QStringLiteral("Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) "
                                             "as NEV From orarend Where kar_id=")
                              + SqlId(LoginInfo.FacultyId) + QStringLiteral(" and felev_id=")
                              + SqlId(vdc_felev->Eredmeny()) + QStringLiteral(" Order By NEV");
    vdc_orarend->Feltoltes();
    closeLists(); // the entry chosen before belongs to the semester left
}

bool Tform_TanoraHallgato::openLists()
{
    const QString entry = vdc_orarend->Eredmeny();
    if (IsNullFieldValue(entry)) {
        InfoBox(NoEntryMessage);
        return false;
    }
    const QString semester = vdc_felev->Eredmeny();
    try {
        for (Dataset *q : {&SZURES, &tan_hall}) {
            q->close();
            q->setSql(q == &SZURES ? CandidatesSql : MembersSql);
            q->clearParams();
            q->setParam(QStringLiteral("tan_id"), entry);
            q->setParam(QStringLiteral("fe_id"), semester);
            q->open();
        }
    } catch (const DbError &) {
        // The lists show what they could open.
    }
    return true;
}

void Tform_TanoraHallgato::bb_inditClick()
{
    if (openLists())
        TAlapSzures_Form::bb_inditClick();
}

void Tform_TanoraHallgato::bb_felttorolClick()
{
    TAlapSzures_Form::bb_felttorolClick();
    tan_hall.close();
}

void Tform_TanoraHallgato::sb_beClick()
{
    const QString entry = vdc_orarend->Eredmeny();
    if (IsNullFieldValue(entry) || !SZURES.isActive()) {
        InfoBox(NoEntryMessage);
        return;
    }
    const QList<int> rows = dbg_lista->selectedRows();
    if (rows.isEmpty()) {
        InfoBox(QStringLiteral("Jelölje ki a hozzáadandó hallgatókat!"));
        return;
    }
    const int idColumn = SZURES.fieldIndex(QStringLiteral("hallgato_id"));
    QStringList students;
    for (const int row : rows)
        students << SZURES.text(row, idColumn);
    for (const QString &student : students) {
        QString newId;
        InsertRecord(QStringLiteral("tan_hall"), {QStringLiteral("orarend_id=") + entry, QStringLiteral("hallgato_id=") + student},
                     true, newId);
    }
    dbg_lista->clearRowSelection();
    openLists();
}

void Tform_TanoraHallgato::sb_kiClick()
{
    if (!tan_hall.isActive() || tan_hall.isEmpty()) {
        InfoBox(QStringLiteral("Nincs kiválasztott hallgató a tanóra hallgatói között!"));
        return;
    }
    const QString enrolment = tan_hall.fieldByName(QStringLiteral("th_id")).asString();
    DeleteRecord(QStringLiteral("tan_hall"), QStringLiteral("th_id=") + SqlId(enrolment));
    if (CurrentEnrolmentId == enrolment)
        CurrentEnrolmentId.clear();
    openLists();
}

void Tform_TanoraHallgato::bb_beClick() { dbg_lista->selectAllRows(); }

void Tform_TanoraHallgato::bb_kiClick() { dbg_lista->clearRowSelection(); }

void Tform_TanoraHallgato::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        return;
    CurrentStudentId = SZURES.fieldByName(QStringLiteral("hallgato_id")).asString();
    SoughtStudentName = SZURES.fieldByName(QStringLiteral("hallgato_nev")).asString();
}

void Tform_TanoraHallgato::tan_hallAfterScroll()
{
    if (!tan_hall.isActive() || tan_hall.isEmpty())
        return;
    CurrentEnrolmentId = tan_hall.fieldByName(QStringLiteral("th_id")).asString();
    CurrentStudentId = tan_hall.fieldByName(QStringLiteral("id")).asString();
    SoughtStudentName = tan_hall.fieldByName(QStringLiteral("nev")).asString();
}

void Tform_TanoraHallgato::openStudent(Dataset &list)
{
    // The student of the row double-clicked, even when that row was already current and the other
    // list was touched since.
    if (&list == &SZURES)
        SZURESAfterScroll();
    else
        tan_hallAfterScroll();
    OpenPositioned = 1;
    OpenRegisteredWindow(QStringLiteral("form_Hallgatok"), this);
}
