#include "Lexer.h"

#include "Translator.h"

namespace sql {

namespace {

bool isIdentStart(QChar c) { return c.isLetter() || c == u'_' || c == u'@' || c == u'#'; }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

QVector<Token> Tokenize(const QString &text, Dialect dialect)
{
    QVector<Token> out;
    const qsizetype n = text.size();
    out.reserve(n / 4 + 8);
    qsizetype i = 0;
    auto fail = [&](const QString &what, qsizetype at) {
        throw TranslateError(QStringLiteral("%1 at position %2").arg(what).arg(at + 1));
    };
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            while (i < n && text[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const qsizetype start = i;
            int depth = 0;
            while (i < n) {
                if (text[i] == u'/' && i + 1 < n && text[i + 1] == u'*') {
                    ++depth;
                    i += 2;
                } else if (text[i] == u'*' && i + 1 < n && text[i + 1] == u'/') {
                    i += 2;
                    if (--depth == 0)
                        break;
                } else {
                    ++i;
                }
            }
            if (depth != 0)
                fail(QStringLiteral("Unterminated comment"), start);
            continue;
        }
        Token t;
        t.pos = i;
        const bool national = (c == u'N' || c == u'n') && i + 1 < n && text[i + 1] == u'\'' && dialect == Dialect::TSql;
        if (c == u'\'' || national) {
            const qsizetype start = i + (national ? 2 : 1);
            qsizetype j = start;
            bool closed = false, doubled = false;
            while (j < n) {
                if (text[j] == u'\'') {
                    if (j + 1 < n && text[j + 1] == u'\'') {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                ++j;
            }
            QString value = text.mid(start, j - start - (closed ? 1 : 0));
            if (doubled)
                value.replace(QLatin1String("''"), QLatin1String("'"));
            if (!closed)
                fail(QStringLiteral("Unterminated string literal"), i);
            t.type = TokenType::String;
            t.text = value;
            i = j;
        } else if (c == u'"' || (c == u'[' && dialect == Dialect::TSql)) {
            const QChar close = c == u'"' ? u'"' : u']';
            qsizetype j = i + 1;
            QString value;
            bool closed = false;
            while (j < n) {
                if (text[j] == close) {
                    if (j + 1 < n && text[j + 1] == close) {
                        value.append(close);
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value.append(text[j++]);
            }
            if (!closed)
                fail(QStringLiteral("Unterminated quoted identifier"), i);
            if (value.isEmpty())
                fail(QStringLiteral("Empty quoted identifier"), i);
            t.type = TokenType::QuotedIdentifier;
            t.text = value;
            i = j;
        } else if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(text[i + 1]))) {
            qsizetype j = i;
            while (j < n && isDigit(text[j]))
                ++j;
            if (j < n && text[j] == u'.') {
                ++j;
                while (j < n && isDigit(text[j]))
                    ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-'))
                    ++k;
                if (k < n && isDigit(text[k])) {
                    j = k;
                    while (j < n && isDigit(text[j]))
                        ++j;
                }
            }
            // a word may follow a number directly ("kar_id=1and"), as the server reads it
            t.type = TokenType::Number;
            t.text = text.mid(i, j - i);
            i = j;
        } else if (isIdentStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isIdentPart(text[j]))
                ++j;
            t.type = TokenType::Identifier;
            t.text = text.mid(i, j - i);
            t.key = t.text.toLower();
            i = j;
        } else if (c == u':' && i + 1 < n && (text[i + 1].isLetter() || text[i + 1] == u'_')) {
            qsizetype j = i + 1;
            while (j < n && (text[j].isLetterOrNumber() || text[j] == u'_'))
                ++j;
            t.type = TokenType::Parameter;
            t.text = text.mid(i + 1, j - i - 1);
            i = j;
        } else {
            t.type = TokenType::Operator;
            const QStringView two = QStringView(text).mid(i, 2);
            if (two == u"<>" || two == u"!=" || two == u"<=" || two == u">=" || two == u"!<" || two == u"!>") {
                t.text = two.toString();
                i += 2;
            } else if (two == u"||") {
                if (dialect != Dialect::Oracle)
                    fail(QStringLiteral("Operator '||'"), i);
                t.text = two.toString();
                i += 2;
            } else if (QStringView(u"(),.;=<>+-*/%~").contains(c)) {
                t.text = QString(c);
                ++i;
            } else {
                fail(QStringLiteral("Unexpected character '%1'").arg(c), i);
            }
        }
        out.append(std::move(t));
    }
    Token end;
    end.pos = n;
    out.append(end);
    return out;
}

} // namespace sql
