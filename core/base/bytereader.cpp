#include "core/base/bytereader.h"

void TByteReader::seek(qint64 pos)
{
    if (pos < 0 || pos > size()) {
        m_failed = true;
        m_pos = size();
        return;
    }
    m_pos = pos;
}

const std::uint8_t *TByteReader::take(qint64 count)
{
    if (!has(count)) {
        m_failed = true;
        m_pos = size();
        return nullptr;
    }
    const auto *p = reinterpret_cast<const std::uint8_t *>(m_bytes.constData()) + m_pos;
    m_pos += count;
    return p;
}

std::uint8_t TByteReader::u8()
{
    const std::uint8_t *p = take(1);
    return p ? p[0] : 0;
}

std::uint16_t TByteReader::u16le()
{
    const std::uint8_t *p = take(2);
    return p ? std::uint16_t(p[0] | (p[1] << 8)) : 0;
}

std::uint32_t TByteReader::u32le()
{
    const std::uint8_t *p = take(4);
    return p ? std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
            | (std::uint32_t(p[3]) << 24)
             : 0;
}

std::uint16_t TByteReader::u16be()
{
    const std::uint8_t *p = take(2);
    return p ? std::uint16_t((p[0] << 8) | p[1]) : 0;
}

std::uint32_t TByteReader::u32be()
{
    const std::uint8_t *p = take(4);
    return p ? (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8)
            | std::uint32_t(p[3])
             : 0;
}

void PutU16le(QByteArray &out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void PutU32le(QByteArray &out, std::uint32_t v)
{
    PutU16le(out, std::uint16_t(v & 0xFFFF));
    PutU16le(out, std::uint16_t(v >> 16));
}
