#include "Text.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace frissites {

namespace {

QByteArray convert(const char *to, const char *from, const QByteArray &in, char replacement)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = size_t(in.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = size_t(out.size() - used);
            continue;
        }
        // An unmappable or invalid input: replace it and go on with the next character.
        if (dstLeft < 4) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = size_t(out.size() - used);
        }
        if (replacement) {
            *dst++ = replacement;
            --dstLeft;
        } else {
            static const char fffd[] = "\xEF\xBF\xBD";
            for (int i = 0; i < 3; ++i)
                *dst++ = fffd[i];
            dstLeft -= 3;
        }
        // Skip one input character: one byte of Windows-1250, one UTF-8 sequence otherwise.
        size_t skip = 1;
        if (replacement) {
            const auto lead = static_cast<unsigned char>(*src);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            skip = std::min(skip, srcLeft);
        }
        src += skip;
        srcLeft -= skip;
    }
    iconv_close(cd);
    out.resize(dst - out.data());
    return out;
}

} // namespace

QString DecodeWindows1250(const QByteArray &bytes)
{
    return QString::fromUtf8(convert("UTF-8", "WINDOWS-1250", bytes, 0));
}

QByteArray EncodeWindows1250(const QString &text)
{
    return convert("WINDOWS-1250", "UTF-8", text.toUtf8(), '?');
}

QString DecodeFileText(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1250(data);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString ToLocalSeparators(QString path)
{
    return path.replace(u'\\', u'/');
}

} // namespace frissites
