#include "IniValue.h"

#include "TextCodec.h"
#include "TextUtils.h"

// Positions 1..16 carry the low nibble; any position p with (p AND 31) - 1 == nibble (mod 16)
// carries the high nibble, so the encoder can vary its output over the whole alphabet.
const char IniValueAlphabet[65] = "Kq7ZbT2mXe9WfLr4HcNp5VgYs3JdQx8GtBk6MhRz0PnFw1DjSa_CvEu-AyUiOlIo";

static int position(QChar c)
{
    if (c.unicode() > 127)
        return 65;
    for (int i = 0; i < 64; ++i)
        if (IniValueAlphabet[i] == c.toLatin1())
            return i + 1;
    return 65;
}

QString DecodeIniValue(const QString &text)
{
    const QString s = TrimControl(text);
    if (s.isEmpty())
        return {};
    QByteArray out;
    out.reserve((s.size() + 1) / 2);
    for (qsizetype i = 0; i < s.size(); i += 2) {
        const int p = position(s.at(i));
        const int q = i + 1 < s.size() ? position(s.at(i + 1)) : 65;
        out.append(char(((p - 1) + 16 * ((q & 31) - 1)) & 255));
    }
    return DecodeText(out);
}

QString EncodeIniValue(const QString &text)
{
    const QByteArray bytes = EncodeText(text);
    QString out;
    out.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int b = uchar(bytes[i]);
        const int low = b & 15, high = b >> 4;
        // High nibble: q in {high+1, high+17, high+33, high+49}, all equal under (q AND 31) mod 16.
        const int q = high + 1 + 16 * int(i % 4);
        out += QChar::fromLatin1(IniValueAlphabet[low]);
        out += QChar::fromLatin1(IniValueAlphabet[q - 1]);
    }
    return out;
}
