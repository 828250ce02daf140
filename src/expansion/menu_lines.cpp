#include "expansion/menu_lines.h"
#include "common/text.h"

#include "common/numbers.h"
#include "expansion/escaping.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace pelto {

namespace {

constexpr int kDeepestNamedLevel = 10;

// The line's name without its leading "Menu".
std::string SuffixOf(const std::string& line) {
    return line.size() > 4 ? line.substr(4) : "";
}

} // namespace

void BuildMenuLines(Workspace& ws) {
    MenuParameter& m = ws.Params.Menu;
    // Only entries that are stored in all three arrays are read.
    size_t stored = std::min({m.MenuEntries.size(), m.MenuCaptions.size(), m.MenuLinks.size()});
    const int count = std::max(0, std::min<int>(m.Count, static_cast<int>(stored) - 1));

    std::vector<int> depth(static_cast<size_t>(count) + 1, 0);
    int16_t topLevel = 0;
    for (int i = 1; i <= count; ++i) {
        const std::string& entry = m.MenuEntries[i];
        size_t marks = entry.find_first_not_of('>');
        depth[i] = 1 + static_cast<int>(marks == std::string::npos ? entry.size() : marks);
        if (depth[i] == 1)
            ++topLevel;
    }
    ws.TopLevelCount = topLevel;

    std::vector<std::string> lines(static_cast<size_t>(count) + 1);
    int top = 0;
    for (int i = 1; i <= count; ++i) {
        lines[i] = "Menu";
        if (depth[i] == 1)
            lines[i] += FormatInt(++top);
    }
    if (count > 0) {
        // A child is named after its nearest preceding shallower entry.
        std::string parent = SuffixOf(lines[1]);
        for (int d = 2; d <= kDeepestNamedLevel; ++d) {
            int k = 1;
            for (int i = 1; i <= count; ++i) {
                if (depth[i] == d) {
                    lines[i] = "Menu" + parent + "_" + FormatInt(k++);
                } else if (depth[i] < d) {
                    k = 1;
                    parent = SuffixOf(lines[i]);
                }
            }
        }
    }
    for (int i = 1; i <= count; ++i) {
        std::string& line = lines[i];
        line += " = new Array(\"";
        // Escaped, so a caption or link cannot end the string or the script.
        line += EscapeJs(m.MenuCaptions[i]);
        line += "\",\"";
        line += EscapeJs(TrimBlanks(m.MenuLinks[i]));
        line += '"';
        int children = 0;
        for (int j = i + 1; j <= count && depth[j] > depth[i]; ++j)
            if (depth[j] == depth[i] + 1)
                ++children;
        line += ',';
        line += FormatInt(children);
        line += m.Suffix;
    }
    m.MenuLines = std::move(lines);
}

} // namespace pelto
