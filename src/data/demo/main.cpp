// kovra-demo: creates the demo data set in a folder: "KOVRA.sqlite", "KOVRA_teszt.sqlite" (the same
// content), the Neptun stand-in "NEPTUN.sqlite" and a "kovra.ini" pointing at them; or, with --server,
// loads it into a PostgreSQL database and writes a "kovra.ini" pointing at that.

#include "Backend.h"
#include "DemoData.h"
#include "ServerProfile.h"
#include "ServerWriter.h"
#include "IniFile.h"
#include "IniValue.h"
#include "Schema.h"
#include "SqliteWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

namespace {

const char *const DatabaseFiles[] = {"KOVRA.sqlite", "KOVRA_teszt.sqlite", "NEPTUN.sqlite"};
const char IniFileName[] = "kovra.ini";

int usage(QTextStream &err)
{
    err << "usage: kovra-demo DIR [--force] [--today YYYY-MM-DD]\n"
           "       kovra-demo --server postgresql:HOST[:PORT] --database NAME --user U --password P DIR [--force] [--today …]\n"
           "  Creates in DIR the demo databases KOVRA.sqlite and KOVRA_teszt.sqlite, the Neptun\n"
           "  stand-in NEPTUN.sqlite and kovra.ini pointing at them (start: kovra --ini DIR/kovra.ini).\n"
           "  --server: loads the same rows into the PostgreSQL database NAME instead (an existing, empty\n"
           "           database owned by U; HOST may be a Unix socket folder), the Neptun stand-in as its\n"
           "           schema neptun, and writes DIR/kovra.ini pointing at it\n"
           "  --force  overwrite those files when they exist (with --server: drop the tables of NAME)\n"
           "  --today  the day the data is built around (default: today); the current semester\n"
           "           contains it, attendance is recorded for the lessons before it\n";
    return 2;
}

// The files of a database: the file itself and SQLite's journal files beside it.
QStringList databaseFiles(const QString &path)
{
    return {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm"), path + QStringLiteral("-journal")};
}

QStringList targetFiles(const QDir &dir)
{
    QStringList files;
    for (const char *name : DatabaseFiles)
        files << databaseFiles(dir.filePath(QString::fromLatin1(name)));
    files << dir.filePath(QString::fromLatin1(IniFileName));
    return files;
}

void removeFiles(const QStringList &files)
{
    for (const QString &f : files)
        QFile::remove(f);
}

struct Connection {
    sqlite3 *db = nullptr;
    ~Connection() { close(); }
    void close()
    {
        if (db && sqlite3_close(db) != SQLITE_OK)
            throw std::runtime_error("cannot close the database");
        db = nullptr;
    }
};

void writeIni(const QString &path, const QString &catalog, const QString &server, const QString &user,
              const QString &password, const QString &neptun)
{
    IniFile ini(path);
    const QString run = QStringLiteral("Futtatas");
    bool ok = ini.WriteString(run, QStringLiteral("Adatbazis neve"), EncodeIniValue(catalog))
              && ini.WriteString(run, QStringLiteral("A_ELERES"), EncodeIniValue(server))
              && ini.WriteString(run, QStringLiteral("AU"), EncodeIniValue(user))
              && ini.WriteString(run, QStringLiteral("AP"), EncodeIniValue(password))
              && ini.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("12"));
    if (!neptun.isEmpty())
        ok = ok && ini.WriteString(QStringLiteral("Neptun"), QStringLiteral("Adatbazis"), neptun);
    if (!ok)
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(path).toStdString());
}

void printSummary(QTextStream &out, const demo::DemoModel &model)
{
    out << model.students.size() << " students, " << model.entries.size() << " timetable entries, "
        << model.enrolments.size() << " enrolments, " << model.attendance.size() << " attendance entries, "
        << model.journal.size() << " journal rows\n"
        << "  current semester: " << model.semesters[1].name << " (" << model.semesters[1].from.toString(Qt::ISODate)
        << " - " << model.semesters[1].to.toString(Qt::ISODate) << ")\n";
}

void printLogins(QTextStream &out)
{
    out << "  logins:";
    for (const demo::DemoLogin &l : demo::DemoLogins)
        out << ' ' << l.name << '/' << l.password;
    out << '\n';
}

