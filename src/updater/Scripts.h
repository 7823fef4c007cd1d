#pragma once
// The database step of the run: numbered SQL scripts above the database's version, batch by batch.

#include "Database.h"

#include <QString>
#include <QStringList>

namespace frissites {

class Downloader;
class IniFile;
class RunView;
class UpdateLog;

// Batches of a script. A line whose first three characters, upper-cased and trimmed, are "GO", or whose
// first six are "COMMIT", ends a batch and is itself dropped; a blank batch is not sent.
QStringList SplitBatches(const QStringList &lines);

// The settings table when the manifest names none.
inline constexpr auto DefaultSettingsTable = "beallitasok";

class DatabaseUpdate {
public:
    enum class Result { Skipped, Updated, Failed };

    DatabaseUpdate(RunView &view, const UpdateLog &log, Downloader &downloader, QString workDir, bool keepFiles);

    // settings: provider, catalog and data source of the configuration; user and password come from
    // the manifest's "Adatbazis" section. base: URL prefix of the script paths.
    Result run(const IniFile &manifest, ConnectionSettings settings, const QString &base);

    // Runs one downloaded script file (a name below the working directory); false at the first failing
    // batch.
    bool runScript(DbConnection &db, const QString &fileName);

    const QString &lastError() const { return m_error; }
    // Seconds one batch of a script may run (0 = no limit).
    void setBatchTimeLimit(int seconds) { m_batchSeconds = seconds; }

private:
    bool fail(const QString &error);

    RunView &m_view;
    const UpdateLog &m_log;
    Downloader &m_downloader;
    QString m_workDir;
    bool m_keepFiles;
    QString m_error;
    int m_batchSeconds = 0;
};

} // namespace frissites
