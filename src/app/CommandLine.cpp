#include "app/CommandLine.h"

#include <algorithm>

#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/SettingsFile.h"
#include "AuxFunct/TextUtil.h"
#include "platform/IniFile.h"
#include "platform/PlatformConventions.h"

namespace {

// True when the "/" at k separates two option words.
bool IsSeparator(const std::string& s, std::size_t k, std::size_t lastNonBlank) {
    if (s[k] != '/') return false;
    if (!kSlashInPaths) return true;
    if (k == 0 || s[k - 1] == ' ' || k == lastNonBlank) return true;
    return s[k - 1] == '\'' && k + 1 < s.size() && s[k + 1] == ' ';
}

// True when the first word of the piece (up to a blank or ":") holds a "/":
// the piece is the rest of a path, not an option.
bool IsPathContinuation(const std::string& piece) {
    if (!kSlashInPaths) return false;
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

// The parser's records and its state between tokens. Each option is one
// member below, named in the option table after it; a member takes the token
// (with its closing " /") and its 1-based number on the command line.
struct Parser {
    OptionState& opt;
    LogState& log;
    const KalvexApi& kx;
    int selIndex = 0; // the last token that belongs to the selection; -1 once it is closed

    void Given(OptionGiven option) { opt.optionsGiven[option] = 1; }

    void SetInputSource(std::int8_t fromClipboard, std::int8_t fromSelection) {
        opt.getFromClpF = fromClipboard;
        opt.getFromSelTextF = fromSelection;
        opt.InpF = 0;
        opt.optionsGiven[kGivenInput] = 0;
        opt.NoHF = 1;
    }

    void SetOutput(const std::string& token, std::int8_t append) {
        Given(kGivenOutput);
        std::string name = Argument(token);
        if (name.empty()) name = opt.OutpFN.empty() ? FolderPart(opt.InpFN) + "Result.kvx" : opt.OutpFN;
        opt.OutpFN = name;
        opt.AppendF = append;
    }

    void Input(const std::string& token, int) {
        opt.InpFN = Argument(token);
        opt.InpF = 1;
        Given(kGivenInput);
    }

    void Output(const std::string& token, int) { SetOutput(token, 0); }

    void Append(const std::string& token, int) { SetOutput(token, 1); }

    void ClipboardInput(const std::string&, int) {
        SetInputSource(1, 0);
        Given(kGivenClipboardInput);
    }

    void ClipboardOutput(const std::string&, int) {
        opt.SaveToClpBF = 1;
        Given(kGivenClipboardOutput);
        opt.optionsGiven[kGivenOutput] = 0;
    }

    void Selection(const std::string& token, int index) {
        opt.selText = token.size() > 4 ? Trim(token.substr(4)) : std::string();
        SetInputSource(0, 1);
        Given(kGivenSelection);
        selIndex = index;
    }

    void Delete(const std::string&, int) {
        opt.delF = 1;
        Given(kGivenDelete);
    }

    void Decimals(const std::string& token, int) {
        opt.decimals = IntegerValue(SecondField(token));
        Given(kGivenDecimals);
    }

    void Lines(const std::string& token, int) {
        opt.LnsStr = ";" + WithoutClosing(SecondField(token)) + ";";
        opt.lnsF = 1;
        Given(kGivenLines);
        opt.AppendF = 1;
        opt.NoHF = 1;
        opt.getFromSelTextF = 0;
        opt.getFromClpF = 0;
    }

    void LineCorrection(const std::string& token, int) {
        opt.lineCorrection = IntegerValue(WithoutClosing(SecondField(token)));
        opt.lineCorrectionF = 1;
    }

    void PlotPath(const std::string& token, int) {
        // Without a colon the option word itself is taken; the run
        // preparation reduces it to an empty path.
        const bool hasColon = token.find(':') != std::string::npos;
        opt.splF = 1;
        Given(kGivenPlotPath);
        opt.splPath = Trim(WithoutClosing(hasColon ? AfterColon(token) : token));
        opt.splPathReadyF = 0;
    }

    void Log(const std::string& token, int) {
        opt.logF = 1;
        Given(kGivenLog);
        opt.logFileN = WithoutClosing(Trim(AfterColon(token)));
    }

    void Resident(const std::string& token, int) {
        if (token.find("tsrv") != std::string::npos) {
            opt.tsrvF = 1;
            Given(kGivenResidentVisible);
        } else {
            opt.tsrF = 1;
            Given(kGivenResident);
        }
    }

    void Quit(const std::string&, int) {
        opt.quitF = 1;
        Given(kGivenResident);
    }

    void Sync(const std::string&, int) { opt.syncF = 1; }

    void Reset(const std::string&, int) {
        opt.rsetF = 1;
        Given(kGivenReset);
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

    void Repeat(const std::string&, int) { opt.repF = 1; }

    void NoHeader(const std::string&, int) {
        opt.NoHF = 1;
        Given(kGivenNoHeader);
    }

    void Help(const std::string&, int) { opt.helpF = 1; }

    void ShowFlags(const std::string&, int) { opt.showFlagsF = 1; }

    void Setup(const std::string&, int) { opt.setupF = 1; }

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

struct OptionRow {
    std::string_view key; // what the lower-cased token begins with
    void (Parser::*apply)(const std::string& token, int index);
};

// The options, compared from the top: the first row whose key begins the
// lower-cased token acts, so any word with the right two letters selects its
// option ("/gc", "/gclp", "/gcxyz"). "i ", "o ", "a ", "h " and "w " are
// one-letter options followed by the blank of their argument or of the
// closing " /". "dec" stands before "de": the third letter tells /dec from
// /del.
constexpr OptionRow kOptions[] = {
    {"i ", &Parser::Input},
    {"o ", &Parser::Output},
    {"a ", &Parser::Append},
    {"gc", &Parser::ClipboardInput},
    {"sc", &Parser::ClipboardOutput},
    {"se", &Parser::Selection},
    {"dec", &Parser::Decimals},
    {"de", &Parser::Delete},
    {"ln", &Parser::Lines},
    {"lc", &Parser::LineCorrection},
    {"sp", &Parser::PlotPath},
    {"lo", &Parser::Log},
    {"ts", &Parser::Resident},
    {"qu", &Parser::Quit},
    {"sy", &Parser::Sync},
    {"rs", &Parser::Reset},
    {"re", &Parser::Repeat},
    {"no", &Parser::NoHeader},
    {"h ", &Parser::Help},
    {"sf", &Parser::ShowFlags},
    {"w ", &Parser::Setup},
};

// The option that a token names, or nullptr.
const OptionRow* FindOption(const std::string& token) {
    const std::string head = ToLower(std::string_view(token).substr(0, 3));
    for (const OptionRow& row : kOptions) {
        if (head.starts_with(row.key)) return &row;
    }
    return nullptr;
}

// Acts on a token whose key names an option; false when none does.
bool ApplyOption(Parser& parser, const std::string& token, int index) {
    const OptionRow* row = FindOption(token);
    if (row != nullptr) (parser.*row->apply)(token, index);
    return row != nullptr;
}

// The command line with its closing "/".
std::string Closed(std::string cmdLn) {
    const std::string trimmed = Trim(cmdLn);
    if (trimmed.empty() || trimmed.back() != '/') cmdLn += " /";
    return cmdLn;
}

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

namespace {

// True when the command line names one of the options.
bool LineHasOption(const std::string& cmdLn, std::initializer_list<void (Parser::*)(const std::string&, int)> options) {
    for (const std::string& word : SplitCommandLine(Closed(cmdLn))) {
        const OptionRow* row = FindOption(word + " /");
        if (row != nullptr && std::find(options.begin(), options.end(), row->apply) != options.end()) return true;
    }
    return false;
}

} // namespace

bool LineAsksForHelp(const std::string& cmdLn) { return LineHasOption(cmdLn, {&Parser::Help}); }

bool LineNeedsLibraryFirst(const std::string& cmdLn) {
    return LineHasOption(cmdLn, {&Parser::Reset, &Parser::Repeat, &Parser::Help, &Parser::ShowFlags, &Parser::Setup});
}

bool ParseCommandLine(OptionState& opt, RunState& run, LogState& log, const KalvexApi& kx,
                      const std::string& settingsPath) {
    run.CmdLn = Closed(std::move(run.CmdLn));

    Parser parser{opt, log, kx};
    int index = 0;
    for (const std::string& word : SplitCommandLine(run.CmdLn)) {
        const std::string token = word + " /";
        ++index;
        if (!ApplyOption(parser, token, index)) parser.ContinueSelection(token, index);
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
