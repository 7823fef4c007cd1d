#pragma once
// The data module: the program's single connection and its shared work queries. Whoever uses a
// shared query closes it, replaces its text and opens or executes it; none stays open between calls.

#include "Connection.h"
#include "Dataset.h"

class Tform_Adatmodul : public QObject {
    Q_OBJECT
public:
    explicit Tform_Adatmodul(QObject *parent = nullptr);
    ~Tform_Adatmodul() override;

    Connection ADOConn;
    Dataset Query1; // record operations, server time
    Dataset Query2; // subject offerings
    Dataset Query3; // faculty selector, semester and lesson queries
};

// The one instance of the process (created at start-up; nullptr before and after).
extern Tform_Adatmodul *form_Adatmodul;
