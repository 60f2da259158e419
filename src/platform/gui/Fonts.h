// Fonts the program asks for by family name ("Courier New", "Verdana").
#pragma once

#include <FL/Enumerations.H>

// The FLTK font of the installed family named family, or fallback when the
// font configuration does not have it. Needs the display to be open.
Fl_Font FindFont(const char* family, Fl_Font fallback);
