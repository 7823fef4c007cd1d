#pragma once
// A database on the throwaway PostgreSQL server of the test fixture (KOVRA_PG_* in the
// environment), and a runner that translates Transact-SQL for PostgreSQL and sends it through
// unixODBC and psqlODBC, as the program's server path does. Setup scripts go through psql.

#include "sql/Catalog.h"
#include "sql/PostgreSqlSupport.h"
#include "sql/Translator.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>
#include <stdexcept>

namespace pgfixture {

struct SqlError : std::runtime_error {
    explicit SqlError(const QString &m) : std::runtime_error(m.toStdString()), message(m) {}
    QString message;
};

using Rows = QVector<QVector<QVariant>>;

struct Server {
    QString host, port, user, password, database;
    // nullopt outside the server fixture
    static std::optional<Server> fromEnvironment()
    {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("KOVRA_PG_HOST")))
            return std::nullopt;
        Server s;
        s.host = env.value(QStringLiteral("KOVRA_PG_HOST"));
        s.port = env.value(QStringLiteral("KOVRA_PG_PORT"), QStringLiteral("5432"));
        s.user = env.value(QStringLiteral("KOVRA_PG_USER"), QStringLiteral("postgres"));
        s.password = env.value(QStringLiteral("KOVRA_PG_PASSWORD"));
        s.database = env.value(QStringLiteral("KOVRA_PG_DATABASE"), QStringLiteral("postgres"));
        return s;
    }

    // Runs a script with psql on database db; throws SqlError with psql's output.
    void psql(const QString &db, const QString &script) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGPASSWORD"), password);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                         QStringLiteral("-h"), host, QStringLiteral("-p"), port, QStringLiteral("-U"), user,
                                         QStringLiteral("-d"), db, QStringLiteral("-f"), QStringLiteral("-")});
        p.write(script.toUtf8());
        p.closeWriteChannel();
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            throw SqlError(QStringLiteral("psql: ") + QString::fromUtf8(p.readAllStandardError()));
    }
};

