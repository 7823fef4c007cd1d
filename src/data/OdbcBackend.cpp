#include "OdbcBackend.h"

#include "DbError.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString odbcValue(const QString &v)
{
    // ODBC attribute values holding ; { } are braced, with } doubled.
    if (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v.startsWith(u' ') || v.endsWith(u' '))
        return u'{' + QString(v).replace(QStringLiteral("}"), QStringLiteral("}}")) + u'}';
    return v;
}

FieldType typeOf(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Float;
    case QMetaType::Bool:
        return FieldType::Flag;
    case QMetaType::QDate:
        return FieldType::Date;
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QTime:
        return FieldType::Time;
    case QMetaType::QString:
        return FieldType::Text;
    default:
        return FieldType::Unknown;
    }
}

QString errorText(const QSqlError &e)
{
    const QString db = e.databaseText().trimmed();
    return db.isEmpty() ? e.text() : db;
}

// Without parameters the text goes as it is (no placeholder parsing of ':' inside literals).
void send(QSqlQuery &q, const QString &sql, const StatementParams &params)
{
    q.setForwardOnly(true);
    bool ok;
    if (params.isEmpty()) {
        ok = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            throw DbError(errorText(q.lastError()));
        for (const auto &p : params)
            q.bindValue(u':' + p.first, p.second);
        ok = q.exec();
    }
    if (!ok)
        throw DbError(errorText(q.lastError()));
}

} // namespace

OdbcBackend::OdbcBackend()
{
    static QAtomicInt counter;
    m_name = QStringLiteral("kovra-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
}

OdbcBackend::~OdbcBackend() { close(); }

QString OdbcBackend::odbcConnectionString(const ConnectionSettings &s)
{
    QString server = s.dataSource.trimmed();
    if (server.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive))
        server = server.mid(4);
    QString port;
    const qsizetype comma = server.indexOf(u',');
    if (comma >= 0) {
        port = server.mid(comma + 1).trimmed();
        server = server.left(comma).trimmed();
    }
    QString text = QStringLiteral("DRIVER={FreeTDS};Server=") + odbcValue(server);
    if (!port.isEmpty())
        text += QStringLiteral(";Port=") + odbcValue(port);
    text += QStringLiteral(";Database=") + odbcValue(s.catalog) + QStringLiteral(";UID=") + odbcValue(s.userId)
            + QStringLiteral(";PWD=") + odbcValue(s.password) + QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
    return text;
}

bool OdbcBackend::isInsert(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral("^\\s*insert\\s"), QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

bool OdbcBackend::isScopeIdentityQuery(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+scope_identity\\s*\\(\\s*\\)\\s*(as\\s+\\w+)?\\s*;?\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

QString OdbcBackend::withIdentity(const QString &insertSql)
{
    return QStringLiteral("SET NOCOUNT ON; ") + insertSql + QStringLiteral("; SELECT scope_identity() AS ID");
}

void OdbcBackend::open(const ConnectionSettings &settings)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(QStringLiteral("Az ODBC adatbázis-meghajtó nem érhető el."));
    }
    db.setDatabaseName(odbcConnectionString(settings));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=15"));
    if (!db.open()) {
        const QString msg = errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(msg);
    }
}

void OdbcBackend::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool OdbcBackend::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

ResultSet OdbcBackend::query(const QString &sql, const StatementParams &params)
{
    if (isScopeIdentityQuery(sql)) {
        ResultSet r;
        r.columns = {ResultColumn{QStringLiteral("ID"), FieldType::Integer}};
        r.rows = {{m_lastIdentity}};
        return r;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    send(q, sql, params);
    ResultSet r;
    const QSqlRecord rec = q.record();
    for (int c = 0; c < rec.count(); ++c)
        r.columns.append(ResultColumn{rec.fieldName(c), typeOf(rec.field(c))});
    while (q.next()) {
        QVector<QVariant> row(rec.count());
        for (int c = 0; c < rec.count(); ++c)
            row[c] = q.value(c);
        r.rows.append(std::move(row));
    }
    return r;
}

qint64 OdbcBackend::execute(const QString &sql, const StatementParams &params)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    const bool insert = isInsert(sql);
    send(q, insert ? withIdentity(sql) : sql, params);
    if (insert) {
        m_lastIdentity = q.next() ? q.value(0) : QVariant();
        return 1;
    }
    return q.numRowsAffected();
}

QString OdbcBackend::unitLockStatement()
{
    return QStringLiteral("SET NOCOUNT ON; DECLARE @kovra_lock int; EXEC @kovra_lock = sp_getapplock @Resource = N'KOVRA write unit', "
                          "@LockMode = N'Exclusive', @LockOwner = N'Transaction', @LockTimeout = 10000; "
                          "IF @kovra_lock < 0 RAISERROR(N'Az adatbázist egy másik munkaállomás foglalja; próbálja újra!', 16, 1)");
}

void OdbcBackend::beginUnit()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen())
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    if (!db.transaction())
        throw DbError(errorText(db.lastError()));
    try {
        QSqlQuery q(db);
        send(q, unitLockStatement(), {});
    } catch (...) {
        db.rollback();
        throw;
    }
}

void OdbcBackend::commitUnit()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.commit())
        throw DbError(errorText(db.lastError()));
}

void OdbcBackend::rollbackUnit()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.rollback();
}
