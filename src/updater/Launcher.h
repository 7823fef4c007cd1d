#pragma once
// StartProgram: starts a program without waiting for it. An executable file is started detached with
// its arguments and working directory; any other file or a URL is opened with the desktop's default
// program.

#include <QString>
#include <QStringList>

namespace frissites {

class UpdateLog;

enum class ShowMode { Normal, Hidden }; // kept for the callers' intent; desktop programs choose themselves

// Set in the environment of an updater started by its own self-update.
inline constexpr auto RestartMarker = "FRISSITES_UJRAINDITAS";

class Launcher {
public:
    Launcher(const UpdateLog &log, QString workDir);
    virtual ~Launcher() = default;

    // Logs "Program futtatása: " + directory + file name + " " + arguments, and
    // "Program futtatása meghiúsult: " + the same texts when the start fails. The arguments are split
    // like a command line (quotes group). A relative file is looked up in directory, then in the working
    // directory, then a bare name on the PATH; a relative directory is below the working directory.
    bool StartProgram(const QString &file, const QString &arguments, const QString &directory, ShowMode mode,
                      bool markRestart = false);

protected:
    virtual bool startDetached(const QString &program, const QStringList &arguments, const QString &directory,
                               bool markRestart);
    virtual bool openDocument(const QString &target);

private:
    const UpdateLog &m_log;
    QString m_workDir;
};

} // namespace frissites
