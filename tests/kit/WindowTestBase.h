#pragma once
// The base of the window tests: a fresh database of the program's schema with the test's seed,
// scripted messages, recorded errors (none may reach the error handling), the statements sent,
// and the process values reset between test functions.

#include "DataFixture.h"
#include "FrameworkTestKit.h"
#include "OpenWindow.h"
#include "ScriptedMessages.h"
#include "UserSettings.h"

#include <QTest>
#include <memory>

class WindowTestBase : public QObject {
protected:
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<ScriptedMessages> msg;
    std::unique_ptr<RecordedErrors> errors;
    QStringList sent;

    // Call from init(): the base schema with seed, user 7 of faculty 1 in role 2 (a test sets
    // others afterwards), browse state, no per-user settings.
    // now: the server's clock, when not the fixture's default.
    void startFixture(const char *seed, const QDateTime &now = {}) { startFixture(BaseSchema() + QString::fromUtf8(seed), now); }
    void startFixture(const QString &schemaAndSeed, const QDateTime &now = {})
    {
        fx = now.isValid() ? std::make_unique<DataFixture>(schemaAndSeed, now) : std::make_unique<DataFixture>(schemaAndSeed);
        LoginInfo.FacultyId = QStringLiteral("1");
        LoginInfo.UserId = QStringLiteral("7");
        LoginInfo.RoleId = 2;
        msg = std::make_unique<ScriptedMessages>();
        errors = std::make_unique<RecordedErrors>();
        EditMode = EditState::Browse;
        OpenPositioned = 0;
        UserSettings()->clear();
        sent.clear();
        connect(&fx->conn(), &Connection::statementSent, this, [this](const QString &, const QString &s) { sent << s; });
    }
    // Call from cleanup(): everything reset; then, unless the test failed already, nothing may have
    // reached the error handling.
    void stopFixture()
    {
        const QStringList reported = errors ? errors->texts : QStringList();
        errors.reset();
        msg.reset();
        fx.reset();
        EditMode = EditState::Browse;
        OpenPositioned = 0;
        ResetProcessValues();
        if (!QTest::currentTestFailed())
            QCOMPARE(reported, QStringList());
    }

    void exec(const QString &sql) { fx->conn().execute(QStringLiteral("t"), sql); }
    void rawSql(const char *sql) { fx->rawSql(sql); }
    QStringList rows(const QString &sql) { return fx->rows(sql); }
    QString one(const QString &sql) { return rows(sql).value(0); }
    // Statements sent that write.
    QStringList writes() const { return WritesOf(sent); }
    QStringList audit() { return fx->rows(QStringLiteral("select etipus_id, erintett_tabla, erintett_rekord from esemenynaplo")); }

    // A window shown and active, the statements of its opening forgotten.
    template <class T>
    std::unique_ptr<T> shown()
    {
        auto w = std::make_unique<T>();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        sent.clear();
        return w;
    }
};
