#pragma once
// An in-memory database in the embedded schema's storage conventions, with the extensions
// registered, a Neptun stand-in attached as "neptun", and a runner that translates Transact-SQL
// and executes it the way the backend does.

#include "sql/Catalog.h"
#include "sql/SqliteExtensions.h"
#include "sql/Translator.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <sqlite3.h>
#include <stdexcept>

namespace fixture {

inline const char *Schema = R"(
CREATE TABLE kar (kar_id INTEGER PRIMARY KEY AUTOINCREMENT, kar_kod NVARCHAR(20) COLLATE KOVRA_CI,
  kar_nev NVARCHAR(100) COLLATE KOVRA_CI, kar_aktiv BIT);
CREATE TABLE szerepkor (szerep_id INTEGER PRIMARY KEY AUTOINCREMENT, szerep_nev NVARCHAR(50) COLLATE KOVRA_CI);
CREATE TABLE felhasznalo (felh_id INTEGER PRIMARY KEY AUTOINCREMENT, felh_nev NVARCHAR(20) COLLATE KOVRA_CI,
  felh_jelszo INTEGER, felh_email NVARCHAR(100) COLLATE KOVRA_CI, felh_teljes NVARCHAR(100) COLLATE KOVRA_CI,
  felh_aktiv BIT, kar_id INTEGER, szerep_id INTEGER);
CREATE TABLE oktato (oktato_id INTEGER PRIMARY KEY AUTOINCREMENT, oktato_kod NVARCHAR(20) COLLATE KOVRA_CI,
  oktato_nev NVARCHAR(100) COLLATE KOVRA_CI, felh_id INTEGER);
CREATE TABLE hallgato (hallgato_id INTEGER PRIMARY KEY AUTOINCREMENT, hallgato_kod NVARCHAR(20) COLLATE KOVRA_CI,
  hallgato_nev NVARCHAR(100) COLLATE KOVRA_CI, hallgato_diak NVARCHAR(20) COLLATE KOVRA_CI,
  hallgato_oa NVARCHAR(20) COLLATE KOVRA_CI);
CREATE TABLE felev (felev_id INTEGER PRIMARY KEY AUTOINCREMENT, felev_nev NVARCHAR(50) COLLATE KOVRA_CI,
  felev_neptun NVARCHAR(50) COLLATE KOVRA_CI, felev_datumtol DATE TEXT, felev_datumig DATE TEXT);
CREATE TABLE tantargy (tantargy_id INTEGER PRIMARY KEY AUTOINCREMENT, tantargy_kod NVARCHAR(20) COLLATE KOVRA_CI,
  tantargy_nev NVARCHAR(200) COLLATE KOVRA_CI);
CREATE TABLE kurzus (kurzus_id INTEGER PRIMARY KEY AUTOINCREMENT, kurzus_kod NVARCHAR(20) COLLATE KOVRA_CI,
  kurzus_nev NVARCHAR(100) COLLATE KOVRA_CI);
CREATE TABLE nyelv (nyelv_id INTEGER PRIMARY KEY AUTOINCREMENT, nyelv_nev NVARCHAR(50) COLLATE KOVRA_CI);
CREATE TABLE tanora_forma (tof_id INTEGER PRIMARY KEY AUTOINCREMENT, tof_nev NVARCHAR(50) COLLATE KOVRA_CI);
CREATE TABLE sportag (sa_id INTEGER PRIMARY KEY AUTOINCREMENT, sa_nev NVARCHAR(50) COLLATE KOVRA_CI);
CREATE TABLE felvett_tantargy (ft_id INTEGER PRIMARY KEY AUTOINCREMENT, tantargy_id INTEGER, kurzus_id INTEGER,
  felev_id INTEGER, nyelv_id INTEGER, tof_id INTEGER, sa_id INTEGER, evfolyam NVARCHAR(5) COLLATE KOVRA_CI, kar_id INTEGER);
CREATE TABLE orarend (orarend_id INTEGER PRIMARY KEY AUTOINCREMENT, kar_id INTEGER, felev_id INTEGER,
  orarend_nev NVARCHAR(200) COLLATE KOVRA_CI, orarend_mettol TIME TEXT, orarend_meddig TIME TEXT,
  orarend_heti BIT, orarend_potlas INTEGER);
CREATE TABLE orarend_datum (od_id INTEGER PRIMARY KEY AUTOINCREMENT, orarend_id INTEGER, od_datum DATE TEXT);
CREATE TABLE orarend_csoport (orarend_id INTEGER, ft_id INTEGER);
CREATE TABLE tan_hall (th_id INTEGER PRIMARY KEY AUTOINCREMENT, hallgato_id INTEGER, ft_id INTEGER, orarend_id INTEGER);
CREATE TABLE tan_okt (oktato_id INTEGER, ft_id INTEGER, orarend_id INTEGER);
CREATE TABLE jelenlet_tipusa (jt_id INTEGER PRIMARY KEY AUTOINCREMENT, jt_jel NVARCHAR(1) COLLATE KOVRA_CI,
  jt_mas NVARCHAR(2) COLLATE KOVRA_CI);
CREATE TABLE jelenlet (jelenlet_id INTEGER PRIMARY KEY AUTOINCREMENT, hallgato_id INTEGER, orarend_id INTEGER,
  jelenlet_datum DATE TEXT, jt_id INTEGER);
CREATE TABLE kartya (kartya_id INTEGER PRIMARY KEY AUTOINCREMENT, hallgato_id INTEGER, kartya_datum DATE TEXT);
CREATE TABLE Jelentes (jel_id INTEGER PRIMARY KEY AUTOINCREMENT, jel_datum DATETIME TEXT,
  jel_szoveg NTEXT COLLATE KOVRA_CI, felh_id INTEGER, kar_id INTEGER);
CREATE TABLE esemenynaplo (etipus_id INTEGER, esemeny_datum DATETIME TEXT, felh_id INTEGER,
  erintett_tabla NVARCHAR(50) COLLATE KOVRA_CI, erintett_rekord NVARCHAR(50) COLLATE KOVRA_CI,
  regi_ertek NTEXT COLLATE KOVRA_CI, uj_ertek NTEXT COLLATE KOVRA_CI);
CREATE TABLE hibanaplo (hn_id INTEGER PRIMARY KEY AUTOINCREMENT, felh_id INTEGER, hn_datum DATETIME TEXT,
  hn_leiras NTEXT COLLATE KOVRA_CI, hn_allapot INTEGER);
CREATE TABLE beallitasok (ADATBAZIS_VERZIO INTEGER);
INSERT INTO jelenlet_tipusa (jt_jel, jt_mas) VALUES ('J', '+'), ('L', '-'), ('P', 'P');
)";

