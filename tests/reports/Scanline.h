#pragma once
// Reads Code 128 set A symbols back from a picture: the runs of dark and light pixels along one
// line, grouped into symbols of eleven modules, each matched against the symbol patterns; the
// check value and the stop symbol verified. Returns the text, or an error text starting with "!".

#include "Code128.h"

#include <QImage>
#include <QString>
#include <QVector>

inline QString DecodeCode128Line(const QImage &image, int y, int xFrom = 0, int xTo = -1)
{
    if (xTo < 0)
        xTo = image.width();
    auto dark = [&](int x) { return qGray(image.pixel(x, y)) < 128; };
    int x = xFrom;
    while (x < xTo && !dark(x))
        ++x;
    QVector<int> runs;
    while (x < xTo) {
        const bool d = dark(x);
        int n = 0;
        while (x < xTo && dark(x) == d) {
            ++x;
            ++n;
        }
        runs << n;
    }
    if (!runs.isEmpty() && runs.size() % 2 == 0)
        runs.removeLast(); // the light run after the last bar
    if (runs.size() < 19 || (runs.size() - 7) % 6 != 0)
        return QStringLiteral("!%1 runs").arg(runs.size());
    auto symbol = [&](qsizetype at, int elements, int modules) {
        double total = 0;
        for (int i = 0; i < elements; ++i)
            total += runs[at + i];
        QString pattern;
        for (int i = 0; i < elements; ++i)
            pattern += QChar(u'0' + qBound(1, qRound(runs[at + i] * modules / total), 4));
        for (int v = 0; v <= code128::Stop; ++v)
            if (pattern == QLatin1String(code128::Pattern(v)))
                return v;
        return -1;
    };
    QVector<int> values;
    const qsizetype symbols = (runs.size() - 7) / 6;
    for (qsizetype s = 0; s < symbols; ++s)
        values << symbol(s * 6, 6, 11);
    values << symbol(symbols * 6, 7, 13);
    if (values.contains(-1))
        return QStringLiteral("!unreadable symbol");
    if (values.first() != code128::StartA || values.last() != code128::Stop)
        return QStringLiteral("!no start A / stop");
    long sum = values[0];
    for (qsizetype i = 1; i + 2 < values.size(); ++i)
        sum += long(i) * values[i];
    if (sum % 103 != values[values.size() - 2])
        return QStringLiteral("!check value");
    QString text;
    for (qsizetype i = 1; i + 2 < values.size(); ++i)
        text += values[i] < 64 ? QChar(char16_t(values[i] + 32)) : QChar(char16_t(values[i] - 64));
    return text;
}
