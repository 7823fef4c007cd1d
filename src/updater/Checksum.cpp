#include "Checksum.h"

#include <QFile>

#include <vector>

namespace frissites {

QString ChecksumText(const QString &path)
{
    static const QString missing = QStringLiteral("_nincs_fajl!");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return missing;
    std::vector<unsigned char> block(ChecksumBlockSize);
    QString text;
    for (;;) {
        // Fill the block completely unless the file ends, so block borders do not depend on the reads.
        qint64 filled = 0;
        while (filled < ChecksumBlockSize) {
            const qint64 n = f.read(reinterpret_cast<char *>(block.data()) + filled, ChecksumBlockSize - filled);
            if (n < 0)
                return missing;
            if (n == 0)
                break;
            filled += n;
        }
        quint32 sum = 0;
        for (qint64 i = 0; i < filled; ++i)
            sum += block[size_t(i)];
        text += QString::number(sum, 16).toUpper();
        if (filled == 0)
            return text;
    }
}

qint64 FileSize(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.size();
}

} // namespace frissites
