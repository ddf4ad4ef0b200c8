#pragma once
// Rows of needle bits as the cards hold them: bit b is bit 7 - b mod 8 of byte b div 8,
// so the most significant bit of byte 0 comes first. Routines that move runs of such
// bits a word at a time.

#include <QtEndian>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define DORWEN_NEEDLEBITS_DEPOSIT 1
#endif

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace NeedleBits {

// Bytes a source row must have beyond its last bit for OrBits: whole words are read.
constexpr std::size_t SourceSlack = 8;

inline std::uint64_t LoadWord(const std::uint8_t *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return qFromBigEndian(v);
}

inline void StoreWord(std::uint8_t *p, std::uint64_t v)
{
    v = qToBigEndian(v);
    std::memcpy(p, &v, sizeof v);
}

// ORs `count` bits of `src` from bit `from` into `dst` (of dstBytes bytes) from bit `to`;
// the bits around them stay. src must have SourceSlack readable bytes after the byte
// holding its last bit; dst is never touched beyond dstBytes.
inline void OrBits(std::uint8_t *dst, std::size_t dstBytes, std::size_t to, const std::uint8_t *src,
    std::size_t from, std::size_t count)
{
    if (((to | from) & 7) == 0) {
        // Both on byte boundaries: whole bytes, then the head of the last one.
        std::uint8_t *out = dst + (to >> 3);
        const std::uint8_t *in = src + (from >> 3);
        const std::size_t bytes = count >> 3;
        for (std::size_t i = 0; i < bytes; ++i)
            out[i] |= in[i];
        if (count & 7)
            out[bytes] |= std::uint8_t(in[bytes] & (0xFF00u >> (count & 7)));
        return;
    }
    while (count > 0) {
        // Up to 56 bits: a word read at any bit offset of src holds at least 57, and they
        // land within one word of dst at any bit offset.
        const std::size_t n = std::min<std::size_t>(count, 56);
        std::uint64_t w = LoadWord(src + (from >> 3)) << (from & 7);
        w = (w & (~std::uint64_t(0) << (64 - n))) >> (to & 7);
        const std::size_t at = to >> 3;
        if (at + 8 <= dstBytes) {
            StoreWord(dst + at, LoadWord(dst + at) | w);
        } else {
            for (std::size_t i = 0; at + i < dstBytes; ++i)
                dst[at + i] |= std::uint8_t(w >> (56 - 8 * i));
        }
        from += n;
        to += n;
        count -= n;
    }
}

#ifdef DORWEN_NEEDLEBITS_DEPOSIT
// Whether the processor has the bit deposit instruction (BMI2).
inline bool HasBitDeposit()
{
    static const bool has = __builtin_cpu_supports("bmi2");
    return has;
}
#endif

// A destination word whose bits come from one stretch of the source, in order: the
// source's bits are spread over the word's mask.
struct TDepositWord {
    std::uint32_t DstByte; // first byte of the destination word
    std::uint32_t SrcBit; // the first of Count source bits
    std::uint32_t Count;
    std::uint64_t Mask; // the word's bits taken, as LoadWord reads them
};

#ifdef DORWEN_NEEDLEBITS_DEPOSIT
// The same plan word by word with one deposit each. The caller has checked HasBitDeposit.
[[gnu::target("bmi2")]] inline void RunDeposit(const TDepositWord *word, const TDepositWord *end,
    const std::uint8_t *src, std::uint8_t *dst, std::size_t dstBytes)
{
    for (; word < end; ++word) {
        // 64 source bits from SrcBit on: a word read at its byte and the next byte's head.
        const std::uint8_t *in = src + (word->SrcBit >> 3);
        const unsigned shift = word->SrcBit & 7;
        std::uint64_t w = LoadWord(in) << shift;
        if (shift != 0)
            w |= std::uint64_t(in[8]) >> (8 - shift);
        // The first source bit is the word's first (highest) bit taken: both go in order.
        const std::uint64_t bits = _pdep_u64(w >> (64 - word->Count), word->Mask);
        const std::size_t at = word->DstByte;
        if (at + 8 <= dstBytes) {
            StoreWord(dst + at, LoadWord(dst + at) | bits);
        } else {
            for (std::size_t i = 0; at + i < dstBytes; ++i)
                dst[at + i] |= std::uint8_t(bits >> (56 - 8 * i));
        }
    }
}
#endif

// A fixed plan that ORs stretches of a source row into a destination row, gathering the
// bits of each destination word in a register and writing the word once: stretches
// that share a word do not read back each other's stores.
class TBitGatherPlan {
public:
    void Clear()
    {
        m_pieces.clear();
        m_words.clear();
        m_stretches.clear();
        m_deposits.clear();
        m_byteAligned = true;
        m_depositable = true;
    }

    // count bits of the source from bit `from` go to the destination from bit `to`.
    // Stretches come in ascending destination order and do not overlap.
    void Add(std::size_t from, std::size_t to, std::size_t count)
    {
        m_byteAligned = m_byteAligned && ((from | to) & 7) == 0;
        m_stretches.push_back({ from, to, count });
        addDeposit(from, to, count);
        while (count > 0) {
            // A word read at any bit offset of the source holds 64 - offset whole bits.
            const std::size_t n = std::min({ count, 64 - (from & 7), 64 - (to & 63) });
            const std::uint32_t word = std::uint32_t(to >> 6) * 8;
            if (m_words.empty() || m_words.back().DstByte != word)
                m_words.push_back({ word, 0 });
            m_pieces.push_back({ std::uint32_t(from >> 3), std::uint8_t(from & 7), std::uint8_t(to & 63),
                ~std::uint64_t(0) << (64 - n) });
            m_words.back().End = std::uint32_t(m_pieces.size());
            from += n;
            to += n;
            count -= n;
        }
    }

    // src must have SourceSlack readable bytes after the byte holding its last bit; dst
    // is never touched beyond dstBytes.
    void Run(const std::uint8_t *src, std::uint8_t *dst, std::size_t dstBytes) const
    {
        if (m_byteAligned) {
            // Every stretch starts on a byte boundary on both sides: whole bytes.
            for (const TStretch &s : m_stretches)
                OrBits(dst, dstBytes, s.To, src, s.From, s.Count);
            return;
        }
#ifdef DORWEN_NEEDLEBITS_DEPOSIT
        if (m_depositable && HasBitDeposit()) {
            RunDeposit(m_deposits.data(), m_deposits.data() + m_deposits.size(), src, dst, dstBytes);
            return;
        }
#endif
        RunGathered(src, dst, dstBytes);
    }

    // Run without the deposit instruction: each destination word gathered piece by piece.
    void RunGathered(const std::uint8_t *src, std::uint8_t *dst, std::size_t dstBytes) const
    {
        const TPiece *piece = m_pieces.data();
        for (const TWord &word : m_words) {
            std::uint64_t bits = 0;
            for (const TPiece *end = m_pieces.data() + word.End; piece < end; ++piece)
                bits
                    |= ((LoadWord(src + piece->SrcByte) << piece->SrcShift) & piece->Mask) >> piece->DstShift;
            const std::size_t at = word.DstByte;
            if (at + 8 <= dstBytes) {
                StoreWord(dst + at, LoadWord(dst + at) | bits);
            } else {
                for (std::size_t i = 0; at + i < dstBytes; ++i)
                    dst[at + i] |= std::uint8_t(bits >> (56 - 8 * i));
            }
        }
    }

private:
    // Stretch by stretch the destination words, each with its one source stretch while the
    // stretches sharing a word follow one another in the source too.
    void addDeposit(std::size_t from, std::size_t to, std::size_t count)
    {
        while (count > 0) {
            const std::size_t n = std::min(count, 64 - (to & 63));
            const std::uint32_t word = std::uint32_t(to >> 6) * 8;
            if (m_deposits.empty() || m_deposits.back().DstByte != word)
                m_deposits.push_back({ word, std::uint32_t(from), 0, 0 });
            TDepositWord &d = m_deposits.back();
            m_depositable = m_depositable && d.SrcBit + d.Count == from;
            d.Count += std::uint32_t(n);
            d.Mask |= (~std::uint64_t(0) << (64 - n)) >> (to & 63);
            from += n;
            to += n;
            count -= n;
        }
    }

    struct TPiece {
        std::uint32_t SrcByte;
        std::uint8_t SrcShift;
        std::uint8_t DstShift;
        std::uint64_t Mask; // the piece's bits at the top of the word read
    };
    struct TWord {
        std::uint32_t DstByte; // first byte of the destination word
        std::uint32_t End; // its pieces end here
    };
    struct TStretch {
        std::size_t From, To, Count;
    };
    std::vector<TPiece> m_pieces;
    std::vector<TWord> m_words;
    std::vector<TStretch> m_stretches;
    std::vector<TDepositWord> m_deposits;
    bool m_byteAligned = true;
    bool m_depositable = true;
};

} // namespace NeedleBits
