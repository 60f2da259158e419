#include "app/CommandLine.h"

#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/SettingsFile.h"
#include "AuxFunct/TextUtil.h"
#include "platform/IniFile.h"

namespace {

// True when the "/" at k separates two option words.
bool IsSeparator(const std::string& s, std::size_t k, std::size_t lastNonBlank) {
    if (s[k] != '/') return false;
    if (k == 0 || s[k - 1] == ' ' || k == lastNonBlank) return true;
    return s[k - 1] == '\'' && k + 1 < s.size() && s[k + 1] == ' ';
}

// True when the first word of the piece (up to a blank or ":") holds a "/":
// the piece is the rest of a path, not an option.
bool IsPathContinuation(const std::string& piece) {
    const std::string text = Trim(piece);
    const std::string firstWord = text.substr(0, text.find_first_of(" :"));
    return firstWord.find('/') != std::string::npos;
}

// The token without its first character and without the closing " /", trimmed.
std::string Argument(const std::string& token) { return Trim(token.substr(1, token.size() - 3)); }

// The token after its first ":", or empty when it has none.
std::string AfterColon(const std::string& token) {
    const auto colon = token.find(':');
    return colon == std::string::npos ? std::string() : token.substr(colon + 1);
}

// The text between the token's first ":" and its second one (or its end), trimmed.
std::string SecondField(const std::string& token) {
    const auto colon = token.find(':');
    if (colon == std::string::npos) return {};
    const auto next = token.find(':', colon + 1);
    return Trim(token.substr(colon + 1, next == std::string::npos ? std::string::npos : next - colon - 1));
}

// The text without its last two characters, the closing " /".
std::string WithoutClosing(const std::string& text) {
    return text.size() >= 2 ? text.substr(0, text.size() - 2) : std::string();
}

struct Parser {
    OptionState& opt;
    LogState& log;
    const KalvexApi& kx;
    int selIndex = 0; // the last token that belongs to the selection; -1 once it is closed

    void SetInputSource(std::int8_t fromClipboard, std::int8_t fromSelection) {
        opt.getFromClpF = fromClipboard;
        opt.getFromSelTextF = fromSelection;
        opt.InpF = 0;
        opt.optionsGiven[0] = 0;
        opt.NoHF = 1;
    }

    void ResetOptions() {
        opt.rsetF = 1;
        opt.optionsGiven[7] = 1;
        kx.ReSetEqParser();
        opt.getFromSelTextF = 0;
        opt.getFromClpF = 0;
        opt.InpFN.clear();
        opt.InpF = 0;
        opt.OutpFN.clear();
        opt.splPath.clear();
        opt.splPathReadyF = 0;
        opt.AppendF = 0;
        opt.lineCorrection = 0;
        opt.lineCorrectionF = 0;
        LogLine(log, "      Reset EqParser and all command variables and string", opt.logF);
    }

