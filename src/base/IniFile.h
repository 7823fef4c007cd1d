#pragma once
// The main program's configuration file "kovra.ini" (Windows-1250, ordinary INI semantics).
// Writing one key keeps every other line of the file as it was.

#include <QString>

class IniFile {
public:
    explicit IniFile(QString path);

    // Missing file, section or key reads as defaultValue. Never throws.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Returns false (and leaves the file unchanged) when it cannot be written.
    bool WriteString(const QString &section, const QString &key, const QString &value);

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

// The configuration file of an installed system, a conffile of the package.
inline constexpr auto SystemConfigFile = "/etc/kovra/kovra.ini";

// "kovra.ini" beside the executable when it exists there (a share installation), else systemFile
// when that exists, else the one beside the executable.
QString DefaultConfigFilePath(const QString &exeDir, const QString &systemFile);

// The configuration file of this process: the command line's choice (kovra --ini FILE), else
// DefaultConfigFilePath of this executable and SystemConfigFile.
QString ConfigFilePath();
void SetConfigFilePath(const QString &path);
IniFile Config();
