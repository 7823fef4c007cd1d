#include "Ini.h"

#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Debian's header keeps the template bodies behind SI_IMPLEMENTATION; this is the one unit using them.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace frissites {

namespace {

QString entryKey(const QString &section, const QString &key)
{
    return section.trimmed().toLower() + u'\n' + key.trimmed().toLower();
}

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

} // namespace

bool IniFile::load(const QString &path)
{
    m_values.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray utf8 = DecodeFileText(f.readAll()).toUtf8();

    CSimpleIniA ini(/*utf8*/ false, /*multiKey*/ true, /*multiLine*/ false);
    if (ini.LoadData(utf8.constData(), size_t(utf8.size())) < 0)
        return false;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto &s : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(s.pItem, keys);
        for (const auto &k : keys) {
            const QString section = QString::fromUtf8(s.pItem);
            const QString key = QString::fromUtf8(k.pItem);
            const QString id = entryKey(section, key);
            if (m_values.contains(id))
                continue;
            // With multi-key on GetValue gives the first of duplicate keys, as Windows reads it.
            m_values.insert(id, unquote(QString::fromUtf8(ini.GetValue(s.pItem, k.pItem, ""))));
        }
    }
    return true;
}

QString IniFile::value(const QString &section, const QString &key) const
{
    return m_values.value(entryKey(section, key));
}

QString FindPathIgnoringCase(const QString &dir, const QString &name)
{
    const QString local = ToLocalSeparators(name);
    if (local.isEmpty())
        return {};
    QString current = QDir::isAbsolutePath(local) ? QStringLiteral("/") : dir;
    const QString exact = QDir(dir).filePath(local);
    if (QFileInfo::exists(exact))
        return QDir::cleanPath(exact);
    const QStringList parts = local.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString candidate = QDir(current).filePath(part);
        if (part == u"." || part == u".." || QFileInfo::exists(candidate)) {
            current = candidate;
            continue;
        }
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        QString found;
        for (const QString &e : entries) {
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        }
        if (found.isEmpty())
            return {};
        current = QDir(current).filePath(found);
    }
    return QDir::cleanPath(current);
}

} // namespace frissites
