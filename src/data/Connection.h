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

Q_SIGNALS:
    // Every statement, as it is sent.
    void statementSent(const QString &component, const QString &sql);

private:
    Backend &requireOpen();

    QString m_connectionString;
    QString m_neptunPath;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<Backend> m_backend;
    bool m_embedded = false;
};
