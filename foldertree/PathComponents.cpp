#include "foldertree/PathComponents.h"

#include <algorithm>

#include "platform/CharacterScan.h"

namespace {

// Where each backslash or colon of the path begins, found in one pass by characters: the second byte of
// a double-byte character may be a backslash. What is left of the path as it is taken apart is always a
// beginning of it, whose separators are the first ones of these.
std::vector<std::size_t> SeparatorOffsets(std::string_view path) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at < path.size(); at += platform::CharacterSize(path, at)) {
        if (path[at] == '\\' || path[at] == ':') {
            offsets.push_back(at);
        }
    }
    return offsets;
}

}  // namespace

std::vector<std::string> SplitFolderPath(std::string_view path, std::string_view desktopPath) {
    const std::vector<std::size_t> separators = SeparatorOffsets(path);
    std::size_t inside = separators.size();  // how many of them lie in what is left
    std::vector<std::string> components;
    std::string_view rest = path;
    while (!rest.empty()) {
        while (inside > 0 && separators[inside - 1] >= rest.size()) {
            --inside;
        }
        std::string_view component = rest;
        if (rest != desktopPath) {
            const std::size_t start = inside > 0 ? separators[inside - 1] + 1 : 0;
            if (start < rest.size()) {
                component = rest.substr(start);
            }
        }
        components.emplace_back(component);
        // What is left ends before the separator in front of the component (nothing when there is none).
        rest = rest.substr(0, rest.size() - std::min(rest.size(), component.size() + 1));
    }
    std::reverse(components.begin(), components.end());
    return components;
}
