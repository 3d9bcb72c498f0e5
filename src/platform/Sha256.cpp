#include "platform/Sha256.h"

#include <QCryptographicHash>

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUAV_SHA_EXTENSIONS 1
#endif

QByteArray Sha256::portableHash(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

#ifdef QUAV_SHA_EXTENSIONS

namespace {

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The state as the SHA instructions keep it: ABEF and CDGH.
struct State
{
    __m128i abef;
    __m128i cdgh;
};

// Whole 64-byte blocks. Each group of four rounds takes the next four
// message words; the message schedule runs three groups ahead.
__attribute__((target("sha,sse4.1"))) void compress(State &s, const unsigned char *data, std::size_t blocks)
{
    const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    for (; blocks > 0; --blocks, data += 64) {
        const State saved = s;
        __m128i m[4];
        for (int g = 0; g < 16; ++g) {
            __m128i &now = m[g % 4];
            if (g < 4)
                now = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16 * g)), bigEndian);
            __m128i msg = _mm_add_epi32(now, _mm_load_si128(reinterpret_cast<const __m128i *>(kRound + 4 * g)));
            s.cdgh = _mm_sha256rnds2_epu32(s.cdgh, s.abef, msg);
            if (g >= 3 && g <= 14) {
                __m128i &next = m[(g + 1) % 4];
                next = _mm_add_epi32(next, _mm_alignr_epi8(now, m[(g + 3) % 4], 4));
                next = _mm_sha256msg2_epu32(next, now);
            }
            msg = _mm_shuffle_epi32(msg, 0x0E);
            s.abef = _mm_sha256rnds2_epu32(s.abef, s.cdgh, msg);
            if (g >= 1 && g <= 12)
                m[(g + 3) % 4] = _mm_sha256msg1_epu32(m[(g + 3) % 4], now);
        }
        s.abef = _mm_add_epi32(s.abef, saved.abef);
        s.cdgh = _mm_add_epi32(s.cdgh, saved.cdgh);
    }
}

__attribute__((target("sha,sse4.1"))) QByteArray acceleratedHash(QByteArrayView bytes)
{
    alignas(16) std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const __m128i dcba = _mm_load_si128(reinterpret_cast<const __m128i *>(h));
    const __m128i hgfe = _mm_load_si128(reinterpret_cast<const __m128i *>(h + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    State s{_mm_alignr_epi8(cdab, efgh, 8), _mm_blend_epi16(efgh, cdab, 0xF0)};

    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t size = std::size_t(bytes.size());
    compress(s, data, size / 64);
    // The tail, the 0x80 byte and the length in bits, big-endian.
    unsigned char tail[128] = {};
    const std::size_t rest = size % 64;
    if (rest > 0)
        std::memcpy(tail, data + size - rest, rest);
    tail[rest] = 0x80;
    const std::size_t tailSize = rest < 56 ? 64 : 128;
    const std::uint64_t bits = std::uint64_t(size) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    compress(s, tail, tailSize / 64);

    const __m128i feba = _mm_shuffle_epi32(s.abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(s.cdgh, 0xB1);
    _mm_store_si128(reinterpret_cast<__m128i *>(h), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_store_si128(reinterpret_cast<__m128i *>(h + 4), _mm_alignr_epi8(dchg, feba, 8));
    QByteArray digest(32, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i)
        for (int b = 0; b < 4; ++b)
            digest[4 * i + b] = char(h[i] >> (24 - 8 * b));
    return digest;
}

} // namespace

bool Sha256::accelerated()
{
    static const bool has = __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1");
    return has;
}

QByteArray Sha256::hash(QByteArrayView bytes)
{
    return accelerated() ? acceleratedHash(bytes) : portableHash(bytes);
}

#else

bool Sha256::accelerated()
{
    return false;
}

QByteArray Sha256::hash(QByteArrayView bytes)
{
    return portableHash(bytes);
}

#endif
