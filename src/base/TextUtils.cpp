#include "TextUtils.h"

std::optional<QStringList> Split(const QString &text, const QString &delimiters, bool keep, int maximum)
{
    if (text.isEmpty())
        return std::nullopt;
    QStringList list;
    qsizetype start = 0;
    int splits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!delimiters.contains(text.at(i)))
            continue;
        list << text.mid(start, i - start);
        if (keep)
            list << QString(text.at(i));
        ++splits;
        start = i + 1;
        if (splits == maximum) {
            if (start < text.size())
                list << text.mid(start);
            return list;
        }
    }
    list << text.mid(start);
    return list;
}

static bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString TrimBlanksLeft(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    return text.mid(i);
}

QString TrimBlanksRight(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && isBlank(text.at(n - 1)))
        --n;
    return text.left(n);
}

QString TrimBlanks(const QString &text) { return TrimBlanksRight(TrimBlanksLeft(text)); }

static QString orFill(const QString &s, QChar fill) { return s.isEmpty() ? QString(fill) : s; }

QString TrimCharLeft(const QString &text, QChar ch, QChar fill)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == ch)
        ++i;
    return orFill(text.mid(i), fill);
}

QString TrimCharRight(const QString &text, QChar ch, QChar fill)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == ch)
        --n;
    return orFill(text.left(n), fill);
}

QString TrimChar(const QString &text, QChar ch, QChar fill)
{
    return TrimCharRight(TrimCharLeft(text, ch, fill), ch, fill);
}

QString TrimControl(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

QString RemoveControl(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 32 && u != 127 && u != 0xFEFF)
            out += c;
    }
    return out;
}

QString AsciiUpper(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return s;
}
