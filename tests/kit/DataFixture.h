#pragma once
// A fresh embedded database in a temporary folder, the data module connected to it, a fixed clock.

#include "Adatmodul.h"
#include "LoginInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

#include "sql/Collation.h"

// Statements straight to an SQLite file (with the program's collation), past the translator; a
// failing one stops the test program.
inline void RawSqlOnFile(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sql::RegisterKovraCollation(db);
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(path), err);
    sqlite3_free(err);
    sqlite3_close(db);
}

// All rows of a query on a connection as "a|b|c" lines (NULL for nulls).
inline QStringList RowsOf(Connection &conn, const QString &sql)
{
    const ResultSet r = conn.query(QStringLiteral("test"), sql);
    QStringList out;
    for (const auto &row : r.rows) {
        QStringList cells;
        for (int c = 0; c < row.size(); ++c)
            cells << (row[c].isNull() ? QStringLiteral("NULL") : FieldText(row[c], r.columns[c].type));
        out << cells.join(u'|');
    }
    return out;
}

class DataFixture {
public:
    // schema: SQLite DDL run on the new file before the connection opens.
    explicit DataFixture(const QString &schema, const QDateTime &now = QDateTime(QDate(2024, 3, 6), QTime(10, 15, 30)))
        : clockValue(now)
    {
        const QString path = dir.filePath(QStringLiteral("KOVRA.sqlite"));
        sqlite3 *db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sql::RegisterKovraCollation(db);
        char *err = nullptr;
        if (sqlite3_exec(db, schema.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
            qFatal("fixture schema: %s", err);
        sqlite3_close(db);
        ResetProcessValues();
        LoginInfo.UserId = QStringLiteral("7");
        module = std::make_unique<Tform_Adatmodul>();
        module->ADOConn.setClock([this] { return clockValue; });
        module->ADOConn.setConnectionString(connectionString());
        module->ADOConn.open();
    }
    QString connectionString(const QString &catalog = QStringLiteral("KOVRA")) const
    {
        return QStringLiteral("Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User ID=sa;Initial Catalog=")
               + catalog + QStringLiteral(";Data Source=sqlite:") + dir.path();
    }
    Connection &conn() { return module->ADOConn; }
    // A statement straight to the file, past the translator (the tests' own DDL and triggers).
    void rawSql(const char *sql) const { RawSqlOnFile(dir.filePath(QStringLiteral("KOVRA.sqlite")), QString::fromUtf8(sql)); }
    // All rows of a query as "a|b|c" lines.
    QStringList rows(const QString &sql) { return RowsOf(conn(), sql); }

    QTemporaryDir dir;
    QDateTime clockValue;
    std::unique_ptr<Tform_Adatmodul> module;
};

// A small part of the real schema, in the embedded engine's conventions.
inline const char *MiniSchema = R"(
CREATE TABLE felev (felev_id INTEGER PRIMARY KEY AUTOINCREMENT, felev_nev NVARCHAR(50) COLLATE KOVRA_CI NOT NULL,
  felev_neptun NVARCHAR(20) COLLATE KOVRA_CI, felev_datumtol DATE TEXT, felev_datumig DATE TEXT);
CREATE TABLE kar (kar_id INTEGER PRIMARY KEY AUTOINCREMENT, kar_kod NVARCHAR(20) COLLATE KOVRA_CI,
  kar_nev NVARCHAR(100) COLLATE KOVRA_CI NOT NULL, kar_aktiv BIT);
CREATE TABLE orarend (orarend_id INTEGER PRIMARY KEY AUTOINCREMENT, orarend_nev NVARCHAR(100) COLLATE KOVRA_CI);
CREATE TABLE orarend_datum (od_id INTEGER PRIMARY KEY AUTOINCREMENT, orarend_id INTEGER NOT NULL REFERENCES orarend,
  od_datum DATE TEXT);
CREATE TABLE tan_okt (oktato_id INTEGER, ft_id INTEGER, orarend_id INTEGER);
CREATE TABLE esemenynaplo (etipus_id INTEGER, esemeny_datum DATETIME TEXT, felh_id INTEGER,
  erintett_tabla NVARCHAR(50) COLLATE KOVRA_CI, erintett_rekord NVARCHAR(50) COLLATE KOVRA_CI,
  regi_ertek NTEXT COLLATE KOVRA_CI, uj_ertek NTEXT COLLATE KOVRA_CI);
)";

#ifdef KOVRA_SOURCE_DIR
// The embedded base script of the program, from the source tree.
inline QString BaseSchema()
{
    QFile f(QStringLiteral(KOVRA_SOURCE_DIR "/db/sqlite/0.sql"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read db/sqlite/0.sql");
    return QString::fromUtf8(f.readAll());
}
#endif
