#pragma once
// Transact-SQL text (the subset the program composes) to SQLite text.
// Parsed into a typed tree, never rewritten with regular expressions; results cached by text.

#include "Catalog.h"

#include <QString>
#include <QVector>
#include <memory>
#include <stdexcept>

namespace sql {

// A construct the translator does not know: the message names it.
class TranslateError : public std::runtime_error {
public:
    explicit TranslateError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A quoted text the server could not convert to the type it meets (a date column, an integer):
// the message is the server's ("Conversion failed when converting date and/or time from character
// string.").
class ConversionError : public TranslateError {
public:
    using TranslateError::TranslateError;
};

enum class StatementKind { Select, Insert, Update, Delete, Ddl, Other };

struct TranslatedStatement {
    QString sql;                    // SQLite text; ":NAME" parameters kept as ":NAME"
    StatementKind kind = StatementKind::Other;
    QString targetTable;            // Insert/Update/Delete: the table as written (without "dbo.")
    QVector<FieldType> resultTypes; // Select: one per result column, Unknown where not known statically;
                                    // empty when a '*' of a source outside the catalog makes the
                                    // column count unknown
    bool usesNeptun = false;        // reads the Neptun stand-in (openquery)
};

struct TranslatedBatch {
    QVector<TranslatedStatement> statements; // a batch may hold several statements
};

class Translator {
public:
    explicit Translator(const Catalog *catalog);
    ~Translator();

    // Throws TranslateError. The same text returns the same cached batch.
    std::shared_ptr<const TranslatedBatch> translate(const QString &tsql);
    // After a schema change: the catalog was reloaded, cached translations are stale.
    void clearCache();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace sql
