// Whole-file reading and safe replacement of files.
#pragma once

#include <string>
#include <string_view>

// Reads the whole file name into content, byte for byte (zero bytes
// included). False, with content unchanged, when the file cannot be opened,
// is a folder, a read fails or the content does not fit in memory; then
// reason, when given, receives why ("No such file or directory").
bool ReadWholeFile(const std::string& name, std::string& content, std::string* reason = nullptr);

// Makes the file name hold text, or with append its old content followed by
// text, where a final CR LF of the old content is overwritten (an empty text
// leaves an existing file untouched). A regular (or
// missing) file is written to a temporary file in the same folder that is
// renamed over it only after everything was written and closed, so that a
// failure leaves the old file intact. False when anything failed.
bool WriteFileSafely(const std::string& name, std::string_view text, bool append);

// Deletes the file name (a symbolic link itself, never a folder). False when
// it cannot be deleted.
bool RemoveFile(const std::string& name);
