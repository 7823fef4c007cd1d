// Renders the Neptun import window and the error log browser on a copy of the demo database into
// PNG files: neptun_screenshots DEMO-FOLDER OUT-FOLDER (DEMO-FOLDER from kovra-demo; run under
// xvfb-run -a). The import window shows an import of the first faculty's previous semester (the
// stand-in's hard cases), the browser every report with one selected.

#include "Adatmodul.h"
#include "ComboDriver.h"
#include "DBGrid.h"
#include "LoginInfo.h"
#include "ScriptedMessages.h"
#include "VDCComboBox.h"
#include "Controls.h"
#include "form_Hibanaplo_Unit.h"
#include "form_TantargyJelent_Unit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool save(QWidget *w, const QString &file)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    if (!ok)
        qWarning("cannot write %s", qPrintable(file));
    return ok;
}

void choose(TVDCComboBox *combo, const QString &id)
{
    PickFromList(combo, int(combo->ids().indexOf(id)));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        qWarning("usage: neptun_screenshots DEMO-FOLDER OUT-FOLDER");
        return 2;
    }
    const QDir demo(QString::fromLocal8Bit(argv[1])), out(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    for (const char *name : {"KOVRA.sqlite", "NEPTUN.sqlite"})
        if (!QFile::copy(demo.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))))
            qFatal("cannot copy %s", name);
    ScriptedMessages boxes;
    Tform_Adatmodul module;
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + dir.path());
    module.ADOConn.setNeptunDatabase(dir.filePath(QStringLiteral("NEPTUN.sqlite")));
    module.ADOConn.open();
    LoginInfo.UserId = QStringLiteral("2");
    LoginInfo.UserName = QStringLiteral("TANULMANYI");
    LoginInfo.RoleId = 1;
    LoginInfo.FacultyId = QStringLiteral("1");

    bool ok = true;
    {
        Tform_TantargyJelent w;
        w.show();
        (void)QTest::qWaitForWindowExposed(&w);
        choose(w.vdc_kar, QStringLiteral("1"));
        choose(w.vdc_felev, QStringLiteral("1"));
        w.bb_neptun->click();
        w.bb_kartya->click();
        w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(0, 1));
        ok = save(&w, out.filePath(QStringLiteral("form_TantargyJelent.png"))) && ok;
    }
    {
        Tform_Hibanaplo w;
        w.show();
        (void)QTest::qWaitForWindowExposed(&w);
        w.rg_milyen->setItemIndex(3);
        w.bb_indit->click();
        w.dbg_Eredmeny->setCurrentIndex(w.dbg_Eredmeny->model()->index(1, 0));
        ok = save(&w, out.filePath(QStringLiteral("form_Hibanaplo.png"))) && ok;
    }
    return ok ? 0 : 1;
}
