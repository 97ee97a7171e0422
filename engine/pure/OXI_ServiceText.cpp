#include "engine/pure/OXI_ServiceText.h"

#include <algorithm>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

namespace {
constexpr std::size_t MaxDependencyChars = 1025;
}

std::string JoinDependencies(std::string_view list) {
    std::string joined;
    std::string word;
    const std::size_t limit = std::min(list.size(), MaxDependencyChars);
    for (std::size_t i = 0; i < limit; ++i) {
        const char c = list[i];
        if (c != '\0' && c != ' ') {
            word += c;
            continue;
        }
        if (c == '\0' && word.empty()) break;  // the empty name ends the list
        if (!word.empty()) {
            joined += word;
            joined += ' ';
            word.clear();
        }
    }
    return TrimText(joined);
}

std::string WithoutQuotes(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
    return out;
}

}  // namespace orvex
