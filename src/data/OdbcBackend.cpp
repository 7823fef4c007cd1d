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

QString verbOf(sql::StatementKind kind)
{
    switch (kind) {
    case sql::StatementKind::Insert: return QStringLiteral("INSERT");
    case sql::StatementKind::Update: return QStringLiteral("UPDATE");
    case sql::StatementKind::Delete: return QStringLiteral("DELETE");
    default: return {};
    }
}

} // namespace

OdbcBackend::OdbcBackend(const ServerProfile &profile) : m_profile(profile)
{
    static QAtomicInt counter;
    m_name = QStringLiteral("kovra-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
}

OdbcBackend::~OdbcBackend() { close(); }

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

// Without parameters the text goes as it is (no placeholder parsing of ':' inside literals).
void OdbcBackend::send(QSqlQuery &q, const QString &sql, const StatementParams &params, const QString &verb)
{
    ++m_roundTrips;
    q.setForwardOnly(true);
    bool ok;
    if (params.isEmpty()) {
        ok = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            throw DbError(m_profile.serverMessage(errorText(q.lastError()), verb));
        for (const auto &p : params)
            q.bindValue(u':' + p.first, p.second);
        ok = q.exec();
    }
    if (!ok)
        throw DbError(m_profile.serverMessage(errorText(q.lastError()), verb));
}

void OdbcBackend::open(const ConnectionSettings &settings)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(QStringLiteral("Az ODBC adatbázis-meghajtó nem érhető el."));
    }
    db.setDatabaseName(m_profile.odbcConnectionString(settings));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(m_profile.loginTimeoutSeconds));
    const auto fail = [&](const QString &msg) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(msg);
    };
    if (!db.open())
        fail(m_profile.serverMessage(errorText(db.lastError()), {}));
    try {
        for (const QString &setup : m_profile.sessionSetup) {
            QSqlQuery q(db);
            send(q, setup, {});
        }
        m_clockSent.clear();
        m_lastIdentity = QVariant();
        if (m_profile.translates)
            reloadCatalog();
    } catch (const DbError &e) {
        fail(e.message());
    }
}

void OdbcBackend::reloadCatalog()
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    send(q, QString::fromLatin1(sql::Catalog::PostgreSqlColumnsQuery), {});
    QVector<QStringList> rows;
    while (q.next()) {
        QStringList row;
        for (int c = 0; c < 4; ++c)
            row << q.value(c).toString();
        rows.append(std::move(row));
    }
    m_catalog = sql::Catalog::fromPostgreSqlColumns(rows);
    if (!m_translator)
        m_translator = std::make_unique<sql::Translator>(&m_catalog, sql::Engine::PostgreSql);
    else
        m_translator->clearCache();
}

void OdbcBackend::close()
{
    m_translator.reset();
    m_catalog.clear();
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

// A fixed clock of the caller reaches the server's getdate() through the session setting kovra.now.
void OdbcBackend::sendClock()
{
    if (!fixedClock || !m_profile.translates)
        return;
    const QString now = clock().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (now == m_clockSent)
        return;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    send(q, QStringLiteral("SET kovra.now = '%1'").arg(now), {});
    m_clockSent = now;
}

ResultSet OdbcBackend::query(const QString &sql, const StatementParams &params)
{
    if (isScopeIdentityQuery(sql)) {
        ResultSet r;
        r.columns = {ResultColumn{QStringLiteral("ID"), FieldType::Integer}};
        r.rows = {{m_lastIdentity}};
        return r;
    }
    return run(sql, params, true).rows;
}

qint64 OdbcBackend::execute(const QString &sql, const StatementParams &params)
{
    return run(sql, params, false).changes;
}

OdbcBackend::Outcome OdbcBackend::run(const QString &sql, const StatementParams &params, bool wantRows)
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen())
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    Outcome out;
    const auto collect = [&](QSqlQuery &q, const QVector<FieldType> &known) {
        out.hasRows = true;
        const QSqlRecord rec = q.record();
        for (int c = 0; c < rec.count(); ++c) {
            const FieldType t = c < known.size() && known[c] != FieldType::Unknown ? known[c] : typeOf(rec.field(c));
            out.rows.columns.append(ResultColumn{rec.fieldName(c), t});
        }
        while (q.next()) {
            QVector<QVariant> row(rec.count());
            for (int c = 0; c < rec.count(); ++c)
                row[c] = q.value(c);
            out.rows.rows.append(std::move(row));
        }
    };

    if (!m_profile.translates) {
        QSqlQuery q(db);
        const bool insert = isInsert(sql);
        send(q, insert && m_profile.identityInBatch ? withIdentity(sql) : sql, params);
        if (insert) {
            m_lastIdentity = q.next() ? q.value(0) : QVariant();
            out.changes = 1;
        } else if (wantRows && q.isSelect()) {
            collect(q, {});
        } else {
            out.changes = q.numRowsAffected();
        }
        return out;
    }

    std::shared_ptr<const sql::TranslatedBatch> batch;
    try {
        batch = m_translator->translate(sql);
    } catch (const sql::TranslateError &e) {
        throw DbError(e.message());
    }
    sendClock();
    for (const sql::TranslatedStatement &st : batch->statements) {
        QSqlQuery q(db);
        send(q, st.sql, params, verbOf(st.kind));
        if (st.returnsIdentity) {
            qint64 n = 0;
            QVariant last;
            while (q.next()) {
                last = q.value(0);
                ++n;
            }
            if (n > 0)
                m_lastIdentity = last;
            out.changes += n;
            continue;
        }
        if (st.kind == sql::StatementKind::Insert)
            m_lastIdentity = QVariant();
        if (st.kind == sql::StatementKind::Insert || st.kind == sql::StatementKind::Update
            || st.kind == sql::StatementKind::Delete)
            out.changes += q.numRowsAffected();
        else if (wantRows && !out.hasRows && q.isSelect())
            collect(q, st.resultTypes);
        if (st.kind == sql::StatementKind::Ddl)
            reloadCatalog();
    }
    return out;
}

void OdbcBackend::beginUnit()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen())
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    ++m_roundTrips;
    if (!db.transaction())
        throw DbError(m_profile.serverMessage(errorText(db.lastError()), {}));
    try {
        QSqlQuery q(db);
        send(q, m_profile.unitLock, {});
    } catch (...) {
        db.rollback();
        m_clockSent.clear();
        throw;
    }
}

void OdbcBackend::commitUnit()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    ++m_roundTrips;
    if (!db.commit())
        throw DbError(m_profile.serverMessage(errorText(db.lastError()), {}));
}

void OdbcBackend::rollbackUnit()
{
    m_clockSent.clear(); // a SET inside the transaction is undone with it
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.rollback();
}
