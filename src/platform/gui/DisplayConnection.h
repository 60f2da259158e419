// The module's side of Display.h.
#pragma once

// Opens the display named by DISPLAY and hands the connection to FLTK; false
// when it cannot be opened.
bool OpenDisplayConnection();
