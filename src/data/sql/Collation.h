#pragma once
// The case-insensitive text comparison of the database: Unicode case folding (á = Á, ő = Ő),
// accent-sensitive (a <> á), trailing blanks ignored. Ordered as Hungarian readers expect: accented
// vowels with their base letter (Ács before Bíró), ö and ü after o and u, the accent as tie-break.

#include <QStringView>

struct sqlite3;

namespace sql {

inline constexpr const char *CollationName = "KOVRA_CI";
// Stored in a database file's user_version once its indexes follow the current order.
inline constexpr int CollationOrderVersion = 1;

int CompareFolded(QStringView a, QStringView b);
// The same comparison of two UTF-8 texts.
int CompareFoldedUtf8(const char *a, qsizetype la, const char *b, qsizetype lb);
// Registers the collation "KOVRA_CI" on db; returns the SQLite result code.
int RegisterKovraCollation(sqlite3 *db);

} // namespace sql
