#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "parser/LineSelection.h"

namespace {

// The selection done the plain way: the list searched as text for every line
// and each used entry «;n;» replaced by «;».
std::vector<int> SelectByText(std::string& lnsStr, int lineCorrection, int lineCount) {
    std::vector<int> lines;
    for (int i = 1; i <= lineCount; ++i) {
        std::string entry;
        std::size_t at = std::string::npos;
        for (; i <= lineCount; ++i) {
            entry.assign(1, ';').append(std::to_string(i + lineCorrection)).push_back(';');
            at = lnsStr.find(entry);
            if (at != std::string::npos) break;
        }
        if (i > lineCount) break;
        lnsStr.erase(at + 1, entry.size() - 1);
        lines.push_back(i);
    }
    return lines;
}

TEST(LineSelection, AgreesWithTextSearchOnRandomLists) {
    const std::vector<std::string> words{"", "1", "2", "3", "5", "8", "12", "03", "-1", "x", " 4", "+2", "0"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string list = random() % 4 == 0 ? "" : ";";
        int entries = static_cast<int>(random() % 7);
        for (int k = 0; k < entries; ++k) list += words[random() % words.size()] + ";";
        if (random() % 5 == 0 && !list.empty()) list.pop_back();
        const int lineCorrection = static_cast<int>(random() % 5) - 2;
        const int lineCount = static_cast<int>(random() % 14);

        std::string expectedList = list;
        std::vector<int> expected = SelectByText(expectedList, lineCorrection, lineCount);

        LineSelection selection(list, lineCorrection);
        std::vector<int> got;
        for (int i = 1; i <= lineCount; ++i) {
            i = selection.Take(i, lineCount);
            if (i <= lineCount) got.push_back(i);
        }
        SCOPED_TRACE("list «" + list + "» lc " + std::to_string(lineCorrection) + " lines " +
                     std::to_string(lineCount));
        EXPECT_EQ(got, expected);
        EXPECT_EQ(selection.Shortened(list), expectedList);
    }
}

} // namespace