// The demo on a PostgreSQL server: built as the embedded files in a temporary folder, then copied.
int loadServer(QTextStream &out, QTextStream &err, const QDir &dir, const QDate &today, bool force,
               const ConnectionSettings &settings)
{
    const QString ini = dir.absoluteFilePath(QString::fromLatin1(IniFileName));
    if (QFileInfo::exists(ini) && !force) {
        err << "kovra-demo: " << QDir::toNativeSeparators(ini) << " already exists, nothing was written (use --force)\n";
        return 1;
    }
    const QString name = QStringLiteral("kovra-demo-server");
    int code = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(ServerProfile::postgreSql().odbcConnectionString(settings));
        try {
            if (!db.open())
                throw std::runtime_error(QStringLiteral("Nincs kapcsolat az adatbázissal! (%1)").arg(db.lastError().text()).toStdString());
            const QStringList tables = demo::ServerTables(db);
            if (!tables.isEmpty() && !force) {
                err << "kovra-demo: the database " << settings.catalog << " already holds tables (" << tables.size()
                    << ", e.g. " << tables.first() << "); nothing was written (use --force to replace them)\n";
                code = 1;
            } else {
                if (!tables.isEmpty())
                    demo::ClearServerDatabase(db);
                QTemporaryDir work;
                if (!work.isValid())
                    throw std::runtime_error("cannot create a temporary folder");
                const demo::DemoModel model = demo::BuildDemoModel(today);
                Connection main, stand;
                QString error;
                main.db = schema::CreateSqliteDatabase(work.filePath(QStringLiteral("KOVRA.sqlite")), &error);
                if (!main.db)
                    throw std::runtime_error(error.toStdString());
                demo::WriteKovraDatabase(main.db, model);
                const QString neptun = work.filePath(QStringLiteral("NEPTUN.sqlite"));
                if (sqlite3_open_v2(neptun.toUtf8().constData(), &stand.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
                    demo::ThrowSqlite(stand.db, neptun);
                demo::WriteNeptunDatabase(stand.db, model);
                demo::WriteServerDatabase(db, main.db, stand.db);
                writeIni(ini, settings.catalog, settings.dataSource, settings.userId, settings.password, QString());
                out << "KOVRA demo data in the PostgreSQL database " << settings.catalog << " on " << settings.dataSource << ": ";
                printSummary(out, model);
                out << "  schema neptun: the Neptun stand-in (openquery(NEPTUN, ...) reads it)\n"
                    << "  kovra.ini: start with  kovra --ini " << QDir::toNativeSeparators(ini) << '\n';
                printLogins(out);
            }
        } catch (const std::exception &e) {
            err << "kovra-demo: " << e.what() << '\n';
            code = 1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);

    QString folder, server, database, user, password;
    bool force = false;
    QDate today = QDate::currentDate();
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--force") {
            force = true;
        } else if (a == u"--today" && i + 1 < args.size()) {
            today = QDate::fromString(args[++i], Qt::ISODate);
            if (!today.isValid()) {
                err << "kovra-demo: --today needs a date YYYY-MM-DD\n";
                return 2;
            }
        } else if ((a == u"--server" || a == u"--database" || a == u"--user" || a == u"--password") && i + 1 < args.size()) {
            QString &target = a == u"--server" ? server : a == u"--database" ? database : a == u"--user" ? user : password;
            target = args[++i];
        } else if (a.startsWith(u'-') || !folder.isEmpty()) {
            return usage(err);
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty())
        return usage(err);

    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        err << "kovra-demo: cannot create the folder " << folder << '\n';
        return 1;
    }
    if (!server.isEmpty() || !database.isEmpty()) {
        ConnectionSettings settings;
        settings.dataSource = server;
        settings.catalog = database;
        settings.userId = user;
        settings.password = password;
        if (!settings.isPostgreSql() || settings.postgreSqlHost().isEmpty() || database.isEmpty()) {
            err << "kovra-demo: --server needs postgresql:HOST[:PORT] and --database a name\n";
            return 2;
        }
        return loadServer(out, err, dir, today, force, settings);
    }
    const QStringList targets = targetFiles(dir);
    QStringList existing;
    for (const QString &f : targets)
        if (QFileInfo::exists(f))
            existing << QDir::toNativeSeparators(f);
    if (!existing.isEmpty()) {
        if (!force) {
            err << "kovra-demo: these files already exist, nothing was written (use --force to overwrite them):\n  "
                << existing.join(QStringLiteral("\n  ")) << '\n';
            return 1;
        }
        removeFiles(targets);
        for (const QString &f : targets)
            if (QFileInfo::exists(f)) {
                err << "kovra-demo: cannot remove " << QDir::toNativeSeparators(f) << '\n';
                return 1;
            }
    }

    const QString kovra = dir.absoluteFilePath(QString::fromLatin1(DatabaseFiles[0]));
    const QString test = dir.absoluteFilePath(QString::fromLatin1(DatabaseFiles[1]));
    const QString neptun = dir.absoluteFilePath(QString::fromLatin1(DatabaseFiles[2]));
    const QString ini = dir.absoluteFilePath(QString::fromLatin1(IniFileName));
    try {
        const demo::DemoModel model = demo::BuildDemoModel(today);

        Connection main;
        QString error;
        main.db = schema::CreateSqliteDatabase(kovra, &error);
        if (!main.db)
            throw std::runtime_error(error.toStdString());
        demo::WriteKovraDatabase(main.db, model);
        main.close();
        if (!QFile::copy(kovra, test))
            throw std::runtime_error(QStringLiteral("cannot copy %1 to %2").arg(kovra, test).toStdString());

        Connection stand;
        if (sqlite3_open_v2(neptun.toUtf8().constData(), &stand.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            demo::ThrowSqlite(stand.db, neptun);
        demo::WriteNeptunDatabase(stand.db, model);
        stand.close();

        writeIni(ini, QStringLiteral("KOVRA"), QStringLiteral("sqlite:") + dir.absolutePath(), QStringLiteral("demo"),
                 QStringLiteral("demo"), neptun);

        out << "KOVRA demo data in " << QDir::toNativeSeparators(dir.absolutePath()) << ":\n"
            << "  KOVRA.sqlite, KOVRA_teszt.sqlite: ";
        printSummary(out, model);
        out << "  NEPTUN.sqlite: the Neptun stand-in ([Neptun] Adatbazis in kovra.ini)\n"
            << "  kovra.ini: start with  kovra --ini " << QDir::toNativeSeparators(ini) << '\n';
        printLogins(out);
    } catch (const std::exception &e) {
        removeFiles(targets);
        err << "kovra-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
