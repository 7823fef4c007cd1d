// Cost of translating statements: the first translation, the text cache, the shape cache.

#include "sql/Translator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main()
{
    sql::Catalog catalog;
    sql::TableInfo jelenlet;
    jelenlet.name = QStringLiteral("jelenlet");
    jelenlet.columns = {{QStringLiteral("jelenlet_id"), FieldType::Integer, true},
                        {QStringLiteral("hallgato_id"), FieldType::Integer, false},
                        {QStringLiteral("orarend_id"), FieldType::Integer, false},
                        {QStringLiteral("jelenlet_datum"), FieldType::Date, false},
                        {QStringLiteral("jt_id"), FieldType::Integer, false}};
    catalog.addTable(jelenlet);
    sql::TableInfo hallgato;
    hallgato.name = QStringLiteral("hallgato");
    hallgato.columns = {{QStringLiteral("hallgato_id"), FieldType::Integer, true},
                        {QStringLiteral("hallgato_kod"), FieldType::Text, false},
                        {QStringLiteral("hallgato_diak"), FieldType::Text, false},
                        {QStringLiteral("hallgato_oa"), FieldType::Text, false}};
    catalog.addTable(hallgato);
    sql::Translator translator(&catalog);

    QStringList codes;
    for (int i = 0; i < 420; ++i)
        codes << QStringLiteral("'K%1'").arg(i, 5, 10, QLatin1Char('0'));
    const QString list = codes.join(u',');
    const QString statements[] = {
        QStringLiteral("Select jelenlet_id From jelenlet Where orarend_id=12 and hallgato_id=345 and "
                       "DATEDIFF(week,jelenlet_datum,'20240917')=0"),
        QStringLiteral("Select hallgato_kod From hallgato Where hallgato_id=345 and ((hallgato_kod in (%1)) or "
                       "(hallgato_diak in (%1)) or (hallgato_oa in (%1)))")
            .arg(list),
    };
    const char *names[] = {"week-entry query", "presence query (420 codes)"};
    for (int s = 0; s < 2; ++s) {
        const QString &text = statements[s];
        QElapsedTimer t;
        t.start();
        translator.clearCache();
        translator.translate(text);
        const qint64 first = t.nsecsElapsed();
        const int n = 200000;
        t.restart();
        for (int i = 0; i < n; ++i)
            translator.translate(text);
        const double cached = double(t.nsecsElapsed()) / n;
        // the caller's own copy of the text (a new QString each time) costs a hash of the text
        const QString copy = QString(text.constData(), text.size());
        t.restart();
        for (int i = 0; i < n; ++i)
            translator.translate(copy);
        const double cachedCopy = double(t.nsecsElapsed()) / n;
        std::printf("%-28s %6lld chars: first %8.1f us, cached %6.3f us (same text object), %6.3f us (equal text)\n",
                    names[s], static_cast<long long>(text.size()), first / 1000.0, cached / 1000.0, cachedCopy / 1000.0);
    }
    // the capture run sends one presence query per student: each text is new, all have one shape
    QStringList presence;
    for (int id = 0; id < 400; ++id)
        presence << QStringLiteral("Select hallgato_kod From hallgato Where hallgato_id=%1 and ((hallgato_kod in (%2)) or "
                                   "(hallgato_diak in (%2)) or (hallgato_oa in (%2)))")
                        .arg(id)
                        .arg(list);
    translator.clearCache();
    QElapsedTimer t;
    t.start();
    for (const QString &text : std::as_const(presence))
        translator.translate(text);
    const sql::Translator::Statistics stats = translator.statistics();
    std::printf("400 presence queries of different students: %.1f ms in all, %.1f us each (%lld from the shape of the first)\n",
                t.nsecsElapsed() / 1e6, t.nsecsElapsed() / 400e3, static_cast<long long>(stats.shapeHits));
    return 0;
}
