#include "AuxFunct/ResolvePath.h"

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/PlatformConventions.h"

namespace fs = std::filesystem;

namespace {

// The non-empty components of a name cut at the path separator ("a//b" is "a/b").
std::vector<std::string_view> Components(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find(kPathSeparator, start);
        if (end == std::string_view::npos) end = name.size();
        if (end > start) parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

bool IsAbsoluteName(const std::string& name) {
    return (!name.empty() && name[0] == kPathSeparator) || (name.size() > 1 && name[1] == ':');
}

std::string ResolvePath(const std::string& name, const std::string& base) {
    if (name.empty()) return {};
    if (IsAbsoluteName(name)) return name;

    const std::vector<std::string_view> baseParts = Components(base);
    const std::vector<std::string_view> nameParts = Components(name);
    // Walk the name's components; before each, take the base's components
    // up to the first that is empty (past its end) or equal to it.
    std::string result;
    std::size_t j = 0;
    for (std::size_t k = 0; k <= nameParts.size(); ++k) {
        std::string_view p = k < nameParts.size() ? nameParts[k] : std::string_view();
        std::string_view b;
        do {
            b = j < baseParts.size() ? baseParts[j] : std::string_view();
            ++j;
            if (!b.empty() && b != p) (result += kPathSeparator) += b;
        } while (!b.empty() && b != p);
        if (p.empty()) break;
        (result += kPathSeparator) += p;
    }
    // A relative base gives a relative result.
    return base.starts_with(kPathSeparator) ? result : result.substr(1);
}

std::string FolderPart(const std::string& name) {
    std::size_t start = name.starts_with('"') ? 1 : 0;
    std::size_t last = name.find_last_of("/\\");
    if (last == std::string::npos || last < start) return {};
    return name.substr(start, last + 1 - start);
}

std::string CurrentFolder() {
    std::error_code ec;
    std::string folder = fs::current_path(ec).string();
    if (ec || folder.empty()) return {};
    if (folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (a == b) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}
