#pragma once
// The case-insensitive text comparison of the database: Unicode case folding (á = Á, ő = Ő),
// accent-sensitive (a <> á), trailing blanks ignored.

#include <QStringView>

struct sqlite3;

namespace sql {

inline constexpr const char *CollationName = "KOVRA_CI";

int CompareFolded(QStringView a, QStringView b);
// The same comparison of two UTF-8 texts.
int CompareFoldedUtf8(const char *a, qsizetype la, const char *b, qsizetype lb);
// Registers the collation "KOVRA_CI" on db; returns the SQLite result code.
int RegisterKovraCollation(sqlite3 *db);

} // namespace sql
