#include "IniFile.h"

#include "TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

// Debian's header keeps the template bodies behind SI_IMPLEMENTATION; this is the one unit using them.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

QString g_configPath;

bool load(const QString &path, CSimpleIniA &ini)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    return ini.LoadData(data.constData(), size_t(data.size())) >= 0;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    CSimpleIniA ini;
    if (!load(m_path, ini))
        return defaultValue;
    const char *v = ini.GetValue(EncodeText(section).constData(), EncodeText(key).constData(), nullptr);
    return v ? DecodeText(QByteArray(v)) : defaultValue;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    CSimpleIniA ini;
    if (QFile::exists(m_path) && !load(m_path, ini))
        return false;
    ini.SetUnicode(false);
    if (ini.SetValue(EncodeText(section).constData(), EncodeText(key).constData(), EncodeText(value).constData()) < 0)
        return false;
    std::string out;
    if (ini.Save(out) < 0)
        return false;
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(out.data(), qint64(out.size()));
    return f.commit();
}

QString ConfigFilePath()
{
    if (!g_configPath.isEmpty())
        return g_configPath;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kovra.ini");
}

void SetConfigFilePath(const QString &path) { g_configPath = path; }

IniFile Config() { return IniFile(ConfigFilePath()); }
