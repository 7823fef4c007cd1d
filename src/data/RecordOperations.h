#pragma once
// The generic writes: statements composed from "column=value" assignments, run on the shared
// Query1, each insert and update recorded in the audit table esemenynaplo.

#include <QString>
#include <QStringList>

// A value is NULL when it is "null" in any case, empty, or only blanks and tabs.
bool IsNullFieldValue(const QString &value);
// 'text' with single quotes doubled, or null.
QString SqlFieldValue(const QString &value);

// Inserts unless checkExisting finds a matching row; newId receives the new (or the existing) key.
void InsertRecord(const QString &table, const QStringList &fields, bool checkExisting, QString &newId);
void UpdateRecord(const QString &table, const QStringList &fields, const QString &condition);
void DeleteRecord(const QString &table, const QString &condition);
