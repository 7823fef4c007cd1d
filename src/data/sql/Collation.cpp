#include "Collation.h"

#include <QString>
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

static QStringView trimTrailingBlanks(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

int CompareFolded(QStringView a, QStringView b)
{
    a = trimTrailingBlanks(a);
    b = trimTrailingBlanks(b);
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    // ASCII fast path; the first non-ASCII character hands over to full case folding.
    for (; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 128 || y >= 128)
            break;
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i == n)
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    return compareFoldedTails(a.mid(i).toString().toCaseFolded(), b.mid(i).toString().toCaseFolded());
}

int CompareFoldedUtf8(const char *a, qsizetype la, const char *b, qsizetype lb)
{
    while (la > 0 && a[la - 1] == ' ')
        --la;
    while (lb > 0 && b[lb - 1] == ' ')
        --lb;
    const qsizetype n = std::min(la, lb);
    qsizetype i = 0;
    // The same ASCII fast path on the bytes: up to the first non-ASCII character the byte and
    // the UTF-16 offsets agree, and the rest is compared as above.
    for (; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 128 || y >= 128)
            break;
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i == n)
        return la == lb ? 0 : (la < lb ? -1 : 1);
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
