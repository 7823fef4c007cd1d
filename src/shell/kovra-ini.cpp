// kovra-ini: prepares the scrambled connection values of kovra.ini for an administrator.

#include "IniFile.h"
#include "IniValue.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

int usage(QTextStream &err)
{
    err << "usage:\n"
           "  kovra-ini encode TEXT      print the scrambled form of TEXT\n"
           "  kovra-ini decode TEXT      print the plain form of a scrambled value\n"
           "  kovra-ini decode-report FILE\n"
           "                             print an error report copied from the error window\n"
           "  kovra-ini write FILE --database NAME --server ADDRESS --user LOGIN --password PASSWORD\n"
           "                   [--smtp HOST]\n"
           "      writes the connection values (scrambled) into FILE, keeping its other lines;\n"
           "      the server address \"sqlite:FOLDER\" selects the embedded database engine,\n"
           "      \"postgresql:HOST[:PORT]\" a PostgreSQL server (HOST may be a Unix socket folder),\n"
           "      any other address a SQL Server (\"host\", \"host,port\", \"host\\instance\").\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == u"encode") {
        out << EncodeIniValue(args[1]) << '\n';
        return 0;
    }
    if (args.size() == 2 && args[0] == u"decode") {
        out << DecodeIniValue(args[1]) << '\n';
        return 0;
    }
    if (args.size() == 2 && args[0] == u"decode-report") {
        QFile f(args[1]);
        if (!f.open(QIODevice::ReadOnly)) {
            err << "kovra-ini: cannot read " << args[1] << '\n';
            return 1;
        }
        // The copy is split into lines of 70 characters; the line breaks are not part of it.
        QString encoded = QString::fromLatin1(f.readAll());
        encoded.remove(u'\r').remove(u'\n').remove(u' ');
        out << DecodeIniValue(encoded);
        return 0;
    }
    if (args.size() < 2 || args[0] != u"write")
        return usage(err);

    const QString file = args[1];
    QString database, server, user, password, smtp;
    bool haveSmtp = false;
    for (qsizetype i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usage(err);
        const QString &opt = args[i], &val = args[i + 1];
        if (opt == u"--database") database = val;
        else if (opt == u"--server") server = val;
        else if (opt == u"--user") user = val;
        else if (opt == u"--password") password = val;
        else if (opt == u"--smtp") { smtp = val; haveSmtp = true; }
        else return usage(err);
    }
    if (database.isEmpty() || server.isEmpty())
        return usage(err);

    IniFile ini(file);
    const QString section = QStringLiteral("Futtatas");
    const bool ok = ini.WriteString(section, QStringLiteral("Adatbazis neve"), EncodeIniValue(database))
                    && ini.WriteString(section, QStringLiteral("A_ELERES"), EncodeIniValue(server))
                    && ini.WriteString(section, QStringLiteral("AU"), EncodeIniValue(user))
                    && ini.WriteString(section, QStringLiteral("AP"), EncodeIniValue(password))
                    && (!haveSmtp || ini.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP szerver"), smtp));
    if (!ok) {
        err << "kovra-ini: cannot write " << QFileInfo(file).absoluteFilePath() << '\n';
        return 1;
    }
    return 0;
}
