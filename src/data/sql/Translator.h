#pragma once
// Transact-SQL text (the subset the program composes) to SQLite or PostgreSQL text.
// Parsed into a typed tree, never rewritten with regular expressions; results cached by text.

#include "Catalog.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <memory>
#include <vector>
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

// The engine a translator writes for, chosen at construction.
// - Sqlite: the embedded engine with the functions and collation of SqliteExtensions.
// - PostgreSql: PostgreSQL 15 with the functions of PostgreSqlSupportScript() in the database.
//   Statements come as text (boundSql stays empty); ":NAME" parameters stay ":NAME"; an INSERT into
//   a table with an identity column ends with " RETURNING <column>" (returnsIdentity); the statement
//   "select scope_identity()" is the backend's to answer (elsewhere scope_identity() is refused).
enum class Engine { Sqlite, PostgreSql };

struct TranslatedStatement {
    QString sql;                    // the engine's text; ":NAME" parameters kept as ":NAME"
    StatementKind kind = StatementKind::Other;
    QString targetTable;            // Insert/Update/Delete: the table as written (without "dbo.")
    QVector<FieldType> resultTypes; // Select: one per result column, Unknown where not known statically;
                                    // empty when a '*' of a source outside the catalog makes the
                                    // column count unknown
    bool usesNeptun = false;        // reads the Neptun stand-in (openquery)
    bool returnsIdentity = false;   // PostgreSQL: an INSERT whose rows return the new identity values

    // When not empty: sql with the literals of the statement text that may be bound as "?"
    // parameters, and their values in order. Texts that differ only in such literals have the
    // same boundSql, so one prepared statement serves them all. Empty for statements with
    // ":NAME" parameters.
    struct BoundValue {
        qint64 integer = 0;          // an integer
        qint32 offset = 0, size = 0; // a text: its UTF-8 bytes in boundText
        bool isText = true;
    };
    QString boundSql;
    std::vector<BoundValue> boundValues;
    QByteArray boundText; // the bound texts, UTF-8, one after another
};

struct TranslatedBatch {
    QVector<TranslatedStatement> statements; // a batch may hold several statements
};

// Two caches stand in front of a full translation (parse, bind, emit):
// - by text: the same text returns the same batch object;
// - by shape: texts that differ only in their quoted texts and numbers (the program splices ids,
//   dates and codes into its statements) share one template of the engine's text. The shape is the
//   text with every literal replaced by a mark of its kind (text, integer, float), so lists of other
//   lengths or literals of another kind are other shapes. The template keeps, for every literal the
//   emitter printed, the conversions the binder applied to it (a 'yyyymmdd' text meeting a date
//   column, '1'/'0' meeting a flag, a text meeting a number, ...); a new value is put through the
//   same conversions. Literals whose value shaped the translation in another way (TOP n, convert
//   styles and lengths, the text of openquery, text aliases) are not printed as literals: a template
//   holds only for their exact values. A value that fails its conversion, and any doubt, falls back
//   to a full translation, which reports the error.
class Translator {
public:
    explicit Translator(const Catalog *catalog, Engine engine = Engine::Sqlite);
    Engine engine() const;
    ~Translator();

    // Throws TranslateError. The same text returns the same cached batch.
    std::shared_ptr<const TranslatedBatch> translate(const QString &tsql);
    // After a schema change: the catalog was reloaded, cached translations are stale.
    void clearCache();

    struct Statistics {
        qint64 textHits = 0;     // answered by the text cache
        qint64 shapeHits = 0;    // answered from a template
        qint64 translations = 0; // full translations (also those that failed)
    };
    Statistics statistics() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace sql
