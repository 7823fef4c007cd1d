#pragma once
// One plain-text mail through the SMTP server of the configuration (LoginInfo.SmtpServer, port 25
// unless the setting is "host:port"). The sender's display name is LoginInfo.DatabaseName. The
// SMTP account is the installation's: kovra.ini [Hibakezeles] "SMTP felhasznalo" and
// "SMTP jelszo", used only when present.

#include <QByteArray>
#include <QString>
#include <QStringList>

// to: addresses separated by commas. Empty entries of bcc and attachments are skipped.
// true when the server took the message; false when mail is off (no server set, nothing is sent)
// or anything failed. Never throws, never shows a message.
bool SendMail(const QString &from, const QString &to, const QString &subject, const QStringList &bcc,
              const QStringList &attachments, const QString &body);

// The message as it goes to the server (headers and body, CR LF line ends). Throws
// std::runtime_error when an attachment cannot be read.
QByteArray ComposeMailMessage(const QString &from, const QStringList &to, const QString &subject,
                              const QStringList &attachments, const QString &body);

// Quoted-printable of bytes (RFC 2045): CR LF and lone LF become hard line breaks, lines of at
// most 76 characters with soft breaks, blanks before a line end encoded.
QByteArray QuotedPrintable(const QByteArray &bytes);
