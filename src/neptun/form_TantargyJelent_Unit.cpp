#include "form_TantargyJelent_Unit.h"

#include "ContextMenu.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FileChooser.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "TextCodec.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

Tform_TantargyJelent *form_TantargyJelent = nullptr;

namespace {

// The window repaints at most this often during an import (well inside the 0.2 s a user notices).
constexpr int RepaintIntervalMs = 50;

const QString SaveFilter = QStringLiteral("Szöveg|*.txt|Tabulált adat|*.csv");

} // namespace

Tform_TantargyJelent::Tform_TantargyJelent(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_TantargyJelent"));
    setWindowTitle(QStringLiteral("Tantárgyjelentkezések"));
    resize(900, 620);
    m_import = std::make_unique<NeptunImport>(SZURES.connection(), &SZURES);

    for (QWidget *w : std::initializer_list<QWidget *>{bb_uj, bb_felvesz, bb_modosit, bb_megsem, bb_torol, sb_nyomtat, sb_email})
        w->hide();

    vdc_kar = new TVDCComboBox(p_Adatok);
    vdc_kar->setObjectName(QStringLiteral("vdc_kar"));
    vdc_kar->ADOQuery = &UPDATEQuery;
    SetHelpKeyword(vdc_kar, QStringLiteral("k_félév"));
    vdc_felev = new TVDCComboBox(p_Adatok);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &UPDATEQuery;
    vdc_felev->TablaNev = QStringLiteral("felev");
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    SetHelpKeyword(vdc_felev, QStringLiteral("k_félév"));
    e_tantargy = new QLineEdit(p_Adatok);
    e_tantargy->setObjectName(QStringLiteral("e_tantargy"));
    cb_orarend = new QCheckBox(QStringLiteral("Órarendi adatok átvétele?"), p_Adatok);
    cb_orarend->setObjectName(QStringLiteral("cb_orarend"));
    bb_neptun = new QPushButton(QStringLiteral("Neptun adatok"), p_Adatok);
    bb_neptun->setObjectName(QStringLiteral("bb_neptun"));
    bb_kartya = new QPushButton(QStringLiteral("Átvétel"), p_Adatok);
    bb_kartya->setObjectName(QStringLiteral("bb_kartya"));
    for (QPushButton *b : {bb_neptun, bb_kartya}) {
        b->setEnabled(false);
        b->setAutoDefault(false);
    }

    auto *fields = new QGridLayout;
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, p_Adatok);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label(QStringLiteral("Szervezet"), vdc_kar), 0, 0);
    fields->addWidget(vdc_kar, 0, 1);
    fields->addWidget(label(QStringLiteral("Félév"), vdc_felev), 0, 2);
    fields->addWidget(vdc_felev, 0, 3);
    fields->addWidget(bb_neptun, 0, 4);
    fields->addWidget(label(QStringLiteral("Tantárgy"), e_tantargy), 1, 0);
    fields->addWidget(e_tantargy, 1, 1, 1, 2);
    fields->addWidget(cb_orarend, 1, 3);
    fields->addWidget(bb_kartya, 1, 4);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Neptun adatok listája"));
    dbg_lista->setDataset(&SZURES);
    for (const char *field : {"NEPTUN_KOD", "Hallgató", "Oktatási azonosító", "Tárgynév", "Kurzuskód", "Nyelv"})
        dbg_lista->addColumn(QString::fromUtf8(field), QString::fromUtf8(field), true, 130);
    WireGridServices(dbg_lista);
    l_db = new QLabel(QStringLiteral("0"), p_Adatok);
    l_db->setObjectName(QStringLiteral("l_db"));

    m_uzenet = new QPlainTextEdit(p_Adatok);
    m_uzenet->setObjectName(QStringLiteral("m_uzenet"));
    m_uzenet->setAccessibleName(QStringLiteral("Az átvétel üzenetei"));
    m_uzenet->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_uzenet->setReadOnly(true);
    pm_atvetel = AddContextMenu(m_uzenet, QStringLiteral("pm_atvetel"), {{QStringLiteral("Mentes"), QStringLiteral("Mentés")}});
    ConnectGuarded(pm_atvetel->findChild<QAction *>(QStringLiteral("Mentes")), &QAction::triggered, this, [this] { MentesClick(); });

    pb_neptun = new QProgressBar(p_Adatok);
    pb_neptun->setObjectName(QStringLiteral("pb_neptun"));
    pb_neptun->setAccessibleName(QStringLiteral("Az átvétel állása"));
    pb_neptun->hide();

    p_lek = new QFrame(this);
    p_lek->setObjectName(QStringLiteral("p_lek"));
    p_lek->setFrameShape(QFrame::Box);
    p_lek->setAutoFillBackground(true);
    p_lek->setPalette(QPalette(colors::InfoBk));
    l_felirat = new QLabel(p_lek);
    l_felirat->setObjectName(QStringLiteral("l_felirat"));
    l_felirat->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(p_lek))->addWidget(l_felirat);
    p_lek->hide();

    auto *count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("Neptun sorok:"), p_Adatok));
    count->addWidget(l_db);
    count->addStretch(1);
    count->addWidget(pb_neptun, 2);

    auto *split = new QSplitter(Qt::Vertical, p_Adatok);
    split->addWidget(dbg_lista);
    split->addWidget(m_uzenet);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addLayout(fields);
    layout->addWidget(split, 1);
    layout->addLayout(count);

    ConnectGuarded(vdc_kar, &TVDCComboBox::valueChanged, this, [this] { vdc_karChange(); });
    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(bb_neptun, &QPushButton::clicked, this, [this] { bb_neptunClick(); });
    ConnectGuarded(bb_kartya, &QPushButton::clicked, this, [this] { bb_kartyaClick(); });

    m_import->progress = [this](int position, int maximum) { showProgress(position, maximum); };
    m_import->messageAdded = [this](const QString &line) { m_uzenet->appendPlainText(line); };
    m_import->messagesCleared = [this] { m_uzenet->clear(); };
}

