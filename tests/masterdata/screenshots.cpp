// Renders the semesters and faculties windows and the column chooser on a small fixture database
// into PNG files: masterdata_screenshots <folder> [<demo folder>]. Run offscreen. With a demo folder
// (made by kovra-demo) the offering, group assignment, users, teachers, relation list and students
// windows are rendered on its database too.

#include "DBGrid.h"
#include "ComboDriver.h"
#include "DataFixture.h"
#include "ScriptedMessages.h"
#include "form_Felev_Unit.h"
#include "form_Hallgatok_Unit.h"
#include "form_GridMezok_Unit.h"
#include "form_Szervezet_Unit.h"
#include "form_Felhasznalo_Unit.h"
#include "form_Oktatok_Unit.h"
#include "form_OrarendHallgato_Unit.h"
#include "form_TanoraOktato_Unit.h"
#include "form_TantargyHallgatoi_Unit.h"
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

// The people and relation list windows on the demo database that conn is open on.
bool renderPeople(Connection &conn, const QDir &out)
{
    Dataset q(&conn, QStringLiteral("q"));
    LoginInfo.FacultyId = FirstValue(q, QStringLiteral("Select Top 1 kar_id From kar Where kar_aktiv=1 Order By kar_id"),
                                     QStringLiteral("kar_id"));
    LoginInfo.RoleId = 1;
    bool ok = true;
    {
        Tform_Felhasznalo w;
        w.show();
        w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(1, 1));
        ok &= save(&w, out.filePath(QStringLiteral("form_Felhasznalo.png")));
    }
    {
        // A teacher with offerings.
        Tform_Oktatok w;
        w.show();
        const QString teacher = FirstValue(q, QStringLiteral("Select Top 1 oktato_id From tan_okt Where ft_id is not null "
                                                             "Group By oktato_id Order By Count(*) desc, oktato_id"),
                                           QStringLiteral("oktato_id"));
        w.SZURES.locate(QStringLiteral("oktato_id"), {teacher});
        ok &= save(&w, out.filePath(QStringLiteral("form_Oktatok.png")));
    }
    {
        CurrentOfferingId = FirstValue(q, QStringLiteral("Select Top 1 ft_id From tan_hall Where ft_id is not null Group By "
                                                         "ft_id Order By Count(*) desc, ft_id"),
                                       QStringLiteral("ft_id"));
        CurrentOfferingText = FirstValue(q, QStringLiteral("Select b.tantargy_nev From felvett_tantargy a, tantargy b Where "
                                                           "a.tantargy_id=b.tantargy_id and a.ft_id=") + CurrentOfferingId,
                                         QStringLiteral("tantargy_nev"));
        Tform_TantargyHallgatoi w;
        w.show();
        ok &= save(&w, out.filePath(QStringLiteral("form_TantargyHallgatoi.png")));
    }
    {
        CurrentTimetableId = FirstValue(q, QStringLiteral("Select Top 1 orarend_id From tan_hall Where orarend_id is not "
                                                          "null Group By orarend_id Order By Count(*) desc, orarend_id"),
                                        QStringLiteral("orarend_id"));
        CurrentTimetableName = FirstValue(q, QStringLiteral("Select orarend_nev From orarend Where orarend_id=")
                                                 + CurrentTimetableId,
                                          QStringLiteral("orarend_nev"));
        Tform_OrarendHallgato w;
        w.show();
        ok &= save(&w, out.filePath(QStringLiteral("form_OrarendHallgato.png")));
    }
    {
        Tform_TanoraOktato w;
        w.show();
        PickFromList(w.vdc_tanora, 0);
        ok &= save(&w, out.filePath(QStringLiteral("form_TanoraOktato.png")));
    }
    return ok;
}

// The students window on the demo database: the faculty 1 student with the most enrolments, on
// the second of them.
bool renderStudents(Connection &conn, const QDir &out, const QString &demo)
{
    conn.close();
    conn.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Password=x;User ID=sa;Initial Catalog=KOVRA;Data Source=sqlite:")
                             + demo);
    conn.open();
    LoginInfo.FacultyId = QStringLiteral("1");
    const ResultSet busiest = conn.query(
        QStringLiteral("s"), QStringLiteral("Select b.hallgato_id, count(*) as db From tan_hall b, orarend c Where "
                                            "b.orarend_id=c.orarend_id and c.kar_id=1 Group By b.hallgato_id Order By db desc"));
    const QString student = busiest.rows.isEmpty() ? QString() : busiest.rows[0][0].toString();
    Tform_Hallgatok w;
    w.show();
    w.SZURES.locate(QStringLiteral("hallgato_id"), {student});
    w.dbg_tantargy->setCurrentIndex(w.dbg_tantargy->model()->index(1, 1));
    w.dbg_lista->setFocus();
    return save(&w, out.filePath(QStringLiteral("form_Hallgatok.png")));
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
    if (argc > 2) {
        ok &= renderOfferings(fx.conn(), out, QString::fromLocal8Bit(argv[2]));
        ok &= renderPeople(fx.conn(), out);
        ok &= renderStudents(fx.conn(), out, QString::fromLocal8Bit(argv[2]));
    }
    return ok ? 0 : 1;
}
