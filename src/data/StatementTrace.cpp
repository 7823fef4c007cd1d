#include "StatementTrace.h"

#include <QDateTime>
#include <QTime>
#include <deque>

namespace {

// Kept as sent (the texts are shared, not copied) and formatted only when read: tracing costs
// next to nothing per statement.
struct Entry {
    qint64 msecs; // since the epoch
    QString component, sql;
    StatementParams params;
};

std::deque<Entry> &entries()
{
    static std::deque<Entry> list; // newest first
    return list;
}

QString format(const Entry &e)
{
    QString entry = QDateTime::fromMSecsSinceEpoch(e.msecs).time().toString(QStringLiteral("hh:mm:ss")) + u'\t'
                    + e.component + u'\t' + e.sql + QStringLiteral("\r\nparaméterek:");
    for (const auto &p : e.params)
        entry += QStringLiteral("\r\n") + p.first + QStringLiteral(": \"") + p.second.toString() + u'"';
    entry.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    return entry;
}

} // namespace

void TraceStatement(const QString &component, const QString &sql, const StatementParams &params)
{
    std::deque<Entry> &list = entries();
    list.push_front(Entry{QDateTime::currentMSecsSinceEpoch(), component, sql, params});
    while (list.size() > size_t(StatementTraceLimit))
        list.pop_back();
}

QStringList StatementTraceEntries()
{
    QStringList out;
    for (const Entry &e : entries())
        out << format(e);
    return out;
}

void ClearStatementTrace() { entries().clear(); }

void RemoveNewestStatementTraceEntry()
{
    if (!entries().empty())
        entries().pop_front();
}
