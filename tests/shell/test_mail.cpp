// SendMail against a local SMTP server: envelope, headers, Windows-1250 quoted-printable body,
// blind copies, attachments, the installation's account, and the ways it returns false.

#include "IniFile.h"
#include "LoginInfo.h"
#include "SendMail.h"
#include "SmtpTestServer.h"
#include "TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestMail : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    void setAccount(const QString &user, const QString &password)
    {
        const QString ini = dir.filePath(QStringLiteral("kovra.ini"));
        QFile::remove(ini);
        if (!user.isEmpty()) {
            IniFile f(ini);
            f.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP felhasznalo"), user);
            f.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP jelszo"), password);
        }
        SetConfigFilePath(ini);
    }

    // Header block and body of a recorded message.
    static QPair<QByteArray, QByteArray> split(const QByteArray &message)
    {
        const qsizetype end = message.indexOf("\r\n\r\n");
        return {message.left(end + 2), message.mid(end + 4)};
    }

private Q_SLOTS:
    void init()
    {
        ResetProcessValues();
        LoginInfo.DatabaseName = QStringLiteral("KOVRA");
        setAccount({}, {});
    }

    void emptyServerSendsNothing()
    {
        SmtpTestServer server;
        LoginInfo.SmtpServer = QStringLiteral("  ");
        QVERIFY(!SendMail(QStringLiteral("a@example.org"), QStringLiteral("b@example.org"), QStringLiteral("x"), {}, {},
                          QStringLiteral("body")));
        QTest::qWait(50);
        QCOMPARE(server.connections(), 0);
    }

    void plainMessage()
    {
        SmtpTestServer server;
        LoginInfo.SmtpServer = server.address();
        LoginInfo.DatabaseName = QStringLiteral("KOVRA_teszt");
        // A long line, a line starting with a dot, a blank before a line end and Hungarian letters.
        const QString body = QStringLiteral("Árvíztűrő tükörfúrógép – ŐőŰű\r\n.pont az elején\r\nszóköz a végén \r\n")
                             + QString(100, u'x') + QStringLiteral("=egyenlő");
        QVERIFY(SendMail(QStringLiteral("kuldo@example.org"), QStringLiteral("egy@example.org, ketto@example.org"),
                         QStringLiteral("KOVRA hibajelentés"), {QString(), QStringLiteral("rejtett@example.org")}, {QString()},
                         body));
        const auto sessions = server.sessions();
        QCOMPARE(sessions.size(), 1);
        const auto &s = sessions[0];
        QVERIFY(s.commands.value(0).startsWith(QLatin1String("EHLO ")));
        // No account configured: no AUTH even though the server offers it.
        QVERIFY(s.commands.filter(QStringLiteral("AUTH")).isEmpty());
        QCOMPARE(s.commands.filter(QStringLiteral("MAIL FROM")), QStringList{"MAIL FROM:<kuldo@example.org>"});
        QCOMPARE(s.commands.filter(QStringLiteral("RCPT TO")),
                 QStringList({"RCPT TO:<egy@example.org>", "RCPT TO:<ketto@example.org>", "RCPT TO:<rejtett@example.org>"}));

        const auto [head, qp] = split(s.data);
        QVERIFY2(head.contains("From: \"KOVRA_teszt\" <kuldo@example.org>\r\n"), head.constData());
        QVERIFY(head.contains("To: egy@example.org, ketto@example.org\r\n"));
        QVERIFY(!head.contains("rejtett"));
        QVERIFY(head.contains("Subject: =?Windows-1250?Q?KOVRA_hibajelent=E9s?=\r\n"));
        QVERIFY(head.contains("Content-Type: text/plain; charset=Windows-1250\r\n"));
        QVERIFY(head.contains("Content-Transfer-Encoding: quoted-printable\r\n"));
        QVERIFY(!head.contains("multipart"));
        for (const QByteArray &line : qp.split('\n'))
            QVERIFY2(line.size() <= 77, line.constData()); // 76 characters and the CR
        QVERIFY(qp.contains("v=E9g=E9n=20\r\n"));
        // The body is the text followed by one CR LF, in Windows-1250.
        QCOMPARE(DecodeQuotedPrintable(qp), EncodeText(body + QStringLiteral("\r\n")));
    }

    void attachmentAndAccount()
    {
        SmtpTestServer server;
        LoginInfo.SmtpServer = server.address();
        setAccount(QStringLiteral("kovrahiba"), QStringLiteral("jelszo"));
        const QString file = dir.filePath(QStringLiteral("melléklet.txt"));
        QByteArray content;
        for (int i = 0; i < 300; ++i)
            content += char(i % 256);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QVERIFY(SendMail(QStringLiteral("k@example.org"), QStringLiteral("c@example.org"), QStringLiteral("tárgy"), {},
                         {file}, QStringLiteral("szöveg")));
        const auto s = server.sessions().value(0);
        // AUTH PLAIN with "\0user\0password", as initial response or after the 334.
        const QByteArray token = QByteArray("\0kovrahiba\0jelszo", 17).toBase64();
        QVERIFY2(s.commands.join(u' ').contains(QString::fromLatin1(token)), qPrintable(s.commands.join(u'|')));

        const auto [head, rest] = split(s.data);
        QVERIFY(head.contains("Content-Type: multipart/mixed; boundary="));
        QVERIFY(rest.contains("Content-Type: text/plain; charset=Windows-1250\r\n"));
        QVERIFY(rest.contains("filename=\"=?Windows-1250?Q?mell=E9klet.txt?=\""));
        const qsizetype b64 = rest.indexOf("\r\n\r\n", rest.indexOf("filename="));
        const QByteArray encoded = rest.mid(b64 + 4, rest.indexOf("\r\n--", b64) - b64 - 4);
        QCOMPARE(QByteArray::fromBase64(encoded), content);
    }

    void failures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("recipients refused") << 0;
        QTest::newRow("nobody listening") << 1;
        QTest::newRow("missing attachment") << 2;
        QTest::newRow("no recipient") << 3;
    }
    void failures()
    {
        QFETCH(int, kind);
        SmtpTestServer server(true, kind == 0);
        LoginInfo.SmtpServer = server.address();
        if (kind == 1) {
            // A port that was just free: bind and close a listener to find one.
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            LoginInfo.SmtpServer = QStringLiteral("127.0.0.1:%1").arg(probe.serverPort());
            probe.close();
        }
        const QStringList attachments = kind == 2 ? QStringList{dir.filePath(QStringLiteral("nincs.txt"))} : QStringList{};
        const QString to = kind == 3 ? QStringLiteral(" , ") : QStringLiteral("c@example.org");
        QVERIFY(!SendMail(QStringLiteral("k@example.org"), to, QStringLiteral("t"), {}, attachments, QStringLiteral("b")));
        if (kind >= 2)
            QCOMPARE(server.connections(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMail)
#include "test_mail.moc"
