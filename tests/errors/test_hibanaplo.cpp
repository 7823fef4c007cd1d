// The error log browser driven by its controls: the filters, the state menu with its audit row, the
// row colours, the two exit buttons.

#include "DBGrid.h"
#include "WindowTestBase.h"
#include "FrameworkTestKit.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "form_Hibanaplo_Unit.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Users: ADMIN and O'Brien active, REGI inactive. Reports (hn_id: date, state): 1 05-05 10:00 none,
// 2 05-06 00:00:00 state 0 (by REGI), 3 05-06 00:00:01 fixed, 4 04-20 deleted, 5 05-01 state 3,
// 6 without a date, 7 05-03 state 4.
const char *Seed = R"(
INSERT INTO felhasznalo (felh_id, felh_nev, felh_aktiv) VALUES (1, 'ADMIN', 1), (2, 'REGI', 0), (3, 'O''Brien', 1);
INSERT INTO hibanaplo (hn_id, felh_id, hn_datum, hn_leiras, hn_allapot) VALUES
 (1, 1, '2024-05-05 10:00:00', 'Ablak: form_Orarend', NULL),
 (2, 2, '2024-05-06 00:00:00', 'Ablak: form_Jelenlet', 0),
 (3, 3, '2024-05-06 00:00:01', 'Ablak: form_Hallgatok', 1),
 (4, 1, '2024-04-20 08:00:00', 'Ablak: form_Tanora', 2),
 (5, 1, '2024-05-01 12:00:00', 'Ablak: form_Kartyak', 3),
 (6, 3, NULL, 'dátum nélkül', NULL),
 (7, 1, '2024-05-03 12:00:00', 'Ablak: form_Felev', 4);
)";

} // namespace

