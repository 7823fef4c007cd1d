#include "DatabaseConfig.h"

#include "IniFile.h"
#include "IniValue.h"

DatabaseConfig ReadDatabaseConfig(const IniFile &ini, bool testDatabase)
{
    const QString s = QStringLiteral("Futtatas");
    DatabaseConfig c;
    c.catalog = DecodeIniValue(ini.ReadString(s, QStringLiteral("Adatbazis neve")));
    if (testDatabase)
        c.catalog += QStringLiteral("_teszt");
    c.server = DecodeIniValue(ini.ReadString(s, QStringLiteral("A_ELERES")));
    c.user = DecodeIniValue(ini.ReadString(s, QStringLiteral("AU")));
    c.password = DecodeIniValue(ini.ReadString(s, QStringLiteral("AP")));
    c.neptun = ini.ReadString(QStringLiteral("Neptun"), QStringLiteral("Adatbazis"));
    return c;
}

QString ComposeConnectionString(const DatabaseConfig &c)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Password=") + c.password + u';' + QStringLiteral("Persist Security Info=True;")
           + QStringLiteral("User ID=") + c.user + u';' + QStringLiteral("Initial Catalog=") + c.catalog + u';'
           + QStringLiteral("Data Source=") + c.server;
}

QStringList SplitBatches(const QString &script)
{
    QStringList batches;
    QString current;
    enum class In { Code, String, Ident, LineComment, BlockComment } state = In::Code;
    int blockDepth = 0;
    const QStringList lines = script.split(u'\n');
    for (const QString &rawLine : lines) {
        QString line = rawLine;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (state == In::Code && line.trimmed().compare(u"GO", Qt::CaseInsensitive) == 0) {
            if (!current.trimmed().isEmpty())
                batches << current;
            current.clear();
            continue;
        }
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            const QChar n = i + 1 < line.size() ? line.at(i + 1) : QChar();
            switch (state) {
            case In::Code:
                if (c == u'\'') state = In::String;
                else if (c == u'"' || c == u'[') state = In::Ident;
                else if (c == u'-' && n == u'-') state = In::LineComment;
                else if (c == u'/' && n == u'*') { state = In::BlockComment; blockDepth = 1; ++i; }
                break;
            case In::String:
                if (c == u'\'') state = In::Code; // a doubled quote re-enters at once
                break;
            case In::Ident:
                if (c == u'"' || c == u']') state = In::Code;
                break;
            case In::BlockComment:
                if (c == u'/' && n == u'*') { ++blockDepth; ++i; }
                else if (c == u'*' && n == u'/') { ++i; if (--blockDepth == 0) state = In::Code; }
                break;
            case In::LineComment:
                break;
            }
        }
        if (state == In::LineComment)
            state = In::Code;
        current += line + u'\n';
    }
    if (!current.trimmed().isEmpty())
        batches << current;
    return batches;
}