// A script of batches separated by GO lines, as psql takes it.
inline QString withoutGo(const QString &script)
{
    static const QRegularExpression go(QStringLiteral("^\\s*GO\\s*$"), QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    return QString(script).replace(go, QString());
}

// A PostgreSQL value in the embedded engine's forms (what fixture::Database returns): integers as
// qint64, dates, date-times and times as their canonical texts.
inline QVariant embeddedForm(const QVariant &v)
{
    if (v.isNull())
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return QVariant(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(v.toDouble());
    case QMetaType::QDate:
        return QVariant(v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QDateTime:
        return QVariant(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case QMetaType::QTime:
        return QVariant(v.toTime().toString(QStringLiteral("HH:mm:ss")));
    default:
        return QVariant(v.toString());
    }
}

class Database {
public:
    // A new database (name: prefix and the process id) with setup run in it by psql.
    Database(const Server &server, const QString &prefix, const QString &setup) : m_server(server)
    {
        m_name = QStringLiteral("%1_%2").arg(prefix).arg(QCoreApplication::applicationPid());
        server.psql(server.database, QStringLiteral("DROP DATABASE IF EXISTS %1;\nCREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0;\n").arg(m_name));
        server.psql(m_name, setup);
        m_connection = QStringLiteral("pgfixture-%1").arg(m_name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connection);
        db.setDatabaseName(QStringLiteral("DRIVER={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;UID=%4;PWD=%5")
                               .arg(server.host, server.port, m_name, server.user, server.password));
        if (!db.open())
            throw SqlError(db.lastError().text());
        reloadCatalog();
    }
    ~Database()
    {
        translator.reset();
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
        try {
            m_server.psql(m_server.database, QStringLiteral("DROP DATABASE IF EXISTS %1;\n").arg(m_name));
        } catch (const SqlError &) {
        }
    }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void reloadCatalog()
    {
        QVector<QStringList> columns;
        QSqlQuery q(connection());
        if (!q.exec(QString::fromLatin1(sql::Catalog::PostgreSqlColumnsQuery)))
            throw SqlError(q.lastError().text());
        while (q.next())
            columns.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
        catalog = sql::Catalog::fromPostgreSqlColumns(columns);
        if (!translator)
            translator = std::make_unique<sql::Translator>(&catalog, sql::Engine::PostgreSql);
        else
            translator->clearCache();
    }

    QSqlDatabase connection() const { return QSqlDatabase::database(m_connection, false); }

    // Plain PostgreSQL text; the rows it returns.
    Rows raw(const QString &text, const QVariantMap &params = {})
    {
        QSqlQuery q(connection());
        q.setForwardOnly(true);
        bool ok;
        if (params.isEmpty()) {
            ok = q.exec(text);
        } else {
            ok = q.prepare(text);
            // names match case-insensitively, as on the server
            static const QRegularExpression placeholder(QStringLiteral("(?<![:\\w]):([A-Za-z_]\\w*)"));
            for (auto m = placeholder.globalMatch(text); ok && m.hasNext();) {
                const QString name = m.next().captured(1);
                for (auto it = params.begin(); it != params.end(); ++it)
                    if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                        q.bindValue(u':' + name, it.value());
            }
            ok = ok && q.exec();
        }
        if (!ok)
            throw SqlError(serverText(q.lastError()));
        lastAffected = q.numRowsAffected();
        lastColumns.clear();
        for (int c = 0; c < q.record().count(); ++c)
            lastColumns << q.record().fieldName(c);
        Rows rows;
        while (q.next()) {
            QVector<QVariant> row;
            for (int c = 0; c < q.record().count(); ++c)
                row << embeddedForm(q.value(c));
            rows << row;
        }
        return rows;
    }

    // Translates and runs a batch; returns the rows of its last SELECT. Throws TranslateError or
    // SqlError. "select scope_identity()" is answered from the last INSERT, as the backend does.
    Rows run(const QString &tsql, const QVariantMap &params = {})
    {
        static const QRegularExpression scopeIdentity(QStringLiteral("^\\s*select\\s+scope_identity\\s*\\(\\s*\\)\\s*(as\\s+\\w+)?\\s*;?\\s*$"),
                                                      QRegularExpression::CaseInsensitiveOption);
        if (scopeIdentity.match(tsql).hasMatch()) {
            columns = {QStringLiteral("ID")};
            return {{identity}};
        }
        const auto batch = translator->translate(tsql);
        Rows last;
        bool ddl = false;
        changes = 0;
        for (const sql::TranslatedStatement &st : batch->statements) {
            Rows rows = raw(st.sql, params);
            if (st.kind == sql::StatementKind::Insert || st.kind == sql::StatementKind::Update || st.kind == sql::StatementKind::Delete)
                changes += lastAffected;
            if (st.kind == sql::StatementKind::Insert) {
                if (!st.returnsIdentity)
                    identity = QVariant();
                else if (!rows.isEmpty())
                    identity = rows.last().value(0);
            }
            if (st.kind == sql::StatementKind::Select) {
                last = rows;
                columns = lastColumns;
            }
            ddl = ddl || st.kind == sql::StatementKind::Ddl;
        }
        if (ddl)
            reloadCatalog();
        return last;
    }

    QVariant scalar(const QString &tsql, const QVariantMap &params = {})
    {
        const Rows rows = run(tsql, params);
        if (rows.isEmpty() || rows[0].isEmpty())
            return QVariant();
        return rows[0][0];
    }

    QString sqlOf(const QString &tsql, int index = 0) { return translator->translate(tsql)->statements.value(index).sql; }

    // The server's message without psqlODBC's decoration.
    static QString serverText(const QSqlError &e)
    {
        QString t = e.databaseText().trimmed();
        if (t.isEmpty())
            t = e.text();
        static const QRegularExpression prefix(QStringLiteral("^(ERROR|FEHLER|HIBA):\\s*"));
        t.remove(prefix);
        const qsizetype end = t.indexOf(QLatin1String(";\nError while"));
        if (end >= 0)
            t.truncate(end);
        const qsizetype context = t.indexOf(QLatin1String("\nCONTEXT:"));
        if (context >= 0)
            t.truncate(context);
        return t.trimmed();
    }

    sql::Catalog catalog;
    std::unique_ptr<sql::Translator> translator;
    QVariant identity;
    qint64 lastAffected = 0; // of the last raw statement
    qint64 changes = 0;      // rows written by the last run
    QStringList lastColumns; // of the last raw statement
    QStringList columns;     // of the last run's SELECT

private:
    Server m_server;
    QString m_name;
    QString m_connection;
};

} // namespace pgfixture
