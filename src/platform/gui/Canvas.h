// The module's side of Offscreen.h.
#pragma once

#include "platform/Offscreen.h"

// A width x height picture filled with background, drawn in the plot font;
// owned by the caller.
CanvasSurface* OpenCanvas(int width, int height, Rgb background);
