#include "CommandLineTool.h"

#include "DbError.h"
#include "IniFile.h"
#include "UserLogin.h"

#include <QTextStream>

bool ToolArguments::parse(const QStringList &args, const QStringList &valueOptions, const QStringList &flags)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (valueOptions.contains(a)) {
            if (i + 1 >= args.size())
                return false;
            m_values.insert(a, args[++i]);
            m_given.insert(a);
        } else if (flags.contains(a)) {
            m_given.insert(a);
        } else if (a.startsWith(u'-')) {
            return false;
        } else {
            m_positional << a;
        }
    }
    return true;
}

bool ConsoleMessages::info(const QString &text)
{
    QTextStream(stderr) << text << '\n';
    return true;
}

bool ConsoleMessages::confirm(const QString &text)
{
    QTextStream(stderr) << text << (m_yes ? " -> Igen (--yes)\n" : " -> Nem\n");
    return m_yes;
}

bool ToolLogin(const QString &iniPath, bool testDatabase, const QString &user, const QString &password,
               Tform_Adatmodul &module, QTextStream &err)
{
    Dataset felh(&module.ADOConn, QStringLiteral("felh"));
    switch (LoginWithConfig(IniFile(iniPath), testDatabase, user, password, module, felh)) {
    case LoginResult::NoConnection:
        err << "Nincs kapcsolat az adatbázissal!\n";
        return false;
    case LoginResult::WrongUser:
        err << "A megadott névvel és jelszóval nem tudja beléptetni a rendszer!\n";
        return false;
    case LoginResult::Ok:
        break;
    }
    return true;
}

ToolSession::ToolSession(const char *tool, const QString &iniPath, bool yes)
    : m_tool(tool), m_ini(iniPath), m_messages(yes), m_previous(SetMessagePresenter(&m_messages))
{
    SetConfigFilePath(iniPath);
}

ToolSession::~ToolSession() { SetMessagePresenter(m_previous); }

int ToolSession::run(bool testDatabase, const QString &user, const QString &password, QTextStream &out,
                     QTextStream &err, const std::function<int()> &body)
{
    try {
        if (!ToolLogin(m_ini, testDatabase, user, password, module, err))
            return ToolExit::LoginFailed;
        return body();
    } catch (const DbError &e) {
        out.flush();
        err << m_tool << ": " << e.message() << '\n';
        return ToolExit::DatabaseError;
    }
}
