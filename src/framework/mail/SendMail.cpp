#include "SendMail.h"

#include "IniFile.h"
#include "LoginInfo.h"
#include "TextCodec.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <curl/curl.h>
#include <memory>
#include <stdexcept>

namespace {

constexpr int DefaultSmtpPort = 25;
constexpr const char *MailCharset = "Windows-1250";

bool isAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 126 || c.unicode() < 32)
            return false;
    return true;
}

// RFC 2047 encoded word in Windows-1250 ("Q" encoding) where the text is not plain ASCII.
QByteArray headerText(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    QByteArray out = QByteArray("=?") + MailCharset + "?Q?";
    static const char hex[] = "0123456789ABCDEF";
    for (char ch : EncodeText(text)) {
        const uchar b = uchar(ch);
        if (b == ' ')
            out += '_';
        else if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '.' || b == '-')
            out += char(b);
        else
            out += '=', out += hex[b >> 4], out += hex[b & 15];
    }
    return out + "?=";
}

QByteArray displayName(const QString &name)
{
    if (!isAscii(name))
        return headerText(name);
    QString quoted = name;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return '"' + quoted.toLatin1() + '"';
}

QByteArray base64Lines(const QByteArray &data)
{
    const QByteArray b = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < b.size(); i += 76)
        out += b.mid(i, 76) + "\r\n";
    return out;
}

struct Upload {
    QByteArray data;
    qsizetype offset = 0;
};

size_t readUpload(char *buffer, size_t size, size_t count, void *user)
{
    auto *u = static_cast<Upload *>(user);
    const size_t n = std::min(size * count, size_t(u->data.size() - u->offset));
    std::memcpy(buffer, u->data.constData() + u->offset, n);
    u->offset += qsizetype(n);
    return n;
}

QStringList addressList(const QString &text)
{
    QStringList out;
    for (const QString &a : text.split(u','))
        if (!a.trimmed().isEmpty())
            out << a.trimmed();
    return out;
}

// "host" or "host:port" (an IPv6 address in brackets may carry a port the same way).
QByteArray smtpUrl(const QString &server)
{
    QString host = server.trimmed();
    int port = DefaultSmtpPort;
    const qsizetype colon = host.lastIndexOf(u':');
    const bool bracketed = host.startsWith(u'[');
    if (colon > 0 && (bracketed ? host.at(colon - 1) == u']' : host.count(u':') == 1)) {
        bool ok = false;
        const int p = host.mid(colon + 1).toInt(&ok);
        if (ok && p > 0 && p < 65536) {
            port = p;
            host = host.left(colon);
        }
    }
    return "smtp://" + host.toUtf8() + ':' + QByteArray::number(port);
}

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

} // namespace

QByteArray QuotedPrintable(const QByteArray &bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    QByteArray line;
    auto flushLine = [&](bool hard) {
        // A blank or tab at the end of an encoded line would be lost in transport.
        if (hard && !line.isEmpty() && (line.endsWith(' ') || line.endsWith('\t'))) {
            const uchar last = uchar(line.back());
            line.chop(1);
            const QByteArray enc = QByteArray("=") + hex[last >> 4] + hex[last & 15];
            if (line.size() + enc.size() > 76) {
                out += line + "=\r\n";
                line.clear();
            }
            line += enc;
        }
        out += line;
        out += hard ? "\r\n" : "=\r\n";
        line.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            flushLine(true);
            ++i;
            continue;
        }
        if (b == '\n') {
            flushLine(true);
            continue;
        }
        QByteArray enc;
        if ((b >= 33 && b <= 126 && b != '=') || b == ' ' || b == '\t')
            enc = QByteArray(1, char(b));
        else
            enc = QByteArray("=") + hex[b >> 4] + hex[b & 15];
        // Keep room for the "=" of a soft break.
        if (line.size() + enc.size() > 75)
            flushLine(false);
        line += enc;
    }
    if (!line.isEmpty())
        flushLine(true);
    if (out.endsWith("\r\n") && !bytes.endsWith('\n'))
        out.chop(2);
    return out;
}

QByteArray ComposeMailMessage(const QString &from, const QStringList &to, const QString &subject,
                              const QStringList &attachments, const QString &body)
{
    QByteArray head;
    head += "From: " + displayName(LoginInfo.DatabaseName) + " <" + from.toUtf8() + ">\r\n";
    head += "To: " + to.join(QStringLiteral(", ")).toUtf8() + "\r\n";
    head += "Subject: " + headerText(subject) + "\r\n";
    head += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    head += "MIME-Version: 1.0\r\n";

    const QByteArray textPart = QByteArray("Content-Type: text/plain; charset=") + MailCharset
                                + "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
                                + QuotedPrintable(EncodeText(body + QStringLiteral("\r\n")));
    QStringList files;
    for (const QString &a : attachments)
        if (!a.isEmpty())
            files << a;
    if (files.isEmpty())
        return head + textPart;

    const QByteArray boundary = "=_KOVRA_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    QByteArray msg = head + "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    msg += "--" + boundary + "\r\n" + textPart;
    if (!msg.endsWith("\r\n"))
        msg += "\r\n";
    for (const QString &path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("attachment cannot be read: " + path.toStdString());
        const QByteArray name = headerText(QFileInfo(path).fileName());
        msg += "--" + boundary + "\r\n";
        msg += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
        msg += "Content-Transfer-Encoding: base64\r\n";
        msg += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n\r\n";
        msg += base64Lines(f.readAll());
    }
    msg += "--" + boundary + "--\r\n";
    return msg;
}

bool SendMail(const QString &from, const QString &to, const QString &subject, const QStringList &bcc,
              const QStringList &attachments, const QString &body)
{
    if (LoginInfo.SmtpServer.trimmed().isEmpty())
        return false;
    try {
        static CurlGlobal global;
        const QStringList recipients = addressList(to);
        Upload upload;
        upload.data = ComposeMailMessage(from, recipients, subject, attachments, body);

        std::unique_ptr<CURL, void (*)(CURL *)> curl(curl_easy_init(), curl_easy_cleanup);
        if (!curl)
            return false;
        curl_slist *rcpt = nullptr;
        for (const QString &r : recipients)
            rcpt = curl_slist_append(rcpt, QByteArray('<' + r.toUtf8() + '>').constData());
        for (const QString &b : bcc)
            if (!b.trimmed().isEmpty())
                rcpt = curl_slist_append(rcpt, QByteArray('<' + b.trimmed().toUtf8() + '>').constData());
        std::unique_ptr<curl_slist, void (*)(curl_slist *)> rcptGuard(rcpt, curl_slist_free_all);
        if (!rcpt)
            return false;

        const QByteArray url = smtpUrl(LoginInfo.SmtpServer);
        const QByteArray mailFrom = '<' + from.toUtf8() + '>';
        IniFile ini = Config();
        const QByteArray user = ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP felhasznalo")).toUtf8();
        const QByteArray password = ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP jelszo")).toUtf8();

        CURL *c = curl.get();
        curl_easy_setopt(c, CURLOPT_URL, url.constData());
        curl_easy_setopt(c, CURLOPT_MAIL_FROM, mailFrom.constData());
        curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt);
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_READFUNCTION, readUpload);
        curl_easy_setopt(c, CURLOPT_READDATA, &upload);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
        curl_easy_setopt(c, CURLOPT_TIMEOUT, 120L);
        if (!user.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
            curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
        }
        return curl_easy_perform(c) == CURLE_OK;
    } catch (...) {
        return false;
    }
}
