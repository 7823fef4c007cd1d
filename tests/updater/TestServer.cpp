#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// One connection: reads the request line and headers, then answers according to the route.
class Connection : public QObject {
public:
    Connection(TestServer *server, QTcpSocket *socket) : QObject(socket), m_server(server), m_socket(socket)
    {
        connect(socket, &QTcpSocket::readyRead, this, [this] { onReadyRead(); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void onReadyRead()
    {
        if (m_answered)
            return;
        m_request += m_socket->readAll();
        const qsizetype end = m_request.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        m_answered = true;
        const QList<QByteArray> requestLine = m_request.left(m_request.indexOf("\r\n")).split(' ');
        const QString target = requestLine.size() >= 2 ? QUrl::fromPercentEncoding(requestLine[1]) : QString();
        m_server->recordRequest(target);

        TestServer::Route route;
        QString file;
        if (!m_server->route(target, &route, &file)) {
            route.status = 404;
            route.body = "<html><body>404 Not Found</body></html>";
        } else if (!file.isEmpty()) {
            QFile f(file);
            if (f.open(QIODevice::ReadOnly))
                route.body = f.readAll();
        }
        if (route.noAnswer)
            return;
        m_route = route;
        if (route.endless) {
            m_socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n");
            const QByteArray block = route.body.isEmpty() ? QByteArray(65536, 'e') : route.body;
            // refilled as the client reads, never more than a few blocks ahead
            auto refill = [this, block] {
                while (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesToWrite() < 4 * block.size())
                    m_socket->write(block);
            };
            connect(m_socket, &QTcpSocket::bytesWritten, this, refill);
            refill();
            return;
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reason(route.status) + "\r\n";
        head += "Content-Type: application/octet-stream\r\n";
        head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        m_socket->write(head);
        const qint64 limit = route.stallAfter >= 0 ? std::min<qint64>(route.stallAfter, route.body.size()) : route.body.size();
        m_pending = route.body.left(limit);
        if (route.chunkSize <= 0) {
            m_socket->write(m_pending);
            m_pending.clear();
            finishIfComplete();
            return;
        }
        auto *timer = new QTimer(this);
        timer->setInterval(route.chunkDelayMs);
        connect(timer, &QTimer::timeout, this, [this, timer] {
            if (m_socket->state() != QAbstractSocket::ConnectedState) {
                timer->stop();
                return;
            }
            m_socket->write(m_pending.left(m_route.chunkSize));
            m_pending.remove(0, std::min<qsizetype>(m_route.chunkSize, m_pending.size()));
            if (m_pending.isEmpty()) {
                timer->stop();
                finishIfComplete();
            }
        });
        timer->start();
    }

    void finishIfComplete()
    {
        if (m_route.stallAfter >= 0)
            return; // stays open, silent
        m_socket->disconnectFromHost();
    }

    TestServer *m_server;
    QTcpSocket *m_socket;
    QByteArray m_request;
    QByteArray m_pending;
    TestServer::Route m_route;
    bool m_answered = false;
};

} // namespace

TestServer::TestServer()
{
    start();
    m_ready.acquire();
}

TestServer::~TestServer()
{
    quit();
    wait();
}

QString TestServer::url() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

void TestServer::setRoot(const QString &folder)
{
    QMutexLocker lock(&m_mutex);
    m_root = folder;
}

void TestServer::setRoute(const QString &path, const Route &route)
{
    QMutexLocker lock(&m_mutex);
    m_routes.insert(path, route);
}

void TestServer::removeRoute(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_routes.remove(path);
}

QStringList TestServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void TestServer::clearRequests()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

int TestServer::requestCount(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return int(m_requests.count(path));
}

void TestServer::recordRequest(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_requests.append(path);
}

bool TestServer::route(const QString &path, Route *route, QString *file) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_routes.constFind(path);
    if (it != m_routes.constEnd()) {
        *route = *it;
        file->clear();
        return true;
    }
    if (m_root.isEmpty() || path.contains(QStringLiteral("..")))
        return false;
    const QString candidate = QDir(m_root).filePath(path.mid(1));
    if (!QFileInfo(candidate).isFile())
        return false;
    *file = candidate;
    return true;
}

void TestServer::run()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    m_port = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            new Connection(this, socket);
    });
    m_ready.release();
    exec();
}
