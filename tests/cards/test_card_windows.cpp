// The card issue window and its card sheet, driven by their controls on the real schema, and the
// card layout itself.

#include "CardSelection.h"
#include "CardWindows.h"
#include "DBGrid.h"
#include "DBLookUpEdit.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "OpenWindow.h"
#include "ReportPreview.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_Kartyak_Unit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Faculty 1, semester 1 (the clock's: 2024-03-06). Names and codes sort in opposite orders.
//  Courses 1 "Nappali" (offering 1: Hungarian, year 1) and 2 "Levelező" (offering 2: English, year 2).
//  Ács Anna ZZZ111: lesson 1 (offering 1) and lesson 2 (offering 2); Bíró Béla YYY222: lesson 1,
//  card issued today; Cser Cecil XXX333: lesson 2 (offering 2), card issued last October;
//  Dénes Dóra WWW444: only a lesson of faculty 2; Erdős Ede: a lesson of semester 2 only.
const char *Seed = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev) VALUES (1, 'GTK', 'Gazdasági Kar'), (2, 'MK', 'Mérnöki Kar');
INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES
 (1, '2023/24 tavasz', '2024-02-05', '2024-05-31'), (2, '2023/24 ősz', '2023-09-04', '2024-01-31');
INSERT INTO kurzus (kurzus_id, kurzus_kod, kurzus_nev) VALUES (1, 'N1', 'Nappali'), (2, 'L2', 'Levelező'), (3, 'X', 'Idegen');
INSERT INTO nyelv (nyelv_id, nyelv_nev) VALUES (1, 'magyar'), (2, 'angol');
INSERT INTO felvett_tantargy (ft_id, kurzus_id, felev_id, nyelv_id, evfolyam, kar_id) VALUES
 (1, 1, 1, 1, '1', 1), (2, 2, 1, 2, '2', 1), (3, 3, 1, 1, '1', 2);
INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev) VALUES
 (1, 1, 1, 'Anatómia'), (2, 1, 1, 'Kémia'), (3, 2, 1, 'Élettan'), (4, 1, 2, 'Régi');
INSERT INTO hallgato (hallgato_id, hallgato_kod, hallgato_nev) VALUES
 (1, 'ZZZ111', 'Ács Anna'), (2, 'YYY222', 'Bíró Béla'), (3, 'XXX333', 'Cser Cecil'), (4, 'WWW444', 'Dénes Dóra'),
 (5, 'VVV555', 'Erdős Ede');
INSERT INTO tan_hall (hallgato_id, ft_id, orarend_id) VALUES (1, 1, 1), (2, 1, 1), (1, 2, 2), (3, 2, 2), (4, 3, 3), (5, 1, 4);
INSERT INTO kartya (kartya_id, hallgato_id, kartya_datum) VALUES (1, 2, '2024-03-06'), (2, 3, '2023-10-01');
)";

void pick(TVDCComboBox *combo, const QString &text)
{
    const int i = combo->findText(text, Qt::MatchStartsWith);
    QVERIFY2(i >= 0, qPrintable(text));
    PickFromList(combo, i);
}

struct CardsSeen {
    QString window;
    int pages = 0;
    QStringList ids, codes;
};

int darkPixels(const QImage &img, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

// Rows of the image area that hold ink.
QList<int> inkRows(const QImage &img, const QRect &area)
{
    QList<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        if (darkPixels(img, QRect(area.left(), y, area.width(), 1)) > 0)
            rows << y;
    return rows;
}

report::Rows cardRows(const QList<QStringList> &students)
{
    report::Rows r;
    r.fields = {QStringLiteral("hallgato_id"), QStringLiteral("hallgato_kod"), QStringLiteral("hallgato_nev")};
    for (const QStringList &s : students)
        r.values << s;
    return r;
}

} // namespace

