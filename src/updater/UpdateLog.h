#pragma once
// The updater's log "frissites.log": every line is appended on its own, the file is closed again after it.

#include <QString>

namespace frissites {

inline constexpr auto LogFileName = "frissites.log";

class UpdateLog {
public:
    explicit UpdateLog(QString path) : m_path(std::move(path)) {}
    const QString &path() const { return m_path; }

    // Appends text and a CR LF, UTF-8 encoded. A log that cannot be written is skipped silently:
    // the update goes on without it. An empty path writes the lines to standard error.
    void write(const QString &text) const;

private:
    QString m_path;
};

} // namespace frissites
