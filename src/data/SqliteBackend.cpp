#include "SqliteBackend.h"

#include "DbError.h"
#include "sql/Collation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <sqlite3.h>

namespace {

constexpr int BusyTimeoutMs = 10000;
constexpr int PreparedCacheLimit = 256;
// Longer texts (statements with spliced lists) are hardly ever sent twice: they are prepared for
// one execution and not kept.
constexpr qsizetype PreparedTextLimit = 2048;

QVariant columnValue(sqlite3_stmt *st, int i, FieldType type)
{
    const int kind = sqlite3_column_type(st, i);
    if (kind == SQLITE_NULL)
        return {};
    auto text = [&] {
        const char *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        return QString::fromUtf8(utf8, sqlite3_column_bytes(st, i));
    };
    switch (type) {
    case FieldType::Date:
        if (kind == SQLITE_TEXT) {
            const QString s = text();
            const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
            return d.isValid() ? QVariant(d) : QVariant(s);
        }
        break;
    case FieldType::DateTime:
        if (kind == SQLITE_TEXT) {
            const QString s = text();
            QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (!dt.isValid() && s.size() == 10)
                dt = QDateTime(QDate::fromString(s, Qt::ISODate), QTime(0, 0));
            return dt.isValid() ? QVariant(dt) : QVariant(s);
        }
        break;
    case FieldType::Time:
        if (kind == SQLITE_TEXT) {
            const QString s = text();
            const QTime t = QTime::fromString(s.left(8), QStringLiteral("HH:mm:ss"));
            return t.isValid() ? QVariant(t) : QVariant(s);
        }
        break;
    default:
        break;
    }
    switch (kind) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)));
    default:
        return QVariant(text());
    }
}

FieldType declaredType(const char *decl)
{
    if (!decl)
        return FieldType::Unknown;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.startsWith("DATETIME")) return FieldType::DateTime;
    if (d.startsWith("DATE")) return FieldType::Date;
    if (d.startsWith("TIME")) return FieldType::Time;
    if (d.startsWith("BIT")) return FieldType::Flag;
    if (d.contains("INT")) return FieldType::Integer;
    if (d.contains("CHAR") || d.contains("TEXT")) return FieldType::Text;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB") || d.contains("DEC") || d.contains("NUM"))
        return FieldType::Float;
    return FieldType::Unknown;
}

void bindValue(sqlite3_stmt *st, int index, const QVariant &v)
{
    if (v.isNull()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(st, index, v.toLongLong());
        return;
    case QMetaType::Bool:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
        sqlite3_bind_double(st, index, v.toDouble());
        return;
    case QMetaType::QDate:
        sqlite3_bind_text(st, index, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1, SQLITE_TRANSIENT);
        return;
    case QMetaType::QDateTime:
        sqlite3_bind_text(st, index, v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8().constData(),
                          -1, SQLITE_TRANSIENT);
        return;
    case QMetaType::QTime:
        sqlite3_bind_text(st, index, v.toTime().toString(QStringLiteral("HH:mm:ss")).toUtf8().constData(), -1,
                          SQLITE_TRANSIENT);
        return;
    default: {
        const QByteArray s = v.toString().toUtf8();
        sqlite3_bind_text(st, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
    }
    }
}

// SQLite's constraint texts in the server's words where the program relies on them.
QString serverMessage(const QString &raw, const sql::TranslatedStatement *st)
{
    static const QRegularExpression notNull(QStringLiteral("NOT NULL constraint failed: (\\w+)\\.(\\w+)"));
    const auto m = notNull.match(raw);
    if (m.hasMatch()) {
        const QString verb = st && st->kind == sql::StatementKind::Update ? QStringLiteral("UPDATE") : QStringLiteral("INSERT");
        return QStringLiteral("Cannot insert the value NULL into column '%1', table '%2'; column does not allow nulls. %3 fails.")
            .arg(m.captured(2), m.captured(1), verb);
    }
    if (raw.startsWith(QLatin1String("FOREIGN KEY constraint failed"))) {
        const QString verb = st && st->kind == sql::StatementKind::Delete ? QStringLiteral("DELETE")
                             : st && st->kind == sql::StatementKind::Update ? QStringLiteral("UPDATE")
                                                                            : QStringLiteral("INSERT");
        return QStringLiteral("The %1 statement conflicted with a FOREIGN KEY constraint%2. The statement has been terminated.")
            .arg(verb, st && !st->targetTable.isEmpty() ? QStringLiteral(" (table \"%1\")").arg(st->targetTable) : QString());
    }
    return raw;
}

} // namespace

