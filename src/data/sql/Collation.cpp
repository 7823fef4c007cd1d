#include "Collation.h"

#include <QString>
#include <sqlite3.h>

namespace sql {

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
    const QString fa = a.mid(i).toString().toCaseFolded();
    const QString fb = b.mid(i).toString().toCaseFolded();
    const int c = fa.compare(fb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
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
    const QString fa = QString::fromUtf8(a + i, la - i).toCaseFolded();
    const QString fb = QString::fromUtf8(b + i, lb - i).toCaseFolded();
    const int c = fa.compare(fb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
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
