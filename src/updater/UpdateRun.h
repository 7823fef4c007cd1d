#pragma once
// One run of the updater: command line, configuration, manifests, self-update, database scripts,
// main program, other files, preceding programs and the finish step, in this fixed order.

#include "Download.h"
#include "Ini.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace frissites {

class Launcher;
class RunView;
class UpdateLog;

inline constexpr auto OwnVersion = "1.0g";
inline constexpr auto DefaultConfigName = "frissites.ini";
inline constexpr auto ManifestName = "upd.ini";
inline constexpr auto UpdaterManifestName = "friss_upd.ini";

enum ResultCode : int {
    ResultOk = 0,
    ResultUpdaterDownloadFailed = 2,
    ResultProgramMissing = 4,
    ResultManifestFailed = 101,
    ResultDatabaseFailed = 102,
    ResultPackageFolder = 103, // the working folder belongs to an installed package
};

struct Switches {
    bool database = false;     // /ADATBAZIS
    bool noStart = false;      // /NINCSINDITAS
    bool keepFiles = false;    // /NINCSTORLES
    bool selfUpdate = false;   // /INDITOFRISSITES
    bool files = false;        // /FAJLFRISSITES
    bool programs = false;     // /PROGRAMFUTTATAS
    bool hidden = false;       // /REJTETT
    QString configName = QString::fromLatin1(DefaultConfigName); // /INI:<name>, upper-cased
    QString parameterText;     // every argument upper-cased, each followed by one blank
};

Switches ParseArguments(const QStringList &arguments);

// "frissites.ini": where updates come from and where they go.
struct LocalConfig {
    QString updateServer;   // [Szerverek] Frissito szerver
    QString databaseServer; // [Szerverek] Adatbazis szerver
    QString exeName;        // [Program] Exe neve
    QString programId;      // [Eleresek] Program azonosito
    QString databaseName;   // [Eleresek] Adatbazis neve
    QString databaseType;   // [Eleresek] Adatbazis tipusa
    std::array<QString, 17> roots; // [Eleresek] Fajl megosztas1..16; root 0 is "."
    int timeoutSeconds = 0; // [Szerverek] Idotullepes: connect and stall limit of downloads; 0 = defaults
    int downloadSeconds = 1800;              // [Szerverek] Letoltes idokorlat: whole transfer
    qint64 downloadMegabytes = 1024;         // [Szerverek] Letoltes meretkorlat: without an announced size
    int scriptBatchSeconds = 600;            // [Szerverek] Script idokorlat: one batch of a database script

    static LocalConfig read(const IniFile &ini);
    QString base() const { return updateServer + programId; }
};

// The folders of an installed package, which its package manager keeps: /usr/bin, /usr/share/kovra,
// /usr/share/doc/kovra, /etc/kovra, and the same folders around an updater that runs from a
// package's bin folder (exeDir/../share/kovra exists).
QStringList PackageFolders(const QString &exePath);
// The folder of folders that path (existing or not) lies in, symbolic links resolved; empty when none.
QString PackageFolderOf(const QString &path, const QStringList &folders);

struct RunSetup {
    QString workDir;        // the process's working directory: every relative file name is below it
    QString exePath;        // the running updater's executable
    QStringList arguments;  // without the program name
    bool restarted = false; // started by its own self-update in this run
    QStringList packageFolders; // never written (PackageFolders of the executable)
};

class UpdateRun {
public:
    enum class Outcome { Finished, Stopped, Restarted };

    UpdateRun(RunView &view, Launcher &launcher, const UpdateLog &log, RunSetup setup);
    ~UpdateRun();

    // Window creation: start lines of the log, switches, the task labels they enable.
    void start();
    // The timer: every step in order, ending with the finish step unless stopped or restarted.
    Outcome run();

    int resultCode() const { return m_result; }
    const Switches &switches() const { return m_switches; }
    QString messages() const { return m_messages.join(QStringLiteral("\r\n")); }

private:
    bool stopNoticed();
    QString path(const QString &name) const;
    void setMessage(const QString &line);
    void addMessage(const QString &line);

    bool refusePackageFolder(const QString &target, const QString &what);
    bool selfUpdate();
    void programUpdate();
    void otherFiles();
    void precedingPrograms();
    Outcome finish();

    RunView &m_view;
    Launcher &m_launcher;
    const UpdateLog &m_log;
    RunSetup m_setup;
    Switches m_switches;
    LocalConfig m_config;
    IniFile m_manifest;
    std::unique_ptr<Downloader> m_downloader;
    QStringList m_messages;
    int m_result = ResultOk;
};

} // namespace frissites