SqliteBackend::SqliteBackend(QString neptunPath) : m_neptunPath(std::move(neptunPath))
{
    m_runtime.clock = &clock;
}

SqliteBackend::~SqliteBackend() { close(); }

QString SqliteBackend::databasePath(const ConnectionSettings &settings)
{
    QString folder = settings.embeddedFolder();
    if (folder.isEmpty())
        folder = QStringLiteral(".");
    if (QDir::isRelativePath(folder))
        folder = QCoreApplication::applicationDirPath() + u'/' + folder;
    return QDir::cleanPath(folder + u'/' + settings.catalog + QStringLiteral(".sqlite"));
}

void SqliteBackend::open(const ConnectionSettings &settings)
{
    close();
    const QString path = databasePath(settings);
    if (settings.catalog.isEmpty() || !QFileInfo::exists(path))
        throw DbError(QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed. (%2)")
                          .arg(settings.catalog, path));
    sql::PrepareSqliteLibrary();
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        close();
        throw DbError(QStringLiteral("Cannot open database \"%1\": %2").arg(path, msg), rc);
    }
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    sql::RegisterSqliteExtensions(m_db, &m_runtime);
    char *err = nullptr;
    if (sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"
                           "SELECT count(*) FROM sqlite_schema;",
                     nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        close();
        throw DbError(QStringLiteral("Cannot open database \"%1\": %2").arg(path, msg));
    }
    // Indexes built under an earlier order of KOVRA_CI are rebuilt once; a file that cannot be
    // written now (read-only, busy) is tried again at the next opening.
    sqlite3_stmt *version = nullptr;
    int stored = -1;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &version, nullptr) == SQLITE_OK && sqlite3_step(version) == SQLITE_ROW)
        stored = sqlite3_column_int(version, 0);
    sqlite3_finalize(version);
    if (stored != sql::CollationOrderVersion) {
        const QByteArray reindex = "BEGIN IMMEDIATE; REINDEX " + QByteArray(sql::CollationName) + "; PRAGMA user_version="
                                   + QByteArray::number(sql::CollationOrderVersion) + "; COMMIT;";
        if (sqlite3_exec(m_db, reindex.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    if (!m_neptunPath.isEmpty()) {
        QString neptun = m_neptunPath;
        if (QDir::isRelativePath(neptun))
            neptun = QCoreApplication::applicationDirPath() + u'/' + neptun;
        if (QFileInfo::exists(neptun)) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(m_db, "ATTACH DATABASE ? AS neptun", -1, &st, nullptr);
            const QByteArray uri = "file:" + QUrl::toPercentEncoding(QFileInfo(neptun).absoluteFilePath(), "/") + "?mode=ro";
            sqlite3_bind_text(st, 1, uri.constData(), -1, SQLITE_TRANSIENT);
            m_neptunAttached = sqlite3_step(st) == SQLITE_DONE;
            sqlite3_finalize(st);
        }
    }
    reloadCatalog();
}

void SqliteBackend::close()
{
    finalizeAll();
    m_translator.reset();
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_neptunAttached = false;
}

void SqliteBackend::reloadCatalog()
{
    m_catalog = sql::Catalog::fromSqlite(m_db);
    if (!m_translator)
        m_translator = std::make_unique<sql::Translator>(&m_catalog);
    else
        m_translator->clearCache();
}

void SqliteBackend::finalizeAll()
{
    for (sqlite3_stmt *st : std::as_const(m_prepared))
        sqlite3_finalize(st);
    m_prepared.clear();
}

void SqliteBackend::fail(const QString &context, int rc)
{
    throw DbError(context.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(m_db)) : context, rc);
}

