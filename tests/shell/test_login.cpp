// The login dialog: every role, the login record, wrong input, the test database, the
// Enter-without-leaving-name case, Caps Lock warnings, outline and fade-in, a query error.

#include "ErrorCapture.h"
#include "KovraApplication.h"
#include "LoginDriver.h"
#include "ScriptedMessages.h"
#include "ShellFixture.h"

#include <QPushButton>

class TestLogin : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> fx;

    static QString noUser() { return QStringLiteral("A megadott névvel és jelszóval nem tudja beléptetni a rendszer!\r\n\r\nPróbálja meg újra!"); }

private Q_SLOTS:
    void initTestCase() { QuietOffscreenNotes(); }
    void init() { fx = std::make_unique<ShellFixture>(QStringLiteral("smtp.example.org")); }
    void cleanup() { fx.reset(); }

    void eachRole_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("faculty");     // id|code|name
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("teacher");
        QTest::newRow("role 1") << "admin" << "admin" << 1 << "1|GTK|Gazdaságtudományi Kar" << "admin@example.org" << false;
        QTest::newRow("role 2, no mail address") << "Elek" << "elek" << 2 << "2|MK|Mérnöki Kar"
                                                 << QString::fromLatin1(DeveloperMailAddress) << false;
        QTest::newRow("role 3 teacher without faculty") << "oktato" << "oktato" << 3 << "||" << "oktato@example.org" << true;
        QTest::newRow("role 4") << "KARTYA" << "kartya" << 4 << "1|GTK|Gazdaságtudományi Kar" << "kartya@example.org" << false;
        QTest::newRow("role outside 1-4") << "vendeg" << "vendeg" << 7 << "2|MK|Mérnöki Kar" << "vendeg@example.org" << false;
        QTest::newRow("quote in the name") << "o'neil" << "oneil" << 2 << "1|GTK|Gazdaságtudományi Kar" << "oneil@example.org" << false;
    }
    void eachRole()
    {
        QFETCH(QString, typed);
        QFETCH(QString, password);
        QFETCH(int, role);
        QFETCH(QString, faculty);
        QFETCH(QString, email);
        QFETCH(bool, teacher);
        ScriptedMessages messages;
        QCOMPARE(RunLogin({typed, password}), LoginModalResult);
        QCOMPARE(messages.shown, QStringList());
        QCOMPARE(LoginInfo.UserName, typed.toUpper());
        QCOMPARE(LoginInfo.UserId, fx->rows(QStringLiteral("select felh_id from felhasznalo where felh_nev='")
                                            + typed.toUpper().replace(u'\'', QStringLiteral("''")) + u'\'')
                                       .value(0));
        QCOMPARE(LoginInfo.RoleId, role);
        QCOMPARE(QStringList({LoginInfo.FacultyId, LoginInfo.FacultyCode, LoginInfo.FacultyName}).join(u'|'), faculty);
        QCOMPARE(LoginInfo.UserEmail, email);
        QCOMPARE(LoginInfo.TeacherId.isEmpty(), !teacher);
        QCOMPARE(LoginInfo.DatabaseName, QStringLiteral("KOVRA"));
        QCOMPARE(LoginInfo.SmtpServer, QStringLiteral("smtp.example.org"));
        // The connection stays open for the program.
        QVERIFY(fx->module->ADOConn.isOpen());
    }

    void refused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("ini");       // "" = the fixture's, "missing" = no file, "catalog" = unknown catalog
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << "admin" << "rossz" << "" << noUser();
        QTest::newRow("unknown user") << "senki" << "admin" << "" << noUser();
        QTest::newRow("quote trick") << "x' or '1'='1" << "admin" << "" << noUser();
        QTest::newRow("password case") << "admin" << "ADMIN" << "" << noUser();
        QTest::newRow("missing kovra.ini") << "admin" << "admin" << "missing" << "Nincs kapcsolat az adatbázissal!";
        QTest::newRow("unknown catalog") << "admin" << "admin" << "catalog" << "Nincs kapcsolat az adatbázissal!";
    }
    void refused()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, ini);
        QFETCH(QString, message);
        if (ini == u"missing")
            SetConfigFilePath(fx->dir.filePath(QStringLiteral("nincs.ini")));
        if (ini == u"catalog")
            IniFile(fx->iniPath).WriteString(QStringLiteral("Futtatas"), QStringLiteral("Adatbazis neve"),
                                             EncodeIniValue(QStringLiteral("MASIK")));
        ScriptedMessages messages;
        QCOMPARE(RunLogin({name, password}), int(QDialog::Rejected));
        QCOMPARE(messages.shown, QStringList{message});
        QVERIFY(LoginInfo.UserId.isEmpty());
        QCOMPARE(LoginInfo.RoleId, 0);
    }

    void databaseChoice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typedText"); // typed into cb_ab after choosing the item
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("database");
        QTest::newRow("test database") << 1 << "" << "teszt" << true << "KOVRA_teszt";
        QTest::newRow("live users are not in the test database") << 1 << "" << "admin" << false << "KOVRA_teszt";
        QTest::newRow("live database") << 0 << "" << "teszt" << false << "KOVRA";
        QTest::newRow("typed text means live") << 0 << "KOVRA_teszt" << "admin" << true << "KOVRA";
    }
    void databaseChoice()
    {
        QFETCH(int, index);
        QFETCH(QString, typedText);
        QFETCH(QString, user);
        QFETCH(bool, success);
        QFETCH(QString, database);
        const QString name = user == u"teszt" ? QStringLiteral("tesztelo") : user;
        ScriptedMessages messages;
        Tform_Indito d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.cb_ab->currentIndex(), 0); // live database preselected
        d.cb_ab->setCurrentIndex(index);
        if (!typedText.isEmpty())
            d.cb_ab->setEditText(typedText);
        TypeText(d.FNev, name);
        QTest::keyClick(d.FNev, Qt::Key_Tab);
        TypeText(d.FJelszo, user);
        QTest::keyClick(d.FJelszo, Qt::Key_Return);
        QCOMPARE(d.result() == LoginModalResult, success);
        QCOMPARE(LoginInfo.DatabaseName, database);
    }

    void nameAndPasswordFields()
    {
        ScriptedMessages messages;
        Tform_Indito d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.FJelszo->text(), QStringLiteral("Ide írja jelszavát"));
        QCOMPARE(d.FJelszo->echoMode(), QLineEdit::Normal);
        QVERIFY(!d.Belepes->isEnabled());
        QVERIFY(d.bb_kilep->isEnabled());
        QCOMPARE(QApplication::focusWidget(), d.FNev);
        // Leaving an empty name keeps the button off.
        QTest::keyClick(d.FNev, Qt::Key_Tab);
        QVERIFY(!d.Belepes->isEnabled());
        // Leaving a name: password field masked, emptied, green.
        d.FNev->setFocus(Qt::BacktabFocusReason);
        TypeText(d.FNev, QStringLiteral("admin"));
        QVERIFY(d.Belepes->isEnabled());
        QTest::keyClick(d.FNev, Qt::Key_Tab);
        QCOMPARE(d.FJelszo->echoMode(), QLineEdit::Password);
        QCOMPARE(d.FJelszo->text(), QString());
        QCOMPARE(d.FJelszo->palette().color(QPalette::Text), QColor(Qt::darkGreen));
        TypeText(d.FJelszo, QStringLiteral("Titok"));
        QCOMPARE(d.FJelszo->displayText(), QStringLiteral("*****"));
        d.FJelszo->clear();
        QVERIFY(d.Belepes->isEnabled());
        // Both fields empty: off.
        d.FNev->clear();
        QVERIFY(!d.Belepes->isEnabled());
        // Quit.
        QTest::mouseClick(d.bb_kilep, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.shown, QStringList());
    }

    void enterWithoutLeavingName()
    {
        // The initial text of the password field is taken as the password.
        fx->rows(QStringLiteral("update felhasznalo set felh_jelszo=%1 where felh_nev='ELEK'")
                     .arg(PasswordHash(QStringLiteral("Ide írja jelszavát"))));
        ScriptedMessages messages;
        QCOMPARE(RunLogin({QStringLiteral("elek"), QString(), 0, false}), LoginModalResult);
        QCOMPARE(LoginInfo.UserName, QStringLiteral("ELEK"));
        // The same with a name whose password is something else fails.
        ResetProcessValues();
        QCOMPARE(RunLogin({QStringLiteral("admin"), QString(), 0, false}), int(QDialog::Rejected));
        QCOMPARE(messages.shown, QStringList{noUser()});
    }

    void capsLockWarnings()
    {
        ScriptedMessages messages;
        Tform_Indito d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyRelease(d.FNev, Qt::Key_CapsLock);
        QCOMPARE(messages.shown, QStringList{"Figyelem, a CapsLock billentyűt nyomta meg!"});
        // A capital letter typed without Shift shows Caps Lock is on: warned once.
        QTest::keyClick(d.FJelszo, Qt::Key_A, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, d.FJelszo, Qt::Key_B, QStringLiteral("B"), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, d.FJelszo, Qt::Key_C, QStringLiteral("C"), Qt::NoModifier);
        QCOMPARE(messages.shown, QStringList({"Figyelem, a CapsLock billentyűt nyomta meg!",
                                              "Figyelem, a CapsLock billentyű bekapcsolt állapotban van!"}));
        // Shift with a capital letter is ordinary typing.
        QTest::keyRelease(d.FNev, Qt::Key_CapsLock);
        QTest::sendKeyEvent(QTest::Click, d.FNev, Qt::Key_D, QStringLiteral("D"), Qt::ShiftModifier);
        QCOMPARE(messages.shown.size(), 3);
    }

    void outlineAndFadeIn()
    {
        Tform_Indito d;
        const QRegion mask = d.mask();
        QVERIFY(mask.contains(QPoint(60, 5)));     // the tab with the program's name
        QVERIFY(!mask.contains(QPoint(250, 10)));  // right of the tab, above the body
        QVERIFY(mask.contains(QPoint(250, 100)));
        QVERIFY(!mask.contains(QPoint(312, 142))); // rounded corner
        QCOMPARE(Tform_Indito::Outline().size(), 20);
        QCOMPARE(d.alpha(), 0);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.Timer1->interval(), 10);
        QTRY_COMPARE_WITH_TIMEOUT(d.alpha(), 220, 20000);
        QTRY_VERIFY(!d.Timer1->isActive());
        QVERIFY(qAbs(d.windowOpacity() - 220.0 / 255.0) < 0.01);
    }

    void dragByClientArea()
    {
        Tform_Indito d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QPoint before = d.pos();
        QTest::mousePress(&d, Qt::LeftButton, {}, QPoint(60, 130));
        QTest::mouseMove(&d, QPoint(100, 140));
        QTest::mouseRelease(&d, Qt::LeftButton, {}, QPoint(100, 140));
        QCOMPARE(d.pos(), before + QPoint(40, 10));
    }

    void queryErrorKeepsDialogOpen()
    {
        // The connection opens, the user query fails: error report, the dialog stays.
        fx->rows(QStringLiteral("drop table oktato"));
        ScriptedMessages messages;
        Tform_Indito d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        TypeText(d.FNev, QStringLiteral("admin"));
        QTest::keyClick(d.FNev, Qt::Key_Tab);
        TypeText(d.FJelszo, QStringLiteral("admin"));
        QString shownWindow;
        WhenModal([&](QWidget *w) {
            shownWindow = w->objectName();
            w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        QTest::keyClick(d.FJelszo, Qt::Key_Return);
        QCOMPARE(shownWindow, QStringLiteral("form_Hibakezeles"));
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), 0);
        const QStringList report = ErrorCapture().reportLines();
        QCOMPARE(report.filter(QStringLiteral("Hibaüzenet típusa: ")), QStringList{"Hibaüzenet típusa: DbError"});
        // Before the login there is no error log connection: no statement section.
        QVERIFY(report.filter(QStringLiteral("A futtatott SQL-ek listája")).isEmpty());
        QCOMPARE(messages.shown, QStringList());
    }
};

KOVRA_GUI_TEST_MAIN(TestLogin)
#include "test_login.moc"
