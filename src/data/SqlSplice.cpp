#include "SqlSplice.h"

QString SqlId(const QString &id)
{
    const QString t = id.trimmed();
    return t.isEmpty() ? QStringLiteral("null") : t;
}

QString SqlQuoted(const QString &text) { return QString(text).replace(u'\'', QStringLiteral("''")); }
