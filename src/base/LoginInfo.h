#pragma once
// Process-wide values: the login record and the selections windows hand to each other.
// Plain variables without locking; the program runs on one thread.

#include <QString>

struct TLoginInfo {
    QString UserId;
    QString UserName;
    QString UserEmail;
    int RoleId = 0;
    QString TeacherId;
    QString FacultyId;
    QString FacultyCode;
    QString FacultyName;
    QString DatabaseName;
    QString SmtpServer;
};

// Filled once by the login dialog; faculty fields changed by the faculty selectors.
extern TLoginInfo LoginInfo;

// Shared selection values: empty text means nothing selected.
extern QString CurrentTimetableId;
extern QString CurrentTimetableName;
extern QString CurrentOfferingId;
extern QString CurrentOfferingText;
extern QString CurrentTeacherId;
extern QString CurrentStudentId;
extern QString CurrentStudentName;
extern QString SoughtStudentName;
extern QString CurrentEnrolmentId;
extern QString CurrentSemesterId;
extern QString CurrentUserId;
extern bool CurrentTimetableWeekly;

// Restores every value above to its start state (tests only; the program never clears them).
void ResetProcessValues();

// Fallback sender when a user has no mail address of their own.
inline constexpr const char *DeveloperMailAddress = "kovra-fejlesztok@example.org";
