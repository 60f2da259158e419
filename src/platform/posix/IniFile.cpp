// INI files: "[Section]" lines followed by "key=value" lines. Section and key
// names compare without regard to case; blanks around names and values are
// ignored on reading, as in hand-edited files.
#include "platform/IniFile.h"

#include "platform/FileContent.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

struct Line {
    std::string text; // without its line end
    std::string end;  // "\r\n", "\n" or "" for a last line without one
};

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The section name of a "[name]" line.
std::optional<std::string> SectionName(const std::string& line) {
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string::npos) return std::nullopt;
    return TrimBlanks(trimmed.substr(1, close - 1));
}

bool IsKeyLine(const std::string& line, const std::string& key) {
    const auto equals = line.find('=');
    return equals != std::string::npos && SameName(TrimBlanks(line.substr(0, equals)), key);
}

std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const auto newline = content.find('\n', start);
        if (newline == std::string::npos) {
            lines.push_back({content.substr(start), ""});
            break;
        }
        const bool crlf = newline > start && content[newline - 1] == '\r';
        const std::size_t textEnd = crlf ? newline - 1 : newline;
        lines.push_back({content.substr(start, textEnd - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return true;
    for (std::size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

} // namespace

std::string IniRead(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
    std::string content;
    if (!ReadWholeFile(path, content)) return defaultValue;
    bool inSection = false;
    for (const Line& line : SplitLines(content)) {
        if (const auto name = SectionName(line.text)) {
            inSection = SameName(*name, section);
        } else if (inSection && IsKeyLine(line.text, key)) {
            return TrimBlanks(line.text.substr(line.text.find('=') + 1));
        }
    }
    return defaultValue;
}

bool IniWrite(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value) {
    // A line break would end the value and start a line of its own.
    for (const std::string* part : {&section, &key, &value}) {
        if (part->find_first_of("\r\n") != std::string::npos) return false;
    }
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash))) return false;

    std::vector<Line> lines;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        std::string content;
        if (!ReadWholeFile(path, content)) return false; // never replace a file that could not be read
        lines = SplitLines(content);
    }
    const std::string newEnd = lines.empty() ? "\r\n" : (lines.front().end.empty() ? "\r\n" : lines.front().end);
    const Line keyLine{key + "=" + value, newEnd};

    // Find the section and, in it, the key or the place after its last entry.
    std::optional<std::size_t> sectionLine;
    std::size_t insertAt = lines.size();
    bool replaced = false;
    for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            if (sectionLine) break;
            if (SameName(*name, section)) sectionLine = insertAt = i + 1;
        } else if (sectionLine) {
            if (IsKeyLine(lines[i].text, key)) {
                // The same line again: the file is left as it is, so that a
                // run that repeats its command line writes nothing.
                if (lines[i].text == keyLine.text) return true;
                lines[i].text = keyLine.text;
                replaced = true;
            } else if (!TrimBlanks(lines[i].text).empty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!replaced) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = newEnd;
        if (sectionLine) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
        } else {
            lines.push_back({"[" + section + "]", newEnd});
            lines.push_back(keyLine);
        }
    }
    std::string content;
    for (const Line& line : lines) content += line.text + line.end;
    return WriteFileSafely(path, content, false);
}
