#include "Collation.h"

#include <QString>
#include <optional>
#include <type_traits>
#include <sqlite3.h>

namespace sql {

// Primary weight of a case-folded UTF-16 unit: ASCII by its code; the Hungarian accented vowels
// with their base letter (ö, ő just after o; ü, ű just after u); everything else after ASCII.
static uint primaryWeight(char16_t c)
{
    switch (c) {
    case u'á': return 'a' * 4;
    case u'é': return 'e' * 4;
    case u'í': return 'i' * 4;
    case u'ó': return 'o' * 4;
    case u'ö':
    case u'ő': return 'o' * 4 + 2;
    case u'ú': return 'u' * 4;
    case u'ü':
    case u'ű': return 'u' * 4 + 2;
    default: return c < 128 ? uint(c) * 4 : 0x1000u + c;
    }
}

// Folded tails: base letters first (so "Ács" sorts before "Bíró"), then the accents decide, so
// texts are equal only when their folded forms are.
static int compareFoldedTails(const QString &fa, const QString &fb)
{
    const qsizetype n = std::min(fa.size(), fb.size());
    for (qsizetype i = 0; i < n; ++i) {
        const uint x = primaryWeight(fa[i].unicode()), y = primaryWeight(fb[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (fa.size() != fb.size())
        return fa.size() < fb.size() ? -1 : 1;
    const int c = fa.compare(fb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Trailing blanks dropped, then the ASCII prefix compared with letters folded. Returns the order
// when the prefix decides it; otherwise at is where the first non-ASCII character stands. Up to
// that character byte and UTF-16 offsets agree, so both encodings share it.
template <typename Char>
static std::optional<int> compareAsciiPrefix(const Char *a, qsizetype &la, const Char *b, qsizetype &lb, qsizetype &at)
{
    while (la > 0 && a[la - 1] == Char(' '))
        --la;
    while (lb > 0 && b[lb - 1] == Char(' '))
        --lb;
    const qsizetype n = std::min(la, lb);
    for (at = 0; at < n; ++at) {
        auto x = static_cast<std::make_unsigned_t<Char>>(a[at]), y = static_cast<std::make_unsigned_t<Char>>(b[at]);
        if (x >= 128 || y >= 128)
            return std::nullopt;
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

int CompareFolded(QStringView a, QStringView b)
{
    qsizetype la = a.size(), lb = b.size(), i = 0;
    if (const auto order = compareAsciiPrefix(a.utf16(), la, b.utf16(), lb, i))
        return *order;
    return compareFoldedTails(a.sliced(i, la - i).toString().toCaseFolded(), b.sliced(i, lb - i).toString().toCaseFolded());
}

int CompareFoldedUtf8(const char *a, qsizetype la, const char *b, qsizetype lb)
{
    qsizetype i = 0;
    if (const auto order = compareAsciiPrefix(a, la, b, lb, i))
        return *order;
    return compareFoldedTails(QString::fromUtf8(a + i, la - i).toCaseFolded(), QString::fromUtf8(b + i, lb - i).toCaseFolded());
}

static int collate16(void *, int la, const void *pa, int lb, const void *pb)
{
    return CompareFolded(QStringView(static_cast<const char16_t *>(pa), la / 2),
                         QStringView(static_cast<const char16_t *>(pb), lb / 2));
}

static int collate8(void *, int la, const void *pa, int lb, const void *pb)
{
    return CompareFoldedUtf8(static_cast<const char *>(pa), la, static_cast<const char *>(pb), lb);
}

int RegisterKovraCollation(sqlite3 *db)
{
    // SQLite calls the variant of the database's text encoding, so texts are not converted for
    // every comparison.
    const int rc = sqlite3_create_collation_v2(db, CollationName, SQLITE_UTF8, nullptr, collate8, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_create_collation_v2(db, CollationName, SQLITE_UTF16_ALIGNED, nullptr, collate16, nullptr);
}

} // namespace sql
