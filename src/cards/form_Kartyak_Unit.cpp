#include "form_Kartyak_Unit.h"

#include "CardSelection.h"
#include "Calendar.h"
#include "Controls.h"
#include "FormFrame.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "OpenWindow.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Kartyak *form_Kartyak = nullptr;

namespace {

QString chosen(const TVDCComboBox *combo) { return combo->currentIndex() >= 0 ? combo->Eredmeny() : QString(); }

QPushButton *iconButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    return b;
}

} // namespace

Tform_Kartyak::Tform_Kartyak(QWidget *parent)
    : TAlapSzures_Form(parent), kartya(SZURES.connection(), QStringLiteral("kartya"), this)
{
    setObjectName(QStringLiteral("form_Kartyak"));
    setWindowTitle(QStringLiteral("Kártya adatok"));
    resize(980, 620);

    auto combo = [this](const char *name) {
        auto *c = new TVDCComboBox(p_Adatok);
        c->setObjectName(QLatin1String(name));
        c->ADOQuery = &ADOQuery1;
        c->setMinimumWidth(160);
        return c;
    };
    vdc_felev = combo("vdc_felev");
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    vdc_felev->TablaNev = QStringLiteral("felev");
    vdc_kurzus = combo("vdc_kurzus");
    vdc_nyelv = combo("vdc_nyelv");
    vdc_nyelv->IDMezo = QStringLiteral("nyelv_id");
    vdc_nyelv->NevMezo = QStringLiteral("nyelv_nev");
    vdc_nyelv->TablaNev = QStringLiteral("nyelv");
    e_evfolyam = new QLineEdit(p_Adatok);
    e_evfolyam->setObjectName(QStringLiteral("e_evfolyam"));
    e_evfolyam->setMaxLength(10);
    vdc_orarend = combo("vdc_orarend");
    vdc_orarend->setMinimumWidth(320);
    cb_kartya = new QCheckBox(QStringLiteral("Kártyával nem rendelkezik?"), p_Adatok);
    cb_kartya->setObjectName(QStringLiteral("cb_kartya"));
    dbl_nev = new TDBLookUpEdit(p_Adatok);
    dbl_nev->setObjectName(QStringLiteral("dbl_nev"));
    dbl_nev->DataSource = &SZURES;
    dbl_nev->FieldName = QStringLiteral("hallgato_nev");
    dbl_nev->Azonosito = QStringLiteral("hallgato_id");
    dbl_kod = new TDBLookUpEdit(p_Adatok);
    dbl_kod->setObjectName(QStringLiteral("dbl_kod"));
    dbl_kod->DataSource = &SZURES;
    dbl_kod->FieldName = QStringLiteral("hallgato_kod");
    dbl_kod->Azonosito = QStringLiteral("hallgato_id");

    auto *filters = new QGridLayout;
    auto label = [this, filters](const QString &text, QWidget *buddy, int row, int column) {
        auto *l = new QLabel(text, p_Adatok);
        l->setBuddy(buddy);
        filters->addWidget(l, row, column);
        filters->addWidget(buddy, row, column + 1);
    };
    label(QStringLiteral("Félév"), vdc_felev, 0, 0);
    label(QStringLiteral("Kurzus"), vdc_kurzus, 0, 2);
    label(QStringLiteral("Nyelv"), vdc_nyelv, 0, 4);
    label(QStringLiteral("Évfolyam"), e_evfolyam, 1, 0);
    label(QStringLiteral("Órarend"), vdc_orarend, 1, 2);
    filters->addWidget(cb_kartya, 1, 4, 1, 2);
    label(QStringLiteral("Hallgató neve"), dbl_nev, 2, 0);
    label(QStringLiteral("Neptun kód"), dbl_kod, 2, 2);
    filters->setColumnStretch(3, 1);

    dbg_lista = new DBGrid;
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Hallgatók"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("hallgato_id"), QStringLiteral("id"), false, 50);
    dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), true, 220);
    dbg_lista->addColumn(QStringLiteral("hallgato_kod"), QStringLiteral("Neptun kód"), true, 90).alignment =
        Qt::AlignRight | Qt::AlignVCenter;
    clb_hallgato = new TCheckListBox;
    clb_hallgato->setObjectName(QStringLiteral("clb_hallgato"));
    clb_hallgato->setAccessibleName(QStringLiteral("Nyomtatandó kártyák"));
    dbg_kiadott = new DBGrid;
    dbg_kiadott->setObjectName(QStringLiteral("dbg_kiadott"));
    dbg_kiadott->setAccessibleName(QStringLiteral("Kiadott kártyák"));
    dbg_kiadott->setDataset(&kartya);
    dbg_kiadott->addColumn(QStringLiteral("kartya_id"), QStringLiteral("id"), true, 50);
    dbg_kiadott->addColumn(QStringLiteral("kartya_datum"), QStringLiteral("dátum"), true, 100);
    kartya.setSql(QStringLiteral("Select a.kartya_id, a.kartya_datum From kartya a Where a.hallgato_id=:HAL_ID"));

    bb_be = iconButton(p_Adatok, "bb_be", QStringLiteral("Összes kijelölés"), QStyle::SP_DialogYesButton);
    bb_ki = iconButton(p_Adatok, "bb_ki", QStringLiteral("Kijelőlések törlése"), QStyle::SP_DialogNoButton);
    bb_kartya = CaptionButton(p_Vezerlosav, "bb_kartya", QStringLiteral("Kártya nyomtatás"), QStyle::SP_FileDialogContentsView);
    if (auto *bar = qobject_cast<QHBoxLayout *>(p_Vezerlosav->layout()))
        bar->insertWidget(bar->indexOf(bb_kilepes), bb_kartya);

    auto group = [](const QString &title, QWidget *content, QWidget *extra = nullptr) {
        auto *g = new QGroupBox(title);
        auto *l = new QVBoxLayout(g);
        l->addWidget(content, 1);
        if (extra)
            l->addWidget(extra);
        return g;
    };
    auto *tickButtons = new QWidget;
    auto *tb = new QHBoxLayout(tickButtons);
    tb->setContentsMargins(0, 0, 0, 0);
    tb->addWidget(bb_be);
    tb->addWidget(bb_ki);
    tb->addStretch(1);
    auto *split = new QSplitter(Qt::Horizontal, p_Adatok);
    split->addWidget(group(QStringLiteral("Hallgatók"), dbg_lista));
    split->addWidget(group(QStringLiteral("Nyomtatás"), clb_hallgato, tickButtons));
    split->addWidget(group(QStringLiteral("Kiadott kártyák"), dbg_kiadott));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 1);
    split->setSizes({400, 380, 220});

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addLayout(filters);
    layout->addWidget(split, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{sb_email, bb_Ok, bb_Ment, bb_excel})
        w->hide();

    WireGridServices(dbg_lista);
    WireGridServices(dbg_kiadott);
    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(bb_kartya, &QPushButton::clicked, this, [this] { bb_kartyaClick(); });
    ConnectGuarded(bb_be, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < clb_hallgato->count(); ++i)
            clb_hallgato->setChecked(i, true);
    });
    ConnectGuarded(bb_ki, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < clb_hallgato->count(); ++i)
            clb_hallgato->setChecked(i, false);
    });
    ConnectGuarded(clb_hallgato, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { clb_hallgatoClick(item); });
    connect(&SZURES, &Dataset::afterOpen, this, [this] { RunGuarded([this] { rebuildCheckList(); }); });
    connect(&SZURES, &Dataset::afterClose, this, [this] {
        captureTicks();
        clb_hallgato->clear();
    });
    connect(&SZURES, &Dataset::afterScroll, this, [this] { RunGuarded([this] { SZURESAfterScroll(); }); });
}

