// Renders the attendance list, the card window and pages of the printed sheets and cards on the demo
// database into PNG files: report_screenshots <demo folder> <output folder>.
// The demo database comes from kovra-demo (its day: 9 October 2024).

#include "Adatmodul.h"
#include "ComboDriver.h"
#include "Calendar.h"
#include "CardSelection.h"
#include "Controls.h"
#include "DBGrid.h"
#include "LoginInfo.h"
#include "ScriptedMessages.h"
#include "VDCComboBox.h"
#include "form_JelenletLista_Unit.h"
#include "form_JelenletiListaNyomt1_Unit.h"
#include "form_JelenletiListaNyomt2_Unit.h"
#include "form_KartyakNyomt_Unit.h"
#include "form_Kartyak_Unit.h"

#include <QApplication>
#include <QDir>
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

bool savePage(const report::Report &r, int page, const QString &file)
{
    const bool ok = r.pageImage(page, 110).save(file);
    if (!ok)
        qWarning("cannot write %s", qPrintable(file));
    return ok;
}

void pick(TVDCComboBox *combo, const QString &id)
{
    PickFromList(combo, int(combo->ids().indexOf(id)));
}

QString first(Tform_Adatmodul &m, const QString &sql, const QString &column)
{
    return FirstValue(m.Query3, sql, column);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qWarning("usage: report_screenshots <demo folder> <output folder>");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    ScriptedMessages messages;
    messages.defaultAnswer = false;
    Tform_Adatmodul module;
    module.ADOConn.setClock([] { return QDateTime(QDate(2024, 10, 9), QTime(10, 15)); });
    module.ADOConn.setConnectionString(QStringLiteral("Initial Catalog=KOVRA;Data Source=sqlite:") + QString::fromLocal8Bit(argv[1]));
    module.ADOConn.open();
    LoginInfo.UserId = QStringLiteral("2");
    LoginInfo.RoleId = 2;
    LoginInfo.FacultyId = QStringLiteral("1");
    LoginInfo.FacultyName = first(module, QStringLiteral("Select kar_nev From kar Where kar_id=1"), QStringLiteral("kar_nev"));
    const QString semester = FindCurrentSemester();
    auto lessonWith = [&](const QString &dates) {
        return first(module,
                     QStringLiteral("Select top 1 a.orarend_id From orarend a Where a.kar_id=1 and a.felev_id=") + semester
                         + QStringLiteral(" and (Select count(*) From orarend_datum d Where d.orarend_id=a.orarend_id) ")
                         + dates
                         + QStringLiteral(" Order By (Select count(*) From tan_hall t Where t.orarend_id=a.orarend_id) desc"),
                     QStringLiteral("orarend_id"));
    };
    const QString wideLesson = lessonWith(QStringLiteral(">= 8"));
    const QString narrowLesson = lessonWith(QStringLiteral("between 1 and 7"));
    bool ok = true;

    {
        Tform_JelenletLista w;
        form_JelenletLista = &w;
        w.resize(1180, 640);
        w.show();
        pick(w.vdc_felev, semester);
        pick(w.vdc_orarend, wideLesson);
        w.dbg_lista->setCurrentIndex(w.dbg_lista->model()->index(3, 0));
        ok &= save(&w, out.filePath(QStringLiteral("form_JelenletLista.png")));
        {
            Tform_JelenletiListaNyomt2 sheet;
            ok &= savePage(sheet.report(), 0, out.filePath(QStringLiteral("form_JelenletiListaNyomt2.png")));
        }
        // The portrait layout: a lesson of at most seven dates, or the first seven of the lesson above
        // when the demo has none.
        if (!narrowLesson.isEmpty())
            pick(w.vdc_orarend, narrowLesson);
        {
            Tform_JelenletiListaNyomt1 sheet;
            ok &= savePage(sheet.report(), 0, out.filePath(QStringLiteral("form_JelenletiListaNyomt1.png")));
        }
        form_JelenletLista = nullptr;
    }
    {
        Tform_Kartyak w;
        form_Kartyak = &w;
        w.resize(1100, 640);
        w.show();
        pick(w.vdc_orarend, narrowLesson.isEmpty() ? wideLesson : narrowLesson);
        w.bb_indit->click();
        for (int i : {0, 2, 3})
            w.clb_hallgato->setChecked(i, true);
        w.SZURES.setRecNo(3);
        ok &= save(&w, out.filePath(QStringLiteral("form_Kartyak.png")));
        Tform_KartyakNyomt sheet; // nobody ticked yet by "Kártya nyomtatás": every listed student

        ok &= savePage(sheet.report(), 0, out.filePath(QStringLiteral("form_KartyakNyomt.png")));
        form_Kartyak = nullptr;
    }
    return ok ? 0 : 1;
}
