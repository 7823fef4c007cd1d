#include "form_OrarendHallgato_Unit.h"

#include "DBGrid.h"
#include "Export.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "form_GridMezok_Unit.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

Tform_OrarendHallgato *form_OrarendHallgato = nullptr;

Tform_OrarendHallgato::Tform_OrarendHallgato(QWidget *parent) : TAlapSzures_Form(parent)
{
    setObjectName(QStringLiteral("form_OrarendHallgato"));
    setWindowTitle(QStringLiteral("Órarendi elem hallgatói"));
    resize(760, 540);

    l_orarend = new QLabel(p_Adatok);
    l_orarend->setObjectName(QStringLiteral("l_orarend"));
    QFont bold = l_orarend->font();
    bold.setBold(true);
    l_orarend->setFont(bold);
    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setAccessibleName(QStringLiteral("Hallgatók"));
    dbg_lista->addColumn(QStringLiteral("hallgato_id"), QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("hallgato"), QStringLiteral("név"), true, 260);
    dbg_lista->addColumn(QStringLiteral("tantargy_nev"), QStringLiteral("tantárgy"), true, 200);
    dbg_lista->addColumn(QStringLiteral("tantargy_kod"), QStringLiteral("kód"), true, 100);
    dbg_lista->addColumn(QStringLiteral("kurzus_nev"), QStringLiteral("kurzus"), true, 90);
    dbg_lista->addColumn(QStringLiteral("hallgato_kod"), QStringLiteral("Neptun kód"), false, 90);
    dbg_lista->addColumn(QStringLiteral("hallgato_diak"), QStringLiteral("diákigazolvány"), false, 110);
    WireGridServices(dbg_lista);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(l_orarend);
    layout->addWidget(dbg_lista, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{bb_indit, bb_felttorol, bb_Ok, sb_email, sb_nyomtat})
        w->hide();
    ConnectGuarded(bb_excel, &QPushButton::clicked, this, [this] { bb_excelClick(); });
}

Tform_OrarendHallgato::~Tform_OrarendHallgato()
{
    if (form_OrarendHallgato == this)
        form_OrarendHallgato = nullptr;
}

void Tform_OrarendHallgato::FormShow()
{
    TAlapSzures_Form::FormShow();
    LoadGridLayout(dbg_lista);
    l_orarend->setText(CurrentTimetableName + QStringLiteral(" - ") + CurrentTimetableId);
    SZURES.close();
    SZURES.setSql(QStringLiteral(
        "Select a.hallgato_id, (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato, a.hallgato_kod, "
        "a.hallgato_diak, (Select y.kurzus_nev From felvett_tantargy x, kurzus y Where x.kurzus_id=y.kurzus_id and "
        "x.ft_id=b.ft_id) as kurzus_nev, (Select y.tantargy_nev From felvett_tantargy x, tantargy y Where "
        "x.tantargy_id=y.tantargy_id and x.ft_id=b.ft_id) as tantargy_nev, (Select y.tantargy_kod From "
        "felvett_tantargy x, tantargy y Where x.tantargy_id=y.tantargy_id and x.ft_id=b.ft_id) as tantargy_kod From "
        "hallgato a, tan_hall b Where a.hallgato_id=b.hallgato_id and b.orarend_id=:OR_ID Order By tantargy_kod, "
        "hallgato"));
    // No timetable entry chosen (or not a number): an empty list.
    bool numeric = false;
    const qlonglong id = CurrentTimetableId.trimmed().toLongLong(&numeric);
    SZURES.setParam(QStringLiteral("OR_ID"), numeric ? QVariant(id) : QVariant());
    bb_inditClick();
}

void Tform_OrarendHallgato::bb_kilepesClick()
{
    SaveGridLayout(dbg_lista);
    TAlapSzures_Form::bb_kilepesClick();
}

void Tform_OrarendHallgato::bb_excelClick()
{
    ExportToExcel(SZURES, dbg_lista, QStringLiteral("Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"));
}
