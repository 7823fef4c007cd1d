#include "TextCodec.h"

#include <QStringDecoder>

#include <QHash>

#include <array>
#include <iconv.h>
#include <mutex>

namespace {

// Both code pages are single-byte: build a 256-entry table once through iconv and map by table.
struct Table {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, uchar> fromUnicode;
};

Table buildTable(const char *name)
{
    Table t;
    iconv_t cd = iconv_open("UTF-16LE", name);
    for (int b = 0; b < 256; ++b) {
        char16_t out = 0xFFFD;
        if (cd != iconv_t(-1)) {
            char in = char(b);
            char *inp = &in;
            size_t inLeft = 1;
            char buf[4];
            char *outp = buf;
            size_t outLeft = sizeof buf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 2)
                out = char16_t(uchar(buf[0]) | (uchar(buf[1]) << 8));
        } else if (b < 128) {
            out = char16_t(b);
        }
        t.toUnicode[size_t(b)] = out;
        if (out != 0xFFFD)
            t.fromUnicode.insert(out, uchar(b));
    }
    if (cd != iconv_t(-1))
        iconv_close(cd);
    return t;
}

const Table &table(Charset cs)
{
    static std::once_flag once;
    static Table win, iso;
    std::call_once(once, [] {
        win = buildTable("WINDOWS-1250");
        iso = buildTable("ISO-8859-2");
    });
    return cs == Charset::Windows1250 ? win : iso;
}

} // namespace

QString DecodeText(const QByteArray &bytes, Charset charset)
{
    const Table &t = table(charset);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return out;
}

QByteArray EncodeText(const QString &text, Charset charset)
{
    const Table &t = table(charset);
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        out[i] = char(c < 128 ? uchar(c) : t.fromUnicode.value(c, uchar('?')));
    }
    return out;
}

bool CanEncode(const QString &text, Charset charset)
{
    const Table &t = table(charset);
    for (QChar c : text)
        if (c.unicode() >= 128 && !t.fromUnicode.contains(c.unicode()))
            return false;
    return true;
}

QString DecodeUtf8OrWindows1250(const QByteArray &bytes)
{
    // a byte-order mark decides
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8.decode(QByteArrayView(bytes).sliced(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool le = bytes.at(0) == '\xFF';
        QStringDecoder utf16(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        return utf16.decode(QByteArrayView(bytes).sliced(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeText(bytes, Charset::Windows1250) : text;
}
