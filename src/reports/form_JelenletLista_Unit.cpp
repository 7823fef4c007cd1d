#include "form_JelenletLista_Unit.h"

#include "Alap_Form_Unit.h"
#include "Calendar.h"
#include "DBGrid.h"
#include "Export.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OpenWindow.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_JelenletLista *form_JelenletLista = nullptr;

namespace {
const QString NothingToPrint = QStringLiteral("Nincs nyomtatható adat!");
}

Tform_JelenletLista::Tform_JelenletLista(QWidget *parent)
    : TAlapSzures_Form(parent), keres(SZURES.connection(), QStringLiteral("keres"), this)
{
    setObjectName(QStringLiteral("form_JelenletLista"));
    setWindowTitle(QStringLiteral("Jelenlét lista"));
    resize(1000, 600);

    QWidget *panel = new QWidget(p_Adatok);
    panel->setObjectName(QStringLiteral("p_kereso"));
    vdc_felev = new TVDCComboBox(panel);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &ADOQuery1;
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    vdc_felev->TablaNev = QStringLiteral("felev");
    vdc_felev->setMinimumWidth(200);
    vdc_orarend = new TVDCComboBox(panel);
    vdc_orarend->setObjectName(QStringLiteral("vdc_orarend"));
    vdc_orarend->ADOQuery = &ADOQuery1;
    vdc_orarend->setMinimumWidth(420);
    auto *lFelev = new QLabel(QStringLiteral("Félév"), panel);
    lFelev->setBuddy(vdc_felev);
    auto *lOrarend = new QLabel(QStringLiteral("Órarend"), panel);
    lOrarend->setBuddy(vdc_orarend);
    l_tobbdatum = new QLabel(panel);
    l_tobbdatum->setObjectName(QStringLiteral("l_tobbdatum"));
    l_tobbdatum->setStyleSheet(QStringLiteral("color: #800000; font-weight: bold"));
    l_tobbdatum->hide();

    auto *filters = new QGridLayout(panel);
    filters->setContentsMargins(0, 0, 0, 0);
    filters->addWidget(lFelev, 0, 0);
    filters->addWidget(vdc_felev, 0, 1);
    filters->addWidget(lOrarend, 0, 2);
    filters->addWidget(vdc_orarend, 0, 3);
    filters->addWidget(l_tobbdatum, 1, 0, 1, 5);
    filters->setColumnStretch(4, 1);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Jelenlét lista"));
    dbg_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), true, 240);
    for (int k = 1; k <= MatrixGridDates; ++k) {
        GridColumn &c = dbg_lista->addColumn(QString::number(k), QString::number(k), k < 8, 46);
        c.alignment = Qt::AlignCenter;
        c.symbolFont = true;
    }

    bb_lista = new QPushButton(QStringLiteral("Jelentések"), p_Vezerlosav);
    bb_lista->setObjectName(QStringLiteral("bb_lista"));
    bb_lista->setToolTip(QStringLiteral("Jelentések"));
    bb_lista->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    bb_lista->hide();
    if (auto *bar = qobject_cast<QHBoxLayout *>(p_Vezerlosav->layout()))
        bar->insertWidget(bar->indexOf(bb_Ment), bb_lista);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(panel);
    layout->addWidget(dbg_lista, 1);

    sb_nyomtat->setToolTip(QStringLiteral("Nyomtat"));
    sb_nyomtat->setAccessibleName(QStringLiteral("Nyomtat"));
    for (QWidget *w : std::initializer_list<QWidget *>{bb_Ok, sb_email})
        w->hide();

    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(vdc_orarend, &TVDCComboBox::valueChanged, this, [this] { vdc_orarendChange(); });
    ConnectGuarded(sb_nyomtat, &QToolButton::clicked, this, [this] { sb_nyomtatClick(); });
    ConnectGuarded(bb_excel, &QPushButton::clicked, this, [this] { bb_excelClick(); });
    ConnectGuarded(bb_lista, &QPushButton::clicked, this, [this] { bb_listaClick(); });
    ConnectGuarded(dbg_lista, &QAbstractItemView::doubleClicked, this, [this] { dbg_listaDblClick(); });
    connect(&SZURES, &Dataset::afterScroll, this, &Tform_JelenletLista::SZURESAfterScroll);
    connect(&SZURES, &Dataset::afterOpen, this, &Tform_JelenletLista::SZURESAfterScroll);
}

Tform_JelenletLista::~Tform_JelenletLista()
{
    if (form_JelenletLista == this)
        form_JelenletLista = nullptr;
}

