#include "AlapSzures_Unit.h"

#include "Adatmodul.h"
#include "Alap_Form_Unit.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FileChooser.h"
#include "FormFrame.h"
#include "Guard.h"
#include "Messages.h"
#include "TextCodec.h"
#include "VDCComboBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TAlapSzures_Form::TAlapSzures_Form(QWidget *parent)
    : QDialog(parent),
      SZURES(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("SZURES"), this),
      ADOQuery1(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("ADOQuery1"), this)
{
    const FormFrame frame = BuildFormFrame(this);
    p_Adatok = frame.dataPanel;
    p_Vezerlosav = frame.controlBar;

    bb_indit = CaptionButton(p_Vezerlosav, "bb_indit", QStringLiteral("Indítás"), QStyle::SP_BrowserReload);
    bb_indit->setToolTip(QStringLiteral("Keresés indítása"));
    bb_indit->setDefault(true);
    bb_felttorol = GlyphButton(p_Vezerlosav, "bb_felttorol", QStringLiteral("Feltételek törlése"), QStyle::SP_DialogResetButton);

    p_TalalatokSzama = new QFrame(p_Vezerlosav);
    p_TalalatokSzama->setObjectName(QStringLiteral("p_TalalatokSzama"));
    p_TalalatokSzama->setFrameShape(QFrame::NoFrame);
    l_talalatszov = new QLabel(QStringLiteral("Találatok száma:"), p_TalalatokSzama);
    l_talalatszov->setObjectName(QStringLiteral("l_talalatszov"));
    l_szumma = new QLabel(p_TalalatokSzama);
    l_szumma->setObjectName(QStringLiteral("l_szumma"));
    QFont bold = l_szumma->font();
    bold.setBold(true);
    l_szumma->setFont(bold);
    auto *count = new QHBoxLayout(p_TalalatokSzama);
    count->setContentsMargins(8, 0, 8, 0);
    count->addWidget(l_talalatszov);
    count->addWidget(l_szumma);
    p_TalalatokSzama->hide();

    bb_Ment = GlyphButton(p_Vezerlosav, "bb_Ment", QStringLiteral("Eredmény mentése fájlba"), QStyle::SP_DialogSaveButton);
    bb_excel = GlyphButton(p_Vezerlosav, "bb_excel", QStringLiteral("Küldés Excelbe"), QStyle::SP_FileDialogListView);
    bb_Ok = GlyphButton(p_Vezerlosav, "bb_Ok", QStringLiteral("Kiválaszt"), QStyle::SP_DialogApplyButton);
    sb_nyomtat = new QToolButton(p_Vezerlosav);
    sb_nyomtat->setObjectName(QStringLiteral("sb_nyomtat"));
    sb_nyomtat->setToolTip(QStringLiteral("Nyomtat"));
    sb_nyomtat->setAccessibleName(sb_nyomtat->toolTip());
    sb_nyomtat->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sb_email = new QToolButton(p_Vezerlosav);
    sb_email->setObjectName(QStringLiteral("sb_email"));
    sb_email->setToolTip(QStringLiteral("E-mail"));
    sb_email->setAccessibleName(sb_email->toolTip());
    sb_email->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    bb_kilepes = GlyphButton(p_Vezerlosav, "bb_kilepes", QStringLiteral("Kilépés"), QStyle::SP_DialogCloseButton);

    QHBoxLayout *bar = frame.buttons;
    bar->addWidget(bb_indit);
    bar->addWidget(bb_felttorol);
    bar->addWidget(p_TalalatokSzama);
    bar->addStretch(1);
    for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_nyomtat, sb_email, bb_Ok, bb_kilepes})
        bar->addWidget(w);

    ConnectGuarded(bb_indit, &QPushButton::clicked, this, [this] { bb_inditClick(); });
    ConnectGuarded(bb_felttorol, &QPushButton::clicked, this, [this] { bb_felttorolClick(); });
    ConnectGuarded(bb_Ment, &QPushButton::clicked, this, [this] { bb_MentClick(); });
    ConnectGuarded(bb_Ok, &QPushButton::clicked, this, [this] { bb_OkClick(); });
    ConnectGuarded(bb_kilepes, &QPushButton::clicked, this, [this] { bb_kilepesClick(); });
    connect(&SZURES, &Dataset::afterOpen, this, &TAlapSzures_Form::SZURESAfterOpen);
}

DBGrid *TAlapSzures_Form::resultGrid()
{
    if (!m_resultGrid)
        for (DBGrid *g : findChildren<DBGrid *>())
            if (g->dataset() == &SZURES)
                m_resultGrid = g;
    return m_resultGrid;
}

void TAlapSzures_Form::FormShow() { SetEditState(this, 22); }

void TAlapSzures_Form::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    LetTabLeaveMemos(this);
    NameViewsByBuddies(this);
    RunGuarded([this] { FormShow(); });
}

void TAlapSzures_Form::reject() { RunGuarded([this] { bb_kilepesClick(); }); }

void TAlapSzures_Form::bb_inditClick()
{
    if (!SZURES.isActive())
        SZURES.open();
    const int n = SZURES.recordCount();
    l_szumma->setText(QString::number(n));
    p_TalalatokSzama->show();
    if (n > 0)
        for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_nyomtat, bb_Ok, sb_email})
            w->setEnabled(true);
    if (DBGrid *g = resultGrid())
        for (int i = 0; i < g->columnCount(); ++i)
            if (g->column(i).width > 300)
                g->setColumnWidthPx(i, 300);
}

void TAlapSzures_Form::bb_felttorolClick()
{
    SZURES.close();
    ClearFields(this);
    for (TVDCComboBox *c : findChildren<TVDCComboBox *>())
        c->setCurrentIndex(-1);
    for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_nyomtat})
        w->setEnabled(false);
}

void TAlapSzures_Form::SZURESAfterOpen()
{
    for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_email, sb_nyomtat})
        w->setEnabled(true);
}

void TAlapSzures_Form::bb_OkClick() { done(QDialog::Accepted); }

void TAlapSzures_Form::bb_kilepesClick() { done(QDialog::Rejected); }

void TAlapSzures_Form::bb_MentClick()
{
    const DBGrid *grid = resultGrid();
    if (!grid) {
        InfoBox(QStringLiteral("A mentés nem lehetséges! Vedd fel a kapcsolatot a fejlesztőkkel!"));
        return;
    }
    const QString name = ChooseSaveFile(this, QStringLiteral("Szöveges fájlok|*.txt"), QStringLiteral("txt"));
    if (name.isEmpty())
        return;
    SaveGridText(SZURES, grid, name);
}

void SaveGridText(Dataset &query, const DBGrid *grid, const QString &fileName)
{
    const QString tab = QStringLiteral("\t");
    const QString eol = QStringLiteral("\r\n");
    QString out;
    for (const GridColumn &c : grid->columns())
        out += c.title + tab;
    out += eol;
    query.first();
    while (!query.eof()) {
        for (const GridColumn &c : grid->columns()) {
            const int f = query.fieldIndex(c.fieldName);
            if (f >= 0)
                out += query.field(f).asString() + tab;
        }
        out += eol;
        query.next();
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeText(out, Charset::Windows1250)) < 0 || !file.commit())
        throw KovraError(QStringLiteral("A fájl nem írható: %1 (%2)").arg(fileName, file.errorString()));
}
