#include "Crc32.h"

#include "TextCodec.h"

#include <algorithm>
#include <stdexcept>
#include <zlib.h>

void TCRC32Calc::SetBufferSize(int size)
{
    if (size >= DefaultBufferSize && size <= MaxBufferSize)
        m_bufferSize = size;
}

uint32_t TCRC32Calc::CalcBlock(const void *data, size_t length)
{
    if (m_busy)
        throw std::runtime_error("CRC Calc is Busy");
    m_busy = true;
    struct Release {
        bool &flag;
        ~Release() { flag = false; }
    } release{m_busy};

    // zlib's crc32 presets and finally inverts; undoing the final inversion gives this register.
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto *p = static_cast<const uint8_t *>(data);
    while (length > 0) {
        const size_t chunk = std::min(length, size_t(m_bufferSize));
        crc = crc32(crc, p, uInt(chunk));
        if (OnData)
            OnData(p, chunk);
        p += chunk;
        length -= chunk;
    }
    return ~uint32_t(crc);
}

int PasswordHash(const QString &password)
{
    const QByteArray bytes = EncodeText(password);
    TCRC32Calc calc;
    return int(calc.CalcBlock(bytes.constData(), size_t(bytes.size())) & 0xFFFF);
}
