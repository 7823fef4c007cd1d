#pragma once
// The INI files of the updater: its configuration and the downloaded manifests.
// Sections and keys are found without regard to case; a missing key reads as an empty text.

#include <QHash>
#include <QString>

namespace frissites {

class IniFile {
public:
    // False when the file cannot be read; the values are empty then.
    bool load(const QString &path);
    void clear() { m_values.clear(); }

    // Trimmed value; one pair of enclosing quotes is removed, as Windows does.
    QString value(const QString &section, const QString &key) const;

private:
    QHash<QString, QString> m_values; // key: lower-case "section\nkey"; the first occurrence wins
};

// Path of name below dir, each level matched ignoring case when no exact match exists.
// Returns an empty text when nothing matches. An absolute name is looked up the same way from its root.
QString FindPathIgnoringCase(const QString &dir, const QString &name);

} // namespace frissites
