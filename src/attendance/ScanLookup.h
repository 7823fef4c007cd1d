#pragma once
// What a code from the reader stands for, asked as each code arrives: the student it belongs to
// (by Neptun code, card number or other code) and whether that student is enrolled in the lesson.
// Read-only and window-free: it never touches the code list, the backup or a capture run.

#include "Dataset.h"

#include <QString>

class Connection;

struct ScanResult {
    enum Kind { Unknown, Enrolled, NotEnrolled, NoLesson, Failed };
    Kind kind = Unknown;
    QString code;        // as looked up
    QString name;        // the student's name; empty when unknown
    QString studentCode; // the student's Neptun code
};

class ScanLookup {
public:
    explicit ScanLookup(Connection *connection);

    // lessonId empty: no lesson chosen (NoLesson when the code is a student's).
    ScanResult lookup(const QString &code, const QString &lessonId);
    // The line shown beside the code list.
    static QString Text(const ScanResult &result);
    // The statement of a lookup.
    static QString Statement(const QString &code, const QString &lessonId);

private:
    Dataset m_query;
};
