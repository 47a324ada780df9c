#include "foldertree/PathComponents.h"

#include <algorithm>

#include "platform/CharacterScan.h"

std::vector<std::string> SplitFolderPath(std::string_view path, std::string_view desktopPath) {
    std::vector<std::string> components;
    std::string_view rest = path;
    while (!rest.empty()) {
        std::string_view component = rest;
        if (rest != desktopPath) {
            // By characters: the second byte of a double-byte character may be a backslash.
            const auto separator = platform::FindLastCharacter(rest, "\\:");
            const auto after = separator == std::string_view::npos ? rest : rest.substr(separator + 1);
            if (!after.empty()) {
                component = after;
            }
        }
        components.emplace_back(component);
        // What is left ends before the separator in front of the component (nothing when there is none).
        rest = rest.substr(0, rest.size() - std::min(rest.size(), component.size() + 1));
    }
    std::reverse(components.begin(), components.end());
    return components;
}
