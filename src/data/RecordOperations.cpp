#include "RecordOperations.h"

#include "Adatmodul.h"
#include "Connection.h"
#include "DbError.h"
#include "LoginInfo.h"
#include "TextUtils.h"

namespace {

Dataset &query1()
{
    if (!form_Adatmodul)
        throw DbError(QStringLiteral("Az adatmodul nincs létrehozva."));
    return form_Adatmodul->Query1;
}

QString quoted(const QString &value) { return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\''; }

QString withoutQuotes(const QString &text) { return QString(text).remove(u'\''); }

Connection *connectionOf(Dataset &q)
{
    if (!q.connection())
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    return q.connection();
}

// Closes Query1 on every way out.
struct CloseQuery1 {
    Dataset &q;
    ~CloseQuery1() { q.close(); }
};

} // namespace

bool IsNullFieldValue(const QString &value)
{
    if (value.compare(u"null", Qt::CaseInsensitive) == 0)
        return true;
    for (QChar c : value)
        if (c != u' ' && c != u'\t')
            return false;
    return true;
}

QString SqlFieldValue(const QString &value) { return IsNullFieldValue(value) ? QStringLiteral("null") : quoted(value); }

void InsertRecord(const QString &table, const QStringList &fields, bool checkExisting, QString &newId)
{
    Dataset &q = query1();
    CloseQuery1 closer{q};
    q.close();
    q.setSql(QString());
    q.clearParams();

    QStringList columns, values;
    QString match;
    for (const QString &element : fields) {
        if (element.isEmpty())
            continue;
        const qsizetype eq = element.indexOf(u'=');
        const QString column = eq < 0 ? QString() : element.left(eq);
        const QString value = TrimControl(eq < 0 ? element : element.mid(eq + 1));
        const bool isNull = IsNullFieldValue(value);
        const QString written = isNull ? QStringLiteral("null") : quoted(value);
        if (columns.isEmpty()) {
            match = isNull ? QString(column + QStringLiteral(" is null ")) : QString(column + QStringLiteral(" = ") + written);
        } else if (!column.contains(QLatin1String("DATUMTOL")) && !column.contains(QLatin1String("DATUMIG"))) {
            match += isNull ? QString(QStringLiteral(" AND ") + column + QStringLiteral(" is null"))
                            : QString(QStringLiteral(" AND ") + column + u'=' + written);
        }
        columns << column;
        values << written;
    }
    const QString columnList = columns.join(QStringLiteral(", "));
    const QString valueList = values.join(QStringLiteral(", "));

    // the existing-row check, the insert and its audit row as one unit
    newId.clear();
    WriteUnit unit(connectionOf(q));
    int existing = 0;
    if (checkExisting) {
        q.setSql(QStringLiteral("Select Count(*) DB From ") + table + QStringLiteral(" Where ") + match);
        q.open();
        existing = q.fieldByName(QStringLiteral("DB")).asInteger();
        q.close();
    }
    QString key; // handed back only once the unit is committed
    if (!checkExisting || existing == 0) {
        q.setSql(QStringLiteral("Insert Into ") + table + QStringLiteral(" (") + columnList + QStringLiteral(") Values (")
                 + valueList + u')');
        q.execSql();
        q.setSql(QStringLiteral("select scope_identity() as ID"));
        q.open();
        key = q.fieldByName(QStringLiteral("ID")).asString();
        q.close();
        if (key.isEmpty())
            key = withoutQuotes(valueList).split(u',').value(0);
    } else {
        q.setSql(QStringLiteral("Select * from ") + table + QStringLiteral(" where ") + match);
        q.open();
        if (q.fieldCount() > 0 && q.fieldName(0).toUpper().contains(QLatin1String("_ID")))
            key = q.field(0).asString();
        q.close();
    }
    q.setSql(QStringLiteral("Insert Into esemenynaplo (etipus_id, esemeny_datum, felh_id, erintett_tabla, erintett_rekord, "
                            "uj_ertek) Values ('1', getdate(),'")
             + LoginInfo.UserId + QStringLiteral("','") + table + QStringLiteral("','") + key + QStringLiteral("','")
             + withoutQuotes(valueList) + QStringLiteral("')"));
    q.execSql();
    unit.commit();
    newId = key;
}

void UpdateRecord(const QString &table, const QStringList &fields, const QString &condition)
{
    Dataset &q = query1();
    CloseQuery1 closer{q};
    q.close();
    q.clearParams();
    // the read of the old values, the update and its audit row as one unit
    WriteUnit unit(connectionOf(q));
    q.setSql(QStringLiteral("Select * From ") + table + QStringLiteral(" Where ") + condition);
    q.open();
    if (q.isEmpty()) {
        unit.commit();
        return;
    }
    QString key = q.field(0).asString();
    QString oldValues;
    for (int c = 0; c < q.fieldCount(); ++c)
        oldValues += q.fieldName(c) + u'=' + q.field(c).asString() + QStringLiteral("; ");
    q.close();

    QStringList set;
    for (const QString &element : fields) {
        if (element.isEmpty())
            continue;
        const qsizetype eq = element.indexOf(u'=');
        const QString column = eq < 0 ? QString() : element.left(eq);
        const QString value = eq < 0 ? element : element.mid(eq + 1);
        set << (IsNullFieldValue(value) ? QString(column + QStringLiteral(" = Null"))
                                        : QString(column + QStringLiteral(" = ") + quoted(value)));
    }
    const QString setList = set.join(QStringLiteral(", "));
    q.setSql(QStringLiteral("Update ") + table + QStringLiteral(" Set ") + setList + QStringLiteral(" Where ") + condition);
    q.execSql();
    if (key.isEmpty())
        key = withoutQuotes(setList).split(u',').value(0);
    q.setSql(QStringLiteral("Insert Into esemenynaplo (etipus_id, esemeny_datum, felh_id, erintett_tabla, erintett_rekord, "
                            "regi_ertek, uj_ertek) Values ('2', getdate(),'")
             + LoginInfo.UserId + QStringLiteral("','") + table + QStringLiteral("','") + key + QStringLiteral("','")
             + withoutQuotes(oldValues) + QStringLiteral("','") + withoutQuotes(setList) + QStringLiteral("')"));
    q.execSql();
    unit.commit();
}

void DeleteRecord(const QString &table, const QString &condition)
{
    Dataset &q = query1();
    CloseQuery1 closer{q};
    q.close();
    q.clearParams();
    q.setSql(QStringLiteral("delete from ") + table + QStringLiteral(" Where ") + condition);
    q.execSql();
}
