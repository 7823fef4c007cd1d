#include "Launcher.h"

#include "Text.h"
#include "UpdateLog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUrl>

namespace frissites {

Launcher::Launcher(const UpdateLog &log, QString workDir) : m_log(log), m_workDir(std::move(workDir)) {}

bool Launcher::StartProgram(const QString &file, const QString &arguments, const QString &directory, ShowMode,
                            bool markRestart)
{
    const QString local = ToLocalSeparators(file.trimmed());
    const QString shown = directory + QFileInfo(local).fileName() + u' ' + arguments;
    m_log.write(QStringLiteral("Program futtatása: ") + shown);

    const QDir work(m_workDir);
    const QString dir = directory.trimmed().isEmpty()
                            ? work.absolutePath()
                            : QDir::cleanPath(work.absoluteFilePath(ToLocalSeparators(directory.trimmed())));
    bool started = false;
    const QUrl asUrl(local);
    const QString scheme = asUrl.scheme().toLower();
    if (local.isEmpty()) {
        started = false;
    } else if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
        started = openDocument(local);
    } else {
        QString path;
        if (QDir::isAbsolutePath(local)) {
            path = local;
        } else if (QFileInfo::exists(QDir(dir).filePath(local))) {
            path = QDir(dir).filePath(local);
        } else if (QFileInfo::exists(work.filePath(local))) {
            path = work.filePath(local);
        } else if (!local.contains(u'/')) {
            path = QStandardPaths::findExecutable(local);
        }
        const QFileInfo info(path);
        if (path.isEmpty() || !info.exists())
            started = false;
        else if (info.isFile() && info.isExecutable())
            started = startDetached(info.absoluteFilePath(), QProcess::splitCommand(arguments), dir, markRestart);
        else
            started = openDocument(info.absoluteFilePath());
    }
    if (!started)
        m_log.write(QStringLiteral("Program futtatása meghiúsult: ") + shown);
    return started;
}

bool Launcher::startDetached(const QString &program, const QStringList &arguments, const QString &directory,
                             bool markRestart)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(directory);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QString::fromLatin1(RestartMarker));
    if (markRestart)
        env.insert(QString::fromLatin1(RestartMarker), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

bool Launcher::openDocument(const QString &target)
{
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

} // namespace frissites
