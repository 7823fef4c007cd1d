// The attendance matrix list and its printed sheets, driven by their controls on the real schema.

#include "AttendanceSheet.h"
#include "AttendanceWindows.h"
#include "CardWindows.h"
#include "Fokep.h"
#include "DBGrid.h"
#include "WindowTestBase.h"
#include "Export.h"
#include "FrameworkTestKit.h"
#include "LoginInfo.h"
#include "OpenWindow.h"
#include "ReportPreview.h"
#include "ReportSeed.h"
#include "ReportWindows.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_JelenletLista_Unit.h"

#include <QAction>
#include <QDir>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace {

// What a sheet window showed: its name, layout and data, taken while it was open.
struct SheetSeen {
    QString window;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int pages = 0;
    QHash<QString, QString> header; // element name -> text
    report::Rows rows;
};

void pick(TVDCComboBox *combo, const QString &prefix)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(prefix)) {
            PickFromList(combo, i);
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no item %1 in %2").arg(prefix, combo->objectName())));
}

// Closes and names every modal window that opens while it lives (for actions that must open none).
class ModalWatch {
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *m = QApplication::activeModalWidget(); m && m->isVisible()) {
                opened << m->objectName();
                m->close();
            }
        });
        m_timer.start(10);
    }
    QStringList opened;

private:
    QTimer m_timer;
};

} // namespace

class TestReportWindows : public WindowTestBase {
    Q_OBJECT
    void seed(const QString &extra = {})
    {
        fx.reset();
        startFixture(BaseSchema() + QString::fromUtf8(ReportSeed) + extra);
        LoginInfo.FacultyName = QStringLiteral("Gazdasági Kar");
    }
    std::unique_ptr<Tform_JelenletLista> shown()
    {
        auto w = std::make_unique<Tform_JelenletLista>();
        form_JelenletLista = w.get();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return w;
    }
    static QStringList visibleTitles(const DBGrid *g)
    {
        QStringList t;
        for (int i = 1; i < g->columnCount(); ++i)
            if (g->column(i).visible)
                t << g->column(i).title;
        return t;
    }
    static QStringList column(const Dataset &q, const QString &field)
    {
        QStringList values;
        const int f = q.fieldIndex(field);
        for (int r = 0; r < q.recordCount(); ++r)
            values << q.text(r, f);
        return values;
    }
    // Presses "Nyomtat" and records the sheet window that opens.
    SheetSeen print(Tform_JelenletLista *w, const QString &savePdfAs = {})
    {
        SheetSeen seen;
        WhenModalShown([&seen, savePdfAs](QWidget *modal) {
            if (auto *sheet = qobject_cast<TReportPreview *>(modal)) {
                seen.window = sheet->objectName();
                const report::Report &r = sheet->report();
                seen.orientation = r.orientation;
                seen.pages = r.pageCount();
                for (const report::Element &e : r.pageHeader.elements)
                    if (!e.name.isEmpty())
                        seen.header.insert(e.name, e.text);
                seen.rows = r.rows();
                QVERIFY(modal->windowState() & Qt::WindowMaximized);
                if (!savePdfAs.isEmpty()) {
                    ScriptedFileChooser files;
                    files.saveAnswers << savePdfAs;
                    sheet->a_pdf->trigger();
                    QCOMPARE(files.filters, QStringList{QStringLiteral("PDF fájlok|*.pdf")});
                }
            }
            modal->close();
        });
        w->sb_nyomtat->click();
        return seen;
    }

private Q_SLOTS:
    void initTestCase()
    {
        RegisterReportWindows();
        RegisterAttendanceWindows();
        RegisterCardWindows();
    }
    void init()
    {
        seed();
    }
    void cleanup()
    {
        stopFixture();
        form_JelenletLista = nullptr;
    }

