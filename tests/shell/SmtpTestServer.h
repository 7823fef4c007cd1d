#pragma once
// A small SMTP server on 127.0.0.1 for the mail tests. It runs in a thread of its own (the client
// under test blocks the test's thread), answers like a real server and records the session.

#include <QByteArray>
#include <QMutex>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

class SmtpTestServer {
public:
    struct Session {
        QStringList commands; // every command line as received
        QByteArray data;      // the message between DATA and the final dot (dots unstuffed)
    };

    // advertiseAuth: EHLO offers AUTH PLAIN. refuseRecipients: every RCPT TO gets 550.
    explicit SmtpTestServer(bool advertiseAuth = true, bool refuseRecipients = false)
        : m_auth(advertiseAuth), m_refuse(refuseRecipients)
    {
        m_thread.start();
        m_server = new QTcpServer;
        m_server->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_server,
            [this] {
                m_server->listen(QHostAddress::LocalHost, 0);
                m_port = m_server->serverPort();
                QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] { accept(); });
            },
            Qt::BlockingQueuedConnection);
    }
    ~SmtpTestServer()
    {
        QMetaObject::invokeMethod(m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    QList<Session> sessions() const
    {
        QMutexLocker lock(&m_mutex);
        return m_sessions;
    }
    int connections() const
    {
        QMutexLocker lock(&m_mutex);
        return int(m_sessions.size());
    }

private:
    void accept()
    {
        while (QTcpSocket *s = m_server->nextPendingConnection()) {
            int index;
            {
                QMutexLocker lock(&m_mutex);
                m_sessions.append(Session{});
                index = int(m_sessions.size()) - 1;
            }
            auto buffer = std::make_shared<QByteArray>();
            auto inData = std::make_shared<bool>(false);
            auto inAuth = std::make_shared<bool>(false);
            QObject::connect(s, &QTcpSocket::readyRead, s, [=, this] {
                *buffer += s->readAll();
                qsizetype eol;
                while ((eol = buffer->indexOf("\r\n")) >= 0) {
                    const QByteArray line = buffer->left(eol);
                    buffer->remove(0, eol + 2);
                    QMutexLocker lock(&m_mutex);
                    Session &session = m_sessions[index];
                    if (*inData) {
                        if (line == ".") {
                            *inData = false;
                            s->write("250 2.0.0 accepted\r\n");
                        } else {
                            session.data += (line.startsWith("..") ? line.mid(1) : line) + "\r\n";
                        }
                        continue;
                    }
                    session.commands << QString::fromLatin1(line);
                    if (*inAuth) {
                        *inAuth = false;
                        s->write("235 2.7.0 authenticated\r\n");
                        continue;
                    }
                    const QByteArray verb = line.left(4).toUpper();
                    if (verb == "EHLO")
                        s->write(m_auth ? "250-localhost\r\n250-AUTH PLAIN\r\n250 8BITMIME\r\n" : "250-localhost\r\n250 8BITMIME\r\n");
                    else if (verb == "HELO")
                        s->write("250 localhost\r\n");
                    else if (verb == "AUTH") {
                        if (line.split(' ').size() >= 3) {
                            s->write("235 2.7.0 authenticated\r\n");
                        } else {
                            *inAuth = true;
                            s->write("334 \r\n");
                        }
                    } else if (verb == "MAIL")
                        s->write("250 2.1.0 ok\r\n");
                    else if (verb == "RCPT")
                        s->write(m_refuse ? "550 5.1.1 no such user\r\n" : "250 2.1.5 ok\r\n");
                    else if (verb == "DATA") {
                        *inData = true;
                        s->write("354 go ahead\r\n");
                    } else if (verb == "QUIT") {
                        s->write("221 2.0.0 bye\r\n");
                        s->disconnectFromHost();
                    } else
                        s->write("250 ok\r\n");
                }
            });
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            s->write("220 localhost ESMTP test\r\n");
        }
    }

    bool m_auth, m_refuse;
    QThread m_thread;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QList<Session> m_sessions;
};

// Decodes quoted-printable text (soft breaks removed, =XX bytes restored).
inline QByteArray DecodeQuotedPrintable(const QByteArray &qp)
{
    QByteArray out;
    for (qsizetype i = 0; i < qp.size(); ++i) {
        if (qp[i] == '=' && i + 2 < qp.size() && qp[i + 1] == '\r' && qp[i + 2] == '\n') {
            i += 2;
        } else if (qp[i] == '=' && i + 2 < qp.size()) {
            out += char(QByteArray::fromHex(qp.mid(i + 1, 2)).at(0));
            i += 2;
        } else {
            out += qp[i];
        }
    }
    return out;
}
