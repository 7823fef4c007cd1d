// Main window (role table, windows not built yet, faculty selector, focus highlight, position
// memory), administration menu, password change and the information window.

#include "Admin.h"
#include "ErrorCapture.h"
#include "FocusHighlight.h"
#include "Fokep.h"
#include "Indito2.h"
#include "JelszoMod.h"
#include "KovraApplication.h"
#include "LoginDriver.h"
#include "ScriptedMessages.h"
#include "Mnemonics.h"
#include "ShellFixture.h"
#include "ShellWindows.h"
#include "StartupCheck.h"
#include "UserSettings.h"
#include "VDCComboBox.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

class TestMainWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> fx;

    static void registerOtherWindows()
    {
        for (const char *name : {"form_TantargyJelent", "form_JelenletLista", "form_Jelenlet", "form_Kartyak", "form_Hibanaplo",
                                 "form_Orarend", "form_Felhasznalo", "form_Oktatok", "form_Tanora", "form_Hallgatok",
                                 "form_TanoraHallgato", "form_TanoraOktato", "form_Felev", "form_Szervezet"})
            RegisterWindow(QLatin1String(name), [name](QWidget *parent) -> QDialog * {
                auto *d = new QDialog(parent);
                d->setObjectName(QLatin1String(name));
                return d;
            });
    }
    // The enabled buttons of the main window, or of the menu (its close button left out).
    static QString enabledButtons(const QWidget *w)
    {
        static const QStringList main{"sb_felev", "sb_orarend", "sb_kartya", "sb_jelenlet",
                                      "sb_hiba",  "sb_jelszo",  "sb_admin",  "SpeedButton1"};
        static const QStringList menu{"sb_leltarszures",   "sb_felhasznalok", "sb_oktatok", "SpeedButton2", "sb_hallgato",
                                      "sb_tanorahallgato", "sb_tanoraoktato", "sb_felev",   "sb_tanszek"};
        QStringList on;
        for (const QString &name : qobject_cast<const Tform_Admin *>(w) ? menu : main)
            if (auto *b = w->findChild<QToolButton *>(name); b && b->isEnabled())
                on << name;
        return on.join(u' ');
    }
    static bool logIn(const char *name, const char *password)
    {
        return RunLogin({QLatin1String(name), QLatin1String(password)}) == LoginModalResult;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QuietOffscreenNotes();
        RegisterShellWindows();
    }
    void init() { fx = std::make_unique<ShellFixture>(); }
    void cleanup()
    {
        fx.reset();
        ResetWindowPositions();
    }

    // Runs before any other window is registered.
    void windowsNotBuiltStayDisabled()
    {
        QVERIFY(logIn("admin", "admin"));
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(enabledButtons(&w), QStringLiteral("sb_jelszo sb_admin SpeedButton1"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Hallgatói jelenlét nyilvántartása"));
        QCOMPARE(w.l_felh->text(), QStringLiteral("ADMIN"));
        QCOMPARE(w.l_db->text(), QStringLiteral("KOVRA"));
        QCOMPARE(w.l_kar->text(), QStringLiteral("Gazdaságtudományi Kar"));
        QCOMPARE(w.l_verzio->text(), QStringLiteral("2.0.0.27"));
        Tform_Admin admin;
        admin.show();
        QCOMPARE(enabledButtons(&admin), QString()); // none of its windows exists yet
    }

    void roleTable_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<bool>("selector");
        QTest::addColumn<QString>("adminMenu");
        const QString all = QStringLiteral("sb_felev sb_orarend sb_kartya sb_jelenlet sb_hiba sb_jelszo sb_admin SpeedButton1");
        const QString menu = QStringLiteral("sb_leltarszures sb_felhasznalok sb_oktatok SpeedButton2 sb_hallgato "
                                            "sb_tanorahallgato sb_tanoraoktato");
        QTest::newRow("1") << "admin" << all << true << menu + QStringLiteral(" sb_felev sb_tanszek");
        QTest::newRow("2") << "elek" << "sb_felev sb_orarend sb_kartya sb_jelenlet sb_jelszo sb_admin SpeedButton1" << false
                           << menu;
        QTest::newRow("3") << "oktato" << "sb_orarend sb_jelenlet sb_jelszo SpeedButton1" << false << menu;
        QTest::newRow("4") << "kartya" << "sb_orarend sb_kartya sb_jelenlet sb_jelszo SpeedButton1" << false << menu;
        QTest::newRow("other") << "vendeg" << all << false << menu;
    }
    void roleTable()
    {
        QFETCH(QString, user);
        QFETCH(QString, enabled);
        QFETCH(bool, selector);
        QFETCH(QString, adminMenu);
        registerOtherWindows();
        QCOMPARE(RunLogin({user, user}), LoginModalResult);
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(enabledButtons(&w), enabled);
        QCOMPARE(w.vdc_kar->isVisible(), selector);
        QCOMPARE(w.vdc_kar->count(), selector ? 2 : 0);
        Tform_Admin admin;
        admin.show();
        QCOMPARE(enabledButtons(&admin), adminMenu);
    }

    void facultySelector()
    {
        // As at start-up: the main window exists before the data module and the login.
        fx.reset();
        Tform_Fokep w;
        fx = std::make_unique<ShellFixture>();
        QVERIFY(logIn("admin", "admin"));
        QStringList sent;
        connect(&fx->module->ADOConn, &Connection::statementSent, this,
                [&sent](const QString &component, const QString &sql) { sent << component + u':' + sql; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(sent, QStringList{"Query3:Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV"});
        // Active faculties by name, nothing preselected, the login's faculty kept.
        QCOMPARE(w.vdc_kar->itemText(0), QStringLiteral("Gazdaságtudományi Kar"));
        QCOMPARE(w.vdc_kar->itemText(1), QStringLiteral("Mérnöki Kar"));
        QCOMPARE(w.vdc_kar->currentIndex(), -1);
        QCOMPARE(LoginInfo.FacultyId, QStringLiteral("1"));

        // Two steps down the list: the second faculty.
        QTest::keyClick(w.vdc_kar, Qt::Key_Down);
        QTest::keyClick(w.vdc_kar, Qt::Key_Down);
        QCOMPARE(sent.last(), QStringLiteral("Query3:Select kar_id, kar_kod, kar_nev From kar Where kar_id=2"));
        QCOMPARE(LoginInfo.FacultyId, QStringLiteral("2"));
        QCOMPARE(LoginInfo.FacultyCode, QStringLiteral("MK"));
        QCOMPARE(LoginInfo.FacultyName, QStringLiteral("Mérnöki Kar"));
        QCOMPARE(w.l_kar->text(), QStringLiteral("Mérnöki Kar"));
        QVERIFY(!fx->module->Query3.isActive());

        // Typing: a name that matches no faculty keeps the chosen one, a full name chooses its faculty.
        const qsizetype before = sent.size();
        QLineEdit *edit = w.vdc_kar->lineEdit();
        edit->selectAll();
        TypeText(edit, QStringLiteral("Gazd"));
        QCOMPARE(w.vdc_kar->Eredmeny(), QStringLiteral("null"));
        QCOMPARE(sent.size(), before);
        QCOMPARE(LoginInfo.FacultyId, QStringLiteral("2"));
        QCOMPARE(w.l_kar->text(), QStringLiteral("Mérnöki Kar"));
        TypeText(edit, QStringLiteral("aságtudományi kar"));
        QCOMPARE(w.vdc_kar->currentIndex(), 0);
        QCOMPARE(sent.size(), before); // accepted with Enter or on leaving the field
        QTest::keyClick(w.vdc_kar, Qt::Key_Return);
        QCOMPARE(sent.mid(before), QStringList{"Query3:Select kar_id, kar_kod, kar_nev From kar Where kar_id=1"});
        QCOMPARE(LoginInfo.FacultyCode, QStringLiteral("GTK"));
        QCOMPARE(w.l_kar->text(), QStringLiteral("Gazdaságtudományi Kar"));

        // A faculty removed since the list was loaded: the faculty fields and the label become empty.
        fx->rows(QStringLiteral("delete from kar where kar_id=2"));
        QTest::keyClick(w.vdc_kar, Qt::Key_Down);
        QCOMPARE(sent.last(), QStringLiteral("Query3:Select kar_id, kar_kod, kar_nev From kar Where kar_id=2"));
        QCOMPARE(LoginInfo.FacultyId, QString());
        QCOMPARE(LoginInfo.FacultyCode, QString());
        QCOMPARE(LoginInfo.FacultyName, QString());
        QCOMPARE(w.l_kar->text(), QString());
    }

    void focusHighlight()
    {
        Tform_Fokep main;
        QWidget form;
        form.setObjectName(QStringLiteral("form_Proba"));
        auto *plain = new QLineEdit(&form);
        plain->setGeometry(20, 20, 100, 24);
        auto *required = new QLineEdit(&form);
        required->setGeometry(20, 60, 100, 24);
        SetFieldColour(required, RequiredFieldColour);
        auto *button = new QPushButton(QStringLiteral("Gomb"), &form);
        button->setGeometry(20, 100, 100, 30);
        const QColor plainColour = FieldColour(plain);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        TFocusHighlight *h = main.focusHighlight();

        plain->setFocus();
        QCOMPARE(FieldColour(plain), FocusedFieldColour);
        QVERIFY(h->frame());
        QCOMPARE(h->frame()->parentWidget(), &form);
        QCOMPARE(h->frame()->geometry(), QRect(17, 17, 106, 30));

        required->setFocus();
        QCOMPARE(FieldColour(plain), plainColour);
        QCOMPARE(FieldColour(required), FocusedRequiredColour);
        QCOMPARE(form.findChildren<QFrame *>(QStringLiteral("FokuszKeret")).size(), 1);

        button->setFocus();
        QCOMPARE(FieldColour(required), RequiredFieldColour);
        QCOMPARE(h->recoloured(), nullptr);
        QCOMPARE(h->frame()->geometry(), QRect(17, 97, 106, 36));

        // Focus leaving to no control: the frame goes, the field keeps its colour until the next control.
        plain->setFocus();
        plain->clearFocus();
        QCOMPARE(h->frame(), nullptr);
        QCOMPARE(FieldColour(plain), FocusedFieldColour);
        required->setFocus();
        QCOMPARE(FieldColour(plain), plainColour);
    }

    void positionMemory()
    {
        QVERIFY(logIn("elek", "elek"));
        QSize designed;
        {
            Tform_Fokep w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            designed = w.size();
            w.move(123, 77);
            w.resize(900, 420);
            w.close();
        }
        auto s = UserSettings();
        QCOMPARE(s->value(QStringLiteral("Software/KOVRA/Ablakok/form_Fokep/Top")).toInt(), 77);
        QCOMPARE(s->value(QStringLiteral("Software/KOVRA/Ablakok/form_Fokep/Width")).toInt(), 900);
        {
            Tform_Fokep w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(w.pos(), QPoint(123, 77));
            QCOMPARE(w.size(), QSize(900, 420));
        }
        // The information window's reset asks first; "Nem" keeps everything.
        ScriptedMessages messages;
        messages.answers << false << true;
        Tform_Indito2 info;
        info.bb_ablak->click();
        QVERIFY(UserSettings()->contains(QStringLiteral("Software/KOVRA/Ablakok/form_Fokep/Top")));
        info.bb_ablak->click();
        QCOMPARE(messages.asked,
                 QStringList(2, QStringLiteral("Biztosan törölhetem az ablakok pozícióját és egyéb mentett tulajdonságát?")));
        QVERIFY(!UserSettings()->contains(QStringLiteral("Software/KOVRA/Ablakok/form_Fokep/Top")));
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), designed);
    }

    void adminMenuFromMainWindow()
    {
        QVERIFY(logIn("admin", "admin"));
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QString opened, title;
        WhenModal([&](QWidget *dialog) {
            opened = dialog->objectName();
            title = dialog->windowTitle();
            dialog->findChild<QToolButton *>(QStringLiteral("SpeedButton1"))->click();
        });
        w.sb_admin->click();
        QCOMPARE(opened, QStringLiteral("form_Admin"));
        QCOMPARE(title, QStringLiteral("Adminisztráció"));
        // Opened through the window opener: its position is remembered.
        QVERIFY(UserSettings()->contains(QStringLiteral("Software/KOVRA/Ablakok/form_Admin/Top")));
    }

    // Keyboard alone: the main window's buttons are in the Tab order with the Alt letters the
    // manual lists; Alt+A opens the menu (Alt+K closes it), Alt+S the password change.
    void windowsByKeyboard()
    {
        QVERIFY(logIn("admin", "admin"));
        Tform_Fokep w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QString letters;
        for (QToolButton *b : {w.sb_felev, w.sb_orarend, w.sb_admin, w.sb_jelenlet, w.sb_kartya, w.sb_jelszo, w.sb_hiba,
                               w.SpeedButton1}) {
            QVERIFY(b->focusPolicy() & Qt::TabFocus);
            letters += MnemonicOf(b);
        }
        QCOMPARE(letters, QStringLiteral("JLAEKSHG"));
        // Tab walks the enabled buttons in their row (windows not registered here stay disabled).
        QList<QWidget *> row;
        for (QToolButton *b : {w.sb_felev, w.sb_orarend, w.sb_admin, w.sb_jelenlet, w.sb_kartya, w.sb_jelszo, w.sb_hiba,
                               w.SpeedButton1})
            if (b->isEnabled())
                row << b;
        QVERIFY(row.size() >= 3);
        row.first()->setFocus();
        for (qsizetype i = 1; i < row.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), row[i]);
        }

        QStringList opened;
        QString menuLetters;
        WhenModal([&](QWidget *menu) {
            opened << menu->objectName();
            for (QToolButton *b : menu->findChildren<QToolButton *>())
                menuLetters += MnemonicOf(b);
            QTest::keyClick(menu, Qt::Key_K, Qt::AltModifier);
        });
        // A mnemonic presses its button as a click would (after the button's short press animation).
        QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(opened.size(), 1);
        QTRY_VERIFY(!QApplication::activeModalWidget()); // Alt+K closed the menu
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        WhenModal([&](QWidget *password) {
            opened << password->objectName();
            static_cast<QDialog *>(password)->reject();
        });
        QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(opened, QStringList({"form_Admin", "form_JelszoMod"}));
        QCOMPARE(menuLetters, QStringLiteral("RFOTHANLSK"));
    }

    void passwordChange()
    {
        QVERIFY(logIn("elek", "elek"));
        ScriptedMessages messages;
        Tform_JelszoMod d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Jelszó módosítás"));
        QVERIFY(!d.Belepes->isEnabled());
        for (QLineEdit *e : {d.Eredeti, d.Jelszo, d.Jelszo2})
            QCOMPARE(e->echoMode(), QLineEdit::Password);

        auto attempt = [&](const QString &current, const QString &next, const QString &again) {
            d.Eredeti->setText(current);
            d.Jelszo->setText(next);
            d.Jelszo2->setText(again);
            QVERIFY(d.Belepes->isEnabled());
            d.Belepes->click();
        };
        const QString user = LoginInfo.UserId;
        const auto hashOf = [&] {
            return fx->rows(QStringLiteral("select felh_jelszo from felhasznalo where felh_id=") + user).value(0);
        };
        d.Eredeti->setText(QStringLiteral("elek"));
        d.Jelszo->setText(QStringLiteral("uj"));
        QVERIFY(!d.Belepes->isEnabled()); // the third is still empty

        attempt(QStringLiteral("elek"), QStringLiteral("Uj"), QStringLiteral("uj"));
        attempt(QStringLiteral("rossz"), QStringLiteral("uj"), QStringLiteral("uj"));
        QCOMPARE(hashOf(), QString::number(PasswordHash(QStringLiteral("elek"))));
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from esemenynaplo")), QStringList{"0"});
        attempt(QStringLiteral("elek"), QStringLiteral("uj"), QStringLiteral("uj"));
        const QString newHash = QString::number(PasswordHash(QStringLiteral("uj")));
        QCOMPARE(hashOf(), newHash);
        // The same password again is accepted and audited again.
        attempt(QStringLiteral("uj"), QStringLiteral("uj"), QStringLiteral("uj"));
        QCOMPARE(messages.shown, QStringList({"A két jelszó nem egyezik!", "Nem megfelelő az eredeti jelszó!",
                                              "A jelszavad megváltozott.", "A jelszavad megváltozott."}));
        QVERIFY(d.isVisible());
        QCOMPARE(fx->rows(QStringLiteral("select etipus_id, felh_id, erintett_tabla, erintett_rekord, uj_ertek from esemenynaplo")),
                 QStringList(2, QStringLiteral("2|%1|felhasznalo|%1|felh_jelszo = %2").arg(user, newHash)));
        QVERIFY(fx->rows(QStringLiteral("select regi_ertek from esemenynaplo")).value(0).contains(
            QStringLiteral("felh_jelszo=") + QString::number(PasswordHash(QStringLiteral("elek")))));
        // The new password logs in.
        QVERIFY(logIn("elek", "uj"));
    }

    void informationWindow()
    {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        Tform_Indito2 d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Segítség"));
        QTest::mouseClick(d.Label1, Qt::LeftButton);
        QTest::mouseClick(d.Label3, Qt::LeftButton);
        QTest::mouseClick(d.Label2, Qt::LeftButton);
        QTest::mouseClick(d.Label4, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(recorder.urls.size(), 3);
        QCOMPARE(recorder.urls[0], QUrl::fromLocalFile(Tform_Indito2::ManualPath()));
        QVERIFY(recorder.urls[0].path().endsWith(QLatin1String("/KOVRA.pdf")));
        QCOMPARE(recorder.urls[1], recorder.urls[0]);
        QCOMPARE(recorder.urls[2], QUrl(QStringLiteral("mailto:") + QLatin1String(DeveloperMailAddress)));
    }

    // The working directory's manual, else the one beside the executable, else an installed package's.
    void manualOfAnInstallation()
    {
        QTemporaryDir root;
        const QDir r(root.path());
        QVERIFY(r.mkpath(QStringLiteral("work")) && r.mkpath(QStringLiteral("usr/bin"))
                && r.mkpath(QStringLiteral("usr/share/doc/kovra")));
        const auto touch = [&](const QString &name) {
            QFile f(r.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        const QString work = r.filePath(QStringLiteral("work")), bin = r.filePath(QStringLiteral("usr/bin"));
        QCOMPARE(Tform_Indito2::ManualPathFor(work, bin), bin + QStringLiteral("/KOVRA.pdf"));
        touch(QStringLiteral("usr/share/doc/kovra/KOVRA.pdf"));
        QCOMPARE(Tform_Indito2::ManualPathFor(work, bin), r.filePath(QStringLiteral("usr/share/doc/kovra/KOVRA.pdf")));
        touch(QStringLiteral("usr/bin/KOVRA.pdf"));
        QCOMPARE(Tform_Indito2::ManualPathFor(work, bin), bin + QStringLiteral("/KOVRA.pdf"));
        touch(QStringLiteral("work/KOVRA.pdf"));
        QCOMPARE(Tform_Indito2::ManualPathFor(work, bin), work + QStringLiteral("/KOVRA.pdf"));
    }

    // A configuration without a server (missing, the package's example, keys empty) gets the guidance.
    void noDatabaseGuidance()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.ini"));
        const QString example = dir.filePath(QStringLiteral("example.ini"));
        const QString configured = dir.filePath(QStringLiteral("kovra.ini"));
        {
            QFile f(example);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("; comment only\n[Futtatas]\nA_ELERES=\n[Hibakezeles]\nBETU=12\n");
        }
        IniFile(configured).WriteString(QStringLiteral("Futtatas"), QStringLiteral("A_ELERES"), EncodeIniValue(QStringLiteral("sqlite:/tmp")));
        for (const QString &path : {missing, example}) {
            const QString text = NoDatabaseMessage(path);
            QVERIFY2(text.startsWith(QStringLiteral("Nincs beállított adatbázis: a(z) ") + path), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("kovra-ini write ") + path + QStringLiteral(" --database")));
            QVERIFY(text.contains(QStringLiteral("kovra-demo ~/kovra-demo\nkovra --ini ~/kovra-demo/kovra.ini")));
        }
        QCOMPARE(NoDatabaseMessage(configured), QString());
    }
};

KOVRA_GUI_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
