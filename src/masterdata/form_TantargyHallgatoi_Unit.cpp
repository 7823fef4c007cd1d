#include "form_TantargyHallgatoi_Unit.h"

#include "DBGrid.h"
#include "Export.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "form_GridMezok_Unit.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

Tform_TantargyHallgatoi *form_TantargyHallgatoi = nullptr;

Tform_TantargyHallgatoi::Tform_TantargyHallgatoi(QWidget *parent) : TAlapSzures_Form(parent)
{
    setObjectName(QStringLiteral("form_TantargyHallgatoi"));
    setWindowTitle(QStringLiteral("Tantárgy hallgatói"));
    resize(520, 520);

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
    dbg_lista->addColumn(QStringLiteral("hallgato"), QStringLiteral("név"), true, 320);
    dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), false, 200);
    dbg_lista->addColumn(QStringLiteral("hallgato_kod"), QStringLiteral("kód"), false, 90);
    WireGridServices(dbg_lista);

    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(l_orarend);
    layout->addWidget(dbg_lista, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{bb_indit, bb_felttorol, bb_Ok, bb_Ment, sb_email, sb_nyomtat})
        w->hide();
    ConnectGuarded(bb_excel, &QPushButton::clicked, this, [this] { bb_excelClick(); });
}

Tform_TantargyHallgatoi::~Tform_TantargyHallgatoi()
{
    if (form_TantargyHallgatoi == this)
        form_TantargyHallgatoi = nullptr;
}

void Tform_TantargyHallgatoi::FormShow()
{
    TAlapSzures_Form::FormShow();
    LoadGridLayout(dbg_lista);
    l_orarend->setText(CurrentOfferingText + QStringLiteral(" - ") + CurrentOfferingId);
    SZURES.close();
    SZURES.setSql(QStringLiteral("Select (a.hallgato_nev + ' (' + a.hallgato_kod + ')') as hallgato, a.hallgato_id, "
                                 "a.hallgato_nev, a.hallgato_kod From hallgato a, tan_hall b Where "
                                 "a.hallgato_id=b.hallgato_id and b.ft_id=:FT_ID"));
    // No offering chosen: an empty list.
    SZURES.setParam(QStringLiteral("FT_ID"),
                    CurrentOfferingId.trimmed().isEmpty() ? QVariant() : QVariant(CurrentOfferingId.trimmed()));
    bb_inditClick();
}

void Tform_TantargyHallgatoi::bb_kilepesClick()
{
    SaveGridLayout(dbg_lista);
    TAlapSzures_Form::bb_kilepesClick();
}

void Tform_TantargyHallgatoi::bb_excelClick()
{
    ExportToExcel(SZURES, dbg_lista, QStringLiteral("Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"));
}
