#include "pngchecksum.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define FF_ADLER_SSE2 1
#endif

namespace {

constexpr quint32 modulus = 65521;
// The most bytes after which the 32-bit sums must be reduced.
constexpr size_t blockLength = 5552;

void addBytes(quint32 &a, quint32 &b, const uchar *data, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        a += data[i];
        b += a;
    }
}

#ifdef FF_ADLER_SSE2
quint32 sumLanes(__m128i v)
{
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return quint32(_mm_cvtsi128_si32(v));
}

// Sums `chunks` of 16 bytes: each byte counts once into `a` and into `b` as
// many times as bytes follow it in the run, itself included, plus `a` of
// before once per byte. No lane can overflow within blockLength bytes.
void addChunks(quint32 &a, quint32 &b, const uchar *data, size_t chunks)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    __m128i sums = zero;         // the bytes so far, in two 64-bit lanes
    __m128i earlierSums = zero;  // sums before each chunk, added up
    __m128i weighted = zero;
    for (size_t i = 0; i < chunks; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16 * i));
        earlierSums = _mm_add_epi32(earlierSums, sums);
        sums = _mm_add_epi32(sums, _mm_sad_epu8(bytes, zero));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weightsLow));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weightsHigh));
    }
    const quint64 wideB = quint64(b) + quint64(a) * 16 * chunks + quint64(sumLanes(earlierSums)) * 16 +
                          sumLanes(weighted);
    a += sumLanes(sums);
    b = quint32(wideB % modulus);
}
#endif

} // namespace

quint32 pngAdler32(quint32 adler, const uchar *data, size_t length)
{
    quint32 a = adler & 0xffff;
    quint32 b = adler >> 16;
    while (length > 0) {
        size_t block = length < blockLength ? length : blockLength;
#ifdef FF_ADLER_SSE2
        const size_t chunks = block / 16;
        addChunks(a, b, data, chunks);
        data += chunks * 16;
        length -= chunks * 16;
        block -= chunks * 16;
#endif
        addBytes(a, b, data, block);
        data += block;
        length -= block;
        a %= modulus;
        b %= modulus;
    }
    return (b << 16) | a;
}
