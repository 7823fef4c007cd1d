#pragma once
// Column types as the program reads them, and how each renders as text.

#include <QString>
#include <QVariant>

enum class FieldType { Unknown, Integer, Float, Text, Date, DateTime, Time, Flag };

// Values travel as QVariant: null = SQL NULL; qint64, double, QString, QDate, QDateTime, QTime.
// Text forms: dates "yyyy.MM.dd", date-times "yyyy.MM.dd hh:mm:ss", times "hh:mm:ss", flags "1"/"0".
QString FieldText(const QVariant &value, FieldType type);
