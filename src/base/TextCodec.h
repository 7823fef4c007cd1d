#pragma once
// The single-byte code pages of the faculty's files: Windows-1250 (configuration,
// text exports, window-save files, mails) and ISO-8859-2 (read-back of window-save files).

#include <QByteArray>
#include <QString>

enum class Charset { Windows1250, Iso8859_2 };

// Bytes the code page does not define decode to U+FFFD; nothing is dropped.
QString DecodeText(const QByteArray &bytes, Charset charset = Charset::Windows1250);
// Files written by other programs: by their byte-order mark (UTF-8, UTF-16 LE or BE; the mark is
// dropped), else UTF-8 when the bytes are valid UTF-8, otherwise Windows-1250.
QString DecodeUtf8OrWindows1250(const QByteArray &bytes);
// Characters the code page cannot hold become '?'.
QByteArray EncodeText(const QString &text, Charset charset = Charset::Windows1250);
// True when every character of text has a byte in the code page.
bool CanEncode(const QString &text, Charset charset = Charset::Windows1250);
