// Moving text between files and the program: the input script, the output
// script and the file side of statements.
#pragma once

#include <cstdint>
#include <string>

// Reads the file InpFN into scriptText. On failure shows "Error 4: can't read
// the file\r\nfile: " + InpFN and the reason, sets exitCode to -2, leaves
// scriptText as it was and returns false.
bool ReadInputScript(const std::string& InpFN, std::string& scriptText, std::int32_t& exitCode);

// Writes scriptText to OutpFN: replacing it, or with append appended (over a
// final CR LF only). The old file stays intact when anything fails; then shows
// "Error 5: can't write the file\r\nfile: " + OutpFN and sets exitCode to -3.
void WriteOutputScript(const std::string& OutpFN, bool append, const std::string& scriptText,
                       std::int32_t& exitCode);

// Shows "Error 5: can't write the file\r\nfile: " + name and sets exitCode to -3.
void ReportUnwritableOutput(const std::string& name, std::int32_t& exitCode);

// The name the output goes by when it is written to standard output.
inline const std::string kStandardOutputName = "standard output";

// The file operations of statements, with fileName resolved against the
// current folder. keyword "fileout": writes text to the file and returns "";
// any other keyword ("fileinp"): returns the file's lines without line ends
// and without comment lines (first non-blank character "'"), joined with
// nothing between them; on failure returns "", sets exitCode to -2, shows
// "Error 3: Couldn't open the file!\r\n" + name and the reason, and puts
// name + ": " + reason (or "no file is named") in failure when it is given.
std::string FileStatement(const std::string& fileName, const std::string& keyword,
                          const std::string& text, std::int32_t& exitCode, std::string* failure = nullptr);
