#pragma once
// Small helpers for tests that read SQLite files directly.

#include "sql/Collation.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <sqlite3.h>

namespace testutil {

// An open connection with KOVRA_CI registered and foreign keys on; closed on destruction.
class Db {
public:
    explicit Db(const QString &path = QString(), sqlite3 *adopt = nullptr) : m_db(adopt)
    {
        if (!m_db && sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
            return;
        }
        sql::RegisterKovraCollation(m_db);
        exec("PRAGMA foreign_keys=ON");
    }
    ~Db() { sqlite3_close(m_db); }
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    sqlite3 *handle() const { return m_db; }
    bool isOpen() const { return m_db != nullptr; }
    QString lastError() const { return m_error; }

    // Runs one statement; false (and lastError) on failure.
    bool exec(const QString &sql, const QVariantList &params = {})
    {
        QVector<QVariantList> ignored;
        return query(sql, params, &ignored);
    }

    bool query(const QString &sql, const QVariantList &params, QVector<QVariantList> *rows)
    {
        m_error.clear();
        rows->clear();
        sqlite3_stmt *st = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return false;
        }
        for (int i = 0; i < params.size(); ++i) {
            const QVariant &p = params[i];
            if (p.isNull())
                sqlite3_bind_null(st, i + 1);
            else if (p.typeId() == QMetaType::Int || p.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(st, i + 1, p.toLongLong());
            else {
                const QByteArray v = p.toString().toUtf8();
                sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
            }
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QVariantList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL: row << QVariant(); break;
                case SQLITE_INTEGER: row << QVariant(qint64(sqlite3_column_int64(st, c))); break;
                case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(st, c)); break;
                default:
                    row << QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                                      sqlite3_column_bytes(st, c)));
                }
            }
            *rows << row;
        }
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(st);
        return rc == SQLITE_DONE;
    }

    // The rows of a query, or an empty list (and a test failure message in lastError).
    QVector<QVariantList> rows(const QString &sql, const QVariantList &params = {})
    {
        QVector<QVariantList> r;
        query(sql, params, &r);
        return r;
    }

    QVariant value(const QString &sql, const QVariantList &params = {})
    {
        const auto r = rows(sql, params);
        return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
    }

    QStringList column(const QString &sql, const QVariantList &params = {})
    {
        QStringList out;
        for (const QVariantList &row : rows(sql, params))
            out << row.value(0).toString();
        return out;
    }

private:
    sqlite3 *m_db = nullptr;
    QString m_error;
};

} // namespace testutil