    void listsTheMatrix()
    {
        auto w = shown();
        QCOMPARE(w->windowTitle(), QStringLiteral("Jelenlét lista"));
        QCOMPARE(w->vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(CurrentSemesterId, QStringLiteral("1"));
        // Every lesson of the faculty in the semester, none of the other faculty or semester.
        QStringList lessons;
        for (int i = 0; i < w->vdc_orarend->count(); ++i)
            lessons << w->vdc_orarend->itemText(i).section(QStringLiteral(" - "), 0, 0);
        QCOMPARE(lessons, (QStringList{QStringLiteral("Anatómia"), QStringLiteral("Kémia"), QStringLiteral("Sok")}));
        QVERIFY(!w->SZURES.isActive());
        QVERIFY(!w->bb_lista->isVisible()); // the journal is for role 1 only

        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        QVERIFY(w->SZURES.isActive());
        QCOMPARE(column(w->SZURES, QStringLiteral("hallgato_nev")),
                 (QStringList{QStringLiteral("Ács Anna"), QStringLiteral("Bíró Béla"), QStringLiteral("Cser Cecil")}));
        QCOMPARE(visibleTitles(w->dbg_lista),
                 (QStringList{"02.07", "02.14", "02.21", "02.28", "03.06"}));
        QCOMPARE(w->dbg_lista->column(0).title, QStringLiteral("név"));
        w->SZURES.first();
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("1")).asString(), QString(QChar(252)));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("3")).asString(), QString(QChar(355)));
        QCOMPARE(column(w->SZURES, QStringLiteral("ossz")), (QStringList{"2", "0", "0"}));
        QCOMPARE(w->l_szumma->text(), QStringLiteral("3"));
        QVERIFY(!w->l_tobbdatum->isVisible());
        // The current row is handed on.
        w->SZURES.next();
        QCOMPARE(CurrentStudentId, QStringLiteral("2"));
        QCOMPARE(CurrentStudentName, QStringLiteral("Bíró Béla"));
        QCOMPARE(CurrentTimetableId, QStringLiteral("1"));

        // Only the semester changed: the lessons are refilled, the matrix stays.
        pick(w->vdc_felev, QStringLiteral("2023/24 ősz"));
        QCOMPARE(w->vdc_orarend->count(), 1);
        QCOMPARE(w->SZURES.recordCount(), 3);
        // A lesson chosen: rebuilt at once.
        pick(w->vdc_orarend, QStringLiteral("Régi"));
        QCOMPARE(column(w->SZURES, QStringLiteral("hallgato_nev")), QStringList{QStringLiteral("Cser Cecil")});
        QCOMPARE(visibleTitles(w->dbg_lista), (QStringList{"10.10", "10.17"}));
    }

    void moreThanFourteenDates()
    {
        seed(ManyDatesSeed());
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Sok"));
        QVERIFY(w->SZURES.isActive());
        const QStringList titles = visibleTitles(w->dbg_lista);
        QCOMPARE(titles.size(), 14);
        QCOMPARE(titles.first(), QStringLiteral("02.08"));
        QCOMPARE(titles.last(), QStringLiteral("05.09"));
        QCOMPARE(w->SZURES.fieldByName(QStringLiteral("ossz")).asString(), QStringLiteral("15")); // every entry counts
        QVERIFY(w->l_tobbdatum->isVisible());
        QVERIFY(w->l_tobbdatum->text().contains(QStringLiteral("15 dátuma")));
        QVERIFY(w->l_tobbdatum->text().contains(QStringLiteral("nem látszanak")));
        const SheetSeen s = print(w.get());
        QCOMPARE(s.window, QStringLiteral("form_JelenletiListaNyomt2"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat14")), QStringLiteral("05 09"));
        QCOMPARE(s.rows.value(0, QStringLiteral("ossz")), QStringLiteral("15"));
        // A lesson with fewer dates afterwards hides the message again.
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        QVERIFY(!w->l_tobbdatum->isVisible());
    }

    void printsThePortraitSheet()
    {
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        const QString lessonText = w->vdc_orarend->currentText();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
        const SheetSeen s = print(w.get(), pdf);
        QVERIFY(ReadFileBytes(pdf).startsWith("%PDF")); // saved from the preview
        QCOMPARE(s.window, QStringLiteral("form_JelenletiListaNyomt1"));
        QCOMPARE(s.orientation, QPageLayout::Portrait);
        QCOMPARE(s.pages, 1);
        QCOMPARE(s.header.value(QStringLiteral("qrl_fejlec")), QStringLiteral("Dorvan Egyetem"));
        QCOMPARE(s.header.value(QStringLiteral("QRLabel1")), QStringLiteral("Jelenléti lista"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_oktato")), QStringLiteral("Gazdasági Kar"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_orarend")), lessonText);
        QCOMPARE(s.header.value(QStringLiteral("qrl_felev")), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_idopont")), QStringLiteral("08:00 - 09:30"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_tanar")), QStringLiteral("Oktató Olga - Tanár Tamás - "));
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat1")), QStringLiteral("02 07"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat5")), QStringLiteral("03 06"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat6")), QString());
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat7")), QString());
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat8")), QStringLiteral("összesen"));
        // The printed signs of the attendance types and the total.
        QCOMPARE(s.rows.value(0, QStringLiteral("hallgato_nev")), QStringLiteral("Ács Anna"));
        QCOMPARE((QStringList{s.rows.value(0, "1"), s.rows.value(0, "2"), s.rows.value(0, "3"), s.rows.value(0, "4")}),
                 (QStringList{"+", "-", "P", ""}));
        QCOMPARE(s.rows.value(0, QStringLiteral("ossz")), QStringLiteral("2"));
        QCOMPARE(s.rows.count(), 3);
    }

    void printsTheLandscapeSheetFromEightDates()
    {
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Kémia"));
        QVERIFY(w->dbg_lista->column(8).visible);
        const SheetSeen s = print(w.get());
        QCOMPARE(s.window, QStringLiteral("form_JelenletiListaNyomt2"));
        QCOMPARE(s.orientation, QPageLayout::Landscape);
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat9")), QStringLiteral("04 02"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat10")), QString());
        QCOMPARE(s.header.value(QStringLiteral("QRLabel2")), QStringLiteral("összesen"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_idopont")), QStringLiteral("12:00 - 13:30"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_tanar")), QString()); // no teacher
    }

    void pageBreaks_data()
    {
        QTest::addColumn<int>("students");
        QTest::addColumn<int>("dates");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("pages");
        QTest::newRow("portrait 34") << 34 << 5 << "form_JelenletiListaNyomt1" << 1;
        QTest::newRow("portrait 35") << 35 << 5 << "form_JelenletiListaNyomt1" << 2;
        QTest::newRow("landscape 21") << 21 << 9 << "form_JelenletiListaNyomt2" << 1;
        QTest::newRow("landscape 22") << 22 << 9 << "form_JelenletiListaNyomt2" << 2;
    }
    void pageBreaks()
    {
        QFETCH(int, students);
        QFETCH(int, dates);
        QFETCH(QString, window);
        QFETCH(int, pages);
        seed(BigLessonSeed(students, dates));
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Nagy"));
        const SheetSeen s = print(w.get());
        QCOMPARE(s.window, window);
        QCOMPARE(s.rows.count(), students);
        QCOMPARE(s.pages, pages);
    }

    void sheetPrintsWhatTheMatrixWasBuiltFor()
    {
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        const QString lessonText = w->vdc_orarend->currentText();
        pick(w->vdc_felev, QStringLiteral("2023/24 ősz")); // the matrix stays, the combos show another semester
        QCOMPARE(w->vdc_orarend->currentIndex(), -1);
        const SheetSeen s = print(w.get());
        QCOMPARE(s.header.value(QStringLiteral("qrl_felev")), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(s.header.value(QStringLiteral("qrl_orarend")), lessonText);
        QCOMPARE(s.rows.count(), 3);
        QCOMPARE(s.header.value(QStringLiteral("qrl_dat1")), QStringLiteral("02 07"));
    }

    void nothingToPrintOrExportBeforeAMatrix()
    {
        QTemporaryDir dir;
        SetExportFolder(dir.path());
        QStringList opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QString &path) {
            opened << path;
            return true;
        });
        auto w = shown();
        ModalWatch watch;
        // The buttons wait for a matrix; their handlers refuse on their own too.
        QVERIFY(!w->sb_nyomtat->isEnabled());
        QVERIFY(!w->bb_excel->isEnabled());
        w->sb_nyomtatClick();
        w->bb_excelClick();
        QCOMPARE(msg->shown, (QStringList{"Nincs nyomtatható adat!", "Nincs nyomtatható adat!"}));
        QCOMPARE(opened, QStringList());
        QVERIFY(QDir(dir.path()).isEmpty());

        // With a matrix the workbook is written and opened.
        msg->shown.clear();
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        w->bb_excel->click();
        SetDocumentOpener(previous);
        SetExportFolder(QString());
        QCOMPARE(opened.size(), 1);
        QCOMPARE(msg->shown, QStringList{"Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!"});
        QCOMPARE(watch.opened, QStringList());
    }

    void excelHoldsWhatTheWindowShows()
    {
        QTemporaryDir dir;
        SetExportFolder(dir.path());
        QStringList opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QString &path) {
            opened << path;
            return true;
        });
        auto w = shown();
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        w->bb_excel->click();
        SetDocumentOpener(previous);
        SetExportFolder(QString());
        QCOMPARE(opened.size(), 1);
        int rows = 0;
        const QHash<QString, Cell> cells = ReadSheet(opened[0], &rows);
        const QAbstractItemModel *m = w->dbg_lista->model();
        QCOMPARE(rows, 1 + m->rowCount());
        int sheetCol = 0;
        for (int c = 0; c < w->dbg_lista->columnCount(); ++c) {
            if (!w->dbg_lista->column(c).visible)
                continue;
            const QString letter(QChar(u'A' + sheetCol++));
            const Cell head = cells.value(letter + u'1');
            const QString title = w->dbg_lista->column(c).title;
            if (c == 0) {
                QCOMPARE(head.value, title);
            } else { // a date cell of the lesson's year, shown with the year, that the grid titles "MM.dd"
                QCOMPARE(head.type, QString());
                const QDate d = QDate(1899, 12, 30).addDays(head.value.toInt());
                QCOMPARE(d.year(), 2024);
                QCOMPARE(d.toString(QStringLiteral("MM.dd")), title);
                QVERIFY2(head.format.contains(QLatin1String("yyyy")), qPrintable(head.format));
            }
            for (int r = 0; r < m->rowCount(); ++r) {
                const QString ref = letter + QString::number(r + 2);
                const QString shownText = m->data(m->index(r, c)).toString();
                QCOMPARE(cells.contains(ref), !shownText.isEmpty());
                QCOMPARE(cells.value(ref).value, shownText);
            }
        }
        QCOMPARE(sheetCol, 6);
        // The stored letters became the signs: Ács Anna's first entry is a check mark, her third a checked box.
        QCOMPARE(cells.value(QStringLiteral("B2")).value, QString(QChar(0x2713)));
        QCOMPARE(cells.value(QStringLiteral("D2")).value, QString(QChar(0x2611)));
    }

    void doubleClickOpensTheEntriesForRolesOneAndTwo_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("opens");
        QTest::newRow("role 1") << 1 << true;
        QTest::newRow("role 2") << 2 << true;
        QTest::newRow("role 3") << 3 << false;
        QTest::newRow("role 4") << 4 << false;
    }
    void doubleClickOpensTheEntriesForRolesOneAndTwo()
    {
        QFETCH(int, role);
        QFETCH(bool, opens);
        LoginInfo.RoleId = role;
        auto w = shown();
        QCOMPARE(w->bb_lista->isVisible(), role == 1);
        pick(w->vdc_orarend, QStringLiteral("Anatómia"));
        w->dbg_lista->setCurrentIndex(w->dbg_lista->model()->index(1, 0));
        QString opened;
        int positioned = -1;
        if (opens)
            WhenModalShown([&](QWidget *m) {
                opened = m->objectName();
                positioned = OpenPositioned;
                m->close();
            });
        std::optional<ModalWatch> watch; // a window that should not open is closed and named
        if (!opens)
            watch.emplace();
        Q_EMIT w->dbg_lista->doubleClicked(w->dbg_lista->model()->index(1, 0));
        if (opens) {
            QCOMPARE(opened, QStringLiteral("form_JelenletElem"));
            QCOMPARE(positioned, 1);
            QCOMPARE(OpenPositioned, 0);
            QCOMPARE(w->SZURES.fieldByName(QStringLiteral("hallgato_id")).asString(), QStringLiteral("2")); // relocated
        } else {
            QTest::qWait(50);
            QCOMPARE(watch->opened, QStringList());
        }
    }

    void journalButtonOpensTheJournal()
    {
        LoginInfo.RoleId = 1;
        auto w = shown();
        QVERIFY(w->bb_lista->isVisible());
        QString opened;
        WhenModalShown([&](QWidget *m) {
            opened = m->objectName();
            m->close();
        });
        w->bb_lista->click();
        QCOMPARE(opened, QStringLiteral("form_JelenletTor"));
    }

    void mainWindowOpensTheListsAndCardsForItsRoles_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("cards");
        QTest::newRow("role 1") << 1 << true;
        QTest::newRow("role 2") << 2 << true;
        QTest::newRow("role 3") << 3 << false;
        QTest::newRow("role 4") << 4 << true;
    }
    void mainWindowOpensTheListsAndCardsForItsRoles()
    {
        QFETCH(int, role);
        QFETCH(bool, cards);
        LoginInfo.RoleId = role;
        Tform_Fokep main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto *lists = main.findChild<QToolButton *>(QStringLiteral("sb_orarend"));
        auto *card = main.findChild<QToolButton *>(QStringLiteral("sb_kartya"));
        QVERIFY(lists->isEnabled());
        QCOMPARE(card->isEnabled(), cards);
        QStringList opened;
        for (QToolButton *b : {lists, card}) {
            if (!b->isEnabled())
                continue;
            WhenModalShown([&opened](QWidget *m) {
                opened << m->objectName() + u':' + m->windowTitle();
                m->close();
            });
            b->click();
        }
        QStringList expected{QStringLiteral("form_JelenletLista:Jelenlét lista")};
        if (cards)
            expected << QStringLiteral("form_Kartyak:Kártya adatok");
        QCOMPARE(opened, expected);
    }

    void withoutFacultyNothingIsListed()
    {
        LoginInfo.FacultyId.clear();
        auto w = shown();
        QCOMPARE(msg->shown, QStringList{QStringLiteral("Nincs kiválasztva tenszék!")});
        QCOMPARE(w->vdc_orarend->count(), 0);
        // The statements themselves splice the missing ids as null.
        const QString sql = MatrixListStatement(QString(), QStringLiteral(" "), QString());
        QVERIFY(sql.contains(QStringLiteral("c.kar_id=null")));
        QVERIFY(!sql.contains(QStringLiteral("c.orarend_id=")));
        Dataset q(&fx->conn());
        q.setSql(sql);
        q.open();
        QCOMPARE(q.recordCount(), 0);
        q.setSql(LessonComboStatement(QString(), QString()));
        q.open();
        QCOMPARE(q.recordCount(), 0);
    }
};

QTEST_MAIN(TestReportWindows)
#include "test_report_windows.moc"
