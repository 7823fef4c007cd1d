#pragma once
// Tokens of Transact-SQL text (and of the Oracle text inside openquery).

#include <QString>
#include <QVector>

namespace sql {

enum class Dialect { TSql, Oracle };

enum class TokenType {
    End,
    Identifier,       // bare word: keyword or name
    QuotedIdentifier, // "name" or [name]
    String,           // 'text' or N'text'; text holds the value with quotes undone
    Number,           // 12, 1.5, 2e3
    Parameter,        // :NAME; text holds NAME
    Operator          // ( ) , . ; = <> != < > <= >= + - * / % || ~
};

struct Token {
    TokenType type = TokenType::End;
    QString text;
    QString key;       // Identifier: text in lower case, for keyword tests
    qsizetype pos = 0; // offset in the statement text

    bool is(TokenType t) const { return type == t; }
    bool isOp(QStringView op) const { return type == TokenType::Operator && text == op; }
    // A bare word equal to kw (given in lower case), ignoring case.
    bool isWord(QStringView kw) const { return type == TokenType::Identifier && key == kw; }
    bool isWord(QLatin1String kw) const { return type == TokenType::Identifier && key == kw; }
};

// Throws TranslateError for an unterminated string, identifier or comment, or a character that
// belongs to no token.
QVector<Token> Tokenize(const QString &text, Dialect dialect);

// The extent of one token in the text, without building its value.
struct TokenSpan {
    TokenType type = TokenType::End;
    qsizetype start = 0, end = 0;           // the token's characters, quotes and N prefix included
    qsizetype valueStart = 0, valueEnd = 0; // String, QuotedIdentifier: between the quotes
    bool doubled = false;                   // String, QuotedIdentifier: holds a doubled quote
};

// Skips blanks and comments from i and reads the next token into span (type End at the end of
// the text); i moves past it. Throws TranslateError as Tokenize does. Tokenize is built on it, so
// both always agree on where tokens start and end.
void NextToken(QStringView text, qsizetype &i, Dialect dialect, TokenSpan &span);

// A number literal's text is a float (not an integer): it has a point or an exponent, or more
// digits than an integer holds.
bool NumberIsFloat(QStringView number);

} // namespace sql
