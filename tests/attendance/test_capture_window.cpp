// The capture window driven the way a reader and a user drive it.

#include "WindowTestBase.h"
#include "AttendanceSeed.h"
#include "AttendanceWindows.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FrameworkTestKit.h"
#include "IniFile.h"
#include "Keyboard.h"
#include "MakeUpRules.h"
#include "ScriptedMessages.h"
#include "TextCodec.h"
#include "VDCComboBox.h"
#include "form_Jelenlet_Unit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTextBlock>
#include <QToolButton>

class TestCaptureWindow : public WindowTestBase {
    Q_OBJECT
    QStringList entries(const QString &where)
    {
        return fx->rows(QStringLiteral("select hallgato_id, jt_id, convert(varchar(10), jelenlet_datum, 112) from jelenlet "
                                       "where ")
                        + where + QStringLiteral(" order by hallgato_id, jelenlet_datum"));
    }
    std::unique_ptr<Tform_Jelenlet> opened()
    {
        auto w = std::make_unique<Tform_Jelenlet>();
        w->connectionWait = [](int) {};
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return w;
    }
    // What a user's pick in a combo box does (focus moves there first).
    static void choose(TVDCComboBox *combo, const QString &id)
    {
        QVERIFY2(combo->ids().contains(id), qPrintable(id));
        PickFromList(combo, int(combo->ids().indexOf(id)));
    }
    // The reader: every code followed by Enter.
    static void read(Tform_Jelenlet *w, const QStringList &codes)
    {
        w->m_jelenlet->setFocus();
        for (const QString &code : codes) {
            for (const QChar c : code) {
                if (c.unicode() < 128) {
                    QTest::keyClick(w->m_jelenlet, char(c.unicode()));
                    continue;
                }
                // Letters beyond ASCII as a Hungarian keyboard sends them.
                const auto key = Qt::Key(c.toUpper().unicode());
                QTest::sendKeyEvent(QTest::Press, w->m_jelenlet, key, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, w->m_jelenlet, key, QString(c), Qt::NoModifier);
            }
            QTest::keyClick(w->m_jelenlet, Qt::Key_Return);
        }
    }
    // "Új", then the semester and the lesson.
    static void startCapture(Tform_Jelenlet *w, const QString &lesson)
    {
        w->bb_uj->click();
        choose(w->vdc_felev, QStringLiteral("1"));
        choose(w->vdc_orarend, lesson);
    }
    static QString backup()
    {
        return QString::fromUtf8(ReadFileBytes(Tform_Jelenlet::BackupFilePath()));
    }

private Q_SLOTS:
    void init()
    {
        startFixture(AttendanceSeed, QDateTime(QDate(2024, 3, 6), QTime(10, 0)));
        SetConfigFilePath(fx->dir.filePath(QStringLiteral("kovra.ini")));
        SetNumLockProbe([] { return std::optional<bool>(false); });
        QFile::remove(Tform_Jelenlet::BackupFilePath());
    }
    void cleanup()
    {
        SetNumLockProbe({});
        QFile::remove(Tform_Jelenlet::BackupFilePath());
        stopFixture();
    }

    void wholeCaptureFromReader()
    {
        auto w = opened();
        QCOMPARE(w->windowTitle(), QStringLiteral("Jelenlét"));
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->count(), 0);
        QVERIFY(w->bb_lista->isVisible());
        QVERIFY(!w->p_uzenet->isVisible());

        startCapture(w.get(), QStringLiteral("1"));
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.03.06."));
        // The lesson list offers the day's lessons and the weekly ones; earlier lesson dates make this week 4.
        QCOMPARE(w->vdc_orarend->ids(), QStringList({"1", "2"}));
        QCOMPARE(w->l_ido->text(), QStringLiteral("08:00 - 09:30"));
        QCOMPARE(w->l_datum->text(), QStringLiteral("2024. március 6 (szerda)"));
        QCOMPARE(w->l_hanyadik->text(), QStringLiteral("4. hét, páros"));
        QCOMPARE(CurrentTimetableId, QStringLiteral("1"));
        // The matrix: one column per lesson date, titled with month and day.
        QCOMPARE(w->l_letszam->text(), QStringLiteral("5"));
        QCOMPARE(w->l_letszam->text(), QString::number(w->dbg_lista->model()->rowCount()));
        QVERIFY(!w->dbg_lista->isColumnHidden(6));
        QVERIFY(w->dbg_lista->isColumnHidden(7));
        QCOMPARE(w->dbg_lista->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral(".02.07"));

