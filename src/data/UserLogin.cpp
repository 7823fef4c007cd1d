#include "UserLogin.h"

#include "Adatmodul.h"
#include "Crc32.h"
#include "DatabaseConfig.h"
#include "DbError.h"
#include "IniFile.h"
#include "LoginInfo.h"

QString LoginStatement(const QString &name, int passwordHash)
{
    return QStringLiteral("Select a.felh_id, a.felh_nev, a.felh_email, (Select x.oktato_id From Oktato x Where "
                          "x.felh_id=a.felh_id) as okt, a.kar_id, a.szerep_id From felhasznalo a Where a.felh_nev='")
           + name.toUpper().replace(u'\'', QStringLiteral("''")) + u'\'' + QStringLiteral(" and a.felh_jelszo = ") + u'\''
           + QString::number(passwordHash) + u'\'' + u' ';
}

LoginResult LoginWithConfig(const IniFile &ini, bool testDatabase, const QString &name, const QString &password,
                            Tform_Adatmodul &module, Dataset &felh)
{
    const int hash = PasswordHash(password);
    module.ADOConn.close();
    const DatabaseConfig config = ReadDatabaseConfig(ini, testDatabase);
    LoginInfo.DatabaseName = config.catalog;
    module.ADOConn.setConnectionString(ComposeConnectionString(config));
    module.ADOConn.setNeptunDatabase(config.neptun);
    try {
        module.ADOConn.open();
    } catch (const DbError &) {
        return LoginResult::NoConnection;
    }
    felh.setConnection(&module.ADOConn);
    felh.close();
    felh.clearParams();
    felh.setSql(LoginStatement(name, hash));
    felh.open();
    if (felh.isEmpty()) {
        felh.close();
        return LoginResult::WrongUser;
    }
    LoginInfo.RoleId = felh.fieldByName(QStringLiteral("szerep_id")).asInteger();
    LoginInfo.FacultyId = felh.fieldByName(QStringLiteral("kar_id")).asString();
    LoginInfo.UserName = felh.fieldByName(QStringLiteral("felh_nev")).asString();
    LoginInfo.UserId = felh.fieldByName(QStringLiteral("felh_id")).asString();
    LoginInfo.UserEmail = felh.fieldByName(QStringLiteral("felh_email")).asString();
    if (LoginInfo.UserEmail.isEmpty())
        LoginInfo.UserEmail = QString::fromLatin1(DeveloperMailAddress);
    LoginInfo.TeacherId = felh.fieldByName(QStringLiteral("okt")).asString();
    felh.close();
    LoginInfo.SmtpServer = ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP szerver"));
    if (!LoginInfo.FacultyId.isEmpty()) {
        felh.setSql(QStringLiteral("Select kar_kod, kar_nev From kar Where kar_id=") + LoginInfo.FacultyId);
        felh.open();
        LoginInfo.FacultyCode = felh.isEmpty() ? QString() : felh.fieldByName(QStringLiteral("kar_kod")).asString();
        LoginInfo.FacultyName = felh.isEmpty() ? QString() : felh.fieldByName(QStringLiteral("kar_nev")).asString();
        felh.close();
    }
    return LoginResult::Ok;
}
