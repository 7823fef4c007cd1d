// Renders the timetable and lesson dates windows on a copy of the demo database into PNG files:
//   kovra-demo DIR
//   xvfb-run -a timetable_screenshots DIR OUTPUT_FOLDER
// The demo files are copied first, so the pictures never change the demo data.

#include "Adatmodul.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "LoginInfo.h"
#include "MonthCalendar.h"
#include "ScriptedMessages.h"
#include "VDCComboBox.h"
#include "form_OrarendDatum_Unit.h"
#include "form_Orarend_Unit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

bool save(QWidget *w, const QString &file)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    QTextStream(stdout) << (ok ? "wrote " : "cannot write ") << file << '\n';
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (argc != 3) {
        QTextStream(stderr) << "usage: timetable_screenshots DEMO_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir demo(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir work;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work.path());
    if (!QFile::copy(demo.filePath(QStringLiteral("KOVRA.sqlite")), work.filePath(QStringLiteral("KOVRA.sqlite")))) {
        QTextStream(stderr) << "no demo database in " << demo.path() << '\n';
        return 2;
    }

    Tform_Adatmodul module;
    module.ADOConn.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User "
                                                      "ID=sa;Initial Catalog=KOVRA;Data Source=sqlite:")
                                       + work.path());
    module.ADOConn.open();
    Dataset q(&module.ADOConn);
    LoginInfo.FacultyId = FirstValue(q, QStringLiteral("Select min(kar_id) as k From orarend"), QStringLiteral("k"));
    LoginInfo.UserId = FirstValue(q, QStringLiteral("Select min(felh_id) as u From felhasznalo"), QStringLiteral("u"));
    LoginInfo.RoleId = 1;
    ScriptedMessages quiet;

    bool ok = true;
    QString entry;
    {
        Tform_Orarend w;
        w.show();
        ok &= QTest::qWaitForWindowExposed(&w);
        // An entry with groups, teachers and dates.
        for (int row = 0; row < w.dbg_lista->model()->rowCount(); ++row) {
            w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(row, 1));
            if (w.tanorak.recordCount() > 0 && w.oktatok.recordCount() > 0 && w.datumok.recordCount() > 2)
                break;
        }
        entry = w.currentEntryId();
        ok &= save(&w, out.filePath(QStringLiteral("form_Orarend.png")));
    }
    {
        CurrentTimetableId = entry;
        Tform_OrarendDatum d;
        d.show();
        ok &= QTest::qWaitForWindowExposed(&d);
        const QPoint at = d.sg_naptar->cellOfDay(14);
        const QRect r = d.sg_naptar->visualItemRect(d.sg_naptar->item(at.y(), at.x()));
        QTest::mouseClick(d.sg_naptar->viewport(), Qt::LeftButton, {}, r.center());
        ok &= save(&d, out.filePath(QStringLiteral("form_OrarendDatum.png")));
    }
    return ok ? 0 : 1;
}