void Tform_JelenletLista::FormShow()
{
    TAlapSzures_Form::FormShow();
    vdc_felev->Feltoltes();
    vdc_felev->Ertek(FindCurrentSemester());
    bb_lista->setVisible(LoginInfo.RoleId == 1);
    for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_nyomtat})
        w->setEnabled(false);
    if (!LoginInfo.FacultyId.trimmed().isEmpty()) {
        vdc_felevChange();
        vdc_orarend->setFocus();
    } else {
        InfoBox(QStringLiteral("Nincs kiválasztva tenszék!"));
    }
}

void Tform_JelenletLista::vdc_felevChange()
{
    CurrentSemesterId = vdc_felev->currentIndex() >= 0 ? vdc_felev->Eredmeny() : QString();
    vdc_orarend->Lekerdezes = LessonComboStatement(LoginInfo.FacultyId, CurrentSemesterId);
    vdc_orarend->Feltoltes();
}

void Tform_JelenletLista::vdc_orarendChange() { bb_inditClick(); }

void Tform_JelenletLista::bb_inditClick()
{
    if (vdc_orarend->currentIndex() < 0 || vdc_felev->currentIndex() < 0)
        return;
    buildMatrix();
}

void Tform_JelenletLista::buildMatrix()
{
    for (int k = 1; k < dbg_lista->columnCount(); ++k)
        dbg_lista->setColumnVisible(k, false);
    l_tobbdatum->hide();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    Dataset &ellenor = keres; // the diagnosis' second query; the dates are read before it runs
    m_build = BuildMatrix(LoginInfo.FacultyId, vdc_felev->Eredmeny(), vdc_orarend->Eredmeny(), keres, SZURES, ADOQuery1,
                          ellenor);
    m_build.facultyName = LoginInfo.FacultyName;
    m_build.semesterText = vdc_felev->currentText();
    m_build.lessonText = vdc_orarend->currentText();
    const QStringList titles = m_build.titles();
    for (int k = 1; k <= int(titles.size()); ++k) {
        dbg_lista->setTitle(k, titles[k - 1]);
        dbg_lista->setTitleDate(k, QDate::fromString(m_build.dates[k - 1], QStringLiteral("yyyy.MM.dd")));
        dbg_lista->setColumnVisible(k, true);
    }
    if (m_build.truncated()) {
        l_tobbdatum->setText(QStringLiteral("Az órának %1 dátuma van: a táblázat az első %2 dátumot mutatja, a későbbiek "
                                            "nem látszanak (az összesítés minden jelenlétet számol).")
                                 .arg(m_build.dates.size())
                                 .arg(MatrixGridDates));
        l_tobbdatum->show();
    }
    if (m_build.opened)
        TAlapSzures_Form::bb_inditClick();
}

bool Tform_JelenletLista::matrixShown() const { return m_build.opened && SZURES.isActive(); }

void Tform_JelenletLista::sb_nyomtatClick()
{
    if (!matrixShown() || SZURES.isEmpty()) {
        InfoBox(NothingToPrint);
        return;
    }
    // The eighth date column shown: the landscape sheet.
    OpenRegisteredWindow(dbg_lista->column(WideSheetDates).visible ? QStringLiteral("form_JelenletiListaNyomt2")
                                                                   : QStringLiteral("form_JelenletiListaNyomt1"),
                         this);
}

void Tform_JelenletLista::bb_excelClick()
{
    if (!matrixShown() || SZURES.isEmpty()) {
        InfoBox(NothingToPrint);
        return;
    }
    ExportToExcel(SZURES, dbg_lista, QStringLiteral("Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"));
}

void Tform_JelenletLista::dbg_listaDblClick()
{
    if (LoginInfo.RoleId != 1 && LoginInfo.RoleId != 2)
        return;
    if (!SZURES.isActive() || SZURES.isEmpty())
        return;
    OpenPositioned = 1;
    OpenRegisteredWindow(QStringLiteral("form_JelenletElem"), this);
    ReopenAndLocate(SZURES, CurrentStudentId, QStringLiteral("hallgato_id"));
    OpenPositioned = 0;
}

void Tform_JelenletLista::bb_listaClick() { OpenRegisteredWindow(QStringLiteral("form_JelenletTor"), this); }

void Tform_JelenletLista::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        return;
    CurrentStudentId = SZURES.fieldByName(QStringLiteral("hallgato_id")).asString();
    CurrentStudentName = SZURES.fieldByName(QStringLiteral("hallgato_nev")).asString();
    CurrentTimetableId = SZURES.fieldByName(QStringLiteral("orarend_id")).asString();
}
