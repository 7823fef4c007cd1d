#include "Code128.h"

namespace code128 {

namespace {
// Bar, space, bar, space, bar, space widths of the values 0 … 105; the stop symbol has a seventh bar.
constexpr const char *Patterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", //   0
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", //  10
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", //  20
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313", //  30
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331", //  40
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111", //  50
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214", //  60
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", //  70
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141", //  80
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141", //  90
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",                              // 100
};
} // namespace

const char *Pattern(int value) { return value >= 0 && value <= Stop ? Patterns[value] : ""; }

int ValueA(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return u - u'a' + (u'A' - 0x20);
    if (u >= 0x20 && u <= 0x5F)
        return u - 0x20;
    if (u < 0x20)
        return u + 64;
    return -1;
}

int CheckValue(const QVector<int> &startAndData)
{
    if (startAndData.isEmpty())
        return 0;
    long sum = startAndData[0];
    for (qsizetype i = 1; i < startAndData.size(); ++i)
        sum += long(i) * startAndData[i];
    return int(sum % 103);
}

QVector<int> EncodeA(const QString &text)
{
    if (text.isEmpty())
        return {};
    QVector<int> values{StartA};
    values.reserve(text.size() + 3);
    for (QChar c : text) {
        const int v = ValueA(c);
        if (v < 0)
            return {};
        values << v;
    }
    values << CheckValue(values) << Stop;
    return values;
}

QVector<int> ModuleWidths(const QString &text)
{
    QVector<int> widths;
    for (int v : EncodeA(text))
        for (const char *p = Pattern(v); *p; ++p)
            widths << (*p - '0');
    return widths;
}

int ModuleCount(const QString &text)
{
    int n = 0;
    for (int w : ModuleWidths(text))
        n += w;
    return n;
}

} // namespace code128
