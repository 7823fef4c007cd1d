#pragma once
// The login check shared by the login dialog and the command-line tools: opens the connection of
// kovra.ini, checks the name and the password hash, fills LoginInfo.

#include <QString>

class Dataset;
class IniFile;
class Tform_Adatmodul;

enum class LoginResult { Ok, NoConnection, WrongUser };

// felh: the query that looks the user up (the dialog's own). Errors of the user query after the
// connection opened propagate as DbError.
LoginResult LoginWithConfig(const IniFile &ini, bool testDatabase, const QString &name, const QString &password,
                            Tform_Adatmodul &module, Dataset &felh);

// The user statement: the name upper-cased with its quotes doubled, the hash as quoted decimal text.
QString LoginStatement(const QString &name, int passwordHash);
