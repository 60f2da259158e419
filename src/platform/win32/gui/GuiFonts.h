// Fonts of the Windows build's windows, asked for by family name as the
// windows name them ("Verdana", "Courier New").
#pragma once

#include <windows.h>

// The font of the family with characters pixelHeight pixels high (the size
// a point size gives at 96 dpi would be points * 4 / 3), made on the first
// request and kept for the process; GDI substitutes the
// nearest family when the named one is not installed.
HFONT GuiFont(const char* family, int pixelHeight, bool bold = false);
