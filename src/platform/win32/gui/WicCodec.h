// Picture files through the Windows Imaging Component: the codecs that
// every Windows has, so the program carries none of its own.
#pragma once

#include <windows.h>

#include <string>

#include "platform/RgbImage.h"

// The file bytes of picture in the container format (GUID_ContainerFormatPng,
// GUID_ContainerFormatJpeg, ...); quality 0 .. 1 sets the encoder's
// "ImageQuality" where it has one, a negative quality keeps its default.
// Empty when the picture cannot be encoded.
std::string WicEncode(const RgbImage& picture, const GUID& container, float quality);
