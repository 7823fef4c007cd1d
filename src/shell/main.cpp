// kovra: the attendance register.

#include "IniFile.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype ini = args.indexOf(QStringLiteral("--ini"));
    if (ini > 0 && ini + 1 < args.size())
        SetConfigFilePath(args[ini + 1]);
    QTextStream(stderr) << "kovra: configuration " << ConfigFilePath() << "\n"
                        << "kovra: the login window and the main window are not built yet; nothing to show.\n";
    return 0;
}
