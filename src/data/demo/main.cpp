// kovra-demo: creates the demo data set in a folder: "KOVRA.sqlite", "KOVRA_teszt.sqlite" (the same
// content), the Neptun stand-in "NEPTUN.sqlite" and a "kovra.ini" pointing at them.

#include "DemoData.h"
#include "IniFile.h"
#include "IniValue.h"
#include "Schema.h"
#include "SqliteWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <sqlite3.h>

namespace {

const char *const DatabaseFiles[] = {"KOVRA.sqlite", "KOVRA_teszt.sqlite", "NEPTUN.sqlite"};
const char IniFileName[] = "kovra.ini";

int usage(QTextStream &err)
{
    err << "usage: kovra-demo DIR [--force] [--today YYYY-MM-DD]\n"
           "  Creates in DIR the demo databases KOVRA.sqlite and KOVRA_teszt.sqlite, the Neptun\n"
           "  stand-in NEPTUN.sqlite and kovra.ini pointing at them (start: kovra --ini DIR/kovra.ini).\n"
           "  --force  overwrite those files when they exist\n"
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

void writeIni(const QString &path, const QDir &dir, const QString &neptun)
{
    IniFile ini(path);
    const QString run = QStringLiteral("Futtatas");
    const bool ok = ini.WriteString(run, QStringLiteral("Adatbazis neve"), EncodeIniValue(QStringLiteral("KOVRA")))
                    && ini.WriteString(run, QStringLiteral("A_ELERES"),
                                       EncodeIniValue(QStringLiteral("sqlite:") + dir.absolutePath()))
                    && ini.WriteString(run, QStringLiteral("AU"), EncodeIniValue(QStringLiteral("demo")))
                    && ini.WriteString(run, QStringLiteral("AP"), EncodeIniValue(QStringLiteral("demo")))
                    && ini.WriteString(QStringLiteral("Neptun"), QStringLiteral("Adatbazis"), neptun)
                    && ini.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("12"));
    if (!ok)
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(path).toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);

    QString folder;
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

        writeIni(ini, dir, neptun);

        out << "KOVRA demo data in " << QDir::toNativeSeparators(dir.absolutePath()) << ":\n"
            << "  KOVRA.sqlite, KOVRA_teszt.sqlite: " << model.students.size() << " students, "
            << model.entries.size() << " timetable entries, " << model.enrolments.size() << " enrolments, "
            << model.attendance.size() << " attendance entries, " << model.journal.size() << " journal rows\n"
            << "  current semester: " << model.semesters[1].name << " ("
            << model.semesters[1].from.toString(Qt::ISODate) << " - " << model.semesters[1].to.toString(Qt::ISODate)
            << ")\n"
            << "  NEPTUN.sqlite: the Neptun stand-in ([Neptun] Adatbazis in kovra.ini)\n"
            << "  kovra.ini: start with  kovra --ini " << QDir::toNativeSeparators(ini) << '\n' << "  logins:";
        for (const demo::DemoLogin &l : demo::DemoLogins)
            out << ' ' << l.name << '/' << l.password;
        out << '\n';
    } catch (const std::exception &e) {
        removeFiles(targets);
        err << "kovra-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
