#pragma once

#include <string>

// A full file name for name against the base folder: a relative name is
// appended to base, where a leading component of name equals the next
// component of base that component is not repeated. Absolute names ("/...",
// or a drive "X:...") are returned unchanged; an empty name gives "".
std::string ResolvePath(const std::string& name, const std::string& base);

// True when name is absolute: it begins with "/", or its second character is
// ":" (a drive).
bool IsAbsoluteName(const std::string& name);

// The folder part of a name: its text up to and including its last "/" or
// "\" (a leading double quote skipped); empty when it has neither.
std::string FolderPart(const std::string& name);

// The current folder with "/" at its end; empty when it cannot be read.
std::string CurrentFolder();

// True when both names denote the same file: equal texts, or two existing
// names of one file (links included).
bool SameFile(const std::string& a, const std::string& b);
