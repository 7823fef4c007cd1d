// Renders the attendance windows on a small, realistic fixture database into PNG files:
// attendance_screenshots <folder> [window ...]. Without window names every window is rendered.
// A window is added by writing its render function and listing it in Windows below.

#include "DBGrid.h"
#include "ComboDriver.h"
#include "DataFixture.h"
#include "LoginInfo.h"
#include "ScriptedMessages.h"
#include "FocusHighlight.h"
#include "form_JelenletElem_Unit.h"
#include "form_JelenletTor_Unit.h"
#include "form_Jelenlet_Unit.h"
#include "Adatmodul.h"
#include "Controls.h"
#include "VDCComboBox.h"
#include <QTest>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Faculty "GTK", spring semester 2024 (the fixture's clock stands on 6 March 2024).
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdaság- és Társadalomtudományi Kar');
INSERT INTO felhasznalo (felh_id, felh_nev) VALUES (7, 'TANULMANYI'), (8, 'OKTATO'), (9, 'KARTYA');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES (1, '2023/24 tavasz', '2024-02-05', '2024-05-31');
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, orarend_meddig) VALUES
 (1, 1, 1, 'Mikroökonómia gyakorlat (szerda 8:00)', '08:00:00', '09:30:00'),
 (2, 1, 1, 'Statisztika I. gyakorlat (kedd 12:00)', '12:00:00', '13:30:00'),
 (3, 1, 1, 'Testnevelés (heti, csütörtök 10:00)', '10:00:00', '11:30:00'),
 (4, 1, 1, 'Üzleti kommunikáció (péntek 14:00)', '14:00:00', '15:30:00');
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak) VALUES
 (1, 'K7QZ2M', 'Kovács Réka', '72311045'), (2, 'B9XW4T', 'Balogh Ádám', '72311046'),
 (3, 'H3PL8N', 'O''Neill Hanna', '72311047');
INSERT INTO jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) VALUES
 (1, 1, '2024-02-07', 1), (1, 2, '2024-02-13', 1), (1, 1, '2024-02-14', 1), (1, 3, '2024-02-15', 1),
 (1, 2, '2024-02-20', 2), (1, 1, '2024-02-21', 2), (1, 3, '2024-02-22', 1), (1, 2, '2024-02-27', 1),
 (1, 1, '2024-02-28', 3), (1, 3, '2024-02-29', 2), (1, 2, '2024-03-05', 1), (1, 1, '2024-03-06', 1);
INSERT INTO Jelentes (jel_datum, jel_szoveg, felh_id, kar_id) VALUES
 ('2024-02-27 12:03:11', 'Jelenlét rögzítés kezdete!  Statisztika I. gyakorlat (kedd 12:00)  K7QZ2M  B9XW4T  72311047', 8, 1),
 ('2024-02-27 12:04:02', 'Jelenlét rögzítés vége!  72311047 A hallgató pótlása rögzítésre került!', 8, 1),
 ('2024-02-28 08:02:40', 'Jelenlét rögzítés kezdete!  Mikroökonómia gyakorlat (szerda 8:00)  K7QZ2M  B9XW4T  H3PL8N  X1Y2Z3', 7, 1),
 ('2024-02-28 08:03:05', 'Jelenlét rögzítés vége!  X1Y2Z3 A hallgató nincs a rendszerben!  H3PL8N A hallgatónak már volt órája a héten!', 7, 1),
 ('2024-03-01 09:15:00', 'Neptun import  Statisztika I. gyakorlat: 3 hallgató felvéve  Testnevelés: 1 hallgató felvéve', 7, 1),
 ('2024-03-05 12:01:58', 'Jelenlét rögzítés kezdete!  Statisztika I. gyakorlat (kedd 12:00)  K7QZ2M  B9XW4T', 8, 1),
 ('2024-03-05 12:02:21', 'Jelenlét rögzítés vége!', 8, 1),
 ('2024-03-06 08:04:12', 'Jelenlét rögzítés kezdete!  Mikroökonómia gyakorlat (szerda 8:00)  K7QZ2M  H3PL8N  Q0W9E8', 7, 1),
 ('2024-03-06 08:04:30', 'Jelenlét rögzítés vége!  Q0W9E8 A hallgató nincs a rendszerben!', 7, 1);
)";

bool save(QWidget *w, const QString &file)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    if (!ok)
        qWarning("cannot write %s", qPrintable(file));
    return ok;
}

// The entries of one student, a make-up row selected.
bool renderEntries(const QDir &out)
{
    CurrentStudentId = QStringLiteral("1");
    CurrentStudentName = QStringLiteral("Kovács Réka (K7QZ2M)");
    OpenPositioned = 1;
    Tform_JelenletElem w;
    w.show();
    w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(8, 0));
    return save(&w, out.filePath(QStringLiteral("form_JelenletElem.png")));
}

