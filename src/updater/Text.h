#pragma once
// Texts of files written on Windows workstations: UTF-8 when the bytes are valid UTF-8, else Windows-1250.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace frissites {

QString DecodeWindows1250(const QByteArray &bytes);
// Characters without a Windows-1250 code become '?'.
QByteArray EncodeWindows1250(const QString &text);

// A leading UTF-8 byte order mark is dropped.
QString DecodeFileText(const QByteArray &bytes);

// Lines of a text; CR LF, LF and a lone CR all end a line. A final line break adds no empty line.
QStringList SplitLines(const QString &text);

// "a\b\c.txt" -> "a/b/c.txt": backslashes separate folders in the manifests.
QString ToLocalSeparators(QString path);

} // namespace frissites
