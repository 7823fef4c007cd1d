#include "form_Hibanaplo_Unit.h"

#include "Alap_Form_Unit.h"
#include "Calendar.h"
#include "ContextMenu.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Guard.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Hibanaplo *form_Hibanaplo = nullptr;

Tform_Hibanaplo::Tform_Hibanaplo(QWidget *parent) : TAlapSzures_Form(parent)
{
    setObjectName(QStringLiteral("form_Hibanaplo"));
    setWindowTitle(QStringLiteral("Hibanapló"));
    resize(900, 560);

    vcb_felh = new TVDCComboBox(p_Adatok);
    vcb_felh->setObjectName(QStringLiteral("vcb_felh"));
    vcb_felh->ADOQuery = &ADOQuery1;
    vcb_felh->Lekerdezes = QStringLiteral("Select felh_id as ID, felh_nev as NEV From felhasznalo Where felh_aktiv=1 Order By NEV");
    dtp_HibaTol = new TDateTimePicker(p_Adatok);
    dtp_HibaTol->setObjectName(QStringLiteral("dtp_HibaTol"));
    dtp_HibaIg = new TDateTimePicker(p_Adatok);
    dtp_HibaIg->setObjectName(QStringLiteral("dtp_HibaIg"));
    for (TDateTimePicker *d : {dtp_HibaTol, dtp_HibaIg}) {
        d->setShowCheckBox(true);
        d->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        d->setCalendarPopup(true);
        d->setMinimumWidth(d->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 64);
    }
    dtp_HibaTol->checkBox()->setAccessibleName(QStringLiteral("Hiba dátuma ettől"));
    dtp_HibaIg->checkBox()->setAccessibleName(QStringLiteral("Hiba dátuma eddig"));
    rg_milyen = new TRadioGroup(QStringLiteral("Állapot"), p_Adatok);
    rg_milyen->setObjectName(QStringLiteral("rg_milyen"));
    rg_milyen->setItems({QStringLiteral("Folyamatban"), QStringLiteral("Javítva"), QStringLiteral("Törölt"), QStringLiteral("Mind")}, 4);
    rg_milyen->setItemIndex(0);

    auto *filters = new QGridLayout;
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, p_Adatok);
        l->setBuddy(buddy);
        return l;
    };
    filters->addWidget(label(QStringLiteral("Felhasználó"), vcb_felh), 0, 0);
    filters->addWidget(vcb_felh, 0, 1, 1, 3);
    filters->addWidget(label(QStringLiteral("Hiba dátuma"), dtp_HibaTol), 1, 0);
    filters->addWidget(dtp_HibaTol, 1, 1);
    filters->addWidget(label(QStringLiteral("és"), dtp_HibaIg), 1, 2);
    filters->addWidget(dtp_HibaIg, 1, 3);
    filters->addWidget(new QLabel(QStringLiteral("közötti"), p_Adatok), 1, 4);
    filters->addWidget(rg_milyen, 0, 5, 2, 1);
    filters->setColumnStretch(6, 1);

    auto *split = new QSplitter(Qt::Horizontal, p_Adatok);
    dbg_Eredmeny = new DBGrid(split);
    dbg_Eredmeny->setObjectName(QStringLiteral("dbg_Eredmeny"));
    dbg_Eredmeny->setAccessibleName(QStringLiteral("Hibák"));
    dbg_Eredmeny->setDataset(&SZURES);
    dbg_Eredmeny->addColumn(QStringLiteral("hn_datum"), QStringLiteral("Dátum"), true, 150);
    dbg_Eredmeny->addColumn(QStringLiteral("FELHASZNALO"), QStringLiteral("Név"), true, 120);
    dbg_Eredmeny->setSelectionBehavior(QAbstractItemView::SelectRows);
    QPalette palette = dbg_Eredmeny->palette();
    palette.setColor(QPalette::Base, colors::InfoBk);
    palette.setColor(QPalette::Highlight, colors::Navy);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    dbg_Eredmeny->setPalette(palette);
    dbg_Eredmeny->setRowColorHook([](const Dataset &ds, int row) {
        const int c = ds.fieldIndex(QStringLiteral("hn_allapot"));
        return StateColor(c < 0 ? QVariant() : ds.value(row, c));
    });
    WireGridServices(dbg_Eredmeny);
    m_hiba = new QPlainTextEdit(split);
    m_hiba->setObjectName(QStringLiteral("m_hiba"));
    m_hiba->setAccessibleName(QStringLiteral("A hiba leírása"));
    m_hiba->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_hiba->setReadOnly(true);
    split->addWidget(dbg_Eredmeny);
    split->addWidget(m_hiba);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addLayout(filters);
    layout->addWidget(split, 1);

    pm_hibanaplo = AddContextMenu(dbg_Eredmeny, QStringLiteral("pm_hibanaplo"),
                                  {{QStringLiteral("Folyamatban1"), QStringLiteral("Folyamatban")},
                                   {QStringLiteral("Javitva1"), QStringLiteral("Javítva")},
                                   {QStringLiteral("Torolt1"), QStringLiteral("Törölt")}});
    const char *const items[] = {"Folyamatban1", "Javitva1", "Torolt1"};
    for (int state = 0; state < 3; ++state)
        ConnectGuarded(pm_hibanaplo->findChild<QAction *>(QString::fromLatin1(items[state])), &QAction::triggered, this,
                       [this, state] { SetState(state); });

    bb_Ok->hide();
    BitBtn1 = GlyphButton(p_Vezerlosav, "BitBtn1", QStringLiteral("Kilépés"), QStyle::SP_DialogCancelButton);
    p_Vezerlosav->layout()->addWidget(BitBtn1);
    for (QPushButton *b : {bb_kilepes, BitBtn1})
        b->setAutoDefault(false);
    ConnectGuarded(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    ConnectGuarded(rg_milyen, &TRadioGroup::itemClicked, this, [this] { bb_inditClick(); });
    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Hibanaplo::SZURESAfterScroll);
    connect(&SZURES, &Dataset::afterClose, this, [this] {
        m_id.clear();
        m_hiba->clear();
    });
}

