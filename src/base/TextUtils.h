#pragma once
// Small text operations shared by every layer.

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

// Splits text at every character of delimiters. An empty text gives no list at all.
// keep: each delimiter is added as an entry of its own after the piece before it.
// maximum: after that many splits the rest of the text (when any) is the last entry; -1 = no limit.
std::optional<QStringList> Split(const QString &text, const QString &delimiters, bool keep = false,
                                 int maximum = -1);

// Blanks and TAB characters only; other white space (line breaks) stays.
QString TrimBlanksLeft(const QString &text);
QString TrimBlanksRight(const QString &text);
QString TrimBlanks(const QString &text);

// Strips every repetition of ch at the end(s); when nothing remains the result is fill alone.
QString TrimCharLeft(const QString &text, QChar ch, QChar fill);
QString TrimCharRight(const QString &text, QChar ch, QChar fill);
QString TrimChar(const QString &text, QChar ch, QChar fill);

// Removes leading and trailing blanks and control characters (code <= 32).
QString TrimControl(const QString &text);

// Without control characters (codes below 32 and 127) and byte-order marks anywhere in the text.
QString RemoveControl(const QString &text);

// ASCII letters upper-cased, everything else (accented letters too) as it is.
QString AsciiUpper(const QString &text);