    // Acts on a token whose two-letter key names an option; false when none does.
    bool ApplyOption(const std::string& token, int index) {
        const std::string lower = ToLower(token);
        const std::string key = lower.substr(0, 2);
        if (key == "i ") {
            opt.InpFN = Argument(token);
            opt.InpF = 1;
            opt.optionsGiven[0] = 1;
        } else if (key == "o " || key == "a ") {
            opt.optionsGiven[1] = 1;
            std::string name = Argument(token);
            if (name.empty()) name = opt.OutpFN.empty() ? FolderPart(opt.InpFN) + "Result.kvx" : opt.OutpFN;
            opt.OutpFN = name;
            opt.AppendF = static_cast<std::int8_t>(key == "a ");
        } else if (key == "gc") {
            SetInputSource(1, 0);
            opt.optionsGiven[13] = 1;
        } else if (key == "sc") {
            opt.SaveToClpBF = 1;
            opt.optionsGiven[2] = 1;
            opt.optionsGiven[1] = 0;
        } else if (key == "se") {
            opt.selText = token.size() > 4 ? Trim(token.substr(4)) : std::string();
            SetInputSource(0, 1);
            opt.optionsGiven[14] = 1;
            selIndex = index;
        } else if (key == "de" && lower[2] == 'c') {
            opt.decimals = IntegerValue(SecondField(token));
            opt.optionsGiven[8] = 1;
        } else if (key == "de") {
            opt.delF = 1;
            opt.optionsGiven[11] = 1;
        } else if (key == "ln") {
            opt.LnsStr = ";" + WithoutClosing(SecondField(token)) + ";";
            opt.lnsF = 1;
            opt.optionsGiven[3] = 1;
            opt.AppendF = 1;
            opt.NoHF = 1;
            opt.getFromSelTextF = 0;
            opt.getFromClpF = 0;
        } else if (key == "lc") {
            opt.lineCorrection = IntegerValue(WithoutClosing(SecondField(token)));
            opt.lineCorrectionF = 1;
        } else if (key == "sp") {
            // Without a colon the option word itself is taken; the run
            // preparation reduces it to an empty path.
            const bool hasColon = token.find(':') != std::string::npos;
            opt.splF = 1;
            opt.optionsGiven[4] = 1;
            opt.splPath = Trim(WithoutClosing(hasColon ? AfterColon(token) : token));
            opt.splPathReadyF = 0;
        } else if (key == "lo") {
            opt.logF = 1;
            opt.optionsGiven[9] = 1;
            opt.logFileN = WithoutClosing(Trim(AfterColon(token)));
        } else if (key == "ts") {
            if (token.find("tsrv") != std::string::npos) {
                opt.tsrvF = 1;
                opt.optionsGiven[5] = 1;
            } else {
                opt.tsrF = 1;
                opt.optionsGiven[6] = 1;
            }
        } else if (key == "qu") {
            opt.quitF = 1;
            opt.optionsGiven[6] = 1;
        } else if (key == "rs") {
            ResetOptions();
        } else if (key == "re") {
            opt.repF = 1;
        } else if (key == "no") {
            opt.NoHF = 1;
            opt.optionsGiven[12] = 1;
        } else if (key == "h ") {
            opt.helpF = 1;
        } else if (key == "sf") {
            opt.showFlagsF = 1;
        } else if (key == "w ") {
            opt.setupF = 1;
        } else {
            return false;
        }
        return true;
    }

    // A token that names no option continues the selection when it follows
    // it directly; otherwise it closes the selection.
    void ContinueSelection(const std::string& token, int index) {
        if (!opt.getFromSelTextF) return;
        if (selIndex == index - 1) {
            opt.selText += Trim(token);
            selIndex = index;
        } else {
            if (!opt.selText.empty() && opt.selText.back() == '/') opt.selText.pop_back();
            selIndex = -1;
        }
    }
};

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& cmdLn) {
    const std::size_t lastNonBlank = cmdLn.find_last_not_of(' ');
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t k = 0; k < cmdLn.size(); ++k) {
        if (!IsSeparator(cmdLn, k, lastNonBlank)) continue;
        std::string piece = cmdLn.substr(start, k - start);
        if (!pieces.empty() && IsPathContinuation(piece)) pieces.back() += "/" + piece;
        else pieces.push_back(std::move(piece));
        start = k + 1;
    }
    std::vector<std::string> words;
    for (const std::string& piece : pieces) {
        std::string word = Trim(piece);
        if (!word.empty()) words.push_back(std::move(word));
    }
    return words;
}

bool ParseCommandLine(OptionState& opt, RunState& run, LogState& log, const KalvexApi& kx,
                      const std::string& settingsPath) {
    const std::string trimmed = Trim(run.CmdLn);
    if (trimmed.empty() || trimmed.back() != '/') run.CmdLn += " /";

    Parser parser{opt, log, kx};
    int index = 0;
    for (const std::string& word : SplitCommandLine(run.CmdLn)) {
        const std::string token = word + " /";
        ++index;
        if (!parser.ApplyOption(token, index)) parser.ContinueSelection(token, index);
    }

    bool restored = false;
    if (opt.repF) {
        std::string last = IniRead(settingsPath, kSettingsSection, kSettingsKey, "");
        restored = !last.empty();
        if (restored) run.CmdLn = std::move(last);
    } else if (!opt.setupF && !opt.quitF) {
        // A line that cannot be kept (a selection of several lines, a write
        // error) clears the stored one, so that /rep never repeats an older
        // command line in its place.
        if (!IniWrite(settingsPath, kSettingsSection, kSettingsKey, run.CmdLn))
            IniWrite(settingsPath, kSettingsSection, kSettingsKey, "");
    }
    if (opt.OutpFN.empty() && !opt.InpFN.empty()) opt.OutpFN = FolderPart(opt.InpFN) + "Result.kvx";
    return restored;
}