Tform_Hibanaplo::~Tform_Hibanaplo()
{
    if (form_Hibanaplo == this)
        form_Hibanaplo = nullptr;
}

QColor Tform_Hibanaplo::StateColor(const QVariant &state)
{
    switch (state.isNull() ? 0 : state.toInt()) {
    case 1: return QColor(255, 255, 0);
    case 2: return QColor(0, 255, 0);
    case 3: return QColor(192, 255, 255);
    case 4: return QColor(213, 211, 208);
    default: return colors::InfoBk;
    }
}

void Tform_Hibanaplo::FormShow()
{
    TAlapSzures_Form::FormShow();
    vcb_felh->Feltoltes();
    dtp_HibaTol->setChecked(false);
    dtp_HibaIg->setChecked(false);
    const QDate today = QDate::currentDate();
    dtp_HibaTol->setDate(today.addDays(-14));
    dtp_HibaIg->setDate(today);
    LoadGridLayout(dbg_Eredmeny);
}

QString Tform_Hibanaplo::SearchStatement() const
{
    QStringList sql{QStringLiteral("Select a.*, "),
                    QStringLiteral("(Select x.felh_nev From felhasznalo x Where a.felh_id=x.felh_id) as felhasznalo "),
                    QStringLiteral("FROM hibanaplo a WHERE a.hn_datum is not NULL ")};
    if (const QString user = vcb_felh->Eredmeny(); user != u"null")
        sql << QStringLiteral("and a.felh_id = ") + SqlId(user) + u' ';
    if (dtp_HibaTol->isChecked())
        sql << QStringLiteral("and a.hn_datum >= '") + CompactDateText(dtp_HibaTol->date()) + QStringLiteral("' ");
    if (dtp_HibaIg->isChecked())
        sql << QStringLiteral("and a.hn_datum <= '") + CompactDateText(dtp_HibaIg->date().addDays(1)) + QStringLiteral("' ");
    switch (rg_milyen->itemIndex()) {
    case 0: sql << QStringLiteral("and (a.hn_allapot=0 or a.hn_allapot is null) "); break;
    case 1: sql << QStringLiteral("and a.hn_allapot=1 "); break;
    case 2: sql << QStringLiteral("and a.hn_allapot=2 "); break;
    default: break;
    }
    sql << QStringLiteral("Order by a.hn_datum desc");
    return sql.join(u'\n');
}

void Tform_Hibanaplo::bb_inditClick()
{
    SZURES.close();
    SZURES.setSql(SearchStatement());
    TAlapSzures_Form::bb_inditClick();
    if (SZURES.isEmpty())
        InfoBox(QStringLiteral("Nincs a feltételeknek megfelelő hiba!"));
}

void Tform_Hibanaplo::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        m_id.clear();
        m_hiba->clear();
        return;
    }
    m_id = SZURES.fieldByName(QStringLiteral("hn_id")).asString();
    m_hiba->setPlainText(SZURES.fieldByName(QStringLiteral("hn_leiras")).asString());
}

void Tform_Hibanaplo::SetState(int state)
{
    if (!SZURES.isActive() || SZURES.isEmpty() || m_id.isEmpty())
        return;
    const QString id = m_id;
    UpdateRecord(QStringLiteral("hibanaplo"), {QStringLiteral("hn_allapot=") + QString::number(state)},
                 QStringLiteral("hn_id=") + SqlId(id));
    bb_inditClick();
    if (!SZURES.isEmpty())
        ReopenAndLocate(SZURES, id, QStringLiteral("hn_id"));
}

void Tform_Hibanaplo::bb_kilepesClick()
{
    SaveGridLayout(dbg_Eredmeny);
    TAlapSzures_Form::bb_kilepesClick();
}

void Tform_Hibanaplo::BitBtn1Click() { done(QDialog::Rejected); }

void Tform_Hibanaplo::reject() { RunGuarded([this] { BitBtn1Click(); }); }
