#include "Lexer.h"

#include "Translator.h"

namespace sql {

namespace {

bool isIdentStart(QChar c) { return c.isLetter() || c == u'_' || c == u'@' || c == u'#'; }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isOperatorChar(char16_t c)
{
    switch (c) {
    case u'(': case u')': case u',': case u'.': case u';': case u'=': case u'<': case u'>':
    case u'+': case u'-': case u'*': case u'/': case u'%': case u'~':
        return true;
    default:
        return false;
    }
}

[[noreturn]] void fail(const QString &what, qsizetype at)
{
    throw TranslateError(QStringLiteral("%1 at position %2").arg(what).arg(at + 1));
}

} // namespace

bool NumberIsFloat(QStringView number)
{
    return number.contains(u'.') || number.contains(u'e') || number.contains(u'E') || number.size() > 18;
}

void NextToken(QStringView text, qsizetype &i, Dialect dialect, TokenSpan &t)
{
    const qsizetype n = text.size();
    t = TokenSpan();
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
        break;
    }
    t.start = t.end = i;
    if (i >= n) {
        t.type = TokenType::End;
        return;
    }
    const QChar c = text[i];
    const bool national = (c == u'N' || c == u'n') && i + 1 < n && text[i + 1] == u'\'' && dialect == Dialect::TSql;
    if (c == u'\'' || national) {
        const qsizetype start = i + (national ? 2 : 1);
        qsizetype j = start;
        bool closed = false;
        while (j < n) {
            if (text[j] == u'\'') {
                if (j + 1 < n && text[j + 1] == u'\'') {
                    t.doubled = true;
                    j += 2;
                    continue;
                }
                closed = true;
                ++j;
                break;
            }
            ++j;
        }
        if (!closed)
            fail(QStringLiteral("Unterminated string literal"), i);
        t.type = TokenType::String;
        t.valueStart = start;
        t.valueEnd = j - 1;
        i = j;
    } else if (c == u'"' || (c == u'[' && dialect == Dialect::TSql)) {
        const QChar close = c == u'"' ? u'"' : u']';
        qsizetype j = i + 1;
        bool closed = false;
        while (j < n) {
            if (text[j] == close) {
                if (j + 1 < n && text[j + 1] == close) {
                    t.doubled = true;
                    j += 2;
                    continue;
                }
                closed = true;
                ++j;
                break;
            }
            ++j;
        }
        if (!closed)
            fail(QStringLiteral("Unterminated quoted identifier"), i);
        if (j - i == 2)
            fail(QStringLiteral("Empty quoted identifier"), i);
        t.type = TokenType::QuotedIdentifier;
        t.valueStart = i + 1;
        t.valueEnd = j - 1;
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
        i = j;
    } else if (isIdentStart(c)) {
        qsizetype j = i + 1;
        while (j < n && isIdentPart(text[j]))
            ++j;
        t.type = TokenType::Identifier;
        i = j;
    } else if (c == u':' && i + 1 < n && (text[i + 1].isLetter() || text[i + 1] == u'_')) {
        qsizetype j = i + 1;
        while (j < n && (text[j].isLetterOrNumber() || text[j] == u'_'))
            ++j;
        t.type = TokenType::Parameter;
        i = j;
    } else {
        t.type = TokenType::Operator;
        const char16_t c1 = c.unicode(), c2 = i + 1 < n ? text[i + 1].unicode() : 0;
        if (((c1 == u'<' || c1 == u'!') && (c2 == u'>' || c2 == u'=' || c2 == u'<')
             && !(c1 == u'<' && c2 == u'<'))
            || (c1 == u'>' && c2 == u'=')) {
            i += 2; // <> <= != !< !> >=  (not <<)
        } else if (c1 == u'|' && c2 == u'|') {
            if (dialect != Dialect::Oracle)
                fail(QStringLiteral("Operator '||'"), i);
            i += 2;
        } else if (isOperatorChar(c1)) {
            ++i;
        } else {
            fail(QStringLiteral("Unexpected character '%1'").arg(c), i);
        }
    }
    t.end = i;
}

QVector<Token> Tokenize(const QString &text, Dialect dialect)
{
    QVector<Token> out;
    out.reserve(text.size() / 4 + 8);
    const QStringView view(text);
    qsizetype i = 0;
    TokenSpan span;
    for (;;) {
        NextToken(view, i, dialect, span);
        Token t;
        t.type = span.type;
        t.pos = span.start;
        switch (span.type) {
        case TokenType::End:
            out.append(std::move(t));
            return out;
        case TokenType::String:
            t.text = text.mid(span.valueStart, span.valueEnd - span.valueStart);
            if (span.doubled)
                t.text.replace(QLatin1String("''"), QLatin1String("'"));
            break;
        case TokenType::QuotedIdentifier: {
            t.text = text.mid(span.valueStart, span.valueEnd - span.valueStart);
            if (span.doubled) {
                const QChar close = text[span.start] == u'"' ? u'"' : u']';
                t.text.replace(QString(2, close), QString(close));
            }
            break;
        }
        case TokenType::Parameter:
            t.text = text.mid(span.start + 1, span.end - span.start - 1);
            break;
        case TokenType::Identifier:
            t.text = text.mid(span.start, span.end - span.start);
            t.key = t.text.toLower();
            break;
        default:
            t.text = text.mid(span.start, span.end - span.start);
            break;
        }
        out.append(std::move(t));
    }
}

} // namespace sql
