#include "form_JelenletTor_Unit.h"

#include "Calendar.h"
#include "SqlSplice.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Export.h"
#include "Guard.h"
#include "LoginInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

Tform_JelenletTor *form_JelenletTor = nullptr;

namespace {

const QString DateMask = QStringLiteral("!9999/99/99/;1;_");

// The date of a filter as yyyymmdd; empty when nothing was typed into it.
QString FilterDate(const MaskEdit *edit) { return DateTextToCompact(edit->maskedText()).trimmed(); }

} // namespace

Tform_JelenletTor::Tform_JelenletTor(QWidget *parent) : TAlapSzures_Form(parent)
{
    setObjectName(QStringLiteral("form_JelenletTor"));
    setWindowTitle(QStringLiteral("Jelentések"));
    resize(820, 540);

    bi_datumtol = new MaskEdit(DateMask, p_Adatok);
    bi_datumtol->setObjectName(QStringLiteral("bi_datumtol"));
    bi_datumig = new MaskEdit(DateMask, p_Adatok);
    bi_datumig->setObjectName(QStringLiteral("bi_datumig"));
    e_kod = new QLineEdit(p_Adatok);
    e_kod->setObjectName(QStringLiteral("e_kod"));
    e_neptun = new QLineEdit(p_Adatok);
    e_neptun->setObjectName(QStringLiteral("e_neptun"));
    for (QLineEdit *e : {static_cast<QLineEdit *>(bi_datumtol), static_cast<QLineEdit *>(bi_datumig)})
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00.")) + 16);

    auto *filters = new QHBoxLayout;
    filters->addWidget(BuddyLabel(QStringLiteral("Dátum"), bi_datumtol));
    bi_datumtol->setAccessibleName(QStringLiteral("Dátum -tól"));
    bi_datumig->setAccessibleName(QStringLiteral("Dátum -ig"));
    filters->addWidget(bi_datumtol);
    filters->addWidget(new QLabel(QStringLiteral("-tól"), p_Adatok));
    filters->addWidget(bi_datumig);
    filters->addWidget(new QLabel(QStringLiteral("-ig"), p_Adatok));
    filters->addSpacing(12);
    filters->addWidget(BuddyLabel(QStringLiteral("Rögzítő"), e_kod));
    filters->addWidget(e_kod, 1);
    filters->addSpacing(12);
    filters->addWidget(BuddyLabel(QStringLiteral("Hallgató"), e_neptun));
    filters->addWidget(e_neptun, 1);

    auto *split = new QSplitter(Qt::Horizontal, p_Adatok);
    dbg_lista = new DBGrid(split);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Jelentések"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("jel_id"), QStringLiteral("id"), false, 50);
    dbg_lista->addColumn(QStringLiteral("jel_datum"), QStringLiteral("dátum"), true, 150);
    dbg_lista->addColumn(QStringLiteral("nev"), QStringLiteral("név"), true, 120);
    m_szoveg = new QPlainTextEdit(split);
    m_szoveg->setObjectName(QStringLiteral("m_szoveg"));
    m_szoveg->setAccessibleName(QStringLiteral("A jelentés szövege"));
    m_szoveg->setLineWrapMode(QPlainTextEdit::NoWrap);
    split->addWidget(dbg_lista);
    split->addWidget(m_szoveg);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addLayout(filters);
    layout->addWidget(split, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{sb_email, sb_nyomtat, bb_Ok})
        w->hide();

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_JelenletTor::SZURESAfterScroll);
    connect(&SZURES, &Dataset::afterClose, m_szoveg, &QPlainTextEdit::clear);
    ConnectGuarded(bb_excel, &QPushButton::clicked, this, [this] { bb_excelClick(); });
}

Tform_JelenletTor::~Tform_JelenletTor()
{
    if (form_JelenletTor == this)
        form_JelenletTor = nullptr;
}

void Tform_JelenletTor::FormShow()
{
    TAlapSzures_Form::FormShow();
    m_szoveg->setReadOnly(true); // shows the row, stores nothing
    bb_inditClick();
}

QString Tform_JelenletTor::SearchStatement() const
{
    QStringList sql{QStringLiteral("Select a.jel_id, a.jel_datum, a.jel_szoveg, (Select x.felh_nev From Felhasznalo x "
                                   "Where x.felh_id=a.felh_id) as nev From Jelentes a Where a.kar_id = ")
                    + (LoginInfo.FacultyId.trimmed().isEmpty() ? QStringLiteral("null") : LoginInfo.FacultyId)
                    + u' '};
    if (const QString from = FilterDate(bi_datumtol); !from.isEmpty())
        sql << QStringLiteral("and a.jel_datum >= '") + from + QStringLiteral("' ");
    if (const QString to = FilterDate(bi_datumig); !to.isEmpty())
        sql << QStringLiteral("and a.jel_datum < '") + to + QStringLiteral("' ");
    if (!e_kod->text().isEmpty())
        sql << QStringLiteral("and a.felh_id in (Select x.felh_id From Felhasznalo x Where x.felh_nev='")
                   + SqlQuoted(e_kod->text()) + QStringLiteral("') ");
    if (!e_neptun->text().isEmpty())
        sql << QStringLiteral("and jel_szoveg like '%") + SqlQuoted(e_neptun->text()) + QStringLiteral("%' ");
    sql << QStringLiteral("Order By a.jel_datum desc");
    return sql.join(u'\n');
}

void Tform_JelenletTor::bb_inditClick()
{
    SZURES.close();
    SZURES.setSql(SearchStatement());
    TAlapSzures_Form::bb_inditClick();
}

void Tform_JelenletTor::bb_excelClick()
{
    ExportToExcel(SZURES, dbg_lista, QStringLiteral("Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"));
}

void Tform_JelenletTor::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        m_szoveg->clear();
        return;
    }
    QString text = SZURES.fieldByName(QStringLiteral("jel_szoveg")).asString();
    text.replace(QStringLiteral("  "), QStringLiteral("\r\n"));
    m_szoveg->setPlainText(text);
}
