// The base filter form (search, count, buttons, clearing, colours, the text file) and the
// spreadsheet export, read back from the written .xlsx.

#include "AlapSzures_Unit.h"
#include "Controls.h"
#include "DBGrid.h"
#include "DataFixture.h"
#include "Export.h"
#include "FrameworkTestKit.h"
#include "ScriptedMessages.h"
#include "TextCodec.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QXmlStreamReader>

namespace {

const char *Schema = R"(
CREATE TABLE hallgato (hallgato_id INTEGER PRIMARY KEY AUTOINCREMENT, hallgato_kod NVARCHAR(20) COLLATE KOVRA_CI,
  hallgato_nev NVARCHAR(100) COLLATE KOVRA_CI, hallgato_diak NVARCHAR(20) COLLATE KOVRA_CI,
  hallgato_oa NVARCHAR(20) COLLATE KOVRA_CI);
INSERT INTO hallgato (hallgato_kod, hallgato_nev, hallgato_diak, hallgato_oa) VALUES
  ('ABC123', 'Őri Ödön', '007', '71234567890'), ('XYZ999', 'Kiss Béla', '123456', '72222222222'),
  ('QWE111', 'Nagy Éva', '', '73333333333');
)";

// A list window: a name filter, a lookup combo, the grid of the result.
class TestFilter : public TAlapSzures_Form {
public:
    TestFilter()
    {
        setObjectName(QStringLiteral("form_SzuresTeszt"));
        auto *f = new QFormLayout(p_Adatok);
        e_nev = new QLineEdit(p_Adatok);
        e_nev->setObjectName(QStringLiteral("e_nev"));
        f->addRow(QStringLiteral("Név"), e_nev);
        vdc_kod = new TVDCComboBox(p_Adatok);
        vdc_kod->setObjectName(QStringLiteral("vdc_kod"));
        SetHelpKeyword(vdc_kod, QStringLiteral("k_kód"));
        vdc_kod->ADOQuery = &ADOQuery1;
        vdc_kod->Lekerdezes = QStringLiteral("Select hallgato_id as ID, hallgato_kod as NEV From hallgato Order By NEV");
        f->addRow(QStringLiteral("Kód"), vdc_kod);
        dbg_lista = new DBGrid(p_Adatok);
        dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
        dbg_lista->setDataset(&SZURES);
        dbg_lista->addColumn(QStringLiteral("hallgato_id"), QStringLiteral("id"), false, 40);
        dbg_lista->addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név"), true, 450);
        dbg_lista->addColumn(QStringLiteral("hallgato_kod"), QStringLiteral("Neptun kód"), true, 300);
        dbg_lista->addColumn(QStringLiteral("nincs_ilyen"), QStringLiteral("hiányzó"), true, 80);
        f->addRow(dbg_lista);
    }
    void FormShow() override
    {
        TAlapSzures_Form::FormShow();
        vdc_kod->Feltoltes();
    }
    void bb_inditClick() override
    {
        SZURES.close();
        QString sql = QStringLiteral("Select a.* From hallgato a Where a.hallgato_id>0 \n");
        if (!e_nev->text().isEmpty())
            sql += QStringLiteral("and a.hallgato_nev like '%") + e_nev->text() + QStringLiteral("%' \n");
        if (vdc_kod->Eredmeny() != u"null")
            sql += QStringLiteral("and a.hallgato_id=") + vdc_kod->Eredmeny() + QStringLiteral(" \n");
        SZURES.setSql(sql + QStringLiteral("Order By a.hallgato_nev"));
        TAlapSzures_Form::bb_inditClick();
    }
    QString enabled() const
    {
        QString s;
        for (QWidget *w : std::initializer_list<QWidget *>{bb_Ment, bb_excel, sb_nyomtat, bb_Ok, sb_email})
            s += w->isEnabled() ? u'1' : u'0';
        return s;
    }
    QLineEdit *e_nev;
    TVDCComboBox *vdc_kod;
    DBGrid *dbg_lista;
};

} // namespace