class TestCardWindows : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_Kartyak> shown()
    {
        auto w = std::make_unique<Tform_Kartyak>();
        form_Kartyak = w.get();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return w;
    }
    static QStringList items(const Tform_Kartyak *w, bool tickedOnly = false)
    {
        QStringList t;
        for (int i = 0; i < w->clb_hallgato->count(); ++i)
            if (!tickedOnly || w->clb_hallgato->isChecked(i))
                t << w->clb_hallgato->item(i)->text();
        return t;
    }
    static void tick(Tform_Kartyak *w, const QString &name)
    {
        for (int i = 0; i < w->clb_hallgato->count(); ++i)
            if (w->clb_hallgato->item(i)->text().startsWith(name))
                return w->clb_hallgato->setChecked(i, true);
        QFAIL(qPrintable(name));
    }
    static QStringList names(const Dataset &q)
    {
        QStringList n;
        for (int r = 0; r < q.recordCount(); ++r)
            n << q.text(r, q.fieldIndex(QStringLiteral("hallgato_nev")));
        return n;
    }
    // Presses "Kártya nyomtatás", records the sheet and closes its preview.
    CardsSeen printCards(Tform_Kartyak *w)
    {
        CardsSeen seen;
        WhenModalShown([&seen](QWidget *modal) {
            if (auto *sheet = qobject_cast<TReportPreview *>(modal)) {
                seen.window = sheet->objectName();
                seen.pages = sheet->report().pageCount();
                const report::Rows &rows = sheet->report().rows();
                for (int r = 0; r < rows.count(); ++r) {
                    seen.ids << rows.value(r, QStringLiteral("hallgato_id"));
                    seen.codes << rows.value(r, QStringLiteral("hallgato_kod"));
                }
            }
            modal->close();
        });
        w->bb_kartya->click();
        return seen;
    }
    QStringList issued() { return fx->rows(QStringLiteral("Select hallgato_id, kartya_datum From kartya Order By kartya_id")); }

