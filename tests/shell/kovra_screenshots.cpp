// Takes the documentation's screenshots of the login dialog, the main window, the administration
// menu and the two message boxes on the demo database, the way the program shows them after a real
// login. Run under a real display:
//   kovra-demo DIR
//   xvfb-run -a kovra-screenshots --ini DIR/kovra.ini [--user NAME --password PASSWORD] OUTPUT_FOLDER
// The user defaults to the demo administrator ADMIN/admin.

#include "Adatmodul.h"
#include "ErrorCapture.h"
#include "Fokep.h"
#include "Indito.h"
#include "IniFile.h"
#include "KovraApplication.h"
#include "LoginInfo.h"
#include "AttendanceWindows.h"
#include "MasterdataWindows.h"
#include "MessageBoxes.h"
#include "OpenWindow.h"
#include "ShellFixture.h"
#include "ShellWindows.h"
#include "VDCComboBox.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QTextStream>

namespace {

bool save(QWidget *w, const QString &file)
{
    QApplication::processEvents();
    QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        // A shaped window shows only its outline.
        if (!w->mask().isEmpty())
            p.setClipRegion(w->mask());
        p.drawPixmap(0, 0, w->grab());
    }
    const bool ok = image.save(file);
    QTextStream(stdout) << (ok ? "wrote " : "cannot write ") << file << '\n';
    return ok;
}

void fail(const QString &what) { QTextStream(stderr) << "kovra-screenshots: " << what << '\n'; }

int usage()
{
    QTextStream(stderr) << "usage: kovra-screenshots --ini DEMO_FOLDER/kovra.ini [--user NAME --password PASSWORD] "
                           "OUTPUT_FOLDER\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    TKovraApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QStringList args = app.arguments().mid(1);
    const auto option = [&args](const QString &name, const QString &fallback) {
        const qsizetype i = args.indexOf(name);
        if (i < 0 || i + 1 >= args.size())
            return fallback;
        const QString value = args[i + 1];
        args.remove(i, 2);
        return value;
    };
    const QString ini = option(QStringLiteral("--ini"), QString());
    const QString user = option(QStringLiteral("--user"), QStringLiteral("ADMIN"));
    const QString password = option(QStringLiteral("--password"), QStringLiteral("admin"));
    if (ini.isEmpty() || args.size() != 1)
        return usage();
    if (!QFileInfo::exists(ini)) {
        fail(QStringLiteral("no such file ") + ini);
        return 2;
    }
    const QString out = args[0] + u'/';

    // Window positions saved by earlier runs must not change the pictures.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

    // As the program starts: error capture, message boxes, the windows, the configuration file.
    ErrorCapture().install();
    InstallMessageBoxes();
    RegisterShellWindows();
    RegisterMasterdataWindows();
    RegisterAttendanceWindows();
    SetConfigFilePath(ini);
    Tform_Fokep main;
    Tform_Adatmodul module;

    bool ok = true;
    {
        Tform_Indito login;
        login.show();
        login.activateWindow();
        ok &= QTest::qWaitForWindowActive(&login);
        login.FNev->setFocus(Qt::OtherFocusReason);
        TypeText(login.FNev, user);
        QTest::keyClick(login.FNev, Qt::Key_Tab);
        TypeText(login.FJelszo, password);
        for (int i = 0; i < 1000 && login.alpha() < 220; ++i)
            QTest::qWait(10);
        ok &= save(&login, out + QStringLiteral("login.png"));
        QTest::keyClick(login.FJelszo, Qt::Key_Return);
        if (login.result() != LoginModalResult) {
            fail(QStringLiteral("the login as %1 failed").arg(user));
            return 1;
        }
    }
    SetErrorLogConnection(&module.ADOConn);
    {
        main.show();
        ok &= QTest::qWaitForWindowExposed(&main);
        // For the administrator the faculty selector in use: the login's faculty chosen in it.
        if (main.vdc_kar->isVisible()) {
            const int own = main.vdc_kar->findText(LoginInfo.FacultyName);
            for (int i = 0; i <= own; ++i)
                QTest::keyClick(main.vdc_kar, Qt::Key_Down);
            main.vdc_kar->lineEdit()->deselect();
        }
        ok &= save(&main, out + QStringLiteral("main.png"));
    }
    {
        // The administration menu as the main window opens it (with its Alt letters).
        std::unique_ptr<QDialog> menu(CreateRegisteredWindow(QStringLiteral("form_Admin")));
        ok &= bool(menu);
        if (menu) {
            menu->show();
            ok &= QTest::qWaitForWindowExposed(menu.get());
            QTest::qWait(20);
            ok &= save(menu.get(), out + QStringLiteral("form_Admin.png"));
        }
    }
    {
        TMessageBox box(TMessageBox::Kind::Info, QStringLiteral("A jelszavad megváltozott."));
        box.show();
        ok &= QTest::qWaitForWindowExposed(&box);
        ok &= save(&box, out + QStringLiteral("infobox.png"));
    }
    {
        TMessageBox box(TMessageBox::Kind::Confirm,
                        QStringLiteral("Biztosan törölhetem az ablakok pozícióját és egyéb mentett tulajdonságát?"));
        box.show();
        ok &= QTest::qWaitForWindowExposed(&box);
        ok &= save(&box, out + QStringLiteral("confirmbox.png"));
    }
    main.close();
    return ok ? 0 : 1;
}
