// The banded-report layer: band layout and pagination, columns filled down the page, millimetre
// placement on rendered pages, texts never clipped, PDF output, and the Code 128 set A encoder
// read back from the bars it draws.

#include "Code128.h"
#include "Guard.h"
#include "Report.h"
#include "Scanline.h"
#include "PdfPages.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

Rows numbered(int n)
{
    Rows r;
    r.fields = {QStringLiteral("nev"), QStringLiteral("kod")};
    for (int i = 0; i < n; ++i)
        r.values << QStringList{QStringLiteral("Név %1").arg(i), QStringLiteral("K%1").arg(i)};
    return r;
}

// A4 portrait, 10 mm margins, header 20 mm, footer 10 mm, detail 10 mm: 24 rows a page.
Report banded(int rows)
{
    Report r;
    r.pageHeader.height = 20;
    r.pageFooter.height = 10;
    r.detail.height = 10;
    r.setRows(numbered(rows));
    return r;
}

Element frame(const QRectF &mm)
{
    Element e;
    e.kind = Kind::Frame;
    e.rect = mm;
    e.penMm = 0.5;
    return e;
}

bool darkAt(const QImage &img, double xMm, double yMm, double dpmm)
{
    return qGray(img.pixel(int(xMm * dpmm), int(yMm * dpmm))) < 128;
}

