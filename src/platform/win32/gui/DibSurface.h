// A picture in memory that GDI draws on: a 32-bit top-down DIB section
// selected into a memory device context of its own.
#pragma once

#include <windows.h>

#include <string>

#include "platform/RgbImage.h"

class DibSurface {
public:
    // A width x height surface; Ready() is false when GDI could not make it.
    DibSurface(int width, int height);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool Ready() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    // What was drawn so far, as red, green and blue bytes.
    RgbImage Picture() const;

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// The description of width x height pixels of 32 bits (blue, green, red and
// one unused byte), row 0 first: the layout of the surface and of pictures
// handed to GDI in that form.
BITMAPINFO TopDownDibInfo(int width, int height);

// picture as a packed device-independent bitmap, the layout of CF_DIB: the
// header, then 24-bit rows from the bottom up, each padded to four bytes.
std::string PackedDib(const RgbImage& picture);
