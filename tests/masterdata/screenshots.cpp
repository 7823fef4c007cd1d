// Renders the semesters and faculties windows and the column chooser on a small fixture database
// into PNG files: masterdata_screenshots <folder> [<demo folder>]. Run offscreen. With a demo folder
// (made by kovra-demo) the offering and group assignment windows are rendered on its database too.

#include "DBGrid.h"
#include "DataFixture.h"
#include "ScriptedMessages.h"
#include "form_Felev_Unit.h"
#include "form_GridMezok_Unit.h"
#include "form_Szervezet_Unit.h"
#include "form_TanoraHallgato_Unit.h"
#include "form_Tanora_Unit.h"
#include "LoginInfo.h"
#include "VDCComboBox.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace {
bool save(QWidget *w, const QString &file)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    if (!ok)
        qWarning("cannot write %s", qPrintable(file));
    return ok;
}

// The offerings of the demo's current semester with two selected for linking, and an entry's
// members beside its candidates; on the demo database, faculty 1, today.
bool renderOfferings(Connection &conn, const QDir &out, const QString &demo)
{
    conn.close();
    conn.setClock([] { return QDateTime::currentDateTime(); });
    conn.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Password=x;User ID=sa;Initial Catalog=KOVRA;Data Source=sqlite:")
                             + demo);
    conn.open();
    LoginInfo.FacultyId = QStringLiteral("1");
    LoginInfo.RoleId = 2;
    bool ok = true;
    {
        Tform_Tanora w;
        w.show();
        w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(2, 1));
        w.dbg_lista->selectRow(2);
        w.dbg_lista->selectRow(3);
        ok &= save(&w, out.filePath(QStringLiteral("form_Tanora.png")));
    }
    {
        Tform_TanoraHallgato w;
        w.show();
        if (w.vdc_orarend->count() > 1) {
            w.vdc_orarend->setCurrentIndex(1);
            w.openLists();
            w.dbg_lista->selectRow(1);
            w.dbg_lista->selectRow(2);
        }
        ok &= save(&w, out.filePath(QStringLiteral("form_TanoraHallgato.png")));
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    DataFixture fx(QString::fromLatin1(MiniSchema));
    fx.conn().execute(QStringLiteral("s"),
                      QStringLiteral("insert into felev (felev_nev, felev_neptun, felev_datumtol, felev_datumig) values "
                                     "('2022/23 ősz', '2022/23/1', '2022-09-05', '2023-01-31'), "
                                     "('2022/23 tavasz', '2022/23/2', '2023-02-06', '2023-06-30'), "
                                     "('2023/24 ősz', '2023/24/1', '2023-09-04', '2024-01-31'), "
                                     "('2023/24 tavasz', '2023/24/2', '2024-02-05', '2024-06-30')"));
    fx.conn().execute(QStringLiteral("s"),
                      QStringLiteral("insert into kar (kar_nev, kar_kod, kar_aktiv) values "
                                     "('Gépészmérnöki Kar', 'GK', 1), ('Közgazdaságtudományi Kar', 'KGK', 1), "
                                     "('Testnevelési Intézet', 'TSI', 1), ('Régi Informatikai Intézet', 'RII', 0)"));
    ScriptedMessages quiet;
    bool ok = true;
    {
        Tform_Felev felev;
        felev.show();
        felev.dbg_lista->setCurrentIndex(felev.dbg_lista->model()->index(2, 1));
        felev.bb_modosit->click();
        felev.e_neptun->setFocus();
        ok &= save(&felev, out.filePath(QStringLiteral("form_Felev.png")));
        Tform_GridMezok chooser(felev.dbg_lista, &felev);
        chooser.show();
        ok &= save(&chooser, out.filePath(QStringLiteral("form_GridMezok.png")));
        chooser.close();
        felev.bb_megsem->click();
    }
    {
        Tform_Szervezet kar;
        kar.show();
        kar.dbg_lista->setCurrentIndex(kar.dbg_lista->model()->index(3, 1));
        ok &= save(&kar, out.filePath(QStringLiteral("form_Szervezet.png")));
    }
    if (argc > 2)
        ok &= renderOfferings(fx.conn(), out, QString::fromLocal8Bit(argv[2]));
    return ok ? 0 : 1;
}