// The Neptun stand-in: the tables the import statements read (dates as "YYYY-MM-DD HH:MM:SS").
inline const char *NeptunSchema = R"(
CREATE TABLE neptun.T_INDEXLINE (ID INTEGER, C_SUBJECTID INTEGER, C_STUDENTTRAININGTERMDATAID INTEGER, C_SIGNOUTDATE TEXT);
CREATE TABLE neptun.T_SUBJECT (ID INTEGER, C_CODE TEXT, C_NAME TEXT, C_INTERIORORGANIZATIONID INTEGER);
CREATE TABLE neptun.T_ORGANIZATION (ID INTEGER, C_CODE TEXT);
CREATE TABLE neptun.T_INTERIORORGANIZATION (ID INTEGER);
CREATE TABLE neptun.T_STUDENTTRAININGTERMDATA (ID INTEGER, C_STUDENTTRAININGID INTEGER, C_TERM INTEGER, C_STATUS INTEGER);
CREATE TABLE neptun.T_STUDENTTRAINING (ID INTEGER, C_STUDENTID INTEGER, C_TRAININGID INTEGER);
CREATE TABLE neptun.T_PARTNER (ID INTEGER, C_PRINTNAME TEXT);
CREATE TABLE neptun.T_USER (ID INTEGER, C_NEPTUNCODE TEXT);
CREATE TABLE neptun.T_STUDENT (ID INTEGER, C_OMSIDENTIFIER TEXT);
CREATE TABLE neptun.T_MODULE (ID INTEGER, C_CODE TEXT);
CREATE TABLE neptun.T_TRAINING (ID INTEGER);
CREATE TABLE neptun.T_COURSESTUDENT (C_INDEXLINEID INTEGER, C_COURSEID INTEGER, C_SIGNOUTDATE TEXT);
CREATE TABLE neptun.T_COURSE (ID INTEGER, C_CODE TEXT, C_COURSETYPE INTEGER, C_LANGUAGE INTEGER, C_SUBJECTID INTEGER, C_TERM INTEGER);
CREATE TABLE neptun.T_SCCARD (C_SERIALNUMBER TEXT, C_STUDENTID INTEGER, C_STATUS INTEGER);
CREATE TABLE neptun.T_DictionaryItemBase (ID INTEGER, C_Name TEXT);
CREATE TABLE neptun.T_CourseTutor (C_COURSEID INTEGER, C_EMPLOYEEID INTEGER);
CREATE TABLE neptun.T_EMPLOYEE (ID INTEGER);
CREATE TABLE neptun.T_CLASSINSTANCE (C_COURSEID INTEGER, C_CORRECTFROMDATE TEXT, C_CORRECTTODATE TEXT);
)";

