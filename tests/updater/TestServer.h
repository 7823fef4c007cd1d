#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the updater's tests. It runs in its own thread, so a test may
// block (waiting for a process) while it answers. GET requests are served from a folder; single paths
// can be given a status, a body, a slow pace, a stall or no answer at all.

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThread>

class TestServer : public QThread {
    Q_OBJECT

public:
    struct Route {
        int status = 200;
        QByteArray body;
        int chunkSize = 0;       // > 0: the body goes out in chunks of this size ...
        int chunkDelayMs = 0;    // ... one every chunkDelayMs
        qint64 stallAfter = -1;  // >= 0: after this many body bytes nothing more is sent
        bool noAnswer = false;   // the request is read and never answered
        bool endless = false;    // no length announced; the body repeats for as long as it is read
    };

    TestServer();
    ~TestServer() override;

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>/"
    QString url() const;

    void setRoot(const QString &folder);
    void setRoute(const QString &path, const Route &route);
    void removeRoute(const QString &path);
    QStringList requests() const;
    void clearRequests();
    int requestCount(const QString &path) const;

    // Used by the connection handlers in the server thread.
    bool route(const QString &path, Route *route, QString *file) const;
    void recordRequest(const QString &path);

protected:
    void run() override;

private:
    mutable QMutex m_mutex;
    QString m_root;
    QHash<QString, Route> m_routes;
    QStringList m_requests;
    quint16 m_port = 0;
    QSemaphore m_ready;
};
