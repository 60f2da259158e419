// A picture in memory: 8-bit red, green and blue per pixel, row after row
// from the top.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes

    bool Empty() const { return width <= 0 || height <= 0; }
    Rgb At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) * 3;
        return {pixels[at], pixels[at + 1], pixels[at + 2]};
    }
};
