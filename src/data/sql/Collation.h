#pragma once
// The case-insensitive text comparison of the database: Unicode case folding (á = Á, ő = Ő),
// accent-sensitive (a <> á), trailing blanks ignored.

#include <QStringView>

struct sqlite3;

namespace sql {

inline constexpr const char *CollationName = "KOVRA_CI";

int CompareFolded(QStringView a, QStringView b);
// Registers the collation "KOVRA_CI" on db; returns the SQLite result code.
int RegisterKovraCollation(sqlite3 *db);

} // namespace sql
