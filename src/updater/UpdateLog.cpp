#include "UpdateLog.h"

#include <QFile>

namespace frissites {

void UpdateLog::write(const QString &text) const
{
    QFile f(m_path);
    if (m_path.isEmpty()) {
        if (!f.open(stderr, QIODevice::WriteOnly))
            return;
        f.write(text.toUtf8());
        f.write("\n");
        return;
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write(text.toUtf8());
    f.write("\r\n");
}

} // namespace frissites