        // Zero arrives as "ö" from a reader under a Hungarian layout; each Enter saves the backup.
        read(w.get(), {"AAA111", "1öö2"});
        QCOMPARE(w->m_jelenlet->toPlainText(), QStringLiteral("AAA111\n1002\n"));
        QCOMPARE(backup(), QStringLiteral("AAA111\r\n1öö2\r\n"));
        QCOMPARE(w->l_numlock->text(), QStringLiteral("Num Lock kikapcsolva!"));
        read(w.get(), {"ccc333", "NINCS01", "AAA111"});
        QCOMPARE(w->codeLines().size(), 5);

        w->bb_felvesz->click();
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join(u'\n')));
        QVERIFY(msg->shown.isEmpty());
        QCOMPARE(entries(QStringLiteral("orarend_id=1")),
                 QStringList({"1|1|20240306", "2|1|20240306", "3|1|20240306", "4|2|20240306", "5|2|20240306"}));
        // What matched nobody stays with its reason; the second copy of a code went to the make-up rules.
        QCOMPARE(w->codeLines(), QStringList{"NINCS01" + MakeUpRules::NotInSystem});
        const QStringList journal = fx->rows(QStringLiteral("select jel_szoveg from Jelentes order by jel_id"));
        QCOMPARE(journal.size(), 2);
        QVERIFY(journal[0].startsWith(QStringLiteral("Jelenlét rögzítés kezdete!\r\nAnatómia - \r\nAAA111\r\n1002\r\n")));
        QCOMPARE(journal[1], QStringLiteral("Jelenlét rögzítés vége!\r\nNINCS01") + MakeUpRules::NotInSystem);
        // A finished run removes the backup and returns to browsing; the matrix shows the signs.
        QVERIFY(!QFile::exists(Tform_Jelenlet::BackupFilePath()));
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(!w->p_uzenet->isVisible());
        QAbstractItemModel *m = w->dbg_lista->model();
        QCOMPARE(m->rowCount(), 5);
        QHash<QString, QString> firstSign;
        for (int r = 0; r < m->rowCount(); ++r)
            firstSign.insert(m->data(m->index(r, 0)).toString(), m->data(m->index(r, 1)).toString());
        QCOMPARE(firstSign.value(QStringLiteral("Ács Anna - AAA111")), QStringLiteral("✓"));
        QCOMPARE(firstSign.value(QStringLiteral("Dénes Dóra - DDD444")), QStringLiteral("✗"));

        // A double-click in the matrix adds the student's code by hand.
        QVERIFY(w->SZURES.locate(QStringLiteral("hallgato_id"), {5}));
        const QModelIndex cell = m->index(w->SZURES.recNo() - 1, 0);
        w->dbg_lista->setCurrentIndex(cell);
        const QPoint at = w->dbg_lista->visualRect(cell).center();
        QTest::mouseClick(w->dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w->dbg_lista->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(w->codeLines().last(), QStringLiteral("EEE555"));

        // Deleting the day after the question; the matrix is recomputed.
        w->bb_modosit->click();
        msg->answers.enqueue(true);
        w->bb_torol->click();
        QCOMPARE(msg->asked, QStringList{"Biztos törli az adott nap jelenlétét?"});
        QCOMPARE(entries(QStringLiteral("orarend_id=1")), QStringList());
        QCOMPARE(EditMode, EditState::Browse);
        QVERIFY(errors->texts.isEmpty());
    }

    void interruptedRunIsRecovered()
    {
        // The database gives out at the third student.
        rawSql("CREATE TRIGGER lost BEFORE INSERT ON jelenlet WHEN NEW.hallgato_id=3 "
                "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
        {
            auto w = opened();
            startCapture(w.get(), QStringLiteral("1"));
            read(w.get(), {"AAA111", "BBB222", "CCC333"});
            w->bb_felvesz->click();
            QVERIFY2(msg->shown.isEmpty(), qPrintable(msg->shown.join(u'\n')));
            QCOMPARE(errors->texts.size(), 1);
            QVERIFY(errors->texts[0].contains(QStringLiteral("disk I/O error")));
            // What was written stays; so does the backup.
            QCOMPARE(entries(QStringLiteral("orarend_id=1")), QStringList({"1|1|20240306", "2|1|20240306"}));
            QCOMPARE(backup(), QStringLiteral("AAA111\r\nBBB222\r\nCCC333\r\n"));
            msg->answers.enqueue(true); // leave despite the unsaved capture
            w->bb_kilepes->click();
            QVERIFY(!w->isVisible());
        }
        rawSql("DROP TRIGGER lost");
        errors->texts.clear();
        msg->shown.clear();
        msg->asked.clear();

        msg->answers.enqueue(true); // reload the codes
        auto w = opened();
        QCOMPARE(msg->shown.mid(0, 2),
                 QStringList({"Hiba történt a legútóbbi beolvasásnál!", "Szeretné visszatölteni a kódokat?"}));
        QCOMPARE(EditMode, EditState::New);
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "BBB222", "CCC333"}));
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.03.06."));
        choose(w->vdc_felev, QStringLiteral("1"));
        choose(w->vdc_orarend, QStringLiteral("1"));
        msg->shown.clear();
        msg->asked.clear();
        msg->answers.enqueue(true); // continue although the date has entries
        w->bb_felvesz->click();
        QCOMPARE(msg->asked, QStringList{"Létezik az órarend adott dátumához jelenlét! Biztos hogy folytatni szeretné?"});
        QCOMPARE(entries(QStringLiteral("orarend_id=1")),
                 QStringList({"1|1|20240306", "2|1|20240306", "3|1|20240306", "4|2|20240306", "5|2|20240306"}));
        QVERIFY(!QFile::exists(Tform_Jelenlet::BackupFilePath()));
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join(u'\n')));
    }

    void refusedRunKeepsBackup()
    {
        auto w = opened();
        w->bb_uj->click();
        read(w.get(), {"AAA111"});
        w->bb_felvesz->click();
        QCOMPARE(msg->shown, QStringList{"Nincs kiválasztva a félév!"});
        QVERIFY(!w->p_uzenet->isVisible());
        QCOMPARE(w->codeLines(), QStringList{"AAA111"});
        QCOMPARE(EditMode, EditState::New);
        QVERIFY(QFile::exists(Tform_Jelenlet::BackupFilePath()));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from Jelentes")), QStringList{"0"});
    }

    void dateCheckOnLeaving_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no date") << "2024.02.30." << QStringList{"Rossz dátum!"};
        QTest::newRow("outside semesters") << "2023.12.04." << QStringList{"A dátum nem tartozik félévhez!"};
        QTest::newRow("in the semester") << "2024.03.05." << QStringList{};
    }
    void dateCheckOnLeaving()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        auto w = opened();
        w->bb_uj->click();
        w->vdc_felev->Ertek(QStringLiteral("1"));
        msg->shown.clear();
        w->bi_datum->setFocus();
        w->bi_datum->setMaskedText(typed);
        w->m_jelenlet->setFocus();
        QCOMPARE(msg->shown, messages);
        // Leaving the date always drops both choices.
        QCOMPARE(w->vdc_felev->currentIndex(), -1);
        QCOMPARE(w->bi_datum->hasFocus(), typed == QStringLiteral("2024.02.30."));
        // A lesson list is offered only for a real date; 2024.03.05. is Tuesday: Kémia and the weekly Torna.
        choose(w->vdc_felev, QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->count(), messages.isEmpty() ? 2 : messages[0].startsWith(u'R') ? 0 : 1);
    }

    // The lesson combo by keys: each Down steps to the next lesson and keeps the focus (so the
    // second lesson is reached); Tab moves on. A date left unchanged keeps both choices.
    void lessonByKeysAndUnchangedDate()
    {
        auto w = opened();
        w->bb_uj->click();
        w->bi_datum->setFocus();
        w->bi_datum->setMaskedText(QStringLiteral("2024.03.05."));
        w->vdc_felev->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->vdc_felev, Qt::Key_Down);
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->count(), 2);
        w->vdc_orarend->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->vdc_orarend, Qt::Key_Down);
        QCOMPARE(w->vdc_orarend->currentIndex(), 0);
        QCOMPARE(CurrentTimetableId, w->vdc_orarend->ids().value(0));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->vdc_orarend));
        QTest::keyClick(w->vdc_orarend, Qt::Key_Down);
        QCOMPARE(w->vdc_orarend->currentIndex(), 1);
        QCOMPARE(CurrentTimetableId, w->vdc_orarend->ids().value(1));
        QVERIFY(!w->l_ido->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->vdc_orarend));
        // A pick from the list goes on to the code list.
        PickFromList(w->vdc_orarend, 0);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->m_jelenlet));
        // Into the date and out again without a change: semester and lesson stay.
        msg->shown.clear();
        w->bi_datum->setFocus(Qt::TabFocusReason);
        w->m_jelenlet->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->vdc_felev->Eredmeny(), QStringLiteral("1"));
        QCOMPARE(w->vdc_orarend->currentIndex(), 0);
        QCOMPARE(msg->shown, QStringList());
        // A changed date drops both.
        w->bi_datum->setFocus(Qt::TabFocusReason);
        w->bi_datum->setMaskedText(QStringLiteral("2024.03.06."));
        w->m_jelenlet->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->vdc_felev->currentIndex(), -1);
        QCOMPARE(w->vdc_orarend->currentIndex(), -1);
    }

    void endOfLessonWarningFindsEarlierRun()
    {
        // A lesson name with an apostrophe is matched as it is written.
        exec(QStringLiteral("update orarend set orarend_nev='Anatómia ''A''' where orarend_id=1"));
        exec(QStringLiteral("insert into Jelentes (kar_id, felh_id, jel_datum, jel_szoveg) values (1, 7, "
                            "'2024-03-06 09:10:00', 'Jelenlét rögzítés kezdete!\r\nÓra végi olvasás...\r\nAnatómia ''A'' - \r\n')"));
        auto w = opened();
        startCapture(w.get(), QStringLiteral("1"));
        msg->shown.clear();
        w->rg_mi->findChildren<QAbstractButton *>().at(1)->click(); // "Hozzá tesz" asks nothing
        QVERIFY(msg->shown.isEmpty());
        w->rg_mi->findChildren<QAbstractButton *>().at(0)->click();
        QCOMPARE(msg->shown, QStringList{"Történt már újraolvasás. Használja a \"Hozzá tesz\" lehetőséget."});
        QCOMPARE(w->rg_mi->itemIndex(), 0);
        QVERIFY(errors->texts.isEmpty());
    }

    void fontSizeAndImport()
    {
        Config().WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("15"));
        auto w = opened();
        QCOMPARE(w->l_betu->text(), QStringLiteral("15"));
        QCOMPARE(w->m_jelenlet->font().pointSize(), 15);
        w->SpinButton1->upButton->click();
        w->SpinButton1->upButton->click();
        w->SpinButton1->downButton->click();
        QCOMPARE(w->l_betu->text(), QStringLiteral("16"));
        QCOMPARE(w->m_jelenlet->font().pointSize(), 16);

        // An export whose first quoted field is the code; lines without a quote are skipped.
        const QString file = fx->dir.filePath(QStringLiteral("kodok.csv"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(EncodeText(QStringLiteral("\"AAA111\",\"Ács Anna\"\r\nfejléc nélkül\r\n\"BB,B222\";x\r\n")));
        f.close();
        ScriptedFileChooser files;
        files.openAnswers.enqueue(file);
        w->bb_uj->click();
        w->sb_be->click();
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "BBB222"}));
        files.openAnswers.clear();
        w->sb_be->click(); // cancelled: nothing changes
        QCOMPARE(w->codeLines().size(), 2);

        w->bb_megsem->click();
        w->bb_kilepes->click();
        QCOMPARE(Config().ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU")), QStringLiteral("16"));
    }

    // After the reload of a backup the reader's next code lands on a line of its own below the
    // restored ones, never in the date and never glued to the last code.
    void restoredCodesTakeTheNextScan()
    {
        QDir().mkpath(QFileInfo(Tform_Jelenlet::BackupFilePath()).absolutePath());
        QFile f(Tform_Jelenlet::BackupFilePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("AAA111\r\nBBB222\r\n");
        f.close();
        msg->answers.enqueue(true);
        auto w = opened();
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "BBB222"}));
        QTRY_VERIFY(w->m_jelenlet->hasFocus());
        QVERIFY(w->m_jelenlet->textCursor().atEnd());
        QVERIFY(w->m_jelenlet->textCursor().block().text().isEmpty());
        // The reader types straight on, without anyone touching the window.
        for (const char c : QByteArray("CCC333"))
            QTest::keyClick(QApplication::focusWidget(), c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "BBB222", "CCC333"}));
        QCOMPARE(w->bi_datum->maskedText(), QStringLiteral("2024.03.06."));
        QCOMPARE(backup(), QStringLiteral("AAA111\r\nBBB222\r\nCCC333\r\n"));

        // A list that lost its last line break: a click below the last line starts a new line.
        w->m_jelenlet->setPlainText(QStringLiteral("AAA111\nBBB222"));
        const int below = w->m_jelenlet->viewport()->height() - 4;
        QTest::mouseClick(w->m_jelenlet->viewport(), Qt::LeftButton, {}, QPoint(10, below));
        QTest::keyClicks(w->m_jelenlet, QStringLiteral("DDD444"));
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "BBB222", "DDD444"}));
        // A click on a line itself still edits that line.
        const QRect first = w->m_jelenlet->cursorRect(QTextCursor(w->m_jelenlet->document()->firstBlock()));
        QTest::mouseClick(w->m_jelenlet->viewport(), Qt::LeftButton, {}, QPoint(2, first.center().y()));
        QCOMPARE(w->m_jelenlet->textCursor().blockNumber(), 0);
        QCOMPARE(w->codeLines().size(), 3);
    }

    // Each Enter shows what the code is, read-only: the code list, the backup and the database stay as the reader made them.
    void perScanLine()
    {
        auto w = opened();
        startCapture(w.get(), QStringLiteral("1"));
        QStringList writes;
        connect(&fx->conn(), &Connection::statementSent, this, [&](const QString &, const QString &sql) {
            if (!sql.trimmed().startsWith(QLatin1String("Select"), Qt::CaseInsensitive))
                writes << sql;
        });
        struct Case {
            QString code, shown;
        };
        const QList<Case> cases{
            {"AAA111", "AAA111: Ács Anna (AAA111) – felvette az órát"},
            {"1öö2", "1002: Bíró Béla (BBB222) – felvette az órát"},            // card number, zero as "ö"
            {"71000008", "71000008: Horváth Hugó (HHH888) – NEM vette fel ezt az órát"}, // another lesson's student
            {"ZZZ999", "ZZZ999: ismeretlen kód"},
            {"it's", "it's: ismeretlen kód"},
        };
        for (const Case &c : cases) {
            read(w.get(), {c.code});
            QTRY_COMPARE(w->l_olvasas->text(), c.shown);
        }
        QCOMPARE(writes, QStringList());
        QCOMPARE(w->codeLines(), QStringList({"AAA111", "1002", "71000008", "ZZZ999", "it's"}));
        QCOMPARE(backup(), w->codeLines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from Jelentes")), QStringList{"0"});
        QCOMPARE(EditMode, EditState::New);

        // Codes faster than the lookups: only the latest is shown, none is lost from the list.
        w->m_jelenlet->setFocus();
        for (const QString &code : {QStringLiteral("CCC333"), QStringLiteral("DDD444")}) {
            QTest::keyClicks(w->m_jelenlet, code);
            QTest::keyClick(w->m_jelenlet, Qt::Key_Return);
        }
        QTRY_COMPARE(w->l_olvasas->text(), QStringLiteral("DDD444: Dénes Dóra (DDD444) – felvette az órát"));
        QCOMPARE(w->codeLines().mid(5), QStringList({"CCC333", "DDD444"}));
        // The run itself is unchanged by the lookups.
        w->bb_felvesz->click();
        QVERIFY2(errors->texts.isEmpty(), qPrintable(errors->texts.join(u'\n')));
        QCOMPARE(entries(QStringLiteral("orarend_id=1 and jt_id=1")),
                 QStringList({"1|1|20240306", "2|1|20240306", "3|1|20240306", "4|1|20240306"}));
    }

    // The students' column stays at the left edge while the dates scroll.
    void frozenNameColumn()
    {
        auto w = opened();
        w->resize(760, 560);
        startCapture(w.get(), QStringLiteral("1"));
        DBGrid *g = w->dbg_lista;
        auto *frozen = g->findChild<QTableView *>(QStringLiteral("dbg_lista_rogzitett"));
        QVERIFY(frozen);
        QTRY_VERIFY(frozen->isVisible());
        QTRY_VERIFY(g->horizontalScrollBar()->maximum() > 0);
        g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
        QVERIFY(g->columnViewportPosition(0) < 0); // the grid's own name column has scrolled away
        QCOMPARE(frozen->geometry().left(), g->viewport()->geometry().left());
        QCOMPARE(frozen->width(), g->columnWidth(0));
        QVERIFY(!frozen->isColumnHidden(0));
        for (int c = 1; c < g->model()->columnCount(); ++c)
            QVERIFY(frozen->isColumnHidden(c));
        const QModelIndex at = frozen->indexAt(QPoint(5, frozen->rowViewportPosition(0) + 2));
        QCOMPARE(at.column(), 0);
        QCOMPARE(at.data().toString(), g->model()->index(0, 0).data().toString());
        QCOMPARE(frozen->horizontalHeader()->height(), g->horizontalHeader()->height());
        // Moving left with the keys never leaves the current cell under the name column.
        QList<int> dates;
        for (int c = 1; c < g->model()->columnCount(); ++c)
            if (!g->isColumnHidden(c))
                dates << c;
        QVERIFY(dates.size() > 2);
        g->setFocus();
        g->setCurrentIndex(g->model()->index(0, dates.last()));
        for (qsizetype i = dates.size() - 2; i >= 0; --i) {
            QTest::keyClick(g, Qt::Key_Left);
            QCOMPARE(g->currentIndex().column(), dates[i]);
            QVERIFY2(g->visualRect(g->currentIndex()).left() >= frozen->width(),
                     qPrintable(QStringLiteral("column %1 under the frozen column").arg(dates[i])));
        }
        // Rows scroll together; the current row is shared.
        frozen->setCurrentIndex(frozen->model()->index(2, 0));
        QCOMPARE(g->currentIndex().row(), 2);
        QCOMPARE(w->SZURES.recNo(), 3);
        // A double-click on a frozen name adds that student's code as on the grid.
        const QPoint name = frozen->visualRect(frozen->model()->index(2, 0)).center();
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, name);
        QTest::mouseDClick(frozen->viewport(), Qt::LeftButton, {}, name);
        QVERIFY(!w->codeLines().isEmpty());
        QCOMPARE(w->codeLines().last(), w->SZURES.fieldByName(QStringLiteral("hallgato_kod")).asString());
    }

    // The focus after each state change: the window's date after "Új", the first field otherwise.
    void focusAfterStateChanges()
    {
        auto w = opened();
        w->bb_kilepes->setFocus();
        w->bb_uj->click();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->bi_datum));
        w->bb_kilepes->setFocus();
        w->bb_megsem->click();
        QVERIFY(QApplication::focusWidget() != w->bb_kilepes);
        QCOMPARE(QApplication::focusWidget(), w->FirstEditableField());
    }

    void registeredForMainWindow()
    {
        RegisterAttendanceWindows();
        QVERIFY(IsWindowAvailable(QStringLiteral("form_Jelenlet")));
    }
};

QTEST_MAIN(TestCaptureWindow)
#include "test_capture_window.moc"