// The journal of the faculty, the end row of a run with its refused codes selected.
bool renderJournal(const QDir &out)
{
    TFocusHighlight highlight; // as the main window has it: the list framed after the click
    Tform_JelenletTor w;
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    QTest::qWait(100);
    const QRect row = w.dbg_lista->visualRect(w.dbg_lista->model()->index(5, 1));
    QTest::mouseClick(w.dbg_lista->viewport(), Qt::LeftButton, {}, row.center());
    w.dbg_lista->setFocus(Qt::MouseFocusReason); // without a window manager the click may not focus
    QTest::qWait(50);
    return save(&w, out.filePath(QStringLiteral("form_JelenletTor.png")));
}

// The capture window after a run of the Wednesday lesson: twenty students, earlier weeks recorded,
// two codes left over with their reasons.
bool renderCapture(const QDir &out)
{
    Connection &c = form_Adatmodul->ADOConn;
    auto exec = [&](const QString &sql) { c.execute(QStringLiteral("screenshot"), sql); };
    exec(QStringLiteral("update orarend set orarend_potlas=2 where orarend_id=1"));
    const QStringList names{"Farkas Bence", "Tóth Eszter", "Szabó Máté", "Varga Lilla", "Németh Dániel",
                            "Molnár Zsófia", "Horváth Gergő", "Kiss Anna", "Lakatos Péter", "Papp Dóra",
                            "Simon Levente", "Fekete Nóra", "Takács Balázs", "Juhász Fanni", "Mészáros Olivér",
                            "Oláh Luca", "Rácz Tamás"};
    for (int i = 0; i < names.size(); ++i)
        exec(QStringLiteral("insert into hallgato (hallgato_id, hallgato_kod, hallgato_nev, hallgato_diak) values (%1, "
                            "'N%2', '%3', '7231%4')")
                 .arg(10 + i)
                 .arg(QStringLiteral("%1").arg(i * 7919 % 99999, 5, 10, QChar(u'0')))
                 .arg(names[i])
                 .arg(1100 + i));
    exec(QStringLiteral("insert into tan_hall (hallgato_id, orarend_id) select hallgato_id, 1 from hallgato"));
    const QStringList dates{"20240207", "20240214", "20240221", "20240228", "20240306"};
    for (const QString &d : dates)
        exec(QStringLiteral("insert into orarend_datum (orarend_id, od_datum) values (1, '%1')").arg(d));
    exec(QStringLiteral("delete from jelenlet where orarend_id=1"));
    for (int k = 0; k < 4; ++k)
        exec(QStringLiteral("insert into jelenlet (hallgato_id, orarend_id, jelenlet_datum, jt_id) select hallgato_id, 1, "
                            "'%1', case when (hallgato_id + %2) % 5 = 0 then 2 when (hallgato_id + %2) % 11 = 0 then 3 "
                            "else 1 end from hallgato")
                 .arg(dates[k])
                 .arg(k));

    Tform_Jelenlet w;
    w.connectionWait = [](int) {};
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    w.bb_uj->click();
    auto choose = [](TVDCComboBox *combo, const QString &id) {
        PickFromList(combo, int(combo->ids().indexOf(id)));
    };
    choose(w.vdc_felev, QStringLiteral("1"));
    choose(w.vdc_orarend, QStringLiteral("1"));
    w.rg_mi->setItemIndex(0);
    Dataset codes(&c, QStringLiteral("codes"));
    codes.setSql(QStringLiteral("select hallgato_kod from hallgato where hallgato_id % 6 <> 0 order by hallgato_nev"));
    codes.open();
    QStringList lines;
    for (codes.first(); !codes.eof(); codes.next())
        lines << codes.fieldByName(QStringLiteral("hallgato_kod")).asString();
    lines << QStringLiteral("X1Y2Z3") << QStringLiteral("Q0W9E8");
    w.setCodeLines(lines);
    // The reader's next code, with the line that tells whose it is.
    w.m_jelenlet->setFocus();
    QTest::keyClicks(w.m_jelenlet, QStringLiteral("72311046"));
    QTest::keyClick(w.m_jelenlet, Qt::Key_Return);
    QTest::qWait(50);
    if (!save(&w, out.filePath(QStringLiteral("form_Jelenlet_olvasas.png"))))
        return false;
    w.bb_felvesz->click();
    return save(&w, out.filePath(QStringLiteral("form_Jelenlet.png")));
}

struct Window {
    const char *name;
    bool (*render)(const QDir &out);
};
const Window Windows[] = {
    {"form_JelenletElem", renderEntries},
    {"form_JelenletTor", renderJournal},
    {"form_Jelenlet", renderCapture}, // last: it adds students and entries
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    DataFixture fx(BaseSchema() + QString::fromUtf8(Seed));
    LoginInfo.FacultyId = QStringLiteral("1");
    LoginInfo.RoleId = 2;
    ScriptedMessages quiet;
    bool ok = true;
    for (const Window &w : Windows)
        if (wanted.isEmpty() || wanted.contains(QLatin1String(w.name)))
            if (!w.render(out)) {
                qWarning("%s: not rendered", w.name);
                ok = false;
            }
    return ok ? 0 : 1;
}
