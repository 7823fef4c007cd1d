// kovra-sql: runs statements and scripts on the program's database, like sqlcmd.

#include "Connection.h"
#include "DatabaseConfig.h"
#include "DbError.h"
#include "FieldType.h"
#include "IniFile.h"
#include "OdbcBackend.h"
#include "Schema.h"
#include "SqliteBackend.h"

#include <QRegularExpression>

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

int usage(QTextStream &err)
{
    err << "usage: kovra-sql [--ini FILE] [--test] (-Q \"statement\" | SCRIPT | --check | --backup FILE)\n"
           "  Reads the connection of kovra.ini (beside the program, else /etc/kovra/kovra.ini, unless --ini\n"
           "  names one);\n"
           "  --test uses the test database. A script's batches are separated by lines holding only GO.\n"
           "  Rows are printed tab-separated with a header line.\n"
           "  --check: integrity check of the embedded database (prints ok or the problems found);\n"
           "           on a server: the connection, the schema version and the program's tables.\n"
           "  --backup FILE: a consistent copy of the embedded database while it is in use\n"
           "           (a server's database is saved with the server's own dump).\n";
    return 2;
}

QString cell(const QVariant &v, FieldType t)
{
    return FieldText(v, t).replace(u'\t', u' ').replace(u'\n', u' ').remove(u'\r');
}

// A server's database: the connection (open already), the version the updater reads, and every
// table of the base schema readable. 0 when all is well, 3 otherwise.
int checkServer(Connection &conn, QTextStream &out)
{
    int problems = 0;
    out << "connection: ok (" << static_cast<OdbcBackend *>(conn.backend())->profile().name << ")\n";
    try {
        const ResultSet r = conn.query(QStringLiteral("kovra-sql"), QStringLiteral("Select ADATBAZIS_VERZIO from beallitasok"));
        out << "schema version: " << (r.rows.isEmpty() ? QStringLiteral("(no row)") : r.rows[0][0].toString()) << '\n';
        problems += r.rows.isEmpty();
    } catch (const DbError &e) {
        out << "schema version: unreadable: " << e.message() << '\n';
        ++problems;
    }
    static const QRegularExpression table(QStringLiteral("CREATE TABLE (\\w+) \\("));
    int tables = 0;
    for (auto it = table.globalMatch(schema::PostgresBaseScript()); it.hasNext();) {
        const QString name = it.next().captured(1);
        ++tables;
        try {
            conn.query(QStringLiteral("kovra-sql"), QStringLiteral("Select count(*) From ") + name + QStringLiteral(" Where 1=0"));
        } catch (const DbError &e) {
            out << "table " << name << ": " << e.message() << '\n';
            ++problems;
        }
    }
    out << "tables: " << tables << (problems ? " checked, problems above\n" : " ok\n");
    return problems ? 3 : 0;
}

bool isRowStatement(const QString &batch)
{
    const QString t = batch.trimmed();
    return t.startsWith(QLatin1String("select"), Qt::CaseInsensitive) || t.startsWith(QLatin1String("with"), Qt::CaseInsensitive);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QString iniPath = ConfigFilePath();
    bool test = false;
    QString statement, script, backupFile;
    bool check = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--ini" && i + 1 < args.size()) iniPath = args[++i];
        else if (a == u"--test") test = true;
        else if (a == u"-Q" && i + 1 < args.size()) statement = args[++i];
        else if (a == u"--check") check = true;
        else if (a == u"--backup" && i + 1 < args.size()) backupFile = args[++i];
        else if (!a.startsWith(u'-') && script.isEmpty()) script = a;
        else return usage(err);
    }
    const int tasks = int(!statement.isEmpty()) + int(!script.isEmpty()) + int(check) + int(!backupFile.isEmpty());
    if (tasks != 1)
        return usage(err);
    if (!QFile::exists(iniPath)) {
        err << "kovra-sql: no configuration file " << iniPath << '\n';
        return 1;
    }

    QStringList batches;
    if (check || !backupFile.isEmpty()) {
        // below
    } else if (!statement.isEmpty()) {
        batches << statement;
    } else {
        QFile f(script);
        if (!f.open(QIODevice::ReadOnly)) {
            err << "kovra-sql: cannot read " << script << '\n';
            return 1;
        }
        batches = SplitBatches(QString::fromUtf8(f.readAll()));
    }

    const DatabaseConfig config = ReadDatabaseConfig(IniFile(iniPath), test);
    Connection conn;
    conn.setConnectionString(ComposeConnectionString(config));
    conn.setNeptunDatabase(config.neptun);
    try {
        conn.open();
    } catch (const DbError &e) {
        err << "kovra-sql: " << e.message() << '\n';
        return 1;
    }
    if (check || !backupFile.isEmpty()) {
        auto *sqlite = dynamic_cast<SqliteBackend *>(conn.backend());
        if (!sqlite && check)
            return checkServer(conn, out);
        if (!sqlite) {
            const bool postgres = ConnectionSettings::parse(conn.connectionString()).isPostgreSql();
            err << "kovra-sql: --backup is for the embedded database; save a server's database with the server's own dump: "
                << (postgres ? QStringLiteral("pg_dump -Fc -h HOST -p PORT -U LOGIN -f FILE %1").arg(config.catalog)
                             : QStringLiteral("BACKUP DATABASE [%1] TO DISK = N'FILE'").arg(config.catalog))
                << '\n';
            return 2;
        }
        try {
            if (check) {
                const QStringList problems = sqlite->integrityCheck();
                for (const QString &line : problems)
                    out << line << '\n';
                return problems == QStringList{QStringLiteral("ok")} ? 0 : 3;
            }
            sqlite->backupTo(backupFile);
            out << "backup written to " << backupFile << '\n';
            return 0;
        } catch (const DbError &e) {
            out.flush();
            err << "kovra-sql: " << e.message() << '\n';
            return 1;
        }
    }
    int batchNo = 0;
    for (const QString &batch : std::as_const(batches)) {
        ++batchNo;
        try {
            if (isRowStatement(batch)) {
                const ResultSet r = conn.query(QStringLiteral("kovra-sql"), batch);
                QStringList header;
                for (const auto &c : r.columns)
                    header << c.name;
                out << header.join(u'\t') << '\n';
                for (const auto &row : r.rows) {
                    QStringList cells;
                    for (int c = 0; c < row.size(); ++c)
                        cells << cell(row[c], r.columns[c].type);
                    out << cells.join(u'\t') << '\n';
                }
                out << "(" << r.rows.size() << " rows)\n";
            } else {
                const qint64 n = conn.execute(QStringLiteral("kovra-sql"), batch);
                if (n >= 0)
                    out << "(" << n << " rows affected)\n";
            }
        } catch (const DbError &e) {
            out.flush();
            err << "kovra-sql: batch " << batchNo << ": " << e.message() << '\n';
            return 1;
        }
    }
    return 0;
}