sqlite3_stmt *SqliteBackend::prepare(const QString &sqliteText, bool &keep, bool reusable)
{
    keep = reusable || sqliteText.size() <= PreparedTextLimit;
    if (keep) {
        if (sqlite3_stmt *st = m_prepared.value(sqliteText))
            return st;
        if (m_prepared.size() >= PreparedCacheLimit)
            finalizeAll();
    }
    sqlite3_stmt *st = nullptr;
    const QByteArray utf8 = sqliteText.toUtf8();
    // the length with the terminating zero spares SQLite a copy
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size() + 1), keep ? SQLITE_PREPARE_PERSISTENT : 0,
                                      &st, nullptr);
    if (rc != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        QString message = rc != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("Empty statement");
        // SQLite's own limits of nesting, in the translator's words
        if (message == u"parser stack overflow" || message.startsWith(QLatin1String("Expression tree is too large")))
            message = QStringLiteral("Expression nested too deeply for the embedded engine (%1)").arg(message);
        fail(message, rc);
    }
    if (keep)
        m_prepared.insert(sqliteText, st);
    return st;
}

void SqliteBackend::beginUnit()
{
    if (!m_db)
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    // the write lock before the unit's first read; waits up to the busy timeout for other writers
    const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc == SQLITE_BUSY ? QStringLiteral("Az adatbázist egy másik munkaállomás foglalja; próbálja újra! (%1)")
                                     .arg(QString::fromUtf8(sqlite3_errmsg(m_db)))
                               : QString(),
             rc);
}

void SqliteBackend::commitUnit()
{
    if (!m_db)
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    if (sqlite3_get_autocommit(m_db))
        throw DbError(QStringLiteral("A művelet tranzakcióját az adatbázis visszavonta; semmi sem íródott be."));
    const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(QString(), rc);
}

void SqliteBackend::rollbackUnit()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

QStringList SqliteBackend::integrityCheck()
{
    if (!m_db)
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA main.integrity_check", -1, &st, nullptr);
    if (rc != SQLITE_OK)
        fail(QString(), rc);
    QStringList lines;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        lines << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        fail(QString(), rc);
    return lines;
}

void SqliteBackend::backupTo(const QString &file)
{
    if (!m_db)
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    if (QFileInfo::exists(file))
        throw DbError(QStringLiteral("A mentés célfájlja már létezik: %1").arg(file));
    if (const QFileInfo folder(QFileInfo(file).absolutePath()); !folder.isDir())
        throw DbError(QStringLiteral("A mentés mappája nem létezik: %1").arg(QDir::toNativeSeparators(folder.filePath())));
    sqlite3 *target = nullptr;
    int rc = sqlite3_open_v2(file.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto failWith = [&](const QString &what) {
        const QString msg = what + QStringLiteral(": ") + QString::fromUtf8(target ? sqlite3_errmsg(target) : sqlite3_errstr(rc));
        sqlite3_close_v2(target);
        QFile::remove(file);
        throw DbError(msg, rc);
    };
    if (rc != SQLITE_OK)
        failWith(QStringLiteral("A mentés célfájlja nem hozható létre"));
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", m_db, "main");
    if (!backup)
        failWith(QStringLiteral("A mentés nem indítható"));
    // All pages in one step: one read transaction, so the copy is one consistent state even while
    // other workstations write (they are not held up under WAL).
    for (int attempt = 0;; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_DONE)
            break;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && attempt < 200) {
            sqlite3_sleep(50);
            continue;
        }
        sqlite3_backup_finish(backup);
        failWith(QStringLiteral("A mentés nem sikerült"));
    }
    rc = sqlite3_backup_finish(backup);
    if (rc != SQLITE_OK)
        failWith(QStringLiteral("A mentés nem sikerült"));
    sqlite3_close_v2(target);
}

ResultSet SqliteBackend::query(const QString &sql, const StatementParams &params)
{
    Outcome out = run(sql, params, true);
    return std::move(out.rows);
}

qint64 SqliteBackend::execute(const QString &sql, const StatementParams &params)
{
    return run(sql, params, false).changes;
}

SqliteBackend::Outcome SqliteBackend::run(const QString &sql, const StatementParams &params, bool wantRows)
{
    if (!m_db)
        throw DbError(QStringLiteral("Az adatbázis-kapcsolat nincs megnyitva."));
    std::shared_ptr<const sql::TranslatedBatch> batch;
    try {
        batch = m_translator->translate(sql);
    } catch (const sql::TranslateError &e) {
        throw DbError(e.message());
    }
    Outcome out;
    for (const sql::TranslatedStatement &st : batch->statements)
        runOne(st, params, out, wantRows);
    return out;
}

