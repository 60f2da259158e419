#include "platform/win32/gui/DibSurface.h"

#include <cstring>
#include <string>

DibSurface::DibSurface(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    const BITMAPINFO info = TopDownDibInfo(width, height);
    dc_ = CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) return;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (bitmap_ == nullptr) {
        bits_ = nullptr;
        return;
    }
    previous_ = SelectObject(dc_, bitmap_);
}

DibSurface::~DibSurface() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
}

RgbImage DibSurface::Picture() const {
    RgbImage picture;
    if (!Ready()) return picture;
    GdiFlush(); // GDI may batch drawing calls; the bits are read directly
    picture.width = width_;
    picture.height = height_;
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    picture.pixels.resize(count * 3);
    const auto* source = static_cast<const std::uint8_t*>(bits_);
    std::uint8_t* target = picture.pixels.data();
    for (std::size_t i = 0; i < count; ++i, source += 4, target += 3) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
    }
    return picture;
}

BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::string PackedDib(const RgbImage& picture) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = picture.height; // positive: bottom-up, as readers of CF_DIB expect most
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
    std::string dib(sizeof header + stride * static_cast<std::size_t>(picture.height), '\0');
    std::memcpy(dib.data(), &header, sizeof header);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* source = picture.pixels.data() + static_cast<std::size_t>(y) * width * 3;
        char* target = dib.data() + sizeof header + static_cast<std::size_t>(picture.height - 1 - y) * stride;
        for (std::size_t x = 0; x < width; ++x, source += 3, target += 3) {
            target[0] = static_cast<char>(source[2]);
            target[1] = static_cast<char>(source[1]);
            target[2] = static_cast<char>(source[0]);
        }
    }
    return dib;
}
