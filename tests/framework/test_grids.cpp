// Grid services: the ORDER BY rewrite, title clicks, column layouts in the settings, the column
// chooser, the grid's row sync and the symbol mapping.

#include "ContextMenu.h"
#include "DBGrid.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "UserSettings.h"
#include "form_GridMezok_Unit.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A window with one grid over the semesters.
struct GridWindow {
    explicit GridWindow(Connection &conn, const QString &sql = QStringLiteral("Select * From felev"))
        : query(&conn, QStringLiteral("SZURES"))
    {
        window.setObjectName(QStringLiteral("form_Felev"));
        auto *l = new QVBoxLayout(&window);
        grid = new DBGrid(&window);
        grid->setObjectName(QStringLiteral("dbg_lista"));
        l->addWidget(grid);
        grid->setDataset(&query);
        grid->addColumn(QStringLiteral("felev_id"), QStringLiteral("id"), false, 40);
        grid->addColumn(QStringLiteral("felev_nev"), QStringLiteral("név"), true, 150);
        grid->addColumn(QStringLiteral("felev_neptun"), QStringLiteral("Neptun"), true, 90);
        grid->addColumn(QStringLiteral("felev_datumtol"), QStringLiteral("mettől"), true, 90);
        query.setSql(sql);
    }
    QStringList titles() const
    {
        QStringList t;
        for (const GridColumn &c : grid->columns())
            t << c.title;
        return t;
    }
    QStringList fields() const
    {
        QStringList t;
        for (const GridColumn &c : grid->columns())
            t << c.fieldName;
        return t;
    }
    QDialog window;
    Dataset query;
    DBGrid *grid;
};

} // namespace

