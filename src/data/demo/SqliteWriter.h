#pragma once
// A thin layer over the SQLite C API for bulk writing: prepared statements bound by position.
// Every failure throws std::runtime_error with SQLite's message.

#include <QString>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>

namespace demo {

[[noreturn]] void ThrowSqlite(sqlite3 *db, const QString &what);

// Runs one or more statements without results.
void Exec(sqlite3 *db, const char *sql);

class Statement {
public:
    Statement(sqlite3 *db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds the arguments to ?1, ?2, … and steps once. A null QString and an empty optional bind NULL.
    template <typename... Args>
    void run(const Args &...args)
    {
        int i = 0;
        (bind(++i, args), ...);
        step();
    }

private:
    void bind(int i, int v);
    void bind(int i, qint64 v);
    void bind(int i, bool v) { bind(i, v ? 1 : 0); }
    void bind(int i, const QString &v);
    void bind(int i, const char *v) { bind(i, QString::fromUtf8(v)); }
    template <typename T>
    void bind(int i, const std::optional<T> &v)
    {
        if (v)
            bind(i, *v);
        else
            bindNull(i);
    }
    void bindNull(int i);
    void check(int rc);
    void step();

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace demo
