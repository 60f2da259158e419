// The picture of an FLTK image surface as an RgbImage (platform layer only).
#pragma once

#include <FL/Fl_Image_Surface.H>

#include "platform/RgbImage.h"

// Reads what was drawn on surface, width x height pixels; makes the surface
// the current drawing surface again.
RgbImage SurfacePicture(Fl_Image_Surface& surface, int width, int height);
