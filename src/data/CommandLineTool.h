#pragma once
// What the administrators' command-line tools share: their arguments, the message presenter that
// writes to standard error, and the login as the login dialog checks it.

#include "Adatmodul.h"
#include "Messages.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>

class QTextStream;
class Tform_Adatmodul;

// "--name value" options, "--flag" switches and positional words, in any order.
class ToolArguments {
public:
    // False when an option is unknown or lacks its value.
    bool parse(const QStringList &args, const QStringList &valueOptions, const QStringList &flags);
    QString value(const QString &option) const { return m_values.value(option); }
    // A flag, or a value option, that was given.
    bool has(const QString &option) const { return m_given.contains(option); }
    const QStringList &positional() const { return m_positional; }

private:
    QHash<QString, QString> m_values;
    QSet<QString> m_given;
    QStringList m_positional;
};

// Messages on standard error; every question is answered with yes.
class ConsoleMessages final : public MessagePresenter {
public:
    explicit ConsoleMessages(bool yes = false) : m_yes(yes) {}
    bool info(const QString &text) override;
    bool confirm(const QString &text) override;

private:
    bool m_yes;
};

// Opens the connection of the ini file and checks the user; on a refusal writes the reason to err
// and returns false. Database errors of the user query propagate as DbError.
bool ToolLogin(const QString &iniPath, bool testDatabase, const QString &user, const QString &password,
               Tform_Adatmodul &module, QTextStream &err);

// Exit codes every tool shares.
namespace ToolExit {
constexpr int Ok = 0, Usage = 2, LoginFailed = 3, Refused = 4, DatabaseError = 6;
}

// A tool's run against the database: console messages, the ini file as the program's configuration,
// the data module and the login. run() logs in, then runs the body; a refused login gives
// ToolExit::LoginFailed, a database error "<tool>: message" on standard error and ToolExit::DatabaseError.
class ToolSession {
public:
    ToolSession(const char *tool, const QString &iniPath, bool yes = false);
    ~ToolSession();
    int run(bool testDatabase, const QString &user, const QString &password, QTextStream &out, QTextStream &err,
            const std::function<int()> &body);

    Tform_Adatmodul module;

private:
    const char *m_tool;
    QString m_ini;
    ConsoleMessages m_messages;
    MessagePresenter *m_previous;
};
