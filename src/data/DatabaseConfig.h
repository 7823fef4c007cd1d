#pragma once
// The connection settings of kovra.ini and the connection string composed from them.

#include <QString>
#include <QStringList>

class IniFile;

struct DatabaseConfig {
    QString catalog;  // with "_teszt" appended for the test database
    QString server;   // "Data Source": a SQL Server address, or "sqlite:<folder>"
    QString user;
    QString password;
    QString neptun;   // the Neptun stand-in of the embedded engine ([Neptun] "Adatbazis")
};

DatabaseConfig ReadDatabaseConfig(const IniFile &ini, bool testDatabase);
// Exactly: "Provider=SQLOLEDB.1;Password=…;Persist Security Info=True;User ID=…;Initial Catalog=…;Data Source=…"
QString ComposeConnectionString(const DatabaseConfig &config);

// Splits a script into batches at lines holding only GO (any case, blanks around), never inside
// a string literal, a quoted identifier or a comment. Empty batches are dropped.
QStringList SplitBatches(const QString &script);
