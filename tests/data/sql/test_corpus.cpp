// Every statement text the program composes translates, and runs on the embedded schema.

#include "SqlFixture.h"

#include <QFile>
#include <QtTest>

class TestCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void corpus_data();
    void corpus();
};

void TestCorpus::corpus_data()
{
    QTest::addColumn<QString>("tsql");
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/tests/data/sql/corpus.sql"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    QString title, text;
    int count = 0;
    auto flush = [&] {
        if (!text.trimmed().isEmpty()) {
            ++count;
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(count, 3, 10, QLatin1Char('0')).arg(title))) << text;
        }
        text.clear();
        title.clear();
    };
    for (const QString &line : lines) {
        if (line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            flush();
            continue;
        }
        if (line.startsWith(u"-- ") && title.isEmpty() && text.trimmed().isEmpty()) {
            title = line.mid(3).trimmed();
            continue;
        }
        text += line + u'\n';
    }
    flush();
    QVERIFY(count > 100);
}

void TestCorpus::corpus()
{
    QFETCH(QString, tsql);
    fixture::Database db;
    db.run(QStringLiteral("Insert Into felev (felev_nev, felev_datumtol, felev_datumig) Values ('2024/25/1', '20240901', '20250131')"));
    try {
        db.run(tsql, {{QStringLiteral("OR_ID"), 1}, {QStringLiteral("FT_ID"), 1}, {QStringLiteral("KAR_ID"), 1},
                      {QStringLiteral("HALL_ID"), 1}, {QStringLiteral("FE_ID"), 1}, {QStringLiteral("hal_id"), 1},
                      {QStringLiteral("OKT_ID"), 1}, {QStringLiteral("HAL_ID"), 1}, {QStringLiteral("tan_id"), 1},
                      {QStringLiteral("fe_id"), 1}, {QStringLiteral("jelszo"), 12345}, {QStringLiteral("nev"), QStringLiteral("ADMIN")}});
    } catch (const sql::TranslateError &e) {
        QFAIL(qPrintable(e.message()));
    } catch (const fixture::SqlError &e) {
        QFAIL(qPrintable(e.message));
    }
}

QTEST_GUILESS_MAIN(TestCorpus)
#include "test_corpus.moc"