void SqliteBackend::runOne(const sql::TranslatedStatement &st, const StatementParams &params, Outcome &out, bool wantRows)
{
    if (st.usesNeptun && !m_neptunAttached)
        throw DbError(QStringLiteral("NEPTUN3R: a Neptun adatbázis nem érhető el (kovra.ini, \"Neptun\" szakasz, "
                                     "\"Adatbazis\" kulcs)."));
    // the bound form unless it has more parameters than SQLite takes
    const bool bound = !st.boundSql.isEmpty()
                       && st.boundValues.size() <= size_t(sqlite3_limit(m_db, SQLITE_LIMIT_VARIABLE_NUMBER, -1));
    bool keep = false;
    sqlite3_stmt *stmt = prepare(bound ? st.boundSql : st.sql, keep, bound);
    struct Reset {
        sqlite3_stmt *s;
        bool keep;
        ~Reset()
        {
            if (!s)
                return;
            if (keep) {
                sqlite3_reset(s);
                sqlite3_clear_bindings(s);
            } else {
                sqlite3_finalize(s);
            }
        }
    } reset{stmt, keep};

    const int nParams = sqlite3_bind_parameter_count(stmt);
    if (bound) {
        // the statement's own literals
        if (size_t(nParams) != st.boundValues.size())
            throw DbError(QStringLiteral("Internal error: %1 values for %2 parameters").arg(qsizetype(st.boundValues.size())).arg(nParams));
        // the texts stay in st until the statement is reset
        for (int i = 1; i <= nParams; ++i) {
            const sql::TranslatedStatement::BoundValue &v = st.boundValues[size_t(i - 1)];
            if (v.isText)
                sqlite3_bind_text(stmt, i, st.boundText.constData() + v.offset, v.size, SQLITE_STATIC);
            else
                sqlite3_bind_int64(stmt, i, v.integer);
        }
    }
    for (int i = bound ? nParams + 1 : 1; i <= nParams; ++i) {
        const char *name = sqlite3_bind_parameter_name(stmt, i);
        if (!name)
            continue;
        const QString n = QString::fromUtf8(name + 1);
        bool found = false;
        for (const auto &p : params) {
            if (p.first.compare(n, Qt::CaseInsensitive) == 0) {
                bindValue(stmt, i, p.second);
                found = true;
                break;
            }
        }
        if (!found)
            throw DbError(QStringLiteral("Must declare the scalar variable \"@%1\".").arg(n));
    }

    m_runtime.now = QDateTime(); // read from the clock by the statement's first getdate()
    ++m_statements;
    const int columns = sqlite3_column_count(stmt);
    const bool collect = wantRows && columns > 0 && !out.hasRows;
    QVector<FieldType> types;
    if (collect) {
        out.hasRows = true;
        out.rows.columns.resize(columns);
        types.resize(columns);
        for (int c = 0; c < columns; ++c) {
            FieldType t = c < st.resultTypes.size() ? st.resultTypes[c] : FieldType::Unknown;
            if (t == FieldType::Unknown)
                t = declaredType(sqlite3_column_decltype(stmt, c));
            types[c] = t;
            out.rows.columns[c] = ResultColumn{QString::fromUtf8(sqlite3_column_name(stmt, c)), t};
        }
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!collect)
            continue;
        QVector<QVariant> row(columns);
        for (int c = 0; c < columns; ++c)
            row[c] = columnValue(stmt, c, types[c]);
        out.rows.rows.append(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throw DbError(serverMessage(QString::fromUtf8(sqlite3_errmsg(m_db)), &st), rc);

    if (st.kind == sql::StatementKind::Insert || st.kind == sql::StatementKind::Update
        || st.kind == sql::StatementKind::Delete)
        out.changes += sqlite3_changes(m_db);
    if (st.kind == sql::StatementKind::Insert) {
        const sql::TableInfo *t = m_catalog.table(st.targetTable);
        if (t && t->hasIdentity()) {
            if (sqlite3_changes(m_db) > 0)
                m_runtime.scopeIdentity = QVariant(qint64(sqlite3_last_insert_rowid(m_db)));
        } else {
            m_runtime.scopeIdentity = QVariant();
        }
    }
    if (st.kind == sql::StatementKind::Ddl) {
        if (keep) {
            sqlite3_reset(stmt);
            reset.s = nullptr; // finalised with the others
        }
        finalizeAll();
        reloadCatalog();
    }
}