struct SqlError : std::runtime_error {
    explicit SqlError(const QString &m) : std::runtime_error(m.toStdString()), message(m) {}
    QString message;
};

using Rows = QVector<QVector<QVariant>>;

class Database {
public:
    Database()
    {
        sqlite3_open(":memory:", &db);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        sql::RegisterSqliteExtensions(db, &runtime);
        raw(Schema);
        raw("ATTACH DATABASE ':memory:' AS neptun");
        raw(NeptunSchema);
        catalog = sql::Catalog::fromSqlite(db);
        translator = std::make_unique<sql::Translator>(&catalog);
    }
    ~Database() { sqlite3_close(db); }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Plain SQLite text, no translation.
    void raw(const char *sql)
    {
        char *err = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            const QString m = QString::fromUtf8(err);
            sqlite3_free(err);
            throw SqlError(m);
        }
    }

    Rows rawQuery(const QString &sql) { return execute(sql, {}, false); }

    // Translates and runs a batch; returns the rows of its last SELECT. Throws TranslateError or
    // SqlError.
    // bound: run the statements' bound forms (literals as parameters) where they have one.
    Rows run(const QString &tsql, const QVariantMap &params = {}, bool bound = false)
    {
        const auto batch = translator->translate(tsql);
        Rows last;
        for (const sql::TranslatedStatement &st : batch->statements) {
            const bool useBound = bound && !st.boundSql.isEmpty();
            Rows rows = execute(useBound ? st.boundSql : st.sql, params, true, useBound ? &st : nullptr);
            if (st.kind == sql::StatementKind::Insert) {
                const sql::TableInfo *t = catalog.table(st.targetTable);
                runtime.scopeIdentity = t && t->hasIdentity() ? QVariant(qint64(sqlite3_last_insert_rowid(db))) : QVariant();
            }
            if (st.kind == sql::StatementKind::Select)
                last = rows;
        }
        return last;
    }

    QVariant scalar(const QString &tsql, const QVariantMap &params = {})
    {
        const Rows rows = run(tsql, params);
        if (rows.isEmpty() || rows[0].isEmpty())
            return QVariant();
        return rows[0][0];
    }

    QString sqlOf(const QString &tsql, int index = 0) { return translator->translate(tsql)->statements.value(index).sql; }

    sqlite3 *db = nullptr;
    sql::SqliteRuntime runtime;
    sql::Catalog catalog;
    std::unique_ptr<sql::Translator> translator;

private:
    Rows execute(const QString &sql, const QVariantMap &params, bool setClock, const sql::TranslatedStatement *bound = nullptr)
    {
        if (setClock && !fixedClock)
            runtime.now = QDateTime::currentDateTime();
        sqlite3_stmt *st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK)
            throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" in: ") + sql);
        for (int i = 1; bound && i <= sqlite3_bind_parameter_count(st); ++i) {
            const sql::TranslatedStatement::BoundValue &v = bound->boundValues.at(size_t(i - 1));
            if (v.isText)
                sqlite3_bind_text(st, i, bound->boundText.constData() + v.offset, v.size, SQLITE_TRANSIENT);
            else
                sqlite3_bind_int64(st, i, v.integer);
        }
        for (int i = 1; !bound && i <= sqlite3_bind_parameter_count(st); ++i) {
            const QString name = QString::fromUtf8(sqlite3_bind_parameter_name(st, i)).mid(1);
            QVariant v;
            for (auto it = params.begin(); it != params.end(); ++it)
                if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                    v = it.value();
            if (v.isNull())
                sqlite3_bind_null(st, i);
            else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(st, i, v.toLongLong());
            else if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(st, i, v.toDouble());
            else {
                const QString s = v.toString();
                sqlite3_bind_text16(st, i, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
            }
        }
        Rows rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QVector<QVariant> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL: row << QVariant(); break;
                case SQLITE_INTEGER: row << QVariant(qint64(sqlite3_column_int64(st, c))); break;
                case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(st, c)); break;
                default:
                    row << QVariant(QString(static_cast<const QChar *>(sqlite3_column_text16(st, c)),
                                            sqlite3_column_bytes16(st, c) / 2));
                }
            }
            rows << row;
        }
        if (rc != SQLITE_DONE) {
            const QString m = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(st);
            throw SqlError(m);
        }
        sqlite3_finalize(st);
        return rows;
    }

public:
    bool fixedClock = false;
};

} // namespace fixture
