#include "platform/win32/gui/GuiFonts.h"

#include <map>
#include <string>
#include <tuple>

HFONT GuiFont(const char* family, int pixelHeight, bool bold) {
    static std::map<std::tuple<std::string, int, bool>, HFONT> made;
    HFONT& font = made[{family, pixelHeight, bold}];
    // Where "Courier New" is missing, the substitute is still fixed-pitch.
    const DWORD pitch = std::string(family) == "Courier New" ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
    if (font == nullptr)
        font = CreateFontA(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, family);
    return font;
}
