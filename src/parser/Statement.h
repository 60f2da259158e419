// The interface between the script scanner and the statement handlers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "parser/ScriptEnv.h"

struct StatementContext {
    ScriptEnv& env;
    // Every line of the script, as cut by the scanner (not trimmed); line
    // number i is lines[i - 1].
    const std::vector<std::string_view>& lines;
    const std::string& line;    // the current line, trimmed, comment cut off
    const std::string& keyword; // lower case
    std::size_t pos = 0;        // 1-based position of the first "=", else of the first "(", else 0
    std::size_t parenOpen = 0;  // 1-based, 0 when absent
    std::size_t parenClose = 0; // 1-based, 0 when absent
    int i = 0;                  // current line number; only dimx moves it
    std::string& processed;     // the processed text the handler appends to
    int& errorCount;
    std::string& polyVar;       // set by varpolyn, empty at the start of a run
    std::string& dimxBlockName; // bracketed name of the dimx block being read
    const std::string& zeroMask;
    // A text a handler may fill as it likes; kept from line to line, so that
    // its memory is reused.
    std::string& scratch;
    std::string& fileFailure; // the file a statement could not read and why; empty when it read its file
};

using StatementHandler = void (*)(StatementContext&);

// The handler of a lower-case keyword, or nullptr when the keyword is not a
// statement.
StatementHandler FindStatement(std::string_view keyword);

// True for a word that is no keyword but one edit from one (two for words of
// five letters or more): letters and digits only, at least three of them.
// Such a word is most likely a misspelt keyword ("exrp"); the lines of result
// blocks and prose are not.
bool NearKeyword(std::string_view word);
