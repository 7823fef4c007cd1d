// Window-save files: the exact bytes, the round trip of every saved kind, foreign and broken files.

#include "Controls.h"
#include "FrameworkTestKit.h"
#include "TextCodec.h"
#include "VDCComboBox.h"
#include "XML_AblakLeiras.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace {

template <class T>
T *named(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QLatin1String(name));
    parent->layout()->addWidget(w);
    return w;
}

struct SaveWindow {
    explicit SaveWindow(const QString &name = QStringLiteral("form_Jelenlet"))
    {
        window.setObjectName(name);
        new QVBoxLayout(&window);
        e_nev = named<QLineEdit>(&window, "e_nev");
        e_ures = named<QLineEdit>(&window, "e_ures");
        me_datum = named<MaskEdit>(&window, "me_datum");
        me_datum->setEditMask(QStringLiteral("!9999/99/99/;1;_"));
        m_kodok = named<QPlainTextEdit>(&window, "m_kodok");
        vdc_felev = named<TVDCComboBox>(&window, "vdc_felev");
        cb_jelolt = named<QCheckBox>(&window, "cb_jelolt"); // not saved
        dtp_nap = named<TDateTimePicker>(&window, "dtp_nap");
        se_betu = named<QSpinBox>(&window, "se_betu");
        sg_naptar = named<TStringGrid>(&window, "sg_naptar");
        pc_lapok = named<QTabWidget>(&window, "pc_lapok");
        pc_lapok->addTab(new QWidget, QStringLiteral("egy"));
        auto *page = new QWidget;
        new QVBoxLayout(page);
        pc_lapok->addTab(page, QStringLiteral("kettő"));
        e_lapon = named<QLineEdit>(page, "e_lapon");
        fr_adatok = named<TFrame>(&window, "fr_adatok");
        new QVBoxLayout(fr_adatok);
        e_keret = named<QLineEdit>(fr_adatok, "e_keret");
    }
    void fill()
    {
        e_nev->setText(QStringLiteral("Árvíztűrő <tükör> & \"fúró\""));
        SetTag(e_nev, 12);
        me_datum->setMaskedText(QStringLiteral("2024.03.05"));
        m_kodok->setPlainText(QStringLiteral("ABC123\nőŐ\nutolsó"));
        vdc_felev->setEditText(QStringLiteral("2023/24 tavasz"));
        cb_jelolt->setChecked(true);
        dtp_nap->setDate(QDate(2024, 3, 5));
        SetTag(dtp_nap, -3);
        se_betu->setValue(14);
        sg_naptar->setColumnCount(7);
        sg_naptar->setRowCount(6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                sg_naptar->setCell(x, y, QStringLiteral("%1/%2").arg(x).arg(y));
        sg_naptar->setCell(6, 5, QStringLiteral("a<b"));
        pc_lapok->setCurrentIndex(1);
        e_lapon->setText(QStringLiteral("lapon"));
        e_keret->setText(QStringLiteral("keretben"));
    }
    QDialog window;
    QLineEdit *e_nev, *e_ures, *e_lapon, *e_keret;
    MaskEdit *me_datum;
    QPlainTextEdit *m_kodok;
    TVDCComboBox *vdc_felev;
    QCheckBox *cb_jelolt;
    TDateTimePicker *dtp_nap;
    QSpinBox *se_betu;
    TStringGrid *sg_naptar;
    QTabWidget *pc_lapok;
    TFrame *fr_adatok;
};

QByteArray expectedFile()
{
    QString grid = QStringLiteral("  <mezo><nev>sg_naptar</nev><ertek></ertek><tag>0</tag><sorokszama>6</sorokszama>"
                                  "<oszlopokszama>7</oszlopokszama>");
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            grid += QStringLiteral("<cella x=\"%1\" y=\"%2\">%3</cella>")
                        .arg(x)
                        .arg(y)
                        .arg(x == 6 && y == 5 ? QStringLiteral("a&lt;b") : QStringLiteral("%1/%2").arg(x).arg(y));
    grid += QStringLiteral("</mezo>\r\n");
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
                       "<ablak_ertekek>\r\n"
                       " <ablak_nev>form_Jelenlet</ablak_nev>\r\n"
                       "  <mezo><nev>e_nev</nev><ertek>Árvíztűrő &lt;tükör&gt; &amp; \"fúró\"</ertek><tag>12</tag></mezo>\r\n"
                       "  <mezo><nev>e_ures</nev><ertek></ertek><tag>0</tag></mezo>\r\n"
                       "  <mezo><nev>me_datum</nev><ertek>2024.03.05.</ertek><tag>0</tag></mezo>\r\n"
                       "  <mezo><nev>m_kodok</nev><ertek>ABC123\r\nőŐ\r\nutolsó</ertek><tag>0</tag></mezo>\r\n"
                       "  <mezo><nev>vdc_felev</nev><ertek>2023/24 tavasz</ertek><tag>0</tag></mezo>\r\n"
                       "  <mezo><nev>dtp_nap</nev><ertek>20240305</ertek><tag>-3</tag></mezo>\r\n"
                       "  <mezo><nev>se_betu</nev><ertek>14</ertek><tag>0</tag></mezo>\r\n")
        + grid
        + QStringLiteral("  <mezo><nev>pc_lapok</nev><ertek>1</ertek><tag>0</tag></mezo>\r\n"
                         "  <mezo><nev>e_lapon</nev><ertek>lapon</ertek><tag>0</tag></mezo>\r\n"
                         "  <mezo><nev>fr_adatok.e_keret</nev><ertek>keretben</ertek><tag>0</tag></mezo>\r\n"
                         "</ablak_ertekek>\r\n");
    return EncodeText(text, Charset::Windows1250);
}

} // namespace