Tform_TantargyJelent::~Tform_TantargyJelent()
{
    if (form_TantargyJelent == this)
        form_TantargyJelent = nullptr;
}

void Tform_TantargyJelent::FormShow()
{
    TAlap_Form::FormShow();
    LoadGridLayout(dbg_lista);
    vdc_felev->Feltoltes();
    vdc_kar->Lekerdezes = NeptunImport::FacultyListStatement();
    vdc_kar->Feltoltes();
    e_tantargy->setReadOnly(false);
    SetControlColor(e_tantargy, colors::Browse);
}

bool Tform_TantargyJelent::FormClose()
{
    if (m_importing)
        return false;
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    return true;
}

void Tform_TantargyJelent::vdc_karChange()
{
    const QString id = vdc_kar->Eredmeny();
    if (id == u"null")
        return;
    NeptunImport::ChooseFaculty(UPDATEQuery, id);
    bb_neptun->setEnabled(true);
}

void Tform_TantargyJelent::vdc_felevChange()
{
    const QString id = vdc_felev->Eredmeny();
    if (id == u"null")
        return;
    CurrentSemesterId = id;
    m_semesterNeptun = NeptunImport::SemesterNeptunName(UPDATEQuery, id);
}

void Tform_TantargyJelent::bb_neptunClick()
{
    if (m_importing)
        return;
    vdc_felevChange(); // the semester may have been typed rather than picked
    NeptunImportRequest request;
    request.facultyId = LoginInfo.FacultyId;
    request.facultyCode = LoginInfo.FacultyCode;
    request.semesterId = vdc_felev->Eredmeny() == u"null" ? QString() : vdc_felev->Eredmeny();
    request.semesterNeptun = m_semesterNeptun;
    request.subjectName = e_tantargy->text();
    if (!request.semesterId.isEmpty()) {
        l_felirat->setText(QStringLiteral("A lekérdezés folyamatban...\r\n (ez több percig is eltarthat, ha a kapcsolat "
                                          "megszakad, próbálkozzon újra)"));
        p_lek->setGeometry(width() / 6, height() / 3, width() * 2 / 3, height() / 5);
        p_lek->raise();
        p_lek->show();
        p_lek->repaint();
    }
    const int rows = m_import->query(request);
    p_lek->hide();
    l_db->setText(QString::number(std::max(rows, 0)));
    bb_kartya->setEnabled(rows > 0);
}

void Tform_TantargyJelent::setInputEnabled(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{vdc_kar, vdc_felev, e_tantargy, cb_orarend, bb_neptun, bb_kartya,
                                                       bb_kilepes, dbg_lista})
        w->setEnabled(on);
}

void Tform_TantargyJelent::showProgress(int position, int maximum)
{
    if (pb_neptun->maximum() != maximum)
        pb_neptun->setMaximum(maximum);
    pb_neptun->setValue(position);
    if (!m_repaintClock.isValid() || m_repaintClock.elapsed() >= RepaintIntervalMs || position >= maximum) {
        m_repaintClock.restart();
        QApplication::processEvents();
        if (onProgress)
            onProgress();
    }
}

void Tform_TantargyJelent::bb_kartyaClick()
{
    if (m_importing)
        return;
    m_importing = true;
    struct Done {
        Tform_TantargyJelent *w;
        ~Done()
        {
            w->m_importing = false;
            w->pb_neptun->hide();
            w->setInputEnabled(true);
            w->bb_kartya->setEnabled(w->m_import->hasRows());
        }
    } done{this};
    setInputEnabled(false);
    m_uzenet->clear();
    pb_neptun->setValue(0);
    pb_neptun->show();
    m_repaintClock.invalidate();
    m_import->setTimetable(cb_orarend->isChecked());
    if (m_import->run() == NeptunImportOutcome::Done) {
        pb_neptun->hide();
        InfoBox(NeptunImport::DoneText);
    }
}

void Tform_TantargyJelent::MentesClick()
{
    const QString name = ChooseSaveFile(this, SaveFilter, QStringLiteral("txt"));
    if (name.isEmpty())
        return;
    const bool tabulated = QFileInfo(name).suffix().compare(u"csv", Qt::CaseInsensitive) == 0;
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw KovraError(QStringLiteral("A fájl nem írható: ") + name);
    f.write(EncodeText(m_uzenet->toPlainText().replace(u'\n', QStringLiteral("\r\n")) + (tabulated ? u'\t' : u';')
                       + QStringLiteral("\r\n")));
}
