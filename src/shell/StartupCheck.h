#pragma once
// What kovra says before the login when its configuration names no database.

#include <QString>

// Empty when iniPath names a database server; otherwise the Hungarian guidance: how to write the
// connection with kovra-ini, or how to try the program on the demo database.
QString NoDatabaseMessage(const QString &iniPath);
