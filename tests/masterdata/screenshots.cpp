// Renders the semesters and faculties windows and the column chooser on a small fixture database
// into PNG files: masterdata_screenshots <folder>. Run offscreen.

#include "DBGrid.h"
#include "DataFixture.h"
#include "ScriptedMessages.h"
#include "form_Felev_Unit.h"
#include "form_GridMezok_Unit.h"
#include "form_Szervezet_Unit.h"

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
    return ok ? 0 : 1;
}
