// Unhandled exceptions: the report text with its traces and throw site, the hibanaplo row, the
// encoded copy, the mail, the NULL-violation message, and the error window's own robustness.

#include "Calendar.h"
#include "DbError.h"
#include "ErrorCapture.h"
#include "Hibakezeles.h"
#include "KovraApplication.h"
#include "LoginDriver.h"
#include "RecordOperations.h"
#include "ScriptedMessages.h"
#include "ShellFixture.h"
#include "SmtpTestServer.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSysInfo>
#include <dlfcn.h>
#include <stdexcept>

// The site every test exception comes from.
[[gnu::noinline]] void raiseProblem(const char *message) { throw std::runtime_error(message); }

class Tform_Proba : public QDialog {
    Q_OBJECT
public:
    Tform_Proba()
    {
        setObjectName(QStringLiteral("form_Proba"));
        setWindowTitle(QStringLiteral("Próba ablak"));
        e_nev = new QLineEdit(QStringLiteral("Kovács 'K'"), this);
        e_nev->setObjectName(QStringLiteral("e_nev"));
        e_nev->setGeometry(10, 10, 150, 24);
        bb_hiba = new QPushButton(QStringLiteral("Hiba!"), this);
        bb_hiba->setObjectName(QStringLiteral("bb_hiba"));
        bb_hiba->setGeometry(10, 50, 100, 30);
        connect(bb_hiba, &QPushButton::clicked, this, [this] { action(); });
        resize(200, 100);
    }
    QLineEdit *e_nev;
    QPushButton *bb_hiba;
    std::function<void()> action = [] { raiseProblem("Szándékos hiba"); };
};

