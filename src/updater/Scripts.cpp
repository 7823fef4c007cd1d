#include "Scripts.h"

#include "Download.h"
#include "Ini.h"
#include "Password.h"
#include "RunView.h"
#include "Text.h"
#include "UpdateLog.h"

#include <QDir>
#include <QFile>

#include <limits>

namespace frissites {

namespace {

bool isSeparator(const QString &line)
{
    return line.left(3).toUpper().trimmed() == u"GO" || line.left(6).toUpper().trimmed() == u"COMMIT";
}

} // namespace

QStringList SplitBatches(const QStringList &lines)
{
    QStringList batches;
    QString current;
    const auto flush = [&] {
        if (!current.trimmed().isEmpty())
            batches.append(current);
        current.clear();
    };
    for (const QString &line : lines) {
        if (isSeparator(line)) {
            flush();
            continue;
        }
        current += line;
        current += u'\n';
    }
    flush();
    return batches;
}

DatabaseUpdate::DatabaseUpdate(RunView &view, const UpdateLog &log, Downloader &downloader, QString workDir,
                               bool keepFiles)
    : m_view(view), m_log(log), m_downloader(downloader), m_workDir(std::move(workDir)), m_keepFiles(keepFiles)
{
}

bool DatabaseUpdate::fail(const QString &error)
{
    m_error = error;
    m_log.write(QStringLiteral("Adatbázis hiba: ") + error);
    return false;
}

DatabaseUpdate::Result DatabaseUpdate::run(const IniFile &manifest, ConnectionSettings settings, const QString &base)
{
    m_error.clear();
    settings.user = manifest.value(QStringLiteral("Adatbazis"), QStringLiteral("felhasznalo"));
    if (settings.user.isEmpty())
        return Result::Skipped;
    settings.password = DecodePassword(manifest.value(QStringLiteral("Adatbazis"), QStringLiteral("jelszo")));
    m_view.setTaskEnabled(3, true);
    m_view.processEvents();

    QString error;
    std::unique_ptr<DbConnection> db = CreateConnection(settings, m_workDir, &error);
    if (!db) {
        fail(error);
        return Result::Failed;
    }
    db->setBatchTimeLimit(m_batchSeconds);
    if (!db->open()) {
        fail(db->lastError());
        return Result::Failed;
    }

    QString table = manifest.value(QStringLiteral("Adatbazis"), QStringLiteral("Beallitasok tabla"));
    if (table.isEmpty())
        table = QString::fromLatin1(DefaultSettingsTable);
    qint64 version = 0;
    if (!db->readInteger(QStringLiteral("Select ADATBAZIS_VERZIO from ") + table, &version)) {
        version = 0;
        const QString baseScript = manifest.value(QStringLiteral("Adatbazis"), QStringLiteral("sql"));
        if (!baseScript.isEmpty() && m_downloader.Download(base + u'/' + baseScript, QStringLiteral("0.sql"))
            && !runScript(*db, QStringLiteral("0.sql"))) {
            db->close();
            return Result::Failed;
        }
    }
    for (qint64 n = std::max<qint64>(version, 0) + 1; n < std::numeric_limits<qint64>::max(); ++n) {
        const QString path = manifest.value(QStringLiteral("Adatbazis"), QStringLiteral("sql") + QString::number(n));
        if (path.isEmpty())
            break;
        const QString file = QString::number(n) + QStringLiteral(".sql");
        if (!m_downloader.Download(base + u'/' + path, file))
            continue;
        if (!runScript(*db, file)) {
            db->close();
            return Result::Failed;
        }
    }
    m_view.showTick(3);
    db->close();
    return Result::Updated;
}

bool DatabaseUpdate::runScript(DbConnection &db, const QString &fileName)
{
    m_log.write(QStringLiteral("SQL fájl futtatása: ") + fileName);
    m_view.processEvents();
    QFile f(QDir(m_workDir).filePath(fileName));
    if (!f.open(QIODevice::ReadOnly))
        return fail(fileName + QStringLiteral(": ") + f.errorString());
    const QStringList lines = SplitLines(DecodeFileText(f.readAll()));
    f.close();
    if (!m_keepFiles)
        f.remove();
    for (const QString &batch : SplitBatches(lines)) {
        if (!db.execute(batch))
            return fail(fileName + QStringLiteral(": ") + db.lastError());
    }
    m_view.processEvents();
    return true;
}

} // namespace frissites
