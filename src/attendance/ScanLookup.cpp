#include "ScanLookup.h"

#include "SqlSplice.h"

ScanLookup::ScanLookup(Connection *connection) : m_query(connection, QStringLiteral("olvasas")) {}

QString ScanLookup::Statement(const QString &code, const QString &lessonId)
{
    const QString c = u'\'' + SqlQuoted(code) + u'\'';
    // An enrolled student first: one student's card number may be another's code.
    return QStringLiteral("Select top 1 h.hallgato_nev, h.hallgato_kod, (Select Count(*) From tan_hall t Where "
                          "t.hallgato_id=h.hallgato_id and t.orarend_id=")
           + SqlId(lessonId) + QStringLiteral(") as felvett From hallgato h Where h.hallgato_kod=") + c
           + QStringLiteral(" or h.hallgato_diak=") + c + QStringLiteral(" or h.hallgato_oa=") + c
           + QStringLiteral(" Order By felvett desc");
}

ScanResult ScanLookup::lookup(const QString &code, const QString &lessonId)
{
    ScanResult r;
    r.code = code.trimmed();
    if (r.code.isEmpty())
        return r;
    m_query.close();
    m_query.clearParams();
    m_query.setSql(Statement(r.code, lessonId));
    m_query.open();
    if (!m_query.isEmpty()) {
        r.name = m_query.fieldByName(QStringLiteral("hallgato_nev")).asString();
        r.studentCode = m_query.fieldByName(QStringLiteral("hallgato_kod")).asString();
        if (lessonId.trimmed().isEmpty())
            r.kind = ScanResult::NoLesson;
        else
            r.kind = m_query.fieldByName(QStringLiteral("felvett")).asInteger() > 0 ? ScanResult::Enrolled
                                                                                     : ScanResult::NotEnrolled;
    }
    m_query.close();
    return r;
}

QString ScanLookup::Text(const ScanResult &r)
{
    const QString who = r.name + QStringLiteral(" (") + (r.studentCode.isEmpty() ? r.code : r.studentCode)
                        + QStringLiteral(")");
    switch (r.kind) {
    case ScanResult::Enrolled: return r.code + QStringLiteral(": ") + who + QStringLiteral(" – felvette az órát");
    case ScanResult::NotEnrolled:
        return r.code + QStringLiteral(": ") + who + QStringLiteral(" – NEM vette fel ezt az órát");
    case ScanResult::NoLesson: return r.code + QStringLiteral(": ") + who + QStringLiteral(" – nincs kiválasztott óra");
    case ScanResult::Failed: return r.code + QStringLiteral(": a kód most nem ellenőrizhető");
    case ScanResult::Unknown: break;
    }
    return r.code + QStringLiteral(": ismeretlen kód");
}
