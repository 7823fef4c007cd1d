// frissites: brings the workstation up to date, then starts the main program.

#include "Form1.h"
#include "Launcher.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Frissítés"));
    app.setQuitOnLastWindowClosed(false);

    frissites::RunSetup setup;
    setup.workDir = QDir::currentPath();
    setup.exePath = QCoreApplication::applicationFilePath();
    setup.arguments = app.arguments().mid(1);
    setup.restarted = qEnvironmentVariableIsSet(frissites::RestartMarker);
    setup.packageFolders = frissites::PackageFolders(setup.exePath);

    frissites::Form1 window(setup);
    window.present();
    return app.exec();
}
