#pragma once
// Password hash: the reflected IEEE 802.3 CRC-32 with the register preset to all ones and
// no final inversion (the complement of the standard CRC-32); only its low 16 bits are used.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

class TCRC32Calc {
public:
    static constexpr int DefaultBufferSize = 4096;
    static constexpr int MaxBufferSize = 1048576;

    int BufferSize() const { return m_bufferSize; }
    // A new size is taken only between 4096 and 1048576 bytes; otherwise the old one stays.
    void SetBufferSize(int size);

    // Called once for every buffer-sized block processed (optional).
    std::function<void(const uint8_t *data, size_t length)> OnData;

    bool Busy() const { return m_busy; }

    // CRC of a memory block. Throws std::runtime_error("CRC Calc is Busy") when re-entered.
    uint32_t CalcBlock(const void *data, size_t length);

private:
    int m_bufferSize = DefaultBufferSize;
    bool m_busy = false;
};

// The login hash of a password: low 16 bits of the CRC above over its Windows-1250 bytes.
int PasswordHash(const QString &password);
