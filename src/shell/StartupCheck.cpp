#include "StartupCheck.h"

#include "DatabaseConfig.h"
#include "IniFile.h"

#include <QDir>
#include <QFileInfo>

QString NoDatabaseMessage(const QString &iniPath)
{
    if (!ReadDatabaseConfig(IniFile(iniPath), false).server.trimmed().isEmpty())
        return {};
    const QString path = QDir::toNativeSeparators(QFileInfo(iniPath).absoluteFilePath());
    return QStringLiteral("Nincs beállított adatbázis: a(z) ") + path
           + QStringLiteral(" nem ad meg adatbázis-kapcsolatot.\n\n"
                            "A rendszergazda így írhatja be a kapcsolatot (az értékek titkosítva kerülnek a fájlba):\n"
                            "kovra-ini write ")
           + path
           + QStringLiteral(" --database KOVRA --server KISZOLGÁLÓ --user FELHASZNÁLÓ --password JELSZÓ\n\n"
                            "Kipróbáláshoz bemutató adatbázissal:\n"
                            "kovra-demo ~/kovra-demo\n"
                            "kovra --ini ~/kovra-demo/kovra.ini");
}
