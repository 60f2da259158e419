#include "parser/ScriptFiles.h"

#include <string_view>

#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/StatusCodes.h"
#include "AuxFunct/TextUtil.h"
#include "parser/ScriptLines.h"
#include "platform/FileContent.h"
#include "platform/MessageBox.h"

namespace {

const char* const kTitle = "Tessara";

// The file's lines without line ends and without comment lines, joined with
// nothing between them.
std::string JoinedLines(std::string_view content) {
    std::string joined;
    for (std::string_view line : CutLines(content)) {
        if (!TrimView(line).starts_with('\'')) joined.append(line);
    }
    return joined;
}

} // namespace

bool ReadInputScript(const std::string& InpFN, std::string& scriptText, std::int32_t& exitCode) {
    std::string reason;
    if (ReadWholeFile(InpFN, scriptText, &reason)) return true;
    ShowMessageBox(kTitle, "Error 4: can't read the file\r\nfile: " + InpFN + "\r\n" + reason);
    exitCode = kFileNotReadable;
    return false;
}

void WriteOutputScript(const std::string& OutpFN, bool append, const std::string& scriptText,
                       std::int32_t& exitCode) {
    if (!WriteFileSafely(OutpFN, scriptText, append)) ReportUnwritableOutput(OutpFN, exitCode);
}

void ReportUnwritableOutput(const std::string& name, std::int32_t& exitCode) {
    ShowMessageBox(kTitle, "Error 5: can't write the file\r\nfile: " + name);
    exitCode = kFileNotWritable;
}

std::string FileStatement(const std::string& fileName, const std::string& keyword,
                          const std::string& text, std::int32_t& exitCode, std::string* failure) {
    const std::string name = ResolvePath(fileName, CurrentFolder());
    if (ToLower(keyword) == "fileout") {
        if (!WriteFileSafely(name, text, false)) {
            ShowMessageBox(kTitle, "Error 1: can't write the file.\r\n" + name);
        }
        return {};
    }
    std::string content, reason;
    if (!ReadWholeFile(name, content, &reason)) {
        exitCode = kFileNotReadable;
        if (failure != nullptr) *failure = name.empty() ? "no file is named" : name + ": " + reason;
        ShowMessageBox(kTitle, "Error 3: Couldn't open the file!\r\n" + name + "\r\n" + reason);
        return {};
    }
    return JoinedLines(content);
}