class TestGrids : public WindowTestBase {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        startFixture(QString::fromLatin1(MiniSchema));
        fx->conn().execute(QStringLiteral("t"),
                           QStringLiteral("insert into felev (felev_nev, felev_neptun, felev_datumtol) values "
                                          "('B félév', 'N2', '20230901'), ('A félév', 'N3', '20240201'), "
                                          "('C félév', 'N1', '20220901')"));
    }
    void cleanup() { stopFixture(); }

    void orderByRewrite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no clause: a new line") << "Select * From felev" << "Select * From felev\n  order by felev_nev desc";
        QTest::newRow("clause on the same line")
            << "Select a.* From felev a Order By a.felev_datumtol"
            << "Select a.* From felev a  order by felev_nev desc";
        QTest::newRow("clause on its own line")
            << "Select *\nFrom felev\nOrder By felev_id" << "Select *\nFrom felev\n  order by felev_nev desc";
        QTest::newRow("CR LF lines") << "Select *\r\nFrom felev\r\n" << "Select *\nFrom felev\n  order by felev_nev desc";
        // Each rewrite keeps one of the two blanks in front of the clause it replaces.
        QTest::newRow("earlier rewrite replaced")
            << "Select * From felev\n  order by felev_neptun asc" << "Select * From felev\n   order by felev_nev desc";
        QTest::newRow("order by inside a sub-select at the end: cut there")
            << "Select * From felev Where felev_id in (Select felev_id From felev order by felev_nev)"
            << "Select * From felev Where felev_id in (Select felev_id From felev  order by felev_nev desc";
    }
    void orderByRewrite()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(RewriteOrderBy(sql, QStringLiteral("felev_nev"), QStringLiteral(" desc")), expected);
    }

    void threeTitleClicks()
    {
        GridWindow w(fx->conn());
        w.query.open();
        w.window.show();
        auto firstName = [&] { return w.query.fieldByName(QStringLiteral("felev_nev")).asString(); };
        sent.clear();

        // The first click through the header itself.
        WireGridServices(w.grid);
        QHeaderView *header = w.grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(w.query.sql(), QStringLiteral("Select * From felev\n  order by felev_nev desc"));
        QCOMPARE(sent.last(), w.query.sql());
        QCOMPARE(w.titles(), QStringList({"id", "név <", "Neptun", "mettől"}));
        QCOMPARE(w.grid->column(1).titleColor, colors::Yellow);
        QCOMPARE(firstName(), QStringLiteral("C félév"));
        QCOMPARE(w.query.recNo(), 1);
        SortByColumn(w.grid, 1);
        QCOMPARE(w.titles().value(1), QStringLiteral("név >"));
        QCOMPARE(w.query.sql(), QStringLiteral("Select * From felev\n   order by felev_nev asc"));
        QCOMPARE(firstName(), QStringLiteral("A félév"));
        SortByColumn(w.grid, 1);
        QCOMPARE(w.titles().value(1), QStringLiteral("név <"));
        QCOMPARE(firstName(), QStringLiteral("C félév"));

        // Another column takes the marker and the colour.
        SortByColumn(w.grid, 2);
        QCOMPARE(w.titles(), QStringList({"id", "név", "Neptun <", "mettől"}));
        QCOMPARE(w.grid->column(1).titleColor, colors::MoneyGreen);
        QCOMPARE(w.grid->column(2).titleColor, colors::Yellow);
        QCOMPARE(w.query.sql(), QStringLiteral("Select * From felev\n     order by felev_neptun desc"));
        QCOMPARE(firstName(), QStringLiteral("A félév")); // N3
        // The grid shows the rows in the new order.
        QCOMPARE(w.grid->model()->index(0, 1).data().toString(), QStringLiteral("A félév"));
    }

    void sortDoesNothingWithoutRows()
    {
        GridWindow w(fx->conn());
        SortByColumn(w.grid, 1); // closed
        QCOMPARE(w.query.sql(), QStringLiteral("Select * From felev"));
        QCOMPARE(w.titles().value(1), QStringLiteral("név"));
        w.query.setSql(QStringLiteral("Select * From felev Where felev_id < 0"));
        w.query.open();
        SortByColumn(w.grid, 1); // empty
        QCOMPARE(w.query.sql(), QStringLiteral("Select * From felev Where felev_id < 0"));
        QCOMPARE(w.grid->column(1).titleColor, colors::MoneyGreen);
    }

    void unsortableStatementLeavesGridClosed()
    {
        GridWindow w(fx->conn());
        w.grid->addColumn(QStringLiteral("nincs_ilyen"), QStringLiteral("x"));
        w.query.open();
        SortByColumn(w.grid, 4); // the reopen fails: no message, the grid empty
        QVERIFY(!w.query.isActive());
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QVERIFY(w.query.sql().endsWith(QLatin1String("order by nincs_ilyen desc")));
    }

    void layoutSaveAndLoad()
    {
        {
            GridWindow w(fx->conn());
            w.grid->setColumnVisible(2, false);
            w.grid->setColumnWidthPx(1, 222);
            w.grid->moveColumn(3, 0); // mettől, id, név, Neptun
            SaveGridLayout(w.grid);
        }
        auto s = UserSettings();
        s->beginGroup(QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/felev_nev"));
        QCOMPARE(s->value(QStringLiteral("Visible")).toInt(), 1);
        QCOMPARE(s->value(QStringLiteral("Index")).toInt(), 2);
        QCOMPARE(s->value(QStringLiteral("Width")).toInt(), 222);
        s->endGroup();
        s->beginGroup(QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/felev_neptun"));
        QCOMPARE(s->value(QStringLiteral("Visible")).toInt(), 0);
        s->endGroup();

        // A later version of the window has a column the layout does not know: it comes first.
        GridWindow w(fx->conn());
        w.grid->addColumn(QStringLiteral("felev_datumig"), QStringLiteral("meddig"));
        LoadGridLayout(w.grid);
        QCOMPARE(w.fields(), QStringList({"felev_datumig", "felev_datumtol", "felev_id", "felev_nev", "felev_neptun"}));
        QVERIFY(!w.grid->column(4).visible);
        QVERIFY(!w.grid->column(2).visible); // id stays hidden as saved
        QCOMPARE(w.grid->column(3).width, 222);
        w.window.show();
        QVERIFY(w.grid->isColumnHidden(4));
        QCOMPARE(w.grid->columnWidth(3), 222);
    }

    void layoutIgnoresBadValues()
    {
        {
            GridWindow w(fx->conn());
            SaveGridLayout(w.grid);
        }
        auto s = UserSettings();
        const QString g = QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/");
        s->setValue(g + QStringLiteral("felev_id/Index"), 60);           // outside the slot table
        s->setValue(g + QStringLiteral("felev_nev/Width"), QStringLiteral("széles"));
        s->setValue(g + QStringLiteral("felev_neptun/Visible"), QStringLiteral("?")); // the rest skipped
        s->setValue(g + QStringLiteral("felev_neptun/Width"), 333);
        s->setValue(g + QStringLiteral("felev_datumtol/Width"), -5);
        s->sync();
        GridWindow w(fx->conn());
        LoadGridLayout(w.grid);
        // Slot 0 is empty now, so no column moves; the usable values apply.
        QCOMPARE(w.fields(), QStringList({"felev_id", "felev_nev", "felev_neptun", "felev_datumtol"}));
        QCOMPARE(w.grid->column(1).width, 150);
        QCOMPARE(w.grid->column(2).width, 90);
        QCOMPARE(w.grid->column(3).width, 90);
        QVERIFY(!w.grid->column(0).visible);
    }

    void chooserMoves()
    {
        GridWindow w(fx->conn());
        w.query.open();
        w.window.show();
        QStringList lines;
        QString tickedAtStart;
        QStringList steps;
        WhenModalShown([&](QWidget *m) {
            auto *list = m->findChild<TCheckListBox *>(QStringLiteral("clb_Mezolista"));
            auto click = [&](const char *name) { m->findChild<QToolButton *>(QLatin1String(name))->click(); };
            auto state = [&]() -> QString {
                QString s;
                for (int i = 0; i < list->count(); ++i)
                    s += list->item(i)->text() + (list->isChecked(i) ? QStringLiteral("+ ") : QStringLiteral("- "));
                return s + QString::number(list->currentRow()) + u' ' + w.fields().join(u',');
            };
            steps << m->windowTitle() << state();
            list->setCurrentRow(2);
            click("sb_Fel");
            steps << state();
            click("sb_Le");
            click("sb_Le");
            steps << state();
            click("sb_Le"); // already last
            click("sb_elore");
            steps << state();
            click("sb_hatra");
            steps << state();
            list->setChecked(3, false); // the tick hides the column
            steps << QString::number(w.grid->isColumnHidden(3));
            click("sb_mindki");
            steps << QString::number(w.grid->isColumnHidden(0) && w.grid->isColumnHidden(1) && w.grid->isColumnHidden(2));
            click("sb_mindbe");
            list->setCurrentRow(0);
            list->setChecked(0, false);
            QTest::keyClick(list, Qt::Key_Escape); // closes, keeping every change
        });
        ChooseGridColumns(w.grid);
        QCOMPARE(steps.value(0), QStringLiteral("Táblázat mezőinek beállítása"));
        QCOMPARE(steps.value(1), QStringLiteral("id- név+ Neptun+ mettől+ 0 felev_id,felev_nev,felev_neptun,felev_datumtol"));
        QCOMPARE(steps.value(2), QStringLiteral("id- Neptun+ név+ mettől+ 1 felev_id,felev_neptun,felev_nev,felev_datumtol"));
        QCOMPARE(steps.value(3), QStringLiteral("id- név+ mettől+ Neptun+ 3 felev_id,felev_nev,felev_datumtol,felev_neptun"));
        QCOMPARE(steps.value(4), QStringLiteral("Neptun+ id- név+ mettől+ 0 felev_neptun,felev_id,felev_nev,felev_datumtol"));
        QCOMPARE(steps.value(5), QStringLiteral("id- név+ mettől+ Neptun+ 3 felev_id,felev_nev,felev_datumtol,felev_neptun"));
        QCOMPARE(steps.value(6), QStringLiteral("1"));
        QCOMPARE(steps.value(7), QStringLiteral("1"));
        QVERIFY(!w.grid->column(0).visible);
        QVERIFY(w.grid->column(3).visible);
        // Saved at once.
        auto s = UserSettings();
        QCOMPARE(s->value(QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/felev_neptun/Index")).toInt(), 3);
        QCOMPARE(s->value(QStringLiteral("Software/Pellar/Ablakok/form_Felev/dbg_lista/felev_id/Visible")).toInt(), 0);
    }

    void f12OpensChooser()
    {
        GridWindow w(fx->conn());
        WireGridServices(w.grid);
        w.window.show();
        QString opened;
        WhenModalShown([&](QWidget *m) {
            opened = m->objectName();
            m->findChild<QPushButton *>(QStringLiteral("bb_Kilep"))->click();
        });
        QTest::keyClick(w.grid, Qt::Key_F12);
        QCOMPARE(opened, QStringLiteral("form_GridMezok"));
    }

    void gridFollowsDataset()
    {
        GridWindow w(fx->conn());
        w.query.open();
        w.window.show();
        // The hidden id column is never shown, the current row is the dataset's.
        QCOMPARE(w.grid->model()->rowCount(), 3);
        QVERIFY(w.grid->isColumnHidden(0));
        w.query.setRecNo(3);
        QCOMPARE(w.grid->currentIndex().row(), 2);
        w.grid->setCurrentIndex(w.grid->model()->index(1, 2));
        QCOMPARE(w.query.recNo(), 2);
        // Reopening keeps the layout.
        w.grid->setColumnWidthPx(1, 201);
        w.query.close();
        w.query.open();
        QVERIFY(w.grid->isColumnHidden(0));
        QCOMPARE(w.grid->columnWidth(1), 201);
    }

    // Rows named by their felev_nev, in the grid's order.
    static QStringList selectedNames(GridWindow &w)
    {
        QStringList names;
        const int f = w.query.fieldIndex(QStringLiteral("felev_nev"));
        for (int r : w.grid->selectedRows())
            names << w.query.text(r, f);
        return names;
    }

    void multiSelectionSurvivesWalksAndReopens()
    {
        GridWindow w(fx->conn(), QStringLiteral("Select * From felev Order By felev_nev"));
        w.grid->setMultiSelect(true);
        w.query.open();
        w.window.show();
        // Ctrl-clicks as the user makes them: A and C.
        auto clickRow = [&](int row, Qt::KeyboardModifiers mods) {
            const QRect r = w.grid->visualRect(w.grid->model()->index(row, 1));
            QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, mods, r.center());
        };
        clickRow(0, Qt::NoModifier);
        clickRow(2, Qt::ControlModifier);
        QCOMPARE(selectedNames(w), (QStringList{QStringLiteral("A félév"), QStringLiteral("C félév")}));
        // A walk over the rows moves the current row only.
        for (w.query.first(); !w.query.eof(); w.query.next()) {
        }
        w.query.setRecNo(2);
        QCOMPARE(selectedNames(w), (QStringList{QStringLiteral("A félév"), QStringLiteral("C félév")}));
        QVERIFY(!w.grid->selectionModel()->isRowSelected(1, {}));
        QVERIFY(w.grid->selectionModel()->isRowSelected(2, {}));
        // A reopen whose order changed keeps the same records, a deleted record drops out, and a
        // new record in a selected row's old place is not selected.
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("delete from felev where felev_nev='C félév'"));
        fx->conn().execute(QStringLiteral("t"), QStringLiteral("insert into felev (felev_nev) values ('0 félév')"));
        w.query.close();
        w.query.open();
        QCOMPARE(selectedNames(w), QStringList{QStringLiteral("A félév")});
        QCOMPARE(w.grid->selectedRows(), QList<int>{1});
        // Programmatic selection; a plain click selects only the clicked row.
        w.grid->selectAllRows();
        QCOMPARE(w.grid->selectedRows(), (QList<int>{0, 1, 2}));
        w.grid->selectRow(1, false);
        QCOMPARE(w.grid->selectedRows(), (QList<int>{0, 2}));
        QVERIFY(w.grid->isRowSelected(2) && !w.grid->isRowSelected(1));
        clickRow(1, Qt::NoModifier);
        QCOMPARE(w.grid->selectedRows(), QList<int>{1});
        w.grid->clearRowSelection();
        QVERIFY(w.grid->selectedRows().isEmpty());
        QVERIFY(w.grid->selectionModel()->selectedRows().isEmpty());
    }

    void singleSelectionIgnoresRowSelection()
    {
        GridWindow w(fx->conn());
        w.query.open();
        w.grid->selectRow(1);
        w.grid->selectAllRows();
        QVERIFY(w.grid->selectedRows().isEmpty());
    }

    void rowColorHook()
    {
        GridWindow w(fx->conn(), QStringLiteral("Select * From felev Order By felev_nev"));
        w.query.open();
        QVERIFY(!w.grid->model()->index(0, 1).data(Qt::BackgroundRole).isValid());
        w.grid->setRowColorHook([](const Dataset &ds, int row) {
            return ds.text(row, ds.fieldIndex(QStringLiteral("felev_neptun"))) == QLatin1String("N1") ? QColor(Qt::red)
                                                                                                      : QColor();
        });
        // C félév (N1) is the third row; the others keep the default.
        QCOMPARE(w.grid->model()->index(2, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(!w.grid->model()->index(0, 1).data(Qt::BackgroundRole).isValid());
    }

    void contextMenu()
    {
        QDialog window;
        auto *memo = new QPlainTextEdit(&window);
        QMenu *menu = AddContextMenu(memo, QStringLiteral("pm_atvetel"),
                                     {{QStringLiteral("mi_mentes"), QStringLiteral("Mentés")},
                                      {QStringLiteral("mi_torles"), QStringLiteral("Törlés")}});
        QCOMPARE(window.findChild<QMenu *>(QStringLiteral("pm_atvetel")), menu);
        auto *save = window.findChild<QAction *>(QStringLiteral("mi_mentes"));
        QVERIFY(save);
        QCOMPARE(save->text(), QStringLiteral("Mentés"));
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(memo->contextMenuPolicy(), Qt::CustomContextMenu);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Q_EMIT memo->customContextMenuRequested(QPoint(5, 5));
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }

    void wingdingsSymbols_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("tick ü") << QStringLiteral("ü") << QStringLiteral("✓");
        QTest::newRow("cross ű (1250)") << QStringLiteral("ű") << QStringLiteral("✗");
        QTest::newRow("cross û") << QStringLiteral("û") << QStringLiteral("✗");
        QTest::newRow("box with check þ") << QStringLiteral("þ") << QStringLiteral("☑");
        QTest::newRow("filled circle l") << QStringLiteral("l") << QStringLiteral("●");
        QTest::newRow("unknown kept") << QStringLiteral("Z9") << QStringLiteral("Z9");
    }
    void wingdingsSymbols()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(WingdingsSymbol(stored), shown);
    }
};

QTEST_MAIN(TestGrids)
#include "test_grids.moc"
