// Every lookup combo of every registered window: a name typed and accepted (leaving the field)
// does what the same name picked from the list does, statement for statement.

#include "../attendance/AttendanceSeed.h"
#include "DataFixture.h"
#include "AllWindows.h"
#include "FrameworkTestKit.h"
#include "OpenWindow.h"
#include "ScriptedMessages.h"
#include "ShellFixture.h"
#include "VDCComboBox.h"

#include <QDialog>

class TestTypedLookups : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<ScriptedMessages> boxes;
    std::unique_ptr<RecordedErrors> errors;

    struct Outcome {
        QStringList statements;
        QStringList messages;
        QString chosen;
        bool operator==(const Outcome &) const = default;
    };

    void reset()
    {
        if (!fx) {
            // A second semester with an entry, so that every semester choice has another item.
            fx = std::make_unique<DataFixture>(
                BaseSchema() + QString::fromUtf8(AttendanceSeed)
                    + QStringLiteral("INSERT INTO felev (felev_id, felev_nev, felev_datumtol, felev_datumig) VALUES "
                                     "(2, 'ősz', '2023-09-04', '2024-01-31');\n"
                                     "INSERT INTO orarend (orarend_id, kar_id, felev_id, orarend_nev, orarend_mettol, "
                                     "orarend_meddig, orarend_heti, orarend_potlas) VALUES "
                                     "(90, 1, 2, 'Őszi óra', '08:00:00', '09:30:00', 1, 0);\n"),
                QDateTime(QDate(2024, 3, 6), QTime(10, 0)));
        }
        EditMode = EditState::Browse;
        ResetProcessValues();
        LoginInfo.FacultyId = QStringLiteral("1");
        LoginInfo.UserId = QStringLiteral("7");
        LoginInfo.RoleId = 1;
        boxes = std::make_unique<ScriptedMessages>();
    }

    // The window opened afresh (the data are only read); `act` works on its combo `combo`; what followed.
    Outcome run(const QString &window, const QString &combo, const std::function<void(TVDCComboBox *)> &act)
    {
        reset();
        std::unique_ptr<QDialog> w(CreateRegisteredWindow(window));
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("%s not active", qPrintable(window));
        auto *c = w->findChild<TVDCComboBox *>(combo);
        Outcome out;
        QObject::connect(&fx->conn(), &Connection::statementSent, w.get(),
                         [&out](const QString &, const QString &sql) { out.statements << sql; });
        boxes->shown.clear();
        act(c);
        out.messages = boxes->shown;
        out.chosen = c->Eredmeny();
        w->hide();
        EditMode = EditState::Browse;
        return out;
    }

private Q_SLOTS:
    void initTestCase() { RegisterAllWindows(); }
    void init() { errors = std::make_unique<RecordedErrors>(); }
    void cleanup()
    {
        errors.reset();
        boxes.reset();
        fx.reset();
        EditMode = EditState::Browse;
        ResetProcessValues();
    }

    void typedNameActsAsPickedName()
    {
        QStringList differ;
        QStringList checked;
        for (const QString &name : RegisteredWindowNames()) {
            // The combos a user can reach as the window opens, with an item other than the shown one.
            QList<QPair<QString, int>> combos;
            {
                reset();
                std::unique_ptr<QDialog> w(CreateRegisteredWindow(name));
                w->show();
                QVERIFY2(QTest::qWaitForWindowExposed(w.get()), qPrintable(name));
                for (TVDCComboBox *c : w->findChildren<TVDCComboBox *>()) {
                    if (!c->isVisibleTo(w.get()) || !c->isEnabled() || c->count() == 0 || c->objectName().isEmpty())
                        continue;
                    int i = (c->currentIndex() + 1) % c->count();
                    if (i == c->currentIndex())
                        continue;
                    // A name that is also the start of another would be completed differently.
                    combos << qMakePair(c->objectName(), i);
                }
                w->hide();
                EditMode = EditState::Browse;
            }
            for (const auto &[combo, index] : combos) {
                QString text;
                const Outcome picked = run(name, combo, [&](TVDCComboBox *c) {
                    text = c->itemText(index);
                    PickFromList(c, index);
                });
                const Outcome typed = run(name, combo, [&](TVDCComboBox *c) { TypeIntoCombo(c, text); });
                checked << name + u'.' + combo;
                if (!(picked == typed) || picked.chosen == u"null")
                    differ << name + u'.' + combo + QStringLiteral(" \"") + text + QStringLiteral("\": picked ")
                                  + picked.chosen + u' ' + picked.statements.join(QStringLiteral(" | ")) + u' '
                                  + picked.messages.join(u',') + QStringLiteral("\n   typed ") + typed.chosen + u' '
                                  + typed.statements.join(QStringLiteral(" | ")) + u' ' + typed.messages.join(u',');
            }
        }
        qInfo("%s", qPrintable(checked.join(u' ')));
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(u'\n')));
        // The semester and timetable choices of the windows the users met.
        for (const char *must : {"form_Kartyak.vdc_felev", "form_JelenletLista.vdc_felev", "form_TanoraHallgato.vdc_felev",
                                 "form_Tanora.vdc_felev_szuro", "form_Orarend.vdc_felev_szuro", "form_TanoraOktato.vdc_felev"})
            QVERIFY2(checked.contains(QLatin1String(must)), must);
    }
};

QTEST_MAIN(TestTypedLookups)
#include "test_typed_lookups.moc"
