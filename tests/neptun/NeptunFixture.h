#pragma once
// The demo data set (kovra-demo, fixed day) made once per test program; every test then gets its own
// KOVRA database — a copy of the demo one or an empty one with faculties, semesters and a user — and a
// copy of the Neptun stand-in it may change.

#include "Adatmodul.h"
#include "DataFixture.h"
#include "FieldType.h"
#include "LoginInfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

#include "sql/Collation.h"

namespace neptuntest {

// The demo's day: the current semester is 2024/25/1 (id 2), the previous 2023/24/2 (id 1).
inline const char DemoDay[] = "2024-11-13";

// What an empty register needs before an import: the faculties and semesters of the demo, the user.
inline const char EmptyRegister[] = R"(
INSERT INTO kar (kar_id, kar_kod, kar_nev, kar_aktiv) VALUES (1, 'GEK', 'Gépészmérnöki Kar', 1), (2, 'IK', 'Informatikai Kar', 1);
INSERT INTO felev (felev_id, felev_nev, felev_neptun, felev_datumtol, felev_datumig) VALUES
  (1, '2023/2024 tavaszi félév', '2023/24/2', '2024-02-01', '2024-08-31'),
  (2, '2024/2025 őszi félév', '2024/25/1', '2024-09-01', '2025-01-31');
INSERT INTO felhasznalo (felh_id, felh_nev, felh_aktiv, kar_id, szerep_id) VALUES (1, 'ADMIN', 1, 1, 1);
)";

// kovra-demo into a folder, once.
class DemoFiles {
public:
    DemoFiles()
    {
        QProcess p;
        p.start(QStringLiteral(KOVRA_BINARY_DIR "/src/data/kovra-demo"), {dir.path(), QStringLiteral("--today"), QString::fromLatin1(DemoDay)});
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            qFatal("kovra-demo: %s", p.readAllStandardError().constData());
    }
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

class Register {
public:
    enum Kind { Empty, Demo };
    Register(const DemoFiles &demo, Kind kind, bool withNeptun = true)
    {
        const QString kovra = dir.filePath(QStringLiteral("KOVRA.sqlite"));
        neptun = dir.filePath(QStringLiteral("NEPTUN.sqlite"));
        if (kind == Demo)
            QFile::copy(demo.file("KOVRA.sqlite"), kovra);
        else
            RawSqlOnFile(kovra, BaseSchema() + QString::fromUtf8(EmptyRegister));
        QFile::copy(demo.file("NEPTUN.sqlite"), neptun);
        QFile::setPermissions(neptun, QFile::ReadOwner | QFile::WriteOwner);
        ResetProcessValues();
        LoginInfo.UserId = QStringLiteral("1");
        LoginInfo.RoleId = 1;
        module = std::make_unique<Tform_Adatmodul>();
        module->ADOConn.setClock([] { return QDateTime(QDate(2024, 11, 13), QTime(10, 15, 30)); });
        module->ADOConn.setConnectionString(
            QStringLiteral("Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User ID=sa;Initial Catalog=KOVRA;"
                           "Data Source=sqlite:")
            + dir.path());
        if (withNeptun)
            module->ADOConn.setNeptunDatabase(neptun);
        module->ADOConn.open();
    }
    Connection &conn() { return module->ADOConn; }
    // All rows of a query as "a|b|c" lines.
    QStringList rows(const QString &sql) { return RowsOf(conn(), sql); }
    QString value(const QString &sql) { return rows(sql).value(0); }
    int count(const QString &table) { return value(QStringLiteral("select count(*) from ") + table).toInt(); }
    // Changes the Neptun stand-in of this test (before the connection reads it).
    void changeNeptun(const QString &sql)
    {
        module->ADOConn.close();
        RawSqlOnFile(neptun, sql);
        module->ADOConn.open();
    }

    QTemporaryDir dir;
    QString neptun;
    std::unique_ptr<Tform_Adatmodul> module;
};

} // namespace neptuntest