// The horizontal extent (in pixels) of the dark pixels of an image area.
std::pair<int, int> inkColumns(const QImage &img, const QRect &area)
{
    int from = -1, to = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(img.pixel(x, y)) < 128) {
                if (from < 0)
                    from = x;
                to = x;
                break;
            }
    return {from, to};
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void symbolTable()
    {
        QSet<QString> seen;
        for (int v = 0; v <= code128::Stop; ++v) {
            const QString p = QLatin1String(code128::Pattern(v));
            int sum = 0;
            for (QChar c : p)
                sum += c.digitValue();
            QCOMPARE(p.size(), v == code128::Stop ? 7 : 6);
            QCOMPARE(sum, v == code128::Stop ? 13 : 11);
            seen << p;
        }
        QCOMPARE(seen.size(), 107);
    }

    void encodesSetA_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<int>>("values");
        // Start A 103; A=33 B=34 C=35: (103 + 33 + 2*34 + 3*35) mod 103 = 0.
        QTest::newRow("ABC") << QStringLiteral("ABC") << QVector<int>{103, 33, 34, 35, 0, 106};
        QTest::newRow("lower case as capitals") << QStringLiteral("abc") << QVector<int>{103, 33, 34, 35, 0, 106};
        // Digits and a control character: '1'=17, '0'=16, TAB=73: (103 + 17 + 32 + 219) mod 103 = 62.
        QTest::newRow("digits and TAB") << QStringLiteral("10\t") << QVector<int>{103, 17, 16, 73, 62, 106};
        QTest::newRow("empty") << QString() << QVector<int>{};
        QTest::newRow("not in set A") << QStringLiteral("ÁBC") << QVector<int>{};
    }
    void encodesSetA()
    {
        QFETCH(QString, text);
        QFETCH(QVector<int>, values);
        QCOMPARE(code128::EncodeA(text), values);
    }

    void barsDecodeBack_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("read");
        QTest::addColumn<double>("dpi");
        QTest::newRow("Neptun code") << QStringLiteral("ABC123") << QStringLiteral("ABC123") << 600.0;
        QTest::newRow("lower case") << QStringLiteral("xq7z2k") << QStringLiteral("XQ7Z2K") << 600.0;
        QTest::newRow("punctuation") << QStringLiteral("A-1/B.2") << QStringLiteral("A-1/B.2") << 600.0;
        QTest::newRow("300 dpi") << QStringLiteral("H2OZ9Q") << QStringLiteral("H2OZ9Q") << 300.0;
    }
    void barsDecodeBack()
    {
        QFETCH(QString, code);
        QFETCH(QString, read);
        QFETCH(double, dpi);
        Report r;
        r.detail.height = 20;
        Element bar;
        bar.kind = Kind::Barcode;
        bar.field = QStringLiteral("kod");
        bar.rect = QRectF(50, 2, 27.0, 13.2); // the card's barcode box
        r.detail.add(bar);
        Rows rows;
        rows.fields = {QStringLiteral("kod")};
        rows.values << QStringList{code};
        r.setRows(rows);
        const QImage img = r.pageImage(0, dpi);
        const double dpmm = dpi / 25.4;
        QCOMPARE(DecodeCode128Line(img, int((10 + 2 + 6.6) * dpmm)), read);
        // The bars fill the box: ink starts at its left edge and ends at its right edge.
        const auto [from, to] = inkColumns(img, QRect(int(55 * dpmm), int(18 * dpmm), int(40 * dpmm), 2));
        QVERIFY(qAbs(from - 60 * dpmm) <= 1.5);
        QVERIFY(qAbs(to - 87 * dpmm) <= 1.5);
    }

    void emptyCodePrintsNoBarcode()
    {
        Report r;
        r.detail.height = 20;
        Element bar;
        bar.kind = Kind::Barcode;
        bar.rect = QRectF(0, 0, 40, 15);
        r.detail.add(bar);
        r.setRows(numbered(1));
        const QImage img = r.pageImage(0, 100);
        QCOMPARE(inkColumns(img, img.rect()).first, -1);
    }

    void paginates_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("none") << 0 << QList<int>{0};
        QTest::newRow("one") << 1 << QList<int>{1};
        QTest::newRow("a full page") << 24 << QList<int>{24};
        QTest::newRow("one more") << 25 << QList<int>{24, 1};
        QTest::newRow("three pages") << 60 << QList<int>{24, 24, 12};
    }
    void paginates()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, perPage);
        const QVector<Page> pages = banded(rows).layout();
        QCOMPARE(pages.size(), perPage.size());
        int next = 0;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            int details = 0, headers = 0, footers = 0;
            double y = 30;
            for (const Placement &pl : pages[p]) {
                switch (pl.type) {
                case Placement::Header:
                    ++headers;
                    QCOMPARE(pl.at, QPointF(10, 10));
                    break;
                case Placement::Footer:
                    ++footers;
                    QCOMPARE(pl.at, QPointF(10, 297 - 10 - 10));
                    break;
                case Placement::Detail:
                    ++details;
                    QCOMPARE(pl.row, next++); // every row once, in order
                    QCOMPARE(pl.at, QPointF(10, y));
                    y += 10;
                    break;
                }
            }
            QCOMPARE(headers, 1);
            QCOMPARE(footers, 1);
            QCOMPARE(details, perPage[p]);
        }
        QCOMPARE(next, rows);
    }

    void emptyReportWithoutPrintIfEmptyHasNoPage()
    {
        Report r = banded(0);
        r.printIfEmpty = false;
        QCOMPARE(r.pageCount(), 0);
    }

    void columnsFillDownThePage()
    {
        // The card sheet's geometry: 95 x 52.9 mm, two columns, five cards a column.
        Report r;
        r.columns = 2;
        r.detail.width = 95;
        r.detail.height = 52.9;
        r.setRows(numbered(11));
        const QVector<Page> pages = r.layout();
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].size(), 10);
        for (const Placement &p : pages[0]) {
            QCOMPARE(p.column, p.row / 5);
            QCOMPARE(p.at.x(), p.row < 5 ? 10.0 : 105.0);
            QVERIFY(qAbs(p.at.y() - (10 + (p.row % 5) * 52.9)) < 1e-9);
        }
        QCOMPARE(pages[1].size(), 1);
        QCOMPARE(pages[1][0].row, 10);
        QCOMPARE(pages[1][0].at, QPointF(10, 10));
    }

    void landscapeTurnsThePaper()
    {
        Report r = banded(30);
        r.orientation = QPageLayout::Landscape;
        QCOMPARE(r.paperSize().toSize(), QSize(297, 210));
        // 210 - 20 margins - 30 bands = 160 mm: 16 rows a page.
        QCOMPARE(r.layout()[0].size(), 16 + 2);
        QCOMPARE(r.pageImage(0, 25.4).size(), QSize(297, 210));
    }

    void placesElementsInMillimetres()
    {
        Report r = banded(2);
        r.pageHeader.add(frame(QRectF(20, 5, 40, 10)));
        r.detail.add(frame(QRectF(100, 2, 30, 6)));
        const double dpmm = 10; // 254 dpi
        const QImage img = r.pageImage(0, 254);
        QCOMPARE(img.size(), QSize(2100, 2970));
        // Header frame: paper (30, 15) to (70, 25).
        QVERIFY(darkAt(img, 30.05, 20, dpmm));
        QVERIFY(darkAt(img, 69.95, 20, dpmm));
        QVERIFY(darkAt(img, 50, 15.05, dpmm));
        QVERIFY(!darkAt(img, 50, 20, dpmm));
        QVERIFY(!darkAt(img, 29, 20, dpmm));
        // The second row's frame: detail at y 40, frame from (110, 42) to (140, 48).
        QVERIFY(darkAt(img, 125, 42.05, dpmm));
        QVERIFY(darkAt(img, 125, 47.95, dpmm));
        QVERIFY(!darkAt(img, 125, 45, dpmm));
        QVERIFY(!darkAt(img, 125, 41, dpmm));
    }

    void textsAlignAndAreNeverClipped()
    {
        Report r = banded(1);
        auto text = [](const QString &t, const QRectF &rect, Qt::Alignment a) {
            Element e;
            e.text = t;
            e.rect = rect;
            e.alignment = a;
            e.font = LayoutFont(QStringLiteral("Arial"), 12, true);
            return e;
        };
        r.pageHeader.add(text(QStringLiteral("Jelenléti lista"), QRectF(100, 0, 90, 8), Qt::AlignRight | Qt::AlignVCenter));
        // A heading wider than its box of 10 mm.
        r.pageHeader.add(text(QStringLiteral("Dorvan Egyetem"), QRectF(0, 10, 10, 8), Qt::AlignLeft | Qt::AlignVCenter));
        Element shrunk = text(QStringLiteral("Hosszú Nevű Hallgató"), QRectF(0, 1, 30, 8), Qt::AlignLeft);
        shrunk.shrinkToFit = true;
        r.detail.add(shrunk);
        const double dpmm = 10;
        const QImage img = r.pageImage(0, 254);
        const auto [rFrom, rTo] = inkColumns(img, QRect(1100, 100, 900, 80));
        QVERIFY(rTo <= 2000 && rTo >= 1990); // right-aligned to x = 200 mm
        QVERIFY(rFrom > 1100);
        const auto [lFrom, lTo] = inkColumns(img, QRect(100, 200, 1900, 80));
        QVERIFY(lFrom >= 100 && lFrom <= 110);
        QVERIFY(lTo > 100 + 10 * dpmm * 2); // the heading runs on past its box
        const auto [sFrom, sTo] = inkColumns(img, QRect(100, 300, 1900, 90));
        QVERIFY(sFrom >= 100);
        QVERIFY(sTo <= 100 + 30 * dpmm); // shrunk into its box
    }

    void hookSeesEveryRowOnItsOwnBand()
    {
        Report r = banded(3);
        Element label;
        label.name = QStringLiteral("l");
        r.detail.add(label);
        QList<int> seen;
        r.beforePrint = [&seen](const Rows &rows, int row, Band &band) {
            seen << row;
            band.element(QStringLiteral("l"))->text = rows.value(row, QStringLiteral("kod"));
        };
        const Page page = r.layout()[0];
        QStringList texts;
        for (const Placement &p : page)
            if (p.type == Placement::Detail)
                texts << r.bandFor(p).element(QStringLiteral("l"))->text;
        QCOMPARE(texts, (QStringList{QStringLiteral("K0"), QStringLiteral("K1"), QStringLiteral("K2")}));
        QCOMPARE(seen, (QList<int>{0, 1, 2}));
        QCOMPARE(r.detail.element(QStringLiteral("l"))->text, QString()); // the layout itself is untouched
    }

    void savesPdf()
    {
        QTemporaryDir dir;
        Report r = banded(50);
        Element f;
        f.kind = Kind::Field;
        f.field = QStringLiteral("nev");
        f.rect = QRectF(0, 0, 80, 10);
        r.detail.add(f);
        const QString path = dir.filePath(QStringLiteral("out.pdf"));
        r.savePdf(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(PdfPageCount(pdf), 3);
        QVERIFY_THROWS_EXCEPTION(KovraError, r.savePdf(dir.filePath(QStringLiteral("no/such/folder/out.pdf"))));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
