#include "UpdateRun.h"

#include "Checksum.h"
#include "Launcher.h"
#include "RunView.h"
#include "Scripts.h"
#include "Text.h"
#include "UpdateLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace frissites {

namespace {

const QString Ok = QStringLiteral("Rendben");
const QString Failed = QStringLiteral("Hiba");

QString okText(bool ok)
{
    return ok ? Ok : Failed;
}

qint64 announcedSize(const QString &text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok && n > 0 ? n : 0;
}

// An executable file keeps the permissions of the file it replaces; a new one is made executable.
QFile::Permissions executablePermissions(const QString &replaced)
{
    if (QFileInfo::exists(replaced))
        return QFile::permissions(replaced);
    return QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
           | QFile::ReadOther | QFile::ExeOther;
}

// Copies source over target; a replaced target keeps its permissions.
bool copyOverwriting(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const bool existed = QFileInfo(target).isFile();
    const QFile::Permissions permissions = existed ? QFile::permissions(target) : QFile::Permissions();
    QSaveFile out(target);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (existed)
        out.setPermissions(permissions);
    QByteArray block;
    while (!(block = in.read(1 << 16)).isEmpty()) {
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

// A path below a target root: no absolute path, no step upwards.
bool isSafeRelativePath(const QString &localPath)
{
    if (localPath.isEmpty() || localPath.startsWith(u'/') || localPath.endsWith(u'/'))
        return false;
    const QStringList parts = localPath.split(u'/', Qt::SkipEmptyParts);
    return !parts.isEmpty() && !parts.contains(QStringLiteral(".."));
}

// The first symbolic link on the way from root to root/parts that leads out of root (or nowhere);
// empty when the way stays inside. Links inside the root are followed as they are.
QString linkOutOfRoot(const QString &root, const QStringList &parts)
{
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    QString at = root;
    for (const QString &part : parts) {
        at = QDir(at).filePath(part);
        const QFileInfo info(at);
        if (!info.isSymLink())
            continue;
        const QString target = info.canonicalFilePath();
        if (canonicalRoot.isEmpty() || target.isEmpty()
            || !(target == canonicalRoot || target.startsWith(canonicalRoot + u'/')))
            return at;
    }
    return {};
}

} // namespace

Switches ParseArguments(const QStringList &arguments)
{
    Switches s;
    for (const QString &argument : arguments) {
        const QString a = argument.toUpper();
        if (a == u"/ADATBAZIS")
            s.database = true;
        else if (a == u"/NINCSINDITAS")
            s.noStart = true;
        else if (a == u"/NINCSTORLES")
            s.keepFiles = true;
        else if (a == u"/INDITOFRISSITES")
            s.selfUpdate = true;
        else if (a == u"/FAJLFRISSITES")
            s.files = true;
        else if (a == u"/PROGRAMFUTTATAS")
            s.programs = true;
        else if (a == u"/REJTETT")
            s.hidden = true;
        else if (a.startsWith(u"/INI:"))
            s.configName = a.mid(5);
        s.parameterText += a + u' ';
    }
    return s;
}

QStringList PackageFolders(const QString &exePath)
{
    QStringList folders{QStringLiteral("/usr/bin"), QStringLiteral("/usr/share/kovra"), QStringLiteral("/usr/share/doc/kovra"),
                        QStringLiteral("/etc/kovra")};
    const QString exeDir = QFileInfo(exePath).absolutePath();
    if (QFileInfo(exeDir + QStringLiteral("/../share/kovra")).isDir()) {
        folders << exeDir << QDir::cleanPath(exeDir + QStringLiteral("/../share/kovra"))
                << QDir::cleanPath(exeDir + QStringLiteral("/../share/doc/kovra"));
    }
    return folders;
}

QString PackageFolderOf(const QString &path, const QStringList &folders)
{
    // The nearest existing ancestor decides where a new file would land.
    QString at = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(at) && at != u"/") {
        rest.prepend(u'/' + QFileInfo(at).fileName());
        at = QFileInfo(at).absolutePath();
    }
    const QString real = QFileInfo(at).canonicalFilePath() + rest;
    for (const QString &folder : folders) {
        const QString f = QFileInfo(folder).exists() ? QFileInfo(folder).canonicalFilePath() : QDir::cleanPath(folder);
        if (real == f || real.startsWith(f + u'/'))
            return folder;
    }
    return {};
}

LocalConfig LocalConfig::read(const IniFile &ini)
{
    LocalConfig c;
    c.updateServer = ini.value(QStringLiteral("Szerverek"), QStringLiteral("Frissito szerver"));
    c.databaseServer = ini.value(QStringLiteral("Szerverek"), QStringLiteral("Adatbazis szerver"));
    c.exeName = ini.value(QStringLiteral("Program"), QStringLiteral("Exe neve"));
    c.programId = ini.value(QStringLiteral("Eleresek"), QStringLiteral("Program azonosito"));
    c.databaseName = ini.value(QStringLiteral("Eleresek"), QStringLiteral("Adatbazis neve"));
    c.databaseType = ini.value(QStringLiteral("Eleresek"), QStringLiteral("Adatbazis tipusa"));
    c.roots[0] = QStringLiteral(".");
    for (int n = 1; n <= 16; ++n)
        c.roots[size_t(n)] = ini.value(QStringLiteral("Eleresek"), QStringLiteral("Fajl megosztas") + QString::number(n));
    bool ok = false;
    const int timeout = ini.value(QStringLiteral("Szerverek"), QStringLiteral("Idotullepes")).toInt(&ok);
    c.timeoutSeconds = ok && timeout > 0 ? timeout : 0;
    const auto positive = [&](const QString &key, qint64 fallback) {
        bool given = false;
        const qint64 n = ini.value(QStringLiteral("Szerverek"), key).toLongLong(&given);
        return given && n > 0 ? n : fallback;
    };
    c.downloadSeconds = int(std::min<qint64>(positive(QStringLiteral("Letoltes idokorlat"), c.downloadSeconds), 1 << 30));
    c.downloadMegabytes = std::min<qint64>(positive(QStringLiteral("Letoltes meretkorlat"), c.downloadMegabytes), 1 << 30);
    c.scriptBatchSeconds = int(std::min<qint64>(positive(QStringLiteral("Script idokorlat"), c.scriptBatchSeconds), 1 << 30));
    return c;
}

UpdateRun::UpdateRun(RunView &view, Launcher &launcher, const UpdateLog &log, RunSetup setup)
    : m_view(view), m_launcher(launcher), m_log(log), m_setup(std::move(setup))
{
    if (m_setup.workDir.isEmpty())
        m_setup.workDir = QDir::currentPath();
}

UpdateRun::~UpdateRun() = default;

QString UpdateRun::path(const QString &name) const
{
    return QDir(m_setup.workDir).filePath(ToLocalSeparators(name));
}

void UpdateRun::setMessage(const QString &line)
{
    m_messages = QStringList{line};
    m_view.setMessages(messages());
}

void UpdateRun::addMessage(const QString &line)
{
    m_messages.append(line);
    m_view.setMessages(messages());
}

void UpdateRun::start()
{
    m_switches = Switches();
    m_result = ResultOk;
    m_messages.clear();
    m_log.write(QStringLiteral("\r\n") + QString(65, u'_') + QStringLiteral("\r\n\r\nFrissites program elindult: ")
                + QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd hh:mm:ss")));
    m_switches = ParseArguments(m_setup.arguments);
    m_log.write(QStringLiteral("Program paraméterek: ") + m_switches.parameterText);

    for (int task = 2; task <= 5; ++task)
        m_view.setTaskEnabled(task, false);
    if (m_switches.database)
        m_view.setTaskEnabled(3, true);
    if (m_switches.noStart)
        m_view.setTaskEnabled(6, false);
    if (m_switches.selfUpdate) {
        m_view.setTaskEnabled(2, true);
        m_view.setTaskEnabled(6, false);
    }
    if (m_switches.files)
        m_view.setTaskEnabled(5, true);
}

bool UpdateRun::stopNoticed()
{
    m_view.processEvents();
    return m_view.stopRequested();
}

bool UpdateRun::refusePackageFolder(const QString &target, const QString &what)
{
    const QString folder = PackageFolderOf(target, m_setup.packageFolders);
    if (folder.isEmpty())
        return false;
    m_log.write(QStringLiteral("Csomag mappája, nem írom: ") + target + QStringLiteral(" (") + what
                + QStringLiteral("; a csomagból telepített KOVRA-t a csomagkezelő frissíti)"));
    return true;
}

UpdateRun::Outcome UpdateRun::run()
{
    // 0. A package's own folder is kept by the package manager, not by the updater.
    if (refusePackageFolder(m_setup.workDir, QStringLiteral("munkamappa"))) {
        setMessage(QStringLiteral("A frissites csak megosztott telepítést frissít; a csomagból telepített KOVRA-t a "
                                  "csomagkezelő frissíti."));
        m_result = ResultPackageFolder;
        return finish();
    }
    // 1. Configuration present?
    const QString configPath = FindPathIgnoringCase(m_setup.workDir, m_switches.configName);
    if (configPath.isEmpty() || !QFileInfo(configPath).isFile()) {
        setMessage(QStringLiteral("Nem található a frissítéshez szükséges \"frissites.ini\" fájl!"));
        return finish();
    }
    if (stopNoticed())
        return Outcome::Stopped;

    // 2. Configuration.
    IniFile configIni;
    configIni.load(configPath);
    m_config = LocalConfig::read(configIni);
    m_view.showVersion(QString::fromLatin1(OwnVersion));
    DownloadOptions options;
    options.agent = QFileInfo(m_setup.exePath).fileName();
    options.workDir = m_setup.workDir;
    if (m_config.timeoutSeconds > 0)
        options.connectTimeoutSeconds = options.stallTimeoutSeconds = m_config.timeoutSeconds;
    options.totalTimeoutSeconds = m_config.downloadSeconds;
    options.maxBytes = m_config.downloadMegabytes * 1024 * 1024;
    m_downloader = std::make_unique<Downloader>(m_view, m_log, options);
    if (stopNoticed())
        return Outcome::Stopped;

    // 3. The manifest.
    if (!m_downloader->DownloadManifest(m_config.base() + QStringLiteral("/webfrissites.ini"), QString::fromLatin1(ManifestName))) {
        setMessage(QStringLiteral("Hiba a frissítési információk letöltésénél! Eredeti program futtatása."));
        m_result = ResultManifestFailed;
        return finish();
    }
    m_manifest.load(path(QString::fromLatin1(ManifestName)));
    m_view.showTick(1);
    if (stopNoticed())
        return Outcome::Stopped;

    // 4. Self-update.
    if (selfUpdate())
        return Outcome::Restarted;
    if (stopNoticed())
        return Outcome::Stopped;

    // 5. Database scripts.
    if (m_switches.database) {
        ConnectionSettings settings;
        settings.provider = m_config.databaseType;
        settings.catalog = m_config.databaseName;
        settings.dataSource = m_config.databaseServer;
        DatabaseUpdate database(m_view, m_log, *m_downloader, m_setup.workDir, m_switches.keepFiles);
        database.setBatchTimeLimit(m_config.scriptBatchSeconds);
        if (database.run(m_manifest, settings, m_config.base()) == DatabaseUpdate::Result::Failed) {
            addMessage(QStringLiteral("Hiba az adatbázis frissítésekor!"));
            m_result = ResultDatabaseFailed;
        }
    }
    if (stopNoticed())
        return Outcome::Stopped;

    // 6. Main program.
    programUpdate();
    if (stopNoticed())
        return Outcome::Stopped;

    // 7. Other files.
    otherFiles();

    // 8. Preceding programs and the finish step, unless stopped during the other files.
    m_view.processEvents();
    if (m_view.stopRequested()) {
        m_log.write(QStringLiteral("Leállítás történt!"));
        return Outcome::Stopped;
    }
    precedingPrograms();
    m_manifest.clear();
    if (!m_switches.keepFiles) {
        QFile::remove(path(QString::fromLatin1(ManifestName)));
        QFile::remove(path(QString::fromLatin1(UpdaterManifestName)));
    }
    return finish();
}

bool UpdateRun::selfUpdate()
{
    const QString source = m_manifest.value(QStringLiteral("programok"), QStringLiteral("frissito"));
    if (!m_downloader->DownloadManifest(source + QStringLiteral("inditofrissites.ini"), QString::fromLatin1(UpdaterManifestName)))
        return false;
    IniFile updater;
    updater.load(path(QString::fromLatin1(UpdaterManifestName)));
    const QString version = updater.value(QStringLiteral("programok"), QStringLiteral("Verzio"));
    const QString own = QString::fromLatin1(OwnVersion);
    const bool renew = (!version.isEmpty() && version != own) || (m_switches.selfUpdate && version != own);
    if (!renew)
        return false;
    if (m_setup.restarted) {
        // The updater just installed announces a version other than the one published: a second
        // replacement would restart it again and again.
        m_log.write(QStringLiteral("A frissítő program már frissült, a hirdetett verzió (") + version
                    + QStringLiteral(") nem egyezik a sajátjával (") + own + QStringLiteral(")."));
        return false;
    }

    if (refusePackageFolder(m_setup.exePath, QStringLiteral("a frissítő program")))
        return false;
    m_view.showMessages();
    m_view.setTaskEnabled(2, true);
    m_view.processEvents();
    m_view.wait(1000);
    m_view.showProgress(announcedSize(updater.value(QStringLiteral("programok"), QStringLiteral("meret"))));

    const QFileInfo exe(m_setup.exePath);
    const QString exePath = exe.absoluteFilePath();
    const QString exeName = exe.fileName();
    const QString exeDir = exe.absolutePath();
    const QString newName = exeName + QStringLiteral("_Uj");
    if (!m_downloader->Download(updater.value(QStringLiteral("programok"), QStringLiteral("frissito")), newName,
                                announcedSize(updater.value(QStringLiteral("programok"), QStringLiteral("meret"))))) {
        m_result = ResultUpdaterDownloadFailed;
        m_view.hideProgress();
        m_log.write(QStringLiteral("A Frissítő programnak nincs verziófrissítése."));
        return false;
    }
    m_log.write(QStringLiteral("Frissítő program verziófrissítés:"));
    const QFile::Permissions permissions = executablePermissions(exePath);
    QFile::remove(path(exeName + QStringLiteral("_regi")));
    m_view.wait(1000);
    const QString archive = QDir(exeDir).filePath(exeName + QStringLiteral("_regi"));
    const bool archived = QFile::rename(exePath, archive);
    m_log.write(QStringLiteral("Fájl arhiválás: ") + exePath + QStringLiteral(" -> ") + exeName + QStringLiteral("_regi (")
                + okText(archived) + u')');
    m_view.wait(1000);
    QFile::setPermissions(path(newName), permissions);
    const bool installed = QFile::rename(path(newName), exePath);
    m_log.write(QStringLiteral("Fájl átnevezés: ") + exePath + QStringLiteral("_Uj -> ") + exeName + QStringLiteral(" (")
                + okText(installed) + u')');
    m_view.wait(1000);
    if (!installed) {
        // Without the new updater in place a restart would only repeat this; the old one goes on.
        if (archived && !QFileInfo::exists(exePath)) {
            const bool restored = QFile::rename(archive, exePath);
            m_log.write(QStringLiteral("Fájl átnevezés: ") + exeName + QStringLiteral("_regi -> ") + exeName
                        + QStringLiteral(" (") + okText(restored) + u')');
        }
        m_result = ResultUpdaterDownloadFailed;
        m_view.hideProgress();
        return false;
    }
    QFile::remove(archive);

    QString parameters = m_switches.parameterText;
    const qsizetype at = parameters.indexOf(QStringLiteral("/INDITOFRISSITES"));
    if (at >= 0)
        parameters.remove(at, qsizetype(QStringLiteral("/INDITOFRISSITES").size()));
    m_launcher.StartProgram(exePath, parameters, exeDir + u'/', ShowMode::Hidden, /*markRestart*/ true);
    return true;
}

void UpdateRun::programUpdate()
{
    const QString serverExe = m_manifest.value(QStringLiteral("Programok"), QStringLiteral("Exe neve"));
    if (serverExe.isEmpty() || m_config.exeName.isEmpty())
        return;
    const QString expectedSize = m_manifest.value(QStringLiteral("Programok"), QStringLiteral("Exe meret"));
    const QString expectedChecksum = m_manifest.value(QStringLiteral("Programok"), QStringLiteral("Exe checksum"));

    const QString local = m_config.exeName;
    const QString localPath = path(local);
    if (refusePackageFolder(localPath, QStringLiteral("a főprogram")))
        return;
    m_view.showProgress(0);
    const QString newPath = localPath + QStringLiteral("_Uj");
    const QFile::Permissions permissions = executablePermissions(localPath);
    const auto download = [&] {
        m_view.setTaskEnabled(4, true);
        m_view.showProgress(announcedSize(expectedSize));
        m_downloader->Download(m_config.base() + u'/' + serverExe, local + QStringLiteral("_Uj"), announcedSize(expectedSize));
    };
    int mode = 0;
    if (QString::number(FileSize(localPath)) != expectedSize) {
        download();
        mode = 1;
    } else if (ChecksumText(localPath) != expectedChecksum) {
        download();
        mode = 2;
    }
    m_view.hideProgress();
    if (mode == 0)
        return;

    if (!QFileInfo::exists(newPath)) {
        m_log.write(QString::number(mode));
        m_result = ResultProgramMissing;
        return;
    }
    if (ChecksumText(newPath) != expectedChecksum)
        return; // kept for inspection
    if (m_switches.keepFiles) {
        QFile::remove(localPath);
    } else {
        QFile::remove(localPath + QStringLiteral("_Regi"));
        const bool archived = QFile::rename(localPath, localPath + QStringLiteral("_Regi"));
        m_log.write(QStringLiteral("Fájl átnevezés: ") + local + QStringLiteral(" -> ") + local + QStringLiteral("_Regi (")
                    + okText(archived) + u')');
    }
    QFile::setPermissions(newPath, permissions);
    const bool installed = QFile::rename(newPath, localPath);
    m_log.write(QStringLiteral("Fájl átnevezés: ") + local + QStringLiteral("_Uj -> ") + local + QStringLiteral(" (")
                + okText(installed) + u')');
}

void UpdateRun::otherFiles()
{
    m_log.write(QStringLiteral("Egyéb fájlok frissítés:"));
    const QString section = QStringLiteral("Fajlok");
    if (m_manifest.value(section, QStringLiteral("fajl1")).isEmpty() || !m_switches.files) {
        m_log.write(QStringLiteral("- nincs"));
        return;
    }
    const QString temp = QStringLiteral("fajl.tmp");
    for (int n = 1;; ++n) {
        const QString number = QString::number(n);
        const QString remote = m_manifest.value(section, QStringLiteral("fajl") + number);
        if (remote.isEmpty())
            break;
        const QString rootText = m_manifest.value(section, QStringLiteral("megosztas") + number);
        bool ok = true;
        const int root = rootText.isEmpty() ? 0 : rootText.toInt(&ok);
        if (!ok || root < 0 || root > 16 || m_config.roots[size_t(root)].isEmpty()) {
            m_log.write(QStringLiteral("Nem támogatott megosztás: ") + rootText + QStringLiteral(" (") + remote + u')');
            continue;
        }
        const QString localName = m_manifest.value(section, QStringLiteral("helyifajl") + number);
        const QString relative = ToLocalSeparators(localName);
        if (!isSafeRelativePath(relative)) {
            m_log.write(QStringLiteral("Érvénytelen helyi fájlnév: ") + localName + QStringLiteral(" (") + remote + u')');
            continue;
        }

        const qint64 announced = announcedSize(m_manifest.value(section, QStringLiteral("fajlmeret") + number));
        m_view.showProgress(announced);
        const bool downloaded = m_downloader->Download(m_config.base() + u'/' + remote, temp, announced);
        if (downloaded && ChecksumText(path(temp)) == m_manifest.value(section, QStringLiteral("checksum") + number)) {
            QDir rootDir(QDir(m_setup.workDir).absoluteFilePath(ToLocalSeparators(m_config.roots[size_t(root)])));
            const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
            const QString outside = linkOutOfRoot(rootDir.absolutePath(), parts);
            if (refusePackageFolder(rootDir.absoluteFilePath(relative), QStringLiteral("egyéb fájl"))) {
                // kept by the package manager
            } else if (!outside.isEmpty()) {
                m_log.write(QStringLiteral("Fájl másolás: ") + localName + QStringLiteral(" (Hiba: a szimbolikus link ")
                            + outside + QStringLiteral(" a megosztáson kívülre mutat)"));
            } else {
                QString folder = rootDir.absolutePath();
                for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
                    folder = QDir(folder).filePath(parts[i]);
                    QDir().mkdir(folder);
                }
                copyOverwriting(path(temp), QDir(folder).filePath(parts.last()));
            }
        }
        m_view.hideProgress();
        QFile::remove(path(temp));
    }
    m_view.showTick(5);
}

void UpdateRun::precedingPrograms()
{
    m_log.write(QStringLiteral("Megelőző programok futtatás:"));
    const QString section = QStringLiteral("futtatas");
    if (m_manifest.value(section, QStringLiteral("program1")).isEmpty() || !m_switches.programs) {
        m_log.write(QStringLiteral("- nem történt program futtatás"));
        return;
    }
    for (int n = 1;; ++n) {
        const QString number = QString::number(n);
        const QString program = m_manifest.value(section, QStringLiteral("program") + number);
        if (program.isEmpty())
            break;
        m_launcher.StartProgram(program, m_manifest.value(section, QStringLiteral("parameter") + number),
                                m_manifest.value(section, QStringLiteral("konyvtar") + number), ShowMode::Normal);
    }
}

UpdateRun::Outcome UpdateRun::finish()
{
    if (!m_messages.isEmpty()) {
        m_view.setMessages(messages());
        m_view.bringToFront();
        m_view.processEvents();
        m_view.wait(2000);
    }
    m_log.write(QStringLiteral("Frissítési üzenetek: ") + messages());
    m_log.write(QStringLiteral("Hibakód: ") + QString::number(m_result));
    m_view.showTick(6);
    if (!m_switches.noStart)
        m_launcher.StartProgram(m_config.exeName, QString(), QString(), ShowMode::Hidden);
    return Outcome::Finished;
}

} // namespace frissites
