#include "Connection.h"

#include "DbError.h"
#include "OdbcBackend.h"
#include "SqliteBackend.h"

ConnectionSettings ConnectionSettings::parse(const QString &connectionString)
{
    ConnectionSettings s;
    for (const QString &part : connectionString.split(u';')) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1);
        if (key.compare(u"Provider", Qt::CaseInsensitive) == 0) s.provider = value;
        else if (key.compare(u"Password", Qt::CaseInsensitive) == 0) s.password = value;
        else if (key.compare(u"User ID", Qt::CaseInsensitive) == 0) s.userId = value;
        else if (key.compare(u"Initial Catalog", Qt::CaseInsensitive) == 0) s.catalog = value;
        else if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) s.dataSource = value;
    }
    return s;
}

namespace {
// "postgresql:HOST[:PORT]": the port is the part after the last ':' when it is all digits.
std::pair<QString, QString> postgreSqlAddress(const QString &dataSource)
{
    const QString rest = dataSource.mid(11).trimmed();
    const qsizetype colon = rest.lastIndexOf(u':');
    if (colon > 0) {
        const QString port = rest.mid(colon + 1).trimmed();
        bool digits = !port.isEmpty();
        for (QChar c : port)
            digits = digits && c.isDigit();
        if (digits)
            return {rest.left(colon).trimmed(), port};
    }
    return {rest, QString()};
}
} // namespace

QString ConnectionSettings::postgreSqlHost() const { return postgreSqlAddress(dataSource).first; }
QString ConnectionSettings::postgreSqlPort() const { return postgreSqlAddress(dataSource).second; }

Connection::Connection(QObject *parent) : QObject(parent) {}

Connection::~Connection() { close(); }

void Connection::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
    if (m_backend && m_clock) {
        m_backend->clock = m_clock;
        m_backend->fixedClock = true;
    }
}

void Connection::open()
{
    close();
    const ConnectionSettings settings = ConnectionSettings::parse(m_connectionString);
    m_embedded = settings.isEmbedded();
    std::unique_ptr<Backend> backend;
    if (m_embedded)
        backend = std::make_unique<SqliteBackend>(m_neptunPath);
    else
        backend = std::make_unique<OdbcBackend>(ServerProfile::forSettings(settings));
    if (m_clock) {
        backend->clock = m_clock;
        backend->fixedClock = true;
    }
    backend->open(settings);
    m_backend = std::move(backend);
}

void Connection::close()
{
    // an open unit ends with the connection (the engine drops its transaction)
    m_unitDepth = 0;
    m_unitFailed = false;
    ++m_unitGeneration;
    if (m_backend)
        m_backend->close();
    m_backend.reset();
}

bool Connection::isOpen() const { return m_backend && m_backend->isOpen(); }

Backend &Connection::requireOpen()
{
    if (!isOpen())
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    return *m_backend;
}

ResultSet Connection::query(const QString &component, const QString &sql, const StatementParams &params)
{
    TraceStatement(component, sql, params);
    Backend &b = requireOpen();
    Q_EMIT statementSent(component, sql);
    return b.query(sql, params);
}

qint64 Connection::execute(const QString &component, const QString &sql, const StatementParams &params)
{
    TraceStatement(component, sql, params);
    Backend &b = requireOpen();
    Q_EMIT statementSent(component, sql);
    return b.execute(sql, params);
}

WriteUnit::WriteUnit(Connection *connection) : m_connection(connection)
{
    Backend &b = m_connection->requireOpen();
    if (m_connection->m_unitDepth == 0) {
        b.beginUnit();
        m_outer = true;
        m_connection->m_unitFailed = false;
    }
    ++m_connection->m_unitDepth;
    m_generation = m_connection->m_unitGeneration;
}

WriteUnit::~WriteUnit()
{
    if (m_finished || m_connection->m_unitGeneration != m_generation)
        return;
    --m_connection->m_unitDepth;
    if (!m_outer) {
        m_connection->m_unitFailed = true;
        return;
    }
    if (m_connection->m_backend)
        m_connection->m_backend->rollbackUnit();
}

void WriteUnit::commit()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_connection->m_unitGeneration != m_generation)
        throw DbError(QStringLiteral("Megszakadt az adatbázis-kapcsolat; a művelet nem íródott be."));
    --m_connection->m_unitDepth;
    if (!m_outer)
        return;
    Backend &b = m_connection->requireOpen();
    if (m_connection->m_unitFailed) {
        m_connection->m_unitFailed = false;
        b.rollbackUnit();
        throw DbError(QStringLiteral("A művelet egy része nem sikerült; semmi sem íródott be."));
    }
    try {
        b.commitUnit();
    } catch (...) {
        b.rollbackUnit();
        throw;
    }
}