Tform_Kartyak::~Tform_Kartyak()
{
    if (form_Kartyak == this)
        form_Kartyak = nullptr;
}

void Tform_Kartyak::FormShow()
{
    TAlapSzures_Form::FormShow();
    LoadGridLayout(dbg_lista);
    LoadGridLayout(dbg_kiadott);
    CurrentSemesterId = FindCurrentSemester();
    vdc_nyelv->Feltoltes();
    vdc_kurzus->Lekerdezes = QStringLiteral("Select a.kurzus_id as ID, a.kurzus_nev as NEV From Kurzus a Where a.kurzus_id "
                                            "in (Select x.kurzus_id From Felvett_tantargy x Where x.kar_id = ")
                             + SqlId(LoginInfo.FacultyId) + QStringLiteral(") Order By NEV");
    vdc_kurzus->Feltoltes();
    vdc_felev->Feltoltes();
    vdc_felev->Ertek(CurrentSemesterId);
    vdc_felevChange();
    sb_nyomtat->hide();
}

void Tform_Kartyak::vdc_felevChange()
{
    CurrentSemesterId = chosen(vdc_felev);
    vdc_orarend->Lekerdezes = QStringLiteral("Select orarend_id as ID, (orarend_nev +' - ' + dbo.orarend_kurzus(orarend_id)) "
                                             "as NEV From orarend Where kar_id=")
                              + SqlId(LoginInfo.FacultyId) + QStringLiteral(" and felev_id=") + SqlId(CurrentSemesterId)
                              + QStringLiteral(" Order By NEV");
    vdc_orarend->Feltoltes();
}

