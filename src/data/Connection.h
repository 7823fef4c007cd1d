#pragma once
// The program's single database connection (the data module's ADOConn). Chooses the backend from
// the connection string; every statement passes through the statement trace before it is sent.

#include "Backend.h"

#include <QObject>
#include <memory>

class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString &text) { m_connectionString = text; }
    const QString &connectionString() const { return m_connectionString; }

    // The Neptun stand-in of the embedded engine (an SQLite file); empty = none.
    void setNeptunDatabase(const QString &path) { m_neptunPath = path; }
    const QString &neptunDatabase() const { return m_neptunPath; }

    // getdate() of the embedded engine; tests set a fixed clock.
    void setClock(std::function<QDateTime()> clock);

    void open(); // throws DbError
    void close();
    bool isOpen() const;
    bool isEmbedded() const { return m_embedded; }

    ResultSet query(const QString &component, const QString &sql, const StatementParams &params = {});
    qint64 execute(const QString &component, const QString &sql, const StatementParams &params = {});

    Backend *backend() const { return m_backend.get(); }
    // Depth of the write units open on this connection (0 = none).
    int unitDepth() const { return m_unitDepth; }

Q_SIGNALS:
    // Every statement, as it is sent.
    void statementSent(const QString &component, const QString &sql);

private:
    friend class WriteUnit;
    Backend &requireOpen();

    QString m_connectionString;
    QString m_neptunPath;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<Backend> m_backend;
    bool m_embedded = false;
    int m_unitDepth = 0;
    quint64 m_unitGeneration = 0; // changes whenever the connection is closed
    bool m_unitFailed = false;     // an inner unit ended without commit
};

// One unit of work on a connection: its checks and writes take effect together or not at all, and
// another workstation's unit runs wholly before or after it. The embedded engine takes the write
// lock before the first statement (BEGIN IMMEDIATE; the busy timeout waits for the other
// workstation); SQL Server holds an exclusive application lock for the transaction.
// Units nest: an inner unit joins the outer one, and only the outermost commits. A unit left
// without commit() (an exception) rolls back; an inner one marks the outer unit so that its commit
// rolls back too. Between units statements run on their own, as everywhere else.
class WriteUnit {
public:
    explicit WriteUnit(Connection *connection); // throws DbError when the lock cannot be had
    ~WriteUnit();
    WriteUnit(const WriteUnit &) = delete;
    WriteUnit &operator=(const WriteUnit &) = delete;
    void commit(); // throws DbError

private:
    Connection *m_connection;
    quint64 m_generation = 0;
    bool m_outer = false;
    bool m_finished = false;
};