class TestHibanaplo : public WindowTestBase {
    Q_OBJECT
    std::unique_ptr<Tform_Hibanaplo> shown()
    {
        auto w = std::make_unique<Tform_Hibanaplo>();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    static QStringList ids(Tform_Hibanaplo *w)
    {
        QStringList out;
        for (int r = 0; r < w->SZURES.recordCount(); ++r)
            out << w->SZURES.text(r, w->SZURES.fieldIndex(QStringLiteral("hn_id")));
        return out;
    }
    static void selectRow(DBGrid *grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }
    static QAction *item(Tform_Hibanaplo *w, const char *name) { return w->pm_hibanaplo->findChild<QAction *>(QLatin1String(name)); }

private Q_SLOTS:
    void init()
    {
        startFixture(Seed);
        LoginInfo.UserId = QStringLiteral("1");
        LoginInfo.RoleId = 1;
    }
    void cleanup()
    {
        stopFixture();
    }

    void opensWithoutSearching()
    {
        auto w = shown();
        QVERIFY(!w->SZURES.isActive());
        QCOMPARE(w->rg_milyen->itemIndex(), 0);
        QVERIFY(!w->dtp_HibaTol->isChecked() && !w->dtp_HibaIg->isChecked());
        QCOMPARE(w->dtp_HibaTol->date(), QDate::currentDate().addDays(-14));
        QCOMPARE(w->dtp_HibaIg->date(), QDate::currentDate());
        // Only active users can be chosen.
        QCOMPARE(w->vcb_felh->ids(), QStringList({"1", "3"}));
        QVERIFY(!w->bb_Ok->isVisible());
    }

    void filters_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("ids");
        const QDate none;
        QTest::newRow("in progress: no state or 0, inactive user's too") << 0 << "" << none << none << QStringList({"2", "1"});
        QTest::newRow("fixed") << 1 << "" << none << none << QStringList{"3"};
        QTest::newRow("deleted") << 2 << "" << none << none << QStringList{"4"};
        QTest::newRow("all, newest first") << 3 << "" << none << none << QStringList({"3", "2", "1", "7", "5", "4"});
        QTest::newRow("to 5 May: midnight after it included") << 3 << "" << none << QDate(2024, 5, 5)
                                                              << QStringList({"2", "1", "7", "5", "4"});
        QTest::newRow("from 3 May") << 3 << "" << QDate(2024, 5, 3) << none << QStringList({"3", "2", "1", "7"});
        QTest::newRow("one user") << 3 << "3" << none << none << QStringList{"3"};
    }
    void filters()
    {
        QFETCH(int, state);
        QFETCH(QString, user);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, ids);
        auto w = shown();
        if (!user.isEmpty())
            w->vcb_felh->Ertek(user);
        if (from.isValid()) {
            w->dtp_HibaTol->setChecked(true);
            w->dtp_HibaTol->setDate(from);
        }
        if (to.isValid()) {
            w->dtp_HibaIg->setChecked(true);
            w->dtp_HibaIg->setDate(to);
        }
        w->rg_milyen->setItemIndex(state);
        QTest::mouseClick(w->bb_indit, Qt::LeftButton);
        QCOMPARE(this->ids(w.get()), ids);
        QVERIFY(msg->shown.isEmpty());
    }

    void stateClickSearchesAtOnce()
    {
        auto w = shown();
        const QList<QRadioButton *> items = w->rg_milyen->findChildren<QRadioButton *>();
        QCOMPARE(items.size(), 4);
        QTest::mouseClick(items[3], Qt::LeftButton);
        QCOMPARE(ids(w.get()).size(), 6);
        // Nothing matches: the message.
        w->vcb_felh->Ertek(QStringLiteral("3"));
        QTest::mouseClick(items[2], Qt::LeftButton);
        QCOMPARE(ids(w.get()), QStringList());
        QCOMPARE(msg->shown, QStringList{"Nincs a feltételeknek megfelelő hiba!"});
    }

    void stateMenuSetsTheStateWithAnAuditRow()
    {
        auto w = shown();
        QTest::mouseClick(w->bb_indit, Qt::LeftButton);
        QCOMPARE(ids(w.get()), QStringList({"2", "1"}));
        selectRow(w->dbg_Eredmeny, 0);
        QCOMPARE(w->currentId(), QStringLiteral("2"));
        QCOMPARE(w->m_hiba->toPlainText(), QStringLiteral("Ablak: form_Jelenlet"));
        QCOMPARE(item(w.get(), "Javitva1")->text(), QStringLiteral("Javítva"));
        item(w.get(), "Javitva1")->trigger();
        QCOMPARE(fx->rows(QStringLiteral("select hn_allapot from hibanaplo where hn_id=2")), QStringList{"1"});
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, felh_id, erintett_tabla, erintett_rekord, uj_ertek from esemenynaplo")),
                 QStringList{"2|1|hibanaplo|2|hn_allapot = 1"});
        // The fixed report left the in-progress list; its neighbour is current.
        QCOMPARE(ids(w.get()), QStringList{"1"});
        QCOMPARE(w->currentId(), QStringLiteral("1"));
        QCOMPARE(w->m_hiba->toPlainText(), QStringLiteral("Ablak: form_Orarend"));

        // Under "Mind" the changed row stays and stays current; deleted reports are kept.
        w->rg_milyen->setItemIndex(3);
        QTest::mouseClick(w->bb_indit, Qt::LeftButton);
        selectRow(w->dbg_Eredmeny, 3); // report 7
        item(w.get(), "Torolt1")->trigger();
        QCOMPARE(w->currentId(), QStringLiteral("7"));
        QCOMPARE(fx->rows(QStringLiteral("select hn_allapot from hibanaplo where hn_id=7")), QStringList{"2"});
        item(w.get(), "Folyamatban1")->trigger();
        QCOMPARE(fx->rows(QStringLiteral("select hn_allapot from hibanaplo where hn_id=7")), QStringList{"0"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from hibanaplo")), QStringList{"7"});
    }

    void stateMenuWithoutCurrentRowDoesNothing()
    {
        auto w = shown();
        item(w.get(), "Javitva1")->trigger(); // before any search
        w->rg_milyen->setItemIndex(2);
        w->vcb_felh->Ertek(QStringLiteral("3"));
        QTest::mouseClick(w->bb_indit, Qt::LeftButton); // an empty result
        QCOMPARE(ids(w.get()), QStringList());
        sent.clear();
        item(w.get(), "Torolt1")->trigger();
        QCOMPARE(sent, QStringList());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"0"});
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from hibanaplo")), QStringList{"7"});
    }

    void rowColoursFollowTheState()
    {
        auto w = shown();
        w->rg_milyen->setItemIndex(3);
        QTest::mouseClick(w->bb_indit, Qt::LeftButton);
        QCOMPARE(ids(w.get()), QStringList({"3", "2", "1", "7", "5", "4"}));
        const QList<QColor> expected{QColor(255, 255, 0), colors::InfoBk,       colors::InfoBk,
                                     QColor(213, 211, 208), QColor(192, 255, 255), QColor(0, 255, 0)};
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < 2; ++c)
                QCOMPARE(w->dbg_Eredmeny->model()->index(r, c).data(Qt::BackgroundRole).value<QBrush>().color(), expected[r]);
        QCOMPARE(w->dbg_Eredmeny->palette().color(QPalette::Highlight), colors::Navy);
        QCOMPARE(w->dbg_Eredmeny->palette().color(QPalette::HighlightedText), QColor(Qt::white));
    }

    void onlyTheCancelButtonAnswersEscape()
    {
        {
            auto w = shown();
            QTest::keyClick(w.get(), Qt::Key_Escape);
            QVERIFY(!w->isVisible());
            QCOMPARE(w->result(), int(QDialog::Rejected));
            QVERIFY(UserSettings()->allKeys().filter(QStringLiteral("dbg_Eredmeny")).isEmpty()); // layout not saved
        }
        {
            auto w = shown();
            QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
            QVERIFY(!w->isVisible());
            QVERIFY(UserSettings()->allKeys().filter(QStringLiteral("dbg_Eredmeny")).isEmpty());
        }
        auto w = shown();
        QTest::mouseClick(w->bb_kilepes, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QVERIFY(!UserSettings()->allKeys().filter(QStringLiteral("dbg_Eredmeny")).isEmpty());
    }
};

QTEST_MAIN(TestHibanaplo)
#include "test_hibanaplo.moc"
