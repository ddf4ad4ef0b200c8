#pragma once
// TByteReader: bounded reading and writing of numbers in a byte block.
// Bounded reading and writing of little- and big-endian numbers in a byte block. Every
// read checks the bytes that are actually there; a read past the end sets the failed
// flag and yields 0, so a reader checks ok() once after a group of reads.

#include <QByteArray>

#include <cstdint>

class TByteReader {
public:
    explicit TByteReader(const QByteArray &bytes, qint64 pos = 0)
        : m_bytes(bytes)
        , m_pos(pos)
    {
    }

    bool ok() const { return !m_failed; }
    // The whole block read from.
    const QByteArray &bytes() const { return m_bytes; }
    qint64 pos() const { return m_pos; }
    qint64 size() const { return m_bytes.size(); }
    qint64 remaining() const { return m_pos <= size() ? size() - m_pos : 0; }
    // True when count bytes are there from the current position (count >= 0).
    bool has(qint64 count) const { return count >= 0 && count <= remaining(); }
    void seek(qint64 pos);
    void skip(qint64 count) { seek(m_pos + count); }

    std::uint8_t u8();
    std::uint16_t u16le();
    std::uint32_t u32le();
    std::int32_t i32le() { return std::int32_t(u32le()); }
    std::uint16_t u16be();
    std::uint32_t u32be();
    std::int16_t i16be() { return std::int16_t(u16be()); }
    // A pointer to count bytes at the current position, advanced past them; null (and
    // failed) when they are not all there.
    const std::uint8_t *take(qint64 count);

private:
    const QByteArray &m_bytes;
    qint64 m_pos = 0;
    bool m_failed = false;
};

// Appends little-endian numbers.
void PutU16le(QByteArray &out, std::uint16_t v);
void PutU32le(QByteArray &out, std::uint32_t v);
