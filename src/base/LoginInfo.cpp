#include "LoginInfo.h"

TLoginInfo LoginInfo;

QString CurrentTimetableId;
QString CurrentTimetableName;
QString CurrentOfferingId;
QString CurrentOfferingText;
QString CurrentTeacherId;
QString CurrentStudentId;
QString CurrentStudentName;
QString SoughtStudentName;
QString CurrentEnrolmentId;
QString CurrentSemesterId;
QString CurrentUserId;
bool CurrentTimetableWeekly = false;

void ResetProcessValues()
{
    LoginInfo = TLoginInfo{};
    for (QString *v : {&CurrentTimetableId, &CurrentTimetableName, &CurrentOfferingId, &CurrentOfferingText,
                       &CurrentTeacherId, &CurrentStudentId, &CurrentStudentName, &SoughtStudentName,
                       &CurrentEnrolmentId, &CurrentSemesterId, &CurrentUserId})
        v->clear();
    CurrentTimetableWeekly = false;
}