class TestFilterForm : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<ScriptedMessages> msg;
    QTemporaryDir dir;

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<DataFixture>(QString::fromLatin1(MiniSchema) + QString::fromUtf8(Schema));
        msg = std::make_unique<ScriptedMessages>();
        SetExportFolder(dir.path());
    }
    void cleanup()
    {
        SetDocumentOpener({});
        msg.reset();
        fx.reset();
    }

    void searchCountAndButtons()
    {
        TestFilter w;
        w.show();
        QVERIFY(!w.p_TalalatokSzama->isVisible());
        QCOMPARE(w.enabled(), QStringLiteral("11111")); // all start enabled
        w.bb_indit->click();
        QVERIFY(w.p_TalalatokSzama->isVisible());
        QCOMPARE(w.l_talalatszov->text(), QStringLiteral("Találatok száma:"));
        QCOMPARE(w.l_szumma->text(), QStringLiteral("3"));
        // Columns wider than 300 are narrowed after a search; others stay.
        QCOMPARE(w.dbg_lista->column(1).width, 300);
        QCOMPARE(w.dbg_lista->columnWidth(1), 300);
        QCOMPARE(w.dbg_lista->column(2).width, 300);
        QCOMPARE(w.dbg_lista->column(3).width, 80);

        // Clearing the conditions disables save, Excel and print, not Kiválaszt and E-mail.
        w.e_nev->setText(QStringLiteral("Kiss"));
        w.vdc_kod->Ertek(QStringLiteral("2"));
        w.bb_felttorol->click();
        QCOMPARE(w.enabled(), QStringLiteral("00011"));
        QVERIFY(!w.SZURES.isActive());
        QCOMPARE(w.e_nev->text(), QString());
        QCOMPARE(w.vdc_kod->Eredmeny(), QStringLiteral("null"));
        QCOMPARE(w.l_szumma->text(), QStringLiteral("3")); // the last count stays
        QVERIFY(w.p_TalalatokSzama->isVisible());

        // No rows: "0", Kiválaszt keeps its state, the rest follow the opened result.
        w.bb_Ok->setEnabled(false);
        w.e_nev->setText(QStringLiteral("Senki"));
        w.bb_indit->click();
        QCOMPARE(w.l_szumma->text(), QStringLiteral("0"));
        QCOMPARE(w.enabled(), QStringLiteral("11101"));

        // A filter built from the conditions.
        w.e_nev->clear();
        w.vdc_kod->Ertek(QStringLiteral("2"));
        w.bb_indit->click();
        QCOMPARE(w.l_szumma->text(), QStringLiteral("1"));
        QCOMPARE(w.SZURES.sql(), QStringLiteral("Select a.* From hallgato a Where a.hallgato_id>0 \nand a.hallgato_id=2 \n"
                                                "Order By a.hallgato_nev"));
        QCOMPARE(w.enabled(), QStringLiteral("11111"));
    }

    void coloursChoiceAndExit()
    {
        TestFilter w;
        w.show();
        QCOMPARE(ControlColor(w.e_nev), colors::MoneyGreen);
        QVERIFY(!w.e_nev->isReadOnly());
        QCOMPARE(ControlColor(w.vdc_kod), colors::Required);
        // Enter runs the search (the default button).
        QTest::keyClick(w.e_nev, Qt::Key_Return);
        QCOMPARE(w.l_szumma->text(), QStringLiteral("3"));
        w.bb_Ok->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
        w.show();
        QTest::keyClick(w.e_nev, Qt::Key_Escape);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(!w.isVisible());
    }

    void textFile()
    {
        ScriptedFileChooser files;
        TestFilter w;
        w.show();
        w.bb_indit->click();
        SortByColumn(w.dbg_lista, 1); // the marker goes out with the title
        files.saveAnswers << dir.filePath(QStringLiteral("lista"));
        w.bb_Ment->click();
        const QByteArray expected = EncodeText(QStringLiteral("id\tnév <\tNeptun kód\thiányzó\t\r\n"
                                                              "1\tŐri Ödön\tABC123\t\r\n"
                                                              "3\tNagy Éva\tQWE111\t\r\n"
                                                              "2\tKiss Béla\tXYZ999\t\r\n"),
                                               Charset::Windows1250);
        QCOMPARE(ReadFileBytes(dir.filePath(QStringLiteral("lista.txt"))), expected);
        QCOMPARE(files.filters, QStringList{"Szöveges fájlok|*.txt"});
        QCOMPARE(w.SZURES.recNo(), 3); // left on its last row
        // Cancel writes nothing.
        w.bb_Ment->click();
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.txt")}).size(), 1);
    }

    void textFileWithoutGrid()
    {
        TAlapSzures_Form w;
        w.bb_Ment->click();
        QCOMPARE(msg->shown, QStringList{"A mentés nem lehetséges! Vedd fel a kapcsolatot a fejlesztőkkel!"});
    }

    void excelExport()
    {
        QStringList opened;
        SetDocumentOpener([&](const QString &p) {
            opened << p;
            return true;
        });
        for (int i = 4; i <= 100; ++i)
            fx->conn().execute(QStringLiteral("t"),
                               QStringLiteral("INSERT INTO hallgato (hallgato_kod, hallgato_nev, hallgato_diak) "
                                              "VALUES ('K%1', 'Hallgató %1', '%1')").arg(i));
        Dataset q(&fx->conn(), QStringLiteral("SZURES"));
        q.setSql(QStringLiteral("Select hallgato_id, hallgato_nev, hallgato_oa, hallgato_diak, '2024.03.05' as felvetel, "
                                "'12,5' as atlag, '08:15' as ido From hallgato Order By hallgato_id"));
        q.open();
        QDialog window;
        window.setObjectName(QStringLiteral("form_Export"));
        DBGrid grid(&window);
        grid.setDataset(&q);
        grid.addColumn(QStringLiteral("hallgato_id"), QStringLiteral("id"));
        grid.addColumn(QStringLiteral("hallgato_nev"), QStringLiteral("név <"));
        grid.addColumn(QStringLiteral("hallgato_oa"), QStringLiteral("OM"), false);
        grid.addColumn(QStringLiteral("hallgato_diak"), QStringLiteral("diákig."));
        grid.addColumn(QStringLiteral("felvetel"), QStringLiteral("felvétel"));
        grid.addColumn(QStringLiteral("atlag"), QStringLiteral("átlag"));
        grid.addColumn(QStringLiteral("ido"), QStringLiteral("idő"));

        const QString message = QStringLiteral("Az Excel konvertálás megtörtént. Lépjen át a táblázatkezelőbe!");
        const QString path = ExportToExcel(q, &grid, message);
        QCOMPARE(opened, QStringList{path});
        QCOMPARE(msg->shown, QStringList{message});
        QVERIFY(path.startsWith(dir.path()));
        QVERIFY(q.eof());
        QCOMPARE(q.recNo(), 100); // left on the last row
        QVERIFY(!QApplication::overrideCursor());

        int rows = 0;
        const auto cells = ReadSheet(path, &rows);
        QCOMPARE(rows, 101); // the title row and 100 rows
        // Titles of the visible columns only, the sort marker included.
        QCOMPARE(cells.value(QStringLiteral("A1")).value, QStringLiteral("id"));
        QCOMPARE(cells.value(QStringLiteral("B1")).value, QStringLiteral("név <"));
        QCOMPARE(cells.value(QStringLiteral("C1")).value, QStringLiteral("diákig."));
        QCOMPARE(cells.value(QStringLiteral("F1")).value, QStringLiteral("idő"));
        QVERIFY(!cells.contains(QStringLiteral("G1")));
        // Typed values: numbers, text, dates, times; "007" stays text; empty stays empty.
        QCOMPARE(cells.value(QStringLiteral("A2")).type, QString());
        QCOMPARE(cells.value(QStringLiteral("A2")).value, QStringLiteral("1"));
        QCOMPARE(cells.value(QStringLiteral("B2")).type, QStringLiteral("s"));
        QCOMPARE(cells.value(QStringLiteral("B2")).value, QStringLiteral("Őri Ödön"));
        QCOMPARE(cells.value(QStringLiteral("C2")).type, QStringLiteral("s"));
        QCOMPARE(cells.value(QStringLiteral("C2")).value, QStringLiteral("007"));
        QCOMPARE(cells.value(QStringLiteral("C3")).type, QString());
        QCOMPARE(cells.value(QStringLiteral("C3")).value, QStringLiteral("123456"));
        QVERIFY(!cells.contains(QStringLiteral("C4")));
        QCOMPARE(cells.value(QStringLiteral("D2")).value, QStringLiteral("45356")); // 2024-03-05
        QVERIFY(!cells.value(QStringLiteral("D2")).style.isEmpty());
        QCOMPARE(cells.value(QStringLiteral("E2")).value, QStringLiteral("12.5"));
        QCOMPARE(cells.value(QStringLiteral("F2")).value.toDouble(), (8 * 60 + 15) / 1440.0);
        QCOMPARE(cells.value(QStringLiteral("B101")).value, QStringLiteral("Hallgató 100"));
    }

    void excelExportFailures()
    {
        Dataset q(&fx->conn(), QStringLiteral("SZURES"));
        q.setSql(QStringLiteral("Select * From hallgato"));
        q.open();
        DBGrid grid;
        grid.setDataset(&q);
        // Nothing can open the file: the message tells where it is.
        SetDocumentOpener([](const QString &) { return false; });
        const QString path = ExportToExcel(q, &grid, QStringLiteral("kész"));
        QVERIFY(QFile::exists(path));
        QCOMPARE(msg->shown, QStringList{QStringLiteral("A táblázat elkészült, de nincs program, amely megnyitná. "
                                                        "A fájl helye: ")
                                         + path});
        // An unwritable folder: an error for the error handling, no closing message, cursor back.
        SetExportFolder(dir.filePath(QStringLiteral("nincs/ilyen")));
        QVERIFY_THROWS_EXCEPTION(KovraError, ExportToExcel(q, &grid, QStringLiteral("kész")));
        QCOMPARE(msg->shown.size(), 1);
        QVERIFY(!QApplication::overrideCursor());
    }

    void spreadsheetValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("whole") << "42" << QVariant(42.0);
        QTest::newRow("negative") << "-3" << QVariant(-3.0);
        QTest::newRow("zero") << "0" << QVariant(0.0);
        QTest::newRow("leading zero stays text") << "0042" << QVariant(QStringLiteral("0042"));
        QTest::newRow("decimal point") << "3.25" << QVariant(3.25);
        QTest::newRow("decimal comma") << "3,25" << QVariant(3.25);
        QTest::newRow("date") << "2016.09.01" << QVariant(QDate(2016, 9, 1));
        QTest::newRow("date with final dot") << "2016.09.01." << QVariant(QDate(2016, 9, 1));
        QTest::newRow("date-time") << "2016.09.01 08:15:00" << QVariant(QDateTime(QDate(2016, 9, 1), QTime(8, 15)));
        QTest::newRow("no date") << "2016.13.01" << QVariant(QStringLiteral("2016.13.01"));
        QTest::newRow("time") << "8:15" << QVariant(QTime(8, 15));
        QTest::newRow("code") << "ABC123" << QVariant(QStringLiteral("ABC123"));
        QTest::newRow("semester") << "2023/24/2" << QVariant(QStringLiteral("2023/24/2"));
    }
    void spreadsheetValues()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, value);
        QCOMPARE(SpreadsheetValue(text), value);
    }
};

QTEST_MAIN(TestFilterForm)
#include "test_filterform.moc"
