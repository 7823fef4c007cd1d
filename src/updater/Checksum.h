#pragma once
// Checksum text and size of a file, as the manifests state them.

#include <QString>

namespace frissites {

inline constexpr qint64 ChecksumBlockSize = 131073;

// Per block of ChecksumBlockSize bytes the 32-bit sum of its bytes in upper-case hexadecimal, one after
// the other, closed by the "0" of the final empty read. "_nincs_fajl!" when the file cannot be read.
QString ChecksumText(const QString &path);

// Length in bytes; 0 when the file cannot be opened.
qint64 FileSize(const QString &path);

} // namespace frissites
