// The read-only relation lists: students of an offering, members of a timetable entry, teachers
// of a subject.

#include "DBGrid.h"
#include "Export.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "MasterdataWindows.h"
#include "PeopleFixture.h"
#include "TextCodec.h"
#include "VDCComboBox.h"
#include "form_OrarendHallgato_Unit.h"
#include "form_TanoraOktato_Unit.h"
#include "form_TantargyHallgatoi_Unit.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QStringList column(DBGrid *g, int c)
{
    QStringList out;
    for (int r = 0; r < g->model()->rowCount(); ++r)
        out << g->model()->index(r, c).data().toString();
    return out;
}
} // namespace

class TestRelationLists : public PeopleTestBase {
    Q_OBJECT

private Q_SLOTS:
    void init() { startFixture(); }
    void cleanup() { stopFixture(); }

    void studentsOfAnOffering_data()
    {
        QTest::addColumn<QString>("offering");
        QTest::addColumn<QStringList>("students");
        // Nagy Béla has two enrolment rows in offering 1 and is listed twice.
        QTest::newRow("with a double enrolment")
            << "1" << QStringList{"Nagy Béla (ABC123)", "Kiss Ádám (XYZ789)", "Nagy Béla (ABC123)"};
        QTest::newRow("no enrolments") << "4" << QStringList();
        QTest::newRow("no offering chosen") << "" << QStringList();
    }
    void studentsOfAnOffering()
    {
        QFETCH(QString, offering);
        QFETCH(QStringList, students);
        RecordedErrors errors;
        CurrentOfferingId = offering;
        CurrentOfferingText = QStringLiteral("Matematika");
        auto w = shown<Tform_TantargyHallgatoi>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tantárgy hallgatói"));
        QCOMPARE(w->l_orarend->text(), QStringLiteral("Matematika - ") + offering);
        QStringList shownNames = column(w->dbg_lista, 1);
        shownNames.sort(); // in the database's order
        students.sort();
        QCOMPARE(shownNames, students);
        QCOMPARE(w->l_szumma->text(), QString::number(students.size()));
        QVERIFY(w->dbg_lista->isColumnHidden(0) && w->dbg_lista->isColumnHidden(2) && w->dbg_lista->isColumnHidden(3));
        QVERIFY(w->bb_excel->isVisible());
        for (QWidget *b : std::initializer_list<QWidget *>{w->bb_indit, w->bb_felttorol, w->bb_Ok, w->bb_Ment})
            QVERIFY(!b->isVisible());
        QCOMPARE(errors.texts, QStringList());
    }

