#pragma once

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Layout.h"

namespace dv::test {

// The controls a procedure's source names: every string literal that is a control name
// ("?SFENOTE:Enota", "?OK"), in order of appearance.
inline std::vector<std::string> controlNamesIn(std::string_view source) {
    std::vector<std::string> names;
    for (std::size_t at = source.find("\"?"); at != std::string_view::npos;
         at = source.find("\"?", at + 1)) {
        std::size_t end = at + 2;
        while (end < source.size() &&
               (std::isalnum(static_cast<unsigned char>(source[end])) || source[end] == '_' ||
                source[end] == ':' || static_cast<unsigned char>(source[end]) >= 0x80))
            ++end;
        if (end < source.size() && source[end] == '"' && end > at + 2)
            names.emplace_back(source.substr(at + 1, end - at - 1));
    }
    return names;
}

// The names in `names` that the layout does not declare.
inline std::vector<std::string> missingControls(const WindowLayout& layout,
                                                const std::vector<std::string>& names) {
    std::vector<std::string> missing;
    for (const std::string& name : names)
        if (layout.find(name) == nullptr) missing.push_back(name);
    return missing;
}

inline std::string readSource(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace dv::test
