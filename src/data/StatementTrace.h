#pragma once
// Every statement opened or executed passes through TraceStatement before it is sent.
// The newest ten entries are kept, newest first, each one line.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

using StatementParams = QList<QPair<QString, QVariant>>;

// component: the object name of the query or command that sends the statement.
void TraceStatement(const QString &component, const QString &sql, const StatementParams &params = {});
QStringList StatementTraceEntries();
void ClearStatementTrace();
inline constexpr int StatementTraceLimit = 10;
// The error report drops the entry of its own log insert with this.
void RemoveNewestStatementTraceEntry();
