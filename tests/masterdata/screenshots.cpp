// Renders the semesters and faculties windows and the column chooser on a small fixture database
// into PNG files: masterdata_screenshots <folder> [--demo DEMO_FOLDER]. Run offscreen. The windows
// that need the whole schema are rendered on the demo database (kovra-demo DEMO_FOLDER) when given.

#include "DBGrid.h"
#include "DataFixture.h"
#include "ScriptedMessages.h"
#include "LoginInfo.h"
#include "form_Felev_Unit.h"
#include "form_Hallgatok_Unit.h"
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
// The students window on the demo database: a student of the first faculty with several enrolments.
bool renderStudents(const QDir &out, const QString &demoFolder)
{
    Tform_Adatmodul *fixtureModule = form_Adatmodul;
    bool ok = false;
    {
        Tform_Adatmodul demo;
        demo.ADOConn.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User "
                                                        "ID=sa;Initial Catalog=KOVRA;Data Source=sqlite:")
                                         + demoFolder);
        demo.ADOConn.open();
        LoginInfo.FacultyId = QStringLiteral("1");
        const ResultSet busiest = demo.ADOConn.query(
            QStringLiteral("s"), QStringLiteral("Select b.hallgato_id, count(*) as db From tan_hall b, orarend c Where "
                                                "b.orarend_id=c.orarend_id and c.kar_id=1 Group By b.hallgato_id Order By db desc"));
        const QString student = busiest.rows.isEmpty() ? QString() : busiest.rows[0][0].toString();
        Tform_Hallgatok w;
        w.show();
        w.SZURES.locate(QStringLiteral("hallgato_id"), {student});
        w.dbg_tantargy->setCurrentIndex(w.dbg_tantargy->model()->index(1, 1));
        w.dbg_lista->setFocus();
        ok = save(&w, out.filePath(QStringLiteral("form_Hallgatok.png")));
    }
    form_Adatmodul = fixtureModule;
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString demoFolder;
    if (const qsizetype at = args.indexOf(QStringLiteral("--demo")); at >= 0 && at + 1 < args.size()) {
        demoFolder = args[at + 1];
        args.remove(at, 2);
    }
    const QDir out(args.isEmpty() ? QStringLiteral(".") : args[0]);
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
    if (!demoFolder.isEmpty())
        ok &= renderStudents(out, demoFolder);
    return ok ? 0 : 1;
}
