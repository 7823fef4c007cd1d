#pragma once
// The number of page objects of a PDF file.

#include <QByteArray>
#include <QRegularExpression>

inline int PdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    int n = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++n;
    return n;
}
