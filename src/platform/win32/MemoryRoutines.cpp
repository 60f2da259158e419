// memcpy, memmove, memset and memchr of the program itself, in place of the
// system C library's (msvcrt.dll). A run appends millions of short pieces to
// its output text and scans its script for line ends; msvcrt's routines take
// several times as long per call as the compiler's inline forms, and under
// Wine they were the largest part of a long run's processor time. Linked in,
// these definitions are found before the import library's. They need SSE2,
// which every 64-bit processor has; a 32-bit build made without it keeps
// msvcrt's.
#if defined(__SSE2__)
// The routines must not become calls of themselves.
#pragma GCC optimize("no-tree-loop-distribute-patterns")

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// From this length on the processor's string instructions copy and fill
// faster than a loop of 16-byte moves.
constexpr std::size_t kLongCopy = 1024;

// Copies n bytes, one to two words, as a word from each end: both are read
// before either is written, so the ranges may overlap.
template <typename Word> inline void CopyEnds(unsigned char* d, const unsigned char* s, std::size_t n) {
    Word head, tail;
    __builtin_memcpy(&head, s, sizeof head);
    __builtin_memcpy(&tail, s + n - sizeof tail, sizeof tail);
    __builtin_memcpy(d, &head, sizeof head);
    __builtin_memcpy(d + n - sizeof tail, &tail, sizeof tail);
}

// Copies n <= 32 bytes; the ranges may overlap.
inline void CopyShort(unsigned char* d, const unsigned char* s, std::size_t n) {
    if (n >= 16) {
        CopyEnds<__m128i>(d, s, n);
    } else if (n >= 8) {
        CopyEnds<std::uint64_t>(d, s, n);
    } else if (n >= 4) {
        CopyEnds<std::uint32_t>(d, s, n);
    } else if (n > 0) {
        const unsigned char first = s[0], middle = s[n / 2], last = s[n - 1];
        d[0] = first;
        d[n / 2] = middle;
        d[n - 1] = last;
    }
}

// Fills n bytes, one to two words, with the word fill at each end.
template <typename Word> inline void FillEnds(unsigned char* d, std::size_t n, Word fill) {
    __builtin_memcpy(d, &fill, sizeof fill);
    __builtin_memcpy(d + n - sizeof fill, &fill, sizeof fill);
}

} // namespace

extern "C" {

void* memmove(void* dest, const void* src, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dest);
    const auto* s = static_cast<const unsigned char*>(src);
    if (n <= 32) {
        CopyShort(d, s, n);
    } else if (reinterpret_cast<std::uintptr_t>(d) - reinterpret_cast<std::uintptr_t>(s) >= n) {
        // Forwards: the destination does not begin inside the source. The
        // string instruction pays off for long copies only; the last 16
        // bytes are read first, as the loop may overwrite them.
        if (n >= kLongCopy) {
            __asm__ volatile("rep movsb" : "+D"(d), "+S"(s), "+c"(n) : : "memory");
            return dest;
        }
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 16));
        for (std::size_t done = 0; done + 16 < n; done += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + done),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + done)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), last);
    } else {
        // Backwards, 16 bytes at a time from the end, the first 16 read
        // before anything is written.
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        for (std::size_t left = n; left > 16; left -= 16) {
            const __m128i piece = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + left - 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + left - 16), piece);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), first);
    }
    return dest;
}

void* memcpy(void* __restrict dest, const void* __restrict src, std::size_t n) { return memmove(dest, src, n); }

void* memset(void* dest, int value, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dest);
    const auto byte = static_cast<unsigned char>(value);
    if (n >= kLongCopy) {
        __asm__ volatile("rep stosb" : "+D"(d), "+c"(n) : "a"(byte) : "memory");
        return dest;
    }
    if (n >= 16) {
        const __m128i fill = _mm_set1_epi8(static_cast<char>(byte));
        for (std::size_t done = 0; done + 16 < n; done += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + done), fill);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), fill);
    } else if (n >= 8) {
        FillEnds<std::uint64_t>(d, n, 0x0101010101010101ULL * byte);
    } else if (n >= 4) {
        FillEnds<std::uint32_t>(d, n, 0x01010101U * byte);
    } else if (n > 0) {
        d[0] = byte;
        d[n / 2] = byte;
        d[n - 1] = byte;
    }
    return dest;
}

void* memchr(const void* src, int value, std::size_t n) {
    const auto* s = static_cast<const unsigned char*>(src);
    const auto byte = static_cast<unsigned char>(value);
    if (n == 0) return nullptr;
    // Aligned 16-byte blocks never cross into a page the range does not
    // touch; the bytes before the start and after the end are masked off.
    const auto start = reinterpret_cast<std::uintptr_t>(s);
    const auto* block = reinterpret_cast<const __m128i*>(start & ~std::uintptr_t{15});
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(byte));
    const unsigned skip = static_cast<unsigned>(start & 15);
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128(block), wanted))) >> skip;
    std::size_t offset = 0; // of the first byte the mask describes, from s
    std::size_t span = 16 - skip;
    for (;;) {
        if (hits != 0) {
            const std::size_t at = offset + static_cast<std::size_t>(__builtin_ctz(hits));
            return at < n ? const_cast<unsigned char*>(s + at) : nullptr;
        }
        offset += span;
        if (offset >= n) return nullptr;
        ++block;
        span = 16;
        hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128(block), wanted)));
    }
}

} // extern "C"

#endif
