// The main window's "Jelentkezés" and "Hibák" buttons with the real windows registered: enabled by
// the role table, each opening its window.

#include "ErrorWindows.h"
#include "Fokep.h"
#include "FrameworkTestKit.h"
#include "NeptunFixture.h"
#include "NeptunWindows.h"
#include "ScriptedMessages.h"
#include "ShellWindows.h"

#include <QDialog>
#include <QToolButton>

using namespace neptuntest;

class TestNeptunMainWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoFiles> demo;

private Q_SLOTS:
    void initTestCase()
    {
        demo = std::make_unique<DemoFiles>();
        RegisterShellWindows();
        RegisterNeptunWindows();
        RegisterErrorWindows();
    }

    void buttonsFollowTheRoleTable_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("import");
        QTest::addColumn<bool>("errors");
        QTest::newRow("1") << 1 << true << true;
        QTest::newRow("2") << 2 << true << false;
        QTest::newRow("3") << 3 << false << false;
        QTest::newRow("4") << 4 << false << false;
        QTest::newRow("other") << 5 << true << true;
    }
    void buttonsFollowTheRoleTable()
    {
        QFETCH(int, role);
        QFETCH(bool, import);
        QFETCH(bool, errors);
        Register reg(*demo, Register::Demo);
        ScriptedMessages boxes;
        LoginInfo.RoleId = role;
        LoginInfo.FacultyId = QStringLiteral("1");
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.sb_felev->isEnabled(), import);
        QCOMPARE(w.sb_hiba->isEnabled(), errors);
        for (QToolButton *b : {w.sb_felev, w.sb_hiba}) {
            if (!b->isEnabled())
                continue;
            QString opened;
            WhenModalShown([&opened](QWidget *modal) {
                opened = modal->objectName();
                modal->close();
            });
            b->click();
            QCOMPARE(opened, b == w.sb_felev ? QStringLiteral("form_TantargyJelent") : QStringLiteral("form_Hibanaplo"));
        }
        QCOMPARE(boxes.shown, QStringList());
    }
};

QTEST_MAIN(TestNeptunMainWindow)
#include "test_neptun_mainwindow.moc"
