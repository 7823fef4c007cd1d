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

// The configuration file of this process: "kovra.ini" beside the executable, unless
// the command line chose another one (kovra --ini FILE).
QString ConfigFilePath();
void SetConfigFilePath(const QString &path);
IniFile Config();