QString Tform_Kartyak::SearchStatement() const
{
    CardFilter f;
    f.facultyId = LoginInfo.FacultyId;
    f.semesterId = CurrentSemesterId;
    f.courseId = chosen(vdc_kurzus);
    f.languageId = chosen(vdc_nyelv);
    f.year = e_evfolyam->text();
    f.lessonId = chosen(vdc_orarend);
    f.withoutCard = cb_kartya->isChecked();
    return CardSearchStatement(f);
}

void Tform_Kartyak::bb_inditClick()
{
    SZURES.close();
    SZURES.clearParams();
    SZURES.setSql(SearchStatement());
    m_ticked.clear(); // a new search starts with nobody ticked
    clb_hallgato->clear();
    TAlapSzures_Form::bb_inditClick();
}

void Tform_Kartyak::bb_felttorolClick()
{
    TAlapSzures_Form::bb_felttorolClick();
    m_ticked.clear();
    clb_hallgato->clear();
}

void Tform_Kartyak::bb_kilepesClick()
{
    SaveGridLayout(dbg_lista);
    SaveGridLayout(dbg_kiadott);
    TAlapSzures_Form::bb_kilepesClick();
}

QString Tform_Kartyak::StudentIdOf(const QListWidgetItem *item) { return item ? item->data(Qt::UserRole).toString() : QString(); }

void Tform_Kartyak::captureTicks()
{
    for (int i = 0; i < clb_hallgato->count(); ++i) {
        const QString id = StudentIdOf(clb_hallgato->item(i));
        if (clb_hallgato->isChecked(i))
            m_ticked.insert(id);
        else
            m_ticked.remove(id);
    }
}

void Tform_Kartyak::rebuildCheckList()
{
    // The ticks as they stand, then the list again in the order of the grid.
    captureTicks();
    clb_hallgato->clear();
    if (!SZURES.isActive())
        return;
    const int fid = SZURES.fieldIndex(QStringLiteral("hallgato_id"));
    const int fnev = SZURES.fieldIndex(QStringLiteral("hallgato_nev"));
    const int fkod = SZURES.fieldIndex(QStringLiteral("hallgato_kod"));
    for (int row = 0; row < SZURES.recordCount(); ++row) {
        const QString id = SZURES.text(row, fid);
        clb_hallgato->addCheckItem(SZURES.text(row, fnev) + QStringLiteral(" (") + SZURES.text(row, fkod) + u')',
                                   m_ticked.contains(id));
        clb_hallgato->item(row)->setData(Qt::UserRole, id);
    }
    selectCurrentItem();
}

void Tform_Kartyak::selectCurrentItem()
{
    if (m_syncing || !SZURES.isActive() || SZURES.isEmpty())
        return;
    const QString id = SZURES.fieldByName(QStringLiteral("hallgato_id")).asString();
    for (int i = 0; i < clb_hallgato->count(); ++i)
        if (StudentIdOf(clb_hallgato->item(i)) == id) {
            m_syncing = true;
            clb_hallgato->setCurrentRow(i);
            m_syncing = false;
            return;
        }
}

void Tform_Kartyak::clb_hallgatoClick(QListWidgetItem *item)
{
    if (!item || !SZURES.isActive())
        return;
    m_syncing = true;
    SZURES.locate(QStringLiteral("hallgato_id"), {StudentIdOf(item)});
    m_syncing = false;
}

void Tform_Kartyak::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        return;
    CurrentStudentId = SZURES.fieldByName(QStringLiteral("hallgato_id")).asString();
    selectCurrentItem();
    if (CurrentStudentId.isEmpty())
        return;
    try {
        kartya.close();
        kartya.setParam(QStringLiteral("HAL_ID"), CurrentStudentId);
        kartya.open();
    } catch (...) {
        // The issued cards keep what they showed.
    }
}

void Tform_Kartyak::bb_kartyaClick()
{
    m_selection.clear();
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        InfoBox(QStringLiteral("Nincs nyomtatható adat!"));
        return;
    }
    QStringList ids;
    for (int i = 0; i < clb_hallgato->count(); ++i)
        if (clb_hallgato->isChecked(i))
            ids << StudentIdOf(clb_hallgato->item(i));
    m_selection = ids.join(u',');
    OpenRegisteredWindow(QStringLiteral("form_KartyakNyomt"), this);
    // The print may have recorded issues: the current student's issued cards again.
    SZURESAfterScroll();
}