class TestErrors : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> fx;
    std::unique_ptr<Tform_Proba> form;

    // Shows the probe window, focuses its edit, then clicks the failing button; what runs in the
    // error window is given as inside (the window is closed with "Bezárás" afterwards when still up).
    bool clickFailing(std::function<void(Tform_Hibakezeles *)> inside = {})
    {
        bool shown = false;
        WhenModal([&](QWidget *w) {
            auto *report = qobject_cast<Tform_Hibakezeles *>(w);
            shown = report != nullptr;
            if (inside && report)
                inside(report);
            if (w->isVisible())
                w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        QTest::mouseClick(form->bb_hiba, Qt::LeftButton);
        // A window that did not come up leaves the poll running: let it give up harmlessly.
        return shown;
    }
    static bool serverTimeAvailable()
    {
        try {
            ServerNow(2);
            return true;
        } catch (const DbError &) {
            return false;
        }
    }

private Q_SLOTS:
    void initTestCase() { QuietOffscreenNotes(); }
    void init()
    {
        fx = std::make_unique<ShellFixture>();
        QCOMPARE(RunLogin({QStringLiteral("admin"), QStringLiteral("admin")}), LoginModalResult);
        SetErrorLogConnection(&fx->module->ADOConn);
        ErrorCapture().clearTraces();
        ClearStatementTrace();
        form = std::make_unique<Tform_Proba>();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->e_nev->setFocus();
    }
    void cleanup()
    {
        form.reset();
        SetErrorLogConnection(nullptr);
        fx.reset();
    }

    void reportText()
    {
        Dataset &q = fx->module->Query2;
        q.setSql(QStringLiteral("Select kar_nev From kar Where kar_kod='GTK'"));
        q.open();
        q.close();
        QString description;
        QVERIFY(clickFailing([&](Tform_Hibakezeles *w) {
            description = w->memo_Leiras->toPlainText();
            QCOMPARE(w->windowTitle(), QStringLiteral("Hiba"));
            QCOMPARE(QApplication::focusWidget(), w->bb_kuld);
        }));
        const QStringList r = ErrorCapture().reportLines();
        QCOMPARE(r.value(0), QStringLiteral("Számítógép neve: ") + QSysInfo::machineHostName());
        QVERIFY2(r.value(1).startsWith(QStringLiteral("Belépett felhasználó: ")) && r.value(1).size() > 22, qPrintable(r.value(1)));
        QCOMPARE(r.mid(2, 4), QStringList({"Program verzió:2.0.0.27", "Adatbázis:KOVRA", "Felhasználó:ADMIN", ""}));
        QVERIFY(QRegularExpression(QStringLiteral("^A hiba keletkezésének időpontja: \\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(r.value(6)).hasMatch());
        QCOMPARE(r.mid(7, 2), QStringList({"Hibaüzenet típusa: std::runtime_error", "A hiaüzenet:Szándékos hiba"}));
        QCOMPARE(r.value(9), QStringLiteral("Modul:") + QCoreApplication::applicationFilePath());

        // "A hiba helye": the throw inside raiseProblem, as an offset in this executable.
        QVERIFY(r.value(10).startsWith(QLatin1String("A hiba helye:")));
        bool ok = false;
        const quintptr at = r.value(10).mid(13).toULongLong(&ok, 16);
        QVERIFY(ok && r.value(10).size() >= 13 + 8);
        Dl_info info{};
        QVERIFY(dladdr(reinterpret_cast<void *>(&raiseProblem), &info));
        const quintptr function = quintptr(reinterpret_cast<void *>(&raiseProblem)) - quintptr(info.dli_fbase);
        QVERIFY2(at > function && at < function + 256, qPrintable(r.value(10)));

        QCOMPARE(r.mid(11, 3), QStringList({"A hiba leírása:", "", "A használt ablakok listája"}));
        const qsizetype controls = r.indexOf(QStringLiteral("A használt kontrollok listája"));
        const qsizetype sql = r.indexOf(QStringLiteral("A futtatott SQL-ek listája"));
        QVERIFY(controls > 14 && sql > controls);
        const QStringList windows = r.mid(14, controls - 15);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\t\\(Tform_Proba\\)\tform_Proba\t'Próba ablak'$"))
                    .match(windows.value(0)).hasMatch());
        const QStringList controlLines = r.mid(controls + 1, sql - controls - 2);
        QCOMPARE(controlLines.value(0).mid(8), QStringLiteral("\tQPushButton\tform_Proba\tbb_hiba\t'Hiba!'"));
        QCOMPARE(controlLines.value(1).mid(8), QStringLiteral("\tQLineEdit\tform_Proba\te_nev\t'Kovács 'K''"));
        QVERIFY(r.value(sql - 1).isEmpty());
        const QStringList statements = r.mid(sql + 1);
        QVERIFY(!statements.isEmpty());
        QCOMPARE(statements.last().mid(8),
                 QStringLiteral("\tQuery2\tSelect kar_nev From kar Where kar_kod='GTK'\\nparaméterek:"));
        // The report text is the lines with CR LF.
        QCOMPARE(ErrorCapture().reportText(), r.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        // The description got the two lines, each after an empty line.
        QVERIFY(description.endsWith(QStringLiteral("\n\nHibaüzenet típusa: std::runtime_error\n\nA hiaüzenet:Szándékos hiba")));
    }

    void logRow()
    {
        if (!serverTimeAvailable())
            QSKIP("ServerNow's convert(...) does not run on the passthrough stand-in of the embedded translator; "
                  "this runs once the translator has landed");
        form->action = [] { raiseProblem("hiba 'idézőjellel'"); };
        QVERIFY(clickFailing());
        QString text = ErrorCapture().reportText();
        while (text.back().unicode() <= 32)
            text.chop(1);
        const QStringList rows = fx->rows(QStringLiteral("select felh_id, hn_allapot, hn_datum is not null, hn_leiras from hibanaplo"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], QStringLiteral("%1|NULL|1|%2").arg(LoginInfo.UserId, text));
        QVERIFY(text.contains(QStringLiteral("'idézőjellel'")));
        // The log insert's own audit statement left the trace again.
        QVERIFY(!StatementTraceEntries().value(0).contains(QLatin1String("esemenynaplo")));
    }

    void failingLogInsertStillShowsReport()
    {
        fx->rows(QStringLiteral("drop table hibanaplo"));
        QVERIFY(clickFailing());
        QCOMPARE(ErrorCapture().reportLines().value(8), QStringLiteral("A hiaüzenet:Szándékos hiba"));
    }

    void beforeLogin()
    {
        SetErrorLogConnection(nullptr);
        QVERIFY(clickFailing());
        QCOMPARE(ErrorCapture().reportLines().filter(QStringLiteral("SQL")), QStringList());
        QCOMPARE(ErrorCapture().reportLines().last(), QString());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from hibanaplo")), QStringList{"0"});
    }

    void encodedCopy()
    {
        QString expected;
        QVERIFY(clickFailing([&](Tform_Hibakezeles *w) {
            w->memo_Leiras->setPlainText(QStringLiteral("Első sor\nMásodik sor"));
            w->BitBtn2->click();
            QVERIFY(w->isVisible());
            expected = ErrorCapture().reportText().replace(QStringLiteral("A hiba leírása:"),
                                                           QStringLiteral("A hiba leírása: Első sor\\nMásodik sor"));
        }));
        const QString copied = QApplication::clipboard()->text();
        const QStringList lines = copied.split(QStringLiteral("\r\n"));
        QVERIFY(lines.size() > 2);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QCOMPARE(lines[i].size(), 70);
        QVERIFY(lines.last().size() <= 70 && !lines.last().isEmpty());
        const QString joined = lines.join(QString());
        QCOMPARE(joined.size(), 2 * EncodeText(expected).size());
        // Bytes below 128 use the table's first 8 positions for the high half, the others 41 to 48.
        const QString table = QString::fromLatin1(IniValueAlphabet);
        for (qsizetype i = 0; i < joined.size(); i += 2) {
            QVERIFY(table.indexOf(joined[i]) < 16);
            const qsizetype high = table.indexOf(joined[i + 1]);
            QVERIFY((high >= 0 && high < 8) || (high >= 40 && high < 48));
        }
        // DecodeIniValue inverts the scheme; the administrator's tool reads the copy as pasted.
        QCOMPARE(DecodeIniValue(joined), expected);
        const QString pasted = fx->dir.filePath(QStringLiteral("jelentes.txt"));
        QFile f(pasted);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(copied.toLatin1() + "\r\n");
        f.close();
        QProcess tool;
        tool.start(QStringLiteral(KOVRA_INI_TOOL), {QStringLiteral("decode-report"), pasted});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), expected);
    }

    void mail()
    {
        SmtpTestServer server;
        LoginInfo.SmtpServer = server.address();
        ScriptedMessages messages;
        QString expected;
        bool closedBySending = false;
        QVERIFY(clickFailing([&](Tform_Hibakezeles *w) {
            w->memo_Leiras->setPlainText(QStringLiteral("leírás\nmásodik"));
            expected = w->describedReport();
            w->bb_kuld->click();
            closedBySending = !w->isVisible() && w->result() == QDialog::Accepted;
        }));
        QVERIFY(closedBySending);
        QCOMPARE(messages.shown, QStringList{"Köszönjük, hogy hibajelentésével segíti munkánkat!"});
        QVERIFY(expected.contains(QStringLiteral("\r\nA hiba leírása: leírás\\nmásodik\r\n")));
        const auto session = server.sessions().value(0);
        QCOMPARE(session.commands.filter(QStringLiteral("MAIL FROM")), QStringList{"MAIL FROM:<admin@example.org>"});
        QCOMPARE(session.commands.filter(QStringLiteral("RCPT TO")),
                 QStringList{QStringLiteral("RCPT TO:<%1>").arg(ErrorReportRecipient())});
        const qsizetype split = session.data.indexOf("\r\n\r\n");
        QVERIFY(session.data.left(split).contains("Subject: =?Windows-1250?Q?KOVRA_hibajelent=E9s?="));
        QVERIFY(session.data.left(split).contains("From: \"KOVRA\" <admin@example.org>"));
        QCOMPARE(DecodeQuotedPrintable(session.data.mid(split + 4)), EncodeText(expected + QStringLiteral("\r\n")));
    }

    void mailWithoutServer()
    {
        LoginInfo.SmtpServer.clear();
        ScriptedMessages messages;
        bool stayed = false;
        QVERIFY(clickFailing([&](Tform_Hibakezeles *w) {
            w->bb_kuld->click();
            stayed = w->isVisible();
        }));
        QVERIFY(stayed);
        QCOMPARE(messages.shown, QStringList{"Hiba történt az e-mail küldésekor. Kérjük másolja ki a vágólapra és küldje el a "
                                             "fejelsztőnek! Köszönjük!"});
    }

    void nullViolation()
    {
        QVERIFY(clickFailing()); // an earlier report, to see that nothing of it changes
        const QStringList before = ErrorCapture().reportLines();
        const QString description = ErrorCapture().errorWindow()->memo_Leiras->toPlainText();
        QStringList boxes;
        auto previous = ErrorCapture().standardErrorBox;
        ErrorCapture().standardErrorBox = [&boxes](const QString &text) { boxes << text; };
        form->action = [] {
            QString id;
            InsertRecord(QStringLiteral("kar"), {QStringLiteral("kar_kod=X"), QStringLiteral("kar_nev=null")}, false, id);
        };
        QTest::mouseClick(form->bb_hiba, Qt::LeftButton);
        ErrorCapture().standardErrorBox = previous;
        QCOMPARE(boxes, QStringList{"Egy kötelező mező nem lett kitöltve!"});
        QCOMPARE(ErrorCapture().reportLines(), before);
        QCOMPARE(ErrorCapture().errorWindow()->memo_Leiras->toPlainText(), description);
        QVERIFY(!ErrorCapture().errorWindow()->isVisible());
        QCOMPARE(fx->rows(QStringLiteral("select count(*) from hibanaplo where hn_leiras like '%nulls%'")), QStringList{"0"});
    }

    void exceptionInsideErrorWindow()
    {
        bool stillUp = false;
        QStringList report;
        QVERIFY(clickFailing([&](Tform_Hibakezeles *w) {
            report = ErrorCapture().reportLines();
            auto *extra = new QPushButton(w);
            connect(extra, &QPushButton::clicked, w, [] { throw std::logic_error("a hibaablakban"); });
            extra->setGeometry(0, 0, 20, 20);
            extra->show();
            QTest::mouseClick(extra, Qt::LeftButton);
            stillUp = w->isVisible();
            delete extra;
        }));
        QVERIFY(stillUp);
        QCOMPARE(ErrorCapture().reportLines(), report);
    }

    void describe_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("nullViolation");
        QTest::newRow("database error") << 0 << "DbError" << "Invalid column name 'x'." << false;
        QTest::newRow("NULL violation") << 1 << "DbError"
                                        << "Cannot insert the value NULL into column 'a', table 'b'; column does not allow nulls. INSERT fails."
                                        << true;
        QTest::newRow("not a std::exception") << 2 << "int" << "" << false;
        QTest::newRow("library exception") << 3 << "std::out_of_range" << "" << false;
    }
    void describe()
    {
        QFETCH(int, kind);
        QFETCH(QString, className);
        QFETCH(QString, message);
        QFETCH(bool, nullViolation);
        ExceptionFacts f;
        try {
            switch (kind) {
            case 0: throw DbError(QStringLiteral("Invalid column name 'x'."));
            case 1:
                throw DbError(QStringLiteral("Cannot insert the value NULL into column 'a', table 'b'; column does not allow "
                                             "nulls. INSERT fails."));
            case 2: throw 42;
            default: (void)std::string().at(3);
            }
        } catch (...) {
            f = DescribeException(std::current_exception());
        }
        QCOMPARE(f.className, className);
        if (kind != 3)
            QCOMPARE(f.message, message);
        QCOMPARE(f.nullViolation, nullViolation);
        // The module holding the throw: this program, or the C++ library for its own exceptions.
        if (kind == 3)
            QVERIFY2(f.module.contains(QLatin1String("libstdc++")), qPrintable(f.module));
        else
            QCOMPARE(f.module, QCoreApplication::applicationFilePath());
        QVERIFY(f.address.size() >= 8);
    }

    void traceLimitsAndValues()
    {
        TErrorCapture &c = ErrorCapture();
        c.clearTraces();
        std::vector<std::unique_ptr<QWidget>> windows;
        for (int i = 0; i < 12; ++i) {
            auto w = std::make_unique<QWidget>();
            w->setObjectName(QStringLiteral("ablak%1").arg(i));
            w->setWindowTitle(QStringLiteral("Ablak %1").arg(i));
            w->show();
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            windows.push_back(std::move(w));
        }
        QCOMPARE(c.windowTrace().size(), WindowTraceLimit);
        QVERIFY(c.windowTrace().first().endsWith(QLatin1String("\t(QWidget)\tablak11\t'Ablak 11'")));
        QVERIFY(c.windowTrace().last().endsWith(QLatin1String("\tablak2\t'Ablak 2'")));

        QWidget *host = windows.back().get();
        for (int i = 0; i < 55; ++i) {
            auto *e = new QLineEdit(QString::number(i), host);
            e->setObjectName(QStringLiteral("e_%1").arg(i));
            e->show();
            e->setFocus();
        }
        QCOMPARE(c.controlTrace().size(), ControlTraceLimit);
        QVERIFY(c.controlTrace().first().endsWith(QLatin1String("\tQLineEdit\tablak11\te_54\t'54'")));
        QVERIFY(c.controlTrace().last().endsWith(QLatin1String("\te_5\t'5'")));

        QCheckBox box(QStringLiteral("Felirat"));
        box.setChecked(true);
        QPlainTextEdit memo(QStringLiteral("egy\r\nkettő\nhárom"));
        QComboBox combo;
        combo.addItem(QStringLiteral("választás"));
        QLabel label(QStringLiteral("címke"));
        QPushButton button(QStringLiteral("Felvesz"));
        QCOMPARE(ControlTraceValue(&box), QStringLiteral("True"));
        QCOMPARE(ControlTraceValue(&memo), QStringLiteral("egy\\nkettő\\nhárom"));
        QCOMPARE(ControlTraceValue(&combo), QStringLiteral("választás"));
        QCOMPARE(ControlTraceValue(&label), QString());
        QCOMPARE(ControlTraceValue(&button), QStringLiteral("Felvesz"));
    }
};

KOVRA_GUI_TEST_MAIN(TestErrors)
#include "test_errors.moc"
