// Takes the documentation's screenshots: the program's windows grab themselves on a fixture
// database. Run under a real display (xvfb-run): kovra-screenshots OUTPUT_FOLDER

#include "ErrorCapture.h"
#include "Fokep.h"
#include "KovraApplication.h"
#include "LoginDriver.h"
#include "MessageBoxes.h"
#include "ShellFixture.h"
#include "ShellWindows.h"

#include <QPainter>
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

} // namespace

int main(int argc, char **argv)
{
    TKovraApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        QTextStream(stderr) << "usage: kovra-screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    const QString out = app.arguments()[1] + u'/';
    ErrorCapture().install();
    InstallMessageBoxes();
    RegisterShellWindows();
    ShellFixture fx;
    bool ok = true;
    {
        Tform_Indito login;
        login.show();
        login.activateWindow();
        ok &= QTest::qWaitForWindowActive(&login);
        TypeText(login.FNev, QStringLiteral("admin"));
        QTest::keyClick(login.FNev, Qt::Key_Tab);
        TypeText(login.FJelszo, QStringLiteral("admin"));
        for (int i = 0; i < 1000 && login.alpha() < 220; ++i)
            QTest::qWait(10);
        ok &= save(&login, out + QStringLiteral("login.png"));
        QTest::keyClick(login.FJelszo, Qt::Key_Return);
        ok &= login.result() == LoginModalResult;
    }
    {
        Tform_Fokep main;
        main.show();
        ok &= QTest::qWaitForWindowExposed(&main);
        ok &= save(&main, out + QStringLiteral("main.png"));
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
    return ok ? 0 : 1;
}
