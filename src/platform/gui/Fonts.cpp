#include "platform/gui/Fonts.h"

#include <FL/Fl.H>

#include <cstring>

Fl_Font FindFont(const char* family, Fl_Font fallback) {
    // Listing the installed fonts registers each family as an FLTK font.
    static const Fl_Font fontCount = Fl::set_fonts(nullptr);
    for (Fl_Font font = 0; font < fontCount; ++font) {
        int attributes = 0;
        const char* name = Fl::get_font_name(font, &attributes);
        if (attributes == 0 && name != nullptr && std::strcmp(name, family) == 0) return font;
    }
    return fallback;
}
