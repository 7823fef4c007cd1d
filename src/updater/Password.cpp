#include "Password.h"

#include "Text.h"

#include <QByteArray>

namespace frissites {

namespace {

constexpr int AlphabetSize = 64;

int position(QChar c) // 1 to 64; 65 for a character outside the alphabet
{
    for (int i = 0; i < AlphabetSize; ++i)
        if (c == QLatin1Char(PasswordAlphabet[i]))
            return i + 1;
    return AlphabetSize + 1;
}

QString trimmedControls(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

} // namespace

QString DecodePassword(const QString &scrambled)
{
    const QString t = trimmedControls(scrambled);
    QByteArray bytes;
    for (qsizetype i = 0, k = 1; i < t.size(); i += 2, ++k) {
        const int p = position(t[i]);
        const int q = i + 1 < t.size() ? position(t[i + 1]) : AlphabetSize + 1;
        const int code = ((p - 1) + 16 * ((q & 31) - 1)) & 255;
        bytes.append(char(code ^ int(k % 250)));
    }
    const qsizetype blank = bytes.indexOf(' ');
    if (blank < 0)
        return {};
    return DecodeWindows1250(bytes.left(blank));
}

QString EncodePassword(const QString &password)
{
    const QByteArray bytes = EncodeWindows1250(password) + ' ';
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int k = int(i + 1);
        const int b = (static_cast<unsigned char>(bytes[i]) ^ (k % 250)) & 255;
        out += QLatin1Char(PasswordAlphabet[b & 15]);
        out += QLatin1Char(PasswordAlphabet[(b & 128) / 4 + b / 16]);
    }
    return out;
}

} // namespace frissites
