// Encoding pictures as PNG (libpng) and as JFIF JPEG (libjpeg).
#pragma once

#include <string>

#include "platform/RgbImage.h"

// The PNG file bytes of picture; empty when it cannot be encoded.
std::string EncodePng(const RgbImage& picture);

// The JPEG (JFIF) file bytes of picture at quality 0 .. 100, with libjpeg's
// other settings at their defaults; empty when it cannot be encoded.
std::string EncodeJpeg(const RgbImage& picture, int quality);
