#pragma once
// What the administrators' command-line tools share: their arguments, the message presenter that
// writes to standard error, and the login as the login dialog checks it.

#include "Messages.h"

#include <QHash>
#include <QSet>
#include <QStringList>

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
