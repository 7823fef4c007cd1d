// kovra: the attendance register.

#include "Adatmodul.h"
#include "AllWindows.h"
#include "ErrorCapture.h"
#include "Fokep.h"
#include "Indito.h"
#include "IniFile.h"
#include "KovraApplication.h"
#include "MessageBoxes.h"
#include "Messages.h"
#include "StartupCheck.h"
#include "Translations.h"

#include <QTextStream>

#include <memory>

int main(int argc, char **argv)
{
    // Error capture and statement trace come up before anything else.
    TErrorCapture &capture = ErrorCapture();
    TKovraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("kovra"));
    app.setOrganizationName(QStringLiteral("KOVRA"));
    app.setQuitOnLastWindowClosed(false);
    capture.install();
    InstallMessageBoxes();
    InstallHungarianTranslations();

    const QStringList args = app.arguments();
    const qsizetype ini = args.indexOf(QStringLiteral("--ini"));
    if (ini > 0 && ini + 1 < args.size())
        SetConfigFilePath(args[ini + 1]);

    // No database configured (a fresh installation): say what to do instead of a failing login.
    const QString guidance = NoDatabaseMessage(ConfigFilePath());
    if (!guidance.isEmpty()) {
        QTextStream(stderr) << "kovra: " << guidance << '\n';
        InfoBox(guidance);
        return 1;
    }

    try {
        RegisterAllWindows();
        auto mainWindow = std::make_unique<Tform_Fokep>();
        auto dataModule = std::make_unique<Tform_Adatmodul>();
        int result = 0;
        {
            Tform_Indito login;
            result = login.exec();
        }
        // Only this result counts as a login; the ordinary OK ends the program like a cancel.
        if (result != LoginModalResult)
            return 0;
        SetErrorLogConnection(&dataModule->ADOConn);
        // Closing the main window ends the process.
        app.setQuitOnLastWindowClosed(true);
        mainWindow->show();
        return app.exec();
    } catch (...) {
        CaptureException(std::current_exception());
        return 1;
    }
}
