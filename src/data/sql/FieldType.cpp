#include "FieldType.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

QString FieldText(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double: {
        const double d = value.toDouble();
        return type == FieldType::Integer ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
    }
    default:
        break;
    }
    if (type == FieldType::Flag) {
        const QString s = value.toString();
        return (s == u"1" || s.compare(u"true", Qt::CaseInsensitive) == 0) ? QStringLiteral("1") : QStringLiteral("0");
    }
    return value.toString();
}
