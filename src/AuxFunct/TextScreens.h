// The fixed texts of the program (About, usage, flags, operators) and the
// screen that shows a long text.
#pragma once

#include <string>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "bindings/KalvexApi.h"

// The About text: empty with noHeader; else the program and version lines and
// then, with commentPrefix, a line of 74 dashes, every line starting with "'"
// (the header of logs and outputs); without it, the long form that heads the
// usage text.
std::string GetAboutText(bool commentPrefix, bool noHeader);

// The usage text: the About text followed by the option summary.
std::string UsageText(bool commentPrefix);

// The flags screen: the short About text and the current option values.
std::string FlagsText(const OptionState& opt);

// The answer to --version: the program's version and the numeric library's,
// one line each, LF line ends.
std::string VersionText(const KalvexApi& kx);

// The operators screen: what the numeric library offers.
std::string OperatorsText(const KalvexApi& kx);

// Console mode: the console screen (ShowConsoleScreen), which waits for an
// answer line only where the text would vanish when the program ends. Window mode: shows the text line by line in the message window,
// in a fixed-pitch font.
void ShowTextScreen(const std::string& text, bool useConsole, LogState& log);

void ShowSyntax(bool useConsole, bool commentPrefix, LogState& log);
void ShowFlags(const OptionState& opt, bool useConsole, LogState& log);
void ShowOperators(const KalvexApi& kx, bool useConsole, LogState& log);
