#include "StatementTrace.h"

#include <QTime>

namespace {
QStringList &entries()
{
    static QStringList list;
    return list;
}
} // namespace

void TraceStatement(const QString &component, const QString &sql, const StatementParams &params)
{
    QString entry = QTime::currentTime().toString(QStringLiteral("hh:mm:ss")) + u'\t' + component + u'\t' + sql
                    + QStringLiteral("\r\nparaméterek:");
    for (const auto &p : params)
        entry += QStringLiteral("\r\n") + p.first + QStringLiteral(": \"") + p.second.toString() + u'"';
    entry.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    QStringList &list = entries();
    list.prepend(entry);
    while (list.size() > StatementTraceLimit)
        list.removeLast();
}

QStringList StatementTraceEntries() { return entries(); }

void ClearStatementTrace() { entries().clear(); }

void RemoveNewestStatementTraceEntry()
{
    if (!entries().isEmpty())
        entries().removeFirst();
}
