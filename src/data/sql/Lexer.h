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

} // namespace sql
