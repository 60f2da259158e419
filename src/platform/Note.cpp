#include "platform/Note.h"

#include <cstdio>

namespace {

bool capturing = false;
std::string captured;

std::string NoteLine(std::string_view text) {
    std::string line = "Tessara: ";
    line += text;
    line += '\n';
    return line;
}

} // namespace

void Note(std::string_view text) {
    const std::string line = NoteLine(text);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    if (capturing) captured += line;
}

void StartNoteCapture() {
    capturing = true;
    captured.clear();
}

std::string EndNoteCapture() {
    capturing = false;
    return std::move(captured);
}

void CaptureStatusLine(std::string_view text) {
    if (!capturing) return;
    // A status text of several lines, trimmed, one note line each.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view piece = text.substr(start, end - start);
        const std::size_t first = piece.find_first_not_of(' ');
        if (first != std::string_view::npos) captured += NoteLine(piece.substr(first));
        start = end + 1;
    }
}