class TestWindowSave : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString path(const char *name) { return dir.filePath(QLatin1String(name)); }
    void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void exactBytes()
    {
        SaveWindow w;
        w.fill();
        SaveWindowValues(&w.window, path("a.ael"));
        const QByteArray bytes = ReadFileBytes(path("a.ael"));
        QCOMPARE(bytes, expectedFile());
        QVERIFY(bytes.contains("\xc1rv\xedzt\xfbr\xf5")); // Árvíztűrő in code page 1250
        QCOMPARE(bytes.count("<cella "), 42);
    }

    void roundTrip()
    {
        SaveWindow a;
        a.fill();
        SaveWindowValues(&a.window, path("b.ael"));
        SaveWindow b;
        b.e_ures->setText(QStringLiteral("lesz üres"));
        LoadWindowValues(&b.window, path("b.ael"));
        QCOMPARE(b.e_nev->text(), a.e_nev->text());
        QCOMPARE(Tag(b.e_nev), 12);
        QCOMPARE(b.e_ures->text(), QString());
        QCOMPARE(b.me_datum->maskedText(), QStringLiteral("2024.03.05."));
        QCOMPARE(b.m_kodok->toPlainText(), QStringLiteral("ABC123\nőŐ\nutolsó"));
        QCOMPARE(b.m_kodok->document()->blockCount(), 3);
        QCOMPARE(b.vdc_felev->currentText(), QStringLiteral("2023/24 tavasz"));
        QCOMPARE(b.vdc_felev->currentIndex(), -1); // text only, the list is not searched
        QVERIFY(!b.cb_jelolt->isChecked());
        QCOMPARE(b.dtp_nap->date(), QDate(2024, 3, 5));
        QCOMPARE(Tag(b.dtp_nap), -3);
        QCOMPARE(b.se_betu->value(), 14);
        QCOMPARE(b.sg_naptar->columnCount(), 7);
        QCOMPARE(b.sg_naptar->rowCount(), 6);
        QCOMPARE(b.sg_naptar->cell(3, 4), QStringLiteral("3/4"));
        QCOMPARE(b.sg_naptar->cell(6, 5), QStringLiteral("a<b"));
        QCOMPARE(b.pc_lapok->currentIndex(), 1);
        QCOMPARE(b.e_lapon->text(), QStringLiteral("lapon"));
        QCOMPARE(b.e_keret->text(), QStringLiteral("keretben"));
    }

    void foreignWindowIgnored()
    {
        SaveWindow felev(QStringLiteral("form_Felev"));
        felev.fill();
        SaveWindowValues(&felev.window, path("felev.ael"));
        SaveWindow hallgatok(QStringLiteral("form_Hallgatok"));
        LoadWindowValues(&hallgatok.window, path("felev.ael"));
        QCOMPARE(hallgatok.e_nev->text(), QString());
        QCOMPARE(hallgatok.sg_naptar->rowCount(), 0);
        // The name is compared exactly.
        SaveWindow lower(QStringLiteral("form_felev"));
        LoadWindowValues(&lower.window, path("felev.ael"));
        QCOMPARE(lower.e_nev->text(), QString());
    }

    void unknownFieldsSkippedElementOrderFree()
    {
        write(path("c.ael"), EncodeText(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
                                                       "<ablak_ertekek>\r\n <ablak_nev>form_Jelenlet</ablak_nev>\r\n"
                                                       "  <mezo><nev>e_regi</nev><ertek>x</ertek><tag>1</tag></mezo>\r\n"
                                                       "  <mezo><tag>4</tag><ertek>őszi</ertek><nev>e_nev</nev></mezo>\r\n"
                                                       "  <mezo><nev>nincs.e_keret</nev><ertek>y</ertek><tag>1</tag></mezo>\r\n"
                                                       "  <mezo><nev>cb_jelolt</nev><ertek>1</ertek><tag>9</tag></mezo>\r\n"
                                                       "</ablak_ertekek>\r\n"),
                                        Charset::Windows1250));
        SaveWindow w;
        LoadWindowValues(&w.window, path("c.ael"));
        QCOMPARE(w.e_nev->text(), QStringLiteral("őszi"));
        QCOMPARE(Tag(w.e_nev), 4);
        QCOMPARE(w.e_keret->text(), QString());
        QVERIFY(!w.cb_jelolt->isChecked()); // a kind that is not saved only gets its tag
        QCOMPARE(Tag(w.cb_jelolt), 9);
    }

    void brokenFiles()
    {
        SaveWindow w;
        // Broken XML: nothing is applied, the error names the file.
        write(path("d.ael"), QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n<ablak_ertekek>\r\n"
                                        " <ablak_nev>form_Jelenlet</ablak_nev>\r\n"
                                        "  <mezo><nev>e_nev</nev><ertek>x</ertek><tag>0</tag></mezo>\r\n"
                                        "  <mezo><nev>e_ures</nev><ertek>a < b</ertek><tag>0</tag></mezo>\r\n"));
        try {
            LoadWindowValues(&w.window, path("d.ael"));
            QFAIL("no error");
        } catch (const KovraError &e) {
            QVERIFY(e.message().contains(path("d.ael")));
        }
        QCOMPARE(w.e_nev->text(), QString());
        // A tag that is no number stops there; what came before stays applied.
        write(path("e.ael"), QByteArray("<ablak_ertekek><ablak_nev>form_Jelenlet</ablak_nev>"
                                        "<mezo><nev>e_nev</nev><ertek>elso</ertek><tag>0</tag></mezo>"
                                        "<mezo><nev>e_ures</nev><ertek>x</ertek><tag>sok</tag></mezo></ablak_ertekek>"));
        QVERIFY_THROWS_EXCEPTION(KovraError, LoadWindowValues(&w.window, path("e.ael")));
        QCOMPARE(w.e_nev->text(), QStringLiteral("elso"));
        QCOMPARE(w.e_ures->text(), QString());
        // A malformed date.
        write(path("f.ael"), QByteArray("<ablak_ertekek><ablak_nev>form_Jelenlet</ablak_nev>"
                                        "<mezo><nev>dtp_nap</nev><ertek>20241340</ertek><tag>0</tag></mezo></ablak_ertekek>"));
        QVERIFY_THROWS_EXCEPTION(KovraError, LoadWindowValues(&w.window, path("f.ael")));
        // Missing file; unwritable target.
        QVERIFY_THROWS_EXCEPTION(KovraError, LoadWindowValues(&w.window, path("nincs.ael")));
        QVERIFY_THROWS_EXCEPTION(KovraError, SaveWindowValues(&w.window, path("nincs/mappa/g.ael")));
    }

    void dialogsAsk()
    {
        ScriptedFileChooser files;
        SaveWindow w;
        w.fill();
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        SaveWindowValues(&w.window, QString()); // cancelled: nothing written
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
        files.saveAnswers << path("kerdezett");
        SaveWindowValues(&w.window, QString());
        QCOMPARE(ReadFileBytes(path("kerdezett.ael")), expectedFile());
        SaveWindow v;
        LoadWindowValues(&v.window, QString()); // cancelled
        QCOMPARE(v.e_nev->text(), QString());
        files.openAnswers << path("kerdezett.ael");
        LoadWindowValues(&v.window, QString());
        QCOMPARE(v.e_nev->text(), w.e_nev->text());
        QCOMPARE(files.filters, QStringList(4, QStringLiteral("Ablak mentések|*.ael")));
    }
};

QTEST_MAIN(TestWindowSave)
#include "test_windowsave.moc"