    void studentsToExcel()
    {
        QTemporaryDir dir;
        SetExportFolder(dir.path());
        QStringList opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QString &path) {
            opened << path;
            return true;
        });
        CurrentOfferingId = QStringLiteral("1");
        auto w = shown<Tform_TantargyHallgatoi>();
        w->bb_excel->click();
        SetDocumentOpener(previous);
        SetExportFolder(QString());
        QCOMPARE(opened.size(), 1);
        QCOMPARE(msg->shown, QStringList{"Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"});
        const QHash<QString, QByteArray> parts = UnzipAll(ReadFileBytes(opened[0]));
        const QByteArray sheet = parts.value(QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY(sheet.contains("<row r=\"4\""));
        QVERIFY(!sheet.contains("<row r=\"5\""));
        QVERIFY(!sheet.contains("r=\"B1\"")); // the one visible column
    }

    void membersOfATimetableEntry()
    {
        RecordedErrors errors;
        CurrentTimetableId = QStringLiteral("1");
        CurrentTimetableName = QStringLiteral("Hétfő 8:00 Matematika");
        auto w = shown<Tform_OrarendHallgato>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Órarendi elem hallgatói"));
        QCOMPARE(w->l_orarend->text(), QStringLiteral("Hétfő 8:00 Matematika - 1"));
        // Grouped by subject code (the member without an offering first), then by the student text.
        QCOMPARE(column(w->dbg_lista, 1),
                 (QStringList{"Kiss Ádám (XYZ789)", "Tóth Cecília (QWE456)", "Kiss Ádám (XYZ789)", "Nagy Béla (ABC123)"}));
        QCOMPARE(column(w->dbg_lista, 3), (QStringList{"", "FIZ1", "MAT1", "MAT1"}));
        QCOMPARE(column(w->dbg_lista, 4), (QStringList{"", "Második kurzus", "Első kurzus", "Első kurzus"}));
        QCOMPARE(w->l_szumma->text(), QStringLiteral("4"));
        QVERIFY(w->p_TalalatokSzama->isVisible() && w->bb_Ment->isVisible() && w->bb_excel->isVisible());
        QCOMPARE(errors.texts, QStringList());

        // Saved as text: every column, the hidden ones included.
        QTemporaryDir dir;
        ScriptedFileChooser files;
        files.saveAnswers.enqueue(dir.filePath(QStringLiteral("tagok.txt")));
        w->bb_Ment->click();
        const QString text = DecodeText(ReadFileBytes(dir.filePath(QStringLiteral("tagok.txt"))), Charset::Windows1250);
        QVERIFY(text.startsWith(QStringLiteral("id\tnév\ttantárgy\tkód\tkurzus\tNeptun kód\tdiákigazolvány\t\r\n")));
        QVERIFY(text.contains(QStringLiteral("1\tNagy Béla (ABC123)\tMatematika\tMAT1\tElső kurzus\tABC123\tD111\t\r\n")));
    }

    void membersWithoutEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("none chosen") << "";
        QTest::newRow("entry without members") << "2";
    }
    void membersWithoutEntry()
    {
        QFETCH(QString, entry);
        RecordedErrors errors;
        CurrentTimetableId = entry;
        auto w = shown<Tform_OrarendHallgato>();
        QCOMPARE(w->dbg_lista->model()->rowCount(), 0);
        QCOMPARE(w->l_szumma->text(), QStringLiteral("0"));
        QCOMPARE(errors.texts, QStringList());
    }

    void teachersOfASubject()
    {
        RecordedErrors errors;
        exec(QStringLiteral("insert into tan_okt (oktato_id, ft_id) values (3, 2), (3, 4)"));
        auto w = shown<Tform_TanoraOktato>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Tanórák és oktatók összerendelése"));
        // The current semester is chosen; its subjects of the user's faculty are offered.
        QCOMPARE(w->vdc_felev->count(), 2);
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        QStringList subjects;
        for (int i = 0; i < w->vdc_tanora->count(); ++i)
            subjects << w->vdc_tanora->itemText(i);
        subjects.sort();
        QCOMPARE(subjects, (QStringList{"Fizika", "Kémia", "Matematika"}));
        // Nothing chosen: every teacher on the left.
        QCOMPARE(column(w->dbg_oktato, 1), QStringList());
        QCOMPARE(column(w->dbg_lista, 1), (QStringList{"Kovács Péter", "O'Brien Anna", "Szabó Éva"}));
        QVERIFY(PickFromList(w->vdc_tanora, QStringLiteral("Matematika")));
        QCOMPARE(column(w->dbg_oktato, 1), QStringList{"Kovács Péter"});
        QCOMPARE(column(w->dbg_lista, 1), (QStringList{"O'Brien Anna", "Szabó Éva"}));
        // Szabó teaches Matematika only in the autumn semester.
        QVERIFY(PickFromList(w->vdc_felev, QStringLiteral("2023/24 ősz")));
        QCOMPARE(w->vdc_tanora->count(), 1);
        PickFromList(w->vdc_tanora, 0);
        QCOMPARE(column(w->dbg_oktato, 1), QStringList{"Szabó Éva"});
        QVERIFY(w->dbg_lista->isColumnHidden(0) && w->dbg_oktato->isColumnHidden(0));
        QVERIFY(!w->bb_hozzaad->isVisible() && !w->bb_elvesz->isVisible());
        QCOMPARE(errors.texts, QStringList());
    }

    void teachersWithoutFaculty()
    {
        LoginInfo.FacultyId.clear();
        RecordedErrors errors;
        auto w = shown<Tform_TanoraOktato>();
        QCOMPARE(w->vdc_tanora->count(), 0);
        QCOMPARE(w->dbg_oktato->model()->rowCount(), 0);
        QCOMPARE(errors.texts, QStringList());
    }

    void openedByName()
    {
        RegisterMasterdataWindows();
        CurrentOfferingId = QStringLiteral("1");
        CurrentTimetableId = QStringLiteral("1");
        for (const auto &[name, rows] : {std::pair{QStringLiteral("form_TantargyHallgatoi"), 3},
                                        std::pair{QStringLiteral("form_OrarendHallgato"), 4}}) {
            int seen = -1;
            WhenModalShown([&](QWidget *m) {
                seen = m->findChild<DBGrid *>(QStringLiteral("dbg_lista"))->model()->rowCount();
                QTest::keyClick(m, Qt::Key_Escape);
            });
            QVERIFY(OpenRegisteredWindow(name) != -1);
            QCOMPARE(seen, rows);
        }
    }
};

QTEST_MAIN(TestRelationLists)
#include "test_relation_lists.moc"