private Q_SLOTS:
    void initTestCase() { RegisterCardWindows(); }
    void init()
    {
        startFixture(Seed);
        LoginInfo.RoleId = 4;
    }
    void cleanup()
    {
        stopFixture();
        form_Kartyak = nullptr;
    }

    void searchesAndListsTheStudents()
    {
        auto w = shown();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kártya adatok"));
        QVERIFY(!w->sb_nyomtat->isVisible());
        QVERIFY(!w->bb_excel->isVisible());
        QVERIFY(!w->bb_Ment->isVisible());
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(w->vdc_kurzus->count(), 2); // the faculty's courses only
        QCOMPARE(w->vdc_orarend->count(), 2);
        QCOMPARE(w->vdc_nyelv->count(), 2);
        w->bb_indit->click();
        QCOMPARE(names(w->SZURES), (QStringList{"Ács Anna", "Bíró Béla", "Cser Cecil"}));
        QCOMPARE(items(w.get()), (QStringList{"Ács Anna (ZZZ111)", "Bíró Béla (YYY222)", "Cser Cecil (XXX333)"}));
        QCOMPARE(items(w.get(), true), QStringList());
        QCOMPARE(w->l_szumma->text(), QStringLiteral("3"));
        QCOMPARE(w->dbg_lista->column(0).visible, false);

        // Moving in the grid selects the item and shows the student's cards; a click on an item moves the grid.
        w->SZURES.setRecNo(2);
        QCOMPARE(CurrentStudentId, QStringLiteral("2"));
        QCOMPARE(w->clb_hallgato->currentRow(), 1);
        QCOMPARE(w->kartya.recordCount(), 1);
        QCOMPARE(w->kartya.fieldByName(QStringLiteral("kartya_datum")).asString(), QStringLiteral("2024.03.06"));
        Q_EMIT w->clb_hallgato->itemClicked(w->clb_hallgato->item(2));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString(), QStringLiteral("3"));
        // The name search moves the grid and the item with it.
        w->dbl_nev->setText(QStringLiteral("Ács"));
        w->dbl_nev->handleKey('S');
        QCOMPARE(w->clb_hallgato->currentRow(), 0);

        w->bb_be->click();
        QCOMPARE(items(w.get(), true).size(), 3);
        w->bb_ki->click();
        QCOMPARE(items(w.get(), true), QStringList());
        w->bb_felttorol->click();
        QCOMPARE(w->clb_hallgato->count(), 0);
    }

    void filters_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<bool>("withoutCard");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("course") << "Levelező" << "" << "" << "" << false << QStringList{"Ács Anna", "Cser Cecil"};
        QTest::newRow("language") << "" << "magyar" << "" << "" << false << QStringList{"Ács Anna", "Bíró Béla"};
        QTest::newRow("lesson") << "" << "" << "" << "Kémia" << false << QStringList{"Ács Anna", "Cser Cecil"};
        QTest::newRow("year") << "" << "" << "2" << "" << false << QStringList{"Ács Anna", "Cser Cecil"};
        // Any card issued before now leaves the student out, today's included.
        QTest::newRow("without card") << "" << "" << "" << "" << true << QStringList{"Ács Anna"};
        QTest::newRow("year and lesson") << "" << "" << "1" << "Kémia" << false << QStringList{"Ács Anna"};
        // The year is a text: what looks like a condition matches nothing and is no error.
        QTest::newRow("year injected") << "" << "" << "9) or (1=1" << "" << false << QStringList{};
        QTest::newRow("year with quote") << "" << "" << "2'" << "" << false << QStringList{};
        QTest::newRow("year letters") << "" << "" << "abc" << "" << false << QStringList{};
    }
    void filters()
    {
        QFETCH(QString, course);
        QFETCH(QString, language);
        QFETCH(QString, year);
        QFETCH(QString, lesson);
        QFETCH(bool, withoutCard);
        QFETCH(QStringList, expected);
        auto w = shown();
        if (!course.isEmpty())
            pick(w->vdc_kurzus, course);
        if (!language.isEmpty())
            pick(w->vdc_nyelv, language);
        if (!lesson.isEmpty())
            pick(w->vdc_orarend, lesson);
        w->e_evfolyam->setText(year);
        w->cb_kartya->setChecked(withoutCard);
        w->bb_indit->click();
        QVERIFY(w->SZURES.isActive());
        QCOMPARE(names(w->SZURES), expected);
        QCOMPARE(w->clb_hallgato->count(), expected.size());
    }

    void nothingToPrint()
    {
        auto w = shown();
        w->bb_kartya->click(); // before any search
        w->e_evfolyam->setText(QStringLiteral("7"));
        w->bb_indit->click();  // found nobody
        w->bb_kartya->click();
        QCOMPARE(msg->shown, (QStringList{"Nincs nyomtatható adat!", "Nincs nyomtatható adat!"}));
        QCOMPARE(issued().size(), 2);
    }

    void nobodyTickedPrintsEveryoneAndRecordsOncePerDay()
    {
        auto w = shown();
        w->bb_indit->click();
        msg->answers << true << true << false;
        const CardsSeen first = printCards(w.get());
        QCOMPARE(first.window, QStringLiteral("form_KartyakNyomt"));
        QCOMPARE(first.ids, (QStringList{"1", "2", "3"}));
        QCOMPARE(first.pages, 1);
        QCOMPARE(msg->asked, QStringList{"A nyomtatás rendben megtörtént?"});
        // The issued cards of the current student show the new one at once.
        QCOMPARE(w->kartya.recordCount(), fx->rows(QStringLiteral("Select count(*) From kartya Where hallgato_id=")
                                                   + CurrentStudentId).value(0).toInt());
        QCOMPARE(w->dbg_kiadott->model()->rowCount(), w->kartya.recordCount());
        QVERIFY(w->kartya.recordCount() > 0);
        // Bíró Béla had today's card already: one row per student and day.
        QCOMPARE(issued(), (QStringList{"2|2024.03.06", "3|2023.10.01", "1|2024.03.06", "3|2024.03.06"}));
        // Every issue is audited, the existing one under its own key.
        QCOMPARE(fx->rows(QStringLiteral("Select erintett_rekord From esemenynaplo Where erintett_tabla='kartya' Order By 1")),
                 (QStringList{"1", "3", "4"}));
        // Printed again the same day: nothing new.
        printCards(w.get());
        QCOMPARE(issued().size(), 4);
        // Declined: nothing recorded.
        fx->conn().execute(QStringLiteral("test"), QStringLiteral("Delete From kartya Where kartya_id > 2"));
        printCards(w.get());
        QCOMPARE(msg->asked.size(), 3);
        QCOMPARE(issued().size(), 2);
    }

    void ticksFollowTheStudentsAcrossSorting()
    {
        auto w = shown();
        w->bb_indit->click();
        tick(w.get(), QStringLiteral("Bíró Béla"));
        tick(w.get(), QStringLiteral("Cser Cecil"));
        // A title click sorts the grid by name, descending: the list follows, the ticks stay with the students.
        Q_EMIT w->dbg_lista->titleClicked(1);
        QCOMPARE(names(w->SZURES), (QStringList{"Cser Cecil", "Bíró Béla", "Ács Anna"}));
        QCOMPARE(items(w.get()), (QStringList{"Cser Cecil (XXX333)", "Bíró Béla (YYY222)", "Ács Anna (ZZZ111)"}));
        QCOMPARE(items(w.get(), true), (QStringList{"Cser Cecil (XXX333)", "Bíró Béla (YYY222)"}));
        msg->answers << true;
        const CardsSeen seen = printCards(w.get());
        QCOMPARE(w->selectionList(), QStringLiteral("3,2"));
        // Sorted by the Neptun code the other way round: the ticks still stay.
        Q_EMIT w->dbg_lista->titleClicked(2);
        Q_EMIT w->dbg_lista->titleClicked(2);
        QCOMPARE(names(w->SZURES), (QStringList{"Cser Cecil", "Bíró Béla", "Ács Anna"}));
        QCOMPARE(items(w.get(), true), (QStringList{"Cser Cecil (XXX333)", "Bíró Béla (YYY222)"}));
        QCOMPARE(seen.ids, (QStringList{"2", "3"})); // by name on the sheet
        QCOMPARE(issued(), (QStringList{"2|2024.03.06", "3|2023.10.01", "3|2024.03.06"}));
        // A new search starts with nobody ticked.
        w->bb_indit->click();
        QCOMPARE(items(w.get(), true), QStringList());
    }

    void cardLayout()
    {
        QCOMPARE(CardCheckNumber(QStringLiteral("abc")), 48701);
        QList<QStringList> students;
        for (int i = 1; i <= 21; ++i)
            students << QStringList{QString::number(i), QStringLiteral("ABC%1").arg(i, 3, 10, QLatin1Char('0')),
                                    QStringLiteral("Hallgató %1").arg(i)};
        students[1][2] = QStringLiteral("Szentgyörgyváryné Kovácsházy-Pálffy Erzsébet Krisztina");
        students[2][1].clear(); // no code: no barcode, no check number
        const report::Report r = CardSheetReport(cardRows(students));
        const QVector<report::Page> pages = r.layout();
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].size(), 10);
        QCOMPARE(pages[0][5].at, QPointF(105, 10)); // the sixth card heads the second column
        const report::Band first = r.bandFor(pages[0][0]);
        QCOMPARE(first.element(QStringLiteral("QRLabel1"))->text, QString::number(CardCheckNumber(QStringLiteral("ABC001"))));
        QCOMPARE(first.element(QStringLiteral("QRAsBarcode1"))->text, QStringLiteral("ABC001"));
        QCOMPARE(r.bandFor(pages[0][2]).element(QStringLiteral("QRLabel1"))->text, QString());

        const double dpmm = 200 / 25.4;
        const QImage img = r.pageImage(0, 200);
        auto px = [dpmm](double x, double y, double w, double h) {
            return QRect(int(x * dpmm), int(y * dpmm), int(w * dpmm), int(h * dpmm));
        };
        // Cards 1 to 3 in the first column at y = 10, 62.9, 115.8; the barcode box at (61.4, 14.8) of each.
        QVERIFY(darkPixels(img, px(10 + 61.4, 10 + 14.8, 27, 13.2)) > 1000);
        QCOMPARE(darkPixels(img, px(10 + 61.4 + 0.5, 115.8 + 14.8 + 0.5, 26, 12)), 0);
        // The long name wraps onto a second line inside its box; the short one keeps one line.
        const QList<int> longName = inkRows(img, px(10 + 4.2, 62.9 + 38.1, 83.9, 13.0));
        const QList<int> shortName = inkRows(img, px(10 + 4.2, 10 + 38.1, 83.9, 13.0));
        QVERIFY(!shortName.isEmpty() && !longName.isEmpty());
        QVERIFY(shortName.last() - shortName.first() < 6 * dpmm);
        QVERIFY(longName.last() - longName.first() > 8 * dpmm);
        QVERIFY(longName.last() < int((62.9 + 38.1 + 13.0) * dpmm));
    }

    void statements()
    {
        CardFilter f;
        const QString sql = CardSearchStatement(f);
        QVERIFY(sql.contains(QStringLiteral("y.felev_id=null and y.kar_id=null")));
        QVERIFY(sql.endsWith(QStringLiteral("\r\nOrder By hallgato_nev")));
        Dataset q(&fx->conn());
        q.setSql(sql);
        q.open();
        QCOMPARE(q.recordCount(), 0);
        f.facultyId = QStringLiteral("1");
        f.semesterId = QStringLiteral("1");
        const QString sheet = CardSheetStatement(CardSearchStatement(f), {QStringLiteral("3"), QStringLiteral("1")});
        QVERIFY(sheet.endsWith(QStringLiteral("\r\nand a.hallgato_id in (3,1) \r\nOrder By hallgato_nev")));
        q.setSql(sheet);
        q.open();
        QCOMPARE(names(q), (QStringList{"Ács Anna", "Cser Cecil"}));
        QCOMPARE(CardSheetStatement(sql, {}), sql);
    }
};

QTEST_MAIN(TestCardWindows)
#include "test_card_windows.moc"
