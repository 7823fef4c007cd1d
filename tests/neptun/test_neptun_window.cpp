// The Neptun import window driven by its controls: the faculty and semester choice, the query with
// its count, the import with progress and messages, input during the import, the message file.

#include "DBGrid.h"
#include "FrameworkTestKit.h"
#include "NeptunFixture.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_TantargyJelent_Unit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace neptuntest;

class TestNeptunWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoFiles> demo;
    std::unique_ptr<Register> reg;
    std::unique_ptr<ScriptedMessages> boxes;
    std::unique_ptr<RecordedErrors> errors;

    std::unique_ptr<Tform_TantargyJelent> shown()
    {
        auto w = std::make_unique<Tform_TantargyJelent>();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    static void choose(TVDCComboBox *combo, const QString &id)
    {
        QVERIFY2(combo->ids().contains(id), qPrintable(id));
        PickFromList(combo, int(combo->ids().indexOf(id)));
    }

private Q_SLOTS:
    void initTestCase() { demo = std::make_unique<DemoFiles>(); }
    void init()
    {
        reg = std::make_unique<Register>(*demo, Register::Empty);
        boxes = std::make_unique<ScriptedMessages>();
        errors = std::make_unique<RecordedErrors>();
        UserSettings()->clear();
    }
    void cleanup()
    {
        QCOMPARE(errors->texts, QStringList());
        errors.reset();
        boxes.reset();
        reg.reset();
    }

    void facultyListFollowsTheRole_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QStringList>("faculties");
        QTest::newRow("administrator") << 1 << QStringList({"1", "2"});
        QTest::newRow("study office") << 2 << QStringList{"2"};
    }
    void facultyListFollowsTheRole()
    {
        QFETCH(int, role);
        QFETCH(QStringList, faculties);
        LoginInfo.RoleId = role;
        LoginInfo.FacultyId = QStringLiteral("2");
        auto w = shown();
        QCOMPARE(w->vdc_kar->ids(), faculties);
        QVERIFY(!w->bb_neptun->isEnabled());
        QVERIFY(!w->bb_kartya->isEnabled());
        // Choosing a faculty makes it the program's current one and allows the query.
        choose(w->vdc_kar, faculties.first());
        QCOMPARE(LoginInfo.FacultyId, faculties.first());
        QCOMPARE(LoginInfo.FacultyCode, faculties.first() == u"1" ? QStringLiteral("GEK") : QStringLiteral("IK"));
        QVERIFY(w->bb_neptun->isEnabled());
        // Every input control is named by its label.
        const QList<QLabel *> labels = w->findChildren<QLabel *>();
        for (QWidget *c : std::initializer_list<QWidget *>{w->vdc_kar, w->vdc_felev, w->e_tantargy})
            QVERIFY(std::any_of(labels.begin(), labels.end(), [c](QLabel *l) { return l->buddy() == c; }));
    }

    void queryThenImportUnderTheQueriedFaculty()
    {
        auto w = shown();
        choose(w->vdc_kar, QStringLiteral("2"));
        QTest::mouseClick(w->bb_neptun, Qt::LeftButton);
        QCOMPARE(boxes->shown, QStringList{"A félév megadása kötelező!"});
        QCOMPARE(w->l_db->text(), QStringLiteral("0"));
        QVERIFY(!w->bb_kartya->isEnabled());

        choose(w->vdc_felev, QStringLiteral("2"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("2"));
        QTest::mouseClick(w->bb_neptun, Qt::LeftButton);
        const int rows = w->SZURES.recordCount();
        QVERIFY(rows > 500);
        QCOMPARE(w->l_db->text(), QString::number(rows));
        QVERIFY(w->bb_kartya->isEnabled());
        QVERIFY(!w->p_lek->isVisible());
        QCOMPARE(w->dbg_lista->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Hallgató"));

        // Another faculty and semester chosen after the query: the rows still go under IK and its semester.
        choose(w->vdc_kar, QStringLiteral("1"));
        choose(w->vdc_felev, QStringLiteral("1"));
        QList<std::pair<int, int>> steps;
        w->onProgress = [&] {
            QVERIFY(w->pb_neptun->isVisible());
            steps.append({w->pb_neptun->value(), w->pb_neptun->maximum()});
        };
        boxes->shown.clear();
        QTest::mouseClick(w->bb_kartya, Qt::LeftButton);
        QCOMPARE(boxes->shown, QStringList{"Az átvétel megtörtént!"});
        QVERIFY(!w->pb_neptun->isVisible());
        QVERIFY(steps.size() >= 2);
        QCOMPARE(steps.last(), std::make_pair(rows, rows));
        QCOMPARE(reg->rows(QStringLiteral("select distinct kar_id, felev_id from felvett_tantargy")), QStringList{"2|2"});
        QCOMPARE(reg->rows(QStringLiteral("select kar_id from Jelentes")), QStringList{"2"});
        // The message list shows what the journal row keeps.
        QCOMPARE(w->m_uzenet->toPlainText().replace(u'\n', QStringLiteral("\r\n")),
                 reg->value(QStringLiteral("select jel_szoveg from Jelentes")));
        QVERIFY(w->m_uzenet->toPlainText().contains(QStringLiteral("Hallgató rögzítésre került: ")));
        // "Átvétel" stays available for the same rows.
        QVERIFY(w->bb_kartya->isEnabled());
    }

    void inputDuringTheImportIsIgnored()
    {
        auto w = shown();
        choose(w->vdc_kar, QStringLiteral("1"));
        choose(w->vdc_felev, QStringLiteral("1"));
        w->cb_orarend->setChecked(true);
        QTest::mouseClick(w->bb_neptun, Qt::LeftButton);
        QVERIFY(w->bb_kartya->isEnabled());
        int pokes = 0;
        w->onProgress = [&] {
            if (pokes++ > 3)
                return;
            QVERIFY(w->importing());
            QTest::mouseClick(w->bb_kartya, Qt::LeftButton); // a second import
            QTest::mouseClick(w->bb_neptun, Qt::LeftButton); // a new query
            QTest::keyClick(w.get(), Qt::Key_Escape);
            w->close();
            QVERIFY(w->isVisible());
        };
        QTest::mouseClick(w->bb_kartya, Qt::LeftButton);
        QVERIFY(pokes > 0);
        QVERIFY(w->isVisible());
        QVERIFY(!w->importing());
        QCOMPARE(reg->count(QStringLiteral("Jelentes")), 1);
        QCOMPARE(reg->count(QStringLiteral("orarend")), reg->count(QStringLiteral("felvett_tantargy")));
        // Part two's messages replace part one's in the list.
        QVERIFY(w->m_uzenet->toPlainText().startsWith(QStringLiteral("Az órarend rögzítésre került: ")));
        QVERIFY(w->SZURES.recordCount() > 0);
        // After the import the window closes as usual.
        w->bb_kilepes->click();
        QVERIFY(!w->isVisible());
    }

    void emptyQueryKeepsTheImportDisabled()
    {
        auto w = shown();
        choose(w->vdc_kar, QStringLiteral("1"));
        choose(w->vdc_felev, QStringLiteral("1"));
        QTest::mouseClick(w->bb_neptun, Qt::LeftButton);
        QVERIFY(w->bb_kartya->isEnabled());
        QTest::keyClicks(w->e_tantargy, QStringLiteral("Nincs ilyen"));
        QTest::mouseClick(w->bb_neptun, Qt::LeftButton);
        QCOMPARE(w->l_db->text(), QStringLiteral("0"));
        QVERIFY(!w->bb_kartya->isEnabled());
        w->bb_kartyaClick(); // even when called directly
        QCOMPARE(boxes->shown, QStringList{"Nincs átvehető Neptun adat!"});
        QCOMPARE(reg->count(QStringLiteral("Jelentes")), 0);
    }

    void savesTheMessageList_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("no extension") << "uzenet" << "uzenet.txt" << QByteArray(";\r\n");
        QTest::newRow("tabulated") << "uzenet.csv" << "uzenet.csv" << QByteArray("\t\r\n");
    }
    void savesTheMessageList()
    {
        QFETCH(QString, answer);
        QFETCH(QString, file);
        QFETCH(QByteArray, end);
        auto w = shown();
        w->m_uzenet->setPlainText(QStringLiteral("Hallgató rögzítésre került: O'B1\nOktató rögzítésre került: X"));
        ScriptedFileChooser files;
        files.saveAnswers.enqueue(reg->dir.filePath(answer));
        QCOMPARE(w->pm_atvetel->objectName(), QStringLiteral("pm_atvetel"));
        QCOMPARE(w->pm_atvetel->actions().first()->text(), QStringLiteral("Mentés"));
        w->pm_atvetel->actions().first()->trigger();
        QCOMPARE(ReadFileBytes(reg->dir.filePath(file)),
                 QStringLiteral("Hallgató rögzítésre került: O'B1\r\nOktató rögzítésre került: X").toLatin1() + end);
    }
};

QTEST_MAIN(TestNeptunWindow)
#include "test_neptun_window.moc"
