#include "parser/ProcessScript.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "AuxFunct/StatusCodes.h"
#include "aPlot/PlotWindows.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/TextUtil.h"
#include "parser/LineSelection.h"
#include "parser/ScriptLines.h"
#include "parser/Statement.h"
#include "parser/StatementText.h"
#include "platform/LargeBuffer.h"
#include "platform/Note.h"

namespace {

constexpr std::size_t kMaxMaskDecimals = 512;
constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kBlockEstimate = 88;

// "0." followed by one zero per decimal: the pattern of matrix listings.
std::string ZeroMask(std::int32_t decimals) {
    std::string mask = "0.";
    if (decimals > 0) mask.append(std::min(static_cast<std::size_t>(decimals), kMaxMaskDecimals), '0');
    return mask;
}

// Where a statement line keeps its keyword and arguments (1-based, 0 when absent).
struct LineHead {
    std::size_t pos = 0;
    std::size_t parenOpen = 0;
    std::size_t parenClose = 0;
    std::string keyword; // trimmed, lower case
};

std::size_t OneBased(std::size_t index) { return index == npos ? 0 : index + 1; }

// Finds pos, the parentheses and the keyword; false when the line has neither
// "=" nor "(" and so is no statement.
bool FindHead(std::string_view line, LineHead& head) {
    std::size_t equals = line.find('=');
    std::string_view keyword;
    if (equals != npos) {
        std::string_view front = line.substr(0, equals + 1);
        head.pos = equals + 1;
        head.parenOpen = OneBased(front.find('('));
        head.parenClose = OneBased(front.find(')'));
        keyword = line.substr(0, (head.parenOpen > 0 ? head.parenOpen : head.pos) - 1);
    } else {
        std::size_t paren = line.find('(');
        if (paren == npos) return false;
        head.pos = head.parenOpen = paren + 1;
        head.parenClose = OneBased(line.find(')'));
        keyword = line.substr(0, paren);
    }
    head.keyword = ToLower(TrimView(keyword));
    return true;
}

// Tells on standard error which statement lines are dropped for a keyword
// that looks misspelt (NearKeyword: "exrp = 7*6" would vanish without a
// word), so that the result lines of earlier runs and prose stay quiet: the
// first few of a run by line and keyword, then how many more there were.
class UnknownKeywordNotes {
public:
    void Check(int line, std::string_view keyword) {
        // A processed script repeats the same word ("Result") on every other
        // line: its verdict is kept rather than worked out again.
        if (keyword != lastWord_) {
            lastWord_.assign(keyword);
            lastNear_ = NearKeyword(keyword);
        }
        if (!lastNear_ || ++count_ > kNoted) return;
        Note("line " + std::to_string(line) + ": unknown keyword \"" + std::string(keyword) + "\"; the line is dropped");
    }
    ~UnknownKeywordNotes() {
        if (count_ > kNoted) Note(std::to_string(count_ - kNoted) + " more lines with an unknown keyword are dropped");
    }

private:
    static constexpr int kNoted = 10;
    int count_ = 0;
    std::string lastWord_;
    bool lastNear_ = false;
};

void CopyLine(std::string& processed, std::string_view line) {
    processed.append(line);
    processed.append("\r\n");
}

} // namespace

ProcessResult ProcessScript(const std::string& scriptText, ScriptEnv& env) {
    ClosePlotWindows(env.plots);
    ProcessResult result;
    const std::string zeroMask = ZeroMask(env.opt.decimals);
    std::string polyVar;
    std::string dimxBlockName;
    // The lines of the text, plus the (possibly empty) rest after its last
    // line end.
    const std::vector<std::string_view> lines = CutLines(scriptText);
    // A result block adds about 80 bytes to its statement line (line number,
    // captions, the number, the empty line); reserving that once spares
    // copying a growing text. Pages reserved but never written cost no memory.
    result.processed.reserve(scriptText.size() + lines.size() * kBlockEstimate);
    AdviseLargeBuffer(result.processed.data(), result.processed.capacity());
    const int lineCount = static_cast<int>(std::min<std::size_t>(lines.size(), INT_MAX - 1));
    LineSelection selection(env.opt.LnsStr, env.opt.lineCorrection);
    bool slashBlock = false;
    bool bangBlock = false;
    LineHead head;
    std::string lineText;
    std::string scratch;
    std::string fileFailure;
    UnknownKeywordNotes unknownKeywords;

    for (int i = 1; i <= lineCount; ++i) {
        env.exitCode = kStatusOk;
        fileFailure.clear();
        if (env.opt.lnsF) {
            i = selection.Take(i, lineCount);
            if (i > lineCount) break;
        }
        std::string_view line = TrimView(lines[static_cast<std::size_t>(i) - 1]);

        if (slashBlock || line.find("\\\\") != npos) {
            slashBlock = line.find("//") == npos;
            CopyLine(result.processed, line);
            continue;
        }
        if (bangBlock || line.starts_with("!\\")) {
            bangBlock = !line.starts_with("!/");
            CopyLine(result.processed, line);
            continue;
        }
        if (line.starts_with("''")) {
            CopyLine(result.processed, line);
            continue;
        }
        line = UpToZeroByte(line);
        if (line.starts_with('\'') || !FindHead(line, head)) continue;

        line = line.substr(0, line.find('\''));
        ++result.commandCount;
        StatementHandler handler = FindStatement(head.keyword);
        if (handler == nullptr) {
            unknownKeywords.Check(i, head.keyword);
            continue;
        }
        lineText.assign(line);
        StatementContext ctx{env,           lines,          lineText,        head.keyword,
                             head.pos,      head.parenOpen, head.parenClose, i,
                             result.processed, result.errorCount, polyVar,   dimxBlockName,
                             zeroMask,      scratch,        fileFailure};
        handler(ctx);
        // Only dimx moves the line number, and never back before its own line.
        i = std::max(ctx.i, i);
    }

    if (env.opt.lnsF) env.opt.LnsStr = selection.Shortened(env.opt.LnsStr);
    return result;
}
