// The program's own memcpy, memmove, memset and memchr (linked into this test
// as into Tessara.exe) against byte-by-byte references: every length up to
// past the long-copy threshold, every alignment, overlaps either way.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kArea = 8192;

// Byte patterns that no two positions share within 251 bytes.
std::vector<unsigned char> Pattern() {
    std::vector<unsigned char> bytes(kArea);
    for (std::size_t k = 0; k < kArea; ++k) bytes[k] = static_cast<unsigned char>(k % 251 + 1);
    return bytes;
}

// The lengths worth trying: all short ones, then around the long-copy
// threshold and beyond.
std::vector<std::size_t> Lengths() {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 80; ++n) lengths.push_back(n);
    for (const std::size_t n : {95u, 127u, 128u, 129u, 500u, 1023u, 1024u, 1025u, 2000u, 3000u}) lengths.push_back(n);
    return lengths;
}

TEST(MemoryRoutines, MoveAndCopyAgreeWithByteCopies) {
    const std::vector<unsigned char> start = Pattern();
    for (const std::size_t n : Lengths()) {
        for (const std::ptrdiff_t shift : {-40, -17, -16, -1, 1, 3, 16, 33, 700}) {
            for (std::size_t from = 800; from < 816; ++from) {
                std::vector<unsigned char> area = start, expected = start;
                const std::size_t to = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(from) + shift);
                std::vector<unsigned char> copy(start.begin() + static_cast<std::ptrdiff_t>(from),
                                                start.begin() + static_cast<std::ptrdiff_t>(from + n));
                for (std::size_t k = 0; k < n; ++k) expected[to + k] = copy[k];
                ASSERT_EQ(std::memmove(area.data() + to, area.data() + from, n), area.data() + to);
                ASSERT_EQ(area, expected) << "memmove of " << n << " bytes by " << shift << " from " << from;
                // memcpy of ranges that do not overlap: into a second area.
                std::vector<unsigned char> target(kArea, 0), wanted(kArea, 0);
                for (std::size_t k = 0; k < n; ++k) wanted[to + k] = start[from + k];
                std::memcpy(target.data() + to, start.data() + from, n);
                ASSERT_EQ(target, wanted) << "memcpy of " << n << " bytes to " << to;
            }
        }
    }
}

TEST(MemoryRoutines, SetAndFindAgreeWithByteLoops) {
    const std::vector<unsigned char> start = Pattern();
    for (const std::size_t n : Lengths()) {
        for (std::size_t at = 100; at < 116; ++at) {
            std::vector<unsigned char> area = start, expected = start;
            for (std::size_t k = 0; k < n; ++k) expected[at + k] = 0xA5;
            ASSERT_EQ(std::memset(area.data() + at, 0x1A5, n), area.data() + at); // only the low byte counts
            ASSERT_EQ(area, expected) << "memset of " << n << " bytes at " << at;

            // Each byte value of the range is found at its first position,
            // and a byte just outside the range is not.
            const unsigned char* range = start.data() + at;
            for (std::size_t k = 0; k < n; k += (n > 64 ? 7 : 1)) {
                std::size_t first = 0;
                while (range[first] != range[k]) ++first;
                ASSERT_EQ(std::memchr(range, range[k], n), range + first) << n << " " << at << " " << k;
            }
            if (n < 251) {
                ASSERT_EQ(std::memchr(range, range[n], n), nullptr) << n << " " << at;
            }
            ASSERT_EQ(std::memchr(range, 0, n), nullptr);
        }
    }
}

} // namespace
